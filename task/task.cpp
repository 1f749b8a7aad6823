#include "task.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "additional_results.h"
#include "calculator.h"
#include "session_copy.h"
#include "startup.h"
#include "task_results.h"
#include "unit_switch.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

const char* const answerSeveral = "Несколько теплообменников";
const char* const answerOtherSize = "Другой типоразмер";
const char* const answerProceed = "Продолжить";

// Answers the calculation's dialogs from the task and records what it showed.
class ScriptedUi : public CalcUi {
  public:
    explicit ScriptedUi(std::vector<std::string> answers) : answers_(std::move(answers)) {}

    void beep() override {}
    void setBusy(bool) override {}
    void showMessage(MessageIcon, const std::string& title, const std::string& text) override {
        messages.push_back(Json{{"title", title}, {"text", text}});
    }
    LimitDialogAnswers askLimit(const LimitDialogRequest& request) override {
        const std::string answer = next_ < answers_.size() ? answers_[next_++] : answerProceed;
        Json enabled = Json::array();
        if (request.severalEnabled) enabled.push_back(answerSeveral);
        if (request.otherSizeEnabled) enabled.push_back(answerOtherSize);
        enabled.push_back(answerProceed);
        limitDialogs.push_back(Json{{"caption", request.caption},
                                    {"label", request.label},
                                    {"enabled", enabled},
                                    {"answer", answer}});
        LimitDialogAnswers pressed;
        if (answer == answerSeveral) {
            if (!request.severalEnabled)
                throw TaskError("limit answer \"" + answer + "\" is disabled in that dialog");
            pressed.several = true;
        } else if (answer == answerOtherSize) {
            if (!request.otherSizeEnabled)
                throw TaskError("limit answer \"" + answer + "\" is disabled in that dialog");
            pressed.otherSize = true;
        } else {
            pressed.proceed = true;
        }
        return pressed;
    }

    Json messages = Json::array();
    Json limitDialogs = Json::array();

  private:
    std::vector<std::string> answers_;
    size_t next_ = 0;
};

// The unit picks a task asks for, checked before anything runs; they are applied as menu picks.
std::vector<std::string> unitPicks(const Json& units) {
    if (!units.is_object()) throw TaskError("\"units\" must be an object");
    std::vector<std::string> picks;
    for (const auto& item : units.items()) {
        const std::string key = item.key();
        const Json& value = item.value();
        if (!value.is_string()) throw TaskError("unit \"" + key + "\" must be a string");
        const std::string v = value.get<std::string>();
        auto choose = [&](const char* first, const char* second) {
            if (v != first && v != second)
                throw TaskError("unit \"" + key + "\" must be \"" + first + "\" or \"" + second + "\"");
            picks.push_back(v);
        };
        if (key == "heat")
            choose("Гкал/ч", "кВт");
        else if (key == "flow")
            choose("м3/ч", "л/с");
        else if (key == "pressure")
            choose("кПа", "атм");
        else
            throw TaskError("unknown unit \"" + key + "\"");
    }
    return picks;
}

void setControl(const std::string& where, Control& control, const Json& value) {
    const bool textual = control.kind == ControlKind::TextBox || control.kind == ControlKind::Label ||
                         control.kind == ControlKind::Frame || control.kind == ControlKind::Button;
    if (value.is_string()) {
        if (!textual) throw TaskError(where + " takes an integer, not a text");
        control.text = value.get<std::string>();
        return;
    }
    if (!value.is_number_integer()) throw TaskError(where + " takes " + (textual ? "a text" : "an integer"));
    if (control.kind == ControlKind::List) {
        const long long index = value.get<long long>();
        if (index < 0 || index >= static_cast<long long>(control.items.size()))
            throw TaskError(where + " has no list entry " + std::to_string(index));
        control.setListIndex(static_cast<int>(index));
    } else if (control.kind == ControlKind::Check) {
        const long long checked = value.get<long long>();
        if (checked != 0 && checked != 1) throw TaskError(where + " takes 0 or 1");
        control.value = static_cast<int>(checked);
    } else {
        throw TaskError(where + " takes a text, not an integer");
    }
}

void applyWindows(const Json& windows, Session& session) {
    if (!windows.is_object()) throw TaskError("\"windows\" must be an object");
    for (const auto& [windowName, controls] : windows.items()) {
        if (!controls.is_object()) throw TaskError("window \"" + windowName + "\" must be an object");
        CalcWindow* calcWindow = session.windows.calcWindow(windowName);
        if (calcWindow == nullptr && windowName != "Form12")
            throw TaskError("unknown window \"" + windowName + "\"");
        // Referring to the additional-results window loads it, as the calculation's first use does.
        if (calcWindow == nullptr) session.windows.additionalResults.ensureLoaded();
        for (const auto& [controlName, value] : controls.items()) {
            Control* control = calcWindow ? calcWindow->find(controlName)
                                          : session.windows.additionalResults.find(controlName);
            const std::string where = windowName + "." + controlName;
            if (control == nullptr) throw TaskError("unknown control \"" + where + "\"");
            setControl(where, *control, value);
        }
    }
}

