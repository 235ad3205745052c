#pragma once

#include "columns/ColumnFileFormat.h"
#include "columns/ColumnInput.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::columns {

// Reads the column files of the batch tool, CSV or JSON Lines, one record
// at a time in a single pass with bounded memory. Anything that shows
// columns from such a file (the batch tool, a column list, a printed
// sheet) reads it through this, so that all of them accept and refuse the
// same records with the same messages.
//
//     RecordReader reader(ColumnFileFormat::Csv, readFromFile(file));
//     reader.readHeader();                 // CSV: the header record
//     InputRecord r;
//     while (reader.next(r)) {
//         if (r.ok()) { ... r.column ... } else { ... r.error ... }
//     }
//     if (reader.readFailed()) { ... }
//
// CSV: the header names the columns id, pattern, reversed, bay1 .. bay4
// (any order and letter case, each once); other columns are kept as cells.
// A column named error that is not empty marks a row that failed in an
// earlier run: it fails again instead of being computed from blank cells.
// JSON Lines: one object per line with id, pattern, reversed and bays;
// other members are kept as cells. Blank lines are skipped in both.
//
// Rules: a record may give the storey heights h1 and h2 in metres (a CSV
// column, a JSON number or numeric string) and its rule set (2000 or 2025)
// as rules or as rule_set, the name the tool's output writes it under, so
// that an output read back is computed under the rules it was computed
// under. A record that names its set is computed under it, also when
// --rules asked for the other set (the record's own set is the one its
// output row names); one whose rules and rule_set disagree fails. A
// record computed under the 2025 rules without the heights its pattern
// needs fails and names the missing height; a height that is not a number
// from 2.00 to 4.50 fails under any rules.

// A record may be this long, not counting its line end.
inline constexpr std::size_t kRecordLimit = std::size_t{16} << 20;
// A CSV header may name this many columns, a JSON object hold this many
// members: each is kept as a cell, and a cell costs far more than the
// byte or two a column can take in a record.
inline constexpr std::size_t kFieldLimit = 10000;

struct InputCell {
    std::string name;  // the CSV header's name (empty past the header), the JSON member name
    std::string value; // the CSV field, the JSON string's text or the JSON value as written
    // Whether value is a JSON value other than a string, as written: a
    // reader that writes the cell back must not turn 12 into "12".
    bool asWritten = false;
};

struct InputRecord {
    std::int64_t firstLine = 0; // 1-based lines of the input the record spans
    std::int64_t lastLine = 0;
    // The cells in input order, unknown ones included; always UTF-8 (bad
    // bytes of the input are replaced by U+FFFD). Empty for a record too
    // long to be read. A CSV row with more fields than its header keeps
    // one more cell than the header has (the row fails; the cell count
    // shows that it does not fit), a JSON line with too many members those
    // read before the fault.
    std::vector<InputCell> cells;
    std::string id; // the id as text, when it could be read
    bool haveId = false;
    ColumnInput column;
    // Empty when Column holds a column to compute; else what is wrong and
    // where ("line 7, field 6 (bay3): ...", "line 3, column 17: ...").
    std::string error;

    bool ok() const { return error.empty(); }
};

// Reads up to n bytes into buf: the count, 0 at the end, -1 on an error
// (errno tells which).
using ReadFunction = std::function<std::ptrdiff_t(char* buf, std::size_t n)>;
ReadFunction readFromFile(std::FILE* file);
// Reads bytes held in memory, which must outlive the function.
ReadFunction readFromText(std::string_view bytes);

// The rule set a record is computed under, from what it names (its rules
// and rule_set cells, each when given) and the reader's default; empty
// when it is, else why the record cannot be computed.
std::string namedRulesProblem(std::optional<RuleSet> rules, std::optional<RuleSet> ruleSet,
                              RuleSet defaultRules, RuleSet& result);

// A column or member name as the reader compares it: without blanks
// around it and in lower case, so that " ID" and "Id" both name the id.
std::string normalColumnName(std::string_view name);

class RecordReader {
public:
    RecordReader(ColumnFileFormat format, ReadFunction read,
                 std::size_t recordLimit = kRecordLimit);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    ColumnFileFormat format() const;

    // The rules of records that do not name theirs; 2000 unless set.
    void setDefaultRules(RuleSet rules);
    RuleSet defaultRules() const;

    // CSV: reads the header record; false when the input holds none (it is
    // empty or blank). next() calls this itself when needed. JSON Lines: no
    // header, always false.
    bool readHeader();
    // The header's names as written (UTF-8), and why it cannot be used
    // (empty when it can; every record then fails with this problem).
    const std::vector<std::string>& headerNames() const;
    const std::string& headerProblem() const;

    // The next record; false at the end of the input or after a read error.
    bool next(InputRecord& record);

    bool readFailed() const;
    int readErrno() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace koruba::columns
