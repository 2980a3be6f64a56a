#include "core/plot/plot_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kx::core {

double AxisPositionX(const PlotFrame& frame, float x) {
    if (frame.plotLogX) return std::log(static_cast<double>(x) / frame.xMin) * frame.lx;
    return (static_cast<double>(x) - frame.xMin) * frame.kx;
}

double AxisPositionY(const PlotFrame& frame, float y) {
    if (frame.plotLogY) return std::log(static_cast<double>(y) / frame.yMin) * frame.ly;
    return (static_cast<double>(y) - frame.yMin) * frame.ky;
}

DrawingPoint MapPoint(const PlotFrame& frame, float x, float y) {
    return {AxisPositionX(frame, x), -AxisPositionY(frame, y)};
}

bool InYRange(const PlotFrame& frame, float y) {
    return frame.yMin <= y && y <= frame.yMax;
}

bool InXRange(const PlotFrame& frame, float x) {
    return frame.xMin <= x && x <= frame.xMax && frame.xFrom <= x && x <= frame.xTo;
}

bool InPlotWindow(const PlotFrame& frame, float x, float y) {
    return InXRange(frame, x) && InYRange(frame, y);
}

float AsFloat(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

}  // namespace kx::core
