// Fixtures for the engine tests: image-backed device contexts, records, pictures and a leak check.
#pragma once

#include "ColorFunction.h"
#include "PanelPainter.h"
#include "ZuComponents.h"
#include "platform/ZuGdi.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <gtest/gtest.h>

#include <ostream>

// Rectangles compare and print in the tests' messages.
inline bool operator==(const ZuRECT& a, const ZuRECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const ZuRECT& r) {
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace zutest {

using zu::gdi::COLORREF;
using zu::gdi::rgb;

// An image with a device context over it, both gone at scope end.
struct Surface {
    QImage image;
    ZuHDC dc = 0;
    Surface(int width, int height, COLORREF fill = rgb(255, 255, 255))
        : image(width, height, QImage::Format_RGB32) {
        image.fill(QColor(zu::gdi::redOf(fill), zu::gdi::greenOf(fill), zu::gdi::blueOf(fill)));
        dc = zu::gdi::createImageDC(&image);
    }
    ~Surface() { zu::gdi::deleteDC(dc); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    COLORREF at(int x, int y) const {
        QRgb p = image.pixel(x, y);
        return rgb(qRed(p), qGreen(p), qBlue(p));
    }
    int count(COLORREF colour, QRect area = {}) const {
        if (area.isNull()) area = image.rect();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += at(x, y) == colour;
        return n;
    }
    // Bounding box of the pixels of one colour; null when there are none.
    QRect box(COLORREF colour) const {
        QRect r;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (at(x, y) == colour) r |= QRect(x, y, 1, 1);
        return r;
    }
};

// A window of the layer, destroyed at scope end.
struct Window {
    ZuHWND handle;
    Window(ZuHWND parent, int x, int y, int width, int height)
        : handle(zu::gdi::createWindow(parent, x, y, width, height)) {}
    ~Window() { zu::gdi::destroyWindow(handle); }
};

// A bitmap made from an image, deleted at scope end.
struct Picture {
    ZuHBITMAP handle;
    explicit Picture(const QImage& image) : handle(zu::gdi::createBitmapFromImage(image)) {}
    ~Picture() { zu::gdi::deleteObject(handle); }
};

// HIMETRIC extent that the engine turns into exactly `pixels` at 15 twips per pixel.
inline float himetricFor(int pixels) {
    return static_cast<float>((pixels + 0.5) * 1.76190476190476 * 15.0);
}

inline PanelButtonRecord makeRecord() {
    PanelButtonRecord r{};
    r.twipsPerPixelX = 15.0f;
    r.twipsPerPixelY = 15.0f;
    r.style = 1;
    r.appearance = 1;
    r.backStyle = 1;
    r.caption = "";
    r.enabled = 1;
    r.margin = 3;
    r.fontHeight = 8.0f;
    r.fontWeight = 400;
    r.fontName = "DejaVu Sans";
    r.backColor = static_cast<int32_t>(rgb(200, 200, 200));
    r.foreColor = static_cast<int32_t>(rgb(0, 0, 128));
    r.fillColor = static_cast<int32_t>(rgb(180, 220, 180));
    r.activeBorderColor = static_cast<int32_t>(rgb(255, 0, 0));
    r.inactiveBorderColor = static_cast<int32_t>(rgb(0, 0, 255));
    r.pictureMaskColor = static_cast<int32_t>(rgb(255, 0, 255));
    r.arrowColor = static_cast<int32_t>(rgb(0, 128, 0));
    r.shadowAmount = 40;
    r.lightenAmount = 60;
    r.darkenAmount = 50;
    r.dropDownWidth = 14;
    r.dropDownMargin = 1;
    r.separatorLength = 8;
    r.separatorThickness = 24;
    r.separatorColor = static_cast<int32_t>(rgb(90, 90, 90));
    r.separatorWidth = 1;
    return r;
}

// A palette whose 3-D colours are all different, so that each edge ring can be told apart.
inline QPalette distinctPalette() {
    QPalette p = QGuiApplication::palette();
    p.setColor(QPalette::Light, QColor(250, 250, 250));    // highlight
    p.setColor(QPalette::Midlight, QColor(220, 220, 220)); // light
    p.setColor(QPalette::Dark, QColor(130, 130, 130));     // shadow
    p.setColor(QPalette::Shadow, QColor(40, 40, 40));      // dark shadow
    p.setColor(QPalette::Button, QColor(210, 205, 200));   // button face
    return p;
}

// Every test that draws checks that the layer's live objects are back where they were.
class EngineTest : public testing::Test {
  protected:
    void SetUp() override {
        savedPalette_ = QGuiApplication::palette();
        QGuiApplication::setPalette(distinctPalette());
        liveBefore_ = zu::gdi::liveObjectCount();
    }
    void TearDown() override {
        EXPECT_EQ(zu::gdi::liveObjectCount(), liveBefore_)
            << "a pen, brush, font, bitmap or region outlived its call";
        QGuiApplication::setPalette(savedPalette_);
    }
    static COLORREF sys(int index) { return zu::gdi::getSysColor(index); }

  private:
    int liveBefore_ = 0;
    QPalette savedPalette_;
};

} // namespace zutest
