// Throughput of the generators users wait for: items per second.
#include "core/Batch.h"
#include "corelib/Core.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_MakeString(benchmark::State& state, StringOptions opt)
{
    CCore core(1u);
    RandomSource rng(1);
    StringComposer composer(opt, SourcesOf(core));
    std::string out;
    for (auto _ : state) {
        out.clear();
        composer.Append(out, rng);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_MakeString, defaults,
                  StringOptions{.m_bUpper = 1, .m_bLower = 1, .m_nLenMin = 5, .m_nLenMax = 8});
BENCHMARK_CAPTURE(BM_MakeString, all_classes_inserts,
                  StringOptions{.m_bUpper = 1,
                                .m_bLower = 1,
                                .m_bDigit = 1,
                                .m_bHanzi = 1,
                                .m_strHead = "id",
                                .m_strTail = "x",
                                .m_strInsert = "6|-|3|_",
                                .m_nLenMin = 5,
                                .m_nLenMax = 8});

// A 30,000-byte insertion spec whose every pair is skipped (positions far past the string): read
// once per batch, it costs each string a pass over its pairs, not a pass over the whole text per field.
static void BM_BatchWithLongInsertSpec(benchmark::State& state)
{
    std::string spec;
    while (spec.size() < 30000)
        spec += "99999|x|";
    CCore core(1u);
    const ComposerSources sources = SourcesOf(core);
    const StringsBatch batch{.options = {.m_bUpper = 1,
                                         .m_bLower = 1,
                                         .m_strInsert = CString(spec),
                                         .m_nLenMin = 5,
                                         .m_nLenMax = 8},
                             .count = 1000};
    for (auto _ : state) {
        RandomSource rng(1);
        StringSink sink;
        benchmark::DoNotOptimize(MakeStringsBatch(batch, rng, sources, sink, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * batch.count);
}
BENCHMARK(BM_BatchWithLongInsertSpec)->Unit(benchmark::kMillisecond);

static void BM_NumberItem(benchmark::State& state, NumberOptions opt)
{
    RandomSource rng(1);
    const NumberItemMaker maker(opt);
    std::string out;
    for (auto _ : state) {
        out.clear();
        maker.Append(out, rng);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(
    BM_NumberItem, both_kinds,
    NumberOptions{
        .m_bInteger = 1, .m_bFloat = 1, .m_fMin = 80.0f, .m_fMax = 100.0f, .m_nDecimals = 2});
BENCHMARK_CAPTURE(BM_NumberItem, decimals_8,
                  NumberOptions{.m_bFloat = 1, .m_fMin = 0.7f, .m_fMax = 1.0f, .m_nDecimals = 8});

BENCHMARK_MAIN();
