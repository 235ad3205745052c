#include "columns/BatchRun.h"

#include "columns/CsvRecord.h"
#include "columns/FieldNames.h"
#include "columns/ResultCsv.h"
#include "columns/ResultJson.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace koruba::columns {

namespace {

bool looksLikeFormula(std::string_view cell) {
    return !cell.empty() && (cell[0] == '=' || cell[0] == '+' || cell[0] == '-' || cell[0] == '@' ||
                             cell[0] == '\t' || cell[0] == '\r');
}

class CsvWriter {
public:
    CsvWriter(const RecordReader& reader, const BatchOptions& options) : options_(options) {
        const std::vector<std::string>& names = reader.headerNames();
        // A column the tool adds replaces an input column of that name, so
        // that an output file can be read again.
        const auto added = [](std::string_view n) {
            const auto same = [&](std::string_view a) { return normalColumnName(a) == n; };
            return std::any_of(kAddedCsvColumns.begin(), kAddedCsvColumns.end(), same) ||
                   std::any_of(kRuleCsvColumns.begin(), kRuleCsvColumns.end(), same);
        };
        ruleColumns_ = reader.defaultRules() != RuleSet::Notice2000;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string n = normalColumnName(names[i]);
            ruleColumns_ = ruleColumns_ || isConditionField(n);
            if (!added(n)) {
                passThrough_.push_back(i);
            }
        }
    }

    void writeHeader(std::string& out, const std::vector<std::string>& names) const {
        if (options_.byteOrderMark) {
            out += "\xEF\xBB\xBF";
        }
        for (const std::size_t i : passThrough_) {
            writeCell(out, names[i]);
            out += ',';
        }
        for (const std::string_view a : kAddedCsvColumns) {
            if (a == kAddedCsvColumns.back() && ruleColumns_) {
                for (const std::string_view r : kRuleCsvColumns) {
                    out += r;
                    out += ',';
                }
            }
            out += a;
            out += a == kAddedCsvColumns.back() ? "\r\n" : ",";
        }
    }

    void writeRecord(std::string& out, const InputRecord& record) const {
        for (const std::size_t i : passThrough_) {
            if (i < record.cells.size()) {
                writeCell(out, record.cells[i].value);
            }
            out += ',';
        }
        if (record.ok()) {
            appendCsvResult(out, computeColumn(record.column), StoreyCountOf(record.column.pattern),
                            ruleColumns_);
        } else {
            out.append(kAddedCsvColumns.size() - 1 + (ruleColumns_ ? kRuleCsvColumns.size() : 0),
                       ',');
            appendCsvField(out, record.error);
        }
        out += "\r\n";
    }

private:
    void writeCell(std::string& out, std::string_view value) const {
        if (options_.spreadsheetSafe && looksLikeFormula(value)) {
            // Quoted, so that the apostrophe and the cell stay one text.
            out += "\"'";
            for (const char c : value) {
                out.append(c == '"' ? 2 : 1, c);
            }
            out += '"';
            return;
        }
        appendCsvField(out, value);
    }

    BatchOptions options_;
    bool ruleColumns_ = false;
    std::vector<std::size_t> passThrough_;
};

void appendJsonRecord(std::string& out, const InputRecord& record) {
    out += "{\"id\":";
    if (record.haveId) {
        appendJsonString(out, record.id);
    } else {
        out += "null";
    }
    out += ',';
    if (record.ok()) {
        appendResultAndLabels(out, computeColumn(record.column),
                              StoreyCountOf(record.column.pattern));
    } else {
        out += "\"error\":";
        appendJsonString(out, record.error);
    }
    out += "}\n";
}

} // namespace

BatchOutcome runBatch(RecordReader& reader, const WriteFunction& write,
                      const BatchOptions& options) {
    // Output is handed on in pieces of about this size: one write per
    // record would cost more than writing the record.
    constexpr std::size_t kWriteSize = std::size_t{64} << 10;
    BatchOutcome outcome;
    std::string out;
    std::optional<CsvWriter> csv;
    if (reader.format() == ColumnFileFormat::Csv && reader.readHeader()) {
        csv.emplace(reader, options);
        csv->writeHeader(out, reader.headerNames());
        outcome.headerProblem = reader.headerProblem();
    }
    InputRecord record;
    while (!outcome.writeFailed && reader.next(record)) {
        ++outcome.records;
        outcome.failed += record.ok() ? 0 : 1;
        if (csv) {
            csv->writeRecord(out, record);
        } else {
            appendJsonRecord(out, record);
        }
        if (out.size() >= kWriteSize) {
            outcome.writeFailed = !write(out);
            out.clear();
        }
    }
    if (!outcome.writeFailed && !out.empty()) {
        outcome.writeFailed = !write(out);
    }
    outcome.readFailed = reader.readFailed();
    outcome.readErrno = reader.readErrno();
    return outcome;
}

} // namespace koruba::columns
