#pragma once
// The additional-results window ("Form12"): nozzle pipes, control valve, channel geometry, dimensions
// and the drawing of the exchanger in the geometric view, the media properties in the
// thermophysical view. It shows session.windows.Form12 and nothing of its own; its one input is the
// control valve's pressure drop ("Text10").
#include <QWidget>

#include "startup.h"

class ModelBinding;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class AdditionalResultsView : public QWidget {
    Q_OBJECT
  public:
    AdditionalResultsView(kalvar::Session& session, QWidget* parent);

    // Shows the model again: texts, lists, the view and its colours.
    void refresh();

    QPushButton* geometricButton;      // "Геометрические параметры"
    QPushButton* thermophysicalButton; // "Теплофизические параметры"
    QComboBox* heatingBoreList;        // pipe bore, heating side
    QComboBox* heatedBoreList;         // pipe bore, heated side
    QLineEdit* valvePressureDropBox;   // pressure drop across the control valve (input)
    QLabel* legendLabel;               // the numbered legend of the drawing
    QLabel* drawing;                   // the drawing of the exchanger

    // A box or label of the window by its control name (Text45, Label35, …), or nullptr.
    QWidget* control(const QString& name) const;

  signals:
    // A hint for the main window's hint line.
    void hint(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showGeometricView();
    void showThermophysicalView();
    // The parts of the window, each made with its widgets in the keyboard's order.
    QPushButton* viewButton(kalvar::Control& control, const char* name, const QString& spokenName);
    QGroupBox* group(kalvar::Control& control, const char* name);
    static QGridLayout* groupGrid(QGroupBox* frame);
    QGroupBox* buildPipes();
    QGroupBox* buildValve();
    QGridLayout* buildParameters();
    QLabel* buildDrawing();
    QWidget* buildThermophysicalView();
    QLineEdit* resultBox(kalvar::Control& control, const char* name, const QString& spokenName);

    kalvar::AdditionalResultsWindow& model_;
    ModelBinding* binding_;
    QWidget* geometric_;
    QWidget* thermophysical_;
    QList<QLineEdit*> results_;
    QLabel* valveUnit_ = nullptr; // its text is spoken with the pressure drop
};
