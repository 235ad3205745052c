#include "columns/ColumnList.h"

#include "calc/PlainText.h"
#include "columns/ColumnFileReader.h"
#include "columns/CsvRecord.h"
#include "columns/FieldNames.h"
#include "columns/ResultCsv.h"
#include "columns/ResultJson.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace koruba::columns {

namespace {

// The input cells a row holds, as indices of their names in kFieldNames
// (a list writes the rule set as rules only).
enum Field : std::size_t {
    Id,
    Pattern,
    Reversed,
    Bay1,
    Bay2,
    Bay3,
    Bay4,
    Rules,
    H1,
    H2,
    FieldCount
};
static_assert(kFieldNames[Rules] == kRulesField && kFieldNames[H2] == kH2Field &&
              kRequiredFields == Rules);

std::string& fieldOf(ColumnRow& row, std::size_t field) {
    switch (field) {
    case Id:
        return row.name;
    case Pattern:
        return row.pattern;
    case Reversed:
        return row.reversed;
    case Rules:
        return row.rules;
    case H1:
        return row.h1;
    case H2:
        return row.h2;
    default:
        return row.bays[field - Bay1];
    }
}

const std::string& fieldOf(const ColumnRow& row, std::size_t field) {
    return fieldOf(const_cast<ColumnRow&>(row), field);
}

std::optional<std::size_t> knownField(std::string_view name) {
    for (std::size_t f = 0; f < FieldCount; ++f) {
        if (equalsNoCase(name, kFieldNames[f])) {
            return f;
        }
    }
    return std::nullopt;
}

// The heading's cells, held by the list rather than by a row.
enum HeadingField : std::size_t { Project, Designer, HeadingFieldCount };
constexpr std::array<std::string_view, HeadingFieldCount> kHeadingNames{kProjectField,
                                                                        kDesignerField};

std::optional<std::size_t> headingField(std::string_view name) {
    for (std::size_t f = 0; f < HeadingFieldCount; ++f) {
        if (equalsNoCase(name, kHeadingNames[f])) {
            return f;
        }
    }
    return std::nullopt;
}

std::string& headingText(ListHeading& heading, std::size_t field) {
    return field == Project ? heading.project : heading.designer;
}

const std::string& headingText(const ListHeading& heading, std::size_t field) {
    return headingText(const_cast<ListHeading&>(heading), field);
}

bool isOwnColumn(std::string_view name) {
    return knownField(name) || headingField(name);
}

bool isBlankText(std::string_view text) {
    return trimBlanks(text).empty();
}

// The heading a file gives: the one text of each heading column, in
// whichever rows hold it (a spreadsheet may have sorted the first row
// away); two different texts are refused, as one of them would be lost.
bool readHeading(const RawTable& table, ListHeading& heading, std::string& error) {
    for (std::size_t c = 0; c < table.names.size(); ++c) {
        const auto field = headingField(table.names[c]);
        if (!field) {
            continue;
        }
        std::string& text = headingText(heading, *field);
        std::int64_t givenOn = 0;
        for (const TableRecord& record : table.records) {
            const std::string& cell = record.cells[c].text;
            if (isBlankText(cell) || cell == text) {
                continue;
            }
            if (givenOn != 0) {
                error = "lines " + std::to_string(givenOn) + " and " + std::to_string(record.line) +
                        " give different texts for \"" + std::string(kHeadingNames[*field]) +
                        "\"; a list has one";
                return false;
            }
            text = cell;
            givenOn = record.line;
        }
    }
    return true;
}

// The columns a file is written with: the list's own, then every input
// column it lacks; the optional rules and heights only where a row uses
// them, the heading's only when it is given.
std::vector<std::string> writtenColumns(const ColumnList& list) {
    std::vector<std::string> columns = list.columns;
    for (std::size_t f = 0; f < FieldCount; ++f) {
        const bool have = std::any_of(columns.begin(), columns.end(),
                                      [f](const std::string& c) { return knownField(c) == f; });
        const bool used = f < kRequiredFields ||
                          std::any_of(list.rows.begin(), list.rows.end(),
                                      [f](const ColumnRow& r) { return !fieldOf(r, f).empty(); });
        if (!have && used) {
            columns.emplace_back(kFieldNames[f]);
        }
    }
    for (std::size_t f = 0; f < HeadingFieldCount; ++f) {
        const bool have = std::any_of(columns.begin(), columns.end(),
                                      [f](const std::string& c) { return headingField(c) == f; });
        if (!have && !headingText(list.heading, f).empty()) {
            columns.emplace_back(kHeadingNames[f]);
        }
    }
    return columns;
}

// A row added in the window has no cells for the file's extra columns.
const ExtraCell& extraCell(const ColumnRow& row, std::size_t index) {
    static const ExtraCell kAbsent{{}, false, false};
    return index < row.extra.size() ? row.extra[index] : kAbsent;
}

void writeCsv(const ColumnList& list, std::string& out) {
    const std::vector<std::string> columns = writtenColumns(list);
    out.append("\xEF\xBB\xBF");
    auto writeLine = [&out, &columns](auto cellText) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) {
                out += ',';
            }
            appendCsvField(out, cellText(c));
        }
        out.append("\r\n");
    };
    writeLine([&columns](std::size_t c) -> std::string_view { return columns[c]; });
    for (const ColumnRow& row : list.rows) {
        std::size_t extra = 0;
        const bool first = &row == &list.rows.front();
        writeLine([&](std::size_t c) -> std::string_view {
            if (const auto f = knownField(columns[c])) {
                return fieldOf(row, *f);
            }
            if (const auto f = headingField(columns[c])) {
                return first ? std::string_view(headingText(list.heading, *f)) : "";
            }
            return extraCell(row, extra++).text;
        });
    }
}

