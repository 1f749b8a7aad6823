// The main window's task commands: open and save a task file, the recent tasks, the title with the
// task's name and the modified mark, the question about unsaved changes, and opening by a drop.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>

#include "AdditionalResultsView.h"
#include "CalcWindowView.h"
#include "MainWindow.h"
#include "ModelBinding.h"
#include "ZuPanel.h"
#include "startup.h"
#include "task.h"
#include "task_file.h"
#include "unit_switch.h"

namespace {

using Json = nlohmann::ordered_json;
using kalvar::WindowId;

const QString newTaskName = QStringLiteral("Новое задание");
const QString taskSuffix = QStringLiteral(".kalvar.json");

// The display unit a "Размерность" pick would change, or false when it is in force already.
bool unitDiffers(const kalvar::UnitSettings& units, const std::string& caption) {
    if (caption == "Гкал/ч" || caption == "кВт") return units.heatInGcalPerHour != (caption == "Гкал/ч");
    if (caption == "м3/ч" || caption == "л/с") return units.flowInM3PerHour != (caption == "м3/ч");
    if (caption == "кПа" || caption == "атм") return units.pressureInKPa != (caption == "кПа");
    return false;
}

// Numbers written with the task's decimal separator, rewritten with the program's.
void convertSeparator(Json& windows, const std::string& from, const std::string& to) {
    if (from == to || from.empty() || to.empty()) return;
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?\\d*[.,]?\\d*([eE][-+]?\\d+)?\\s*$"));
    for (auto& [window, controls] : windows.items())
        for (auto& [control, value] : controls.items()) {
            if (!value.is_string()) continue;
            QString text = QString::fromStdString(value.get<std::string>());
            if (!number.match(text).hasMatch()) continue;
            value = text.replace(QString::fromStdString(from), QString::fromStdString(to)).toStdString();
        }
}

// The text boxes that hold results (those that are no input of a task) and the layout summary, as
// start-up leaves them.
template <class Window> void clearResults(Window& window, Window& startUp, const Json& inputs) {
    for (auto& [name, control] : window.controls())
        if (control->kind == kalvar::ControlKind::TextBox && !inputs.contains(name))
            control->text = startUp.find(name)->text;
}

// What the task leaves out is what a task run starts from: the inputs of `fresh`, started up with
// the task's system and units, under the task's own values (in the program's decimal separator).
Json inputsToApply(const kalvar::PreparedTask& task, const kalvar::Session& session, kalvar::Session& fresh) {
    fresh.windows.decimalSeparator = session.windows.decimalSeparator;
    kalvar::startUp(fresh, session.state.workDir);
    fresh.state.seriesPrefix = task.seriesPrefix;
    kalvar::selectSystem(fresh, task.system);
    for (const std::string& unit : task.unitPicks)
        kalvar::switchUnit(fresh.windows, unit);
    Json values;
    try {
        values =
            kalvar::prepareTask(kalvar::namedTaskOf(fresh, kalvar::TaskHeader{task.system, {}, {}}).dump())
                .windows;
    } catch (const kalvar::TaskError&) {
        values = Json::object(); // the start-up inputs always read back; the task's own go in regardless
    }
    // The additional-results window computes its pipe velocities when its lists change: without
    // values of the task's own it takes start-up's as they stand (clearEarlierResults), not by picks.
    if (!task.windows.contains("Form12")) values.erase("Form12");
    Json own = task.windows;
    convertSeparator(own, task.decimalSeparator, session.windows.decimalSeparator);
    for (auto& [window, controls] : own.items())
        for (auto& [control, value] : controls.items())
            values[window][control] = value;
    return values;
}

// A result of an earlier calculation beside a task's inputs would mislead: the results, the layout
// summaries and the series the earlier sizings kept go back to what start-up (`fresh`) has.
void clearEarlierResults(kalvar::Session& session, kalvar::Session& fresh, const Json& inputs) {
    kalvar::WindowSet& windows = session.windows;
    clearResults(windows.ventilation, fresh.windows.ventilation, inputs.value("Form1", Json::object()));
    clearResults(windows.heating, fresh.windows.heating, inputs.value("Form2", Json::object()));
    clearResults(windows.hotWater, fresh.windows.hotWater, inputs.value("Form3", Json::object()));
    if (windows.additionalResults.loaded()) {
        fresh.windows.additionalResults.ensureLoaded();
        const Json own = inputs.value("Form12", Json::object());
        for (auto& [name, control] : windows.additionalResults.controls()) {
            const bool input = control->kind == kalvar::ControlKind::TextBox ||
                               control->kind == kalvar::ControlKind::List ||
                               control->kind == kalvar::ControlKind::Check;
            if (!input || own.contains(name)) continue;
            const kalvar::Control& startUp = *fresh.windows.additionalResults.find(name);
            control->text = startUp.text;
            control->listIndex = startUp.listIndex;
            control->value = startUp.value;
        }
    }
    for (WindowId id : {WindowId::Ventilation, WindowId::Heating, WindowId::HotWater})
        windows.calcWindow(id).layoutSummaryLabel.text = fresh.windows.calcWindow(id).layoutSummaryLabel.text;
    session.state.hotWaterLastType = fresh.state.hotWaterLastType;
    session.state.heatingLastType = fresh.state.heatingLastType;
    session.state.ventLastType = fresh.state.ventLastType;
}

} // namespace

