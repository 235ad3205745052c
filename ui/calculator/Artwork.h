#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

class QPainter;

namespace koruba::artwork {

// The window's fixed pictures as painting code. Each paints in its own
// design coordinates (the sizes below) on a transparent ground; callers
// scale the painter to the pixel size they need.

// Tool-bar button images.
inline constexpr QSize kToolImageSize{101, 106};
// A frame pattern (tag 21, 22, 11, 12 or 13) in orange with the column
// under study in red and the two caption lines beneath it.
void paintPatternImage(QPainter& painter, std::int32_t patternTag);
// The caption under a pattern's picture as one line ("２階または１階
// 下屋の出隅"), for lists that name the pattern; empty for any other tag.
QString patternCaptionLine(std::int32_t patternTag);
// The summary button: a grey frame round "使用方法", "および", "計算概要".
void paintSummaryImage(QPainter& painter);

// The 14 x 14 icons beside the element choices, by element kind (1 brace
// rising to the right, 2 rising to the left, 3 cross brace, 4 panel).
inline constexpr QSize kElementIconSize{14, 14};
void paintElementIcon(QPainter& painter, std::int32_t elementKind);

// Button glyphs: two mirrored frames with a red double arrow, and an open
// door with an arrow.
inline constexpr QSize kMirrorGlyphSize{36, 16};
void paintMirrorGlyph(QPainter& painter);
inline constexpr QSize kCloseGlyphSize{16, 16};
void paintCloseGlyph(QPainter& painter);

} // namespace koruba::artwork
