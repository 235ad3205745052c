#include "ui/services/RegistryRecord.h"
#include "tests/ui/services/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using koruba::ERegistryException;
using koruba::RegKeyPath;
using koruba::RegMode;
using koruba::RegStrIO;
using koruba::SaveRegInfo;

namespace {

const QString Organisation = QStringLiteral("コルバ工房");
const QString Application = QStringLiteral("KORUBA-X");

std::unique_ptr<QSettings> OpenRecord() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Organisation,
                                       Application);
}

// The record as another program would read it. QSettings keeps the
// values of a file it has had open in this process, including a value
// whose write failed, and writes them out when the file is opened again;
// a copy of the file, found without QSettings, shows what reached the disk.
std::unique_ptr<QSettings> StoredRecord(const QDir& folder) {
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return OpenRecord();
#else
    static int copies = 0;
    const QString file = folder.filePath(Organisation + QLatin1Char('/') + Application + ".conf");
    const QString copy = file + QStringLiteral(".copy%1").arg(++copies);
    if (QFile::exists(file) && !QFile::copy(file, copy))
        qFatal("cannot copy %s", qPrintable(file));
    return std::make_unique<QSettings>(copy, QSettings::IniFormat);
#endif
}

} // namespace

// The settings record written at every close request. Every test works on
// a store of its own in a temporary folder.
class RegistryRecordTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storeLivesInTheTestFolder();
    void writesTitleAndVersion_data();
    void writesTitleAndVersion();
    void replacesOnlyItsOwnValues();
    void readsWhatWasWritten();
    void keyPathPicksStoreAndGroup_data();
    void keyPathPicksStoreAndGroup();
    void unopenableStoreIsSkippedSilently_data();
    void unopenableStoreIsSkippedSilently();
#ifdef Q_OS_UNIX
    void unwritableValueThrows_data();
    void unwritableValueThrows();
    void failedCloseRequestWritesOnRetry();
#endif

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

void RegistryRecordTest::initTestCase() {
    // Before the first QSettings: keeps the real user's configuration out
    // of reach even if a test forgot its own folder.
    QStandardPaths::setTestModeEnabled(true);
}

void RegistryRecordTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
}

void RegistryRecordTest::cleanup() {
    folder_.reset();
}

void RegistryRecordTest::storeLivesInTheTestFolder() {
    SaveRegInfo(QStringLiteral("100"));
#ifdef Q_OS_WIN
    QSKIP("the record is the registry key on Windows");
#else
    const QString file = folder_->filePath(Organisation + QStringLiteral("/KORUBA-X.conf"));
    QVERIFY2(QFile::exists(file), qPrintable(file));
    QCOMPARE(OpenRecord()->fileName(), file);
#endif
}

void RegistryRecordTest::writesTitleAndVersion_data() {
    QTest::addColumn<QString>("verNo");
    QTest::newRow("this build") << "100";
    QTest::newRow("two-digit component") << "123";
    QTest::newRow("short version gives empty digits") << "";
    QTest::newRow("failed version read leaves a blank") << " ";
}

void RegistryRecordTest::writesTitleAndVersion() {
    QFETCH(QString, verNo);
    SaveRegInfo(verNo);
    const auto record = StoredRecord(folder_->path());
    QCOMPARE(record->status(), QSettings::NoError);
    QCOMPARE(record->allKeys().size(), 2);
    QCOMPARE(record->value("Title").toString(), QStringLiteral("パターン別Ｎ値算定"));
    QCOMPARE(record->value("Ver").toString(), verNo);
}

void RegistryRecordTest::replacesOnlyItsOwnValues() {
    {
        const auto record = OpenRecord();
        record->setValue("Title", "old title");
        record->setValue("Ver", "099");
        record->setValue("Other", "kept");
        record->setValue("Window/Left", 120);
    }
    SaveRegInfo(QStringLiteral("100"));
    SaveRegInfo(QStringLiteral("101"));

    const auto record = StoredRecord(folder_->path());
    QCOMPARE(record->value("Title").toString(), QStringLiteral("パターン別Ｎ値算定"));
    QCOMPARE(record->value("Ver").toString(), QStringLiteral("101"));
    QCOMPARE(record->value("Other").toString(), QStringLiteral("kept"));
    QCOMPARE(record->value("Window/Left").toInt(), 120);
    QCOMPARE(record->allKeys().size(), 4);
}

