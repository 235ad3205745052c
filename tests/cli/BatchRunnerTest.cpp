#include "cli/BatchRunner.h"

#include "cli/CsvBatch.h"
#include "cli/JsonLinesBatch.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace koruba::cli;

struct BatchRun {
    std::string output;
    BatchOutcome outcome;
};

BatchRun RunOnText(const std::string& input, BatchFormat& format, BatchOptions options = {}) {
    BatchRun run;
    std::size_t pos = 0;
    const ReadFunction read = [&](char* buf, std::size_t n) -> std::ptrdiff_t {
        const std::size_t k = std::min(n, input.size() - pos);
        std::memcpy(buf, input.data() + pos, k);
        pos += k;
        return static_cast<std::ptrdiff_t>(k);
    };
    const WriteFunction write = [&](std::string_view bytes) {
        run.output += bytes;
        return true;
    };
    run.outcome = RunBatch(read, write, format, options);
    return run;
}

std::vector<std::string> Lines(const std::string& text, std::string_view end = "\n") {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t e = text.find(end, pos);
        if (e == std::string::npos) {
            e = text.size();
        }
        lines.push_back(text.substr(pos, e - pos));
        pos = e + end.size();
    }
    return lines;
}

std::string JsonLine(int i, const char* bay1) {
    return R"({"id": "C)" + std::to_string(i) +
           R"(", "pattern": 21, "reversed": false, "bays": [")" + bay1 + R"(", "", "", ""]})";
}

