// The result output: the designation and every result of a finished sizing or rating written into
// the window, the pipe velocities of the additional-results window and the control valve.
#include <cmath>

#include "calculator.h"
#include "correlations.h"
#include "layout_summary.h"
#include "number_text.h"
#include "valve.h"

namespace kalvar {

std::string Calculator::lossText(double kPa) const {
    return w.units.pressureInKPa ? format(kPa, 1) : format(kPa / 100, 3);
}

void Calculator::writeResults() {
    writeOutputs(std::nullopt);
}

void Calculator::writeDesignation(int firstSectionPlates) {
    const std::string series = seriesName(s.seriesPrefix, s.plateTypeIndex);
    const std::string prefix = s.exchangerCount > 1 ? std::to_string(s.exchangerCount) + "x" : "";
    const std::string p = std::to_string(s.platesPerPass);
    if (firstSectionPlates >= 0) {
        form().designationBox.text = prefix + series + "-" + std::to_string(firstSectionPlates) + "/" + p;
        return;
    }
    switch (s.passCount) {
    case 1:
        form().designationBox.text = prefix + series + "-" + p;
        break;
    case 2:
        form().designationBox.text = prefix + series + "-" + p + "/" + p;
        break;
    case 3:
        form().designationBox.text = prefix + series + "-" + p + "/" + p + "/" + p;
        break;
    default:
        break; // other pass counts have no designation
    }
}

WeightAndDimensions Calculator::writeWeightAndDimensions(int typeIndex, int totalPlates, int passes,
                                                         bool twoStage) {
    const WeightAndDimensions d = twoStage ? twoStageWeightAndDimensions(typeIndex, totalPlates)
                                           : exchangerWeightAndDimensions(typeIndex, totalPlates, passes);
    if (!d.written) return d;
    CalcWindow& f = form();
    f.weight.text = d.weight;
    if (!d.weight57.empty()) f.largeSeriesWeight.text = d.weight57;
    f.dimensionA.text = d.dimensionA;
    f.lengthL.text = d.lengthL;
    f.nozzleSize.text = d.flange;
    f.dimensionB.text = d.dimensionB;
    if (!d.dimensionC.empty()) f.dimensionC.text = d.dimensionC;
    if (!d.text46.empty()) f.dimensionD.text = d.text46;
    if (!d.dimensionE.empty()) f.dimensionE.text = d.dimensionE;
    if (!d.dimensionF.empty()) f.dimensionF.text = d.dimensionF;
    return d;
}

void Calculator::writeOutputs(const std::optional<RatedFlows>& rated) {
    CalcWindow& f = form();
    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    const int z = s.passCount;
    writeDesignation();
    f.plateArea.text = format(s.catalogue.plateArea[t], 4);
    f.channelArea.text = format(s.catalogue.channelArea[t], 6);
    f.equivalentDiameter.text = format(s.catalogue.equivalentDiameter[t] * 1000, 2);

    // Pump powers of the flows the exchanger carries: the design flows after sizing, the rated
    // flows after a rating.
    const double heatingFlow = rated ? rated->heating : static_cast<double>(s.v1);
    const double heatedFlow = rated ? rated->heated : static_cast<double>(s.v2);
    f.heatingPumpPower.text = format(heatingFlow * s.heatingLoss * 1000, 1);
    f.heatedPumpPower.text = format(heatedFlow * s.heatedLoss * 1000, 1);
    f.heatingLoss.text = lossText(s.heatingLoss);
    f.heatedLoss.text = lossText(s.heatedLoss);

    f.heatingHeatCapacity.text = format(s.heatingCp, 0);
    f.heatingDensity.text = format(s.heatingDensity, 1);
    f.heatingReynolds.text = format(s.heatingRe, 1);
    f.heatingPrandtl.text = format(s.heatingPrandtl, 2);
    f.heatingNusselt.text = format(s.heatingNu, 1);
    f.heatingViscosity.text = format(s.heatingDensity * s.heatingViscosity * 1000, 3);
    f.heatingConductivity.text = format(s.heatingConductivity, 3);
    f.heatedHeatCapacity.text = format(s.heatedCp, 0);
    f.heatedDensity.text = format(s.heatedDensity, 1);
    f.heatedViscosity.text = format(s.heatedDensity * 1000 * s.heatedViscosity, 3);
    f.heatedConductivity.text = format(s.heatedConductivity, 3);
    f.heatedReynolds.text = format(s.heatedRe, 1);
    f.heatedPrandtl.text = format(s.heatedPrandtl, 2);
    f.heatedNusselt.text = format(s.heatedNu, 1);
    f.heatTransferCoefficient.text = format(s.heatTransferCoeff, 1);
    f.optimalHeatingVelocity.text = format(s.heatingVelocity, 3);
    f.heatedVelocity.text = format(s.heatedVelocity, 3);
    f.heatingFilmCoefficient.text = format(s.heatingAlpha, 1);
    f.heatedFilmCoefficient.text = format(s.heatedAlpha, 1);
    f.surfaceArea.text = format((s.platesPerPass * z - 2) * s.catalogue.plateArea[t], 2);
    const int totalPlates = 2 * s.channelsPerPass * z;
    f.plateCount.text = std::to_string(totalPlates);

    s.platesPerPass = static_cast<int16_t>(totalPlates);
    const WeightAndDimensions sizes = writeWeightAndDimensions(s.plateTypeIndex, totalPlates, z, false);

    s.heatingPipeBore = selectedPipeBore(w.additionalResults.heatingPipeList);
    s.heatedPipeBore = selectedPipeBore(w.additionalResults.heatedPipeList);
    if (s.heatingPipeBore > 0)
        w.additionalResults.heatingPipeVelocity.text = format(pipeVelocity(s.v1, s.heatingPipeBore), 2);
    if (s.heatedPipeBore > 0)
        w.additionalResults.heatedPipeVelocity.text = format(pipeVelocity(s.v2, s.heatedPipeBore), 2);

    f.layoutSummaryLabel.text = layoutSummary(seriesName(s.seriesPrefix, s.plateTypeIndex), std::to_string(z),
                                              SummarySpacing::Joined);
    if (s.maxValveLoss != 0) sizeValve();
    captureResults(rated, sizes);
}

void Calculator::sizeValve() {
    s.valveKv = requiredKv(s.heatingFlowDesign, s.maxValveLoss);
    const ValveChoice valve = chooseValve(s.valveKv);
    s.valveKvs = valve.kvs;
    s.valveBore = valve.bore;
    form().valveNominalDiameter.text = format(s.valveBore, 0);
    form().valveFlowCapacity.text = format(s.valveKvs, 1);
}

} // namespace kalvar
