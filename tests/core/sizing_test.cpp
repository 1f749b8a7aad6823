// Sizing one exchanger: input checks, the search with its limit handling, and the optimal heating
// flow of a layout far larger than the load.
#include <gtest/gtest.h>

#include "correlations.h"
#include "messages.h"
#include "scripted_ui.h"

using namespace kalvar;
using kalvar::testing::Started;

namespace {

std::string message(const char* sentence) {
    return std::string("\r\n") + sentence;
}

} // namespace

TEST(SizingInputs, RefusedInputsShowOneMessageAndLeaveTheResults) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> texts;
        std::vector<std::pair<const char*, int>> lists;
        const char* sentence;
    } cases[] = {
        {"inlet above 200", {{"Text2", "201"}}, {}, messages::inletAbove200},
        {"heated outlet equals inlet", {{"Text5", "65"}}, {}, messages::wrongTemperatures},
        {"heating outlet below heated inlet", {{"Text4", "60"}}, {}, messages::wrongTemperatures},
        {"fifth plate entry", {}, {{"Combo1", 4}}, messages::noCatalogueData},
        {"medium without conductivity",
         {{"Text11", "4190"}, {"Text12", "1000"}, {"Text13", "1"}, {"Text14", ""}},
         {{"Combo4", 1}},
         messages::badCustomMedium},
        {"medium with negative density",
         {{"Text18", "4190"}, {"Text19", "-1000"}, {"Text20", "1"}, {"Text21", "0,6"}},
         {{"Combo7", 1}},
         messages::badCustomMedium},
        {"load beyond a double", {{"Text30", "1e400"}}, {}, messages::numberTooLarge},
        {"load beyond a float", {{"Text30", "1e36"}}, {}, messages::numberTooLarge},
        {"no load", {{"Text30", "abc"}}, {}, messages::noHeatLoad},
        {"no loss allowed", {{"Text6", "0"}}, {}, messages::badLossLimits},
        {"negative fouling", {{"Text25", "-0,001"}}, {}, messages::badFouling},
    };
    for (const Case& c : cases) {
        Started app;
        CalcWindow& f = app.windows().heating;
        for (auto& [name, text] : c.texts)
            f.find(name)->text = text;
        for (auto& [name, index] : c.lists)
            f.find(name)->listIndex = index;
        app.calc.calculateCommand();
        ASSERT_EQ(app.ui.messages.size(), 1u) << c.name;
        EXPECT_EQ(app.ui.messages[0], message(c.sentence)) << c.name;
        EXPECT_EQ(app.ui.titles[0], "Неправильно заданы параметры");
        EXPECT_EQ(app.ui.beeps, 1) << c.name;
        EXPECT_EQ(f.heatingFlow.text, "") << c.name;
        EXPECT_EQ(f.designationBox.text, "") << c.name;
        EXPECT_FALSE(app.ui.busy) << c.name;
    }
}

TEST(SizingInputs, InletOfExactly200IsAccepted) {
    Started app;
    app.windows().heating.heatingInletTemperature.text = "200";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_FALSE(app.windows().heating.designationBox.text.empty());
}

TEST(SizingInputs, ReadingShowsDecimalCommasAndConvertsUnits) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.heatLoad.text = "1";
    f.heatedFlow.text = "3.6";
    f.heatingLossLimit.text = "0.2";
    app.windows().units.pressureInKPa = false;
    app.calc.readInputs();
    EXPECT_FLOAT_EQ(app.state().q, 1163.2235f * 1000);
    EXPECT_FLOAT_EQ(app.state().v2, 0.001f);
    EXPECT_DOUBLE_EQ(app.state().maxLossHeating, 20);
    EXPECT_EQ(f.heatingLossLimit.text, "0,2");
    EXPECT_EQ(f.heatedFlow.text, "3,6");
}

TEST(Search, AutomaticSeriesMovesOnWithoutAsking) {
    Started app;
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.dialogs.empty());
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(app.windows().heating.designationBox.text, "КM2-52/52");
    EXPECT_EQ(app.state().heatingLastType, 1);
}

