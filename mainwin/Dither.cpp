#include "Dither.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <algorithm>

QColor ditherBand(int i) {
    i = std::clamp(i, 0, 255);
    return QColor(0, 250, std::min(355 - i, 255));
}

QBrush ditherBrush(int height) {
    // The band colours are linear in i once the blue part falls below 255, so the bands are a
    // gradient with one corner at band 100.
    QLinearGradient gradient(0, 0, 0, std::max(height, 1));
    gradient.setColorAt(0.0, ditherBand(0));
    gradient.setColorAt(100.0 / 256.0, ditherBand(100));
    gradient.setColorAt(1.0, ditherBand(255));
    return QBrush(gradient);
}

namespace {

// Keeps a dithered window's brush as high as the window.
class DitherFollower : public QObject {
  public:
    using QObject::QObject;

    static void apply(QWidget* window) {
        QPalette palette = window->palette();
        palette.setBrush(QPalette::Window, ditherBrush(window->height()));
        window->setPalette(palette);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) apply(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

void Dither(QWidget* window) {
    if (window == nullptr) return;
    window->setAutoFillBackground(true);
    DitherFollower::apply(window);
    if (!window->property("ditherFollowed").toBool()) {
        window->setProperty("ditherFollowed", true);
        window->installEventFilter(new DitherFollower(window));
    }
}
