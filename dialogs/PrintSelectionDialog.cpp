#include "PrintSelectionDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogWait.h"

namespace {

QCheckBox* selectionBox(const char* caption, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

PrintSelectionDialog::PrintSelectionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form9");
    setWindowTitle("Выбор печати");
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    selectionGroup = new QGroupBox("Выбор печати", this);
    selectionGroup->setObjectName("Frame1");
    auto* inFrame = new QVBoxLayout(selectionGroup);
    calculationBox = selectionBox("расчет", "Check5", selectionGroup);
    auto* description = new QLabel("техническое описание", selectionGroup);
    hotWaterBox = selectionBox("ГВС", "Check2", selectionGroup);
    heatingBox = selectionBox("отопление", "Check4", selectionGroup);
    ventilationBox = selectionBox("вентиляция", "Check3", selectionGroup);
    inFrame->addWidget(calculationBox);
    inFrame->addSpacing(6);
    inFrame->addWidget(description);
    for (QCheckBox* box : {hotWaterBox, heatingBox, ventilationBox}) {
        auto* indented = new QHBoxLayout;
        indented->addSpacing(16);
        indented->addWidget(box);
        inFrame->addLayout(indented);
    }
    layout->addWidget(selectionGroup);

    continueButton = new QPushButton("Продолжить", this);
    continueButton->setObjectName("Check1");
    continueButton->setCheckable(true); // a check box drawn as a button
    continueButton->setAutoDefault(false);
    layout->addWidget(continueButton);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void PrintSelectionDialog::preset(int systemKind) {
    // A system's exchangers are checked and the others cannot be.
    const kalvar::PrintSelection checked = kalvar::presetPrintSelection(systemKind);
    calculationBox->setEnabled(true);
    hotWaterBox->setEnabled(checked.hotWater);
    heatingBox->setEnabled(checked.heating);
    ventilationBox->setEnabled(checked.ventilation);
    calculationBox->setChecked(checked.calculation);
    hotWaterBox->setChecked(checked.hotWater);
    heatingBox->setChecked(checked.heating);
    ventilationBox->setChecked(checked.ventilation);
}

bool PrintSelectionDialog::ask(int systemKind, kalvar::PrintSelection& selection) {
    if (DialogWait::isWaiting(this)) return false;
    preset(systemKind);
    continueButton->setChecked(false);
    cancelled_ = false;

    DialogWait wait(this);
    wait.endWhenPressed(continueButton);
    wait.endOn(this, &QDialog::rejected);
    wait.present();
    if (!wait.run()) return false;
    const bool confirmed = continueButton->isChecked() && !cancelled_;
    continueButton->setChecked(false);
    hide();
    if (confirmed) {
        selection.calculation = calculationBox->isChecked();
        selection.hotWater = hotWaterBox->isChecked();
        selection.heating = heatingBox->isChecked();
        selection.ventilation = ventilationBox->isChecked();
    }
    return confirmed;
}

void PrintSelectionDialog::reject() {
    cancelled_ = true;
    QDialog::reject();
}
