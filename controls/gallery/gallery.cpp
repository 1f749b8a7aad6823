// Paints the engine's whole range onto one sheet: every appearance, shape, orientation, style, picture
// alignment and effect, at rest, hot and pressed, and panels in every frame and caption mode, at the screen's
// device pixel ratio. Usage: [QT_SCALE_FACTOR=2] zu_gallery OUTPUT.png
#include "ColorFunction.h"
#include "ZuComponents.h"
#include "platform/ZuGdi.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <vector>

namespace {

using zu::gdi::rgb;

constexpr float twips = 15.0f;
constexpr int32_t systemColour = static_cast<int32_t>(0x80000000u);

float himetric(int pixels) {
    return static_cast<float>((pixels + 0.5) * 1.76190476190476 * twips);
}

// A 16 x 16 picture on a magenta mask: a blue disc, a red bar along the top and a yellow dot at the top left,
// so that turns and effects are easy to see.
QImage makeIcon() {
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(QColor(255, 0, 255));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            int dx = x - 8, dy = y - 9;
            if (dx * dx + dy * dy <= 30) icon.setPixel(x, y, qRgb(40, 90, 200 + (x * 3)));
            if (y <= 2 && x >= 2) icon.setPixel(x, y, qRgb(200, 30, 30));
            if (x <= 2 && y <= 2) icon.setPixel(x, y, qRgb(250, 220, 0));
        }
    return icon;
}

enum class Look { Rest, Hot, Pressed, HotPressed, DropDownPressed, Disabled };

const char* lookName(Look look) {
    switch (look) {
    case Look::Rest:
        return "at rest";
    case Look::Hot:
        return "hot";
    case Look::Pressed:
        return "pressed";
    case Look::HotPressed:
        return "hot pressed";
    case Look::DropDownPressed:
        return "arrow pressed";
    case Look::Disabled:
        return "disabled";
    }
    return "";
}

qreal ratio() {
    return qApp->devicePixelRatio();
}

// One panel of the sheet, painted by the engine, with buttons placed on it.
class Panel {
  public:
    // At the screen's device pixel ratio (QT_SCALE_FACTOR=2 gives the sheet as a 200 % screen shows it).
    Panel(int width, int height) : image_(QSize(width, height) * ratio(), QImage::Format_RGB32) {
        image_.setDevicePixelRatio(ratio());
        image_.fill(Qt::white);
        dc_ = zu::gdi::createImageDC(&image_);
        window_ = zu::gdi::createWindow(0, 0, 0, width, height);
    }
    ~Panel() {
        zu::gdi::deleteDC(dc_);
        zu::gdi::destroyWindow(window_);
    }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    void paint(const char* caption, int backColor, int frameColor, int captionMode, int frameWidth,
               int backGradient, int captionGradient, int intensity, ZuHBITMAP pattern, int appearance,
               ZuRECT captionRect, int frameStyle, int outerEdge) {
        ZuPanel_Paint(window_, dc_, caption, backColor, frameColor, static_cast<int32_t>(rgb(255, 255, 255)),
                      captionMode, 0, frameWidth, 0, 12, backGradient, captionGradient, intensity, pattern, 1,
                      appearance, &captionRect, frameStyle, outerEdge);
    }

    // Sizes the button automatically, paints it in the given look and lays it on the panel through its window
    // region. Returns its size in pixels.
    QSize place(int x, int y, const PanelButtonRecord& record, Look look, QSize fixed = {}) {
        ZuSIZEF size{fixed.width() * twips, fixed.height() * twips};
        ZuRECT picture{0, 0, 0, 0}, caption{0, 0, 0, 0};
        ZuPanelButton_Resize(0, dc_, &record, &size, &picture, &caption, 0);
        const int w = std::max(1, static_cast<int>(size.width / twips + 0.5f));
        const int h = std::max(1, static_cast<int>(size.height / twips + 0.5f));

        ZuHWND button = zu::gdi::createWindow(window_, x, y, w, h);
        PanelButtonRegions regions{0, 0, 0};
        CreateButtonRegions(button, &record, &regions);
        QImage face(QSize(w, h) * ratio(), QImage::Format_RGB32);
        face.setDevicePixelRatio(ratio());
        face.fill(Qt::black);
        ZuHDC dc = zu::gdi::createImageDC(&face);
        zu::gdi::setBkColor(dc, zu::resolveColor(static_cast<uint32_t>(record.backColor)));

        PanelButtonRecord r = record;
        if (look == Look::Disabled) r.enabled = 0;
        const bool pressed = look == Look::Pressed || look == Look::HotPressed;
        ZuPanelButton_Paint(button, window_, dc, dc_, &r, &picture, &caption, pressed,
                            look == Look::DropDownPressed, 0);
        if (look == Look::Hot || look == Look::HotPressed)
            ZuPanelButton_MouseMove(button, dc, &r, &picture, &caption, pressed, 0, 0, 0, 0);

        QPainter painter(&image_);
        painter.setClipRegion(zu::gdi::windowRegion(button).translated(x, y) & QRect(x, y, w, h));
        painter.drawImage(x, y, face);
        painter.end();

        zu::gdi::deleteDC(dc);
        for (ZuHRGN region : {regions.body, regions.dropDown, regions.window})
            zu::gdi::deleteObject(region);
        zu::gdi::destroyWindow(button);
        return {w, h};
    }

