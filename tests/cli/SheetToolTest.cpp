// The batch tool's --sheet route, run as a user runs it: the sheet's cells
// against the tool's own CSV output for the same records.
#include "calc/HouseDerivation.h"
#include "calc/RuleText.h"
#include "cli/SheetRoute.h"
#include "columns/CsvRecord.h"
#include "columns/HouseFile.h"
#include "report/SheetPdf.h"
#include "tests/cli/ToolRun.h"
#include "tests/report/SheetTestSupport.h"
#include "tests/support/FullDisk.h"

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

using namespace koruba::test;

namespace {

using Run = ToolRun;

// The tool's CSV output records, by header name (its rows hold no line
// breaks; the byte order mark is skipped).
QList<QMap<QString, QString>> csvRecords(const QByteArray& csv) {
    const QList<QByteArray> lines = csv.mid(3).split('\n');
    std::vector<std::string> header;
    std::vector<std::string> fields;
    koruba::columns::CsvSplit split;
    koruba::columns::splitCsvRecord(lines[0].trimmed().toStdString(), header, split);
    QList<QMap<QString, QString>> records;
    for (const QByteArray& line : lines.mid(1)) {
        if (!line.trimmed().isEmpty()) {
            koruba::columns::splitCsvRecord(line.trimmed().toStdString(), fields, split);
            QMap<QString, QString> record;
            for (std::size_t f = 0; f < split.fields; ++f) {
                record[QString::fromStdString(header[f])] = QString::fromStdString(fields[f]);
            }
            records << record;
        }
    }
    return records;
}

// "A1= |2.0-0.0|+(-0.5)": the left and right walls and the correction.
QStringList termParts(const QString& term) {
    const QRegularExpression re(
        QStringLiteral("\\|(-?[\\d.]+)-(-?[\\d.]+)\\|\\+\\(?(-?[\\d.]+)\\)?"));
    const QRegularExpressionMatch m = re.match(term);
    return {m.captured(1), m.captured(2), m.captured(3)};
}

// Past (ぬ), the last class of the notice's table, the tool names the
// reference hardware (る)* or none at all.
bool beyondTable(const QMap<QString, QString>& r) {
    return r[QStringLiteral("symbol")] == QStringLiteral("(る)*") ||
           r[QStringLiteral("strength_kN")] == QLatin1String("---");
}

// N as the output shows it times 5.3 kN, rounded up to the hundredth.
QString requiredStrength(const QMap<QString, QString>& r) {
    const long long hundredths = std::llround(r[QStringLiteral("N")].toDouble() * 100.0);
    return QString::number(static_cast<double>((hundredths * 53 + 9) / 10) / 100.0, 'f', 2);
}

// The cells a record's row must show, from the tool's output fields.
QStringList expectedCells(const QMap<QString, QString>& r, const QString& name) {
    const bool two = !r[QStringLiteral("A2_term")].isEmpty();
    const QString b1 = r[QStringLiteral("B1")];
    const QString b2 = r[QStringLiteral("B2")];
    // B is 0.8 for a corner column (出隅), 0.5 for any other.
    const auto position = [](const QString& b) {
        return b == QLatin1String("0.8") ? QStringLiteral("出隅") : QStringLiteral("その他");
    };
    const QStringList a1 = termParts(r[QStringLiteral("A1_term")]);
    QStringList cells{name, r[QStringLiteral("pattern")],
                      r[QStringLiteral("reversed")] == QLatin1String("1") ||
                              r[QStringLiteral("reversed")] == QLatin1String("true")
                          ? QStringLiteral("有")
                          : QStringLiteral("無")};
    if (two) {
        const QStringList a2 = termParts(r[QStringLiteral("A2_term")]);
        cells << QStringLiteral("2階1階") << position(b2) + position(b1);
        for (int i = 0; i < 3; ++i) {
            cells << a2[i] + a1[i];
        }
        cells << r[QStringLiteral("A2")] + r[QStringLiteral("A1")] << b2 + b1;
    } else {
        cells << position(b1) << a1 << r[QStringLiteral("A1")] << b1;
    }
    cells << r[QStringLiteral("L")] << r[QStringLiteral("N")] << r[QStringLiteral("pull_out_kN")];
    if (beyondTable(r)) {
        // The rule in words stands over several lines: what it requires is
        // checked on the page's text.
        cells << QStringLiteral("表外") << QStringLiteral("≧") + requiredStrength(r);
    } else {
        cells << r[QStringLiteral("symbol")] << r[QStringLiteral("hardware")]
              << r[QStringLiteral("strength_kN")];
    }
    cells.removeAll(QString());
    return cells;
}

} // namespace

