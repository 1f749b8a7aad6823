// Shapes, lines, fills, 3-D edges, block transfers and pixel access on a device context's surface.
#include "ZuGdiTable.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

namespace zu::gdi {

using namespace detail;

namespace {

// A painter on the context's surface with the context's pen and brush, drawing without smoothing.
struct ContextPainter {
    DeviceContext* dc = nullptr;
    QPainter painter;
    bool hasPen = false;
    int penWidth = 1;

    explicit ContextPainter(ZuHDC handle) : dc(get<DeviceContext>(handle)) {
        if (!dc || !dc->surface || dc->surface->isNull()) {
            dc = nullptr;
            return;
        }
        painter.begin(dc->surface);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const Pen* pen = penOf(*dc);
        hasPen = pen && pen->style != PS_NULL;
        if (hasPen) {
            penWidth = pen->width;
            QPen qpen(toQColor(pen->colour), pen->width);
            qpen.setCapStyle(Qt::FlatCap);
            qpen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(qpen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        const Brush* brush = brushOf(*dc);
        if (!brush || brush->hollow)
            painter.setBrush(Qt::NoBrush);
        else if (!brush->pattern.isNull())
            painter.setBrush(QBrush(brush->pattern));
        else
            painter.setBrush(toQColor(brush->colour));
    }
    explicit operator bool() const { return dc != nullptr; }

    // Draws a shape the way it comes out on a plain surface. On one with a device pixel ratio the painter's
    // aliased stroke of an odd width would be centred on the line between two rows of device pixels and
    // lie half a pixel up and left of the pixels it covers on a plain surface: there the fill is drawn
    // first, then the outline half a pixel further, across the line as the offset says.
    template <class Draw> void draw(Draw&& shape, QPointF offset = QPointF(0.5, 0.5)) {
        const qreal ratio = dc->surface->devicePixelRatio();
        if (ratio == 1.0 || !hasPen || penWidth % 2 == 0) {
            shape(painter);
            return;
        }
        const QPen pen = painter.pen();
        painter.setPen(Qt::NoPen);
        shape(painter);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.translate(offset);
        shape(painter);
    }

    // The shape's rectangle as the painter strokes it: a 1-pixel outline covers left..right-1, top..bottom-1;
    // without a pen the fill covers one pixel less, as the platform's does.
    QRect shapeRect(int left, int top, int right, int bottom) const {
        return QRect(left, top, std::max(0, right - left - 1), std::max(0, bottom - top - 1));
    }
};

QBrush qbrushOf(ZuHGDIOBJ handle) {
    const Brush* brush =
        (handle == WHITE_BRUSH || handle == NULL_BRUSH) ? &stockBrush(handle) : get<Brush>(handle);
    if (!brush || brush->hollow) return Qt::NoBrush;
    if (!brush->pattern.isNull()) return QBrush(brush->pattern);
    return QBrush(toQColor(brush->colour));
}

// A pixel of a surface is a pixel of the screen it is for: on a surface with a device pixel ratio it covers
// the block of device pixels that a painter scaled by that ratio covers, so that glyphs and pictures set
// pixel by pixel grow with lines, fills and text instead of shrinking to dots.
QRect deviceBlock(const QImage& image, int x, int y) {
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0) return QRect(x, y, 1, 1);
    const int left = static_cast<int>(std::floor(x * ratio)), top = static_cast<int>(std::floor(y * ratio));
    const int right = static_cast<int>(std::floor((x + 1) * ratio));
    const int bottom = static_cast<int>(std::floor((y + 1) * ratio));
    return QRect(left, top, std::max(1, right - left), std::max(1, bottom - top)) & image.rect();
}

bool onSurface(const QImage& image, int x, int y) {
    const QSizeF size = image.deviceIndependentSize();
    return x >= 0 && y >= 0 && x < size.width() && y < size.height();
}

void putPixel(QImage& image, int x, int y, COLORREF colour) {
    if (!onSurface(image, x, y)) return;
    const QRgb value = qRgb(redOf(colour), greenOf(colour), blueOf(colour));
    const QRect block = deviceBlock(image, x, y);
    for (int row = block.top(); row <= block.bottom(); ++row)
        for (int column = block.left(); column <= block.right(); ++column)
            image.setPixel(column, row, value);
}

// The part of a surface under a rectangle in its own (device-independent) pixels, with the surface's ratio.
QImage piece(const QImage& image, int x, int y, int width, int height) {
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0) return image.copy(x, y, width, height);
    const QRect first = deviceBlock(image, x, y);
    const QRect last = deviceBlock(image, x + width - 1, y + height - 1);
    QImage copy = image.copy(QRect(first.topLeft(), last.bottomRight()));
    copy.setDevicePixelRatio(ratio);
    return copy;
}

void horizontal(QImage& image, int x0, int x1, int y, COLORREF colour) {
    for (int x = x0; x <= x1; ++x)
        putPixel(image, x, y, colour);
}

void vertical(QImage& image, int x, int y0, int y1, COLORREF colour) {
    for (int y = y0; y <= y1; ++y)
        putPixel(image, x, y, colour);
}

// One ring of an edge: the top and left sides in one colour, the bottom and right sides (corners included) in
// the other.
void ring(QImage& image, const QRect& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.width() <= 0 || r.height() <= 0) return;
    int right = r.left() + r.width() - 1;
    int bottom = r.top() + r.height() - 1;
    horizontal(image, r.left(), right - 1, r.top(), topLeft);
    vertical(image, r.left(), r.top(), bottom - 1, topLeft);
    horizontal(image, r.left(), right, bottom, bottomRight);
    vertical(image, right, r.top(), bottom, bottomRight);
}

} // namespace

