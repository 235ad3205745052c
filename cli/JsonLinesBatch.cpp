#include "cli/JsonLinesBatch.h"

#include "cli/JsonLineParser.h"
#include "cli/ResultCache.h"
#include "cli/ResultJson.h"

#include <algorithm>

namespace koruba::cli {

std::size_t JsonLinesBatch::WholeRecordsEnd(std::string_view data) const {
    const std::size_t lf = data.rfind('\n');
    return lf == std::string_view::npos ? 0 : lf + 1;
}

bool JsonLinesBatch::AppendLine(std::string_view line, std::int64_t lineNumber,
                                JsonLineParser& parser, JsonColumnRecord& record,
                                std::string& scratch, ResultCache& cache, FloatTextCache& floats,
                                OutputBuffer& out) {
    const bool ok = parser.Parse(line, record, scratch);
    out.Put("{\"id\":");
    if (record.HaveId) {
        AppendJsonString(out, record.Id);
    } else {
        out.Put("null");
    }
    if (ok) {
        out.Put(',');
        const std::uint64_t key = ColumnKey(record.Column);
        if (!cache.AppendTo(key, out)) {
            const std::size_t mark = out.Size();
            AppendResultAndLabels(out, ComputeColumn(record.Column),
                                  StoreyCountOf(record.Column.Pattern), floats);
            cache.Store(key, out.View().substr(mark));
        }
    } else {
        out.Put(",\"error\":");
        AppendJsonString(out, "line " + std::to_string(lineNumber) + ", " + scratch);
    }
    out.Put("}\n");
    return ok;
}

void JsonLinesBatch::ProcessChunk(std::string_view chunk, std::int64_t firstLine,
                                  ResultCache& cache, ChunkResult& result) const {
    JsonLineParser parser;
    JsonColumnRecord record;
    std::string scratch;
    FloatTextCache floats;
    // The output of a computed line is about twelve times its input.
    result.Output.Reserve(std::min<std::size_t>(chunk.size() * 14, std::size_t{64} << 20));
    std::int64_t line = firstLine;
    std::size_t pos = 0;
    while (pos < chunk.size()) {
        std::size_t lf = chunk.find('\n', pos);
        if (lf == std::string_view::npos) {
            lf = chunk.size();
        }
        const std::string_view text = chunk.substr(pos, lf - pos);
        pos = lf + 1;
        if (!IsBlankLine(text)) {
            ++result.Records;
            if (!AppendLine(text, line, parser, record, scratch, cache, floats, result.Output)) {
                ++result.Failed;
            }
        }
        ++line;
    }
}

void JsonLinesBatch::AppendOverlongRecord(std::int64_t line, std::size_t limit,
                                          ChunkResult& result) const {
    ++result.Records;
    ++result.Failed;
    result.Output.Put("{\"id\":null,\"error\":");
    AppendJsonString(result.Output, "line " + std::to_string(line) + ": line longer than " +
                                        SizeText(limit) + "; not read");
    result.Output.Put("}\n");
}

} // namespace koruba::cli