// A JSON number as JSON writes it (the heights and the rule year), so that
// it is written as a number; anything else is written as a string.
bool isJsonNumber(std::string_view text) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        return i > start;
    };
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    if (i < text.size() && text[i] == '0') {
        ++i;
    } else if (!digits()) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (!digits()) {
            return false;
        }
    }
    return i == text.size();
}

void putMember(std::string& out, std::string_view name) {
    out += ',';
    appendJsonString(out, name);
    out += ':';
}

void putNumberOrString(std::string& out, std::string_view text) {
    if (isJsonNumber(text)) {
        out.append(text);
    } else {
        appendJsonString(out, text);
    }
}

void writeJsonRow(const std::vector<std::string>& extraNames, const ColumnRow& row,
                  const ListHeading& heading, std::string& out) {
    out.append("{\"id\":");
    appendJsonString(out, row.name);
    putMember(out, kPatternField);
    putNumberOrString(out, row.pattern);
    putMember(out, kReversedField);
    std::int32_t reversed = 0;
    std::string ignored;
    if (parseReversedText(row.reversed, reversed, ignored)) {
        out.append(reversed != 0 ? "true" : "false");
    } else {
        appendJsonString(out, row.reversed);
    }
    putMember(out, kBaysMember);
    out += '[';
    for (std::size_t b = 0; b < row.bays.size(); ++b) {
        if (b > 0) {
            out += ',';
        }
        appendJsonString(out, row.bays[b]);
    }
    out += ']';
    for (const std::size_t f : {Rules, H1, H2}) {
        if (!fieldOf(row, f).empty()) {
            putMember(out, kFieldNames[f]);
            putNumberOrString(out, fieldOf(row, f));
        }
    }
    for (std::size_t f = 0; f < HeadingFieldCount; ++f) {
        if (!headingText(heading, f).empty()) {
            putMember(out, kHeadingNames[f]);
            appendJsonString(out, headingText(heading, f));
        }
    }
    for (std::size_t e = 0; e < extraNames.size(); ++e) {
        const ExtraCell& cell = extraCell(row, e);
        if (!cell.present) {
            continue;
        }
        putMember(out, extraNames[e]);
        if (cell.json) {
            out.append(cell.text);
        } else {
            appendJsonString(out, cell.text);
        }
    }
    out.append("}\n");
}

// The columns the batch tool adds to its output: results of the cells
// before them, computed again from the cells here and by the tool, and
// stale once a cell changes, so they are not kept.
bool isResultColumn(std::string_view name) {
    auto in = [name](const auto& names) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    return in(kAddedCsvColumns) || in(kRuleCsvColumns);
}

} // namespace

std::vector<std::string> ColumnList::extraColumns() const {
    std::vector<std::string> names;
    for (const std::string& c : columns) {
        if (!isOwnColumn(c)) {
            names.push_back(c);
        }
    }
    return names;
}

bool readColumnList(std::string_view bytes, ColumnFileFormat format, ColumnList& list,
                    std::string& error) {
    RawTable table;
    if (!readTable(bytes, format, table, error)) {
        return false;
    }
    std::array<std::optional<std::size_t>, FieldCount> at{};
    for (std::size_t c = 0; c < table.names.size(); ++c) {
        if (const auto f = knownField(table.names[c])) {
            if (at[*f]) {
                error = "the column \"" + std::string(kFieldNames[*f]) + "\" is named twice";
                return false;
            }
            at[*f] = c;
        }
    }
    for (std::size_t f = 0; f < kRequiredFields; ++f) {
        if (!at[f] && !(format == ColumnFileFormat::JsonLines && f == Reversed)) {
            error = "the column \"" + std::string(kFieldNames[f]) + "\" is missing";
            return false;
        }
    }
    // The tool's CSV output opens as its input without its result columns;
    // JSON Lines output has no such members, so every member is kept.
    const auto dropped = [format](std::string_view name) {
        return format == ColumnFileFormat::Csv && isResultColumn(name);
    };
    ColumnList read;
    if (!readHeading(table, read.heading, error)) {
        return false;
    }
    for (const std::string& name : table.names) {
        if (!dropped(name)) {
            read.columns.push_back(name);
        }
    }
    for (const TableRecord& record : table.records) {
        ColumnRow row;
        for (std::size_t c = 0; c < table.names.size(); ++c) {
            if (const auto f = knownField(table.names[c])) {
                fieldOf(row, *f) = record.cells[c].text;
            } else if (!headingField(table.names[c]) && !dropped(table.names[c])) {
                row.extra.push_back(record.cells[c]);
            }
        }
        // A record the tool refuses for a reason the row's cells do not
        // show (a quote out of place, a row that failed in an earlier run)
        // would open as a good column: the file is refused instead.
        if (!record.readerError.empty() && evaluateRow(row).error.empty()) {
            error = record.readerError;
            return false;
        }
        read.rows.push_back(std::move(row));
    }
    list = std::move(read);
    return true;
}

std::string writeColumnList(const ColumnList& list, ColumnFileFormat format) {
    std::string out;
    if (format == ColumnFileFormat::Csv) {
        writeCsv(list, out);
    } else {
        const std::vector<std::string> extraNames = list.extraColumns();
        // The heading in the first line only.
        for (const ColumnRow& row : list.rows) {
            writeJsonRow(extraNames, row, &row == &list.rows.front() ? list.heading : ListHeading{},
                         out);
        }
    }
    return out;
}

} // namespace koruba::columns
