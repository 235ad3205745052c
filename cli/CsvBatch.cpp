#include "cli/CsvBatch.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "cli/BayToken.h"
#include "cli/ColumnInput.h"
#include "cli/CsvRecord.h"
#include "cli/ResultCache.h"
#include "cli/Utf8Text.h"

#include <algorithm>
#include <cctype>

namespace koruba::cli {

namespace {

constexpr std::string_view Crlf = "\r\n";

std::string NormalName(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.remove_prefix(1);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.remove_suffix(1);
    }
    std::string s(name);
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

enum InputColumn : std::size_t { IdCol, PatternCol, ReversedCol, Bay1Col };

std::string FaultText(const CsvRecordInfo& info) {
    if (info.Fault == CsvFault::Unclosed) {
        return "the quoted field is never closed";
    }
    return "text after the closing quote";
}

} // namespace

std::size_t CsvBatch::WholeRecordsEnd(std::string_view data) const {
    return CsvWholeRecordsEnd(data);
}

std::size_t CsvBatch::FirstRecordEnd(std::string_view data) const {
    return CsvFirstRecordEnd(data);
}

std::size_t CsvBatch::BrokenRecordEnd(std::string_view data) const {
    // A quote that is never closed would swallow the rest of the input;
    // cut the record at its first line end instead.
    const std::size_t lf = data.find('\n');
    return lf == std::string_view::npos ? 0 : lf + 1;
}

bool CsvBatch::TakeHeader(std::string_view record, std::string& out, std::string& problem) {
    std::vector<std::string> names;
    CsvRecordInfo info;
    std::size_t pos = 0;
    if (!record.empty()) {
        ReadCsvRecord(record, pos, names, info);
    }
    names.resize(info.Fields);
    headerFields_ = names.size();
    headerProblem_.clear();
    if (info.Fault != CsvFault::None) {
        headerProblem_ =
            "header, field " + std::to_string(info.FaultField) + ": " + FaultText(info);
    } else if (FindInvalidUtf8(record) != std::string_view::npos) {
        headerProblem_ = "the header is not UTF-8 text";
        names.clear();
        headerFields_ = 0;
    }

    std::array<bool, InputColumns.size()> found{};
    std::string missing;
    std::string twice;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string n = NormalName(names[i]);
        for (std::size_t k = 0; k < InputColumns.size(); ++k) {
            if (n == InputColumns[k]) {
                if (found[k]) {
                    twice = std::string(InputColumns[k]);
                }
                found[k] = true;
                inputIndex_[k] = i;
            }
        }
        // A column that the tool adds replaces an input column of the same
        // name, so that an output file can be fed back in.
        const bool added = std::any_of(AddedColumns.begin(), AddedColumns.end(),
                                       [&](std::string_view a) { return NormalName(a) == n; });
        if (!added) {
            passThrough_.push_back(i);
        }
    }
    for (std::size_t k = 0; k < InputColumns.size(); ++k) {
        if (!found[k]) {
            missing += missing.empty() ? "" : ", ";
            missing += InputColumns[k];
        }
    }
    if (headerProblem_.empty() && !missing.empty()) {
        headerProblem_ = "the header lacks the column(s) " + missing;
    } else if (headerProblem_.empty() && !twice.empty()) {
        headerProblem_ = "the header names the column " + twice + " twice";
    }
    headerOk_ = headerProblem_.empty();
    problem = headerProblem_;

    OutputBuffer head;
    if (bom_) {
        head.Put("\xEF\xBB\xBF");
    }
    bool first = true;
    for (const std::size_t i : passThrough_) {
        if (!first) {
            head.Put(',');
        }
        first = false;
        AppendCsvField(head, names[i]);
    }
    for (const std::string_view a : AddedColumns) {
        if (!first) {
            head.Put(',');
        }
        first = false;
        head.Put(a);
    }
    head.Put(Crlf);
    out += head.View();
    headerNames_ = std::move(names);
    return headerOk_;
}

void CsvBatch::AppendErrorRow(const std::vector<std::string>& fields, std::size_t count,
                              std::string_view message, OutputBuffer& out) const {
    for (const std::size_t i : passThrough_) {
        AppendCsvField(out, i < count ? std::string_view(fields[i]) : std::string_view());
        out.Put(',');
    }
    // Thirteen empty result columns, then the message.
    for (std::size_t k = 1; k < AddedColumns.size(); ++k) {
        out.Put(',');
    }
    AppendCsvField(out, message);
    out.Put(Crlf);
}

