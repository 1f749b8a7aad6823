// The report of the mixed scheme with parallel ventilation (three exchangers): built and written
// as .xlsx, and built and painted as a PDF. Aims: .xlsx under 100 ms, PDF under 300 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>

#include "ReportBuilder.h"
#include "SheetRenderer.h"
#include "XlsxWriter.h"
#include "calculator.h"

namespace {

class QuietUi : public kalvar::CalcUi {
  public:
    void beep() override {}
    void showMessage(kalvar::MessageIcon, const std::string&, const std::string&) override {}
    void setBusy(bool) override {}
    kalvar::LimitDialogAnswers askLimit(const kalvar::LimitDialogRequest&) override {
        return {false, false, true};
    }
};

// A calculated scheme 8 with pass drawings in a scratch folder.
struct Scheme8 {
    Scheme8() {
        folder = std::filesystem::temp_directory_path() / "kalvar-reports-bench";
        std::filesystem::create_directories(folder / "picture");
        for (int z = 1; z <= 3; ++z) {
            QImage image(400 * z, 600, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.drawRect(20, 20, 360 * z, 560);
            painter.end();
            image.save(QString::fromStdString(
                (folder / "picture" / ("KM " + std::to_string(z) + "x.jpg")).string()));
        }
        kalvar::startUp(session, folder.string());
        kalvar::selectSystem(session, 8);
        session.windows.ventilation.heatLoad.text = "0,2";
        session.windows.heating.heatLoad.text = "0,5";
        session.windows.hotWater.heatLoad.text = "0,35";
        QuietUi ui;
        kalvar::Calculator(session.state, session.windows, ui).calculateCommand();
        terms.objectName = "Школа 5";
    }
    ~Scheme8() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    std::filesystem::path folder;
    kalvar::Session session;
    kalvar::OwnerDetails owner;
    kalvar::DeliveryTerms terms;
};

Scheme8& scheme() {
    static Scheme8 s;
    return s;
}

void BM_ReportToXlsx(benchmark::State& state) {
    Scheme8& s = scheme();
    const std::string path = (s.folder / "report.xlsx").string();
    for (auto _ : state) {
        const kalvar::Workbook book = kalvar::buildReport(s.session, s.owner, s.terms);
        kalvar::writeXlsx(book, path);
    }
}
BENCHMARK(BM_ReportToXlsx)->Unit(benchmark::kMillisecond);

void BM_ReportToPdf(benchmark::State& state) {
    Scheme8& s = scheme();
    const std::string path = (s.folder / "report.pdf").string();
    for (auto _ : state) {
        const kalvar::Workbook book = kalvar::buildReport(s.session, s.owner, s.terms);
        kalvar::writePdf(book, path, {"Лист4", "Лист1", "Лист2", "Лист3"});
    }
}
BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
