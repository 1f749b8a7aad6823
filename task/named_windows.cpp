#include "named_windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <regex>
#include <vector>

#include "number_text.h"
#include "task.h"
#include "task_numbers.h"
#include "window_model.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

// How a named value stands for its control's value.
enum class ValueKind { Text, Flag, Given, Medium, Series, Passes, UnitsInParallel, Bore };

constexpr const char* givenPrefix = "given=";
constexpr int autoSeriesIndex = 5; // the series list's "Автовыбор"
constexpr int autoPassIndex = 3;   // the pass list's "автовыбор"
constexpr int maxUnitsInParallel = 9;
// The given flags before any task sets them: the heat load is given.
constexpr const char* defaultGiven = "heatLoad";

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

ValueKind valueKind(const TaskInput& input) {
    const std::string_view key = input.taskKey;
    if (key.starts_with(givenPrefix)) return ValueKind::Given;
    if (input.kind == ControlKind::Check) return ValueKind::Flag;
    if (input.kind != ControlKind::List) return ValueKind::Text;
    if (endsWith(key, "medium")) return ValueKind::Medium;
    if (key == "series") return ValueKind::Series;
    if (key == "passes") return ValueKind::Passes;
    if (key == "unitsInParallel") return ValueKind::UnitsInParallel;
    return ValueKind::Bore;
}

std::vector<TaskInput> inputsOf(const NamedWindow& window) {
    if (std::strcmp(window.form, "Form12") == 0) return additionalResultsTaskInputs();
    std::vector<TaskInput> inputs = calcWindowTaskInputs();
    if (std::strcmp(window.form, "Form3") == 0)
        inputs.insert(inputs.end(), secondStageTaskInputs().begin(), secondStageTaskInputs().end());
    return inputs;
}

const TaskInput* inputOfKey(const std::vector<TaskInput>& inputs, std::string_view taskKey) {
    for (const TaskInput& input : inputs)
        if (input.taskKey == taskKey) return &input;
    return nullptr;
}

bool hasInputsUnder(const std::vector<TaskInput>& inputs, const std::string& prefix) {
    for (const TaskInput& input : inputs)
        if (std::string_view(input.taskKey).starts_with(prefix)) return true;
    return false;
}

// --- named → control values -------------------------------------------------------------------

class NamedWindowReader {
  public:
    NamedWindowReader(const NamedWindow& window, const std::string& decimalSeparator)
        : inputs_(inputsOf(window)), separator_(decimalSeparator) {}

    Json read(const Json& named, const std::string& path) {
        readObject(named, path, "");
        return controls_;
    }

  private:
    void readObject(const Json& object, const std::string& path, const std::string& prefix) {
        if (!object.is_object()) throw TaskError(path + ": expected an object");
        for (const auto& [key, value] : object.items()) {
            const std::string taskKey = prefix + key;
            const std::string where = path + "." + key;
            if (prefix.empty() && key == "given") {
                readGiven(value, where);
            } else if (const TaskInput* input = inputOfKey(inputs_, taskKey)) {
                readValue(*input, value, where);
            } else if (hasInputsUnder(inputs_, taskKey + ".")) {
                readObject(value, where, taskKey + ".");
            } else {
                throw TaskError(where + ": unknown key");
            }
        }
    }

    void readGiven(const Json& value, const std::string& where) {
        std::vector<const TaskInput*> flags;
        bool known = false;
        for (const TaskInput& input : inputs_)
            if (valueKind(input) == ValueKind::Given) {
                flags.push_back(&input);
                known = known || (value.is_string() && value.get<std::string>() == input.taskKey + 6);
            }
        if (!known) throw TaskError(where + ": expected \"heatLoad\", \"heatedFlow\" or \"plateCount\"");
        for (const TaskInput* flag : flags)
            controls_[flag->controlKey] = value.get<std::string>() == flag->taskKey + 6 ? 1 : 0;
    }

