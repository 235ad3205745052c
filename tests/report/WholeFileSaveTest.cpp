// Saves on a file system with no byte left: every write() is taken into a
// buffer and only the flush meets the full disk, which is where a save
// that checks too little renames a short file over the old one.
#include "report/WholeFileSave.h"
#include "report/SheetPdf.h"
#include "tests/report/SheetTestSupport.h"
#include "tests/support/FullDisk.h"

#include <QtTest>

using namespace koruba;
using namespace koruba::test;

namespace {

const QByteArray kOld = QByteArrayLiteral("id,pattern,reversed,bay1,bay2,bay3,bay4\r\n");

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot be read)");
}

} // namespace

class WholeFileSaveTest : public QObject {
    Q_OBJECT

private slots:
    void fullDiskLeavesTheOldFileWhole_data();
    void fullDiskLeavesTheOldFileWhole();
};

void WholeFileSaveTest::fullDiskLeavesTheOldFileWhole_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<qsizetype>("bytes");
    // Under the device's buffer, over it, and a sheet written piece by
    // piece by a PDF writer that does not look at what write() returns.
    QTest::newRow("8000 bytes") << QStringLiteral("bytes") << qsizetype{8000};
    QTest::newRow("100000 bytes") << QStringLiteral("bytes") << qsizetype{100000};
    QTest::newRow("sheet") << QStringLiteral("sheet") << qsizetype{0};
}

void WholeFileSaveTest::fullDiskLeavesTheOldFileWhole() {
    QFETCH(QString, what);
    QFETCH(qsizetype, bytes);
    FullDisk disk;
    if (!disk.skipReason().isEmpty()) {
        QSKIP(qPrintable(disk.skipReason()));
    }
    const QString path = disk.filePath(QStringLiteral("house.csv"));
    QString reason;
    QVERIFY(saveWholeFile(path, std::string_view(kOld.constData(), kOld.size()), reason));
    QVERIFY(disk.fill());

    bool saved = true;
    if (what == QLatin1String("sheet")) {
        SheetDescription sheet;
        sheet.project = "山田邸";
        sheet.rows = {row("X1-Y1", 21, 0, {{1, bay(BraceRisingLeft, 2)}})};
        saved = writeSheetPdf(path, sheet, reason);
        QVERIFY2(reason.contains(path), qPrintable(reason));
    } else {
        const std::string content(static_cast<std::size_t>(bytes), 'n');
        saved = saveWholeFile(path, content, reason);
    }
    QVERIFY(!saved);
    QVERIFY2(reason.contains(QStringLiteral("No space left on device")), qPrintable(reason));
    QCOMPARE(contentOf(path), kOld);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files).size(), 2); // no leftovers
}

QTEST_MAIN(WholeFileSaveTest)
#include "WholeFileSaveTest.moc"
