#include <cmath>

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
