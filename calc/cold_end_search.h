#pragma once
// The cold-end difference search of the optimal heating flow: Δb, held as float, steps by
// ±0.001 K from a start until the mean-difference equation crosses it. Walking one step at a time
// costs a logarithm per step and, for large differences, hundreds of thousands of steps; this
// finds the same step directly.
#include <functional>

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

// Steps b := float(b + delta) from `start`, at least once, until `equation(b) < b` (a falling
// search, delta < 0, ends as soon as b < 0). The result is the step a one-by-one walk ends on,
// provided equation(b) − b changes sign once along the walk, as the mean-difference equations do.
// `hint` is where the search looks first: the step count of a similar search saves most of the work.
ColdEndSearch searchColdEnd(float start, double delta, const std::function<double(float)>& equation,
                            long maxSteps, long hint = 1);

// The walk itself, one step at a time; kept as the reference the fast search is tested against.
ColdEndSearch walkColdEnd(float start, double delta, const std::function<double(float)>& equation,
                          long maxSteps);

} // namespace kalvar
