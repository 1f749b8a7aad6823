// The two fixed-point iterations on k: rating a given exchanger, and the heating flow that
// transfers exactly the load through an exchanger the search found large enough.
#include <cmath>

#include "calculator.h"
#include "cold_end_search.h"
#include "correlations.h"
#include "media.h"
#include "messages.h"

namespace kalvar {

namespace {

constexpr double startCoefficient = 4200;
constexpr int maxIterations = 31;
constexpr double coefficientTolerance = 0.0001;
constexpr double differenceStep = 0.001; // K, the step of the cold-end difference
// The cold-end search gives up after this many steps (or when a step no longer changes Δb).
constexpr long maxDifferenceSteps = 20'000'000;

// Both iterations stop when k changed by less than 0.01 % or after 32 rounds.
bool iterationDone(double previous, double k, int counter) {
    return std::fabs(previous - k) / k < coefficientTolerance || counter > maxIterations;
}

// Both sides' losses from their current loss numbers and the passes.
void setPressureLosses(CalcState& s) {
    s.heatingLoss = pressureLoss(s, s.heatingLossNumber, s.passCount);
    s.heatedLoss = pressureLoss(s, s.heatedLossNumber, s.passCount);
}

} // namespace

void Calculator::rateExchanger() {
    CalcWindow& f = form();
    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    const int m = s.channelsPerPass, n = s.exchangerCount;
    const double channelArea = s.catalogue.channelArea[t];
    int counter = 0;
    s.heatTransferCoeff = startCoefficient;
    float previous = static_cast<float>(startCoefficient);
    double heated = 0, heating = 0;
    for (;;) {
        s.heatTransferCoeff = previous / 2.0 + s.heatTransferCoeff / 2;
        previous = static_cast<float>(s.heatTransferCoeff);
        ++counter;
        s.lmtd = meanTemperatureDifference(s.heatingInletTemp - s.heatedOutletTemp,
                                           s.heatingOutletTemp - s.heatedInletTemp);
        s.surfaceArea = exchangerSurface(s, false);
        s.q = static_cast<float>(n * s.lmtd * s.heatTransferCoeff * s.surfaceArea);

        heated = s.q / ((s.heatedOutletTemp - s.heatedInletTemp) * s.heatedVolHeatCapacity);
        s.heatedVelocity = static_cast<float>(heated / (m * channelArea) / n);
        correlateHeatedSide(s);

        heating = s.q / ((s.heatingInletTemp - s.heatingOutletTemp) * s.heatingVolHeatCapacity);
        s.optimalHeatingFlow = heating;
        s.heatingVelocity = static_cast<float>(heating / ((m - 1) * channelArea) / n);
        correlateHeatingSide(s, s.heatingViscosity, s.heatingPrandtl, s.heatingConductivity);

        s.heatTransferCoeff = overallCoefficient(s);
        if (iterationDone(previous, s.heatTransferCoeff, counter)) break;
    }
    setPressureLosses(s);

    f.heatingFlow.text = flowText(heating);
    f.heatedFlow.text = flowText(heated);
    f.heatedVelocity.text = format(s.heatedVelocity, 3);
    heatingChannelVelocity_ = s.heatingVelocity;
    f.heatingVelocity.text = format(heatingChannelVelocity_, 3);
    f.heatLoad.text = heatText(s.q);
    // Margin and optimum belong to sizing; a rating leaves no earlier calculation's numbers there.
    f.surfaceMargin.text.clear();
    f.optimalHeatingOutletTemperature.text.clear();
    f.optimalHeatingFlow.text.clear();
    margin_.reset();
    optimum_.reset();
    lastRating_ = RatedFlows{heating, heated};
}

void Calculator::optimiseHeatingFlow() {
    CalcWindow& f = form();
    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    const int m = s.channelsPerPass, n = s.exchangerCount;
    const double channelArea = s.catalogue.channelArea[t];
    const double t1in = s.heatingInletTemp, t2in = s.heatedInletTemp;
    const double hotEnd = t1in - s.heatedOutletTemp;
    int counter = 0;
    s.heatTransferCoeff = startCoefficient;
    double previous = startCoefficient;
    double trialOutlet = 0, optimalFlow = 0;
    for (;;) {
        s.heatTransferCoeff = previous / 2 + s.heatTransferCoeff / 2;
        previous = s.heatTransferCoeff;
        ++counter;
        const double required = s.q / (s.surfaceArea * s.heatTransferCoeff * n);
        s.lmtd = required;

        // The cold-end difference whose mean with the hot end equals the required difference.
        if (required > hotEnd) {
            const ColdEndSearch found = searchColdEnd(
                static_cast<float>(required), differenceStep,
                [&](float coldEnd) { return hotEnd + std::log(coldEnd / hotEnd) * required; },
                maxDifferenceSteps, coldEndSteps_);
            coldEndSteps_ = found.steps;
            if (found.status != ColdEndSearch::Crossed) throw SizingStopped(messages::searchUnbounded);
            trialOutlet = found.r + t2in;
            if (trialOutlet > t1in) trialOutlet = t1in - 1;
        } else if (required == hotEnd) {
            trialOutlet = t2in + required;
        } else {
            const ColdEndSearch found = searchColdEnd(
                static_cast<float>(required), -differenceStep,
                [&](float coldEnd) { return hotEnd - required * std::log(hotEnd / coldEnd); },
                maxDifferenceSteps, coldEndSteps_);
            coldEndSteps_ = found.steps;
            if (found.status == ColdEndSearch::Unbounded) throw SizingStopped(messages::searchUnbounded);
            if (found.status == ColdEndSearch::BelowZero) {
                // An exchanger far larger than the load needs: stop here, with the losses of the
                // loss numbers at hand and no optimum to show.
                setPressureLosses(s);
                f.optimalHeatingOutletTemperature.text.clear();
                f.optimalHeatingFlow.text.clear();
                optimum_.reset();
                return;
            }
            trialOutlet = found.r + t2in;
        }

        // The heating medium at the mean of its inlet and the trial outlet.
        const float tm = static_cast<float>((trialOutlet + t1in) / 2);
        const MediumProperties heating = sideMedium(Side::Heating, tm);
        if (!isPhysical(heating)) throw SizingStopped(messages::waterOutOfRange);
        s.heatingVolHeatCapacity = heating.volHeatCapacity;
        s.heatingCp = heating.heatCapacity;

        optimalFlow = s.q / ((t1in - trialOutlet) * s.heatingVolHeatCapacity);
        s.optimalHeatingFlow = optimalFlow;
        s.heatingVelocity = static_cast<float>(optimalFlow / ((m - 1) * channelArea) / n);
        correlateHeatingSide(s, static_cast<float>(heating.viscosity), static_cast<float>(heating.prandtl),
                             static_cast<float>(heating.conductivity));

        s.heatTransferCoeff = overallCoefficient(s);
        if (iterationDone(previous, s.heatTransferCoeff, counter)) break;
    }
    setPressureLosses(s);
    optimum_ = OptimalHeatingFlow{optimalFlow * 1000 / s.kq2, trialOutlet};
    f.optimalHeatingOutletTemperature.text = format(trialOutlet, 1);
    f.optimalHeatingFlow.text = flowText(optimalFlow);
}

} // namespace kalvar
