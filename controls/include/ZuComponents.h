/* ZuComponents — the panel painting engine exported to button-panel controls.
 *
 * Every export has C linkage and the platform's C calling convention. The functions keep no state between
 * calls; the caller owns the button records, device contexts, windows and the regions that
 * CreateButtonRegions makes. Colours are OLE colours: a value whose high byte is non-zero names a system
 * colour by its low byte.
 *
 * Handles (windows, device contexts, bitmaps, regions, pens, brushes, fonts) are 32-bit values issued by the
 * library's platform layer (ZuGdi.h), on 32-bit and 64-bit targets alike, as the platform's own handles are.
 */
#ifndef ZUCOMPONENTS_H
#define ZUCOMPONENTS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define ZU_STATIC_ASSERT static_assert
#define ZU_ALIGNOF alignof
#else
#define ZU_STATIC_ASSERT _Static_assert
#define ZU_ALIGNOF _Alignof
#endif

typedef uint32_t ZuHANDLE;
typedef ZuHANDLE ZuHWND;
typedef ZuHANDLE ZuHDC;
typedef ZuHANDLE ZuHBITMAP;
typedef ZuHANDLE ZuHRGN;
typedef ZuHANDLE ZuHGDIOBJ;

/* A rectangle in pixels; right and bottom are exclusive. */
typedef struct ZuRECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} ZuRECT;

/* A button size in twips, as the panel control keeps it. */
typedef struct ZuSIZEF {
    float width;
    float height;
} ZuSIZEF;

#if UINTPTR_MAX > 0xFFFFFFFFu
#define ZU_RECORD_64BIT 1
#else
#define ZU_RECORD_64BIT 0
#endif

/* The 212-byte button record a panel control fills for each button: little-endian, packed, field offsets
 * fixed. Fields named carriedNN are kept for the control and never read here; unusedNN bytes are padding.
 *
 * Pointer and handle fields on 64-bit targets: every field keeps its 32-bit offset except two pointers that
 * widen into padding that no field uses: caption   8-byte pointer at offset 28, spilling into the unused
 * bytes 32..35; fontName  8-byte pointer at offset 80 (4 bytes early), taking the unused bytes 80..83 and its
 * own 84..87; picture   a 32-bit bitmap handle at offset 168 on every target (the layer's handles are
 * 32-bit). On 32-bit targets caption and fontName are 4-byte pointers at 28 and 84. */
#pragma pack(push, 1)
typedef struct PanelButtonRecord {
    float twipsPerPixelX; /* 0 */
    float twipsPerPixelY; /* 4 */
    uint8_t style;        /* 8: 2 with a drop-down part; 4 separator (picture-only button with a picture) */
    uint8_t appearance;   /* 9: 0 flat, 1 three-dimensional, 2 shaped */
    uint8_t pictureAlignment; /* 10: picture 0 above, 1 left of, 2 right of, 3 below the caption */
    uint8_t unused11[5];
    int32_t carried16;
    uint8_t backStyle; /* 20: 0 transparent, 1 opaque, 2 transparent when both windows are known */
    uint8_t unused21;
    uint8_t carried22;
    uint8_t unused23[5];
#if ZU_RECORD_64BIT
    const char* caption; /* 28..35 */
#else
    const char* caption; /* 28 */
    uint8_t unused32[4];
#endif
    int32_t enabled; /* 36 */
    int32_t carried40;
    int32_t carried44;
    uint8_t carried48;
    uint8_t carried49;
    uint8_t orientation; /* 50: 0 horizontal, 1 text at 90 degrees, 2 text at 270 degrees */
    uint8_t carried51;
    uint8_t margin; /* 52: pixels between edge, picture and caption */
    uint8_t unused53[3];
    float fontHeight; /* 56: the caption font is made 1.5 times this high */
    int32_t fontWidth;
    int32_t fontEscapement;
    int32_t fontOrientation;
    int32_t fontWeight;
    uint8_t fontItalic;    /* 76 */
    uint8_t fontUnderline; /* 77 */
    uint8_t fontStrikeOut; /* 78 */
    uint8_t fontCharSet;   /* 79 */
#if ZU_RECORD_64BIT
    const char* fontName; /* 80..87 */
#else
    uint8_t unused80[4];
    const char* fontName; /* 84 */
#endif
    int32_t backColor; /* 88 */
    int32_t foreColor;
    int32_t fillColor;
    int32_t carried100;
    int32_t carried104;
    int32_t activeBorderColor;   /* 108 */
    int32_t inactiveBorderColor; /* 112 */
    int32_t pictureMaskColor;    /* 116 */
    uint8_t unused120[8];
    int32_t arrowColor;    /* 128 */
    int32_t captionShadow; /* 132 */
    uint8_t shadowAmount;  /* 136 */
    uint8_t unused137[3];
    int32_t carried140;
    uint8_t carried144;
    uint8_t carried145;
    uint8_t shadowBase; /* 146: 1 fillColor lightened, 2 activeBorderColor lightened, else fillColor */
    uint8_t unused147;
    int32_t carried148;
    uint8_t shape; /* 152: 0 rectangle, 1 rounded rectangle, 2 ellipse */
    uint8_t unused153[3];
    int32_t roundX;        /* 156 */
    int32_t roundY;        /* 160 */
    uint8_t lightenAmount; /* 164 */
    uint8_t darkenAmount;  /* 165 */
    uint8_t unused166[2];
    ZuHBITMAP picture;   /* 168: 0 for none */
    float pictureWidth;  /* 172: HIMETRIC */
    float pictureHeight; /* 176: HIMETRIC */
    uint8_t unused180[4];
    uint8_t pictureEffect; /* 184: 0..5 */
    uint8_t unused185[3];
    int32_t pictureRotation; /* 188: 0 none, 1 quarter turn left, 2 quarter turn right, 3 half turn */
    uint8_t dropDownWidth;   /* 192 */
    uint8_t dropDownMargin;  /* 193 */
    uint8_t unused194[2];
    int32_t separatorLength;    /* 196 */
    int32_t separatorThickness; /* 200 */
    int32_t separatorColor;     /* 204 */
    uint8_t separatorWidth;     /* 208 */
    uint8_t unused209[3];
} __attribute__((aligned(4))) PanelButtonRecord; /* every 4-byte field lies on a 4-byte boundary */
#pragma pack(pop)

