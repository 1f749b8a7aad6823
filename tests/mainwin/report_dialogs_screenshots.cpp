// Pictures of the dialogs the report actions run, for looking at them:
// report_dialogs_screenshots OUT_DIR [SUFFIX] writes reports-form4SUFFIX.png (the delivery terms of
// the heating system) and reports-form9SUFFIX.png (the print selection of scheme 5) there.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <iostream>

#include "DeliveryTermsDialog.h"
#include "PrintSelectionDialog.h"

using namespace kalvar;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out");
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(out);

    DeliveryTerms terms;
    terms.objectName = "Школа № 5, ул. Примерная, 12";
    terms.hotWater.price = "125000";
    terms.hotWater.notes = "Монтаж силами заказчика.";

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
