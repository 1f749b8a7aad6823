#pragma once
// A calculation user interface for tests: records messages and limit dialogs and answers the
// dialogs from a script (then "Продолжить").
#include <deque>
#include <string>
#include <vector>

#include "calc_ui.h"
#include "calculator.h"
#include "startup.h"

namespace kalvar::testing {

class ScriptedUi : public CalcUi {
  public:
    void beep() override { ++beeps; }
    void setBusy(bool busy) override { this->busy = busy; }
    void showMessage(MessageIcon, const std::string& title, const std::string& text) override {
        titles.push_back(title);
        messages.push_back(text);
    }
    LimitDialogAnswers askLimit(const LimitDialogRequest& request) override {
        dialogs.push_back(request);
        if (answers.empty()) return LimitDialogAnswers{false, false, true};
        LimitDialogAnswers a = answers.front();
        answers.pop_front();
        return a;
    }

    int beeps = 0;
    bool busy = false;
    std::vector<std::string> titles;
    std::vector<std::string> messages;
    std::vector<LimitDialogRequest> dialogs;
    std::deque<LimitDialogAnswers> answers;
};

inline LimitDialogAnswers several() {
    return {true, false, false};
}
inline LimitDialogAnswers otherSize() {
    return {false, true, false};
}
inline LimitDialogAnswers proceed() {
    return {false, false, true};
}

// A started main window with its calculator.
struct Started {
    explicit Started(int system = 2) {
        startUp(session, "/nonexistent");
        selectSystem(session, system);
    }
    CalcState& state() { return session.state; }
    WindowSet& windows() { return session.windows; }

    Session session;
    ScriptedUi ui;
    Calculator calc{session.state, session.windows, ui};
};

} // namespace kalvar::testing
