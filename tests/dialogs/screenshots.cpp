// Screenshots of the dialogs for looking at them: the limit dialog, the custom medium dialog, both
// views of the additional results after a heating calculation, and the scheme window with and
// without its picture.
//   QT_QPA_PLATFORM=offscreen [QT_SCALE_FACTOR=2] dialogs_screenshots <out folder> <suffix>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "AdditionalResultsView.h"
#include "CustomMediumDialog.h"
#include "PictureWindows.h"
#include "PlateLimitDialog.h"
#include "Twips.h"
#include "additional_results.h"
#include "calculator.h"
#include "startup.h"

namespace {

class QuietUi : public kalvar::CalcUi {
  public:
    void beep() override {}
    void showMessage(kalvar::MessageIcon, const std::string&, const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void setBusy(bool) override {}
    kalvar::LimitDialogAnswers askLimit(const kalvar::LimitDialogRequest&) override {
        return {false, false, true};
    }
};

QString outFolder;
QString suffix;

void shoot(QWidget* widget, const QString& name) {
    widget->show();
    QApplication::processEvents();
    const QString path = QDir(outFolder).filePath("dialogs-" + name + suffix + ".png");
    if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: dialogs_screenshots <out folder> <suffix>\n");
        return 2;
    }
    outFolder = QString::fromLocal8Bit(argv[1]);
    suffix = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outFolder);

    PlateLimitDialog limit;
    kalvar::LimitDialogRequest request;
    request.caption = "Отопление";
    request.label = kalvar::messages::plateLimitLabel;
    request.otherSizeEnabled = false;
    limit.setRequest(request);
    limit.severalButton->setChecked(true);
    shoot(&limit, "Form11");

    CustomMediumDialog medium;
    medium.heatCapacityBox->setText("4190");
    medium.densityBox->setText("998,2");
    medium.viscosityBox->setText("1,004");
    medium.conductivityBox->setText("0,599");
    shoot(&medium, "Form10");

    kalvar::Session session;
    kalvar::startUp(session, KALVAR_PICTURE_DIR);
    QuietUi ui;
    kalvar::Calculator calculator(session.state, session.windows, ui);
    session.windows.heating.passCountList.setListIndex(2); // three passes: the longest legend
    calculator.calculateCommand();
    kalvar::fillAdditionalResults(session, session.windows.heating);
    AdditionalResultsView results(session, nullptr);
    results.resize(results.sizeHint().width(), twipsToPixels(4900, &results));
    results.refresh();
    shoot(&results, "Form12-geometric");
    std::printf("Form12 minimum %dx%d, designed height %d\n", results.minimumSizeHint().width(),
                results.minimumSizeHint().height(), twipsToPixels(4900, &results));
    results.thermophysicalButton->click();
    shoot(&results, "Form12-thermophysical");

    ThreeCircuitSchemeWindow scheme;
    scheme.present("Параллельная схема для трех контуров", KALVAR_PICTURE_DIR, QString());
    shoot(&scheme, "Form6");
    QTemporaryDir empty;
    ThreeCircuitSchemeWindow missing;
    missing.present("Параллельная схема для трех контуров", empty.path(), QString());
    shoot(&missing, "Form6-missing");

    ExchangerPictureWindow single;
    shoot(&single, "Form7");
    return 0;
}
