#include "calc/CalcNValue.h"
#include "calc/NumberFormat.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using koruba::BayCell;
using koruba::BayTable;
using koruba::ResultType;

BayCell Brace(int kind, int size, float panel = 0.0f) {
    float mult = 0.0f;
    koruba::BraceMultiplierOfRow(size, kind, 5.0f, mult);
    return {mult, kind, size, panel > 0.0f ? 1 : 0, panel};
}
BayCell Panel(float mult) {
    return {0.0f, 0, 0, 1, mult};
}

// Bays by bay image tag: 1 upper left, 2 upper right, 3 lower left, 4 lower right.
BayTable Bays(std::initializer_list<std::pair<int, BayCell>> cells) {
    BayTable t;
    for (const auto& [tag, cell] : cells) {
        const koruba::BayAddress bay = *koruba::bayOfTag(tag);
        t.SetCell(bay.storey, bay.side, cell);
    }
    return t;
}

struct NCase {
    std::string name;
    int pattern;
    int reversed;
    BayTable bays;
    // Expected texts of the terms as shown.
    std::string a1, a2, n, pullOut;
    int jointClass;
};

void PrintTo(const NCase& c, std::ostream* os) {
    *os << c.name;
}

class CalcNValueCases : public testing::TestWithParam<NCase> {};

TEST_P(CalcNValueCases, ComputesTheFormula) {
    const auto& c = GetParam();
    const ResultType r = koruba::CalcNValue(c.bays, c.pattern, c.reversed);
    EXPECT_EQ(koruba::F1(r.A1), c.a1);
    EXPECT_EQ(koruba::F1(r.A2), c.a2);
    EXPECT_EQ(koruba::F2(r.NValue), c.n);
    EXPECT_EQ(koruba::F2(r.PullOut), c.pullOut);
    EXPECT_EQ(r.JointClass, c.jointClass);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, CalcNValueCases,
    testing::Values(
        NCase{"P22Empty", 22, 0, {}, "0.0", "0.0", "-0.60", "-3.18", 1},
        NCase{"P21BraceMeetingTop", 21, 0, Bays({{1, Brace(2, 2)}}), "2.5", "0.0", "1.60", "8.47",
              5},
        NCase{"P21BraceMeetingFoot", 21, 0, Bays({{1, Brace(1, 2)}}), "1.5", "0.0", "0.80", "4.23",
              3},
        NCase{"P21ReversedReadsOnlyBay2", 21, 1, Bays({{1, Brace(2, 3)}, {2, Brace(1, 2)}}), "2.5",
              "0.0", "1.60", "8.47", 5},
        NCase{"P21ReversedFootBrace", 21, 1, Bays({{2, Brace(2, 2)}}), "1.5", "0.0", "0.80", "4.23",
              3},
        NCase{"P21CappedBay", 21, 0, Bays({{1, Brace(1, 3, 3.0f)}}), "3.0", "0.0", "2.00", "10.58",
              7},
        NCase{"P13EqualWallsBothRightRising", 13, 0, Bays({{3, Brace(1, 2)}, {4, Brace(1, 2)}}),
              "1.0", "0.0", "-1.10", "-5.82", 1},
        NCase{"P13BothAtFoot", 13, 0, Bays({{3, Brace(2, 2)}, {4, Brace(1, 2)}}), "0.0", "0.0",
              "-1.60", "-8.47", 1},
        NCase{"P12IgnoresUpperLeft", 12, 0, Bays({{1, Panel(5.0f)}, {2, Panel(2.0f)}}), "0.0",
              "2.0", "0.00", "0.00", 1},
        NCase{"P11FromTheHandbook", 11, 0, Bays({{3, Brace(2, 3)}, {1, Panel(2.5f)}}), "5.0", "2.5",
              "5.00", "26.46", 10},
        NCase{"P11ReversedReadsRightColumn", 11, 1,
              Bays({{3, Brace(2, 3)}, {2, Panel(2.5f)}, {4, Brace(1, 3)}}), "5.0", "2.5", "5.00",
              "26.46", 10},
        NCase{"P12HalfPennyPullOut", 12, 0, Bays({{3, Panel(2.5f)}, {2, Panel(2.0f)}}), "2.5",
              "2.0", "1.25", "6.61", 4},
        NCase{"P12ReversedUsesUpperLeft", 12, 1, Bays({{1, Panel(2.0f)}, {2, Panel(5.0f)}}), "0.0",
              "2.0", "0.00", "0.00", 1},
        NCase{"NegativeCorrectionBeyondTheWall", 22, 0, Bays({{1, Brace(2, 2)}, {2, Panel(2.0f)}}),
              "-0.5", "0.0", "-0.85", "-4.50", 1},
        NCase{"AboveTheLastClass", 11, 0, Bays({{1, Brace(2, 3, 2.0f)}, {3, Brace(2, 3, 2.0f)}}),
              "7.0", "7.0", "10.20", "53.98", 0}),
    [](const testing::TestParamInfo<NCase>& info) { return info.param.name; });

