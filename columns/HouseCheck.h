#pragma once

#include "calc/House.h"

#include <optional>
#include <string>

namespace koruba::columns {

// Why a house cannot be derived, naming the member and the grid point or
// grid line concerned ("storeys[0].walls[2] (X0-Y0 to X1-Y1): ..."), or
// nothing when it can: the grid strictly increasing with unique names, one
// storey or storeys 1 and 2, heights where the 2025 rules need them, each
// outline closed, rectilinear, not crossing itself and with a column at
// every vertex, every column and wall inside its storey's outline, each
// wall along one grid line between two columns with no column strictly
// inside it and no other wall over it.
std::optional<std::string> houseError(const House& house);

// The grid part of it alone: names given and unique over both directions,
// positions strictly increasing, at least one line each way.
std::optional<std::string> gridError(const House& house);

} // namespace koruba::columns
