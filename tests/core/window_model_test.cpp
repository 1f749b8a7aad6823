// The designed start-up state of the windows and what the system handlers change in them.
#include <gtest/gtest.h>

#include <set>

#include "startup.h"

using namespace kalvar;

TEST(StartUp, WindowsStartWithTheirDesignedInputs) {
    Session session;
    startUp(session, "/work");
    WindowSet& w = session.windows;
    struct Case {
        CalcWindow* window;
        const char *caption, *title, *t2, *t3, *t4, *t5, *firstPlate;
    } cases[] = {{&w.hotWater, "ГВС", "ГВС", "60", "5", "30", "55", "НС0"},
                 {&w.heating, "Отопление", "ОТОПЛЕНИЕ", "110", "65", "70", "95", "КM1"},
                 {&w.ventilation, "", "ВЕНТИЛЯЦИЯ", "110", "65", "70", "95", "НС0"}};
    for (const Case& c : cases) {
        CalcWindow& f = *c.window;
        EXPECT_EQ(f.caption, c.caption);
        EXPECT_EQ(f.titleLabel.text, c.title);
        EXPECT_EQ(f.heatingInletTemperature.text, c.t2);
        EXPECT_EQ(f.heatedInletTemperature.text, c.t3);
        EXPECT_EQ(f.heatingOutletTemperature.text, c.t4);
        EXPECT_EQ(f.heatedOutletTemperature.text, c.t5);
        EXPECT_EQ(f.heatLoad.text, "0,2");
        EXPECT_EQ(f.heatedFlow.text, "1,0");
        EXPECT_EQ(f.foulingResistance.text, "0,0");
        EXPECT_EQ(f.minSurfaceMargin.text, "0,0");
        EXPECT_EQ(f.heatingLossLimit.text, "20");
        EXPECT_EQ(f.plateTypeList.items.front(), c.firstPlate);
        EXPECT_EQ(f.plateTypeList.items.at(5), "Автовыбор");
        EXPECT_EQ(f.plateTypeList.listIndex, 5);
        EXPECT_EQ(f.passCountList.listIndex, 3);
        EXPECT_EQ(f.exchangerCountList.listIndex, 0);
        EXPECT_EQ(f.exchangerCountList.items.size(), 9u);
        EXPECT_EQ(f.heatingMediumList.listIndex, 0);
        EXPECT_EQ(f.heatedMediumList.listIndex, 0);
        EXPECT_EQ(f.heatLoadIsGiven.value, 1);
        EXPECT_EQ(f.heatedFlowIsGiven.value, 0);
        EXPECT_EQ(f.layoutSummaryLabel.text, "автовыбор");
        EXPECT_EQ(f.flowTableFrame.backColor, colours::resultFrame);
        EXPECT_EQ(f.heatingFlow.backColor, colours::result);
        EXPECT_EQ(f.optimalHeatingFlow.backColor, colours::optimum);
        EXPECT_EQ(f.surfaceMargin.backColor, colours::lossPink);
        EXPECT_EQ(f.heatLoad.backColor, colours::white);
        EXPECT_TRUE(f.heatedFlow.locked);
    }
    // "KM3" is all Latin in the heating window's list; the others start with Cyrillic К.
    EXPECT_EQ(w.heating.plateTypeList.items[2], "KM3");
    EXPECT_EQ(w.heating.plateTypeList.items[0].substr(0, 2), "К");
    EXPECT_EQ(w.ventilation.backColor, colours::ventilation);
    EXPECT_EQ(w.hotWater.secondStageLossLimit.text, "7");
    EXPECT_EQ(w.hotWater.interstagePipeList.items.size(), 8u);
    EXPECT_EQ(
        w.hotWater.interstagePipeList.items[static_cast<size_t>(w.hotWater.interstagePipeList.listIndex)],
        "50");
    EXPECT_EQ(w.heating.find("Text10"), nullptr);
    EXPECT_NE(w.heating.find("Label22(2)"), nullptr);
    EXPECT_EQ(w.additionalResults.valvePressureDrop.text, "100");

    const CalcState& s = session.state;
    EXPECT_EQ(s.currentWindow, &w.heating);
    EXPECT_EQ(s.systemKind, 2);
    EXPECT_EQ(s.seriesPrefix, "КM");
    EXPECT_EQ(s.autoMaxTypeIndex, 2.0f);
    EXPECT_EQ(s.wallConductivity, 62.9);
    EXPECT_EQ(s.catalogue.plateArea[3], 0.215);
    EXPECT_EQ(s.catalogue.plateArea[4], 0.0);
    EXPECT_EQ(s.workDir, "/work");
    EXPECT_TRUE(w.heating.visible);
    EXPECT_FALSE(w.ventilation.visible || w.hotWater.visible);
}