class SheetToolTest : public QObject {
    Q_OBJECT

private slots:
    void everyCellMatchesTheBatchOutput_data();
    void everyCellMatchesTheBatchOutput();
    void namesFailuresAndRules();
    void longTextsStayReadableOnThePage();
    void emptyInputGivesANote();
    void unwritableSheetFailsAndLeavesNoFile();
    void sheetOnlyWritesNothingElse();
    void sheetReplacesOnlyAFileOfItsOwn_data();
    void sheetReplacesOnlyAFileOfItsOwn();
    void sheetOfAnInputLargerThanMemory();
    void standardInputGoesThroughATemporaryCopy();
    void inputChangedDuringTheRunLeavesNoSheet();
    void houseSheetShowsBothDirections();
    void exampleHousesScheduleCountsTheDerivation_data();
    void exampleHousesScheduleCountsTheDerivation();
    void planPagesShowEveryColumnToScale_data();
    void planPagesShowEveryColumnToScale();
    void refusedHouseWritesNoSheet();

private:
    QTemporaryDir dir_;
};

void SheetToolTest::everyCellMatchesTheBatchOutput_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("csv") << QStringLiteral(CLI_EXAMPLES "/columns.csv");
    QTest::newRow("jsonl") << QStringLiteral(CLI_EXAMPLES "/columns.jsonl");
}

void SheetToolTest::everyCellMatchesTheBatchOutput() {
    QFETCH(QString, input);
    // The sample sheet of the examples, kept for a person to look at.
    const QString pdf = outputDir() + QStringLiteral("/examples-") + QFileInfo(input).suffix() +
                        QStringLiteral(".pdf");
    const Run sheet =
        runTool({input, QStringLiteral("--sheet"), pdf, QStringLiteral("--project"),
                 QStringLiteral("山田邸"), QStringLiteral("--designer"), QStringLiteral("佐藤")});
    QCOMPARE(sheet.exitCode, 0);
    const Run csv = runTool({QStringLiteral(CLI_EXAMPLES "/columns.csv")});
    QCOMPARE(csv.exitCode, 0);
    const auto records = csvRecords(csv.out);
    QCOMPARE(records.size(), 14);

    const std::vector<PdfWord> words = pdfWords(pdf);
    const QString first = compactText(words, 1);
    QVERIFY(first.contains(QStringLiteral("物件名：山田邸")));
    QVERIFY(first.contains(QStringLiteral("設計者：佐藤")));
    QVERIFY(first.contains(QStringLiteral("適用規準：2000年告示")));
    for (const auto& record : records) {
        const QStringList expected = expectedCells(record, record[QStringLiteral("id")]);
        const qreal band = record[QStringLiteral("A2_term")].isEmpty() ? 12.5 : 19.5;
        QStringList cells = rowTexts(words, record[QStringLiteral("id")], band);
        if (beyondTable(record)) {
            // Less the symbol beside it, which the words of the page may put
            // between two lines of the rule.
            QVERIFY(compactText(words)
                        .remove(QStringLiteral("表外"))
                        .contains(QStringLiteral("N×5.3＝") + requiredStrength(record) +
                                  QStringLiteral("kN以上の接合方法とする")));
            cells = cells.mid(0, expected.size() - 1) << cells.last();
        }
        QCOMPARE(cells, expected);
    }
}

void SheetToolTest::namesFailuresAndRules() {
    const QByteArray input = "id,name,pattern,reversed,bay1,bay2,bay3,bay4,rules,h1,h2\n"
                             "1,通り1-い,21,0,P2.5,,,,2025,3.3,\n"
                             "2,,22,0,L45,R45,,,2025,3.0,\n"
                             "3,通り3-は,13,0,,,X95,,,,\n"
                             "4,通り4-に,12,0,,P2.0,P2.5,,2025,3.0,\n"
                             "5,通り5-ほ,23,0,,,,,,,\n";
    const QString pdf = dir_.filePath(QStringLiteral("named.pdf"));
    const Run run = runTool({QStringLiteral("--sheet"), pdf}, input);
    // A record failed: the usual status, and the sheet is still written.
    QCOMPARE(run.exitCode, 1);
    const std::vector<PdfWord> words = pdfWords(pdf);
    QCOMPARE(
        rowTexts(words, QStringLiteral("通り1-い"), 12.5).mid(0, 12),
        QStringLiteral("通り1-い|21|無|出隅|2.5|0.0|0.0|2.5|0.8|3.30|3.30/2.7|0.4").split(u'|'));
    // Without a name the id names the row.
    QVERIFY(!rowTexts(words, QStringLiteral("2"), 12.5).isEmpty());
    const QString failed = rowTexts(words, QStringLiteral("通り3-は"), 19.5).join(QString());
    QVERIFY2(failed.startsWith(QStringLiteral("通り3-は13無計算できません：line4")),
             qPrintable(failed));
    QVERIFY(failed.contains(QStringLiteral("X95")));
    // A record without a usable pattern goes to a table of its own.
    const QString noPattern = rowTexts(words, QStringLiteral("通り5-ほ"), 6.0).join(QString());
    QVERIFY2(noPattern.startsWith(QStringLiteral("通り5-ほ計算できません：line6")),
             qPrintable(noPattern));
    const QString text = compactText(words);
    QVERIFY(text.contains(QStringLiteral("軸組パターンを読めなかった記録")));
    QVERIFY(text.contains(QStringLiteral("適用規準：2000年告示、2025年改正（階高補正）")));
    QVERIFY(text.contains(QStringLiteral("通り1-い：H1が3.2mを超えるため")));
    // Rows of both rules: each rule's word on the 5.0 cap stays.
    QVERIFY(text.contains(QStringLiteral("（2000年告示では5.0を上限とする）")));
    QVERIFY(text.contains(QStringLiteral("壁の倍率の合計は5.0を上限としない。")));
}

