#include "additional_results.h"

#include "number_text.h"

namespace kalvar {

namespace {

// The pipe-list entry a nozzle size asks for, or -1 when the size names none.
int pipeListIndexOf(const std::string& nozzle) {
    if (nozzle == "50 мм") return 4;
    if (nozzle == "1 дюйм") return 1;
    if (nozzle == "80 мм") return 6;
    return -1;
}

void showViews(AdditionalResultsWindow& r, bool geometric) {
    r.geometricView = geometric;
    r.geometricViewButton.bold = geometric;
    r.thermophysicalViewButton.bold = !geometric;
    r.backColor = geometric ? colours::lightCyan : colours::lightYellow;
    for (Control* c : {&r.pipesFrame,         &r.heatingPipeList,
                       &r.heatedPipeList,     &r.heatingPipeVelocity,
                       &r.heatedPipeVelocity, &r.valveFrame,
                       &r.valvePressureDrop,  &r.valvePressureDropUnitLabel,
                       &r.valveFlowCapacity,  &r.valveNominalDiameter,
                       &r.channelArea,        &r.plateArea,
                       &r.dimensionA,         &r.lengthL,
                       &r.dimensionB,         &r.dimensionC,
                       &r.dimensionE,         &r.dimensionF,
                       &r.flangesLabel,       &r.flangeDiameterLabel,
                       &r.nozzleSize,         &r.connectionLegend,
                       &r.exchangerDrawing})
        c->visible = geometric;
    for (Control* c : {&r.heatingHeatCapacity, &r.heatingDensity, &r.heatingViscosity, &r.heatingConductivity,
                       &r.heatingReynolds, &r.heatingFilmCoefficient, &r.heatingNusselt,
                       &r.heatedHeatCapacity, &r.heatedDensity, &r.heatedViscosity, &r.heatedConductivity,
                       &r.heatedReynolds, &r.heatedFilmCoefficient, &r.heatedNusselt})
        c->visible = !geometric;
    // The equivalent diameter row is never shown.
    r.equivalentDiameter.visible = false;
}

} // namespace

void selectGeometricView(AdditionalResultsWindow& form12) {
    showViews(form12, true);
}

void selectThermophysicalView(AdditionalResultsWindow& form12) {
    showViews(form12, false);
}

void fillAdditionalResults(Session& session, CalcWindow& window) {
    AdditionalResultsWindow& r = session.windows.additionalResults;
    r.ensureLoaded();
    CalcWindow& f = window;
    for (auto [from, to] : {std::pair{&f.dimensionA, &r.dimensionA},
                            {&f.dimensionB, &r.dimensionB},
                            {&f.lengthL, &r.lengthL},
                            {&f.equivalentDiameter, &r.equivalentDiameter},
                            {&f.channelArea, &r.channelArea},
                            {&f.plateArea, &r.plateArea},
                            {&f.nozzleSize, &r.nozzleSize}})
        to->text = from->text;

    // The pipe lists compute their velocities from the flows of `currentWindow`: it must be the window
    // being shown, or they would show another exchanger's flow in these pipes.
    session.state.currentWindow = &window;
    const int pipe = pipeListIndexOf(f.nozzleSize.text);
    if (pipe >= 0) {
        r.heatedPipeList.setListIndex(pipe);
        r.heatingPipeList.setListIndex(pipe);
    }

    // clang-format off
    const std::pair<Control*, Control*> copies[] = {
        {&f.dimensionC, &r.dimensionC}, {&f.dimensionE, &r.dimensionE}, {&f.dimensionF, &r.dimensionF},
        {&f.heatingHeatCapacity, &r.heatingHeatCapacity}, {&f.heatingDensity, &r.heatingDensity}, {&f.heatingViscosity, &r.heatingViscosity}, {&f.heatingConductivity, &r.heatingConductivity},
        {&f.heatingReynolds, &r.heatingReynolds},
        {&f.heatingFilmCoefficient, &r.heatingFilmCoefficient},
        {&f.heatingNusselt, &r.heatingNusselt}, {&f.heatedHeatCapacity, &r.heatedHeatCapacity}, {&f.heatedDensity, &r.heatedDensity}, {&f.heatedViscosity, &r.heatedViscosity},
        {&f.heatedConductivity, &r.heatedConductivity}, {&f.heatedReynolds, &r.heatedReynolds},
        {&f.heatedFilmCoefficient, &r.heatedFilmCoefficient},
        {&f.heatedNusselt, &r.heatedNusselt}, {&f.valveNominalDiameter, &r.valveNominalDiameter}, {&f.valveFlowCapacity, &r.valveFlowCapacity},
    };
    // clang-format on
    for (auto [from, to] : copies)
        to->text = from->text;
    r.exchangerDrawing.text = f.exchangerDrawing.text;
    r.connectionLegend.text = f.connectionLegend.text;
    selectGeometricView(r);
}

std::optional<double> shownPipeVelocity(const WindowSet& windows, const CalcWindow& window, int bore,
                                        bool heatingSide) {
    if (bore <= 0) return std::nullopt;
    const double flow = readNumber(heatingSide ? window.heatingFlow.text : window.heatedFlow.text);
    if (!(flow > 0)) return std::nullopt;
    const float toLitresPerSecond = windows.units.flowInM3PerHour ? 0.2777778f : 1.0f;
    return (toLitresPerSecond * flow / 3.1416) / bore / bore * 4000;
}

std::optional<PipeResults> shownPipe(const WindowSet& windows, const CalcWindow& window, bool heatingSide) {
    const AdditionalResultsWindow& r = windows.additionalResults;
    const int pipe = pipeListIndexOf(window.nozzleSize.text);
    const int bore =
        pipe >= 0 ? pipeBoresMm[pipe] : selectedPipeBore(heatingSide ? r.heatingPipeList : r.heatedPipeList);
    if (bore == 0) return std::nullopt;
    return PipeResults{bore, shownPipeVelocity(windows, window, bore, heatingSide)};
}

void refreshTickedAdditionalResults(Session& session) {
    for (CalcWindow* f : {&session.windows.ventilation, &session.windows.heating, &session.windows.hotWater})
        if (f->showAdditionalResults.value == 1) fillAdditionalResults(session, *f);
}

} // namespace kalvar
