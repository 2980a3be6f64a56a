#include "core/digitizer/axis_inverse.h"

#include <cmath>

namespace kx::core {
namespace {

// The position p between p0 (value v0) and p1 (value v1) whose interpolated
// value is v: in the value itself or in its logarithm.
std::optional<double> SegmentPosition(bool logAxis, double v, double p0, double v0, double p1,
                                      double v1) {
    if (p1 == p0) return std::nullopt;
    double share = 0;
    if (logAxis) {
        if (!(v > 0) || !(v0 > 0) || !(v1 > 0) || v1 == v0) return std::nullopt;
        share = std::log(v / v0) / std::log(v1 / v0);
    } else {
        if (v1 == v0) return std::nullopt;
        share = (v - v0) / (v1 - v0);
    }
    const double p = p0 + share * (p1 - p0);
    if (!std::isfinite(p)) return std::nullopt;
    return p;
}

// An axis split at a mid point: the side a position belongs to is chosen by
// the position, as the forward conversion chooses it, so the candidate of
// each side is kept only when it falls on that side.
std::optional<double> SplitPosition(bool logAxis, double v, double mid, double midValue,
                                    double lowEnd, double lowValue, double highEnd,
                                    double highValue, bool highAboveMid) {
    const auto high = SegmentPosition(logAxis, v, mid, midValue, highEnd, highValue);
    const auto low = SegmentPosition(logAxis, v, lowEnd, lowValue, mid, midValue);
    const auto onHighSide = [&](double p) { return highAboveMid ? p > mid : p <= mid; };
    if (high && onHighSide(*high)) return high;
    if (low && !onHighSide(*low)) return low;
    return high ? high : low;
}

}  // namespace

bool CalibrationUsable(const AxisCalibration& cal) {
    return cal.calibrationConfirmed && !cal.calibrationInvalid;
}

std::optional<CanvasPoint> ValueToCanvas(const AxisCalibration& cal, double x, double y) {
    const bool logX = cal.logX;
    const bool logY = cal.logY;

    std::optional<double> px;
    if (cal.xMidActive && cal.xMidPos != 0) {
        // Positions right of the mid point take the Xmax segment.
        px = SplitPosition(logX, x, cal.xMidPos, cal.Xmid, cal.X1MIN, cal.Xmin, cal.X1MAX,
                           cal.Xmax, true);
    } else {
        px = SegmentPosition(logX, x, cal.X1MIN, cal.Xmin, cal.X1MAX, cal.Xmax);
    }

    // Canvas y grows downwards: positions below the mid point (larger y) take
    // the Ymin segment, the mid point itself and above it the Ymax one.
    std::optional<double> py;
    if (cal.yMidActive && cal.yMidPos != 0) {
        py = SplitPosition(logY, y, cal.yMidPos, cal.Ymid, cal.Y1MIN, cal.Ymin, cal.Y1MAX,
                           cal.Ymax, false);
    } else {
        py = SegmentPosition(logY, y, cal.Y1MIN, cal.Ymin, cal.Y1MAX, cal.Ymax);
    }

    if (!px || !py) return std::nullopt;
    return CanvasPoint{*px, *py};
}

}  // namespace kx::core
