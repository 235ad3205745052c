#pragma once

#include "calc/House.h"

#include <string>

namespace koruba::cli {

// The batch output of a house: one record per column and storey, in the
// order the derivation gives them (storey by storey, grid order within a
// storey). Per direction the bays beside the column (the column's own
// storey, and the upper column's for the lower storey of a two-storey
// frame), the terms and N; then the governing direction, N and the
// hardware, and the warnings. The house is expected to have been read and
// checked (columns::readHouse).

// CSV with a header row, CRLF line ends and, when asked, a byte order mark,
// as the column output is written.
std::string houseCsv(const House& house, bool byteOrderMark);

// JSON Lines: one object per column, "\n" after each.
std::string houseJsonLines(const House& house);

} // namespace koruba::cli
