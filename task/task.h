#pragma once
// A headless "Расчет": a task (JSON) sets the start-up windows, the system and the answers to the
// dialogs; the result is every control of the calculation windows, the message boxes and the limit
// dialogs shown.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "startup.h"
#include "summary.h"

namespace kalvar {

// The task cannot be run as given: invalid JSON, an unknown window or control, a value of the
// wrong kind, or a limit answer that is disabled where it would answer.
class TaskError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The keys a control-id task may have, in the order the help lists them; a named task (task_file.h)
// also has "version" and its windows by name.
inline constexpr const char* taskKeys[] = {
    "system", "units", "decimalSeparator", "seriesPrefix", "windows", "limitAnswers", "name"};

// A task run: the result `calc` prints and, when asked for, the summary of each calculated window.
struct TaskRun {
    nlohmann::ordered_json result;
    int system = 2;
    std::string name; // the task's "name", or empty
    std::vector<WindowSummary> summaries;
    std::shared_ptr<Session> session; // the windows and state the calculation left, for a report
    std::shared_ptr<Session> inputs;  // when asked for: the session as the task set it, before "Расчет"
    std::vector<std::string> limitAnswers; // the task's "limitAnswers"
};

// Runs the task text; throws TaskError. workDir is where the pass drawings are looked for.
TaskRun runTask(const std::string& taskText, const std::string& workDir, bool withSummaries,
                bool keepInputs = false);
inline nlohmann::ordered_json runTask(const std::string& taskText, const std::string& workDir) {
    return runTask(taskText, workDir, false).result;
}

} // namespace kalvar
