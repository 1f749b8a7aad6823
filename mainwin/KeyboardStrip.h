#pragma once
// An MDI window of the main window whose Tab and Shift+Tab are not trapped inside it: Qt keeps the
// focus chain of a sub-window to itself, so the main panel and the other windows could not be
// reached from the keyboard. The main window decides where the focus goes next.
#include <QMdiSubWindow>

#include <functional>

class KeyboardStrip : public QMdiSubWindow {
    Q_OBJECT
  public:
    // moveFocus(next) moves the focus along the main window's whole chain and says whether it did.
    KeyboardStrip(std::function<bool(bool next)> moveFocus, QWidget* parent = nullptr)
        : QMdiSubWindow(parent), moveFocus_(std::move(moveFocus)) {}

  protected:
    bool focusNextPrevChild(bool next) override {
        return (moveFocus_ && moveFocus_(next)) || QMdiSubWindow::focusNextPrevChild(next);
    }

  private:
    std::function<bool(bool)> moveFocus_;
};
