#include "calc/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace koruba {

void AppendFixed(std::string& out, float value, int decimals) {
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "NaN" : (value < 0 ? "-INF" : "INF");
        return;
    }
    static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
    decimals = decimals < 0 ? 0 : (decimals > 3 ? 3 : decimals);
    // A float has 24 significant bits; times 10, 100 or 1000 it still fits
    // a double's 53 exactly, and so does that plus one half while it stays
    // below 2^50. The truncation below therefore sees the float's exact
    // value: ties really are ties, and they go away from zero.
    const double scaled = std::fabs(static_cast<double>(value)) * kScale[decimals];
    if (scaled >= 0x1p50) {
        // to_chars, unlike printf, writes a point whatever the C library's
        // locale (the toolkit sets it from the user's environment).
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                       std::chars_format::fixed, decimals);
        out.append(buf, res.ptr);
        return;
    }
    std::uint64_t mag = static_cast<std::uint64_t>(scaled + 0.5);
    const bool negative = value < 0.0f && mag != 0;
    // Digits from the right into a small buffer, appended at once. A value
    // that rounds to zero is shown without a sign.
    char buf[32];
    char* p = buf + sizeof buf;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + mag % 10);
        mag /= 10;
    }
    if (decimals > 0) {
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + mag % 10);
        mag /= 10;
    } while (mag > 0);
    if (negative) {
        *--p = '-';
    }
    out.append(p, static_cast<std::size_t>(buf + sizeof buf - p));
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
