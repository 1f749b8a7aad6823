// Display-unit switching: the numbers standing in the boxes are converted once per change of unit,
// the labels and the unit settings follow the pick.
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "scripted_ui.h"
#include "unit_switch.h"

using namespace kalvar;
using kalvar::testing::Started;

namespace {

using BoxOf = std::function<Control&(WindowSet&)>;

Control& heatingLoad(WindowSet& w) {
    return w.heating.heatLoad;
}
Control& heatedFlow(WindowSet& w) {
    return w.heating.heatedFlow;
}
Control& heatingLossLimit(WindowSet& w) {
    return w.heating.heatingLossLimit;
}
Control& valveDrop(WindowSet& w) {
    return w.additionalResults.valvePressureDrop;
}

} // namespace

TEST(UnitSwitch, ConvertsTheStandingNumbersOncePerChange) {
    struct Case {
        const char* what;
        BoxOf box;
        const char* text;
        std::vector<const char*> picks;
        const char* separator;
        const char* expected;
    } cases[] = {
        {"load to kW", heatingLoad, "0,2", {"кВт"}, ".", "232.64"},
        {"load to kW, comma", heatingLoad, "0,2", {"кВт"}, ",", "232,64"},
        {"load back to Gcal/h", heatingLoad, "0,2", {"кВт", "Гкал/ч"}, ".", "0.200"},
        {"unit in force", heatingLoad, "0,2", {"Гкал/ч"}, ".", "0,2"},
        {"kW twice", heatingLoad, "0,2", {"кВт", "кВт"}, ".", "232.64"},
        {"loss to atm", heatingLossLimit, "20", {"атм"}, ".", "0.200"},
        {"loss back to kPa", heatingLossLimit, "20", {"атм", "кПа"}, ".", "20.0"},
        {"flow to l/s", heatedFlow, "1,0", {"л/с"}, ".", "0.278"},
        // The rounding of the first switch stays in the value.
        {"flow back to m3/h", heatedFlow, "1,0", {"л/с", "м3/ч"}, ".", "1.00"},
        {"not a number", heatedFlow, "abc", {"л/с"}, ".", "0.000"},
        {"empty", heatingLoad, "", {"кВт"}, ".", "0.00"},
        {"negative", heatingLossLimit, "-5", {"атм"}, ".", "-0.050"},
        {"valve drop to atm", valveDrop, "100", {"атм"}, ".", "1.000"},
        {"valve drop back", valveDrop, "100", {"атм", "кПа"}, ".", "100.0"},
        // Too large for a double: the text stays for the calculation to refuse.
        {"overflow", heatingLoad, "1e308", {"кВт"}, ".", "1e308"},
        {"beyond a double", heatingLoad, "9e999", {"кВт"}, ".", "9e999"},
    };
    for (const Case& c : cases) {
        Started app;
        app.windows().decimalSeparator = c.separator;
        c.box(app.windows()).text = c.text;
        for (const char* pick : c.picks)
            EXPECT_TRUE(switchUnit(app.windows(), pick)) << c.what;
        EXPECT_EQ(c.box(app.windows()).text, c.expected) << c.what;
    }
}

TEST(UnitSwitch, EveryAffectedBoxOfTheThreeWindowsIsConverted) {
    Started app;
    WindowSet& w = app.windows();
    for (CalcWindow* f : {&w.ventilation, &w.heating, &w.hotWater})
        for (Control* box : {&f->heatingFlow, &f->heatedFlow, &f->optimalHeatingFlow, &f->heatingLossLimit,
                             &f->heatedLossLimit, &f->heatingLoss, &f->heatedLoss})
            box->text = "10";
    switchUnit(w, "л/с");
    switchUnit(w, "атм");
    for (CalcWindow* f : {&w.ventilation, &w.heating, &w.hotWater}) {
        for (Control* box : {&f->heatingFlow, &f->heatedFlow, &f->optimalHeatingFlow})
            EXPECT_EQ(box->text, "2.778") << f->name;
        for (Control* box : {&f->heatingLossLimit, &f->heatedLossLimit, &f->heatingLoss, &f->heatedLoss})
            EXPECT_EQ(box->text, "0.100") << f->name;
        // Boxes of other quantities are left alone.
        EXPECT_EQ(f->heatLoad.text, "0,2") << f->name;
        EXPECT_EQ(f->heatingInletTemperature.text, f->name == "Form3" ? "60" : "110") << f->name;
    }
}

