// The desktop program's speed as a user meets it (Qt offscreen): start-up to the first painted
// main window, and "Расчет" pressed to the refreshed widgets, for the default heating task and
// for scheme 8 (the two-stage pair and the ventilation exchanger).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QTest>

#include "MainWindow.h"
#include "ZuPanel.h"

namespace {

// Notes the first paint of a widget.
class PaintSeen : public QObject {
  public:
    bool seen = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) seen = true;
        return false;
    }
};

MainWindow::Options options() {
    MainWindow::Options o;
    o.workDir = QDir::tempPath();
    o.dataDir = QDir::tempPath();
    o.decimalSeparator = QStringLiteral(",");
    return o;
}

void pressCalculate(MainWindow& form) {
    ZuPanel* panel = form.mainPanel();
    const QPoint at = panel->buttonRect(4).center();
    QTest::mouseClick(panel, Qt::LeftButton, {}, at);
    // The refreshed widgets are painted with the next events.
    QCoreApplication::processEvents();
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        MainWindow form(options());
        PaintSeen paint;
        form.mdiArea()->viewport()->installEventFilter(&paint);
        form.show();
        while (!paint.seen)
            QCoreApplication::processEvents();
        state.PauseTiming();
        form.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

void calculate(benchmark::State& state, int systemItem) {
    MainWindow form(options());
    form.show();
    QCoreApplication::processEvents();
    if (systemItem != 2) form.systemAction(systemItem)->trigger();
    QCoreApplication::processEvents();
    for (auto _ : state)
        pressCalculate(form);
    if (form.session().windows.heating.designationBox.text.empty())
        state.SkipWithError("nothing was calculated");
}

void BM_CalculateHeating(benchmark::State& state) {
    calculate(state, 2);
}
BENCHMARK(BM_CalculateHeating)->Unit(benchmark::kMillisecond);

void BM_CalculateScheme8(benchmark::State& state) {
    calculate(state, 8);
}
BENCHMARK(BM_CalculateScheme8)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
