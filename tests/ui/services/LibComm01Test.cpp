#include "ui/services/LibComm_01.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using koruba::DeriveVersionTexts;
using koruba::EAssertionFailed;
using koruba::GetExeVersion;

// The version text of the caption and the version digits of the settings
// record, derived from the executable's "FileVersion".
class LibComm01Test : public QObject {
    Q_OBJECT

private slots:
    void derivesCaptionTextAndDigits_data();
    void derivesCaptionTextAndDigits();
    void longTextDropsExactlyTwoCharacters();
    void runningExecutableGivesBuildVersion();
    void assertionMessageNamesUnitAndLine_data();
    void assertionMessageNamesUnitAndLine();
#ifdef Q_OS_WIN
    void unreadableVersionBlockFails_data();
    void unreadableVersionBlockFails();
#endif
};

void LibComm01Test::derivesCaptionTextAndDigits_data() {
    QTest::addColumn<QString>("fileVersion");
    QTest::addColumn<QString>("verText");
    QTest::addColumn<QString>("verNo");

    QTest::newRow("four components") << "1.0.0.0"
                                     << "1.0.0"
                                     << "100";
    QTest::newRow("two-digit last component keeps its point") << "1.2.3.45"
                                                              << "1.2.3."
                                                              << "123";
    QTest::newRow("commas and blanks") << "1, 0, 0, 0"
                                       << "1, 0, 0,"
                                       << "1, 0, 0,";
    QTest::newRow("one character") << "1"
                                   << ""
                                   << "";
    QTest::newRow("two characters") << "12"
                                    << ""
                                    << "";
    QTest::newRow("three characters") << "1.0"
                                      << "1"
                                      << "1";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("one blank") << " "
                               << ""
                               << "";
    QTest::newRow("blanks only") << "     "
                                 << ""
                                 << "";
    QTest::newRow("trailing blanks do not count") << "1.0.0.0   "
                                                  << "1.0.0"
                                                  << "100";
    // The cut counts the trimmed length from the start of the untrimmed
    // text, so leading blanks cost characters at the end.
    QTest::newRow("leading blanks") << "  1.0.0.0"
                                    << "  1.0"
                                    << "1";
    QTest::newRow("control characters at both ends") << "\t1.0.0.0\r\n"
                                                     << "\t1.0."
                                                     << "10";
    QTest::newRow("control characters only") << "\x01\x02\x1f"
                                             << ""
                                             << "";
    QTest::newRow("full-width blank is not a blank") << "1.0.0.0　"
                                                     << "1.0.0."
                                                     << "100";
    QTest::newRow("points only") << "...."
                                 << ".."
                                 << "";
    QTest::newRow("components of several digits") << "10.20.30.40"
                                                  << "10.20.30."
                                                  << "102030";
    QTest::newRow("character beyond the BMP counts once") << "𝟙.0.0"
                                                          << "𝟙.0"
                                                          << "𝟙0";
    QTest::newRow("text, not digits") << "ver 1.0 beta"
                                      << "ver 1.0 be"
                                      << "ver 10 be";
}

void LibComm01Test::derivesCaptionTextAndDigits() {
    QFETCH(QString, fileVersion);
    QFETCH(QString, verText);
    QFETCH(QString, verNo);

    QString text = QStringLiteral("stale");
    QString no = QStringLiteral("stale");
    DeriveVersionTexts(fileVersion, text, no);
    QCOMPARE(text, verText);
    QCOMPARE(no, verNo);
}

void LibComm01Test::longTextDropsExactlyTwoCharacters() {
    QString fileVersion;
    for (int i = 0; i < 2000; ++i)
        fileVersion += QStringLiteral("%1.").arg(i % 10);
    fileVersion += QStringLiteral("99");

    QString text;
    QString no;
    DeriveVersionTexts(fileVersion, text, no);
    QCOMPARE(text.size(), fileVersion.size() - 2);
    QVERIFY(fileVersion.startsWith(text));
    QCOMPARE(no.size(), 2000);
    QVERIFY(!no.contains(QLatin1Char('.')));
}

void LibComm01Test::runningExecutableGivesBuildVersion() {
    QString expectedText;
    QString expectedNo;
    DeriveVersionTexts(QStringLiteral(KORUBA_FILE_VERSION), expectedText, expectedNo);

    QString text;
    QString no;
    GetExeVersion(QCoreApplication::applicationFilePath(), text, no);
#ifdef Q_OS_WIN
    // The test programs carry no version block of their own.
    Q_UNUSED(expectedText);
    Q_UNUSED(expectedNo);
    QSKIP("Windows reads the file's own version block; see unreadableVersionBlockFails");
#else
    QCOMPARE(text, expectedText);
    QCOMPARE(no, expectedNo);
    QVERIFY(!no.isEmpty());
#endif
}

void LibComm01Test::assertionMessageNamesUnitAndLine_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("version block unreadable")
        << koruba::VersionBlockUnreadableLine << "Assertion failure (LibComm_01.cpp, 120 行)";
    QTest::newRow("FileVersion missing")
        << koruba::FileVersionMissingLine << "Assertion failure (LibComm_01.cpp, 122 行)";
}

void LibComm01Test::assertionMessageNamesUnitAndLine() {
    QFETCH(int, line);
    QFETCH(QString, message);
    const EAssertionFailed failure(line);
    QCOMPARE(failure.Message(), message);
    QCOMPARE(failure.Line(), line);
}

#ifdef Q_OS_WIN
void LibComm01Test::unreadableVersionBlockFails_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("line");
    QTest::newRow("missing file") << "Z:/no/such/file.exe" << 120;
    // The test program itself carries KORUBA-X's block; an empty name
    // stands for a file without one, made by the test.
    QTest::newRow("executable without version block") << QString() << 120;
    // Its string table is the English one, 040904B0.
    QTest::newRow("version block without the Japanese table")
        << qEnvironmentVariable("SystemRoot") + "/System32/kernel32.dll" << 122;
}

void LibComm01Test::unreadableVersionBlockFails() {
    QFETCH(QString, fileName);
    QFETCH(int, line);
    const QTemporaryDir folder;
    if (fileName.isEmpty()) {
        fileName = folder.filePath(QStringLiteral("bare.exe"));
        QFile bare(fileName);
        QVERIFY(bare.open(QIODevice::WriteOnly) && bare.write("MZ") == 2);
    }
    QString text = QStringLiteral("stale");
    QString no = QStringLiteral("stale");
    try {
        GetExeVersion(fileName, text, no);
        QFAIL("no failure raised");
    } catch (const EAssertionFailed& failure) {
        QCOMPARE(failure.Line(), line);
    }
    QCOMPARE(text, QStringLiteral(" "));
    QCOMPARE(no, QStringLiteral(" "));
}
#endif

QTEST_GUILESS_MAIN(LibComm01Test)
#include "LibComm01Test.moc"
