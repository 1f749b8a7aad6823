#pragma once
// Drives the desktop program as a user does: the pointer onto panel buttons, clicks, menus opened
// and entries picked, text typed into boxes, dialogs answered. Dialogs that wait (message boxes,
// the limit question, the custom medium) are answered by a DialogAnswerer, which works from a timer
// inside their waits.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

#include "CalcWindowView.h"
#include "MainWindow.h"
#include "ZuPanel.h"
#include "task_file.h"

namespace desktop {

// Events run until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(1);
    }
    return true;
}

inline std::unique_ptr<MainWindow> startProgram(const QString& workDir, const QString& decimalSeparator = ".",
                                                const QString& dataDir = QString()) {
    MainWindow::installRussianTranslation();
    MainWindow::Options options;
    options.workDir = workDir;
    options.dataDir = dataDir.isEmpty() ? workDir : dataDir;
    options.decimalSeparator = decimalSeparator;
    auto form = std::make_unique<MainWindow>(options);
    form->resize(1500, 900);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) return nullptr;
    return form;
}

inline void hoverButton(ZuPanel* panel, int b) {
    QTest::mouseMove(panel, panel->buttonRect(b).center());
    QCoreApplication::processEvents();
}

// Pointer onto the button, press and release, as a click on it.
inline void clickButton(ZuPanel* panel, int b) {
    hoverButton(panel, b);
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->buttonRect(b).center());
    QCoreApplication::processEvents();
}

inline void clickAction(QMenu* menu, QAction* action) {
    const QPoint at = menu->actionGeometry(action).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, {}, at);
}

// Opens button b's menu and picks menu item `item` (1-based, separators and headings counted), or
// its sub-item `sub`. False when the entry was not there or did not respond; the menu is closed then.
inline bool pickMenu(ZuPanel* panel, int b, int item, int sub = 0) {
    hoverButton(panel, b);
    QTest::mousePress(panel, Qt::LeftButton, {}, panel->buttonRect(b).center());
    QTest::mouseRelease(panel, Qt::LeftButton, {}, panel->buttonRect(b).center());
    if (!waitFor([panel] { return panel->openMenu() && panel->openMenu()->isVisible(); })) return false;
    QMenu* menu = panel->openMenu();
    const QList<QAction*> actions = menu->actions();
    if (item < 1 || item > actions.size()) {
        menu->close();
        return false;
    }
    QAction* action = actions[item - 1];
    if (sub == 0) {
        clickAction(menu, action);
        QCoreApplication::processEvents();
        return true;
    }
    QMenu* subMenu = action->menu();
    if (subMenu == nullptr) {
        menu->close();
        return false;
    }
    clickAction(menu, action);
    if (!waitFor([subMenu] { return subMenu->isVisible(); })) {
        menu->close();
        return false;
    }
    const QList<QAction*> subActions = subMenu->actions();
    if (sub > subActions.size()) {
        menu->close();
        return false;
    }
    clickAction(subMenu, subActions[sub - 1]);
    QCoreApplication::processEvents();
    if (panel->openMenu() && panel->openMenu()->isVisible()) panel->openMenu()->close();
    return true;
}

template <class W> W* child(QWidget* parent, const char* name) {
    return parent->findChild<W*>(QString::fromLatin1(name));
}

// Clicks into the box, selects what it holds and types the text over it.
inline void typeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    QCoreApplication::processEvents();
}

// Chooses a list entry with the keyboard, as a user does on a closed list.
inline void chooseInList(QComboBox* list, int index) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QCoreApplication::processEvents();
}

// A visible window that waits for an answer: a modal one first, then the dialogs that wait
// without modality (the limit question, the custom medium, the report's dialogs).
inline QWidget* waitingWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->inherits("QDialog")) return window;
    return nullptr;
}

inline QAbstractButton* buttonCaptioned(QWidget* window, const QString& caption) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == caption && button->isVisible()) return button;
    return nullptr;
}

