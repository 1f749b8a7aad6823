// Takes the screenshots of the desktop program for a person to look at: start-up, calculations
// of the heating system and of schemes 5 and 8, the additional results, the limit question, the
// custom-medium dialog, a menu of the main panel, the task menu with its recent tasks, and the
// program at the size it chooses on a small screen ("small", not among the default scenes). Run under a real
// display server (Xvfb):
//   desktop_screenshots OUTDIR [SUFFIX] [SCENE...]
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

#include "CustomMediumDialog.h"
#include "DesktopDriver.h"
#include "PlateLimitDialog.h"
#include "VariantsWindow.h"

using namespace desktop;
using kalvar::WindowId;

namespace {

QString outDir, suffix;

// The main window with every other window of the program that is showing.
void shoot(const QString& name) {
    QCoreApplication::processEvents();
    QTest::qWait(150);
    QRect area;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) area = area.united(window->frameGeometry());
    QScreen* screen = QGuiApplication::primaryScreen();
    area = area.intersected(screen->geometry());
    const QPixmap picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = outDir + QStringLiteral("/desktop-") + name + suffix + QStringLiteral(".png");
    picture.save(path);
    qInfo("%s", qPrintable(path));
}

std::unique_ptr<MainWindow> start(const QString& workDir) {
    auto form = startProgram(workDir, QStringLiteral(","), MainWindow::installedDataDir());
    form->move(10, 10);
    return form;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    outDir = args.value(1, QStringLiteral("out"));
    suffix = args.value(2);
    QStringList scenes = args.mid(3);
    if (scenes.isEmpty())
        scenes = {"startup", "heating", "scheme5", "scheme8",       "additional", "limit",
                  "medium",  "menu",    "tasks",   "variants-menu", "variants"};
    QDir().mkpath(outDir);
    QTemporaryDir workDir;

    for (const QString& scene : scenes) {
        if (scene == "small") {
            // The size the program chooses itself on the screen it opens on, calculated, and
            // scrolled to the far end of the MDI area.
            MainWindow::Options options;
            options.workDir = workDir.path();
            options.dataDir = MainWindow::installedDataDir();
            options.decimalSeparator = QStringLiteral(",");
            MainWindow f(options);
            f.show();
            if (!QTest::qWaitForWindowExposed(&f)) qWarning("the main window was not shown");
            clickButton(f.mainPanel(), 4);
            shoot(scene);
            f.mdiArea()->horizontalScrollBar()->setValue(f.mdiArea()->horizontalScrollBar()->maximum());
            shoot(scene + QStringLiteral("-scrolled"));
            continue;
        }
        std::unique_ptr<MainWindow> form = start(workDir.path());
        MainWindow& f = *form;
        if (scene == "startup") {
            shoot(scene);
        } else if (scene == "heating") {
            clickButton(f.mainPanel(), 4);
            shoot(scene);
        } else if (scene == "scheme5" || scene == "scheme8") {
            pickMenu(f.mainPanel(), 3, scene == "scheme5" ? 6 : 10);
            clickButton(f.mainPanel(), 4);
            shoot(scene);
        } else if (scene == "additional") {
            clickButton(f.mainPanel(), 4);
            QTest::mouseClick(child<QAbstractButton>(f.view(WindowId::Heating), "Check1"), Qt::LeftButton);
            shoot(scene);
        } else if (scene == "limit") {
            typeInto(child<QLineEdit>(f.view(WindowId::Heating), "Text30"), QStringLiteral("2,5"));
            pickMenu(f.view(WindowId::Heating)->layoutPanel(), 1, 1, 1);
            pickMenu(f.view(WindowId::Heating)->layoutPanel(), 1, 2, 1);
            DialogAnswerer answerer;
            answerer.expect([](QWidget* window) {
                auto* dialog = qobject_cast<PlateLimitDialog*>(window);
                if (!dialog) return false;
                dialog->move(300, 200);
                shoot(QStringLiteral("limit"));
                dialog->continueButton->click();
                return true;
            });
            clickButton(f.mainPanel(), 4);
            waitFor([&answerer] { return answerer.done(); });
        } else if (scene == "medium") {
            DialogAnswerer answerer;
            answerer.expect([](QWidget* window) {
                auto* dialog = qobject_cast<CustomMediumDialog*>(window);
                if (!dialog) return false;
                dialog->move(300, 200);
                typeInto(dialog->heatCapacityBox, QStringLiteral("3500"));
                typeInto(dialog->densityBox, QStringLiteral("1040"));
                shoot(QStringLiteral("medium"));
                dialog->close();
                return true;
            });
            answerer.expect([](QWidget* window) {
                if (auto* box = qobject_cast<QMessageBox*>(window)) box->accept();
                return true;
            });
            chooseInList(child<QComboBox>(f.view(WindowId::Heating), "Combo7"), 1);
            waitFor([&answerer] { return answerer.done(); });
        } else if (scene == "menu") {
            hoverButton(f.mainPanel(), 3);
            QTest::mouseClick(f.mainPanel(), Qt::LeftButton, {}, f.mainPanel()->buttonRect(3).center());
            waitFor([&f] { return f.mainPanel()->openMenu() && f.mainPanel()->openMenu()->isVisible(); });
            shoot(scene);
            f.mainPanel()->openMenu()->close();
        } else if (scene == "variants-menu") {
            ZuPanel* panel = f.view(WindowId::Heating)->givenParameterPanel();
            hoverButton(panel, 1);
            QTest::mouseClick(panel, Qt::LeftButton, {}, panel->buttonRect(1).center());
            waitFor([panel] { return panel->openMenu() && panel->openMenu()->isVisible(); });
            shoot(scene);
            if (panel->openMenu()) panel->openMenu()->close();
        } else if (scene == "variants") {
            // A load that some layouts cannot carry within the limits: the filter has work to do.
            typeInto(child<QLineEdit>(f.view(WindowId::Heating), "Text30"), QStringLiteral("2,5"));
            clickButton(f.mainPanel(), 4);
            pickMenu(f.view(WindowId::Heating)->givenParameterPanel(), 1, 7);
            waitFor([&f] { return f.variantsWindow(WindowId::Heating) != nullptr; });
            if (VariantsWindow* variants = f.variantsWindow(WindowId::Heating)) {
                variants->move(60, 80);
                shoot(scene);
                QTest::mouseClick(variants->withinLimitsBox(), Qt::LeftButton);
                shoot(scene + QStringLiteral("-all"));
            }
        } else if (scene == "tasks") {
            // Two tasks saved, the second of them open; the recent tasks stay out of the user's settings.
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                               workDir.filePath(QStringLiteral("settings")));
            for (const QString& name :
                 {QStringLiteral("ЦТП-1 отопление"), QStringLiteral("ЦТП-2 отопление")}) {
                f.askFileName = [&workDir, name](const MainWindow::FileQuestion&) {
                    return workDir.filePath(name + QStringLiteral(".kalvar.json"));
                };
                typeInto(child<QLineEdit>(f.view(WindowId::Heating), "Text30"), QStringLiteral("0,35"));
                f.saveTaskAs();
            }
            typeInto(child<QLineEdit>(f.view(WindowId::Heating), "Text30"), QStringLiteral("0,4"));
            QMenuBar* bar = f.menuBar();
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              bar->actionGeometry(f.taskMenu()->menuAction()).center());
            waitFor([&f] { return f.taskMenu()->isVisible(); });
            clickAction(f.taskMenu(), f.recentTasksMenu()->menuAction());
            waitFor([&f] { return f.recentTasksMenu()->isVisible(); });
            shoot(scene);
            f.taskMenu()->close();
        }
    }
    return 0;
}
