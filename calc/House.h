#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace koruba {

// A grid line (通り芯): its name as the plan writes it and its position in
// millimetres. The lines of one direction are held in increasing position.
struct GridLine {
    std::string name;
    std::int32_t positionMm = 0;

    friend bool operator==(const GridLine&, const GridLine&) = default;
};

// A grid point, by the indexes of its X line (running across x, so it
// fixes x) and its Y line in the house's grid vectors.
struct GridPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend auto operator<=>(const GridPoint&, const GridPoint&) = default;
};

struct HouseColumn {
    GridPoint at;
    std::string name; // empty: named by its grid point, "X1-Y2"
    bool through = false;

    friend bool operator==(const HouseColumn&, const HouseColumn&) = default;
};

// A bearing wall from one grid point to another on one grid line, with
// what stands in it as a bay of the calculator. A single brace kind reads
// along the line toward the higher coordinate: rising right means rising
// toward higher x (or y), as the window's bays read from left to right.
struct HouseWall {
    GridPoint from;
    GridPoint to;
    BayCell bay;

    friend bool operator==(const HouseWall&, const HouseWall&) = default;
};

struct Storey {
    std::int32_t number = 1;   // 1 the ground storey, 2 the upper storey
    std::int32_t heightCm = 0; // 0: not given (the 2000 rules need none)
    std::vector<GridPoint> outline;
    std::vector<HouseColumn> columns;
    std::vector<HouseWall> walls;

    friend bool operator==(const Storey&, const Storey&) = default;
};

// A house as a plan: the grid, the rules, and one storey (平屋) or two.
struct House {
    std::string project;
    std::string designer;
    RuleSet rules = RuleSet::Notice2000;
    std::vector<GridLine> gridX;
    std::vector<GridLine> gridY;
    std::vector<Storey> storeys;

    friend bool operator==(const House&, const House&) = default;
};

// The two wall directions: X walls run parallel to the x axis (their ends
// share a Y line), Y walls parallel to the y axis.
enum class HouseDirection : std::int32_t { X = 0, Y = 1 };

// "X1-Y2": the names of the grid lines through the point; "?" for an index
// outside the grid.
std::string gridPointName(const House& house, GridPoint p);
// The column's own name, or its grid point's.
std::string columnName(const House& house, const HouseColumn& column);
// "1階", "2階"; a single storey is "平屋".
std::string storeyLabel(const House& house, std::int32_t storeyNumber);

} // namespace koruba

namespace koruba {

// Whether a point lies inside the outline or on its boundary. The outline
// is a closed polygon of grid points; the point is given with both grid
// indexes doubled, so that the middle of a grid segment can be asked too.
bool outlineCoversTwice(const std::vector<GridPoint>& outline, std::int64_t twiceX,
                        std::int64_t twiceY);
inline bool outlineCovers(const std::vector<GridPoint>& outline, GridPoint p) {
    return outlineCoversTwice(outline, 2 * static_cast<std::int64_t>(p.x),
                              2 * static_cast<std::int64_t>(p.y));
}

// For each vertex of the outline, whether it is a convex vertex (出隅).
// A concave vertex (入隅) or one where the outline runs straight on is not.
std::vector<bool> convexVertices(const std::vector<GridPoint>& outline);

} // namespace koruba
