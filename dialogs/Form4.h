#pragma once
// The delivery-terms dialog: the object name and, per kind of exchanger, the price without VAT,
// the terms of delivery and notes that the report carries. The export commands drive it.
#include <QDialog>

#include "DeliveryTerms.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class Form4 : public QDialog {
    Q_OBJECT
  public:
    explicit Form4(QWidget* parent = nullptr);

    // Shows the dialog without modality, with the columns the system uses enabled and the others
    // greyed, and waits with events running until "Ok" is pressed (true) or the dialog is closed
    // by its title bar or Escape (false: the export is cancelled). Then releases "Ok" and hides.
    // The boxes keep what the user typed.
    bool ask(int systemKind);

    kalvar::DeliveryTerms terms() const;
    void setTerms(const kalvar::DeliveryTerms& terms);
    // Back to the designed texts, as every export starts.
    void resetToDesigned() { setTerms(kalvar::DeliveryTerms{}); }

    QLineEdit* Text1;                 // object name
    QLabel *Label6, *Label7, *Label8; // column headings "ГВС", "отопления", "вентиляции"
    QLineEdit *Text2, *Text5, *Text8;       // prices
    QPlainTextEdit *Text3, *Text6, *Text9;  // delivery terms
    QPlainTextEdit *Text4, *Text7, *Text10; // notes
    QPushButton* Check1;                    // "Ok"

  public slots:
    void reject() override;

  private:
    void enableColumns(int systemKind);
    bool waiting_ = false;
    bool cancelled_ = false;
};
