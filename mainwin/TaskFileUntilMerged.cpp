// A stand-in for the task-file reader and writer of task/ until its implementation is merged:
// control-id tasks only, written back as control-id tasks. Weak, so the real one wins; goes with
// the merge.
#include <algorithm>
#include <iterator>

#include "startup.h"
#include "task.h"
#include "task_file.h"

namespace kalvar {

namespace {
using Json = nlohmann::ordered_json;

void setValue(const std::string& where, Control& control, const Json& value) {
    if (value.is_string()) {
        control.text = value.get<std::string>();
    } else if (control.kind == ControlKind::List) {
        control.setListIndex(value.get<int>());
    } else if (control.kind == ControlKind::Check) {
        control.value = value.get<int>();
    } else {
        throw TaskError(where + " takes a text");
    }
}

template <class Window> Json inputsOf(Window& window) {
    Json out = Json::object();
    for (auto& [name, control] : window.controls()) {
        if (control->kind == ControlKind::TextBox && !control->locked) out[name] = control->text;
        if (control->kind == ControlKind::List && control->listIndex >= 0) out[name] = control->listIndex;
        if (control->kind == ControlKind::Check) out[name] = control->value;
    }
    return out;
}
} // namespace

__attribute__((weak)) PreparedTask prepareTask(const std::string& taskText) {
    Json task;
    try {
        task = Json::parse(taskText);
    } catch (const Json::parse_error& error) {
        throw TaskError(error.what());
    }
    if (!task.is_object()) throw TaskError("the task must be a JSON object");
    if (task.contains("version") && task["version"].is_number_integer() &&
        task["version"].get<int>() > taskFormatVersion)
        throw TaskError("the task is of a newer format version");
    PreparedTask prepared;
    prepared.system = task.value("system", 2);
    if (prepared.system < 1 || prepared.system > 8) throw TaskError("system: expected 1..8");
    const Json units = task.value("units", Json::object());
    for (const auto& unit : units)
        prepared.unitPicks.push_back(unit.get<std::string>());
    prepared.decimalSeparator = task.value("decimalSeparator", std::string("."));
    prepared.seriesPrefix = task.value("seriesPrefix", std::string("КM"));
    prepared.windows = task.value("windows", Json::object());
    const Json answers = task.value("limitAnswers", Json::array());
    for (const Json& answer : answers)
        prepared.limitAnswers.push_back(answer.get<std::string>());
    prepared.name = task.value("name", std::string());
    // Checked as the desktop would set them.
    Session check;
    startUp(check, "");
    applyWindowValues(prepared.windows, check.windows);
    return prepared;
}

__attribute__((weak)) void applyWindowValues(const nlohmann::ordered_json& windows, WindowSet& windowSet) {
    for (const auto& [windowName, controls] : windows.items()) {
        CalcWindow* calcWindow = windowSet.calcWindow(windowName);
        if (calcWindow == nullptr && windowName != "Form12")
            throw TaskError("unknown window \"" + windowName + "\"");
        if (calcWindow == nullptr) windowSet.additionalResults.ensureLoaded();
        for (const auto& [controlName, value] : controls.items()) {
            Control* control =
                calcWindow ? calcWindow->find(controlName) : windowSet.additionalResults.find(controlName);
            if (control == nullptr)
                throw TaskError("unknown control \"" + windowName + "." + controlName + "\"");
            setValue(windowName + "." + controlName, *control, value);
        }
    }
}

__attribute__((weak)) nlohmann::ordered_json namedTaskOf(const Session& constSession,
                                                         const TaskHeader& header) {
    auto& session = const_cast<Session&>(constSession);
    const UnitSettings& units = session.windows.units;
    Json task = {{"system", header.system},
                 {"units",
                  {{"heat", units.heatInGcalPerHour ? "Гкал/ч" : "кВт"},
                   {"flow", units.flowInM3PerHour ? "м3/ч" : "л/с"},
                   {"pressure", units.pressureInKPa ? "кПа" : "атм"}}},
                 {"decimalSeparator", session.windows.decimalSeparator},
                 {"seriesPrefix", session.state.seriesPrefix}};
    Json windows = Json::object();
    for (CalcWindow* window :
         {&session.windows.ventilation, &session.windows.heating, &session.windows.hotWater})
        if (window->visible) windows[window->name] = inputsOf(*window);
    if (session.windows.additionalResults.loaded())
        windows["Form12"] = inputsOf(session.windows.additionalResults);
    task["windows"] = windows;
    task["limitAnswers"] = header.limitAnswers;
    if (!header.name.empty()) task["name"] = header.name;
    return task;
}

} // namespace kalvar
