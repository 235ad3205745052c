#pragma once

#include "cli/RecordReader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace koruba::cli {

struct BatchOptions {
    // CSV output starts with a UTF-8 byte order mark, for spreadsheets.
    bool ByteOrderMark = true;
    // CSV cells copied from the input that a spreadsheet would take for a
    // formula (starting with =, +, -, @, tab or carriage return) get a
    // leading apostrophe, as OWASP recommends for CSV opened by
    // double-click. Such output is for reading, not for reading back.
    bool SpreadsheetSafe = false;
};

struct BatchOutcome {
    std::int64_t Records = 0;
    std::int64_t Failed = 0;
    std::string HeaderProblem; // CSV: empty when the header is usable
    bool ReadFailed = false;
    int ReadErrno = 0;
    bool WriteFailed = false;
};

// Writes bytes; false when they could not be written.
using WriteFunction = std::function<bool(std::string_view bytes)>;

// Reads every record and writes one output record for it, in order, in the
// input's format: CSV rows that repeat the input's cells and add the
// results, or JSON Lines {"id":...,"result":{...},"labels":{...}} and
// {"id":...,"error":"..."}. Stops at the first failed write.
BatchOutcome RunBatch(RecordReader& reader, const WriteFunction& write,
                      const BatchOptions& options = {});

} // namespace koruba::cli
