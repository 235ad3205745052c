#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace koruba {

// The rule set an N value is computed under. The 2000 method is the
// default; the 2025 revision multiplies each storey's term by a
// storey-height factor and no longer caps a bay's multiplier sum at 5.0.
// The values are the years, as users and files write them.
enum class RuleSet : std::int32_t {
    Notice2000 = 2000,
    Revision2025 = 2025,
};

// Storey heights are held in whole centimetres: heights are given to the
// centimetre, and an integer keeps 3.20 m exactly at the factor's limit.
inline constexpr std::int32_t kMinStoreyHeightCm = 200;
inline constexpr std::int32_t kMaxStoreyHeightCm = 450;
// Up to this height a storey counts as the standard 2.7 m (factor 1).
inline constexpr std::int32_t kStandardHeightLimitCm = 320;
// The height the factor divides by.
inline constexpr std::int32_t kReferenceHeightCm = 270;

// What an N value is computed under besides the bays: the rule set and,
// for the 2025 rules, the height of the column's own storey (h1) and of
// the storey above (h2, two-storey frames only). 0 means not given.
struct CalcConditions {
    RuleSet rules = RuleSet::Notice2000;
    std::int32_t h1Cm = 0;
    std::int32_t h2Cm = 0;

    friend bool operator==(const CalcConditions&, const CalcConditions&) = default;
};

bool isValidStoreyHeight(std::int32_t cm);

// f(H): 1 up to 3.20 m, H / 2.7 above. Heights outside the accepted range
// are the caller's fault; check them with conditionsError first.
long double heightFactor(std::int32_t cm);

// Why the conditions cannot be used for a column of storeyCount storeys
// (which height is missing or out of range), or nothing when they can.
// The 2000 rules need no heights; heights given with them are ignored.
std::optional<std::string> conditionsError(const CalcConditions& conditions,
                                           std::int32_t storeyCount);

// A storey height in metres as users type it ("3.3", "3.30", "3"; blanks
// around allowed, a point as the separator, at most two decimals), to
// centimetres within the accepted range. On failure the error names the
// text and the range.
bool parseStoreyHeight(std::string_view text, std::int32_t& cm, std::string& error);

// "2000" or "2025", blanks around allowed.
bool parseRuleSet(std::string_view text, RuleSet& rules, std::string& error);

// "3.30": metres with two decimals, the precision heights are given in.
std::string storeyHeightText(std::int32_t cm);

} // namespace koruba
