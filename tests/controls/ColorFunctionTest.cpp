#include "ZuTestSupport.h"

using namespace zu;
using namespace zutest;

namespace {

struct AmountCase {
    uint32_t colour;
    uint8_t amount;
    uint32_t expected;
};

class DarkenCases : public testing::TestWithParam<AmountCase> {};
TEST_P(DarkenCases, EachChannelAlone) {
    EXPECT_EQ(darken(GetParam().colour, GetParam().amount), GetParam().expected);
    EXPECT_EQ(darkenRaw(GetParam().colour, GetParam().amount), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    ColorFunction, DarkenCases,
    testing::Values(AmountCase{16777215, 20, rgb(235, 235, 235)}, // white by 20
                    AmountCase{rgb(20, 20, 20), 20, 0}, // equal to the amount: strictly less is needed
                    AmountCase{rgb(21, 20, 19), 20, rgb(1, 0, 0)},
                    AmountCase{rgb(0, 255, 0), 1, rgb(0, 254, 0)}, // no borrow from the neighbouring bytes
                    AmountCase{rgb(0, 0, 1), 255, 0}, AmountCase{rgb(9, 8, 7), 0, rgb(9, 8, 7)}));

class LightenCases : public testing::TestWithParam<AmountCase> {};
TEST_P(LightenCases, EachChannelAlone) {
    EXPECT_EQ(lighten(GetParam().colour, GetParam().amount), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(ColorFunction, LightenCases,
                         testing::Values(AmountCase{rgb(250, 0, 0), 5, rgb(255, 5, 5)}, // 250 + 5 > 254
                                         AmountCase{rgb(249, 0, 0), 5, rgb(254, 5, 5)}, // 249 + 5 = 254 stays
                                         AmountCase{rgb(0, 255, 0), 1, rgb(1, 255, 1)}, // no carry
                                         AmountCase{rgb(255, 255, 255), 255, rgb(255, 255, 255)},
                                         AmountCase{rgb(10, 20, 30), 0, rgb(10, 20, 30)}));

struct GreyCase {
    uint32_t colour;
    unsigned grey;
};
class GreyCases : public testing::TestWithParam<GreyCase> {};
TEST_P(GreyCases, IntegerPartOfTheLuminance) {
    EXPECT_EQ(greyOf(GetParam().colour), GetParam().grey * 65793u);
}
INSTANTIATE_TEST_SUITE_P(ColorFunction, GreyCases,
                         testing::Values(GreyCase{rgb(255, 0, 0), 76},  // 76.5
                                         GreyCase{rgb(0, 255, 0), 150}, // 150.45
                                         GreyCase{rgb(0, 0, 255), 28},  // 28.05
                                         GreyCase{rgb(255, 255, 255), 255},
                                         GreyCase{rgb(1, 1, 1), 1}, // a grey keeps its own level
                                         GreyCase{rgb(41, 41, 41), 41}, GreyCase{0, 0}));

TEST(ColorFunction, InvertTurnsEveryChannel) {
    EXPECT_EQ(invertColor(rgb(0x12, 0x34, 0x56)), rgb(0xED, 0xCB, 0xA9));
    EXPECT_EQ(invertColor(0), rgb(255, 255, 255));
}

TEST(ColorFunction, ResultsHaveAZeroHighByte) {
    for (uint32_t c : {0x80000005u, 0x8000000Fu, 0x00FFFFFFu}) {
        EXPECT_EQ(darken(c, 3) >> 24, 0u);
        EXPECT_EQ(lighten(c, 3) >> 24, 0u);
        EXPECT_EQ(invertColor(c) >> 24, 0u);
        EXPECT_EQ(greyOf(c) >> 24, 0u);
    }
}

class SystemColourTest : public EngineTest {};

TEST_F(SystemColourTest, HighByteNamesASystemColour) {
    EXPECT_EQ(resolveColor(0x80000005u), sys(gdi::COLOR_WINDOW));
    EXPECT_EQ(resolveColor(0x80000005u), rgb(QGuiApplication::palette().color(QPalette::Base).red(),
                                             QGuiApplication::palette().color(QPalette::Base).green(),
                                             QGuiApplication::palette().color(QPalette::Base).blue()));
    EXPECT_EQ(resolveColor(255), 255u); // pure red stays red
    EXPECT_EQ(resolveColor(0x800000FFu), 0u) << "an index the platform does not know is black";
    EXPECT_EQ(darken(0x8000000Fu, 10), darkenRaw(sys(gdi::COLOR_BTNFACE), 10));
}

TEST_F(SystemColourTest, FollowsAChangeOfTheSystemColours) {
    QPalette p = QGuiApplication::palette();
    p.setColor(QPalette::Button, QColor(12, 34, 56));
    QGuiApplication::setPalette(p);
    EXPECT_EQ(resolveColor(0x8000000Fu), rgb(12, 34, 56));
    p.setColor(QPalette::Button, QColor(65, 43, 21));
    QGuiApplication::setPalette(p);
    EXPECT_EQ(resolveColor(0x8000000Fu), rgb(65, 43, 21));
}

TEST_F(SystemColourTest, DisabledColourRunsFromGreyTextToThirtyLighter) {
    QPalette p = QGuiApplication::palette();
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(100, 110, 120));
    QGuiApplication::setPalette(p);
    EXPECT_EQ(disabledColor(16777215), rgb(130, 140, 150));
    EXPECT_EQ(disabledColor(0), rgb(100, 110, 120));
    EXPECT_EQ(disabledColor(16581374), rgb(129, 139, 149)); // just below 30 after integer division
}

TEST_F(SystemColourTest, DarkenBackUsesTheContextsBackgroundColour) {
    Surface s(2, 2);
    gdi::setBkColor(s.dc, rgb(128, 64, 16));
    EXPECT_EQ(darkenBack(s.dc, 16), rgb(112, 48, 0));
}

} // namespace
