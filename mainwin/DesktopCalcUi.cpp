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

void DesktopCalcUi::showInputMessage(const kalvar::MessageSubject& subject, kalvar::MessageIcon icon,
                                     const std::string& title, const std::string& text) {
    kalvar::Control* box = windows_.calcWindow(subject.window).find(subject.control);
    if (box == nullptr) {
        showMessage(icon, title, text);
        return;
    }
    // The windows show the model before the message box opens.
    box->text = "?????";
    box->foreColor = kalvar::colours::red;
    box->bold = true;
    showMessage(icon, title, text);
    box->text.clear();
    box->foreColor = kalvar::colours::black;
    box->bold = false;
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
        answers_.push_back("Продолжить");
        return proceed;
    }
    // The other windows stay usable while the question waits, and ticking a window's additional
    // results makes that window `currentWindow`: the search goes on in the window it was sizing.
    kalvar::CalcWindow* calculating = state_.currentWindow;
    const kalvar::LimitDialogAnswers answers = askLimitDialog(request, parent_);
    state_.currentWindow = calculating;
    answers_.push_back(answers.several     ? "Несколько теплообменников"
                       : answers.otherSize ? "Другой типоразмер"
                                           : "Продолжить");
    return answers;
}
