// Pictures: HIMETRIC sizing, rotation, the mask colour and the six effects.
#include "ZuTestSupport.h"

using namespace zu;
using namespace zutest;

namespace {

const COLORREF mask = rgb(255, 0, 255);
const COLORREF paper = rgb(0, 255, 0);

QImage solid(int w, int h, QColor c) {
    QImage i(w, h, QImage::Format_RGB32);
    i.fill(c);
    return i;
}

class PictureTest : public EngineTest {};

TEST_F(PictureTest, TwentyFiveFortyHimetricAtFifteenTwipsIsNinetySixPixels) {
    EXPECT_EQ(picturePixels(2540.0f, 15.0f), 96);
    Picture picture(solid(32, 32, Qt::blue)); // scaled to the computed size
    Surface s(200, 200, paper);
    PanelButtonRecord r = makeRecord();
    r.picture = picture.handle;
    r.pictureWidth = r.pictureHeight = 2540.0f;
    drawPicture(s.dc, r, ZuRECT{10, 10, 0, 0}, 0, 0, EffectNone);
    EXPECT_EQ(s.box(rgb(0, 0, 255)), QRect(10, 10, 96, 96));
    EXPECT_EQ(s.count(rgb(0, 0, 255)), 96 * 96);
}

TEST_F(PictureTest, SizeUsesEachAxisScaleAndIgnoresUnusableInput) {
    EXPECT_EQ(picturePixels(2540.0f, 7.5f), 192);
    EXPECT_EQ(picturePixels(2540.0f, 0.0f), 0);
    EXPECT_EQ(picturePixels(2540.0f, -15.0f), 0);
    EXPECT_EQ(picturePixels(std::numeric_limits<float>::quiet_NaN(), 15.0f), 0);
    EXPECT_EQ(picturePixels(2540.0f, std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(picturePixels(1e30f, 15.0f), 8192) << "absurd sizes are bounded, not allocated";

    Picture picture(solid(4, 4, Qt::blue));
    Surface s(20, 20, paper);
    PanelButtonRecord r = makeRecord();
    r.picture = picture.handle;
    r.pictureWidth = r.pictureHeight = 2540.0f;
    r.twipsPerPixelX = 0.0f;
    drawPicture(s.dc, r, ZuRECT{0, 0, 0, 0}, 0, 0, EffectNone);
    EXPECT_EQ(s.count(paper), 400) << "nothing is drawn without a usable screen scale";
}

TEST_F(PictureTest, MaskPixelsKeepTheDestination) {
    QImage image(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 255) : qRgb(200, 0, 0));
    Picture picture(image);
    Surface s(10, 10, paper);
    PanelButtonRecord r = makeRecord();
    r.picture = picture.handle;
    r.pictureWidth = r.pictureHeight = himetricFor(4);
    r.pictureMaskColor = static_cast<int32_t>(0x80000000u | gdi::COLOR_WINDOW); // a system colour as the mask
    QPalette p = QGuiApplication::palette();
    p.setColor(QPalette::Base, QColor(255, 0, 255));
    QGuiApplication::setPalette(p);
    drawPicture(s.dc, r, ZuRECT{2, 3, 0, 0}, 1, 1, EffectNone);
    EXPECT_EQ(s.count(rgb(200, 0, 0)), 8);
    EXPECT_EQ(s.count(mask), 0);
    EXPECT_EQ(s.at(3, 4), rgb(200, 0, 0)) << "picture rectangle plus the offset";
    EXPECT_EQ(s.at(4, 4), paper);
}

struct EffectCase {
    const char* name;
    int effect;
    int appearance;
    int shadowBase;
    COLORREF (*expected)(const PanelButtonRecord&, COLORREF pixel);
};
void PrintTo(const EffectCase& c, std::ostream* os) {
    *os << c.name;
}

class EffectCases : public EngineTest, public testing::WithParamInterface<EffectCase> {};

TEST_P(EffectCases, EveryNonMaskPixelThroughTheEffect) {
    const EffectCase& c = GetParam();
    // Two colours and a mask column: the effect applies per pixel, the mask column stays untouched.
    QImage image(3, 2, QImage::Format_RGB32);
    const COLORREF a = rgb(200, 100, 50), b = rgb(10, 240, 130);
    for (int y = 0; y < 2; ++y) {
        image.setPixel(0, y, qRgb(200, 100, 50));
        image.setPixel(1, y, qRgb(10, 240, 130));
        image.setPixel(2, y, qRgb(255, 0, 255));
    }
    Picture picture(image);
    Surface s(3, 2, paper);
    PanelButtonRecord r = makeRecord();
    r.picture = picture.handle;
    r.pictureWidth = himetricFor(3);
    r.pictureHeight = himetricFor(2);
    r.appearance = static_cast<uint8_t>(c.appearance);
    r.shadowBase = static_cast<uint8_t>(c.shadowBase);
    drawPicture(s.dc, r, ZuRECT{0, 0, 3, 2}, 0, 0, c.effect);
    EXPECT_EQ(s.at(0, 0), c.expected(r, a));
    EXPECT_EQ(s.at(1, 1), c.expected(r, b));
    EXPECT_EQ(s.at(2, 0), paper);
    EXPECT_EQ(s.at(2, 1), paper);
}

using R = const PanelButtonRecord&;
INSTANTIATE_TEST_SUITE_P(
    Effects, EffectCases,
    testing::Values(
        EffectCase{"unchanged", 0, 1, 0, [](R, COLORREF p) { return p; }},
        EffectCase{"lightened", 1, 1, 0, [](R r, COLORREF p) { return lighten(p, r.lightenAmount); }},
        EffectCase{"darkened", 2, 1, 0, [](R r, COLORREF p) { return darken(p, r.darkenAmount); }},
        EffectCase{"grey", 3, 1, 0, [](R, COLORREF p) { return greyOf(p); }},
        EffectCase{"shadow_of_back_colour", 4, 1, 0,
                   [](R r, COLORREF) { return darken(static_cast<uint32_t>(r.backColor), r.shadowAmount); }},
        EffectCase{"shadow_flat_back_colour", 4, 0, 2,
                   [](R r, COLORREF) { return darken(static_cast<uint32_t>(r.backColor), r.shadowAmount); }},
        EffectCase{"shadow_shaped_fill", 4, 2, 0,
                   [](R r, COLORREF) { return darken(static_cast<uint32_t>(r.fillColor), r.shadowAmount); }},
        EffectCase{"shadow_shaped_fill_lightened", 4, 2, 1,
                   [](R r, COLORREF) {
                       return darken(lighten(static_cast<uint32_t>(r.fillColor), r.lightenAmount),
                                     r.shadowAmount);
                   }},
        EffectCase{"shadow_shaped_border_lightened", 4, 2, 2,
                   [](R r, COLORREF) {
                       return darken(lighten(static_cast<uint32_t>(r.activeBorderColor), r.lightenAmount),
                                     r.shadowAmount);
                   }},
        EffectCase{"disabled", 5, 1, 0, [](R, COLORREF p) { return disabledColor(p); }},
        EffectCase{"unknown_effect_unchanged", 9, 1, 0, [](R, COLORREF p) { return p; }}),
    [](const testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

TEST_F(PictureTest, ShadowEffectDrawsAOneColourSilhouette) {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y,
                           (x - 8) * (x - 8) + (y - 8) * (y - 8) > 36 ? qRgb(255, 0, 255)
                                                                      : qRgb(x * 16, y * 16, 99));
    Picture picture(image);
    Surface s(16, 16, paper);
    PanelButtonRecord r = makeRecord();
    r.picture = picture.handle;
    r.pictureWidth = r.pictureHeight = himetricFor(16);
    drawPicture(s.dc, r, ZuRECT{0, 0, 16, 16}, 0, 0, EffectShadow);
    const COLORREF shadow = darken(static_cast<uint32_t>(r.backColor), r.shadowAmount);
    int inside = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            inside += (x - 8) * (x - 8) + (y - 8) * (y - 8) <= 36;
    EXPECT_EQ(s.count(shadow), inside);
    EXPECT_EQ(s.count(paper), 256 - inside);
}

struct RotationCase {
    int rotation;
    QSize size;
    QPoint red, green, blue, yellow; // where the source corners land
};

class RotationCases : public EngineTest, public testing::WithParamInterface<RotationCase> {};

TEST_P(RotationCases, CornersLandWhereTheTurnPutsThem) {
    const RotationCase& c = GetParam();
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(2, 0, qRgb(0, 200, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(2, 1, qRgb(255, 255, 0));
    Picture picture(image);
    Surface s(5, 5, rgb(255, 0, 255));
    PanelButtonRecord r = makeRecord();
    r.picture = picture.handle;
    r.pictureWidth = himetricFor(3);
    r.pictureHeight = himetricFor(2);
    r.pictureRotation = c.rotation;
    drawPicture(s.dc, r, ZuRECT{0, 0, 0, 0}, 0, 0, EffectNone);
    EXPECT_EQ(s.at(c.red.x(), c.red.y()), rgb(255, 0, 0));
    EXPECT_EQ(s.at(c.green.x(), c.green.y()), rgb(0, 200, 0));
    EXPECT_EQ(s.at(c.blue.x(), c.blue.y()), rgb(0, 0, 255));
    EXPECT_EQ(s.at(c.yellow.x(), c.yellow.y()), rgb(255, 255, 0));
    EXPECT_EQ(s.count(rgb(255, 0, 255)), 25 - c.size.width() * c.size.height());
    EXPECT_EQ(s.count(0), c.size.width() * c.size.height() - 4);
}

INSTANTIATE_TEST_SUITE_P(
    Rotation, RotationCases,
    testing::Values(RotationCase{0, {3, 2}, {0, 0}, {2, 0}, {0, 1}, {2, 1}},
                    // a quarter turn counter-clockwise: the top edge runs up the left side
                    RotationCase{1, {2, 3}, {0, 2}, {0, 0}, {1, 2}, {1, 0}},
                    // a quarter turn clockwise: the top edge runs down the right side
                    RotationCase{2, {2, 3}, {1, 0}, {1, 2}, {0, 0}, {0, 2}},
                    RotationCase{3, {3, 2}, {2, 1}, {0, 1}, {2, 0}, {0, 0}}));

} // namespace
