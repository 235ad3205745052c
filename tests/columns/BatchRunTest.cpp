// The batch run on text in memory: what each kind of input record becomes
// in the output, for both formats.
#include "columns/BatchRun.h"

#include "columns/CsvRecord.h"
#include "columns/Utf8Text.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace koruba::columns;

struct BatchText {
    std::string output;
    BatchOutcome outcome;
};

BatchText RunOnText(const std::string& input, ColumnFileFormat format, BatchOptions options = {},
                    std::size_t limit = kRecordLimit) {
    BatchText run;
    std::size_t pos = 0;
    // Seven bytes a read, so that records cross the reads.
    RecordReader reader(
        format,
        [&](char* buf, std::size_t n) -> std::ptrdiff_t {
            const std::size_t k = std::min({n, input.size() - pos, std::size_t{7}});
            std::memcpy(buf, input.data() + pos, k);
            pos += k;
            return static_cast<std::ptrdiff_t>(k);
        },
        limit);
    run.outcome = runBatch(
        reader,
        [&](std::string_view bytes) {
            run.output += bytes;
            return true;
        },
        options);
    return run;
}

BatchText RunCsv(const std::string& input, std::size_t limit = kRecordLimit) {
    return RunOnText(input, ColumnFileFormat::Csv, BatchOptions{false, false}, limit);
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

// The error field of a CSV output row: its last field.
std::string ErrorOf(const std::string& row) {
    std::vector<std::string> fields;
    CsvSplit split;
    splitCsvRecord(row, fields, split);
    return fields[split.fields - 1];
}

TEST(BatchRun, LineNumbersCountSkippedBlankLines) {
    std::string input;
    for (int i = 1; i <= 60; ++i) {
        input += JsonLine(i, i % 17 == 0 ? "X95" : (i % 2 == 0 ? "L45" : "R30+P1.0")) + "\n";
        if (i % 50 == 0) {
            input += "\n";
        }
    }
    const BatchText run = RunOnText(input, ColumnFileFormat::JsonLines);
    EXPECT_EQ(run.outcome.records, 60);
    EXPECT_EQ(run.outcome.failed, 3);
    const auto lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 60u);
    EXPECT_EQ(lines[16].rfind(R"({"id":"C17","error":"line 17, column 58: bay 1: )", 0), 0u);
    EXPECT_EQ(lines[50].rfind(R"({"id":"C51","error":"line 52, )", 0), 0u);
}

TEST(BatchRun, ByteOrderMarkAndCarriageReturnsAreDropped) {
    const BatchText run =
        RunOnText("\xEF\xBB\xBF" + JsonLine(1, "L45") + "\r\n" + JsonLine(2, "") + "\r\n",
                  ColumnFileFormat::JsonLines);
    EXPECT_EQ(run.outcome.failed, 0);
    EXPECT_EQ(Lines(run.output).size(), 2u);
}

TEST(BatchRun, EmptyInputGivesNoRecordsAndNoFailure) {
    for (const std::string input : {"", "\xEF\xBB\xBF", "\n\n  \n"}) {
        const BatchText a = RunOnText(input, ColumnFileFormat::JsonLines);
        EXPECT_EQ(a.output, "");
        EXPECT_EQ(a.outcome.records, 0);
        const BatchText b = RunOnText(input, ColumnFileFormat::Csv);
        EXPECT_EQ(b.output, "");
        EXPECT_TRUE(b.outcome.headerProblem.empty());
    }
}

struct LimitCase {
    const char* name;
    ColumnFileFormat format;
    std::size_t length; // of the record, without its line end
    const char* lineEnd;
    bool fits;
};
void PrintTo(const LimitCase& row, std::ostream* os) {
    *os << row.name;
}

class RecordLimit : public testing::TestWithParam<LimitCase> {};

// One exact limit, wherever the record starts among the reads.
TEST_P(RecordLimit, IsExactWhereverTheRecordStarts) {
    const LimitCase& c = GetParam();
    constexpr std::size_t kLimit = 120;
    const bool csv = c.format == ColumnFileFormat::Csv;
    for (std::size_t shift = 0; shift < 9; ++shift) {
        const std::string before = csv ? "C0,22,0,,,,," + std::string(shift, ' ')
                                       : JsonLine(0, "") + std::string(shift, ' ');
        std::string record = csv ? "C1,21,0,L45,,,,\"" : JsonLine(1, "L45");
        if (csv) {
            record += std::string(c.length - record.size() - 1, 'n') + "\"";
        } else {
            record.insert(1, R"("note": ")" + std::string(c.length - record.size() - 12, 'n') +
                                 R"(", )");
        }
        ASSERT_EQ(record.size(), c.length);
        std::string input = csv ? "id,pattern,reversed,bay1,bay2,bay3,bay4,note\n" : "";
        input += before + c.lineEnd + record + c.lineEnd + before + c.lineEnd;
        const BatchText run = RunOnText(input, c.format, BatchOptions{false, false}, kLimit);
        EXPECT_EQ(run.outcome.records, 3) << "shift " << shift;
        EXPECT_EQ(run.outcome.failed, c.fits ? 0 : 1) << "shift " << shift << "\n" << run.output;
        const std::string line = csv ? "line 3" : "line 2";
        EXPECT_EQ(run.output.find(line + ": record longer than 120 bytes; not read") !=
                      std::string::npos,
                  !c.fits)
            << run.output;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, RecordLimit,
    testing::Values(LimitCase{"csv_at_the_limit", ColumnFileFormat::Csv, 120, "\n", true},
                    LimitCase{"csv_at_the_limit_crlf", ColumnFileFormat::Csv, 120, "\r\n", true},
                    LimitCase{"csv_one_above", ColumnFileFormat::Csv, 121, "\n", false},
                    LimitCase{"csv_one_above_crlf", ColumnFileFormat::Csv, 121, "\r\n", false},
                    LimitCase{"jsonl_at_the_limit", ColumnFileFormat::JsonLines, 120, "\n", true},
                    LimitCase{"jsonl_one_above", ColumnFileFormat::JsonLines, 121, "\n", false},
                    LimitCase{"jsonl_one_above_crlf", ColumnFileFormat::JsonLines, 121, "\r\n",
                              false}),
    [](const testing::TestParamInfo<LimitCase>& i) { return std::string(i.param.name); });

// A quoted field that runs past the limit is one failed record; nothing
// inside it is taken for a row, and the row after it is computed.
TEST(BatchRun, CsvQuotedFieldAboveTheLimitIsOneRecord) {
    std::string input = "id,pattern,reversed,bay1,bay2,bay3,bay4,note\n";
    input += "A,21,0,L45,,,,\"";
    for (int i = 0; i < 30; ++i) {
        input += "B" + std::to_string(i) + ",21,0,L45,,,,\n";
    }
    input += "\"\nZ,21,0,L45,,,,\n";
    const BatchText run = RunCsv(input, 200);
    const auto rows = Lines(run.output, "\r\n");
    ASSERT_EQ(rows.size(), 3u) << run.output;
    EXPECT_EQ(ErrorOf(rows[1]), "lines 2-32: record longer than 200 bytes; not read") << run.output;
    EXPECT_EQ(rows[2].substr(0, 14), "Z,21,0,L45,,,,");
    EXPECT_EQ(run.outcome.failed, 1);
}

// A quote left open to the end of the input, past the limit: one record
// that names the lines it took, up to the file's last line, whether or not
// that line ends with a line break.
TEST(BatchRun, CsvQuoteOpenToTheEndNamesTheLastLine) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        for (const bool endsWithLineBreak : {true, false}) {
            std::string input = "id,pattern,reversed,bay1,bay2,bay3,bay4,note" + lineEnd;
            input += "A,21,0,L45,,,,\"";
            for (int i = 0; i < 30; ++i) {
                input += "B" + std::to_string(i) + ",21,0,L45,,,," + lineEnd;
            }
            input += "last";
            input += endsWithLineBreak ? lineEnd : "";
            const BatchText run = RunCsv(input, 200);
            const auto rows = Lines(run.output, "\r\n");
            ASSERT_EQ(rows.size(), 2u) << run.output;
            EXPECT_EQ(ErrorOf(rows[1]), "lines 2-32: record longer than 200 bytes; not read")
                << "line end " << lineEnd.size() << ", ends with it " << endsWithLineBreak;
        }
    }
}

