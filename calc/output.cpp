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
        form().Text1.text = prefix + series + "-" + std::to_string(firstSectionPlates) + "/" + p;
        return;
    }
    switch (s.passCount) {
    case 1:
        form().Text1.text = prefix + series + "-" + p;
        break;
    case 2:
        form().Text1.text = prefix + series + "-" + p + "/" + p;
        break;
    case 3:
        form().Text1.text = prefix + series + "-" + p + "/" + p + "/" + p;
        break;
    default:
        break; // other pass counts have no designation
    }
}

void Calculator::writeWeightAndDimensions(int typeIndex, int totalPlates, int passes, bool twoStage) {
    const WeightAndDimensions d = twoStage ? twoStageWeightAndDimensions(typeIndex, totalPlates)
                                           : exchangerWeightAndDimensions(typeIndex, totalPlates, passes);
    if (!d.written) return;
    CalcWindow& f = form();
    f.Text29.text = d.weight;
    if (!d.weight57.empty()) f.Text57.text = d.weight57;
    f.Text50.text = d.dimensionA;
    f.Text56.text = d.lengthL;
    f.Text58.text = d.flange;
    f.Text52.text = d.dimensionB;
    if (!d.dimensionC.empty()) f.Text45.text = d.dimensionC;
    if (!d.text46.empty()) f.Text46.text = d.text46;
    if (!d.dimensionE.empty()) f.Text48.text = d.dimensionE;
    if (!d.dimensionF.empty()) f.Text51.text = d.dimensionF;
}

void Calculator::writeOutputs(const std::optional<RatedFlows>& rated) {
    CalcWindow& f = form();
    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    const int z = s.passCount;
    writeDesignation();
    f.Text44.text = format(s.catalogue.plateArea[t], 4);
    f.Text43.text = format(s.catalogue.channelArea[t], 6);
    f.Text42.text = format(s.catalogue.equivalentDiameter[t] * 1000, 2);

    // Pump powers of the flows the exchanger carries: the design flows after sizing, the rated
    // flows after a rating.
    const double heatingFlow = rated ? rated->heating : static_cast<double>(s.v1);
    const double heatedFlow = rated ? rated->heated : static_cast<double>(s.v2);
    f.Text54.text = format(heatingFlow * s.heatingLoss * 1000, 1);
    f.Text55.text = format(heatedFlow * s.heatedLoss * 1000, 1);
    f.Text36.text = lossText(s.heatingLoss);
    f.Text37.text = lossText(s.heatedLoss);

    f.Text11.text = format(s.heatingCp, 0);
    f.Text12.text = format(s.heatingDensity, 1);
    f.Text15.text = format(s.heatingRe, 1);
    f.Text16.text = format(s.heatingPrandtl, 2);
    f.Text17.text = format(s.heatingNu, 1);
    f.Text13.text = format(s.heatingDensity * s.heatingViscosity * 1000, 3);
    f.Text14.text = format(s.heatingConductivity, 3);
    f.Text18.text = format(s.heatedCp, 0);
    f.Text19.text = format(s.heatedDensity, 1);
    f.Text20.text = format(s.heatedDensity * 1000 * s.heatedViscosity, 3);
    f.Text21.text = format(s.heatedConductivity, 3);
    f.Text22.text = format(s.heatedRe, 1);
    f.Text23.text = format(s.heatedPrandtl, 2);
    f.Text24.text = format(s.heatedNu, 1);
    f.Text26.text = format(s.heatTransferCoeff, 1);
    f.Text49.text = format(s.heatingVelocity, 3);
    f.Text35.text = format(s.heatedVelocity, 3);
    f.Text40.text = format(s.heatingAlpha, 1);
    f.Text41.text = format(s.heatedAlpha, 1);
    f.Text27.text = format((s.platesPerPass * z - 2) * s.catalogue.plateArea[t], 2);
    const int totalPlates = 2 * s.channelsPerPass * z;
    f.Text38.text = std::to_string(totalPlates);

    s.platesPerPass = static_cast<int16_t>(totalPlates);
    writeWeightAndDimensions(s.plateTypeIndex, totalPlates, z, false);

    s.heatingPipeBore = selectedPipeBore(w.Form12.Combo5);
    s.heatedPipeBore = selectedPipeBore(w.Form12.Combo6);
    if (s.heatingPipeBore > 0) w.Form12.Text45.text = format(pipeVelocity(s.v1, s.heatingPipeBore), 2);
    if (s.heatedPipeBore > 0) w.Form12.Text46.text = format(pipeVelocity(s.v2, s.heatedPipeBore), 2);

    f.label54.text = layoutSummary(seriesName(s.seriesPrefix, s.plateTypeIndex), std::to_string(z),
                                   SummarySpacing::Joined);
    if (s.maxValveLoss != 0) sizeValve();
}

void Calculator::sizeValve() {
    s.valveKv = requiredKv(s.heatingFlowDesign, s.maxValveLoss);
    const ValveChoice valve = chooseValve(s.valveKv);
    s.valveKvs = valve.kvs;
    s.valveBore = valve.bore;
    form().Text8.text = format(s.valveBore, 0);
    form().Text9.text = format(s.valveKvs, 1);
}

} // namespace kalvar
