#include "ui/ColumnFileReader.h"

#include "cli/RecordReader.h"

#include <simdjson.h>

#include <algorithm>
#include <cstring>

namespace koruba {

namespace {

std::string lineError(std::int64_t line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

cli::ReadFunction readFromText(std::string_view bytes) {
    return [bytes, pos = std::size_t{0}](char* buf, std::size_t n) mutable -> std::ptrdiff_t {
        const std::size_t k = std::min(n, bytes.size() - pos);
        std::memcpy(buf, bytes.data() + pos, k);
        pos += k;
        return static_cast<std::ptrdiff_t>(k);
    };
}

// The reader keeps the JSON member "bays" as its array's JSON text; the
// list holds the four tokens as cells of their own.
bool splitBays(std::string_view json, std::array<std::string, 4>& tokens) {
    simdjson::ondemand::parser parser;
    const simdjson::padded_string padded(json);
    simdjson::ondemand::document document;
    simdjson::ondemand::array array;
    if (parser.iterate(padded).get(document) != simdjson::SUCCESS ||
        document.get_array().get(array) != simdjson::SUCCESS) {
        return false;
    }
    std::size_t count = 0;
    for (auto element : array) {
        std::string_view token;
        if (count == tokens.size() || element.get_string().get(token) != simdjson::SUCCESS) {
            return false;
        }
        tokens[count++] = std::string(token);
    }
    return count == tokens.size();
}

std::size_t columnOf(RawTable& table, std::string_view name) {
    const auto it = std::find(table.names.begin(), table.names.end(), name);
    if (it != table.names.end()) {
        return static_cast<std::size_t>(it - table.names.begin());
    }
    table.names.emplace_back(name);
    for (RawRecord& record : table.records) {
        record.cells.push_back(ExtraCell{{}, false, false});
    }
    return table.names.size() - 1;
}

void putCell(RawTable& table, RawRecord& record, std::string_view name, ExtraCell cell) {
    const std::size_t column = columnOf(table, name);
    record.cells.resize(table.names.size(), ExtraCell{{}, false, false});
    record.cells[column] = std::move(cell);
}

// One JSON line's members as cells, the bays as four of them.
bool jsonCells(const cli::InputRecord& record, RawTable& table, RawRecord& raw) {
    for (const cli::InputCell& cell : record.cells) {
        if (cell.name != "bays") {
            putCell(table, raw, cell.name, ExtraCell{cell.value, cell.asWritten, true});
            continue;
        }
        std::array<std::string, 4> tokens;
        if (!splitBays(cell.value, tokens)) {
            return false;
        }
        for (std::size_t b = 0; b < tokens.size(); ++b) {
            putCell(table, raw, "bay" + std::to_string(b + 1), ExtraCell{tokens[b], false, true});
        }
    }
    raw.cells.resize(table.names.size(), ExtraCell{{}, false, false});
    return true;
}

} // namespace

bool readTable(std::string_view bytes, ColumnFileFormat format, RawTable& table,
               std::string& error) {
    const bool csv = format == ColumnFileFormat::Csv;
    cli::RecordReader reader(csv ? cli::InputFormat::Csv : cli::InputFormat::JsonLines,
                             readFromText(bytes));
    table = RawTable{};
    if (csv) {
        if (!reader.readHeader()) {
            error = "the file has no header row";
            return false;
        }
        if (!reader.headerProblem().empty()) {
            error = "line 1: " + reader.headerProblem();
            return false;
        }
        table.names = reader.headerNames();
    }
    cli::InputRecord record;
    while (reader.next(record)) {
        RawRecord raw;
        raw.line = record.firstLine;
        raw.readerError = record.error;
        // A JSON line the reader refuses has lost the cells after the
        // fault; a CSV row keeps all of its cells.
        const bool whole = csv ? record.cells.size() == table.names.size()
                               : record.ok() && jsonCells(record, table, raw);
        if (!whole) {
            error = record.error.empty() ? lineError(record.firstLine, "the record cannot be read")
                                         : record.error;
            return false;
        }
        if (csv) {
            for (const cli::InputCell& cell : record.cells) {
                raw.cells.push_back(ExtraCell{cell.value, false, true});
            }
        }
        table.records.push_back(std::move(raw));
    }
    if (reader.readFailed()) {
        error = "the file cannot be read";
        return false;
    }
    return true;
}

} // namespace koruba