    void readValue(const TaskInput& input, const Json& value, const std::string& where) {
        Json& control = controls_[input.controlKey];
        switch (valueKind(input)) {
        case ValueKind::Text:
            if (value.is_string()) {
                control = value;
            } else if (value.is_number()) {
                const double x = value.get<double>();
                if (!std::isfinite(x)) throw TaskError(where + ": expected a finite number");
                control = taskNumberText(x, separator_);
            } else {
                throw TaskError(where + ": expected a number");
            }
            return;
        case ValueKind::Flag:
            if (!value.is_boolean()) throw TaskError(where + ": expected true or false");
            control = value.get<bool>() ? 1 : 0;
            return;
        case ValueKind::Medium:
            if (value.is_string() && value.get<std::string>() == "water") {
                control = 0;
            } else if (value.is_object()) {
                control = 1;
                readObject(value, where, std::string(input.taskKey) + ".");
            } else {
                throw TaskError(where + ": expected \"water\" or an object of the medium's properties");
            }
            return;
        case ValueKind::Series:
            control = autoOrNumber(value, where, 5, autoSeriesIndex);
            return;
        case ValueKind::Passes:
            control = autoOrNumber(value, where, 3, autoPassIndex);
            return;
        case ValueKind::UnitsInParallel:
            if (!value.is_number_integer() || value.get<long long>() < 1 ||
                value.get<long long>() > maxUnitsInParallel)
                throw TaskError(where + ": expected an integer 1.." + std::to_string(maxUnitsInParallel));
            control = value.get<long long>() - 1;
            return;
        case ValueKind::Bore:
            for (int i = 0; i < static_cast<int>(std::size(pipeBoresMm)); ++i)
                if (value.is_number_integer() && value.get<long long>() == pipeBoresMm[i]) {
                    control = i;
                    return;
                }
            throw TaskError(where + ": expected a pipe bore in mm: 20, 25, 32, 40, 50, 65, 80 or 100");
        case ValueKind::Given:
            break;
        }
    }

    static int autoOrNumber(const Json& value, const std::string& where, int count, int autoIndex) {
        if (value.is_string() && value.get<std::string>() == "auto") return autoIndex;
        if (value.is_number_integer() && value.get<long long>() >= 1 && value.get<long long>() <= count)
            return static_cast<int>(value.get<long long>() - 1);
        throw TaskError(where + ": expected \"auto\" or an integer 1.." + std::to_string(count));
    }

    std::vector<TaskInput> inputs_;
    std::string separator_;
    Json controls_ = Json::object();
};

// --- control values → named -------------------------------------------------------------------

// Sets `value` at the dotted path in `object`, making the objects on the way.
void setAtPath(Json& object, std::string_view path, Json value) {
    Json* at = &object;
    for (size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
        Json& next = (*at)[std::string(path.substr(0, dot))];
        if (!next.is_object()) next = Json::object();
        at = &next;
        path.remove_prefix(dot + 1);
    }
    (*at)[std::string(path)] = std::move(value);
}

// The text as a number when it is one: "0,2", "-5", "110".
std::optional<double> plainNumber(const std::string& text) {
    static const std::regex number(R"(-?[0-9]+([.,][0-9]+)?)");
    if (!std::regex_match(text, number)) return std::nullopt;
    const double x = readNumber(text);
    if (!std::isfinite(x)) return std::nullopt;
    return x;
}

Json textValue(const std::string& text, const std::string& separator, TextsAs texts) {
    const std::optional<double> x =
        texts == TextsAs::Numbers ? plainNumber(text) : exactTaskNumber(text, separator);
    if (!x) return text;
    if (*x == std::floor(*x) && std::fabs(*x) < 1e15) return static_cast<long long>(*x);
    return *x;
}

// The named keys in the order the files list them: the given quantity first, then the media sides.
constexpr const char* keyOrder[] = {"version",
                                    "given",
                                    "heatLoad",
                                    "heatedFlow",
                                    "plateCount",
                                    "heatingSide",
                                    "heatedSide",
                                    "medium",
                                    "inletTemperature",
                                    "outletTemperature",
                                    "lossLimit",
                                    "fouling",
                                    "minSurfaceMargin",
                                    "series",
                                    "passes",
                                    "unitsInParallel",
                                    "showAdditionalResults",
                                    "secondStage"};

size_t orderOf(const std::string& key) {
    for (size_t i = 0; i < std::size(keyOrder); ++i)
        if (key == keyOrder[i]) return i;
    return std::size(keyOrder);
}

