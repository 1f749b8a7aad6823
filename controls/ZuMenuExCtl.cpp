// The menu button control: properties, the menu table's methods, the button's own drawing and events.
#include "ZuMenuExCtl.h"

#include "ColorFunction.h"
#include "PanelPainter.h"
#include "platform/ZuGdi.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cmath>
#include <limits>

using namespace zu;
using zu::gdi::COLOR_3DLIGHT;
using zu::gdi::COLOR_BTNFACE;
using zu::gdi::COLOR_GRAYTEXT;
using zu::gdi::COLOR_HIGHLIGHT;
using zu::gdi::COLOR_MENU;
using zu::gdi::COLOR_MENUTEXT;

const ZuGUID CZuMenuExCtrl::clsid = {
    0xBAD57D08, 0x78B3, 0x4301, {0x98, 0x3A, 0x14, 0xA4, 0x82, 0xFE, 0xAB, 0x45}};

namespace {

const zu::ClassRegistration registration(CZuMenuExCtrl::clsid, [](QWidget* parent) -> QWidget* {
    return new CZuMenuExCtrl(parent);
});

uint sys(int index) {
    return gdi::getSysColor(index);
}

// clang-format off
const zu::PersistedProperty persisted[] = {
    {"Caption", "Caption"},
    {"FontName", "FontName"},
    {"FontHeight", "FontHeight"},
    {"FontWidth", "FontWidth"},
    {"FontBold", "FontBold"},
    {"FontItalic", "FontItalic"},
    {"FontUnderline", "FontUnderline"},
    {"FontStrikeOut", "FontStrikeOut"},
    {"FontCharSet", "FontCharSet"},
    {"CheckPicture", "CheckPicture"},
    {"MenuBackColor", "MenuBackColor"},
    {"Picture", "Picture"},
    {"MaskColor", "MaskColor"},
    {"FrameColor", "FrameColor"},
    {"MenuStringHeight", "MenuStringHeight"},
    {"MenuStringWidth", "MenuStringWidth"},
    {"CheckAreaWidth", "CheckAreaWidth"},
    {"PictureAreaWidth", "PictureAreaWidth"},
    {"Major", "Major"},
    {"Minor", "Minor"},
    {"ScreenTwipPerPixelX", "ScreenTwipPerPixelX"},
    {"ScreenTwipPerPixelY", "ScreenTwipPerPixelY"},
    {"CaptionShadow", "CaptionShadow"},
    {"ForeColor", "ForeColor"},
    {"InActPictWhiteAndBlack", "InActPictWhiteAndBlack"},
    {"Pattern", "Pattern"},
    {"InvertActiveForeColor", "InvertActiveForeColor"},
    {"UseDefault", "UseDefault"},
    {"DefCheckAreaColor", "DefCheckAreaColor"},
    {"DefPictureAreaColor", "DefPictureAreaColor"},
    {"DefCaptionAreaColor", "DefCaptionAreaColor"},
    {"FrameForm", "FrameForm"},
    {"AppActivePicture", "AppActivePicture"},
    {"ButtonEnabled", "ButtonEnabled"},
    {"Margin", "Margin"},
    {"ShadowNumber", "ShadowNumber"},
    {"SeparatorColor", "SeparatorColor"},
    {"Label", "Label"},
    {"LabelForeColor", "LabelForeColorv"},
    {"LabelAreaWidth", "LabelAreaWidth"},
    {"BackColorLabelArea", "BackColorLabelArea"},
    {"ButtonBackColor", "ButtonBackColor"},
};
// clang-format on

bool validMenu(int index) {
    return index >= 0 && index < CZuMenuExCtrl::menuCount;
}
bool validLine(int index) {
    return index >= 0 && index < CZuMenuExCtrl::lineCount;
}

// Command identifiers name the menu and the line: menu * 32 + line + 1.
int commandId(int menu, int line) {
    return menu * 32 + line + 1;
}

} // namespace

