// Owner drawing of the menu lines: the label strip, the check, picture and caption areas, separators, strips,
// the expand line, selected and resting looks, and the built-in glyphs.
#include "ZuMenuExCtl.h"

#include "ColorFunction.h"
#include "PanelPainter.h"
#include "platform/ZuGdi.h"

using namespace zu;

namespace {

// clang-format off
// The built-in check mark, 10 x 9: per row, the set columns as a bit mask (bit 0 = column 0).
constexpr uint16_t checkGlyph[9] = {
    0b1000000000, // row 0: 9
    0b1100000000, // row 1: 8-9
    0b1110000000, // row 2: 7-9
    0b0111000001, // row 3: 0, 6-8
    0b0011100011, // row 4: 0-1, 5-7
    0b0001110111, // row 5: 0-2, 4-6
    0b0000111110, // row 6: 1-5
    0b0000011100, // row 7: 2-4
    0b0000001000, // row 8: 3
};
// The expand line's double chevron, 5 x 7.
constexpr uint16_t chevronGlyph[7] = {
    0b10001, // row 0: 0, 4
    0b11011, // row 1: 0-1, 3-4
    0b01110, // row 2: 1-3
    0b10101, // row 3: 0, 2, 4
    0b11011, // row 4: 0-1, 3-4
    0b01110, // row 5: 1-3
    0b00100, // row 6: 2
};
// clang-format on

template <size_t Rows>
void drawGlyph(ZuHDC dc, const uint16_t (&rows)[Rows], int columns, const ZuRECT& area) {
    const int left = area.left + (area.right - area.left - columns) / 2;
    const int top = area.top + (area.bottom - area.top - static_cast<int>(Rows)) / 2;
    for (size_t row = 0; row < Rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (rows[row] & (1u << column)) gdi::setPixel(dc, left + column, top + static_cast<int>(row), 0);
}

void fillArea(ZuHDC dc, const ZuRECT& rect, ColorRef colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    ZuHGDIOBJ brush = gdi::createSolidBrush(colour);
    gdi::fillRect(dc, rect, brush);
    gdi::deleteObject(brush);
}

ZuRECT moved(const ZuRECT& r, int dx, int dy) {
    return ZuRECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool isExpandLine(const CZuMenuExCtrl::MenuLine& line) {
    return line.caption == QLatin1String("^");
}

} // namespace

struct CZuMenuExCtrl::LineGeometry {
    int strip = 0; // s: the label strip and its undrawn column
    ZuRECT check{}, picture{}, caption{}, frame{};
    bool frameValid = true;
};

int CZuMenuExCtrl::labelWidth(const MenuSlot& slot) const {
    if (slot.label.isEmpty()) return 0;
    return slot.useDefault ? boundedPixels(LabelAreaWidth_) : slot.labelAreaWidth;
}

CZuMenuExCtrl::LineGeometry CZuMenuExCtrl::geometry(const MenuSlot& slot, const MenuLine& line,
                                                    const ZuRECT& item) const {
    LineGeometry g;
    g.strip = slot.label.isEmpty() ? 0 : labelWidth(slot) + 1;
    const int checkWidth = truncatedPixels(CheckAreaWidth_);
    const int c = slot.checkArea ? checkWidth : 0;
    const int p = slot.maxPictureAreaWidth;
    g.check = ZuRECT{item.left + g.strip, item.top, item.left + g.strip + c, item.bottom};
    g.picture = ZuRECT{g.check.right, item.top, g.check.right + p, item.bottom};
    g.caption = ZuRECT{g.picture.right, item.top, item.right, item.bottom};
    int frameLeft = item.left;
    switch (FrameForm_) {
    case 0:
        frameLeft = item.left;
        break;
    case 1:
        frameLeft = slot.checkArea ? checkWidth : item.left;
        break;
    case 2:
        frameLeft = slot.checkArea ? truncatedPixels(static_cast<double>(CheckAreaWidth_) + p) : p;
        break;
    default:
        g.frameValid = false;
        break;
    }
    frameLeft += g.strip;
    if (isExpandLine(line)) {
        frameLeft = g.strip;
        g.frameValid = true;
    }
    g.frame = ZuRECT{frameLeft, item.top, item.right, item.bottom};
    return g;
}

uint32_t CZuMenuExCtrl::areaColour(const MenuSlot& slot, const MenuLine& line, uint lineColour,
                                   uint defaultColour) const {
    if (!slot.useDefault) return resolveColor(lineColour);
    if (line.visible == 0 && line.height != 1) return darken(defaultColour, 5);
    return resolveColor(defaultColour);
}

QSize CZuMenuExCtrl::pictureSize(const QImage& image, int rotation) const {
    // The picture's HIMETRIC extent as the platform gives it for a bitmap of the screen (96 pixels per inch).
    const float himetricWidth = static_cast<float>(image.width() * 2540.0 / 96.0);
    const float himetricHeight = static_cast<float>(image.height() * 2540.0 / 96.0);
    const int w = picturePixels(himetricWidth, ScreenTwipPerPixelX_);
    const int h = picturePixels(himetricHeight, ScreenTwipPerPixelY_);
    return rotation == 1 || rotation == 2 ? QSize(h, w) : QSize(w, h);
}

void CZuMenuExCtrl::drawPicture(ZuHDC dc, const QImage& image, int rotation, int effect, int x, int y) {
    if (image.isNull()) return;
    const QSize size = pictureSize(image, 0);
    PictureBlit blit;
    blit.bitmap = gdi::createBitmapFromImage(image);
    blit.width = size.width();
    blit.height = size.height();
    blit.rotation = rotation;
    blit.maskColour = resolveColor(MaskColor_);
    blit.effect = effect;
    blit.lightenAmount = amountOf(Major_);
    blit.darkenAmount = amountOf(Minor_);
    blit.shadowDarkensDestination = true;
    blit.shadowAmount = amountOf(ShadowNumber_);
    blitPicture(dc, blit, x, y);
    gdi::deleteObject(blit.bitmap);
}

void CZuMenuExCtrl::drawLinePicture(ZuHDC dc, const LinePicture& picture, int rotation, const ZuRECT& area,
                                    int effect, int dx, int dy) {
    if (picture.empty()) return;
    const QSize size = pictureSize(picture.image, rotation);
    const int x = area.left + (area.right - area.left - size.width()) / 2;
    const int y = area.top + (area.bottom - area.top - size.height()) / 2;
    drawPicture(dc, picture.image, rotation, effect, x + dx, y + dy);
}

void CZuMenuExCtrl::drawCheckMark(ZuHDC dc, const ZuRECT& checkArea, int effect) {
    if (!checkPicture_.empty())
        drawLinePicture(dc, checkPicture_, 0, checkArea, effect, 0, 0);
    else
        drawGlyph(dc, checkGlyph, 10, checkArea);
}

void CZuMenuExCtrl::drawStringPicture(ZuHDC dc, const MenuLine& line, const ZuRECT& captionArea,
                                      const ZuRECT& item) {
    if (line.stringPict.empty()) return;
    const QSize size = pictureSize(line.stringPict.image, 0);
    int x = 0;
    switch (line.strPictAlign) {
    case 0:
        x = captionArea.left + 1;
        break;
    case 1:
        x = item.right - size.width() - 11;
        break;
    case 2:
        x = (captionArea.left + item.right - size.width()) / 2;
        break;
    default:
        return; // no place is defined for other alignments
    }
    const int y = item.top + (item.bottom - item.top - size.height()) / 2;
    drawPicture(dc, line.stringPict.image, 0, EffectNone, x, y);
}

void CZuMenuExCtrl::drawCaptionTexts(ZuHDC dc, const MenuSlot& slot, const MenuLine& line, const ZuRECT& rect,
                                     uint32_t colour) {
    gdi::LogFont log;
    const bool own = !slot.useDefault;
    const double fontHeight = own ? line.fontHeight : FontHeight_;
    log.height = -truncatedPixels(fontHeight * 1.34);
    log.width = truncatedPixels(own ? line.fontWidth : FontWidth_);
    log.weight = (own ? line.fontBold == -1 : FontBold_) ? 700 : 400;
    log.italic = own ? line.fontItalic != 0 : FontItalic_;
    log.underline = own ? line.fontUnderline != 0 : FontUnderline_;
    log.strikeOut = own ? line.fontStrikeOut != 0 : FontStrikeOut_;
    log.charSet = static_cast<uint8_t>(FontCharSet_);
    log.faceName = own ? line.fontName : FontName_;
    ScopedObject font(dc, gdi::createFontIndirect(log));
    gdi::setTextColor(dc, colour);
    const unsigned format = gdi::DT_SINGLELINE | gdi::DT_VCENTER;
    gdi::drawText(dc, line.caption, rect, format);
    if (line.shortCut.isEmpty()) return;
    QSize extent;
    gdi::getTextExtent(dc, line.shortCut, &extent);
    const int right = rect.right - 15;
    gdi::drawText(dc, line.shortCut,
                  ZuRECT{std::max(rect.left, right - extent.width()), rect.top, right, rect.bottom}, format);
}

void CZuMenuExCtrl::drawLabelStrip(ZuHDC dc, const MenuSlot& slot) {
    const int w = labelWidth(slot);
    const int total = slot.totalHeight;
    fillArea(dc, ZuRECT{0, 0, w, total},
             resolveColor(slot.useDefault ? BackColorLabelArea_ : slot.labelAreaColor));
    labelDrawn_ = true;
    if (w - 2 < 1) return; // no room for a character
    gdi::LogFont log;
    log.height = -(w - 2);
    log.escapement = 900;
    log.orientation = 900;
    log.weight = 200;
    log.charSet = static_cast<uint8_t>(FontCharSet_);
    if (FontName_ == QLatin1String("MS Sans Serif")) log.faceName = QStringLiteral("Arial");
    ScopedObject font(dc, gdi::createFontIndirect(log));
    gdi::setBkMode(dc, gdi::TRANSPARENT);
    gdi::setTextColor(dc, resolveColor(slot.useDefault ? LabelForeColor_ : slot.labelForeColor));
    gdi::textOut(dc, -2, total - 5, slot.label);
}

void CZuMenuExCtrl::drawLineAtRest(ZuHDC dc, const MenuSlot& slot, int index, const ZuRECT& item) {
    const MenuLine& line = slot.lines[index];
    const LineGeometry g = geometry(slot, line, item);
    const bool enabled = line.enabled == -1;
    gdi::setBkMode(dc, gdi::TRANSPARENT);
    if (!slot.label.isEmpty() && !labelDrawn_) drawLabelStrip(dc, slot);

    const int effect = !enabled ? EffectDisabled : InActPictWhiteAndBlack_ ? EffectGrey : EffectLighten;
    if (slot.checkArea) {
        fillArea(dc, g.check, areaColour(slot, line, line.colorCheckArea, DefCheckAreaColor_));
        if (line.checked == -1 && line.height != 1) drawCheckMark(dc, g.check, effect);
    }
    fillArea(dc, g.picture, areaColour(slot, line, line.colorPictureArea, DefPictureAreaColor_));
    if (line.height != 1) drawLinePicture(dc, line.picture, line.escapement, g.picture, effect, 0, 0);
    fillArea(dc, g.caption, areaColour(slot, line, line.colorCaptionArea, DefCaptionAreaColor_));
    if (!pattern_.empty() && g.caption.right > g.caption.left) {
        ZuHBITMAP bitmap = gdi::createBitmapFromImage(pattern_.image);
        ZuHGDIOBJ tiles = gdi::createPatternBrush(bitmap);
        gdi::fillRect(dc, g.caption, tiles);
        gdi::deleteObject(tiles);
        gdi::deleteObject(bitmap);
    }
    if (line.height == 1) return;
    if (line.height == 3) {
        ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, resolveColor(SeparatorColor_)));
        gdi::moveTo(dc, g.caption.left + 5, item.top + 1);
        gdi::lineTo(dc, item.right, item.top + 1);
        return;
    }
    drawStringPicture(dc, line, g.caption, item);
    const ZuRECT captionRect{g.caption.left + 5, g.caption.top, g.caption.right, g.caption.bottom};
    if (isExpandLine(line)) {
        drawGlyph(dc, chevronGlyph, 5, g.frame);
        return;
    }
    const uint32_t colour = !enabled          ? gdi::getSysColor(gdi::COLOR_GRAYTEXT)
                            : slot.useDefault ? resolveColor(ForeColor_)
                                              : resolveColor(line.foreColor);
    drawCaptionTexts(dc, slot, line, captionRect, colour);
}

