#pragma once

#include "calc/House.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace koruba::columns {

// The edits of a house as the plan window makes them. Each takes the house
// and the storey by its number, and either changes the house and returns
// nothing, or leaves it exactly as it was and returns why not. They keep
// the form the house file needs (walls from the lower coordinate, columns
// at wall ends and outline vertices, grid lines in order); whether the
// whole house can be derived is houseError's to say.

// The default module of the grid and its half.
inline constexpr std::int32_t kModuleMm = 910;
inline constexpr std::int32_t kHalfModuleMm = 455;

// A new house: one storey (平屋) without an outline, and a grid of
// five lines each way at the module, named X0.., Y0.. .
House newHouse();

Storey* findStorey(House& house, std::int32_t number);
const Storey* findStorey(const House& house, std::int32_t number);

// The index of the storey's wall with exactly these ends (either way round).
std::optional<std::size_t> wallBetween(const Storey& storey, GridPoint a, GridPoint b);

// Places a wall between two grid points on one grid line. A stretch over
// columns standing between the points becomes one wall per bay between
// them; a column appears at every end that has none. Refused off one
// grid line, for a single point, for a bay with nothing in it, and over a
// wall already there.
std::optional<std::string> placeWall(House& house, std::int32_t storey, GridPoint a, GridPoint b,
                                     const BayCell& bay);
// Gives a wall another bay; an empty bay removes it.
std::optional<std::string> setWallBay(House& house, std::int32_t storey, std::size_t wall,
                                      const BayCell& bay);
std::optional<std::string> removeWall(House& house, std::int32_t storey, std::size_t wall);
// Turns a single brace round (rising right to rising left and back);
// refused for a cross brace or a panel alone.
std::optional<std::string> flipWallBrace(House& house, std::int32_t storey, std::size_t wall);

// Columns: added at a free grid point; removed only where no wall ends and
// no outline vertex stands. An empty name gives the grid point's.
std::optional<std::string> addColumn(House& house, std::int32_t storey, GridPoint at);
std::optional<std::string> removeColumn(House& house, std::int32_t storey, GridPoint at);
std::optional<std::string> setColumnName(House& house, std::int32_t storey, GridPoint at,
                                         const std::string& name);
std::optional<std::string> setColumnThrough(House& house, std::int32_t storey, GridPoint at,
                                            bool through);

// Replaces the storey's outline by the points in order (the last joins the
// first), adding a column at every vertex without one. Refused for fewer
// than four points, a point off the grid or an edge off one grid line.
std::optional<std::string> setOutline(House& house, std::int32_t storey,
                                      const std::vector<GridPoint>& outline);

// Moves an outline vertex to another grid point, its two neighbours with
// it so that the edges stay along the grid (a rectangle's corner dragged
// resizes it). Columns appear at the new vertices; a column the outline
// leaves outside goes unless a wall ends at it. Refused for an index
// outside the outline or a point off the grid.
std::optional<std::string> moveOutlineVertex(House& house, std::int32_t storey, std::size_t vertex,
                                             GridPoint to);

// Grid lines of one direction (X lines fix x). Adding or moving keeps the
// lines in increasing order: a line moved past its neighbour is refused.
// A line that a column, wall or outline uses cannot be deleted. Names are
// unique over both directions.
std::optional<std::string> addGridLine(House& house, HouseDirection direction,
                                       const std::string& name, std::int32_t positionMm);
std::optional<std::string> moveGridLine(House& house, HouseDirection direction, std::size_t line,
                                        std::int32_t positionMm);
std::optional<std::string> renameGridLine(House& house, HouseDirection direction, std::size_t line,
                                          const std::string& name);
std::optional<std::string> deleteGridLine(House& house, HouseDirection direction, std::size_t line);
// A free name for a new line of the direction: "X5" after X0..X4.
std::string nextGridLineName(const House& house, HouseDirection direction);

// The upper storey: added empty (its height that of storey 1), removed
// with everything on it.
std::optional<std::string> addUpperStorey(House& house);
std::optional<std::string> removeUpperStorey(House& house);

} // namespace koruba::columns
