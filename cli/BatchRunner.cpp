#include "cli/BatchRunner.h"

#include "cli/ResultCache.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace koruba::cli {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Worker threads that compute chunks; they share one result cache.
// Chunks are taken in submission order; the futures deliver the results.
class WorkerPool {
public:
    WorkerPool(int threads, const BatchFormat& format, ResultCache& cache)
        : format_(format), cache_(cache) {
        for (int i = 0; i < threads; ++i) {
            threads_.emplace_back([this] { Work(); });
        }
    }
    ~WorkerPool() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) {
            t.join();
        }
    }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Output buffers that the reader has written out come back here, so
    // that the next chunks write into memory that is already mapped.
    void Recycle(OutputBuffer buffer) {
        buffer.Clear();
        const std::lock_guard<std::mutex> lock(mutex_);
        if (spare_.size() < 2 * threads_.size() + 2) {
            spare_.push_back(std::move(buffer));
        }
    }

    std::future<ChunkResult> Submit(std::string data, std::int64_t firstLine) {
        Task task{std::move(data), firstLine, {}};
        std::future<ChunkResult> result = task.promise.get_future();
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        wake_.notify_one();
        return result;
    }

private:
    struct Task {
        std::string data;
        std::int64_t firstLine;
        std::promise<ChunkResult> promise;
    };

    void Work() {
        OutputBuffer buffer;
        while (true) {
            Task task;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
                if (tasks_.empty()) {
                    return;
                }
                task = std::move(tasks_.front());
                tasks_.pop_front();
                if (!spare_.empty()) {
                    buffer = std::move(spare_.back());
                    spare_.pop_back();
                }
            }
            try {
                ChunkResult r;
                r.Output = std::move(buffer);
                format_.ProcessChunk(task.data, task.firstLine, cache_, r);
                task.promise.set_value(std::move(r));
            } catch (...) {
                // Out of memory, most likely: the reader rethrows it in order.
                task.promise.set_exception(std::current_exception());
            }
        }
    }

    const BatchFormat& format_;
    ResultCache& cache_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
    std::vector<OutputBuffer> spare_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

