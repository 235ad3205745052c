// Runs the built koruba-x-calc as users do: its output against golden
// files, its exit status, and inputs that must not bring it down.
#include "calc/ResultType.h"
#include "columns/BayToken.h"
#include "columns/ColumnFileFormat.h"
#include "columns/ColumnInput.h"
#include "columns/CsvRecord.h"
#include "tests/cli/ToolRun.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string_view>
#include <vector>

#include <string>

namespace {

using koruba::test::ToolRun;

ToolRun RunTool(const QStringList& args, const QByteArray& input = {}) {
    ToolRun run = koruba::test::runTool(args, input);
    EXPECT_NE(run.exitCode, -1) << "the tool did not start, crashed or did not finish: "
                                << run.failure.toStdString();
    return run;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

QString Data(const char* name) {
    return QStringLiteral(CLI_TEST_DATA "/") + QLatin1String(name);
}
QString Example(const char* name) {
    return QStringLiteral(CLI_EXAMPLES "/") + QLatin1String(name);
}

struct Golden {
    const char* name;
    QStringList args;
    const char* golden;
    int exitCode;
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Golden& row, std::ostream* os) {
    *os << row.name;
}

class ToolGolden : public testing::TestWithParam<Golden> {};

TEST_P(ToolGolden, OutputMatchesTheGoldenFile) {
    const Golden& g = GetParam();
    const ToolRun run = RunTool(g.args);
    EXPECT_EQ(run.exitCode, g.exitCode) << run.err.toStdString();
    const QByteArray expected = ReadFile(Data(g.golden));
    EXPECT_EQ(run.out.toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ToolGolden,
    testing::Values(
        Golden{"example_csv", {Example("columns.csv")}, "columns.out.csv", 0},
        Golden{"example_jsonl_two_threads",
               {QStringLiteral("--jobs"), QStringLiteral("2"), Example("columns.jsonl")},
               "columns.out.jsonl",
               0},
        Golden{"example_csv_rules_2000",
               {QStringLiteral("--rules"), QStringLiteral("2000"), Example("columns.csv")},
               "columns.out.csv",
               0},
        Golden{"example_jsonl_rules_2000",
               {QStringLiteral("--rules"), QStringLiteral("2000"), Example("columns.jsonl")},
               "columns.out.jsonl",
               0},
        Golden{"bad_jsonl", {Data("bad.jsonl")}, "bad.out.jsonl", 1},
        Golden{"bad_csv", {QStringLiteral("--no-bom"), Data("bad.csv")}, "bad.out.csv", 1},
        Golden{"one_column_two_storeys",
               {QStringLiteral("--pattern"), QStringLiteral("13"), QStringLiteral("--bay1"),
                QStringLiteral("L45"), QStringLiteral("--bay3"), QStringLiteral("X90+P2.5"),
                QStringLiteral("--bay4"), QStringLiteral("P1.0")},
               "one_column_13.txt",
               0},
        // The house outputs were checked by hand on these columns (terms
        // worked from the plan's walls with the brace corrections, then
        // N = A1·B1·f1 + A2·B2·f2 − L and the class table):
        // hiraya 隅柱A (X0-Y0, corner, R45 to +x: A 2.0−0.5, N_X 0.80 (は));
        // hiraya X0-Y2 (その他, Y: P2.0 | R45, A |2.0−2.0|−0.5, N_Y −0.85,
        // N_X −0.60 governs, (い)); house2f 通し柱A (Y: X45+P2.5 below,
        // P2.5 above, f2 3.40/2.7: 6.5·0.8 + 2.5·0.8·1.259 − 1.0 = 6.72,
        // X: 1.5·0.8 + 2.0·0.8·1.259 − 1.0 = 2.21, (る)*).
        Golden{"house_hiraya_csv", {Example("hiraya.kxhouse")}, "hiraya.out.csv", 0},
        Golden{"house_two_storeys_jsonl",
               {QStringLiteral("--format"), QStringLiteral("jsonl"), Example("house2f.kxhouse")},
               "house2f.out.jsonl",
               0},
        Golden{"house_issue_example_csv",
               {QStringLiteral("--no-bom"), Data("issue_example.kxhouse")},
               "issue_example.out.csv",
               0}),
    [](const testing::TestParamInfo<Golden>& i) { return std::string(i.param.name); });

struct Worked {
    const char* name;
    QStringList args;
    QStringList lines; // lines that must appear in the output, in order
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Worked& row, std::ostream* os) {
    *os << row.name;
}

class ToolWorkedExample : public testing::TestWithParam<Worked> {};

TEST_P(ToolWorkedExample, ShowsTheWindowsTexts) {
    const ToolRun run = RunTool(GetParam().args);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList out = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    qsizetype at = 0;
    for (const QString& line : GetParam().lines) {
        const qsizetype found = out.indexOf(line, at);
        EXPECT_GE(found, 0) << "missing in order: " << line.toStdString() << "\n"
                            << run.out.toStdString();
        at = found < 0 ? at : found + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ToolWorkedExample,
    testing::Values(
        Worked{"corner_brace_meets_the_top",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
                QStringLiteral("L45")},
               {QStringLiteral("A1= |2.0-0.0|+0.5"), QStringLiteral("= 2.5"),
                QStringLiteral("B1= 0.8  L= 0.4"),
                QStringLiteral("N = 2.5x0.8-0.4= 1.60  [8.47kN]"),
                QStringLiteral("(ほ)  接合耐力： 8.47(kN)"),
                QStringLiteral("羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)")}},
        Worked{"corner_brace_meets_the_foot",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
                QStringLiteral("R45")},
               {QStringLiteral("A1= |2.0-0.0|+(-0.5)"),
                QStringLiteral("N = 1.5x0.8-0.4= 0.80  [4.23kN]"),
                QStringLiteral("(は)  接合耐力： 5.29(kN)")}},
        Worked{"mirrored_corner_reads_the_right_bay",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--reversed"),
                QStringLiteral("--bay1"), QStringLiteral("L90"), QStringLiteral("--bay2"),
                QStringLiteral("R45")},
               // The wall sums stay by side: bay 2 is side 2.
               {QStringLiteral("A1= |0.0-2.0|+0.5"),
                QStringLiteral("N = 2.5x0.8-0.4= 1.60  [8.47kN]")}},
        Worked{"panels_pull_out_rounds_down",
               {QStringLiteral("--pattern"), QStringLiteral("12"), QStringLiteral("--bay3"),
                QStringLiteral("P2.5"), QStringLiteral("--bay2"), QStringLiteral("P2.0")},
               {QStringLiteral("A2= |0.0-2.0|+(0.0)"), QStringLiteral("B2= 0.8"),
                QStringLiteral("A1= |2.5-0.0|+(0.0)"), QStringLiteral("B1= 0.5  L= 1.6"),
                QStringLiteral("N = 2.5x0.5+2.0x0.8-1.6 = 1.25  [6.61kN]"),
                QStringLiteral("(に)  接合耐力： 7.41(kN)")}},
        Worked{"empty_inner_column",
               {QStringLiteral("--pattern"), QStringLiteral("22")},
               {QStringLiteral("N = 0.0x0.5-0.6= -0.60  [-3.18kN]"),
                QStringLiteral("(い)  接合耐力： 0.00(kN)"),
                QStringLiteral("短ほぞ差し・かすがい(C)")}},
        Worked{"two_storey_corner",
               {QStringLiteral("--pattern"), QStringLiteral("11"), QStringLiteral("--bay3"),
                QStringLiteral("L90"), QStringLiteral("--bay1"), QStringLiteral("P2.5")},
               {QStringLiteral("A2= |2.5-0.0|+(0.0)"), QStringLiteral("A1= |3.0-0.0|+2.0"),
                QStringLiteral("N = 5.0x0.8+2.5x0.8-1.0 = 5.00  [26.46kN]"),
                QStringLiteral("(ぬ)  接合耐力： 29.64(kN)")}},
        // The 2025 rules, worked by hand: A1 = 2.5, B1 = 0.8, L = 0.4.
        Worked{"rules_2025_standard_storey",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
                QStringLiteral("P2.5"), QStringLiteral("--rules"), QStringLiteral("2025"),
                QStringLiteral("--h1"), QStringLiteral("3.0")},
               {QStringLiteral("N = 2.5x0.8-0.4= 1.60  [8.47kN]"),
                QStringLiteral("(ほ)  接合耐力： 8.47(kN)"),
                QStringLiteral("2025年改正（階高補正）: N = A1×B1×f(H1) − L"),
                QStringLiteral("H1= 3.00m")}},
        Worked{"rules_2025_at_the_limit_factor_one",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
                QStringLiteral("P2.5"), QStringLiteral("--rules"), QStringLiteral("2025"),
                QStringLiteral("--h1"), QStringLiteral("3.20")},
               {QStringLiteral("N = 2.5x0.8-0.4= 1.60  [8.47kN]"), QStringLiteral("H1= 3.20m")}},
        // 2.5 x 0.8 x 3.3/2.7 - 0.4 = 2.04
        Worked{
            "rules_2025_tall_storey",
            {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
             QStringLiteral("P2.5"), QStringLiteral("--rules"), QStringLiteral("2025"),
             QStringLiteral("--h1"), QStringLiteral("3.3")},
            {QStringLiteral("N = 2.5x0.8xf1-0.4= 2.04  [10.82kN]"),
             QStringLiteral("(と)  接合耐力： 14.82(kN)"), QStringLiteral("H1= 3.30m"),
             QStringLiteral("f1= 3.30/2.7"),
             QStringLiteral("H1 が 3.2m を超えるため、告示の表による仕様は使えません。N値計算が必要"
                            "です（本計算）。")}},
        // 2.5 x 0.8 x 3.3/2.7 + 2.0 x 0.8 x 3.6/2.7 - 1.0 = 3.58 (2.60 under 2000)
        Worked{"rules_2025_two_storeys",
               {QStringLiteral("--pattern"), QStringLiteral("11"), QStringLiteral("--bay3"),
                QStringLiteral("P2.5"), QStringLiteral("--bay1"), QStringLiteral("P2.0"),
                QStringLiteral("--rules"), QStringLiteral("2025"), QStringLiteral("--h1"),
                QStringLiteral("3.3"), QStringLiteral("--h2"), QStringLiteral("3.6")},
               {QStringLiteral("N = 2.5x0.8xf1+2.0x0.8xf2-1.0 = 3.58  [18.93kN]"),
                QStringLiteral("(ち)  接合耐力： 19.58(kN)"),
                QStringLiteral("H1= 3.30m  H2= 3.60m"), QStringLiteral("f1= 3.30/2.7"),
                QStringLiteral("f2= 3.60/2.7")}},
        Worked{"rules_2000_caps_the_bay_at_5",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
                QStringLiteral("X90+P2.5")},
               {QStringLiteral("A1= |5.0-0.0|+(0.0)")}},
        Worked{"rules_2025_does_not_cap",
               {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
                QStringLiteral("X90+P2.5"), QStringLiteral("--rules"), QStringLiteral("2025"),
                QStringLiteral("--h1"), QStringLiteral("2.7")},
               {QStringLiteral("A1= |7.5-0.0|+(0.0)")}},
        Worked{"above_the_last_class_shows_no_strength",
               {QStringLiteral("--pattern"), QStringLiteral("11"), QStringLiteral("--bay1"),
                QStringLiteral("L90+P5.0"), QStringLiteral("--bay3"), QStringLiteral("L90+P5.0")},
               {QStringLiteral("N = 7.0x0.8+7.0x0.8-1.0 = 10.20  [53.98kN]"),
                QStringLiteral("接合耐力： ---(kN)")}}),
    [](const testing::TestParamInfo<Worked>& i) { return std::string(i.param.name); });

