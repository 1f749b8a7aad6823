// The exported panel painting: background, frame rings or edges, grip, pattern and caption band.
#include "PanelPainter.h"

namespace zu {

namespace {

struct PanelPaint {
    ZuHDC dc;
    ZuRECT client;
    QString caption;
    ColorRef back;
    ColorRef frame;
    ColorRef captionText;
    int captionMode;
    int captionInset;
    int frameWidth;
    int captionWidening;
    int gripLength;
    int backGradient;
    int captionGradient;
    int intensity;
    ZuHBITMAP pattern;
    bool captionShadow;
    int appearance;
    ZuRECT captionRect;
    int frameStyle;
    bool outerEdge;

    bool verticalBand() const { return captionMode == 3 || captionMode == 4; }

    void fill(const ZuRECT& rect, ColorRef colour) const {
        ZuHGDIOBJ brush = gdi::createSolidBrush(colour);
        gdi::fillRect(dc, rect, brush);
        gdi::deleteObject(brush);
    }

    void fillPattern(ZuHRGN area) const {
        ZuHGDIOBJ brush = gdi::createPatternBrush(pattern);
        if (!brush) return;
        gdi::fillRgn(dc, area, brush);
        gdi::deleteObject(brush);
    }

    void ring(int inset, ColorRef outline) const {
        ScopedObject brush(dc, gdi::createSolidBrush(back));
        ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, outline));
        gdi::rectangle(dc, client.left + inset, client.top + inset, client.right - inset,
                       client.bottom - inset);
    }

    // Rings past the panel's middle would draw nothing; stopping there keeps absurd widths cheap.
    int ringCount() const {
        const int half = (std::min(client.right - client.left, client.bottom - client.top) + 1) / 2;
        return std::min(frameWidth, std::max(0, half));
    }

    void drawFrame() const {
        switch (frameStyle) {
        case 0:
            for (int i = 0; i < ringCount(); ++i)
                ring(i, frame);
            break;
        case 1:
            if (frameWidth >= 3) {
                for (int i = 0; i < ringCount(); ++i)
                    ring(i, lighten(frame, static_cast<uint8_t>(std::min(255, 5 * i))));
            } else if (frameWidth > 0) {
                ring(0, frame);
            }
            break;
        case 2:
            drawEdgeStyle(dc, client, EdgeRaisedInner);
            drawEdgeStyle(dc,
                          ZuRECT{client.left + frameWidth, client.top + frameWidth, client.right - frameWidth,
                                 client.bottom - frameWidth},
                          EdgeSunkenOuter);
            break;
        default:
            break;
        }
    }

