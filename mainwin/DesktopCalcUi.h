#pragma once
// What the calculation waits on, done with the desktop's own means: Qt's beep, message boxes with
// the information or warning icon, the busy pointer as Qt's override cursor, and the limit dialog.
#include <functional>
#include <string>
#include <vector>

#include "calc_state.h"
#include "calc_ui.h"
#include "window_model.h"

class QWidget;

class DesktopCalcUi : public kalvar::CalcUi {
  public:
    // parent: the window the message boxes belong to; state: the calculation state whose
    // calculating window survives the waits.
    // windows: the model whose boxes a message about an input points out.
    DesktopCalcUi(QWidget* parent, kalvar::CalcState& state, kalvar::WindowSet& windows)
        : parent_(parent), state_(state), windows_(windows) {}
    ~DesktopCalcUi() override;

    void beep() override;
    void showMessage(kalvar::MessageIcon icon, const std::string& title, const std::string& text) override;
    // The box shows "?????" in red bold while the message is up, and is empty and plain after it.
    void showInputMessage(const kalvar::MessageSubject& subject, kalvar::MessageIcon icon,
                          const std::string& title, const std::string& text) override;
    void setBusy(bool busy) override;
    kalvar::LimitDialogAnswers askLimit(const kalvar::LimitDialogRequest& request) override;

    // While the program is quitting, the calculation that is still running asks nobody: its
    // messages are dropped and every limit dialog is answered "Продолжить".
    void setQuitting(bool quitting) { quitting_ = quitting; }
    // Run before each message box, so that the windows show what the calculation has written so
    // far while the message is up.
    void setBeforeMessage(std::function<void()> show) { beforeMessage_ = std::move(show); }
    bool busy() const { return busy_; }
    // The limit dialog's answers since the last clear, in order, by their button captions (a
    // dialog closed by its title bar answered "Продолжить"): what a task replays.
    const std::vector<std::string>& limitAnswers() const { return answers_; }
    void clearLimitAnswers() { answers_.clear(); }

  private:
    QWidget* parent_;
    kalvar::CalcState& state_;
    kalvar::WindowSet& windows_;
    bool busy_ = false;
    bool quitting_ = false;
    std::function<void()> beforeMessage_;
    std::vector<std::string> answers_;
};
