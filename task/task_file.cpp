#include "task_file.h"

#include <algorithm>
#include <iterator>

#include "named_windows.h"
#include "startup.h"
#include "system_kinds.h"
#include "task.h"
#include "task_results.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

// Keys only the named format has; a task with any of them is read as a named task.
constexpr const char* namedOnlyKeys[] = {"version", "hotWater", "heating", "ventilation",
                                         "additionalResults"};

bool isNamedTask(const Json& task) {
    for (const char* key : namedOnlyKeys)
        if (task.contains(key)) return true;
    return task.contains("system") && task["system"].is_string();
}

// Line and column (counted in characters) of a byte offset of the text.
std::pair<int, int> lineAndColumn(const std::string& text, size_t offset) {
    int line = 1, column = 1;
    for (size_t i = 0; i < std::min(offset, text.size()); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

Json parseTask(const std::string& taskText) {
    try {
        return Json::parse(taskText);
    } catch (const Json::parse_error& error) {
        // The parser's offset is one past the character it stopped at.
        const auto [line, column] = lineAndColumn(taskText, error.byte > 0 ? error.byte - 1 : 0);
        throw TaskError("the task is not valid JSON (line " + std::to_string(line) + ", column " +
                        std::to_string(column) + ")");
    } catch (const Json::exception&) {
        // A number too large for a double: the parser has no position for it.
        throw TaskError("the task is not valid JSON (a number too large)");
    }
}

std::string stringOption(const Json& task, const char* key, const std::string& fallback) {
    if (!task.contains(key)) return fallback;
    if (!task[key].is_string()) throw TaskError(std::string("\"") + key + "\" must be a string");
    return task[key].get<std::string>();
}

// The unit picks a task asks for, as the "Размерность" menu would make them.
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

int systemOf(const Json& value, bool named) {
    if (named && value.is_string()) {
        for (const SystemDescription& system : systemDescriptions())
            if (value.get<std::string>() == system.taskName) return static_cast<int>(system.kind);
        throw TaskError(
            "\"system\" must be a system name (\"hotWater\", \"heating\", \"ventilation\", \"parallel\", "
            "\"twoStageMixed\", \"parallelThreeCircuits\", \"mixedThreeCircuits\", "
            "\"mixedWithParallelVentilation\") or an integer 1..8");
    }
    if (!value.is_number_integer()) throw TaskError("\"system\" must be an integer 1..8");
    const long long kind = value.get<long long>();
    if (kind < 1 || kind > 8) throw TaskError("\"system\" must be an integer 1..8");
    return static_cast<int>(kind);
}

std::vector<std::string> limitAnswersOf(const Json& list) {
    if (!list.is_array()) throw TaskError("\"limitAnswers\" must be an array");
    std::vector<std::string> answers;
    for (const Json& answer : list) {
        if (!answer.is_string()) throw TaskError("every limit answer must be a string");
        const std::string a = answer.get<std::string>();
        if (a != answerSeveral && a != answerOtherSize && a != answerProceed)
            throw TaskError("unknown limit answer \"" + a + "\"");
        answers.push_back(a);
    }
    return answers;
}

void checkVersion(const Json& task) {
    if (!task.contains("version")) return;
    const Json& version = task["version"];
    if (!version.is_number_integer() || version.get<long long>() < 1)
        throw TaskError("\"version\" must be an integer from 1");
    if (version.get<long long>() > taskFormatVersion)
        throw TaskError("the task is of format version " + std::to_string(version.get<long long>()) +
                        ", newer than this kalvar reads (" + std::to_string(taskFormatVersion) +
                        "): it needs a newer kalvar");
}

void checkKeys(const Json& task, bool named) {
    // A misspelt key would otherwise run the start-up task and look like a result.
    for (const auto& item : task.items()) {
        const bool known = std::find_if(std::begin(taskKeys), std::end(taskKeys), [&](const char* key) {
                               return item.key() == key;
                           }) != std::end(taskKeys);
        const bool namedOnly =
            std::find_if(std::begin(namedOnlyKeys), std::end(namedOnlyKeys),
                         [&](const char* key) { return item.key() == key; }) != std::end(namedOnlyKeys);
        if (!known && !(named && namedOnly)) throw TaskError("unknown task key \"" + item.key() + "\"");
    }
}

// The control values of the named windows, then those the task gives by control id.
Json windowsOfNamedTask(const Json& task, const std::string& separator) {
    Json windows = Json::object();
    for (const NamedWindow& window : namedWindows)
        if (task.contains(window.taskKey)) {
            // Named, a window is referred to even without values: the additional-results window loads then.
            windows[window.form] = controlValuesOfNamedWindow(window, task[window.taskKey], separator);
        }
    if (task.contains("windows")) {
        const Json& byId = task["windows"];
        if (!byId.is_object()) throw TaskError("\"windows\" must be an object");
        for (const auto& [form, controls] : byId.items()) {
            if (!controls.is_object()) throw TaskError("window \"" + form + "\" must be an object");
            Json& values = windows[form];
            if (!values.is_object()) values = Json::object();
            for (const auto& [key, value] : controls.items())
                values[key] = value;
        }
    }
    return windows;
}

PreparedTask prepare(const std::string& taskText) {
    const Json task = parseTask(taskText);
    if (!task.is_object()) throw TaskError("the task must be a JSON object");
    PreparedTask prepared;
    prepared.named = isNamedTask(task);
    if (prepared.named) checkVersion(task);
    checkKeys(task, prepared.named);
    prepared.name = stringOption(task, "name", "");
    prepared.decimalSeparator = stringOption(task, "decimalSeparator", ".");
    if (prepared.decimalSeparator != "." && prepared.decimalSeparator != ",")
        throw TaskError("\"decimalSeparator\" must be \".\" or \",\"");
    if (task.contains("system")) prepared.system = systemOf(task["system"], prepared.named);
    if (task.contains("limitAnswers")) prepared.limitAnswers = limitAnswersOf(task["limitAnswers"]);
    if (task.contains("units")) prepared.unitPicks = unitPicks(task["units"]);
    prepared.seriesPrefix = stringOption(task, "seriesPrefix", "КM");
    if (prepared.named) {
        prepared.windows = windowsOfNamedTask(task, prepared.decimalSeparator);
    } else if (task.contains("windows")) {
        if (!task["windows"].is_object()) throw TaskError("\"windows\" must be an object");
        prepared.windows = task["windows"];
    }
    return prepared;
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

// The input values a window holds now, by control id.
Json inputValues(CalcWindow& window, bool withSecondStage) {
    Json values = Json::object();
    auto add = [&](const std::vector<TaskInput>& inputs) {
        for (const TaskInput& input : inputs)
            if (const Control* control = window.find(input.controlKey))
                values[input.controlKey] = controlValue(*control);
    };
    add(calcWindowTaskInputs());
    if (withSecondStage) add(secondStageTaskInputs());
    return values;
}

// The named task of the top-level options and the control values by window.
Json namedTask(const Json& header, const Json& windows, const std::string& separator, TextsAs texts) {
    Json named = Json::object();
    named["version"] = taskFormatVersion;
    for (const char* key : {"name", "system", "units", "decimalSeparator", "seriesPrefix"})
        if (header.contains(key)) named[key] = header[key];
    Json unnamed = Json::object();
    for (const NamedWindow& window : namedWindows) {
        if (!windows.contains(window.form)) continue;
        Json left = Json::object();
        Json values = namedWindowOfControlValues(window, windows[window.form], separator, texts, left);
        named[window.taskKey] = std::move(values);
        if (!left.empty()) unnamed[window.form] = std::move(left);
    }
    for (const auto& item : windows.items()) {
        const std::string& form = item.key();
        if (std::none_of(std::begin(namedWindows), std::end(namedWindows),
                         [&form](const NamedWindow& w) { return form == w.form; }))
            unnamed[form] = item.value();
    }
    if (!unnamed.empty()) named["windows"] = std::move(unnamed);
    if (header.contains("limitAnswers")) named["limitAnswers"] = header["limitAnswers"];
    return named;
}

// What a converted task must keep: the windows, the messages and the limit dialogs.
Json comparedPart(const std::string& taskText) {
    const Json result = runTask(taskText, "");
    return Json{{"windows", result["windows"]},
                {"messages", result["messages"]},
                {"limitDialogs", result["limitDialogs"]}};
}

} // namespace

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

std::vector<LimitDialogAnswers> pressedLimitAnswers(const std::vector<std::string>& captions) {
    std::vector<LimitDialogAnswers> pressed;
    for (const std::string& caption : captions) {
        LimitDialogAnswers answer;
        answer.several = caption == answerSeveral;
        answer.otherSize = caption == answerOtherSize;
        answer.proceed = !answer.several && !answer.otherSize;
        pressed.push_back(answer);
    }
    return pressed;
}

PreparedTask prepareTask(const std::string& taskText) {
    PreparedTask prepared = prepare(taskText);
    // Checked against windows of its own, so that a wrong value changes nothing anywhere.
    Session scratch;
    startUp(scratch, "");
    applyWindowValues(prepared.windows, scratch.windows);
    return prepared;
}

PreparedTask prepareTaskUnchecked(const std::string& taskText) {
    return prepare(taskText);
}

void applyWindowValues(const Json& windows, WindowSet& windowSet) {
    if (!windows.is_object()) throw TaskError("\"windows\" must be an object");
    for (const auto& [windowName, controls] : windows.items()) {
        if (!controls.is_object()) throw TaskError("window \"" + windowName + "\" must be an object");
        CalcWindow* calcWindow = windowSet.calcWindow(windowName);
        if (calcWindow == nullptr && windowName != "Form12")
            throw TaskError("unknown window \"" + windowName + "\"");
        // Referring to the additional-results window loads it, as the calculation's first use does.
        if (calcWindow == nullptr) windowSet.additionalResults.ensureLoaded();
        for (const auto& [controlName, value] : controls.items()) {
            Control* control =
                calcWindow ? calcWindow->find(controlName) : windowSet.additionalResults.find(controlName);
            const std::string where = windowName + "." + controlName;
            if (control == nullptr) throw TaskError("unknown control \"" + where + "\"");
            setControl(where, *control, value);
        }
    }
}

Json namedTaskOf(const Session& constSession, const TaskHeader& header) {
    // Reading controls by key needs the non-const lookups; nothing is changed.
    Session& session = const_cast<Session&>(constSession);
    WindowSet& w = session.windows;
    const SystemDescription& system = describeSystem(header.system);
    Json windows = Json::object();
    for (const NamedWindow& named : namedWindows) {
        if (std::string_view(named.form) == "Form12") continue;
        CalcWindow& window = *w.calcWindow(named.form);
        if (!system.shows(window.id)) continue;
        // The second stage's inputs go with the hot-water window whether the scheme shows them or not.
        windows[named.form] = inputValues(window, window.hasSecondStage());
    }
    if (w.additionalResults.loaded()) {
        Json values = Json::object();
        for (const TaskInput& input : additionalResultsTaskInputs())
            if (const Control* control = w.additionalResults.find(input.controlKey))
                values[input.controlKey] = controlValue(*control);
        windows["Form12"] = std::move(values);
    }
    Json top = Json::object();
    if (!header.name.empty()) top["name"] = header.name;
    top["system"] = system.taskName;
    top["units"] = unitsJson(w.units);
    top["decimalSeparator"] = w.decimalSeparator;
    top["seriesPrefix"] = session.state.seriesPrefix;
    if (!header.limitAnswers.empty()) top["limitAnswers"] = header.limitAnswers;
    return namedTask(top, windows, w.decimalSeparator, TextsAs::ExactNumbers);
}

Json convertToNamed(const std::string& taskText) {
    const PreparedTask prepared = prepareTask(taskText);
    const Json task = Json::parse(taskText);
    if (prepared.named) return task;
    Json top = task;
    top.erase("windows");
    if (top.contains("system")) top["system"] = describeSystem(prepared.system).taskName;
    const Json expected = comparedPart(taskText);
    // The plainest form whose results stay byte-identical: numbers wherever the texts are
    // numbers, else only where the number writes the text back exactly, else the windows by
    // control id as they were (a list handler may depend on the order the task set them in).
    for (const TextsAs texts : {TextsAs::Numbers, TextsAs::ExactNumbers}) {
        Json candidate = namedTask(top, prepared.windows, prepared.decimalSeparator, texts);
        if (comparedPart(candidate.dump()) == expected) return candidate;
    }
    Json candidate = namedTask(top, Json::object(), prepared.decimalSeparator, TextsAs::ExactNumbers);
    if (!prepared.windows.empty()) {
        Json limitAnswers = candidate.contains("limitAnswers") ? candidate["limitAnswers"] : Json();
        candidate.erase("limitAnswers");
        candidate["windows"] = prepared.windows;
        if (!limitAnswers.is_null()) candidate["limitAnswers"] = limitAnswers;
    }
    return candidate;
}

} // namespace kalvar
