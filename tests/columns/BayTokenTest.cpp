#include "columns/BayToken.h"

#include "calc/BracingModel.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using koruba::BayCell;
using koruba::BracingModel;
using koruba::columns::bayTokenOf;
using koruba::columns::parseBayToken;

// The cell that pressing bay 1 leaves after choosing the element kind, the
// size row and the panel row in the window, one element after the other.
BayCell PressedCell(int braceKind, int sizeRow, int panelRow) {
    BracingModel m;
    m.ChoosePattern(13);
    m.SelectBay(1);
    if (braceKind != 0) {
        m.ChooseBraceKind(braceKind, sizeRow);
        m.ChooseBraceSize(sizeRow);
        m.ToggleElement();
    }
    if (panelRow >= 0) {
        m.ChoosePanel();
        m.ChoosePanelMultiplier(panelRow);
        m.ToggleElement();
    }
    return m.Bays().Cell(2, 1);
}

// Every brace kind and size, every panel multiplier and their combinations
// give exactly the cell the window would store, bit for bit.
TEST(BayToken, EveryElementMatchesTheWindowsPress) {
    const char kinds[] = {'R', 'L', 'X'};
    const char* sizes[] = {"15", "30", "45", "90"};
    const char* panels[] = {"0.5", "1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0", "4.5", "5.0"};
    std::string error;
    for (int k = 0; k < 3; ++k) {
        for (int s = 0; s < 4; ++s) {
            const std::string brace = std::string(1, kinds[k]) + sizes[s];
            for (const std::string& text : {brace, brace + "x90", brace + "X90"}) {
                BayCell cell;
                ASSERT_TRUE(parseBayToken(text, cell, error)) << text << ": " << error;
                EXPECT_EQ(cell, PressedCell(k + 1, s, -1)) << text;
            }
            for (int p = 0; p < 10; ++p) {
                const std::string text = brace + "+P" + panels[p];
                BayCell cell;
                ASSERT_TRUE(parseBayToken(text, cell, error)) << text << ": " << error;
                EXPECT_EQ(cell, PressedCell(k + 1, s, p)) << text;
                EXPECT_EQ(bayTokenOf(cell), text);
            }
        }
    }
    for (int p = 0; p < 10; ++p) {
        BayCell cell;
        ASSERT_TRUE(parseBayToken(std::string("P") + panels[p], cell, error));
        EXPECT_EQ(cell, PressedCell(0, 0, p)) << panels[p];
    }
}

TEST(BayToken, CrossBraceMultipliersAreDoubledAndCapped) {
    BayCell cell;
    std::string error;
    ASSERT_TRUE(parseBayToken("X45", cell, error));
    EXPECT_EQ(cell.BraceMult, 4.0f);
    ASSERT_TRUE(parseBayToken("X90", cell, error));
    EXPECT_EQ(cell.BraceMult, 5.0f);
    EXPECT_EQ(cell.BraceKind, 3);
    EXPECT_EQ(cell.BraceSize, 3);
}

struct Accepted {
    const char* name;
    const char* text;
    const char* canonical;
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Accepted& row, std::ostream* os) {
    *os << row.name;
}

class BayTokenAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(BayTokenAccepts, ReadsTheSameCellAsTheCanonicalForm) {
    const Accepted& a = GetParam();
    BayCell cell;
    BayCell expected;
    std::string error;
    ASSERT_TRUE(parseBayToken(a.text, cell, error)) << error;
    ASSERT_TRUE(parseBayToken(a.canonical, expected, error)) << error;
    EXPECT_EQ(cell, expected);
    EXPECT_EQ(bayTokenOf(cell), a.canonical);
}

INSTANTIATE_TEST_SUITE_P(Forms, BayTokenAccepts,
                         testing::Values(Accepted{"empty", "", ""}, Accepted{"dash", "-", ""},
                                         Accepted{"blanks", "  \t ", ""},
                                         Accepted{"dash_in_blanks", " - ", ""},
                                         Accepted{"whole_panel_multiplier", "P2", "P2.0"},
                                         Accepted{"panel_first", "P2.5+X90", "X90+P2.5"},
                                         Accepted{"blanks_around_plus", " L45 + P1.0 ", "L45+P1.0"},
                                         Accepted{"times_sign_depth",
                                                  "R30\xC3\x97"
                                                  "90",
                                                  "R30"}),
                         [](const testing::TestParamInfo<Accepted>& i) {
                             return std::string(i.param.name);
                         });

struct Rejected {
    const char* name;
    const char* text;
    const char* message; // part of the message
};
// Test names in ctest show the row name, not the bytes of the row.
void PrintTo(const Rejected& row, std::ostream* os) {
    *os << row.name;
}

class BayTokenRejects : public testing::TestWithParam<Rejected> {};

TEST_P(BayTokenRejects, SaysWhatIsWrongAndLeavesTheCellEmpty) {
    const Rejected& r = GetParam();
    BayCell cell{3.0f, 1, 3, 1, 2.0f};
    std::string error;
    EXPECT_FALSE(parseBayToken(r.text, cell, error));
    EXPECT_NE(error.find(r.message), std::string::npos) << error;
    EXPECT_EQ(cell, BayCell{});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BayTokenRejects,
    testing::Values(Rejected{"unknown_size", "X95", "\"X95\": brace size must be 15, 30, 45 or 90"},
                    Rejected{"size_missing", "L", "brace size must be"},
                    Rejected{"wrong_depth", "L45x80", "optionally x90"},
                    Rejected{"trailing_text", "L45a", "optionally x90"},
                    Rejected{"lower_case_kind", "l45", "starts with R, L, X (brace) or P (panel)"},
                    Rejected{"unknown_letter", "Q1", "\"Q1\": an element starts with"},
                    Rejected{"panel_above_five", "P5.5", "one of 0.5, 1.0, 1.5 ... 5.0"},
                    Rejected{"panel_zero", "P0", "one of 0.5"},
                    Rejected{"panel_quarter", "P2.25", "one of 0.5"},
                    Rejected{"panel_not_half_step", "P1.2", "one of 0.5"},
                    Rejected{"panel_without_value", "P", "one of 0.5"},
                    Rejected{"negative_panel", "P-1.0", "one of 0.5"},
                    Rejected{"two_braces", "L45+R30", "at most one brace"},
                    Rejected{"two_panels", "P1.0+P2.0", "at most one panel"},
                    Rejected{"dangling_plus", "L45+", "empty element"},
                    Rejected{"leading_plus", "+P1.0", "empty element"},
                    Rejected{"dash_with_element", "-+L45", "an element starts with"}),
    [](const testing::TestParamInfo<Rejected>& i) { return std::string(i.param.name); });

} // namespace
