// A long random session: clicks on panel buttons and widgets, menu picks, typing, list choices,
// dialogs answered or closed by their title bars, tasks saved and opened again, the program closed
// and started again. It must end without a crash and without a hang, and the program must still
// answer: no dialog left waiting, every widget showing its model control, and a "Расчет" on the
// inputs left standing giving what kalvar-cli gives for them. The seed is printed so a failure can
// be replayed (KALVAR_RANDOM_SEED, KALVAR_RANDOM_EVENTS).
#include <QDesktopServices>
#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>

#include <random>

#include "AdditionalResultsView.h"
#include "DesktopDriver.h"
#include "PlateLimitDialog.h"
#include "ReportActions.h"
#include "task.h"

using namespace desktop;

namespace {

// Nested waits deeper than this are only ended, never entered further.
constexpr int deepestWait = 3;

class RandomUser : public QObject {
    Q_OBJECT
  public:
    RandomUser(const QString& workDir, uint32_t seed) : workDir_(workDir), random_(seed) {
        for (QTimer& timer : nestedTimers_) {
            timer.setInterval(1);
            connect(&timer, &QTimer::timeout, this, [this] { nestedStep(); });
        }
    }

    // Runs until `events` events were sent.
    void run(int events) {
        target_ = events;
        restart();
        for (QTimer& timer : nestedTimers_)
            timer.start();
        while (sent_ < target_) {
            if (!form_ || !form_->isVisible()) restart();
            step();
            QCoreApplication::processEvents();
        }
        for (QTimer& timer : nestedTimers_)
            timer.stop();
        // Whatever still waits is ended.
        while (QWidget* window = waitingWindow()) {
            window->close();
            QCoreApplication::processEvents();
        }
    }

    int sent() const { return sent_; }
    // The program as the events left it, started again if the last of them closed it.
    MainWindow& program() {
        if (!form_ || !form_->isVisible()) restart();
        return *form_;
    }
    int restarts() const { return restarts_; }
    int calculations = 0;

  public slots:
    void ignoreUrl(const QUrl&) {}

