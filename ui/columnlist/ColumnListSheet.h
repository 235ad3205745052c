#pragma once

#include "report/SheetDescription.h"

#include <string>

namespace koruba {

class ColumnTableModel;

// The calculation sheet of a whole list, every row in list order: each
// computed row with its result, every other row with the reason it has
// none, so that no column is dropped from the sheet. Headed by the list's
// heading and dated today. A row is named as the batch tool names the
// record its file gives: by a name column when the file has one, else by
// its id, the list's name for it.
SheetDescription sheetOfList(const ColumnTableModel& model);

} // namespace koruba
