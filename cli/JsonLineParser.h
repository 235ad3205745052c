#pragma once

#include "cli/ColumnInput.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace koruba::cli {

// One input line of the JSON Lines format, read:
// {"id": "C1", "pattern": 13, "reversed": false, "bays": ["L45", "", "X90+P2.5", "P1.0"]}
struct JsonColumnRecord {
    std::string Id; // a numeric id is kept as the number's text
    bool HaveId = false;
    ColumnInput Column;
};

// Reads the one object shape of the batch format without building a
// document: any valid JSON object is accepted (members in any order,
// any whitespace and escapes, other members skipped), while the four
// members the calculation needs must be there, once each, with values of
// the right kind. One parser per thread; it keeps its scratch buffer
// between lines so that a run allocates next to nothing.
class JsonLineParser {
public:
    // On failure returns false with a message that starts with the 1-based
    // character column ("column 17: ..."); record.HaveId tells whether the
    // id was read before the fault.
    bool Parse(std::string_view line, JsonColumnRecord& record, std::string& error);

    // Deeper nesting inside skipped members is refused rather than followed.
    static constexpr int MaxDepth = 256;

private:
    bool Fail(std::size_t at, std::string_view what);
    void SkipBlanks();
    bool Expect(char c, std::string_view what);
    bool ReadString(std::string_view& value);
    bool ReadNumber(std::string_view& text);
    bool ReadWord(std::string_view word);
    bool SkipValue(int depth);
    bool ReadId(JsonColumnRecord& record);
    bool ReadPattern(ColumnInput& column);
    bool ReadReversed(ColumnInput& column);
    bool ReadBays(ColumnInput& column);

    std::string_view s_;
    std::size_t i_ = 0;
    std::string scratch_;
    std::string* error_ = nullptr;
};

} // namespace koruba::cli