TEST(Search, ProceedSkipsEveryLaterLimitTest) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.plateTypeList.listIndex = 0; // first series, fixed
    f.passCountList.listIndex = 0; // one pass
    f.heatLoad.text = "0,2";
    app.calc.calculateCommand();
    ASSERT_EQ(app.ui.dialogs.size(), 1u);
    EXPECT_EQ(app.ui.dialogs[0].caption, "Отопление");
    EXPECT_EQ(app.ui.dialogs[0].label, messages::plateLimitLabel);
    EXPECT_GT(app.state().platesPerPass, 69);
    EXPECT_EQ(app.state().ignoreLimits, 0); // cleared once the sizing is done
}

TEST(Search, AFixedSeriesWhoseEveryPassCountIsAbandonedEndsWithAMessage) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.plateTypeList.listIndex = 0; // first series, passes scanned
    f.heatLoad.text = "3";
    app.calc.calculateCommand();
    ASSERT_EQ(app.ui.messages.size(), 1u);
    EXPECT_EQ(app.ui.messages[0], message(messages::noLayoutFits));
    EXPECT_EQ(f.designationBox.text, "");
    EXPECT_EQ(app.state().heatingLastType, 0);
}

TEST(Search, ExchangerCountStopsAtEightInStepWithTheList) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.heatLoad.text = "40"; // far beyond eight exchangers of the third series
    app.calc.calculateCommand();
    ASSERT_FALSE(app.ui.dialogs.empty());
    const LimitDialogRequest& last = app.ui.dialogs.back();
    EXPECT_FALSE(last.severalEnabled);
    EXPECT_FALSE(last.otherSizeEnabled);
    EXPECT_LE(app.state().exchangerCount, 8);
    EXPECT_EQ(f.exchangerCountList.listIndex, app.state().exchangerCount - 1);
}

TEST(Search, UnreachableMarginEndsWithAMessageNotAHang) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.plateTypeList.listIndex = 1;
    f.passCountList.listIndex = 0;
    f.minSurfaceMargin.text = "1000000";
    app.calc.calculateCommand();
    ASSERT_EQ(app.ui.messages.size(), 1u);
    EXPECT_EQ(app.ui.messages[0], message(messages::searchUnbounded));
    EXPECT_FALSE(app.ui.busy);
}

class LimitDialog : public ::testing::Test {
  protected:
    // A fixed layout being searched with one pass count.
    void SetUp() override {
        CalcState& s = app.state();
        s.currentWindow = &app.windows().hotWater;
        s.autoSelect = 0;
        s.passScanLow = s.passScanHigh = 2;
        s.passCount = 2;
        s.channelsPerPass = 40;
        s.exchangerCount = 3;
    }
    Started app;
};

TEST_F(LimitDialog, EnabledAnswersFollowSeriesAndExchangerCount) {
    struct Case {
        int type, exchangers;
        bool otherSize, several;
    } cases[] = {{0, 1, true, true},
                 {1, 7, true, true},
                 {2, 1, false, true},
                 {3, 1, false, true},
                 {0, 8, true, false}};
    for (const Case& c : cases) {
        app.state().plateTypeIndex = static_cast<int16_t>(c.type);
        app.state().exchangerCount = static_cast<int16_t>(c.exchangers);
        app.ui.dialogs.clear();
        app.calc.handleLimit();
        ASSERT_EQ(app.ui.dialogs.size(), 1u);
        EXPECT_EQ(app.ui.dialogs[0].otherSizeEnabled, c.otherSize) << c.type;
        EXPECT_EQ(app.ui.dialogs[0].severalEnabled, c.several) << c.exchangers;
        EXPECT_EQ(app.ui.dialogs[0].caption, "ГВС");
        app.state().ignoreLimits = 0;
    }
}

TEST_F(LimitDialog, AnswersPressedTogetherApplyInOrder) {
    app.state().plateTypeIndex = 0;
    app.windows().hotWater.layoutSummaryLabel.text = "Тип КM1; x3";
    app.ui.answers.push_back({true, true, true});
    app.calc.handleLimit();
    EXPECT_EQ(app.state().exchangerCount, 4);
    EXPECT_EQ(app.state().plateTypeIndex, 1);
    EXPECT_EQ(app.state().channelsPerPass, 4);
    EXPECT_EQ(app.state().ignoreLimits, 1);
    EXPECT_EQ(app.windows().hotWater.layoutSummaryLabel.text, "3");
}

