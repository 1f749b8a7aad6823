// Pictures: sized from HIMETRIC, turned with a parallelogram transfer, recoloured pixel by pixel.
#include "PanelPainter.h"

#include <QPoint>
#include <cmath>

namespace zu {

namespace {

// HIMETRIC per twip as the engine has always taken it (not the exact 2540 / 1440).
constexpr double himetricPerTwip = 1.76190476190476;
// Larger pictures than this are not buttons' pictures; the bound keeps memory bitmaps reasonable.
constexpr double largestPicture = 8192.0;

ColorRef effectColour(const PictureBlit& picture, ColorRef pixel) {
    switch (picture.effect) {
    case EffectLighten:
        return lighten(pixel, picture.lightenAmount);
    case EffectDarken:
        return darken(pixel, picture.darkenAmount);
    case EffectGrey:
        return greyOf(pixel);
    case EffectShadow:
        return picture.shadowColour;
    case EffectDisabled:
        return disabledColor(pixel);
    default:
        return pixel;
    }
}

// Where the source's upper-left, upper-right and lower-left corners land in a target of width x height.
void rotationCorners(int rotation, int width, int height, QPoint corners[3]) {
    switch (rotation) {
    case 1: // a quarter turn counter-clockwise: the top edge becomes the left side
        corners[0] = {0, height};
        corners[1] = {0, 0};
        corners[2] = {width, height};
        break;
    case 2: // a quarter turn clockwise: the top edge becomes the right side
        corners[0] = {width, 0};
        corners[1] = {width, height};
        corners[2] = {0, 0};
        break;
    case 3: // a half turn
        corners[0] = {width, height};
        corners[1] = {0, height};
        corners[2] = {width, 0};
        break;
    default:
        corners[0] = {0, 0};
        corners[1] = {width, 0};
        corners[2] = {0, height};
        break;
    }
}

} // namespace

int picturePixels(float himetric, float twipsPerPixel) {
    if (!std::isfinite(himetric) || !std::isfinite(twipsPerPixel) || twipsPerPixel <= 0.0f ||
        himetric <= 0.0f)
        return 0;
    double pixels = himetric / himetricPerTwip / twipsPerPixel;
    return pixels >= largestPicture ? static_cast<int>(largestPicture) : static_cast<int>(pixels);
}

void blitPicture(ZuHDC dc, const PictureBlit& picture, int x, int y) {
    const QImage* source = gdi::bitmapImage(picture.bitmap);
    if (!source || picture.width <= 0 || picture.height <= 0) return;
    const bool quarterTurn = picture.rotation == 1 || picture.rotation == 2;
    const int width = quarterTurn ? picture.height : picture.width;
    const int height = quarterTurn ? picture.width : picture.height;

    ZuHDC turned = gdi::createCompatibleDC(dc);
    ZuHDC original = gdi::createCompatibleDC(dc);
    {
        ScopedObject target(turned, gdi::createCompatibleBitmap(dc, width, height));
        // The caller's bitmap is only borrowed: selected for the transfer and given back, never deleted.
        ZuHGDIOBJ previous = gdi::selectObject(original, picture.bitmap);
        // Whatever the transfer leaves uncovered stays in the mask colour and is skipped.
        ZuHGDIOBJ background = gdi::createSolidBrush(picture.maskColour);
        gdi::fillRect(turned, ZuRECT{0, 0, width, height}, background);
        gdi::deleteObject(background);
        QPoint corners[3];
        rotationCorners(picture.rotation, width, height, corners);
        gdi::plgBlt(turned, corners, original, 0, 0, source->width(), source->height());
        if (previous) gdi::selectObject(original, previous);

        const ColorRef mask = picture.maskColour & 0xFFFFFF;
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                ColorRef pixel = gdi::getPixel(turned, column, row);
                if (pixel == mask) continue;
                if (picture.effect == EffectShadow && picture.shadowDarkensDestination) {
                    const ColorRef under = gdi::getPixel(dc, x + column, y + row);
                    if (under != gdi::CLR_INVALID)
                        gdi::setPixel(dc, x + column, y + row, darkenRaw(under, picture.shadowAmount));
                    continue;
                }
                gdi::setPixel(dc, x + column, y + row, effectColour(picture, pixel));
            }
        }
    }
    gdi::deleteDC(original);
    gdi::deleteDC(turned);
}

void drawPicture(ZuHDC dc, const PanelButtonRecord& record, const ZuRECT& pictureRect, int dx, int dy,
                 int effect) {
    if (record.picture == 0) return;
    PictureBlit picture;
    picture.bitmap = record.picture;
    picture.width = picturePixels(record.pictureWidth, record.twipsPerPixelX);
    picture.height = picturePixels(record.pictureHeight, record.twipsPerPixelY);
    picture.rotation = record.pictureRotation;
    picture.maskColour = resolveColor(static_cast<OleColor>(record.pictureMaskColor));
    picture.effect = effect;
    picture.lightenAmount = record.lightenAmount;
    picture.darkenAmount = record.darkenAmount;
    if (effect == EffectShadow) {
        OleColor base = static_cast<OleColor>(record.backColor);
        if (record.appearance == AppearanceShaped) {
            if (record.shadowBase == 1)
                base = lighten(static_cast<OleColor>(record.fillColor), record.lightenAmount);
            else if (record.shadowBase == 2)
                base = lighten(static_cast<OleColor>(record.activeBorderColor), record.lightenAmount);
            else
                base = static_cast<OleColor>(record.fillColor);
        }
        picture.shadowColour = darken(base, record.shadowAmount);
    }
    blitPicture(dc, picture, pictureRect.left + dx, pictureRect.top + dy);
}

} // namespace zu
