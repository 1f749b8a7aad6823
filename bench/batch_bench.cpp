// Batch throughput of kalvar-cli: a file of substations run through `batch`, on one thread and on
// several. The tasks are the example tasks, each system kind among them, repeated.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "batch.h"

namespace {

std::string batchInput(int copies) {
    std::string examples;
    for (const auto& entry : std::filesystem::directory_iterator(KALVAR_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string line = text.str();
        for (char& c : line)
            if (c == '\n' || c == '\r') c = ' ';
        examples += line + "\n";
    }
    std::string input;
    for (int i = 0; i < copies; ++i)
        input += examples;
    return input;
}

// Arguments: jobs, CSV summary (1) or JSON results (0).
void BatchOfExampleTasks(benchmark::State& state) {
    const std::string input = batchInput(8);
    const kalvar::BatchOptions options{static_cast<unsigned>(state.range(0)), state.range(1) == 1,
                                       "/nonexistent"};
    long tasks = 0;
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out;
        const kalvar::BatchOutcome outcome = kalvar::runBatch(in, out, options);
        if (outcome.invalidLines != 0) state.SkipWithError("an example task was refused");
        tasks += outcome.lines;
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(tasks);
}

} // namespace

BENCHMARK(BatchOfExampleTasks)
    ->ArgNames({"jobs", "csv"})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({4, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
