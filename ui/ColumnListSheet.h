#pragma once

#include "report/SheetDescription.h"

#include <string>

namespace koruba {

class ColumnTableModel;

// The calculation sheet of a whole list, every row in list order: each
// computed row with its result, every other row with the reason it has
// none, so that no column is dropped from the sheet.
SheetDescription sheetOfList(const ColumnTableModel& model, std::string project, std::string date);

} // namespace koruba
