#pragma once
// The background of the calculation windows: 256 horizontal bands over the window's height in
// RGB(0, 250, 355 − i), a component above 255 counting as 255, so the blue part stays 255 over
// the upper 100 bands and falls to 100 at the bottom.
#include <QBrush>
#include <QColor>

class QWidget;

// The colour of band i (0..255).
QColor ditherBand(int i);
// The bands as a brush for a window height pixels high (in its own coordinates).
QBrush ditherBrush(int height);
// Paints the window's background with the bands from now on, following its height.
void Dither(QWidget* window);
