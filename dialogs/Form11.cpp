#include "Form11.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "messages.h"

namespace {

QPushButton* answerButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setCheckable(true); // a check box drawn as a button: it stays pressed
    button->setAutoDefault(false);
    button->setAccessibleName(caption);
    return button;
}

} // namespace

Form11::Form11(QWidget* parent) : QDialog(parent) {
    setObjectName("Form11");
    setWindowTitle("Пластинчатый теплообменник");
    Label1 = new QLabel(QString::fromUtf8(kalvar::messages::plateLimitLabel), this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    QFont reasonFont = Label1->font();
    reasonFont.setBold(true);
    Label1->setFont(reasonFont);
    Check1 = answerButton("Несколько теплообменников", this);
    Check1->setObjectName("Check1");
    Check2 = answerButton("Другой типоразмер", this);
    Check2->setObjectName("Check2");
    Check3 = answerButton("Продолжить", this);
    Check3->setObjectName("Check3");
    Check1->setAccessibleDescription("Добавить еще один теплообменник параллельно");
    Check2->setAccessibleDescription("Перейти к следующему типоразмеру пластин");
    Check3->setAccessibleDescription("Продолжить расчет с числом пластин выше допустимого");

    auto* answers = new QHBoxLayout;
    for (QPushButton* button : {Check1, Check2, Check3}) {
        answers->addWidget(button);
        connect(button, &QPushButton::toggled, this, [this](bool on) {
            if (on) emit answerPressed();
        });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 1);
    layout->addLayout(answers);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    Label1->setMinimumWidth(Label1->fontMetrics().averageCharWidth() * 48);
}

void Form11::setRequest(const kalvar::LimitDialogRequest& request) {
    setWindowTitle(QString::fromStdString(request.caption));
    Label1->setText(QString::fromStdString(request.label));
    for (QPushButton* button : {Check1, Check2, Check3})
        button->setChecked(false);
    Check1->setEnabled(request.severalEnabled);
    Check2->setEnabled(request.otherSizeEnabled);
    Check3->setEnabled(true);
}

kalvar::LimitDialogAnswers Form11::answers() const {
    return {Check1->isChecked(), Check2->isChecked(), Check3->isChecked()};
}

bool Form11::answered() const {
    return Check1->isChecked() || Check2->isChecked() || Check3->isChecked();
}

void Form11::reject() {
    Check3->setChecked(true);
    QDialog::reject();
}

kalvar::LimitDialogAnswers askLimitDialog(const kalvar::LimitDialogRequest& request, QWidget* parent) {
    QPointer<Form11> dialog = new Form11(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setRequest(request);
    dialog->setModal(false);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();

    QEventLoop wait;
    QObject::connect(dialog, &Form11::answerPressed, &wait, &QEventLoop::quit);
    // A dialog that goes with its parent while waiting ends the wait as a closed one would.
    QObject::connect(dialog, &QObject::destroyed, &wait, &QEventLoop::quit);
    if (!dialog->answered()) wait.exec();

    if (!dialog) return {false, false, true};
    dialog->hide();
    kalvar::LimitDialogAnswers answers = dialog->answers();
    // A wait ended by the application quitting has no answer; going on past the limit lets the
    // search finish instead of asking again.
    if (!dialog->answered()) answers.proceed = true;
    delete dialog;
    return answers;
}
