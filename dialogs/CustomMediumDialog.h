#pragma once
// The custom medium dialog: the four constant properties of a medium other than water. The calling
// window drives the exchange; the dialog only filters keystrokes.
#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;

class CustomMediumDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CustomMediumDialog(QWidget* parent = nullptr);

    // Copies the four property texts (heat capacity, density, viscosity, conductivity) into the
    // boxes, shows the dialog without modality and waits with events running until "Продолжить" is
    // pressed or the dialog is closed (which counts as "Продолжить"); then copies the boxes back,
    // releases "Продолжить" and hides. The caller checks for empty values.
    void exchange(std::array<std::string, 4>& properties);

    QLineEdit* heatCapacityBox;  // J/(kg·K)
    QLineEdit* densityBox;       // kg/m³
    QLineEdit* viscosityBox;     // dynamic, mPa·s
    QLineEdit* conductivityBox;  // thermal, W/(m·K)
    QPushButton* continueButton; // "Продолжить"

  public slots:
    void reject() override;

  private:
    std::array<QLineEdit*, 4> boxes() const {
        return {heatCapacityBox, densityBox, viscosityBox, conductivityBox};
    }
    void showValues(const std::array<std::string, 4>& properties);

    // A window may ask while another one's exchange waits: the waiting exchanges' box texts are put
    // aside, innermost last, and shown again when the inner exchange ends.
    int waiting_ = 0;
    std::vector<std::array<std::string, 4>> suspended_;
};