void SheetToolTest::longTextsStayReadableOnThePage() {
    const QString tall = QStringLiteral("北側の通し柱").repeated(10);
    const QString endless = QStringLiteral("長い名前") + QStringLiteral("の柱").repeated(300);
    const QString project = QStringLiteral("株式会社サンプル建設").repeated(8);
    const QString designer = QStringLiteral("佐藤一級建築士事務所").repeated(4);
    const QByteArray input = "id,name,pattern,reversed,bay1,bay2,bay3,bay4,rules,h1,h2\n"
                             "1," +
                             tall.toUtf8() +
                             ",21,0,P2.5,,,,2025,3.4,\n"
                             "2," +
                             endless.toUtf8() +
                             ",11,0,L90+P5.0,,L90+P5.0,,,,\n"
                             "3,เสาไทย स्तंभ,22,0,L45,R45,,,,,\n";
    const QString pdf = dir_.filePath(QStringLiteral("long.pdf"));
    const Run run = runTool({QStringLiteral("--sheet"), pdf, QStringLiteral("--sheet-only"),
                             QStringLiteral("--project"), project + QStringLiteral("\n二行目"),
                             QStringLiteral("--designer"), designer},
                            input);
    QCOMPARE(run.exitCode, 0);
    // Thai and Devanagari in a name: no warning per font face tried.
    QVERIFY2(!run.err.contains("OpenType"), run.err.left(300).constData());
    const std::vector<PdfWord> words = pdfWords(pdf);
    const QRectF paper(0, 0, 595.3, 841.9);
    for (const PdfWord& w : words) {
        QVERIFY2(paper.contains(w.box), qPrintable(w.text.left(40)));
    }
    for (int page = 1; page <= pageCount(words); ++page) {
        // Every header item on every page, below the title; a line break
        // in the project is a space.
        const QString text = compactText(words, page);
        QVERIFY(text.contains(QStringLiteral("物件名：") + project + QStringLiteral("二行目")));
        QVERIFY(text.contains(QStringLiteral("設計者：") + designer));
        QVERIFY(text.contains(QStringLiteral("作成日：")));
        qreal titleBottom = 0;
        qreal projectTop = 0;
        for (const PdfWord& w : words) {
            // pdftotext reads the title as "N" and "値計算書".
            if (w.page == page && w.text == QStringLiteral("値計算書")) {
                titleBottom = w.box.bottom();
            } else if (w.page == page && w.text.startsWith(QStringLiteral("物件名"))) {
                projectTop = w.box.top();
            }
        }
        QVERIFY(titleBottom > 0 && projectTop >= titleBottom);
    }
    const QString text = compactText(words);
    // The long name is cut in its row, whose results stay on the page
    // (10.20 x 5.3 = 54.06), and stands whole in the notes; so does the
    // tall storey's note.
    QVERIFY(text.contains(QStringLiteral("…※")));
    QVERIFY(text.contains(QStringLiteral("10.20")) && text.contains(QStringLiteral("53.98")));
    QVERIFY(text.contains(QStringLiteral("≧54.06")));
    QVERIFY(text.contains(endless));
    QVERIFY(text.contains(tall));
    QVERIFY(text.contains(
        QStringLiteral("H1が3.2mを超えるため、告示の表による仕様は使えません。N値計算が必要です"
                       "（本計算）。")));
}

