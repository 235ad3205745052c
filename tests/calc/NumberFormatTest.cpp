#include "calc/NumberFormat.h"

#include <gtest/gtest.h>

#include <ostream>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

struct FormatCase {
    std::string name;
    float value;
    int decimals;
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FixedFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(FixedFormat, Formats) {
    const auto& c = GetParam();
    EXPECT_EQ(koruba::FormatFixed(c.value, c.decimals), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FixedFormat,
    testing::Values(FormatCase{"Zero1", 0.0f, 1, "0.0"}, FormatCase{"Zero2", 0.0f, 2, "0.00"},
                    FormatCase{"NegativeZero1", -0.0f, 1, "0.0"},
                    FormatCase{"TinyNegativeRoundsToUnsignedZero", -0.004f, 2, "0.00"},
                    FormatCase{"SmallNegativeKeepsSign", -0.05f, 1, "-0.1"},
                    FormatCase{"LeadingZero", 0.5f, 1, "0.5"},
                    FormatCase{"ExactTieRoundsAway", 0.25f, 1, "0.3"},
                    FormatCase{"NegativeTieRoundsAway", -0.25f, 1, "-0.3"},
                    FormatCase{"ExactTieTwoDecimals", 0.125f, 2, "0.13"},
                    FormatCase{"BelowTheTieRoundsDown", 6.6149998f, 2, "6.61"},
                    FormatCase{"FloatAbove", 8.4672f, 2, "8.47"},
                    FormatCase{"PullOutOfMinusOnePointSix", -8.4672f, 2, "-8.47"},
                    FormatCase{"Large", 12345.678f, 1, "12345.7"},
                    FormatCase{"Nearest08", 0.8f, 1, "0.8"},
                    FormatCase{"NoDecimals", 2.5f, 0, "3"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

TEST(FixedFormat, IgnoresTheProcessLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    // de_DE may be missing on the machine; then the C locale already holds.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(koruba::F2(1.25f), "1.25");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(FixedFormat, HugeValuesStillFormat) {
    EXPECT_EQ(koruba::F1(1.0e20f), "100000002004087734272.0");
    EXPECT_EQ(koruba::F1(std::numeric_limits<float>::infinity()), "INF");
}

TEST(ShortestFloat, ReadsBackAsTheSameFloat) {
    for (float v : {0.0f, 0.8f, 6.6149998f, -3.1752f, 1.0e-7f, 39.69f, 1.6f}) {
        const std::string s = koruba::ShortestFloat(v);
        float back = 0.0f;
        std::from_chars(s.data(), s.data() + s.size(), back);
        EXPECT_EQ(back, v) << s;
    }
    EXPECT_EQ(koruba::ShortestFloat(0.8f), "0.8");
    EXPECT_EQ(koruba::ShortestFloat(6.6149998f), "6.615");
}

} // namespace
