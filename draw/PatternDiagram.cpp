#include "draw/PatternDiagram.h"

#include "draw/Colors.h"
#include "draw/LibDrawPixel.h"

#include <vector>

namespace koruba {

namespace {

// A diagram starts from a fresh bitmap in the button face colour; every
// member is a solid block of one colour, pen and brush alike, so the block
// covers x1..x2-1, y1..y2-1.
void drawBlocks(Picture& drwPp, const std::vector<DiagramBlock>& blocks) {
    DrwPicClear(drwPp);
    DrwFill(drwPp, clBtnFace);
    for (const DiagramBlock& b : blocks) {
        DrwRect(drwPp, b.x1, b.y1, b.x2, b.y2, 0, 0, 1, b.color, b.color, 0);
    }
}

std::vector<DiagramBlock> blocks21(std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                                   std::int32_t m, std::int32_t h, std::int32_t w);
std::vector<DiagramBlock> blocks22(std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                                   std::int32_t w);
std::vector<DiagramBlock> blocks11(std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                                   std::int32_t m, std::int32_t h, std::int32_t w);
std::vector<DiagramBlock> blocks12(std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                                   std::int32_t m, std::int32_t h, std::int32_t w);
std::vector<DiagramBlock> blocks13(std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                                   std::int32_t w);

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

namespace {

// One storey, one bay; the target column at the outer end, the beams
// running on past the other column by about half a bay.
std::vector<DiagramBlock> blocks21(std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                                   std::int32_t m, std::int32_t h, std::int32_t w) {
    const bool mirrored = reversed == 1;
    const std::int32_t half = w / 2;
    const std::int32_t b = mirrored ? x0 + m + w : x0 + m;
    const std::int32_t p = mirrored ? x0 + half + 1 : x0;
    const std::int32_t q = mirrored ? x0 + w + 2 * half + 2 : x0 + w + half + 1;
    const std::int32_t c1 = mirrored ? x0 + w : x0;
    const std::int32_t c2 = mirrored ? x0 + 2 * w : x0 + w;
    const std::int32_t t = mirrored ? x0 + 2 * w : x0;

    return {
        {b, y0 + m, b + w - m, y0 + h, clWhite},      {p, y0, q, y0 + m, clMemberOrange},
        {p, y0 + h, q, y0 + h + m, clMemberOrange},   {c1, y0, c1 + m, y0 + m + h, clMemberOrange},
        {c2, y0, c2 + m, y0 + m + h, clMemberOrange}, {t, y0 + m, t + m, y0 + h, clRed}};
}

// One storey, two bays, the target column between them.
std::vector<DiagramBlock> blocks22(std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                                   std::int32_t w) {
    std::vector<DiagramBlock> blocks{{x0 + m, y0 + m, x0 + 2 * w, y0 + h, clWhite}};
    for (std::int32_t k = 0; k <= 1; ++k) {
        blocks.push_back({x0, y0 + k * h, x0 + m + 2 * w, y0 + k * h + m, clMemberOrange});
    }
    for (std::int32_t k = 0; k <= 2; ++k) {
        blocks.push_back({x0 + k * w, y0, x0 + k * w + m, y0 + m + h, clMemberOrange});
    }
    blocks.push_back({x0 + w, y0 + m, x0 + w + m, y0 + h, clRed});
    return blocks;
}

// Two storeys, one bay in each; the target is the lower storey's outer
// column. The beams are one pixel shorter than those of pattern 21.
std::vector<DiagramBlock> blocks11(std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                                   std::int32_t m, std::int32_t h, std::int32_t w) {
    const bool mirrored = reversed == 1;
    const std::int32_t half = w / 2;
    const std::int32_t b = mirrored ? x0 + m + w : x0 + m;
    const std::int32_t p = mirrored ? x0 + half + 1 : x0;
    const std::int32_t c1 = mirrored ? x0 + w : x0;
    const std::int32_t c2 = mirrored ? x0 + 2 * w : x0 + w;
    const std::int32_t t = mirrored ? x0 + 2 * w : x0;

    std::vector<DiagramBlock> blocks{{b, y0 + m, b + w - m, y0 + 2 * h, clWhite}};
    for (std::int32_t k = 0; k <= 2; ++k) {
        blocks.push_back({p, y0 + k * h, p + w + half, y0 + k * h + m, clMemberOrange});
    }
    blocks.push_back({c1, y0, c1 + m, y0 + m + 2 * h, clMemberOrange});
    blocks.push_back({c2, y0, c2 + m, y0 + m + 2 * h, clMemberOrange});
    blocks.push_back({t, y0 + m + h, t + m, y0 + 2 * h, clRed});
    return blocks;
}

// Two storeys: two bays below with the target column between them, one bay
// above beside the continuation of the target column. The outer column on
// the side without an upper bay stands in the lower storey only.
std::vector<DiagramBlock> blocks12(std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                                   std::int32_t m, std::int32_t h, std::int32_t w) {
    const bool mirrored = reversed == 1;
    const std::int32_t u = mirrored ? x0 + m : x0 + m + w;
    const std::int32_t v = mirrored ? x0 : x0 + w;

    return {{u, y0 + m, u + w - m, y0 + h, clWhite},
            {x0 + m, y0 + m + h, x0 + 2 * w, y0 + 2 * h, clWhite},
            {v, y0, v + w + m, y0 + m, clMemberOrange},
            {x0, y0 + h, x0 + m + 2 * w, y0 + h + m, clMemberOrange},
            {x0, y0 + 2 * h, x0 + m + 2 * w, y0 + 2 * h + m, clMemberOrange},
            {x0, mirrored ? y0 : y0 + h, x0 + m, y0 + m + 2 * h, clMemberOrange},
            {x0 + w, y0, x0 + w + m, y0 + m + 2 * h, clMemberOrange},
            {x0 + 2 * w, mirrored ? y0 + h : y0, x0 + 2 * w + m, y0 + m + 2 * h, clMemberOrange},
            {x0 + w, y0 + m + h, x0 + w + m, y0 + 2 * h, clRed}};
}

// Two storeys, two bays in each; the target is the lower middle column.
std::vector<DiagramBlock> blocks13(std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                                   std::int32_t w) {
    std::vector<DiagramBlock> blocks{{x0 + m, y0 + m, x0 + 2 * w, y0 + 2 * h, clWhite}};
    for (std::int32_t k = 0; k <= 2; ++k) {
        blocks.push_back({x0, y0 + k * h, x0 + m + 2 * w, y0 + k * h + m, clMemberOrange});
    }
    for (std::int32_t k = 0; k <= 2; ++k) {
        blocks.push_back({x0 + k * w, y0, x0 + k * w + m, y0 + m + 2 * h, clMemberOrange});
    }
    blocks.push_back({x0 + w, y0 + m + h, x0 + w + m, y0 + 2 * h, clRed});
    return blocks;
}

} // namespace

std::vector<DiagramBlock> patternBlocks(std::int32_t tag, std::int32_t reversed,
                                        const DiagramGeometry& g) {
    switch (tag) {
    case 21:
        return blocks21(reversed, g.X0, g.Y0, g.M, g.H, g.W);
    case 22:
        return blocks22(g.X0, g.Y0, g.M, g.H, g.W);
    case 11:
        return blocks11(reversed, g.X0, g.Y0, g.M, g.H, g.W);
    case 12:
        return blocks12(reversed, g.X0, g.Y0, g.M, g.H, g.W);
    case 13:
        return blocks13(g.X0, g.Y0, g.M, g.H, g.W);
    default:
        return {};
    }
}

void DrawPattern21(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w) {
    drawBlocks(drwPp, blocks21(reversed, x0, y0, m, h, w));
}

void DrawPattern22(Picture& drwPp, std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                   std::int32_t w) {
    drawBlocks(drwPp, blocks22(x0, y0, m, h, w));
}

void DrawPattern11(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w) {
    drawBlocks(drwPp, blocks11(reversed, x0, y0, m, h, w));
}

void DrawPattern12(Picture& drwPp, std::int32_t reversed, std::int32_t x0, std::int32_t y0,
                   std::int32_t m, std::int32_t h, std::int32_t w) {
    drawBlocks(drwPp, blocks12(reversed, x0, y0, m, h, w));
}

void DrawPattern13(Picture& drwPp, std::int32_t x0, std::int32_t y0, std::int32_t m, std::int32_t h,
                   std::int32_t w) {
    drawBlocks(drwPp, blocks13(x0, y0, m, h, w));
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
