#pragma once
// The cold-end difference search of the optimal heating flow: Δb, held as float, steps by
// ±0.001 K from a start until the mean-difference equation crosses it. Walking one step at a time
// costs a logarithm per step and, for large differences, hundreds of thousands of steps; this
// finds the same step directly.
#include <algorithm>
#include <functional>
#include <optional>

namespace kalvar {

struct ColdEndSearch {
    enum Status {
        Crossed,   // r < Δb at coldEnd
        BelowZero, // a falling Δb went below zero first
        Unbounded, // a step stopped changing Δb, or maxSteps were taken
    };
    Status status;
    float coldEnd; // Δb where the search ended
    double r;      // the equation's value there (when Crossed)
    long steps;    // steps taken from the start
};

// Δb after k steps from b, or nullopt when a step leaves it unchanged first (a falling walk may
// stop early at a negative value, since it ends there).
std::optional<float> advanceColdEnd(float b, double delta, long k);

// Steps b := float(b + delta) from `start`, at least once, until `equation(b) < b` (a falling
// search, delta < 0, ends as soon as b < 0). The result is the step a one-by-one walk ends on,
// provided equation(b) − b changes sign once along the walk, as the mean-difference equations do.
// `hint` is where the search looks first: the step count of a similar search saves most of the work.
template <typename Equation>
ColdEndSearch searchColdEnd(float start, double delta, const Equation& equation, long maxSteps,
                            long hint = 1) {
    // Whether the walk has ended by step k: crossed, below zero, or unable to go on. Along the
    // walk this turns from false to true once; the first step where it is true is the answer.
    // The walk goes on past step `known` (at Δb `knownB`): later steps are reached from there.
    long known = 0;
    float knownB = start;
    auto endedBy = [&](long k) {
        if (k > maxSteps) return true;
        const std::optional<float> b =
            k > known ? advanceColdEnd(knownB, delta, k - known) : advanceColdEnd(start, delta, k);
        if (!b) return true;
        if (delta < 0 && *b < 0) return true;
        if (equation(*b) < *b) return true;
        if (k > known) {
            known = k;
            knownB = *b;
        }
        return false;
    };

    // Gallop from the hint (or the first step) to a gap with the answer at its top, then halve it.
    long lo = 0, hi = 0;
    const long first = std::clamp(hint, 1L, maxSteps + 1);
    if (endedBy(first)) {
        hi = first;
        for (long step = 1; lo == 0 && hi > 1; step *= 2) {
            const long below = hi - step;
            if (below <= 0) break;
            if (endedBy(below))
                hi = below;
            else
                lo = below;
        }
    } else {
        lo = first;
        for (long step = 1;; step *= 2) {
            const long above = std::min(lo + step, maxSteps + 1);
            if (endedBy(above)) {
                hi = above;
                break;
            }
            lo = above;
        }
    }
    while (hi - lo > 1) {
        const long mid = lo + (hi - lo) / 2;
        if (endedBy(mid))
            hi = mid;
        else
            lo = mid;
    }
    // Step hi is the first by which the walk has ended: say how.
    if (hi > maxSteps) return {ColdEndSearch::Unbounded, start, 0, hi};
    const std::optional<float> b = advanceColdEnd(start, delta, hi);
    if (!b) return {ColdEndSearch::Unbounded, start, 0, hi};
    if (delta < 0 && *b < 0) return {ColdEndSearch::BelowZero, *b, 0, hi};
    return {ColdEndSearch::Crossed, *b, equation(*b), hi};
}

// The walk itself, one step at a time; kept as the reference the fast search is tested against.
ColdEndSearch walkColdEnd(float start, double delta, const std::function<double(float)>& equation,
                          long maxSteps);

} // namespace kalvar