// A last row whose quoted field holds a line break, with no line break at
// the end of the file, is a row like any other.
TEST(BatchRun, CsvLastRowOverTwoLinesWithoutALineBreakAtTheEnd) {
    const BatchText run = RunCsv("id,pattern,reversed,bay1,bay2,bay3,bay4,note\n"
                                 "C1,21,0,,,,,x\n"
                                 "C2,21,0,L45,,,,\"two\nlines\"");
    const auto rows = Lines(run.output, "\r\n");
    ASSERT_EQ(rows.size(), 3u) << run.output;
    EXPECT_EQ(run.outcome.failed, 0) << run.output;
    EXPECT_EQ(rows[2].substr(0, 52), "C2,21,0,L45,,,,\"two\nlines\",A1= |2.0-0.0|+0.5,2.5,0.8");
}

// A header may name 10,000 columns and a JSON object hold 10,000 members,
// exactly; one more is refused, whatever the record's length.
TEST(BatchRun, FieldLimitIsExact) {
    for (const std::size_t extra : {kFieldLimit - 7, kFieldLimit - 6}) {
        std::string header = "id,pattern,reversed,bay1,bay2,bay3,bay4";
        std::string row = "C1,21,0,L45,,,";
        for (std::size_t i = 0; i < extra; ++i) {
            header += ",c" + std::to_string(i);
            row += ",";
        }
        const BatchText csv = RunCsv(header + "\n" + row + "\n");
        const bool fits = extra + 7 == kFieldLimit;
        EXPECT_EQ(csv.outcome.failed, fits ? 0 : 1);
        EXPECT_EQ(csv.outcome.headerProblem,
                  fits ? "" : "the header has 10001 columns; at most 10000 are read");

        std::string line =
            R"({"id": "C1", "pattern": 21, "reversed": 0, "bays": ["L45", "", "", ""])";
        for (std::size_t i = 0; i < extra + 3; ++i) {
            line += ",\"m" + std::to_string(i) + "\":0";
        }
        const BatchText json = RunOnText(line + "}\n", ColumnFileFormat::JsonLines);
        EXPECT_EQ(json.outcome.failed, fits ? 0 : 1) << json.output.substr(0, 200);
        EXPECT_EQ(json.output.find("the object has more than 10000 members") != std::string::npos,
                  !fits);
    }
}