TEST(SystemHandlers, ShowTheirWindowsSecondStageAndCaption) {
    struct Case {
        int kind;
        bool hotWater, heating, ventilation;
        const char* secondStage; // "shown", "hidden" or "unchanged"
        const char* caption;
    } cases[] = {
        {1, true, false, false, "hidden", "Система горячего водоснабжения"},
        {2, false, true, false, "unchanged", "Система отопления"},
        {3, false, false, true, "unchanged", "Система вентиляции"},
        {4, true, true, false, "hidden", "Параллельная схема"},
        {5, true, true, false, "shown", "Двухступенчатая смешанная схема"},
        {6, true, true, true, "hidden", "Параллельная схема для трех контуров"},
        {7, true, true, true, "shown", "Смешанная схема для трех контуров"},
        {8, true, true, true, "shown", "Смешанная схема с параллельной вентиляцией"},
    };
    for (const Case& c : cases) {
        for (bool visibleBefore : {false, true}) {
            Session session;
            startUp(session, ".");
            WindowSet& w = session.windows;
            for (Control* x : {&w.hotWater.secondStageLossLimit, &w.hotWater.interstagePipeVelocity,
                               &w.hotWater.interstagePipeList})
                x->visible = visibleBefore;
            selectSystem(session, c.kind);
            EXPECT_EQ(w.hotWater.visible, c.hotWater) << c.kind;
            EXPECT_EQ(w.heating.visible, c.heating) << c.kind;
            EXPECT_EQ(w.ventilation.visible, c.ventilation) << c.kind;
            const std::string stage = c.secondStage;
            const bool expected = stage == "unchanged" ? visibleBefore : stage == "shown";
            for (Control* x : {&w.hotWater.secondStageLossLimit, &w.hotWater.interstagePipeVelocity,
                               &w.hotWater.interstagePipeList})
                EXPECT_EQ(x->visible, expected) << c.kind;
            EXPECT_EQ(w.mainCaption, std::string("Пластинчатый теплообменник - [") + c.caption + "]");
            EXPECT_EQ(session.state.systemKind, c.kind);
            CalcWindow* expectedForm = c.kind == 1 ? &w.hotWater : c.kind == 3 ? &w.ventilation : &w.heating;
            EXPECT_EQ(session.state.currentWindow, expectedForm) << c.kind;
        }
    }
}

// The keys are what task files, listings and the desktop's object names use: each must lead to
// its own control, and a control array's element is keyed "Name(index)".
TEST(ControlKeys, EachKeyFindsItsOwnControl) {
    WindowSet w;
    auto check = [](auto& window, const char* name) {
        std::set<std::string> keys;
        std::set<Control*> controls;
        for (auto& [key, control] : window.controls()) {
            EXPECT_TRUE(keys.insert(key).second) << name << ": key " << key << " twice";
            EXPECT_TRUE(controls.insert(control).second) << name << ": " << key << " shares its control";
            EXPECT_EQ(window.find(key), control) << name << ": " << key;
            EXPECT_EQ(key.find('_'), std::string::npos) << name << ": " << key;
        }
        EXPECT_EQ(window.find("Text99"), nullptr) << name;
        return keys;
    };
    check(w.ventilation, "Form1");
    check(w.heating, "Form2");
    const auto hotWater = check(w.hotWater, "Form3");
    check(w.additionalResults, "Form12");

    struct Case {
        Control* control;
        Control* found;
    } cases[] = {
        {&w.heating.foulingLabel, w.heating.find("Label22(2)")},
        {&w.heating.lossUnitLabel, w.heating.find("Label34(1)")},
        {&w.additionalResults.flangeDiameterLabel, w.additionalResults.find("Label72(1)")},
        {&w.hotWater.secondStageLossLimit, w.hotWater.find("Text10")},
        {&w.additionalResults.valvePressureDrop, w.additionalResults.find("Text10")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, c.control);
    // Only the hot-water window has the second stage's controls.
    for (const char* key : {"Text10", "Combo8", "Text67"}) {
        EXPECT_EQ(hotWater.count(key), 1u) << key;
        EXPECT_EQ(w.heating.find(key), nullptr) << key;
        EXPECT_EQ(w.ventilation.find(key), nullptr) << key;
    }
}