// Answers the dialogs that wait, in the order they come, from a timer that also fires inside their
// waits. Each answer sees the waiting window and returns true when it has answered it.
class DialogAnswerer : public QObject {
  public:
    using Answer = std::function<bool(QWidget* window)>;

    DialogAnswerer() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }

    void expect(Answer answer) { answers_.push_back(std::move(answer)); }
    bool done() const { return answers_.empty(); }
    // Windows that came with no answer left: they were closed and are recorded here.
    QStringList unexpected;
    // Texts of the message boxes answered.
    QStringList messages;

  private:
    void poll() {
        QWidget* window = waitingWindow();
        if (window == nullptr) return;
        if (auto* box = qobject_cast<QMessageBox*>(window); box && !box->property("answererSaw").toBool()) {
            box->setProperty("answererSaw", true);
            messages << box->text();
        }
        if (answers_.empty()) {
            unexpected << window->windowTitle() + QStringLiteral(": ") +
                              (qobject_cast<QMessageBox*>(window) ? qobject_cast<QMessageBox*>(window)->text()
                                                                  : window->objectName());
            window->close();
            return;
        }
        if (answers_.front()(window)) {
            answers_.pop_front();
            tries_ = 0;
        } else if (++tries_ > 400) {
            // An answer that cannot be given would leave the test waiting for ever.
            unexpected << QStringLiteral("no answer fits ") + window->objectName() + QStringLiteral(" ") +
                              window->windowTitle();
            answers_.pop_front();
            tries_ = 0;
            window->close();
        }
    }

    QTimer timer_;
    std::deque<Answer> answers_;
    int tries_ = 0;
};

// An answer that clicks the button with that caption in the waiting window.
inline DialogAnswerer::Answer clickCaption(const QString& caption) {
    return [caption](QWidget* window) {
        QAbstractButton* button = buttonCaptioned(window, caption);
        if (button == nullptr || !button->isEnabled()) return false;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    };
}

// An answer that closes the waiting window by its title bar.
inline DialogAnswerer::Answer closeWindow() {
    return [](QWidget* window) {
        window->close();
        return true;
    };
}

} // namespace desktop

// ---------------------------------------------------------------------------------------------
// Comparing the desktop's window model with kalvar-cli's output for the same task.
#include <nlohmann/json.hpp>

namespace desktop {

// Every control whose value differs, as "Form2.Text1: desktop … cli …"; controls named in skip
// ("Form2.label54") are left out.
template <class Window>
void addDifferences(QStringList& out, const char* name, Window& window, const nlohmann::ordered_json& cli,
                    const QStringList& skip) {
    for (auto& [control, model] : window.controls()) {
        const QString where = QString::fromLatin1(name) + QLatin1Char('.') + QString::fromStdString(control);
        if (skip.contains(where)) continue;
        const nlohmann::ordered_json mine = kalvar::controlValue(*model);
        const auto found = cli.find(control);
        if (found == cli.end()) {
            out << where + QStringLiteral(": missing in kalvar-cli's output");
            continue;
        }
        if (*found != mine)
            out << where + QStringLiteral(": desktop ") + QString::fromStdString(mine.dump()) +
                       QStringLiteral(", kalvar-cli ") + QString::fromStdString(found->dump());
    }
}

inline QStringList modelDifferences(kalvar::Session& session, const nlohmann::ordered_json& cliResult,
                                    const QStringList& skip = {}) {
    QStringList out;
    const nlohmann::ordered_json& windows = cliResult.at("windows");
    addDifferences(out, "Form1", session.windows.ventilation, windows.at("Form1"), skip);
    addDifferences(out, "Form2", session.windows.heating, windows.at("Form2"), skip);
    addDifferences(out, "Form3", session.windows.hotWater, windows.at("Form3"), skip);
    addDifferences(out, "Form12", session.windows.additionalResults, windows.at("Form12"), skip);
    return out;
}

} // namespace desktop
