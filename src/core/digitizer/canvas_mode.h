#pragma once

#include <cstdint>

#include "core/digitizer/axis_calibration.h"
#include "core/digitizer/point_placement.h"

// What a press, a move and a key do on the canvas, as one value computed from
// the calibration and the capture state. The canvas and the panel dispatch on
// it; a new interaction is a new value.
namespace kx::core {

// The mid point the next press places: the axis whose box was turned on last.
enum class MidPick : int8_t { kNone, kX, kY };

// What the panel has armed for the next presses.
struct CanvasPicks {
    PickMode pickMode = kPickNone;  // a point box turned on, its point not yet placed
    MidPick midPick = MidPick::kNone;
    bool tracing = false;  // "自動採取" is on: a press on a curve traces it
};

enum class CanvasMode : int8_t {
    // A press samples the values under it (once the calibration is confirmed).
    kIdle,
    // A press places the calibration point the pick names.
    kPlacingPoint,
    // The same while capture runs (a data load from the panel starts it): the
    // press is captured as well.
    kPlacingPointCapturing,
    // A mid-point correction is armed and its point not yet placed: the press
    // places it and is not captured.
    kPlacingMidPoint,
    // A mid-point correction is armed and placed: presses sample; no
    // calibration point is placed until the correction is switched off.
    kMidPointArmed,
    // The same while capture runs: every press is captured.
    kMidPointArmedCapturing,
    // Every press appends its point to the capture line.
    kCapturing,
    // A press traces the curve under it and appends the traced points to the
    // selected line (on a confirmed calibration, capture running or not).
    kTracing,
};

CanvasMode CanvasModeOf(const AxisCalibration& cal, const CanvasPicks& picks, bool capturing);

// The press is captured (appended to the capture line).
bool PressCaptures(CanvasMode mode);
// The press is one of a mid-point correction: the pick of a calibration point
// waits.
bool MidPointPress(CanvasMode mode);
// The pointer is placing or capturing: the loupe follows it.
bool LoupeFollows(CanvasMode mode);

}  // namespace kx::core