// Every output line is valid JSON, and every float reads back as the very
// float the calculation produced.
TEST(Tool, JsonOutputIsValidAndFloatsRoundTrip) {
    const ToolRun run = RunTool({Example("columns.jsonl")});
    ASSERT_EQ(run.exitCode, 0);
    const QList<QByteArray> inLines = ReadFile(Example("columns.jsonl")).split('\n');
    const QList<QByteArray> outLines = run.out.split('\n');
    ASSERT_EQ(outLines.size(), inLines.size());
    const char* floatFields[] = {"WallA1Left",
                                 "WallA1Right",
                                 "WallA2Left",
                                 "WallA2Right",
                                 "CorrA1",
                                 "CorrA2",
                                 "A1",
                                 "B1",
                                 "A2",
                                 "B2",
                                 "L",
                                 "PullOut",
                                 "JointStrength",
                                 "NValue",
                                 "JointNLimit"};
    for (qsizetype i = 0; i + 1 < inLines.size(); ++i) {
        QJsonParseError e{};
        const QJsonObject in = QJsonDocument::fromJson(inLines[i]).object();
        const QJsonDocument outDoc = QJsonDocument::fromJson(outLines[i], &e);
        ASSERT_EQ(e.error, QJsonParseError::NoError) << outLines[i].toStdString();
        const QJsonObject out = outDoc.object();
        EXPECT_EQ(out.keys().size(), 3);
        EXPECT_EQ(out[QLatin1String("id")].toString(), in[QLatin1String("id")].toString());

        koruba::columns::ColumnInput column;
        column.pattern = in[QLatin1String("pattern")].toInt();
        column.reversed = in[QLatin1String("reversed")].toBool() ? 1 : 0;
        std::string error;
        for (int b = 0; b < 4; ++b) {
            koruba::columns::parseBayToken(
                in[QLatin1String("bays")].toArray()[b].toString().toStdString(),
                column.bays[static_cast<std::size_t>(b)], error);
        }
        const koruba::ResultType expected = koruba::columns::computeColumn(column);
        const float* values = &expected.WallA1Left;
        const QJsonObject result = out[QLatin1String("result")].toObject();
        EXPECT_EQ(result.size(), 18);
        for (std::size_t f = 0; f < std::size(floatFields); ++f) {
            const float want = f < 14 ? values[f] : expected.JointNLimit;
            EXPECT_EQ(static_cast<float>(result[QLatin1String(floatFields[f])].toDouble()), want)
                << floatFields[f] << " of " << inLines[i].toStdString();
        }
        EXPECT_EQ(result[QLatin1String("JointClass")].toInt(), expected.JointClass);
        const int labels = out[QLatin1String("labels")].toObject().size();
        EXPECT_EQ(labels, 11);
    }
}