Json controlValue(const Control& control) {
    switch (control.kind) {
    case ControlKind::List:
        return control.listIndex;
    case ControlKind::Check:
        return control.value;
    default:
        return control.text;
    }
}

template <typename Window> Json windowValues(Window& window) {
    Json out = Json::object();
    for (auto& [name, control] : window.controls())
        out[name] = controlValue(*control);
    return out;
}

std::string stringOption(const Json& task, const char* key, const std::string& fallback) {
    if (!task.contains(key)) return fallback;
    if (!task[key].is_string()) throw TaskError(std::string("\"") + key + "\" must be a string");
    return task[key].get<std::string>();
}

} // namespace

TaskRun runTask(const std::string& taskText, const std::string& workDir, bool withSummaries,
                bool keepInputs) {
    Json task = Json::parse(taskText, nullptr, false);
    if (task.is_discarded()) throw TaskError("the task is not valid JSON");
    if (!task.is_object()) throw TaskError("the task must be a JSON object");
    // A misspelt key would otherwise run the start-up task and look like a result.
    for (const auto& item : task.items())
        if (std::find_if(std::begin(taskKeys), std::end(taskKeys),
                         [&](const char* key) { return item.key() == key; }) == std::end(taskKeys))
            throw TaskError("unknown task key \"" + item.key() + "\"");
    TaskRun run;
    run.name = stringOption(task, "name", "");
    const std::string separator = stringOption(task, "decimalSeparator", ".");
    if (separator != "." && separator != ",") throw TaskError("\"decimalSeparator\" must be \".\" or \",\"");

    int system = 2;
    if (task.contains("system")) {
        if (!task["system"].is_number_integer()) throw TaskError("\"system\" must be an integer 1..8");
        const long long kind = task["system"].get<long long>();
        if (kind < 1 || kind > 8) throw TaskError("\"system\" must be an integer 1..8");
        system = static_cast<int>(kind);
    }
    std::vector<std::string> answers;
    if (task.contains("limitAnswers")) {
        const Json& list = task["limitAnswers"];
        if (!list.is_array()) throw TaskError("\"limitAnswers\" must be an array");
        for (const Json& answer : list) {
            if (!answer.is_string()) throw TaskError("every limit answer must be a string");
            const std::string a = answer.get<std::string>();
            if (a != answerSeveral && a != answerOtherSize && a != answerProceed)
                throw TaskError("unknown limit answer \"" + a + "\"");
            answers.push_back(a);
        }
    }

    const std::vector<std::string> units =
        task.contains("units") ? unitPicks(task["units"]) : std::vector<std::string>{};

    auto session = std::make_unique<Session>();
    session->windows.decimalSeparator = separator;
    startUp(*session, workDir);
    session->state.seriesPrefix = stringOption(task, "seriesPrefix", "КM");
    selectSystem(*session, system);
    // As the "Размерность" picks would: the standing numbers and the unit labels follow.
    for (const std::string& unit : units)
        switchUnit(session->windows, unit);
    if (task.contains("windows")) applyWindows(task["windows"], *session);

    if (keepInputs) {
        run.inputs = std::make_shared<Session>();
        startUp(*run.inputs, workDir);
        copySession(*session, *run.inputs);
    }
    run.limitAnswers = answers;
    ScriptedUi ui(std::move(answers));
    Calculator calculator(session->state, session->windows, ui);
    calculator.calculateCommand();
    refreshTickedAdditionalResults(*session);

    Json& result = run.result;
    result = Json::object();
    result["windows"] = Json{{"Form1", windowValues(session->windows.ventilation)},
                             {"Form2", windowValues(session->windows.heating)},
                             {"Form3", windowValues(session->windows.hotWater)},
                             {"Form12", windowValues(session->windows.additionalResults)}};
    result["messages"] = ui.messages;
    result["limitDialogs"] = ui.limitDialogs;
    result["results"] = taskResultsJson(calculator, session->windows);
    run.system = system;
    if (withSummaries)
        for (WindowId id : calculator.calculatedWindows())
            run.summaries.push_back(summariseWindow(*session, session->windows.calcWindow(id)));
    run.session = std::move(session);
    return run;
}

} // namespace kalvar
