#pragma once
// The delivery-terms dialog: the object name and, per kind of exchanger, the price without VAT,
// the terms of delivery and notes that the report carries. The export commands drive it.
#include <QDialog>

#include "DeliveryTerms.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class DeliveryTermsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DeliveryTermsDialog(QWidget* parent = nullptr);

    // Shows the dialog without modality, with the columns the system uses enabled and the others
    // greyed, and waits with events running until "Ok" is pressed (true) or the dialog is closed
    // by its title bar or Escape (false: the export is cancelled). Then releases "Ok" and hides.
    // The boxes keep what the user typed.
    bool ask(int systemKind);

    kalvar::DeliveryTerms terms() const;
    void setTerms(const kalvar::DeliveryTerms& terms);
    // Back to the designed texts, as every export starts.
    void resetToDesigned() { setTerms(kalvar::DeliveryTerms{}); }

    // One column of the dialog: the terms of one kind of exchanger.
    struct Column {
        QLabel* heading;       // "ГВС", "отопления", "вентиляции"
        QLineEdit* price;      // without VAT
        QPlainTextEdit* terms; // of delivery
        QPlainTextEdit* notes;
        void setEnabled(bool enabled) const;
        kalvar::TermsColumn read() const;
        void show(const kalvar::TermsColumn& terms) const;
    };

    QLineEdit* objectNameBox;
    Column hotWater;
    Column heating;
    Column ventilation;
    QCheckBox* variantsSheetBox; // "добавить лист «Варианты»", unchecked as every export starts
    QPushButton* okButton; // "Ok"

  public slots:
    void reject() override;

  private:
    bool cancelled_ = false;
};
