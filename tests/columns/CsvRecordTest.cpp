// CSV fields of one record, and how the splitter finds where records end.
#include "columns/CsvRecord.h"
#include "columns/RecordSplitter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace koruba::columns;

std::string Joined(std::string_view record, CsvSplit* out = nullptr) {
    std::vector<std::string> fields;
    CsvSplit split;
    splitCsvRecord(record, fields, split);
    std::string joined;
    for (std::size_t i = 0; i < split.fields; ++i) {
        joined += (i == 0 ? "" : "|") + fields[i];
    }
    if (out != nullptr) {
        *out = split;
    }
    return joined;
}

TEST(CsvRecord, QuotedFieldsHoldCommasQuotesAndLineEnds) {
    EXPECT_EQ(Joined("a,\"b,c\",\"say \"\"hi\"\"\""), "a|b,c|say \"hi\"");
    EXPECT_EQ(Joined("\"two\nlines\",x"), "two\nlines|x");
    EXPECT_EQ(Joined(","), "|");
    EXPECT_EQ(Joined("4\"5,x"), "4\"5|x"); // a quote inside a field is a character
}

TEST(CsvRecord, QuoteFaultsNameTheFieldAndTheByte) {
    CsvSplit split;
    EXPECT_EQ(Joined("a,\"b\"c,d", &split), "a|b|d");
    EXPECT_EQ(split.fault, CsvFault::TextAfterQuote);
    EXPECT_EQ(split.faultField, 2u);
    EXPECT_EQ(split.faultOffset, 5u);
    EXPECT_EQ(Joined("a,\"b,c", &split), "a|b,c");
    EXPECT_EQ(split.fault, CsvFault::Unclosed);
    EXPECT_EQ(split.faultField, 2u);
    EXPECT_EQ(split.faultOffset, 2u);
}

struct Piece {
    std::string text;
    std::int64_t first;
    std::int64_t last;
};

std::vector<Piece> Split(const std::string& input, bool csv) {
    std::size_t pos = 0;
    RecordSplitter splitter(
        csv,
        [&](char* buf, std::size_t n) -> std::ptrdiff_t {
            const std::size_t k = std::min({n, input.size() - pos, std::size_t{3}});
            std::memcpy(buf, input.data() + pos, k);
            pos += k;
            return static_cast<std::ptrdiff_t>(k);
        },
        1000);
    std::vector<Piece> pieces;
    RawRecord r;
    while (splitter.next(r)) {
        pieces.push_back({std::string(r.text), r.firstLine, r.lastLine});
    }
    return pieces;
}

// Records end at line feeds outside quotes, whatever the reads cut.
TEST(RecordSplitter, CsvRecordsEndOutsideQuotes) {
    const auto pieces =
        Split("\xEF\xBB\xBFid,note\r\n1,\"a\nb\"\n2,\"x\"\"\ny\"\n3,4\"5\n\n6,last", true);
    ASSERT_EQ(pieces.size(), 6u);
    EXPECT_EQ(pieces[0].text, "id,note");
    EXPECT_EQ(pieces[1].text, "1,\"a\nb\"");
    EXPECT_EQ(pieces[1].first, 2);
    EXPECT_EQ(pieces[1].last, 3);
    EXPECT_EQ(pieces[2].text, "2,\"x\"\"\ny\"");
    EXPECT_EQ(pieces[3].text, "3,4\"5");
    EXPECT_EQ(pieces[3].first, 6);
    EXPECT_EQ(pieces[4].text, "");
    EXPECT_EQ(pieces[5].text, "6,last");
    EXPECT_EQ(pieces[5].first, 8);
}

TEST(RecordSplitter, JsonLinesIgnoreQuotes) {
    const auto pieces = Split("{\"a\": \"\n{\"b\": 1}\r\n", false);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].text, "{\"a\": \"");
    EXPECT_EQ(pieces[1].text, "{\"b\": 1}");
}

TEST(CsvRecord, FieldsAreQuotedOnlyWhenNeeded) {
    std::string out;
    for (const char* f : {"plain", "a,b", "say \"hi\"", "two\nlines", "cr\r", "", "\xE7\xAD\x8B"}) {
        appendCsvField(out, f);
        out += ';';
    }
    EXPECT_EQ(out, "plain;\"a,b\";\"say \"\"hi\"\"\";\"two\nlines\";\"cr\r\";;\xE7\xAD\x8B;");
}

} // namespace