// The output must not depend on where the input was cut into chunks nor
// on how many threads computed them.
TEST(BatchRunner, OutputIsTheSameForAnyChunkSizeAndThreadCount) {
    std::string input;
    for (int i = 1; i <= 300; ++i) {
        input += JsonLine(i, i % 17 == 0 ? "X95" : (i % 2 == 0 ? "L45" : "R30+P1.0")) + "\n";
        if (i % 50 == 0) {
            input += "\n";
        }
    }
    JsonLinesBatch format;
    const BatchRun reference = RunOnText(input, format, BatchOptions{1, 1 << 20, 1 << 20});
    EXPECT_EQ(reference.outcome.Records, 300);
    EXPECT_EQ(reference.outcome.Failed, 17);
    for (const BatchOptions options : {BatchOptions{1, 7, 1 << 20}, BatchOptions{3, 7, 1 << 20},
                                       BatchOptions{2, 1000, 1 << 20}}) {
        const BatchRun run = RunOnText(input, format, options);
        EXPECT_EQ(run.output, reference.output)
            << "jobs " << options.Jobs << ", read size " << options.ReadSize;
        EXPECT_EQ(run.outcome.Failed, 17);
    }
    // Line numbers count the blank lines that were skipped: record 17 is on
    // line 17, record 51 on line 52.
    const auto lines = Lines(reference.output);
    ASSERT_EQ(lines.size(), 300u);
    EXPECT_NE(lines[16].find(R"({"id":"C17","error":"line 17, column 58: bay 1: )"),
              std::string::npos)
        << lines[16];
    EXPECT_NE(lines[49].find(R"({"id":"C50","result":)"), std::string::npos);
    EXPECT_NE(lines[50].find(R"({"id":"C51","error":"line 52, )"), std::string::npos) << lines[50];
    EXPECT_NE(lines[67].find(R"("error":"line 69, )"), std::string::npos) << lines[67];
}

TEST(BatchRunner, ByteOrderMarkAndCarriageReturnsAreDropped) {
    JsonLinesBatch format;
    const BatchRun run =
        RunOnText("\xEF\xBB\xBF" + JsonLine(1, "L45") + "\r\n" + JsonLine(2, "") + "\r\n", format,
                  BatchOptions{1, 2, 1 << 20});
    EXPECT_EQ(run.outcome.Failed, 0);
    EXPECT_EQ(Lines(run.output).size(), 2u);
}

TEST(BatchRunner, EmptyInputGivesNoRecordsAndNoFailure) {
    for (const std::string input : {"", "\xEF\xBB\xBF", "\n\n  \n"}) {
        JsonLinesBatch jsonl;
        const BatchRun a = RunOnText(input, jsonl);
        EXPECT_EQ(a.output, "");
        EXPECT_EQ(a.outcome.Records, 0);
        CsvBatch csv;
        const BatchRun b = RunOnText(input, csv);
        EXPECT_EQ(b.output, "");
        EXPECT_TRUE(b.outcome.HeaderOk);
    }
}

// A line above the limit is reported as one failed record; the lines
// around it are computed.
TEST(BatchRunner, OverlongLineIsReportedAndSkipped) {
    const std::string input =
        JsonLine(1, "L45") + "\n" + std::string(5000, 'x') + "\n" + JsonLine(3, "") + "\n";
    JsonLinesBatch format;
    for (int jobs : {1, 2}) {
        const BatchRun run = RunOnText(input, format, BatchOptions{jobs, 64, 1000});
        const auto lines = Lines(run.output);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_NE(lines[0].find("\"C1\",\"result\""), std::string::npos);
        EXPECT_EQ(lines[1],
                  R"({"id":null,"error":"line 2: line longer than 1000 bytes; not read"})");
        EXPECT_NE(lines[2].find("\"C3\",\"result\""), std::string::npos);
        EXPECT_EQ(run.outcome.Records, 3);
        EXPECT_EQ(run.outcome.Failed, 1);
    }
}

TEST(BatchRunner, CsvUnclosedQuoteAboveTheLimitCostsOneLine) {
    std::string input = "id,pattern,reversed,bay1,bay2,bay3,bay4\n";
    input += "A,21,0,\"L45\n";
    for (int i = 0; i < 100; ++i) {
        input += "B" + std::to_string(i) + ",21,0,L45,,,\n";
    }
    CsvBatch format(false);
    const BatchRun run = RunOnText(input, format, BatchOptions{1, 64, 500});
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 102u);
    EXPECT_NE(lines[1].find("\"line 2, field 4: the quoted field is never closed\""),
              std::string::npos)
        << lines[1];
    EXPECT_EQ(run.outcome.Failed, 1);
    EXPECT_EQ(lines[101].substr(0, 14), "B99,21,0,L45,,");
}

std::string Csv(const std::string& body, bool header = true) {
    return (header ? std::string("id,pattern,reversed,bay1,bay2,bay3,bay4\n") : std::string()) +
           body;
}

TEST(CsvBatch, HeaderInAnyOrderAndCaseWithExtraColumnsPassedThrough) {
    CsvBatch format(false);
    const BatchRun run = RunOnText(
        "Bay4, note ,BAY3,bay2,bay1,Reversed,pattern,id\n,\"a, b\",,,L45,0,21,X1\n", format);
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Bay4, note ,BAY3,bay2,bay1,Reversed,pattern,id,A1_term,A1,B1,A2_term,A2,"
                        "B2,L,N_line,N,pull_out_kN,symbol,strength_kN,hardware,error");
    EXPECT_EQ(lines[1], ",\"a, b\",,,L45,0,21,X1,A1= |2.0-0.0|+0.5,2.5,0.8,,,,0.4,"
                        "N = 2.5x0.8-0.4= 1.60  [8.47kN],1.60,8.47,(ほ),8.47,"
                        "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50),");
    EXPECT_EQ(run.outcome.Failed, 0);
}

// Feeding an output file back in replaces the computed columns instead of
// doubling them.
TEST(CsvBatch, OutputCanBeReadAgain) {
    CsvBatch first(true);
    const BatchRun once = RunOnText(Csv("C1,12,0,,P2.0,P2.5,\n"), first);
    CsvBatch second(true);
    const BatchRun twice = RunOnText(once.output, second);
    EXPECT_EQ(twice.output, once.output);
}

