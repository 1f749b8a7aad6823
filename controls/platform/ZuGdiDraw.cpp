// Shapes, lines, fills, 3-D edges, block transfers and pixel access on a device context's surface.
#include "ZuGdiTable.h"

#include <QPainter>
#include <QTransform>

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

void putPixel(QImage& image, int x, int y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    image.setPixel(x, y, qRgb(redOf(colour), greenOf(colour), blueOf(colour)));
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
    p.painter.drawRect(p.shapeRect(left, top, right, bottom));
    return true;
}

bool roundRect(ZuHDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    ContextPainter p(dc);
    if (!p) return false;
    p.painter.drawRoundedRect(p.shapeRect(left, top, right, bottom), std::max(0, ellipseWidth) / 2.0,
                              std::max(0, ellipseHeight) / 2.0);
    return true;
}

bool ellipse(ZuHDC dc, int left, int top, int right, int bottom) {
    ContextPainter p(dc);
    if (!p) return false;
    p.painter.drawEllipse(p.shapeRect(left, top, right, bottom));
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
    // The painter's aliased lines, like the platform's, leave out their end point.
    p.painter.drawLine(from, QPoint(x, y));
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
    QImage piece = origin->copy(sourceX, sourceY, width, height); // a copy also makes same-surface moves safe
    QPainter painter(target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), piece);
    return true;
}

bool plgBlt(ZuHDC destination, const QPoint corners[3], ZuHDC source, int sourceX, int sourceY, int width,
            int height) {
    QImage* target = surfaceOf(destination);
    QImage* origin = surfaceOf(source);
    if (!target || !origin || !corners || width <= 0 || height <= 0) return false;
    QImage piece = origin->copy(sourceX, sourceY, width, height);
    const QPointF p0 = corners[0], p1 = corners[1], p2 = corners[2];
    QTransform map((p1.x() - p0.x()) / width, (p1.y() - p0.y()) / width, (p2.x() - p0.x()) / height,
                   (p2.y() - p0.y()) / height, p0.x(), p0.y());
    QPainter painter(target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setTransform(map);
    painter.drawImage(QPointF(0, 0), piece);
    return true;
}

COLORREF getPixel(ZuHDC dc, int x, int y) {
    QImage* surface = surfaceOf(dc);
    if (!surface || x < 0 || y < 0 || x >= surface->width() || y >= surface->height()) return CLR_INVALID;
    return fromQRgb(surface->pixel(x, y));
}

COLORREF setPixel(ZuHDC dc, int x, int y, COLORREF colour) {
    QImage* surface = surfaceOf(dc);
    if (!surface || x < 0 || y < 0 || x >= surface->width() || y >= surface->height()) return CLR_INVALID;
    putPixel(*surface, x, y, colour);
    return colour & 0xFFFFFF;
}

} // namespace zu::gdi
