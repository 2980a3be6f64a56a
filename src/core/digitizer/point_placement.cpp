#include "core/digitizer/point_placement.h"

#include <cassert>

#include "core/data/numeric_text.h"

namespace kx::core {
namespace {

// The Xmax press marks the origin's y as set on its own; the origin counts as
// placed only when both of its coordinates are.
bool OriginPlaced(const AxisCalibration& cal) {
    return cal.originXSet && cal.originYSet;
}

float Whole(double v) {
    return static_cast<float>(RoundHalfEven(v));
}

PlacementFault Guard(const AxisCalibration& cal, PickMode mode, float x, float y) {
    switch (mode) {
        case kPickXmin:
            if (cal.X1MAX != 0 && cal.X1MAX <= x) return PlacementFault::kXmaxNotRight;
            break;
        case kPickYmin:
            if (cal.Y1MAX != 0 && cal.Y1MAX >= y) return PlacementFault::kYmaxNotAbove;
            break;
        case kPickXmax:
            if (cal.X1MIN != 0 && cal.X1MIN >= x) return PlacementFault::kXminNotLeft;
            if (cal.Y1MAX != 0 && cal.Y1MAX >= y) return PlacementFault::kYmaxNotAbove;
            break;
        case kPickYmax:
            if (cal.Y1MIN != 0 && cal.Y1MIN <= y) return PlacementFault::kYminNotBelow;
            if (cal.X1MAX != 0 && cal.X1MAX <= x) return PlacementFault::kXmaxNotRight;
            break;
        case kPickNone: break;
    }
    return PlacementFault::kNone;
}

// The origin: a coordinate already placed (shared with an axis line) stays.
void PlaceOrigin(AxisCalibration& cal, float px, float py, Placement& result) {
    const float ox = cal.X1MIN != 0 ? cal.X1MIN : px;
    const float oy = cal.Y1MIN != 0 ? cal.Y1MIN : py;
    // The press passed its own guard, but the origin it makes must also stay
    // left of the Xmax point and below the Ymax point, or the axes would run
    // backwards.
    if (cal.X1MAX != 0 && cal.X1MAX <= ox) {
        result.fault = PlacementFault::kXmaxNotRight;
        return;
    }
    if (cal.Y1MAX != 0 && cal.Y1MAX >= oy) {
        result.fault = PlacementFault::kYmaxNotAbove;
        return;
    }
    cal.X1MIN = ox;
    cal.Y1MIN = oy;
    cal.originXSet = true;
    cal.originYSet = true;
    result.turnOnXminBox = true;
    result.turnOnYminBox = true;
    result.markX = ox;
    result.markY = oy;
    result.drawXAxis = cal.xMaxSet;
    result.drawYAxis = cal.yMaxSet;
}

// The Xmax point lies on the X-axis line, at the origin's y once it has one.
void PlaceXmax(AxisCalibration& cal, float px, float py, Placement& result) {
    cal.X1MAX = px;
    if (cal.Y1MIN == 0) cal.Y1MIN = py;
    cal.xMaxSet = true;
    cal.originYSet = true;
    if (cal.yMaxSet) {
        // With the Ymax point known the origin is settled: its x from the
        // Y-axis line, its y from the X-axis line.
        cal.originXSet = true;
        result.turnOnXminBox = true;
        result.turnOnYminBox = true;
        result.drawYAxis = true;
    }
    result.markX = cal.X1MAX;
    result.markY = cal.Y1MIN;
    if (cal.X1MIN != 0) {
        result.turnOnXminBox = true;
        result.drawXAxis = true;
    }
}

// The Ymax point lies on the Y-axis line, at the origin's x once it has one.
void PlaceYmax(AxisCalibration& cal, float px, float py, Placement& result) {
    cal.Y1MAX = py;
    if (cal.X1MIN == 0) cal.X1MIN = px;
    cal.yMaxSet = true;
    if (cal.Y1MIN != 0) {
        result.turnOnYminBox = true;
        result.drawYAxis = true;
    }
    if (cal.xMaxSet) {
        cal.originXSet = true;
        cal.originYSet = true;
        result.turnOnXminBox = true;
        result.turnOnYminBox = true;
        result.drawXAxis = true;
    }
    result.markX = cal.X1MIN;
    result.markY = cal.Y1MAX;
}

}  // namespace

Placement PlaceCalibrationPoint(AxisCalibration& cal, PickMode mode, double x, double y) {
    assert(mode != kPickNone);
    Placement result;
    const float px = Whole(x);
    const float py = Whole(y);
    result.fault = Guard(cal, mode, px, py);
    if (result.fault != PlacementFault::kNone) return result;
    switch (mode) {
        case kPickXmin:
        case kPickYmin: PlaceOrigin(cal, px, py, result); break;
        case kPickXmax: PlaceXmax(cal, px, py, result); break;
        case kPickYmax: PlaceYmax(cal, px, py, result); break;
        case kPickNone: break;
    }
    return result;
}

void ClearCalibrationPoint(AxisCalibration& cal, PickMode box) {
    switch (box) {
        case kPickXmin:
        case kPickYmin:
            cal.originXSet = false;
            cal.originYSet = false;
            if (!cal.yMaxSet) cal.X1MIN = 0;
            if (!cal.xMaxSet) cal.Y1MIN = 0;
            break;
        case kPickXmax:
            cal.X1MAX = 0;
            cal.xMaxSet = false;
            if (!OriginPlaced(cal)) cal.Y1MIN = 0;
            break;
        case kPickYmax:
            cal.Y1MAX = 0;
            cal.yMaxSet = false;
            if (!OriginPlaced(cal)) cal.X1MIN = 0;
            break;
        case kPickNone: break;
    }
}

void ClearCalibrationPositions(AxisCalibration& cal) {
    cal.X1MIN = cal.X1MAX = cal.Y1MIN = cal.Y1MAX = 0;
    cal.originXSet = cal.xMaxSet = cal.originYSet = cal.yMaxSet = false;
}

}  // namespace kx::core
