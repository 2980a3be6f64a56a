#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/digitizer/axis_calibration.h"
#include "core/digitizer/point_placement.h"

// The checks that decide whether a calibration is usable: the typed axis
// values (filled, ascending, storable, positive on a logarithmic axis), the
// four calibration points (placed by a click, not only ticked), and the
// outcomes of the confirmation button, the silent re-check after every edit
// and the readiness tests of the panel's hover checks. The panel only turns
// an outcome into its message and the state of its controls.
namespace kx::core {

// How far the panel has come in setting up the calibration: the point boxes
// that are on and whether the hover checks found the frame ready. The panel
// holds it beside the calibration; the checks below read and set it.
struct SetupState {
    int pointBoxCount = 0;
    // All four points settled and both value pairs ascending; once set it
    // stays until a failed confirmation or a reset clears it.
    bool frameReady = false;
};

// The texts of the four value boxes as typed, indexed by their point:
// kPickXmin .. kPickYmax (index 0 unused).
using AxisValueTexts = std::array<std::string, 5>;

// None of the four texts is empty once trimmed.
bool ValuesFilled(const AxisValueTexts& texts);
// Xmax > Xmin, and Ymax > Ymin, by the values of the texts.
bool XAscending(const AxisValueTexts& texts);
bool YAscending(const AxisValueTexts& texts);
// Every value fits a 32-bit float and is written in the characters of a
// value: one that does not ("1E39", "4.5V") cannot be stored, and a
// conversion with the value stored before would be wrong.
bool ValuesStorable(const AxisValueTexts& texts);
// The first value (Xmin, Xmax, Ymin, Ymax) that is 0 or below on a
// logarithmic axis; kPickNone when there is none.
PickMode FirstNonPositiveLogValue(const AxisCalibration& cal, const AxisValueTexts& texts);
// All four points placed by clicks. A ticked point box is not enough: a
// refused click leaves its box ticked and its position 0.
bool PointsPlaced(const AxisCalibration& cal);
// Four point boxes on and all four points placed.
bool PointsSettled(const AxisCalibration& cal, int pointBoxCount);

// The check of one value box as it is typed.
enum class ValueTextCheck {
    kStorable,          // stored when its point box is on
    kNotStorable,       // "不適切な文字": beyond a 32-bit float
    kNotPositiveOnLog,  // "対数座標には不適切": the stored value stays
};
ValueTextCheck CheckAxisValueText(std::string_view text, bool logAxis);

// What a confirmation or a re-check found, in the order the confirmation
// tests it.
enum class CalibrationOutcome {
    kUsable,
    kLogValueNotPositive,  // "対数座標には不適切"
    kNotSettled,           // "X / Y の Max / Min が未確定"
    kValuesMissing,        // "Min,Max の数値が未確定"
    kNotStorable,          // "不適切な文字"
    kXNotAscending,        // "Xmax <= Xmin "
    kYNotAscending,        // "Ymax <= Ymin "
};

// "基本座標の確定": sets calibrationConfirmed, calibrationInvalid and the
// setup's pointBoxCount and frameReady as the button does and, when usable,
// stores the four values. A missing value leaves calibrationConfirmed as it
// was set by the check and marks the calibration invalid only.
CalibrationOutcome ConfirmCalibration(AxisCalibration& cal, SetupState& setup,
                                      const AxisValueTexts& texts, int pointBoxCount);

// The silent re-check after every value edit, axis-type change and canvas
// press: the same flags, the same storing. Of its faults only a value that
// is not positive on a logarithmic axis is reported (kLogValueNotPositive);
// the others come back so that the caller knows, but show nothing.
CalibrationOutcome RevalidateCalibration(AxisCalibration& cal, SetupState& setup,
                                         const AxisValueTexts& texts, int pointBoxCount);

// The readiness of the "基本座標" and "設定確認" hover checks: the points
// settled and both value pairs ascending. Once set, frameReady stays until a
// failed confirmation or a reset clears it.
bool TestFrameReady(const AxisCalibration& cal, SetupState& setup, const AxisValueTexts& texts,
                    int pointBoxCount);

// The values of the four boxes are all there and ascending: the sum of six
// of the "基本座標" hover check.
bool SetupComplete(const AxisValueTexts& texts);

// The hint over "基本座標の確定": the points settled, the four values typed
// and the stored values ascending.
bool ReadyToAnnounce(const AxisCalibration& cal, const AxisValueTexts& texts, int pointBoxCount);

}  // namespace kx::core
