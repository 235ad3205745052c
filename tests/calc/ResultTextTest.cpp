#include "calc/ResultText.h"
#include "calc/CalcNValue.h"
#include "calc/PatternTable.h"

#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <string>

namespace {

using koruba::BayCell;
using koruba::BayTable;

std::map<std::string, std::string> Captions(const koruba::ResultTexts& t) {
    std::map<std::string, std::string> m;
    for (const auto& c : t.Captions) {
        m.emplace(std::string(c.Label), c.Caption);
    }
    return m;
}

BayTable OneBay(int storey, int side, BayCell cell) {
    BayTable t;
    t.SetCell(storey, side, cell);
    return t;
}

TEST(ResultText, SingleStoreyUsesTheUpperBlock) {
    // Pattern 21, 45x90 rising to the left in the upper left bay.
    const auto r = koruba::CalcNValue(OneBay(2, 1, {2.0f, 2, 2, 0, 0.0f}), 21, 0);
    const auto t = koruba::MakeResultTexts(r, 1);
    const std::map<std::string, std::string> expected{
        {"Lbl_A_12F_Siki", "A1= |2.0-0.0|+0.5"},
        {"Lbl_A_12F", "= 2.5"},
        {"Lbl_B_12F", "B1= 0.8"},
        {"Lbl_L_12F", "L= 0.4"},
        {"Lbl_A_1F_Siki", ""},
        {"Lbl_A_1F", ""},
        {"Lbl_B_1F", ""},
        {"Lbl_Nti", "N = 2.5x0.8-0.4= 1.60  [8.47kN]"},
        {"Lbl_KanaKigo", "(ほ)"},
        {"Lbl_Tairyoku", "接合耐力： 8.47(kN)"},
        {"Lbl_KanaName", "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)"},
    };
    EXPECT_EQ(Captions(t), expected);
    EXPECT_EQ(t.ShownL, "Lbl_L_12F");
    EXPECT_EQ(t.HiddenL, "Lbl_L_1F");
}

TEST(ResultText, TwoStoreyPutsTheUpperStoreyOnTop) {
    const auto r = koruba::CalcNValue(BayTable{}, 13, 0);
    const auto t = koruba::MakeResultTexts(r, 2);
    const std::map<std::string, std::string> expected{
        {"Lbl_A_12F_Siki", "A2= |0.0-0.0|+(0.0)"},
        {"Lbl_A_12F", "= 0.0"},
        {"Lbl_B_12F", "B2= 0.5"},
        {"Lbl_A_1F_Siki", "A1= |0.0-0.0|+(0.0)"},
        {"Lbl_A_1F", "= 0.0"},
        {"Lbl_B_1F", "B1= 0.5"},
        {"Lbl_L_1F", "L= 1.6"},
        {"Lbl_Nti", "N = 0.0x0.5+0.0x0.5-1.6 = -1.60  [-8.47kN]"},
        {"Lbl_KanaKigo", "(い)"},
        {"Lbl_Tairyoku", "接合耐力： 0.00(kN)"},
        {"Lbl_KanaName", "短ほぞ差し・かすがい(C)"},
    };
    EXPECT_EQ(Captions(t), expected);
    EXPECT_EQ(t.ShownL, "Lbl_L_1F");
    EXPECT_EQ(t.HiddenL, "Lbl_L_12F");
}

TEST(ResultText, CaptionsComeInAssignmentOrder) {
    const auto r = koruba::CalcNValue(BayTable{}, 13, 0);
    const char* two[] = {"Lbl_A_12F_Siki", "Lbl_A_12F",    "Lbl_B_12F",   "Lbl_A_1F_Siki",
                         "Lbl_A_1F",       "Lbl_B_1F",     "Lbl_L_1F",    "Lbl_Nti",
                         "Lbl_KanaKigo",   "Lbl_Tairyoku", "Lbl_KanaName"};
    const auto t2 = koruba::MakeResultTexts(r, 2);
    for (std::size_t i = 0; i < t2.Captions.size(); ++i) {
        EXPECT_EQ(t2.Captions[i].Label, two[i]);
    }
    const auto t1 = koruba::MakeResultTexts(koruba::CalcNValue(BayTable{}, 22, 0), 1);
    EXPECT_EQ(t1.Captions[6].Label, "Lbl_L_12F");
    EXPECT_EQ(t1.Captions[7].Label, "Lbl_Nti");
}

struct TermCase {
    std::string name;
    float left, right, corr;
    std::string expected;
};

void PrintTo(const TermCase& c, std::ostream* os) {
    *os << c.name;
}

class ATerm : public testing::TestWithParam<TermCase> {};

TEST_P(ATerm, ShowsTheCorrection) {
    const auto& c = GetParam();
    EXPECT_EQ(koruba::ATermText("A1", c.left, c.right, c.corr), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Corrections, ATerm,
    testing::Values(TermCase{"Positive", 2.0f, 0.0f, 0.5f, "A1= |2.0-0.0|+0.5"},
                    TermCase{"ZeroInParentheses", 0.0f, 0.0f, 0.0f, "A1= |0.0-0.0|+(0.0)"},
                    TermCase{"NegativeZeroHasNoSign", 1.0f, 0.0f, -0.0f, "A1= |1.0-0.0|+(0.0)"},
                    TermCase{"Negative", 1.5f, 0.0f, -0.5f, "A1= |1.5-0.0|+(-0.5)"},
                    TermCase{"NegativeTwo", 3.0f, 0.0f, -2.0f, "A1= |3.0-0.0|+(-2.0)"},
                    TermCase{"BelowTolerance", 0.0f, 0.0f, 0.0000005f, "A1= |0.0-0.0|+(0.0)"},
                    TermCase{"CappedSums", 5.0f, 2.5f, 2.5f, "A1= |5.0-2.5|+2.5"}),
    [](const testing::TestParamInfo<TermCase>& info) { return info.param.name; });

TEST(ResultText, FootBrace15ShowsNoMinusZero) {
    // A 15x90 brace alone, meeting the column foot.
    const auto r = koruba::CalcNValue(OneBay(2, 1, {1.0f, 1, 0, 0, 0.0f}), 21, 0);
    const auto t = koruba::MakeResultTexts(r, 1);
    EXPECT_EQ(*t.Find("Lbl_A_12F_Siki"), "A1= |1.0-0.0|+(0.0)");
    // "|1.0-0.0|" is a subtraction; a signed zero would follow "(", "= " or "x".
    for (const auto& c : t.Captions) {
        for (const char* signedZero : {"(-0.0", "= -0.0", "x-0.0", "[-0.0"}) {
            EXPECT_EQ(c.Caption.find(signedZero), std::string::npos) << c.Caption;
        }
    }
}

TEST(ResultText, NoClassShowsNoStrength) {
    BayTable bays;
    bays.SetCell(1, 1, {3.0f, 2, 3, 1, 2.0f});
    bays.SetCell(2, 1, {3.0f, 2, 3, 1, 2.0f});
    const auto t = koruba::MakeResultTexts(koruba::CalcNValue(bays, 11, 0), 2);
    EXPECT_EQ(*t.Find("Lbl_Nti"), "N = 7.0x0.8+7.0x0.8-1.0 = 10.20  [53.98kN]");
    EXPECT_EQ(*t.Find("Lbl_KanaKigo"), "");
    EXPECT_EQ(*t.Find("Lbl_KanaName"), "");
    EXPECT_EQ(*t.Find("Lbl_Tairyoku"), "接合耐力： ---(kN)");
}

TEST(ResultText, HalfPennyPullOutIsRoundedDown) {
    BayTable bays;
    bays.SetCell(1, 1, {0.0f, 0, 0, 1, 2.5f});
    bays.SetCell(2, 2, {0.0f, 0, 0, 1, 2.0f});
    const auto t = koruba::MakeResultTexts(koruba::CalcNValue(bays, 12, 0), 2);
    EXPECT_EQ(*t.Find("Lbl_Nti"), "N = 2.5x0.5+2.0x0.8-1.6 = 1.25  [6.61kN]");
    EXPECT_EQ(*t.Find("Lbl_A_12F_Siki"), "A2= |0.0-2.0|+(0.0)");
    EXPECT_EQ(t.Find("Lbl_L_12F"), nullptr);
}

TEST(ResultText, SingleStoreyNegativeN) {
    const auto t = koruba::MakeResultTexts(koruba::CalcNValue(BayTable{}, 22, 0), 1);
    EXPECT_EQ(*t.Find("Lbl_Nti"), "N = 0.0x0.5-0.6= -0.60  [-3.18kN]");
}

} // namespace

namespace {

// The worked examples under the 2025 rules: the formula shows f only for a
// storey above 3.20 m, and f as the fraction from which N is recomputed.
struct Rules2025Case {
    const char* name;
    int pattern;
    BayTable bays;
    koruba::CalcConditions conditions;
    const char* nLine;
    const char* f1;
    const char* f2;
    const char* rulesLine;
};

BayTable TwoStoreyPanels() {
    BayTable t;
    t.SetCell(1, 1, {0.0f, 0, 0, 1, 2.0f});
    t.SetCell(1, 2, {0.0f, 0, 0, 1, 4.0f});
    t.SetCell(2, 1, {0.0f, 0, 0, 1, 1.0f});
    t.SetCell(2, 2, {0.0f, 0, 0, 1, 5.0f});
    return t;
}

class Rules2025Text : public ::testing::TestWithParam<Rules2025Case> {};

TEST_P(Rules2025Text, ShowsTheFactorsItUsed) {
    const Rules2025Case& c = GetParam();
    const auto r = koruba::CalcNValue(c.bays, c.pattern, 0, c.conditions);
    const std::int32_t storeys = koruba::StoreyCountOf(c.pattern);
    EXPECT_EQ(koruba::NLineText(r, storeys), c.nLine);
    EXPECT_EQ(koruba::HeightFactorText("f1", r.Rules, r.H1Cm), c.f1);
    EXPECT_EQ(koruba::HeightFactorText("f2", r.Rules, r.H2Cm), c.f2);
    EXPECT_EQ(koruba::RulesLineText(c.conditions, storeys), c.rulesLine);
}

using koruba::RuleSet;
const BayTable kPanel25 = OneBay(2, 1, {0.0f, 0, 0, 1, 2.5f});

INSTANTIATE_TEST_SUITE_P(
    Worked, Rules2025Text,
    ::testing::Values(Rules2025Case{"h320_exactly_factor_one",
                                    21,
                                    kPanel25,
                                    {RuleSet::Revision2025, 320, 0},
                                    "N = 2.5x0.8-0.4= 1.60  [8.47kN]",
                                    "",
                                    "",
                                    "2025年改正（階高補正）  H1 = 3.20m"},
                      // 2.5 x 0.8 x 3.30/2.7 - 0.4 = 2.044...
                      Rules2025Case{"h330",
                                    21,
                                    kPanel25,
                                    {RuleSet::Revision2025, 330, 0},
                                    "N = 2.5x0.8xf1-0.4= 2.04  [10.82kN]",
                                    "f1= 3.30/2.7",
                                    "",
                                    "2025年改正（階高補正）  H1 = 3.30m"},
                      // |2-4| x 0.5 x 3.50/2.7 + |1-5| x 0.5 - 1.6 = 1.296... + 2.0 - 1.6
                      Rules2025Case{"two_storey_lower_tall",
                                    13,
                                    TwoStoreyPanels(),
                                    {RuleSet::Revision2025, 350, 280},
                                    "N = 2.0x0.5xf1+4.0x0.5-1.6 = 1.70  [8.98kN]",
                                    "f1= 3.50/2.7",
                                    "",
                                    "2025年改正（階高補正）  H1 = 3.50m  H2 = 2.80m"},
                      // 2.0 x 0.5 x 4.50/2.7 + 4.0 x 0.5 x 3.60/2.7 - 1.6 = 1.667 + 2.667 - 1.6
                      Rules2025Case{"two_storey_both_tall",
                                    13,
                                    TwoStoreyPanels(),
                                    {RuleSet::Revision2025, 450, 360},
                                    "N = 2.0x0.5xf1+4.0x0.5xf2-1.6 = 2.73  [14.46kN]",
                                    "f1= 4.50/2.7",
                                    "f2= 3.60/2.7",
                                    "2025年改正（階高補正）  H1 = 4.50m  H2 = 3.60m"}),
    [](const ::testing::TestParamInfo<Rules2025Case>& info) { return info.param.name; });

} // namespace
