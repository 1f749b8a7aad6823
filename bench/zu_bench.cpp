// ZuComponents benchmarks: a full owner-drawn popup of 27 lines with pictures, measured and painted as the
// platform asks when the popup opens (target: under 16 ms, one frame), and one selection change.
#include "PopupMenuManager.h"
#include "ZuMenuExCtl.h"
#include "platform/ZuGdi.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

QPixmap picture(int size, QColor colour) {
    QPixmap p(size, size);
    p.fill(Qt::white); // the mask colour
    QPainter painter(&p);
    painter.setBrush(colour);
    painter.setPen(Qt::black);
    painter.drawEllipse(1, 1, size - 3, size - 3);
    return p;
}

struct Menu27 {
    CZuMenuExCtrl control;
    zu::menu::ZuHMENU popup = 0;
    static constexpr int lineHeight = 22;
    static constexpr int width = 260;

    Menu27() {
        popup = static_cast<zu::menu::ZuHMENU>(control.CreateMenu(0));
        const QPixmap linePicture = picture(16, QColor(40, 120, 200));
        const QPixmap captionPicture = picture(12, QColor(200, 60, 40));
        for (int i = 0; i < CZuMenuExCtrl::lineCount; ++i) {
            control.AddMenuString(0, static_cast<int>(popup), i, QStringLiteral("Строка меню %1").arg(i + 1),
                                  QString(), QString(), QString(), linePicture, 0, -1, i % 5 == 4 ? 1 : -1,
                                  i % 3 == 0 ? -1 : 0, 0xF0E0E0, 0xE0F0E0, 0xE0E0F0, 0x202020, 10.0f, 0.0f,
                                  QStringLiteral("DejaVu Sans"), i % 2 ? -1 : 0, 0, 0, 0,
                                  QStringLiteral("Ctrl+%1").arg(i), 0, captionPicture, i % 3);
        }
        QObject::connect(&control, &CZuMenuExCtrl::MeasureItem, &control, [this](int line, int menu) {
            control.AddSizeMenuString(menu, 0, line, lineHeight, width - 14, 24, true, line * lineHeight,
                                      QStringLiteral("ZuPopUpMenu"), 12, 0x804040, 0xFFFFFF, false);
        });
    }

    // What the platform does at opening: the opening, one measuring per line, every line drawn whole.
    void openAndPaint(QImage& image, ZuHDC dc) {
        control.initMenuPopup(popup);
        for (int i = 0; i < CZuMenuExCtrl::lineCount; ++i) {
            zu::menu::MeasureItemStruct m{i + 1, 0, 0};
            control.measureItem(popup, m);
        }
        image.fill(Qt::white);
        for (int i = 0; i < CZuMenuExCtrl::lineCount; ++i)
            draw(dc, i, false);
    }

    void draw(ZuHDC dc, int line, bool selected) {
        zu::menu::DrawItemStruct d;
        d.itemAction = selected ? zu::menu::ODA_SELECT : zu::menu::ODA_DRAWENTIRE;
        d.itemState = selected ? zu::menu::ODS_SELECTED : 0u;
        d.menu = popup;
        d.dc = dc;
        d.rcItem = ZuRECT{0, line * lineHeight, width, (line + 1) * lineHeight};
        control.drawItem(d);
    }
};

void BM_PopupOf27LinesMeasuredAndPainted(benchmark::State& state) {
    Menu27 menu;
    QImage image(Menu27::width, Menu27::lineHeight * CZuMenuExCtrl::lineCount, QImage::Format_RGB32);
    ZuHDC dc = zu::gdi::createImageDC(&image);
    for (auto _ : state) {
        menu.openAndPaint(image, dc);
        benchmark::DoNotOptimize(image.constBits());
    }
    zu::gdi::deleteDC(dc);
}
BENCHMARK(BM_PopupOf27LinesMeasuredAndPainted)->Unit(benchmark::kMillisecond);

void BM_SelectionChange(benchmark::State& state) {
    Menu27 menu;
    QImage image(Menu27::width, Menu27::lineHeight * CZuMenuExCtrl::lineCount, QImage::Format_RGB32);
    ZuHDC dc = zu::gdi::createImageDC(&image);
    menu.openAndPaint(image, dc);
    int line = 0;
    for (auto _ : state) {
        menu.draw(dc, line, false);
        line = (line + 1) % CZuMenuExCtrl::lineCount;
        menu.draw(dc, line, true);
    }
    zu::gdi::deleteDC(dc);
}
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
