#include "PanelPainter.h"

#include <cmath>

namespace zu {

void drawEdgeStyle(ZuHDC dc, const ZuRECT& rect, int code) {
    static constexpr unsigned edges[] = {
        0,
        gdi::EDGE_SUNKEN,
        gdi::EDGE_RAISED,
        gdi::BDR_SUNKENOUTER,
        gdi::BDR_RAISEDOUTER,
        gdi::BDR_SUNKENINNER,
        gdi::BDR_RAISEDINNER,
        gdi::EDGE_ETCHED,
        gdi::EDGE_BUMP,
    };
    if (code < EdgeSunken || code > EdgeBump) return;
    gdi::drawEdge(dc, rect, edges[code]);
}

void drawShape(ZuHDC dc, const ZuRECT& rect, int penStyle, int penWidth, ColorRef penColour,
               ColorRef fillColour, int roundX, int roundY, int shape) {
    ScopedObject brush(dc, gdi::createSolidBrush(fillColour));
    ScopedObject pen(dc, gdi::createPen(penStyle, penWidth, penColour));
    switch (shape) {
    case ShapeRectangle:
        gdi::rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
        break;
    case ShapeRoundRect:
        gdi::roundRect(dc, rect.left, rect.top, rect.right, rect.bottom, roundX + 1, roundY + 1);
        break;
    case ShapeEllipse:
        gdi::ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
        break;
    default:
        break;
    }
}

void drawArrow(ZuHDC dc, const ZuRECT& strip, ColorRef colour, int orientation) {
    ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, colour));
    auto line = [dc](int x0, int y0, int x1, int y1) {
        gdi::moveTo(dc, x0, y0);
        gdi::lineTo(dc, x1, y1);
    };
    if (orientation == 1 || orientation == 2) {
        int x = (strip.left + strip.right - 3) / 2;
        int y = (strip.top + strip.bottom - 5) / 2;
        int base = orientation == 1 ? x : x + 2; // the long side faces away from the tip
        int step = orientation == 1 ? 1 : -1;
        line(base, y, base, y + 5);
        line(base + step, y + 1, base + step, y + 4);
        line(base + 2 * step, y + 2, base + 2 * step, y + 3);
    } else {
        int x = (strip.left + strip.right - 5) / 2;
        int y = (strip.top + strip.bottom - 3) / 2;
        line(x, y, x + 5, y);
        line(x + 1, y + 1, x + 4, y + 1);
        line(x + 2, y + 2, x + 3, y + 2);
    }
}

int captionEscapement(int orientation) {
    switch (orientation) {
    case 1:
        return 900;
    case 2:
        return 2700;
    default:
        return 0;
    }
}

gdi::LogFont captionFont(const PanelButtonRecord& record, int escapement) {
    gdi::LogFont font;
    double height = 1.5 * record.fontHeight;
    // A height the platform cannot hold (not finite, or beyond any screen) falls back to the default font
    // size.
    font.height = std::isfinite(height) && std::fabs(height) < 10000.0 ? static_cast<int>(height) : 0;
    font.width = record.fontWidth;
    font.escapement = escapement;
    font.orientation = record.fontOrientation;
    font.weight = record.fontWeight;
    font.italic = record.fontItalic != 0;
    font.underline = record.fontUnderline != 0;
    font.strikeOut = record.fontStrikeOut != 0;
    font.charSet = record.fontCharSet;
    font.faceName = gdi::fromNarrow(record.fontName);
    return font;
}

QString captionText(const PanelButtonRecord& record) {
    return gdi::fromNarrow(record.caption);
}

void drawCaption(ZuHDC dc, const PanelButtonRecord& record, const ZuRECT& captionRect, int dx, int dy,
                 ColorRef colour) {
    if (record.appearance > AppearanceShaped) return;
    const QString text = captionText(record);
    if (text.isEmpty()) return;
    const int orientation = record.orientation;
    ScopedObject font(dc, gdi::createFontIndirect(captionFont(record, captionEscapement(orientation))));
    QSize extent;
    gdi::getTextExtent(dc, text, &extent);

    int x = captionRect.left, y = captionRect.top;
    if (orientation == 1) y = captionRect.bottom;
    if (orientation == 2) x = (captionRect.left + captionRect.right + extent.height()) / 2;

    const int oldMode = gdi::setBkMode(dc, gdi::TRANSPARENT);
    const ColorRef oldColour = gdi::getTextColor(dc);
    int mainDx = 0, mainDy = 0;
    if (record.appearance == AppearanceShaped && record.captionShadow != 0) {
        static constexpr int shadowOffset[3][2] = {{1, 1}, {1, -1}, {-1, 1}};
        const int* offset = shadowOffset[orientation <= 2 ? orientation : 0];
        gdi::setTextColor(dc, darkenBack(dc, record.shadowAmount));
        gdi::textOut(dc, x + offset[0] + dx, y + offset[1] + dy, text);
        if (orientation != 1 && orientation != 2) mainDx = mainDy = -1;
    }
    gdi::setTextColor(dc, colour);
    gdi::textOut(dc, x + mainDx + dx, y + mainDy + dy, text);
    gdi::setTextColor(dc, oldColour);
    if (oldMode) gdi::setBkMode(dc, oldMode);
}

void drawGradient(ZuHDC dc, const ZuRECT& rect, ColorRef colour, int direction, int intensity,
                  bool swapAxes) {
    if (direction != 1 && direction != 2) return;
    if (intensity <= 0) intensity = 1;
    const bool horizontalLines = (direction == 1) != swapAxes;
    auto shade = [&](int coordinate) {
        // Past 255 the darkening stays at its darkest instead of wrapping back to the light colour.
        return darkenRaw(colour, static_cast<uint8_t>(std::clamp(coordinate / intensity, 0, 255)));
    };
    auto line = [dc](int x0, int y0, int x1, int y1, ColorRef c) {
        ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, c));
        gdi::moveTo(dc, x0, y0);
        gdi::lineTo(dc, x1, y1);
    };
    if (horizontalLines) {
        for (int y = rect.bottom - 1; y >= rect.top; --y)
            line(rect.left, y, rect.right, y, shade(y));
    } else {
        for (int x = rect.right - 1; x >= rect.left; --x)
            line(x, rect.top, x, rect.bottom, shade(x));
    }
}

} // namespace zu
