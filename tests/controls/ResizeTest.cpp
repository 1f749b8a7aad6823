// Automatic sizing: button size and picture and caption rectangles for every orientation and alignment.
#include "ZuTestSupport.h"

using namespace zu;
using namespace zutest;

namespace {

constexpr int m = 3;  // margin
constexpr int u = 15; // drop-down width 14 + margin 1
constexpr int pictureW = 20, pictureH = 12;

struct Result {
    ZuSIZEF size{0, 0};
    ZuRECT picture{-1, -1, -1, -1};
    ZuRECT caption{-1, -1, -1, -1};
    int width() const { return static_cast<int>(size.width / 15.0f); }
    int height() const { return static_cast<int>(size.height / 15.0f); }
};

struct Look {
    int orientation = 0, alignment = 0, style = 1, rotation = 0;
    bool picture = true, caption = true;
};

class ResizeTest : public EngineTest {
  protected:
    Picture picture_{QImage(4, 4, QImage::Format_RGB32)};

    PanelButtonRecord record(const Look& s) const {
        PanelButtonRecord r = makeRecord();
        r.margin = m;
        r.fontHeight = 10.0f; // a 15-pixel cell, taller than the picture
        r.style = static_cast<uint8_t>(s.style);
        r.orientation = static_cast<uint8_t>(s.orientation);
        r.pictureAlignment = static_cast<uint8_t>(s.alignment);
        r.pictureRotation = s.rotation;
        r.caption = s.caption ? "Расчет" : "";
        if (s.picture) {
            r.picture = picture_.handle;
            r.pictureWidth = himetricFor(pictureW);
            r.pictureHeight = himetricFor(pictureH);
        }
        return r;
    }

    Result resize(const PanelButtonRecord& r, ZuSIZEF start = {600, 300}) const {
        Surface s(4, 4);
        Result out;
        out.size = start;
        EXPECT_EQ(ZuPanelButton_Resize(0, s.dc, &r, &out.size, &out.picture, &out.caption, 0), 1);
        return out;
    }

