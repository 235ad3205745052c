#pragma once

#include "cli/BatchFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace koruba::cli {

struct BatchOptions {
    // Worker threads; 0 takes the number of processors. With 1 every chunk
    // is computed on the calling thread.
    int Jobs = 0;
    std::size_t ReadSize = std::size_t{1} << 20;
    // A record longer than this is reported instead of read.
    std::size_t RecordLimit = std::size_t{16} << 20;
};

struct BatchOutcome {
    std::int64_t Records = 0;
    std::int64_t Failed = 0;
    bool HeaderOk = true;
    std::string HeaderProblem;
    bool ReadFailed = false;
    bool WriteFailed = false;
};

// Reads up to n bytes into buf; returns the count, 0 at the end, or -1 on
// a read error.
using ReadFunction = std::function<std::ptrdiff_t(char* buf, std::size_t n)>;
// Writes the bytes; false on a write error.
using WriteFunction = std::function<bool(std::string_view bytes)>;

// Runs a batch: cuts the input into chunks of whole records, computes them
// on worker threads and writes their output in input order, so the output
// has one record per input record in the same order whatever the thread
// count. A UTF-8 byte order mark at the start of the input is dropped.
BatchOutcome RunBatch(const ReadFunction& read, const WriteFunction& write, BatchFormat& format,
                      const BatchOptions& options);

BatchOutcome RunBatch(std::FILE* in, std::FILE* out, BatchFormat& format,
                      const BatchOptions& options);

} // namespace koruba::cli
