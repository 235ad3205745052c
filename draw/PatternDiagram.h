#pragma once

#include "draw/Colors.h"
#include "draw/Picture.h"

#include <cstdint>
#include <vector>

namespace koruba {

// Diagram geometry, fixed for the life of the window: origin x, origin y,
// inset (member thickness), storey height, bay width. The bay images lie
// over the diagram's bays and the summary's example frame is drawn to it.
struct DiagramGeometry {
    std::int32_t X0 = 5;
    std::int32_t Y0 = 5;
    std::int32_t M = 5;
    std::int32_t H = 48;
    std::int32_t W = 44;
};

// Draws the frame pattern diagram of a pattern tag (21, 22, 11, 12, 13),
// mirrored when reversed is 1, into the diagram picture. Any other tag
// draws nothing. Which bay images show is the window's business: the core's
// pattern table says which bays a pattern uses.
void DrawPattern(Picture& drwPp, std::int32_t tag, std::int32_t reversed,
                 const DiagramGeometry& g = {});

// One member or bay interior of a diagram, a solid block of one colour
// covering x1..x2-1, y1..y2-1, in diagram pixels.
struct DiagramBlock {
    std::int32_t x1, y1, x2, y2;
    TColor color;
};

// The blocks of a pattern's diagram in drawing order (later blocks cover
// earlier ones), for a pattern tag and mirror state; none for any other
// tag. The window's bitmap and the printed sheet both draw these.
std::vector<DiagramBlock> patternBlocks(std::int32_t tag, std::int32_t reversed,
                                        const DiagramGeometry& g = {});

void DrawPattern21(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w);
void DrawPattern22(Picture& drwPp, std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                   std::int32_t w);
void DrawPattern11(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w);
void DrawPattern12(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w);
void DrawPattern13(Picture& drwPp, std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                   std::int32_t w);

// Place and size of a bay image (tag 1..4) in the panel that holds the
// diagram, from the geometry: 39 x 43 at (9, 9), (53, 9), (9, 57), (53, 57).
struct BayImageRect {
    std::int32_t Left, Top, Width, Height;
};
BayImageRect BayImagePlace(std::int32_t tag, const DiagramGeometry& g = {});

} // namespace koruba
