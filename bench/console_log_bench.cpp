// AddMessage's cost per message as the log grows: it must stay flat up to a million messages.
#include <benchmark/benchmark.h>

#include "console/console.h"

namespace {

IDirect3DDevice9* noDevice = nullptr;

// Adds one million messages in blocks and reports each block's cost per message, so a cost that
// grows with the log's size shows as a rising time from the first block to the last.
void BM_AddMessageAsTheLogGrows(benchmark::State& state)
{
    const int64_t logSize = state.range(0);
    const int64_t block = 10000;
    for (auto _ : state) {
        state.PauseTiming();
        Console* console = new Console(&noDevice);
        for (int64_t i = 0; i < logSize; ++i)
            console->AddMessage("[>>>] Loading level : POLYGON01", i % 4);
        state.ResumeTiming();

        for (int64_t i = 0; i < block; ++i)
            console->AddMessage("[>>>] Loading level : POLYGON01", i % 4);

        state.PauseTiming();
        delete console;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * block);
}
BENCHMARK(BM_AddMessageAsTheLogGrows)
    ->Arg(0)
    ->Arg(100000)
    ->Arg(500000)
    ->Arg(990000)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(3);

// A long message costs in proportion to its length (it is cut into 80-character lines).
void BM_AddMessageByLength(benchmark::State& state)
{
    Console console(&noDevice);
    std::string text((size_t)state.range(0), 'x');
    for (auto _ : state)
        console.AddMessage(text.c_str(), 0);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddMessageByLength)->Arg(10)->Arg(100)->Arg(1000)->Arg(5000);

}  // namespace

BENCHMARK_MAIN();