    // The caption's extent along the text (T) and across it (H) with the caption font.
    static QSize textExtent(const PanelButtonRecord& r) {
        Surface s(4, 4);
        ScopedObject font(s.dc, gdi::createFontIndirect(captionFont(r, captionEscapement(r.orientation))));
        QSize extent;
        gdi::getTextExtent(s.dc, captionText(r), &extent);
        return extent;
    }
};

TEST_F(ResizeTest, PictureOnlySizesForEachOrientationAndRotation) {
    struct Case {
        Look setup;
        int width, height;
        ZuRECT picture;
    };
    const Case cases[] = {
        {{0, 0, 1, 0, true, false}, pictureW + 2 * m, pictureH + 2 * m, {m, m, m + pictureW, m + pictureH}},
        {{0, 3, 1, 0, true, false}, pictureW + 2 * m, pictureH + 2 * m, {m, m, m + pictureW, m + pictureH}},
        {{0, 1, 2, 0, true, false},
         pictureW + u + 2 * m,
         pictureH + 1 + 2 * m,
         {m, m, m + pictureW, m + pictureH}},
        {{0, 2, 2, 2, true, false},
         pictureH + u + 2 * m,
         pictureW + 1 + 2 * m,
         {m, m, m + pictureH, m + pictureW}},
        // Across a vertical button the unturned picture is counted height across, width down.
        {{1, 0, 2, 0, true, false},
         pictureH + 2 * m,
         u + 2 * m + pictureW,
         {m, u + m, m + pictureH, u + m + pictureW}},
        {{1, 1, 2, 1, true, false},
         pictureW + 2 * m,
         u + 2 * m + pictureH,
         {m, u + m, m + pictureW, u + m + pictureH}},
        {{2, 1, 1, 3, true, false}, pictureH + 2 * m, 2 * m + pictureW, {m, m, m + pictureH, m + pictureW}},
    };
    for (const Case& c : cases) {
        Result r = resize(record(c.setup));
        SCOPED_TRACE(testing::Message() << "orientation " << c.setup.orientation << " alignment "
                                        << c.setup.alignment << " rotation " << c.setup.rotation);
        EXPECT_EQ(r.width(), c.width);
        EXPECT_EQ(r.height(), c.height);
        EXPECT_EQ(r.picture, c.picture);
        EXPECT_EQ(r.caption, (ZuRECT{0, 0, 0, 0}));
    }
}

TEST_F(ResizeTest, PictureAndCaptionHorizontal) {
    Look s;
    s.style = 2;
    const QSize text = textExtent(record(s));
    const int T = text.width(), H = text.height(), P = pictureW, Q = pictureH;
    ASSERT_GT(T, P) << "the fixture needs a caption wider than the picture";
    ASSERT_GT(H, Q) << "and taller than it";

    s.alignment = 0; // picture above, narrower, centred over the caption
    Result r = resize(record(s));
    EXPECT_EQ(r.width(), u + 2 * m + T);
    EXPECT_EQ(r.height(), Q + H + 3 * m + 1);
    EXPECT_EQ(r.picture, (ZuRECT{(T + 3 * m - P) / 2, m, (T + 3 * m - P) / 2 + P, m + Q}));
    EXPECT_EQ(r.caption, (ZuRECT{m, Q + 2 * m, m + T, Q + 2 * m + H}));

    s.alignment = 3; // picture below the caption
    r = resize(record(s));
    EXPECT_EQ(r.caption, (ZuRECT{m, m, m + T, m + H}));
    EXPECT_EQ(r.picture.top, m + H + m);

    s.alignment = 1; // picture left, lower than the caption and centred against it
    r = resize(record(s));
    EXPECT_EQ(r.width(), P + u + T + 3 * m);
    EXPECT_EQ(r.height(), 1 + 2 * m + H);
    EXPECT_EQ(r.picture, (ZuRECT{m, (H + 2 * m - Q) / 2, m + P, (H + 2 * m - Q) / 2 + Q}));
    EXPECT_EQ(r.caption, (ZuRECT{P + 2 * m, m, P + 2 * m + T, m + H}));

    s.alignment = 2; // picture right of the caption
    r = resize(record(s));
    EXPECT_EQ(r.caption.left, m);
    EXPECT_EQ(r.picture.left, m + T + m);
}

TEST_F(ResizeTest, PictureAndCaptionVertical) {
    Look s;
    s.orientation = 1;
    s.style = 2;
    const QSize text = textExtent(record(s));
    const int T = text.width(), H = text.height(), P = pictureH, Q = pictureW; // unturned: height across
    ASSERT_GT(T, Q);
    ASSERT_GT(H, P);

    s.alignment = 0; // picture left of the caption, lower, centred along it
    Result r = resize(record(s));
    EXPECT_EQ(r.width(), P + H + 3 * m);
    EXPECT_EQ(r.height(), u + 2 * m + T);
    EXPECT_EQ(r.picture, (ZuRECT{m, u + (T + 2 * m - Q) / 2, m + P, u + (T + 2 * m - Q) / 2 + Q}));
    EXPECT_EQ(r.caption, (ZuRECT{P + 2 * m, u + m, P + 2 * m + H, u + m + T}));

    s.alignment = 1; // caption above the picture, the picture centred across
    r = resize(record(s));
    EXPECT_EQ(r.width(), H + 2 * m);
    EXPECT_EQ(r.height(), u + 3 * m + T + Q);
    EXPECT_EQ(r.caption, (ZuRECT{m, u + m, m + H, u + m + T}));
    EXPECT_EQ(r.picture,
              (ZuRECT{(H + 2 * m - P) / 2, u + m + T + m, (H + 2 * m - P) / 2 + P, u + 2 * m + T + Q}));

    // Orientation 2 with alignment a lays out as orientation 1 with alignment 3 - a.
    for (int a = 0; a < 4; ++a) {
        Look turned = s, mirrored = s;
        turned.orientation = 2;
        turned.alignment = a;
        mirrored.alignment = 3 - a;
        Result x = resize(record(turned)), y = resize(record(mirrored));
        EXPECT_EQ(x.picture, y.picture) << "alignment " << a;
        EXPECT_EQ(x.caption, y.caption) << "alignment " << a;
        EXPECT_EQ(x.size.width, y.size.width);
        EXPECT_EQ(x.size.height, y.size.height);
    }
}

// Whatever the orientation, alignment and content: the rectangles keep their sizes, stay inside the button's
// body and clear of the drop-down part, and never overlap.
TEST_F(ResizeTest, RectanglesFitTheBodyForEveryCombination) {
    for (int orientation = 0; orientation < 3; ++orientation)
        for (int alignment = 0; alignment < 4; ++alignment)
            for (int style : {1, 2})
                for (int content = 0; content < 3; ++content) {
                    Look s{orientation, alignment, style, 0, content != 2, content != 1};
                    const PanelButtonRecord rec = record(s);
                    Result r = resize(rec);
                    SCOPED_TRACE(testing::Message()
                                 << "orientation " << orientation << " alignment " << alignment << " style "
                                 << style << " content " << content);
                    const bool vertical = orientation != 0;
                    const int dd = style == 2 ? u : 0;
                    const QRect body(vertical ? 0 : 0, vertical ? dd : 0, r.width() - (vertical ? 0 : dd),
                                     r.height() - (vertical ? dd : 0));
                    auto toQ = [](const ZuRECT& z) {
                        return QRect(z.left, z.top, z.right - z.left, z.bottom - z.top);
                    };
                    if (s.picture) {
                        EXPECT_TRUE(body.contains(toQ(r.picture))) << r.picture;
                        EXPECT_EQ(toQ(r.picture).size(),
                                  vertical ? QSize(pictureH, pictureW) : QSize(pictureW, pictureH));
                    }
                    if (s.caption) {
                        const QSize text = textExtent(rec);
                        EXPECT_TRUE(body.contains(toQ(r.caption))) << r.caption;
                        EXPECT_EQ(toQ(r.caption).size(), vertical ? text.transposed() : text);
                    }
                    if (s.picture && s.caption) {
                        EXPECT_FALSE(toQ(r.picture).intersects(toQ(r.caption)));
                    }
                }
}

TEST_F(ResizeTest, SeparatorTakesItsLengthAndThickness) {
    Look s{0, 0, 4, 0, false, false};
    Result r = resize(record(s));
    EXPECT_EQ(r.size.width, 8 * 15.0f);
    EXPECT_EQ(r.size.height, 24 * 15.0f);
    for (int orientation : {1, 2}) {
        s.orientation = orientation;
        r = resize(record(s));
        EXPECT_EQ(r.size.width, 24 * 15.0f);
        EXPECT_EQ(r.size.height, 8 * 15.0f);
    }
}

TEST_F(ResizeTest, EmptyButtonGrowsOnlyByItsDropDownPart) {
    struct Case {
        int orientation, style;
        float width, height;
    };
    const Case cases[] = {
        {0, 2, 600 + u * 15.0f, 300},
        {1, 2, 600, 300 + u * 15.0f},
        {2, 2, 600, (u + 20) * 15.0f},
        {0, 1, 600, 300},
        {1, 3, 600, 300},
    };
    for (const Case& c : cases) {
        Result r = resize(record(Look{c.orientation, 0, c.style, 0, false, false}));
        EXPECT_EQ(r.size.width, c.width) << "orientation " << c.orientation << " style " << c.style;
        EXPECT_EQ(r.size.height, c.height) << "orientation " << c.orientation << " style " << c.style;
    }
}

TEST_F(ResizeTest, ReturnsTwipsAtEachAxisScale) {
    PanelButtonRecord r = record(Look{0, 0, 1, 0, true, false});
    r.twipsPerPixelX = 12.0f;
    r.twipsPerPixelY = 15.0f;
    r.pictureWidth = r.pictureHeight = himetricFor(pictureW); // about 24 pixels wide at 12 twips
    Surface s(4, 4);
    ZuSIZEF size{0, 0};
    ZuRECT picture, caption;
    ZuPanelButton_Resize(0, s.dc, &r, &size, &picture, &caption, 0);
    const int P = picturePixels(r.pictureWidth, 12.0f);
    EXPECT_EQ(size.width, (P + 2 * m) * 12.0f);
    EXPECT_EQ(size.height, (pictureW + 2 * m) * 15.0f);
}

} // namespace
