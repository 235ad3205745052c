#include "cli/CsvRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace koruba::cli;

std::vector<std::string> ReadAll(std::string_view data,
                                 std::vector<CsvRecordInfo>* infos = nullptr) {
    std::vector<std::string> records;
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < data.size()) {
        CsvRecordInfo info;
        ReadCsvRecord(data, pos, fields, info);
        std::string joined;
        for (std::size_t i = 0; i < info.Fields; ++i) {
            joined += (i == 0 ? "" : "|") + fields[i];
        }
        records.push_back(joined);
        if (infos != nullptr) {
            infos->push_back(info);
        }
    }
    return records;
}

TEST(CsvRecord, QuotedFieldsHoldCommasQuotesAndLineEnds) {
    const std::string data = "a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",x\n,\n";
    std::vector<CsvRecordInfo> infos;
    const auto records = ReadAll(data, &infos);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], "a|b,c|say \"hi\"");
    EXPECT_EQ(records[1], "two\nlines|x");
    EXPECT_EQ(infos[1].LineFeeds, 2u);
    EXPECT_EQ(records[2], "|");
    EXPECT_EQ(infos[2].Fields, 2u);
}

TEST(CsvRecord, QuoteInsideAnUnquotedFieldIsAnOrdinaryCharacter) {
    const auto records = ReadAll("4\"5,x\ny,z\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], "4\"5|x");
}

TEST(CsvRecord, TextAfterAClosingQuoteIsAFaultOfThatField) {
    std::vector<CsvRecordInfo> infos;
    const auto records = ReadAll("a,\"b\"c,d\nok\n", &infos);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(infos[0].Fault, CsvFault::TextAfterQuote);
    EXPECT_EQ(infos[0].FaultField, 2u);
    EXPECT_EQ(records[1], "ok");
}

// A quote that never closes costs only its own line.
TEST(CsvRecord, UnclosedQuoteEndsTheRecordAtItsFirstLine) {
    std::vector<CsvRecordInfo> infos;
    const auto records = ReadAll("a,\"b\nc,d\ne,f\n", &infos);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(infos[0].Fault, CsvFault::Unclosed);
    EXPECT_EQ(infos[0].FaultField, 2u);
    EXPECT_EQ(records[1], "c|d");
    EXPECT_EQ(records[2], "e|f");
}

// The scanner that cuts chunks must find the same record ends as the
// reader, or a chunk would start inside a record.
TEST(CsvRecord, ScannerAndReaderAgreeOnRecordEnds) {
    const std::string data =
        "id,note\r\n1,\"a\nb\"\n2,\"x\"\"\ny\"\n3,4\"5\n4,\"q\"z\n5,\"\",\n6,last";
    std::vector<std::size_t> readerEnds;
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < data.size()) {
        CsvRecordInfo info;
        ReadCsvRecord(data, pos, fields, info);
        readerEnds.push_back(pos);
    }
    std::vector<std::size_t> scannerEnds;
    std::size_t at = 0;
    while (true) {
        const std::size_t end = CsvFirstRecordEnd(std::string_view(data).substr(at));
        if (end == std::string_view::npos) {
            break;
        }
        at += end;
        scannerEnds.push_back(at);
    }
    scannerEnds.push_back(data.size()); // the last record has no line feed
    EXPECT_EQ(scannerEnds, readerEnds);
    EXPECT_EQ(CsvWholeRecordsEnd(data), scannerEnds[scannerEnds.size() - 2]);
    EXPECT_EQ(CsvWholeRecordsEnd("1,\"open\n"), 0u);
}

TEST(CsvRecord, FieldsAreQuotedOnlyWhenNeeded) {
    OutputBuffer buffer;
    for (const char* f : {"plain", "a,b", "say \"hi\"", "two\nlines", "cr\r", "", "\xE7\xAD\x8B"}) {
        AppendCsvField(buffer, f);
        buffer.Put(';');
    }
    EXPECT_EQ(buffer.Text(),
              "plain;\"a,b\";\"say \"\"hi\"\"\";\"two\nlines\";\"cr\r\";;\xE7\xAD\x8B;");
}

} // namespace
