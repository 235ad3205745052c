#pragma once

#include "ui/ColumnRow.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koruba {

// A list file as cells: the column names in file order and, per record, one
// cell per name (absent where a JSON line lacks the member). The JSON
// member "bays" comes out as the four columns bay1 .. bay4.
struct RawRecord {
    std::int64_t line = 0;
    std::vector<ExtraCell> cells;
};

struct RawTable {
    std::vector<std::string> names;
    std::vector<RawRecord> records;
};

// The one place where list files are read. Records are split and unquoted
// by the batch tool's own readers, so that a file means the same here and
// in koruba-x-calc. A file that cannot be split into records (a quote
// never closed, a row with the wrong number of cells, a line that is not a
// JSON object, text that is not UTF-8) is refused with the line and the
// reason rather than opened with part of it missing.
bool readCsvTable(std::string_view bytes, RawTable& table, std::string& error);
bool readJsonLinesTable(std::string_view bytes, RawTable& table, std::string& error);

} // namespace koruba
