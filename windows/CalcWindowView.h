#pragma once
// A calculation window of the desktop program — hot water (Form3), heating (Form2) or ventilation
// (Form1) — as the content of its MDI strip: the widgets bound to the window's controls, its two
// button panels with their commands, hints, input filters, the custom-medium exchange and the
// additional-results switch. The calculation reads and writes the window model only; the view
// shows the model again after every command.
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "PanelCommands.h"
#include "window_model.h"

class DesktopHost;
class CustomMediumDialog;
class ModelBinding;
class QGridLayout;
class QLabel;
class QLayout;
class QMdiSubWindow;
class ZuPanel;
class ZuPanelButton;
class CalcWindowView;

// The layout summary strings of one window: exchangers, type, passes (`t1`, `t2`, `t3` of the
// heating window, `g1`…`g3` of the hot-water one, `z1`…`z3` of the ventilation one).
struct LayoutSummary {
    std::string exchangers = "1";
    std::string type = "автовыбор";
    std::string passes = "автовыбор";
};

// What the three calculation windows share: the nine summary strings, the windows themselves (all
// three show the model again after a command of one) and the custom-medium dialog.
struct CalcWindowGroup {
    LayoutSummary g; // hot water
    LayoutSummary t; // heating
    LayoutSummary z; // ventilation
    QPointer<CalcWindowView> hotWater, heating, ventilation;
    QPointer<CustomMediumDialog> form10;
    // While a task's values go into the model its medium properties come with it: a medium list
    // set to "другое" then opens no custom-medium dialog.
    bool takingTask = false;

    LayoutSummary& summaryOf(kalvar::WindowId id);
    void refreshAll();
};

class CalcWindowView : public QWidget {
    Q_OBJECT
  public:
    // The strips of the calculation windows, in twips: hot water at the top, heating, ventilation.
    static constexpr int stripHeightTwips = 2450;
    static int stripTopTwips(kalvar::WindowId id);

    // Loads the window (Form_Load): frame colours, given parameter Q, the lists selected with their
    // change handlers, which bring the layout panel's check marks into step.
    CalcWindowView(DesktopHost& host, kalvar::CalcWindow& window, std::shared_ptr<CalcWindowGroup> group,
                   QWidget* parent = nullptr);
    ~CalcWindowView() override;

    // The three windows of a session, hot water, heating, ventilation, sharing one group.
    static std::array<CalcWindowView*, 3> createAll(DesktopHost& host, QWidget* parent = nullptr);

    kalvar::CalcWindow& model() const { return w_; }
    const std::shared_ptr<CalcWindowGroup>& group() const { return group_; }
    // The given-parameter panel (1, 3, 5) and the layout panel (2, 4, 6).
    ZuPanel* givenParameterPanel() const { return panels_[0]; }
    ZuPanel* layoutPanel() const { return panels_[1]; }
    // This window's panel instance of that index, or nullptr.
    ZuPanel* panel(int index) const;
    // The commands of this window's panel instance of that index (none for another index).
    const PanelCommands& commandsOf(int panelIndex) const;
    LayoutSummary& summary() const;

    // Top of the strip while the additional results are off, in twips: 0, 2450 or 4900.
    int normalTopTwips() const;
    // Puts the MDI window holding this view at left 0 and the given top, 2450 twips high, in the
    // normal state. Does nothing while the view is not in an MDI window.
    void placeStrip(int topTwips);

    // Shows every widget, accessible name and panel check mark from the model.
    void refresh();

    // After a task's values were set in the model: the window takes them through its own commands,
    // the given-parameter row its checks name (colours, locked boxes, marks) and the layout lists'
    // choices (marks, summaries), as if the user had picked them.
    void takeTaskValues();

    // `Check1` changed (also run by "Расчет" for every ticked window): on, the window moves to the
    // top and the additional-results window shows its secondary results; off, it goes back to its
    // strip and "Схема" shows again.
    void applyAdditionalResultsSwitch();

    // Sets series, passes and units in parallel (each 1-based) through the layout panel's own
    // commands, as picks in "Компоновка" would: a chosen variant goes into the window this way.
    void chooseLayout(int series, int passes, int units);

    // The controls that show a hint when the pointer is over them.
    static QStringList pointerHintedControls();
    // The hint of a control (its name as in the model), or an empty text when it has none.
    QString hintOf(const QString& controlName) const;
    // The hint for the pointer over `Text1`, over the background and `Frame5`.
    QString designationHint() const;
    QString backgroundHint() const;

  signals:
    // After a command of this window changed the model (menu pick, medium exchange, check box).
    void commandDone();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct WidgetFactory;
    void build();
    QLayout* buildTitleRow(const WidgetFactory& make);
    QLayout* buildPanelRow(const WidgetFactory& make);
    QLayout* buildInputs(const WidgetFactory& make);
    QWidget* buildFlowTable(const WidgetFactory& make);
    void buildSecondStage(const WidgetFactory& make, QWidget* table, QGridLayout* tableLayout);
    QWidget* buildResults(const WidgetFactory& make);
    void createCommands();
    void watchHint(QWidget* widget);
    void attachToSubWindow();
    QMdiSubWindow* subWindow() const;

    void placeFlowSuperscript();
    void mirrorLayoutMarks();
    void mirrorGivenParameterMarks();
    void refreshAccessibleNames();
    void mediumPicked(bool heatingSide);
    void mediumChanged(bool heatingSide);

    // The events of this window's two panels.
    void panelPicked(int index, const QString& key);
    void panelEntrySelected(const QString& caption, const QString& toolTip);
    void panelButtonEntered(int index, ZuPanelButton* button);
    void panelButtonClicked(int index);
    void raisePanel(int index);

    // The commands of the given-parameter panel (row of its table) and of the layout panel.
    void chooseGivenParameter(size_t row);
    void chooseSeries(int series);
    void chooseAutomaticType();
    void choosePasses(int passes);
    void chooseAutomaticPasses();
    void chooseExchangers(int count);
    void showLayoutSummary();

    DesktopHost& host_;
    kalvar::CalcWindow& w_;
    std::shared_ptr<CalcWindowGroup> group_;
    ModelBinding* binding_;
    std::array<ZuPanel*, 2> panels_{};
    PanelCommands givenParameterCommands_, layoutCommands_;
    QHash<QObject*, QString> controlNames_;                   // widget → control name, for hints
    std::vector<std::pair<QPointer<QWidget>, size_t>> named_; // widgets with an accessible name, by table row
    QPointer<QLabel> flowUnit_, cube_;                        // "м  /ч" and its superscript "3"
    std::pair<QPointer<QLabel>, QPointer<QLabel>> pipeUnits_; // "мм" and "м/с" of the pipe between the stages
    QPointer<QLabel> secondStageUnit_;                        // "кПа" of the second stage's loss
    bool heatingMediumPending_ = false, heatedMediumPending_ = false; // a medium exchange is due or waits
    QPointer<QWidget> attached_; // the MDI window holding this view, once it is shown there
    bool placing_ = false;
    bool closing_ = false;
};
