#pragma once

#include "cli/OutputBuffer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::cli {

class ResultCache;

// What a chunk of input produced: its output records and how many of its
// records there were and how many failed.
struct ChunkResult {
    OutputBuffer Output;
    std::int64_t Records = 0;
    std::int64_t Failed = 0;
};

// A batch input format as the batch runner drives it. The runner cuts the
// input into chunks of whole records and hands them to ProcessChunk on
// worker threads, so ProcessChunk must only read the format's state; the
// header, if the format has one, is taken before the first chunk.
class BatchFormat {
public:
    virtual ~BatchFormat() = default;

    // Length of the longest prefix of data that consists of whole records
    // (each ending with a line feed); 0 when the first record is not
    // complete yet.
    virtual std::size_t WholeRecordsEnd(std::string_view data) const = 0;
    // Length of the first record including its line feed, or npos when the
    // data does not hold a whole record.
    virtual std::size_t FirstRecordEnd(std::string_view data) const {
        const std::size_t lf = data.find('\n');
        return lf == std::string_view::npos ? lf : lf + 1;
    }
    // For a record that grew beyond the size limit without ending: the
    // length of a prefix that can still be handed on as a (faulty) record,
    // so that the records after it are read; 0 when there is none and the
    // rest of the line is skipped.
    virtual std::size_t BrokenRecordEnd(std::string_view /*data*/) const { return 0; }

    virtual bool HasHeader() const { return false; }
    // The header record (without its line end) and what the output starts
    // with. False when the header is unusable; the records are then still
    // read, and each fails.
    virtual bool TakeHeader(std::string_view /*record*/, std::string& /*out*/,
                            std::string& /*problem*/) {
        return true;
    }
    // When the input has no records at all: what the output consists of.
    virtual void AppendEmptyInput(std::string& /*out*/) const {}

    // The cache lives for the whole run and is shared by the workers.
    virtual void ProcessChunk(std::string_view chunk, std::int64_t firstLine, ResultCache& cache,
                              ChunkResult& result) const = 0;
    // The record for an input line that is too long to be read.
    virtual void AppendOverlongRecord(std::int64_t line, std::size_t limit,
                                      ChunkResult& result) const = 0;
};

// "16 MiB" for the record size limit in messages.
inline std::string SizeText(std::size_t bytes) {
    if (bytes % (std::size_t{1} << 20) == 0) {
        return std::to_string(bytes >> 20) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

// Whether a physical line holds nothing but blanks (and a carriage return):
// such lines are skipped in both formats and count only for line numbers.
inline bool IsBlankLine(std::string_view line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') {
            return false;
        }
    }
    return true;
}

} // namespace koruba::cli
