#include "columns/JsonColumnReader.h"

#include "columns/BayToken.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using koruba::columns::InputRecord;
using koruba::columns::JsonColumnReader;

koruba::BayCell Cell(const char* token) {
    koruba::BayCell cell;
    std::string error;
    EXPECT_TRUE(koruba::columns::parseBayToken(token, cell, error)) << error;
    return cell;
}

struct Valid {
    const char* name;
    const char* line;
    const char* id;
    int pattern;
    int reversed;
    const char* bays[4];
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Valid& row, std::ostream* os) {
    *os << row.name;
}

class JsonLineAccepts : public testing::TestWithParam<Valid> {};

TEST_P(JsonLineAccepts, ReadsTheColumn) {
    const Valid& v = GetParam();
    JsonColumnReader parser;
    InputRecord record;
    std::string error;
    ASSERT_TRUE(parser.read(v.line, record, error)) << error;
    EXPECT_TRUE(record.haveId);
    EXPECT_EQ(record.id, v.id);
    EXPECT_EQ(record.column.pattern, v.pattern);
    EXPECT_EQ(record.column.reversed, v.reversed);
    for (std::size_t b = 0; b < 4; ++b) {
        EXPECT_EQ(record.column.bays[b], Cell(v.bays[b])) << "bay " << b + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, JsonLineAccepts,
    testing::Values(
        Valid{
            "contract_example",
            R"({"id": "C1", "pattern": 13, "reversed": false, "bays": ["L45", "", "X90+P2.5", "P1.0"]})",
            "C1",
            13,
            0,
            {"L45", "", "X90+P2.5", "P1.0"}},
        Valid{"members_in_any_order_no_blanks",
              R"({"bays":["","R30","",""],"reversed":1,"pattern":21,"id":"a"})",
              "a",
              21,
              1,
              {"", "R30", "", ""}},
        Valid{"reversed_zero",
              R"({"id":"z","pattern":22,"reversed":0,"bays":["-","","",""]})",
              "z",
              22,
              0,
              {"", "", "", ""}},
        Valid{"numeric_id_kept_as_written",
              R"({"id": 1.50, "pattern": 11, "reversed": true, "bays": ["P2.5","","L90",""]})",
              "1.50",
              11,
              1,
              {"P2.5", "", "L90", ""}},
        Valid{
            "escapes_in_names_and_tokens",
            R"({"i\u0064": "\u6771\"1\"", "pattern": 12, "reversed": false, "bays": ["", "\u0050\u0032", "P2.5", "\u0058\u0033\u0030"]})",
            "\xE6\x9D\xB1\"1\"",
            12,
            0,
            {"", "P2.0", "P2.5", "X30"}},
        Valid{"surrogate_pair_in_id",
              R"({"id": "\ud83c\udfe0", "pattern": 21, "reversed": false, "bays": ["","","",""]})",
              "\xF0\x9F\x8F\xA0",
              21,
              0,
              {"", "", "", ""}},
        Valid{"other_members_skipped",
              "\t{ \"note\": {\"a\": [1, -2.5e3, null, true, {\"b\": \"}\"}]}, \"id\": \"x\","
              " \"pattern\" : 13 , \"reversed\" : false , \"bays\" : [ \"R45\" , \"\" , \"\" , "
              "\"\" ] } \r",
              "x",
              13,
              0,
              {"R45", "", "", ""}}),
    [](const testing::TestParamInfo<Valid>& i) { return std::string(i.param.name); });

TEST(JsonColumnReader, EscapedBackslashBeforeClosingQuote) {
    // A test of this one string content because the parser uses the 2-byte
    // skip for escapes when it scans for the closing quote.
    const std::string line =
        R"({"id": "a\\", "pattern": 21, "reversed": false, "bays": ["", "", "", ""]})";
    JsonColumnReader parser;
    InputRecord record;
    std::string error;
    ASSERT_TRUE(parser.read(line, record, error)) << error;
    EXPECT_EQ(record.id, "a\\");
}

struct Invalid {
    const char* name;
    const char* line;
    const char* message; // the whole message, column included
    bool haveId;
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Invalid& row, std::ostream* os) {
    *os << row.name;
}

class JsonLineRejects : public testing::TestWithParam<Invalid> {};

