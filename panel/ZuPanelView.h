// The panel's picture: lays the buttons out in a row and paints the panel and its buttons through
// ZuComponents' exported panel functions, on device contexts of the library's platform layer.
#pragma once

#include "ZuComponents.h"

#include <QByteArray>
#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

class ZuPanel;

// How one button is to be drawn.
struct ZuPanelButtonLook {
    bool hot = false;      // pointer over it, or chosen by the keyboard
    bool pressed = false;  // held down, or its command is running
    bool menuOpen = false; // its drop-down menu is showing
    bool focused = false;  // chosen by the keyboard while the panel has the focus: framed
};

class ZuPanelView {
  public:
    ZuPanelView();
    ~ZuPanelView();
    ZuPanelView(const ZuPanelView&) = delete;
    ZuPanelView& operator=(const ZuPanelView&) = delete;

    // Measures the visible buttons for the given device-pixel ratio; geometry is in widget (logical) pixels
    // and the same at every ratio.
    void layout(const ZuPanel& panel, qreal ratio);
    bool laidOutFor(qreal ratio) const { return valid_ && ratio == ratio_; }
    void invalidate() { valid_ = false; }

    QSize naturalSize() const { return natural_; }
    // Button b's rectangle in a panel of the given height; empty when it is hidden or unknown.
    QRect buttonRect(int b, int panelHeight) const;
    // The button whose shape holds the point, 0 for none.
    int buttonAt(const QPoint& point, int panelHeight) const;

    // The whole panel at its size in logical pixels, drawn at the layout's ratio.
    QImage render(const ZuPanel& panel, QSize size, const std::vector<ZuPanelButtonLook>& looks);

    // Colours of the panel (OLE colours).
    static int32_t backColour();
    // The dotted frame round the button chosen by the keyboard.
    static QRgb focusFrameColour();

  private:
    struct Button {
        int number = 0; // 1-based position in the panel's collection
        QByteArray caption;
        PanelButtonRecord record{};
        ZuRECT pictureRect{0, 0, 0, 0};
        ZuRECT captionRect{0, 0, 0, 0};
        int x = 0; // from the panel's left edge
        int width = 0;
        int naturalHeight = 0; // as measured
        QRegion shape;
    };

    void releaseSurface();
    int top(int panelHeight) const; // from the panel's top edge to the buttons' top
    PanelButtonRecord baseRecord() const;

    // Geometry is in logical pixels; only the images painted carry the ratio.
    bool valid_ = false;
    qreal ratio_ = 1;
    QSize natural_;
    int buttonHeight_ = 0;
    int gripRight_ = 0;
    std::vector<Button> buttons_;
    QByteArray fontName_;

    QImage surface_;
    QSize surfaceSize_; // logical
    ZuHDC surfaceDc_ = 0;
    ZuHWND surfaceWindow_ = 0;
};

// A tool tip drawn by the library's tool-tip frame.
class ZuPanelToolTip : public QWidget {
  public:
    explicit ZuPanelToolTip(QWidget* parent);
    void showText(const QPoint& globalPos, const QString& text);
    QString text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};