void SheetToolTest::emptyInputGivesANote() {
    const QString pdf = dir_.filePath(QStringLiteral("empty.pdf"));
    const Run run =
        runTool({QStringLiteral("--sheet"), pdf, QStringLiteral("--rules"), QStringLiteral("2025")},
                "id,pattern,reversed,bay1,bay2,bay3,bay4\n");
    QCOMPARE(run.exitCode, 0);
    const QString text = compactText(pdfWords(pdf));
    QVERIFY(text.contains(QStringLiteral("計算する柱がありません")));
    QVERIFY(text.contains(QStringLiteral("適用規準：2025年改正（階高補正）")));
}

void SheetToolTest::unwritableSheetFailsAndLeavesNoFile() {
    const QString pdf = dir_.filePath(QStringLiteral("no/such/folder/house.pdf"));
    const Run run =
        runTool({QStringLiteral(CLI_EXAMPLES "/columns.csv"), QStringLiteral("--sheet"), pdf});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(pdf), run.err.constData());
    QVERIFY(!QFileInfo::exists(pdf));
    const Run folder = runTool(
        {QStringLiteral(CLI_EXAMPLES "/columns.csv"), QStringLiteral("--sheet"), dir_.path()});
    QCOMPARE(folder.exitCode, 2);
    QVERIFY(QFileInfo(dir_.path()).isDir());
}

void SheetToolTest::sheetOnlyWritesNothingElse() {
    const QString pdf = dir_.filePath(QStringLiteral("only.pdf"));
    const Run run = runTool({QStringLiteral(CLI_EXAMPLES "/columns.jsonl"),
                             QStringLiteral("--sheet-only"), QStringLiteral("--sheet"), pdf});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(pageCount(pdfWords(pdf)), 2);
    QCOMPARE(runTool({QStringLiteral("--sheet-only"), QStringLiteral(CLI_EXAMPLES "/columns.csv")})
                 .exitCode,
             2);
}

void SheetToolTest::sheetReplacesOnlyAFileOfItsOwn_data() {
    QTest::addColumn<QString>("target"); // made by the test in a fresh folder
    QTest::addColumn<QString>("message");
    QTest::newRow("fifo") << QStringLiteral("fifo") << QStringLiteral("a FIFO (named pipe)");
    QTest::newRow("the_input") << QStringLiteral("input") << QStringLiteral("the input file");
    QTest::newRow("a_symlink_to_the_input")
        << QStringLiteral("symlink") << QStringLiteral("the input file");
    QTest::newRow("a_hard_link_to_the_input")
        << QStringLiteral("hardlink") << QStringLiteral("the input file");
    QTest::newRow("the_standard_input")
        << QStringLiteral("stdin") << QStringLiteral("the file standard input reads");
    QTest::newRow("the_standard_output")
        << QStringLiteral("stdout") << QStringLiteral("the file standard output goes to");
}

// A sheet never takes the place of a device or a pipe, nor of a file the
// same run reads or writes, by whatever name: the run is refused
// before it writes anything, and the node is left as it was.
void SheetToolTest::sheetReplacesOnlyAFileOfItsOwn() {
    QFETCH(QString, target);
    QFETCH(QString, message);
    const QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("house.csv"));
    QVERIFY(QFile::copy(QStringLiteral(CLI_EXAMPLES "/columns.csv"), input));
    QString sheet = dir.filePath(target);
    if (target == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(sheet).constData(), 0600), 0);
    } else if (target == QLatin1String("symlink")) {
        QVERIFY(QFile::link(input, sheet));
    } else if (target == QLatin1String("hardlink")) {
        QCOMPARE(link(QFile::encodeName(input).constData(), QFile::encodeName(sheet).constData()),
                 0);
    } else if (target != QLatin1String("stdout")) {
        sheet = input;
    }
    QStringList args{QStringLiteral("--sheet"), sheet};
    if (target != QLatin1String("stdin")) {
        args << input;
    }
    const Run run = runTool(args, {}, [&](QProcess& process) {
        if (target == QLatin1String("stdin")) {
            process.setStandardInputFile(input);
        }
        if (target == QLatin1String("stdout")) {
            process.setStandardOutputFile(sheet);
        }
    });
    const QString err = QString::fromUtf8(run.err);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(err.contains(QStringLiteral("--sheet ") + sheet + QStringLiteral(": ")) &&
                 err.contains(message),
             qPrintable(err));
    QFile after(input);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QVERIFY(after.readAll().startsWith("id,")); // still the input, not a PDF
    struct stat node {};
    QCOMPARE(lstat(QFile::encodeName(sheet).constData(), &node), 0);
    if (target == QLatin1String("fifo")) {
        QVERIFY(S_ISFIFO(node.st_mode));
    } else if (target == QLatin1String("symlink")) {
        QVERIFY(S_ISLNK(node.st_mode));
    } else if (target == QLatin1String("stdout")) {
        QCOMPARE(node.st_size, 0); // nothing written, no sheet in its place
    }
}

