// The designed start-up state of the windows and what the system handlers change in them.
#include <gtest/gtest.h>

#include "startup.h"

using namespace kalvar;

TEST(StartUp, WindowsStartWithTheirDesignedInputs) {
    Session session;
    startUp(session, "/work");
    WindowSet& w = session.windows;
    struct Case {
        CalcWindow* window;
        const char *caption, *title, *t2, *t3, *t4, *t5, *firstPlate;
    } cases[] = {{&w.Form3, "ГВС", "ГВС", "60", "5", "30", "55", "НС0"},
                 {&w.Form2, "Отопление", "ОТОПЛЕНИЕ", "110", "65", "70", "95", "КM1"},
                 {&w.Form1, "", "ВЕНТИЛЯЦИЯ", "110", "65", "70", "95", "НС0"}};
    for (const Case& c : cases) {
        CalcWindow& f = *c.window;
        EXPECT_EQ(f.caption, c.caption);
        EXPECT_EQ(f.Label7.text, c.title);
        EXPECT_EQ(f.Text2.text, c.t2);
        EXPECT_EQ(f.Text3.text, c.t3);
        EXPECT_EQ(f.Text4.text, c.t4);
        EXPECT_EQ(f.Text5.text, c.t5);
        EXPECT_EQ(f.Text30.text, "0,2");
        EXPECT_EQ(f.Text33.text, "1,0");
        EXPECT_EQ(f.Text25.text, "0,0");
        EXPECT_EQ(f.Text53.text, "0,0");
        EXPECT_EQ(f.Text6.text, "20");
        EXPECT_EQ(f.Combo1.items.front(), c.firstPlate);
        EXPECT_EQ(f.Combo1.items.at(5), "Автовыбор");
        EXPECT_EQ(f.Combo1.listIndex, 5);
        EXPECT_EQ(f.Combo2.listIndex, 3);
        EXPECT_EQ(f.Combo3.listIndex, 0);
        EXPECT_EQ(f.Combo3.items.size(), 9u);
        EXPECT_EQ(f.Combo4.listIndex, 0);
        EXPECT_EQ(f.Combo7.listIndex, 0);
        EXPECT_EQ(f.Check3.value, 1);
        EXPECT_EQ(f.Check2.value, 0);
        EXPECT_EQ(f.label54.text, "автовыбор");
        EXPECT_EQ(f.Frame5.backColor, colours::resultFrame);
        EXPECT_EQ(f.Text31.backColor, colours::result);
        EXPECT_EQ(f.Text47.backColor, colours::optimum);
        EXPECT_EQ(f.Text28.backColor, colours::lossPink);
        EXPECT_EQ(f.Text30.backColor, colours::white);
        EXPECT_TRUE(f.Text33.locked);
    }
    // "KM3" is all Latin in the heating window's list; the others start with Cyrillic К.
    EXPECT_EQ(w.Form2.Combo1.items[2], "KM3");
    EXPECT_EQ(w.Form2.Combo1.items[0].substr(0, 2), "К");
    EXPECT_EQ(w.Form1.backColor, colours::ventilation);
    EXPECT_EQ(w.Form3.Text10.text, "7");
    EXPECT_EQ(w.Form3.Combo8.items.size(), 8u);
    EXPECT_EQ(w.Form3.Combo8.items[static_cast<size_t>(w.Form3.Combo8.listIndex)], "50");
    EXPECT_EQ(w.Form2.find("Text10"), nullptr);
    EXPECT_NE(w.Form2.find("Label22(2)"), nullptr);
    EXPECT_EQ(w.Form12.Text10.text, "100");

    const CalcState& s = session.state;
    EXPECT_EQ(s.currentWindow, &w.Form2);
    EXPECT_EQ(s.systemKind, 2);
    EXPECT_EQ(s.seriesPrefix, "КM");
    EXPECT_EQ(s.autoMaxTypeIndex, 2.0f);
    EXPECT_EQ(s.wallConductivity, 62.9);
    EXPECT_EQ(s.catalogue.plateArea[3], 0.215);
    EXPECT_EQ(s.catalogue.plateArea[4], 0.0);
    EXPECT_EQ(s.workDir, "/work");
    EXPECT_TRUE(w.Form2.visible);
    EXPECT_FALSE(w.Form1.visible || w.Form3.visible);
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
            for (Control* x : {&w.Form3.Text10, &w.Form3.Text67, &w.Form3.Combo8})
                x->visible = visibleBefore;
            selectSystem(session, c.kind);
            EXPECT_EQ(w.Form3.visible, c.hotWater) << c.kind;
            EXPECT_EQ(w.Form2.visible, c.heating) << c.kind;
            EXPECT_EQ(w.Form1.visible, c.ventilation) << c.kind;
            const std::string stage = c.secondStage;
            const bool expected = stage == "unchanged" ? visibleBefore : stage == "shown";
            for (Control* x : {&w.Form3.Text10, &w.Form3.Text67, &w.Form3.Combo8})
                EXPECT_EQ(x->visible, expected) << c.kind;
            EXPECT_EQ(w.mainCaption, std::string("Пластинчатый теплообменник - [") + c.caption + "]");
            EXPECT_EQ(session.state.systemKind, c.kind);
            CalcWindow* expectedForm = c.kind == 1 ? &w.Form3 : c.kind == 3 ? &w.Form1 : &w.Form2;
            EXPECT_EQ(session.state.currentWindow, expectedForm) << c.kind;
        }
    }
}
