#include "core/digitizer/canvas_mode.h"

namespace kx::core {
namespace {

bool MidPointToPlace(const AxisCalibration& cal, MidPick mid) {
    switch (mid) {
        case MidPick::kX: return cal.xMidArmed && cal.xMidPos == 0;
        case MidPick::kY: return cal.yMidArmed && cal.yMidPos == 0;
        case MidPick::kNone: break;
    }
    return false;
}

}  // namespace

CanvasMode CanvasModeOf(const AxisCalibration& cal, const CanvasPicks& picks, bool capturing) {
    if (cal.xMidArmed || cal.yMidArmed) {
        if (MidPointToPlace(cal, picks.midPick)) return CanvasMode::kPlacingMidPoint;
        return capturing ? CanvasMode::kMidPointArmedCapturing : CanvasMode::kMidPointArmed;
    }
    if (picks.pickMode != kPickNone) {
        return capturing ? CanvasMode::kPlacingPointCapturing : CanvasMode::kPlacingPoint;
    }
    // Tracing converts what it finds as a click would: only where a click
    // is converted.
    if (picks.tracing && cal.calibrationConfirmed && !cal.calibrationInvalid)
        return CanvasMode::kTracing;
    return capturing ? CanvasMode::kCapturing : CanvasMode::kIdle;
}

bool PressCaptures(CanvasMode mode) {
    return mode == CanvasMode::kPlacingPointCapturing ||
           mode == CanvasMode::kMidPointArmedCapturing || mode == CanvasMode::kCapturing;
}

bool MidPointPress(CanvasMode mode) {
    return mode == CanvasMode::kPlacingMidPoint || mode == CanvasMode::kMidPointArmed ||
           mode == CanvasMode::kMidPointArmedCapturing;
}

bool LoupeFollows(CanvasMode mode) {
    return mode != CanvasMode::kIdle;
}

}  // namespace kx::core
