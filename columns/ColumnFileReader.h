#pragma once

#include "columns/ColumnList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::columns {

// A list file as cells: the column names in file order and, per record, one
// cell per name (absent where a JSON line lacks the member). The JSON
// member "bays" comes out as the four columns bay1 .. bay4.
struct TableRecord {
    std::int64_t line = 0;
    std::vector<ExtraCell> cells;
    // Why the batch tool would not compute the record, as it says it.
    std::string readerError;
};

struct RawTable {
    std::vector<std::string> names;
    std::vector<TableRecord> records;
};

// The one place where list files are read: by the batch tool's own record
// reader, so that a file means the same here and in koruba-x-calc. A file
// that is not UTF-8, or that the reader cannot split into whole records (a
// header it cannot use, a CSV row with the wrong number of cells, a record
// over the size limit, a line that is no JSON object, a member named
// twice), is refused with the line and the reason rather than opened with
// part of it missing or changed. A JSON line the tool refuses for one of
// its cells keeps all of its members here; the row then says why.
bool readTable(std::string_view bytes, ColumnFileFormat format, RawTable& table,
               std::string& error);

} // namespace koruba::columns