struct Usage {
    const char* name;
    QStringList args;
    int exitCode;
    const char* message; // part of standard error, or of standard output for 0
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Usage& row, std::ostream* os) {
    *os << row.name;
}

class ToolExitCode : public testing::TestWithParam<Usage> {};

TEST_P(ToolExitCode, TellsTheUser) {
    const Usage& u = GetParam();
    const ToolRun run = RunTool(u.args);
    EXPECT_EQ(run.exitCode, u.exitCode) << run.err.toStdString();
    const QByteArray& text = u.exitCode == 0 ? run.out : run.err;
    EXPECT_TRUE(text.contains(u.message)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ToolExitCode,
    testing::Values(
        Usage{"version", {QStringLiteral("--version")}, 0, "koruba-x-calc " KORUBA_VERSION},
        Usage{"help", {QStringLiteral("--help")}, 0, "--pattern <tag>"},
        Usage{"unknown_option", {QStringLiteral("--colour")}, 2, "Unknown option 'colour'"},
        Usage{"missing_file",
              {QStringLiteral("/nonexistent/columns.csv")},
              2,
              "cannot read /nonexistent/columns.csv"},
        Usage{"directory", {QStringLiteral(CLI_TEST_DATA)}, 2, "cannot read"},
        Usage{"two_files",
              {Example("columns.csv"), Example("columns.jsonl")},
              2,
              "one input file at most"},
        Usage{"unknown_format",
              {QStringLiteral("--format"), QStringLiteral("xml")},
              2,
              "--format must be csv or jsonl"},
        Usage{"jobs_accepted_and_ignored",
              {QStringLiteral("--jobs"), QStringLiteral("64"), Example("columns.csv")},
              0,
              "A1_term"},
        Usage{"header_only_with_a_bad_header",
              {Data("bad_header.csv")},
              1,
              "the header lacks the column(s) pattern"},
        Usage{"bad_bay_token",
              {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--bay1"),
               QStringLiteral("X95")},
              2,
              "--bay1: \"X95\": brace size must be 15, 30, 45 or 90"},
        Usage{"bad_pattern",
              {QStringLiteral("--pattern"), QStringLiteral("23")},
              2,
              "--pattern: pattern \"23\" is not one of"},
        Usage{"bay_without_pattern",
              {QStringLiteral("--bay1"), QStringLiteral("L45")},
              2,
              "need --pattern"},
        Usage{"pattern_with_file",
              {QStringLiteral("--pattern"), QStringLiteral("21"), Example("columns.csv")},
              2,
              "reads no file"},
        Usage{"bad_records", {Data("bad.jsonl")}, 1, "5 of 7 records failed"},
        Usage{"bad_rules",
              {QStringLiteral("--rules"), QStringLiteral("2030"), Example("columns.csv")},
              2,
              "--rules: rules \"2030\": must be 2000 or 2025"},
        Usage{"rules_2025_without_h1",
              {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--rules"),
               QStringLiteral("2025")},
              2,
              "the 2025 rules need the storey height --h1"},
        Usage{"bad_h1",
              {QStringLiteral("--pattern"), QStringLiteral("21"), QStringLiteral("--rules"),
               QStringLiteral("2025"), QStringLiteral("--h1"), QStringLiteral("3,3")},
              2,
              "--h1: \"3,3\": a storey height is given in metres from 2.00 to 4.50"}),
    [](const testing::TestParamInfo<Usage>& i) { return std::string(i.param.name); });

TEST(Tool, ReadsStandardInputInTheChosenFormat) {
    const QByteArray line = ReadFile(Example("columns.jsonl")).split('\n').front() + '\n';
    const ToolRun run = RunTool({QStringLiteral("--format"), QStringLiteral("jsonl")}, line);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("{\"id\":\"X1-Y1\",\"result\":{")) << run.out.toStdString();
}

