#pragma once

#include <optional>

#include "core/digitizer/axis_calibration.h"

// The way back from axis values to the canvas: where on the picture a value
// pair lies under the calibration that CanvasToValue converts with, so that
// fitted curves and typed points can be drawn over the scan.
namespace kx::core {

struct CanvasPoint {
    double x = 0;
    double y = 0;
};

// True when the calibration converts: confirmed and not invalidated since.
bool CalibrationUsable(const AxisCalibration& cal);

// The canvas position whose conversion gives (x, y): linear and logarithmic
// axes, with the mid-point correction exactly where CanvasToValue applies
// it. None where no position gives the value (a logarithm of a value that is
// not positive, equal positions or values at the ends of a segment).
std::optional<CanvasPoint> ValueToCanvas(const AxisCalibration& cal, double x, double y);

}  // namespace kx::core
