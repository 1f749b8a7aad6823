#include "startup.h"

#include "number_text.h"

namespace kalvar {

namespace {

// The pipe velocity of one side of Form12 from the flow the calculating window shows.
void updatePipeVelocity(Session& session, Control& list, Control& velocityBox, bool heatingSide) {
    const int bore = selectedPipeBore(list);
    CalcWindow* source = session.state.Форма;
    if (bore == 0 || source == nullptr) return;
    const double flow = readNumber(heatingSide ? source->Text31.text : source->Text33.text);
    const float toLitresPerSecond = session.windows.units.flowInM3PerHour ? 0.2777778f : 1.0f;
    if (!(flow > 0)) return;
    velocityBox.text = session.windows.format((toLitresPerSecond * flow / 3.1416) / bore / bore * 4000, 2);
}

} // namespace

void startUp(Session& session, const std::string& workDir) {
    CalcState& s = session.state;
    WindowSet& w = session.windows;
    s.workDir = workDir;
    w.Form1.visible = false;
    w.Form3.visible = false;
    w.Form2.visible = true;
    s.autoMaxTypeIndex = 2.0f;
    loadCatalogue(s.catalogue);
    s.wallConductivity = 62.9;
    s.Форма = &w.Form2;
    s.systemKind = heatingSystem;
    w.mainCaption = systemCaption(heatingSystem);

    AdditionalResultsWindow& results = w.Form12;
    results.load = [&session, &results] {
        const std::vector<std::string> bores = {"20", "25", "32", "40", "50", "65", "80", "100"};
        results.Combo5.onListChange(
            [&session, &results] { updatePipeVelocity(session, results.Combo5, results.Text45, true); });
        results.Combo6.onListChange(
            [&session, &results] { updatePipeVelocity(session, results.Combo6, results.Text46, false); });
        results.Combo6.setItems(bores);
        results.Combo6.setListIndex(1);
        results.Combo5.setItems(bores);
        results.Combo5.setListIndex(1);
    };
}

std::string systemCaption(int kind) {
    static const char* const names[] = {"Система горячего водоснабжения",
                                        "Система отопления",
                                        "Система вентиляции",
                                        "Параллельная схема",
                                        "Двухступенчатая смешанная схема",
                                        "Параллельная схема для трех контуров",
                                        "Смешанная схема для трех контуров",
                                        "Смешанная схема с параллельной вентиляцией"};
    if (kind < 1 || kind > 8) return "Пластинчатый теплообменник";
    return std::string("Пластинчатый теплообменник - [") + names[kind - 1] + "]";
}

void selectSystem(Session& session, int kind) {
    if (kind < 1 || kind > 8) return;
    WindowSet& w = session.windows;
    // Shown windows per kind: hot water, heating, ventilation.
    static constexpr bool shown[9][3] = {{},
                                         {true, false, false},
                                         {false, true, false},
                                         {false, false, true},
                                         {true, true, false},
                                         {true, true, false},
                                         {true, true, true},
                                         {true, true, true},
                                         {true, true, true}};
    w.Form3.visible = shown[kind][0];
    w.Form2.visible = shown[kind][1];
    w.Form1.visible = shown[kind][2];

    // The second stage's inputs of the hot-water window belong to the mixed schemes.
    const bool mixed = kind == 5 || kind == 7 || kind == 8;
    const bool withoutSecondStage = kind == 1 || kind == 4 || kind == 6;
    if (mixed || withoutSecondStage)
        for (Control* c : {&w.Form3.Text10, &w.Form3.Text67, &w.Form3.Combo8})
            c->visible = mixed;

    w.mainCaption = systemCaption(kind);
    if (kind == 1) session.state.Форма = &w.Form3;
    if (kind == 2) session.state.Форма = &w.Form2;
    if (kind == 3) session.state.Форма = &w.Form1;
    session.state.systemKind = static_cast<int16_t>(kind);
}

} // namespace kalvar