// The tool and the column list decide a file's format by one rule: a list
// saved under a name the list takes for JSON Lines must be read as JSON
// Lines by the tool, whatever the letter case of the suffix.
TEST(Tool, TakesTheFormatFromTheNameAsTheListDoes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString upper = dir.filePath(QStringLiteral("柱リスト.JSON"));
    ASSERT_TRUE(QFile::copy(Example("columns.jsonl"), upper));
    ASSERT_EQ(koruba::columns::formatOfPath(upper.toStdString()),
              koruba::columns::ColumnFileFormat::JsonLines);
    const ToolRun json = RunTool({upper});
    EXPECT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(json.out.toStdString(), ReadFile(Data("columns.out.jsonl")).toStdString());

    // Only the last suffix counts: this one is CSV, header and all.
    const QString csv = dir.filePath(QStringLiteral("columns.jsonl.csv"));
    ASSERT_TRUE(QFile::copy(Example("columns.csv"), csv));
    ASSERT_EQ(koruba::columns::formatOfPath(csv.toStdString()),
              koruba::columns::ColumnFileFormat::Csv);
    EXPECT_EQ(RunTool({csv}).out.toStdString(), ReadFile(Data("columns.out.csv")).toStdString());
}

TEST(Tool, EmptyInputIsNoFailure) {
    for (const char* format : {"csv", "jsonl"}) {
        const ToolRun run = RunTool({QStringLiteral("--format"), QLatin1String(format)});
        EXPECT_EQ(run.exitCode, 0) << format;
        EXPECT_TRUE(run.out.isEmpty()) << format;
    }
}