std::string Csv(const std::string& body, bool header = true) {
    return (header ? std::string("id,pattern,reversed,bay1,bay2,bay3,bay4\n") : std::string()) +
           body;
}

TEST(CsvRun, HeaderInAnyOrderAndCaseWithExtraColumnsPassedThrough) {
    const BatchText run =
        RunCsv("Bay4, note ,BAY3,bay2,bay1,Reversed,pattern,id\n,\"a, b\",,,L45,0,21,X1\n");
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Bay4, note ,BAY3,bay2,bay1,Reversed,pattern,id,A1_term,A1,B1,A2_term,A2,"
                        "B2,L,N_line,N,pull_out_kN,symbol,strength_kN,hardware,error");
    EXPECT_EQ(lines[1], ",\"a, b\",,,L45,0,21,X1,A1= |2.0-0.0|+0.5,2.5,0.8,,,,0.4,"
                        "N = 2.5x0.8-0.4= 1.60  [8.47kN],1.60,8.47,(ほ),8.47,"
                        "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50),");
    EXPECT_EQ(run.outcome.failed, 0);
}

// Feeding an output file back in replaces the computed columns instead of
// doubling them.
TEST(CsvRun, OutputCanBeReadAgain) {
    const BatchText once = RunOnText(Csv("C1,12,0,,P2.0,P2.5,\n"), ColumnFileFormat::Csv);
    const BatchText twice = RunOnText(once.output, ColumnFileFormat::Csv);
    EXPECT_EQ(twice.output, once.output);
}

TEST(CsvRun, ByteOrderMarkOnlyWhenAsked) {
    EXPECT_EQ(RunOnText(Csv(""), ColumnFileFormat::Csv).output.substr(0, 5), "\xEF\xBB\xBFid");
    EXPECT_EQ(RunCsv(Csv("")).output.substr(0, 2), "id");
}

TEST(CsvRun, MissingColumnsFailEveryRecord) {
    const BatchText run = RunCsv("id,pattern,bay1,bay2,bay4\nC1,21,L45,,\nC2,22,,,\n");
    EXPECT_EQ(run.outcome.headerProblem, "the header lacks the column(s) reversed, bay3");
    EXPECT_EQ(run.outcome.failed, 2);
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2],
              "C2,22,,,,,,,,,,,,,,,,,\"line 3: the header lacks the column(s) reversed, bay3\"");
}

