#pragma once
// The print-selection dialog: which sheets of the report to print.
#include <QDialog>

#include "ReportBuilder.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

class PrintSelectionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PrintSelectionDialog(QWidget* parent = nullptr);

    // Presets the boxes for the system, shows the dialog without modality and waits with events
    // running until "Продолжить" is pressed (true, selection filled) or the dialog is closed by
    // its title bar or Escape (false: the printing is cancelled). Then releases "Продолжить" and hides.
    bool ask(int systemKind, kalvar::PrintSelection& selection);

    QGroupBox* selectionGroup;   // "Выбор печати"
    QCheckBox* calculationBox;   // "расчет"
    QCheckBox* hotWaterBox;      // "ГВС"
    QCheckBox* heatingBox;       // "отопление"
    QCheckBox* ventilationBox;   // "вентиляция"
    QPushButton* continueButton; // "Продолжить"

  public slots:
    void reject() override;

  private:
    void preset(int systemKind);
    bool cancelled_ = false;
};