void MainWindow::createTaskMenu() {
    taskMenu_ = menuBar()->addMenu(QStringLiteral("&Задание"));
    taskMenu_->setObjectName(QStringLiteral("задание"));
    const auto add = [this](const QString& caption, const char* name, const QKeySequence& key,
                            const QString& hint, bool (MainWindow::*command)()) {
        QAction* action = taskMenu_->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
        return action;
    };
    add(QStringLiteral("Открыть задание…"), "openTaskAction", QKeySequence(Qt::CTRL | Qt::Key_O),
        QStringLiteral("Открыть сохраненное задание (файл .kalvar.json)"), &MainWindow::openTask);
    add(QStringLiteral("Сохранить задание"), "saveTaskAction", QKeySequence(Qt::CTRL | Qt::Key_S),
        QStringLiteral("Сохранить исходные данные расчета в файл задания"), &MainWindow::saveTask);
    add(QStringLiteral("Сохранить задание как…"), "saveTaskAsAction",
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        QStringLiteral("Сохранить исходные данные расчета в новый файл задания"), &MainWindow::saveTaskAs);
    taskMenu_->addSeparator();
    recentMenu_ = taskMenu_->addMenu(QStringLiteral("Последние задания"));
    recentMenu_->setObjectName(QStringLiteral("recentTasksMenu"));
    recentMenu_->menuAction()->setToolTip(QStringLiteral("Открыть одно из последних заданий"));
    connect(taskMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentTasksMenu);
    connect(taskMenu_, &QMenu::hovered, this, &MainWindow::showTaskHint);
    connect(recentMenu_, &QMenu::hovered, this, &MainWindow::showTaskHint);
    fillRecentTasksMenu();
}

void MainWindow::showTaskHint(QAction* action) {
    if (action->isSeparator()) return;
    setHint(QStringLiteral("Меню: ") + action->text().remove(QLatin1Char('&')) +
            QStringLiteral("   Подсказка: ") + action->toolTip());
}

