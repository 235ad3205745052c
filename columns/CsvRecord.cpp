#include "columns/CsvRecord.h"

#include <algorithm>

namespace koruba::columns {

void splitCsvRecord(std::string_view record, std::vector<std::string>& fields, CsvSplit& split,
                    std::size_t keep) {
    split.fields = 0;
    split.kept = 0;
    split.starts.clear();
    split.fault = CsvFault::None;
    split.faultField = 0;
    split.faultOffset = 0;
    const std::size_t n = record.size();
    std::size_t pos = 0;
    auto setFault = [&](CsvFault kind, std::size_t at) {
        if (split.fault == CsvFault::None) {
            split.fault = kind;
            split.faultField = split.fields;
            split.faultOffset = at;
        }
    };
    std::string passedOver; // a field that is not kept
    while (true) {
        if (split.kept < keep && fields.size() <= split.kept) {
            fields.emplace_back();
        }
        std::string& f = split.kept < keep ? fields[split.kept++] : passedOver;
        if (&f != &passedOver) {
            split.starts.push_back(pos);
        }
        ++split.fields;
        f.clear();
        if (pos < n && record[pos] == '"') {
            const std::size_t open = pos;
            ++pos;
            while (true) {
                const std::size_t q = record.find('"', pos);
                if (q == std::string_view::npos) {
                    f.append(record.substr(pos));
                    setFault(CsvFault::Unclosed, open);
                    return;
                }
                f.append(record.substr(pos, q - pos));
                if (q + 1 < n && record[q + 1] == '"') {
                    f += '"';
                    pos = q + 2;
                    continue;
                }
                pos = q + 1;
                break;
            }
            // Only a comma or the end of the record may follow.
            const std::size_t comma = std::min(record.find(',', pos), n);
            if (comma != pos) {
                setFault(CsvFault::TextAfterQuote, pos);
            }
            pos = comma;
        } else {
            const std::size_t comma = std::min(record.find(',', pos), n);
            f.assign(record.substr(pos, comma - pos));
            pos = comma;
        }
        if (pos >= n) {
            return;
        }
        ++pos; // the comma
    }
}

void appendCsvField(std::string& out, std::string_view field) {
    bool plain = true;
    for (const char c : field) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

} // namespace koruba::columns
