// Owner-drawn menu lines: the areas and their edges, the frame forms, use-default colours, the line kinds,
// the glyphs, pictures, caption pictures, captions and shortcut texts, at rest and selected; and the measured
// sizes.
#include "MenuFixture.h"

#include <functional>
#include <limits>

using namespace zu;
using namespace zutest;

namespace {

const COLORREF paper = rgb(0, 255, 0); // what the line does not draw keeps this
const COLORREF black = rgb(0, 0, 0);
const COLORREF chk = rgb(250, 200, 200), pic = rgb(200, 250, 200), cap = rgb(200, 200, 250);
const COLORREF frameColour = rgb(0, 0, 200);
const COLORREF red = rgb(255, 0, 0);
// Line geometry of the cases: 160 wide, 20 high, check area 20 (the default), picture area 24.
constexpr int W = 160, H = 20, C = 20, P = 24;

struct Probe {
    int x, y;
    COLORREF colour;
};

struct LineCase {
    const char* name;
    std::function<void(CZuMenuExCtrl&, MenuOptions&, LineOptions&)> setup;
    bool selected;
    std::vector<Probe> probes;
};

class MenuLines : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        control = std::make_unique<CZuMenuExCtrl>();
        control->setFrameColor(frameColour);
    }
    void TearDown() override {
        control.reset();
        EngineTest::TearDown();
    }
    // Builds a one-line menu, measures it and draws the line into a fresh surface.
    std::unique_ptr<Surface> draw(MenuOptions options, LineOptions line, bool selected) {
        const menu::ZuHMENU popup = buildMenu(*control, 0, {line}, options);
        openAndMeasure(*control, popup, 1);
        auto s = std::make_unique<Surface>(W, line.height, paper);
        drawLine(*control, popup, *s, 0, line.height, selected);
        return s;
    }
    std::unique_ptr<CZuMenuExCtrl> control;
};

COLORREF frameFill() {
    return lighten(frameColour, 50);
}

