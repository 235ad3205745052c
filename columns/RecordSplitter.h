#pragma once

#include "columns/RecordReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace koruba::columns {

// One record of the input as bytes: a line, or for CSV the lines that a
// quoted field holds together.
struct RawRecord {
    std::string_view text; // without its line end; valid until the next call
    std::int64_t firstLine = 0;
    std::int64_t lastLine = 0;
    bool tooLong = false;  // longer than the limit; text is empty
    bool unclosed = false; // CSV: a quote still open at the end of the input
};

// Cuts a byte stream into records, holding at most one record (up to the
// limit) and one read in memory. A UTF-8 byte order mark at the start is
// dropped, and so is the carriage return of a CRLF line end. A record
// longer than the limit is passed over to its real end (for CSV, quotes
// included) and reported as one record with tooLong set.
class RecordSplitter {
public:
    RecordSplitter(bool csvQuotes, ReadFunction read, std::size_t limit);

    // With oneLine, the record ends at the end of its line whatever its
    // quotes: a CSV header, whose names hold no line breaks, so that a
    // quote it leaves open cannot swallow the rows after it.
    bool next(RawRecord& record, bool oneLine = false);
    // Gives back all but the first line of the record just returned: the
    // next record starts on its second line. For a row whose quote went
    // wrong, so that the rows after it are still read.
    void cutBackToFirstLine(RawRecord& record);

    bool readFailed() const { return readFailed_; }
    int readErrno() const { return readErrno_; }

private:
    bool fill();
    void dropByteOrderMark();

    bool csv_;
    ReadFunction read_;
    std::size_t limit_;
    std::vector<char> buf_;
    std::size_t begin_ = 0; // first byte not handed out yet
    std::size_t end_ = 0;   // end of the bytes read
    std::size_t lastStart_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool readFailed_ = false;
    int readErrno_ = 0;
    std::int64_t nextLine_ = 1;
};

} // namespace koruba::columns
