// The marks of captured points against the point texts they follow: edits,
// removals, replaced points, typed points.
#include <gtest/gtest.h>

#include "core/digitizer/axis_inverse.h"
#include "core/digitizer/capture_marks.h"
#include "core/digitizer/point_lines.h"

namespace kx::core {
namespace {

TEST(PointLines, RemoveAndReplaceOnePointKeepingTheRest) {
    const std::string text = "1,2\r\n\r\nnote\r\n3,4\r\n5,6";
    ASSERT_EQ(PointLines(text).size(), 3u);
    EXPECT_EQ(PointLines(text)[1], "3,4");
    EXPECT_EQ(WithoutPoint(text, 1), "1,2\r\n\r\nnote\r\n5,6");
    EXPECT_EQ(WithoutPoint(text, 2), "1,2\r\n\r\nnote\r\n3,4\r\n");
    EXPECT_EQ(WithoutPoint(text, 3), text);
    EXPECT_EQ(WithPointReplaced(text, 0, "9,9"), "9,9\r\n\r\nnote\r\n3,4\r\n5,6");
    EXPECT_EQ(WithPointReplaced(text, 2, "7.5,8"), "1,2\r\n\r\nnote\r\n3,4\r\n7.5,8");
    EXPECT_EQ(WithPointReplaced(text, -1, "0,0"), text);
}

struct Captured : ::testing::Test {
    DataSet data;
    CaptureMarks marks;
    AxisCalibration cal;

    Captured() {
        // 1 unit = 150 canvas units on both axes, origin at (1500, 7500).
        cal.X1MIN = 1500;
        cal.Y1MIN = 7500;
        cal.X1MAX = 10500;
        cal.Y1MAX = 1500;
        cal.Xmax = 60;
        cal.Ymax = 40;
        cal.calibrationConfirmed = true;
        cal.calibrationInvalid = false;
    }
    void Capture(int line, const char* x, const char* y, double cx, double cy) {
        AppendPoint(data, line, x, y);
        marks.Record(line, std::string(x) + "," + y, cx, cy);
    }
};

TEST_F(Captured, MarksFollowEditsOfThePointText) {
    Capture(1, "1", "2", 1651, 7199);
    Capture(1, "3", "4", 1949, 6901);
    Capture(1, "3", "4", 1952, 6898);  // the same values twice
    Capture(2, "5", "6", 2250, 6600);

    auto positions = MarkPositions(marks, data, cal, true);
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[2].x, 1952);  // captured positions, not the values' ones
    EXPECT_EQ(positions[3].line, 2);

    // Of two equal text lines, deleting one leaves one mark for the other.
    SetPointText(data, 1, "1,2\r\n3,4\r\n");
    marks.Follow(1, data.pointText[1]);
    positions = MarkPositions(marks, data, cal, true);
    ASSERT_EQ(positions.size(), 3u);
    EXPECT_EQ(positions[1].x, 1949);

    // An edited or typed point is marked where its values lie, or not at all
    // without a usable calibration.
    SetPointText(data, 1, "1,2\r\n10,20\r\n3,4\r\n");
    positions = MarkPositions(marks, data, cal, true);
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_NEAR(positions[1].x, 1500 + 10 * 150, 1e-6);
    EXPECT_NEAR(positions[1].y, 7500 - 20 * 150, 1e-6);
    EXPECT_EQ(positions[2].x, 1949);
    EXPECT_EQ(MarkPositions(marks, data, cal, false).size(), 3u);

    // A reset line has no marks left to come back with its text.
    ResetLine(data, 1);
    EXPECT_EQ(MarkPositions(marks, data, cal, true).size(), 1u);
    SetPointText(data, 1, "1,2\r\n");
    positions = MarkPositions(marks, data, cal, false);
    EXPECT_EQ(positions.size(), 1u);
    EXPECT_EQ(positions[0].line, 2);
}

}  // namespace
}  // namespace kx::core
