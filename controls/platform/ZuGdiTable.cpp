#include "ZuGdiTable.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>
#include <unordered_map>

namespace zu::gdi::detail {
namespace {

constexpr ZuHANDLE firstHandle = 0x100; // below it lie the stock objects

struct Table {
    std::unordered_map<ZuHANDLE, std::unique_ptr<Object>> objects;
    ZuHANDLE next = firstHandle;
};

Table& table() {
    static Table instance;
    return instance;
}

} // namespace

ZuHANDLE insert(Object object) {
    Table& t = table();
    while (t.next < firstHandle || t.objects.count(t.next))
        ++t.next; // skip the stock range on wrap-around
    ZuHANDLE handle = t.next++;
    t.objects.emplace(handle, std::make_unique<Object>(std::move(object)));
    return handle;
}

Object* find(ZuHANDLE handle) {
    auto& objects = table().objects;
    auto it = objects.find(handle);
    return it == objects.end() ? nullptr : it->second.get();
}

bool erase(ZuHANDLE handle) {
    return table().objects.erase(handle) != 0;
}

const Pen& stockPen(ZuHGDIOBJ) {
    static const Pen black{PS_SOLID, 1, 0};
    return black;
}

const Brush& stockBrush(ZuHGDIOBJ handle) {
    static const Brush white{false, 0xFFFFFF, {}};
    static const Brush hollow{true, 0, {}};
    return handle == NULL_BRUSH ? hollow : white;
}

const Font& stockFont() {
    static const Font font{LogFont{}, makeQFont(LogFont{})};
    return font;
}

const Pen* penOf(const DeviceContext& dc) {
    if (dc.pen == BLACK_PEN) return &stockPen(dc.pen);
    return get<Pen>(dc.pen);
}

const Brush* brushOf(const DeviceContext& dc) {
    if (dc.brush == WHITE_BRUSH || dc.brush == NULL_BRUSH) return &stockBrush(dc.brush);
    return get<Brush>(dc.brush);
}

const Font* fontOf(const DeviceContext& dc) {
    if (dc.font == SYSTEM_FONT) return &stockFont();
    return get<Font>(dc.font);
}

QColor toQColor(COLORREF colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

COLORREF fromQRgb(QRgb value) {
    return rgb(qRed(value), qGreen(value), qBlue(value));
}

QFont makeQFont(const LogFont& log) {
    QFont font(log.faceName.isEmpty() ? QStringLiteral("DejaVu Sans") : log.faceName);
    // Pixels are set without smoothing so that a text's pixels carry exactly the text colour.
    font.setStyleStrategy(QFont::NoAntialias);
    int pixels = log.height == 0 ? 16 : std::abs(log.height);
    font.setPixelSize(std::max(1, pixels));
    if (log.height > 0) {
        // A positive height is the whole cell (ascent + descent): take the largest em size whose cell fits
        // it.
        int cell = QFontMetrics(font).height();
        int size =
            cell > 0 ? std::max(1, static_cast<int>(std::lround(1.0 * pixels * pixels / cell)) + 2) : pixels;
        for (; size > 1; --size) {
            font.setPixelSize(size);
            if (QFontMetrics(font).height() <= pixels) break;
        }
        font.setPixelSize(size);
    }
    int weight = log.weight <= 0 ? 400 : std::clamp(log.weight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(log.italic);
    font.setUnderline(log.underline);
    font.setStrikeOut(log.strikeOut);
    if (log.width > 0) {
        int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0) font.setStretch(std::clamp(100 * log.width / natural, 1, 4000));
    }
    return font;
}

} // namespace zu::gdi::detail

namespace zu::gdi {

using namespace detail;

COLORREF getSysColor(int index) {
    const QPalette palette = QGuiApplication::palette();
    auto role = [&](QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active) {
        return fromQRgb(palette.color(g, r).rgb());
    };
    switch (index) {
    case COLOR_SCROLLBAR:
        return role(QPalette::Midlight);
    case COLOR_BACKGROUND:
        return role(QPalette::Dark);
    case COLOR_ACTIVECAPTION:
        return role(QPalette::Highlight);
    case COLOR_INACTIVECAPTION:
        return role(QPalette::Highlight, QPalette::Inactive);
    case COLOR_MENU:
        return role(QPalette::Window);
    case COLOR_WINDOW:
        return role(QPalette::Base);
    case COLOR_WINDOWFRAME:
        return role(QPalette::WindowText);
    case COLOR_MENUTEXT:
        return role(QPalette::WindowText);
    case COLOR_WINDOWTEXT:
        return role(QPalette::Text);
    case COLOR_CAPTIONTEXT:
        return role(QPalette::HighlightedText);
    case COLOR_ACTIVEBORDER:
        return role(QPalette::Button);
    case COLOR_INACTIVEBORDER:
        return role(QPalette::Button);
    case COLOR_APPWORKSPACE:
        return role(QPalette::Dark);
    case COLOR_HIGHLIGHT:
        return role(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
        return role(QPalette::HighlightedText);
    case COLOR_BTNFACE:
        return role(QPalette::Button);
    case COLOR_BTNSHADOW:
        return role(QPalette::Dark);
    case COLOR_GRAYTEXT:
        return role(QPalette::Text, QPalette::Disabled);
    case COLOR_BTNTEXT:
        return role(QPalette::ButtonText);
    case COLOR_INACTIVECAPTIONTEXT:
        return role(QPalette::HighlightedText, QPalette::Inactive);
    case COLOR_BTNHIGHLIGHT:
        return role(QPalette::Light);
    case COLOR_3DDKSHADOW:
        return role(QPalette::Shadow);
    case COLOR_3DLIGHT:
        return role(QPalette::Midlight);
    case COLOR_INFOTEXT:
        return role(QPalette::ToolTipText);
    case COLOR_INFOBK:
        return role(QPalette::ToolTipBase);
    case COLOR_HOTLIGHT:
        return role(QPalette::Link);
    case COLOR_GRADIENTACTIVECAPTION:
        return role(QPalette::Highlight);
    case COLOR_GRADIENTINACTIVECAPTION:
        return role(QPalette::Mid);
    case COLOR_MENUHILIGHT:
        return role(QPalette::Highlight);
    case COLOR_MENUBAR:
        return role(QPalette::Window);
    default:
        return 0;
    }
}

ZuHDC createImageDC(QImage* surface) {
    if (!surface || surface->isNull()) return 0;
    DeviceContext dc;
    dc.surface = surface;
    return insert(std::move(dc));
}

ZuHDC createCompatibleDC(ZuHDC) {
    DeviceContext dc;
    dc.memory = true;
    dc.ownSurface = QImage(1, 1, QImage::Format_RGB32);
    dc.ownSurface.fill(Qt::black);
    ZuHDC handle = insert(std::move(dc));
    DeviceContext* made = get<DeviceContext>(handle);
    made->surface = &made->ownSurface; // the object's address is stable once it sits in the table
    return handle;
}

bool deleteDC(ZuHDC handle) {
    return get<DeviceContext>(handle) && erase(handle);
}

ZuHBITMAP createCompatibleBitmap(ZuHDC, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return insert(Bitmap{std::move(image)});
}

ZuHBITMAP createBitmapFromImage(const QImage& image) {
    if (image.isNull()) return 0;
    return insert(Bitmap{image.convertToFormat(QImage::Format_RGB32)});
}

const QImage* bitmapImage(ZuHBITMAP handle) {
    const Bitmap* bitmap = get<Bitmap>(handle);
    return bitmap ? &bitmap->image : nullptr;
}

ZuHGDIOBJ createPen(int style, int width, COLORREF colour) {
    return insert(Pen{style, std::max(1, width), colour & 0xFFFFFF});
}

ZuHGDIOBJ createSolidBrush(COLORREF colour) {
    return insert(Brush{false, colour & 0xFFFFFF, {}});
}

ZuHGDIOBJ createPatternBrush(ZuHBITMAP pattern) {
    const QImage* image = bitmapImage(pattern);
    if (!image) return 0;
    return insert(Brush{false, 0, *image}); // the brush keeps its own copy, as the platform's does
}

ZuHGDIOBJ createFontIndirect(const LogFont& font) {
    return insert(Font{font, makeQFont(font)});
}

ZuHGDIOBJ selectObject(ZuHDC handle, ZuHGDIOBJ object) {
    DeviceContext* dc = get<DeviceContext>(handle);
    if (!dc) return 0;
    auto swap = [](ZuHGDIOBJ& slot, ZuHGDIOBJ value) {
        ZuHGDIOBJ previous = slot;
        slot = value;
        return previous;
    };
    if (object == BLACK_PEN) return swap(dc->pen, object);
    if (object == WHITE_BRUSH || object == NULL_BRUSH) return swap(dc->brush, object);
    if (object == SYSTEM_FONT) return swap(dc->font, object);
    if (object == DEFAULT_BITMAP) {
        if (!dc->memory) return 0;
        dc->surface = &dc->ownSurface;
        return swap(dc->bitmap, object);
    }
    Object* found = find(object);
    if (!found) return 0;
    if (std::holds_alternative<Pen>(*found)) return swap(dc->pen, object);
    if (std::holds_alternative<Brush>(*found)) return swap(dc->brush, object);
    if (std::holds_alternative<Font>(*found)) return swap(dc->font, object);
    if (auto* bitmap = std::get_if<Bitmap>(found); bitmap && dc->memory) {
        dc->surface = &bitmap->image;
        return swap(dc->bitmap, object);
    }
    return 0;
}

namespace {

bool selectedAnywhere(ZuHGDIOBJ object) {
    for (const auto& [handle, entry] : table().objects) {
        if (const auto* dc = std::get_if<DeviceContext>(entry.get())) {
            if (dc->pen == object || dc->brush == object || dc->font == object || dc->bitmap == object)
                return true;
        }
    }
    return false;
}

} // namespace

bool deleteObject(ZuHGDIOBJ object) {
    Object* found = find(object);
    if (!found || std::holds_alternative<DeviceContext>(*found) || std::holds_alternative<Window>(*found))
        return false;
    if (selectedAnywhere(object)) return false;
    return erase(object);
}

int liveObjectCount() {
    int count = 0;
    for (const auto& [handle, entry] : table().objects)
        if (!std::holds_alternative<Window>(*entry)) ++count;
    return count;
}

QImage* surfaceOf(ZuHDC handle) {
    DeviceContext* dc = get<DeviceContext>(handle);
    return dc ? dc->surface : nullptr;
}

COLORREF setBkColor(ZuHDC handle, COLORREF colour) {
    DeviceContext* dc = get<DeviceContext>(handle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->bkColor;
    dc->bkColor = colour & 0xFFFFFF;
    return previous;
}

COLORREF getBkColor(ZuHDC handle) {
    DeviceContext* dc = get<DeviceContext>(handle);
    return dc ? dc->bkColor : CLR_INVALID;
}

COLORREF setTextColor(ZuHDC handle, COLORREF colour) {
    DeviceContext* dc = get<DeviceContext>(handle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->textColor;
    dc->textColor = colour & 0xFFFFFF;
    return previous;
}

COLORREF getTextColor(ZuHDC handle) {
    DeviceContext* dc = get<DeviceContext>(handle);
    return dc ? dc->textColor : CLR_INVALID;
}

int setBkMode(ZuHDC handle, int mode) {
    DeviceContext* dc = get<DeviceContext>(handle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

QString fromNarrow(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace zu::gdi
