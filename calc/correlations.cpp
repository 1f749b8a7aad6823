#include "correlations.h"

#include <algorithm>
#include <cmath>

namespace kalvar {

namespace {

// ξ = (a·m + b) · c · Re^reExp · Pr^prExp when a ≠ 0, else c · Re^reExp · Pr^prExp;
// Nu = (d/m + e) · f · Re^g · Pr^h when d ≠ 0, else f · Re^g · Pr^h.
struct CorrelationRow {
    double lossPerChannel, lossBase, lossFactor, lossReExp, lossPrExp;
    double nuPerInverseChannel, nuBase, nuFactor, nuReExp, nuPrExp;
};

// Rows by series (0..3), side (0 heating, 1 heated) and passes (0 single, 1 several).
constexpr CorrelationRow correlationRows[4][2][2] = {
    {{{0, 0, 1.008e-5, 1.98, 1.77783, 0, 0, 0.2732, 0.622, 0.33},
      {0, 0, 8.12e-6, 1.98, 1.77783, 0, 0, 0.2808, 0.617, 0.331}},
     {{0, 0, 8.4e-6, 1.98, 1.77783, 0, 0, 0.2732, 0.622, 0.33},
      {0, 0, 8.288e-6, 1.98, 1.77783, 0, 0, 0.2808, 0.617, 0.331}}},
    {{{0, 0, 1.3014e-5, 1.785, 1.859, 0, 0, 0.3454, 0.575, 0.34},
      {0, 0, 1.3978e-5, 1.785, 1.859, 0, 0, 0.3597, 0.575, 0.28}},
     {{0.1, 472, 2.7e-8, 1.8, 1.887, 0, 0, 0.3454, 0.575, 0.34},
      {0.1, 472, 2.9e-8, 1.8, 1.887, 0, 0, 0.3597, 0.575, 0.28}}},
    {{{0, 0, 5.543e-6, 1.785, 1.859, 0, 0, 0.3678, 0.575, 0.34},
      {0, 0, 5.784e-6, 1.785, 1.859, 0, 0, 0.4007, 0.575, 0.28}},
     {{0.1, 472, 1.15e-8, 1.8, 1.887, 0, 0, 0.3678, 0.575, 0.34},
      {0.1, 472, 1.2e-8, 1.8, 1.887, 0, 0, 0.4007, 0.575, 0.28}}},
    {{{0, 0, 4.82e-6, 1.785, 1.859, 0, 0, 0.2658, 0.6221362, 0.35},
      {0, 0, 4.82e-6, 1.785, 1.859, 70, 2715, 0.0001, 0.6221362, 0.33}},
     {{0.1, 472, 1e-8, 1.8, 1.887, 0, 0, 0.2658, 0.6221362, 0.35},
      {0.1, 472, 1e-8, 1.8, 1.887, 70, 2715, 0.0001, 0.6221362, 0.33}}},
};

} // namespace

ChannelResult channelCorrelation(const CalcState& s, float w, float nu, float pr, float lambda,
                                 const ChannelResult& previous) {
    const int type = s.plateTypeIndex;
    const double de = s.catalogue.equivalentDiameter[static_cast<size_t>(hasCatalogueData(type) ? type : 4)];
    ChannelResult r = previous;
    r.re = static_cast<float>(de * w / nu);
    if (hasCatalogueData(type)) {
        const CorrelationRow& row =
            correlationRows[type][s.correlationSide == 2 ? 1 : 0][s.passCount == 1 ? 0 : 1];
        const double m = s.channelsPerPass;
        const double re = r.re, prd = pr;
        // Products are taken left to right, as the correlations are written.
        const double lossFactor = row.lossPerChannel != 0
                                      ? (row.lossPerChannel * m + row.lossBase) * row.lossFactor
                                      : row.lossFactor;
        const double loss = lossFactor * std::pow(re, row.lossReExp) * std::pow(prd, row.lossPrExp);
        const double nuFactor = row.nuPerInverseChannel != 0
                                    ? (row.nuPerInverseChannel / m + row.nuBase) * row.nuFactor
                                    : row.nuFactor;
        const double nusselt = nuFactor * std::pow(re, row.nuReExp) * std::pow(prd, row.nuPrExp);
        r.lossNumber = static_cast<float>(loss);
        r.nu = static_cast<float>(nusselt);
    }
    r.alpha = static_cast<float>(lambda * static_cast<double>(r.nu) / de);
    return r;
}

void correlateHeatedSide(CalcState& s) {
    const ChannelResult previous{s.heatedAlpha, s.heatedRe, s.heatedLossNumber, s.heatedNu};
    s.correlationSide = 2;
    const ChannelResult r =
        channelCorrelation(s, s.heatedVelocity, static_cast<float>(s.heatedViscosity),
                           static_cast<float>(s.heatedPrandtl), s.heatedConductivity, previous);
    s.heatedAlpha = r.alpha;
    s.heatedRe = r.re;
    s.heatedLossNumber = r.lossNumber;
    s.heatedNu = r.nu;
}

void correlateHeatingSide(CalcState& s, float nu, float pr, float lambda) {
    const ChannelResult previous{s.heatingAlpha, s.heatingRe, s.heatingLossNumber, s.heatingNu};
    s.correlationSide = 1;
    const ChannelResult r = channelCorrelation(s, s.heatingVelocity, nu, pr, lambda, previous);
    s.heatingAlpha = r.alpha;
    s.heatingRe = r.re;
    s.heatingLossNumber = r.lossNumber;
    s.heatingNu = r.nu;
}

double exchangerSurface(const CalcState& s, bool withSeriesOneFactor) {
    const double plateArea = s.catalogue.plateArea[static_cast<size_t>(s.plateTypeIndex)];
    double f = plateArea * s.passCount * (s.channelsPerPass - 1) * 2;
    if (withSeriesOneFactor && s.plateTypeIndex == 0 && s.passCount == 2) f = f * 1.054;
    return f;
}

double overallCoefficient(const CalcState& s) {
    const double delta = s.catalogue.plateThickness[static_cast<size_t>(s.plateTypeIndex)];
    return 1 / (1 / static_cast<double>(s.heatedAlpha) +
                (delta / s.wallConductivity +
                 (0.47 * s.foulingResistance + 1 / static_cast<double>(s.heatingAlpha))));
}

double meanTemperatureDifference(double hotEnd, double coldEnd) {
    if (coldEnd > hotEnd || coldEnd < hotEnd) return (hotEnd - coldEnd) / std::log(hotEnd / coldEnd);
    return coldEnd;
}

std::optional<double> meanTemperatureDifferenceOfEnds(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    if (a == b) return a;
    // The larger end first, so that the ratio of the logarithm is above 1.
    const double larger = std::max(a, b), smaller = std::min(a, b);
    const double ratio = larger / smaller;
    if (!std::isfinite(ratio) || ratio <= 0) return std::nullopt;
    const double value = meanTemperatureDifference(larger, smaller);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

double pressureLoss(const CalcState& s, float lossNumber, int passes) {
    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    return lossNumber * (s.catalogue.channelLength[t] * passes / s.catalogue.equivalentDiameter[t]) / 1000;
}

double nozzleVelocity(double flow, float diameter, int exchangers) {
    const double d = diameter;
    return 4 * flow / (d * d) / 3.1416 / exchangers;
}

double pipeVelocity(double flow, double boreMm) {
    return 4000000 * (flow / 3.1416) / boreMm / boreMm;
}

} // namespace kalvar
