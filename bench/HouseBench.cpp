// Cost of deriving a whole house, the work the plan will redo on every
// edit (target: 400 columns per storey well under a frame of 16 ms), and
// of checking, writing and reading its file.
#include "bench/GeneratedHouse.h"
#include "calc/HouseDerivation.h"
#include "columns/HouseCheck.h"
#include "columns/HouseFile.h"

#include <benchmark/benchmark.h>

namespace {

using namespace koruba;
using bench::generatedHouse;

void BM_DeriveHouse(benchmark::State& state) {
    const House h = generatedHouse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(deriveHouse(h));
    }
    state.SetItemsProcessed(
        state.iterations() *
        static_cast<std::int64_t>(h.storeys[0].columns.size() + h.storeys[1].columns.size()));
}
BENCHMARK(BM_DeriveHouse)->Unit(benchmark::kMillisecond);

void BM_CheckHouse(benchmark::State& state) {
    const House h = generatedHouse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(columns::houseError(h));
    }
}
BENCHMARK(BM_CheckHouse)->Unit(benchmark::kMillisecond);

void BM_WriteAndReadHouseFile(benchmark::State& state) {
    const House h = generatedHouse();
    for (auto _ : state) {
        const std::string text = columns::writeHouse(h);
        House back;
        std::string error;
        benchmark::DoNotOptimize(columns::readHouse(text, back, error));
    }
}
BENCHMARK(BM_WriteAndReadHouseFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