TEST(CsvBatch, ByteOrderMarkOnlyWhenAsked) {
    CsvBatch with(true);
    EXPECT_EQ(RunOnText(Csv(""), with).output.substr(0, 5), "\xEF\xBB\xBFid");
    CsvBatch without(false);
    EXPECT_EQ(RunOnText(Csv(""), without).output.substr(0, 2), "id");
}

TEST(CsvBatch, MissingColumnsFailEveryRecord) {
    CsvBatch format(false);
    const BatchRun run = RunOnText("id,pattern,bay1,bay2,bay4\nC1,21,L45,,\nC2,22,,,\n", format);
    EXPECT_FALSE(run.outcome.HeaderOk);
    EXPECT_EQ(run.outcome.HeaderProblem, "the header lacks the column(s) reversed, bay3");
    EXPECT_EQ(run.outcome.Failed, 2);
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2],
              "C2,22,,,,,,,,,,,,,,,,,\"line 3: the header lacks the column(s) reversed, bay3\"");
}

TEST(CsvBatch, DuplicateColumnIsAHeaderFault) {
    CsvBatch format(false);
    const BatchRun run = RunOnText("id,pattern,reversed,bay1,bay2,bay3,bay4,Pattern\n", format);
    EXPECT_FALSE(run.outcome.HeaderOk);
    EXPECT_EQ(run.outcome.HeaderProblem, "the header names the column pattern twice");
}

struct CsvFault {
    const char* name;
    const char* row;
    const char* error;
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const CsvFault& row, std::ostream* os) {
    *os << row.name;
}

class CsvBatchRejects : public testing::TestWithParam<CsvFault> {};

TEST_P(CsvBatchRejects, RowKeepsItsFieldsAndNamesTheFault) {
    CsvBatch format(false);
    const BatchRun run =
        RunOnText(Csv(std::string("C0,21,0,,,,\n") + GetParam().row + "\nC9,21,0,,,,\n"), format);
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 4u) << run.output;
    EXPECT_EQ(run.outcome.Failed, 1);
    const std::string& row = lines[2];
    const std::size_t lastComma = row.rfind(",\"line");
    ASSERT_NE(lastComma, std::string::npos) << row;
    EXPECT_EQ(row.substr(lastComma + 1), GetParam().error);
    // Seven input fields and thirteen empty result fields before the error.
    EXPECT_EQ(
        std::count(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(lastComma + 1), ','),
        7 + 13)
        << row;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CsvBatchRejects,
    testing::Values(
        CsvFault{"bad_token", "C1,13,0,L45,,X95,",
                 "\"line 3, field 6 (bay3): \"\"X95\"\": brace size must be 15, 30, 45 or 90\""},
        CsvFault{
            "bad_pattern", "C1,23,0,,,,",
            "\"line 3, field 2 (pattern): pattern \"\"23\"\" is not one of 21, 22, 11, 12, 13\""},
        CsvFault{"bad_reversed", "C1,21,yes,,,,",
                 "\"line 3, field 3 (reversed): reversed \"\"yes\"\" is not 0, 1, true or false\""},
        CsvFault{"too_few_fields", "C1,21,0", "\"line 3: 3 fields, the header has 7\""},
        CsvFault{"too_many_fields", "C1,21,0,,,,,extra", "\"line 3: 8 fields, the header has 7\""},
        CsvFault{"text_after_quote", "C1,\"21\"x,0,,,,",
                 "\"line 3, field 2: text after the closing quote\""},
        CsvFault{"shift_jis_text", "\x93\x8C,21,0,,,,",
                 "\"line 3, column 1: the row is not UTF-8 text (save the file as CSV UTF-8)\""}),
    [](const testing::TestParamInfo<CsvFault>& i) { return std::string(i.param.name); });