// The sheet reads its input from the file again for each pass instead of
// holding it: an input larger than the address space the process may have
// still gets its sheet. The input is a sparse file (one row, then a hole
// read as one record of zero bytes), so that the test costs no disk.
void SheetToolTest::sheetOfAnInputLargerThanMemory() {
#if defined(__SANITIZE_ADDRESS__)
#define KORUBA_TEST_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORUBA_TEST_UNDER_ASAN
#endif
#endif
#ifdef KORUBA_TEST_UNDER_ASAN
    QSKIP("AddressSanitizer reserves more address space than the limit this test sets");
#else
    const QString input = dir_.filePath(QStringLiteral("huge.csv"));
    QFile file(input);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("id,pattern,reversed,bay1,bay2,bay3,bay4\nC1,21,0,P2.5,,,\n");
    QVERIFY(file.resize(qint64{300} << 20));
    file.close();
    const QString pdf = dir_.filePath(QStringLiteral("huge.pdf"));
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("ulimit -v 250000 && \"$0\" \"$1\" --sheet \"$2\" --sheet-only"),
                 QStringLiteral(KORUBA_CALC_TOOL), input, pdf});
    QVERIFY(shell.waitForFinished(120000));
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    QVERIFY2(shell.exitCode() == 1, qPrintable(err)); // the hole is a record too long
    const QString text = compactText(pdfWords(pdf));
    QVERIFY(text.contains(QStringLiteral("C1")));
    QVERIFY2(text.contains(QStringLiteral("line3:recordlongerthan16MiB")), qPrintable(text));
#endif
}

// Standard input can be read once: it is copied to a temporary file that
// every pass reads and that is gone after the run; a full temporary disk
// is named with its reason and leaves no sheet.
void SheetToolTest::standardInputGoesThroughATemporaryCopy() {
    const QTemporaryDir runtime;
    const auto run = [&runtime](const QString& tmp, const QString& pdf) {
        return runTool({QStringLiteral("--sheet"), pdf}, {}, [&](QProcess& process) {
            QProcessEnvironment env = process.processEnvironment();
            env.insert(QStringLiteral("TMPDIR"), tmp);
            // Else Qt makes its runtime folder in TMPDIR.
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
            process.setProcessEnvironment(env);
            process.setStandardInputFile(QStringLiteral(CLI_EXAMPLES "/columns.csv"));
        });
    };
    const QTemporaryDir tmp;
    const QString pdf = dir_.filePath(QStringLiteral("piped.pdf"));
    const Run piped = run(tmp.path(), pdf);
    QCOMPARE(piped.exitCode, 0);
    QCOMPARE(piped.out, runTool({QStringLiteral(CLI_EXAMPLES "/columns.csv")}).out);
    QVERIFY(compactText(pdfWords(pdf)).contains(QStringLiteral("C4")));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    FullDisk disk;
    if (!disk.skipReason().isEmpty()) {
        QSKIP(qPrintable(disk.skipReason()));
    }
    QVERIFY(disk.fill());
    const QString folder = QFileInfo(disk.filePath(QStringLiteral("filler"))).path();
    const QString refused = dir_.filePath(QStringLiteral("refused.pdf"));
    const Run full = run(folder, refused);
    QCOMPARE(full.exitCode, 2);
    const QString fullErr = QString::fromUtf8(full.err);
    QVERIFY2(fullErr.contains(QStringLiteral("cannot copy standard input to ") + folder) &&
                 fullErr.contains(QStringLiteral("No space left on device")),
             qPrintable(fullErr));
    QVERIFY(full.out.isEmpty());
    QVERIFY(!QFileInfo::exists(refused));
    QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("filler")});
}

