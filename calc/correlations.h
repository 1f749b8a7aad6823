#pragma once
// The physics of one exchanger: the channel correlation of each plate series, side and pass
// arrangement, and the exchanger-level equations (surface, k, mean temperature difference, heat
// flow, pressure losses, velocities).
#include <optional>

#include "calc_state.h"

namespace kalvar {

// Outputs of one channel correlation call.
struct ChannelResult {
    float alpha;      // heat-transfer coefficient α = λ · Nu / d_e, W/(m²K)
    float re;         // Reynolds number Re = d_e · w / ν
    float lossNumber; // ξ, Pa per channel length of one equivalent diameter
    float nu;         // Nusselt number
};

// Correlation of the side named by state.correlationSide for the current series, passes and
// channels per pass. w m/s, nu m²/s, pr –, lambda W/(m K). For a series without data ξ and Nu keep
// the values `previous` holds (the side's stored numbers).
ChannelResult channelCorrelation(const CalcState& s, float w, float nu, float pr, float lambda,
                                 const ChannelResult& previous);

// Runs the correlation for one side and stores its results in that side's fields.
void correlateHeatedSide(CalcState& s); // with heatedVelocity and the heated medium
void correlateHeatingSide(CalcState& s, float nu, float pr, float lambda); // with heatingVelocity

// Heat-transfer surface of one exchanger: F = plate area · z · (m − 1) · 2; the first series with
// two passes gains 5.4 %.
double exchangerSurface(const CalcState& s, bool withSeriesOneFactor = true);

// Overall coefficient k = 1 / (1/α2 + (δ/λw + (0.47·R + 1/α1))), W/(m²K).
double overallCoefficient(const CalcState& s);

// Counter-current mean temperature difference of the end differences Δa and Δb, K.
double meanTemperatureDifference(double hotEnd, double coldEnd);
// The same of two end differences read from a window, K: none when either is not a number or
// they differ in sign.
std::optional<double> meanTemperatureDifferenceOfEnds(double a, double b);

// Pressure loss of one side, kPa: ξ · (L · z / d_e) / 1000.
double pressureLoss(const CalcState& s, float lossNumber, int passes);

// Velocity in a nozzle of diameter d (m) for flow V (m³/s) over N exchangers: 4·V/d²/3.1416/N.
double nozzleVelocity(double flow, float diameter, int exchangers);

// Velocity in a pipe of bore D mm for flow V m³/s: 4000000·(V/3.1416)/D/D.
double pipeVelocity(double flow, double boreMm);

} // namespace kalvar
