// The controls' toolbox bitmaps, drawn on a 24-unit grid at any size: 1 the menu button with its open menu,
// 2 the type-information tree, 3 the script editor.
#include "ZuControls.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zu {

namespace {

const QColor ink(40, 50, 70);
const QColor paper(250, 250, 246);
const QColor accent(46, 110, 190);

void menuButton(QPainter& p) {
    // The button with its drop-down mark, and the menu hanging from it with a highlighted line.
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(225, 230, 238));
    p.drawRect(QRectF(1.5, 1.5, 21, 7));
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(20, 4), QPointF(18, 6.5)}));
    p.setBrush(accent);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(3, 3.5, 4, 3));
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(QRectF(5.5, 9.5, 16, 13));
    p.setBrush(QColor(120, 90, 170));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(6, 10, 3, 12)); // the label strip
    p.setBrush(QColor(180, 205, 240));
    p.drawRect(QRectF(9.5, 14.5, 11.5, 3.5));
    p.setPen(QPen(ink, 1));
    for (double y : {12.0, 16.25, 20.0})
        p.drawLine(QPointF(11, y), QPointF(19, y));
}

void tree(QPainter& p) {
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(5.5, 6), QPointF(5.5, 19.5));
    for (double y : {11.5, 19.5})
        p.drawLine(QPointF(5.5, y), QPointF(10, y));
    p.drawLine(QPointF(13.5, 14), QPointF(13.5, 15.5));
    p.drawLine(QPointF(13.5, 15.5), QPointF(16, 15.5));
    const struct {
        QRectF box;
        QColor colour;
    } nodes[] = {{{2, 2, 7, 5}, accent},
                 {{10, 9, 7, 5}, QColor(60, 160, 90)},
                 {{16, 13, 6, 5}, QColor(220, 140, 40)},
                 {{10, 17, 7, 5}, QColor(60, 160, 90)}};
    for (const auto& n : nodes) {
        p.setBrush(n.colour);
        p.drawRect(n.box);
    }
}

void editor(QPainter& p) {
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(QRectF(1.5, 1.5, 21, 21));
    const struct {
        double y, from, to;
        QColor colour;
    } lines[] = {
        {5.5, 4, 9, QColor(30, 60, 200)},     {5.5, 10.5, 19, ink}, {9.5, 6, 11, QColor(30, 60, 200)},
        {9.5, 12.5, 17, QColor(180, 40, 40)}, {13.5, 6, 15, ink},   {17.5, 4, 16, QColor(40, 140, 60)}};
    for (const auto& l : lines) {
        p.setPen(QPen(l.colour, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(l.from, l.y), QPointF(l.to, l.y));
    }
}

} // namespace

QPixmap toolboxBitmap(int resource, int size) {
    if (resource < 1 || resource > 3 || size <= 0 || size > 1024) return QPixmap();
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    switch (resource) {
    case 1:
        menuButton(painter);
        break;
    case 2:
        tree(painter);
        break;
    default:
        editor(painter);
        break;
    }
    return pixmap;
}

} // namespace zu
