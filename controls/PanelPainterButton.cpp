// The exported button functions: painting at rest, pressed and hot, regions, record copying and the tool tip.
#include "PanelPainter.h"

#include <cstring>

namespace zu {

namespace {

const ZuRECT emptyRect{0, 0, 0, 0};

bool isVertical(const PanelButtonRecord& record) {
    return record.orientation == 1 || record.orientation == 2;
}
bool isSeparator(const PanelButtonRecord& record) {
    return record.style == StyleSeparator && record.picture == 0;
}
bool hasDropDown(const PanelButtonRecord& record) {
    return record.style == StyleDropDown;
}

// The button's client rectangle; without a known window, the whole surface of the context.
ZuRECT clientOf(ZuHWND button, ZuHDC dc) {
    ZuRECT client{0, 0, 0, 0};
    if (gdi::getClientRect(button, &client)) return client;
    if (const QImage* surface = gdi::surfaceOf(dc))
        client = ZuRECT{0, 0, surface->width(), surface->height()};
    return client;
}

ZuRECT bodyRect(const PanelButtonRecord& record, const ZuRECT& client) {
    ZuRECT body = client;
    if (!hasDropDown(record)) return body;
    const int part = record.dropDownWidth + record.dropDownMargin;
    if (isVertical(record))
        body.top += part;
    else
        body.right -= part;
    return body;
}

ZuRECT dropDownStrip(const PanelButtonRecord& record, const ZuRECT& client) {
    const int d = record.dropDownWidth;
    if (isVertical(record)) return ZuRECT{client.left, client.top, client.right, client.top + d};
    return ZuRECT{client.right - d, client.top, client.right, client.bottom};
}

// The outline of the drop-down part: the strip, or for an elliptic button a square centred in it.
ZuRECT dropDownFrame(const PanelButtonRecord& record, const ZuRECT& strip) {
    if (record.shape != ShapeEllipse) return strip;
    const int d = record.dropDownWidth;
    if (isVertical(record)) {
        int left = (strip.left + strip.right - d) / 2;
        return ZuRECT{left, strip.top, left + d, strip.top + d};
    }
    int top = (strip.top + strip.bottom - d) / 2;
    return ZuRECT{strip.left, top, strip.left + d, top + d};
}

struct ButtonPaint {
    ZuHDC dc;
    const PanelButtonRecord& record;
    ZuRECT client;
    ZuRECT picture;
    ZuRECT caption;
    ZuHWND button = 0;
    ZuHDC parentImage = 0; // 0 when the parent's picture is not available

    OleColor colour(int32_t field) const { return static_cast<OleColor>(field); }

    bool transparent(bool bothWindowsKnown) const {
        return record.backStyle == 0 || (record.backStyle == 2 && bothWindowsKnown);
    }

    // The parent's picture under part of the button.
    void copyParent(const ZuRECT& area) const {
        if (!parentImage) return;
        const QPoint origin = gdi::windowOrigin(button);
        gdi::bitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, parentImage,
                    origin.x() + area.left, origin.y() + area.top);
    }

    // Laid under every look so that a repaint never keeps the previous look's pixels.
    void layBackground(bool transparentBack) const {
        if (transparentBack) {
            copyParent(client);
        } else if (record.appearance != AppearanceShaped) {
            ZuHGDIOBJ brush = gdi::createSolidBrush(resolveColor(colour(record.backColor)));
            gdi::fillRect(dc, client, brush);
            gdi::deleteObject(brush);
        }
    }

    void drawBodyShape(const ZuRECT& body, int32_t border) const {
        drawShape(dc, body, gdi::PS_SOLID, 1, resolveColor(colour(border)),
                  resolveColor(colour(record.fillColor)), record.roundX, record.roundY, record.shape);
    }

    void drawContent(int shift, int effect, ColorRef captionColour) const {
        drawPicture(dc, record, picture, shift, shift, effect);
        if (record.style != StyleSeparator) drawCaption(dc, record, caption, shift, shift, captionColour);
    }

    void drawRestContent() const {
        if (record.enabled)
            drawContent(0, record.pictureEffect, lighten(colour(record.foreColor), record.lightenAmount));
        else
            drawContent(0, EffectDisabled, gdi::getSysColor(gdi::COLOR_GRAYTEXT));
    }

