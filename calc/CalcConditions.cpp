#include "calc/CalcConditions.h"

#include "calc/PlainText.h"
namespace koruba {

namespace {

std::string quoted(std::string_view s) {
    std::string q = "\"";
    q += s;
    q += '"';
    return q;
}

std::string rangeText() {
    return "a storey height is given in metres from " + storeyHeightText(kMinStoreyHeightCm) +
           " to " + storeyHeightText(kMaxStoreyHeightCm) + ", to the centimetre (such as 2.90)";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isValidStoreyHeight(std::int32_t cm) {
    return cm >= kMinStoreyHeightCm && cm <= kMaxStoreyHeightCm;
}

long double heightFactor(std::int32_t cm) {
    if (cm <= kStandardHeightLimitCm) {
        return 1.0L;
    }
    return static_cast<long double>(cm) / kReferenceHeightCm;
}

std::optional<std::string> conditionsError(const CalcConditions& c, std::int32_t storeyCount) {
    if (c.rules == RuleSet::Notice2000) {
        return std::nullopt;
    }
    if (c.rules != RuleSet::Revision2025) {
        return "unknown rule set";
    }
    const auto check = [](std::int32_t cm, const char* name) -> std::optional<std::string> {
        if (cm == 0) {
            return std::string("the 2025 rules need the storey height ") + name;
        }
        if (!isValidStoreyHeight(cm)) {
            return std::string("storey height ") + name + " " + storeyHeightText(cm) + ": " +
                   rangeText();
        }
        return std::nullopt;
    };
    if (auto e = check(c.h1Cm, "h1")) {
        return e;
    }
    if (storeyCount == 2) {
        return check(c.h2Cm, "h2");
    }
    return std::nullopt;
}

bool parseStoreyHeight(std::string_view text, std::int32_t& cm, std::string& error) {
    const std::string_view t = trimBlanks(text);
    // Digits, optionally a point and one or two more digits: anything else
    // (a comma, a sign, an exponent, a unit) is refused rather than guessed.
    std::size_t i = 0;
    std::int64_t whole = 0;
    while (i < t.size() && isDigit(t[i]) && i < 4) {
        whole = whole * 10 + (t[i] - '0');
        ++i;
    }
    bool ok = i > 0;
    std::int64_t hundredths = 0;
    if (ok && i < t.size() && t[i] == '.') {
        ++i;
        int decimals = 0;
        while (i < t.size() && isDigit(t[i]) && decimals < 2) {
            hundredths = hundredths * 10 + (t[i] - '0');
            ++i;
            ++decimals;
        }
        ok = decimals > 0;
        if (decimals == 1) {
            hundredths *= 10;
        }
    }
    ok = ok && i == t.size();
    const std::int64_t value = whole * 100 + hundredths;
    if (!ok || value < kMinStoreyHeightCm || value > kMaxStoreyHeightCm) {
        error = quoted(text) + ": " + rangeText();
        return false;
    }
    cm = static_cast<std::int32_t>(value);
    return true;
}

bool parseRuleSet(std::string_view text, RuleSet& rules, std::string& error) {
    const std::string_view t = trimBlanks(text);
    if (t == "2000") {
        rules = RuleSet::Notice2000;
        return true;
    }
    if (t == "2025") {
        rules = RuleSet::Revision2025;
        return true;
    }
    error = "rules " + quoted(text) + ": must be 2000 or 2025";
    return false;
}

std::string storeyHeightText(std::int32_t cm) {
    const bool negative = cm < 0;
    const std::int64_t v = negative ? -static_cast<std::int64_t>(cm) : cm;
    std::string s = negative ? "-" : "";
    s += std::to_string(v / 100);
    s += '.';
    s += static_cast<char>('0' + (v / 10) % 10);
    s += static_cast<char>('0' + v % 10);
    return s;
}

} // namespace koruba