std::vector<LineCase> cases() {
    const COLORREF grey = gdi::getSysColor(gdi::COLOR_GRAYTEXT);
    const COLORREF defCheck = rgb(100, 110, 120), defPicture = rgb(130, 140, 150),
                   defCaption = rgb(160, 170, 180);
    auto useDefaults = [=](CZuMenuExCtrl& c, MenuOptions& m, LineOptions&) {
        m.useDefault = true;
        c.setDefCheckAreaColor(defCheck);
        c.setDefPictureAreaColor(defPicture);
        c.setDefCaptionAreaColor(defCaption);
    };
    auto frameForm = [](int form) {
        return [form](CZuMenuExCtrl& c, MenuOptions&, LineOptions&) { c.setFrameForm(form); };
    };
    auto noCheckArea = [](int form) {
        return [form](CZuMenuExCtrl& c, MenuOptions& m, LineOptions&) {
            c.setFrameForm(form);
            m.checkArea = false;
        };
    };
    return {
        {"rest_areas_with_check_area",
         [](auto&, auto&, auto&) {},
         false,
         {{0, 0, chk},
          {C - 1, 0, chk},
          {C, 0, pic},
          {C + P - 1, 0, pic},
          {C + P, 0, cap},
          {W - 1, H - 1, cap}}},
        {"rest_areas_without_check_area",
         [](auto&, MenuOptions& m, auto&) { m.checkArea = false; },
         false,
         {{0, 0, pic}, {P - 1, 0, pic}, {P, 0, cap}}},
        {"rest_areas_start_past_the_label_strip",
         [](auto&, MenuOptions& m, auto&) { m.label = QStringLiteral("L"); },
         false,
         {{0, 0, rgb(90, 90, 160)},
          {11, 0, rgb(90, 90, 160)},
          {12, 0, paper},
          {13, 0, chk},
          {13 + C, 0, pic},
          {13 + C + P, 0, cap}}},
        {"rest_use_default_hidden_line_darkened_by_5",
         [=](CZuMenuExCtrl& c, MenuOptions& m, LineOptions& l) {
             useDefaults(c, m, l);
             l.visible = 0;
         },
         false,
         {{0, 0, rgb(95, 105, 115)}, {C, 0, rgb(125, 135, 145)}, {C + P, 0, rgb(155, 165, 175)}}},
        {"rest_use_default_visible_line",
         useDefaults,
         false,
         {{0, 0, defCheck}, {C, 0, defPicture}, {C + P, 0, defCaption}}},
        {"rest_use_default_off_takes_the_line_colours",
         [=](CZuMenuExCtrl& c, MenuOptions& m, LineOptions& l) {
             useDefaults(c, m, l);
             m.useDefault = false;
             l.visible = 0;
         },
         false,
         {{0, 0, chk}, {C, 0, pic}, {C + P, 0, cap}}},
        {"rest_one_pixel_strip_only_its_areas_not_darkened",
         [=](CZuMenuExCtrl& c, MenuOptions& m, LineOptions& l) {
             useDefaults(c, m, l);
             l.visible = 0;
             l.height = 1;
             l.checked = -1;
         },
         false,
         {{0, 0, defCheck}, {5, 0, defCheck}, {C, 0, defPicture}, {C + P, 0, defCaption}}},
        {"rest_separator_line",
         [](auto&, auto&, LineOptions& l) { l.height = 3; },
         false,
         {{C + P + 4, 1, cap},
          {C + P + 5, 1, gdi::getSysColor(gdi::COLOR_GRAYTEXT)},
          {W - 1, 1, grey},
          {C + P + 5, 0, cap},
          {C + P + 5, 2, cap},
          {0, 1, chk}}},
        {"rest_builtin_check_mark",
         [](auto&, auto&, LineOptions& l) {
             l.checked = -1;
             l.caption.clear();
         },
         false,
         // 10 x 9 centred in the 20 x 20 check area: left 5, top 5.
         {{14, 5, black},
          {13, 5, chk},
          {13, 6, black},
          {5, 8, black},
          {6, 8, chk},
          {11, 8, black},
          {8, 13, black},
          {7, 13, chk},
          {9, 13, chk},
          {5, 5, chk},
          {14, 4, chk}}},
        {"rest_expand_line_chevron",
         [](auto&, auto&, LineOptions& l) { l.caption = QStringLiteral("^"); },
         false,
         // 5 x 7 centred in the frame rectangle 0..160: left 77, top 6.
         {{77, 6, black},
          {78, 6, cap},
          {81, 6, black},
          {79, 8, black},
          {78, 9, cap},
          {79, 9, black},
          {79, 12, black},
          {78, 12, cap}}},
        {"selected_frame_form_0",
         frameForm(0),
         true,
         {{0, 0, frameColour},
          {0, 10, frameColour},
          {W - 1, 10, frameColour},
          {80, H - 1, frameColour},
          {1, 1, frameFill()},
          {C + 1, 1, frameFill()}}},
        {"selected_frame_form_1_begins_at_the_check_width",
         frameForm(1),
         true,
         {{0, 1, chk}, {C - 1, 1, chk}, {C, 1, frameColour}, {C + 1, 1, frameFill()}}},
        {"selected_frame_form_2_begins_past_the_picture_area",
         frameForm(2),
         true,
         {{0, 1, chk},
          {C, 1, pic},
          {C + P - 1, 1, pic},
          {C + P, 1, frameColour},
          {C + P + 1, 1, frameFill()}}},
        {"selected_frame_form_1_without_check_area",
         noCheckArea(1),
         true,
         {{0, 1, frameColour}, {1, 1, frameFill()}}},
        {"selected_frame_form_2_without_check_area",
         noCheckArea(2),
         true,
         {{0, 1, pic}, {P - 1, 1, pic}, {P, 1, frameColour}}},
        {"selected_frame_after_the_label_strip",
         [](CZuMenuExCtrl& c, MenuOptions& m, auto&) {
             c.setFrameForm(1);
             m.label = QStringLiteral("L");
         },
         true,
         {{13, 1, chk}, {13 + C, 1, frameColour}, {14 + C, 1, frameFill()}}},
        {"selected_greyed_line_still_framed_in_frame_colour",
         [](auto&, auto&, LineOptions& l) { l.enabled = 1; },
         true,
         {{0, 0, frameColour}, {1, 1, frameFill()}}},
        {"selected_enabled_0_framed_in_grey",
         [](auto&, auto&, LineOptions& l) { l.enabled = 0; },
         true,
         {{0, 0, grey}, {1, 1, lighten(grey, 50)}}},
        {"selected_undefined_frame_form_draws_nothing",
         frameForm(3),
         true,
         {{0, 0, paper}, {1, 1, paper}, {80, 10, paper}, {W - 1, H - 1, paper}}},
        {"selected_separator_draws_nothing",
         [](auto&, auto&, LineOptions& l) { l.height = 3; },
         true,
         {{0, 0, paper}, {80, 1, paper}, {W - 1, 2, paper}}},
        {"selected_one_pixel_strip_draws_nothing",
         [](auto&, auto&, LineOptions& l) { l.height = 1; },
         true,
         {{0, 0, paper}, {W - 1, 0, paper}}},
        {"selected_expand_line_frames_from_the_strip_whatever_the_frame_form",
         [](CZuMenuExCtrl& c, auto&, LineOptions& l) {
             c.setFrameForm(2);
             l.caption = QStringLiteral("^");
         },
         true,
         {{0, 0, frameColour}, {1, 1, frameFill()}, {79, 12, black}, {78, 12, frameFill()}}},
        {"selected_check_mark_over_the_frame_fill",
         [](auto&, auto&, LineOptions& l) {
             l.checked = -1;
             l.caption.clear();
         },
         true,
         {{14, 5, black}, {13, 5, frameFill()}, {8, 13, black}}},
    };
}

