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
        EXPECT_EQ(!app.windows().Form3.Text1.text.empty(), c.hotWater) << c.system;
        EXPECT_EQ(!app.windows().Form2.Text1.text.empty(), c.heating) << c.system;
        EXPECT_EQ(!app.windows().Form1.Text1.text.empty(), c.ventilation) << c.system;
    }
}

TEST(Rating, EmptyPlateCountIsAskedForAndRestored) {
    Started app;
    CalcWindow& f = app.windows().Form2;
    f.Check5.value = 1;
    app.calc.calculateCommand();
    ASSERT_EQ(app.ui.messages.size(), 1u);
    EXPECT_EQ(app.ui.messages[0], std::string("\r\n") + messages::noPlateCount);
    EXPECT_EQ(f.Text38.text, "");
    EXPECT_FALSE(f.Text38.bold);
    EXPECT_EQ(f.Text38.foreColor, colours::black);
    EXPECT_EQ(f.Text31.text, "");
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
        CalcWindow& f = app.windows().Form2;
        f.Check5.value = 1;
        f.Combo2.listIndex = c.passIndex;
        f.Text38.text = c.plates;
        app.calc.calculateCommand();
        ASSERT_EQ(app.ui.messages.size(), 1u) << c.plates;
        EXPECT_EQ(app.ui.messages[0], std::string("\r\n") + c.sentence);
        EXPECT_EQ(f.Text31.text, "");
    }
}

TEST(Rating, TakesThePassesOfTheRatedWindowAndHalvesToEven) {
    Started app; // heating is current, with one pass chosen there
    app.windows().Form2.Combo2.listIndex = 0;
    CalcWindow& hw = app.windows().Form3;
    hw.Check5.value = 1;
    hw.Combo2.listIndex = 1;
    hw.Text38.text = "50";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(hw.Text1.text, "КM1-24/24"); // the saved type of an unsized window reads as the first series
    EXPECT_EQ(hw.Text38.text, "48");
    EXPECT_EQ(app.windows().Form2.Text1.text, "");
}

TEST(Rating, TheLastWindowAskingIsRated) {
    Started app(7);
    for (CalcWindow* f : {&app.windows().Form1, &app.windows().Form2, &app.windows().Form3}) {
        f->Check5.value = 1;
        f->Combo2.listIndex = 0;
        f->Text38.text = "40";
    }
    app.calc.calculateCommand();
    EXPECT_FALSE(app.windows().Form1.Text1.text.empty());
    EXPECT_TRUE(app.windows().Form2.Text1.text.empty());
    EXPECT_TRUE(app.windows().Form3.Text1.text.empty());
}

TEST(Rating, ShowsItsOwnFlowsAndNoSizingLeftovers) {
    Started app;
    CalcWindow& f = app.windows().Form2;
    app.calc.calculateCommand(); // a sizing first fills margin and optimum
    ASSERT_FALSE(f.Text28.text.empty());
    f.Check5.value = 1;
    f.Combo1.listIndex = 1;
    f.Combo2.listIndex = 1;
    f.Text38.text = "40";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(f.Text28.text, "");
    EXPECT_EQ(f.Text32.text, "");
    EXPECT_EQ(f.Text47.text, "");
    const CalcState& s = app.state();
    EXPECT_EQ(f.Text54.text, formatNumber(s.optimalHeatingFlow * s.heatingLoss * 1000, 1));
    // The valve stays sized from the design flow of the heat balance.
    EXPECT_FALSE(f.Text8.text.empty());
    EXPECT_EQ(app.state().heatingLastType, 1); // a rating never changes the saved type
}

TEST(TwoStage, ZeroLossLimitBecomesSevenAndBothSectionsAreDesignated) {
    Started app(5);
    CalcWindow& hw = app.windows().Form3;
    hw.Text10.text = "0";
    app.calc.calculateCommand();
    EXPECT_TRUE(app.ui.messages.empty());
    EXPECT_EQ(hw.Text10.text, "7");
    EXPECT_EQ(hw.Combo2.listIndex, 1);
    const std::string& designation = hw.Text1.text;
    const size_t dash = designation.find('-'), slash = designation.find('/');
    ASSERT_NE(slash, std::string::npos);
    const int first = std::stoi(designation.substr(dash + 1, slash - dash - 1));
    const int second = std::stoi(designation.substr(slash + 1));
    EXPECT_EQ(hw.Text38.text, std::to_string(first + second));
    EXPECT_LE(first, second); // the return-water section starts from the first section's size
    EXPECT_FALSE(hw.Text67.text.empty());
    EXPECT_NE(hw.Label5.text.find("5. Обратка отопления."), std::string::npos);
}

TEST(TwoStage, AStoppedCircuitStopsTheHotWaterSectionsOnly) {
    struct Case {
        int system;
        const char* failing;
        bool ventilationSized;
    } cases[] = {{5, "Form2", false}, {7, "Form1", false}, {7, "Form2", true}, {8, "Form2", true}};
    for (const Case& c : cases) {
        Started app(c.system);
        app.windows().calcWindow(c.failing)->Text2.text = "250";
        app.calc.calculateCommand();
        EXPECT_EQ(app.ui.messages.size(), 1u) << c.system << c.failing;
        EXPECT_EQ(app.windows().Form3.Text1.text, "") << c.system << c.failing;
        EXPECT_EQ(app.windows().Form3.Text38.text, "") << c.system << c.failing;
        EXPECT_EQ(app.state().hotWaterLastType, 0);
        if (c.system != 5) {
            EXPECT_EQ(!app.windows().Form1.Text1.text.empty(), c.ventilationSized) << c.system;
        }
        if (std::string(c.failing) == "Form1") {
            EXPECT_FALSE(app.windows().Form2.Text1.text.empty());
        }
    }
}

TEST(PassDrawing, LegendFollowsPassesAndTheSecondStage) {
    Started app(1);
    CalcWindow& hw = app.windows().Form3;
    hw.Combo2.listIndex = 1;
    app.calc.refreshPassDrawing();
    EXPECT_NE(hw.Label5.text.find("\r5. Слив и очистка.\r6. Слив и очистка.(Циркуляция ГВС)."),
              std::string::npos);
    hw.Combo2.listIndex = 3;
    hw.Text59.text = "3";
    app.calc.refreshPassDrawing();
    EXPECT_NE(hw.Label5.text.find("7, 8. Развоздушивание."), std::string::npos);
    hw.Text59.text = "";
    hw.Label5.text = "kept";
    app.calc.refreshPassDrawing();
    EXPECT_EQ(hw.Label5.text, "kept");
}
