// The calculate command: which windows are calculated for each system, ratings of a given plate
// count, the two-stage schemes and the connection legend.
#include <gtest/gtest.h>

#include "messages.h"
#include "number_text.h"
#include "scripted_ui.h"

using namespace kalvar;
using kalvar::testing::Started;

TEST(CalculateCommand, EachSystemCalculatesItsWindows) {
    struct Case {
        int system;
        bool hotWater, heating, ventilation;
    } cases[] = {{1, true, false, false}, {2, false, true, false}, {3, false, false, true},
                 {4, true, true, false},  {5, true, true, false},  {6, true, true, true},
                 {7, true, true, true},   {8, true, true, true}};
    for (const Case& c : cases) {
        Started app(c.system);
        app.calc.calculateCommand();
        EXPECT_TRUE(app.ui.messages.empty()) << c.system;
        EXPECT_EQ(!app.windows().hotWater.designationBox.text.empty(), c.hotWater) << c.system;
        EXPECT_EQ(!app.windows().heating.designationBox.text.empty(), c.heating) << c.system;
        EXPECT_EQ(!app.windows().ventilation.designationBox.text.empty(), c.ventilation) << c.system;
    }
}

TEST(Rating, EmptyPlateCountIsAskedForAndRestored) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.plateCountIsGiven.value = 1;
    app.calc.calculateCommand();
    ASSERT_EQ(app.ui.messages.size(), 1u);
    EXPECT_EQ(app.ui.messages[0], std::string("\r\n") + messages::noPlateCount);
    EXPECT_EQ(f.plateCount.text, "");
    EXPECT_FALSE(f.plateCount.bold);
    EXPECT_EQ(f.plateCount.foreColor, colours::black);
    EXPECT_EQ(f.heatingFlow.text, "");
}

TEST(Rating, RefusesAutomaticPassesAndTooFewPlates) {
    struct Case {
        int passIndex;
        const char* plates;
        const char* sentence;
    } cases[] = {{3, "50", messages::ratingNeedsPasses},
                 {1, "4", messages::tooFewPlates},
                 {0, "abc", messages::tooFewPlates},
                 {0, "1e9", messages::tooManyPlates}};
    for (const Case& c : cases) {
        Started app;
        CalcWindow& f = app.windows().heating;
        f.plateCountIsGiven.value = 1;
        f.passCountList.listIndex = c.passIndex;
        f.plateCount.text = c.plates;
        app.calc.calculateCommand();
        ASSERT_EQ(app.ui.messages.size(), 1u) << c.plates;
        EXPECT_EQ(app.ui.messages[0], std::string("\r\n") + c.sentence);
        EXPECT_EQ(f.heatingFlow.text, "");
    }
}

TEST(Rating, TakesThePassesOfTheRatedWindowAndHalvesToEven) {
    Started app; // heating is current, with one pass chosen there
    app.windows().heating.passCountList.listIndex = 0;
    CalcWindow& hw = app.windows().hotWater;
    hw.plateCountIsGiven.value = 1;
    hw.passCountList.listIndex = 1;
    hw.plateCount.text = "50";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(hw.designationBox.text,
              "КM1-24/24"); // the saved type of an unsized window reads as the first series
    EXPECT_EQ(hw.plateCount.text, "48");
    EXPECT_EQ(app.windows().heating.designationBox.text, "");
}

TEST(Rating, TheLastWindowAskingIsRated) {
    Started app(7);
    for (CalcWindow* f : {&app.windows().ventilation, &app.windows().heating, &app.windows().hotWater}) {
        f->plateCountIsGiven.value = 1;
        f->passCountList.listIndex = 0;
        f->plateCount.text = "40";
    }
    app.calc.calculateCommand();
    EXPECT_FALSE(app.windows().ventilation.designationBox.text.empty());
    EXPECT_TRUE(app.windows().heating.designationBox.text.empty());
    EXPECT_TRUE(app.windows().hotWater.designationBox.text.empty());
}