TEST_F(MenuLines, AreasFramesAndKindsAtRestAndSelected) {
    for (const LineCase& c : cases()) {
        SCOPED_TRACE(c.name);
        control = std::make_unique<CZuMenuExCtrl>();
        control->setFrameColor(frameColour);
        MenuOptions options;
        LineOptions line;
        c.setup(*control, options, line);
        auto s = draw(options, line, c.selected);
        for (const Probe& p : c.probes)
            EXPECT_EQ(s->at(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
    }
}

TEST_F(MenuLines, StringPictAlignments) {
    // A 6 x 4 caption picture in a line without caption text; white is the mask colour, so a white border is
    // not drawn.
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 7; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    const struct {
        int align;
        int left; // of the 8-pixel picture; its red starts one further
    } alignments[] = {{0, C + P + 1}, {1, W - 8 - 11}, {2, (C + P + W - 8) / 2}};
    for (const auto& a : alignments) {
        SCOPED_TRACE(a.align);
        control = std::make_unique<CZuMenuExCtrl>();
        LineOptions line;
        line.caption.clear();
        line.stringPict = QPixmap::fromImage(image);
        line.strPictAlign = a.align;
        auto s = draw(MenuOptions{}, line, false);
        EXPECT_EQ(s->box(red), QRect(a.left + 1, (H - 6) / 2 + 1, 6, 4));
        EXPECT_EQ(s->count(rgb(255, 255, 255)), 0) << "mask pixels keep the caption area";
        auto selected = draw(MenuOptions{}, line, true);
        EXPECT_EQ(selected->box(red), QRect(a.left + 1, (H - 6) / 2 + 1, 6, 4)) << "selected: the same place";
    }
    for (int undefined : {-1, 3}) {
        control = std::make_unique<CZuMenuExCtrl>();
        LineOptions line;
        line.stringPict = QPixmap::fromImage(image);
        line.strPictAlign = undefined;
        EXPECT_EQ(draw(MenuOptions{}, line, false)->count(red), 0) << "alignment " << undefined;
    }
}

TEST_F(MenuLines, LinePicturesThroughTheirEffects) {
    const COLORREF green = rgb(10, 120, 10);
    const QPixmap picture = solidPixmap(8, 8, QColor(10, 120, 10));
    // 8 x 8 centred in the picture area 20..44: at (28, 6).
    struct PictureCase {
        const char* name;
        std::function<void(CZuMenuExCtrl&, LineOptions&)> setup;
        bool selected;
        std::vector<Probe> probes;
    };
    const std::vector<PictureCase> table = {
        {"rest_lightened_by_major",
         [](auto&, auto&) {},
         false,
         {{28, 6, lighten(green, 50)}, {35, 13, lighten(green, 50)}, {27, 6, pic}, {36, 6, pic}}},
        {"rest_grey_when_asked",
         [](CZuMenuExCtrl& c, auto&) { c.setInActPictWhiteAndBlack(true); },
         false,
         {{28, 6, greyOf(green)}}},
        {"rest_disabled_when_greyed",
         [](auto&, LineOptions& l) { l.enabled = 1; },
         false,
         {{28, 6, disabledColor(green)}}},
        {"selected_raised_with_a_shadow_that_darkens_what_lies_under_it",
         [](auto&, auto&) {},
         true,
         {{27, 5, green},
          {34, 12, green},
          {35, 13, darkenRaw(frameFill(), 30)},
          {35, 7, darkenRaw(frameFill(), 30)},
          {26, 5, frameFill()}}},
        {"selected_flat_without_app_active_picture",
         [](CZuMenuExCtrl& c, auto&) { c.setAppActivePicture(false); },
         true,
         {{28, 6, green}, {35, 13, green}, {27, 5, frameFill()}, {36, 14, frameFill()}}},
        {"selected_enabled_0_flat_and_disabled",
         [](auto&, LineOptions& l) { l.enabled = 0; },
         true,
         {{28, 6, disabledColor(green)}}},
        {"quarter_turn_keeps_the_centre",
         [](auto&, LineOptions& l) {
             l.picture = solidPixmap(8, 4, QColor(10, 120, 10));
             l.escapement = 1;
         },
         false,
         {{30, 6, lighten(green, 50)}, {33, 13, lighten(green, 50)}, {29, 6, pic}, {34, 6, pic}}},
        {"one_pixel_strip_shows_no_picture", [](auto&, LineOptions& l) { l.height = 1; }, false, {}},
        {"pattern_tiles_the_resting_caption_area_only",
         [](CZuMenuExCtrl& c, auto&) {
             QImage tiles(2, 1, QImage::Format_RGB32);
             tiles.setPixel(0, 0, qRgb(255, 128, 0));
             tiles.setPixel(1, 0, qRgb(0, 128, 255));
             c.setPattern(QPixmap::fromImage(tiles));
         },
         false,
         {{C + P, 0, rgb(255, 128, 0)},
          {C + P + 1, 0, rgb(0, 128, 255)},
          {W - 2, H - 1, rgb(255, 128, 0)},
          {C + P - 1, 0, pic},
          {0, 0, chk}}},
    };
    for (const PictureCase& c : table) {
        SCOPED_TRACE(c.name);
        control = std::make_unique<CZuMenuExCtrl>();
        control->setFrameColor(frameColour);
        LineOptions line;
        line.caption.clear();
        line.picture = picture;
        c.setup(*control, line);
        auto s = draw(MenuOptions{}, line, c.selected);
        for (const Probe& p : c.probes)
            EXPECT_EQ(s->at(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
        if (line.height == 1) {
            EXPECT_EQ(s->count(lighten(green, 50)) + s->count(green), 0);
        }
    }
}

TEST_F(MenuLines, CaptionColoursAndShortcutText) {
    const COLORREF fore = rgb(0, 0, 128), controlFore = rgb(128, 0, 0);
    const COLORREF grey = sys(gdi::COLOR_GRAYTEXT);
    const QRect captionRect(C + P, 0, W - C - P, H);
    struct TextCase {
        const char* name;
        std::function<void(CZuMenuExCtrl&, MenuOptions&, LineOptions&)> setup;
        bool selected;
        COLORREF present;
        COLORREF absent;
    };
    const std::vector<TextCase> table = {
        {"rest_line_colour", [](auto&, auto&, auto&) {}, false, fore, controlFore},
        {"rest_control_colour_under_use_default", [](auto&, MenuOptions& m, auto&) { m.useDefault = true; },
         false, controlFore, fore},
        {"rest_greyed_in_grey_text", [](auto&, auto&, LineOptions& l) { l.enabled = 1; }, false, grey, fore},
        {"selected_line_colour_also_under_use_default",
         [](auto&, MenuOptions& m, auto&) { m.useDefault = true; }, true, fore, controlFore},
        {"selected_inverted", [](CZuMenuExCtrl& c, auto&, auto&) { c.setInvertActiveForeColor(true); }, true,
         invertColor(fore), fore},
        {"selected_greyed_in_grey_text", [](auto&, auto&, LineOptions& l) { l.enabled = 1; }, true, grey,
         fore},
        {"selected_shadow_under_the_caption",
         [](CZuMenuExCtrl& c, auto&, auto&) { c.setCaptionShadow(true); }, true,
         darkenRaw(lighten(frameColour, 50), 30), controlFore},
    };
    for (const TextCase& c : table) {
        SCOPED_TRACE(c.name);
        control = std::make_unique<CZuMenuExCtrl>();
        control->setFrameColor(frameColour);
        control->setForeColor(controlFore);
        control->setFontName(QStringLiteral("DejaVu Sans"));
        MenuOptions options;
        LineOptions line;
        line.caption = QStringLiteral("Open");
        c.setup(*control, options, line);
        auto s = draw(options, line, c.selected);
        EXPECT_GT(s->count(c.present, captionRect), 10);
        EXPECT_EQ(s->count(c.absent, captionRect), 0);
        EXPECT_EQ(s->count(c.present, QRect(0, 0, C + P + 4, H)), 0)
            << "text starts 5 pixels into the caption area";
    }

    // The shortcut ends 15 pixels before the right edge; "(none)" shows nothing.
    for (const QString& shortCut : {QStringLiteral("Ctrl+O"), QStringLiteral("(none)")}) {
        control = std::make_unique<CZuMenuExCtrl>();
        LineOptions line;
        line.caption = QStringLiteral("A");
        line.shortCut = shortCut;
        auto s = draw(MenuOptions{}, line, false);
        const QRect right(100, 0, W - 100, H);
        if (shortCut == QLatin1String("(none)")) {
            EXPECT_EQ(s->count(fore, right), 0);
            continue;
        }
        const QRect box = s->box(fore) & right;
        EXPECT_FALSE(box.isEmpty());
        EXPECT_LE(box.right(), W - 16);
        EXPECT_GE(box.right(), W - 18) << "right-aligned against the moved edge";
    }
}

TEST_F(MenuLines, LabelStripOncePerOpeningInItsFace) {
    // The strip is drawn by the first resting line and covers the menu's whole height.
    const MenuOptions options{true, 24, QStringLiteral("Menu"), 14, rgb(90, 90, 160), rgb(255, 255, 0),
                              false};
    std::vector<LineOptions> lines(3);
    lines[1].height = 3;
    const menu::ZuHMENU popup = buildMenu(*control, 0, lines, options);
    openAndMeasure(*control, popup, 3);
    Surface s(W, 43, paper);
    drawLine(*control, popup, s, 0, 20, false);
    EXPECT_EQ(s.at(0, 42), rgb(90, 90, 160)) << "down to the total height 20 + 3 + 20";
    EXPECT_EQ(s.at(14, 42), paper) << "the column after the strip stays undrawn";
    EXPECT_GT(s.count(rgb(255, 255, 0)), 20) << "label text in its colour";
    // Drawn once: painting over it and drawing another line leaves it painted over.
    ZuHGDIOBJ brush = gdi::createSolidBrush(paper);
    gdi::fillRect(s.dc, ZuRECT{0, 0, 14, 43}, brush);
    gdi::deleteObject(brush);
    drawLine(*control, popup, s, 23, 20, false);
    EXPECT_EQ(s.at(0, 42), paper);
    // A new opening draws it again.
    control->initMenuPopup(popup);
    drawLine(*control, popup, s, 23, 20, false);
    EXPECT_EQ(s.at(0, 42), rgb(90, 90, 160));

    // The face: "Arial" for the control's "MS Sans Serif", the platform's default otherwise.
    auto stripWith = [&](const QString& controlFont) {
        CZuMenuExCtrl c;
        c.setFontName(controlFont);
        const menu::ZuHMENU p = buildMenu(c, 0, {LineOptions{}}, options);
        openAndMeasure(c, p, 1);
        Surface strip(W, 20, paper);
        drawLine(c, p, strip, 0, 20, false);
        return strip.image.copy(0, 0, 14, 20);
    };
    auto reference = [&](const QString& face) {
        Surface strip(W, 20, paper);
        ZuHGDIOBJ fill = gdi::createSolidBrush(rgb(90, 90, 160));
        gdi::fillRect(strip.dc, ZuRECT{0, 0, 14, 20}, fill);
        gdi::deleteObject(fill);
        gdi::LogFont log;
        log.height = -12;
        log.escapement = log.orientation = 900;
        log.weight = 200;
        log.faceName = face;
        ScopedObject font(strip.dc, gdi::createFontIndirect(log));
        gdi::setBkMode(strip.dc, gdi::TRANSPARENT);
        gdi::setTextColor(strip.dc, rgb(255, 255, 0));
        gdi::textOut(strip.dc, -2, 15, QStringLiteral("Menu"));
        return strip.image.copy(0, 0, 14, 20);
    };
    EXPECT_EQ(stripWith(QStringLiteral("MS Sans Serif")), reference(QStringLiteral("Arial")));
    EXPECT_EQ(stripWith(QStringLiteral("Arial")), reference(QString()));
}

TEST_F(MenuLines, MeasuredSizesAndTheMeasureItemRoundTrip) {
    struct SizeCase {
        const char* name;
        MenuOptions options;
        int expectedWidth;
    };
    const SizeCase table[] = {
        {"no_label", MenuOptions{}, 100 + 2},
        {"without_check_area", MenuOptions{false, 24, QString(), 12, 0, 0, false}, 100 + 2 - C},
        {"label_own_width", MenuOptions{true, 24, QStringLiteral("L"), 12, 0, 0, false}, 12 + 100 + 2},
        {"label_under_use_default_takes_the_control_width",
         MenuOptions{true, 24, QStringLiteral("L"), 30, 0, 0, true}, 16 + 100 + 2},
    };
    for (const SizeCase& c : table) {
        SCOPED_TRACE(c.name);
        control = std::make_unique<CZuMenuExCtrl>();
        control->setLabelAreaWidth(16);
        std::vector<LineOptions> lines(2);
        lines[1].height = 3;
        const menu::ZuHMENU popup = buildMenu(*control, 5, lines, c.options);
        QSignalSpy measures(control.get(), &CZuMenuExCtrl::MeasureItem);
        const auto measured = openAndMeasure(*control, popup, 2);
        EXPECT_EQ(measured[0].itemWidth, c.expectedWidth);
        EXPECT_EQ(measured[0].itemHeight, 20);
        EXPECT_EQ(measured[1].itemHeight, 3);
        ASSERT_EQ(measures.size(), 2);
        EXPECT_EQ(measures[0], (QVariantList{0, 5}));
        EXPECT_EQ(measures[1], (QVariantList{1, 5}));
        EXPECT_EQ(control->menuSlot(5).totalHeight, 23);
    }

    // A popup that belongs to no menu of the control is measured as nothing and drawn as nothing.
    control = std::make_unique<CZuMenuExCtrl>();
    QSignalSpy measures(control.get(), &CZuMenuExCtrl::MeasureItem);
    menu::MeasureItemStruct m{1, 50, 50};
    control->initMenuPopup(0xDEAD);
    control->measureItem(0xDEAD, m);
    EXPECT_EQ(m.itemWidth, 0);
    EXPECT_EQ(m.itemHeight, 0);
    EXPECT_EQ(measures.size(), 0);
    Surface s(W, H, paper);
    drawLine(*control, 0xDEAD, s, 0, H, false);
    drawLine(*control, 0xDEAD, s, 0, H, true);
    EXPECT_EQ(s.count(paper), W * H);
}

TEST_F(MenuLines, AbsurdSizesAreDrawnWithoutOverflow) {
    // Sizes a container should never give: no arithmetic may overflow (the sanitizer build checks), nothing
    // outside the surface is touched.
    control->setLabelAreaWidth(std::numeric_limits<int>::max());
    control->setMargin(std::numeric_limits<int>::max());
    control->setCheckAreaWidth(std::numeric_limits<float>::infinity());
    const int big = std::numeric_limits<int>::max();
    for (bool useDefault : {false, true}) {
        const int popup = control->CreateMenu(0);
        control->AddMenuString(0, popup, 0, QStringLiteral("x"), {}, {}, {}, solidPixmap(4, 4, Qt::red), 0,
                               -1, -1, -1, 0, 0, 0, 0, 1e30f, -1e30f, {}, 0, 0, 0, 0, QStringLiteral("y"), 0,
                               {}, 0);
        control->AddSizeMenuString(0, popup, 0, big, big, big, true, big, QStringLiteral("L"), big, 0, 0,
                                   useDefault);
        const auto measured = openAndMeasure(*control, static_cast<menu::ZuHMENU>(popup), 1);
        EXPECT_GE(measured[0].itemWidth, 0);
        Surface s(W, H, paper);
        drawLine(*control, static_cast<menu::ZuHMENU>(popup), s, 1000000, H, false);
        drawLine(*control, static_cast<menu::ZuHMENU>(popup), s, 1000000, H, true);
    }
    Surface button(W, H, paper);
    control->paintButton(button.dc, ZuRECT{0, 0, W, H});
}

TEST_F(MenuLines, LinesAreFoundByTheirTop) {
    std::vector<LineOptions> lines(3);
    lines[0].captionArea = rgb(10, 10, 10);
    lines[1].captionArea = rgb(20, 20, 20);
    lines[2].captionArea = rgb(30, 30, 30);
    const menu::ZuHMENU popup = buildMenu(*control, 0, lines, MenuOptions{});
    openAndMeasure(*control, popup, 3);
    Surface s(W, 60, paper);
    drawLine(*control, popup, s, 40, 20, false);
    EXPECT_EQ(s.at(W - 1, 40), rgb(30, 30, 30));
    drawLine(*control, popup, s, 20, 20, false);
    EXPECT_EQ(s.at(W - 1, 20), rgb(20, 20, 20));
    drawLine(*control, popup, s, 7, 20, false);
    EXPECT_EQ(s.at(W - 1, 7), rgb(10, 10, 10)) << "a top that matches no line draws line 0";
}

} // namespace
