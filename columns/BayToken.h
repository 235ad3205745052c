#pragma once

#include "calc/BracingModel.h"

#include <string>
#include <string_view>

namespace koruba::columns {

// The text form of one wall bay, as designers write it in a batch file:
// "" or "-" for an empty bay, a brace "R45", "L30", "X90" (rising to the
// right, rising to the left, cross; optionally "x90" after the size), a
// panel "P2.5", or a brace and a panel joined by "+" ("X90+P2.5"). The
// cell comes out exactly as pressing the bay with that element chosen
// would fill it, so the batch tool and the window agree on every value.
//
// Returns false and a message naming what is wrong when the text is not a
// bay; the cell is then left empty.
bool parseBayToken(std::string_view text, BayCell& cell, std::string& error);

// The token of a cell: the inverse of parseBayToken for every cell that the
// window can produce ("" for an empty bay).
std::string bayTokenOf(const BayCell& cell);

} // namespace koruba::columns
