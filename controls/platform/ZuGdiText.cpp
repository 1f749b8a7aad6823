// Single-line text output with the context's font, text colour and background mode.
#include "ZuGdiTable.h"

#include <QFontMetrics>
#include <QPainter>

namespace zu::gdi {

using namespace detail;

namespace {

void preparePainter(QPainter& painter, const DeviceContext& dc, const QFont& font) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(toQColor(dc.textColor));
}

} // namespace

bool textOut(ZuHDC handle, int x, int y, const QString& text) {
    DeviceContext* dc = get<DeviceContext>(handle);
    const Font* font = dc ? fontOf(*dc) : nullptr;
    if (!dc || !font || !dc->surface) return false;
    QPainter painter(dc->surface);
    preparePainter(painter, *dc, font->qfont);
    QFontMetrics metrics(font->qfont);
    painter.translate(x, y);
    painter.rotate(-font->log.escapement / 10.0); // escapement turns counter-clockwise, the painter clockwise
    if (dc->bkMode == OPAQUE)
        painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()),
                         toQColor(dc->bkColor));
    painter.drawText(0, metrics.ascent(), text);
    return true;
}

bool getTextExtent(ZuHDC handle, const QString& text, QSize* size) {
    DeviceContext* dc = get<DeviceContext>(handle);
    const Font* font = dc ? fontOf(*dc) : nullptr;
    if (!font || !size) return false;
    QFontMetrics metrics(font->qfont);
    *size = QSize(metrics.horizontalAdvance(text), metrics.height());
    return true;
}

int drawText(ZuHDC handle, const QString& text, const ZuRECT& rect, unsigned format) {
    DeviceContext* dc = get<DeviceContext>(handle);
    const Font* font = dc ? fontOf(*dc) : nullptr;
    if (!dc || !font || !dc->surface) return 0;
    QFontMetrics metrics(font->qfont);
    QRect area(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (area.width() <= 0 || area.height() <= 0) return metrics.height();
    QString shown = text;
    if (format & DT_END_ELLIPSIS) shown = metrics.elidedText(text, Qt::ElideRight, area.width());
    int top = area.top();
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) top += (area.height() - metrics.height()) / 2;
    QPainter painter(dc->surface);
    preparePainter(painter, *dc, font->qfont);
    painter.setClipRect(area);
    if (dc->bkMode == OPAQUE)
        painter.fillRect(QRect(area.left(), top, metrics.horizontalAdvance(shown), metrics.height()),
                         toQColor(dc->bkColor));
    painter.drawText(area.left(), top + metrics.ascent(), shown);
    return metrics.height();
}

} // namespace zu::gdi
