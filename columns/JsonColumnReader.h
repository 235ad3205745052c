#pragma once

#include "columns/RecordReader.h"

#include <memory>
#include <string>
#include <string_view>

namespace koruba::columns {

// Reads one line of the JSON Lines format into a record:
// {"id": "C1", "pattern": 13, "reversed": false, "bays": ["L45", "", "X90+P2.5", "P1.0"]}
// The line must be one JSON object (strict JSON, UTF-8); id, pattern,
// reversed and bays must be there once each with values of their kind;
// other members are kept as cells. Optional: "rules" or "rule_set" (2000
// or 2025, a number or a string), "h1" and "h2" (storey heights in metres,
// a number or a numeric string). Parsing is simdjson's On Demand API.
class JsonColumnReader {
public:
    // Nesting deeper than this inside any member is refused.
    static constexpr int kMaxDepth = 256;

    JsonColumnReader();
    ~JsonColumnReader();
    JsonColumnReader(const JsonColumnReader&) = delete;
    JsonColumnReader& operator=(const JsonColumnReader&) = delete;

    // Fills record's cells, id and column; on failure returns false with a
    // message that starts with the 1-based character column ("column 17:
    // ..."). record.haveId tells whether the id was read before the fault.
    // The rules are those of a line without a "rules" or "rule_set"
    // member.
    bool read(std::string_view line, InputRecord& record, std::string& error,
              RuleSet defaultRules = RuleSet::Notice2000);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace koruba::columns