    void drawDropDown(bool pressed, bool transparentBack) const {
        const ZuRECT strip = dropDownStrip(record, client);
        const ZuRECT frame = dropDownFrame(record, strip);
        if (transparentBack) copyParent(strip);
        switch (record.appearance) {
        case AppearanceFlat:
            if (pressed) {
                drawEdgeStyle(dc, frame, EdgeRaisedInner);
            } else {
                ZuHGDIOBJ face = gdi::createSolidBrush(gdi::getSysColor(gdi::COLOR_BTNFACE));
                gdi::fillRect(dc, frame, face);
                gdi::deleteObject(face);
            }
            break;
        case AppearanceThreeD:
            drawEdgeStyle(dc, frame, pressed ? EdgeSunken : EdgeRaised);
            break;
        case AppearanceShaped:
            drawBodyShape(frame, record.inactiveBorderColor);
            break;
        default:
            break;
        }
        const ColorRef arrow = record.enabled
                                   ? resolveColor(colour(record.arrowColor))
                                   : disabledColor(resolveColor(colour(record.inactiveBorderColor)));
        const int shift = pressed ? 1 : 0;
        drawArrow(dc,
                  ZuRECT{strip.left + shift, strip.top + shift, strip.right + shift, strip.bottom + shift},
                  arrow, record.orientation);
    }

    void drawSeparator() const {
        copyParent(client);
        if (record.appearance != AppearanceShaped) return;
        ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, std::max<int>(1, record.separatorWidth),
                                            resolveColor(colour(record.separatorColor))));
        if (isVertical(record)) {
            // Across a vertical panel the separator line runs horizontally.
            const int y = (client.top + client.bottom) / 2;
            gdi::moveTo(dc, client.left, y);
            gdi::lineTo(dc, client.right, y);
        } else {
            const int x = (client.left + client.right) / 2;
            gdi::moveTo(dc, x, client.top);
            gdi::lineTo(dc, x, client.bottom);
        }
    }

    // At rest or held down.
    void paint(bool pressed, bool dropDownPressed, bool bothWindowsKnown) const {
        if (isSeparator(record)) {
            drawSeparator();
            return;
        }
        const bool transparentBack = transparent(bothWindowsKnown);
        pressed = pressed && record.enabled; // a disabled button is never drawn held down
        layBackground(transparentBack);
        const ZuRECT body = bodyRect(record, client);
        switch (record.appearance) {
        case AppearanceFlat:
            if (pressed) drawEdgeStyle(dc, body, EdgeSunkenOuter);
            break;
        case AppearanceThreeD:
            drawEdgeStyle(dc, body, pressed ? EdgeSunken : EdgeRaised);
            break;
        case AppearanceShaped:
            drawBodyShape(body, pressed ? record.activeBorderColor : record.inactiveBorderColor);
            break;
        default:
            break;
        }
        if (pressed)
            drawContent(1, EffectNone, resolveColor(colour(record.foreColor)));
        else
            drawRestContent();
        if (hasDropDown(record)) drawDropDown(dropDownPressed && record.enabled, transparentBack);
    }

    // The pointer is over the button.
    void paintHot(bool pressed, bool dropDownPressed) const {
        if (isSeparator(record)) return;
        if (!record.enabled) { // a disabled button has no hot look
            paint(false, false, false);
            return;
        }
        layBackground(false);
        const ZuRECT body = bodyRect(record, client);
        switch (record.appearance) {
        case AppearanceFlat:
            drawEdgeStyle(dc, body, pressed ? EdgeSunkenOuter : EdgeRaisedInner);
            break;
        case AppearanceThreeD:
            drawEdgeStyle(dc, body, pressed ? EdgeSunken : EdgeRaised);
            break;
        case AppearanceShaped:
            drawBodyShape(body, record.activeBorderColor);
            break;
        default:
            break;
        }
        drawContent(pressed ? 1 : 0, EffectNone, resolveColor(colour(record.foreColor)));
        if (hasDropDown(record)) drawDropDown(dropDownPressed, false);
    }
};

// Replaces a region handle of the caller's record: the old one is deleted, the new one is the caller's.
void replaceRegion(ZuHRGN& slot, ZuHRGN region) {
    if (slot) gdi::deleteObject(slot);
    slot = region;
}

} // namespace

} // namespace zu

using namespace zu;

