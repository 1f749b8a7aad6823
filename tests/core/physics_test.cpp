// Media, catalogue and the channel and exchanger equations against handbook values.
#include <cmath>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "catalogue.h"
#include "correlations.h"
#include "media.h"

using namespace kalvar;

TEST(Water, PropertiesAtTwentyAndHundredDegrees) {
    const MediumProperties at20 = waterProperties(20);
    EXPECT_NEAR(at20.density, 997.2, 0.1);
    EXPECT_NEAR(at20.viscosity, 1.007e-6, 0.002e-6);
    EXPECT_NEAR(at20.heatCapacity, 4196, 1);
    EXPECT_NEAR(at20.conductivity, 0.594, 0.001);
    EXPECT_NEAR(at20.prandtl, 7.05, 0.01);
    const MediumProperties at100 = waterProperties(100);
    EXPECT_NEAR(at100.density, 959.3, 0.1);
    EXPECT_NEAR(at100.viscosity, 2.915e-7, 0.002e-7);
    EXPECT_NEAR(at100.prandtl, 1.738, 0.001);
}

TEST(CustomMedium, DerivesViscosityAndPrandtlAndRefusesZeros) {
    const MediumProperties p = customMediumProperties(4190, 1000, 1, 0.6);
    EXPECT_DOUBLE_EQ(p.viscosity, 1e-6);
    EXPECT_NEAR(p.prandtl, 6.98, 0.01);
    EXPECT_TRUE(isPhysical(p));
    EXPECT_FALSE(isPhysical(customMediumProperties(4190, 1000, 1, 0)));
    EXPECT_FALSE(isPhysical(customMediumProperties(4190, 0, 1, 0.6)));
    EXPECT_FALSE(isPhysical(customMediumProperties(0, 1000, 1, 0.6)));
    EXPECT_FALSE(isPhysical(customMediumProperties(4190, 1000, -1, 0.6)));
}

TEST(Catalogue, PlateCountLimitPerSeries) {
    struct Case {
        int type, platesPerPass;
        bool refused;
    } cases[] = {{0, 68, false},  {0, 70, true},  {1, 118, false}, {1, 120, true},
                 {2, 128, false}, {2, 130, true}, {3, 198, false}, {3, 200, true}};
    for (const Case& c : cases)
        EXPECT_EQ(exceedsPlateLimit(c.type, c.platesPerPass), c.refused) << c.type;
}

TEST(Catalogue, WeightAndDimensions) {
    const WeightAndDimensions four = exchangerWeightAndDimensions(3, 40, 2);
    EXPECT_EQ(four.weight, "726");
    EXPECT_EQ(four.weight57, "726");
    EXPECT_EQ(four.dimensionA, "340");
    EXPECT_EQ(four.lengthL, "440");
    EXPECT_EQ(four.dimensionC, ""); // not written for the fourth series
    const WeightAndDimensions one = exchangerWeightAndDimensions(0, 48, 2);
    EXPECT_EQ(one.weight, "26");
    EXPECT_EQ(one.dimensionA, "125"); // 124.8
    EXPECT_EQ(one.flange, "1 дюйм");
    EXPECT_EQ(one.weight57, "");
    const WeightAndDimensions twoStage = twoStageWeightAndDimensions(3, 50);
    EXPECT_EQ(twoStage.weight, "660");
    EXPECT_EQ(twoStage.dimensionA, "213"); // 212.5 rounds away from zero
    EXPECT_EQ(twoStage.lengthL, "273");
    EXPECT_EQ(twoStage.dimensionB, "170");
    EXPECT_FALSE(exchangerWeightAndDimensions(4, 40, 2).written);
    // The second series' whole-millimetre dimensions do not wrap past a 16-bit integer.
    const WeightAndDimensions large = exchangerWeightAndDimensions(1, 12000, 1);
    EXPECT_EQ(large.dimensionA, "36000");
    EXPECT_EQ(large.lengthL, "36040");
}

class ExchangerEquations : public ::testing::Test {
  protected:
    void SetUp() override { loadCatalogue(s.catalogue); }
    CalcState s;
};

TEST_F(ExchangerEquations, ReynoldsAndSeriesFourMultiPassNusselt) {
    s.plateTypeIndex = 0;
    s.correlationSide = 2;
    s.passCount = 1;
    s.channelsPerPass = 10;
    EXPECT_FLOAT_EQ(channelCorrelation(s, 0.5f, 1e-6f, 7, 0.6f, {}).re, 1250.0f);

    s.plateTypeIndex = 3;
    s.passCount = 2;
    const ChannelResult r = channelCorrelation(s, 0.5f, 1e-6f, 7, 0.6f, {});
    const double expectedNu = 0.2722 * std::pow(static_cast<double>(r.re), 0.6221362) * std::pow(7.0, 0.33);
    EXPECT_NEAR(r.nu, expectedNu, expectedNu * 1e-6);
    EXPECT_FLOAT_EQ(r.alpha, static_cast<float>(0.6f * static_cast<double>(r.nu) / 0.00297));
}

TEST_F(ExchangerEquations, ASeriesWithoutDataKeepsTheLossNumberAndNusselt) {
    s.plateTypeIndex = 4;
    const ChannelResult previous{1, 2, 3, 4};
    const ChannelResult r = channelCorrelation(s, 0.5f, 1e-6f, 7, 0.6f, previous);
    EXPECT_EQ(r.lossNumber, 3);
    EXPECT_EQ(r.nu, 4);
}

TEST_F(ExchangerEquations, SurfaceOfTheFirstSeriesWithTwoPasses) {
    s.plateTypeIndex = 0;
    s.passCount = 2;
    s.channelsPerPass = 20;
    EXPECT_NEAR(exchangerSurface(s), 2.0026, 1e-12);
    EXPECT_NEAR(exchangerSurface(s, false), 1.9, 1e-12);
}

TEST_F(ExchangerEquations, CoefficientTendsToTheWallTermAndLmtdOfEqualEnds) {
    s.plateTypeIndex = 0;
    s.heatingAlpha = s.heatedAlpha = 1e30f;
    s.foulingResistance = 0;
    EXPECT_NEAR(overallCoefficient(s), 125800, 1e-6);
    EXPECT_DOUBLE_EQ(meanTemperatureDifference(10, 10), 10);
    EXPECT_NEAR(meanTemperatureDifference(20, 10), 10 / std::log(2.0), 1e-12);
}

// The report's mean difference of two ends read from a window: either order gives the same
// number, and ends that make no exchanger (a sign change, a zero end, a missing number) give none.
TEST(MeanTemperatureDifferenceOfEnds, EitherOrderOrNoneForEndsThatMakeNoExchanger) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double a, b;
        std::optional<double> expected;
    };
    for (const Case& c : std::initializer_list<Case>{{20, 10, 10 / std::log(2.0)},
                                                     {10, 20, 10 / std::log(2.0)},
                                                     {7.5, 7.5, 7.5},
                                                     {20, -10, std::nullopt},
                                                     {20, 0, std::nullopt},
                                                     {0, 20, std::nullopt},
                                                     {nan, 10, std::nullopt},
                                                     {10, inf, std::nullopt}}) {
        const std::optional<double> got = meanTemperatureDifferenceOfEnds(c.a, c.b);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.a << " " << c.b;
        if (got) {
            EXPECT_NEAR(*got, *c.expected, 1e-12) << c.a << " " << c.b;
        }
    }
    // The report and the sizing agree to the last bit with the larger end first.
    EXPECT_EQ(meanTemperatureDifferenceOfEnds(13.7, 31.1), meanTemperatureDifference(31.1, 13.7));
}
