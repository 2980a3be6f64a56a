#include "core/digitizer/calibration_checks.h"

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::core {
namespace {

double Value(const AxisValueTexts& texts, PickMode box) {
    return ValueOfText(texts[box]);
}

bool LogAxisOf(const AxisCalibration& cal, PickMode box) {
    return (box == kPickXmin || box == kPickXmax ? cal.logX : cal.logY) != 0;
}

constexpr PickMode kBoxes[] = {kPickXmin, kPickXmax, kPickYmin, kPickYmax};

void StoreValues(AxisCalibration& cal, const AxisValueTexts& texts) {
    cal.Xmin = static_cast<float>(Value(texts, kPickXmin));
    cal.Xmax = static_cast<float>(Value(texts, kPickXmax));
    cal.Ymin = static_cast<float>(Value(texts, kPickYmin));
    cal.Ymax = static_cast<float>(Value(texts, kPickYmax));
}

void Fail(AxisCalibration& cal) {
    cal.calibrationInvalid = true;
    cal.calibrationConfirmed = false;
}

}  // namespace

bool ValuesFilled(const AxisValueTexts& texts) {
    for (PickMode box : kBoxes) {
        if (TrimBlanks(texts[box]).empty()) return false;
    }
    return true;
}

bool XAscending(const AxisValueTexts& texts) {
    return Value(texts, kPickXmax) > Value(texts, kPickXmin);
}

bool YAscending(const AxisValueTexts& texts) {
    return Value(texts, kPickYmax) > Value(texts, kPickYmin);
}

bool ValuesStorable(const AxisValueTexts& texts) {
    for (PickMode box : kBoxes) {
        // A box that shows "不適切な文字" holds no value to confirm, even
        // where a leading number could be read from it.
        if (!FitsSingle(Value(texts, box))) return false;
        if (!texts[box].empty() && !HasOnlyAxisValueChars(texts[box])) return false;
    }
    return true;
}

PickMode FirstNonPositiveLogValue(const AxisCalibration& cal, const AxisValueTexts& texts) {
    for (PickMode box : kBoxes) {
        if (LogAxisOf(cal, box) && Value(texts, box) <= 0) return box;
    }
    return kPickNone;
}

bool PointsPlaced(const AxisCalibration& cal) {
    return cal.originXSet && cal.originYSet && cal.xMaxSet && cal.yMaxSet;
}

bool PointsSettled(const AxisCalibration& cal, int pointBoxCount) {
    return pointBoxCount == 4 && PointsPlaced(cal);
}

ValueTextCheck CheckAxisValueText(std::string_view text, bool logAxis) {
    const double value = ValueOfText(text);
    if (!FitsSingle(value)) return ValueTextCheck::kNotStorable;
    if (logAxis && !(value > 0)) return ValueTextCheck::kNotPositiveOnLog;
    return ValueTextCheck::kStorable;
}

CalibrationOutcome ConfirmCalibration(AxisCalibration& cal, SetupState& setup,
                                      const AxisValueTexts& texts, int pointBoxCount) {
    // The value boxes have shown their own message already.
    if (FirstNonPositiveLogValue(cal, texts) != kPickNone) {
        Fail(cal);
        return CalibrationOutcome::kLogValueNotPositive;
    }
    cal.calibrationConfirmed = true;
    cal.calibrationInvalid = false;
    setup.pointBoxCount = pointBoxCount;
    if (!PointsSettled(cal, pointBoxCount)) {
        setup.frameReady = false;
        Fail(cal);
        return CalibrationOutcome::kNotSettled;
    }
    setup.frameReady = true;
    if (!ValuesFilled(texts)) {
        setup.frameReady = false;
        cal.calibrationInvalid = true;
        return CalibrationOutcome::kValuesMissing;
    }
    if (!ValuesStorable(texts)) {
        setup.frameReady = false;
        Fail(cal);
        return CalibrationOutcome::kNotStorable;
    }
    if (!XAscending(texts)) {
        Fail(cal);
        return CalibrationOutcome::kXNotAscending;
    }
    if (!YAscending(texts)) {
        setup.frameReady = false;
        Fail(cal);
        return CalibrationOutcome::kYNotAscending;
    }
    StoreValues(cal, texts);
    return CalibrationOutcome::kUsable;
}

CalibrationOutcome RevalidateCalibration(AxisCalibration& cal, SetupState& setup,
                                         const AxisValueTexts& texts, int pointBoxCount) {
    cal.calibrationConfirmed = true;
    cal.calibrationInvalid = false;
    setup.pointBoxCount = pointBoxCount;
    const bool settled = PointsSettled(cal, pointBoxCount);
    if (settled) setup.frameReady = true;
    const bool ordered = XAscending(texts) && YAscending(texts);
    if (!ordered) setup.frameReady = false;

    CalibrationOutcome outcome = CalibrationOutcome::kUsable;
    if (!settled) {
        outcome = CalibrationOutcome::kNotSettled;
    } else if (!ValuesFilled(texts)) {
        outcome = CalibrationOutcome::kValuesMissing;
    } else if (!ValuesStorable(texts)) {
        outcome = CalibrationOutcome::kNotStorable;
    } else if (!XAscending(texts)) {
        outcome = CalibrationOutcome::kXNotAscending;
    } else if (!YAscending(texts)) {
        outcome = CalibrationOutcome::kYNotAscending;
    }
    // The logarithm test runs whenever the order is right, and it is the
    // fault that is reported.
    if (ordered && FirstNonPositiveLogValue(cal, texts) != kPickNone) {
        outcome = CalibrationOutcome::kLogValueNotPositive;
    }
    if (outcome != CalibrationOutcome::kUsable) {
        Fail(cal);
        return outcome;
    }
    StoreValues(cal, texts);
    return outcome;
}

bool TestFrameReady(const AxisCalibration& cal, SetupState& setup, const AxisValueTexts& texts,
                    int pointBoxCount) {
    if (!setup.frameReady) {
        setup.frameReady =
            PointsSettled(cal, pointBoxCount) && XAscending(texts) && YAscending(texts);
    }
    return setup.frameReady;
}

bool SetupComplete(const AxisValueTexts& texts) {
    return ValuesFilled(texts) && XAscending(texts) && YAscending(texts);
}

bool ReadyToAnnounce(const AxisCalibration& cal, const AxisValueTexts& texts, int pointBoxCount) {
    return PointsSettled(cal, pointBoxCount) && ValuesFilled(texts) && cal.Xmin < cal.Xmax &&
           cal.Ymin < cal.Ymax;
}

}  // namespace kx::core
