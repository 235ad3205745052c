#pragma once

#include <string>

namespace koruba {

// Fixed-point text of a 32-bit float with the given number of decimals
// (the display patterns "0.0" and "0.00"): the float's exact value is
// rounded half away from zero, at least one integer digit, a point as the
// separator whatever the locale. A value that rounds to zero has no sign.
// Decimals are held to 0..3.
std::string FormatFixed(float value, int decimals);
void AppendFixed(std::string& out, float value, int decimals);

inline std::string F1(float v) {
    return FormatFixed(v, 1);
}
inline std::string F2(float v) {
    return FormatFixed(v, 2);
}

// Shortest decimal text that reads back as the same 32-bit float.
std::string ShortestFloat(float value);

} // namespace koruba