// A header whose quote is not closed on its own line ends at its line:
// the rows after it are read, each failing for the header, and none of
// them is taken into the header.
TEST(CsvRun, HeaderQuoteLeftOpenEndsAtItsLine) {
    const BatchText run = RunCsv("id,\"pattern,reversed,bay1,bay2,bay3,bay4\n"
                                 "C1,21,0,L45,,,\n"
                                 "C2,\"21\",0,L45,,,\n"
                                 "C3,22,0,,,,\n");
    const auto rows = Lines(run.output, "\r\n");
    ASSERT_EQ(rows.size(), 4u) << run.output;
    EXPECT_EQ(run.outcome.headerProblem, "header, field 2: the quoted field is never closed");
    EXPECT_EQ(run.outcome.records, 3);
    EXPECT_EQ(run.outcome.failed, 3);
    EXPECT_EQ(rows[0].substr(0, 50), "id,\"pattern,reversed,bay1,bay2,bay3,bay4\",A1_term,");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(rows[i].substr(0, 3), "C" + std::to_string(i) + ",") << rows[i];
        EXPECT_EQ(ErrorOf(rows[i]), "line " + std::to_string(i + 1) +
                                        ": header, field 2: the quoted field is never closed");
    }
}

TEST(CsvRun, DuplicateColumnIsAHeaderFault) {
    const BatchText run = RunCsv("id,pattern,reversed,bay1,bay2,bay3,bay4,Pattern\n");
    EXPECT_EQ(run.outcome.headerProblem, "the header names the column pattern twice");
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

class CsvRunRejects : public testing::TestWithParam<CsvFault> {};

TEST_P(CsvRunRejects, RowKeepsItsFieldsAndNamesTheFault) {
    const BatchText run =
        RunCsv(Csv(std::string("C0,21,0,,,,\n") + GetParam().row + "\nC9,21,0,,,,\n"));
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 4u) << run.output;
    EXPECT_EQ(run.outcome.failed, 1);
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
    Faults, CsvRunRejects,
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
                 "\"line 3, column 1: the row is not UTF-8 text (save the file as CSV UTF-8); bad "
                 "bytes are shown as U+FFFD\""}),
    [](const testing::TestParamInfo<CsvFault>& i) { return std::string(i.param.name); });

TEST(CsvRun, ReversedAcceptsSpreadsheetSpellings) {
    // Mirrored, bay 2 lies left of the column: R45 there meets the top.
    const BatchText run = RunCsv(Csv("a,21,TRUE,,R45,,\nb,21,true,,R45,,\nc,21,1,,R45,,\n"
                                     "d,21,,L45,,,\ne,21,FALSE,L45,,,\n"));
    EXPECT_EQ(run.outcome.failed, 0) << run.output;
    for (const std::string& line : Lines(run.output, "\r\n")) {
        if (line.substr(0, 2) != "id") {
            EXPECT_NE(line.find("N = 2.5x0.8-0.4= 1.60"), std::string::npos) << line;
        }
    }
}

// A quoted field may run over several lines; the record keeps the number
// of the line it starts on and the next record counts them all.
TEST(CsvRun, MultiLineFieldsKeepLineNumbersRight) {
    const BatchText run = RunCsv("id,note,pattern,reversed,bay1,bay2,bay3,bay4\n"
                                 "C1,\"first\nsecond\nthird\",21,0,L45,,,\n"
                                 "C2,,21,0,Q,,,\n");
    const auto lines = Lines(run.output, "\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, 30), "C1,\"first\nsecond\nthird\",21,0,L");
    EXPECT_NE(lines[2].find("\"line 5, field 5 (bay1): \"\"Q\"\": an element starts with"),
              std::string::npos)
        << lines[2];
}

