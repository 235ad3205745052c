// Cost of one column: the calculation, its label texts, the batch tool's
// per-record work in both formats, and whole batches read from memory.
#include "calc/CalcNValue.h"
#include "calc/ResultText.h"
#include "columns/BatchRun.h"
#include "columns/BayToken.h"
#include "columns/ColumnInput.h"
#include "columns/JsonColumnReader.h"
#include "columns/RecordReader.h"
#include "columns/ResultCsv.h"
#include "columns/ResultJson.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace koruba;

// Columns that together reach every pattern, mirroring, braces of every
// kind, panels and a capped bay.
std::vector<columns::ColumnInput> SampleColumns() {
    struct Row {
        std::int32_t pattern;
        std::int32_t reversed;
        const char* bays[4];
    };
    const Row rows[] = {
        {21, 0, {"L45", "", "", ""}},
        {21, 1, {"", "R30+P1.0", "", ""}},
        {22, 0, {"X90+P2.5", "L90", "", ""}},
        {11, 0, {"P2.5", "", "L90", ""}},
        {11, 1, {"", "X45", "", "R45+P3.0"}},
        {12, 0, {"", "P2.0", "P2.5", ""}},
        {12, 1, {"L30", "", "X30", "R15"}},
        {13, 0, {"L45", "R45", "X90+P2.5", "P1.0"}},
        {13, 0, {"L90+P3.0", "R90", "L90", "R90+P5.0"}},
    };
    std::vector<columns::ColumnInput> columns;
    for (const Row& r : rows) {
        columns::ColumnInput c;
        c.pattern = r.pattern;
        c.reversed = r.reversed;
        std::string error;
        for (std::size_t b = 0; b < 4; ++b) {
            columns::parseBayToken(r.bays[b], c.bays[b], error);
        }
        columns.push_back(c);
    }
    return columns;
}

std::vector<BayTable> TablesOf(const std::vector<columns::ColumnInput>& columns) {
    std::vector<BayTable> tables;
    for (const auto& c : columns) {
        tables.push_back(columns::bayTableOf(c));
    }
    return tables;
}

void BM_CalcNValue(benchmark::State& state) {
    const auto columns = SampleColumns();
    const std::vector<BayTable> tables = TablesOf(columns);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        benchmark::DoNotOptimize(CalcNValue(tables[k], columns[k].pattern, columns[k].reversed));
    }
}
BENCHMARK(BM_CalcNValue);

void BM_MakeResultTexts(benchmark::State& state) {
    const auto columns = SampleColumns();
    std::vector<ResultType> results;
    for (const auto& c : columns) {
        results.push_back(columns::computeColumn(c));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        benchmark::DoNotOptimize(MakeResultTexts(results[k], StoreyCountOf(columns[k].pattern)));
    }
}
BENCHMARK(BM_MakeResultTexts);

// The target: one column computed with its texts in under a microsecond.
void BM_CalcNValueWithTexts(benchmark::State& state) {
    const auto columns = SampleColumns();
    const std::vector<BayTable> tables = TablesOf(columns);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        const ResultType r = CalcNValue(tables[k], columns[k].pattern, columns[k].reversed);
        benchmark::DoNotOptimize(MakeResultTexts(r, StoreyCountOf(columns[k].pattern)));
    }
}
BENCHMARK(BM_CalcNValueWithTexts);

// One column computed and written as a JSON Lines or a CSV result record.
template <class AppendRecord>
void BM_ResultRecord(benchmark::State& state, AppendRecord appendRecord) {
    const auto columns = SampleColumns();
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        out.clear();
        appendRecord(out, columns::computeColumn(columns[k]), StoreyCountOf(columns[k].pattern));
        benchmark::DoNotOptimize(out.data());
    }
}
void BM_JsonResultRecord(benchmark::State& state) {
    BM_ResultRecord(state, [](std::string& out, const ResultType& r, std::int32_t storeys) {
        columns::appendResultAndLabels(out, r, storeys);
    });
}
BENCHMARK(BM_JsonResultRecord);
void BM_CsvResultRecord(benchmark::State& state) {
    BM_ResultRecord(state, [](std::string& out, const ResultType& r, std::int32_t storeys) {
        columns::appendCsvResult(out, r, storeys);
    });
}
BENCHMARK(BM_CsvResultRecord);

void BM_JsonLineRead(benchmark::State& state) {
    const std::string line = R"({"id": "C123456", "pattern": 13, "reversed": false, )"
                             R"("bays": ["L45", "", "X90+P2.5", "P1.0"]})";
    columns::JsonColumnReader reader;
    columns::InputRecord record;
    std::string error;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.read(line, record, error));
    }
}
BENCHMARK(BM_JsonLineRead);

// Generated columns of the two-storey frame with all four bays, nearly all
// of them different.
std::string GeneratedInput(bool csv, int count) {
    const char* tokens[] = {"",    "L45",      "R45",      "X90",  "P2.5",
                            "R30", "L90+P3.0", "X45+P1.0", "P1.0", "L15"};
    std::string s = csv ? "id,pattern,reversed,bay1,bay2,bay3,bay4\n" : "";
    for (int i = 0; i < count; ++i) {
        const char* b[4];
        for (int k = 0; k < 4; ++k) {
            b[k] = tokens[(i * 7 + k * 3 + i / 10) % 10];
        }
        const std::string id = "C" + std::to_string(i);
        if (csv) {
            s += id + ",13,0," + b[0] + "," + b[1] + "," + b[2] + "," + b[3] + "\n";
        } else {
            s += R"({"id": ")" + id + R"(", "pattern": 13, "reversed": false, "bays": [")" + b[0] +
                 R"(", ")" + b[1] + R"(", ")" + b[2] + R"(", ")" + b[3] + "\"]}\n";
        }
    }
    return s;
}

constexpr int kBatchColumns = 10000;

// The whole tool but the file system: reading, computing and formatting.
void RunBatchBench(benchmark::State& state, bool csv) {
    const std::string input = GeneratedInput(csv, kBatchColumns);
    std::size_t written = 0;
    for (auto _ : state) {
        std::size_t pos = 0;
        columns::RecordReader reader(csv ? columns::ColumnFileFormat::Csv
                                         : columns::ColumnFileFormat::JsonLines,
                                     [&](char* buf, std::size_t n) -> std::ptrdiff_t {
                                         const std::size_t k = std::min(n, input.size() - pos);
                                         std::memcpy(buf, input.data() + pos, k);
                                         pos += k;
                                         return static_cast<std::ptrdiff_t>(k);
                                     });
        columns::runBatch(reader, [&](std::string_view bytes) {
            written += bytes.size();
            return true;
        });
    }
    benchmark::DoNotOptimize(written);
    state.SetItemsProcessed(state.iterations() * kBatchColumns);
}

void BM_BatchCsv(benchmark::State& state) {
    RunBatchBench(state, true);
}
BENCHMARK(BM_BatchCsv)->Unit(benchmark::kMillisecond);

void BM_BatchJsonLines(benchmark::State& state) {
    RunBatchBench(state, false);
}
BENCHMARK(BM_BatchJsonLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
