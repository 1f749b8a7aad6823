#include "PlateLimitDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogWait.h"
#include "messages.h"

namespace {

QPushButton* answerButton(const QString& caption, const char* name, const QString& description,
                          QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setCheckable(true); // a check box drawn as a button: it stays pressed
    button->setAutoDefault(false);
    button->setAccessibleName(caption);
    button->setAccessibleDescription(description);
    return button;
}

} // namespace

PlateLimitDialog::PlateLimitDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form11");
    setWindowTitle("Пластинчатый теплообменник");
    reasonLabel = new QLabel(QString::fromUtf8(kalvar::messages::plateLimitLabel), this);
    reasonLabel->setObjectName("Label1");
    reasonLabel->setWordWrap(true);
    reasonLabel->setAlignment(Qt::AlignCenter);
    QFont reasonFont = reasonLabel->font();
    reasonFont.setBold(true);
    reasonLabel->setFont(reasonFont);
    severalButton = answerButton("Несколько теплообменников", "Check1",
                                 "Добавить еще один теплообменник параллельно", this);
    otherSizeButton =
        answerButton("Другой типоразмер", "Check2", "Перейти к следующему типоразмеру пластин", this);
    continueButton =
        answerButton("Продолжить", "Check3", "Продолжить расчет с числом пластин выше допустимого", this);

    auto* answers = new QHBoxLayout;
    for (QPushButton* button : {severalButton, otherSizeButton, continueButton}) {
        answers->addWidget(button);
        connect(button, &QPushButton::toggled, this, [this](bool on) {
            if (on) emit answerPressed();
        });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reasonLabel, 1);
    layout->addLayout(answers);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    reasonLabel->setMinimumWidth(reasonLabel->fontMetrics().averageCharWidth() * 48);
}

void PlateLimitDialog::setRequest(const kalvar::LimitDialogRequest& request) {
    setWindowTitle(QString::fromStdString(request.caption));
    reasonLabel->setText(QString::fromStdString(request.label));
    for (QPushButton* button : {severalButton, otherSizeButton, continueButton})
        button->setChecked(false);
    severalButton->setEnabled(request.severalEnabled);
    otherSizeButton->setEnabled(request.otherSizeEnabled);
    continueButton->setEnabled(true);
}

kalvar::LimitDialogAnswers PlateLimitDialog::answers() const {
    return {severalButton->isChecked(), otherSizeButton->isChecked(), continueButton->isChecked()};
}

bool PlateLimitDialog::answered() const {
    return severalButton->isChecked() || otherSizeButton->isChecked() || continueButton->isChecked();
}

void PlateLimitDialog::reject() {
    continueButton->setChecked(true);
    QDialog::reject();
}

kalvar::LimitDialogAnswers askLimitDialog(const kalvar::LimitDialogRequest& request, QWidget* parent) {
    QPointer<PlateLimitDialog> dialog = new PlateLimitDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setRequest(request);
    dialog->setModal(false);

    DialogWait wait(dialog);
    wait.endOn(dialog.data(), &PlateLimitDialog::answerPressed);
    wait.present();
    // A dialog that goes with its parent while waiting ends the wait as a closed one would.
    if (!dialog->answered() && !wait.run()) return {false, false, true};
    dialog->hide();
    kalvar::LimitDialogAnswers answers = dialog->answers();
    // A wait ended by the application quitting has no answer; going on past the limit lets the
    // search finish instead of asking again.
    if (!dialog->answered()) answers.proceed = true;
    delete dialog;
    return answers;
}
