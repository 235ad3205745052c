#include "columns/RecordReader.h"

#include "calc/PlainText.h"
#include "columns/BayToken.h"
#include "columns/CsvRecord.h"
#include "columns/FieldNames.h"
#include "columns/JsonColumnReader.h"
#include "columns/RecordSplitter.h"
#include "columns/Utf8Text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <span>

namespace koruba::columns {

namespace {

constexpr std::span<const std::string_view, kRequiredFields> kInputColumns(kFieldNames.data(),
                                                                           kRequiredFields);
enum : std::size_t { IdCol, PatternCol, ReversedCol, Bay1Col };
// Columns a row may have: the rule set (under either name) and the storey
// heights.
constexpr std::span<const std::string_view, 4>
    kConditionColumns(kFieldNames.data() + kRequiredFields, 4);
enum : std::size_t { RulesCol, H1Col, H2Col, RuleSetCol };

// "16 MiB"
std::string limitText(std::size_t limit) {
    if (limit % (std::size_t{1} << 20) == 0) {
        return std::to_string(limit >> 20) + " MiB";
    }
    return std::to_string(limit) + " bytes";
}

// "line 7", or "lines 7-9" for a record over several lines.
std::string linesText(const RawRecord& raw) {
    if (raw.firstLine == raw.lastLine) {
        return "line " + std::to_string(raw.firstLine);
    }
    return "lines " + std::to_string(raw.firstLine) + "-" + std::to_string(raw.lastLine);
}

// "line 8, column 3" of a byte in a record that starts on firstLine.
std::string placeText(std::string_view text, std::size_t offset, std::int64_t firstLine) {
    const std::string_view before = text.substr(0, offset);
    std::int64_t line = firstLine;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " +
           std::to_string(characterColumn(text.substr(lineStart), offset - lineStart));
}

std::int64_t lineOf(std::string_view text, std::size_t offset, std::int64_t firstLine) {
    std::int64_t line = firstLine;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        line += text[i] == '\n' ? 1 : 0;
    }
    return line;
}

// The CSV header: where the input columns are and what is wrong with it.
struct CsvHeader {
    std::vector<std::string> names;
    std::array<std::size_t, 7> index{};
    std::array<std::optional<std::size_t>, kConditionColumns.size()> conditionIndex{};
    std::optional<std::size_t> errorColumn;
    std::string problem;

    void read(const RawRecord& raw, std::vector<std::string>& fields, CsvSplit& split,
              std::size_t limit) {
        if (raw.tooLong) {
            problem = "the header is longer than " + limitText(limit);
            return;
        }
        splitCsvRecord(raw.text, fields, split, kFieldLimit);
        names.clear();
        for (std::size_t i = 0; i < split.kept; ++i) {
            appendValidUtf8(names.emplace_back(), fields[i]);
        }
        if (split.fields > kFieldLimit) {
            problem = "the header has " + std::to_string(split.fields) + " columns; at most " +
                      std::to_string(kFieldLimit) + " are read";
            return;
        }
        if (split.fault != CsvFault::None) {
            problem = "header, field " + std::to_string(split.faultField) + ": " +
                      (split.fault == CsvFault::Unclosed ? "the quoted field is never closed"
                                                         : "text after the closing quote");
            return;
        }
        if (findInvalidUtf8(raw.text) != std::string_view::npos) {
            problem = "the header is not UTF-8 text";
            return;
        }
        std::array<bool, 7> found{};
        std::string missing;
        std::string twice;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string n = normalColumnName(names[i]);
            for (std::size_t k = 0; k < kInputColumns.size(); ++k) {
                if (n == kInputColumns[k]) {
                    twice = found[k] ? std::string(kInputColumns[k]) : twice;
                    found[k] = true;
                    index[k] = i;
                }
            }
            for (std::size_t k = 0; k < kConditionColumns.size(); ++k) {
                if (n == kConditionColumns[k]) {
                    twice = conditionIndex[k] ? std::string(kConditionColumns[k]) : twice;
                    conditionIndex[k] = i;
                }
            }
            if (n == "error") {
                errorColumn = i;
            }
        }
        for (std::size_t k = 0; k < kInputColumns.size(); ++k) {
            if (!found[k]) {
                missing += missing.empty() ? "" : ", ";
                missing += kInputColumns[k];
            }
        }
        if (!missing.empty()) {
            problem = "the header lacks the column(s) " + missing;
        } else if (!twice.empty()) {
            problem = "the header names the column " + twice + " twice";
        }
    }
};

} // namespace

ReadFunction readFromFile(std::FILE* file) {
    return [file](char* buf, std::size_t n) -> std::ptrdiff_t {
        const std::size_t got = std::fread(buf, 1, n, file);
        if (got == 0 && std::ferror(file)) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    };
}