TEST(CalcNValue, UnusedCellsCountZeroAndStayStored) {
    const BayTable bays =
        Bays({{1, Panel(3.0f)}, {2, Panel(4.0f)}, {3, Panel(1.0f)}, {4, Panel(2.0f)}});
    const ResultType p21 = koruba::CalcNValue(bays, 21, 0);
    EXPECT_EQ(p21.WallA1Left, 3.0f);
    EXPECT_EQ(p21.WallA1Right, 0.0f);
    EXPECT_EQ(p21.WallA2Left, 0.0f);
    EXPECT_EQ(p21.WallA2Right, 0.0f);
    EXPECT_EQ(p21.B2, 0.0f);
    const ResultType p21r = koruba::CalcNValue(bays, 21, 1);
    EXPECT_EQ(p21r.WallA1Left, 0.0f);
    EXPECT_EQ(p21r.WallA1Right, 4.0f);
    const ResultType p11 = koruba::CalcNValue(bays, 11, 0);
    EXPECT_EQ(p11.WallA1Left, 1.0f);
    EXPECT_EQ(p11.WallA1Right, 0.0f);
    EXPECT_EQ(p11.WallA2Left, 3.0f);
    EXPECT_EQ(p11.WallA2Right, 0.0f);
    const ResultType p12 = koruba::CalcNValue(bays, 12, 0);
    EXPECT_EQ(p12.WallA2Left, 0.0f);
    EXPECT_EQ(p12.WallA2Right, 4.0f);
    EXPECT_EQ(p12.B2, 0.8f);
    EXPECT_EQ(p12.L, 1.6f);
    const ResultType p13 = koruba::CalcNValue(bays, 13, 1);
    EXPECT_EQ(p13, koruba::CalcNValue(bays, 13, 0));
}

TEST(CalcNValue, RoundsAtTheStatedPoints) {
    // 1.25 x 1.96 x 2.7 = 6.615 exactly; the float nearest lies below it.
    const ResultType r = koruba::CalcNValue(Bays({{3, Panel(2.5f)}, {2, Panel(2.0f)}}), 12, 0);
    EXPECT_EQ(r.NValue, 1.25f);
    EXPECT_EQ(r.PullOut, 6.6149998f);
    EXPECT_LT(static_cast<double>(r.PullOut), 6.615);
    EXPECT_EQ(r.JointSymbol, "(に)");
    EXPECT_EQ(r.JointNLimit, 1.4f);
}

TEST(CalcNValue, NoClassLeavesNoStrengthOfAnEarlierColumn) {
    const ResultType r =
        koruba::CalcNValue(Bays({{1, Brace(2, 3, 2.0f)}, {3, Brace(2, 3, 2.0f)}}), 11, 0);
    EXPECT_GT(r.NValue, 7.5f);
    EXPECT_EQ(r.JointClass, 0);
    EXPECT_EQ(r.JointNLimit, 0.0f);
    EXPECT_EQ(r.JointStrength, 0.0f);
    EXPECT_TRUE(r.JointSymbol.empty());
    EXPECT_TRUE(r.JointName.empty());
}

TEST(CalcNValue, UnknownPatternGivesTheZeroResult) {
    EXPECT_EQ(koruba::CalcNValue(Bays({{1, Panel(2.0f)}}), 0, 0), ResultType{});
    EXPECT_EQ(koruba::CalcNValue(Bays({{1, Panel(2.0f)}}), 14, 1), ResultType{});
}

TEST(CalcNValue, ModelOverloadReadsTheModel) {
    koruba::BracingModel m;
    m.ChooseBraceKind(2, 2);
    m.ChoosePattern(21);
    m.SelectBay(1);
    m.ToggleElement();
    EXPECT_EQ(koruba::CalcNValue(m), koruba::CalcNValue(m.Bays(), 21, 0));
    EXPECT_EQ(koruba::F2(koruba::CalcNValue(m).NValue), "1.60");
}

} // namespace