void CsvBatch::ProcessChunk(std::string_view chunk, std::int64_t firstLine, ResultCache& cache,
                            ChunkResult& result) const {
    std::vector<std::string> fields;
    std::string message;
    std::string tokenError;
    ColumnInput column;
    result.Output.Reserve(std::min<std::size_t>(chunk.size() * 5, std::size_t{64} << 20));
    OutputBuffer& out = result.Output;
    std::string number;
    auto fixed = [&](float v, int decimals) {
        number.clear();
        AppendFixed(number, v, decimals);
        out.Put(number);
    };

    std::int64_t line = firstLine;
    std::size_t pos = 0;
    while (pos < chunk.size()) {
        const std::size_t start = pos;
        const std::int64_t recordLine = line;
        const std::size_t lf = chunk.find('\n', pos);
        const std::string_view physical =
            chunk.substr(pos, lf == std::string_view::npos ? std::string_view::npos : lf - pos);
        if (IsBlankLine(physical)) {
            pos = lf == std::string_view::npos ? chunk.size() : lf + 1;
            ++line;
            continue;
        }
        CsvRecordInfo info;
        ReadCsvRecord(chunk, pos, fields, info);
        line += static_cast<std::int64_t>(info.LineFeeds);
        ++result.Records;

        const std::string where = "line " + std::to_string(recordLine);
        auto fieldWhere = [&](std::size_t k) {
            const std::size_t i = inputIndex_[k];
            return where + ", field " + std::to_string(i + 1) + " (" + headerNames_[i] + "): ";
        };
        message.clear();
        if (info.Fault != CsvFault::None) {
            message = where + ", field " + std::to_string(info.FaultField) + ": " + FaultText(info);
        } else if (!headerOk_) {
            message = where + ": " + headerProblem_;
        } else if (info.Fields != headerFields_) {
            message = where + ": " + std::to_string(info.Fields) + " fields, the header has " +
                      std::to_string(headerFields_);
        } else if (const std::string_view raw = chunk.substr(start, pos - start);
                   FindInvalidUtf8(raw) != std::string_view::npos) {
            message = where + ", column " +
                      std::to_string(CharacterColumn(raw, FindInvalidUtf8(raw))) +
                      ": the row is not UTF-8 text (save the file as CSV UTF-8)";
        } else if (!ParsePatternText(fields[inputIndex_[PatternCol]], column.Pattern, tokenError)) {
            message = fieldWhere(PatternCol) + tokenError;
        } else if (!ParseReversedText(fields[inputIndex_[ReversedCol]], column.Reversed,
                                      tokenError)) {
            message = fieldWhere(ReversedCol) + tokenError;
        } else {
            for (std::size_t b = 0; b < 4; ++b) {
                if (!ParseBayToken(fields[inputIndex_[Bay1Col + b]], column.Bays[b], tokenError)) {
                    message = fieldWhere(Bay1Col + b) + tokenError;
                    break;
                }
            }
        }
        if (!message.empty()) {
            ++result.Failed;
            AppendErrorRow(fields, info.Fields, message, out);
            continue;
        }

        for (const std::size_t i : passThrough_) {
            AppendCsvField(out, fields[i]);
            out.Put(',');
        }
        const std::uint64_t key = ColumnKey(column);
        if (cache.AppendTo(key, out)) {
            continue;
        }
        const std::size_t mark = out.Size();
        const ResultType r = ComputeColumn(column);
        const std::int32_t storeys = StoreyCountOf(column.Pattern);
        // None of the texts below holds a comma, quote or line end.
        out.Put(ATermText("A1", r.WallA1Left, r.WallA1Right, r.CorrA1));
        out.Put(',');
        fixed(r.A1, 1);
        out.Put(',');
        fixed(r.B1, 1);
        out.Put(',');
        if (storeys == 2) {
            out.Put(ATermText("A2", r.WallA2Left, r.WallA2Right, r.CorrA2));
            out.Put(',');
            fixed(r.A2, 1);
            out.Put(',');
            fixed(r.B2, 1);
            out.Put(',');
        } else {
            out.Put(",,,");
        }
        fixed(r.L, 1);
        out.Put(',');
        out.Put(NLineText(r, storeys));
        out.Put(',');
        fixed(r.NValue, 2);
        out.Put(',');
        fixed(r.PullOut, 2);
        out.Put(',');
        AppendCsvField(out, r.JointSymbol);
        out.Put(',');
        if (r.JointClass == 0) {
            out.Put("---");
        } else {
            fixed(r.JointStrength, 2);
        }
        out.Put(',');
        AppendCsvField(out, r.JointName);
        out.Put(',');
        out.Put(Crlf);
        cache.Store(key, out.View().substr(mark));
    }
}

void CsvBatch::AppendOverlongRecord(std::int64_t line, std::size_t limit,
                                    ChunkResult& result) const {
    ++result.Records;
    ++result.Failed;
    const std::vector<std::string> none;
    AppendErrorRow(none, 0,
                   "line " + std::to_string(line) + ": row longer than " + SizeText(limit) +
                       "; not read",
                   result.Output);
}

} // namespace koruba::cli