// Ten megabytes on one line: a valid object with a huge member is computed,
// a huge line of garbage is one error record, and the line after each is
// still read.
TEST(Tool, TenMegabyteLinesAreHandled) {
    const QByteArray huge(10 * 1000 * 1000, 'a');
    QByteArray input = "{\"note\": \"" + huge +
                       "\", \"id\": \"big\", \"pattern\": 21, "
                       "\"reversed\": false, \"bays\": [\"L45\", \"\", \"\", \"\"]}\n";
    input += huge + "\n";
    input += "{\"id\": \"after\", \"pattern\": 22, \"reversed\": 0, \"bays\": [\"\", \"\", \"\", "
             "\"\"]}\n";
    const ToolRun run = RunTool({QStringLiteral("--format"), QStringLiteral("jsonl"),
                                 QStringLiteral("--jobs"), QStringLiteral("2")},
                                input);
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith("{\"id\":\"big\",\"result\":{"))
        << lines[0].left(80).toStdString();
    EXPECT_EQ(
        lines[1].toStdString(),
        "{\"id\":null,\"error\":\"line 2, column 1: expected a JSON object starting with '{'\"}");
    EXPECT_TRUE(lines[2].startsWith("{\"id\":\"after\",\"result\":{"));

    QByteArray csv = "id,pattern,reversed,bay1,bay2,bay3,bay4,note\n";
    csv += "big,21,0,L45,,,,\"" + huge + "\"\n";
    csv += "after,22,0,,,,,\n";
    const ToolRun csvRun = RunTool({QStringLiteral("--format"), QStringLiteral("csv")}, csv);
    EXPECT_EQ(csvRun.exitCode, 0);
    const QList<QByteArray> rows = csvRun.out.split('\n');
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(
        rows[1].endsWith("aaa,A1= |2.0-0.0|+0.5,2.5,0.8,,,,0.4,N = 2.5x0.8-0.4= 1.60  "
                         "[8.47kN],1.60,8.47,(ほ),8.47,羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50),\r"));
}