bool rectangle(ZuHDC dc, int left, int top, int right, int bottom) {
    ContextPainter p(dc);
    if (!p) return false;
    const QRect shape = p.shapeRect(left, top, right, bottom);
    p.draw([&](QPainter& painter) { painter.drawRect(shape); });
    return true;
}

bool roundRect(ZuHDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    ContextPainter p(dc);
    if (!p) return false;
    const QRect shape = p.shapeRect(left, top, right, bottom);
    p.draw([&](QPainter& painter) {
        painter.drawRoundedRect(shape, std::max(0, ellipseWidth) / 2.0, std::max(0, ellipseHeight) / 2.0);
    });
    return true;
}

bool ellipse(ZuHDC dc, int left, int top, int right, int bottom) {
    ContextPainter p(dc);
    if (!p) return false;
    const QRect shape = p.shapeRect(left, top, right, bottom);
    p.draw([&](QPainter& painter) { painter.drawEllipse(shape); });
    return true;
}

bool moveTo(ZuHDC handle, int x, int y) {
    DeviceContext* dc = get<DeviceContext>(handle);
    if (!dc) return false;
    dc->position = QPoint(x, y);
    return true;
}

bool lineTo(ZuHDC handle, int x, int y) {
    ContextPainter p(handle);
    if (!p) return false;
    QPoint from = p.dc->position;
    p.dc->position = QPoint(x, y);
    if (!p.hasPen || from == QPoint(x, y)) return true;
    // The painter's aliased lines, like the platform's, leave out their end point; only the side of a line is
    // moved at a device pixel ratio, so its ends stay where they are.
    const QPoint to(x, y);
    const bool vertical = from.x() == x, horizontal = from.y() == y;
    const QPointF across(horizontal ? 0.0 : 0.5, vertical ? 0.0 : 0.5);
    p.draw([&](QPainter& painter) { painter.drawLine(from, to); }, across);
    return true;
}

int fillRect(ZuHDC dc, const ZuRECT& rect, ZuHGDIOBJ brush) {
    QImage* surface = surfaceOf(dc);
    if (!surface) return 0;
    QPainter painter(surface);
    QRect area(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (area.isEmpty()) return 1;
    painter.fillRect(area, qbrushOf(brush));
    return 1;
}

bool fillRgn(ZuHDC dc, ZuHRGN region, ZuHGDIOBJ brush) {
    QImage* surface = surfaceOf(dc);
    const Region* area = get<Region>(region);
    if (!surface || !area) return false;
    QPainter painter(surface);
    QBrush fill = qbrushOf(brush);
    for (const QRect& r : area->region)
        painter.fillRect(r, fill);
    return true;
}

bool drawEdge(ZuHDC dc, const ZuRECT& rect, unsigned edge) {
    QImage* surface = surfaceOf(dc);
    if (!surface) return false;
    const COLORREF light = getSysColor(COLOR_3DLIGHT);
    const COLORREF highlight = getSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = getSysColor(COLOR_BTNSHADOW);
    const COLORREF darkShadow = getSysColor(COLOR_3DDKSHADOW);
    QRect r(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (edge & BDR_RAISEDOUTER)
        ring(*surface, r, light, darkShadow);
    else if (edge & BDR_SUNKENOUTER)
        ring(*surface, r, shadow, highlight);
    // A lone inner ring lies on the border itself; with an outer ring it lies one pixel inside.
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) r.adjust(1, 1, -1, -1);
    if (edge & BDR_RAISEDINNER)
        ring(*surface, r, highlight, shadow);
    else if (edge & BDR_SUNKENINNER)
        ring(*surface, r, darkShadow, light);
    return true;
}

bool bitBlt(ZuHDC destination, int x, int y, int width, int height, ZuHDC source, int sourceX, int sourceY) {
    QImage* target = surfaceOf(destination);
    QImage* origin = surfaceOf(source);
    if (!target || !origin || width <= 0 || height <= 0) return false;
    // A copy also makes same-surface moves safe.
    const QImage part = piece(*origin, sourceX, sourceY, width, height);
    QPainter painter(target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRectF(x, y, width, height), part);
    return true;
}

bool plgBlt(ZuHDC destination, const QPoint corners[3], ZuHDC source, int sourceX, int sourceY, int width,
            int height) {
    QImage* target = surfaceOf(destination);
    QImage* origin = surfaceOf(source);
    if (!target || !origin || !corners || width <= 0 || height <= 0) return false;
    const QImage part = piece(*origin, sourceX, sourceY, width, height);
    const QPointF p0 = corners[0], p1 = corners[1], p2 = corners[2];
    QTransform map((p1.x() - p0.x()) / width, (p1.y() - p0.y()) / width, (p2.x() - p0.x()) / height,
                   (p2.y() - p0.y()) / height, p0.x(), p0.y());
    QPainter painter(target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setTransform(map);
    painter.drawImage(QRectF(0, 0, width, height), part);
    return true;
}

COLORREF getPixel(ZuHDC dc, int x, int y) {
    QImage* surface = surfaceOf(dc);
    if (!surface || !onSurface(*surface, x, y)) return CLR_INVALID;
    return fromQRgb(surface->pixel(deviceBlock(*surface, x, y).topLeft()));
}

COLORREF setPixel(ZuHDC dc, int x, int y, COLORREF colour) {
    QImage* surface = surfaceOf(dc);
    if (!surface || !onSurface(*surface, x, y)) return CLR_INVALID;
    putPixel(*surface, x, y, colour);
    return colour & 0xFFFFFF;
}

} // namespace zu::gdi