  private:
    void restart() {
        form_.reset();
        form_ = startProgram(workDir_);
        form_->resize(1000, 640); // fewer pixels to paint after every event
        form_->reports()->openFile = [](const QString&) { return true; }; // saved reports stay closed
        // Tasks are saved to one file and opened from it, or the file question is cancelled.
        form_->askFileName = [this](const MainWindow::FileQuestion&) {
            return pick(4) ? workDir_ + QStringLiteral("/random.kalvar.json") : QString();
        };
        ++restarts_;
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <class T> T* any(const QList<T*>& items) {
        QList<T*> usable;
        for (T* item : items)
            if (item->isVisible() && item->isEnabled()) usable << item;
        return usable.isEmpty() ? nullptr : usable[pick(usable.size())];
    }

    // A timer that fires inside a wait: the waiting window gets the next event, or, deep enough,
    // is ended. A wait may also begin between two events (a dialog opened once its pick is done).
    void nestedStep() {
        if (sent_ >= target_ + 1000) return;
        QWidget* window = waitingWindow();
        if (window == nullptr) return;
        if (depth_ >= deepestWait || sent_ >= target_) {
            window->close();
            return;
        }
        step();
    }

    void step() {
        ++depth_;
        ++sent_;
        if (QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            inMenu(menu);
        else if (QWidget* window = waitingWindow(); window && pick(10) < 8)
            inDialog(window);
        else if (form_ && form_->isVisible())
            inMainWindow();
        --depth_;
    }

    void inMenu(QMenu* menu) {
        switch (pick(4)) {
        case 0:
            QTest::keyClick(menu, Qt::Key_Escape);
            break;
        case 1:
            QTest::keyClick(menu, pick(2) ? Qt::Key_Down : Qt::Key_Up);
            break;
        default:
            if (QAction* action =
                    menu->actions().isEmpty() ? nullptr : menu->actions()[pick(menu->actions().size())])
                clickAction(menu, action);
        }
    }

    void inDialog(QWidget* window) {
        switch (pick(5)) {
        case 0:
            window->close();
            break;
        case 1:
            if (QLineEdit* box = any(window->findChildren<QLineEdit*>())) typeInto(box, randomText());
            break;
        default:
            if (QAbstractButton* button = any(window->findChildren<QAbstractButton*>()))
                QTest::mouseClick(button, Qt::LeftButton);
        }
    }

    void inMainWindow() {
        MainWindow& form = *form_;
        if (pick(40) == 0) { // "Расчет", often enough to meet every window state
            ++calculations;
            clickButton(form.mainPanel(), 4);
            return;
        }
        switch (pick(12)) {
        case 0:
        case 1:
        case 2: { // a panel button: its click or its menu
            ZuPanel* panel = any(form.findChildren<ZuPanel*>());
            if (!panel || panel->Buttons().Count() == 0) break;
            const int b = 1 + pick(panel->Buttons().Count());
            if (panel->buttonRect(b).isEmpty()) break;
            if (panel == form.mainPanel() && b == 4) ++calculations;
            clickButton(panel, b);
            break;
        }
        case 3: {
            ZuPanel* panel = any(form.findChildren<ZuPanel*>());
            if (panel && panel->Buttons().Count() > 0) hoverButton(panel, 1 + pick(panel->Buttons().Count()));
            break;
        }
        case 4:
        case 5:
            if (QLineEdit* box = any(form.findChildren<QLineEdit*>())) typeInto(box, randomText());
            break;
        case 6:
            if (QComboBox* list = any(form.findChildren<QComboBox*>()))
                chooseInList(list, pick(list->count() + 1));
            break;
        case 7:
            if (QAbstractButton* button = any(form.findChildren<QAbstractButton*>()))
                QTest::mouseClick(button, Qt::LeftButton);
            break;
        case 8: {
            QWidget* viewport = form.mdiArea()->viewport();
            QTest::mouseMove(viewport, QPoint(pick(viewport->width() + 1), pick(viewport->height() + 1)));
            break;
        }
        case 9: { // the window's menus: the tasks, the systems
            QMenuBar* bar = form.menuBar();
            QAction* menu = bar->actions()[pick(bar->actions().size())];
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu).center());
            break;
        }
        case 10: // keys wherever the focus is, now and then a task's save or open
            if (QWidget* focus = QApplication::focusWidget(); focus && pick(8) == 0)
                QTest::keyClick(focus, pick(2) ? Qt::Key_S : Qt::Key_O, Qt::ControlModifier);
            else if (focus)
                QTest::keyClick(focus, std::array{Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Down,
                                                  Qt::Key_Space}[static_cast<size_t>(pick(5))]);
            break;
        default: // the picture windows come and go, and now and then the program itself
            if (pick(40) == 0)
                form.close();
            else if (QWidget* window = any(QApplication::topLevelWidgets()); window && window != &form)
                window->close();
        }
    }

    QString randomText() {
        // Mostly numbers, so that many calculations get past their input checks.
        if (pick(3) > 0)
            return QString::number(pick(150)) +
                   (pick(2) ? QStringLiteral(",") + QString::number(pick(10)) : QString());
        static const QString characters = QStringLiteral("0123456789,.,.-e x");
        QString text;
        const int length = pick(8);
        for (int i = 0; i < length; ++i)
            text += characters[pick(characters.size())];
        return text;
    }

