#include "cold_end_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kalvar {

namespace {

float stepOnce(float b, double delta) {
    return static_cast<float>(b + delta);
}

// The power of two at the bottom of the binade of a positive normal float.
double binadeFloor(float b) {
    uint32_t bits = 0;
    std::memcpy(&bits, &b, sizeof bits);
    bits &= 0x7F800000u;
    float floor = 0;
    std::memcpy(&floor, &bits, sizeof floor);
    return floor;
}

// Δb after k steps from b, or nullopt when a step leaves it unchanged first. Within one binade of
// float a step moves Δb by the same multiple of the ulp, so runs of steps inside a binade are
// taken at once; steps near a binade's edge are taken one by one. A falling walk stops at the
// first negative value, since it ends there anyway.
} // namespace

std::optional<float> advanceColdEnd(float b, double delta, long k) {
    while (k > 0) {
        if (delta < 0 && b < 0) return b;
        const float next = stepOnce(b, delta);
        if (next == b) return std::nullopt;
        --k;
        if (k > 0 && b > 0 && next > 0 && std::isnormal(b)) {
            const double low = binadeFloor(b), high = 2 * low;
            const double step = static_cast<double>(next) - b;
            if (next >= low && next < high) {
                const double room = step < 0 ? next - low : high - next;
                const long inside = static_cast<long>(std::floor(room / std::fabs(step))) - 1;
                const long jump = std::min(k, std::max(0L, inside));
                b = static_cast<float>(next + jump * step);
                k -= jump;
                continue;
            }
        }
        b = next;
    }
    return b;
}

ColdEndSearch walkColdEnd(float start, double delta, const std::function<double(float)>& equation,
                          long maxSteps) {
    float b = start;
    for (long step = 1;; ++step) {
        const float next = stepOnce(b, delta);
        if (next == b || step > maxSteps) return {ColdEndSearch::Unbounded, b, 0, step};
        b = next;
        if (delta < 0 && b < 0) return {ColdEndSearch::BelowZero, b, 0, step};
        const double r = equation(b);
        if (r < b) return {ColdEndSearch::Crossed, b, r, step};
    }
}

} // namespace kalvar
