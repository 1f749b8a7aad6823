#pragma once
// "Варианты" of a calculation window: every layout (series, passes, units in parallel) the sizing
// accepts, side by side in a sortable table and a chart of surface against the larger pressure
// loss, the chosen one marked. "Применить" hands the picked layout to the window, which sets it
// through its own layout commands and runs "Расчет". The variants are the core's (calc/variants.h),
// sized from the session as the user left it; the window computes nothing of its own.
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "calc_ui.h"
#include "startup.h"
#include "variants.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class VariantsFilter;
class VariantsModel;
class VariantsChart;

class VariantsWindow : public QWidget {
    Q_OBJECT
  public:
    // Sets series, passes and units in parallel (each 1-based) in the window and runs "Расчет".
    using Apply = std::function<void(int series, int passes, int units)>;

    VariantsWindow(const kalvar::Session& session, kalvar::WindowId window, Apply apply,
                   QWidget* parent = nullptr);
    ~VariantsWindow() override;

    void setApply(Apply apply) { onApply_ = std::move(apply); }
    kalvar::WindowId window() const { return window_; }
    // Sizes the variants again from the session, with the limit answers of its last "Расчет".
    void recompute(const std::vector<kalvar::LimitDialogAnswers>& limitAnswers);

    QTableView* table() const { return table_; }
    QCheckBox* withinLimitsBox() const { return withinLimits_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* closeButton() const { return close_; }
    // The text shown instead of the table when the window has no variants.
    QLabel* messageLabel() const { return message_; }
    VariantsModel* model() const { return model_; }
    VariantsFilter* filter() const { return filter_; }
    // The chart, or nullptr when the program was built without Qt Charts.
    QWidget* chart() const;
    // The variant of the selected row, or nullptr.
    const kalvar::Variant* selectedVariant() const;

  private:
    void applySelected();
    void selectionChanged();
    void selectSourceRow(int sourceRow);
    void updateChart();

    const kalvar::Session& session_;
    kalvar::WindowId window_;
    Apply onApply_;
    VariantsModel* model_;
    VariantsFilter* filter_;
    QTableView* table_;
    QCheckBox* withinLimits_;
    QPushButton* apply_;
    QPushButton* close_;
    QLabel* message_;
    VariantsChart* chart_ = nullptr;
};
