// How long "Расчет" takes: one heating sizing from the start-up values, the full mixed scheme with
// parallel ventilation, and a heavy automatic search that walks series and exchanger counts.
#include <benchmark/benchmark.h>

#include "calculator.h"
#include "startup.h"

namespace {

using namespace kalvar;

// Answers every limit dialog with "Продолжить" and shows nothing.
class QuietUi : public CalcUi {
  public:
    void beep() override {}
    void setBusy(bool) override {}
    void showMessage(MessageIcon, const std::string&, const std::string&) override { ++messages; }
    LimitDialogAnswers askLimit(const LimitDialogRequest&) override { return {false, false, true}; }
    int messages = 0;
};

void calculate(benchmark::State& state, int system, void (*prepare)(WindowSet&)) {
    Session session;
    startUp(session, "/nonexistent");
    selectSystem(session, system);
    if (prepare) prepare(session.windows);
    QuietUi ui;
    Calculator calculator(session.state, session.windows, ui);
    for (auto _ : state) {
        calculator.calculateCommand();
        benchmark::DoNotOptimize(session.windows.heating.designationBox.text.data());
    }
    if (ui.messages != 0) state.SkipWithError("the calculation showed a message");
}

void HeatingSizingAtStartUpValues(benchmark::State& state) {
    calculate(state, 2, nullptr);
}

void MixedSchemeWithParallelVentilation(benchmark::State& state) {
    calculate(state, 8, nullptr);
}

void HeavyAutomaticSearch(benchmark::State& state) {
    // 12 Gcal/h: every series and exchanger count up to eight is tried before the search may go
    // past the limits.
    calculate(state, 2, [](WindowSet& w) { w.heating.heatLoad.text = "12"; });
}

} // namespace

BENCHMARK(HeatingSizingAtStartUpValues)->Unit(benchmark::kMicrosecond);
BENCHMARK(MixedSchemeWithParallelVentilation)->Unit(benchmark::kMicrosecond);
BENCHMARK(HeavyAutomaticSearch)->Unit(benchmark::kMicrosecond);
