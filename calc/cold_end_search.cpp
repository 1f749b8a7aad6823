#include "cold_end_search.h"

#include <cmath>
#include <optional>

namespace kalvar {

namespace {

float stepOnce(float b, double delta) {
    return static_cast<float>(b + delta);
}

// Δb after k steps from b, or nullopt when a step leaves it unchanged first. Within one binade of
// float a step moves Δb by the same multiple of the ulp, so runs of steps inside a binade are
// taken at once; steps near a binade's edge are taken one by one. A falling walk stops at the
// first negative value, since it ends there anyway.
std::optional<float> advance(float b, double delta, long k) {
    while (k > 0) {
        if (delta < 0 && b < 0) return b;
        const float next = stepOnce(b, delta);
        if (next == b) return std::nullopt;
        --k;
        if (k > 0 && b > 0 && next > 0) {
            int exponent = 0;
            std::frexp(b, &exponent);
            const double low = std::ldexp(1.0, exponent - 1), high = std::ldexp(1.0, exponent);
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

} // namespace

ColdEndSearch walkColdEnd(float start, double delta, const std::function<double(float)>& equation,
                          long maxSteps) {
    float b = start;
    for (long step = 1;; ++step) {
        const float next = stepOnce(b, delta);
        if (next == b || step > maxSteps) return {ColdEndSearch::Unbounded, b, 0};
        b = next;
        if (delta < 0 && b < 0) return {ColdEndSearch::BelowZero, b, 0};
        const double r = equation(b);
        if (r < b) return {ColdEndSearch::Crossed, b, r};
    }
}

ColdEndSearch searchColdEnd(float start, double delta, const std::function<double(float)>& equation,
                            long maxSteps) {
    // Whether the walk has ended by step k: crossed, below zero, or unable to go on.
    auto endedBy = [&](float from, long stepsFromThere, long k, float& at) {
        if (k > maxSteps) return true;
        const std::optional<float> b = advance(from, delta, stepsFromThere);
        if (!b) return true;
        at = *b;
        if (delta < 0 && at < 0) return true;
        return equation(at) < at;
    };

    // Gallop to a step by which the walk has ended, then halve the gap to the first such step.
    long lo = 0, hi = 1;
    float bLo = start, probe = start;
    while (!endedBy(bLo, hi - lo, hi, probe)) {
        lo = hi;
        bLo = probe;
        hi = std::min(hi * 2, maxSteps + 1);
    }
    while (hi - lo > 1) {
        const long mid = lo + (hi - lo) / 2;
        if (endedBy(bLo, mid - lo, mid, probe)) {
            hi = mid;
        } else {
            lo = mid;
            bLo = probe;
        }
    }
    // Step hi is the first by which the walk has ended: say how.
    if (hi > maxSteps) return {ColdEndSearch::Unbounded, bLo, 0};
    const std::optional<float> b = advance(bLo, delta, hi - lo);
    if (!b) return {ColdEndSearch::Unbounded, bLo, 0};
    if (delta < 0 && *b < 0) return {ColdEndSearch::BelowZero, *b, 0};
    return {ColdEndSearch::Crossed, *b, equation(*b)};
}

} // namespace kalvar
