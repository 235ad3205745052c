#pragma once

#include "calc/House.h"
#include "report/SheetDescription.h"

#include <string>

namespace koruba {

// The calculation sheet of a house: every column derived in both
// directions, in the house's tables (2階の柱, 1階の柱, 平屋・下屋の柱) in
// grid order, each named by its grid point with its own name and 通し柱
// beneath; the derivation's warnings in the notes and the hardware
// schedule after them. Before the tables, the plan of each storey with
// every column's symbol (算定平面図), upper storey first. Project,
// designer and rules are the house's; date is the sheet's date as written
// on it. The house is expected to have been read and checked
// (columns::readHouse).
SheetDescription houseSheet(const House& house, const std::string& date);

} // namespace koruba
