#include <cmath>
#include <cstdio>
#include <random>

#include <gtest/gtest.h>

#include "number_text.h"

using kalvar::formatNumber;
using kalvar::readNumber;

TEST(ReadNumber, TakesTheLeadingNumberWithCommaOrPoint) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"0,5", 0.5}, {"0.5", 0.5}, {"abc", 0}, {"", 0},    {"  12,5 кВт", 12.5}, {"1e3", 1000},
                 {"1e", 1},    {".5", 0.5},  {"5.", 5},  {"-3", -3}, {"1,2,3", 1.2},       {"+", 0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(readNumber(c.text), c.value) << c.text;
}

TEST(ReadNumber, TooLargeANumberReadsAsInfinity) {
    EXPECT_TRUE(std::isinf(readNumber("1e400")));
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheExactValue) {
    struct Case {
        double x;
        int decimals;
        const char* text;
    } cases[] = {{0.125, 2, "0.13"},
                 {2.5, 0, "3"},
                 {-2.5, 0, "-3"},
                 {2.675, 2, "2.67"},
                 {8.5, 0, "9"},
                 {0.57, 2, "0.57"},
                 {9.9996, 3, "10.000"},
                 {1163.2235, 4, "1163.2235"},
                 {0, 1, "0.0"},
                 {-0.001, 2, "-0.00"},
                 {1e20, 0, "100000000000000000000"}};
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.x, c.decimals), c.text) << c.x;
}

TEST(FormatNumber, UsesTheGivenSeparatorAndRefusesNonFinite) {
    EXPECT_EQ(formatNumber(1.5, 3, ","), "1,500");
    const long before = kalvar::nonFiniteWrites();
    EXPECT_EQ(formatNumber(std::nan(""), 2), "");
    EXPECT_EQ(kalvar::nonFiniteWrites(), before + 1);
}

namespace {

// Rounding half away from zero on the exact value, by reading the exact decimal expansion.
std::string exactReference(double x, int decimals) {
    char buffer[1200];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals + 400, std::fabs(x));
    std::string printed(buffer);
    const size_t point = printed.find('.');
    std::string kept = printed.substr(0, point) + printed.substr(point + 1, static_cast<size_t>(decimals));
    if (printed[point + 1 + static_cast<size_t>(decimals)] >= '5') {
        int k = static_cast<int>(kept.size()) - 1;
        while (k >= 0 && kept[static_cast<size_t>(k)] == '9')
            kept[static_cast<size_t>(k--)] = '0';
        if (k < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<size_t>(k)];
    }
    std::string out = kept.substr(0, kept.size() - static_cast<size_t>(decimals));
    if (decimals > 0) out += "." + kept.substr(kept.size() - static_cast<size_t>(decimals));
    return (x < 0 ? "-" : "") + out;
}

} // namespace

TEST(FormatNumber, AgreesWithTheExactExpansionNearAndFarFromTies) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> magnitudes(-8, 12);
    std::uniform_int_distribution<int> patterns(0, 6);
    for (int i = 0; i < 20000; ++i) {
        const int decimals = patterns(random);
        double x = std::pow(10.0, magnitudes(random));
        // Every other value sits on or next to a tie of its pattern.
        if (i % 2) {
            const double tie = (std::floor(x * std::pow(10.0, decimals)) + 0.5) / std::pow(10.0, decimals);
            x = i % 4 == 1 ? tie : std::nextafter(tie, i % 8 == 3 ? 0.0 : 1e300);
        }
        if (i % 3 == 0) x = -x;
        ASSERT_EQ(formatNumber(x, decimals), exactReference(x, decimals)) << x << " " << decimals;
    }
}
