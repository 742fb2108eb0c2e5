// The parameter tree under the loads the engine puts on it: the console log appends a knot and a
// parameter per line for the whole run, the command queue deletes its first child again and
// again, levels and the log are loaded and saved whole. Per-node costs must not grow with the
// tree: the complexity reports of the add, walk and delete benchmarks should read O(N).
#include "foundation/dynamic_row.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// A log-shaped tree: a "LOG" knot holding lines / 2 line knots, each with its category.
DynamicRow makeLog(int nodes)
{
    DynamicRow tree;
    const unsigned int log = tree.AddToId(0, true, "LOG");
    for (int i = 0; i + 1 < nodes; i += 2) {
        const unsigned int line = tree.AddToId(log, true, "[12:340] [>>>] Loading level : POLYGON01");
        tree.AddToId(line, false, "_SYSTEM_");
    }
    return tree;
}

void AddKnots(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DynamicRow tree;
        const unsigned int parent = tree.AddToId(0, true, "LOG");
        for (int i = 0; i < count; ++i)
            benchmark::DoNotOptimize(tree.AddToId(parent, true, "[0:0] a line of the log"));
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(AddKnots)->Arg(10000)->Arg(100000)->Arg(1000000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void WalkTopNext(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    DynamicRow tree;
    const unsigned int parent = tree.AddToId(0, true, "LOG");
    for (int i = 0; i < count; ++i)
        tree.AddToId(parent, true, "line");
    for (auto _ : state) {
        unsigned long long sum = 0;
        for (unsigned int id = tree.TopId(parent); id; id = tree.NextId(id))
            sum += id;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(WalkTopNext)->Arg(10000)->Arg(100000)->Arg(1000000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// The command queue: every frame takes TopId of "TIME_LINE", reads its name and deletes it.
void DeleteFirstChild(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        DynamicRow tree;
        const unsigned int queue = tree.AddToId(0, true, "TIME_LINE");
        for (int i = 0; i < count; ++i)
            tree.AddToId(queue, false, "cam_mngr camera.next");
        state.ResumeTiming();
        while (unsigned int first = tree.TopId(queue)) {
            benchmark::DoNotOptimize(tree.iLookName(first));
            tree.DeleteById(first);
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(DeleteFirstChild)->Arg(10000)->Arg(100000)->Arg(1000000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

std::string benchFile()
{
    return "/tmp/orvex-bench-" + std::to_string(getpid()) + ".dr";
}

void SaveFile(benchmark::State& state)
{
    const DynamicRow tree = makeLog(static_cast<int>(state.range(0)));
    const std::string path = benchFile();
    for (auto _ : state) {
        if (!tree.iSaveToFile(path.c_str()))
            state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SaveFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void LoadFile(benchmark::State& state)
{
    const std::string path = benchFile();
    if (!makeLog(static_cast<int>(state.range(0))).iSaveToFile(path.c_str())) {
        state.SkipWithError("could not write the file to load");
        return;
    }
    for (auto _ : state) {
        DynamicRow tree;
        if (!tree.iLoadFromFile(path.c_str()))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(tree.NodeCount());
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// iLookId walks the tree: the cost of finding the last-added name in a log-sized tree.
void LookIdLast(benchmark::State& state)
{
    DynamicRow tree = makeLog(static_cast<int>(state.range(0)));
    tree.AddToId(0, true, "_CAMERAS_");
    for (auto _ : state)
        benchmark::DoNotOptimize(tree.iLookId("_CAMERAS_"));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LookIdLast)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
