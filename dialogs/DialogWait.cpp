#include "DialogWait.h"

namespace {

// The number of waits on a dialog: a custom-medium exchange may start while another one waits.
constexpr const char* waitCount = "kalvarDialogWaits";

void addWaits(QWidget* dialog, int change) {
    dialog->setProperty(waitCount, dialog->property(waitCount).toInt() + change);
}

} // namespace

DialogWait::DialogWait(QWidget* dialog) : dialog_(dialog) {
    addWaits(dialog, 1);
    QObject::connect(dialog, &QObject::destroyed, &loop_, &QEventLoop::quit);
}

DialogWait::~DialogWait() {
    if (dialog_) addWaits(dialog_, -1);
}

void DialogWait::endWhenPressed(QAbstractButton* button, std::function<bool()> when) {
    QObject::connect(button, &QAbstractButton::toggled, &loop_, [this, when = std::move(when)](bool on) {
        if (on && (!when || when())) loop_.quit();
    });
}

void DialogWait::present() {
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

bool DialogWait::run() {
    if (dialog_) loop_.exec();
    return !dialog_.isNull();
}

bool DialogWait::isWaiting(const QWidget* window) {
    return window->property(waitCount).toInt() > 0;
}
