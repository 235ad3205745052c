// The main window's close query: every close request records the title
// and version, and a record that cannot be written keeps the window open.

#include "tests/ui/services/FileSizeLimit.h"
#include "ui/calculator/MainForm.h"
#include "ui/services/RegistryRecord.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct SeenBox {
    QString title;
    QString text;
    int count = 0;
    // Ends the watch with the record: a watch left over by a test whose box
    // never came must not answer the next test's box.
    QObject scope;
};

// Answers the next modal box that comes up and remembers what it said.
void DismissNextBox(SeenBox& seen) {
    QTimer::singleShot(50, &seen.scope, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen.title = box->windowTitle();
            seen.text = box->text();
            ++seen.count;
            box->accept();
        }
    });
}

} // namespace

class MainFormCloseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionCarriesTheVersion();
    void startUpWritesNothing();
    void closeRecordsTitleAndVersion();
    void unopenableStoreClosesSilently();
#ifdef Q_OS_UNIX
    void unwritableRecordKeepsTheWindowOpen();
    void storeThatStaysUnwritableClosesOnTheSecondRequest();
    void quitEndsTheProgramWithoutABox_data();
    void quitEndsTheProgramWithoutABox();
#endif

private:
    QString RecordFile() const {
        return folder_->path() + QStringLiteral("/コルバ工房/KORUBA-X.conf");
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<TMainF> window_;
};

void MainFormCloseTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void MainFormCloseTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
    window_ = std::make_unique<TMainF>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void MainFormCloseTest::cleanup() {
    window_.reset();
    folder_.reset();
}

void MainFormCloseTest::captionCarriesTheVersion() {
    // The build's file version is 1.0.0.0: two characters dropped, the
    // points left out for the record.
    QCOMPARE(window_->VerText(), QStringLiteral("1.0.0"));
    QCOMPARE(window_->VerNo(), QStringLiteral("100"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("KORUBA-X    Ver.1.0.0"));
}

void MainFormCloseTest::startUpWritesNothing() {
    QVERIFY(!QFile::exists(RecordFile()));
    QCOMPARE(window_->Result().NValue, 0.0f);
    QCOMPARE(window_->Model().PatternTag(), 0);
}

void MainFormCloseTest::closeRecordsTitleAndVersion() {
    {
        QSettings other(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("コルバ工房"),
                        QStringLiteral("KORUBA-X"));
        other.setValue(QStringLiteral("Other"), QStringLiteral("kept"));
        other.setValue(QStringLiteral("Ver"), QStringLiteral("0"));
    }
    SeenBox seen;
    DismissNextBox(seen);
    QVERIFY(window_->close());
    QCOMPARE(seen.count, 0);
    QSettings record(RecordFile(), QSettings::IniFormat);
    QCOMPARE(record.value(QStringLiteral("Title")).toString(),
             QStringLiteral("パターン別Ｎ値算定"));
    QCOMPARE(record.value(QStringLiteral("Ver")).toString(), QStringLiteral("100"));
    QCOMPARE(record.value(QStringLiteral("Other")).toString(), QStringLiteral("kept"));
}

void MainFormCloseTest::unopenableStoreClosesSilently() {
    // A regular file where the store's folder would be: the store can be
    // neither opened nor created.
    QFile blocker(folder_->path() + QStringLiteral("/コルバ工房"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SeenBox seen;
    DismissNextBox(seen);
    QVERIFY(window_->close());
    QTest::qWait(100);
    QCOMPARE(seen.count, 0);
    QVERIFY(!window_->isVisible());
}

#ifdef Q_OS_UNIX
void MainFormCloseTest::unwritableRecordKeepsTheWindowOpen() {
    {
        FileSizeLimit full;
        SeenBox seen;
        DismissNextBox(seen);
        QVERIFY(!window_->close());
        QCOMPARE(seen.count, 1);
        QCOMPARE(seen.title, QStringLiteral("KORUBA-X"));
        QCOMPARE(seen.text, QStringLiteral("'Title' の設定に失敗しました"));
        QVERIFY(window_->isVisible());
    }
    // The next request tries again, and now succeeds.
    SeenBox seen;
    DismissNextBox(seen);
    QVERIFY(window_->close());
    QCOMPARE(seen.count, 0);
    QVERIFY(!window_->isVisible());
    QSettings record(RecordFile(), QSettings::IniFormat);
    QCOMPARE(record.value(QStringLiteral("Ver")).toString(), QStringLiteral("100"));
}

void MainFormCloseTest::storeThatStaysUnwritableClosesOnTheSecondRequest() {
    FileSizeLimit full;
    SeenBox first;
    DismissNextBox(first);
    QVERIFY(!window_->close());
    QCOMPARE(first.count, 1);
    QVERIFY(window_->isVisible());
    // The same failure again: reported, and the window closes anyway.
    SeenBox second;
    DismissNextBox(second);
    QVERIFY(window_->close());
    QCOMPARE(second.count, 1);
    QCOMPARE(second.text, QStringLiteral("'Title' の設定に失敗しました"));
    QVERIFY(!window_->isVisible());
}

void MainFormCloseTest::quitEndsTheProgramWithoutABox_data() {
    QTest::addColumn<bool>("sessionEnd");
    QTest::addColumn<bool>("quit");
    QTest::addColumn<bool>("storeFull");
    QTest::addColumn<bool>("recorded");
    // quit() asks every window to close first; exit() asks none.
    QTest::newRow("session end, then quit, full store") << true << true << true << false;
    QTest::newRow("session end, then quit, writable store") << true << true << false << true;
    QTest::newRow("exit without close request, writable store") << false << false << false << true;
    QTest::newRow("exit without close request, full store") << false << false << true << false;
}

void MainFormCloseTest::quitEndsTheProgramWithoutABox() {
    QFETCH(bool, sessionEnd);
    QFETCH(bool, quit);
    QFETCH(bool, storeFull);
    QFETCH(bool, recorded);
    SeenBox seen;
    int status = -1;
    {
        std::unique_ptr<FileSizeLimit> full;
        if (storeFull) {
            full = std::make_unique<FileSizeLimit>();
        }
        DismissNextBox(seen);
        if (sessionEnd) {
            window_->EndOfSession();
        }
        QTimer::singleShot(0, qApp, [quit] {
            if (quit) {
                QCoreApplication::quit();
            } else {
                QCoreApplication::exit(0);
            }
        });
        // A refused quit would leave the loop running; this ends it with a
        // status that fails the test.
        QObject watchdog;
        QTimer::singleShot(3000, &watchdog, [] { QCoreApplication::exit(1); });
        status = QCoreApplication::exec();
    }
    QCOMPARE(status, 0);
    QCOMPARE(seen.count, 0);
    QSettings record(RecordFile(), QSettings::IniFormat);
    QCOMPARE(record.value(QStringLiteral("Ver")).toString(),
             recorded ? QStringLiteral("100") : QString());
}
#endif

QTEST_MAIN(MainFormCloseTest)
#include "MainFormCloseTest.moc"
