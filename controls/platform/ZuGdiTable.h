// The layer's handle table: the objects behind the 32-bit handles. Internal to the platform layer.
#pragma once

#include "ZuGdi.h"

#include <QFont>
#include <memory>
#include <variant>

namespace zu::gdi::detail {

struct Pen {
    int style = PS_SOLID;
    int width = 1;
    COLORREF colour = 0;
};

struct Brush {
    bool hollow = false;
    COLORREF colour = 0xFFFFFF;
    QImage pattern; // non-null for a pattern brush
};

struct Font {
    LogFont log;
    QFont qfont; // resolved once when the font is made
};

struct Bitmap {
    QImage image;
};

struct Region {
    QRegion region;
};

struct DeviceContext {
    QImage* surface = nullptr; // the caller's image, or the selected bitmap's
    QImage ownSurface;         // the 1 x 1 bitmap a memory context starts with
    bool memory = false;
    ZuHGDIOBJ pen = BLACK_PEN;
    ZuHGDIOBJ brush = WHITE_BRUSH;
    ZuHGDIOBJ font = SYSTEM_FONT;
    ZuHGDIOBJ bitmap = DEFAULT_BITMAP;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF textColor = 0;
    int bkMode = OPAQUE;
    QPoint position;
};

struct Window {
    ZuHWND parent = 0;
    QRect geometry;
    bool hasRegion = false;
    QRegion region;
};

using Object = std::variant<DeviceContext, Bitmap, Pen, Brush, Font, Region, Window>;

ZuHANDLE insert(Object object);
Object* find(ZuHANDLE handle);
template <typename T> T* get(ZuHANDLE handle) {
    Object* object = find(handle);
    return object ? std::get_if<T>(object) : nullptr;
}
bool erase(ZuHANDLE handle);

// Stock objects behind the stock handles.
const Pen& stockPen(ZuHGDIOBJ handle);
const Brush& stockBrush(ZuHGDIOBJ handle);
const Font& stockFont();

const Pen* penOf(const DeviceContext& dc);
const Brush* brushOf(const DeviceContext& dc);
const Font* fontOf(const DeviceContext& dc);

QColor toQColor(COLORREF colour);
COLORREF fromQRgb(QRgb value);
QFont makeQFont(const LogFont& font);

} // namespace zu::gdi::detail
