#pragma once
// The custom medium dialog: the four constant properties of a medium other than water. The calling
// window drives the exchange; the dialog only filters keystrokes.
#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

class Form10 : public QDialog {
    Q_OBJECT
  public:
    explicit Form10(QWidget* parent = nullptr);

    // Copies the four property texts (heat capacity, density, viscosity, conductivity) into the
    // boxes, shows the dialog without modality and waits with events running until "Продолжить" is
    // pressed or the dialog is closed (which counts as "Продолжить"); then copies the boxes back,
    // releases "Продолжить" and hides. The caller checks for empty values.
    void exchange(std::array<std::string, 4>& properties);

    QLineEdit* Text11;   // heat capacity, J/(kg·K)
    QLineEdit* Text12;   // density, kg/m³
    QLineEdit* Text13;   // dynamic viscosity, mPa·s
    QLineEdit* Text14;   // thermal conductivity, W/(m·K)
    QPushButton* Check1; // "Продолжить"

  public slots:
    void reject() override;

  private:
    std::array<QLineEdit*, 4> boxes() const { return {Text11, Text12, Text13, Text14}; }
    void showValues(const std::array<std::string, 4>& properties);

    // A window may ask while another one's exchange waits: the waiting exchanges' box texts are put
    // aside, innermost last, and shown again when the inner exchange ends.
    int waiting_ = 0;
    std::vector<std::array<std::string, 4>> suspended_;
};
