#pragma once

#include <QPoint>
#include <QRect>

// Positions and sizes of the system are given in twips (1/1440 inch, 15 per
// screen pixel at 96 dots per inch); these are the only conversions.
namespace kx::ui {

inline constexpr int kTwipsPerPixel = 15;

int TwipsToPixels(double twips);
double PixelsToTwips(double pixels);
QRect TwipsRect(int left, int top, int width, int height);

}  // namespace kx::ui