// Whatever bytes come in, the output is UTF-8: bad bytes in copied cells
// become U+FFFD and the row's error says so, also when the row fails for
// another reason first.
TEST(CsvRun, OutputIsUtf8WhateverTheInput) {
    const BatchText run = RunCsv("id,pattern,reversed,bay1,bay2,bay3,bay4,\x83\x81\x83\x82\n"
                                 "\x93\x8C"
                                 "1,21,0,L45,,,,\n"
                                 "\x93\x8C"
                                 "2,21,0\n"
                                 "\"\x93\x8C"
                                 "3\"x,21,0,,,,,\n"
                                 "ok,21,0,,,,,\xE6\x9D\n");
    const auto rows = Lines(run.output, "\r\n");
    ASSERT_EQ(rows.size(), 5u) << run.output;
    EXPECT_EQ(findInvalidUtf8(run.output), std::string::npos);
    EXPECT_NE(rows[0].find(",\xEF\xBF\xBD,A1_term"), std::string::npos) << rows[0];
    EXPECT_EQ(rows[1].substr(0, 5), "\xEF\xBF\xBD"
                                    "1,");
    EXPECT_EQ(run.outcome.headerProblem, "the header is not UTF-8 text");
    for (std::size_t r = 1; r < rows.size(); ++r) {
        EXPECT_NE(ErrorOf(rows[r]).find("bad bytes are shown as U+FFFD"), std::string::npos)
            << rows[r];
    }
    EXPECT_NE(ErrorOf(rows[3]).find("line 4, field 1: text after the closing quote; and at line "
                                    "4, column 2: the row is not UTF-8 text"),
              std::string::npos)
        << rows[3];
    EXPECT_NE(ErrorOf(rows[4]).find("line 5, column 13: "), std::string::npos) << rows[4];
}

struct QuoteCase {
    const char* name;
    const char* body;      // rows after the header; each id names its line
    const char* errors[4]; // the error field of the rows with an error, in order
};
void PrintTo(const QuoteCase& row, std::ostream* os) {
    *os << row.name;
}

class CsvBadQuote : public testing::TestWithParam<QuoteCase> {};

// Every input line ends up in exactly one output row, with cells from its
// own line: a bad quote fails its own row and no other.
TEST_P(CsvBadQuote, FailsItsOwnLineOnly) {
    const QuoteCase& c = GetParam();
    const BatchText run = RunCsv(Csv(c.body));
    const auto rows = Lines(run.output, "\r\n");
    const auto in = Lines(c.body);
    ASSERT_EQ(rows.size(), in.size() + 1) << run.output;
    std::size_t e = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const std::string id = "L" + std::to_string(i + 2);
        EXPECT_EQ(rows[i + 1].substr(0, id.size() + 1), id + ",") << rows[i + 1];
        if (!ErrorOf(rows[i + 1]).empty()) {
            ASSERT_LT(e, 4u);
            EXPECT_EQ(ErrorOf(rows[i + 1]), c.errors[e++]);
        }
    }
    EXPECT_EQ(run.outcome.failed, static_cast<std::int64_t>(e));
}

INSTANTIATE_TEST_SUITE_P(
    Quotes, CsvBadQuote,
    testing::Values(QuoteCase{"never_closed",
                              "L2,21,0,\"L45,,,\nL3,21,0,L45,,,\nL4,22,0,,,,\n",
                              {"line 2, field 4: the quoted field is never closed"}},
                    QuoteCase{"closed_by_a_later_quote",
                              "L2,\"21,0,,,,\nL3,21,0,L45,,,\nL4,\"21,0,,,,\nL5,21,0,,,,\n",
                              {"line 2, field 2: the quoted field is never closed",
                               "line 4, field 2: the quoted field is never closed"}},
                    QuoteCase{"closed_with_text_after",
                              "L2,21,0,\"L45,,,\nL3,21,0,L45\"x,,,\nL4,21,0,,,,\n",
                              {"line 2, field 4: the quoted field is never closed",
                               "line 3, field 4 (bay1): \"L45\"x\": a brace is written as R, L "
                               "or X, the size 15, 30, 45 or 90 and optionally x90 (such as L45 "
                               "or X90x90)"}}),
    [](const testing::TestParamInfo<QuoteCase>& i) { return std::string(i.param.name); });

