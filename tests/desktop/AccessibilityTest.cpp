// An accessibility walk over every window and dialog of the desktop program: no interactive
// control is nameless to a screen reader, and each button of a panel is reachable by its caption.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>

#include "AdditionalResultsView.h"
#include "CustomMediumDialog.h"
#include "DesktopDriver.h"
#include "PictureWindows.h"
#include "PlateLimitDialog.h"

using namespace desktop;
using kalvar::WindowId;

namespace {

constexpr int systemButton = 3, calculateButton = 4, aboutButton = 8;

bool interactive(QWidget* widget) {
    if (qobject_cast<QScrollBar*>(widget)) return false; // the scroll areas' own bars
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
           qobject_cast<QComboBox*>(widget) || qobject_cast<ZuPanel*>(widget) || widget->inherits("QMenuBar");
}

QString describe(QWidget* widget) {
    QString path = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                  : widget->objectName();
    for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (up->isWindow()) {
            path =
                (up->objectName().isEmpty() ? up->windowTitle() : up->objectName()) + QLatin1Char('/') + path;
            break;
        }
    return path;
}

// The interactive controls of a window that a screen reader would find without a name, and the
// panel buttons it would not find by their captions.
QStringList accessibilityFaults(QWidget* window) {
    QStringList faults;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || !interactive(widget)) continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (face == nullptr) {
            faults << describe(widget) + QStringLiteral(": no accessible interface");
            continue;
        }
        if (face->text(QAccessible::Name).trimmed().isEmpty())
            faults << describe(widget) + QStringLiteral(": nameless");
        if (auto* panel = qobject_cast<ZuPanel*>(widget)) {
            QStringList captions;
            for (int i = 0; i < face->childCount(); ++i)
                captions << face->child(i)->text(QAccessible::Name);
            for (int16_t b = 1; b <= panel->Buttons().Count(); ++b) {
                const ZuPanelButton& button = panel->Buttons().Item(b);
                if (button.Visible() && !captions.contains(button.Caption()))
                    faults << describe(widget) + QStringLiteral(": button \"") + button.Caption() +
                                  QStringLiteral("\" not reachable");
            }
        }
    }
    return faults;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private slots:
    void everyControlIsNamed() {
        QTemporaryDir workDir;
        std::unique_ptr<MainWindow> form = startProgram(workDir.path());
        QVERIFY(form);
        // All three calculation windows, and the additional results of one of them.
        QVERIFY(pickMenu(form->mainPanel(), systemButton, 10));
        QTest::mouseClick(child<QAbstractButton>(form->view(WindowId::Heating), "Check1"), Qt::LeftButton);
        QVERIFY(form->additionalResultsView());
        QStringList faults = accessibilityFaults(form.get());

        // The menus of the main panel: every entry but the separators has a name.
        for (int b : {2, 3, 5}) {
            hoverButton(form->mainPanel(), b);
            QTest::mouseClick(form->mainPanel(), Qt::LeftButton, {},
                              form->mainPanel()->buttonRect(b).center());
            QMenu* menu = form->mainPanel()->openMenu();
            QVERIFY(menu && waitFor([menu] { return menu->isVisible(); }));
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
            for (int i = 0; i < face->childCount(); ++i) {
                QAccessibleInterface* entry = face->child(i);
                if (entry->role() != QAccessible::Separator && entry->text(QAccessible::Name).isEmpty())
                    faults << QStringLiteral("menu of button %1: entry %2 nameless").arg(b).arg(i + 1);
            }
            menu->close();
        }
        // The window's menus too: the task commands and the systems.
        for (QAction* bar : form->menuBar()->actions()) {
            QMenu* menu = bar->menu();
            menu->popup(QPoint(0, 0));
            QVERIFY(waitFor([menu] { return menu->isVisible(); }));
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
            for (int i = 0; i < face->childCount(); ++i) {
                QAccessibleInterface* entry = face->child(i);
                if (entry->role() != QAccessible::Separator && entry->text(QAccessible::Name).isEmpty())
                    faults << QStringLiteral("menu %1: entry %2 nameless").arg(menu->title()).arg(i + 1);
            }
            menu->close();
        }

        // The dialogs that wait: the custom medium and the limit question, and the about box.
        DialogAnswerer answerer;
        answerer.expect([&faults](QWidget* window) {
            if (!qobject_cast<CustomMediumDialog*>(window)) return false;
            faults << accessibilityFaults(window);
            window->close();
            return true;
        });
        answerer.expect([](QWidget* window) { // the properties were left empty
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box) box->accept();
            return box != nullptr;
        });
        chooseInList(child<QComboBox>(form->view(WindowId::Ventilation), "Combo4"), 1);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));

        form->session().windows.heating.heatLoad.text = "2,5";
        QVERIFY(pickMenu(form->view(WindowId::Heating)->layoutPanel(), 1, 1, 1));
        QVERIFY(pickMenu(form->view(WindowId::Heating)->layoutPanel(), 1, 2, 1));
        // Each system pick from now on asks about the changed task first.
        answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
        QVERIFY(pickMenu(form->mainPanel(), systemButton, 2));
        answerer.expect([&faults](QWidget* window) {
            if (!qobject_cast<PlateLimitDialog*>(window)) return false;
            faults << accessibilityFaults(window);
            static_cast<PlateLimitDialog*>(window)->continueButton->click();
            return true;
        });
        clickButton(form->mainPanel(), calculateButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));

        answerer.expect([&faults](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box) return false;
            faults << accessibilityFaults(window);
            box->accept();
            return true;
        });
        clickButton(form->mainPanel(), aboutButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));

        // The picture windows and the web page.
        form->mainPanel()->Buttons().Item(6).setVisible(true);
        for (int item : {1, 5, 6, 8}) {
            answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
            QVERIFY(pickMenu(form->mainPanel(), systemButton, item));
            clickButton(form->mainPanel(), 6);
        }
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "ignoreUrl");
        clickButton(form->mainPanel(), 7);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        for (const char* name : {"Form5", "Form6", "Form7", "Form8", "Form13"}) {
            QWidget* window = form->pictureWindow(name);
            QVERIFY2(window, name);
            faults << accessibilityFaults(window);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
    }

  public slots:
    void ignoreUrl(const QUrl&) {}
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