ReadFunction readFromText(std::string_view bytes) {
    return [bytes, pos = std::size_t{0}](char* buf, std::size_t n) mutable -> std::ptrdiff_t {
        const std::size_t k = std::min(n, bytes.size() - pos);
        std::memcpy(buf, bytes.data() + pos, k);
        pos += k;
        return static_cast<std::ptrdiff_t>(k);
    };
}

struct RecordReader::State {
    State(ColumnFileFormat f, ReadFunction read, std::size_t limit)
        : format(f), limit(limit), splitter(f == ColumnFileFormat::Csv, std::move(read), limit) {}

    ColumnFileFormat format;
    std::size_t limit;
    RuleSet defaultRules = RuleSet::Notice2000;
    RecordSplitter splitter;
    JsonColumnReader json;
    CsvHeader header;
    bool headerRead = false;
    bool haveHeader = false;
    std::vector<std::string> fields;
    CsvSplit split;

    bool nextRaw(RawRecord& raw, bool oneLine = false) {
        while (splitter.next(raw, oneLine)) {
            if (raw.tooLong || raw.firstLine != raw.lastLine || !isBlankCell(raw.text)) {
                return true;
            }
        }
        return false;
    }
    void fillCsv(RawRecord& raw, InputRecord& record);
    void fillJson(const RawRecord& raw, InputRecord& record);
    std::string csvFieldError(const RawRecord& raw, ColumnInput& column) const;
    std::string csvConditionsError(const RawRecord& raw, ColumnInput& column) const;
};

void RecordReader::State::fillCsv(RawRecord& raw, InputRecord& record) {
    // A row with more fields than the header fails: the fields past one
    // more are counted, not kept.
    const std::size_t keep = header.names.size() + 1;
    splitCsvRecord(raw.text, fields, split, keep);
    if ((split.fault != CsvFault::None || raw.unclosed) && raw.firstLine != raw.lastLine) {
        // A quote that went wrong holds lines together that are rows of
        // their own: the row is its first line only, and reading goes on
        // at the next.
        splitter.cutBackToFirstLine(raw);
        record.lastLine = raw.lastLine;
        splitCsvRecord(raw.text, fields, split, keep);
    }
    for (std::size_t i = 0; i < split.kept; ++i) {
        InputCell& cell = record.cells.emplace_back();
        if (i < header.names.size()) {
            cell.name = header.names[i];
        }
        appendValidUtf8(cell.value, fields[i]);
    }
    const std::size_t bad = findInvalidUtf8(raw.text);
    const std::string utf8Problem =
        bad == std::string_view::npos
            ? std::string()
            : placeText(raw.text, bad, raw.firstLine) +
                  ": the row is not UTF-8 text (save the file as CSV UTF-8); bad bytes are shown "
                  "as U+FFFD";
    std::string& error = record.error;
    if (split.fault != CsvFault::None) {
        error = "line " + std::to_string(lineOf(raw.text, split.faultOffset, raw.firstLine)) +
                ", field " + std::to_string(split.faultField) + ": " +
                (split.fault == CsvFault::Unclosed ? "the quoted field is never closed"
                                                   : "text after the closing quote");
        if (!utf8Problem.empty()) {
            error += "; and at " + utf8Problem;
        }
    } else if (!utf8Problem.empty()) {
        error = utf8Problem;
    } else if (!header.problem.empty()) {
        error = linesText(raw) + ": " + header.problem;
    } else if (split.fields != header.names.size()) {
        error = linesText(raw) + ": " + std::to_string(split.fields) + " fields, the header has " +
                std::to_string(header.names.size());
    } else if (header.errorColumn && !fields[*header.errorColumn].empty()) {
        error = linesText(raw) +
                ": the row failed in an earlier run: " + record.cells[*header.errorColumn].value;
    } else {
        error = csvFieldError(raw, record.column);
        if (error.empty()) {
            error = csvConditionsError(raw, record.column);
        }
    }
    if (split.fields == header.names.size() && header.problem.empty()) {
        record.id = record.cells[header.index[IdCol]].value;
        record.haveId = true;
    }
}

std::string RecordReader::State::csvFieldError(const RawRecord& raw, ColumnInput& column) const {
    std::string tokenError;
    auto fieldError = [&](std::size_t k) {
        const std::size_t i = header.index[k];
        std::string where = "line " +
                            std::to_string(lineOf(raw.text, split.starts[i], raw.firstLine)) +
                            ", field " + std::to_string(i + 1) + " (" + header.names[i] + ")";
        if (raw.firstLine != raw.lastLine) {
            where += " of the row on " + linesText(raw);
        }
        return where + ": " + tokenError;
    };
    if (!parsePatternText(fields[header.index[PatternCol]], column.pattern, tokenError)) {
        return fieldError(PatternCol);
    }
    if (!parseReversedText(fields[header.index[ReversedCol]], column.reversed, tokenError)) {
        return fieldError(ReversedCol);
    }
    for (std::size_t b = 0; b < 4; ++b) {
        if (!parseBayToken(fields[header.index[Bay1Col + b]], column.bays[b], tokenError)) {
            return fieldError(Bay1Col + b);
        }
    }
    return {};
}