TEST(Rating, ShowsItsOwnFlowsAndNoSizingLeftovers) {
    Started app;
    CalcWindow& f = app.windows().heating;
    app.calc.calculateCommand(); // a sizing first fills margin and optimum
    ASSERT_FALSE(f.surfaceMargin.text.empty());
    f.plateCountIsGiven.value = 1;
    f.plateTypeList.listIndex = 1;
    f.passCountList.listIndex = 1;
    f.plateCount.text = "40";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(f.surfaceMargin.text, "");
    EXPECT_EQ(f.optimalHeatingOutletTemperature.text, "");
    EXPECT_EQ(f.optimalHeatingFlow.text, "");
    const CalcState& s = app.state();
    EXPECT_EQ(f.heatingPumpPower.text, formatNumber(s.optimalHeatingFlow * s.heatingLoss * 1000, 1));
    // The valve stays sized from the design flow of the heat balance.
    EXPECT_FALSE(f.valveNominalDiameter.text.empty());
    EXPECT_EQ(app.state().heatingLastType, 1); // a rating never changes the saved type
}

TEST(TwoStage, ZeroLossLimitBecomesSevenAndBothSectionsAreDesignated) {
    Started app(5);
    CalcWindow& hw = app.windows().hotWater;
    hw.secondStageLossLimit.text = "0";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(hw.secondStageLossLimit.text, "7");
    EXPECT_EQ(hw.passCountList.listIndex, 1);
    const std::string& designation = hw.designationBox.text;
    const size_t dash = designation.find('-'), slash = designation.find('/');
    ASSERT_NE(slash, std::string::npos);
    const int first = std::stoi(designation.substr(dash + 1, slash - dash - 1));
    const int second = std::stoi(designation.substr(slash + 1));
    EXPECT_EQ(hw.plateCount.text, std::to_string(first + second));
    EXPECT_LE(first, second); // the return-water section starts from the first section's size
    EXPECT_FALSE(hw.interstagePipeVelocity.text.empty());
    EXPECT_NE(hw.connectionLegend.text.find("5. Обратка отопления."), std::string::npos);
}

TEST(TwoStage, AStoppedCircuitStopsTheHotWaterSectionsOnly) {
    struct Case {
        int system;
        const char* failing;
        bool ventilationSized;
    } cases[] = {{5, "Form2", false}, {7, "Form1", false}, {7, "Form2", true}, {8, "Form2", true}};
    for (const Case& c : cases) {
        Started app(c.system);
        app.windows().calcWindow(c.failing)->heatingInletTemperature.text = "250";
        app.calc.calculateCommand();
        EXPECT_EQ(app.ui.messages.size(), 1u) << c.system << c.failing;
        EXPECT_EQ(app.windows().hotWater.designationBox.text, "") << c.system << c.failing;
        EXPECT_EQ(app.windows().hotWater.plateCount.text, "") << c.system << c.failing;
        EXPECT_EQ(app.state().hotWaterLastType, 0);
        if (c.system != 5) {
            EXPECT_EQ(!app.windows().ventilation.designationBox.text.empty(), c.ventilationSized) << c.system;
        }
        if (std::string(c.failing) == "Form1") {
            EXPECT_FALSE(app.windows().heating.designationBox.text.empty());
        }
    }
}

TEST(PassDrawing, LegendFollowsPassesAndTheSecondStage) {
    Started app(1);
    CalcWindow& hw = app.windows().hotWater;
    hw.passCountList.listIndex = 1;
    app.calc.refreshPassDrawing();
    EXPECT_NE(hw.connectionLegend.text.find("\r5. Слив и очистка.\r6. Слив и очистка.(Циркуляция ГВС)."),
              std::string::npos);
    hw.passCountList.listIndex = 3;
    hw.searchedPassCount.text = "3";
    app.calc.refreshPassDrawing();
    EXPECT_NE(hw.connectionLegend.text.find("7, 8. Развоздушивание."), std::string::npos);
    hw.searchedPassCount.text = "";
    hw.connectionLegend.text = "kept";
    app.calc.refreshPassDrawing();
    EXPECT_EQ(hw.connectionLegend.text, "kept");
}
