// Throughput of the two generators users wait for: items per second.
#include "core/NumberItem.h"
#include "core/Random.h"
#include "core/StringComposer.h"
#include "corelib/Core.h"

#include <benchmark/benchmark.h>

#include <cstdio>

static void BM_MakeString(benchmark::State& state, StringOptions opt)
{
    CCore core(1u);
    g_pCore = &core;
    SeedRandom(1u);
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeString(opt));
    state.SetItemsProcessed(state.iterations());
    g_pCore = nullptr;
}
BENCHMARK_CAPTURE(BM_MakeString, defaults, StringOptions{1, 1, 0, 0, "", "", "", 5, 8});
BENCHMARK_CAPTURE(BM_MakeString, all_classes_inserts,
                  StringOptions{1, 1, 1, 1, "id", "x", "6|-|3|_", 5, 8});

static void BM_MakeNumberItem(benchmark::State& state, NumberOptions opt)
{
    SeedRandom(1u);
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeNumberItem(opt));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_MakeNumberItem, both_kinds, NumberOptions{1, 1, 80.0f, 100.0f, 10, 2});
BENCHMARK_CAPTURE(BM_MakeNumberItem, decimals_8, NumberOptions{0, 1, 0.7f, 1.0f, 10, 8});

// A strings batch past the shown limit is one MakeString and one logAdd per item.
static void BM_StringsBatchToFile(benchmark::State& state)
{
    CCore core(1u);
    g_pCore = &core;
    SeedRandom(1u);
    const StringOptions opt{1, 1, 0, 0, "", "", "", 5, 8};
    const CString path = "/tmp/zanfor_bench_out.txt";
    for (auto _ : state) {
        std::remove(path.GetString());
        for (int i = 0; i < state.range(0); ++i)
            core.logAdd(path, MakeString(opt), 0);
        core.logClose();
    }
    std::remove(path.GetString());
    state.SetItemsProcessed(state.iterations() * state.range(0));
    g_pCore = nullptr;
}
BENCHMARK(BM_StringsBatchToFile)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
