#pragma once
// Properties of the media on either side of an exchanger: water from fixed polynomials in the
// temperature, or a user-defined medium with four constant values.
namespace kalvar {

// Properties of one medium at one temperature, in double as the polynomials give them.
struct MediumProperties {
    double density;         // ρ, kg/m³
    double viscosity;       // ν, m²/s
    double volHeatCapacity; // ρc, J/(m³K)
    double heatCapacity;    // cp, J/(kg K)
    double conductivity;    // λ, W/(m K)
    double prandtl;         // Pr
};

// Water at t °C. Meant for liquid water; used at whatever temperature the task gives.
MediumProperties waterProperties(float t);

// A user-defined medium: cp J/(kg K), ρ kg/m³, μ mPa·s, λ W/(m K).
MediumProperties customMediumProperties(double cp, double density, double dynamicViscosityMPaS,
                                        double conductivity);

// True when every property is finite and positive, so the correlations stay defined.
bool isPhysical(const MediumProperties& p);

} // namespace kalvar
