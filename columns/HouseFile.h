#pragma once

#include "calc/House.h"

#include <string>
#include <string_view>

namespace koruba::columns {

// The house file (*.kxhouse): one JSON object in UTF-8, members "format"
// ("koruba-x-house"), "version" (1), "project", "designer", "rules",
// "grid" {"x", "y"} and "storeys". Grid points are written by the names of
// their lines, ["X1", "Y2"].
inline constexpr std::string_view kHouseFormat = "koruba-x-house";
inline constexpr std::int64_t kHouseVersion = 1;
inline constexpr std::string_view kHouseSuffix = ".kxhouse";

// Reads a house and checks it as houseError does. On failure the house is
// left as it was and the error names the member ("storeys[1].walls[0].bay")
// and the place (the grid point or line).
bool readHouse(std::string_view text, House& house, std::string& error);

// The text of a house: fixed member order, two-space indentation, one
// column or wall a line, a newline at the end, so that what this writes
// reads back to the same house and writes again to the same bytes.
std::string writeHouse(const House& house);

} // namespace koruba::columns
