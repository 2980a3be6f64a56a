#include "core/digitizer/canvas_zoom.h"

#include <algorithm>
#include <cmath>

namespace kx::core {
namespace {

// A zoom this close to a step counts as standing on it.
constexpr double kOnStep = 1e-9;

}  // namespace

double FittedZoom(int pictureWidth, int pictureHeight, int viewWidth, int viewHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || viewWidth <= 0 || viewHeight <= 0) return 1.0;
    return std::min(static_cast<double>(viewWidth) / pictureWidth,
                    static_cast<double>(viewHeight) / pictureHeight);
}

double SmallestZoom(double fitted) {
    return std::clamp(fitted, 1.0 / 1024, 1.0);
}

double SteppedZoom(double zoom, int steps, double fitted) {
    const double smallest = SmallestZoom(fitted);
    // The steps are 2^(k/2): k counts half powers of two.
    const double k = 2.0 * std::log2(std::max(zoom, smallest));
    double next = std::round(k);
    if (std::abs(k - next) > kOnStep) next = steps > 0 ? std::floor(k) : std::ceil(k);
    next += steps;
    return std::clamp(std::exp2(next / 2.0), smallest, kLargestZoom);
}

double ScrollKeepingAnchor(double scroll, double anchor, double from, double to) {
    return (scroll + anchor) * (to / from) - anchor;
}

}  // namespace kx::core