TEST_P(JsonLineRejects, SaysWhatAndWhere) {
    const Invalid& v = GetParam();
    JsonColumnReader parser;
    InputRecord record;
    std::string error;
    EXPECT_FALSE(parser.read(v.line, record, error));
    EXPECT_EQ(error, v.message);
    EXPECT_EQ(record.haveId, v.haveId);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, JsonLineRejects,
    testing::Values(
        Invalid{"not_an_object", "[1, 2]", "column 1: expected a JSON object starting with '{'",
                false},
        Invalid{"empty_object", "{}",
                "column 1: the object lacks \"id\", \"pattern\", \"reversed\", \"bays\"", false},
        Invalid{"missing_bays", R"({"id": "C1", "pattern": 13, "reversed": false})",
                "column 1: the object lacks \"bays\"", true},
        Invalid{"truncated", R"({"id": "C1", "pattern": 13)",
                "column 27: an object or array is not closed, found the end of the line", false},
        Invalid{"unclosed_string", R"({"id": "C1)", "column 8: string is not closed", false},
        Invalid{"bad_token_points_at_it",
                R"({"id": "C7", "pattern": 13, "reversed": false, "bays": ["L45", "X95", "", ""]})",
                "column 64: bay 2: \"X95\": brace size must be 15, 30, 45 or 90", true},
        Invalid{"three_bays",
                R"({"id": "C1", "pattern": 13, "reversed": false, "bays": ["L45", "", ""]})",
                "column 56: \"bays\" holds 3 tokens; it needs four (bays 1 to 4)", true},
        Invalid{"five_bays",
                R"({"id": "C1", "pattern": 13, "reversed": false, "bays": ["", "", "", "", ""]})",
                "column 56: \"bays\" holds 5 tokens; it needs four (bays 1 to 4)", true},
        Invalid{"bay_not_string",
                R"({"id": "C1", "pattern": 13, "reversed": false, "bays": ["", 45, "", ""]})",
                "column 61: bay 2 must be a string token", true},
        Invalid{"pattern_unknown",
                R"({"id": "C1", "pattern": 14, "reversed": false, "bays": ["", "", "", ""]})",
                "column 25: pattern \"14\" is not one of 21, 22, 11, 12, 13", true},
        Invalid{"pattern_as_string",
                R"({"id": "C1", "pattern": "13", "reversed": false, "bays": ["", "", "", ""]})",
                "column 25: \"pattern\" must be the number 21, 22, 11, 12 or 13", true},
        Invalid{"reversed_two",
                R"({"id": "C1", "pattern": 13, "reversed": 2, "bays": ["", "", "", ""]})",
                "column 41: \"reversed\" must be true, false, 0 or 1", true},
        Invalid{"id_null", R"({"id": null, "pattern": 13})",
                "column 8: \"id\" must be a string or a number", false},
        Invalid{
            "member_twice",
            R"({"id": "C1", "pattern": 13, "pattern": 21, "reversed": 0, "bays": ["", "", "", ""]})",
            "column 29: member \"pattern\" appears twice", true},
        Invalid{"text_after_object",
                R"({"id": "C1", "pattern": 13, "reversed": 0, "bays": ["", "", "", ""]} x)",
                "column 70: text after the end of the object", false},
        Invalid{"column_counts_characters",
                "{\"id\": \"\xE6\x9D\xB1\xE6\x9D\xB1\", \"pattern\": 99}",
                "column 25: pattern \"99\" is not one of 21, 22, 11, 12, 13", true},
        Invalid{"not_utf8", "{\"id\": \"\x93\x8C\"}", "column 9: the line is not UTF-8 text",
                false},
        Invalid{"raw_control_character", "{\"id\": \"a\tb\"}",
                "column 10: control character inside a string (write it as an escape)", false},
        Invalid{
            "lone_surrogate", R"({"id": "\udc00"})",
            "column 8: bad escape in a string (unknown escape, bad \\u digits or a lone surrogate)",
            false},
        Invalid{
            "bad_escape", R"({"id": "\q"})",
            "column 8: bad escape in a string (unknown escape, bad \\u digits or a lone surrogate)",
            false},
        Invalid{"leading_zero", R"({"x": 013})", "column 7: malformed number", false},
        Invalid{"rules_and_rule_set_disagree",
                R"({"id": 1, "pattern": 21, "reversed": 0, "bays": ["", "", "", ""], )"
                R"("h1": 3.3, "rule_set": 2025, "rules": "2000"})",
                "column 1: rules says 2000 but rule_set says 2025; the record is computed "
                "under neither",
                true},
        Invalid{"empty_line", "",
                "column 1: expected a JSON object starting with '{', found the end of the line",
                false}),
    [](const testing::TestParamInfo<Invalid>& i) { return std::string(i.param.name); });

// Deep nesting in a skipped member must not exhaust the stack.
TEST(JsonColumnReader, DeepNestingIsRefusedNotFollowed) {
    const std::string line = "{\"x\": " + std::string(1000000, '[') + "}";
    JsonColumnReader parser;
    InputRecord record;
    std::string error;
    EXPECT_FALSE(parser.read(line, record, error));
    EXPECT_NE(error.find("nested deeper than 256 levels"), std::string::npos) << error;
}

// The limit is exact: a member nested to 256 levels is read and the
// column computed, one level more is refused.
TEST(JsonColumnReader, NestingUpToTheLimitIsRead) {
    for (const int depth : {256, 257}) {
        const std::string line = R"({"id": "C1", "note": )" + std::string(depth, '[') +
                                 std::string(depth, ']') +
                                 R"(, "pattern": 21, "reversed": 0, "bays": ["L45", "", "", ""]})";
        JsonColumnReader parser;
        InputRecord record;
        std::string error;
        EXPECT_EQ(parser.read(line, record, error), depth == 256) << depth << ": " << error;
        EXPECT_EQ(error.find("nested deeper than 256 levels") != std::string::npos, depth == 257)
            << depth << ": " << error;
    }
}

// One parser reads many lines; what one line left behind must not leak
// into the next.
TEST(JsonColumnReader, NothingCarriesOverBetweenLines) {
    JsonColumnReader parser;
    InputRecord record;
    std::string error;
    ASSERT_TRUE(parser.read(
        R"({"id": "\u0041", "pattern": 13, "reversed": 1, "bays": ["L45", "R45", "X90", "P1"]})",
        record, error));
    EXPECT_FALSE(parser.read(R"({"pattern": 21})", record, error));
    EXPECT_FALSE(record.haveId);
    EXPECT_TRUE(record.id.empty());
    EXPECT_EQ(record.column.reversed, 0);
    EXPECT_EQ(record.column.bays[0], koruba::BayCell{});
}

} // namespace