// A fault in a row over several lines is placed at its own line and column.
TEST(CsvRun, FaultInAMultiLineRowNamesItsLineAndColumn) {
    const BatchText run = RunCsv("id,note,pattern,reversed,bay1,bay2,bay3,bay4\n"
                                 "C1,\"first\nsecond \xFF\",21,0,,,,\n"
                                 "C2,\"a\nb\",21,0,,,X95,\n");
    const auto rows = Lines(run.output, "\r\n");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(ErrorOf(rows[1]), "line 3, column 8: the row is not UTF-8 text (save the file as "
                                "CSV UTF-8); bad bytes are shown as U+FFFD");
    EXPECT_EQ(ErrorOf(rows[2]), "line 5, field 7 (bay3) of the row on lines 4-5: \"X95\": brace "
                                "size must be 15, 30, 45 or 90");
}

// Reading an output file again computes what was computed and fails what
// failed, however its blank cells look.
TEST(CsvRun, FailedRowsFailAgainWhenReadBack) {
    const BatchText once = RunCsv(Csv("ok,21,0,L45,,,\nshort,13,0\ntok,13,0,L45,X95,,\n"));
    ASSERT_EQ(once.outcome.failed, 2);
    const BatchText twice = RunCsv(once.output);
    const auto first = Lines(once.output, "\r\n");
    const auto again = Lines(twice.output, "\r\n");
    ASSERT_EQ(again.size(), first.size());
    EXPECT_EQ(twice.outcome.failed, 2);
    EXPECT_EQ(again[1], first[1]);
    EXPECT_EQ(ErrorOf(again[2]),
              "line 3: the row failed in an earlier run: line 3: 3 fields, the header has 7");
    EXPECT_EQ(again[2].substr(0, 20), "short,13,0,,,,,,,,,,");
}

struct FormulaCell {
    const char* name;
    const char* field; // as written in the input
    const char* plain; // as the default output writes it
    const char* safe;  // with --spreadsheet-safe
};
void PrintTo(const FormulaCell& row, std::ostream* os) {
    *os << row.name;
}

class spreadsheetSafe : public testing::TestWithParam<FormulaCell> {};

