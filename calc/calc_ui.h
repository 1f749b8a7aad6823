#pragma once
// What the calculation waits on: the caller answers the limit dialog, shows message boxes and
// the busy pointer. The desktop program does it with real dialogs, kalvar-cli from the task, the
// tests from scripts.
#include <string>

#include "window_model.h"

namespace kalvar {

enum class MessageIcon { Information, Warning };

// The limit dialog as the search shows it.
struct LimitDialogRequest {
    std::string caption;          // caption of the calculation window being sized
    std::string label;            // the reason for asking
    bool severalEnabled = true;   // "Несколько теплообменников"
    bool otherSizeEnabled = true; // "Другой типоразмер"
    // "Продолжить" is always enabled.
};

// The answers found pressed when the dialog's wait ended; more than one can be.
struct LimitDialogAnswers {
    bool several = false;   // one more exchanger in parallel
    bool otherSize = false; // the next plate series
    bool proceed = false;   // go on past the limit
};

// The input a message is about: a box of a calculation window left empty.
struct MessageSubject {
    WindowId window;
    std::string control; // its name in the window: "Text38"
};

class CalcUi {
  public:
    virtual ~CalcUi() = default;
    virtual void beep() = 0;
    virtual void showMessage(MessageIcon icon, const std::string& title, const std::string& text) = 0;
    // A message about one input: the desktop points the box out while the message is up. By
    // default the message alone.
    virtual void showInputMessage(const MessageSubject& /*subject*/, MessageIcon icon,
                                  const std::string& title, const std::string& text) {
        showMessage(icon, title, text);
    }
    virtual void setBusy(bool busy) = 0;
    virtual LimitDialogAnswers askLimit(const LimitDialogRequest& request) = 0;
};

} // namespace kalvar
