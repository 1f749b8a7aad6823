// The Python module's overhead over the core: kalvar.calc on a task dict (written as JSON, run, the
// result turned into Python objects) in an embedded interpreter, against runTask on the same task
// text. Target: overhead below 20 % for the default heating task and the heating example.
//
// The two run in turn in each iteration and each is timed by the thread's CPU clock, so that other
// load on a shared machine weighs on both alike; the counters give their times and the overhead.
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>
#include <pybind11/embed.h>

#include "task.h"

namespace py = pybind11;

namespace {

std::string taskText(int64_t which) {
    if (which == 0) return R"({"system": 2})";
    std::ifstream in(std::filesystem::path(KALVAR_EXAMPLES_DIR) / "heating-by-load.json", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Argument: 0 the default heating task, 1 the heating example.
void ModuleOverCore(benchmark::State& state) {
    const std::string text = taskText(state.range(0));
    const std::string workDir = std::filesystem::current_path().string(); // where the module looks too
    const py::object calc = py::module_::import("kalvar").attr("calc");
    const py::object task = py::module_::import("json").attr("loads")(text);
    double core = 0, module = 0;
    for (auto _ : state) {
        double start = threadSeconds();
        benchmark::DoNotOptimize(kalvar::runTask(text, workDir));
        core += threadSeconds() - start;
        start = threadSeconds();
        benchmark::DoNotOptimize(calc(task).ptr());
        module += threadSeconds() - start;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["core_us"] = core / runs * 1e6;
    state.counters["module_us"] = module / runs * 1e6;
    state.counters["overhead_%"] = (module - core) / core * 100;
}

} // namespace

BENCHMARK(ModuleOverCore)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    const py::scoped_interpreter interpreter;
    py::module_::import("sys").attr("path").attr("insert")(0, KALVAR_PYTHON_DIR);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