TEST(Tool, LineAboveTheLimitIsOneErrorRecord) {
    QByteArray input = QByteArray(17 * 1024 * 1024, ' ') + "\n";
    input += "{\"id\": \"after\", \"pattern\": 22, \"reversed\": 0, \"bays\": [\"\", \"\", \"\", "
             "\"\"]}\n";
    const ToolRun run = RunTool({QStringLiteral("--format"), QStringLiteral("jsonl")}, input);
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].toStdString(),
              "{\"id\":null,\"error\":\"line 1: record longer than 16 MiB; not read\"}");
    EXPECT_TRUE(lines[1].startsWith("{\"id\":\"after\",\"result\":{"));
}

// The limit is 16 MiB exactly, not counting the line end, wherever the
// line starts.
TEST(Tool, RecordLimitIsSixteenMebibytesExactly) {
    const QByteArray after = "{\"id\": \"after\", \"pattern\": 22, \"reversed\": 0, \"bays\": "
                             "[\"\", \"\", \"\", \"\"]}\n";
    for (const int extra : {0, 1}) {
        QByteArray big = "{\"id\": \"big\", \"pattern\": 21, \"reversed\": 0, \"bays\": [\"L45\", "
                         "\"\", \"\", \"\"], \"note\": \"\"}";
        big.insert(big.size() - 2, QByteArray((16 << 20) - big.size() + extra, 'n'));
        ASSERT_EQ(big.size(), (16 << 20) + extra);
        for (const QByteArray& before : {QByteArray(), after, after + "   \r\n"}) {
            const ToolRun run = RunTool({QStringLiteral("--format"), QStringLiteral("jsonl")},
                                        before + big + "\r\n" + after);
            EXPECT_EQ(run.exitCode, extra) << run.err.toStdString();
            EXPECT_EQ(run.out.contains("\"id\":\"big\",\"result\""), extra == 0);
            EXPECT_EQ(run.out.contains("record longer than 16 MiB"), extra == 1);
            EXPECT_TRUE(run.out.endsWith("}}\n"));
        }
    }
}

// An output read back is computed under the rules it was computed under,
// or refused: never silently under the other set.
TEST(Tool, RecordsKeepTheRulesTheyName) {
    const QByteArray input = "id,pattern,reversed,bay1,bay2,bay3,bay4,h1,h2\n"
                             "C1,21,0,P2.5,,,,3.3,\n"
                             "C2,11,0,P2.0,,P2.5,,3.3,3.6\n";
    const ToolRun first = RunTool({QStringLiteral("--rules"), QStringLiteral("2025")}, input);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_TRUE(first.out.contains(",2.04,")) << first.out.toStdString();
    // 2.5 x 0.8 x 3.3/2.7 - 0.4 = 2.04 (1.60 under the 2000 rules). The
    // rule_set column decides, whatever --rules says for the other records.
    for (const QStringList& args :
         {QStringList{}, QStringList{"--rules", "2025"}, QStringList{"--rules", "2000"}}) {
        const ToolRun again = RunTool(args, first.out);
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
        EXPECT_EQ(again.out.toStdString(), first.out.toStdString());
    }
    QByteArray disagreeing = first.out;
    disagreeing.replace("h1,h2,", "h1,h2,rules,")
        .replace(",3.3,,", ",3.3,,2000,")
        .replace(",3.3,3.6,", ",3.3,3.6,,");
    const ToolRun other = RunTool({}, disagreeing);
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.out.contains(
        ",line 2: rules says 2000 but rule_set says 2025; the record is computed under neither"))
        << other.out.toStdString();

    const ToolRun json =
        RunTool({QStringLiteral("--format"), QStringLiteral("jsonl")},
                R"({"id":"a","pattern":21,"reversed":0,"bays":["P2.5","","",""],"h1":3.3,)"
                R"("rule_set":"2025"})");
    EXPECT_EQ(json.exitCode, 0) << json.out.toStdString();
    EXPECT_TRUE(json.out.contains("\"NValue\":2.044")) << json.out.toStdString();
}

