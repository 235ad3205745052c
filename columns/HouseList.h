#pragma once

#include "calc/House.h"
#include "columns/ColumnList.h"

#include <string_view>

namespace koruba::columns {

// The first words of a pattern cell that stands for a frame none of the
// calculator's patterns draws; the rest of the cell says why. Such a row
// never computes, and says the cell as its reason.
inline constexpr std::string_view kNoPatternMark = "パターンなし";

// A house as a column list: one row per column and direction, named
// "1F-X1-Y2-X" by storey, grid point and direction, in the derivation's
// order, with the pattern, mirror state, bays, rules and heights that give
// the derived N of that column and direction. A column and direction that
// no pattern draws becomes a row whose pattern cell says why, so that it
// is never computed with another frame's numbers. The house is expected
// to have passed the house file reader's checks.
ColumnList listOfHouse(const House& house);

} // namespace koruba::columns
