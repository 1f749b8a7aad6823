// The menu button control ZuMenuEx: a flat button with a picture and a caption that pops up owner-drawn menus
// built by the container at run time. Its dispatch interface is this class's meta-object: the properties, the
// invokable methods and the signals below, under their own names and in their own argument order.
#pragma once

#include "PopupMenuManager.h"
#include "ZuModule.h"

#include <QFont>
#include <QImage>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <cmath>

namespace zu {
// Truncation of a float for pixel arithmetic; non-finite or absurd values do not reach the conversion.
inline int truncatedPixels(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::clamp(value, -1.0e6, 1.0e6));
}
// Pixel sizes and positions given as integers, kept where sums of them cannot overflow.
inline int boundedPixels(int value) {
    return std::clamp(value, -1000000, 1000000);
}
// 8-bit amounts (Major, Minor, ShadowNumber) kept within 0..255.
inline uint8_t amountOf(int value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}
} // namespace zu

// Every property: type, name, and whether setting it repaints the button (when FlagRedraw is set).
// clang-format off
#define ZU_MENUEX_PROPERTIES(X) \
    X(QString, FilePath, false) \
    X(QString, Caption, true) \
    X(QString, FontName, true) \
    X(float, FontHeight, true) \
    X(float, FontWidth, true) \
    X(bool, FontBold, true) \
    X(bool, FontItalic, true) \
    X(bool, FontUnderline, true) \
    X(bool, FontStrikeOut, true) \
    X(int, FontCharSet, true) \
    X(QPixmap, CheckPicture, true) \
    X(uint, MenuBackColor, false) \
    X(QPixmap, Picture, true) \
    X(uint, MaskColor, false) \
    X(uint, FrameColor, false) \
    X(float, MenuStringHeight, false) \
    X(float, MenuStringWidth, false) \
    X(float, CheckAreaWidth, false) \
    X(float, PictureAreaWidth, false) \
    X(int, Major, false) \
    X(int, Minor, false) \
    X(float, ScreenTwipPerPixelX, false) \
    X(float, ScreenTwipPerPixelY, false) \
    X(bool, CaptionShadow, false) \
    X(uint, ForeColor, true) \
    X(bool, InActPictWhiteAndBlack, false) \
    X(QPixmap, Pattern, false) \
    X(bool, InvertActiveForeColor, false) \
    X(bool, UseDefault, false) \
    X(uint, DefCheckAreaColor, false) \
    X(uint, DefPictureAreaColor, false) \
    X(uint, DefCaptionAreaColor, false) \
    X(int, FrameForm, false) \
    X(bool, AppActivePicture, false) \
    X(bool, ButtonEnabled, true) \
    X(int, Margin, false) \
    X(int, ShadowNumber, false) \
    X(bool, OpenAllMenu, false) \
    X(uint, SeparatorColor, false) \
    X(QString, Label, false) \
    X(uint, LabelForeColor, false) \
    X(int, LabelAreaWidth, false) \
    X(uint, BackColorLabelArea, false) \
    X(bool, FlagRedraw, false) \
    X(uint, ButtonBackColor, false)
// clang-format on

