#pragma once

#include <string_view>

namespace koruba::columns {

// The two formats of a column file: CSV with a header row, or JSON Lines,
// one object a line. The batch tool reads and writes both, and so does the
// column list.
enum class ColumnFileFormat { Csv, JsonLines };

// The format a file's name stands for: ".jsonl" and ".json" (in any letter
// case) are JSON Lines, anything else CSV. Standard input ("-") is CSV.
ColumnFileFormat formatOfPath(std::string_view path);

} // namespace koruba::columns
