// The result output: designation, shown surface and plate count, losses in either pressure unit,
// the control valve and the pipe velocities of the additional-results window.
#include <gtest/gtest.h>

#include "scripted_ui.h"
#include "valve.h"

using namespace kalvar;
using kalvar::testing::Started;

namespace {

// A finished layout on the heating window, as sizing leaves it.
void layout(Started& app, int type, int passes, int channels, int exchangers) {
    CalcState& s = app.state();
    s.currentWindow = &app.windows().heating;
    s.plateTypeIndex = static_cast<int16_t>(type);
    s.passCount = static_cast<int16_t>(passes);
    s.channelsPerPass = static_cast<int16_t>(channels);
    s.platesPerPass = static_cast<int16_t>(2 * channels);
    s.exchangerCount = static_cast<int16_t>(exchangers);
}

} // namespace

TEST(Designation, BySeriesPassesAndExchangers) {
    struct Case {
        int type, passes, channels, exchangers;
        const char* text;
    } cases[] = {{1, 2, 12, 1, "КM2-24/24"},
                 {1, 1, 12, 3, "3xКM2-24"},
                 {2, 1, 20, 2, "2xКM3-40"},
                 {0, 3, 10, 1, "КM1-20/20/20"},
                 {3, 3, 10, 8, "8xКM4-20/20/20"}};
    for (const Case& c : cases) {
        Started app;
        layout(app, c.type, c.passes, c.channels, c.exchangers);
        app.calc.writeResults();
        EXPECT_EQ(app.windows().heating.designationBox.text, c.text);
    }
}

TEST(Output, PlateCountSurfaceAndSummary) {
    Started app;
    layout(app, 1, 2, 12, 1);
    app.calc.writeResults();
    const CalcWindow& f = app.windows().heating;
    EXPECT_EQ(f.plateCount.text, "48");
    EXPECT_EQ(f.surfaceArea.text, "2.76");
    EXPECT_EQ(f.plateArea.text, "0.0600");
    EXPECT_EQ(f.channelArea.text, "0.000209");
    EXPECT_EQ(f.equivalentDiameter.text, "2.47");
    EXPECT_EQ(f.weight.text, "90");
    EXPECT_EQ(f.layoutSummaryLabel.text, "ТипКM2; ходов - 2.");
    EXPECT_EQ(app.state().platesPerPass, 48);
}

TEST(Output, PassCountWithoutDesignationWritesNone) {
    Started app;
    layout(app, 1, 4, 12, 1);
    app.windows().heating.designationBox.text = "before";
    app.calc.writeResults();
    EXPECT_EQ(app.windows().heating.designationBox.text, "before");
}

TEST(Output, LossesInAtmospheres) {
    Started app;
    layout(app, 1, 1, 12, 1);
    app.windows().units.pressureInKPa = false;
    app.state().heatingLoss = 25;
    app.state().heatedLoss = 0.4;
    app.calc.writeResults();
    EXPECT_EQ(app.windows().heating.heatingLoss.text, "0.250");
    EXPECT_EQ(app.windows().heating.heatedLoss.text, "0.004");
}

TEST(Valve, FirstRowWhoseBoundIsExceeded) {
    struct Case {
        double kv;
        float kvs, bore;
    } cases[] = {{1000, 250, 100},   {160, 160, 100}, {160.0001, 250, 100}, {63, 63, 80}, {6.3, 6.3f, 25},
                 {4.0001, 6.3f, 25}, {2.5001, 4, 25}, {2.5, 2.5f, 15},      {0, 2.5f, 15}};
    for (const Case& c : cases) {
        const ValveChoice v = chooseValve(c.kv);
        EXPECT_EQ(v.kvs, c.kvs) << c.kv;
        EXPECT_EQ(v.bore, c.bore) << c.kv;
    }
    EXPECT_DOUBLE_EQ(requiredKv(10.0 / 3600, 100), 10);
}

TEST(Valve, NoPressureDropLeavesTheValveBoxes) {
    Started app;
    layout(app, 1, 1, 12, 1);
    app.state().heatingFlowDesign = 0.002f;
    app.state().maxValveLoss = 0;
    app.windows().heating.valveNominalDiameter.text = "old";
    app.calc.writeResults();
    EXPECT_EQ(app.windows().heating.valveNominalDiameter.text, "old");
    app.state().maxValveLoss = 100;
    app.calc.writeResults();
    EXPECT_EQ(app.windows().heating.valveNominalDiameter.text, "32"); // Kv 7.2
    EXPECT_EQ(app.windows().heating.valveFlowCapacity.text, "10.0");
}

TEST(AdditionalResults, PipeVelocityFollowsTheListAndTheFlowUnit) {
    Started app;
    EXPECT_EQ(app.windows().additionalResults.heatedPipeList.listIndex,
              -1);                                  // not loaded before its first use
    app.windows().additionalResults.ensureLoaded(); // selects "25" with the heated flow "1,0" m³/h shown
    EXPECT_EQ(app.windows().additionalResults.heatedPipeList.listIndex, 1);
    EXPECT_EQ(app.windows().additionalResults.heatedPipeVelocity.text, "0.57");
    app.windows().units.flowInM3PerHour = false;
    app.windows().additionalResults.heatedPipeList.setListIndex(1);
    EXPECT_EQ(app.windows().additionalResults.heatedPipeVelocity.text, "2.04");
    // No heating flow shown yet: the box keeps its text.
    app.windows().additionalResults.heatingPipeVelocity.text = "kept";
    app.windows().additionalResults.heatingPipeList.setListIndex(3);
    EXPECT_EQ(app.windows().additionalResults.heatingPipeVelocity.text, "kept");
}
