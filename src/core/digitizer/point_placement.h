#pragma once

#include <cstdint>

#include "core/digitizer/axis_calibration.h"

// Placing the four calibration points on the canvas: the guards that keep the
// Xmax point right of the origin and the Ymax point above it, the shared
// coordinates of the origin and the axis lines, and the clearing of a point
// whose check box is turned off.
namespace kx::core {

// Which calibration point a press places (the panel's pick mode).
enum PickMode : int16_t {
    kPickNone = 0,
    kPickXmin = 1,
    kPickXmax = 2,
    kPickYmin = 3,
    kPickYmax = 4
};

// A refused press, named after the relation that failed.
enum class PlacementFault {
    kNone,
    kXmaxNotRight,  // X1MAX placed at or left of the press
    kXminNotLeft,   // X1MIN placed at or right of the press
    kYmaxNotAbove,  // Y1MAX placed at or below the press
    kYminNotBelow,  // Y1MIN placed at or above the press
};

// What the canvas and the panel do after a placing press.
struct Placement {
    PlacementFault fault = PlacementFault::kNone;
    bool turnOnXminBox = false;
    bool turnOnYminBox = false;
    bool drawXAxis = false;
    bool drawYAxis = false;
    float markX = 0;  // the calibration mark of the placed point
    float markY = 0;
};

// Places point `mode` for a press at canvas (x, y). A refused press changes
// nothing. Coordinates are stored as the nearest integers, halves to even.
Placement PlaceCalibrationPoint(AxisCalibration& cal, PickMode mode, double x, double y);

// Clears the positions of a point whose check box is turned off, keeping a
// coordinate that a still-placed point shares: the origin's x stays while the
// Ymax point stands on the Y-axis line, its y while the Xmax point stands on
// the X-axis line.
void ClearCalibrationPoint(AxisCalibration& cal, PickMode box);

// All four positions and their flags back to "not placed".
void ClearCalibrationPositions(AxisCalibration& cal);

}  // namespace kx::core
