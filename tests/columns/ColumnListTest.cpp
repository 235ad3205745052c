#include "columns/ColumnList.h"
#include "columns/ColumnFileReader.h"

#include "calc/ResultText.h"
#include "columns/CsvRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace koruba;
using namespace koruba::columns;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ColumnList readOrFail(const std::string& bytes, ColumnFileFormat format) {
    ColumnList list;
    std::string error;
    EXPECT_TRUE(readColumnList(bytes, format, list, error)) << error;
    return list;
}

ColumnRow row(const char* name, const char* pattern, const char* reversed,
              std::array<std::string, 4> bays, const char* rules = "", const char* h1 = "") {
    ColumnRow r;
    r.name = name;
    r.pattern = pattern;
    r.reversed = reversed;
    r.bays = bays;
    r.rules = rules;
    r.h1 = h1;
    return r;
}

// A list of every kind of cell: Japanese, quotes, commas and line breaks in
// unknown columns, a cell that cannot be read, the 2025 rules, a row added
// without the file's unknown cells.
ColumnList mixedList() {
    ColumnList list;
    list.columns = {"note", "id", "pattern", "reversed", "bay1", "bay2", "bay3", "bay4", "階"};
    ColumnRow a = row("X1-Y1", "21", "0", {"L45x90", "", "", ""});
    a.extra = {{"a, \"b\"\nc"}, {"一"}};
    ColumnRow b = row("通り2", "13", "1", {"X95", "P2.5", "", "-"}, "2025", "3.30");
    b.h2 = "2.9";
    b.extra = {{""}, {"="}};
    ColumnRow c = rowOfColumn("new", 11, 0, BayTable{});
    list.rows = {a, b, c};
    list.heading = {"山田邸", "佐藤, \"設計\""};
    return list;
}

class RoundTrip : public ::testing::TestWithParam<ColumnFileFormat> {};

TEST_P(RoundTrip, WrittenFileReadsBackAndWritesTheSameBytes) {
    ColumnList list = mixedList();
    // A row with a bad token reads back as it was, failed, in both formats.
    const std::string badToken = "X95";
    list.rows[1].bays[0] = badToken;
    const std::string first = writeColumnList(list, GetParam());
    const ColumnList read = readOrFail(first, GetParam());
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[1].bays[0], badToken);
    EXPECT_EQ(read.rows[0].extra.at(0).text, "a, \"b\"\nc");
    EXPECT_EQ(read.rows[1].h1, "3.30");
    EXPECT_EQ(read.heading, list.heading);
    EXPECT_EQ(writeColumnList(read, GetParam()), first);
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         ::testing::Values(ColumnFileFormat::Csv, ColumnFileFormat::JsonLines),
                         [](const auto& info) {
                             return info.param == ColumnFileFormat::Csv ? "Csv" : "JsonLines";
                         });

TEST(ColumnListFile, CsvIsWrittenAsTheBatchToolWritesIt) {
    ColumnList list;
    list.rows = {rowOfColumn("A", 21, 0, BayTable{})};
    EXPECT_EQ(writeColumnList(list, ColumnFileFormat::Csv),
              "\xEF\xBB\xBFid,pattern,reversed,bay1,bay2,bay3,bay4\r\nA,21,0,,,,\r\n");
}

// Also members named as the tool's CSV result columns: a JSON line holds
// them only when someone put them there.
TEST(ColumnListFile, UnknownJsonMembersKeepTheirJsonText) {
    const std::string line =
        R"({"id": 7, "pattern": 21, "reversed": 0, "bays": ["L45", "", "", ""],)"
        R"( "w": {"a": [1, 2.50]}, "n": null, "hardware": "HD-20", "N": 1.20, "formula": []})"
        "\n";
    const ColumnList list = readOrFail(line, ColumnFileFormat::JsonLines);
    EXPECT_EQ(writeColumnList(list, ColumnFileFormat::JsonLines),
              R"({"id":"7","pattern":21,"reversed":false,"bays":["L45","","",""],)"
              R"("w":{"a": [1, 2.50]},"n":null,"hardware":"HD-20","N":1.20,"formula":[]})"
              "\n");
}

struct RefusedCase {
    const char* name;
    ColumnFileFormat format;
    const char* bytes;
    const char* error;
};

class RefusedFile : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFile, SaysWhyAndKeepsTheListUntouched) {
    ColumnList list = mixedList();
    std::string error;
    EXPECT_FALSE(readColumnList(GetParam().bytes, GetParam().format, list, error));
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(list, mixedList());
}

