// Screenshots of the three calculation windows for a visual check (not a test):
// windows_shots OUTPUT_DIR SUFFIX writes windows-startup, windows-calculated and
// windows-additional followed by SUFFIX and ".png".
#include <QApplication>
#include <QDir>
#include <QTest>

#include "WindowsHarness.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out");
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(dir);

    HarnessWindow harness;
    harness.resize(1220, 640);
    harness.show();
    harness.selectSystem(kalvar::mixedThreeCircuits);
    QTest::qWait(100);
    auto shoot = [&](const char* name) {
        QTest::qWait(50);
        harness.grab().save(dir + QStringLiteral("/windows-%1%2.png").arg(QLatin1String(name), suffix));
    };
    shoot("startup");

    harness.selectSystem(kalvar::mixedThreeCircuits);
    harness.calculate();
    shoot("calculated");

    harness.session_.windows.heating.showAdditionalResults.value = 1;
    harness.view(kalvar::WindowId::Heating)->applyAdditionalResultsSwitch();
    shoot("additional");
    return 0;
}
