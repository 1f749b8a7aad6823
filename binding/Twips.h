#pragma once
// Geometry of the windows is given in twips (1/1440 inch); this is the one place that turns it
// into pixels, by the logical DPI of the screen the widget is on. Device scaling (a scale factor
// of 2) is applied by Qt on top of it, so a strip grows with the scale.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtMath>

inline constexpr double twipsPerInch = 1440.0;

inline int twipsToPixels(double twips, const QWidget* widget = nullptr) {
    double dpi = 96.0;
    if (widget != nullptr)
        dpi = widget->logicalDpiY();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    return qRound(twips * dpi / twipsPerInch);
}
