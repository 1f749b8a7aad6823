// Pictures of the report's dialogs and of rendered report pages, for looking at them:
// reports_screenshots OUT_DIR [SUFFIX [BASE]] writes reports-form4SUFFIX.png, reports-form9SUFFIX.png,
// reports-calculation-page1SUFFIX.png and reports-description-page1SUFFIX.png there, and the
// workbook they come from as BASE.xlsx and BASE.pdf when given.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <iostream>

#include "DeliveryTermsDialog.h"
#include "PrintSelectionDialog.h"
#include "ReportBuilder.h"
#include "SheetRenderer.h"
#include "XlsxWriter.h"
#include "test_support.h"

using namespace kalvar;

namespace {

QImage renderPage(const Sheet& sheet, int dpi) {
    const int width = static_cast<int>(pageWidthPoints / 72 * dpi),
              height = static_cast<int>(pageHeightPoints / 72 * dpi);
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, sheet, paginate(sheet).front(), ",");
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out");
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(out);

    testing::ScratchDir dir;
    testing::writePassDrawings(dir.path());
    Session session;
    session.windows.decimalSeparator = ",";
    startUp(session, dir.path().string());
    testing::calculate(
        session, 8,
        {{"Form1", {{"Text30", "0,2"}}}, {"Form2", {{"Text30", "0,5"}}}, {"Form3", {{"Text30", "0,35"}}}});
    DeliveryTerms terms;
    terms.objectName = "Школа № 5, ул. Примерная, 12";
    terms.hotWater.price = "125000";
    terms.hotWater.notes = "Монтаж силами заказчика.";
    const Workbook book = buildReport(session, OwnerDetails{}, terms);
    renderPage(book.sheet("Лист4"), 120).save(out + "/reports-calculation-page1" + suffix + ".png");
    renderPage(book.sheet("Лист1"), 120).save(out + "/reports-description-page1" + suffix + ".png");
    if (argc > 3) { // the same workbook, for another program to render, and our own PDF of it
        writeXlsx(book, std::string(argv[3]) + ".xlsx");
        writePdf(book, std::string(argv[3]) + ".pdf", {"Лист4", "Лист1", "Лист2", "Лист3"}, ",");
    }

    DeliveryTermsDialog form4;
    form4.setTerms(terms);
    PrintSelectionDialog form9;
    PrintSelection selection;
    QTimer::singleShot(200, [&] {
        form4.grab().save(out + "/reports-form4" + suffix + ".png");
        form4.okButton->setChecked(true);
    });
    form4.ask(2);
    QTimer::singleShot(200, [&] {
        form9.grab().save(out + "/reports-form9" + suffix + ".png");
        form9.continueButton->setChecked(true);
    });
    form9.ask(5, selection);
    std::cout << "written to " << out.toStdString() << "\n";
    return 0;
}
