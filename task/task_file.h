#pragma once
// Task files in either format, read into one prepared task, and the window model written back as a
// named task. The named format ("heating": {"heatingSide": {"inletTemperature": 110}}) takes its keys
// from the window model's table of controls; the control-id format ("windows": {"Form2": {"Text2":
// "110"}}) stays accepted as it always was.
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "calc_ui.h"

namespace kalvar {

struct Session;
struct WindowSet;
class Control;

// The three answers of the plate-count limit dialog, as tasks name them.
inline constexpr const char* answerSeveral = "Несколько теплообменников";
inline constexpr const char* answerOtherSize = "Другой типоразмер";
inline constexpr const char* answerProceed = "Продолжить";

// Limit answers by their captions ("Продолжить" for any other), as the calculation takes them.
std::vector<LimitDialogAnswers> pressedLimitAnswers(const std::vector<std::string>& captions);

// The newest named-format version this program reads and the one it writes.
inline constexpr int taskFormatVersion = 1;

// A task read and checked, ready to apply: what `calc` runs and the desktop opens.
struct PreparedTask {
    int system = 2;
    std::vector<std::string> unitPicks; // "Гкал/ч", "кВт", "м3/ч", "л/с", "кПа", "атм", as menu picks
    std::string decimalSeparator = ".";
    std::string seriesPrefix = "КM";
    nlohmann::ordered_json windows = nlohmann::ordered_json::object(); // control-id values per window
    std::vector<std::string> limitAnswers;
    std::string name;
    bool named = false; // it was written in the named format
};

// Parses and checks a task of either format; throws TaskError (task.h). Invalid JSON names its line
// and column; a named key of the wrong kind names its path ("heating.heatingSide.inletTemperature:
// expected a number"); a newer format version says so. Nothing is applied anywhere.
PreparedTask prepareTask(const std::string& taskText);

// prepareTask without the check of the window values, for a run that applies them at once (the
// same errors come from applyWindowValues then).
PreparedTask prepareTaskUnchecked(const std::string& taskText);

// Sets the window values of a prepared task in the windows (after the system and the units are
// picked), as a user typing them would; throws TaskError for an unknown control or a value of the
// wrong kind (prepareTask has already checked them against a fresh set of windows).
void applyWindowValues(const nlohmann::ordered_json& windows, WindowSet& windowSet);

// A control's value as the task files and the results write it: a list's index, a check's value,
// else the text.
nlohmann::ordered_json controlValue(const Control& control);

// What the desktop keeps with a task besides its windows.
struct TaskHeader {
    int system = 2;
    std::string name;
    std::vector<std::string> limitAnswers;
};

// The inputs a session holds now, as a named task: every input of the windows the system shows
// (and of the additional-results window), the units, the decimal separator and the series prefix.
// A text that the named format cannot give back exactly as a number is kept as the text.
nlohmann::ordered_json namedTaskOf(const Session& session, const TaskHeader& header);

// A control-id task written in the named format, giving the same windows, messages and limit
// dialogs when run; controls that have no named key stay under "windows". Throws TaskError.
nlohmann::ordered_json convertToNamed(const std::string& taskText);

// The JSON Schema (2020-12) of the named format.
const std::string& taskSchema();

} // namespace kalvar
