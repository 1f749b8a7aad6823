// Panel painting: the three frame styles, gradients, the caption band, edges and the grip.
#include "ZuTestSupport.h"

using namespace zu;
using namespace zutest;

namespace {

const COLORREF back = rgb(200, 210, 220);
const COLORREF frame = rgb(40, 60, 80);
const COLORREF text = rgb(250, 250, 0);

struct PanelArgs {
    const char* caption = "";
    int captionMode = 0, captionInset = 0, frameWidth = 3, captionWidening = 0, gripLength = 6;
    int backGradient = 0, captionGradient = 0, intensity = 1;
    ZuHBITMAP pattern = 0;
    int captionShadow = 0, appearance = 2;
    ZuRECT captionRect{0, 0, 0, 0};
    int frameStyle = 0, outerEdge = 0;
};

class PanelPaintTest : public EngineTest {
  protected:
    void paint(Surface& s, const PanelArgs& a) {
        Window panel(0, 0, 0, s.image.width(), s.image.height());
        ASSERT_EQ(ZuPanel_Paint(panel.handle, s.dc, a.caption, static_cast<int32_t>(back),
                                static_cast<int32_t>(frame), static_cast<int32_t>(text), a.captionMode,
                                a.captionInset, a.frameWidth, a.captionWidening, a.gripLength, a.backGradient,
                                a.captionGradient, a.intensity, a.pattern, a.captionShadow, a.appearance,
                                &a.captionRect, a.frameStyle, a.outerEdge),
                  1);
    }
};

TEST_F(PanelPaintTest, FrameStyles) {
    struct Case {
        const char* name;
        int style, width;
        std::vector<COLORREF> diagonal; // pixels (i, i) from the corner inwards
        COLORREF farCorner;
    };
    const Case cases[] = {
        {"rings", 0, 3, {frame, frame, frame, back}, frame},
        {"lightening rings", 1, 3, {frame, lighten(frame, 5), lighten(frame, 10), back}, frame},
        {"narrow frame: one plain ring", 1, 2, {frame, back, back}, frame},
        {"edges",
         2,
         3,
         {sys(gdi::COLOR_BTNHIGHLIGHT), back, back, sys(gdi::COLOR_BTNSHADOW), back},
         sys(gdi::COLOR_BTNSHADOW)},
        {"no rings", 0, 0, {back, back}, back},
    };
    for (const Case& c : cases) {
        Surface s(40, 30, rgb(1, 2, 3));
        PanelArgs a;
        a.frameStyle = c.style;
        a.frameWidth = c.width;
        paint(s, a);
        for (size_t i = 0; i < c.diagonal.size(); ++i)
            EXPECT_EQ(s.at(static_cast<int>(i), static_cast<int>(i)), c.diagonal[i]) << c.name << " at " << i;
        EXPECT_EQ(s.at(39, 29), c.farCorner) << c.name;
        EXPECT_EQ(gdi::getBkColor(s.dc), back);
    }
}

TEST_F(PanelPaintTest, BackgroundGradientDarkensByCoordinateAndStopsAtBlack) {
    Surface s(8, 600, rgb(1, 2, 3));
    PanelArgs a;
    a.frameWidth = 1;
    a.backGradient = 1;
    a.intensity = 2;
    paint(s, a);
    EXPECT_EQ(s.at(4, 10), darkenRaw(back, 5));
    EXPECT_EQ(s.at(4, 11), darkenRaw(back, 5));
    EXPECT_EQ(s.at(4, 300), darkenRaw(back, 150));
    EXPECT_EQ(s.at(4, 560), 0u) << "the darkening stays at 255 rather than wrapping around";

    Surface v(100, 10, rgb(1, 2, 3));
    a.backGradient = 2;
    a.intensity = 0; // taken as 1
    paint(v, a);
    EXPECT_EQ(v.at(30, 5), darkenRaw(back, 30));
    EXPECT_EQ(v.at(30, 2), v.at(30, 7)) << "direction 2 runs vertical lines";
}

TEST_F(PanelPaintTest, PatternFillsInsideTheFrame) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(QColor(9, 99, 199));
    Picture pattern(image);
    Surface s(30, 30, rgb(1, 2, 3));
    PanelArgs a;
    a.frameWidth = 2;
    a.pattern = pattern.handle;
    a.backGradient = 1; // a pattern wins over the gradient
    paint(s, a);
    EXPECT_EQ(s.count(rgb(9, 99, 199)), 26 * 26);
    EXPECT_EQ(s.at(1, 1), frame);
}