TEST(CsvBatch, ReversedAcceptsSpreadsheetSpellings) {
    CsvBatch format(false);
    // Mirrored, bay 2 lies left of the column: R45 there meets the top.
    const BatchRun run = RunOnText(Csv("a,21,TRUE,,R45,,\nb,21,true,,R45,,\nc,21,1,,R45,,\n"
                                       "d,21,,L45,,,\ne,21,FALSE,L45,,,\n"),
                                   format);
    EXPECT_EQ(run.outcome.Failed, 0) << run.output;
    for (const std::string& line : Lines(run.output, "\r\n")) {
        if (line.substr(0, 2) != "id") {
            EXPECT_NE(line.find("N = 2.5x0.8-0.4= 1.60"), std::string::npos) << line;
        }
    }
}

// A quoted field may run over several lines; the record keeps the number
// of the line it starts on and the next record counts them all.
TEST(CsvBatch, MultiLineFieldsKeepLineNumbersRight) {
    CsvBatch format(false);
    const BatchRun run = RunOnText("id,note,pattern,reversed,bay1,bay2,bay3,bay4\n"
                                   "C1,\"first\nsecond\nthird\",21,0,L45,,,\n"
                                   "C2,,21,0,Q,,,\n",
                                   format);
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, 30), "C1,\"first\nsecond\nthird\",21,0,L");
    EXPECT_NE(lines[2].find("\"line 5, field 5 (bay1): \"\"Q\"\": an element starts with"),
              std::string::npos)
        << lines[2];
}

} // namespace

namespace {

// Repeated columns are served from a cache of formatted results; every
// record must read exactly as if it had been computed alone.
TEST(BatchRunner, RepeatedColumnsReadAsIfComputedAlone) {
    const char* tokens[] = {"", "L45", "R45", "X90", "P2.5", "L90+P3.0", "X15+P0.5", "R30"};
    const int patterns[] = {21, 22, 11, 12, 13};
    std::vector<std::string> csvRows;
    std::vector<std::string> jsonLines;
    for (int i = 0; i < 3000; ++i) {
        const int p = patterns[i % 5];
        const int r = (i / 5) % 2;
        const char* b[4];
        for (int k = 0; k < 4; ++k) {
            b[k] = tokens[(i / (k + 2) + k) % 8];
        }
        csvRows.push_back("C" + std::to_string(i) + "," + std::to_string(p) + "," +
                          std::to_string(r) + "," + b[0] + "," + b[1] + "," + b[2] + "," + b[3] +
                          "\n");
        jsonLines.push_back(R"({"id": "C)" + std::to_string(i) + R"(", "pattern": )" +
                            std::to_string(p) + R"(, "reversed": )" + std::to_string(r) +
                            R"(, "bays": [")" + b[0] + R"(", ")" + b[1] + R"(", ")" + b[2] +
                            R"(", ")" + b[3] + "\"]}\n");
    }
    std::string csvAll = "id,pattern,reversed,bay1,bay2,bay3,bay4\n";
    std::string jsonAll;
    for (std::size_t i = 0; i < csvRows.size(); ++i) {
        csvAll += csvRows[i];
        jsonAll += jsonLines[i];
    }
    CsvBatch csv(false);
    const auto csvOut =
        Lines(RunOnText(csvAll, csv, BatchOptions{1, 1 << 20, 1 << 20}).output, "\r\n");
    JsonLinesBatch jsonl;
    const auto jsonOut = Lines(RunOnText(jsonAll, jsonl, BatchOptions{1, 1 << 20, 1 << 20}).output);
    ASSERT_EQ(csvOut.size(), csvRows.size() + 1);
    ASSERT_EQ(jsonOut.size(), jsonLines.size());
    for (std::size_t i = 0; i < csvRows.size(); i += 7) {
        CsvBatch one(false);
        const auto alone =
            Lines(RunOnText("id,pattern,reversed,bay1,bay2,bay3,bay4\n" + csvRows[i], one).output,
                  "\r\n");
        EXPECT_EQ(csvOut[i + 1], alone[1]);
        JsonLinesBatch oneJson;
        EXPECT_EQ(jsonOut[i] + "\n", RunOnText(jsonLines[i], oneJson).output);
    }
}

} // namespace