std::int64_t LineFeeds(std::string_view s) {
    std::int64_t n = 0;
    const char* p = s.data();
    const char* const end = p + s.size();
    while ((p = static_cast<const char*>(
                std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++n;
        ++p;
    }
    return n;
}

} // namespace

BatchOutcome RunBatch(const ReadFunction& read, const WriteFunction& write, BatchFormat& format,
                      const BatchOptions& options) {
    BatchOutcome outcome;
    int jobs = options.Jobs;
    if (jobs <= 0) {
        jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    }
    const std::size_t readSize = std::max<std::size_t>(options.ReadSize, 1);

    std::string pending;
    bool atEnd = false;
    bool started = false;
    bool skipping = false; // inside an over-long line, dropping it
    bool headerPending = format.HasHeader();
    bool anyRecord = false;
    std::int64_t nextLine = 1;
    std::deque<std::future<ChunkResult>> inFlight;
    ResultCache cache;
    OutputBuffer ownBuffer;
    WorkerPool pool(jobs == 1 ? 0 : jobs, format, cache);

    auto emit = [&](ChunkResult&& r) {
        outcome.Records += r.Records;
        outcome.Failed += r.Failed;
        if (r.Records > 0) {
            anyRecord = true;
        }
        if (!outcome.WriteFailed && !r.Output.Empty() && !write(r.Output.View())) {
            outcome.WriteFailed = true;
        }
        if (jobs == 1) {
            ownBuffer = std::move(r.Output);
        } else {
            pool.Recycle(std::move(r.Output));
        }
    };
    auto submit = [&](std::string data, std::int64_t firstLine) {
        if (jobs == 1) {
            ChunkResult r;
            r.Output = std::move(ownBuffer);
            r.Output.Clear();
            format.ProcessChunk(data, firstLine, cache, r);
            emit(std::move(r));
            return;
        }
        // Bounded look-ahead keeps memory flat; the oldest chunk is written
        // first, so the output keeps the input order.
        while (inFlight.size() >= static_cast<std::size_t>(2 * jobs)) {
            emit(inFlight.front().get());
            inFlight.pop_front();
        }
        inFlight.push_back(pool.Submit(std::move(data), firstLine));
    };
    auto writeHeaderOutput = [&](const std::string& text) {
        if (!text.empty() && !outcome.WriteFailed && !write(text)) {
            outcome.WriteFailed = true;
        }
    };
    // Takes the header off the front of a piece of whole records.
    auto takeHeader = [&](std::string& piece, std::int64_t& line) {
        std::size_t pos = 0;
        while (headerPending && pos < piece.size()) {
            const std::string_view rest = std::string_view(piece).substr(pos);
            std::size_t end = format.FirstRecordEnd(rest);
            if (end == std::string_view::npos) {
                end = rest.size();
            }
            std::string_view record = rest.substr(0, end);
            line += LineFeeds(record);
            pos += end;
            if (!record.empty() && record.back() == '\n') {
                record.remove_suffix(1);
            }
            if (IsBlankLine(record)) {
                continue;
            }
            std::string head;
            outcome.HeaderOk = format.TakeHeader(record, head, outcome.HeaderProblem);
            writeHeaderOutput(head);
            headerPending = false;
        }
        piece.erase(0, pos);
    };
    auto dispatch = [&](std::string piece) {
        std::int64_t line = nextLine;
        nextLine += LineFeeds(piece);
        if (headerPending) {
            takeHeader(piece, line);
        }
        if (!piece.empty()) {
            submit(std::move(piece), line);
        }
    };

    while (!outcome.WriteFailed) {
        if (!atEnd) {
            const std::size_t old = pending.size();
            pending.resize(old + readSize);
            const std::ptrdiff_t n = read(pending.data() + old, readSize);
            pending.resize(old + static_cast<std::size_t>(std::max<std::ptrdiff_t>(n, 0)));
            if (n < 0) {
                outcome.ReadFailed = true;
            }
            if (n <= 0) {
                atEnd = true;
            }
            if (!started && (pending.size() >= Utf8Bom.size() || atEnd)) {
                started = true;
                if (std::string_view(pending).substr(0, Utf8Bom.size()) == Utf8Bom) {
                    pending.erase(0, Utf8Bom.size());
                }
            }
        }
        if (skipping) {
            const std::size_t lf = pending.find('\n');
            if (lf == std::string::npos) {
                pending.clear();
                if (atEnd) {
                    break;
                }
                continue;
            }
            pending.erase(0, lf + 1);
            skipping = false;
        }
        const std::size_t whole = format.WholeRecordsEnd(pending);
        if (whole > 0) {
            dispatch(pending.substr(0, whole));
            pending.erase(0, whole);
            continue;
        }
        if (atEnd) {
            if (!pending.empty()) {
                dispatch(std::move(pending));
                pending.clear();
            }
            break;
        }
        if (pending.size() > options.RecordLimit) {
            const std::size_t broken = format.BrokenRecordEnd(pending);
            if (broken > 0) {
                dispatch(pending.substr(0, broken));
                pending.erase(0, broken);
                continue;
            }
            if (headerPending) {
                std::string head;
                std::string ignored;
                format.TakeHeader({}, head, ignored);
                outcome.HeaderOk = false;
                outcome.HeaderProblem = "the header line is too long to be read";
                writeHeaderOutput(head);
                headerPending = false;
            } else {
                ChunkResult r;
                format.AppendOverlongRecord(nextLine, options.RecordLimit, r);
                while (!inFlight.empty()) {
                    emit(inFlight.front().get());
                    inFlight.pop_front();
                }
                emit(std::move(r));
            }
            ++nextLine;
            pending.clear();
            skipping = true;
        }
    }
    while (!inFlight.empty()) {
        emit(inFlight.front().get());
        inFlight.pop_front();
    }
    if (headerPending && !anyRecord) {
        std::string empty;
        format.AppendEmptyInput(empty);
        writeHeaderOutput(empty);
    }
    return outcome;
}

BatchOutcome RunBatch(std::FILE* in, std::FILE* out, BatchFormat& format,
                      const BatchOptions& options) {
    const ReadFunction read = [in](char* buf, std::size_t n) -> std::ptrdiff_t {
        const std::size_t got = std::fread(buf, 1, n, in);
        if (got == 0 && std::ferror(in)) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    };
    const WriteFunction write = [out](std::string_view bytes) {
        return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    };
    BatchOutcome outcome = RunBatch(read, write, format, options);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        outcome.WriteFailed = true;
    }
    return outcome;
}

} // namespace koruba::cli
