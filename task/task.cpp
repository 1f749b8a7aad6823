#include "task.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "additional_results.h"
#include "calculator.h"
#include "session_copy.h"
#include "startup.h"
#include "task_file.h"
#include "task_results.h"
#include "unit_switch.h"

namespace kalvar {

namespace {

using Json = nlohmann::ordered_json;

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

template <typename Window> Json windowValues(Window& window) {
    Json out = Json::object();
    for (auto& [name, control] : window.controls())
        out[name] = controlValue(*control);
    return out;
}

} // namespace

TaskRun runTask(const std::string& taskText, const std::string& workDir, bool withSummaries,
                bool keepInputs) {
    PreparedTask task = prepareTaskUnchecked(taskText);
    TaskRun run;
    run.name = task.name;
    const int system = task.system;

    auto session = std::make_unique<Session>();
    session->windows.decimalSeparator = task.decimalSeparator;
    startUp(*session, workDir);
    session->state.seriesPrefix = task.seriesPrefix;
    selectSystem(*session, system);
    // As the "Размерность" picks would: the standing numbers and the unit labels follow.
    for (const std::string& unit : task.unitPicks)
        switchUnit(session->windows, unit);
    applyWindowValues(task.windows, session->windows);

    std::vector<std::string> answers = std::move(task.limitAnswers);
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