class CZuMenuExCtrl : public zu::CZuControlBase, public zu::menu::MenuOwner {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "ZUCOMPONENTS.ZuMenuExCtrl.1")
    Q_CLASSINFO("DispatchInterface", "_DZuMenuEx")
    Q_CLASSINFO("EventInterface", "_DZuMenuExEvents")
    // The float32 properties: read and written as double (the type .ui files and Qt Designer know), stored as
    // float32, so that a value set reads back with float32 precision.
    Q_CLASSINFO("SingleProperties", "FontHeight FontWidth MenuStringHeight MenuStringWidth CheckAreaWidth "
                                    "PictureAreaWidth ScreenTwipPerPixelX ScreenTwipPerPixelY")
    // clang-format off
    // The help strings of the type library.
    Q_CLASSINFO("Help", "Кнопка с меню, рисуемыми владельцем")
    Q_CLASSINFO("Help:FilePath", "Путь к файлу, выбранному в OpenAnyFile")
    Q_CLASSINFO("Help:Caption", "Надпись кнопки")
    Q_CLASSINFO("Help:FontName", "Шрифт кнопки и меню по умолчанию")
    Q_CLASSINFO("Help:FontHeight", "Высота шрифта (высота символа FontHeight × 1,34 пикселя)")
    Q_CLASSINFO("Help:FontWidth", "Средняя ширина символа в пикселях (0 — по выбору системы)")
    Q_CLASSINFO("Help:FontBold", "Полужирный шрифт")
    Q_CLASSINFO("Help:FontItalic", "Курсив")
    Q_CLASSINFO("Help:FontUnderline", "Подчёркнутый шрифт")
    Q_CLASSINFO("Help:FontStrikeOut", "Зачёркнутый шрифт")
    Q_CLASSINFO("Help:FontCharSet", "Набор символов всех шрифтов элемента")
    Q_CLASSINFO("Help:CheckPicture", "Рисунок отметки; без него рисуется встроенная галочка")
    Q_CLASSINFO("Help:MenuBackColor", "Цвет фона кнопки")
    Q_CLASSINFO("Help:Picture", "Рисунок кнопки")
    Q_CLASSINFO("Help:MaskColor", "Прозрачный цвет всех рисунков")
    Q_CLASSINFO("Help:FrameColor", "Цвет рамки и основа цвета выбранной строки")
    Q_CLASSINFO("Help:MenuStringHeight", "Высота строки меню (для контейнера)")
    Q_CLASSINFO("Help:MenuStringWidth", "Ширина строки меню (для контейнера)")
    Q_CLASSINFO("Help:CheckAreaWidth", "Ширина области отметки")
    Q_CLASSINFO("Help:PictureAreaWidth", "Ширина области рисунка (для контейнера)")
    Q_CLASSINFO("Help:Major", "Степень осветления, 0..255")
    Q_CLASSINFO("Help:Minor", "Степень затемнения, 0..255")
    Q_CLASSINFO("Help:ScreenTwipPerPixelX", "Твипов на пиксель по горизонтали для размеров рисунков")
    Q_CLASSINFO("Help:ScreenTwipPerPixelY", "Твипов на пиксель по вертикали для размеров рисунков")
    Q_CLASSINFO("Help:CaptionShadow", "Тень надписи нажатой кнопки и выбранной строки")
    Q_CLASSINFO("Help:ForeColor", "Цвет надписи кнопки и строк меню по умолчанию")
    Q_CLASSINFO("Help:InActPictWhiteAndBlack", "Рисунки невыбранных строк — в оттенках серого")
    Q_CLASSINFO("Help:Pattern", "Узор фона нажатой кнопки и областей надписей")
    Q_CLASSINFO("Help:InvertActiveForeColor", "Надпись выбранной строки — инвертированным цветом")
    Q_CLASSINFO("Help:UseDefault", "Признак цветов по умолчанию (для контейнера)")
    Q_CLASSINFO("Help:DefCheckAreaColor", "Цвет области отметки по умолчанию")
    Q_CLASSINFO("Help:DefPictureAreaColor", "Цвет области рисунка по умолчанию")
    Q_CLASSINFO("Help:DefCaptionAreaColor", "Цвет области надписи по умолчанию")
    Q_CLASSINFO("Help:FrameForm", "Начало рамки выбранной строки: 0, 1 или 2")
    Q_CLASSINFO("Help:AppActivePicture", "Рисунок выбранной строки приподнят над ней")
    Q_CLASSINFO("Help:ButtonEnabled", "Кнопка доступна")
    Q_CLASSINFO("Help:Margin", "Отступ рисунка кнопки от края и от надписи")
    Q_CLASSINFO("Help:ShadowNumber", "Затемнение для теней рисунков")
    Q_CLASSINFO("Help:OpenAllMenu", "Признак контейнера: открыты все строки меню")
    Q_CLASSINFO("Help:SeparatorColor", "Цвет линии разделителя")
    Q_CLASSINFO("Help:Label", "Надпись боковой полосы (для контейнера)")
    Q_CLASSINFO("Help:LabelForeColor", "Цвет надписи боковой полосы по умолчанию")
    Q_CLASSINFO("Help:LabelAreaWidth", "Ширина боковой полосы по умолчанию")
    Q_CLASSINFO("Help:BackColorLabelArea", "Цвет боковой полосы по умолчанию")
    Q_CLASSINFO("Help:FlagRedraw", "Перерисовывать кнопку сразу при изменении свойства")
    Q_CLASSINFO("Help:ButtonBackColor", "Цвет фона кнопки (для контейнера)")
    Q_CLASSINFO("Help:CreateMenu", "Создаёт меню и возвращает его дескриптор")
    Q_CLASSINFO("Help:AddMenuString", "Добавляет строку меню")
    Q_CLASSINFO("Help:AddSizeMenuString", "Задаёт размеры строки меню и боковую полосу (в ответ на MeasureItem)")
    Q_CLASSINFO("Help:TrackMenu", "Показывает меню в точке экрана")
    Q_CLASSINFO("Help:RefreshString", "Вставляет скрытую строку в меню")
    Q_CLASSINFO("Help:DestroyMenu", "Уничтожает меню")
    Q_CLASSINFO("Help:GetMaxTextExt", "Ширина или высота текста в пикселях")
    Q_CLASSINFO("Help:ChangeColor", "Диалог выбора цвета")
    Q_CLASSINFO("Help:OpenAnyFile", "Диалог открытия файла")
    Q_CLASSINFO("Help:Click", "Нажатие кнопки")
    Q_CLASSINFO("Help:MenuSelect", "Строка меню выбрана указателем или клавишами")
    Q_CLASSINFO("Help:MenuClick", "Строка меню выбрана для исполнения")
    Q_CLASSINFO("Help:MeasureItem", "Запрос размеров строки меню")
    // clang-format on
    Q_PROPERTY(QString FilePath READ FilePath WRITE setFilePath DESIGNABLE false STORED false)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(double FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(double FontWidth READ FontWidth WRITE setFontWidth)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(bool FontStrikeOut READ FontStrikeOut WRITE setFontStrikeOut)
    Q_PROPERTY(int FontCharSet READ FontCharSet WRITE setFontCharSet)
    Q_PROPERTY(QPixmap CheckPicture READ CheckPicture WRITE setCheckPicture)
    Q_PROPERTY(uint MenuBackColor READ MenuBackColor WRITE setMenuBackColor)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(uint MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(uint FrameColor READ FrameColor WRITE setFrameColor)
    Q_PROPERTY(double MenuStringHeight READ MenuStringHeight WRITE setMenuStringHeight)
    Q_PROPERTY(double MenuStringWidth READ MenuStringWidth WRITE setMenuStringWidth)
    Q_PROPERTY(double CheckAreaWidth READ CheckAreaWidth WRITE setCheckAreaWidth)
    Q_PROPERTY(double PictureAreaWidth READ PictureAreaWidth WRITE setPictureAreaWidth)
    Q_PROPERTY(int Major READ Major WRITE setMajor)
    Q_PROPERTY(int Minor READ Minor WRITE setMinor)
    Q_PROPERTY(double ScreenTwipPerPixelX READ ScreenTwipPerPixelX WRITE setScreenTwipPerPixelX)
    Q_PROPERTY(double ScreenTwipPerPixelY READ ScreenTwipPerPixelY WRITE setScreenTwipPerPixelY)
    Q_PROPERTY(bool CaptionShadow READ CaptionShadow WRITE setCaptionShadow)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool InActPictWhiteAndBlack READ InActPictWhiteAndBlack WRITE setInActPictWhiteAndBlack)
    Q_PROPERTY(QPixmap Pattern READ Pattern WRITE setPattern)
    Q_PROPERTY(bool InvertActiveForeColor READ InvertActiveForeColor WRITE setInvertActiveForeColor)
    Q_PROPERTY(bool UseDefault READ UseDefault WRITE setUseDefault)
    Q_PROPERTY(uint DefCheckAreaColor READ DefCheckAreaColor WRITE setDefCheckAreaColor)
    Q_PROPERTY(uint DefPictureAreaColor READ DefPictureAreaColor WRITE setDefPictureAreaColor)
    Q_PROPERTY(uint DefCaptionAreaColor READ DefCaptionAreaColor WRITE setDefCaptionAreaColor)
    Q_PROPERTY(int FrameForm READ FrameForm WRITE setFrameForm)
    Q_PROPERTY(bool AppActivePicture READ AppActivePicture WRITE setAppActivePicture)
    Q_PROPERTY(bool ButtonEnabled READ ButtonEnabled WRITE setButtonEnabled)
    Q_PROPERTY(int Margin READ Margin WRITE setMargin)
    Q_PROPERTY(int ShadowNumber READ ShadowNumber WRITE setShadowNumber)
    Q_PROPERTY(bool OpenAllMenu READ OpenAllMenu WRITE setOpenAllMenu DESIGNABLE false STORED false)
    Q_PROPERTY(uint SeparatorColor READ SeparatorColor WRITE setSeparatorColor)
    Q_PROPERTY(QString Label READ Label WRITE setLabel)
    Q_PROPERTY(uint LabelForeColor READ LabelForeColor WRITE setLabelForeColor)
    Q_PROPERTY(int LabelAreaWidth READ LabelAreaWidth WRITE setLabelAreaWidth)
    Q_PROPERTY(uint BackColorLabelArea READ BackColorLabelArea WRITE setBackColorLabelArea)
    Q_PROPERTY(bool FlagRedraw READ FlagRedraw WRITE setFlagRedraw DESIGNABLE false STORED false)
    Q_PROPERTY(uint ButtonBackColor READ ButtonBackColor WRITE setButtonBackColor)
    Q_PROPERTY(int hWnd READ hWnd DESIGNABLE false STORED false)
    Q_PROPERTY(QFont Font READ Font WRITE setStockFont DESIGNABLE false STORED false)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setStockEnabled DESIGNABLE false STORED false)

  public:
    static const ZuGUID clsid;
    static constexpr int menuCount = 27;
    static constexpr int lineCount = 27;

    explicit CZuMenuExCtrl(QWidget* parent = nullptr);
    ~CZuMenuExCtrl() override;

