#pragma once

#include "columns/RecordReader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace koruba::columns {

struct BatchOptions {
    // CSV output starts with a UTF-8 byte order mark, for spreadsheets.
    bool byteOrderMark = true;
    // CSV cells copied from the input that a spreadsheet would take for a
    // formula (starting with =, +, -, @, tab or carriage return) get a
    // leading apostrophe, as OWASP recommends for CSV opened by
    // double-click. Such output is for reading, not for reading back.
    bool spreadsheetSafe = false;
};

struct BatchOutcome {
    std::int64_t records = 0;
    std::int64_t failed = 0;
    std::string headerProblem; // CSV: empty when the header is usable
    bool readFailed = false;
    int readErrno = 0;
    bool writeFailed = false;
};

// Writes bytes; false when they could not be written.
using WriteFunction = std::function<bool(std::string_view bytes)>;

// Reads every record and writes one output record for it, in order, in the
// input's format: CSV rows that repeat the input's cells and add the
// results, or JSON Lines {"id":...,"result":{...},"labels":{...}} and
// {"id":...,"error":"..."}. Stops at the first failed write.
BatchOutcome runBatch(RecordReader& reader, const WriteFunction& write,
                      const BatchOptions& options = {});

} // namespace koruba::columns
