#include "startup.h"

#include "number_text.h"
#include "system_kinds.h"

namespace kalvar {

namespace {

// The pipe velocity of one side of Form12 from the flow the calculating window shows.
void updatePipeVelocity(Session& session, Control& list, Control& velocityBox, bool heatingSide) {
    const int bore = selectedPipeBore(list);
    CalcWindow* source = session.state.currentWindow;
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
    s.currentWindow = &w.Form2;
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
    const SystemDescription* system = findSystem(kind);
    if (system == nullptr) return "Пластинчатый теплообменник";
    return std::string("Пластинчатый теплообменник - [") + system->caption + "]";
}

void selectSystem(Session& session, int kind) {
    const SystemDescription* system = findSystem(kind);
    if (system == nullptr) return;
    WindowSet& w = session.windows;
    w.Form3.visible = system->shows(WindowId::Form3);
    w.Form2.visible = system->shows(WindowId::Form2);
    w.Form1.visible = system->shows(WindowId::Form1);

    // The second stage's inputs of the hot-water window belong to the mixed schemes.
    if (system->secondStage != SecondStageInputs::Unchanged)
        for (Control* c : {&w.Form3.Text10, &w.Form3.Text67, &w.Form3.Combo8})
            c->visible = system->secondStage == SecondStageInputs::Shown;

    w.mainCaption = systemCaption(kind);
    if (system->singleWindow != nullptr) session.state.currentWindow = &w.calcWindow(*system->singleWindow);
    session.state.systemKind = static_cast<int16_t>(kind);
}

} // namespace kalvar
