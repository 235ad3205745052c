#include "calc/NumberFormat.h"

#include <gtest/gtest.h>

#include <ostream>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

#if defined(__unix__)
#include <stdlib.h>
#endif

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

// A locale whose decimal separator is a comma: one the machine has, or one
// generated with localedef (Debian's "locales" package) into a folder of
// the test's own that LOCPATH points at. Empty when neither works.
std::string CommaLocale(const std::filesystem::path& generated) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            return name;
        }
    }
#if defined(__unix__)
    std::filesystem::create_directories(generated);
    const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                (generated / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    // localedef exits non-zero for mere warnings; whether setlocale takes
    // the result is what counts.
    [[maybe_unused]] const int status = std::system(command.c_str());
    ::setenv("LOCPATH", generated.c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        return "de_DE.UTF-8";
    }
#else
    (void)generated;
#endif
    return {};
}

// The window's toolkit switches the C library to the user's locale; texts
// must still use a point. 1e20 lies beyond the exact integer path and goes
// through the general formatting.
TEST(FixedFormat, IgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const std::filesystem::path generated =
        std::filesystem::temp_directory_path() /
        ("koruba-locale-" + std::to_string(std::random_device{}()));
    const std::string comma = CommaLocale(generated);
    if (comma.empty()) {
        std::setlocale(LC_NUMERIC, saved.c_str());
        std::filesystem::remove_all(generated);
        GTEST_SKIP() << "no locale with a decimal comma: none installed, and localedef (Debian "
                        "package locales) could not generate de_DE.UTF-8";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << comma;
    EXPECT_EQ(koruba::F2(1.25f), "1.25");
    EXPECT_EQ(koruba::F1(1.0e20f), "100000002004087734272.0");
    EXPECT_EQ(koruba::FormatFixed(-3.0e16f, 2), "-30000000817692672.00");
    std::setlocale(LC_NUMERIC, saved.c_str());
    std::filesystem::remove_all(generated);
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