    void label(int x, int y, const QString& text, QColor colour = Qt::black) {
        QPainter painter(&image_);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(10);
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(x, y + 10, text);
    }

    const QImage& image() const { return image_; }

  private:
    QImage image_;
    ZuHDC dc_ = 0;
    ZuHWND window_ = 0;
};

PanelButtonRecord baseRecord(ZuHBITMAP icon) {
    PanelButtonRecord r{};
    r.twipsPerPixelX = r.twipsPerPixelY = twips;
    r.style = 1;
    r.appearance = 1;
    r.pictureAlignment = 1;
    r.backStyle = 0;
    r.caption = "Расчет";
    r.enabled = 1;
    r.margin = 4;
    r.fontHeight = 8.0f;
    r.fontWeight = 400;
    r.fontName = "DejaVu Sans";
    r.backColor = systemColour | 15;
    r.foreColor = static_cast<int32_t>(rgb(0, 0, 90));
    r.fillColor = static_cast<int32_t>(rgb(200, 225, 250));
    r.activeBorderColor = static_cast<int32_t>(rgb(230, 120, 0));
    r.inactiveBorderColor = static_cast<int32_t>(rgb(60, 90, 150));
    r.pictureMaskColor = static_cast<int32_t>(rgb(255, 0, 255));
    r.arrowColor = static_cast<int32_t>(rgb(0, 0, 0));
    r.captionShadow = 1;
    r.shadowAmount = 70;
    r.lightenAmount = 60;
    r.darkenAmount = 80;
    r.shape = 0;
    r.roundX = r.roundY = 10;
    r.picture = icon;
    r.pictureWidth = r.pictureHeight = himetric(16);
    r.dropDownWidth = 12;
    r.dropDownMargin = 1;
    r.separatorLength = 10;
    r.separatorThickness = 28;
    r.separatorColor = static_cast<int32_t>(rgb(60, 90, 150));
    r.separatorWidth = 2;
    return r;
}

constexpr Look allLooks[] = {Look::Rest,    Look::Hot, Look::Pressed, Look::HotPressed, Look::DropDownPressed,
                             Look::Disabled};

// Appearances and shapes in every look.
void appearances(Panel& p, ZuHBITMAP icon) {
    p.paint("Appearances and shapes, in every look (drop-down buttons)", static_cast<int>(rgb(236, 240, 244)),
            static_cast<int>(rgb(60, 90, 150)), 0, 2, 0, 1, 3, 0, 2, ZuRECT{2, 2, 898, 20}, 1, 0);
    struct Row {
        const char* name;
        int appearance, shape;
    };
    const Row rows[] = {{"flat", 0, 0},
                        {"3-D", 1, 0},
                        {"shaped rectangle", 2, 0},
                        {"shaped rounded", 2, 1},
                        {"shaped ellipse", 2, 2}};
    for (int c = 0; c < 6; ++c)
        p.label(130 + c * 125, 26, lookName(allLooks[c]));
    int y = 42;
    for (const Row& row : rows) {
        p.label(8, y + 10, row.name);
        PanelButtonRecord r = baseRecord(icon);
        r.style = 2;
        r.appearance = static_cast<uint8_t>(row.appearance);
        r.shape = static_cast<uint8_t>(row.shape);
        if (row.shape == 2) r.margin = 8;
        int h = 0;
        for (int c = 0; c < 6; ++c)
            h = std::max(h, p.place(130 + c * 125, y, r, allLooks[c]).height());
        y += h + 8;
    }
}

