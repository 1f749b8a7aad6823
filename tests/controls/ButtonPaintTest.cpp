// Button painting at rest, pressed and hot: backgrounds, frames, captions, the drop-down part and separators.
#include "ZuTestSupport.h"

using namespace zu;
using namespace zutest;

namespace {

constexpr int W = 60, H = 30;

class ButtonPaintTest : public EngineTest {
  protected:
    // The parent's picture: every pixel different, so a copy shows where it came from.
    Surface parent{200, 100};
    Window panel{0, 0, 0, 200, 100};
    Window button{panel.handle, 20, 10, W, H};
    Surface surface{W, H, rgb(1, 2, 3)};

    ButtonPaintTest() {
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                parent.image.setPixel(x, y, qRgb(x, y, 77));
    }

    void paint(const PanelButtonRecord& r, bool pressed = false, bool dropDownPressed = false,
               ZuRECT caption = {4, 4, 40, 20}) {
        ZuRECT picture{4, 4, 4, 4};
        ASSERT_EQ(ZuPanelButton_Paint(button.handle, panel.handle, surface.dc, parent.dc, &r, &picture,
                                      &caption, pressed, dropDownPressed, 0),
                  1);
    }
    void hot(const PanelButtonRecord& r, bool pressed = false) {
        ZuRECT picture{4, 4, 4, 4}, caption{4, 4, 40, 20};
        ASSERT_EQ(
            ZuPanelButton_MouseMove(button.handle, surface.dc, &r, &picture, &caption, pressed, 0, 0, 0, 0),
            1);
    }
    bool showsParent(int x, int y) const { return surface.at(x, y) == rgb(20 + x, 10 + y, 77); }
};

TEST_F(ButtonPaintTest, TransparentButtonShowsTheParentUnderIt) {
    PanelButtonRecord r = makeRecord();
    r.appearance = 0;
    for (int backStyle : {0, 2}) {
        r.backStyle = static_cast<uint8_t>(backStyle);
        paint(r);
        EXPECT_TRUE(showsParent(0, 0) && showsParent(W - 1, H - 1) && showsParent(30, 15)) << backStyle;
    }
    r.backStyle = 1;
    paint(r);
    EXPECT_EQ(surface.at(30, 15), static_cast<COLORREF>(r.backColor))
        << "opaque buttons lay their back colour";
}

TEST_F(ButtonPaintTest, FramesByAppearanceAndState) {
    struct Case {
        const char* name;
        int appearance;
        bool hot, pressed;
        COLORREF corner, inside; // pixels (0, 0) and (1, 1)
    };
    PanelButtonRecord r = makeRecord();
    const COLORREF back = static_cast<COLORREF>(r.backColor), fill = static_cast<COLORREF>(r.fillColor);
    const Case cases[] = {
        {"flat at rest", 0, false, false, back, back},
        {"flat pressed", 0, false, true, sys(gdi::COLOR_BTNSHADOW), back},
        {"flat hot", 0, true, false, sys(gdi::COLOR_BTNHIGHLIGHT), back},
        {"flat hot pressed", 0, true, true, sys(gdi::COLOR_BTNSHADOW), back},
        {"3-D at rest", 1, false, false, sys(gdi::COLOR_3DLIGHT), sys(gdi::COLOR_BTNHIGHLIGHT)},
        {"3-D pressed", 1, false, true, sys(gdi::COLOR_BTNSHADOW), sys(gdi::COLOR_3DDKSHADOW)},
        {"3-D hot", 1, true, false, sys(gdi::COLOR_3DLIGHT), sys(gdi::COLOR_BTNHIGHLIGHT)},
        {"shaped at rest", 2, false, false, static_cast<COLORREF>(r.inactiveBorderColor), fill},
        {"shaped pressed", 2, false, true, static_cast<COLORREF>(r.activeBorderColor), fill},
        {"shaped hot", 2, true, false, static_cast<COLORREF>(r.activeBorderColor), fill},
    };
    for (const Case& c : cases) {
        r.appearance = static_cast<uint8_t>(c.appearance);
        c.hot ? hot(r, c.pressed) : paint(r, c.pressed);
        EXPECT_EQ(surface.at(0, 0), c.corner) << c.name;
        EXPECT_EQ(surface.at(1, 1), c.inside) << c.name;
    }
}

TEST_F(ButtonPaintTest, CaptionColourAndShiftByState) {
    PanelButtonRecord r = makeRecord();
    r.caption = "Данные";
    const COLORREF fore = static_cast<COLORREF>(r.foreColor);
    const COLORREF rest = lighten(fore, r.lightenAmount);

    paint(r);
    const QRect atRest = surface.box(rest);
    EXPECT_FALSE(atRest.isNull()) << "an enabled button at rest shows its caption lightened";
    EXPECT_EQ(surface.count(fore), 0);

    paint(r, true);
    EXPECT_EQ(surface.box(fore), atRest.translated(1, 1))
        << "held down: plain colour, one pixel right and down";

    hot(r);
    EXPECT_EQ(surface.box(fore), atRest) << "hot: plain colour, in place";

    r.enabled = 0;
    paint(r, true);
    EXPECT_EQ(surface.box(sys(gdi::COLOR_GRAYTEXT)), atRest) << "disabled: grey text, never held down";
    hot(r);
    EXPECT_EQ(surface.box(sys(gdi::COLOR_GRAYTEXT)), atRest) << "disabled: no hot look";
}

TEST_F(ButtonPaintTest, ShapedCaptionCastsAShadowFromTheBackgroundColour) {
    PanelButtonRecord r = makeRecord();
    r.appearance = 2;
    r.caption = "Расчет";
    r.captionShadow = 1;
    gdi::setBkColor(surface.dc, rgb(150, 160, 170));
    const COLORREF shadow = darkenRaw(rgb(150, 160, 170), r.shadowAmount);
    const COLORREF text = lighten(static_cast<COLORREF>(r.foreColor), r.lightenAmount);
    paint(r);
    const QRect shadowBox = surface.box(shadow), textBox = surface.box(text);
    ASSERT_FALSE(shadowBox.isNull());
    // The shadow sits one pixel right and down of its place, the text one pixel left and up of it.
    EXPECT_EQ(shadowBox.topLeft() - textBox.topLeft(), QPoint(2, 2));
}

TEST_F(ButtonPaintTest, CaptionTurnsWithTheOrientation) {
    for (int orientation : {0, 1, 2}) {
        PanelButtonRecord r = makeRecord();
        r.caption = "Выход";
        r.orientation = static_cast<uint8_t>(orientation);
        ZuSIZEF size{0, 0};
        ZuRECT picture, caption;
        ZuPanelButton_Resize(0, surface.dc, &r, &size, &picture, &caption, 0);
        Window tall(panel.handle, 0, 0, static_cast<int>(size.width / 15),
                    static_cast<int>(size.height / 15));
        Surface s(static_cast<int>(size.width / 15), static_cast<int>(size.height / 15));
        ZuPanelButton_Paint(tall.handle, panel.handle, s.dc, parent.dc, &r, &picture, &caption, 0, 0, 0);
        const QRect text = s.box(lighten(static_cast<COLORREF>(r.foreColor), r.lightenAmount));
        const QRect place(caption.left, caption.top, caption.right - caption.left,
                          caption.bottom - caption.top);
        SCOPED_TRACE(orientation);
        EXPECT_TRUE(place.adjusted(-1, -1, 1, 1).contains(text)) << "the text stays in its rectangle";
        EXPECT_EQ(text.width() > text.height(), orientation == 0);
    }
}

TEST_F(ButtonPaintTest, DropDownPartAndArrow) {
    PanelButtonRecord r = makeRecord();
    r.style = 2;
    r.appearance = 0;
    r.backStyle = 0;
    const COLORREF arrow = static_cast<COLORREF>(r.arrowColor);
    // Strip (46, 0, 60, 30): arrow corner ((46 + 60 - 5) / 2, (0 + 30 - 3) / 2) = (50, 13).
    paint(r);
    EXPECT_EQ(surface.at(47, 2), sys(gdi::COLOR_BTNFACE)) << "a flat drop-down part at rest is button face";
    EXPECT_EQ(surface.box(arrow), QRect(50, 13, 5, 3));
    EXPECT_TRUE(showsParent(44, 2)) << "the body stays transparent";

    paint(r, false, true);
    EXPECT_EQ(surface.at(46, 0), sys(gdi::COLOR_BTNHIGHLIGHT)) << "pressed: raised inner edge";
    EXPECT_EQ(surface.box(arrow), QRect(51, 14, 5, 3));

    r.enabled = 0;
    paint(r);
    EXPECT_EQ(surface.count(disabledColor(static_cast<COLORREF>(r.inactiveBorderColor)), QRect(50, 13, 5, 3)),
              9);

    r.enabled = 1;
    r.orientation = 1; // the part moves to the top and the arrow points right
    paint(r);
    EXPECT_EQ(surface.box(arrow), QRect((0 + W - 3) / 2, (0 + 14 - 5) / 2, 3, 5));
}

TEST_F(ButtonPaintTest, SeparatorLineRunsAcrossThePanel) {
    struct Case {
        int orientation;
        QRect line;
    };
    const Case cases[] = {{0, QRect(W / 2, 0, 1, H)}, {1, QRect(0, H / 2, W, 1)}, {2, QRect(0, H / 2, W, 1)}};
    PanelButtonRecord r = makeRecord();
    r.style = 4;
    r.appearance = 2;
    r.caption = "never drawn";
    for (const Case& c : cases) {
        r.orientation = static_cast<uint8_t>(c.orientation);
        paint(r);
        EXPECT_EQ(surface.box(static_cast<COLORREF>(r.separatorColor)), c.line) << c.orientation;
        EXPECT_TRUE(showsParent(3, 3));
    }
    r.appearance = 1;
    paint(r);
    EXPECT_EQ(surface.count(static_cast<COLORREF>(r.separatorColor)), 0)
        << "only shaped separators draw a line";
}

TEST_F(ButtonPaintTest, ToolTipFrame) {
    Window tip(0, 0, 0, 40, 12);
    Surface s(40, 12, rgb(1, 2, 3));
    ASSERT_EQ(DrawToolTip(tip.handle, s.dc), 1);
    EXPECT_EQ(s.at(0, 0), 0u);
    EXPECT_EQ(s.at(39, 11), 0u);
    EXPECT_EQ(s.at(20, 6), sys(gdi::COLOR_INFOBK));
}

TEST_F(ButtonPaintTest, NoRecordOrContextPaintsNothing) {
    EXPECT_EQ(ZuPanelButton_Paint(button.handle, panel.handle, surface.dc, parent.dc, nullptr, nullptr,
                                  nullptr, 0, 0, 0),
              0);
    PanelButtonRecord r = makeRecord();
    EXPECT_EQ(ZuPanelButton_Paint(button.handle, panel.handle, 0, parent.dc, &r, nullptr, nullptr, 0, 0, 0),
              0);
    EXPECT_EQ(ZuPanelButton_MouseMove(button.handle, 0, &r, nullptr, nullptr, 0, 0, 0, 0, 0), 0);
}

TEST(Exports, GetWStyleAndRecordCopy) {
    EXPECT_EQ(GetWStyle(), 64);
    PanelButtonRecord source = makeRecord(), destination{};
    source.caption = "Печать";
    source.carried16 = 1234;
    source.pictureRotation = 3;
    source.picture = 77;
    source.pictureWidth = 5.0f;
    source.fontOrientation = 900;
    destination.twipsPerPixelX = 12.0f;
    destination.twipsPerPixelY = 13.0f;
    destination.picture = 99;
    destination.pictureWidth = 1.0f;
    destination.pictureHeight = 2.0f;
    destination.fontOrientation = 7;
    EXPECT_EQ(CopyButtonObject(&destination, &source), &destination);
    // Packed pointer fields are read by value: a reference to them need not be aligned.
    const char* copiedCaption = destination.caption;
    const char* sourceCaption = source.caption;
    const char* copiedFace = destination.fontName;
    const char* sourceFace = source.fontName;
    EXPECT_EQ(copiedCaption, sourceCaption) << "pointers are copied as pointers";
    EXPECT_EQ(copiedFace, sourceFace);
    EXPECT_EQ(destination.carried16, 1234);
    EXPECT_EQ(destination.pictureRotation, 3);
    EXPECT_EQ(destination.separatorWidth, source.separatorWidth);
    EXPECT_EQ(destination.twipsPerPixelX, 12.0f);
    EXPECT_EQ(destination.twipsPerPixelY, 13.0f);
    EXPECT_EQ(destination.picture, 99u);
    EXPECT_EQ(destination.pictureWidth, 1.0f);
    EXPECT_EQ(destination.pictureHeight, 2.0f);
    EXPECT_EQ(destination.fontOrientation, 7);
    EXPECT_EQ(CopyButtonObject(nullptr, &source), nullptr);
}

} // namespace