// A file changed between two passes over it would give a sheet whose rows
// are not the output's: no sheet is written, and the message says why.
void SheetToolTest::inputChangedDuringTheRunLeavesNoSheet() {
    const QString input = dir_.filePath(QStringLiteral("changing.csv"));
    QVERIFY(QFile::copy(QStringLiteral(CLI_EXAMPLES "/columns.csv"), input));
    QFile::setPermissions(input, QFile::ReadOwner | QFile::WriteOwner);
    const auto open = [](const QString& path) {
        return std::fopen(QFile::encodeName(path).constData(), "rb");
    };
    const auto source = std::make_shared<koruba::cli::SheetInput>();
    QString error;
    // A named file is opened by its name for every pass, the batch's first.
    QVERIFY(source->open(input, nullptr, open, error));
    koruba::columns::RecordReader batch(koruba::columns::ColumnFileFormat::Csv, source->read());
    koruba::columns::InputRecord record;
    while (batch.next(record)) {
    }
    const koruba::SheetDescription sheet = koruba::cli::sheetOfInput(
        source, koruba::columns::ColumnFileFormat::Csv, koruba::RuleSet::Notice2000, "p", "d");
    const QString pdf = dir_.filePath(QStringLiteral("same.pdf"));
    QVERIFY2(koruba::writeSheetPdf(pdf, sheet, error), qPrintable(error));
    // Same size, one brace changed: only the bytes tell.
    QFile file(input);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf("X1-Y1,21,0,L45");
    QVERIFY(at >= 0);
    bytes.replace(at + 11, 3, "L30");
    QVERIFY(file.seek(0) && file.write(bytes) == bytes.size() && file.flush());
    file.close();
    const QString changed = dir_.filePath(QStringLiteral("changed.pdf"));
    QVERIFY(!koruba::writeSheetPdf(changed, sheet, error));
    QCOMPARE(error, input + QStringLiteral(" changed while it was being read; no sheet was "
                                           "written, run the tool again"));
    QVERIFY(!QFileInfo::exists(changed));
}

// The words of a page from the first word after the one with the text on.
std::vector<PdfWord> wordsAfter(const std::vector<PdfWord>& words, const QString& text) {
    const auto at =
        std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == text; });
    return at == words.end() ? std::vector<PdfWord>{} : std::vector<PdfWord>(at + 1, words.end());
}

// The example: the columns named there, each in its table with both
// directions' terms, and the upper column without a column below it named
// in the notes.
void SheetToolTest::houseSheetShowsBothDirections() {
    const QString pdf = dir_.filePath(QStringLiteral("issue-house.pdf"));
    const Run run = runTool(
        {QStringLiteral(CLI_TEST_DATA "/issue_example.kxhouse"), QStringLiteral("--sheet"), pdf});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("\xEF\xBB\xBFstorey,name")); // the records still go out
    const std::vector<PdfWord> words = pdfWords(pdf);
    // The first page after the two storeys' plans.
    const QString first = compactText(words, 3);
    QVERIFY(first.contains(QStringLiteral("物件名：山田邸新築工事")));
    QVERIFY(first.contains(QStringLiteral("設計者：佐藤")));
    QVERIFY(first.contains(QStringLiteral("適用規準：2025年改正（階高補正）")));

    // Name (grid point, own name, 通し柱), position, X over Y, A1, B1,
    // f(H1), A2, B2, f(H2), L, N per direction, governing, N, pull-out.
    const QStringList through = rowTexts(words, QStringLiteral("通し柱A"), 19.5);
    QCOMPARE(through.mid(0, 15),
             QStringList({QStringLiteral("X0-Y0通し柱A通し柱"), QStringLiteral("1階2階"),
                          QStringLiteral("出隅出隅"), "XY", "6.51.5", "0.8", "1", "2.00.0", "0.8",
                          "3.30/2.7", "1.0", "6.160.20", "X", "6.16", "32.58"}));
    // Beyond the notification's table: the rule, with (る)*'s hardware as
    // the reference.
    QCOMPARE(through[15], QStringLiteral("表外"));
    QVERIFY(compactText(words).contains(QStringLiteral(
        "N×5.3＝32.65kN以上の接合方法とする（参考：引き寄せ金物(HD-20)×２個(参考)）")));

    // The table a column stands in: the last caption before its name (a
    // caption's characters are words of their own).
    const QString text = compactText(words);
    const auto tableOf = [&text](const QString& name) {
        const qsizetype at = text.indexOf(name);
        QString caption;
        qsizetype last = -1;
        for (const QString& c : {QStringLiteral("2階の柱"), QStringLiteral("1階の柱"),
                                 QStringLiteral("平屋・下屋の柱")}) {
            if (const qsizetype p = text.lastIndexOf(c, at); p > last) {
                last = p;
                caption = c;
            }
        }
        return caption;
    };
    QCOMPARE(tableOf(QStringLiteral("通し柱A")), QStringLiteral("1階の柱"));
    QCOMPARE(tableOf(QStringLiteral("X2-Y0")), QStringLiteral("平屋・下屋の柱"));
    QCOMPARE(rowTexts(words, QStringLiteral("X2-Y0"), 19.5).mid(0, 12),
             QStringList({"X2-Y0", QStringLiteral("出隅"), "XY", "6.50.0", "0.8", "1", "0.4",
                          "4.80-0.40", "X", "4.80", "25.40", QStringLiteral("(ぬ)")}));
    QCOMPARE(tableOf(QStringLiteral("X1-Y0")), QStringLiteral("2階の柱"));
    QCOMPARE(rowTexts(words, QStringLiteral("X1-Y0"), 19.5).mid(0, 12),
             QStringList({"X1-Y0", QStringLiteral("出隅"), "XY", "1.00.0", "0.8", "3.30/2.7", "0.4",
                          "0.58-0.40", "X", "0.58", "3.06", QStringLiteral("(ろ)")}));
    const QString notes = compactText(wordsAfter(words, QStringLiteral("注記")));
    QVERIFY2(
        notes.contains(QStringLiteral("2階X1-Y0:") + QString::fromUtf8(koruba::kNoColumnBelow)),
        qPrintable(notes));
}

