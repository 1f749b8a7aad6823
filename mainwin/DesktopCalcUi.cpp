#include "DesktopCalcUi.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include "PlateLimitDialog.h"

DesktopCalcUi::~DesktopCalcUi() {
    setBusy(false);
}

void DesktopCalcUi::beep() {
    if (!quitting_) QApplication::beep();
}

void DesktopCalcUi::showMessage(kalvar::MessageIcon icon, const std::string& title, const std::string& text) {
    if (quitting_) return;
    if (beforeMessage_) beforeMessage_();
    // The texts begin with CR LF, as the message boxes always showed them: one empty line.
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon == kalvar::MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    QString::fromStdString(title), shown, QMessageBox::Ok, parent_);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    // The pointer may be the busy one while the calculation shows its message.
    const bool wasBusy = busy_;
    if (wasBusy) QGuiApplication::changeOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (wasBusy) QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}

void DesktopCalcUi::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

kalvar::LimitDialogAnswers DesktopCalcUi::askLimit(const kalvar::LimitDialogRequest& request) {
    if (quitting_) {
        kalvar::LimitDialogAnswers proceed;
        proceed.proceed = true;
        return proceed;
    }
    // The other windows stay usable while the question waits, and ticking a window's additional
    // results makes that window `Форма`: the search goes on in the window it was sizing.
    kalvar::CalcWindow* calculating = state_.Форма;
    const kalvar::LimitDialogAnswers answers = askLimitDialog(request, parent_);
    state_.Форма = calculating;
    return answers;
}
