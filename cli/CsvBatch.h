#pragma once

#include "cli/BatchFormat.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::cli {

// The CSV batch format. The input's header names the columns id, pattern,
// reversed, bay1 .. bay4 in any order and in any letter case; other columns
// are passed through. The output repeats the input columns and adds the
// formula terms, N, the pull-out force, the hardware and an error column,
// one row per input row. It is UTF-8 with CRLF line ends, by default with a
// byte order mark so that spreadsheet programs take it for UTF-8.
class CsvBatch final : public BatchFormat {
public:
    explicit CsvBatch(bool byteOrderMark = true) : bom_(byteOrderMark) {}

    static constexpr std::array<std::string_view, 7> InputColumns{
        "id", "pattern", "reversed", "bay1", "bay2", "bay3", "bay4"};
    static constexpr std::array<std::string_view, 14> AddedColumns{
        "A1_term", "A1", "B1",          "A2_term", "A2",          "B2",       "L",
        "N_line",  "N",  "pull_out_kN", "symbol",  "strength_kN", "hardware", "error"};

    std::size_t WholeRecordsEnd(std::string_view data) const override;
    std::size_t FirstRecordEnd(std::string_view data) const override;
    std::size_t BrokenRecordEnd(std::string_view data) const override;
    bool HasHeader() const override { return true; }
    bool TakeHeader(std::string_view record, std::string& out, std::string& problem) override;
    void ProcessChunk(std::string_view chunk, std::int64_t firstLine, ResultCache& cache,
                      ChunkResult& result) const override;
    void AppendOverlongRecord(std::int64_t line, std::size_t limit,
                              ChunkResult& result) const override;

private:
    void AppendErrorRow(const std::vector<std::string>& fields, std::size_t count,
                        std::string_view message, OutputBuffer& out) const;

    bool bom_;
    bool headerOk_ = false;
    std::string headerProblem_;
    std::size_t headerFields_ = 0;
    std::array<std::size_t, 7> inputIndex_{}; // field index of each input column
    std::vector<std::size_t> passThrough_;    // field indexes copied to the output
    std::vector<std::string> headerNames_;
};

} // namespace koruba::cli
