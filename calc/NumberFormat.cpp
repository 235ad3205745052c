#include "calc/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace koruba {

void AppendFixed(std::string& out, float value, int decimals) {
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "NaN" : (value < 0 ? "-INF" : "INF");
        return;
    }
    long double scale = 1.0L;
    std::uint64_t unit = 1;
    for (int i = 0; i < decimals; ++i) {
        scale *= 10.0L;
        unit *= 10;
    }
    // A float has 24 significant bits; times 10 or 100 it still fits the
    // long double mantissa exactly, so the rounding below sees the float's
    // exact value and ties really are ties.
    const long double scaled = std::round(static_cast<long double>(value) * scale);
    if (std::fabs(scaled) >= 9.0e18L) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(value));
        out += buf;
        return;
    }
    const auto units = static_cast<std::int64_t>(scaled);
    const std::uint64_t mag =
        units < 0 ? static_cast<std::uint64_t>(-units) : static_cast<std::uint64_t>(units);
    if (units < 0) {
        out += '-';
    }
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, mag / unit);
    out.append(buf, res.ptr);
    if (decimals > 0) {
        out += '.';
        std::uint64_t frac = mag % unit;
        for (std::uint64_t d = unit / 10; d > 0; d /= 10) {
            out += static_cast<char>('0' + frac / d);
            frac %= d;
        }
    }
}

std::string FormatFixed(float value, int decimals) {
    std::string s;
    AppendFixed(s, value, decimals);
    return s;
}

std::string ShortestFloat(float value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

} // namespace koruba
