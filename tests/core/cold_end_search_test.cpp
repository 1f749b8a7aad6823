// The fast cold-end search must end on exactly the step the one-by-one walk ends on.
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "cold_end_search.h"

using kalvar::ColdEndSearch;
using kalvar::searchColdEnd;
using kalvar::walkColdEnd;

namespace {

void expectSameEnd(float start, double delta, const std::function<double(float)>& equation, long maxSteps) {
    const ColdEndSearch walked = walkColdEnd(start, delta, equation, maxSteps);
    // Whatever the hint, the search ends where the walk does.
    for (long hint : {1L, walked.steps, walked.steps / 3 + 1, walked.steps * 5 + 7}) {
        const ColdEndSearch found = searchColdEnd(start, delta, equation, maxSteps, hint);
        ASSERT_EQ(found.status, walked.status) << start << " " << delta << " hint " << hint;
        if (walked.status == ColdEndSearch::Unbounded) continue;
        ASSERT_EQ(found.coldEnd, walked.coldEnd) << start << " " << delta << " hint " << hint;
        ASSERT_EQ(found.r, walked.r) << start << " " << delta << " hint " << hint;
        ASSERT_EQ(found.steps, walked.steps);
    }
}

} // namespace

TEST(ColdEndSearch, EndsWhereTheWalkEndsForFallingAndRisingDifferences) {
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> hotEnds(0.2, 190), ratios(0.02, 1.0), above(1.0, 3.0);
    for (int i = 0; i < 400; ++i) {
        const double hotEnd = hotEnds(random);
        const double falling = hotEnd * ratios(random);
        expectSameEnd(
            static_cast<float>(falling), -0.001,
            [&](float b) { return hotEnd - falling * std::log(hotEnd / b); }, 20'000'000);
        const double rising = hotEnd * above(random);
        expectSameEnd(
            static_cast<float>(rising), 0.001,
            [&](float b) { return hotEnd + std::log(b / hotEnd) * rising; }, 20'000'000);
    }
}

TEST(ColdEndSearch, FarTooLargeAnExchangerGoesBelowZero) {
    // A required difference so small that no positive cold end satisfies the equation.
    const double hotEnd = 40, required = 0.05;
    const auto result = searchColdEnd(
        static_cast<float>(required), -0.001,
        [&](float b) { return hotEnd - required * std::log(hotEnd / b); }, 1000);
    EXPECT_EQ(result.status, ColdEndSearch::BelowZero);
    expectSameEnd(
        static_cast<float>(required), -0.001,
        [&](float b) { return hotEnd - required * std::log(hotEnd / b); }, 1000);
}

TEST(ColdEndSearch, AStepThatNoLongerMovesOrTooManyStepsAreUnbounded) {
    // Above 32768 K a step of 0.001 K no longer changes a float.
    const auto stuck = searchColdEnd(
        40000.0f, 0.001, [](float) { return 1e9; }, 20'000'000);
    EXPECT_EQ(stuck.status, ColdEndSearch::Unbounded);
    expectSameEnd(
        30000.0f, 0.001, [](float) { return 1e9; }, 20'000'000);
    const auto capped = searchColdEnd(
        10.0f, 0.001, [](float) { return 1e9; }, 500);
    EXPECT_EQ(capped.status, ColdEndSearch::Unbounded);
    expectSameEnd(
        10.0f, 0.001, [](float) { return 1e9; }, 500);
}
