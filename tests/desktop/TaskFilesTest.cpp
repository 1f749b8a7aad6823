// Task files in the desktop program, driven as a user drives it: the task menu and its shortcuts,
// the file dialog answered through the window's file-name question, the question about unsaved
// changes, the title, the recent tasks, a dropped file and `kalvar FILE`. A task saved by the
// desktop runs headless to the same result, and opens again to the same inputs.
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "CustomMediumDialog.h"
#include "DesktopDriver.h"
#include "PlateLimitDialog.h"
#include "task.h"
#include "task_file.h"

using namespace desktop;
using Json = nlohmann::ordered_json;
using kalvar::WindowId;

namespace {

constexpr int systemButton = 3, calculateButton = 4;
constexpr int systemItem[9] = {0, 1, 2, 3, 5, 6, 8, 9, 10};

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The inputs a session holds, as control values: what a task of it would set.
QString inputsOf(kalvar::Session& session) {
    return QString::fromStdString(
        kalvar::prepareTask(
            kalvar::namedTaskOf(session, kalvar::TaskHeader{session.state.systemKind, {}, {}}).dump())
            .windows.dump());
}

// The number a task file holds for a control, whatever its decimal separator.
double numberIn(const QString& path, const char* window, const char* control) {
    const Json windows = kalvar::prepareTask(readText(path).toStdString()).windows;
    return QString::fromStdString(windows.at(window).at(control).get<std::string>())
        .replace(QLatin1Char(','), QLatin1Char('.'))
        .toDouble();
}

// The given-parameter boxes as the window shows them: which is locked, and its colour.
QStringList givenParameterLook(CalcWindowView* view) {
    QStringList out;
    for (const char* name : {"Text30", "Text33", "Text38"}) {
        const kalvar::Control* box = view->model().find(name);
        out << QStringLiteral("%1 locked %2 colour %3")
                   .arg(QLatin1String(name), QString::number(box->locked),
                        QString::number(box->backColor, 16));
    }
    return out;
}

// Triggers a task command by its shortcut, the focus in the heating window.
void pressShortcut(MainWindow& form, const QKeySequence& keys) {
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QLineEdit* box = child<QLineEdit>(form.view(WindowId::Heating), "Text2");
    box->setFocus(Qt::MouseFocusReason);
    QTest::keySequence(box, keys);
    QCoreApplication::processEvents();
}

} // namespace

class TaskFilesTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir workDir_;
    std::unique_ptr<MainWindow> form_;

    QString path(const QString& name) const { return workDir_.filePath(name); }

    // The program, numbers written as a Russian desk writes them, with its file-name question
    // answered by `answer`.
    MainWindow& start(const QString& answer = QString()) {
        form_ = startProgram(workDir_.path(), QStringLiteral(","));
        setAnswer(*form_, answer);
        return *form_;
    }
    static void setAnswer(MainWindow& form, const QString& answer) {
        form.askFileName = [answer](const MainWindow::FileQuestion&) { return answer; };
    }

    // A task file in the named format, written by the program from its start-up state with
    // Q = `load` in the heating window.
    QString heatingTask(const QString& name, const QString& load) {
        auto form = startProgram(workDir_.path(), QStringLiteral(","));
        typeInto(child<QLineEdit>(form->view(WindowId::Heating), "Text30"), load);
        setAnswer(*form, path(name));
        form->saveTaskAs();
        return path(name);
    }

  private slots:
    void initTestCase() {
        // The recent tasks go to a settings file of this run's own: the test functions run in
        // parallel processes.
        QVERIFY(workDir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           workDir_.filePath(QStringLiteral("settings")));
        QCoreApplication::setOrganizationName(QStringLiteral("kalvar-tests"));
    }
    void init() { QSettings().clear(); }
    void cleanup() { form_.reset(); }

    // Values typed, a limit question answered with other than its default, saved with Ctrl+S; the
    // file opened in a fresh window gives the same inputs, and run headless the same result.
    void savedTaskReopensAndRunsAlike() {
        const QString file = path(QStringLiteral("design"));
        MainWindow& first = start(file);
        CalcWindowView* view = first.view(WindowId::Heating);
        typeInto(child<QLineEdit>(view, "Text30"), QStringLiteral("2,5"));
        typeInto(child<QLineEdit>(view, "Text2"), QStringLiteral("115"));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 1, 1)); // Тип → КМ1
        QVERIFY(pickMenu(view->layoutPanel(), 1, 2, 1)); // Число ходов → /1
        QVERIFY(pickMenu(view->layoutPanel(), 1, 3, 1)); // Число теплообменников → x1

        DialogAnswerer answerer;
        QStringList reasons;
        answerer.expect([&reasons](QWidget* window) {
            auto* dialog = qobject_cast<PlateLimitDialog*>(window);
            if (!dialog) return false;
            reasons << dialog->reasonLabel->text();
            QTest::mouseClick(dialog->otherSizeButton, Qt::LeftButton);
            return true;
        });
        pressShortcut(first, QKeySequence(Qt::Key_F9));
        QVERIFY(waitFor([&] { return answerer.done() && !first.commandsBlocked(); }, 20000));
        QVERIFY(!first.limitAnswers().empty());
        QCOMPARE(first.limitAnswers().front(), std::string("Другой типоразмер"));
        QVERIFY(first.isWindowModified());

        pressShortcut(first, QKeySequence(Qt::CTRL | Qt::Key_S));
        const QString saved = file + QStringLiteral(".kalvar.json");
        QCOMPARE(first.taskPath(), saved);
        QVERIFY(!first.isWindowModified());
        const QString text = readText(saved);
        QVERIFY(text.endsWith(QLatin1Char('\n')));
        QVERIFY(text.startsWith(QStringLiteral("{\n  \"")));

        // kalvar-cli's run of the file: the first window's model after its "Расчет", its messages
        // (the further limit questions were closed: "Продолжить") and its limit questions.
        const Json cli = kalvar::runTask(text.toStdString(), workDir_.path().toStdString());
        QCOMPARE(modelDifferences(first.session(), cli, {QStringLiteral("Form2.label54")}), QStringList());
        QStringList cliMessages, cliReasons;
        for (const Json& message : cli["messages"])
            cliMessages << QString::fromStdString(message["text"].get<std::string>()).replace("\r\n", "\n");
        QStringList shownMessages;
        for (const QString& unexpected : answerer.unexpected)
            if (!unexpected.contains(QLatin1String("Form11")))
                shownMessages << unexpected.section(": ", 1, -1);
        QCOMPARE(shownMessages, cliMessages);
        std::vector<std::string> cliAnswers;
        for (const Json& dialog : cli["limitDialogs"]) {
            cliReasons << QString::fromStdString(dialog["label"].get<std::string>());
            cliAnswers.push_back(dialog["answer"].get<std::string>());
        }
        QCOMPARE(cliReasons.mid(0, 1), reasons);
        QCOMPARE(cliAnswers, first.limitAnswers());

        // Opened in a fresh program: the same inputs, shown through the window's own commands.
        std::unique_ptr<MainWindow> second = startProgram(workDir_.path(), QStringLiteral(","));
        setAnswer(*second, saved);
        pressShortcut(*second, QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(second->taskPath(), saved);
        QCOMPARE(inputsOf(second->session()), inputsOf(first.session()));
        QCOMPARE(second->limitAnswers(), first.limitAnswers());
        CalcWindowView* reopened = second->view(WindowId::Heating);
        QCOMPARE(givenParameterLook(reopened), givenParameterLook(view));
        QCOMPARE(reopened->summary().type, std::string("КM1"));
        QCOMPARE(reopened->summary().passes, std::string("1"));
        QCOMPARE(child<QLineEdit>(reopened, "Text30")->text(), QStringLiteral("2,5"));
        QCOMPARE(child<QLineEdit>(reopened, "Text2")->text(), QStringLiteral("115"));
        // A task opened is not calculated: the earlier results are gone, none stand in their place.
        QCOMPARE(child<QLineEdit>(reopened, "Text1")->text(), QString());
        QVERIFY(!second->isWindowModified());
        QVERIFY(answerer.done());
    }

    // A control-id task, as tasks were written before the named format, opens with its system,
    // units and values; a custom medium comes with its properties and opens no dialog. Its numbers
    // are shown with the program's decimal separator.
    void controlIdTaskOpens_data() {
        QTest::addColumn<QString>("separator");
        QTest::newRow("the task's separator") << QStringLiteral(",");
        QTest::newRow("another separator") << QStringLiteral(".");
    }

    void controlIdTaskOpens() {
        QFETCH(QString, separator);
        const QString file = path(QStringLiteral("old.json"));
        writeText(file, R"({"system": 3, "units": {"heat": "кВт", "pressure": "атм"}, "decimalSeparator": ",",
            "windows": {"Form1": {"Text30": "150", "Text2": "95", "Combo7": 1, "Text18": "3500",
            "Text19": "1040", "Text20": "3,2", "Text21": "0,45", "Check3": 0, "Check2": 1, "Text33": "7,5"}}})");
        form_ = startProgram(workDir_.path(), separator);
        MainWindow& form = *form_;
        setAnswer(form, file);
        QVERIFY(form.openTask());
        QVERIFY(waitFor([] { return waitingWindow() == nullptr; }, 300)); // no medium dialog waits
        kalvar::Session& s = form.session();
        QCOMPARE(s.state.systemKind, 3);
        QVERIFY(form.systemAction(3)->isChecked());
        QVERIFY(form.strip(WindowId::Ventilation)->isVisible());
        QVERIFY(!form.strip(WindowId::Heating)->isVisible());
        QVERIFY(!s.windows.units.heatInGcalPerHour);
        QVERIFY(s.windows.units.flowInM3PerHour);
        QVERIFY(!s.windows.units.pressureInKPa);
        // The "Размерность" menu shows them: кВт, м3/ч, атм.
        ZuPanelMenuItems& units = form.mainPanel()->Buttons().Item(5).MenuItems();
        QVERIFY(units.Item(1).SubItems().Item(2).Checked());
        QVERIFY(units.Item(2).SubItems().Item(1).Checked());
        QVERIFY(units.Item(3).SubItems().Item(2).Checked());
        CalcWindowView* view = form.view(WindowId::Ventilation);
        QCOMPARE(child<QLineEdit>(view, "Text30")->text(), QStringLiteral("150"));
        QCOMPARE(child<QLineEdit>(view, "Text33")->text(),
                 QStringLiteral("7") + separator + QStringLiteral("5"));
        QCOMPARE(child<QComboBox>(view, "Combo7")->currentIndex(), 1);
        QCOMPARE(QString::fromStdString(s.windows.ventilation.heatedViscosity.text),
                 QStringLiteral("3") + separator + QStringLiteral("2"));
        // The heated flow is the given parameter: the heat load is a result now.
        QVERIFY(s.windows.ventilation.heatLoad.locked);
        QVERIFY(!s.windows.ventilation.heatedFlow.locked);
        QVERIFY(view->givenParameterPanel()->Buttons().Item(1).MenuItems().Item(4).Checked());
        QCOMPARE(form.taskName(), QStringLiteral("old"));
        if (separator != QStringLiteral(",")) return;

        // Calculated, it gives what kalvar-cli gives for the file.
        DialogAnswerer answerer;
        for (int i = 0; i < 20; ++i)
            answerer.expect([](QWidget* window) {
                if (auto* dialog = qobject_cast<PlateLimitDialog*>(window)) {
                    QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
                    return true;
                }
                if (auto* box = qobject_cast<QMessageBox*>(window)) box->accept();
                return true;
            });
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&form] { return !form.commandsBlocked(); }, 20000));
        const Json cli = kalvar::runTask(readText(file).toStdString(), workDir_.path().toStdString());
        QCOMPARE(modelDifferences(s, cli).join(QLatin1Char('\n')), QString());
    }

    // A file that is no task is refused with the reader's message; nothing the user typed changes.
    void badFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("said");
        QTest::newRow("not JSON") << QByteArray("{\n  \"system\": 2,\n  \"heating\": }\n") << "line 3";
        QTest::newRow("newer version") << QByteArray(R"({"version": 99, "system": "heating"})") << "newer";
        QTest::newRow("wrong value") << QByteArray(R"({"windows": {"Form2": {"Combo1": "КМ1"}}})")
                                     << "Form2.Combo1";
        QTest::newRow("wrong named value")
            << QByteArray(R"({"version": 1, "heating": {"heatingSide": {"inletTemperature": true}}})")
            << "heating.heatingSide.inletTemperature";
        QTest::newRow("empty") << QByteArray() << "line 1";
    }

    void badFilesChangeNothing() {
        QFETCH(QByteArray, text);
        QFETCH(QString, said);
        const QString good = heatingTask(QStringLiteral("good.kalvar.json"), QStringLiteral("0,4"));
        const QString bad = path(QStringLiteral("bad.json"));
        writeText(bad, text);
        MainWindow& form = start(good);
        QVERIFY(form.openTask());
        typeInto(child<QLineEdit>(form.view(WindowId::Heating), "Text30"), QStringLiteral("0,7"));
        const QString before = inputsOf(form.session());
        const QString title = form.windowTitle();

        DialogAnswerer answerer;
        answerer.expect(clickCaption(QStringLiteral("ОК")));
        setAnswer(form, bad);
        QVERIFY(!form.openTask());
        QVERIFY(answerer.done());
        QCOMPARE(answerer.messages.size(), 1);
        QVERIFY2(answerer.messages.first().contains(said), qPrintable(answerer.messages.first()));
        QVERIFY(answerer.messages.first().contains(QStringLiteral("bad.json")));
        QCOMPARE(inputsOf(form.session()), before);
        QCOMPARE(form.taskPath(), good);
        QCOMPARE(form.windowTitle(), title);
        QVERIFY(form.isWindowModified());
    }

    // A task that cannot be written says so, naming the file; the task stays as it was, unsaved.
    void saveFailureNamesTheFile() {
        const QString unwritable = path(QStringLiteral("no such folder/task.kalvar.json"));
        MainWindow& form = start(unwritable);
        typeInto(child<QLineEdit>(form.view(WindowId::Heating), "Text30"), QStringLiteral("0,7"));
        DialogAnswerer answerer;
        answerer.expect(clickCaption(QStringLiteral("ОК")));
        QVERIFY(!form.saveTask());
        QVERIFY(answerer.done());
        QCOMPARE(answerer.messages.size(), 1);
        QVERIFY2(answerer.messages.first().contains(unwritable), qPrintable(answerer.messages.first()));
        QCOMPARE(form.taskPath(), QString());
        QVERIFY(form.isWindowModified());
        QVERIFY(form.windowTitle().contains(QStringLiteral("Новое задание")));
    }

    // With unsaved changes, opening another task, picking another system, closing the window and the
    // quit command (after its own question) ask first:
    // "Отмена" keeps everything, "Не сохранять" goes on, "Сохранить" saves and goes on.
    void unsavedChangesQuestion_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        for (const char* command : {"open", "system", "close", "quit"})
            for (const char* answer : {"Отмена", "Не сохранять", "Сохранить"})
                QTest::addRow("%s, %s", command, answer) << command << QString::fromUtf8(answer);
    }

    void unsavedChangesQuestion() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        const QString mine = heatingTask(QStringLiteral("mine.kalvar.json"), QStringLiteral("0,5"));
        const QString other = heatingTask(QStringLiteral("other.kalvar.json"), QStringLiteral("0,9"));
        MainWindow& form = start(mine);
        QVERIFY(form.openTask());
        QLineEdit* load = child<QLineEdit>(form.view(WindowId::Heating), "Text30");
        typeInto(load, QStringLiteral("0,7"));
        QVERIFY(form.isWindowModified());

        DialogAnswerer answerer;
        if (command == QLatin1String("quit")) answerer.expect(clickCaption(QStringLiteral("Да")));
        answerer.expect(clickCaption(answer));
        setAnswer(form, other);
        if (command == QLatin1String("open"))
            pressShortcut(form, QKeySequence(Qt::CTRL | Qt::Key_O));
        else if (command == QLatin1String("system"))
            QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[3]));
        else if (command == QLatin1String("close"))
            QTimer::singleShot(0, &form, [&form] { form.close(); });
        else
            clickButton(form.mainPanel(), 1); // "Выход"
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QCoreApplication::processEvents();
        QCOMPARE(answerer.messages.last(), QStringLiteral("Сохранить изменения в задании \"mine\"?"));

        const bool wentOn = answer != QStringLiteral("Отмена");
        QCOMPARE(numberIn(mine, "Form2", "Text30"), answer == QStringLiteral("Сохранить") ? 0.7 : 0.5);
        if (command == QLatin1String("open")) {
            QCOMPARE(form.taskPath(), wentOn ? other : mine);
            QCOMPARE(load->text(), wentOn ? QStringLiteral("0,9") : QStringLiteral("0,7"));
        } else if (command == QLatin1String("system")) {
            QCOMPARE(form.session().state.systemKind, wentOn ? 3 : 2);
            QVERIFY(form.systemAction(wentOn ? 3 : 2)->isChecked());
            QCOMPARE(load->text(), QStringLiteral("0,7"));
        } else {
            QCOMPARE(form.isVisible(), !wentOn);
        }
        // Saving and opening clear the mark; the system pick is a change of its own.
        if (command == QLatin1String("open")) QCOMPARE(form.isWindowModified(), !wentOn);
        if (command == QLatin1String("system") || !wentOn) QVERIFY(form.isWindowModified());
    }

    // The title: the system's caption, the task's name, the modified mark; what marks and clears it.
    void titleAndModifiedMark() {
        MainWindow& form = start(path(QStringLiteral("substation")));
        const QString heating = QString::fromStdString(kalvar::systemCaption(2));
        QCOMPARE(form.windowTitle(), heating + QStringLiteral(" — Новое задание[*]"));
        QVERIFY(!form.isWindowModified()); // the start-up state is no change

        // "Расчет" without limit questions leaves the answers as they were: no change.
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(!form.isWindowModified());

        CalcWindowView* view = form.view(WindowId::Heating);
        const auto marks = [&form](const char* what, const std::function<void()>& edit) {
            QVERIFY(form.saveTaskAs());
            QVERIFY(!form.isWindowModified());
            edit();
            QVERIFY2(form.isWindowModified(), what);
        };
        marks("typing", [&] { typeInto(child<QLineEdit>(view, "Text2"), QStringLiteral("120")); });
        QCOMPARE(form.windowTitle(), heating + QStringLiteral(" — substation[*]"));
        marks("layout", [&] { QVERIFY(pickMenu(view->layoutPanel(), 1, 2, 2)); }); // Число ходов → /2
        marks("given parameter", [&] { QVERIFY(pickMenu(view->givenParameterPanel(), 1, 4)); }); // G2 given
        marks("unit", [&] { QVERIFY(pickMenu(form.mainPanel(), 5, 1, 2)); }); // Размерность → кВт
        marks("medium", [&] {
            DialogAnswerer answerer;
            answerer.expect([](QWidget* window) {
                auto* dialog = qobject_cast<CustomMediumDialog*>(window);
                if (!dialog) return false;
                for (QLineEdit* box : {dialog->heatCapacityBox, dialog->densityBox, dialog->viscosityBox,
                                       dialog->conductivityBox})
                    typeInto(box, QStringLiteral("1"));
                QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
                return true;
            });
            chooseInList(child<QComboBox>(view, "Combo4"), 1);
            QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        });
        marks("system", [&] { QVERIFY(pickMenu(form.mainPanel(), systemButton, systemItem[4])); });
        QCOMPARE(form.windowTitle(),
                 QString::fromStdString(kalvar::systemCaption(4)) + QStringLiteral(" — substation[*]"));

        // A task file's own name is the title's.
        const QString named = path(QStringLiteral("named.json"));
        writeText(named, R"({"system": 2, "name": "Подстанция 5"})");
        setAnswer(form, named);
        DialogAnswerer answerer;
        answerer.expect(clickCaption(QStringLiteral("Не сохранять")));
        QVERIFY(form.openTask());
        QCOMPARE(form.windowTitle(), heating + QStringLiteral(" — Подстанция 5[*]"));
        QVERIFY(!form.isWindowModified());
    }

    // The recent tasks: newest first, at most eight, missing files dropped, picked from the menu.
    void recentTasks() {
        for (int i = 1; i <= 9; ++i)
            heatingTask(QStringLiteral("t%1.kalvar.json").arg(i), QStringLiteral("0,%1").arg(i));
        QVERIFY(QFile::remove(path(QStringLiteral("t8.kalvar.json"))));
        MainWindow& form = start();

        QMenuBar* bar = form.menuBar();
        QAction* taskMenu = form.taskMenu()->menuAction();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(taskMenu).center());
        QVERIFY(waitFor([&form] { return form.taskMenu()->isVisible(); }));
        QMenu* recent = form.recentTasksMenu();
        clickAction(form.taskMenu(), recent->menuAction());
        QVERIFY(waitFor([recent] { return recent->isVisible(); }));
        QStringList shown;
        for (QAction* action : recent->actions())
            shown << action->text();
        QCOMPARE(shown, (QStringList{"&1 t9.kalvar.json", "&2 t7.kalvar.json", "&3 t6.kalvar.json",
                                     "&4 t5.kalvar.json", "&5 t4.kalvar.json", "&6 t3.kalvar.json",
                                     "&7 t2.kalvar.json"}));
        clickAction(recent, recent->actions().at(2));
        QVERIFY(waitFor([&form] { return !form.taskPath().isEmpty(); }));
        QCOMPARE(form.taskPath(), path(QStringLiteral("t6.kalvar.json")));
        QCOMPARE(form.session().windows.heating.heatLoad.text, std::string("0,6"));
        QCOMPARE(RecentTasks().files().first(), path(QStringLiteral("t6.kalvar.json")));
    }

    // The task commands: named for assistive technology, reachable by their keys, refused while a
    // dialog waits, and their hints in the hint line.
    void commandsLikeTheOthers() {
        MainWindow& form = start();
        QMenu* menu = form.taskMenu();
        QCOMPARE(menu->title(), QStringLiteral("&Задание"));
        const QList<QPair<const char*, QKeySequence>> commands = {
            {"openTaskAction", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"saveTaskAction", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"saveTaskAsAction", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}};
        for (const auto& [name, keys] : commands) {
            auto* action = form.findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(action, name);
            QCOMPARE(action->shortcut(), keys);
            QVERIFY(!action->text().isEmpty());
            QVERIFY(!action->toolTip().isEmpty());
        }

        // While the limit question waits, the commands are refused with the hint that says why.
        int fileQuestions = 0;
        form.askFileName = [&fileQuestions](const MainWindow::FileQuestion&) {
            ++fileQuestions;
            return QString();
        };
        CalcWindowView* view = form.view(WindowId::Heating);
        typeInto(child<QLineEdit>(view, "Text30"), QStringLiteral("2,5"));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 1, 1));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 2, 1));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 3, 1));
        DialogAnswerer answerer;
        QStringList hints;
        answerer.expect([&](QWidget* window) {
            auto* dialog = qobject_cast<PlateLimitDialog*>(window);
            if (!dialog) return false;
            for (const auto& [name, keys] : commands) {
                form.setHint(QString());
                form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
                hints << form.hintLine()->text();
            }
            QTest::mouseClick(dialog->continueButton, Qt::LeftButton);
            return true;
        });
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&] { return answerer.done() && !form.commandsBlocked(); }, 20000));
        QCOMPARE(hints.size(), 3);
        QCOMPARE(fileQuestions, 0);
        for (const QString& hint : hints)
            QVERIFY2(hint.startsWith(QStringLiteral("Подсказка: Сначала закройте диалог")), qPrintable(hint));

        // The menu opened from the keyboard (its mnemonic), an entry hovered: its hint.
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (QTest::KeyAction action : {QTest::Press, QTest::Release}) // Alt+З
            QTest::sendKeyEvent(action, &form, static_cast<Qt::Key>(0x0417), QStringLiteral("з"),
                                Qt::AltModifier);
        QVERIFY(waitFor([menu] { return menu->isVisible(); }));
        QTest::keyClick(menu, Qt::Key_Down);
        QVERIFY2(form.hintLine()->text().startsWith(QStringLiteral("Меню: ")),
                 qPrintable(form.hintLine()->text()));
        QTest::keyClick(menu, Qt::Key_Escape);
    }

    // A task file dropped on the window opens; other files are not taken.
    void dropOpensTask() {
        const QString task = heatingTask(QStringLiteral("dropped.kalvar.json"), QStringLiteral("0,35"));
        const QString other = path(QStringLiteral("notes.txt"));
        writeText(other, "0,35");
        MainWindow& form = start();
        const auto drag = [&form](const QString& file) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(file)});
            const QPoint at = form.mdiArea()->geometry().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&form, &enter);
            if (!enter.isAccepted()) return false;
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&form, &drop);
            return true;
        };
        QVERIFY(!drag(other));
        QVERIFY(drag(task));
        QVERIFY(waitFor([&form] { return !form.taskPath().isEmpty(); }));
        QCOMPARE(form.taskPath(), task);
        QCOMPARE(form.session().windows.heating.heatLoad.text, std::string("0,35"));
    }

    // `kalvar FILE` opens the task after start-up: it is then the newest of the recent tasks.
    void programOpensTaskGiven() {
        const QString task = heatingTask(QStringLiteral("given.kalvar.json"), QStringLiteral("0,45"));
        QTemporaryDir config;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(workDir_.path());
        program.start(QStringLiteral(KALVAR_PROGRAM), {task});
        QVERIFY(program.waitForStarted());
        const QString settings = config.filePath(QStringLiteral("kalvar/kalvar.conf"));
        const bool opened =
            waitFor([&] { return readText(settings).contains(QStringLiteral("given.kalvar.json")); }, 20000);
        program.kill();
        program.waitForFinished();
        QVERIFY2(opened, qPrintable(program.readAllStandardError()));
    }
};

QTEST_MAIN(TaskFilesTest)
#include "TaskFilesTest.moc"
