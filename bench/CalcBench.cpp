// Cost of one column: the calculation, its label texts, and the batch
// tool's per-record work in both formats.
#include "calc/CalcNValue.h"
#include "calc/ResultText.h"
#include "cli/BayToken.h"
#include "cli/ColumnInput.h"
#include "cli/CsvBatch.h"
#include "cli/JsonLineParser.h"
#include "cli/JsonLinesBatch.h"
#include "cli/ResultCache.h"
#include "cli/ResultJson.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace koruba;

// Columns that together reach every pattern, mirroring, braces of every
// kind, panels and a capped bay.
std::vector<cli::ColumnInput> SampleColumns() {
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
    std::vector<cli::ColumnInput> columns;
    for (const Row& r : rows) {
        cli::ColumnInput c;
        c.Pattern = r.pattern;
        c.Reversed = r.reversed;
        std::string error;
        for (std::size_t b = 0; b < 4; ++b) {
            cli::ParseBayToken(r.bays[b], c.Bays[b], error);
        }
        columns.push_back(c);
    }
    return columns;
}

std::vector<BayTable> TablesOf(const std::vector<cli::ColumnInput>& columns) {
    std::vector<BayTable> tables;
    for (const auto& c : columns) {
        tables.push_back(cli::BayTableOf(c));
    }
    return tables;
}

void BM_CalcNValue(benchmark::State& state) {
    const auto columns = SampleColumns();
    const std::vector<BayTable> tables = TablesOf(columns);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        benchmark::DoNotOptimize(CalcNValue(tables[k], columns[k].Pattern, columns[k].Reversed));
    }
}
BENCHMARK(BM_CalcNValue);

void BM_MakeResultTexts(benchmark::State& state) {
    const auto columns = SampleColumns();
    std::vector<ResultType> results;
    for (const auto& c : columns) {
        results.push_back(cli::ComputeColumn(c));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        benchmark::DoNotOptimize(
            MakeResultTexts(results[k], cli::StoreyCountOf(columns[k].Pattern)));
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
        const ResultType r = CalcNValue(tables[k], columns[k].Pattern, columns[k].Reversed);
        benchmark::DoNotOptimize(MakeResultTexts(r, cli::StoreyCountOf(columns[k].Pattern)));
    }
}
BENCHMARK(BM_CalcNValueWithTexts);

void BM_JsonResultRecord(benchmark::State& state) {
    const auto columns = SampleColumns();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % columns.size();
        cli::OutputBuffer out;
        out.Reserve(2048);
        cli::AppendResultAndLabels(out, cli::ComputeColumn(columns[k]),
                                   cli::StoreyCountOf(columns[k].Pattern));
        benchmark::DoNotOptimize(out.View().data());
    }
}
BENCHMARK(BM_JsonResultRecord);

void BM_JsonLineParse(benchmark::State& state) {
    const std::string line = R"({"id": "C123456", "pattern": 13, "reversed": false, )"
                             R"("bays": ["L45", "", "X90+P2.5", "P1.0"]})";
    cli::JsonLineParser parser;
    cli::JsonColumnRecord record;
    std::string error;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.Parse(line, record, error));
    }
}
BENCHMARK(BM_JsonLineParse);

// Whole chunks as a worker thread sees them, per column.
std::string GeneratedInput(bool csv, int count) {
    const char* tokens[] = {"",    "L45",      "R45",      "X90",  "P2.5",
                            "R30", "L90+P3.0", "X45+P1.0", "P1.0", "L15"};
    const int patterns[] = {21, 22, 11, 12, 13};
    std::string s;
    for (int i = 0; i < count; ++i) {
        const int p = patterns[i % 5];
        const int r = (i / 5) % 2;
        const char* b[4];
        for (int k = 0; k < 4; ++k) {
            b[k] = tokens[(i * 7 + k * 3 + i / 10) % 10];
        }
        const std::string id = "C" + std::to_string(i);
        if (csv) {
            s += id + "," + std::to_string(p) + "," + std::to_string(r) + "," + b[0] + "," + b[1] +
                 "," + b[2] + "," + b[3] + "\n";
        } else {
            s += R"({"id": ")" + id + R"(", "pattern": )" + std::to_string(p) +
                 R"(, "reversed": )" + (r ? "true" : "false") + R"(, "bays": [")" + b[0] +
                 R"(", ")" + b[1] + R"(", ")" + b[2] + R"(", ")" + b[3] + "\"]}\n";
        }
    }
    return s;
}

constexpr int ChunkColumns = 10000;

void BM_JsonLinesChunk(benchmark::State& state) {
    const std::string input = GeneratedInput(false, ChunkColumns);
    cli::JsonLinesBatch format;
    for (auto _ : state) {
        state.PauseTiming();
        cli::ChunkResult r;
        auto cache = std::make_unique<cli::ResultCache>(); // repeats within the chunk only
        state.ResumeTiming();
        format.ProcessChunk(input, 1, *cache, r);
        benchmark::DoNotOptimize(r.Output.View().data());
    }
    state.SetItemsProcessed(state.iterations() * ChunkColumns);
}
BENCHMARK(BM_JsonLinesChunk)->Unit(benchmark::kMillisecond);

void BM_CsvChunk(benchmark::State& state) {
    const std::string input = GeneratedInput(true, ChunkColumns);
    cli::CsvBatch format;
    std::string head;
    std::string problem;
    format.TakeHeader("id,pattern,reversed,bay1,bay2,bay3,bay4", head, problem);
    for (auto _ : state) {
        state.PauseTiming();
        cli::ChunkResult r;
        auto cache = std::make_unique<cli::ResultCache>();
        state.ResumeTiming();
        format.ProcessChunk(input, 2, *cache, r);
        benchmark::DoNotOptimize(r.Output.View().data());
    }
    state.SetItemsProcessed(state.iterations() * ChunkColumns);
}
BENCHMARK(BM_CsvChunk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