TEST_F(LimitDialog, ScanningSeveralPassCountsAbandonsInsteadOfAsking) {
    app.state().passScanLow = 1;
    app.state().passScanHigh = 3;
    app.calc.handleLimit();
    EXPECT_TRUE(app.ui.dialogs.empty());
    EXPECT_EQ(app.state().passAbandoned, 1);
    EXPECT_EQ(app.state().channelsPerPass, 40);
}

TEST_F(LimitDialog, AutomaticChoiceRaisesSeriesThenExchangers) {
    CalcState& s = app.state();
    s.autoSelect = 1;
    s.plateTypeIndex = 1;
    s.exchangerCount = 1;
    app.windows().hotWater.exchangerCountList.listIndex = 0;
    app.calc.handleLimit();
    EXPECT_EQ(s.plateTypeIndex, 2);
    EXPECT_EQ(s.channelsPerPass, 4);
    EXPECT_EQ(app.windows().hotWater.layoutSummaryLabel.text, "Тип КM3; ходов - 2.");
    app.calc.handleLimit();
    EXPECT_EQ(s.plateTypeIndex, 0);
    EXPECT_EQ(s.exchangerCount, 2);
    EXPECT_EQ(app.windows().hotWater.exchangerCountList.listIndex, 1);
    EXPECT_TRUE(app.ui.dialogs.empty());
}

// An exchanger far larger than the load: the cold-end difference would fall below zero.
TEST(OptimalHeatingFlow, FarTooLargeAnExchangerKeepsCurrentLossesAndNoOptimum) {
    Started app;
    CalcState& s = app.state();
    CalcWindow& f = app.windows().heating;
    s.currentWindow = &f;
    s.plateTypeIndex = 1;
    s.passCount = 2;
    s.channelsPerPass = 100;
    s.exchangerCount = 1;
    s.heatingInletTemp = 110;
    s.heatedInletTemp = 65;
    s.heatingOutletTemp = 70;
    s.heatedOutletTemp = 95;
    s.q = 1000;
    s.surfaceArea = exchangerSurface(s);
    s.heatedAlpha = 5000;
    s.heatingLossNumber = 2000;
    s.heatedLossNumber = 3000;
    s.heatingLoss = s.heatedLoss = -1; // left from elsewhere
    f.optimalHeatingOutletTemperature.text = "old";
    f.optimalHeatingFlow.text = "old";
    app.calc.optimiseHeatingFlow();
    EXPECT_DOUBLE_EQ(s.heatingLoss, pressureLoss(s, 2000, 2));
    EXPECT_DOUBLE_EQ(s.heatedLoss, pressureLoss(s, 3000, 2));
    EXPECT_EQ(f.optimalHeatingOutletTemperature.text, "");
    EXPECT_EQ(f.optimalHeatingFlow.text, "");
}

TEST(SizingInputs, NegativeValveDropIsRefusedInSizingAndRating) {
    for (bool rating : {false, true}) {
        Started app;
        CalcWindow& f = app.windows().heating;
        if (rating) {
            f.plateCountIsGiven.value = 1;
            f.plateTypeList.listIndex = 1;
            f.passCountList.listIndex = 1;
            f.plateCount.text = "50";
        }
        app.windows().additionalResults.valvePressureDrop.text = "-50";
        f.valveNominalDiameter.text = "kept";
        app.calc.calculateCommand();
        ASSERT_EQ(app.ui.messages.size(), 1u) << rating;
        EXPECT_EQ(app.ui.messages[0], message(messages::negativeValveLoss));
        EXPECT_EQ(app.ui.titles[0], "Неправильно заданы параметры");
        EXPECT_EQ(f.valveNominalDiameter.text, "kept");
        EXPECT_EQ(f.valveFlowCapacity.text, "");
        EXPECT_EQ(f.designationBox.text, "");
    }
    // No drop at all still sizes the exchanger without a valve.
    Started app;
    app.windows().additionalResults.valvePressureDrop.text = "";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_NE(app.windows().heating.designationBox.text, "");
    EXPECT_EQ(app.windows().heating.valveFlowCapacity.text, "");
}