extern "C" {

int ZuPanelButton_Paint(ZuHWND button, ZuHWND parent, ZuHDC dc, ZuHDC parentImage,
                        const PanelButtonRecord* record, const ZuRECT* pictureRect, const ZuRECT* captionRect,
                        int32_t pressed, int32_t dropDownPressed, int32_t) {
    if (!record || !gdi::surfaceOf(dc)) return 0;
    const bool bothWindowsKnown = button != 0 && parent != 0;
    ButtonPaint painter{dc,
                        *record,
                        clientOf(button, dc),
                        pictureRect ? *pictureRect : emptyRect,
                        captionRect ? *captionRect : emptyRect,
                        button,
                        parentImage};
    painter.paint(pressed != 0, dropDownPressed != 0, bothWindowsKnown);
    return 1;
}

int ZuPanelButton_MouseMove(ZuHWND button, ZuHDC dc, const PanelButtonRecord* record,
                            const ZuRECT* pictureRect, const ZuRECT* captionRect, int32_t pressed,
                            int32_t dropDownPressed, int32_t, int32_t, int32_t) {
    if (!record || !gdi::surfaceOf(dc)) return 0;
    ButtonPaint painter{dc,
                        *record,
                        clientOf(button, dc),
                        pictureRect ? *pictureRect : emptyRect,
                        captionRect ? *captionRect : emptyRect,
                        button,
                        0};
    painter.paintHot(pressed != 0, dropDownPressed != 0);
    return 1;
}

int CreateButtonRegions(ZuHWND button, const PanelButtonRecord* record, PanelButtonRegions* regions) {
    ZuRECT client;
    if (!record || !regions || !gdi::getClientRect(button, &client)) return 0;
    const int W = client.right + 1, H = client.bottom + 1;
    const int d = record->dropDownWidth, m = record->dropDownMargin;
    const bool vertical = isVertical(*record); // orientation 3 keeps its drop-down at the right, as painted

    // A button without a drop-down part is all body; its drop-down region stays empty.
    ZuRECT body{0, 0, W, H}, dropDown{0, 0, 0, 0};
    if (hasDropDown(*record)) {
        if (record->shape == ShapeEllipse) {
            body = vertical ? ZuRECT{0, d + m, W, H} : ZuRECT{0, 0, W - d - m, H};
            dropDown = vertical ? ZuRECT{W / 2 - d / 2 - 1, 0, W / 2 + d / 2, d + 1}
                                : ZuRECT{W - d - 1, (H - d) / 2 - 1, W, (H - d) / 2 + d};
        } else {
            body = vertical ? ZuRECT{0, d + m, W, H} : ZuRECT{0, 0, W - d - m, H};
            dropDown = vertical ? ZuRECT{0, 0, W, d + 1} : ZuRECT{W - d - 1, 0, W, H};
        }
    }
    auto make = [record](const ZuRECT& r) -> ZuHRGN {
        if (r.right <= r.left || r.bottom <= r.top) return gdi::createRectRgn(0, 0, 0, 0);
        switch (record->shape) {
        case ShapeRoundRect:
            return gdi::createRoundRectRgn(r.left, r.top, r.right, r.bottom, record->roundX, record->roundY);
        case ShapeEllipse:
            return gdi::createEllipticRgn(r.left, r.top, r.right, r.bottom);
        default:
            return gdi::createRectRgn(r.left, r.top, r.right, r.bottom);
        }
    };
    replaceRegion(regions->body, make(body));
    replaceRegion(regions->dropDown, make(dropDown));
    replaceRegion(regions->window, gdi::createRectRgn(0, 0, 0, 0));
    gdi::combineRgn(regions->window, regions->body, regions->dropDown, gdi::RGN_OR);
    return gdi::setWindowRgn(button, regions->window, true);
}

PanelButtonRecord* CopyButtonObject(PanelButtonRecord* destination, const PanelButtonRecord* source) {
    if (!destination || !source || destination == source) return destination;
    // The destination keeps its own screen scale, font orientation and picture.
    const float twipsX = destination->twipsPerPixelX, twipsY = destination->twipsPerPixelY;
    const int32_t fontOrientation = destination->fontOrientation;
    const ZuHBITMAP picture = destination->picture;
    const float pictureWidth = destination->pictureWidth, pictureHeight = destination->pictureHeight;
    std::memmove(destination, source, sizeof(PanelButtonRecord));
    destination->twipsPerPixelX = twipsX;
    destination->twipsPerPixelY = twipsY;
    destination->fontOrientation = fontOrientation;
    destination->picture = picture;
    destination->pictureWidth = pictureWidth;
    destination->pictureHeight = pictureHeight;
    return destination;
}

int GetWStyle(void) {
    return 64;
}

int DrawToolTip(ZuHWND window, ZuHDC dc) {
    ZuRECT client;
    if (!gdi::getClientRect(window, &client) || !gdi::surfaceOf(dc)) return 0;
    ScopedObject brush(dc, gdi::createSolidBrush(gdi::getSysColor(gdi::COLOR_INFOBK)));
    ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, 0));
    return gdi::rectangle(dc, client.left, client.top, client.right, client.bottom) ? 1 : 0;
}

} // extern "C"