Json inKeyOrder(const Json& object) {
    if (!object.is_object()) return object;
    std::vector<std::string> keys;
    for (const auto& item : object.items())
        keys.push_back(item.key());
    std::stable_sort(keys.begin(), keys.end(),
                     [](const std::string& a, const std::string& b) { return orderOf(a) < orderOf(b); });
    Json ordered = Json::object();
    for (const std::string& key : keys)
        ordered[key] = inKeyOrder(object[key]);
    return ordered;
}

} // namespace

Json controlValuesOfNamedWindow(const NamedWindow& window, const Json& named,
                                const std::string& decimalSeparator) {
    return NamedWindowReader(window, decimalSeparator).read(named, window.taskKey);
}

Json namedWindowOfControlValues(const NamedWindow& window, const Json& controls,
                                const std::string& decimalSeparator, TextsAs texts, Json& unnamed) {
    const std::vector<TaskInput> inputs = inputsOf(window);
    Json named = Json::object();
    auto valueOf = [&](const TaskInput& input) -> const Json* {
        auto found = controls.find(input.controlKey);
        return found == controls.end() ? nullptr : &*found;
    };

    // The given quantity: only when the flags end as one of the three the window's commands set.
    std::string given;
    bool anyGiven = false;
    {
        std::vector<std::pair<std::string, bool>> flags;
        for (const TaskInput& input : inputs)
            if (valueKind(input) == ValueKind::Given) {
                const std::string quantity = input.taskKey + 6;
                bool set = quantity == defaultGiven;
                if (const Json* value = valueOf(input)) {
                    anyGiven = true;
                    set = value->get<int>() == 1;
                }
                flags.emplace_back(quantity, set);
            }
        int setCount = 0;
        for (const auto& [quantity, set] : flags)
            if (set) {
                ++setCount;
                given = quantity;
            }
        if (setCount != 1) given.clear();
    }

    std::vector<std::string> named_keys; // control keys given a name
    for (const TaskInput& input : inputs) {
        const Json* value = valueOf(input);
        const ValueKind kind = valueKind(input);
        if (kind == ValueKind::Given) {
            if (anyGiven && !given.empty() && !named.contains("given")) named["given"] = given;
            if (!given.empty() && value) named_keys.push_back(input.controlKey);
            continue;
        }
        if (value == nullptr) continue;
        const std::string taskKey = input.taskKey;
        switch (kind) {
        case ValueKind::Text: {
            // A custom medium's property is named only under a medium the task makes custom.
            const size_t medium = taskKey.find(".medium.");
            if (medium != std::string::npos) {
                const TaskInput* list = inputOfKey(inputs, taskKey.substr(0, medium + 7));
                const Json* listValue = list ? valueOf(*list) : nullptr;
                if (listValue == nullptr || *listValue != 1) continue;
            }
            setAtPath(named, taskKey, textValue(value->get<std::string>(), decimalSeparator, texts));
            break;
        }
        case ValueKind::Flag:
            setAtPath(named, taskKey, value->get<int>() == 1);
            break;
        case ValueKind::Medium:
            setAtPath(named, taskKey, *value == 0 ? Json("water") : Json::object());
            break;
        case ValueKind::Series:
            setAtPath(named, taskKey, *value == autoSeriesIndex ? Json("auto") : Json(value->get<int>() + 1));
            break;
        case ValueKind::Passes:
            setAtPath(named, taskKey, *value == autoPassIndex ? Json("auto") : Json(value->get<int>() + 1));
            break;
        case ValueKind::UnitsInParallel:
            setAtPath(named, taskKey, value->get<int>() + 1);
            break;
        case ValueKind::Bore:
            setAtPath(named, taskKey, pipeBoresMm[value->get<int>()]);
            break;
        case ValueKind::Given:
            break;
        }
        named_keys.push_back(input.controlKey);
    }
    for (const auto& [key, value] : controls.items())
        if (std::find(named_keys.begin(), named_keys.end(), key) == named_keys.end()) unnamed[key] = value;
    return inKeyOrder(named);
}

} // namespace kalvar
