#include "media.h"

#include <cmath>
#include <initializer_list>

namespace kalvar {

MediumProperties waterProperties(float tf) {
    const double t = tf;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t, t5 = t4 * t;
    MediumProperties p{};
    p.density =
        1001.37102 - 0.18338 * t - 0.000683948 * t2 - 0.0000290502 * t3 + 1.45068e-7 * t4 - 2.31169e-10 * t5;
    p.viscosity = (1.76764 - 0.05177 * t + 0.000800965 * t2 - 5.98494e-6 * t3 + 1.67612e-8 * t4) * 1e-6;
    p.volHeatCapacity = (4.23825 - 0.00331 * t + 0.0000352307 * t2 - 2.16299e-7 * t3) * 1000000;
    p.heatCapacity = p.volHeatCapacity / p.density;
    p.conductivity = 0.54157 + 0.00303 * t - 0.0000212078 * t2 + 4.90526e-8 * t3;
    p.prandtl = 13.04883 - 0.40964 * t + 0.00639 * t2 - 0.0000474596 * t3 + 1.32131e-7 * t4;
    return p;
}

MediumProperties customMediumProperties(double cp, double density, double mu, double conductivity) {
    MediumProperties p{};
    p.density = density;
    p.heatCapacity = cp;
    p.conductivity = conductivity;
    p.viscosity = (mu / 1000) / density;
    p.volHeatCapacity = cp * density;
    p.prandtl = p.viscosity * cp * density / conductivity;
    return p;
}

bool isPhysical(const MediumProperties& p) {
    for (double v : {p.density, p.viscosity, p.volHeatCapacity, p.heatCapacity, p.conductivity, p.prandtl})
        if (!std::isfinite(v) || v <= 0) return false;
    // The correlations take ν, λ and Pr as float; they must stay positive there too.
    for (double v : {p.viscosity, p.conductivity, p.prandtl})
        if (!(static_cast<float>(v) > 0) || !std::isfinite(static_cast<float>(v))) return false;
    return true;
}

} // namespace kalvar
