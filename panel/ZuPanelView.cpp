#include "ZuPanelView.h"

#include "ZuPanel.h"
#include "platform/ZuGdi.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace gdi = zu::gdi;

namespace {

constexpr float twipsPerInch = 1440.0f;
constexpr float logicalDpi = 96.0f;

// clang-format off
// The calculation windows' calm palette: a pale green-grey panel, white buttons with green outlines
// (the result frames' green while the pointer is over a button), dark green-black captions.
constexpr gdi::COLORREF panelBack      = gdi::rgb(232, 240, 235);
constexpr gdi::COLORREF panelGrip      = gdi::rgb(110, 150, 125);
constexpr gdi::COLORREF buttonFill     = gdi::rgb(252, 253, 252);
constexpr gdi::COLORREF buttonBorder   = gdi::rgb(120, 160, 135);
constexpr gdi::COLORREF buttonHot      = gdi::rgb(0, 250, 100);
constexpr gdi::COLORREF captionColour  = gdi::rgb(10, 40, 25);
constexpr gdi::COLORREF arrowColour    = gdi::rgb(30, 70, 45);
constexpr QRgb           focusFrame     = qRgb(0, 60, 150);   // apart from the greens, as Qt's focus is blue
// clang-format on

// Sizes in logical pixels.
constexpr int padding = 3;       // panel edge to the buttons, and between the grip and the first button
constexpr int gap = 3;           // between buttons
constexpr int gripWidth = 6;     // the grip band at the panel's left
constexpr int minHeight = 24;    // of a button
constexpr int sidePadding = 6;   // extra room left and right of a caption
constexpr int captionMargin = 4; // the engine's margin around the caption
constexpr int dropDown = 11;     // the drop-down part of a button with a menu
constexpr float fontHeight = 10; // the engine makes the font cell 1.5 times this high
constexpr int focusInset = 3;    // from a button's edge to its focus frame

// An image for a logical size at a device-pixel ratio: the engine draws on it in logical pixels, lines, fills
// and text at the device's resolution and every pixel it sets as the block of device pixels it covers.
QImage imageAtRatio(QSize logical, qreal ratio) {
    const QSize device(std::max(1, static_cast<int>(std::ceil(logical.width() * ratio - 1e-6))),
                       std::max(1, static_cast<int>(std::ceil(logical.height() * ratio - 1e-6))));
    QImage image(device, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

// A device context over an image, released with its scope. The image's ratio is set before.
class ImageDc {
  public:
    explicit ImageDc(QImage* image) : dc_(gdi::createImageDC(image)) {}
    ~ImageDc() { gdi::deleteDC(dc_); }
    ImageDc(const ImageDc&) = delete;
    ImageDc& operator=(const ImageDc&) = delete;
    operator ZuHDC() const { return dc_; }

  private:
    ZuHDC dc_;
};

// A button window of the platform layer with its regions, released with its scope.
class ButtonWindow {
  public:
    ButtonWindow(ZuHWND parent, int x, int y, int width, int height, const PanelButtonRecord& record)
        : window_(gdi::createWindow(parent, x, y, width, height)) {
        CreateButtonRegions(window_, &record, &regions_);
    }
    ~ButtonWindow() {
        for (ZuHRGN region : {regions_.body, regions_.dropDown, regions_.window})
            if (region) gdi::deleteObject(region);
        gdi::destroyWindow(window_);
    }
    ButtonWindow(const ButtonWindow&) = delete;
    ButtonWindow& operator=(const ButtonWindow&) = delete;
    operator ZuHWND() const { return window_; }
    QRegion shape() const { return gdi::windowRegion(window_); }

  private:
    ZuHWND window_;
    PanelButtonRegions regions_{0, 0, 0};
};

void shift(ZuRECT& rect, int dx, int dy) {
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

} // namespace

ZuPanelView::ZuPanelView() = default;

ZuPanelView::~ZuPanelView() {
    releaseSurface();
}

int32_t ZuPanelView::backColour() {
    return static_cast<int32_t>(panelBack);
}

QRgb ZuPanelView::focusFrameColour() {
    return focusFrame;
}

void ZuPanelView::releaseSurface() {
    if (surfaceDc_) gdi::deleteDC(surfaceDc_);
    if (surfaceWindow_) gdi::destroyWindow(surfaceWindow_);
    surfaceDc_ = 0;
    surfaceWindow_ = 0;
    surface_ = QImage();
}

PanelButtonRecord ZuPanelView::baseRecord() const {
    // In logical pixels: the faces are drawn on images that carry the screen's ratio.
    PanelButtonRecord r{};
    r.twipsPerPixelX = r.twipsPerPixelY = twipsPerInch / logicalDpi;
    r.style = 1;
    r.appearance = 2; // shaped: outline and fill drawn by the engine
    r.pictureAlignment = 1;
    r.backStyle = 0; // the panel's picture under the rounded corners
    r.enabled = 1;
    r.margin = static_cast<uint8_t>(captionMargin);
    r.fontHeight = fontHeight;
    r.fontWeight = 400;
    r.fontName = fontName_.constData();
    r.backColor = static_cast<int32_t>(panelBack);
    r.foreColor = static_cast<int32_t>(captionColour);
    r.fillColor = static_cast<int32_t>(buttonFill);
    r.activeBorderColor = static_cast<int32_t>(buttonHot);
    r.inactiveBorderColor = static_cast<int32_t>(buttonBorder);
    r.pictureMaskColor = static_cast<int32_t>(gdi::rgb(255, 0, 255));
    r.arrowColor = static_cast<int32_t>(arrowColour);
    r.lightenAmount = 25; // captions at rest a shade lighter than under the pointer
    r.shape = 1;
    r.roundX = r.roundY = 6;
    r.dropDownWidth = static_cast<uint8_t>(dropDown);
    r.dropDownMargin = 0;
    return r;
}

void ZuPanelView::layout(const ZuPanel& panel, qreal ratio) {
    ratio_ = ratio > 0 && std::isfinite(ratio) ? ratio : 1;
    fontName_ = QByteArrayLiteral("DejaVu Sans");
    buttons_.clear();

    // Measured in logical pixels, so that the row lays out alike at every scale.
    QImage scratch(1, 1, QImage::Format_RGB32);
    ImageDc measure(&scratch);
    gripRight_ = padding + gripWidth;
    int x = padding + gripWidth + padding;
    int height = minHeight;
    const PanelButtonRecord base = baseRecord();
    const ZuPanelButtons& collection = panel.Buttons();
    for (int16_t b = 1; b <= collection.Count(); ++b) {
        const ZuPanelButton& source = collection.Item(b);
        if (!source.Visible()) continue;
        Button button;
        button.number = b;
        button.caption = source.Caption().trimmed().toUtf8(); // blanks around a caption only widen it
        // Each button's record is the panel's template, copied as the engine copies records; the screen
        // scale is the button's own.
        button.record.twipsPerPixelX = button.record.twipsPerPixelY = base.twipsPerPixelX;
        CopyButtonObject(&button.record, &base);
        button.record.caption = nullptr; // set at each use: the vector may still move the text
        button.record.enabled = source.Enabled() && panel.isEnabled() ? 1 : 0;
        if (source.hasMenu() && (panel.options() & 4)) button.record.style = 2;
        PanelButtonRecord measured = button.record;
        measured.caption = button.caption.constData();
        ZuSIZEF size{0, 0};
        ZuPanelButton_Resize(0, measure, &measured, &size, &button.pictureRect, &button.captionRect, 0);
        button.width = static_cast<int>(std::lround(size.width / measured.twipsPerPixelX)) + 2 * sidePadding;
        button.naturalHeight = static_cast<int>(std::lround(size.height / measured.twipsPerPixelY));
        shift(button.captionRect, sidePadding, 0);
        shift(button.pictureRect, sidePadding, 0);
        button.x = x;
        height = std::max(height, button.naturalHeight);
        x += button.width + gap;
        buttons_.push_back(std::move(button));
    }
    buttonHeight_ = height;
    for (Button& button : buttons_) {
        // One height for the row; captions stay centred in the taller buttons.
        const int dy = (buttonHeight_ - button.naturalHeight) / 2;
        shift(button.captionRect, 0, dy);
        shift(button.pictureRect, 0, dy);
        ButtonWindow window(0, 0, 0, button.width, buttonHeight_, button.record);
        button.shape = window.shape();
    }
    natural_ = QSize(buttons_.empty() ? x : x - gap + padding, height + 2 * padding);
    valid_ = true;
}

int ZuPanelView::top(int panelHeight) const {
    return std::max(padding, (panelHeight - buttonHeight_) / 2);
}

QRect ZuPanelView::buttonRect(int b, int panelHeight) const {
    for (const Button& button : buttons_)
        if (button.number == b) return QRect(button.x, top(panelHeight), button.width, buttonHeight_);
    return {};
}

int ZuPanelView::buttonAt(const QPoint& point, int panelHeight) const {
    const int y = top(panelHeight);
    for (const Button& button : buttons_)
        if (button.shape.contains(point - QPoint(button.x, y))) return button.number;
    return 0;
}

QImage ZuPanelView::render(const ZuPanel& panel, QSize size, const std::vector<ZuPanelButtonLook>& looks) {
    // Everything is drawn in logical pixels on images at the screen's ratio, so that at 200 % the engine's
    // arrows, edges and pictures keep their size and its lines and captions come out at the screen's
    // resolution.
    const QSize logical(std::max(1, size.width()), std::max(1, size.height()));
    if (surface_.isNull() || surfaceSize_ != logical || surface_.devicePixelRatio() != ratio_) {
        releaseSurface();
        surface_ = imageAtRatio(logical, ratio_);
        surfaceSize_ = logical;
        surfaceDc_ = gdi::createImageDC(&surface_);
        surfaceWindow_ = gdi::createWindow(0, 0, 0, logical.width(), logical.height());
    }
    const ZuRECT grip{padding, padding, gripRight_, logical.height() - padding};
    const QByteArray caption = panel.panelCaption().toUtf8();
    ZuPanel_Paint(surfaceWindow_, surfaceDc_, caption.constData(), static_cast<int32_t>(panelBack),
                  static_cast<int32_t>(panelGrip), static_cast<int32_t>(captionColour), 3, 0, 0, 0, 0, 0, 0,
                  1, 0, 0, 2, &grip, 0, 1);

    const int y = top(logical.height());
    for (Button& button : buttons_) {
        const ZuPanelButtonLook look =
            button.number >= 1 && static_cast<size_t>(button.number) <= looks.size()
                ? looks[static_cast<size_t>(button.number - 1)]
                : ZuPanelButtonLook{};
        PanelButtonRecord record = button.record;
        record.caption = button.caption.constData();
        const int w = button.width, h = buttonHeight_;
        ButtonWindow window(surfaceWindow_, button.x, y, w, h, record);
        QImage face = imageAtRatio(QSize(w, h), ratio_);
        {
            ImageDc dc(&face);
            gdi::setBkColor(dc, panelBack);
            const bool pressed = look.pressed || look.menuOpen;
            ZuPanelButton_Paint(window, surfaceWindow_, dc, surfaceDc_, &record, &button.pictureRect,
                                &button.captionRect, pressed, look.menuOpen, 0);
            if (look.hot && record.enabled)
                ZuPanelButton_MouseMove(window, dc, &record, &button.pictureRect, &button.captionRect,
                                        pressed, look.menuOpen, 0, 0, 0);
        }
        QPainter painter(&surface_);
        painter.setClipRegion(window.shape().translated(button.x, y));
        painter.drawImage(button.x, y, face);
        if (look.focused) {
            // Inside the outline, clear of the caption's margin; one logical pixel wide at every scale.
            QPen pen(QColor::fromRgb(focusFrame), 1, Qt::DotLine);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            // Round the body only: the drop-down part of a menu button is drawn apart from it.
            const int body =
                button.record.style == 2 ? w - button.record.dropDownWidth - button.record.dropDownMargin : w;
            const QRectF frame(button.x + focusInset + 0.5, y + focusInset + 0.5, body - 2 * focusInset - 1,
                               h - 2 * focusInset - 1);
            const qreal radius = std::max(0, button.record.roundX / 2 - focusInset / 2);
            painter.drawRoundedRect(frame, radius, radius);
        }
    }
    return surface_.copy();
}

// ---- tool tip
// ------------------------------------------------------------------------------------------------

namespace {

gdi::LogFont toolTipFont() {
    gdi::LogFont font;
    font.height = 15;
    font.faceName = QStringLiteral("DejaVu Sans");
    return font;
}

constexpr int toolTipPadding = 5;

} // namespace

ZuPanelToolTip::ZuPanelToolTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("ZuPanelToolTip"));
}

void ZuPanelToolTip::showText(const QPoint& globalPos, const QString& text) {
    text_ = text;
    QImage scratch(1, 1, QImage::Format_RGB32);
    ImageDc dc(&scratch);
    ZuHGDIOBJ font = gdi::createFontIndirect(toolTipFont());
    ZuHGDIOBJ previous = gdi::selectObject(dc, font);
    QSize extent;
    gdi::getTextExtent(dc, text, &extent);
    gdi::selectObject(dc, previous);
    gdi::deleteObject(font);
    QSize size(extent.width() + 2 * toolTipPadding, extent.height() + toolTipPadding);
    QPoint at = globalPos;
    if (const QScreen* screen = this->screen()) {
        // Kept on the screen: moved left at the right edge, above the pointer at the bottom edge.
        const QRect area = screen->availableGeometry();
        if (at.x() + size.width() > area.right()) at.setX(std::max(area.left(), area.right() - size.width()));
        if (at.y() + size.height() > area.bottom()) at.setY(at.y() - size.height() - 24);
    }
    setGeometry(QRect(at, size));
    show();
    update();
}

void ZuPanelToolTip::paintEvent(QPaintEvent*) {
    // Drawn in logical pixels at the screen's ratio, as the panel is: the frame keeps its width at 200 %.
    QImage image = imageAtRatio(size(), devicePixelRatioF());
    {
        ImageDc dc(&image);
        ZuHWND window = gdi::createWindow(0, 0, 0, width(), height());
        DrawToolTip(window, dc);
        ZuHGDIOBJ font = gdi::createFontIndirect(toolTipFont());
        ZuHGDIOBJ previous = gdi::selectObject(dc, font);
        gdi::setTextColor(dc, gdi::getSysColor(gdi::COLOR_INFOTEXT));
        gdi::setBkMode(dc, gdi::TRANSPARENT);
        gdi::drawText(dc, text_, ZuRECT{toolTipPadding, 0, width() - 1, height()},
                      gdi::DT_LEFT | gdi::DT_SINGLELINE | gdi::DT_VCENTER);
        gdi::selectObject(dc, previous);
        gdi::deleteObject(font);
        gdi::destroyWindow(window);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}
