#pragma once

#include <QColor>

#include <cstdint>

namespace koruba {

// A colour as the drawing procedures take it: red in the lowest byte, then
// green, then blue. A negative value names a system colour by its index in
// the lowest byte.
using TColor = std::int32_t;

constexpr TColor RgbColor(int r, int g, int b) {
    return static_cast<TColor>(static_cast<std::uint32_t>(r) |
                               (static_cast<std::uint32_t>(g) << 8) |
                               (static_cast<std::uint32_t>(b) << 16));
}

inline constexpr TColor clBlack = RgbColor(0, 0, 0);
inline constexpr TColor clWhite = RgbColor(255, 255, 255);
inline constexpr TColor clRed = RgbColor(255, 0, 0);
inline constexpr TColor clSkyBlue = RgbColor(166, 202, 240);
// Frame members and braces.
inline constexpr TColor clMemberOrange = RgbColor(255, 170, 0);
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0xFF000010);

// The colour to paint with; system colours come from the application
// palette (button face from QPalette::Button).
QColor ToQColor(TColor color);

} // namespace koruba
