#pragma once
// A headless "Расчет": a task (JSON) sets the start-up windows, the system and the answers to the
// dialogs; the result is every control of the calculation windows, the message boxes and the limit
// dialogs shown.
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace kalvar {

// The task cannot be run as given: invalid JSON, an unknown window or control, a value of the
// wrong kind, or a limit answer that is disabled where it would answer.
class TaskError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Runs the task text; throws TaskError. workDir is where the pass drawings are looked for.
nlohmann::ordered_json runTask(const std::string& taskText, const std::string& workDir);

} // namespace kalvar
