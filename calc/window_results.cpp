// The results of a calculated window as numbers, taken where the output step writes their texts and
// from the same expressions, so that the two cannot disagree.
#include "additional_results.h"
#include "calculator.h"
#include "correlations.h"
#include "number_text.h"

namespace kalvar {

namespace {

std::optional<double> numberOf(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return readNumber(text);
}

Dimensions dimensionsOf(const WeightAndDimensions& d) {
    Dimensions out;
    out.a = d.dimensionAMm;
    out.l = d.lengthLMm;
    out.b = readNumber(d.dimensionB);
    out.c = numberOf(d.dimensionC);
    out.d = numberOf(d.text46);
    out.e = numberOf(d.dimensionE);
    out.f = numberOf(d.dimensionF);
    return out;
}

} // namespace

std::optional<WindowResults>& Calculator::resultsOf(WindowId id) {
    return results_.at(static_cast<size_t>(id));
}

const WindowResults* Calculator::results(WindowId id) const {
    const size_t at = static_cast<size_t>(id);
    if (at >= results_.size() || !results_[at]) return nullptr;
    return &*results_[at];
}

void Calculator::captureResults(const std::optional<RatedFlows>& rated, const WeightAndDimensions& sizes) {
    CalcWindow& f = form();
    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    const double pressureFactor = w.units.pressureInKPa ? 1 : 100;
    const double heatingFlow = rated ? rated->heating : static_cast<double>(s.v1); // m3/s
    const double heatedFlow = rated ? rated->heated : static_cast<double>(s.v2);
    const int totalPlates = 2 * s.channelsPerPass * s.passCount;

    WindowResults r;
    r.designation = f.designationBox.text;
    r.series = s.plateTypeIndex + 1;
    r.plateCount = totalPlates;
    r.passes = s.passCount;
    r.unitsInParallel = s.exchangerCount;
    r.heatLoad = s.q / 1000.0 / s.kq1;
    r.k = s.heatTransferCoeff;
    r.surface = (totalPlates - 2) * s.catalogue.plateArea[t];
    r.margin = rated ? std::nullopt : margin_;
    if (sizes.written) {
        r.weight = sizes.weightKg;
        r.dimensions = dimensionsOf(sizes);
    }
    r.heatingSide = {heatingFlow * 1000 / s.kq2,
                     s.heatingInletTemp,
                     s.heatingOutletTemp,
                     heatingChannelVelocity_,
                     s.heatingLoss / pressureFactor,
                     heatingFlow * s.heatingLoss * 1000};
    r.heatedSide = {heatedFlow * 1000 / s.kq2,
                    s.heatedInletTemp,
                    s.heatedOutletTemp,
                    s.heatedVelocity,
                    s.heatedLoss / pressureFactor,
                    heatedFlow * s.heatedLoss * 1000};
    r.optimalHeatingVelocity = s.heatingVelocity;
    r.optimal = rated ? std::nullopt : optimum_;
    r.nozzleSize = sizes.flange;
    const float nozzle = s.catalogue.nozzleDiameter[t];
    r.heatingNozzleVelocity = nozzleVelocity(heatingFlow, nozzle, s.exchangerCount);
    r.heatedNozzleVelocity = nozzleVelocity(heatedFlow, nozzle, s.exchangerCount);
    r.heatingPipe = shownPipe(w, f, true);
    r.heatedPipe = shownPipe(w, f, false);
    if (s.maxValveLoss != 0) r.valve = ValveResults{s.valveBore, s.valveKvs};
    resultsOf(f.id) = std::move(r);
}

void Calculator::captureTwoStage(int firstSectionChannels, int secondSectionChannels, float returnWater,
                                 double sectionLossLimit, const WeightAndDimensions& sizes) {
    CalcWindow& hw = form();
    std::optional<WindowResults>& r = resultsOf(hw.id);
    if (!r) return;
    const int totalPlates = 2 * firstSectionChannels + 2 * secondSectionChannels;
    r->designation = hw.designationBox.text;
    r->series = s.plateTypeIndex + 1;
    r->unitsInParallel = s.exchangerCount;
    r->plateCount = totalPlates;
    r->surface = (totalPlates - 2) * s.catalogue.plateArea[static_cast<size_t>(s.plateTypeIndex)];
    r->weight.reset();
    r->dimensions.reset();
    if (sizes.written) {
        r->weight = sizes.weightKg;
        r->dimensions = dimensionsOf(sizes);
    }
    r->nozzleSize = sizes.flange;

    SecondStageResults second;
    second.plateCount = 2 * secondSectionChannels;
    second.heatingFlow = returnWater * 1000.0 / s.kq2;
    second.heatingVelocity = s.heatingVelocity;
    second.heatingLoss = s.heatingLoss;
    second.lossLimit = sectionLossLimit;
    const int bore = selectedPipeBore(hw.interstagePipeList);
    if (bore > 0) second.interstagePipe = PipeResults{bore, pipeVelocity(returnWater, bore)};
    r->secondStage = second;
}

} // namespace kalvar