void CZuMenuExCtrl::drawLineSelected(ZuHDC dc, const MenuSlot& slot, int index, const ZuRECT& item) {
    const MenuLine& line = slot.lines[index];
    if (line.height == 1 || line.height == 3) return;
    const bool expand = isExpandLine(line);
    // Only a line the container heard of through MenuSelect becomes the remembered selection: a greyed line
    // passed over on the way to the expand line must not be reported as chosen.
    if (!expand && line.enabled == -1) {
        remembered_.index = index;
        remembered_.caption = line.caption;
        remembered_.key = line.key;
        remembered_.link = line.link;
        remembered_.toolTipText = line.toolTipText;
        remembered_.picture = line.picture.pixmap;
        remembered_.captionPicture = line.stringPict.pixmap;
    }
    const LineGeometry g = geometry(slot, line, item);
    const bool enabled = line.enabled == -1;
    // Without a defined frame form nothing is drawn; the line is still the user's selection.
    if (g.frameValid) {
        gdi::setBkMode(dc, gdi::TRANSPARENT);
        const uint32_t frame =
            line.enabled == 0 ? gdi::getSysColor(gdi::COLOR_GRAYTEXT) : resolveColor(FrameColor_);
        {
            ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, frame));
            ScopedObject brush(dc, gdi::createSolidBrush(lighten(frame, amountOf(Major_))));
            gdi::rectangle(dc, g.frame.left, g.frame.top, g.frame.right, g.frame.bottom);
        }
        if (expand) {
            drawGlyph(dc, chevronGlyph, 5, g.frame);
        } else {
            const int effect = enabled ? EffectNone : EffectDisabled;
            if (slot.checkArea) {
                if (FrameForm_ != 0)
                    fillArea(dc, g.check, areaColour(slot, line, line.colorCheckArea, DefCheckAreaColor_));
                if (line.checked == -1) drawCheckMark(dc, g.check, effect);
            }
            if (FrameForm_ == 2)
                fillArea(dc, g.picture, areaColour(slot, line, line.colorPictureArea, DefPictureAreaColor_));
            if (AppActivePicture_ && line.enabled != 0) {
                drawLinePicture(dc, line.picture, line.escapement, g.picture, EffectShadow, 1, 1);
                drawLinePicture(dc, line.picture, line.escapement, g.picture, effect, -1, -1);
            } else {
                drawLinePicture(dc, line.picture, line.escapement, g.picture, effect, 0, 0);
            }
            drawStringPicture(dc, line, g.caption, item);
            uint32_t colour = gdi::getSysColor(gdi::COLOR_GRAYTEXT);
            if (enabled)
                colour = InvertActiveForeColor_ ? invertColor(line.foreColor) : resolveColor(line.foreColor);
            const ZuRECT captionRect{g.caption.left + 5, g.caption.top, g.caption.right, g.caption.bottom};
            if (CaptionShadow_ && line.enabled != 0) {
                const uint32_t shadow = darkenRaw(lighten(FrameColor_, amountOf(Major_)), 30);
                drawCaptionTexts(dc, slot, line, moved(captionRect, 1, 1), shadow);
                drawCaptionTexts(dc, slot, line, moved(captionRect, -1, -1), colour);
            } else {
                drawCaptionTexts(dc, slot, line, captionRect, colour);
            }
        }
    }
    // The expand line reports itself whatever its Enabled; a regular line only when it is enabled. The values
    // are copies: the container may rebuild the menu while it handles the event.
    if (expand || enabled) {
        const MenuLine shown = line;
        emit MenuSelect(index, shown.caption, shown.key, shown.link, shown.toolTipText, shown.picture.pixmap,
                        shown.stringPict.pixmap);
    }
}

void CZuMenuExCtrl::drawItem(const menu::DrawItemStruct& item) {
    const int menuIndex = menuOfPopup(item.menu);
    if (menuIndex < 0 || !item.dc) return;
    const MenuSlot& slot = menus_[menuIndex];
    int index = 0;
    for (int i = 0; i < lineCount; ++i)
        if (slot.lines[i].top == item.rcItem.top) {
            index = i;
            break;
        }
    if (item.itemState & menu::ODS_SELECTED)
        drawLineSelected(item.dc, slot, index, item.rcItem);
    else
        drawLineAtRest(item.dc, slot, index, item.rcItem);
}