// Orientations and picture alignments, automatically sized.
void orientations(Panel& p, ZuHBITMAP icon) {
    p.paint("Orientations x picture alignments (automatic size; 3-D, drop-down)",
            static_cast<int>(rgb(244, 240, 232)), static_cast<int>(rgb(120, 80, 40)), 0, 2, 0, 0, 1, 0, 2,
            ZuRECT{2, 2, 898, 20}, 0, 0);
    const char* alignments[] = {"picture above", "picture left", "picture right", "picture below"};
    for (int a = 0; a < 4; ++a)
        p.label(110 + a * 120, 26, alignments[a]);
    p.label(590, 26, "no picture");
    p.label(680, 26, "no caption");
    p.label(770, 26, "disabled");
    const char* names[] = {"horizontal", "text at 90°", "text at 270°"};
    int y = 42;
    for (int o = 0; o < 3; ++o) {
        p.label(8, y + 10, names[o]);
        int h = 0;
        for (int a = 0; a < 4; ++a) {
            PanelButtonRecord r = baseRecord(icon);
            r.style = 2;
            r.orientation = static_cast<uint8_t>(o);
            r.pictureAlignment = static_cast<uint8_t>(a);
            h = std::max(h, p.place(110 + a * 120, y, r, Look::Rest).height());
        }
        PanelButtonRecord r = baseRecord(icon);
        r.orientation = static_cast<uint8_t>(o);
        r.picture = 0;
        h = std::max(h, p.place(590, y, r, Look::Hot).height());
        r = baseRecord(icon);
        r.orientation = static_cast<uint8_t>(o);
        r.caption = "";
        r.style = 2;
        h = std::max(h, p.place(680, y, r, Look::Pressed).height());
        r = baseRecord(icon);
        r.orientation = static_cast<uint8_t>(o);
        r.pictureAlignment = 0;
        h = std::max(h, p.place(770, y, r, Look::Disabled).height());
        y += h + 10;
    }
}

// Picture effects, rotations and separators.
void pictures(Panel& p, ZuHBITMAP icon, ZuHBITMAP pattern) {
    p.paint("Picture effects, rotations, separators (flat buttons on a gradient)",
            static_cast<int>(rgb(250, 250, 255)), static_cast<int>(rgb(40, 110, 70)), 0, 2, 1, 2, 3, 0, 2,
            ZuRECT{2, 2, 898, 20}, 2, 0);
    const char* effects[] = {"0 as is", "1 lighter", "2 darker", "3 grey", "4 shadow", "5 disabled"};
    for (int e = 0; e < 6; ++e) {
        PanelButtonRecord r = baseRecord(icon);
        r.appearance = 1;
        r.caption = effects[e];
        r.pictureAlignment = 0;
        r.pictureEffect = static_cast<uint8_t>(e);
        r.pictureWidth = r.pictureHeight = himetric(24);
        p.place(10 + e * 85, 30, r, Look::Rest);
    }
    const char* rotations[] = {"turn 0", "turn 1", "turn 2", "turn 3"};
    for (int t = 0; t < 4; ++t) {
        PanelButtonRecord r = baseRecord(icon);
        r.appearance = 2;
        r.shape = 1;
        r.caption = rotations[t];
        r.pictureAlignment = 0;
        r.pictureRotation = t;
        r.pictureWidth = himetric(32);
        r.pictureHeight = himetric(20);
        p.place(530 + t * 90, 30, r, Look::Rest);
    }
    p.label(
        10, 106,
        "separators: shaped horizontal, shaped vertical, 3-D; picture-only style 4; transparent and opaque");
    PanelButtonRecord s = baseRecord(icon);
    s.style = 4;
    s.picture = 0;
    s.appearance = 2;
    int x = 10;
    PanelButtonRecord neighbour = baseRecord(icon);
    neighbour.appearance = 0;
    x += p.place(x, 124, neighbour, Look::Hot).width();
    x += p.place(x, 124, s, Look::Rest).width();
    x += p.place(x, 124, neighbour, Look::Rest).width() + 20;
    s.orientation = 1;
    p.place(x, 124, s, Look::Rest);
    x += 50;
    s.orientation = 0;
    s.appearance = 1;
    x += p.place(x, 124, s, Look::Rest).width() + 20;
    PanelButtonRecord pictureOnly = baseRecord(icon);
    pictureOnly.style = 4;
    pictureOnly.appearance = 2;
    pictureOnly.shape = 2;
    x += p.place(x, 124, pictureOnly, Look::Rest).width() + 20;
    PanelButtonRecord opaque = baseRecord(icon);
    opaque.backStyle = 1;
    opaque.appearance = 0;
    opaque.caption = "opaque";
    x += p.place(x, 124, opaque, Look::Rest).width() + 10;
    opaque.appearance = 2;
    opaque.shape = 1;
    opaque.shadowBase = 2;
    opaque.pictureEffect = 4;
    opaque.caption = "shadow on border";
    p.place(x, 124, opaque, Look::Rest);
    (void)pattern;
}

