// Drawing on a surface with a device pixel ratio: the engine draws in the surface's own pixels and the
// device gets each of them as a block of ratio x ratio pixels, so marks keep their size on a 200 % screen.
#include "ZuTestSupport.h"

#include <functional>

using namespace zu;
using namespace zutest;

namespace {

// The same drawing on a plain surface and on one of twice the pixels at ratio 2.
struct RatioPair {
    Surface plain;
    Surface doubled;
    RatioPair(int width, int height) : plain(width, height), doubled(2 * width, 2 * height) {
        // The context was made over the image before its ratio was set: make it again over the ratio-2 image.
        gdi::deleteDC(doubled.dc);
        doubled.image.setDevicePixelRatio(2.0);
        doubled.dc = gdi::createImageDC(&doubled.image);
    }
};

// Every device pixel of the ratio-2 surface is the pixel of the plain one it lies in.
::testing::AssertionResult eachPixelDoubled(const RatioPair& p) {
    for (int y = 0; y < p.doubled.image.height(); ++y)
        for (int x = 0; x < p.doubled.image.width(); ++x)
            if (p.doubled.at(x, y) != p.plain.at(x / 2, y / 2))
                return ::testing::AssertionFailure()
                       << "device pixel (" << x << ", " << y << ") is " << std::hex << p.doubled.at(x, y)
                       << ", the plain pixel " << p.plain.at(x / 2, y / 2);
    return ::testing::AssertionSuccess();
}

QImage redBlueIcon() {
    QImage icon(6, 4, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 255));
    for (int x = 1; x < 5; ++x) {
        icon.setPixel(x, 1, qRgb(200, 30, 30));
        icon.setPixel(x, 2, qRgb(30, 30, 200));
    }
    return icon;
}

struct RatioCase {
    const char* name;
    std::function<void(ZuHDC)> draw;
};

class RatioCases : public EngineTest, public testing::WithParamInterface<RatioCase> {};

TEST_P(RatioCases, EachPixelBecomesATwoByTwoBlock) {
    RatioPair p(40, 30);
    GetParam().draw(p.plain.dc);
    GetParam().draw(p.doubled.dc);
    EXPECT_TRUE(eachPixelDoubled(p));
}

const RatioCase kRatioCases[] = {
    {"ArrowDown",
     [](ZuHDC dc) {
         drawArrow(dc, ZuRECT{20, 0, 34, 30}, rgb(0, 128, 0), 0);
     }},
    {"ArrowRight",
     [](ZuHDC dc) {
         drawArrow(dc, ZuRECT{0, 0, 30, 14}, rgb(0, 128, 0), 1);
     }},
    {"ArrowLeft",
     [](ZuHDC dc) {
         drawArrow(dc, ZuRECT{0, 0, 30, 14}, rgb(0, 128, 0), 2);
     }},
    {"EdgeRaised",
     [](ZuHDC dc) {
         drawEdgeStyle(dc, ZuRECT{2, 3, 30, 25}, 1);
     }},
    {"EdgeSunken",
     [](ZuHDC dc) {
         drawEdgeStyle(dc, ZuRECT{2, 3, 30, 25}, 2);
     }},
    {"FramedRectangle",
     [](ZuHDC dc) {
         drawShape(dc, ZuRECT{3, 4, 31, 21}, gdi::PS_SOLID, 1, rgb(200, 0, 0), rgb(0, 90, 0), 0, 0, 0);
     }},
    {"PixelsAndLines",
     [](ZuHDC dc) {
         gdi::setPixel(dc, 5, 6, rgb(1, 2, 3));
         gdi::setPixel(dc, 39, 29, rgb(4, 5, 6));
         ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, rgb(0, 0, 200)));
         gdi::moveTo(dc, 2, 10);
         gdi::lineTo(dc, 30, 10);
         gdi::moveTo(dc, 8, 2);
         gdi::lineTo(dc, 8, 28);
     }},
    {"PictureWithEffect",
     [](ZuHDC dc) {
         Picture picture(redBlueIcon());
         PictureBlit blit;
         blit.bitmap = picture.handle;
         blit.width = 6;
         blit.height = 4;
         blit.rotation = 1;
         blit.maskColour = rgb(255, 0, 255);
         blit.effect = EffectLighten;
         blit.lightenAmount = 60;
         blitPicture(dc, blit, 10, 12);
     }},
    {"BlockTransferWithinTheSurface",
     [](ZuHDC dc) {
         gdi::setPixel(dc, 1, 1, rgb(9, 9, 9));
         gdi::setPixel(dc, 2, 2, rgb(8, 8, 8));
         gdi::bitBlt(dc, 20, 20, 4, 4, dc, 0, 0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Ratio, RatioCases, testing::ValuesIn(kRatioCases),
                         [](const testing::TestParamInfo<RatioCase>& info) {
                             return std::string(info.param.name);
                         });

// A drop-down button painted whole: the arrow covers the doubled extent rather than shrinking to a dot.
TEST_F(EngineTest, DropDownArrowOfAButtonAtRatioTwo) {
    PanelButtonRecord r = makeRecord();
    r.style = 2; // with the drop-down part
    r.appearance = 0;
    r.backStyle = 0;
    Window panel(0, 0, 0, 80, 40);
    Window button(panel.handle, 10, 5, 60, 30);
    RatioPair parent(80, 40), p(60, 30);
    ZuRECT picture{4, 4, 4, 4}, caption{4, 4, 40, 20};
    ASSERT_EQ(ZuPanelButton_Paint(button.handle, panel.handle, p.plain.dc, parent.plain.dc, &r, &picture,
                                  &caption, 0, 0, 0),
              1);
    ASSERT_EQ(ZuPanelButton_Paint(button.handle, panel.handle, p.doubled.dc, parent.doubled.dc, &r, &picture,
                                  &caption, 0, 0, 0),
              1);
    const COLORREF arrow = static_cast<COLORREF>(r.arrowColor);
    const QRect plain = p.plain.box(arrow);
    ASSERT_EQ(plain.size(), QSize(5, 3));
    EXPECT_EQ(p.doubled.box(arrow), QRect(plain.topLeft() * 2, plain.size() * 2));
    EXPECT_EQ(p.doubled.count(arrow), 4 * p.plain.count(arrow));
}

// Text is drawn at the device's resolution, not as a scaled bitmap: its strokes are finer than two pixels.
TEST_F(EngineTest, TextAtRatioTwoIsDrawnAtTheDevicesResolution) {
    RatioPair p(60, 20);
    for (Surface* s : {&p.plain, &p.doubled}) {
        gdi::LogFont log;
        log.height = -13;
        log.faceName = QStringLiteral("DejaVu Sans");
        ScopedObject font(s->dc, gdi::createFontIndirect(log));
        gdi::setBkMode(s->dc, gdi::TRANSPARENT);
        gdi::textOut(s->dc, 2, 2, QStringLiteral("Illi"));
    }
    const QRect plain = p.plain.box(rgb(0, 0, 0));
    const QRect doubled = p.doubled.box(rgb(0, 0, 0));
    ASSERT_FALSE(plain.isNull());
    EXPECT_NEAR(doubled.height(), 2 * plain.height(), 2);
    EXPECT_FALSE(eachPixelDoubled(p)) << "the text is the plain one scaled up";
}

} // namespace
