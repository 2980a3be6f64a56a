#include "ui/window/twips.h"

#include <cmath>

namespace kx::ui {

int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

double PixelsToTwips(double pixels) {
    return pixels * kTwipsPerPixel;
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

}  // namespace kx::ui