CZuMenuExCtrl::CZuMenuExCtrl(QWidget* parent) : CZuControlBase(clsid, parent) {
    setObjectName(QStringLiteral("ZuMenuEx"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    window_ = gdi::createWindow(0, 0, 0, sizeHint().width(), sizeHint().height());
    InitNew();
}

CZuMenuExCtrl::~CZuMenuExCtrl() {
    for (MenuSlot& slot : menus_)
        if (slot.popup) menu::destroyMenu(slot.popup);
    gdi::destroyWindow(window_);
}

// ---- properties
// ----------------------------------------------------------------------------------------------

#define ZU_MENUEX_SETTER(Type, Name, Redraw)                                                                 \
    void CZuMenuExCtrl::set##Name(const Type& value) {                                                       \
        Name##_ = value;                                                                                     \
        propertySet(Redraw);                                                                                 \
    }
ZU_MENUEX_PROPERTIES(ZU_MENUEX_SETTER)
#undef ZU_MENUEX_SETTER

void CZuMenuExCtrl::LinePicture::set(const QPixmap& p) {
    pixmap = p;
    image = p.isNull() ? QImage() : p.toImage().convertToFormat(QImage::Format_RGB32);
}

void CZuMenuExCtrl::propertySet(bool repaintsButton) {
    checkPicture_.set(CheckPicture_);
    buttonPicture_.set(Picture_);
    pattern_.set(Pattern_);
    setModifiedFlag();
    // With FlagRedraw the button repaints at once; otherwise it repaints with the next paint, as any widget.
    if (repaintsButton && FlagRedraw_)
        repaint();
    else
        update();
}

std::span<const PersistedProperty> CZuMenuExCtrl::persistedProperties() const {
    return persisted;
}

QVariantMap CZuMenuExCtrl::propertyDefaults() const {
    QVariantMap d;
    d.insert(QStringLiteral("Caption"), QVariant::fromValue<QString>(QString()));
    d.insert(QStringLiteral("FontName"), QVariant::fromValue<QString>(QStringLiteral("Arial")));
    d.insert(QStringLiteral("FontHeight"), QVariant::fromValue<float>(10.0f));
    d.insert(QStringLiteral("FontWidth"), QVariant::fromValue<float>(0.0f));
    d.insert(QStringLiteral("FontBold"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("FontItalic"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("FontUnderline"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("FontStrikeOut"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("FontCharSet"), QVariant::fromValue<int>(0));
    d.insert(QStringLiteral("CheckPicture"), QVariant::fromValue<QPixmap>(QPixmap()));
    d.insert(QStringLiteral("MenuBackColor"), QVariant::fromValue<uint>(sys(COLOR_MENU)));
    d.insert(QStringLiteral("Picture"), QVariant::fromValue<QPixmap>(QPixmap()));
    d.insert(QStringLiteral("MaskColor"), QVariant::fromValue<uint>(0xFFFFFFu));
    d.insert(QStringLiteral("FrameColor"), QVariant::fromValue<uint>(sys(COLOR_HIGHLIGHT)));
    d.insert(QStringLiteral("MenuStringHeight"), QVariant::fromValue<float>(20.0f));
    d.insert(QStringLiteral("MenuStringWidth"), QVariant::fromValue<float>(200.0f));
    d.insert(QStringLiteral("CheckAreaWidth"), QVariant::fromValue<float>(20.0f));
    d.insert(QStringLiteral("PictureAreaWidth"), QVariant::fromValue<float>(20.0f));
    d.insert(QStringLiteral("Major"), QVariant::fromValue<int>(50));
    d.insert(QStringLiteral("Minor"), QVariant::fromValue<int>(50));
    d.insert(QStringLiteral("ScreenTwipPerPixelX"), QVariant::fromValue<float>(15.0f));
    d.insert(QStringLiteral("ScreenTwipPerPixelY"), QVariant::fromValue<float>(15.0f));
    d.insert(QStringLiteral("CaptionShadow"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("ForeColor"), QVariant::fromValue<uint>(sys(COLOR_MENUTEXT)));
    d.insert(QStringLiteral("InActPictWhiteAndBlack"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("Pattern"), QVariant::fromValue<QPixmap>(QPixmap()));
    d.insert(QStringLiteral("InvertActiveForeColor"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("UseDefault"), QVariant::fromValue<bool>(false));
    d.insert(QStringLiteral("DefCheckAreaColor"), QVariant::fromValue<uint>(sys(COLOR_BTNFACE)));
    d.insert(QStringLiteral("DefPictureAreaColor"), QVariant::fromValue<uint>(sys(COLOR_3DLIGHT)));
    d.insert(QStringLiteral("DefCaptionAreaColor"), QVariant::fromValue<uint>(sys(COLOR_MENU)));
    d.insert(QStringLiteral("FrameForm"), QVariant::fromValue<int>(0));
    d.insert(QStringLiteral("AppActivePicture"), QVariant::fromValue<bool>(true));
    d.insert(QStringLiteral("ButtonEnabled"), QVariant::fromValue<bool>(true));
    d.insert(QStringLiteral("Margin"), QVariant::fromValue<int>(3));
    d.insert(QStringLiteral("ShadowNumber"), QVariant::fromValue<int>(30));
    d.insert(QStringLiteral("SeparatorColor"), QVariant::fromValue<uint>(sys(COLOR_GRAYTEXT)));
    d.insert(QStringLiteral("Label"), QVariant::fromValue<QString>(QStringLiteral("ZuPopUpMenu")));
    d.insert(QStringLiteral("LabelForeColor"), QVariant::fromValue<uint>(sys(COLOR_MENU)));
    d.insert(QStringLiteral("LabelAreaWidth"), QVariant::fromValue<int>(12));
    d.insert(QStringLiteral("BackColorLabelArea"), QVariant::fromValue<uint>(sys(COLOR_3DLIGHT)));
    d.insert(QStringLiteral("ButtonBackColor"), QVariant::fromValue<uint>(sys(COLOR_3DLIGHT)));
    return d;
}

namespace {

// The FontHeight a font stands for. The getter gives the character height, FontHeight x 1.34 truncated, in
// pixels: a font of that pixel size keeps the FontHeight it came from, so that a font read and written back
// changes nothing. Another pixel size takes the smallest FontHeight that gives it; a size in points is the
// FontHeight itself, as the font dialogs count it.
float fontHeightFor(const QFont& font, float current) {
    const int pixels = font.pixelSize();
    if (pixels > 0) {
        if (truncatedPixels(current * 1.34) == pixels) return current;
        float height = static_cast<float>(pixels / 1.34);
        while (truncatedPixels(height * 1.34) < pixels)
            height = std::nextafter(height, std::numeric_limits<float>::max());
        return height;
    }
    // A font that names no size of its own (an empty font of a form file) leaves the height alone.
    if (font.pointSizeF() > 0 && (font.resolveMask() & QFont::SizeResolved))
        return static_cast<float>(font.pointSizeF());
    return current;
}

} // namespace

QFont CZuMenuExCtrl::Font() const {
    QFont font(FontName_);
    font.setPixelSize(std::max(1, truncatedPixels(FontHeight_ * 1.34)));
    font.setBold(FontBold_);
    font.setItalic(FontItalic_);
    font.setUnderline(FontUnderline_);
    font.setStrikeOut(FontStrikeOut_);
    return font;
}

void CZuMenuExCtrl::setStockFont(const QFont& font) {
    FontName_ = font.family();
    FontHeight_ = fontHeightFor(font, FontHeight_);
    FontBold_ = font.bold();
    FontItalic_ = font.italic();
    FontUnderline_ = font.underline();
    FontStrikeOut_ = font.strikeOut();
    propertySet(true);
}

void CZuMenuExCtrl::setStockEnabled(bool enabled) {
    setEnabled(enabled);
    propertySet(true);
}

void CZuMenuExCtrl::Refresh() {
    repaint();
}

// ---- menu table
// ----------------------------------------------------------------------------------------------

menu::ZuHMENU CZuMenuExCtrl::popupOf(int indexMenu) const {
    return validMenu(indexMenu) && menu::isMenu(menus_[indexMenu].popup) ? menus_[indexMenu].popup : 0;
}

int CZuMenuExCtrl::CreateMenu(int IndexMenu) {
    if (!validMenu(IndexMenu)) return 0;
    MenuSlot& slot = menus_[IndexMenu];
    // A popup the slot still holds would be lost: it goes before the new one is made.
    if (slot.popup) menu::destroyMenu(slot.popup);
    slot.totalHeight = 0;
    slot.popup = menu::createPopupMenu();
    currentMenu_ = -1;
    lineCounter_ = 0;
    OpenAllMenu_ = false;
    return static_cast<int>(slot.popup);
}

void CZuMenuExCtrl::AddMenuString(int IndexMenu, int IDMenus, int Index, const QString& Caption,
                                  const QString& Key, const QString& Link, const QString& ToolTipText,
                                  const QPixmap& Picture, int Escapement, int Visible, int Enabled,
                                  int Checked, uint ColorCheckArea, uint ColorPictureArea,
                                  uint ColorCaptionArea, uint ForeColor, float FontHeight, float FontWidth,
                                  const QString& FontName, int FontBold, int FontItalic, int FontUnderline,
                                  int FontStrikeOut, const QString& ShortCut, int SubMenu,
                                  const QPixmap& StringPict, int StrPictAlign) {
    if (!validMenu(IndexMenu) || !validLine(Index)) return;
    MenuSlot& slot = menus_[IndexMenu];
    MenuLine& line = slot.lines[Index];
    line.caption = Caption;
    line.key = Key;
    line.link = Link;
    line.toolTipText = ToolTipText;
    line.picture.set(Picture);
    line.escapement = Escapement;
    line.visible = Visible;
    line.enabled = Enabled;
    line.checked = Checked;
    line.colorCheckArea = ColorCheckArea;
    line.colorPictureArea = ColorPictureArea;
    line.colorCaptionArea = ColorCaptionArea;
    line.foreColor = ForeColor;
    line.fontHeight = FontHeight;
    line.fontWidth = FontWidth;
    line.fontName = FontName;
    line.fontBold = FontBold;
    line.fontItalic = FontItalic;
    line.fontUnderline = FontUnderline;
    line.fontStrikeOut = FontStrikeOut;
    line.shortCut = ShortCut == QLatin1String("(none)") ? QString() : ShortCut;
    line.subMenu = SubMenu;
    line.stringPict.set(StringPict);
    line.strPictAlign = StrPictAlign;
    slot.idMenus = IDMenus;
    if (!menu::isMenu(slot.popup)) return;
    const unsigned flags = menu::MF_OWNERDRAW | (Enabled == -1 ? menu::MF_ENABLED : menu::MF_GRAYED);
    if (SubMenu != 0)
        menu::appendMenu(slot.popup, flags | menu::MF_POPUP, static_cast<uint32_t>(SubMenu));
    else
        menu::appendMenu(slot.popup, flags, static_cast<uint32_t>(commandId(IndexMenu, Index)));
}

void CZuMenuExCtrl::AddSizeMenuString(int IndexMenus, int, int Index, int Height, int Width,
                                      int MaxPictureAreaWidth, bool CheckArea, int PrevBottom,
                                      const QString& Label, int LabelAreaWidth, uint LabelAreaColor,
                                      uint LabelForeColor, bool UseDefault) {
    if (!validMenu(IndexMenus) || !validLine(Index)) return;
    MenuSlot& slot = menus_[IndexMenus];
    MenuLine& line = slot.lines[Index];
    line.height = boundedPixels(Height);
    line.width = boundedPixels(Width);
    line.top = boundedPixels(PrevBottom);
    line.bottom = line.top + line.height;
    slot.maxPictureAreaWidth = boundedPixels(MaxPictureAreaWidth);
    slot.checkArea = CheckArea;
    slot.label = Label;
    slot.labelAreaWidth = boundedPixels(LabelAreaWidth);
    slot.labelAreaColor = LabelAreaColor;
    slot.labelForeColor = LabelForeColor;
    slot.useDefault = UseDefault;
}

void CZuMenuExCtrl::TrackMenu(int IndexMenu, int Flag, float X, float Y) {
    if (!validMenu(IndexMenu) || menu::isTracking()) return;
    const menu::ZuHMENU popup = menus_[IndexMenu].popup;
    if (!menu::isMenu(popup)) {
        menus_[IndexMenu].popup = 0;
        return;
    }
    if (!std::isfinite(X) || !std::isfinite(Y)) return;
    menus_[IndexMenu].totalHeight = 0;
    tracked_ = true;
    repaint();
    QPointer<CZuMenuExCtrl> self(this);
    menu::trackPopupMenu(popup, static_cast<unsigned>(Flag), truncatedPixels(X), truncatedPixels(Y), this,
                         this);
    if (!self) return;
    menu::destroyMenu(popup);
    if (menus_[IndexMenu].popup == popup) menus_[IndexMenu].popup = 0;
    tracked_ = false;
    repaint();
}

void CZuMenuExCtrl::RefreshString(int IndexMenu, int IDMenus, int Index, int SubMenu, int) {
    if (!validMenu(IndexMenu) || !validLine(Index)) return;
    MenuSlot& slot = menus_[IndexMenu];
    const MenuLine& line = slot.lines[Index];
    if (line.visible != 0 || !menu::isMenu(slot.popup)) return;
    currentMenu_ = IDMenus; // taken as a menu index by the measuring that follows
    lineCounter_ = Index;
    // Greyed as it is inserted: when lines before it are not in the popup, position Index lies past the end
    // and the entry lands elsewhere, where enabling by position would miss it.
    const unsigned flags = menu::MF_OWNERDRAW | (line.enabled == -1 ? menu::MF_ENABLED : menu::MF_GRAYED);
    if (SubMenu != 0)
        menu::insertMenu(slot.popup, Index, flags | menu::MF_POPUP, static_cast<uint32_t>(line.subMenu));
    else
        menu::insertMenu(slot.popup, Index, flags, static_cast<uint32_t>(commandId(IndexMenu, Index)));
}

void CZuMenuExCtrl::DestroyMenu(int MenuIndex) {
    if (!validMenu(MenuIndex)) return;
    if (menus_[MenuIndex].popup) menu::destroyMenu(menus_[MenuIndex].popup);
    menus_[MenuIndex].popup = 0;
}

float CZuMenuExCtrl::GetMaxTextExt(const QString& Caption, const QString& FontName, int FontBold,
                                   int FontItalic, int FontCharSet, int FontHeight, int FontWidth, int Flag) {
    if (Flag != 0 && Flag != 1) return 0.0f;
    QImage scratch(1, 1, QImage::Format_RGB32);
    ZuHDC dc = gdi::createImageDC(&scratch);
    gdi::LogFont log;
    log.height = -truncatedPixels(FontHeight * 1.34);
    log.width = FontWidth;
    log.weight = FontBold ? 700 : 400;
    log.italic = FontItalic != 0;
    log.charSet = static_cast<uint8_t>(FontCharSet);
    log.faceName = FontName;
    QSize extent;
    {
        ScopedObject font(dc, gdi::createFontIndirect(log));
        gdi::getTextExtent(dc, Caption, &extent);
    }
    gdi::deleteDC(dc);
    return static_cast<float>(Flag == 0 ? extent.width() : extent.height());
}

uint CZuMenuExCtrl::ChangeColor(uint CurrentColor) {
    const ColorRef current = resolveColor(CurrentColor);
    QColorDialog dialog(QColor(gdi::redOf(current), gdi::greenOf(current), gdi::blueOf(current)), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return CurrentColor;
    const QColor chosen = dialog.selectedColor();
    return gdi::rgb(chosen.red(), chosen.green(), chosen.blue());
}

void CZuMenuExCtrl::OpenAnyFile(const QString& DlgCaption) {
    QFileDialog dialog(this, DlgCaption);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Picture files(*.bmp)"), QStringLiteral("All files(*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    setFilePath(dialog.selectedFiles().constFirst());
}

// ---- the platform's requests
// ---------------------------------------------------------------------------------

int CZuMenuExCtrl::menuOfPopup(menu::ZuHMENU popup) const {
    for (int i = 0; i < menuCount; ++i)
        if (static_cast<menu::ZuHMENU>(menus_[i].idMenus) == popup) return i;
    return -1;
}

void CZuMenuExCtrl::initMenuPopup(menu::ZuHMENU popup) {
    currentMenu_ = menuOfPopup(popup);
    lineCounter_ = 0;
    labelDrawn_ = false;
}

void CZuMenuExCtrl::measureItem(menu::ZuHMENU, menu::MeasureItemStruct& item) {
    const int menuIndex = currentMenu_;
    const int lineIndex = lineCounter_;
    item.itemWidth = item.itemHeight = 0;
    if (!validMenu(menuIndex) || !validLine(lineIndex)) {
        ++lineCounter_;
        return;
    }
    QPointer<CZuMenuExCtrl> self(this);
    emit MeasureItem(lineIndex, menuIndex);
    if (!self) return;
    MenuSlot& slot = menus_[menuIndex];
    const MenuLine& line = slot.lines[lineIndex];
    int width = labelWidth(slot) + line.width + 2;
    if (!slot.checkArea) width -= truncatedPixels(CheckAreaWidth_);
    item.itemWidth = width;
    item.itemHeight = line.height;
    slot.totalHeight = boundedPixels(slot.totalHeight + line.height);
    ++lineCounter_;
}

// A separator or a one-pixel strip is not a choice: it never shows as selected, so the remembered values
// would belong to another line. Nor is a greyed line: it is never remembered either, and choosing it would
// report the line selected before it, a command the user did not pick.
bool CZuMenuExCtrl::isChoice(menu::ZuHMENU, int itemId) {
    const int menuIndex = (itemId - 1) / 32;
    const int lineIndex = (itemId - 1) % 32;
    if (itemId <= 0 || !validMenu(menuIndex) || !validLine(lineIndex)) return true;
    const MenuLine& line = menus_[menuIndex].lines[lineIndex];
    return line.height != 1 && line.height != 3 && line.enabled == -1;
}

void CZuMenuExCtrl::command(int itemId) {
    // The choice arrives after the tracking; whatever let it through, a line that is no choice fires nothing.
    if (!isChoice(0, itemId)) return;
    const Remembered r = remembered_;
    emit MenuClick(r.index, r.caption, r.key, r.link, r.toolTipText, r.picture, r.captionPicture);
}

// ---- the button
// ----------------------------------------------------------------------------------------------

void CZuMenuExCtrl::paintButton(ZuHDC dc, const ZuRECT& client) {
    const bool enabled = ButtonEnabled_;
    {
        ScopedObject brush(dc, 0);
        ZuHGDIOBJ fill = gdi::createSolidBrush(tracked_ ? sys(COLOR_MENU) : resolveColor(MenuBackColor_));
        gdi::fillRect(dc, client, fill);
        gdi::deleteObject(fill);
        if (tracked_ && !pattern_.empty()) {
            ZuHBITMAP bitmap = gdi::createBitmapFromImage(pattern_.image);
            ZuHGDIOBJ tiles = gdi::createPatternBrush(bitmap);
            gdi::fillRect(dc, client, tiles);
            gdi::deleteObject(tiles);
            gdi::deleteObject(bitmap);
        }
    }
    int pictureWidth = 0;
    if (!buttonPicture_.empty()) {
        const QSize size = pictureSize(buttonPicture_.image, 0);
        pictureWidth = size.width();
        const int x = boundedPixels(Margin_);
        const int y = client.top + (client.bottom - client.top - size.height()) / 2;
        const int effect = !enabled ? EffectDisabled : tracked_ ? EffectNone : EffectLighten;
        if (tracked_ && AppActivePicture_ && enabled) {
            drawPicture(dc, buttonPicture_.image, 0, EffectShadow, x + 1, y + 1);
            drawPicture(dc, buttonPicture_.image, 0, effect, x - 1, y - 1);
        } else {
            drawPicture(dc, buttonPicture_.image, 0, effect, x, y);
        }
    }
    if (tracked_) {
        ScopedObject pen(dc, gdi::createPen(gdi::PS_SOLID, 1, sys(COLOR_GRAYTEXT)));
        ZuHGDIOBJ previous = gdi::selectObject(dc, gdi::NULL_BRUSH);
        gdi::rectangle(dc, client.left, client.top, client.right, client.bottom);
        gdi::selectObject(dc, previous);
    }
    gdi::LogFont log;
    log.height = -truncatedPixels(FontHeight_ * 1.34);
    log.width = truncatedPixels(FontWidth_);
    log.weight = FontBold_ ? 700 : 400;
    log.italic = FontItalic_;
    log.underline = FontUnderline_;
    log.strikeOut = FontStrikeOut_;
    log.charSet = static_cast<uint8_t>(FontCharSet_);
    log.faceName = FontName_;
    ScopedObject font(dc, gdi::createFontIndirect(log));
    gdi::setBkMode(dc, gdi::TRANSPARENT);
    const int margin = boundedPixels(Margin_);
    const int left = buttonPicture_.empty() ? 2 * margin : pictureWidth + 2 * margin;
    const ZuRECT text{client.left + left, client.top, client.right, client.bottom};
    const unsigned format = gdi::DT_SINGLELINE | gdi::DT_VCENTER;
    if (tracked_ && CaptionShadow_ && enabled) {
        gdi::setTextColor(dc, darkenBack(dc, 30));
        gdi::drawText(dc, Caption_, ZuRECT{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1},
                      format);
        gdi::setTextColor(dc, resolveColor(ForeColor_));
        gdi::drawText(dc, Caption_, ZuRECT{text.left - 1, text.top - 1, text.right - 1, text.bottom - 1},
                      format);
    } else {
        gdi::setTextColor(dc, enabled ? resolveColor(ForeColor_) : sys(COLOR_GRAYTEXT));
        gdi::drawText(dc, Caption_, text, format);
    }
}

void CZuMenuExCtrl::paintEvent(QPaintEvent*) {
    // Drawn at the screen's device pixel ratio, in the button's own pixels.
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(std::max(1, width()), std::max(1, height())) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    ZuHDC dc = gdi::createImageDC(&image);
    paintButton(dc, ZuRECT{0, 0, width(), height()});
    gdi::deleteDC(dc);
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void CZuMenuExCtrl::mouseMoveEvent(QMouseEvent* event) {
    // The platform's beep for the pointer over the button, once per entry rather than on every move.
    if (!beeped_ && rect().contains(event->position().toPoint())) {
        beeped_ = true;
        platformBeep();
    }
    CZuControlBase::mouseMoveEvent(event);
}

// The window handle's client rectangle follows the widget, for a container that draws into it by handle.
int CZuMenuExCtrl::hWnd() const {
    gdi::moveWindow(window_, x(), y(), width(), height());
    return static_cast<int>(window_);
}

void CZuMenuExCtrl::resizeEvent(QResizeEvent* event) {
    gdi::moveWindow(window_, x(), y(), width(), height());
    CZuControlBase::resizeEvent(event);
}

void CZuMenuExCtrl::leaveEvent(QEvent* event) {
    beeped_ = false;
    CZuControlBase::leaveEvent(event);
}

void CZuMenuExCtrl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    CZuControlBase::mousePressEvent(event);
}

void CZuMenuExCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    // A button that is not available gives no Click.
    if (click && ButtonEnabled_) emit Click();
    CZuControlBase::mouseReleaseEvent(event);
}
