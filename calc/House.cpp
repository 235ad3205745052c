#include "calc/House.h"

#include <algorithm>
#include <cstddef>

namespace koruba {

namespace {

const std::string* lineName(const std::vector<GridLine>& lines, std::int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < lines.size()
               ? &lines[static_cast<std::size_t>(i)].name
               : nullptr;
}

// Twice the signed area in index space: positive when the outline runs
// anticlockwise (x to the right, y upward).
std::int64_t twiceArea(const std::vector<GridPoint>& outline) {
    std::int64_t a = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const GridPoint& p = outline[i];
        const GridPoint& q = outline[(i + 1) % outline.size()];
        a += static_cast<std::int64_t>(p.x) * q.y - static_cast<std::int64_t>(q.x) * p.y;
    }
    return a;
}

} // namespace

std::string gridPointName(const House& house, GridPoint p) {
    const std::string* x = lineName(house.gridX, p.x);
    const std::string* y = lineName(house.gridY, p.y);
    return (x != nullptr ? *x : std::string("?")) + "-" + (y != nullptr ? *y : std::string("?"));
}

std::string columnName(const House& house, const HouseColumn& column) {
    return column.name.empty() ? gridPointName(house, column.at) : column.name;
}

std::string storeyLabel(const House& house, std::int32_t storeyNumber) {
    if (house.storeys.size() == 1) {
        return "平屋";
    }
    return std::to_string(storeyNumber) + "階";
}

bool outlineCoversTwice(const std::vector<GridPoint>& outline, std::int64_t px, std::int64_t py) {
    const std::size_t n = outline.size();
    bool inside = false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::int64_t ax = 2 * static_cast<std::int64_t>(outline[i].x);
        const std::int64_t ay = 2 * static_cast<std::int64_t>(outline[i].y);
        const std::int64_t bx = 2 * static_cast<std::int64_t>(outline[(i + 1) % n].x);
        const std::int64_t by = 2 * static_cast<std::int64_t>(outline[(i + 1) % n].y);
        // On the boundary: the edges run along grid lines.
        if ((ax == bx && px == ax && py >= std::min(ay, by) && py <= std::max(ay, by)) ||
            (ay == by && py == ay && px >= std::min(ax, bx) && px <= std::max(ax, bx))) {
            return true;
        }
        // A ray toward +x crosses the edges that run along y; half-open in
        // y so that a vertex on the ray counts once.
        if (ax == bx && ax > px && py >= std::min(ay, by) && py < std::max(ay, by)) {
            inside = !inside;
        }
    }
    return inside;
}

std::vector<bool> convexVertices(const std::vector<GridPoint>& outline) {
    const std::size_t n = outline.size();
    std::vector<bool> convex(n, false);
    const std::int64_t area = twiceArea(outline);
    if (n < 3 || area == 0) {
        return convex;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const GridPoint& a = outline[(i + n - 1) % n];
        const GridPoint& b = outline[i];
        const GridPoint& c = outline[(i + 1) % n];
        const std::int64_t cross = static_cast<std::int64_t>(b.x - a.x) * (c.y - b.y) -
                                   static_cast<std::int64_t>(b.y - a.y) * (c.x - b.x);
        // A turn the same way as the whole outline turns is a convex one.
        convex[i] = cross != 0 && (cross > 0) == (area > 0);
    }
    return convex;
}

} // namespace koruba