    QString workDir_;
    std::mt19937 random_;
    std::unique_ptr<MainWindow> form_;
    std::array<QTimer, deepestWait + 1> nestedTimers_;
    int depth_ = 0;
    int sent_ = 0;
    int target_ = 0;
    int restarts_ = 0;
};

// Widgets that show something other than their model control: "Form2.Text30: shows … model …".
// Text boxes, lists and check boxes, the controls a user changes.
QStringList widgetDisagreements(QWidget* view, const char* name,
                                const std::vector<std::pair<std::string, kalvar::Control*>>& controls) {
    QStringList out;
    for (const auto& [control, model] : controls) {
        const QString where = QString::fromLatin1(name) + QLatin1Char('.') + QString::fromStdString(control);
        QWidget* widget = view->findChild<QWidget*>(QString::fromStdString(control));
        if (widget == nullptr) continue;
        QString shown, wanted;
        if (auto* box = qobject_cast<QLineEdit*>(widget);
            box && model->kind == kalvar::ControlKind::TextBox) {
            shown = box->text();
            wanted = QString::fromStdString(model->text);
        } else if (auto* list = qobject_cast<QComboBox*>(widget);
                   list && model->kind == kalvar::ControlKind::List) {
            shown = QString::number(list->currentIndex());
            wanted = QString::number(model->listIndex);
        } else if (auto* check = qobject_cast<QAbstractButton*>(widget);
                   check && check->isCheckable() && model->kind == kalvar::ControlKind::Check) {
            shown = QString::number(check->isChecked() ? 1 : 0);
            wanted = QString::number(model->value == 1 ? 1 : 0);
        } else {
            continue;
        }
        if (shown != wanted)
            out << where + QStringLiteral(": shows ") + shown + QStringLiteral(", model ") + wanted;
    }
    return out;
}

QStringList allDisagreements(MainWindow& form) {
    kalvar::Session& s = form.session();
    QStringList out;
    out << widgetDisagreements(form.view(kalvar::WindowId::Ventilation), "Form1",
                               s.windows.ventilation.controls())
        << widgetDisagreements(form.view(kalvar::WindowId::Heating), "Form2", s.windows.heating.controls())
        << widgetDisagreements(form.view(kalvar::WindowId::HotWater), "Form3", s.windows.hotWater.controls());
    if (form.additionalResultsView())
        out << widgetDisagreements(form.additionalResultsView(), "Form12",
                                   s.windows.additionalResults.controls());
    return out;
}

// The inputs standing in the program as a kalvar-cli task: system, units and every text, list and
// check of the windows.
nlohmann::ordered_json standingTask(kalvar::Session& session) {
    using Json = nlohmann::ordered_json;
    const kalvar::UnitSettings& units = session.windows.units;
    Json task = {{"system", session.state.systemKind},
                 {"units",
                  {{"heat", units.heatInGcalPerHour ? "Гкал/ч" : "кВт"},
                   {"flow", units.flowInM3PerHour ? "м3/ч" : "л/с"},
                   {"pressure", units.pressureInKPa ? "кПа" : "атм"}}},
                 {"decimalSeparator", session.windows.decimalSeparator},
                 {"seriesPrefix", session.state.seriesPrefix}};
    const auto values = [](auto& window) {
        Json out = Json::object();
        for (auto& [name, control] : window.controls()) {
            switch (control->kind) {
            case kalvar::ControlKind::TextBox:
            case kalvar::ControlKind::Label:
                out[name] = control->text;
                break;
            case kalvar::ControlKind::List:
                if (control->listIndex >= 0) out[name] = control->listIndex;
                break;
            case kalvar::ControlKind::Check:
                out[name] = control->value;
                break;
            default:
                break;
            }
        }
        return out;
    };
    task["windows"] = {{"Form1", values(session.windows.ventilation)},
                       {"Form2", values(session.windows.heating)},
                       {"Form3", values(session.windows.hotWater)}};
    if (session.windows.additionalResults.loaded())
        task["windows"]["Form12"] = values(session.windows.additionalResults);
    return task;
}

QtMessageHandler testLog = nullptr;

// The offscreen platform says at every raised window that it cannot raise it; the rest goes on to
// the test log.
void quietLog(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    testLog(type, context, message);
}

} // namespace