// A failed write is never a success: the user gets a message and status 2.
TEST(Tool, FullOutputIsAnError) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("--version")},
          QStringList{QStringLiteral("--pattern"), QStringLiteral("21")},
          QStringList{Example("columns.csv")}}) {
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(KORUBA_CALC_TOOL), args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("cannot write the output: No space left"))
            << args.join(' ').toStdString();
    }
}

struct ShellInput {
    const char* name;
    const char* redirection; // arguments and redirections of the tool's standard streams
    const char* message;
};
void PrintTo(const ShellInput& row, std::ostream* os) {
    *os << row.name;
}

class ToolInput : public testing::TestWithParam<ShellInput> {};

// A standard input or output that is closed or cannot be used is an error,
// not an empty batch nor a descriptor the toolkit happened to open.
TEST_P(ToolInput, UnusableStandardStreamIsAnError) {
    QProcess p;
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$0\" ") + QLatin1String(GetParam().redirection),
             QStringLiteral(KORUBA_CALC_TOOL), Example("columns.csv")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains(GetParam().message));
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Shell, ToolInput,
    testing::Values(ShellInput{"closed", "<&-", "standard input is closed"},
                    ShellInput{"directory", "< /", "cannot read standard input: Is a directory"},
                    ShellInput{"closed_output_version", "--version >&-",
                               "cannot write the output: standard output is closed"},
                    ShellInput{"closed_output_batch", "\"$1\" >&-",
                               "cannot write the output: standard output is closed"}),
    [](const testing::TestParamInfo<ShellInput>& i) { return std::string(i.param.name); });

// The output read back by a strict JSON reader (Python's, with strict
// UTF-8): ids and bad tokens with quotes, backslashes, control characters,
// U+2028 and characters outside the basic plane come back as they went in.
TEST(Tool, JsonOutputReadsBackWithAStrictReader) {
    const QStringList ids = {QStringLiteral("a\\b"),
                             QStringLiteral("say \"hi\""),
                             QStringLiteral("c\u0001d\u001Fe"),
                             QStringLiteral("only\u001Fhere"),
                             QStringLiteral("line\u2028sep"),
                             QString::fromUtf8("\xF0\x9F\x8F\xA0 house"),
                             QStringLiteral("\\u0041")};
    // A JSON string as Qt writes it: [\"...\"] without the brackets.
    auto quoted = [](const QString& text) {
        return QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    };
    QByteArray input;
    for (const QString& id : ids) {
        for (const QString& bay1 : {QStringLiteral("L45"), id}) {
            input += "{\"id\":" + quoted(id) + ",\"pattern\":21,\"reversed\":false,\"bays\":[" +
                     quoted(bay1) + ",\"\",\"\",\"\"]}\n";
        }
    }
    const ToolRun run = RunTool({QStringLiteral("--format"), QStringLiteral("jsonl")}, input);
    ASSERT_EQ(run.exitCode, 1) << run.err.toStdString();

    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("out.jsonl")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(run.out);
    out.close();
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8', errors='strict') as f:\n"
                                 "    for line in f:\n"
                                 "        r = json.loads(line)\n"
                                 "        print(json.dumps([r['id'], r.get('error', '')]))\n"),
                  out.fileName()});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QList<QByteArray> lines = python.readAllStandardOutput().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2 * ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QJsonArray good = QJsonDocument::fromJson(lines[2 * i]).array();
        EXPECT_EQ(good[0].toString(), ids[i]);
        EXPECT_EQ(good[1].toString(), QString());
        const QJsonArray bad = QJsonDocument::fromJson(lines[2 * i + 1]).array();
        EXPECT_EQ(bad[0].toString(), ids[i]);
        EXPECT_TRUE(bad[1].toString().contains(QLatin1Char('"') + ids[i] + QLatin1Char('"')))
            << bad[1].toString().toStdString();
    }
}

} // namespace

