#pragma once

#include "calc/BracingModel.h"
#include "calc/House.h"
#include "calc/ResultType.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace koruba {

// The warning of an upper-storey column that ends a wall and has no column
// below it: the pull of that wall has to reach the nearest lower columns,
// which this program does not compute.
inline constexpr std::string_view kNoColumnBelow = "下階に柱がありません";

// Which formula a column takes: the single-storey one (平屋, 下屋, every
// upper-storey column) or the lower-storey one of a two-storey frame.
enum class HouseFrame : std::int32_t { SingleStorey = 1, LowerStorey = 2 };

// One direction of one column: the bays beside it as the calculator holds
// them and the core's result. Side 1 is the bay on the lower-coordinate
// side of the column, side 2 the higher one. A single-storey frame keeps
// its bays in row 2 (the only storey), a lower-storey frame its own
// storey's in row 1 and the upper column's in row 2.
struct DirectionResult {
    BayTable bays;
    ResultType result;
};

struct ColumnResult {
    std::int32_t storey = 1;
    std::size_t column = 0; // index in the storey's columns
    GridPoint at;
    std::string name;
    bool through = false;
    HouseFrame frame = HouseFrame::SingleStorey;
    bool corner = false;      // 出隅 of its own storey
    bool upperColumn = false; // lower-storey frame: a storey-2 column stands on it
    bool upperCorner = false; // and that column is a 出隅 of storey 2
    std::array<DirectionResult, 2> directions;
    HouseDirection governing = HouseDirection::X;
    std::vector<std::string> warnings;

    const DirectionResult& in(HouseDirection d) const {
        return directions[static_cast<std::size_t>(d)];
    }
    const ResultType& result() const { return in(governing).result; }
};

// Every column of every storey, storey by storey in the house's order and
// within a storey in grid order (X line, then Y line). The house is
// expected to have passed houseError; indexes outside the grid are not
// read.
std::vector<ColumnResult> deriveHouse(const House& house);

// The calculator's pattern for one direction of a derived column, with its
// mirror state and the bays placed as that pattern reads them; nothing for
// a frame none of the five patterns draws (a corner column below an upper
// column that is no corner, or bays on both sides of a corner column).
struct WindowFrame {
    std::int32_t patternTag = 0;
    bool mirrored = false;
    BayTable bays;
};
std::optional<WindowFrame> windowFrameOf(const ColumnResult& column, HouseDirection d);

} // namespace koruba