class RandomUseTest : public QObject {
    Q_OBJECT
  private slots:
    void twentyThousandEvents() {
        const uint32_t seed = qEnvironmentVariableIsSet("KALVAR_RANDOM_SEED")
                                  ? qEnvironmentVariableIntValue("KALVAR_RANDOM_SEED")
                                  : 20261210u;
        const int events = qEnvironmentVariableIsSet("KALVAR_RANDOM_EVENTS")
                               ? qEnvironmentVariableIntValue("KALVAR_RANDOM_EVENTS")
                               : 20000;
        testLog = qInstallMessageHandler(quietLog);
        qInfo("random user: seed %u, %d events", seed, events);
        QTemporaryDir workDir;
        // The recent tasks stay out of the user's settings.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           workDir.filePath(QStringLiteral("settings")));
        // Saved and printed reports go into the working directory.
        QDir::setCurrent(workDir.path());
        RandomUser user(workDir.path(), seed);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &user, "ignoreUrl");
        QElapsedTimer clock;
        clock.start();
        user.run(events);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        qInfo("%d events, %d presses of \"Расчет\", %d program starts in %lld ms", user.sent(),
              user.calculations, user.restarts(), clock.elapsed());
        qInstallMessageHandler(testLog);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // No dialog is left waiting, and the program takes commands.
        MainWindow& form = user.program();
        QVERIFY(waitingWindow() == nullptr);
        QVERIFY(!form.commandsBlocked());

        // Every widget shows its model control, without a refresh forced first.
        kalvar::Session& s = form.session();
        QStringList disagreements = allDisagreements(form);
        QVERIFY2(disagreements.isEmpty(), qPrintable(disagreements.join(QLatin1Char('\n'))));

        // "Расчет" on the inputs left standing gives what kalvar-cli gives for them. A task carries
        // no series saved by earlier sizings: the program's are set to those a task starts from.
        kalvar::Session fresh;
        kalvar::startUp(fresh, workDir.path().toStdString());
        s.state.hotWaterLastType = fresh.state.hotWaterLastType;
        s.state.heatingLastType = fresh.state.heatingLastType;
        s.state.ventLastType = fresh.state.ventLastType;
        const std::string task = standingTask(s).dump();
        const nlohmann::ordered_json cli = kalvar::runTask(task, workDir.path().toStdString());

        QStringList shown;
        DialogAnswerer answerer; // kalvar-cli answers every limit question with "Продолжить"
        for (int i = 0; i < 200; ++i)
            answerer.expect([&shown](QWidget* window) {
                if (auto* box = qobject_cast<QMessageBox*>(window)) {
                    shown << box->text();
                    box->accept();
                    return true;
                }
                auto* dialog = qobject_cast<PlateLimitDialog*>(window);
                if (dialog) QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
                return dialog != nullptr;
            });
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        clickButton(form.mainPanel(), 4);
        QVERIFY(waitFor([&form] { return !form.commandsBlocked(); }, 60000));
        QVERIFY2(answerer.unexpected.isEmpty(), qPrintable(answerer.unexpected.join(QLatin1Char('\n'))));

        QStringList cliMessages;
        for (const auto& message : cli["messages"])
            cliMessages << QString::fromStdString(message["text"].get<std::string>()).replace("\r\n", "\n");
        QCOMPARE(shown, cliMessages);
        disagreements = allDisagreements(form);
        QVERIFY2(disagreements.isEmpty(), qPrintable(disagreements.join(QLatin1Char('\n'))));
        QVERIFY2(modelDifferences(s, cli).isEmpty(),
                 qPrintable(modelDifferences(s, cli).join(QLatin1Char('\n')) + QStringLiteral("\ntask: ") +
                            QString::fromStdString(task)));
    }
};

QTEST_MAIN(RandomUseTest)
#include "RandomUseTest.moc"
