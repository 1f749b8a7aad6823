#include "Form9.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

Form9::Form9(QWidget* parent) : QDialog(parent) {
    setObjectName("Form9");
    setWindowTitle("Выбор печати");
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    Frame1 = new QGroupBox("Выбор печати", this);
    Frame1->setObjectName("Frame1");
    auto* inFrame = new QVBoxLayout(Frame1);
    Check5 = new QCheckBox("расчет", Frame1);
    auto* description = new QLabel("техническое описание", Frame1);
    Check2 = new QCheckBox("ГВС", Frame1);
    Check4 = new QCheckBox("отопление", Frame1);
    Check3 = new QCheckBox("вентиляция", Frame1);
    Check5->setObjectName("Check5");
    Check2->setObjectName("Check2");
    Check4->setObjectName("Check4");
    Check3->setObjectName("Check3");
    inFrame->addWidget(Check5);
    inFrame->addSpacing(6);
    inFrame->addWidget(description);
    for (QCheckBox* box : {Check2, Check4, Check3}) {
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(box);
        inFrame->addLayout(indented);
    }
    layout->addWidget(Frame1);

    Check1 = new QPushButton("Продолжить", this);
    Check1->setObjectName("Check1");
    Check1->setCheckable(true); // a check box drawn as a button
    Check1->setAutoDefault(false);
    layout->addWidget(Check1);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void Form9::preset(int systemKind) {
    const kalvar::PrintSelection p = kalvar::presetPrintSelection(systemKind);
    for (QCheckBox* box : {Check5, Check2, Check4, Check3})
        box->setEnabled(true);
    Check5->setChecked(p.calculation);
    Check2->setChecked(p.hotWater);
    Check4->setChecked(p.heating);
    Check3->setChecked(p.ventilation);
    switch (systemKind) {
    case 1:
        Check3->setEnabled(false);
        Check4->setEnabled(false);
        break;
    case 2:
        Check2->setEnabled(false);
        Check3->setEnabled(false);
        break;
    case 3:
        Check2->setEnabled(false);
        Check4->setEnabled(false);
        break;
    case 4:
    case 5:
        Check3->setEnabled(false);
        break;
    default:
        break;
    }
}

bool Form9::ask(int systemKind, kalvar::PrintSelection& selection) {
    if (waiting_) return false;
    preset(systemKind);
    Check1->setChecked(false);
    cancelled_ = false;
    waiting_ = true;
    show();
    raise();
    activateWindow();

    QPointer<Form9> self(this);
    QEventLoop wait;
    connect(Check1, &QPushButton::toggled, &wait, [&wait](bool on) {
        if (on) wait.quit();
    });
    connect(this, &QDialog::rejected, &wait, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
    if (!self) return false;
    waiting_ = false;
    const bool confirmed = Check1->isChecked() && !cancelled_;
    Check1->setChecked(false);
    hide();
    if (confirmed) {
        selection.calculation = Check5->isChecked();
        selection.hotWater = Check2->isChecked();
        selection.heating = Check4->isChecked();
        selection.ventilation = Check3->isChecked();
    }
    return confirmed;
}

void Form9::reject() {
    cancelled_ = true;
    QDialog::reject();
}
