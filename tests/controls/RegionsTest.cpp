#include "ZuTestSupport.h"

using namespace zu;
using namespace zutest;

namespace {

struct RegionCase {
    const char* name;
    int shape, style, orientation;
    int width, height; // client size
    ZuRECT body, dropDown;
};

void PrintTo(const RegionCase& c, std::ostream* os) {
    *os << c.name;
}

bool same(const ZuRECT& a, const ZuRECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string text(const ZuRECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

class RegionCases : public EngineTest, public testing::WithParamInterface<RegionCase> {};

TEST_P(RegionCases, BodyDropDownAndWindowRegion) {
    const RegionCase& c = GetParam();
    Window button(0, 0, 0, c.width, c.height);
    PanelButtonRecord r = makeRecord();
    r.shape = static_cast<uint8_t>(c.shape);
    r.style = static_cast<uint8_t>(c.style);
    r.orientation = static_cast<uint8_t>(c.orientation);
    r.roundX = 6;
    r.roundY = 6;
    PanelButtonRegions regions{0, 0, 0};
    ASSERT_NE(CreateButtonRegions(button.handle, &r, &regions), 0);

    ZuRECT body, dropDown;
    gdi::getRgnBox(regions.body, &body);
    gdi::getRgnBox(regions.dropDown, &dropDown);
    EXPECT_TRUE(same(body, c.body)) << "body " << text(body) << " expected " << text(c.body);
    EXPECT_TRUE(same(dropDown, c.dropDown))
        << "drop-down " << text(dropDown) << " expected " << text(c.dropDown);
    if (c.shape == 0) {
        EXPECT_EQ(gdi::regionOf(regions.body).rectCount(), c.body.right > 0 ? 1 : 0) << "a plain rectangle";
    }
    const QRegion unionRegion = gdi::regionOf(regions.body) | gdi::regionOf(regions.dropDown);
    EXPECT_EQ(gdi::regionOf(regions.window), unionRegion);
    EXPECT_TRUE(gdi::hasWindowRgn(button.handle));
    EXPECT_EQ(gdi::windowRegion(button.handle), unionRegion);

    // A second call replaces the caller's regions instead of piling up new ones.
    const int live = gdi::liveObjectCount();
    ASSERT_NE(CreateButtonRegions(button.handle, &r, &regions), 0);
    EXPECT_EQ(gdi::liveObjectCount(), live);

    // The regions are the caller's: still alive after the call, deleted by the caller.
    EXPECT_TRUE(gdi::deleteObject(regions.body));
    EXPECT_TRUE(gdi::deleteObject(regions.dropDown));
    EXPECT_TRUE(gdi::deleteObject(regions.window));
}

INSTANTIATE_TEST_SUITE_P(
    Regions, RegionCases,
    testing::Values(
        // 100 x 30, drop-down 14 with margin 1: W = 101, H = 31.
        RegionCase{"rect_dropdown_horizontal", 0, 2, 0, 100, 30, {0, 0, 86, 31}, {86, 0, 101, 31}},
        RegionCase{"rect_dropdown_vertical90", 0, 2, 1, 30, 100, {0, 15, 31, 101}, {0, 0, 31, 15}},
        RegionCase{"rect_dropdown_vertical270", 0, 2, 2, 30, 100, {0, 15, 31, 101}, {0, 0, 31, 15}},
        RegionCase{"rect_dropdown_orientation3_right", 0, 2, 3, 100, 30, {0, 0, 86, 31}, {86, 0, 101, 31}},
        RegionCase{"rect_plain_is_all_body", 0, 1, 0, 100, 30, {0, 0, 101, 31}, {0, 0, 0, 0}},
        RegionCase{"rect_plain_vertical", 0, 3, 1, 30, 100, {0, 0, 31, 101}, {0, 0, 0, 0}},
        RegionCase{"round_dropdown_horizontal", 1, 2, 0, 100, 30, {0, 0, 86, 31}, {86, 0, 101, 31}},
        RegionCase{"round_dropdown_vertical", 1, 2, 1, 30, 100, {0, 15, 31, 101}, {0, 0, 31, 15}},
        RegionCase{"round_plain", 1, 1, 0, 100, 30, {0, 0, 101, 31}, {0, 0, 0, 0}},
        // Ellipse: the drop-down ellipse is centred across the body's axis.
        RegionCase{"ellipse_dropdown_horizontal", 2, 2, 0, 100, 30, {0, 0, 86, 31}, {86, 7, 101, 22}},
        RegionCase{"ellipse_dropdown_vertical", 2, 2, 1, 30, 100, {0, 15, 31, 101}, {7, 0, 22, 15}},
        RegionCase{"ellipse_plain", 2, 1, 0, 100, 30, {0, 0, 101, 31}, {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<RegionCase>& info) { return std::string(info.param.name); });

TEST(Regions, SpecialRectangleCaseIsExactlyTwoRectangles) {
    Window button(0, 0, 0, 100, 30);
    PanelButtonRecord r = makeRecord();
    r.style = 2;
    PanelButtonRegions regions{0, 0, 0};
    CreateButtonRegions(button.handle, &r, &regions);
    EXPECT_EQ(gdi::regionOf(regions.body), QRegion(0, 0, 86, 31));
    EXPECT_EQ(gdi::regionOf(regions.dropDown), QRegion(86, 0, 15, 31));
    EXPECT_EQ(gdi::regionOf(regions.window), QRegion(0, 0, 101, 31));
    for (ZuHRGN h : {regions.body, regions.dropDown, regions.window})
        gdi::deleteObject(h);
}

TEST(Regions, RefusesMissingArguments) {
    PanelButtonRecord r = makeRecord();
    PanelButtonRegions regions{0, 0, 0};
    EXPECT_EQ(CreateButtonRegions(0, &r, &regions), 0);
    Window button(0, 0, 0, 10, 10);
    EXPECT_EQ(CreateButtonRegions(button.handle, nullptr, &regions), 0);
    EXPECT_EQ(CreateButtonRegions(button.handle, &r, nullptr), 0);
    EXPECT_EQ(regions.body, 0u);
}

} // namespace
