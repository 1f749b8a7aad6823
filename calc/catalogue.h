#pragma once
// The four plate series: geometry for the correlations, nozzle size, frame limit, and the rules
// that turn a plate count into weight and overall dimensions.
#include <array>
#include <cstdint>
#include <string>

namespace kalvar {

inline constexpr int catalogueSeriesCount = 4;

// One series as the catalogue lists it.
struct PlateSeries {
    double plateArea;          // heat-transfer area of one plate, m²
    double channelLength;      // flow length of a channel for pressure loss, m
    double equivalentDiameter; // d_e, m
    double channelArea;        // cross-section of one channel, m²
    double plateThickness;     // δ, m
    float nozzleDiameter;      // inner diameter of the connections, m
    int16_t plateLimit;        // largest 2m the frame takes
};

inline constexpr PlateSeries plateSeries[catalogueSeriesCount] = {
    {0.025, 0.238, 0.0025, 0.000127, 0.0005, 0.0254f, 69},
    {0.06, 0.317, 0.00247, 0.0002086, 0.0005, 0.05f, 119},
    {0.14, 0.56, 0.00325, 0.000443, 0.0007, 0.08f, 129},
    {0.215, 0.737, 0.00297, 0.0004273, 0.0006, 0.08f, 199},
};

// The catalogue arrays of the calculation state: five slots, the fifth without data.
struct Catalogue {
    std::array<double, 5> plateArea{};
    std::array<double, 5> channelLength{};
    std::array<double, 5> equivalentDiameter{};
    std::array<double, 5> channelArea{};
    std::array<double, 5> plateThickness{};
    std::array<float, 5> nozzleDiameter{};
};

// Fills the arrays from the series table.
void loadCatalogue(Catalogue& catalogue);

// True when a plate type index has catalogue data (0..3).
inline bool hasCatalogueData(int typeIndex) {
    return typeIndex >= 0 && typeIndex < catalogueSeriesCount;
}

// True when 2m is more than the frame of the series takes.
bool exceedsPlateLimit(int typeIndex, int platesPerPass);

inline constexpr double nozzleVelocityLimit = 4.0; // m/s

// Weight and dimension texts of one exchanger.
struct WeightAndDimensions {
    bool written = false;
    std::string weight;     // Text29
    std::string weight57;   // Text57, or empty when not written
    std::string dimensionA; // Text50
    std::string lengthL;    // Text56
    std::string flange;     // Text58
    std::string dimensionB; // Text52
    std::string dimensionC; // Text45, empty when not written
    std::string text46;     // Text46, empty when not written
    std::string dimensionE; // Text48, empty when not written
    std::string dimensionF; // Text51, empty when not written
    // The computed ones as numbers, before they are written as whole numbers.
    double weightKg = 0, dimensionAMm = 0, lengthLMm = 0;
};

// For an ordinary exchanger of n plates in total and z passes.
WeightAndDimensions exchangerWeightAndDimensions(int typeIndex, int totalPlates, int passes);
// For the two sections of a two-stage hot-water exchanger with n plates together.
WeightAndDimensions twoStageWeightAndDimensions(int typeIndex, int totalPlates);

} // namespace kalvar
