// The panel painting engine behind the exported panel functions: edge styles, shapes, the arrow glyph,
// captions, pictures, gradients and the panel caption band. Every pen, brush, font and memory bitmap made
// here is deleted before the function that made it returns.
#pragma once

#include "ColorFunction.h"
#include "ZuComponents.h"
#include "platform/ZuGdi.h"

#include <QString>

namespace zu {

// An object made for one drawing step: selected into the context now, deselected and deleted at scope end.
class ScopedObject {
  public:
    ScopedObject(ZuHDC dc, ZuHGDIOBJ object)
        : dc_(dc), object_(object), previous_(object ? gdi::selectObject(dc, object) : 0) {}
    ~ScopedObject() {
        if (!object_) return;
        if (previous_) gdi::selectObject(dc_, previous_);
        gdi::deleteObject(object_);
    }
    ScopedObject(const ScopedObject&) = delete;
    ScopedObject& operator=(const ScopedObject&) = delete;

  private:
    ZuHDC dc_;
    ZuHGDIOBJ object_;
    ZuHGDIOBJ previous_;
};

enum EdgeStyle {
    EdgeSunken = 1,
    EdgeRaised = 2,
    EdgeSunkenOuter = 3,
    EdgeRaisedOuter = 4,
    EdgeSunkenInner = 5,
    EdgeRaisedInner = 6,
    EdgeEtched = 7,
    EdgeBump = 8,
};

enum ButtonShape { ShapeRectangle = 0, ShapeRoundRect = 1, ShapeEllipse = 2 };
enum ButtonStyle { StyleDropDown = 2, StyleSeparator = 4 };
enum Appearance { AppearanceFlat = 0, AppearanceThreeD = 1, AppearanceShaped = 2 };
enum PictureEffect {
    EffectNone = 0,
    EffectLighten = 1,
    EffectDarken = 2,
    EffectGrey = 3,
    EffectShadow = 4,
    EffectDisabled = 5,
};

// The platform edge for codes 1..8 around the whole rectangle; other codes draw nothing.
void drawEdgeStyle(ZuHDC dc, const ZuRECT& rect, int code);

// A rectangle, rounded rectangle (corner ellipse roundX + 1 by roundY + 1) or ellipse.
void drawShape(ZuHDC dc, const ZuRECT& rect, int penStyle, int penWidth, ColorRef penColour,
               ColorRef fillColour, int roundX, int roundY, int shape);

// The drop-down arrow: a 5-pixel triangle centred in the strip, pointing down (orientation 0), right (1) or
// left (2).
void drawArrow(ZuHDC dc, const ZuRECT& strip, ColorRef colour, int orientation);

// Escapement of the caption font for an orientation, tenths of a degree.
int captionEscapement(int orientation);
gdi::LogFont captionFont(const PanelButtonRecord& record, int escapement);
QString captionText(const PanelButtonRecord& record);

// The caption at its rectangle, moved by (dx, dy), with the shaped button's shadow when asked for.
void drawCaption(ZuHDC dc, const PanelButtonRecord& record, const ZuRECT& captionRect, int dx, int dy,
                 ColorRef colour);

// Pixel size of a HIMETRIC extent at a screen scale; 0 for unusable input.
int picturePixels(float himetric, float twipsPerPixel);

// A picture and how to draw it.
struct PictureBlit {
    ZuHBITMAP bitmap = 0;
    int width = 0;  // pixels before rotation
    int height = 0; // pixels before rotation
    int rotation = 0;
    ColorRef maskColour = 0;
    int effect = EffectNone;
    uint8_t lightenAmount = 0;
    uint8_t darkenAmount = 0;
    ColorRef shadowColour = 0;
    // The menus' shadow: effect 4 darkens the pixel already under the picture by shadowAmount instead of
    // writing shadowColour.
    bool shadowDarkensDestination = false;
    uint8_t shadowAmount = 0;
};

// Turns the picture into a memory bitmap and writes its non-mask pixels at (x, y) through the effect.
void blitPicture(ZuHDC dc, const PictureBlit& picture, int x, int y);
// The record's picture at the picture rectangle moved by (dx, dy), with the given effect.
void drawPicture(ZuHDC dc, const PanelButtonRecord& record, const ZuRECT& pictureRect, int dx, int dy,
                 int effect);

// Lines across the rectangle darkened by coordinate / intensity; direction 1 horizontal lines stepping down,
// 2 vertical lines stepping right; swapAxes exchanges the two.
void drawGradient(ZuHDC dc, const ZuRECT& rect, ColorRef colour, int direction, int intensity, bool swapAxes);

} // namespace zu
