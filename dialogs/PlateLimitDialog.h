#pragma once
// The plate-count limit dialog: asks how the sizing search goes on when the plate series needs more
// plates than its frame takes or the nozzle velocity is too high. A fresh dialog serves each
// question and is released after it.
#include <QDialog>

#include "calc_ui.h"

class QLabel;
class QPushButton;

class PlateLimitDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PlateLimitDialog(QWidget* parent = nullptr);

    // Caption, reason and the enabled answers of one question; nothing is pressed.
    void setRequest(const kalvar::LimitDialogRequest& request);
    // The answers pressed so far; more than one can be.
    kalvar::LimitDialogAnswers answers() const;
    bool answered() const;

    QLabel* reasonLabel;
    QPushButton* severalButton;   // "Несколько теплообменников"
    QPushButton* otherSizeButton; // "Другой типоразмер"
    QPushButton* continueButton;  // "Продолжить"

  signals:
    void answerPressed();

  public slots:
    // Closing by the title bar or Escape counts as "Продолжить", so no question is left unanswered.
    void reject() override;
};

// Shows a fresh PlateLimitDialog without modality for the request, waits with events running until an answer
// is pressed or the dialog is closed ("Продолжить"), and returns what was pressed.
kalvar::LimitDialogAnswers askLimitDialog(const kalvar::LimitDialogRequest& request, QWidget* parent);