#define ZU_MENUEX_ACCESSORS(Type, Name, Redraw)                                                              \
    Type Name() const {                                                                                      \
        return Name##_;                                                                                      \
    }                                                                                                        \
    void set##Name(const Type& value);
    ZU_MENUEX_PROPERTIES(ZU_MENUEX_ACCESSORS)
#undef ZU_MENUEX_ACCESSORS

    int hWnd() const;
    QFont Font() const;
    void setStockFont(const QFont& font);
    bool Enabled() const {
        return isEnabled();
    }
    void setStockEnabled(bool enabled);

    Q_INVOKABLE void Refresh();
    Q_INVOKABLE int CreateMenu(int IndexMenu);
    Q_INVOKABLE void AddMenuString(int IndexMenu, int IDMenus, int Index, const QString& Caption,
                                   const QString& Key, const QString& Link, const QString& ToolTipText,
                                   const QPixmap& Picture, int Escapement, int Visible, int Enabled,
                                   int Checked, uint ColorCheckArea, uint ColorPictureArea,
                                   uint ColorCaptionArea, uint ForeColor, float FontHeight, float FontWidth,
                                   const QString& FontName, int FontBold, int FontItalic, int FontUnderline,
                                   int FontStrikeOut, const QString& ShortCut, int SubMenu,
                                   const QPixmap& StringPict, int StrPictAlign);
    Q_INVOKABLE void AddSizeMenuString(int IndexMenus, int IDMenus, int Index, int Height, int Width,
                                       int MaxPictureAreaWidth, bool CheckArea, int PrevBottom,
                                       const QString& Label, int LabelAreaWidth, uint LabelAreaColor,
                                       uint LabelForeColor, bool UseDefault);
    Q_INVOKABLE void TrackMenu(int IndexMenu, int Flag, float X, float Y);
    Q_INVOKABLE void RefreshString(int IndexMenu, int IDMenus, int Index, int SubMenu, int Flag);
    Q_INVOKABLE void DestroyMenu(int MenuIndex);
    Q_INVOKABLE float GetMaxTextExt(const QString& Caption, const QString& FontName, int FontBold,
                                    int FontItalic, int FontCharSet, int FontHeight, int FontWidth, int Flag);
    Q_INVOKABLE uint ChangeColor(uint CurrentColor);
    Q_INVOKABLE void OpenAnyFile(const QString& DlgCaption);

    // The platform's requests while a popup is tracked.
    void initMenuPopup(zu::menu::ZuHMENU popup) override;
    void measureItem(zu::menu::ZuHMENU popup, zu::menu::MeasureItemStruct& item) override;
    void drawItem(const zu::menu::DrawItemStruct& item) override;
    bool isChoice(zu::menu::ZuHMENU popup, int itemId) override;
    void command(int itemId) override;

    // The button into a device context over its client area.
    void paintButton(ZuHDC dc, const ZuRECT& client);
    bool isTracked() const {
        return tracked_;
    }
    // The popup of a menu slot, 0 when it has none.
    zu::menu::ZuHMENU popupOf(int indexMenu) const;

    QSize sizeHint() const override {
        return QSize(120, 26);
    }

  signals:
    void Click();
    void MenuSelect(int IndexMenu, const QString& Caption, const QString& Key, const QString& Link,
                    const QString& ToolTipText, const QPixmap& TollPicture, const QPixmap& CaptionPicture);
    void MenuClick(int IndexMenu, const QString& Caption, const QString& Key, const QString& Link,
                   const QString& ToolTipText, const QPixmap& TollPicture, const QPixmap& CaptionPicture);
    void MeasureItem(int IndexMenuItem, int IndexMenu);

  protected:
    std::span<const zu::PersistedProperty> persistedProperties() const override;
    QVariantMap propertyDefaults() const override;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  public:
    // A picture as the menus keep it: the picture given, and its pixels for drawing.
    struct LinePicture {
        QPixmap pixmap;
        QImage image;
        void set(const QPixmap& p);
        bool empty() const { return image.isNull(); }
    };
    struct MenuLine {
        QString caption, key, link, toolTipText;
        LinePicture picture;
        int escapement = 0;
        int visible = 0, enabled = 0, checked = 0;
        uint colorCheckArea = 0, colorPictureArea = 0, colorCaptionArea = 0, foreColor = 0;
        float fontHeight = 0, fontWidth = 0;
        QString fontName;
        int fontBold = 0, fontItalic = 0, fontUnderline = 0, fontStrikeOut = 0;
        QString shortCut;
        int subMenu = 0;
        LinePicture stringPict;
        int strPictAlign = 0;
        int height = 0, width = 0, top = 0, bottom = 0; // from AddSizeMenuString
    };
    struct MenuSlot {
        zu::menu::ZuHMENU popup = 0;
        int idMenus = 0;
        int totalHeight = 0;
        int maxPictureAreaWidth = 0;
        bool checkArea = false;
        QString label;
        int labelAreaWidth = 0;
        uint labelAreaColor = 0, labelForeColor = 0;
        bool useDefault = false;
        std::array<MenuLine, lineCount> lines;
    };
    const MenuSlot& menuSlot(int index) const {
        return menus_[index];
    }

  private:
    struct Remembered {
        int index = -1; // no line has been selected yet: a choice of the expand line then names none
        QString caption, key, link, toolTipText;
        QPixmap picture, captionPicture;
    };
    struct LineGeometry;

    void propertySet(bool repaintsButton);
    int menuOfPopup(zu::menu::ZuHMENU popup) const;
    int labelWidth(const MenuSlot& slot) const;
    LineGeometry geometry(const MenuSlot& slot, const MenuLine& line, const ZuRECT& item) const;
    uint32_t areaColour(const MenuSlot& slot, const MenuLine& line, uint lineColour,
                        uint defaultColour) const;
    void drawLineAtRest(ZuHDC dc, const MenuSlot& slot, int index, const ZuRECT& item);
    void drawLineSelected(ZuHDC dc, const MenuSlot& slot, int index, const ZuRECT& item);
    void drawLabelStrip(ZuHDC dc, const MenuSlot& slot);
    void drawCheckMark(ZuHDC dc, const ZuRECT& checkArea, int effect);
    void drawLinePicture(ZuHDC dc, const LinePicture& picture, int rotation, const ZuRECT& area, int effect,
                         int dx, int dy);
    void drawStringPicture(ZuHDC dc, const MenuLine& line, const ZuRECT& captionArea, const ZuRECT& item);
    void drawCaptionTexts(ZuHDC dc, const MenuSlot& slot, const MenuLine& line, const ZuRECT& rect,
                          uint32_t colour);
    void drawPicture(ZuHDC dc, const QImage& image, int rotation, int effect, int x, int y);
    QSize pictureSize(const QImage& image, int rotation) const;

#define ZU_MENUEX_MEMBERS(Type, Name, Redraw) Type Name##_{};
    ZU_MENUEX_PROPERTIES(ZU_MENUEX_MEMBERS)
#undef ZU_MENUEX_MEMBERS
    LinePicture checkPicture_, buttonPicture_, pattern_;

    std::array<MenuSlot, menuCount> menus_;
    int currentMenu_ = -1;
    int lineCounter_ = 0;
    bool labelDrawn_ = false;
    bool tracked_ = false;
    Remembered remembered_;
    ZuHWND window_ = 0;
    bool beeped_ = false; // one beep per entry of the pointer into the button
    bool pressed_ = false;
};
