#include <gtest/gtest.h>

#include "core/digitizer/canvas_mode.h"

namespace kx::core {
namespace {

using M = CanvasMode;

// What a press does, by what the panel has armed and whether capture runs.
TEST(CanvasMode, OneModeForEveryStateOfThePicksAndTheCapture) {
    struct Row {
        const char* name;
        bool xArmed, yArmed;
        float xMidPos, yMidPos;
        MidPick midPick;
        PickMode pickMode;
        bool capturing;
        M mode;
        bool captures, loupe;
        bool tracing = false, confirmed = false;
    };
    const Row rows[] = {
        {"nothing armed", false, false, 0, 0, MidPick::kNone, kPickNone, false, M::kIdle, false,
         false},
        {"capture alone", false, false, 0, 0, MidPick::kNone, kPickNone, true, M::kCapturing, true,
         true},
        {"a point box on", false, false, 0, 0, MidPick::kNone, kPickXmax, false, M::kPlacingPoint,
         false, true},
        {"a point box on while capturing", false, false, 0, 0, MidPick::kNone, kPickYmin, true,
         M::kPlacingPointCapturing, true, true},
        {"X mid armed", true, false, 0, 0, MidPick::kX, kPickNone, false, M::kPlacingMidPoint,
         false, true},
        {"its press is not captured", true, false, 0, 0, MidPick::kX, kPickNone, true,
         M::kPlacingMidPoint, false, true},
        {"Y mid armed, X placed", true, true, 2000, 0, MidPick::kY, kPickNone, true,
         M::kPlacingMidPoint, false, true},
        {"X mid placed", true, false, 2000, 0, MidPick::kX, kPickNone, false, M::kMidPointArmed,
         false, true},
        {"X mid placed while capturing", true, false, 2000, 0, MidPick::kX, kPickNone, true,
         M::kMidPointArmedCapturing, true, true},
        // The pick of a calibration point waits while a mid point is armed.
        {"a point box on under a mid point", false, true, 0, 3000, MidPick::kY, kPickXmin, false,
         M::kMidPointArmed, false, true},
        // The other mid point switched off: nothing left to place.
        {"Y armed, the pick gone with X", false, true, 0, 0, MidPick::kNone, kPickNone, true,
         M::kMidPointArmedCapturing, true, true},
        // A pick of an axis that is not armed places nothing.
        {"pick of a disarmed axis", false, true, 0, 3000, MidPick::kX, kPickNone, false,
         M::kMidPointArmed, false, true},
        // Tracing: on a confirmed calibration only, and after every pick.
        {"tracing", false, false, 0, 0, MidPick::kNone, kPickNone, false, M::kTracing, false, true,
         true, true},
        {"tracing while capturing", false, false, 0, 0, MidPick::kNone, kPickNone, true,
         M::kTracing, false, true, true, true},
        {"tracing before the confirmation", false, false, 0, 0, MidPick::kNone, kPickNone, true,
         M::kCapturing, true, true, true, false},
        {"a point box on while tracing", false, false, 0, 0, MidPick::kNone, kPickXmax, false,
         M::kPlacingPoint, false, true, true, true},
        {"a mid point armed while tracing", true, false, 0, 0, MidPick::kX, kPickNone, true,
         M::kPlacingMidPoint, false, true, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AxisCalibration cal;
        cal.xMidArmed = row.xArmed;
        cal.yMidArmed = row.yArmed;
        cal.xMidPos = row.xMidPos;
        cal.yMidPos = row.yMidPos;
        cal.calibrationConfirmed = row.confirmed;
        cal.calibrationInvalid = !row.confirmed;
        const M mode = CanvasModeOf(cal, {row.pickMode, row.midPick, row.tracing}, row.capturing);
        EXPECT_EQ(mode, row.mode);
        EXPECT_EQ(PressCaptures(mode), row.captures);
        EXPECT_EQ(LoupeFollows(mode), row.loupe);
        EXPECT_EQ(MidPointPress(mode), row.xArmed || row.yArmed);
    }
}

}  // namespace
}  // namespace kx::core