namespace {

// The records of a house as CSV, each row a map from the header's names.
std::vector<std::map<std::string, std::string>> HouseRows(const QByteArray& csv) {
    std::vector<std::map<std::string, std::string>> rows;
    std::vector<std::string> header;
    std::vector<std::string> fields;
    koruba::columns::CsvSplit split;
    for (const QByteArray& line : csv.split('\n')) {
        const QByteArray record = line.endsWith('\r') ? line.chopped(1) : line;
        if (record.isEmpty()) {
            continue;
        }
        koruba::columns::splitCsvRecord(record.toStdString(), fields, split);
        EXPECT_EQ(split.fault, koruba::columns::CsvFault::None);
        if (header.empty()) {
            header.assign(fields.begin(), fields.begin() + static_cast<long>(split.kept));
            continue;
        }
        EXPECT_EQ(split.kept, header.size());
        auto& row = rows.emplace_back();
        for (std::size_t i = 0; i < header.size() && i < split.kept; ++i) {
            row[header[i]] = fields[i];
        }
    }
    return rows;
}

} // namespace

// The worked house: a through column at a corner of both storeys, a
// 下屋 corner outside the upper storey and an upper column that stands
// on no lower column.
TEST(ToolHouse, ComputesTheWorkedHouseInBothDirections) {
    const ToolRun run = RunTool({QStringLiteral("--no-bom"), Data("issue_example.kxhouse")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const auto rows = HouseRows(run.out);
    ASSERT_EQ(rows.size(), 8u);
    auto find = [&](std::string_view storey, std::string_view point) {
        for (const auto& r : rows) {
            if (r.at("storey") == storey && r.at("grid_point") == point) {
                return r;
            }
        }
        ADD_FAILURE() << storey << " " << point;
        return std::map<std::string, std::string>{};
    };
    const auto through = find("1階", "X0-Y0");
    EXPECT_EQ(through.at("name"), "通し柱A");
    EXPECT_EQ(through.at("through"), "1");
    EXPECT_EQ(through.at("X_upper_bay_higher"), "L30");
    EXPECT_EQ(through.at("X_N"), "6.16");
    EXPECT_EQ(through.at("Y_N"), "0.20");
    EXPECT_EQ(through.at("governing"), "X");
    EXPECT_EQ(through.at("symbol"), "(る)*");
    const auto annex = find("1階", "X2-Y0");
    EXPECT_EQ(annex.at("X_N"), "4.80");
    EXPECT_EQ(annex.at("X_L"), "0.4");
    EXPECT_EQ(annex.at("X_A2"), "");
    EXPECT_EQ(annex.at("symbol"), "(ぬ)");
    const auto floating = find("2階", "X1-Y0");
    EXPECT_EQ(floating.at("X_N"), "0.58");
    EXPECT_EQ(floating.at("symbol"), "(ろ)");
    EXPECT_NE(floating.at("warnings").find("下階に柱がありません"), std::string::npos);
    for (const auto& r : rows) {
        if (r.at("grid_point") != "X1-Y0") {
            EXPECT_EQ(r.at("warnings"), "") << r.at("storey") << " " << r.at("grid_point");
        }
    }
}

// A house the reader refuses is bad input, told with the member and the
// place; a house is never computed under other rules than its own.
TEST(ToolHouse, RefusesABadHouseAndOtherRules) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bad = dir.filePath(QStringLiteral("bad.kxhouse"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ReadFile(Data("issue_example.kxhouse")).replace("\"L30\"", "\"L35\""));
    f.close();
    ToolRun run = RunTool({bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_NE(run.err.toStdString().find("storeys[1].walls[0].bay: \"L35\""), std::string::npos)
        << run.err.toStdString();

    run =
        RunTool({QStringLiteral("--rules"), QStringLiteral("2000"), Data("issue_example.kxhouse")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_NE(run.err.toStdString().find("names the 2025 rules"), std::string::npos)
        << run.err.toStdString();

    run = RunTool({QStringLiteral("--spreadsheet-safe"), Data("issue_example.kxhouse")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
}