const auto csv = ColumnFileFormat::Csv;
const auto jsonl = ColumnFileFormat::JsonLines;
INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedFile,
    ::testing::Values(
        RefusedCase{"MissingColumn", csv, "id,pattern,bay1,bay2,bay3,bay4\n",
                    "line 1: the header lacks the column(s) reversed"},
        RefusedCase{"ColumnTwice", csv, "id,pattern,reversed,bay1,bay2,bay3,bay4,ID\n",
                    "line 1: the header names the column id twice"},
        RefusedCase{"Empty", csv, "", "the file has no header row"},
        RefusedCase{"ShortRow", csv, "id,pattern,reversed,bay1,bay2,bay3,bay4\n\nA,21,0\n",
                    "line 3: 3 fields, the header has 7"},
        RefusedCase{"UnclosedQuote", csv, "id,pattern,reversed,bay1,bay2,bay3,bay4\n\"A,21\n",
                    "line 2, field 1: the quoted field is never closed"},
        // Also when the row has a bad token of its own, which would open
        // it as a failed row with U+FFFD in place of the text.
        RefusedCase{"ShiftJis", csv,
                    "id,pattern,reversed,bay1,bay2,bay3,bay4\nA,21,,,,,\n\x92\xca,21,,X95,,,\n",
                    "line 3, column 1: the file is not UTF-8 text; save it as UTF-8 (\"CSV UTF-8\" "
                    "in a spreadsheet) and open it again"},
        RefusedCase{"ShiftJisJson", jsonl,
                    "{\"id\":\"\x92\xca\",\"pattern\":21,\"reversed\":0,\"bays\":[\"X95\",\"\","
                    "\"\",\"\"]}\n",
                    "line 1, column 8: the file is not UTF-8 text; save it as UTF-8 (\"CSV UTF-8\" "
                    "in a spreadsheet) and open it again"},
        RefusedCase{"TwoProjects", csv,
                    "id,pattern,reversed,bay1,bay2,bay3,bay4,Project\nA,21,0,,,,,X\nB,21,0,,,,,\n"
                    "C,21,0,,,,,Y\n",
                    "lines 2 and 4 give different texts for \"project\"; a list has one"},
        RefusedCase{"FailedBefore", csv,
                    "id,pattern,reversed,bay1,bay2,bay3,bay4,error\nA,21,0,,,,,\"line 2: x\"\n",
                    "line 2: the row failed in an earlier run: line 2: x"},
        RefusedCase{"NotAnObject", jsonl, "[1]\n",
                    "line 1, column 1: expected a JSON object starting with '{'"},
        RefusedCase{"MemberTwice", jsonl,
                    "{\"id\":\"A\",\"pattern\":21,\"reversed\":0,\"bays\":[\"\",\"\",\"\",\"\"],"
                    "\"note\":1,\"note\":2}\n",
                    "line 1: member \"note\" appears twice"},
        RefusedCase{"NoPattern", jsonl, "{\"id\":\"A\",\"bays\":[\"\",\"\",\"\",\"\"]}\n",
                    "line 1, column 1: the object lacks \"pattern\", \"reversed\""}),
    [](const auto& info) { return std::string(info.param.name); });

struct OutcomeCase {
    const char* name;
    ColumnRow row;
    std::string error; // empty: computed
};

