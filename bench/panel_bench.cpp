// One full repaint of a button panel: background, grip and buttons through the painting engine.
// Aim for the main panel with its eight buttons: under 2 ms.
#include "ZuPanel.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void mainPanelRepaint(benchmark::State& state) {
    ZuPanel panel;
    panel.loadDesign(ZuPanel::designPath(10));
    panel.Buttons().Item(6).setVisible(true); // all eight buttons
    panel.resize(panel.sizeHint());
    for (auto _ : state) {
        QImage image = panel.paintedImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(mainPanelRepaint)->Unit(benchmark::kMicrosecond);

void calculationPanelRepaint(benchmark::State& state) {
    ZuPanel panel;
    panel.loadDesign(ZuPanel::designPath(4));
    panel.resize(panel.sizeHint());
    for (auto _ : state) {
        QImage image = panel.paintedImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(calculationPanelRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