ZU_STATIC_ASSERT(sizeof(PanelButtonRecord) == 212, "the button record is 212 bytes");
ZU_STATIC_ASSERT(ZU_ALIGNOF(PanelButtonRecord) == 4, "the record is 4-byte aligned");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, style) == 8, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, pictureAlignment) == 10, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried16) == 16, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, backStyle) == 20, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried22) == 22, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, caption) == 28, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, enabled) == 36, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried48) == 48, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, orientation) == 50, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, margin) == 52, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontHeight) == 56, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontWidth) == 60, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontEscapement) == 64, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontOrientation) == 68, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontWeight) == 72, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontItalic) == 76, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontCharSet) == 79, "record layout");
#if ZU_RECORD_64BIT
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontName) == 80, "record layout: 64-bit face-name pointer");
#else
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fontName) == 84, "record layout");
#endif
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, backColor) == 88, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, foreColor) == 92, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, fillColor) == 96, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried100) == 100, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, activeBorderColor) == 108, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, inactiveBorderColor) == 112, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, pictureMaskColor) == 116, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, arrowColor) == 128, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, captionShadow) == 132, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, shadowAmount) == 136, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried140) == 140, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried144) == 144, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, shadowBase) == 146, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, carried148) == 148, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, shape) == 152, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, roundX) == 156, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, roundY) == 160, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, lightenAmount) == 164, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, darkenAmount) == 165, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, picture) == 168, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, pictureWidth) == 172, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, pictureHeight) == 176, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, pictureEffect) == 184, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, pictureRotation) == 188, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, dropDownWidth) == 192, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, dropDownMargin) == 193, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, separatorLength) == 196, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, separatorThickness) == 200, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, separatorColor) == 204, "record layout");
ZU_STATIC_ASSERT(offsetof(PanelButtonRecord, separatorWidth) == 208, "record layout");

/* The regions of one button, owned by the caller: body, drop-down part and their union (the window region).
 */
typedef struct PanelButtonRegions {
    ZuHRGN body;
    ZuHRGN dropDown;
    ZuHRGN window;
} PanelButtonRegions;

/* Paints the panel background, frame, grip and caption band. */
int ZuPanel_Paint(ZuHWND panel, ZuHDC dc, const char* caption, int32_t backColor, int32_t frameColor,
                  int32_t captionTextColor, int32_t captionMode, int32_t captionInset, int32_t frameWidth,
                  int32_t captionWidening, int32_t gripLength, int32_t backGradient, int32_t captionGradient,
                  int32_t gradientIntensity, ZuHBITMAP pattern, int32_t captionShadow, int32_t appearance,
                  const ZuRECT* captionRect, int32_t frameStyle, int32_t outerEdge);