TEST_P(spreadsheetSafe, NeutralisesFormulaCellsOnlyWhenAsked) {
    const FormulaCell& c = GetParam();
    const std::string input =
        "id,pattern,reversed,bay1,bay2,bay3,bay4,note\nC1,21,0,,,,," + std::string(c.field) + "\n";
    for (const bool safe : {false, true}) {
        const BatchText run = RunOnText(input, ColumnFileFormat::Csv, BatchOptions{false, safe});
        const auto rows = Lines(run.output, "\r\n");
        ASSERT_EQ(rows.size(), 2u) << run.output;
        EXPECT_EQ(rows[1].substr(0, rows[1].find(",A1=")),
                  std::string("C1,21,0,,,,,") + (safe ? c.safe : c.plain));
        EXPECT_EQ(run.outcome.failed, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, spreadsheetSafe,
    testing::Values(FormulaCell{"equals", "=1+2", "=1+2", "\"'=1+2\""},
                    FormulaCell{"plus", "+1", "+1", "\"'+1\""},
                    FormulaCell{"minus", "-2", "-2", "\"'-2\""},
                    FormulaCell{"at", "@SUM(A1)", "@SUM(A1)", "\"'@SUM(A1)\""},
                    FormulaCell{"tab", "\tx", "\tx", "\"'\tx\""},
                    FormulaCell{"carriage_return", "\"\rx\"\"\"", "\"\rx\"\"\"", "\"'\rx\"\"\""},
                    FormulaCell{"plain_text", "note", "note", "note"}),
    [](const testing::TestParamInfo<FormulaCell>& i) { return std::string(i.param.name); });

// Each storey's height goes to its own factor, in both formats: h1 the
// column's storey, h2 the one above. 2.5 x 0.8 x 3.3/2.7 + 2.0 x 0.8 x
// 3.6/2.7 - 1.0 = 3.58 (3.51 with the heights swapped).
TEST(RulesRun, TwoStoreyHeightsKeepTheirStoreys) {
    const BatchText csv = RunCsv("id,pattern,reversed,bay1,bay2,bay3,bay4,rules,h1,h2\n"
                                 "C1,11,0,P2.0,,P2.5,,2025,3.3,3.6\n");
    const auto rows = Lines(csv.output, "\r\n");
    ASSERT_EQ(rows.size(), 2u) << csv.output;
    EXPECT_NE(rows[1].find(",3.58,18.93,(ち),19.58,"), std::string::npos) << rows[1];
    EXPECT_NE(rows[1].find(",2025,1.222,1.333,N = A1×B1×f(H1) + A2×B2×f(H2) − L,"),
              std::string::npos)
        << rows[1];

    const BatchText json = RunOnText(R"({"id": "C1", "pattern": 11, "reversed": 0, )"
                                     R"("bays": ["P2.0", "", "P2.5", ""], "rules": 2025, )"
                                     R"("h1": 3.3, "h2": "3.60"})"
                                     "\n",
                                     ColumnFileFormat::JsonLines);
    EXPECT_NE(json.output.find(R"("NValue":3.5777779,)"), std::string::npos) << json.output;
    EXPECT_NE(json.output.find(R"("HeightFactor1":1.2222222,"HeightFactor2":1.3333334,)"),
              std::string::npos)
        << json.output;
}

struct BadHeight {
    const char* name;
    const char* csvCell;   // the h1 field as written in CSV
    const char* jsonValue; // the h1 member's value, or nothing for no member
    const char* message;   // the end of the error
};
void PrintTo(const BadHeight& row, std::ostream* os) {
    *os << row.name;
}

class RulesRefuse : public testing::TestWithParam<BadHeight> {};

// A height the 2025 rules cannot use fails the record in both formats and
// never gives a result.
TEST_P(RulesRefuse, BadHeightsWithAClearError) {
    const BadHeight& h = GetParam();
    const std::string range = "a storey height is given in metres from 2.00 to 4.50, to the "
                              "centimetre (such as 2.90)";
    const std::string expected = h.message[0] != 0 ? std::string(h.message) : range;

    const BatchText csv =
        RunCsv("id,pattern,reversed,bay1,bay2,bay3,bay4,rules,h1\nC1,21,0,P2.5,,,,"
               "2025," +
               std::string(h.csvCell) + "\n");
    const auto rows = Lines(csv.output, "\r\n");
    ASSERT_EQ(rows.size(), 2u) << csv.output;
    EXPECT_EQ(csv.outcome.failed, 1);
    const std::string error = ErrorOf(rows[1]);
    EXPECT_EQ(error.substr(error.size() - std::min(error.size(), expected.size())), expected)
        << error;
    EXPECT_EQ(rows[1].find("N ="), std::string::npos) << rows[1];

    std::string line = R"({"id": "C1", "pattern": 21, "reversed": 0, "bays": ["P2.5", "", "", ""])";
    line += h.jsonValue[0] != 0 ? std::string(R"(, "h1": )") + h.jsonValue : std::string();
    const BatchText json =
        RunOnText(line + "}\n", ColumnFileFormat::JsonLines, BatchOptions{}, kRecordLimit);
    // The 2000 rules need no height, but a bad one is bad under any rules.
    EXPECT_EQ(json.outcome.failed, h.jsonValue[0] != 0 ? 1 : 0) << json.output;
    // The same line under the 2025 rules given on the command line.
    std::size_t pos = 0;
    const std::string input = line + "}\n";
    RecordReader reader(ColumnFileFormat::JsonLines,
                        [&](char* buf, std::size_t n) -> std::ptrdiff_t {
                            const std::size_t k = std::min(n, input.size() - pos);
                            std::memcpy(buf, input.data() + pos, k);
                            pos += k;
                            return static_cast<std::ptrdiff_t>(k);
                        });
    reader.setDefaultRules(koruba::RuleSet::Revision2025);
    InputRecord record;
    ASSERT_TRUE(reader.next(record));
    EXPECT_FALSE(record.ok());
    EXPECT_EQ(
        record.error.substr(record.error.size() - std::min(record.error.size(), expected.size())),
        expected)
        << record.error;
}

INSTANTIATE_TEST_SUITE_P(
    Heights, RulesRefuse,
    testing::Values(BadHeight{"missing", "", "", "the 2025 rules need the storey height h1"},
                    BadHeight{"zero", "0", "0", ""}, BadHeight{"negative", "-3.3", "-3.3", ""},
                    BadHeight{"above_the_range", "4.6", "4.6", ""},
                    BadHeight{"decimal_comma", "\"3,3\"", "\"3,3\"", ""},
                    BadHeight{"text", "high", "\"high\"", ""}),
    [](const testing::TestParamInfo<BadHeight>& i) { return std::string(i.param.name); });

} // namespace
