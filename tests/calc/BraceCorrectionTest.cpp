#include "calc/LibCal_Nti.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <string>

namespace {

using koruba::BraceCorrection;

// Brace kinds: 1 rising to the right, 2 rising to the left, 3 cross.
// Left of the column a right-rising brace meets the column top; right of
// it a left-rising one does.
struct CorrectionCase {
    std::string name;
    int leftSize, leftKind, rightSize, rightKind;
    float expected;
};

void PrintTo(const CorrectionCase& c, std::ostream* os) {
    *os << c.name;
}

class BraceCorrectionRules : public testing::TestWithParam<CorrectionCase> {};

TEST_P(BraceCorrectionRules, GivesTheCorrection) {
    const auto& c = GetParam();
    const float got = BraceCorrection(c.leftSize, c.leftKind, c.rightSize, c.rightKind);
    EXPECT_EQ(got, c.expected);
    EXPECT_FALSE(std::signbit(got) && got == 0.0f) << "negative zero";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BraceCorrectionRules,
    testing::Values(CorrectionCase{"NoBraces", 0, 0, 0, 0, 0.0f},
                    CorrectionCase{"LeftAloneAtTop45", 2, 1, 0, 0, 0.5f},
                    CorrectionCase{"LeftAloneAtFoot45", 2, 2, 0, 0, -0.5f},
                    CorrectionCase{"RightAloneAtTop90", 0, 0, 3, 2, 2.0f},
                    CorrectionCase{"RightAloneAtFoot30", 0, 0, 1, 1, -0.5f},
                    CorrectionCase{"RightAloneAtFoot90", 0, 0, 3, 1, -2.0f},
                    CorrectionCase{"FootBrace15IsPlusZero", 0, 0, 0, 1, 0.0f},
                    CorrectionCase{"BothAtTop90", 3, 1, 3, 2, 4.0f},
                    CorrectionCase{"BothAtFootGivesZero", 3, 2, 3, 1, 0.0f},
                    CorrectionCase{"TopAndFootAdd30And90", 1, 1, 3, 1, 2.5f},
                    CorrectionCase{"FootAndTopAdd90And30", 3, 2, 1, 2, 2.5f},
                    CorrectionCase{"SameDirectionBothSides45", 2, 1, 2, 1, 1.0f},
                    CorrectionCase{"CrossAlone", 3, 3, 0, 0, 0.0f},
                    CorrectionCase{"CrossAloneRight", 0, 0, 2, 3, 0.0f},
                    CorrectionCase{"CrossBesideTopBrace90", 0, 3, 3, 2, 2.0f},
                    CorrectionCase{"TopBrace45BesideCross", 2, 1, 3, 3, 0.5f},
                    CorrectionCase{"CrossBesideFootBrace", 3, 3, 3, 1, 0.0f},
                    CorrectionCase{"FootBraceBesideCross", 3, 2, 0, 3, 0.0f},
                    CorrectionCase{"CrossBesideCross", 3, 3, 3, 3, 0.0f},
                    // A side with no brace counts 0.0 whatever size its fields carry.
                    CorrectionCase{"EmptyBayIgnoresSize", 3, 0, 2, 2, 0.5f}),
    [](const testing::TestParamInfo<CorrectionCase>& info) { return info.param.name; });

} // namespace