void SheetToolTest::exampleHousesScheduleCountsTheDerivation_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("hiraya") << QStringLiteral("hiraya");
    QTest::newRow("house2f") << QStringLiteral("house2f");
}

// The example houses' output and sheet, kept in the build tree for a
// person to look at; the schedule's counts are the derived columns'.
void SheetToolTest::exampleHousesScheduleCountsTheDerivation() {
    QFETCH(QString, name);
    const QString house = QStringLiteral(CLI_EXAMPLES "/") + name + QStringLiteral(".kxhouse");
    const QString pdf = outputDir() + QStringLiteral("/house-") + name + QStringLiteral(".pdf");
    const Run run = runTool({house, QStringLiteral("--sheet"), pdf});
    QCOMPARE(run.exitCode, 0);
    QFile csv(outputDir() + QStringLiteral("/house-") + name + QStringLiteral(".out.csv"));
    QVERIFY(csv.open(QIODevice::WriteOnly) && csv.write(run.out) == run.out.size());

    QFile file(house);
    QVERIFY(file.open(QIODevice::ReadOnly));
    koruba::House parsed;
    std::string error;
    QVERIFY(koruba::columns::readHouse(file.readAll().toStdString(), parsed, error));
    // By the symbol the sheet shows: the count in each storey, the upper
    // one first, then in all.
    const std::size_t storeys = parsed.storeys.size();
    QMap<QString, QVector<int>> counts;
    for (const koruba::ColumnResult& c : koruba::deriveHouse(parsed)) {
        const koruba::ResultType& r = c.result();
        const QString symbol =
            koruba::beyondNoticeTable(r.JointClass)
                ? QStringLiteral("表外")
                : QString::fromUtf8(r.JointSymbol.data(),
                                    static_cast<qsizetype>(r.JointSymbol.size()));
        QVector<int>& count = counts[symbol];
        count.resize(static_cast<qsizetype>(storeys) + 1);
        ++count[static_cast<qsizetype>(storeys) - c.storey];
        ++count.back();
    }
    const std::vector<PdfWord> schedule = wordsAfter(pdfWords(pdf), QStringLiteral("使用金物一覧"));
    QVERIFY(!schedule.empty());
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        QStringList want;
        for (const int n : it.value()) {
            want << QString::number(n);
        }
        const QStringList cells = rowTexts(schedule, it.key(), 5.0);
        QVERIFY2(cells.size() > want.size(), qPrintable(it.key()));
        QCOMPARE(cells.mid(cells.size() - want.size()), want);
    }
}

void SheetToolTest::planPagesShowEveryColumnToScale_data() {
    QTest::addColumn<int>("stretch"); // the example's grid, so many times as wide
    QTest::addColumn<QString>("scale");
    QTest::addColumn<QString>("paper"); // width x height in points
    QTest::newRow("house2f on A4") << 1 << QStringLiteral("縮尺1/100（A4）") << "842x595";
    // 30.1 m by 24.6 m with the names round it: over A4 at 1/100.
    QTest::newRow("three times on A3") << 3 << QStringLiteral("縮尺1/100（A3）") << "1191x842";
    QTest::newRow("four times on A3") << 4 << QStringLiteral("縮尺1/150（A3）") << "1191x842";
}

