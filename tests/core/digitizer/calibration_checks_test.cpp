#include "core/digitizer/calibration_checks.h"

#include <gtest/gtest.h>

namespace kx::core {
namespace {

// The four points placed by clicks: origin (1000, 5000), Xmax at x 6000, Ymax
// at y 1000.
AxisCalibration Placed() {
    AxisCalibration cal;
    PlaceCalibrationPoint(cal, kPickXmin, 1000, 5000);
    PlaceCalibrationPoint(cal, kPickXmax, 6000, 5000);
    PlaceCalibrationPoint(cal, kPickYmax, 1000, 1000);
    return cal;
}

AxisValueTexts Texts(const char* xmin, const char* xmax, const char* ymin, const char* ymax) {
    return {"", xmin, xmax, ymin, ymax};
}

struct Row {
    const char* name;
    AxisValueTexts texts;
    int boxes;
    bool ymaxPlaced;
    bool logY;
    CalibrationOutcome confirm;
    CalibrationOutcome recheck;
};

TEST(CalibrationOutcome, ConfirmationAndRecheckTable) {
    using O = CalibrationOutcome;
    const Row rows[] = {
        {"usable", Texts("0", "60", "0", "40"), 4, true, false, O::kUsable, O::kUsable},
        {"three boxes", Texts("0", "60", "0", "40"), 3, true, false, O::kNotSettled,
         O::kNotSettled},
        // A refused click leaves the Ymax box ticked and its point at 0.
        {"ticked, not placed", Texts("0", "60", "0", "40"), 4, false, false, O::kNotSettled,
         O::kNotSettled},
        {"empty value", Texts("0", "60", " ", "40"), 4, true, false, O::kValuesMissing,
         O::kValuesMissing},
        {"beyond a float", Texts("0", "1E39", "0", "40"), 4, true, false, O::kNotStorable,
         O::kNotStorable},
        // The box shows "不適切な文字": the leading 4.5 is not what was meant.
        {"letters after the number", Texts("0", "4.5V", "0", "40"), 4, true, false,
         O::kNotStorable, O::kNotStorable},
        {"x equal", Texts("10", "10", "0", "5"), 4, true, false, O::kXNotAscending,
         O::kXNotAscending},
        {"y falling", Texts("0", "60", "5", "-1"), 4, true, false, O::kYNotAscending,
         O::kYNotAscending},
        {"log y at zero", Texts("0", "60", "0", "40"), 4, true, true, O::kLogValueNotPositive,
         O::kLogValueNotPositive},
        // The re-check tests logarithms only with the order right.
        {"log y, unordered", Texts("0", "60", "0", "-1"), 4, true, true, O::kLogValueNotPositive,
         O::kYNotAscending},
        {"log y, unplaced", Texts("0", "60", "0", "40"), 3, true, true, O::kLogValueNotPositive,
         O::kLogValueNotPositive},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AxisCalibration placed = Placed();
        if (!row.ymaxPlaced) ClearCalibrationPoint(placed, kPickYmax);
        placed.logY = row.logY ? 1 : 0;

        AxisCalibration confirmed = placed;
        SetupState confirmedSetup;
        EXPECT_EQ(ConfirmCalibration(confirmed, confirmedSetup, row.texts, row.boxes),
                  row.confirm);
        AxisCalibration rechecked = placed;
        SetupState recheckedSetup;
        EXPECT_EQ(RevalidateCalibration(rechecked, recheckedSetup, row.texts, row.boxes),
                  row.recheck);

        const bool usable = row.confirm == O::kUsable;
        EXPECT_EQ(confirmed.calibrationInvalid, usable ? 0 : 1);
        EXPECT_EQ(rechecked.calibrationInvalid, row.recheck == O::kUsable ? 0 : 1);
        EXPECT_EQ(rechecked.calibrationConfirmed, row.recheck == O::kUsable ? 1 : 0);
        // A missing value marks the calibration invalid only.
        EXPECT_EQ(confirmed.calibrationConfirmed,
                  usable || row.confirm == O::kValuesMissing ? 1 : 0);
        if (row.confirm != O::kLogValueNotPositive) {
            EXPECT_EQ(confirmedSetup.pointBoxCount, row.boxes);
        }
    }
}

TEST(CalibrationOutcome, UsableStoresTheTypedValuesAndOnlyThen) {
    AxisCalibration cal = Placed();
    SetupState setup;
    // (A blank is no character of a value: " 5 " shows "不適切な文字" and is refused.)
    ASSERT_EQ(ConfirmCalibration(cal, setup, Texts("1", "1D2", "5", "4.5E1"), 4),
              CalibrationOutcome::kUsable);
    EXPECT_EQ(cal.Xmin, 1);
    EXPECT_EQ(cal.Xmax, 100);
    EXPECT_EQ(cal.Ymin, 5);
    EXPECT_EQ(cal.Ymax, 45);
    EXPECT_TRUE(setup.frameReady);
    // The value on the way to "1E39" stays what was stored before: the
    // calibration is refused instead of converting with it.
    EXPECT_EQ(RevalidateCalibration(cal, setup, Texts("1", "1E39", "5", "45"), 4),
              CalibrationOutcome::kNotStorable);
    EXPECT_EQ(cal.Xmax, 100);
    EXPECT_EQ(cal.calibrationInvalid, 1);
}

TEST(CalibrationOutcome, FrameReadinessDiffersOnPurpose) {
    // Confirmation: an X fault keeps the frame ready, a Y fault clears it.
    AxisCalibration cal = Placed();
    SetupState setup;
    ConfirmCalibration(cal, setup, Texts("10", "10", "0", "5"), 4);
    EXPECT_TRUE(setup.frameReady);
    ConfirmCalibration(cal, setup, Texts("0", "10", "5", "5"), 4);
    EXPECT_FALSE(setup.frameReady);

    // The hover test sets readiness once and keeps it until it is cleared.
    cal = Placed();
    setup = {};
    EXPECT_FALSE(TestFrameReady(cal, setup, Texts("0", "60", "0", "40"), 3));
    EXPECT_TRUE(TestFrameReady(cal, setup, Texts("0", "60", "0", "40"), 4));
    EXPECT_TRUE(TestFrameReady(cal, setup, Texts("9", "1", "0", "40"), 4));
    setup.frameReady = false;
    EXPECT_FALSE(TestFrameReady(cal, setup, Texts("9", "1", "0", "40"), 4));
    ClearCalibrationPoint(cal, kPickXmax);
    EXPECT_FALSE(TestFrameReady(cal, setup, Texts("0", "60", "0", "40"), 4));

    // The hint over the button reads the stored values.
    cal = Placed();
    cal.Xmax = 60;
    cal.Ymax = 40;
    EXPECT_TRUE(ReadyToAnnounce(cal, Texts("0", "60", "0", "40"), 4));
    EXPECT_FALSE(ReadyToAnnounce(cal, Texts("0", "60", "", "40"), 4));
    cal.Ymax = 0;
    EXPECT_FALSE(ReadyToAnnounce(cal, Texts("0", "60", "0", "40"), 4));

    EXPECT_TRUE(SetupComplete(Texts("0", "60", "0", "40")));
    EXPECT_FALSE(SetupComplete(Texts("0", "60", "0", "")));
    EXPECT_FALSE(SetupComplete(Texts("0", "-60", "0", "40")));
}

TEST(CheckAxisValueText, StorableNotStorableNotPositive) {
    EXPECT_EQ(CheckAxisValueText("1,5", false), ValueTextCheck::kStorable);
    EXPECT_EQ(CheckAxisValueText("-5", false), ValueTextCheck::kStorable);
    EXPECT_EQ(CheckAxisValueText("-5", true), ValueTextCheck::kNotPositiveOnLog);
    EXPECT_EQ(CheckAxisValueText("", true), ValueTextCheck::kNotPositiveOnLog);
    EXPECT_EQ(CheckAxisValueText("1E39", false), ValueTextCheck::kNotStorable);
    EXPECT_EQ(CheckAxisValueText("-1E39", true), ValueTextCheck::kNotStorable);
    EXPECT_EQ(CheckAxisValueText("3.4E38", true), ValueTextCheck::kStorable);
}

}  // namespace
}  // namespace kx::core