void RegistryRecordTest::readsWhatWasWritten() {
    QString written = QStringLiteral("値 with blanks ");
    RegStrIO(RegMode::Write, RegKeyPath, QStringLiteral("Note"), written);
    QString read = QStringLiteral("stale");
    RegStrIO(RegMode::Read, RegKeyPath, QStringLiteral("Note"), read);
    QCOMPARE(read, written);
    RegStrIO(RegMode::Read, RegKeyPath, QStringLiteral("Missing"), read);
    QCOMPARE(read, QString());
}

void RegistryRecordTest::keyPathPicksStoreAndGroup_data() {
    QTest::addColumn<QString>("keyPath");
    QTest::addColumn<QString>("organisation");
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("key");
    QTest::newRow("the program's key") << RegKeyPath << Organisation << Application << "Title";
    QTest::newRow("without leading backslash")
        << "Software\\コルバ工房\\KORUBA-X" << Organisation << Application << "Title";
    QTest::newRow("deeper key becomes a group") << "\\Software\\Org\\App\\Sub\\Leaf"
                                                << "Org"
                                                << "App"
                                                << "Sub/Leaf/Title";
    QTest::newRow("without Software level") << "\\Org\\App"
                                            << "Org"
                                            << "App"
                                            << "Title";
}

void RegistryRecordTest::keyPathPicksStoreAndGroup() {
    QFETCH(QString, keyPath);
    QFETCH(QString, organisation);
    QFETCH(QString, application);
    QFETCH(QString, key);
    QString value = QStringLiteral("x");
    RegStrIO(RegMode::Write, keyPath, QStringLiteral("Title"), value);
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    QCOMPARE(store.allKeys(), QStringList{key});
    QCOMPARE(store.value(key).toString(), value);
}

void RegistryRecordTest::unopenableStoreIsSkippedSilently_data() {
    QTest::addColumn<QString>("blocker");
    // A regular file where the store's folder would have to be.
    QTest::newRow("store folder cannot be made") << "コルバ工房";
    // A folder where the store's file would have to be.
    QTest::newRow("store file cannot be opened") << "コルバ工房/KORUBA-X.conf/";
}

void RegistryRecordTest::unopenableStoreIsSkippedSilently() {
#ifdef Q_OS_WIN
    QSKIP("needs a registry key without write access");
#endif
    QFETCH(QString, blocker);
    const QString path = folder_->filePath(blocker);
    if (path.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const auto before = QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    SaveRegInfo(QStringLiteral("100")); // returns without throwing

    QCOMPARE(QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("コルバ工房/KORUBA-X.conf.lock"))));
    QString ignored;
    RegStrIO(RegMode::Read, RegKeyPath, QStringLiteral("Title"), ignored);
    QCOMPARE(ignored, QString());
}

#ifdef Q_OS_UNIX
void RegistryRecordTest::unwritableValueThrows_data() {
    QTest::addColumn<QString>("valueName");
    QTest::addColumn<QString>("message");
    QTest::newRow("Title") << "Title"
                           << "'Title' の設定に失敗しました";
    QTest::newRow("Ver") << "Ver"
                         << "'Ver' の設定に失敗しました";
}

void RegistryRecordTest::unwritableValueThrows() {
    QFETCH(QString, valueName);
    QFETCH(QString, message);
    QString value = QStringLiteral("100");
    try {
        const FileSizeLimit limit;
        RegStrIO(RegMode::Write, RegKeyPath, valueName, value);
        QFAIL("no failure raised");
    } catch (const ERegistryException& error) {
        QCOMPARE(error.Message(), message);
    }
}

void RegistryRecordTest::failedCloseRequestWritesOnRetry() {
    {
        const auto record = OpenRecord();
        record->setValue("Other", "kept");
    }
    try {
        const FileSizeLimit limit;
        SaveRegInfo(QStringLiteral("100"));
        QFAIL("no failure raised");
    } catch (const ERegistryException& error) {
        // "Title" comes first, and its failure ends the request.
        QCOMPARE(error.Message(), QStringLiteral("'Title' の設定に失敗しました"));
    }
    QCOMPARE(StoredRecord(folder_->path())->allKeys(), QStringList{QStringLiteral("Other")});

    SaveRegInfo(QStringLiteral("100"));
    const auto record = StoredRecord(folder_->path());
    QCOMPARE(record->value("Title").toString(), QStringLiteral("パターン別Ｎ値算定"));
    QCOMPARE(record->value("Ver").toString(), QStringLiteral("100"));
    QCOMPARE(record->value("Other").toString(), QStringLiteral("kept"));
}
#endif

QTEST_GUILESS_MAIN(RegistryRecordTest)
#include "RegistryRecordTest.moc"
