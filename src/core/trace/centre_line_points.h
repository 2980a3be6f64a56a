#pragma once

#include <vector>

#include "core/trace/rgb_image.h"

// Choosing the points of a traced centre line that a data line keeps.
namespace kx::core {

struct ChosenPoints {
    std::vector<PicturePoint> points;
    double largestDeviation = 0;  // of their polyline from the centre line
};

// `count` points of the centre line (2 or more), both ends included: while
// the polyline through them strays more than half a pixel from the centre
// line, the next point goes where it strays most, so points gather where the
// curve bends; once it keeps within half a pixel, the longest spans are
// halved, so that no stretch of the curve goes without points. A line of
// fewer points than `count` is returned whole.
ChosenPoints ChooseCentreLinePoints(const std::vector<PicturePoint>& line, int count);

}  // namespace kx::core
