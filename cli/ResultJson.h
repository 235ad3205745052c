#pragma once

#include "calc/ResultType.h"
#include "cli/OutputBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::cli {

// Appends text as a JSON string literal. The text must be UTF-8; quotes,
// backslashes and control characters are escaped, everything else is
// copied as it is.
void AppendJsonString(OutputBuffer& out, std::string_view text);

// Appends `"result":{...},"labels":{...}` for one computed column: every
// field of the result by name in declaration order (floats as the shortest
// decimal that reads back as the same 32-bit float, the class as an
// integer), then the caption of every label that the result display writes
// and shows, by label name in the order the window assigns them.
void AppendResultAndLabels(OutputBuffer& out, const ResultType& result, std::int32_t storeyCount);

// The same, with the float texts taken from a cache: a batch meets the same
// few hundred float values over and over, and finding the shortest text of
// a float costs more than the rest of the record.
class FloatTextCache;
void AppendResultAndLabels(OutputBuffer& out, const ResultType& result, std::int32_t storeyCount,
                           FloatTextCache& floats);

// Shortest round-trip texts of floats, by bit pattern; direct-mapped.
class FloatTextCache {
public:
    std::string_view Text(float value);

private:
    struct Slot {
        std::uint32_t bits = 0;
        std::uint8_t size = 0; // 0: empty
        char text[23] = {};
    };
    static constexpr std::size_t SlotCount = 1024;
    Slot slots_[SlotCount];
};

} // namespace koruba::cli