// The house's sheet opens with a plan per storey, upper first, on
// landscape paper: each column's symbol (class and governing direction) on
// its storey's page as derived, and the scale noted true to the paper.
void SheetToolTest::planPagesShowEveryColumnToScale() {
    QFETCH(int, stretch);
    QFETCH(QString, scale);
    QFETCH(QString, paper);
    QFile example(QStringLiteral(CLI_EXAMPLES "/house2f.kxhouse"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(example.readAll());
    const QRegularExpression line(QStringLiteral("\\[\"([XY][0-9]+)\", ([0-9]+)\\]"));
    for (auto it = line.globalMatch(QString(text)); it.hasNext();) {
        const auto m = it.next();
        text.replace(
            m.captured(0),
            QStringLiteral("[\"%1\", %2]").arg(m.captured(1)).arg(m.captured(2).toInt() * stretch));
    }
    const QString house = dir_.filePath(QStringLiteral("plan%1.kxhouse").arg(stretch));
    QFile out(house);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) > 0);
    out.close();
    const QString pdf = outputDir() + QStringLiteral("/house-house2f-plan%1.pdf").arg(stretch);
    QCOMPARE(runTool({house, QStringLiteral("--sheet"), pdf}).exitCode, 0);
    koruba::House parsed;
    std::string error;
    QVERIFY(koruba::columns::readHouse(text.toStdString(), parsed, error));
    std::map<std::int32_t, std::map<QString, int>> want; // by storey
    for (const koruba::ColumnResult& c : koruba::deriveHouse(parsed)) {
        const koruba::ResultType& r = c.result();
        const QString symbol =
            r.JointClass == 0 ? QStringLiteral("N>7.5")
                              : QString::fromUtf8(r.JointSymbol.data(),
                                                  static_cast<qsizetype>(r.JointSymbol.size()));
        ++want[c.storey][symbol + (c.governing == koruba::HouseDirection::X ? QStringLiteral("→")
                                                                            : QStringLiteral("↑"))];
    }
    QCOMPARE(want.size(), std::size_t{2});

    const std::vector<PdfWord> words = pdfWords(pdf);
    const QString pages =
        runTool(QStringLiteral(KORUBA_PDFTOTEXT), {QStringLiteral("-bbox"), QStringLiteral("-l"),
                                                   QStringLiteral("3"), pdf, QStringLiteral("-")});
    const QRegularExpression size(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
    QStringList sizes;
    for (auto it = size.globalMatch(pages); it.hasNext();) {
        const auto m = it.next();
        sizes << QStringLiteral("%1x%2")
                     .arg(qRound(m.captured(1).toDouble()))
                     .arg(qRound(m.captured(2).toDouble()));
    }
    // Two plans on A4 landscape, then the tables on A4 portrait.
    QCOMPARE(sizes, QStringList({paper, paper, "595x842"}));

    const QRegularExpression plan(QStringLiteral("^(\\(.+\\)\\*?|N>7\\.5)[→↑]$"));
    for (const auto& [page, storey] : {std::pair{1, 2}, std::pair{2, 1}}) {
        const QString onPage = compactText(words, page);
        QVERIFY(onPage.contains(QStringLiteral("算定平面図（%1階）").arg(storey)));
        QVERIFY2(onPage.contains(scale), qPrintable(onPage));
        QVERIFY(!onPage.contains(QStringLiteral("計算方法")));
        // Measured as a reviewer would: grid lines X0 and X10, each named at
        // both ends, are 9100 mm apart, times the stretch.
        std::map<QString, int> shown;
        std::map<QString, std::vector<qreal>> names;
        for (const PdfWord& w : words) {
            if (w.page == page && plan.match(w.text).hasMatch()) {
                ++shown[w.text];
            } else if (w.page == page && (w.text == "X0" || w.text == "X10")) {
                names[w.text].push_back(w.box.center().x() * 25.4 / 72.0);
            }
        }
        QCOMPARE(shown, want[storey]);
        const qreal denominator =
            scale.section(QLatin1Char('/'), 1).section(QChar(u'（'), 0, 0).toDouble();
        QCOMPARE(names["X0"].size(), std::size_t{2});
        QCOMPARE(names["X10"].size(), std::size_t{2});
        for (std::size_t i = 0; i < 2; ++i) {
            const qreal mm = names["X10"][i] - names["X0"][i];
            QVERIFY2(std::abs(mm - 9100.0 * stretch / denominator) < 0.3,
                     qPrintable(QString::number(mm)));
        }
    }
    QVERIFY(compactText(words, 3).contains(QStringLiteral("計算方法")));
}

void SheetToolTest::refusedHouseWritesNoSheet() {
    const QString house = dir_.filePath(QStringLiteral("bad.kxhouse"));
    QFile in(QStringLiteral(CLI_TEST_DATA "/issue_example.kxhouse"));
    QVERIFY(in.open(QIODevice::ReadOnly));
    QFile out(house);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(in.readAll().replace("\"L30\"", "\"L35\""));
    out.close();
    const QString pdf = dir_.filePath(QStringLiteral("bad-house.pdf"));
    const Run run = runTool({house, QStringLiteral("--sheet"), pdf});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("storeys[1].walls[0].bay"), run.err.constData());
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFileInfo::exists(pdf));
}

QTEST_MAIN(SheetToolTest)
#include "SheetToolTest.moc"
