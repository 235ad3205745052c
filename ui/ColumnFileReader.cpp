#include "ui/ColumnFileReader.h"

#include "cli/BatchFormat.h"
#include "cli/CsvRecord.h"
#include "cli/Utf8Text.h"

#include <simdjson.h>

#include <algorithm>

namespace koruba {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view withoutMark(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    return bytes;
}

std::string lineError(std::int64_t line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

bool isBlankRecord(std::string_view data, std::size_t pos) {
    const std::size_t end = data.find('\n', pos);
    return cli::IsBlankLine(data.substr(pos, end == std::string_view::npos ? end : end - pos));
}

} // namespace

bool readCsvTable(std::string_view bytes, RawTable& table, std::string& error) {
    const std::string_view data = withoutMark(bytes);
    if (const std::size_t bad = cli::FindInvalidUtf8(data); bad != std::string_view::npos) {
        error = lineError(std::count(data.begin(), data.begin() + static_cast<long>(bad), '\n') + 1,
                          "not UTF-8 text (save the file as UTF-8)");
        return false;
    }
    table = RawTable{};
    std::vector<std::string> fields;
    std::size_t pos = 0;
    std::int64_t line = 1;
    bool header = true;
    while (pos < data.size()) {
        if (isBlankRecord(data, pos)) {
            const std::size_t end = data.find('\n', pos);
            pos = end == std::string_view::npos ? data.size() : end + 1;
            ++line;
            continue;
        }
        cli::CsvRecordInfo info;
        const std::int64_t first = line;
        cli::ReadCsvRecord(data, pos, fields, info);
        line += static_cast<std::int64_t>(info.LineFeeds);
        if (info.Fault != cli::CsvFault::None) {
            error = lineError(first, "field " + std::to_string(info.FaultField) +
                                         (info.Fault == cli::CsvFault::Unclosed
                                              ? ": the quoted field is never closed"
                                              : ": text after the closing quote"));
            return false;
        }
        if (header) {
            table.names.assign(fields.begin(), fields.begin() + static_cast<long>(info.Fields));
            header = false;
            continue;
        }
        if (info.Fields != table.names.size()) {
            error = lineError(first, std::to_string(info.Fields) + " fields where the header has " +
                                         std::to_string(table.names.size()));
            return false;
        }
        RawRecord record;
        record.line = first;
        for (std::size_t f = 0; f < info.Fields; ++f) {
            record.cells.push_back(ExtraCell{fields[f], false, true});
        }
        table.records.push_back(std::move(record));
    }
    if (header) {
        error = "the file has no header row";
        return false;
    }
    return true;
}

namespace {

// The JSON text of a value as it stands in the line.
std::string_view rawText(simdjson::ondemand::value& value) {
    simdjson::ondemand::json_type type;
    if (value.type().get(type) != simdjson::SUCCESS) {
        return {};
    }
    std::string_view raw;
    if (type == simdjson::ondemand::json_type::object) {
        simdjson::ondemand::object object;
        if (value.get_object().get(object) == simdjson::SUCCESS) {
            if (object.raw_json().get(raw) != simdjson::SUCCESS) {
                raw = {};
            }
        }
    } else if (type == simdjson::ondemand::json_type::array) {
        simdjson::ondemand::array array;
        if (value.get_array().get(array) == simdjson::SUCCESS) {
            if (array.raw_json().get(raw) != simdjson::SUCCESS) {
                raw = {};
            }
        }
    } else {
        raw = value.raw_json_token();
    }
    while (!raw.empty() &&
           (raw.back() == ' ' || raw.back() == '\t' || raw.back() == '\r' || raw.back() == '\n')) {
        raw.remove_suffix(1);
    }
    return raw;
}

// A string value as its text, anything else as its JSON text.
bool cellOf(simdjson::ondemand::value value, ExtraCell& cell) {
    std::string_view text;
    if (value.get_string().get(text) == simdjson::SUCCESS) {
        cell = ExtraCell{std::string(text), false, true};
        return true;
    }
    cell = ExtraCell{std::string(rawText(value)), true, true};
    return !cell.text.empty();
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

bool readBays(simdjson::ondemand::value value, RawTable& table, RawRecord& record,
              std::string& why) {
    simdjson::ondemand::array array;
    if (value.get_array().get(array) != simdjson::SUCCESS) {
        why = "\"bays\" must be an array of four tokens";
        return false;
    }
    std::size_t count = 0;
    std::vector<ExtraCell> cells;
    for (auto element : array) {
        simdjson::ondemand::value item;
        ExtraCell cell;
        if (element.get(item) != simdjson::SUCCESS || !cellOf(item, cell)) {
            why = "\"bays\" is not valid JSON";
            return false;
        }
        cell.json = false;
        cells.push_back(std::move(cell));
        ++count;
    }
    if (count != 4) {
        why = "\"bays\" must hold four tokens, not " + std::to_string(count);
        return false;
    }
    for (std::size_t b = 0; b < 4; ++b) {
        putCell(table, record, "bay" + std::to_string(b + 1), std::move(cells[b]));
    }
    return true;
}

bool readJsonLine(simdjson::ondemand::parser& parser, const std::string& line, RawTable& table,
                  RawRecord& record, std::string& why) {
    const simdjson::padded_string padded(line);
    simdjson::ondemand::document document;
    simdjson::ondemand::object object;
    if (parser.iterate(padded).get(document) != simdjson::SUCCESS ||
        document.get_object().get(object) != simdjson::SUCCESS) {
        why = "not a JSON object";
        return false;
    }
    std::vector<std::string> seen;
    for (auto field : object) {
        std::string_view key;
        simdjson::ondemand::value value;
        if (field.unescaped_key().get(key) != simdjson::SUCCESS ||
            field.value().get(value) != simdjson::SUCCESS) {
            why = "not valid JSON";
            return false;
        }
        const std::string name(key);
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            why = "member \"" + name + "\" given twice";
            return false;
        }
        seen.push_back(name);
        if (name == "bays") {
            if (!readBays(value, table, record, why)) {
                return false;
            }
            continue;
        }
        ExtraCell cell;
        if (!cellOf(value, cell)) {
            why = "member \"" + name + "\" is not valid JSON";
            return false;
        }
        putCell(table, record, name, std::move(cell));
    }
    // Past the object's end the document has no current location.
    const char* after = nullptr;
    if (document.current_location().get(after) != simdjson::OUT_OF_BOUNDS) {
        why = "text after the JSON object";
        return false;
    }
    return true;
}

} // namespace

bool readJsonLinesTable(std::string_view bytes, RawTable& table, std::string& error) {
    const std::string_view data = withoutMark(bytes);
    table = RawTable{};
    simdjson::ondemand::parser parser;
    std::size_t pos = 0;
    std::int64_t line = 0;
    while (pos < data.size()) {
        ++line;
        const std::size_t end = std::min(data.find('\n', pos), data.size());
        const std::string_view text = data.substr(pos, end - pos);
        pos = end + 1;
        if (cli::IsBlankLine(text)) {
            continue;
        }
        if (cli::FindInvalidUtf8(text) != std::string_view::npos) {
            error = lineError(line, "not UTF-8 text (save the file as UTF-8)");
            return false;
        }
        RawRecord record;
        record.line = line;
        std::string why;
        if (!readJsonLine(parser, std::string(text), table, record, why)) {
            error = lineError(line, why);
            return false;
        }
        record.cells.resize(table.names.size(), ExtraCell{{}, false, false});
        table.records.push_back(std::move(record));
    }
    return true;
}

} // namespace koruba
