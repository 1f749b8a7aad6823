// The arrow glyph and the eight edge styles, pixel by pixel.
#include "ZuTestSupport.h"

#include <set>

using namespace zu;
using namespace zutest;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsOf(const Surface& s, COLORREF colour) {
    PixelSet set;
    for (int y = 0; y < s.image.height(); ++y)
        for (int x = 0; x < s.image.width(); ++x)
            if (s.at(x, y) == colour) set.insert({x, y});
    return set;
}

struct ArrowCase {
    const char* name;
    int orientation;
    ZuRECT strip;
    PixelSet expected;
};

class ArrowCases : public EngineTest, public testing::WithParamInterface<ArrowCase> {};

TEST_P(ArrowCases, ThreeLinesCentredInTheStrip) {
    const ArrowCase& c = GetParam();
    Surface s(110, 40);
    drawArrow(s.dc, c.strip, rgb(0, 128, 0), c.orientation);
    EXPECT_EQ(pixelsOf(s, rgb(0, 128, 0)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arrow, ArrowCases,
    testing::Values(
        // Strip (86, 0, 100, 30): left corner at ((86 + 100 - 5) / 2, (0 + 30 - 3) / 2) = (90, 13).
        ArrowCase{"down",
                  0,
                  {86, 0, 100, 30},
                  {{90, 13}, {91, 13}, {92, 13}, {93, 13}, {94, 13}, {91, 14}, {92, 14}, {93, 14}, {92, 15}}},
        // Strip (0, 0, 30, 14): top corner at ((0 + 30 - 3) / 2, (0 + 14 - 5) / 2) = (13, 4).
        ArrowCase{"right",
                  1,
                  {0, 0, 30, 14},
                  {{13, 4}, {13, 5}, {13, 6}, {13, 7}, {13, 8}, {14, 5}, {14, 6}, {14, 7}, {15, 6}}},
        ArrowCase{"left",
                  2,
                  {0, 0, 30, 14},
                  {{15, 4}, {15, 5}, {15, 6}, {15, 7}, {15, 8}, {14, 5}, {14, 6}, {14, 7}, {13, 6}}}),
    [](const testing::TestParamInfo<ArrowCase>& info) { return std::string(info.param.name); });

struct EdgeCase {
    int code;
    int outerTopLeft, outerBottomRight; // system colour indices of the ring on the border, -1 for none
    int innerTopLeft, innerBottomRight; // of the ring one pixel inside, -1 for none
};

class EdgeCases : public EngineTest, public testing::WithParamInterface<EdgeCase> {};

TEST_P(EdgeCases, RingsInTheThreeDColours) {
    const EdgeCase& c = GetParam();
    const COLORREF paper = rgb(1, 2, 3);
    Surface s(10, 10, paper);
    drawEdgeStyle(s.dc, ZuRECT{0, 0, 10, 10}, c.code);
    auto expect = [&](int index) { return index < 0 ? paper : sys(index); };
    EXPECT_EQ(s.at(0, 0), expect(c.outerTopLeft));
    EXPECT_EQ(s.at(5, 0), expect(c.outerTopLeft));
    EXPECT_EQ(s.at(0, 5), expect(c.outerTopLeft));
    EXPECT_EQ(s.at(9, 9), expect(c.outerBottomRight));
    EXPECT_EQ(s.at(5, 9), expect(c.outerBottomRight));
    EXPECT_EQ(s.at(9, 5), expect(c.outerBottomRight));
    EXPECT_EQ(s.at(1, 1), expect(c.innerTopLeft));
    EXPECT_EQ(s.at(8, 8), expect(c.innerBottomRight));
    EXPECT_EQ(s.at(4, 4), paper) << "edges never fill";
}

constexpr int hi = gdi::COLOR_BTNHIGHLIGHT, lt = gdi::COLOR_3DLIGHT, sh = gdi::COLOR_BTNSHADOW,
              dk = gdi::COLOR_3DDKSHADOW;
INSTANTIATE_TEST_SUITE_P(Edges, EdgeCases,
                         testing::Values(EdgeCase{1, sh, hi, dk, lt}, // sunken
                                         EdgeCase{2, lt, dk, hi, sh}, // raised
                                         EdgeCase{3, sh, hi, -1, -1}, // sunken outer
                                         EdgeCase{4, lt, dk, -1, -1}, // raised outer
                                         EdgeCase{5, dk, lt, -1, -1}, // sunken inner, alone on the border
                                         EdgeCase{6, hi, sh, -1, -1}, // raised inner, alone on the border
                                         EdgeCase{7, sh, hi, hi, sh}, // etched
                                         EdgeCase{8, lt, dk, dk, lt}, // bump
                                         EdgeCase{0, -1, -1, -1, -1}, EdgeCase{9, -1, -1, -1, -1}));

} // namespace
