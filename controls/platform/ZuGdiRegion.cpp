// Regions and the windows that carry a window region.
#include "ZuGdiTable.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace zu::gdi {

using namespace detail;

namespace {

QRect exclusiveRect(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return {};
    return QRect(left, top, right - left, bottom - top);
}

int kindOf(const QRegion& region) {
    if (region.isEmpty()) return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Row by row, each row holding the pixels whose centres lie inside the ellipse and at least its middle pixel,
// so that the region's bounding box is the whole rectangle.
QRegion ellipseRegion(const QRect& rect) {
    const double a = rect.width() / 2.0, b = rect.height() / 2.0;
    const double cx = rect.left() + a, cy = rect.top() + b;
    QList<QRect> rows;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const double dy = (y + 0.5 - cy) / b;
        const double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        int x0 = static_cast<int>(std::ceil(cx - half - 0.5));
        int x1 = static_cast<int>(std::floor(cx + half - 0.5));
        if (x1 < x0) x0 = x1 = static_cast<int>(std::floor(cx - 0.5));
        rows.append(QRect(x0, y, x1 - x0 + 1, 1));
    }
    QRegion region;
    region.setRects(rows.constData(), static_cast<int>(rows.size()));
    return region;
}

} // namespace

ZuHRGN createRectRgn(int left, int top, int right, int bottom) {
    return insert(Region{QRegion(exclusiveRect(left, top, right, bottom))});
}

ZuHRGN createRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    QRect rect = exclusiveRect(left, top, right, bottom);
    if (rect.isEmpty()) return insert(Region{});
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), std::max(0, ellipseWidth) / 2.0, std::max(0, ellipseHeight) / 2.0);
    return insert(Region{QRegion(path.toFillPolygon().toPolygon()) & QRegion(rect)});
}

ZuHRGN createEllipticRgn(int left, int top, int right, int bottom) {
    QRect rect = exclusiveRect(left, top, right, bottom);
    return insert(Region{rect.isEmpty() ? QRegion() : ellipseRegion(rect)});
}

int combineRgn(ZuHRGN destination, ZuHRGN a, ZuHRGN b, int mode) {
    Region* target = get<Region>(destination);
    const Region* first = get<Region>(a);
    const Region* second = get<Region>(b);
    if (!target || !first || (mode != RGN_COPY && !second)) return RGN_ERROR;
    switch (mode) {
    case RGN_AND:
        target->region = first->region & second->region;
        break;
    case RGN_OR:
        target->region = first->region | second->region;
        break;
    case RGN_XOR:
        target->region = first->region ^ second->region;
        break;
    case RGN_DIFF:
        target->region = first->region - second->region;
        break;
    case RGN_COPY:
        target->region = first->region;
        break;
    default:
        return RGN_ERROR;
    }
    return kindOf(target->region);
}

int getRgnBox(ZuHRGN handle, ZuRECT* box) {
    const Region* region = get<Region>(handle);
    if (!region || !box) return RGN_ERROR;
    QRect bounds = region->region.boundingRect();
    *box = bounds.isEmpty() ? ZuRECT{0, 0, 0, 0}
                            : ZuRECT{bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1};
    return kindOf(region->region);
}

QRegion regionOf(ZuHRGN handle) {
    const Region* region = get<Region>(handle);
    return region ? region->region : QRegion();
}

ZuHWND createWindow(ZuHWND parent, int x, int y, int width, int height) {
    return insert(Window{parent, QRect(x, y, std::max(0, width), std::max(0, height)), false, {}});
}

bool destroyWindow(ZuHWND window) {
    return get<Window>(window) && erase(window);
}

bool moveWindow(ZuHWND handle, int x, int y, int width, int height) {
    Window* window = get<Window>(handle);
    if (!window) return false;
    window->geometry = QRect(x, y, std::max(0, width), std::max(0, height));
    return true;
}

bool getClientRect(ZuHWND handle, ZuRECT* rect) {
    const Window* window = get<Window>(handle);
    if (!window || !rect) return false;
    *rect = ZuRECT{0, 0, window->geometry.width(), window->geometry.height()};
    return true;
}

QPoint windowOrigin(ZuHWND handle) {
    const Window* window = get<Window>(handle);
    return window ? window->geometry.topLeft() : QPoint();
}

int setWindowRgn(ZuHWND handle, ZuHRGN region, bool) {
    Window* window = get<Window>(handle);
    if (!window) return 0;
    if (region == 0) {
        window->hasRegion = false;
        window->region = QRegion();
        return 1;
    }
    const Region* source = get<Region>(region);
    if (!source) return 0;
    window->hasRegion = true;
    window->region = source->region;
    return 1;
}

bool hasWindowRgn(ZuHWND handle) {
    const Window* window = get<Window>(handle);
    return window && window->hasRegion;
}

QRegion windowRegion(ZuHWND handle) {
    const Window* window = get<Window>(handle);
    return window ? window->region : QRegion();
}

} // namespace zu::gdi
