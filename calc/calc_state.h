#pragma once
// The calculation state the main window owns for the whole run. Field widths are those the
// calculation has always used: a float field keeps float precision wherever it is stored.
#include <cstdint>
#include <string>

#include "catalogue.h"

namespace kalvar {

struct CalcWindow;

// The eight heat-supply systems.
enum SystemKind : int16_t {
    hotWaterSystem = 1,
    heatingSystem = 2,
    ventilationSystem = 3,
    parallelScheme = 4,
    twoStageMixedScheme = 5,
    parallelThreeCircuits = 6,
    mixedThreeCircuits = 7,
    mixedWithParallelVentilation = 8,
};

// Plate list entries beyond the catalogue series 0..3.
inline constexpr int16_t fifthPlateEntry = 4;
inline constexpr int16_t autoPlateEntry = 5;
// The pass list entry that lets the search choose the passes.
inline constexpr int16_t autoPasses = 4;

struct CalcState {
    // Members the windows read and write directly.
    int16_t activePanelIndex = 0;
    float kq1 = 1163.2235f; // kW per display unit of heat flow
    float kq2 = 0.2777778f; // l/s per display unit of flow
    float v1 = 0;           // heating flow, m3/s
    float q = 0;            // heat flow, W
    float v2 = 0;           // heated flow, m3/s
    std::string seriesPrefix = "КM";
    CalcWindow* currentWindow = nullptr;

    // Inputs.
    double heatingInletTemp = 0, heatedInletTemp = 0, heatingOutletTemp = 0, heatedOutletTemp = 0; // °C
    double maxLossHeating = 0, maxLossHeated = 0;                                                  // kPa
    double maxValveLoss = 0;                                                                       // kPa
    double foulingResistance = 0;                                                                  // m²K/W

    // Layout and search state.
    int16_t systemKind = heatingSystem;
    int16_t plateTypeIndex = 0;
    int16_t passCount = 1;
    int16_t exchangerCount = 1;
    int16_t channelsPerPass = 0;
    int16_t platesPerPass = 0;
    float autoSelect = 0;
    float ignoreLimits = 0;
    float autoMaxTypeIndex = 2.0f;
    int16_t passScanLow = 1, passScanHigh = 3;
    int16_t passAbandoned = 0;
    float passScores[4] = {0, 0, 0, 0};
    float heatingFlowDesign = 0; // V1 of the heat balance, kept for the output step
    int16_t correlationSide = 1;

    // Exchanger results.
    double heatTransferCoeff = 0;           // k, W/(m²K)
    double lmtd = 0;                        // K
    double surfaceArea = 0;                 // m²
    double calcHeatFlow = 0;                // W
    double heatingLoss = 0, heatedLoss = 0; // kPa
    double wallConductivity = 62.9;         // W/(mK)
    double optimalHeatingFlow = 0;          // m3/s

    // Channel results per side.
    float heatingVelocity = 0, heatedVelocity = 0;
    float heatingRe = 0, heatedRe = 0;
    float heatingNu = 0, heatedNu = 0;
    float heatingAlpha = 0, heatedAlpha = 0;
    float heatingLossNumber = 0, heatedLossNumber = 0;

    // Media properties per side.
    double heatingDensity = 0, heatedDensity = 0;
    float heatingViscosity = 0;
    double heatedViscosity = 0;
    double heatingVolHeatCapacity = 0, heatedVolHeatCapacity = 0;
    double heatingCp = 0, heatedCp = 0;
    float heatingConductivity = 0, heatedConductivity = 0;
    float heatingPrandtl = 0;
    double heatedPrandtl = 0;

    Catalogue catalogue;

    // Plate type last used per window (the hot-water and heating ones start empty, reading as 0).
    int16_t hotWaterLastType = 0, heatingLastType = 0, ventLastType = 0;

    // Control valve and pipe results of the output step.
    double valveKv = 0;
    float valveKvs = 0;
    float valveBore = 0;
    double heatingPipeBore = 0, heatedPipeBore = 0;

    std::string workDir;
    // The installed data folder: pass drawings missing from workDir are looked for here.
    std::string dataDir;
};

} // namespace kalvar
