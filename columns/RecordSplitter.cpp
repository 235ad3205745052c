#include "columns/RecordSplitter.h"

#include <cerrno>
#include <cstring>

namespace koruba::columns {

namespace {

constexpr std::size_t kReadSize = std::size_t{64} << 10;

// Where a CSV scan stands: quotes open a field only at its start, and a
// doubled quote inside a quoted field is a quote.
enum class Quote { FieldStart, Plain, Open, MayClose };

Quote step(Quote q, char c) {
    switch (q) {
    case Quote::FieldStart:
    case Quote::Plain:
        if (c == ',' || c == '\n') {
            return Quote::FieldStart;
        }
        return c == '"' && q == Quote::FieldStart ? Quote::Open : Quote::Plain;
    case Quote::Open:
        return c == '"' ? Quote::MayClose : Quote::Open;
    case Quote::MayClose:
        if (c == '"') {
            return Quote::Open;
        }
        return c == ',' || c == '\n' ? Quote::FieldStart : Quote::Plain;
    }
    return q;
}

} // namespace

RecordSplitter::RecordSplitter(bool csvQuotes, ReadFunction read, std::size_t limit)
    : csv_(csvQuotes), read_(std::move(read)), limit_(limit) {}

bool RecordSplitter::fill() {
    if (atEnd_) {
        return false;
    }
    if (begin_ > 0) {
        std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        lastStart_ = 0;
        begin_ = 0;
    }
    if (buf_.size() < end_ + kReadSize) {
        buf_.resize(end_ + kReadSize);
    }
    errno = 0;
    const std::ptrdiff_t n = read_(buf_.data() + end_, kReadSize);
    if (n <= 0) {
        atEnd_ = true;
        readFailed_ = n < 0;
        readErrno_ = n < 0 ? errno : 0;
        return false;
    }
    end_ += static_cast<std::size_t>(n);
    return true;
}

void RecordSplitter::dropByteOrderMark() {
    started_ = true;
    while (end_ - begin_ < 3 && fill()) {
    }
    if (end_ - begin_ >= 3 && std::memcmp(buf_.data() + begin_, "\xEF\xBB\xBF", 3) == 0) {
        begin_ += 3;
    }
}

bool RecordSplitter::next(RawRecord& record, bool oneLine) {
    if (!started_) {
        dropByteOrderMark();
    }
    record = RawRecord{};
    record.firstLine = nextLine_;
    const bool csv = csv_ && !oneLine;
    std::int64_t lineFeeds = 0;
    Quote quote = Quote::FieldStart;
    std::size_t k = 0; // scanned bytes of the record, from begin_
    bool found = false;
    char lastByte = 0; // of the record, also when its bytes were passed over
    while (true) {
        if (begin_ + k == end_) {
            lastByte = k > 0 ? buf_[begin_ + k - 1] : lastByte;
            if (!record.tooLong && k > limit_ + 1) {
                // Longer than any record with a CRLF end may be: pass over
                // the rest without keeping it.
                record.tooLong = true;
            }
            if (record.tooLong) {
                begin_ += k;
                k = 0;
            }
            if (!fill()) {
                break;
            }
            continue;
        }
        const char* p = buf_.data() + begin_ + k;
        const std::size_t left = end_ - begin_ - k;
        if (!csv || quote == Quote::FieldStart || quote == Quote::Plain) {
            // Outside quotes only a line feed or (CSV) a quote matters.
            std::size_t i = 0;
            while (i < left && p[i] != '\n' && (!csv || p[i] != '"')) {
                quote = csv ? step(quote, p[i]) : quote;
                ++i;
            }
            k += i;
            if (i == left) {
                continue;
            }
            if (p[i] == '\n') {
                found = true;
                break;
            }
        }
        const char c = buf_[begin_ + k];
        quote = step(quote, c);
        if (c == '\n') {
            if (quote == Quote::FieldStart) {
                found = true;
                break;
            }
            ++lineFeeds;
        }
        ++k;
    }
    if (!found && k == 0 && !record.tooLong) {
        return false;
    }
    std::size_t size = k;
    if (!found && lastByte == '\n') {
        // A quote left open to the end of the input: the last line feed
        // ends the last line, it starts no line of its own.
        --lineFeeds;
        size -= size > 0 ? 1 : 0;
    }
    record.lastLine = record.firstLine + lineFeeds;
    nextLine_ = record.lastLine + 1;
    lastStart_ = begin_;
    if (size > 0 && buf_[begin_ + size - 1] == '\r') {
        --size;
    }
    if (!record.tooLong && size > limit_) {
        record.tooLong = true;
    }
    if (!record.tooLong) {
        record.text = std::string_view(buf_.data() + begin_, size);
        record.unclosed = csv && !found && (quote == Quote::Open);
    }
    begin_ += k + (found ? 1 : 0);
    return true;
}

void RecordSplitter::cutBackToFirstLine(RawRecord& record) {
    const std::size_t lf = record.text.find('\n');
    if (record.tooLong || lf == std::string_view::npos) {
        return;
    }
    std::string_view first = record.text.substr(0, lf);
    if (!first.empty() && first.back() == '\r') {
        first.remove_suffix(1);
    }
    begin_ = lastStart_ + lf + 1;
    nextLine_ = record.firstLine + 1;
    record.text = first;
    record.lastLine = record.firstLine;
    record.unclosed = false;
}

} // namespace koruba::columns