TEST_F(PanelPaintTest, CaptionBandWithTextAndShadow) {
    Surface s(160, 40, rgb(1, 2, 3));
    PanelArgs a;
    a.caption = "Система";
    a.captionRect = ZuRECT{3, 3, 157, 20};
    a.captionShadow = 1;
    paint(s, a);
    EXPECT_EQ(s.at(3, 3), frame) << "the band is filled with the frame colour";
    const QRect textBox = s.box(text), shadowBox = s.box(darkenRaw(frame, 60));
    ASSERT_FALSE(textBox.isNull());
    EXPECT_GE(textBox.left(), 3 + 4);
    EXPECT_EQ(shadowBox.topLeft() - textBox.topLeft(), QPoint(1, 1));
    EXPECT_TRUE(QRect(3, 3, 154, 17).contains(textBox));

    // An inset pulls the text's right edge in: a long caption ends in an ellipsis sooner.
    Surface narrow(160, 40, rgb(1, 2, 3));
    a.caption = "Очень длинная подпись панели, которая не помещается";
    a.captionInset = 20;
    a.captionShadow = 0;
    paint(narrow, a);
    EXPECT_LE(narrow.box(text).right(), 157 - 2 * 20);
}

TEST_F(PanelPaintTest, EdgesForFlatAndThreeDPanels) {
    struct Case {
        int appearance;
        COLORREF corner, captionCorner;
    };
    const Case cases[] = {{0, sys(gdi::COLOR_BTNHIGHLIGHT), sys(gdi::COLOR_BTNSHADOW)},
                          {1, sys(gdi::COLOR_3DLIGHT), sys(gdi::COLOR_BTNSHADOW)}};
    for (const Case& c : cases) {
        Surface s(60, 40, rgb(1, 2, 3));
        PanelArgs a;
        a.appearance = c.appearance;
        a.captionRect = ZuRECT{5, 5, 55, 18};
        paint(s, a);
        EXPECT_EQ(s.at(0, 0), c.corner) << c.appearance;
        EXPECT_EQ(s.at(5, 5), c.captionCorner) << c.appearance;
        EXPECT_EQ(s.at(20, 30), back);
    }
}

TEST_F(PanelPaintTest, GripLinesOnEveryOtherPixel) {
    Surface s(60, 40, rgb(1, 2, 3));
    PanelArgs a;
    a.captionMode = 1;
    a.captionRect = ZuRECT{2, 2, 12, 38};
    a.gripLength = 8;
    a.outerEdge = 1;
    paint(s, a);
    EXPECT_EQ(s.at(0, 0), sys(gdi::COLOR_BTNHIGHLIGHT)) << "outer edge";
    EXPECT_EQ(s.at(2, 2), frame);
    EXPECT_EQ(s.at(9, 2), frame);
    EXPECT_EQ(s.at(10, 2), back) << "lines end at the grip length";
    EXPECT_EQ(s.at(5, 3), back) << "every other row";
    EXPECT_EQ(s.at(5, 4), frame);

    Surface v(60, 40, rgb(1, 2, 3));
    a.captionMode = 3; // vertical grip lines
    paint(v, a);
    EXPECT_EQ(v.at(2, 30), frame);
    EXPECT_EQ(v.at(3, 30), back);
    EXPECT_EQ(v.at(4, 30), frame);
}

} // namespace
