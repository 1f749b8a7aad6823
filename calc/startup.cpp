#include "startup.h"

#include "additional_results.h"
#include "number_text.h"
#include "system_kinds.h"

namespace kalvar {

namespace {

// The pipe velocity of one side of Form12 from the flow the calculating window shows.
void updatePipeVelocity(Session& session, Control& list, Control& velocityBox, bool heatingSide) {
    const CalcWindow* source = session.state.currentWindow;
    if (source == nullptr) return;
    const auto velocity = shownPipeVelocity(session.windows, *source, selectedPipeBore(list), heatingSide);
    if (velocity) velocityBox.text = session.windows.format(*velocity, 2);
}

} // namespace

void startUp(Session& session, const std::string& workDir) {
    CalcState& s = session.state;
    WindowSet& w = session.windows;
    s.workDir = workDir;
    w.ventilation.visible = false;
    w.hotWater.visible = false;
    w.heating.visible = true;
    s.autoMaxTypeIndex = 2.0f;
    loadCatalogue(s.catalogue);
    s.wallConductivity = 62.9;
    s.currentWindow = &w.heating;
    s.systemKind = heatingSystem;
    w.mainCaption = systemCaption(heatingSystem);

    AdditionalResultsWindow& results = w.additionalResults;
    results.load = [&session, &results] {
        const std::vector<std::string> bores = {"20", "25", "32", "40", "50", "65", "80", "100"};
        results.heatingPipeList.onListChange([&session, &results] {
            updatePipeVelocity(session, results.heatingPipeList, results.heatingPipeVelocity, true);
        });
        results.heatedPipeList.onListChange([&session, &results] {
            updatePipeVelocity(session, results.heatedPipeList, results.heatedPipeVelocity, false);
        });
        results.heatedPipeList.setItems(bores);
        results.heatedPipeList.setListIndex(1);
        results.heatingPipeList.setItems(bores);
        results.heatingPipeList.setListIndex(1);
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
    w.hotWater.visible = system->shows(WindowId::HotWater);
    w.heating.visible = system->shows(WindowId::Heating);
    w.ventilation.visible = system->shows(WindowId::Ventilation);

    // The second stage's inputs of the hot-water window belong to the mixed schemes.
    if (system->secondStage != SecondStageInputs::Unchanged)
        for (Control* c : {&w.hotWater.secondStageLossLimit, &w.hotWater.interstagePipeVelocity,
                           &w.hotWater.interstagePipeList})
            c->visible = system->secondStage == SecondStageInputs::Shown;

    w.mainCaption = systemCaption(kind);
    if (system->singleWindow != nullptr) session.state.currentWindow = &w.calcWindow(*system->singleWindow);
    session.state.systemKind = static_cast<int16_t>(kind);
}

} // namespace kalvar
