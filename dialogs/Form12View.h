#pragma once
// The additional-results window Form12: nozzle pipes, control valve, channel geometry, dimensions
// and the drawing of the exchanger in the geometric view, the media properties in the
// thermophysical view. It shows session.windows.Form12 and nothing of its own; its one input is the
// control valve's pressure drop Text10.
#include <QWidget>

#include "startup.h"

class ModelBinding;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Form12View : public QWidget {
    Q_OBJECT
  public:
    Form12View(kalvar::Session& session, QWidget* parent);

    // Shows the model again: texts, lists, the view and its colours.
    void refresh();

    QPushButton* Command1; // "Геометрические параметры"
    QPushButton* Command2; // "Теплофизические параметры"
    QComboBox* Combo5;     // pipe bore, heating side
    QComboBox* Combo6;     // pipe bore, heated side
    QLineEdit* Text10;     // pressure drop across the control valve (input)
    QLabel* Label5;        // the numbered legend of the drawing
    QLabel* Image1;        // the drawing of the exchanger

    // A box or label of the window by its control name (Text45, Label35, …), or nullptr.
    QWidget* control(const QString& name) const;

  signals:
    // A hint for the main window's hint line.
    void hint(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Command1_Click();
    void Command2_Click();
    QLineEdit* resultBox(kalvar::Control& control, const char* name, const QString& spokenName);

    kalvar::AdditionalResultsWindow& model_;
    ModelBinding* binding_;
    QWidget* geometric_;
    QWidget* thermophysical_;
    QList<QLineEdit*> results_;
    QLabel* valveUnitSpoken_ = nullptr;
};
