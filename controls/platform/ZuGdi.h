// The library's small platform layer on QtGui: device contexts over QImage, pens, brushes, fonts, bitmaps,
// regions, windows with a window region, 3-D edges, system colours, block transfers and text output.
// Objects are addressed by 32-bit handles, as the platform's own are; the layer belongs to the UI thread.
#pragma once

#include "ZuComponents.h"

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>

namespace zu::gdi {

using COLORREF = uint32_t;

constexpr COLORREF rgb(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(COLORREF c) {
    return c & 0xFF;
}
constexpr int greenOf(COLORREF c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(COLORREF c) {
    return (c >> 16) & 0xFF;
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// System colour indices, numbered as the platform numbers them.
enum SysColor {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
};

// The colour of a system colour index, read from the application palette at each call; 0 for unknown indices.
COLORREF getSysColor(int index);

// ---- objects
// -------------------------------------------------------------------------------------------------

enum PenStyle { PS_SOLID = 0, PS_NULL = 5 };
enum BkMode { TRANSPARENT = 1, OPAQUE = 2 };
enum CombineMode { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum RegionKind { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// Stock objects: selected into every new device context, never counted and never deleted.
constexpr ZuHGDIOBJ BLACK_PEN = 1;
constexpr ZuHGDIOBJ WHITE_BRUSH = 2;
constexpr ZuHGDIOBJ NULL_BRUSH = 3;
constexpr ZuHGDIOBJ SYSTEM_FONT = 4;
constexpr ZuHGDIOBJ DEFAULT_BITMAP = 5;

struct LogFont {
    int height = 0;     // > 0 cell height, < 0 character height, 0 default, in pixels
    int width = 0;      // average character width, 0 for the natural width
    int escapement = 0; // tenths of a degree, counter-clockwise
    int orientation = 0;
    int weight = 0; // 0..1000, 0 normal
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 0;
    QString faceName;
};

// Draws straight into the caller's image. An image with a device pixel ratio is addressed in its
// device-independent pixels and drawn at that ratio: lines, fills and text at the device's resolution, each
// pixel set or read the block of device pixels it covers.
ZuHDC createImageDC(QImage* surface);
ZuHDC createCompatibleDC(ZuHDC dc); // memory context holding a 1 x 1 bitmap until another is selected
bool deleteDC(ZuHDC dc);

ZuHBITMAP createCompatibleBitmap(ZuHDC dc, int width, int height);
ZuHBITMAP createBitmapFromImage(const QImage& image);
const QImage* bitmapImage(ZuHBITMAP bitmap);

ZuHGDIOBJ createPen(int style, int width, COLORREF colour);
ZuHGDIOBJ createSolidBrush(COLORREF colour);
ZuHGDIOBJ createPatternBrush(ZuHBITMAP pattern);
ZuHGDIOBJ createFontIndirect(const LogFont& font);

// Returns the object of the same kind that was selected before, 0 when the handle is not a selectable object.
ZuHGDIOBJ selectObject(ZuHDC dc, ZuHGDIOBJ object);
// Fails for unknown handles, stock objects and objects still selected into a device context.
bool deleteObject(ZuHGDIOBJ object);

// Device contexts, bitmaps, pens, brushes, fonts and regions made and not yet deleted.
int liveObjectCount();

// ---- regions and windows
// -------------------------------------------------------------------------------------

ZuHRGN createRectRgn(int left, int top, int right, int bottom);
ZuHRGN createRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
ZuHRGN createEllipticRgn(int left, int top, int right, int bottom);
int combineRgn(ZuHRGN destination, ZuHRGN a, ZuHRGN b, int mode);
int getRgnBox(ZuHRGN region, ZuRECT* box);
QRegion regionOf(ZuHRGN region);

// A window of the layer: a rectangle in its parent's coordinates and an optional window region.
ZuHWND createWindow(ZuHWND parent, int x, int y, int width, int height);
bool destroyWindow(ZuHWND window);
bool getClientRect(ZuHWND window, ZuRECT* rect);
// Moves and sizes a window, in its parent's coordinates.
bool moveWindow(ZuHWND window, int x, int y, int width, int height);
QPoint windowOrigin(ZuHWND window); // top-left in the parent's client coordinates
// The window keeps its own copy of the region; the caller still owns and deletes the handle.
int setWindowRgn(ZuHWND window, ZuHRGN region, bool redraw);
bool hasWindowRgn(ZuHWND window);
QRegion windowRegion(ZuHWND window);

// ---- device-context state and drawing
// ------------------------------------------------------------------------

COLORREF setBkColor(ZuHDC dc, COLORREF colour);
COLORREF getBkColor(ZuHDC dc);
COLORREF setTextColor(ZuHDC dc, COLORREF colour);
COLORREF getTextColor(ZuHDC dc);
int setBkMode(ZuHDC dc, int mode);
QImage* surfaceOf(ZuHDC dc);

// Outline with the selected pen, fill with the selected brush; right and bottom exclusive.
bool rectangle(ZuHDC dc, int left, int top, int right, int bottom);
bool roundRect(ZuHDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
bool ellipse(ZuHDC dc, int left, int top, int right, int bottom);
bool moveTo(ZuHDC dc, int x, int y);
bool lineTo(ZuHDC dc, int x, int y); // the end point itself is not drawn
int fillRect(ZuHDC dc, const ZuRECT& rect, ZuHGDIOBJ brush);
bool fillRgn(ZuHDC dc, ZuHRGN region, ZuHGDIOBJ brush);

enum EdgeBits {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};
// Draws the outer ring on the rectangle's border and the inner ring one pixel inside, in the light,
// highlight, shadow and dark-shadow system colours.
bool drawEdge(ZuHDC dc, const ZuRECT& rect, unsigned edge);

bool bitBlt(ZuHDC destination, int x, int y, int width, int height, ZuHDC source, int sourceX, int sourceY);
// Maps the source rectangle onto the parallelogram whose upper-left, upper-right and lower-left corners are
// given.
bool plgBlt(ZuHDC destination, const QPoint corners[3], ZuHDC source, int sourceX, int sourceY, int width,
            int height);
COLORREF getPixel(ZuHDC dc, int x, int y); // CLR_INVALID outside the surface
COLORREF setPixel(ZuHDC dc, int x, int y, COLORREF colour);

enum DrawTextFormat { DT_LEFT = 0x0, DT_VCENTER = 0x4, DT_SINGLELINE = 0x20, DT_END_ELLIPSIS = 0x8000 };
// Text with the selected font (turned by its escapement), text colour and background mode; (x, y) is the
// top-left corner of the unturned text cell.
bool textOut(ZuHDC dc, int x, int y, const QString& text);
// Extent of the unturned text: along the text and across it.
bool getTextExtent(ZuHDC dc, const QString& text, QSize* size);
int drawText(ZuHDC dc, const QString& text, const ZuRECT& rect, unsigned format);

// Narrow texts of the record (caption, face name) are in the platform's narrow encoding, UTF-8 here.
QString fromNarrow(const char* text);

} // namespace zu::gdi