// Panels: frame styles, gradients, patterns, caption modes and appearances.
void panels(Panel& sheet, ZuHBITMAP pattern, int top) {
    struct Case {
        const char* caption;
        int captionMode, frameWidth, backGradient, captionGradient, intensity;
        bool pattern;
        int appearance, frameStyle, outerEdge;
    };
    const Case cases[] = {
        {"frame style 0", 0, 3, 0, 0, 1, false, 2, 0, 0},
        {"frame style 1", 0, 5, 0, 0, 1, false, 2, 1, 0},
        {"frame style 2", 0, 4, 0, 0, 1, false, 2, 2, 0},
        {"gradient 1", 0, 2, 1, 1, 2, false, 2, 0, 0},
        {"gradient 2", 0, 2, 2, 2, 1, false, 2, 1, 0},
        {"pattern", 0, 2, 0, 0, 1, true, 2, 0, 0},
        {"flat panel", 0, 0, 0, 0, 1, false, 0, 0, 0},
        {"3-D panel with a long caption", 0, 0, 0, 0, 1, false, 1, 0, 0},
        {"grip", 1, 0, 0, 0, 1, false, 2, 0, 1},
        {"vertical grip", 3, 0, 0, 0, 1, true, 2, 0, 1},
        {"edge band", 1, 0, 0, 0, 1, false, 0, 0, 1},
        {"raised band", 1, 0, 0, 0, 1, false, 1, 0, 0},
    };
    int i = 0;
    for (const Case& c : cases) {
        Panel p(140, 80);
        const bool vertical = c.captionMode == 3 || c.captionMode == 4;
        ZuRECT band = c.captionMode == 0 ? ZuRECT{c.frameWidth + 2, c.frameWidth + 2, 138 - c.frameWidth, 20}
                                         : (vertical ? ZuRECT{4, 4, 14, 76} : ZuRECT{4, 4, 136, 14});
        p.paint(c.caption, static_cast<int>(rgb(225, 232, 240)), static_cast<int>(rgb(70, 100, 160)),
                c.captionMode, c.frameWidth, c.backGradient, c.captionGradient, c.intensity,
                c.pattern ? pattern : 0, c.appearance, band, c.frameStyle, c.outerEdge);
        if (c.captionMode != 0) p.label(vertical ? 20 : 8, vertical ? 30 : 40, c.caption);
        QPainter painter(&const_cast<QImage&>(sheet.image()));
        painter.drawImage(10 + (i % 6) * 148, top + (i / 6) * 88, p.image());
        ++i;
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    ZuHBITMAP icon = zu::gdi::createBitmapFromImage(makeIcon());
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, (x + y) % 4 == 0 ? qRgb(150, 170, 210) : qRgb(225, 232, 240));
    ZuHBITMAP pattern = zu::gdi::createBitmapFromImage(tile);
    const int objectsBefore = zu::gdi::liveObjectCount();

    Panel sheet(920, 920);
    sheet.paint("ZuComponents — panel painting engine", static_cast<int>(rgb(255, 255, 255)),
                static_cast<int>(rgb(30, 50, 90)), 0, 1, 0, 0, 1, 0, 2, ZuRECT{1, 1, 919, 24}, 0, 0);
    auto section = [&](int top, int height, auto&& fill) {
        Panel p(900, height);
        fill(p);
        QPainter painter(&const_cast<QImage&>(sheet.image()));
        painter.drawImage(10, top, p.image());
    };
    section(32, 250, [&](Panel& p) { appearances(p, icon); });
    section(290, 260, [&](Panel& p) { orientations(p, icon); });
    section(558, 170, [&](Panel& p) { pictures(p, icon, pattern); });
    panels(sheet, pattern, 736);

    const bool saved = sheet.image().save(QString::fromLocal8Bit(argv[1]));
    const int leaked = zu::gdi::liveObjectCount() - objectsBefore - 1; // the sheet's own context
    zu::gdi::deleteObject(pattern);
    zu::gdi::deleteObject(icon);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", argv[1]);
    if (leaked > 0) std::printf("warning: %d objects outlived their calls\n", leaked);
    return saved ? 0 : 1;
}
