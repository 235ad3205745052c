#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <optional>
#include <string>

namespace {

struct ClassCase {
    std::string name;
    float n;
    int expectedClass; // 0: no class
    std::string symbol;
};

void PrintTo(const ClassCase& c, std::ostream* os) {
    *os << c.name;
}

class ClassBoundaries : public testing::TestWithParam<ClassCase> {};

TEST_P(ClassBoundaries, FindsTheClass) {
    const auto& c = GetParam();
    std::int32_t cls = -1;
    std::string_view symbol = "untouched";
    std::string_view name = "untouched";
    const bool found = koruba::ClassifyJoint(c.n, cls, symbol, name);
    if (c.expectedClass == 0) {
        EXPECT_FALSE(found);
        EXPECT_EQ(cls, -1);
        EXPECT_EQ(symbol, "untouched");
        EXPECT_EQ(name, "untouched");
    } else {
        EXPECT_TRUE(found);
        EXPECT_EQ(cls, c.expectedClass);
        EXPECT_EQ(symbol, c.symbol);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ClassBoundaries,
    testing::Values(
        ClassCase{"Negative", -0.6f, 1, "(い)"}, ClassCase{"Zero", 0.0f, 1, "(い)"},
        ClassCase{"WithinToleranceOfZero", 0.0000005f, 1, "(い)"},
        ClassCase{"ExactlyTheTolerance", 1.0e-6f, 2, "(ろ)"},
        ClassCase{"JustPastToleranceOfZero", 0.000002f, 2, "(ろ)"},
        ClassCase{"SmallPositive", 0.01f, 2, "(ろ)"}, ClassCase{"FloatOf065", 0.65f, 2, "(ろ)"},
        ClassCase{"Above065WithinTolerance", 0.6500005f, 2, "(ろ)"},
        ClassCase{"066", 0.66f, 3, "(は)"}, ClassCase{"One", 1.0f, 3, "(は)"},
        ClassCase{"AboveOne", 1.01f, 4, "(に)"}, ClassCase{"FloatOf14", 1.4f, 4, "(に)"},
        ClassCase{"FloatOf16", 1.6f, 5, "(ほ)"}, ClassCase{"FloatOf18", 1.8f, 6, "(へ)"},
        ClassCase{"FloatOf28", 2.8f, 7, "(と)"}, ClassCase{"FloatOf37", 3.7f, 8, "(ち)"},
        ClassCase{"FloatOf47", 4.7f, 9, "(り)"}, ClassCase{"Five", 5.0f, 10, "(ぬ)"},
        ClassCase{"FloatOf56", 5.6f, 10, "(ぬ)"}, ClassCase{"Above56", 5.61f, 11, "(る)*"},
        ClassCase{"SevenAndAHalf", 7.5f, 11, "(る)*"},
        ClassCase{"Above75WithinTolerance", 7.5000005f, 11, "(る)*"},
        ClassCase{"Above75", 7.6f, 0, ""}),
    [](const testing::TestParamInfo<ClassCase>& info) { return info.param.name; });

TEST(ClassifyJoint, SixteenthsFromTheFormulaStayInTheirClass) {
    // 2.5 x 0.8 - 0.4 in floats lands a hair above 1.6.
    const auto p = static_cast<float>(2.5L * static_cast<long double>(0.8f));
    const auto n = static_cast<float>(static_cast<long double>(p) - 0.4f);
    ASSERT_GT(static_cast<long double>(n), 1.6L);
    std::int32_t cls = 0;
    std::string_view s, nm;
    ASSERT_TRUE(koruba::ClassifyJoint(n, cls, s, nm));
    EXPECT_EQ(cls, 5);
    EXPECT_EQ(nm, "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)");
}

TEST(JointSpec, StrengthsMatchTheHardwareTable) {
    const char* shown[] = {"0.00",  "3.44",  "5.29",  "7.41",  "8.47", "9.53",
                           "14.82", "19.58", "24.87", "29.64", "39.69"};
    const float limits[] = {0.0f, 0.65f, 1.0f, 1.4f, 1.6f, 1.8f, 2.8f, 3.7f, 4.7f, 5.6f, 7.5f};
    // N limit x 1.96 x 2.7, worked out by hand.
    const float strengths[] = {0.0f,     3.4398f,  5.292f,   7.4088f,  8.4672f, 9.5256f,
                               14.8176f, 19.5804f, 24.8724f, 29.6352f, 39.69f};
    for (int c = 1; c <= 11; ++c) {
        float limit = -1.0f;
        float strength = -1.0f;
        ASSERT_TRUE(koruba::JointSpec(c, limit, strength)) << c;
        EXPECT_EQ(limit, limits[c - 1]) << c;
        EXPECT_EQ(koruba::F2(strength), shown[c - 1]) << c;
        EXPECT_FLOAT_EQ(strength, strengths[c - 1]) << c;
        // The row lookup the tables and legends read is the same table.
        const std::optional<koruba::JointClassRow> row = koruba::jointClassRow(c);
        ASSERT_TRUE(row) << c;
        EXPECT_EQ(row->nLimit, limits[c - 1]) << c;
        EXPECT_EQ(row->strength, strength) << c;
    }
    EXPECT_EQ(koruba::jointClassRow(5)->symbol, "(ほ)");
    EXPECT_EQ(koruba::jointClassRow(11)->name, "引き寄せ金物(HD-20)×２個(参考)");
}

TEST(JointSpec, OtherClassesLeaveTheOutputs) {
    for (int c : {0, -1, 12, 1000}) {
        float limit = 9.0f;
        float strength = 9.0f;
        EXPECT_FALSE(koruba::JointSpec(c, limit, strength));
        EXPECT_EQ(limit, 9.0f);
        EXPECT_EQ(strength, 9.0f);
        EXPECT_FALSE(koruba::jointClassRow(c)) << c;
    }
}

TEST(ClassifyJoint, NamesAreExact) {
    const char* names[] = {"短ほぞ差し・かすがい(C)",
                           "長ほぞ差し込み栓・かど金物(CP･L)",
                           "かど金物(CP･T)・山形プレート(VP)",
                           "羽子板ﾎﾞﾙﾄ(SB)・短冊金物(S)",
                           "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)",
                           "引き寄せ金物(HD-10)",
                           "引き寄せ金物(HD-15)",
                           "引き寄せ金物(HD-20)",
                           "引き寄せ金物(HD-25)",
                           "引き寄せ金物(HD-15)×２個",
                           "引き寄せ金物(HD-20)×２個(参考)"};
    const float mid[] = {-1.0f, 0.3f, 0.8f, 1.2f, 1.5f, 1.7f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    for (int i = 0; i < 11; ++i) {
        std::int32_t cls = 0;
        std::string_view s, nm;
        ASSERT_TRUE(koruba::ClassifyJoint(mid[i], cls, s, nm));
        EXPECT_EQ(cls, i + 1);
        EXPECT_EQ(nm, names[i]);
    }
}

} // namespace
