#pragma once
// The print-selection dialog: which sheets of the report to print.
#include <QDialog>

#include "ReportBuilder.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

class Form9 : public QDialog {
    Q_OBJECT
  public:
    explicit Form9(QWidget* parent = nullptr);

    // Presets the boxes for the system, shows the dialog without modality and waits with events
    // running until "Продолжить" is pressed (true, selection filled) or the dialog is closed by
    // its title bar or Escape (false: the printing is cancelled). Then releases "Продолжить" and hides.
    bool ask(int systemKind, kalvar::PrintSelection& selection);

    QGroupBox* Frame1;   // "Выбор печати"
    QCheckBox* Check5;   // "расчет"
    QCheckBox* Check2;   // "ГВС"
    QCheckBox* Check4;   // "отопление"
    QCheckBox* Check3;   // "вентиляция"
    QPushButton* Check1; // "Продолжить"

  public slots:
    void reject() override;

  private:
    void preset(int systemKind);
    bool waiting_ = false;
    bool cancelled_ = false;
};
