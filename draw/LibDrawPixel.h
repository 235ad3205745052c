#pragma once

#include "draw/Colors.h"
#include "draw/Picture.h"

#include <QString>

#include <cstdint>

namespace koruba {

// The only way the program draws: five procedures on an image control's
// picture. Each sets the canvas attributes that it is given and leaves all
// others as the last call on the same picture left them; codes outside
// their tables leave that attribute unchanged.

void DrwPicClear(Picture& image);
void DrwFill(Picture& image, TColor color);
// Pen style 0..4 (solid, dash, dot, dash-dot, dash-dot-dot); pen mode 0
// copy, 1 not-xor; brush style 0 clear, 1 solid, 2..7 hatches. With a pen
// of at most one pixel the rectangle covers X1..X2-1, Y1..Y2-1.
void DrwRect(Picture& image, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
             std::int32_t penWidth, std::int32_t penStyle, std::int32_t brushStyle, TColor penColor,
             TColor brushColor, std::int32_t penMode);
// Pen mode 0 copy, 1 mask (pen AND screen).
void DrwLine(Picture& image, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
             std::int32_t penWidth, std::int32_t penStyle, TColor penColor, std::int32_t penMode);
// Font family 1 "ＭＳ 明朝", 2 "ＭＳＰ 明朝", 3 "ＭＳ ゴシック", 4 "ＭＳＰ ゴシック";
// Bold 1 is bold, anything else regular; angle in degrees, counter-clockwise,
// truncated to tenths.
void DrwText(Picture& image, std::int32_t x, std::int32_t y, float angle, const QString& text,
             std::int32_t fontSize, std::int32_t fontFamily, std::int32_t bold,
             std::int32_t brushStyle, TColor fontColor, TColor brushColor);

} // namespace koruba
