#include "draw/PatternDiagram.h"

#include "draw/Colors.h"
#include "draw/LibDrawPixel.h"

namespace koruba {

namespace {

// Every member is a solid block of one colour: pen and brush alike, so the
// block covers x1..x2-1, y1..y2-1.
void Block(Picture& drwPp, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
           TColor color) {
    DrwRect(drwPp, x1, y1, x2, y2, 0, 0, 1, color, color, 0);
}

// A diagram starts from a fresh bitmap in the button face colour.
void StartDiagram(Picture& drwPp) {
    DrwPicClear(drwPp);
    DrwFill(drwPp, clBtnFace);
}

} // namespace

void DrawPattern(Picture& drwPp, std::int32_t tag, std::int32_t reversed,
                 const DiagramGeometry& g) {
    switch (tag) {
    case 21:
        DrawPattern21(drwPp, reversed, g.X0, g.Y0, g.M, g.H, g.W);
        break;
    case 22:
        DrawPattern22(drwPp, g.X0, g.Y0, g.M, g.H, g.W);
        break;
    case 11:
        DrawPattern11(drwPp, reversed, g.X0, g.Y0, g.M, g.H, g.W);
        break;
    case 12:
        DrawPattern12(drwPp, reversed, g.X0, g.Y0, g.M, g.H, g.W);
        break;
    case 13:
        DrawPattern13(drwPp, g.X0, g.Y0, g.M, g.H, g.W);
        break;
    default:
        break;
    }
}

// One storey, one bay; the target column at the outer end, the beams
// running on past the other column by about half a bay.
void DrawPattern21(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w) {
    const bool mirrored = reversed == 1;
    const std::int32_t half = w / 2;
    const std::int32_t b = mirrored ? x0 + m + w : x0 + m;
    const std::int32_t p = mirrored ? x0 + half + 1 : x0;
    const std::int32_t q = mirrored ? x0 + w + 2 * half + 2 : x0 + w + half + 1;
    const std::int32_t c1 = mirrored ? x0 + w : x0;
    const std::int32_t c2 = mirrored ? x0 + 2 * w : x0 + w;
    const std::int32_t t = mirrored ? x0 + 2 * w : x0;

    StartDiagram(drwPp);
    Block(drwPp, b, y0 + m, b + w - m, y0 + h, clWhite);
    Block(drwPp, p, y0, q, y0 + m, clMemberOrange);
    Block(drwPp, p, y0 + h, q, y0 + h + m, clMemberOrange);
    Block(drwPp, c1, y0, c1 + m, y0 + m + h, clMemberOrange);
    Block(drwPp, c2, y0, c2 + m, y0 + m + h, clMemberOrange);
    Block(drwPp, t, y0 + m, t + m, y0 + h, clRed);
}

// One storey, two bays, the target column between them.
void DrawPattern22(Picture& drwPp, std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                   std::int32_t w) {
    StartDiagram(drwPp);
    Block(drwPp, x0 + m, y0 + m, x0 + 2 * w, y0 + h, clWhite);
    for (std::int32_t k = 0; k <= 1; ++k) {
        Block(drwPp, x0, y0 + k * h, x0 + m + 2 * w, y0 + k * h + m, clMemberOrange);
    }
    for (std::int32_t k = 0; k <= 2; ++k) {
        Block(drwPp, x0 + k * w, y0, x0 + k * w + m, y0 + m + h, clMemberOrange);
    }
    Block(drwPp, x0 + w, y0 + m, x0 + w + m, y0 + h, clRed);
}

// Two storeys, one bay in each; the target is the lower storey's outer
// column. The beams are one pixel shorter than those of pattern 21.
void DrawPattern11(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w) {
    const bool mirrored = reversed == 1;
    const std::int32_t half = w / 2;
    const std::int32_t b = mirrored ? x0 + m + w : x0 + m;
    const std::int32_t p = mirrored ? x0 + half + 1 : x0;
    const std::int32_t c1 = mirrored ? x0 + w : x0;
    const std::int32_t c2 = mirrored ? x0 + 2 * w : x0 + w;
    const std::int32_t t = mirrored ? x0 + 2 * w : x0;

    StartDiagram(drwPp);
    Block(drwPp, b, y0 + m, b + w - m, y0 + 2 * h, clWhite);
    for (std::int32_t k = 0; k <= 2; ++k) {
        Block(drwPp, p, y0 + k * h, p + w + half, y0 + k * h + m, clMemberOrange);
    }
    Block(drwPp, c1, y0, c1 + m, y0 + m + 2 * h, clMemberOrange);
    Block(drwPp, c2, y0, c2 + m, y0 + m + 2 * h, clMemberOrange);
    Block(drwPp, t, y0 + m + h, t + m, y0 + 2 * h, clRed);
}

// Two storeys: two bays below with the target column between them, one bay
// above beside the continuation of the target column. The outer column on
// the side without an upper bay stands in the lower storey only.
void DrawPattern12(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w) {
    const bool mirrored = reversed == 1;
    const std::int32_t u = mirrored ? x0 + m : x0 + m + w;
    const std::int32_t v = mirrored ? x0 : x0 + w;

    StartDiagram(drwPp);
    Block(drwPp, u, y0 + m, u + w - m, y0 + h, clWhite);
    Block(drwPp, x0 + m, y0 + m + h, x0 + 2 * w, y0 + 2 * h, clWhite);
    Block(drwPp, v, y0, v + w + m, y0 + m, clMemberOrange);
    Block(drwPp, x0, y0 + h, x0 + m + 2 * w, y0 + h + m, clMemberOrange);
    Block(drwPp, x0, y0 + 2 * h, x0 + m + 2 * w, y0 + 2 * h + m, clMemberOrange);
    Block(drwPp, x0, mirrored ? y0 : y0 + h, x0 + m, y0 + m + 2 * h, clMemberOrange);
    Block(drwPp, x0 + w, y0, x0 + w + m, y0 + m + 2 * h, clMemberOrange);
    Block(drwPp, x0 + 2 * w, mirrored ? y0 + h : y0, x0 + 2 * w + m, y0 + m + 2 * h,
          clMemberOrange);
    Block(drwPp, x0 + w, y0 + m + h, x0 + w + m, y0 + 2 * h, clRed);
}

// Two storeys, two bays in each; the target is the lower middle column.
void DrawPattern13(Picture& drwPp, std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                   std::int32_t w) {
    StartDiagram(drwPp);
    Block(drwPp, x0 + m, y0 + m, x0 + 2 * w, y0 + 2 * h, clWhite);
    for (std::int32_t k = 0; k <= 2; ++k) {
        Block(drwPp, x0, y0 + k * h, x0 + m + 2 * w, y0 + k * h + m, clMemberOrange);
    }
    for (std::int32_t k = 0; k <= 2; ++k) {
        Block(drwPp, x0 + k * w, y0, x0 + k * w + m, y0 + m + 2 * h, clMemberOrange);
    }
    Block(drwPp, x0 + w, y0 + m + h, x0 + w + m, y0 + 2 * h, clRed);
}

BayImageRect BayImagePlace(std::int32_t tag, const DiagramGeometry& g) {
    if (tag < 1 || tag > 4) {
        return {0, 0, 0, 0};
    }
    // Tags 2 and 4 are the right-hand bays, 3 and 4 the lower storey. The
    // panel places the diagram at (-1, -1), hence the minus one.
    const bool right = tag == 2 || tag == 4;
    const bool lower = tag >= 3;
    return {g.X0 + (right ? g.W : 0) + g.M - 1, g.Y0 + (lower ? g.H : 0) + g.M - 1, g.W - g.M,
            g.H - g.M};
}

} // namespace koruba
