#include "cli/BatchRun.h"

#include "cli/CsvRecord.h"
#include "cli/ResultCsv.h"
#include "cli/ResultJson.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace koruba::cli {

namespace {

std::string Lower(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    std::string l(s);
    for (char& c : l) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return l;
}

bool LooksLikeFormula(std::string_view cell) {
    return !cell.empty() && (cell[0] == '=' || cell[0] == '+' || cell[0] == '-' || cell[0] == '@' ||
                             cell[0] == '\t' || cell[0] == '\r');
}

class CsvWriter {
public:
    CsvWriter(const RecordReader& reader, const BatchOptions& options) : options_(options) {
        const std::vector<std::string>& names = reader.HeaderNames();
        // A column the tool adds replaces an input column of that name, so
        // that an output file can be read again.
        const auto added = [](std::string_view n) {
            const auto same = [&](std::string_view a) { return Lower(a) == n; };
            return std::any_of(kAddedCsvColumns.begin(), kAddedCsvColumns.end(), same) ||
                   std::any_of(kRuleCsvColumns.begin(), kRuleCsvColumns.end(), same);
        };
        ruleColumns_ = reader.DefaultRules() != RuleSet::Notice2000;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string n = Lower(names[i]);
            ruleColumns_ = ruleColumns_ || n == "rules" || n == "h1" || n == "h2";
            if (!added(n)) {
                passThrough_.push_back(i);
            }
        }
    }

    void Header(std::string& out, const std::vector<std::string>& names) const {
        if (options_.ByteOrderMark) {
            out += "\xEF\xBB\xBF";
        }
        for (const std::size_t i : passThrough_) {
            Cell(out, names[i]);
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

    void Record(std::string& out, const InputRecord& record) const {
        for (const std::size_t i : passThrough_) {
            if (i < record.Cells.size()) {
                Cell(out, record.Cells[i].Value);
            }
            out += ',';
        }
        if (record.Ok()) {
            AppendCsvResult(out, ComputeColumn(record.Column), StoreyCountOf(record.Column.Pattern),
                            ruleColumns_);
        } else {
            out.append(kAddedCsvColumns.size() - 1 + (ruleColumns_ ? kRuleCsvColumns.size() : 0),
                       ',');
            AppendCsvField(out, record.Error);
        }
        out += "\r\n";
    }

private:
    void Cell(std::string& out, std::string_view value) const {
        if (options_.SpreadsheetSafe && LooksLikeFormula(value)) {
            // Quoted, so that the apostrophe and the cell stay one text.
            out += "\"'";
            for (const char c : value) {
                out.append(c == '"' ? 2 : 1, c);
            }
            out += '"';
            return;
        }
        AppendCsvField(out, value);
    }

    BatchOptions options_;
    bool ruleColumns_ = false;
    std::vector<std::size_t> passThrough_;
};

void AppendJsonRecord(std::string& out, const InputRecord& record) {
    out += "{\"id\":";
    if (record.HaveId) {
        AppendJsonString(out, record.Id);
    } else {
        out += "null";
    }
    out += ',';
    if (record.Ok()) {
        AppendResultAndLabels(out, ComputeColumn(record.Column),
                              StoreyCountOf(record.Column.Pattern));
    } else {
        out += "\"error\":";
        AppendJsonString(out, record.Error);
    }
    out += "}\n";
}

} // namespace

BatchOutcome RunBatch(RecordReader& reader, const WriteFunction& write,
                      const BatchOptions& options) {
    BatchOutcome outcome;
    std::string out;
    std::optional<CsvWriter> csv;
    if (reader.Format() == InputFormat::Csv && reader.ReadHeader()) {
        csv.emplace(reader, options);
        csv->Header(out, reader.HeaderNames());
        outcome.HeaderProblem = reader.HeaderProblem();
        outcome.WriteFailed = !write(out);
    }
    InputRecord record;
    while (!outcome.WriteFailed && reader.Next(record)) {
        ++outcome.Records;
        outcome.Failed += record.Ok() ? 0 : 1;
        out.clear();
        if (csv) {
            csv->Record(out, record);
        } else {
            AppendJsonRecord(out, record);
        }
        outcome.WriteFailed = !write(out);
    }
    outcome.ReadFailed = reader.ReadFailed();
    outcome.ReadErrno = reader.ReadErrno();
    return outcome;
}

} // namespace koruba::cli
