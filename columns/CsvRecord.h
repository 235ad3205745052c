#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::columns {

// RFC 4180 fields of one record: separated by commas; a field in double
// quotes may hold commas, line feeds and doubled quotes. A quote opens a
// quoted field only at the start of a field; elsewhere it is an ordinary
// character.

enum class CsvFault {
    None,
    TextAfterQuote, // characters between a closing quote and the next comma
    Unclosed,       // a quoted field runs to the end of the record
};

struct CsvSplit {
    std::size_t fields = 0;          // in the record
    std::size_t kept = 0;            // of them in fields and starts
    std::vector<std::size_t> starts; // byte offset of each kept field in the record
    CsvFault fault = CsvFault::None;
    std::size_t faultField = 0;  // 1-based
    std::size_t faultOffset = 0; // the byte where the fault is
};

// Splits a record (without its line end) into fields[0 .. split.kept);
// the vector only grows, so its strings keep their buffers from record to
// record. An unclosed quoted field holds the rest of the record. Fields
// past the first keep are counted and checked, not kept: a row of
// millions of empty fields costs no memory per field.
void splitCsvRecord(std::string_view record, std::vector<std::string>& fields, CsvSplit& split,
                    std::size_t keep = std::size_t(-1));

// Appends a field, in quotes when it holds a comma, quote, carriage return
// or line feed.
void appendCsvField(std::string& out, std::string_view field);

} // namespace koruba::columns
