#pragma once
// What one calculation window shows after "Расчет", as numbers at the precision the calculation
// holds them (a float field widened to double, never rounded) and in the units the window shows
// them: a number formatted with its box's decimals gives the box's text. A quantity the
// calculation did not compute is empty, never a NaN.
#include <optional>
#include <string>

namespace kalvar {

// One medium's row of the flow table.
struct SideResults {
    double flow = 0;              // м3/ч or л/с, as the window's flow unit
    double inletTemperature = 0;  // °C
    double outletTemperature = 0; // °C
    double velocity = 0;          // in the channels, m/s
    double loss = 0;              // кПа or атм, as the window's pressure unit
    double pumpPower = 0;         // W
};

// The heating flow that transfers exactly the heat load through the exchanger found (sizing only).
struct OptimalHeatingFlow {
    double heatingFlow = 0;              // м3/ч or л/с
    double heatingOutletTemperature = 0; // °C
};

// Overall dimensions, mm; the series' rule writes some of them only.
struct Dimensions {
    double a = 0, b = 0, l = 0;
    std::optional<double> c, d, e, f;
};

// The pipe on one side that Form12 shows for this window.
struct PipeResults {
    int bore = 0;                   // mm
    std::optional<double> velocity; // m/s
};

struct ValveResults {
    double nominalDiameter = 0; // mm
    double flowCapacity = 0;    // Kvs, m3/h
};

// The section of a two-stage hot-water exchanger heated by the other circuits' return water.
struct SecondStageResults {
    int plateCount = 0;
    double heatingFlow = 0;     // the return water, м3/ч or л/с
    double heatingVelocity = 0; // in its channels, m/s
    double heatingLoss = 0;     // кПа, as its loss limit
    double lossLimit = 0;       // кПа
    std::optional<PipeResults> interstagePipe;
};

struct WindowResults {
    std::string designation; // "КM2-24/24"
    int series = 0;          // 1..5, the entry of the series list
    int plateCount = 0;
    int passes = 0;
    int unitsInParallel = 0;
    double heatLoad = 0;          // Гкал/ч or кВт
    double k = 0;                 // W/(m2*K)
    double surface = 0;           // shown surface, m2
    std::optional<double> margin; // % (sizing only)
    std::optional<double> weight; // kg
    std::optional<Dimensions> dimensions;
    SideResults heatingSide, heatedSide;
    double optimalHeatingVelocity = 0; // m/s: after a sizing at the optimal heating flow
    std::optional<OptimalHeatingFlow> optimal;
    std::string nozzleSize;           // "50 мм"; empty when the series has none
    double heatingNozzleVelocity = 0; // m/s, of the flows the exchanger carries
    double heatedNozzleVelocity = 0;  // m/s
    std::optional<PipeResults> heatingPipe, heatedPipe;
    std::optional<ValveResults> valve;
    std::optional<SecondStageResults> secondStage;
};

} // namespace kalvar