/* Paints a button at rest or held down (pressed non-zero); parentImage holds the parent's picture. */
int ZuPanelButton_Paint(ZuHWND button, ZuHWND parent, ZuHDC dc, ZuHDC parentImage,
                        const PanelButtonRecord* record, const ZuRECT* pictureRect, const ZuRECT* captionRect,
                        int32_t pressed, int32_t dropDownPressed, int32_t unused);

/* Paints a button in its hot look, the pointer being over it. */
int ZuPanelButton_MouseMove(ZuHWND button, ZuHDC dc, const PanelButtonRecord* record,
                            const ZuRECT* pictureRect, const ZuRECT* captionRect, int32_t pressed,
                            int32_t dropDownPressed, int32_t unused1, int32_t unused2, int32_t unused3);

/* Automatic sizing: size (twips) in and out, picture and caption rectangles (pixels) out. */
int ZuPanelButton_Resize(int32_t unused1, ZuHDC dc, const PanelButtonRecord* record, ZuSIZEF* size,
                         ZuRECT* pictureRect, ZuRECT* captionRect, int32_t unused2);

/* Makes the body, drop-down and union regions, and sets the union as the button's window region. */
int CreateButtonRegions(ZuHWND button, const PanelButtonRecord* record, PanelButtonRegions* regions);

/* Copies a record, keeping the destination's screen scale, font orientation and picture. */
PanelButtonRecord* CopyButtonObject(PanelButtonRecord* destination, const PanelButtonRecord* source);

/* The window style a panel control gives its buttons. */
int GetWStyle(void);

/* Frames a tool tip: black outline, tool-tip background fill. */
int DrawToolTip(ZuHWND window, ZuHDC dc);


/* ---- The control module: the four entry points of a self-registering in-process server ------------------
 *
 * Result codes are the platform's HRESULTs: zero or positive succeeds, negative fails. Class and interface
 * identifiers are the platform's GUIDs. ZuControls.h holds the C++ interfaces that the objects behind these
 * entry points implement, and the container API built on them. */
typedef int32_t ZuHRESULT;

typedef struct ZuGUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} ZuGUID;

#define ZU_S_OK ((ZuHRESULT)0)
#define ZU_S_FALSE ((ZuHRESULT)1)
#define ZU_E_NOTIMPL ((ZuHRESULT)0x80004001u)
#define ZU_E_NOINTERFACE ((ZuHRESULT)0x80004002u)
#define ZU_E_POINTER ((ZuHRESULT)0x80004003u)
#define ZU_E_FAIL ((ZuHRESULT)0x80004005u)
#define ZU_E_UNEXPECTED ((ZuHRESULT)0x8000FFFFu)
#define ZU_E_INVALIDARG ((ZuHRESULT)0x80070057u)
#define ZU_CLASS_E_NOAGGREGATION ((ZuHRESULT)0x80040110u)
#define ZU_CLASS_E_CLASSNOTAVAILABLE ((ZuHRESULT)0x80040111u)
#define ZU_REGDB_E_CLASSNOTREG ((ZuHRESULT)0x80040154u)
#define ZU_SELFREG_E_TYPELIB ((ZuHRESULT)0x80040200u)
#define ZU_SELFREG_E_CLASS ((ZuHRESULT)0x80040201u)
#define ZU_CO_E_NOTINITIALIZED ((ZuHRESULT)0x800401F0u)
#define ZU_CO_E_CLASSSTRING ((ZuHRESULT)0x800401F3u)
#define ZU_CO_E_DLLNOTFOUND ((ZuHRESULT)0x800401F8u)
#define ZU_RPC_E_WRONG_THREAD ((ZuHRESULT)0x8001010Eu)
#define ZU_DISP_E_MEMBERNOTFOUND ((ZuHRESULT)0x80020003u)
#define ZU_DISP_E_TYPEMISMATCH ((ZuHRESULT)0x80020005u)
#define ZU_DISP_E_BADPARAMCOUNT ((ZuHRESULT)0x8002000Eu)

/* Writes the type library, every served class and property page, their ProgIDs and interfaces into the
 * per-user registry file; SELFREG_E_TYPELIB or SELFREG_E_CLASS when a step cannot be written. */
ZuHRESULT DllRegisterServer(void);
/* Removes everything DllRegisterServer writes (also for classes this build does not serve). */
ZuHRESULT DllUnregisterServer(void);
/* The class factory of a class identifier: CLASS_E_CLASSNOTAVAILABLE for a class the module does not serve. */
ZuHRESULT DllGetClassObject(const ZuGUID* clsid, const ZuGUID* iid, void** object);
/* S_OK when no server lock and no object of the module is alive, else S_FALSE. */
ZuHRESULT DllCanUnloadNow(void);

#ifdef __cplusplus
}
#endif

#endif
