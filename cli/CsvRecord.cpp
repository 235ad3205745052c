#include "cli/CsvRecord.h"

#include <algorithm>

namespace koruba::cli {

namespace {

enum class ScanState { FieldStart, Unquoted, Quoted, QuoteEnd };

// Scans from the start of data; returns the end of the first record
// (firstOnly) or of the last whole record.
std::size_t ScanRecords(std::string_view data, bool firstOnly) {
    ScanState state = ScanState::FieldStart;
    std::size_t last = 0;
    const std::size_t n = data.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = data[i];
        switch (state) {
        case ScanState::FieldStart:
        case ScanState::Unquoted:
            if (c == '\n') {
                last = i + 1;
                if (firstOnly) {
                    return last;
                }
                state = ScanState::FieldStart;
            } else if (c == ',') {
                state = ScanState::FieldStart;
            } else if (c == '"' && state == ScanState::FieldStart) {
                state = ScanState::Quoted;
            } else {
                state = ScanState::Unquoted;
            }
            break;
        case ScanState::Quoted: {
            const std::size_t q = data.find('"', i);
            if (q == std::string_view::npos) {
                i = n;
                break;
            }
            i = q;
            state = ScanState::QuoteEnd;
            break;
        }
        case ScanState::QuoteEnd:
            if (c == '"') {
                state = ScanState::Quoted;
            } else if (c == ',') {
                state = ScanState::FieldStart;
            } else if (c == '\n') {
                last = i + 1;
                if (firstOnly) {
                    return last;
                }
                state = ScanState::FieldStart;
            } else {
                state = ScanState::Unquoted;
            }
            break;
        }
    }
    return firstOnly ? std::string_view::npos : last;
}

} // namespace

std::size_t CsvWholeRecordsEnd(std::string_view data) {
    return ScanRecords(data, false);
}

std::size_t CsvFirstRecordEnd(std::string_view data) {
    return ScanRecords(data, true);
}

void ReadCsvRecord(std::string_view data, std::size_t& pos, std::vector<std::string>& fields,
                   CsvRecordInfo& info) {
    info = CsvRecordInfo{};
    const std::size_t start = pos;
    const std::size_t n = data.size();
    while (true) {
        if (fields.size() <= info.Fields) {
            fields.emplace_back();
        }
        std::string& f = fields[info.Fields++];
        f.clear();
        bool quoted = false;
        if (pos < n && data[pos] == '"') {
            quoted = true;
            ++pos;
            while (true) {
                const std::size_t q = data.find('"', pos);
                if (q == std::string_view::npos) {
                    info.Fault = CsvFault::Unclosed;
                    info.FaultField = info.Fields;
                    const std::size_t lf = data.find('\n', start);
                    pos = lf == std::string_view::npos ? n : lf + 1;
                    info.LineFeeds = lf == std::string_view::npos ? 0 : 1;
                    return;
                }
                const std::string_view part = data.substr(pos, q - pos);
                info.LineFeeds +=
                    static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n'));
                f.append(part);
                if (q + 1 < n && data[q + 1] == '"') {
                    f += '"';
                    pos = q + 2;
                    continue;
                }
                pos = q + 1;
                break;
            }
            // Only a comma, a line end or the end of the data may follow.
            std::size_t e = pos;
            while (e < n && data[e] != ',' && data[e] != '\n') {
                ++e;
            }
            const bool crOnly = e == pos + 1 && data[pos] == '\r';
            if (e != pos && !crOnly && info.Fault == CsvFault::None) {
                info.Fault = CsvFault::TextAfterQuote;
                info.FaultField = info.Fields;
            }
            pos = e;
        } else {
            std::size_t e = pos;
            while (e < n && data[e] != ',' && data[e] != '\n') {
                ++e;
            }
            f.assign(data.substr(pos, e - pos));
            pos = e;
        }
        if (pos < n && data[pos] == ',') {
            ++pos;
            continue;
        }
        if (!quoted && !f.empty() && f.back() == '\r') {
            f.pop_back();
        }
        if (pos < n) {
            ++pos; // the line feed
            ++info.LineFeeds;
        }
        return;
    }
}

void AppendCsvField(OutputBuffer& out, std::string_view field) {
    // find_first_of with a set of four goes through memchr once per
    // character; a plain loop is several times faster on short fields.
    bool plain = true;
    for (const char c : field) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out.Put(field);
        return;
    }
    out.Put('"');
    for (const char c : field) {
        if (c == '"') {
            out.Put('"');
        }
        out.Put(c);
    }
    out.Put('"');
}

} // namespace koruba::cli