    void drawPanelCaption(const ZuRECT& band) const {
        if (captionGradient == 1 || captionGradient == 2) {
            drawGradient(dc, band, frame, captionGradient, intensity, verticalBand());
        } else {
            ScopedObject brush(dc, gdi::createSolidBrush(frame));
            ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, frame));
            gdi::rectangle(dc, band.left, band.top, band.right, band.bottom);
        }
        if (caption.isEmpty()) return;
        const ZuRECT text{band.left + 4, band.top, band.right + 3 * captionWidening - 2 * captionInset,
                          band.bottom};
        const unsigned format = gdi::DT_LEFT | gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_END_ELLIPSIS;
        const int oldMode = gdi::setBkMode(dc, gdi::TRANSPARENT);
        const ColorRef oldColour = gdi::getTextColor(dc);
        if (captionShadow) {
            gdi::setTextColor(dc, darkenRaw(frame, 60));
            gdi::drawText(dc, caption, ZuRECT{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1},
                          format);
        }
        gdi::setTextColor(dc, captionText);
        gdi::drawText(dc, caption, text, format);
        gdi::setTextColor(dc, oldColour);
        if (oldMode) gdi::setBkMode(dc, oldMode);
    }

    void drawGrip() const {
        ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, frame));
        const ZuRECT& r = captionRect;
        if (verticalBand()) {
            for (int x = r.left; x < r.right; x += 2) {
                gdi::moveTo(dc, x, r.top);
                gdi::lineTo(dc, x, r.bottom);
            }
        } else {
            const int end = std::min(r.right, r.left + std::max(0, gripLength));
            for (int y = r.top; y < r.bottom; y += 2) {
                gdi::moveTo(dc, r.left, y);
                gdi::lineTo(dc, end, y);
            }
        }
    }

    void paint() const {
        gdi::setBkColor(dc, back);
        fill(client, back); // the panel's own background under whatever follows
        const ZuRECT inside{client.left + frameWidth, client.top + frameWidth, client.right - frameWidth,
                            client.bottom - frameWidth};
        if (captionMode == 0 && appearance == AppearanceShaped) {
            drawFrame();
            if (pattern) {
                ZuHRGN area = gdi::createRectRgn(inside.left, inside.top, inside.right, inside.bottom);
                fillPattern(area);
                gdi::deleteObject(area);
            } else if (backGradient == 1 || backGradient == 2) {
                drawGradient(dc, inside, back, backGradient, intensity, verticalBand());
            }
            drawPanelCaption(captionRect);
        } else if (captionMode == 0) {
            drawEdgeStyle(dc, client, appearance == AppearanceFlat ? EdgeRaisedInner : EdgeRaised);
            drawPanelCaption(
                ZuRECT{captionRect.left, captionRect.top, captionRect.right - 1, captionRect.bottom});
            drawEdgeStyle(dc, captionRect, appearance == AppearanceFlat ? EdgeSunkenOuter : EdgeSunken);
        } else {
            if (outerEdge) drawEdgeStyle(dc, client, EdgeRaisedInner);
            if (appearance == AppearanceFlat) {
                drawEdgeStyle(dc, captionRect, EdgeRaisedInner);
            } else if (appearance == AppearanceThreeD) {
                drawEdgeStyle(dc, captionRect, EdgeRaised);
            } else if (appearance == AppearanceShaped) {
                drawGrip();
                if (pattern) {
                    // The pattern covers the panel around the grip band, inside the outer edge.
                    const int edge = outerEdge ? 1 : 0;
                    ZuHRGN area = gdi::createRectRgn(client.left + edge, client.top + edge,
                                                     client.right - edge, client.bottom - edge);
                    ZuHRGN band = gdi::createRectRgn(captionRect.left, captionRect.top, captionRect.right,
                                                     captionRect.bottom);
                    gdi::combineRgn(area, area, band, gdi::RGN_DIFF);
                    fillPattern(area);
                    gdi::deleteObject(band);
                    gdi::deleteObject(area);
                }
            }
        }
    }
};

} // namespace

} // namespace zu

using namespace zu;

extern "C" int ZuPanel_Paint(ZuHWND panel, ZuHDC dc, const char* caption, int32_t backColor,
                             int32_t frameColor, int32_t captionTextColor, int32_t captionMode,
                             int32_t captionInset, int32_t frameWidth, int32_t captionWidening,
                             int32_t gripLength, int32_t backGradient, int32_t captionGradient,
                             int32_t gradientIntensity, ZuHBITMAP pattern, int32_t captionShadow,
                             int32_t appearance, const ZuRECT* captionRect, int32_t frameStyle,
                             int32_t outerEdge) {
    ZuRECT client;
    if (!gdi::getClientRect(panel, &client) || !gdi::surfaceOf(dc)) return 0;
    PanelPaint painter{dc,
                       client,
                       gdi::fromNarrow(caption),
                       resolveColor(static_cast<OleColor>(backColor)),
                       resolveColor(static_cast<OleColor>(frameColor)),
                       resolveColor(static_cast<OleColor>(captionTextColor)),
                       captionMode,
                       captionInset,
                       std::max(0, frameWidth),
                       captionWidening,
                       gripLength,
                       backGradient,
                       captionGradient,
                       gradientIntensity,
                       pattern,
                       captionShadow != 0,
                       appearance,
                       captionRect ? *captionRect : ZuRECT{0, 0, 0, 0},
                       frameStyle,
                       outerEdge != 0};
    painter.paint();
    return 1;
}
