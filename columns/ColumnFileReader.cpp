#include "columns/ColumnFileReader.h"

#include "columns/FieldNames.h"
#include "columns/RecordReader.h"
#include "columns/Utf8Text.h"

#include <simdjson.h>

#include <algorithm>

namespace koruba::columns {

namespace {

std::string lineError(std::int64_t line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

std::size_t columnOf(RawTable& table, std::string_view name) {
    const auto it = std::find(table.names.begin(), table.names.end(), name);
    if (it != table.names.end()) {
        return static_cast<std::size_t>(it - table.names.begin());
    }
    table.names.emplace_back(name);
    for (TableRecord& record : table.records) {
        record.cells.push_back(ExtraCell{{}, false, false});
    }
    return table.names.size() - 1;
}

// False when the record already has a cell of that name.
bool putCell(RawTable& table, TableRecord& record, std::string_view name, ExtraCell cell) {
    const std::size_t column = columnOf(table, name);
    record.cells.resize(table.names.size(), ExtraCell{{}, false, false});
    if (record.cells[column].present) {
        return false;
    }
    record.cells[column] = std::move(cell);
    return true;
}

// A JSON value as a cell: a string's text, anything else as written.
bool jsonValueCell(simdjson::ondemand::value value, ExtraCell& cell) {
    simdjson::ondemand::json_type type;
    if (value.type().get(type) != simdjson::SUCCESS) {
        return false;
    }
    std::string_view text;
    bool ok = false;
    switch (type) {
    case simdjson::ondemand::json_type::string:
        ok = value.get_string().get(text) == simdjson::SUCCESS;
        cell = ExtraCell{std::string(text), false, true};
        return ok;
    case simdjson::ondemand::json_type::array: {
        simdjson::ondemand::array array;
        ok = value.get_array().get(array) == simdjson::SUCCESS &&
             array.raw_json().get(text) == simdjson::SUCCESS;
        break;
    }
    case simdjson::ondemand::json_type::object: {
        simdjson::ondemand::object object;
        ok = value.get_object().get(object) == simdjson::SUCCESS &&
             object.raw_json().get(text) == simdjson::SUCCESS;
        break;
    }
    default:
        text = value.raw_json_token();
        ok = true;
        break;
    }
    while (!text.empty() && std::strchr(" \t\r\n", text.back()) != nullptr) {
        text.remove_suffix(1);
    }
    cell = ExtraCell{std::string(text), true, true};
    return ok;
}

// The four tokens of the member "bays", as cells of their own.
bool putBays(simdjson::ondemand::value value, RawTable& table, TableRecord& raw) {
    simdjson::ondemand::array array;
    if (value.get_array().get(array) != simdjson::SUCCESS) {
        return false;
    }
    std::size_t count = 0;
    for (auto element : array) {
        std::string_view token;
        if (count == 4 || element.get_string().get(token) != simdjson::SUCCESS ||
            !putCell(table, raw, "bay" + std::to_string(count + 1),
                     ExtraCell{std::string(token), false, true})) {
            return false;
        }
        ++count;
    }
    return count == 4;
}

// Every member of one JSON line as a cell, also of a line that the tool
// refuses for a cell the list shows as failed (a bad token, a height it
// cannot read): the row keeps all it holds and says why it has no result.
// False when the line is no object of distinct members with four bay
// tokens, which no row could hold.
bool jsonCells(std::string_view line, simdjson::ondemand::parser& parser, RawTable& table,
               TableRecord& raw, std::string& problem) {
    const simdjson::padded_string padded(line);
    simdjson::ondemand::document document;
    simdjson::ondemand::object object;
    if (parser.iterate(padded).get(document) != simdjson::SUCCESS ||
        document.get_object().get(object) != simdjson::SUCCESS) {
        return false;
    }
    for (auto member : object) {
        simdjson::ondemand::field field;
        std::string_view key;
        if (std::move(member).get(field) != simdjson::SUCCESS ||
            field.unescaped_key().get(key) != simdjson::SUCCESS) {
            return false;
        }
        const std::string name(key);
        ExtraCell cell;
        if (name == kBaysMember ? !putBays(field.value(), table, raw)
                                : !jsonValueCell(field.value(), cell)) {
            return false;
        }
        if (name != kBaysMember && !putCell(table, raw, name, std::move(cell))) {
            problem = "member \"" + name + "\" appears twice";
            return false;
        }
    }
    raw.cells.resize(table.names.size(), ExtraCell{{}, false, false});
    // A line without a member the tool requires is no column of a house.
    for (const std::string_view required : {kIdField, kPatternField, kReversedField, kBay1Field}) {
        const auto it = std::find(table.names.begin(), table.names.end(), required);
        if (it == table.names.end() ||
            !raw.cells[static_cast<std::size_t>(it - table.names.begin())].present) {
            return false;
        }
    }
    // Nothing may follow the object.
    const char* after = nullptr;
    return document.current_location().get(after) != simdjson::SUCCESS;
}

// The text of each line in turn, by its 1-based number.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : rest_(bytes) {}
    std::string_view line(std::int64_t number) {
        while (next_ < number && !rest_.empty()) {
            const std::size_t end = rest_.find('\n');
            rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
            ++next_;
        }
        std::string_view text = rest_.substr(0, rest_.find('\n'));
        if (number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        return text;
    }

private:
    std::string_view rest_;
    std::int64_t next_ = 1;
};

// Where a file stops being UTF-8: a cell with bytes of another encoding
// (a spreadsheet's Shift-JIS) would come back as U+FFFD and be saved so.
std::string encodingError(std::string_view bytes) {
    const std::size_t bad = findInvalidUtf8(bytes);
    if (bad == std::string_view::npos) {
        return {};
    }
    const std::size_t lineStart = bytes.rfind('\n', bad == 0 ? 0 : bad - 1);
    const std::size_t from = lineStart == std::string_view::npos || bad == 0 ? 0 : lineStart + 1;
    const auto line =
        1 + std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(from), '\n');
    return "line " + std::to_string(line) + ", column " +
           std::to_string(characterColumn(bytes.substr(from), bad - from)) +
           ": the file is not UTF-8 text; save it as UTF-8 (\"CSV UTF-8\" in a spreadsheet) "
           "and open it again";
}

} // namespace

bool readTable(std::string_view bytes, ColumnFileFormat format, RawTable& table,
               std::string& error) {
    const bool csv = format == ColumnFileFormat::Csv;
    table = RawTable{};
    error = encodingError(bytes);
    if (!error.empty()) {
        return false;
    }
    RecordReader reader(format, readFromText(bytes));
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
    InputRecord record;
    LineCursor lines(bytes);
    simdjson::ondemand::parser parser;
    while (reader.next(record)) {
        TableRecord raw;
        raw.line = record.firstLine;
        raw.readerError = record.error;
        // A CSV row keeps all of its cells; the reader keeps only those
        // before the fault of a JSON line, so the list reads the line's
        // members itself.
        std::string problem;
        const std::string_view line = csv ? std::string_view() : lines.line(record.firstLine);
        const bool whole =
            csv ? record.cells.size() == table.names.size()
                : line.size() <= kRecordLimit && jsonCells(line, parser, table, raw, problem);
        if (!whole) {
            error = !problem.empty() ? lineError(record.firstLine, problem)
                    : !record.error.empty()
                        ? record.error
                        : lineError(record.firstLine, "the record cannot be read");
            return false;
        }
        if (csv) {
            for (const InputCell& cell : record.cells) {
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

} // namespace koruba::columns