TEST(UnitSwitch, LabelsAndSettingsFollowThePick) {
    Started app;
    WindowSet& w = app.windows();
    EXPECT_FALSE(w.additionalResults.loaded());
    switchUnit(w, "кВт");
    switchUnit(w, "л/с");
    switchUnit(w, "атм");
    EXPECT_FALSE(w.units.heatInGcalPerHour);
    EXPECT_FALSE(w.units.flowInM3PerHour);
    EXPECT_FALSE(w.units.pressureInKPa);
    for (CalcWindow* f : {&w.ventilation, &w.heating, &w.hotWater}) {
        EXPECT_EQ(f->heatLoadUnitLabel.text, "кВт");
        EXPECT_EQ(f->flowUnitLabel.text, "л/с");
        EXPECT_FALSE(f->flowUnitSuperscript.visible);
        EXPECT_EQ(f->lossLimitUnitLabel.text, "атм");
        EXPECT_EQ(f->lossUnitLabel.text, "атм");
    }
    EXPECT_TRUE(w.additionalResults.loaded()); // the pressure pick refers to the valve drop
    EXPECT_EQ(w.additionalResults.valvePressureDropUnitLabel.text, "атм");

    switchUnit(w, "Гкал/ч");
    switchUnit(w, "м3/ч");
    switchUnit(w, "кПа");
    EXPECT_TRUE(w.units.heatInGcalPerHour);
    EXPECT_TRUE(w.units.flowInM3PerHour);
    EXPECT_TRUE(w.units.pressureInKPa);
    for (CalcWindow* f : {&w.ventilation, &w.heating, &w.hotWater}) {
        EXPECT_EQ(f->heatLoadUnitLabel.text, "Гкал/ч");
        EXPECT_EQ(f->flowUnitLabel.text, "м  /ч");
        EXPECT_TRUE(f->flowUnitSuperscript.visible);
        EXPECT_EQ(f->lossUnitLabel.text, "кПа");
    }
    EXPECT_EQ(w.additionalResults.valvePressureDropUnitLabel.text, "кПа");
}

TEST(UnitSwitch, TheVentilationWindowsLabelDecidesWhetherToConvert) {
    Started app;
    WindowSet& w = app.windows();
    // Only the heating window's label says "кВт": the ventilation window's still says "Гкал/ч".
    w.heating.heatLoadUnitLabel.text = "кВт";
    switchUnit(w, "кВт");
    EXPECT_EQ(w.heating.heatLoad.text, "232.64");
    w.ventilation.flowUnitLabel.text = "л/с";
    switchUnit(w, "л/с");
    EXPECT_EQ(w.heating.heatedFlow.text, "1,0");
}

TEST(UnitSwitch, OtherCaptionsChangeNothing) {
    for (const char* caption : {"", "МВт", "кпа", "м  /ч", "Гкал/ч "}) {
        Started app;
        EXPECT_FALSE(switchUnit(app.windows(), caption)) << caption;
        EXPECT_EQ(app.windows().heating.heatLoad.text, "0,2");
        EXPECT_EQ(app.windows().ventilation.flowUnitLabel.text, "м  /ч");
        EXPECT_FALSE(app.windows().additionalResults.loaded());
    }
}

TEST(UnitSwitch, TheCalculationReadsTheSwitchedUnits) {
    Started app;
    switchUnit(app.windows(), "кВт");
    switchUnit(app.windows(), "атм");
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());
    // 232.64 kW and losses 0.200 atm read back as the 0,2 Gcal/h and 20 kPa of the start-up task.
    EXPECT_NEAR(app.state().q, 232640, 1);
    EXPECT_NEAR(app.state().maxLossHeating, 20, 1e-9);
    EXPECT_NEAR(app.state().maxValveLoss, 100, 1e-9);
}