std::string RecordReader::State::csvConditionsError(const RawRecord& raw,
                                                    ColumnInput& column) const {
    CalcConditions& c = column.conditions;
    c = CalcConditions{};
    std::array<std::optional<RuleSet>, 2> named; // rules, rule_set
    std::string problem;
    for (std::size_t k = 0; k < kConditionColumns.size(); ++k) {
        if (!header.conditionIndex[k]) {
            continue;
        }
        const std::size_t i = *header.conditionIndex[k];
        const std::string& text = fields[i];
        const bool isRules = k == RulesCol || k == RuleSetCol;
        if (parseConditionCell(kConditionColumns[k], text, c, problem)) {
            if (isRules && !isBlankCell(text)) {
                named[k == RulesCol ? 0 : 1] = c.rules;
            }
        } else {
            return "line " + std::to_string(lineOf(raw.text, split.starts[i], raw.firstLine)) +
                   ", field " + std::to_string(i + 1) + " (" + header.names[i] +
                   "): " + (isRules ? "" : std::string(kConditionColumns[k]) + " ") + problem;
        }
    }
    problem = namedRulesProblem(named[0], named[1], defaultRules, c.rules);
    if (!problem.empty()) {
        return linesText(raw) + ": " + problem;
    }
    if (const auto e = conditionsError(c, StoreyCountOf(column.pattern))) {
        return linesText(raw) + ": " + *e;
    }
    return {};
}

void RecordReader::State::fillJson(const RawRecord& raw, InputRecord& record) {
    std::string error;
    if (!json.read(raw.text, record, error, defaultRules)) {
        record.error = "line " + std::to_string(raw.firstLine) + ", " + error;
    }
}

std::string namedRulesProblem(std::optional<RuleSet> rules, std::optional<RuleSet> ruleSet,
                              RuleSet defaultRules, RuleSet& result) {
    const auto year = [](RuleSet r) { return std::to_string(static_cast<int>(r)); };
    result = defaultRules;
    if (rules && ruleSet && *rules != *ruleSet) {
        return "rules says " + year(*rules) + " but rule_set says " + year(*ruleSet) +
               "; the record is computed under neither";
    }
    const std::optional<RuleSet> named = rules ? rules : ruleSet;
    if (!named) {
        return {};
    }
    result = *named;
    return {};
}

std::string normalColumnName(std::string_view name) {
    std::string s(trimBlanks(name));
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

RecordReader::RecordReader(ColumnFileFormat format, ReadFunction read, std::size_t recordLimit)
    : state_(std::make_unique<State>(format, std::move(read), recordLimit)) {}

RecordReader::~RecordReader() = default;

ColumnFileFormat RecordReader::format() const {
    return state_->format;
}

void RecordReader::setDefaultRules(RuleSet rules) {
    state_->defaultRules = rules;
}

RuleSet RecordReader::defaultRules() const {
    return state_->defaultRules;
}

bool RecordReader::readHeader() {
    State& s = *state_;
    if (s.format != ColumnFileFormat::Csv || s.headerRead) {
        return s.haveHeader;
    }
    s.headerRead = true;
    RawRecord raw;
    if (!s.nextRaw(raw, true)) {
        return false;
    }
    s.haveHeader = true;
    s.header.read(raw, s.fields, s.split, s.limit);
    return true;
}

const std::vector<std::string>& RecordReader::headerNames() const {
    return state_->header.names;
}

const std::string& RecordReader::headerProblem() const {
    return state_->header.problem;
}

bool RecordReader::next(InputRecord& record) {
    State& s = *state_;
    if (s.format == ColumnFileFormat::Csv && !s.headerRead) {
        readHeader();
    }
    RawRecord raw;
    if (!s.nextRaw(raw)) {
        return false;
    }
    record.cells.clear();
    record.id.clear();
    record.haveId = false;
    record.column = ColumnInput{};
    record.error.clear();
    record.firstLine = raw.firstLine;
    record.lastLine = raw.lastLine;
    if (raw.tooLong) {
        record.error = linesText(raw) + ": record longer than " + limitText(s.limit) + "; not read";
        return true;
    }
    if (s.format == ColumnFileFormat::Csv) {
        s.fillCsv(raw, record);
    } else {
        s.fillJson(raw, record);
    }
    return true;
}

bool RecordReader::readFailed() const {
    return state_->splitter.readFailed();
}

int RecordReader::readErrno() const {
    return state_->splitter.readErrno();
}

} // namespace koruba::columns