class RowEvaluation : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(RowEvaluation, SaysWhyARowHasNoResult) {
    const RowOutcome outcome = evaluateRow(GetParam().row);
    EXPECT_EQ(outcome.error, GetParam().error);
    EXPECT_EQ(outcome.computed, GetParam().error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowEvaluation,
    ::testing::Values(
        OutcomeCase{"Computed", row("A", "21", "", {"L45", "", "", ""}), ""},
        OutcomeCase{"NoPattern", row("A", " ", "0", {}), "軸組パターンが選ばれていません"},
        OutcomeCase{"BadPattern", row("A", "31", "0", {}),
                    "pattern \"31\" is not one of 21, 22, 11, 12, 13"},
        OutcomeCase{"BadMirror", row("A", "21", "yes", {}),
                    "reversed \"yes\" is not 0, 1, true or false"},
        OutcomeCase{"BadBay", row("A", "13", "0", {"", "", "X95", ""}),
                    "bay3: \"X95\": brace size must be 15, 30, 45 or 90"},
        OutcomeCase{"BadRules", row("A", "21", "0", {}, "2024"),
                    "rules: rules \"2024\": must be 2000 or 2025"},
        OutcomeCase{"BadHeight", row("A", "21", "0", {}, "2025", "3,3"),
                    "h1: \"3,3\": a storey height is given in metres from 2.00 to 4.50, to the "
                    "centimetre (such as 2.90)"},
        OutcomeCase{"MissingUpperHeight", row("A", "13", "0", {}, "2025", "3.0"),
                    "the 2025 rules need the storey height h2"},
        OutcomeCase{"HeightsIgnoredUnder2000", row("A", "13", "0", {}, "", "3.0"), ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The rules and height cells mean the same to the list as to the batch
// tool, in both formats: a blank cell is not given (and then missing where
// the rules need it), anything else must be read.
struct ConditionCells {
    const char* name;
    const char* rules;
    const char* h1;
};

class SameReading : public ::testing::TestWithParam<ConditionCells> {};

// The tool's verdict on a record is the reader's error, which the list's
// file reader keeps beside the cells.
TEST_P(SameReading, ListAndToolAgreeOnTheCells) {
    const ConditionCells& c = GetParam();
    std::string csv = "id,pattern,reversed,bay1,bay2,bay3,bay4,rules,h1\nA,21,0,L45,,,,";
    columns::appendCsvField(csv, c.rules);
    csv += ',';
    columns::appendCsvField(csv, c.h1);
    std::string json = R"({"id":"A","pattern":21,"reversed":0,"bays":["L45","","",""],"rules":")";
    json += std::string(c.rules) + R"(","h1":")" + c.h1 + "\"}";
    for (const auto& [bytes, format] :
         {std::pair{csv, ColumnFileFormat::Csv}, std::pair{json, ColumnFileFormat::JsonLines}}) {
        RawTable table;
        std::string error;
        ASSERT_TRUE(readTable(bytes, format, table, error)) << error;
        const std::string& tool = table.records.at(0).readerError;
        const RowOutcome outcome = evaluateRow(readOrFail(bytes, format).rows.at(0));
        EXPECT_EQ(outcome.computed, tool.empty()) << outcome.error << " / " << tool;
        // The same reason, whatever each puts before it.
        EXPECT_NE(tool.find(outcome.error.substr(outcome.error.find(':') + 1)), std::string::npos)
            << outcome.error << " / " << tool;
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, SameReading,
                         ::testing::Values(ConditionCells{"BlankHeight", "", " "},
                                           ConditionCells{"BlankRules", " ", "3.30"},
                                           ConditionCells{"BlankHeightUnder2025", "2025", " "},
                                           ConditionCells{"SpacedCells", " 2025 ", " 3.3 "},
                                           ConditionCells{"CommaHeight", "2025", "3,3"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColumnRowEdit, RewritesOnlyTheCellsWhoseMeaningChanged) {
    ColumnRow edited = row("A", " 13", "FALSE", {"L45x90", "P2", "", ""});
    BayTable bays = columns::bayTableOf(evaluateRow(edited).column);
    const BayAddress bay = *bayOfTag(2);
    bays.SetCell(bay.storey, bay.side, BayCell{});
    setRowColumn(edited, 13, 1, bays);
    EXPECT_EQ(edited, row("A", " 13", "1", {"L45x90", "", "", ""}));
}

// The same file through the list and through koruba-x-calc: every row's N
// line (and so N, the pull-out force and the formula) and its error agree
// with the tool's recorded output.
TEST(ColumnListFile, ResultsEqualTheBatchTools) {
    const ColumnList list =
        readOrFail(fileText(CLI_EXAMPLES "/columns.csv"), ColumnFileFormat::Csv);
    RawTable golden;
    std::string error;
    ASSERT_TRUE(
        readTable(fileText(CLI_TEST_DATA "/columns.out.csv"), ColumnFileFormat::Csv, golden, error))
        << error;
    ASSERT_EQ(golden.records.size(), list.rows.size());
    // The tool's output opens as its input: the result columns are not
    // kept, as they would be stale after the first edit.
    EXPECT_EQ(readOrFail(fileText(CLI_TEST_DATA "/columns.out.csv"), ColumnFileFormat::Csv), list);
    const auto column = [&golden](std::string_view name) {
        return static_cast<std::size_t>(std::find(golden.names.begin(), golden.names.end(), name) -
                                        golden.names.begin());
    };
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const RowOutcome outcome = evaluateRow(list.rows[r]);
        const auto& cells = golden.records[r].cells;
        SCOPED_TRACE(list.rows[r].name);
        EXPECT_EQ(outcome.computed, cells[column("error")].text.empty());
        EXPECT_EQ(NLineText(outcome.result, StoreyCountOf(outcome.column.pattern)),
                  cells[column("N_line")].text);
        EXPECT_EQ(std::string(outcome.result.JointSymbol), cells[column("symbol")].text);
    }
}

} // namespace
