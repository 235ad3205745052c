#pragma once

#include "cli/OutputBuffer.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::cli {

// RFC 4180 records: fields separated by commas, records by line feeds (a
// carriage return before the line feed is dropped), a field in double
// quotes may hold commas, line feeds and doubled quotes. A quote opens a
// quoted field only at the start of a field; elsewhere it is an ordinary
// character. The record scanner and the record reader follow the same
// rules, so a chunk cut at a record end always holds whole records.

// Length of the longest prefix of data made of whole records; 0 when none.
std::size_t CsvWholeRecordsEnd(std::string_view data);
// Length of the first record with its line feed; npos when not complete.
std::size_t CsvFirstRecordEnd(std::string_view data);

enum class CsvFault {
    None,
    TextAfterQuote, // characters between a closing quote and the next comma
    Unclosed,       // a quoted field runs to the end of the data
};

struct CsvRecordInfo {
    std::size_t Fields = 0;
    std::size_t LineFeeds = 0; // line feeds consumed, for line numbers
    CsvFault Fault = CsvFault::None;
    std::size_t FaultField = 0; // 1-based
};

// Reads the record at pos into fields[0 .. info.Fields) (the vector only
// grows, so its strings keep their buffers from record to record) and moves
// pos past its line end. A record whose quoted field never closes ends at
// the end of its first line, so that the records after it are still read.
void ReadCsvRecord(std::string_view data, std::size_t& pos, std::vector<std::string>& fields,
                   CsvRecordInfo& info);

// Appends a field, in quotes when it holds a comma, quote, carriage return
// or line feed.
void AppendCsvField(OutputBuffer& out, std::string_view field);

} // namespace koruba::cli
