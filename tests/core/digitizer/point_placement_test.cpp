#include "core/digitizer/point_placement.h"

#include <gtest/gtest.h>

namespace kx::core {
namespace {

TEST(PlaceCalibrationPoint, OriginThenXmaxThenYmax) {
    AxisCalibration cal;
    Placement p = PlaceCalibrationPoint(cal, kPickXmin, 1000, 5000);
    EXPECT_EQ(p.fault, PlacementFault::kNone);
    EXPECT_EQ(cal.X1MIN, 1000);
    EXPECT_EQ(cal.Y1MIN, 5000);
    EXPECT_TRUE(p.turnOnXminBox && p.turnOnYminBox);
    EXPECT_FALSE(p.drawXAxis || p.drawYAxis);

    p = PlaceCalibrationPoint(cal, kPickXmax, 6000, 5100);
    EXPECT_EQ(cal.X1MAX, 6000);
    EXPECT_EQ(cal.Y1MIN, 5000);  // the Xmax point lies on the X-axis line
    EXPECT_EQ(p.markX, 6000);
    EXPECT_EQ(p.markY, 5000);
    EXPECT_TRUE(p.drawXAxis);

    p = PlaceCalibrationPoint(cal, kPickYmax, 1100, 800);
    EXPECT_EQ(cal.Y1MAX, 800);
    EXPECT_EQ(cal.X1MIN, 1000);
    EXPECT_TRUE(p.drawXAxis && p.drawYAxis);
    EXPECT_EQ(p.markX, 1000);
    EXPECT_EQ(p.markY, 800);
    EXPECT_EQ(cal.originXSet + cal.xMaxSet + cal.originYSet + cal.yMaxSet, 4);
}

TEST(PlaceCalibrationPoint, AxisEndsFirstSettleTheOrigin) {
    AxisCalibration cal;
    PlaceCalibrationPoint(cal, kPickYmax, 990, 800);
    EXPECT_EQ(cal.X1MIN, 990);
    const Placement p = PlaceCalibrationPoint(cal, kPickXmax, 6000, 5000);
    EXPECT_TRUE(p.turnOnXminBox && p.turnOnYminBox && p.drawXAxis && p.drawYAxis);
    EXPECT_EQ(cal.Y1MIN, 5000);
    EXPECT_EQ(cal.originXSet, 1);
    // A later origin press keeps the settled coordinates.
    PlaceCalibrationPoint(cal, kPickXmin, 1020, 5010);
    EXPECT_EQ(cal.X1MIN, 990);
    EXPECT_EQ(cal.Y1MIN, 5000);
}

TEST(PlaceCalibrationPoint, GuardsRefuseAndChangeNothing) {
    struct Case {
        PickMode first;
        double fx, fy;
        PickMode second;
        double sx, sy;
        PlacementFault fault;
    };
    const Case cases[] = {
        {kPickXmin, 1000, 5000, kPickXmax, 900, 5000, PlacementFault::kXminNotLeft},
        {kPickXmin, 1000, 5000, kPickYmax, 1000, 5200, PlacementFault::kYminNotBelow},
        {kPickXmax, 6000, 5000, kPickXmin, 6000, 5000, PlacementFault::kXmaxNotRight},
        {kPickYmax, 1000, 800, kPickYmin, 1000, 800, PlacementFault::kYmaxNotAbove},
        {kPickYmax, 1000, 800, kPickXmax, 6000, 700, PlacementFault::kYmaxNotAbove},
        {kPickXmax, 6000, 5000, kPickYmax, 6500, 800, PlacementFault::kXmaxNotRight},
        // The origin a press would make must stay below the Ymax point.
        {kPickYmax, 1000, 800, kPickXmin, 1000, 700, PlacementFault::kYmaxNotAbove},
    };
    for (const Case& c : cases) {
        AxisCalibration cal;
        PlaceCalibrationPoint(cal, c.first, c.fx, c.fy);
        const AxisCalibration before = cal;
        const Placement p = PlaceCalibrationPoint(cal, c.second, c.sx, c.sy);
        EXPECT_EQ(p.fault, c.fault) << c.second << " after " << c.first;
        EXPECT_EQ(cal.X1MIN, before.X1MIN);
        EXPECT_EQ(cal.X1MAX, before.X1MAX);
        EXPECT_EQ(cal.Y1MIN, before.Y1MIN);
        EXPECT_EQ(cal.Y1MAX, before.Y1MAX);
        EXPECT_EQ(cal.xMaxSet + cal.yMaxSet + cal.originXSet,
                  before.xMaxSet + before.yMaxSet + before.originXSet);
    }
}

TEST(PlaceCalibrationPoint, PositionsRoundHalvesToEven) {
    AxisCalibration cal;
    PlaceCalibrationPoint(cal, kPickXmin, 1234.5, 5000.4);
    EXPECT_EQ(cal.X1MIN, 1234);
    EXPECT_EQ(cal.Y1MIN, 5000);
    AxisCalibration other;
    PlaceCalibrationPoint(other, kPickXmin, 1235.5, 4999.6);
    EXPECT_EQ(other.X1MIN, 1236);
    EXPECT_EQ(other.Y1MIN, 5000);
}

TEST(ClearCalibrationPoint, KeepsCoordinatesAPlacedPointShares) {
    AxisCalibration cal;
    PlaceCalibrationPoint(cal, kPickXmin, 1000, 5000);
    PlaceCalibrationPoint(cal, kPickXmax, 6000, 5000);
    PlaceCalibrationPoint(cal, kPickYmax, 1000, 800);

    AxisCalibration origin = cal;
    ClearCalibrationPoint(origin, kPickXmin);
    EXPECT_EQ(origin.originXSet + origin.originYSet, 0);
    EXPECT_EQ(origin.X1MIN, 1000);  // the Y-axis line still stands there
    EXPECT_EQ(origin.Y1MIN, 5000);  // and the X-axis line here

    AxisCalibration xmax = cal;
    ClearCalibrationPoint(xmax, kPickXmax);
    EXPECT_EQ(xmax.X1MAX, 0);
    EXPECT_EQ(xmax.Y1MIN, 5000);

    AxisCalibration lone;
    PlaceCalibrationPoint(lone, kPickXmax, 6000, 5000);
    ClearCalibrationPoint(lone, kPickXmax);
    EXPECT_EQ(lone.Y1MIN, 0);
    PlaceCalibrationPoint(lone, kPickYmax, 1000, 800);
    ClearCalibrationPoint(lone, kPickYmax);
    EXPECT_EQ(lone.X1MIN, 0);

    ClearCalibrationPositions(cal);
    EXPECT_EQ(cal.X1MIN + cal.X1MAX + cal.Y1MIN + cal.Y1MAX, 0);
    EXPECT_EQ(cal.originXSet + cal.xMaxSet + cal.originYSet + cal.yMaxSet, 0);
}

}  // namespace
}  // namespace kx::core
