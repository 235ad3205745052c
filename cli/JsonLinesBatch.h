#pragma once

#include "cli/BatchFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::cli {

class JsonLineParser;
class ResultCache;
class FloatTextCache;
struct JsonColumnRecord;

// The JSON Lines batch format: one object per input line, one object per
// output line, in the same order. A computed line reads
// {"id":"C1","result":{...},"labels":{...}}; a line that cannot be
// computed gives {"id":"C1","error":"line 3, column 17: ..."} with the id
// as far as it could be read (null otherwise). Blank lines are skipped.
class JsonLinesBatch final : public BatchFormat {
public:
    std::size_t WholeRecordsEnd(std::string_view data) const override;
    void ProcessChunk(std::string_view chunk, std::int64_t firstLine, ResultCache& cache,
                      ChunkResult& result) const override;
    void AppendOverlongRecord(std::int64_t line, std::size_t limit,
                              ChunkResult& result) const override;

    // One line without its line feed; appends the output line with its line
    // feed and returns false when the line failed.
    static bool AppendLine(std::string_view line, std::int64_t lineNumber, JsonLineParser& parser,
                           JsonColumnRecord& record, std::string& scratch, ResultCache& cache,
                           FloatTextCache& floats, OutputBuffer& out);
};

} // namespace koruba::cli