void MainWindow::fillRecentTasksMenu() {
    recentMenu_->clear();
    const QStringList files = recentTasks_.files();
    int number = 0;
    for (const QString& file : files) {
        ++number;
        // "&1 name" reaches each from the keyboard; the path says which of two equal names it is.
        QAction* action =
            recentMenu_->addAction(QStringLiteral("&%1 %2").arg(number).arg(QFileInfo(file).fileName()));
        action->setToolTip(QDir::toNativeSeparators(file));
        connect(action, &QAction::triggered, this, [this, file] { openTaskFile(file); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

QString MainWindow::taskName() const {
    if (!taskFileName_.empty()) return QString::fromStdString(taskFileName_);
    if (taskPath_.isEmpty()) return newTaskName;
    const QString file = QFileInfo(taskPath_).fileName();
    if (file.endsWith(taskSuffix, Qt::CaseInsensitive)) return file.chopped(taskSuffix.size());
    return QFileInfo(taskPath_).completeBaseName();
}

void MainWindow::showTitle() {
    // The system's caption stays first, as the system picks write it; the task's name follows.
    setWindowTitle(QString::fromStdString(session_->windows.mainCaption) + QStringLiteral(" — ") +
                   taskName() + QStringLiteral("[*]"));
}

void MainWindow::markModified() {
    setWindowModified(true);
}

void MainWindow::watchEdits(QObject* binding) {
    if (auto* edits = qobject_cast<ModelBinding*>(binding))
        connect(edits, &ModelBinding::edited, this, &MainWindow::markModified);
}

bool MainWindow::settleUnsavedChanges() {
    if (!isWindowModified()) return true;
    QMessageBox box(QMessageBox::Question, QString::fromStdString(session_->windows.mainCaption),
                    QStringLiteral("Сохранить изменения в задании \"%1\"?").arg(taskName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("unsavedChangesQuestion"));
    box.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save) return false;
    // Saving may be asked for while a calculation waits: the inputs are the user's all the same.
    return taskPath_.isEmpty() ? saveUnderNewName() : writeTask(taskPath_);
}

bool MainWindow::openTask() {
    if (commandsBlocked()) {
        refuseCommand();
        return false;
    }
    const QString path = askFileName(
        FileQuestion{false, taskPath_.isEmpty() ? options_.workDir : QFileInfo(taskPath_).path()});
    if (path.isEmpty()) return false;
    return openTaskFile(path);
}

bool MainWindow::saveTask() {
    if (taskPath_.isEmpty()) return saveTaskAs();
    if (commandsBlocked()) {
        refuseCommand();
        return false;
    }
    return writeTask(taskPath_);
}

bool MainWindow::saveTaskAs() {
    if (commandsBlocked()) {
        refuseCommand();
        return false;
    }
    return saveUnderNewName();
}

bool MainWindow::saveUnderNewName() {
    const QString suggested =
        taskPath_.isEmpty() ? QDir(options_.workDir).filePath(taskName() + taskSuffix) : taskPath_;
    QString path = askFileName(FileQuestion{true, suggested});
    if (path.isEmpty()) return false;
    // A name without an extension gets the task files' own.
    if (QFileInfo(path).suffix().isEmpty()) path += taskSuffix;
    return writeTask(path);
}

bool MainWindow::writeTask(const QString& path) {
    const kalvar::TaskHeader header{session_->state.systemKind, taskFileName_, limitAnswers_};
    const std::string text = kalvar::namedTaskOf(*session_, header).dump(2) + "\n";
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
        file.commit();
    if (!written) {
        QMessageBox box(QMessageBox::Warning, QString::fromStdString(session_->windows.mainCaption),
                        QStringLiteral("Не удалось сохранить задание в файл \"%1\": %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("taskSaveFailed"));
        box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
        box.exec();
        return false;
    }
    taskPath_ = QFileInfo(path).absoluteFilePath();
    recentTasks_.add(taskPath_);
    setWindowModified(false);
    showTitle();
    return true;
}

bool MainWindow::openTaskFile(const QString& path) {
    if (commandsBlocked()) {
        refuseCommand();
        return false;
    }
    const auto refuse = [this, &path](const QString& why) {
        QMessageBox box(
            QMessageBox::Warning, QStringLiteral("Открыть задание"),
            QStringLiteral("Задание \"%1\" не открыто:\n%2").arg(QDir::toNativeSeparators(path), why),
            QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("taskOpenFailed"));
        box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
        box.exec();
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refuse(file.errorString());
    kalvar::PreparedTask task;
    try {
        task = kalvar::prepareTask(file.readAll().toStdString());
    } catch (const kalvar::TaskError& error) {
        return refuse(QString::fromUtf8(error.what()));
    }
    if (!settleUnsavedChanges()) return false;

    kalvar::Session& s = *session_;
    // As the user would: the system, the units that differ, the series names.
    applySystem(task.system);
    for (const std::string& unit : task.unitPicks)
        if (unitDiffers(s.windows.units, unit)) switchUnit(QString::fromStdString(unit));
    s.state.seriesPrefix = task.seriesPrefix;
    nameSeries();

    kalvar::Session fresh;
    const Json values = inputsToApply(task, s, fresh);
    clearEarlierResults(s, fresh, values);

    std::array<int, 3> additionalResultsShown{};
    for (size_t i = 0; i < views_.size(); ++i)
        additionalResultsShown[i] = views_[i]->model().showAdditionalResults.value;
    const std::shared_ptr<CalcWindowGroup>& group = views_[0]->group();
    group->takingTask = true;
    {
        const auto done = qScopeGuard([&group] { group->takingTask = false; });
        try {
            kalvar::applyWindowValues(values, s.windows);
        } catch (const kalvar::TaskError& error) {
            refuse(QString::fromUtf8(error.what())); // checked by prepareTask: not expected
        }
    }
    for (size_t i = 0; i < views_.size(); ++i) {
        views_[i]->takeTaskValues();
        if (views_[i]->model().showAdditionalResults.value != additionalResultsShown[i])
            views_[i]->applyAdditionalResultsSwitch();
    }

    limitAnswers_ = task.limitAnswers;
    taskPath_ = QFileInfo(path).absoluteFilePath();
    taskFileName_ = task.name;
    recentTasks_.add(taskPath_);
    refreshAll();
    setWindowModified(false);
    showTitle();
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile() &&
        urls.first().toLocalFile().endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    // The questions it may ask wait after the drop has ended, not inside it.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { openTaskFile(path); }, Qt::QueuedConnection);
}
