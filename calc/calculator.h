#pragma once
// The calculation routines of the main window: reading a window's inputs, sizing and rating one
// exchanger, the result output, and the calculate command with its multi-exchanger schemes. They
// work on the calculation state and on the named controls of the window `currentWindow` designates.
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc_state.h"
#include "calc_ui.h"
#include "media.h"
#include "messages.h"
#include "window_model.h"
#include "window_results.h"

namespace kalvar {

inline constexpr const char* wrongParametersTitle = "Неправильно заданы параметры";

// The plate count of an exchanger is a 16-bit field: a search that would need more plates than it
// holds ends with a message instead of running on.
inline constexpr int maxTotalPlates = 32767;

class Calculator {
  public:
    Calculator(CalcState& state, WindowSet& windows, CalcUi& ui) : s(state), w(windows), ui(ui) {}

    // "Расчет": rates the window that asks for a given plate count, otherwise sizes every window
    // of the current system.
    void calculateCommand();

    // Copies the inputs of `currentWindow` into the state in SI units.
    void readInputs();
    // Sizes (or, with a given plate count, rates) the exchanger of `currentWindow`. False when it stopped
    // with a message.
    bool sizeExchanger();
    // Writes the results of a finished sizing or rating into `currentWindow`.
    void writeResults();
    // Refreshes the pass drawing and connection legend of `currentWindow`.
    void refreshPassDrawing();

    // The two iterations on k.
    void rateExchanger();
    void optimiseHeatingFlow();

    // The limit handler the search calls when a plate-count or nozzle limit is reached.
    void handleLimit();

    // Calculates one window as "Расчет" calculates it within the current system, the other windows
    // left as they are: a rating when the window asks for one, the hot-water exchanger of a
    // two-stage scheme on `returnWater` (m3/s) of the windows before it. False when it was not
    // calculated to the end.
    bool calculateWindow(WindowId id, float returnWater);
    // The return water (m3/s) the last "Расчет" sized a two-stage hot-water exchanger on.
    float twoStageReturnWater() const { return twoStageReturnWater_; }

    // The windows the last "Расчет" calculated or began to, in the order it took them (also those
    // it stopped with a message).
    const std::vector<WindowId>& calculatedWindows() const { return calculated_; }
    // The results of a calculation window the last "Расчет" calculated to the end; null for a window
    // it did not calculate or stopped with a message.
    const WindowResults* results(WindowId id) const;

  private:
    struct RatedFlows {
        double heating; // m3/s
        double heated;  // m3/s
    };

    CalcWindow& form() { return *s.currentWindow; }
    std::string format(double x, int decimals) const { return w.format(x, decimals); }
    // Beeps and shows the sentence; `subject` names the input it is about, if one.
    void stopWithMessage(const std::string& sentence,
                         const std::optional<MessageSubject>& subject = std::nullopt);
    std::optional<std::string> invalidInputMessage();
    enum class Side { Heating, Heated };
    // The medium of one side of `currentWindow` at t °C: water, or the custom medium of its boxes.
    MediumProperties sideMedium(Side side, float t);
    std::optional<std::string> evaluateMedia();
    void search();
    void scanPasses(long& steps);
    void searchStep();
    void showLimitDialog();
    void applyLimitAnswers(const LimitDialogAnswers& answers);
    void writeOutputs(const std::optional<RatedFlows>& rated);
    void writeDesignation(int firstSectionPlates = -1);
    WeightAndDimensions writeWeightAndDimensions(int typeIndex, int totalPlates, int passes, bool twoStage);
    // Takes the numbers of what writeOutputs wrote into `currentWindow`'s results.
    void captureResults(const std::optional<RatedFlows>& rated, const WeightAndDimensions& sizes);
    // Replaces them by those of a two-stage exchanger of two sections.
    void captureTwoStage(int firstSectionChannels, int secondSectionChannels, float returnWater,
                         double sectionLossLimit, const WeightAndDimensions& sizes);
    std::optional<WindowResults>& resultsOf(WindowId id);
    void sizeValve();
    bool sizeWindow(CalcWindow& window);
    // The hot-water exchanger of a two-stage scheme in two sections, the second heated by the
    // return water (m3/s) of the windows sized before it.
    void sizeTwoStageHotWater(float returnWater);
    bool rateCommand();
    int16_t& savedType(const CalcWindow& window);
    std::string heatText(double watts) const;
    std::string flowText(double cubicMetresPerSecond) const;
    std::string lossText(double kPa) const;

    CalcState& s;
    WindowSet& w;
    CalcUi& ui;
    void noteCalculated(const CalcWindow& window);

    std::optional<RatedFlows> lastRating_;
    std::vector<WindowId> calculated_;
    std::array<std::optional<WindowResults>, 3> results_; // by WindowId
    float twoStageReturnWater_ = 0;
    // Numbers of the current window that the output step does not find in the state.
    std::optional<double> margin_;      // %
    double heatingChannelVelocity_ = 0; // m/s, as Text34 shows it
    std::optional<OptimalHeatingFlow> optimum_;
    std::string limitLabel_ = messages::plateLimitLabel; // the reason the limit dialog gives
    // Steps the last cold-end search took: successive searches cross at nearly the same step, so
    // the next one looks there first.
    long coldEndSteps_ = 1;
};

// The passes a window shows: its pass list, or for "автовыбор" those the search stored in `Text59`;
// 0 when it shows none. The pass drawing and the report both go by it.
int shownPassCount(const CalcWindow& form);

// A sizing stopped inside the search; its text becomes the message.
class SizingStopped : public std::runtime_error {
  public:
    explicit SizingStopped(const std::string& sentence) : std::runtime_error(sentence) {}
};

} // namespace kalvar
