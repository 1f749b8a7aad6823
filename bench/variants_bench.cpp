// Variants: every layout of every window of the mixed scheme with parallel ventilation (system 8:
// three windows, 96 layouts each, the hot-water exchanger's 32 two-pass ones) sized side by side,
// as the variants window and `kalvar-cli variants` ask for them. The target is 50 ms for the lot.
#include <benchmark/benchmark.h>

#include "startup.h"
#include "variants.h"

namespace {

void AllVariantsOfSystem8(benchmark::State& state) {
    kalvar::Session session;
    kalvar::startUp(session, "/nonexistent");
    kalvar::selectSystem(session, kalvar::mixedWithParallelVentilation);
    long variants = 0;
    for (auto _ : state) {
        const auto tables = kalvar::sessionVariants(session);
        if (tables.size() != 3) state.SkipWithError("system 8 calculates three windows");
        for (const kalvar::WindowVariants& t : tables)
            variants += static_cast<long>(t.variants.size());
    }
    state.SetItemsProcessed(variants);
}

} // namespace

BENCHMARK(AllVariantsOfSystem8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
