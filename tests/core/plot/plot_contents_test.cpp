#include "core/plot/plot_contents.h"

#include <gtest/gtest.h>

#include <vector>

#include "plot_family.h"

namespace kx::core {
namespace {

using test::CallsOf;
using test::LinesIn;

// A 0..10 window on both axes: 60 drawing units per data unit.
PlotFrame TenByTen() {
    PlotFrame frame;
    frame.xMin = frame.yMin = 0.0f;
    frame.xMax = frame.yMax = 10.0f;
    frame.kx = frame.ky = 60.0f;
    return frame;
}

std::vector<CurveSample> Curve(std::initializer_list<std::pair<float, float>> points) {
    std::vector<CurveSample> samples;
    for (const auto& [x, y] : points) samples.push_back({x, y});
    return samples;
}

struct CurveCase {
    const char* name;
    std::vector<CurveSample> samples;
    std::vector<std::pair<float, float>> segments;  // the X of both ends of each drawn segment
};

TEST(DrawSectionCurve, DrawsOnlySegmentsWithBothEndsInTheWindow) {
    const std::vector<CurveCase> cases = {
        {"inside", Curve({{1, 1}, {2, 2}, {3, 3}}), {{1, 2}, {2, 3}}},
        // Leaves the window upwards at X = 3 and comes back at X = 5: a gap.
        {"gap", Curve({{1, 5}, {2, 8}, {3, 11}, {4, 12}, {5, 9}, {6, 7}}), {{1, 2}, {5, 6}}},
        // Starts left of the window and ends right of it.
        {"clipped",
         Curve({{-2, 1}, {-1, 1}, {0, 1}, {5, 1}, {10, 1}, {11, 1}}),
         {{0, 5}, {5, 10}}},
        // The first segment, too, is left out when one of its ends is outside.
        {"first leaves", Curve({{1, 9}, {2, 12}, {3, 9}, {4, 8}}), {{3, 4}}},
        {"too few", Curve({{-1, 1}, {9, 1}, {10, 1}}), {}},
        {"none inside", Curve({{11, 1}, {12, 1}, {13, 1}}), {}},
    };
    for (const CurveCase& c : cases) {
        RecordingSurface surface;
        DrawSectionCurve(c.samples, TenByTen(), surface);
        std::vector<std::pair<float, float>> drawn;
        for (const DrawCall& line : LinesIn(surface, kPlotBlue)) {
            drawn.push_back({static_cast<float>(line.x1 / 60), static_cast<float>(line.x2 / 60)});
            EXPECT_GE(-line.y1, 0.0) << c.name;
            EXPECT_LE(-line.y2, 600.0) << c.name;
        }
        EXPECT_EQ(drawn, c.segments) << c.name;
    }
}

TEST(DrawSectionCurve, PrinterCurvesAreWiderAndResetAfterwards) {
    PlotFrame frame = TenByTen();
    frame.toPrinter = true;
    RecordingSurface surface;
    DrawSectionCurve(Curve({{1, 1}, {2, 2}, {3, 3}}), frame, surface);
    const auto lines = LinesIn(surface, kPlotBlue);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].lineWidth, 2);
    EXPECT_EQ(surface.lineWidth(), 1);
}

TEST(PlotContents, SortingLeavesThePreparedTextsInXOrderAndShortForm) {
    DataSet data = test::Prepared({{"5", "3,9\r\n1,1.0\r\n2.50,6.250\r\n"}});
    RecordingSurface surface;
    DrawPlotContents(data, FitResults{}, false, TenByTen(), surface);
    EXPECT_EQ(data.xText[1][1], "1");
    EXPECT_EQ(data.xText[1][2], "2.5");
    EXPECT_EQ(data.xText[1][3], "3");
    EXPECT_EQ(data.yText[1][1], "1");
    EXPECT_EQ(data.yText[1][2], "6.25");
    EXPECT_EQ(data.yText[1][3], "9");
    // Without fit results only the marks are drawn.
    EXPECT_EQ(CallsOf(surface, DrawCall::Kind::kCircle).size(), 3u);
    EXPECT_TRUE(CallsOf(surface, DrawCall::Kind::kLine).empty());
}

TEST(PlotContents, MarksOnlyThePointsInsideTheWindow) {
    DataSet data = test::Prepared({{"1", "1,1\r\n5,5\r\n10,10\r\n11,5\r\n5,-1\r\n"}});
    RecordingSurface surface;
    DrawDataMarks(data, TenByTen(), surface);
    const auto marks = CallsOf(surface, DrawCall::Kind::kCircle);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_DOUBLE_EQ(marks[2].x1, 600.0);
    EXPECT_DOUBLE_EQ(marks[2].y1, -600.0);
    EXPECT_EQ(marks[0].color, kPlotBlack);
    // A quarter of the width of "2" in the title's font; half as much again on paper.
    const double digit = surface.measureText("2", TextRole::kTitle).width;
    EXPECT_DOUBLE_EQ(marks[0].x2, digit / 4);
    PlotFrame printer = TenByTen();
    printer.toPrinter = true;
    RecordingSurface paper;
    DrawDataMarks(data, printer, paper);
    EXPECT_DOUBLE_EQ(CallsOf(paper, DrawCall::Kind::kCircle)[0].x2, 1.5 * digit / 4);
}

TEST(PlotContents, ParameterLabelsSitAtEachLinesFirstVisiblePoint) {
    DataSet data = test::Prepared({{" 25 ", "-1,2\r\n3,4\r\n5,6\r\n"},
                                   {"7.5", "20,1\r\n30,2\r\n40,3\r\n"},
                                   {"-3", "2,9\r\n4,8\r\n6,7\r\n"}});
    RecordingSurface surface;
    DrawParameterLabels(data, TenByTen(), surface);
    const auto texts = CallsOf(surface, DrawCall::Kind::kText);
    // Ranks in ascending parameter order: -3 (line 3), 7.5 (no point inside), 25.
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "-3");
    EXPECT_DOUBLE_EQ(texts[0].x1, 120.0);
    EXPECT_DOUBLE_EQ(texts[0].y1, -540.0);
    EXPECT_EQ(texts[1].text, "25");
    EXPECT_DOUBLE_EQ(texts[1].x1, 180.0);
    EXPECT_DOUBLE_EQ(texts[1].y1, -240.0);
    for (const DrawCall& text : texts) EXPECT_EQ(text.color, kPlotRed);
    EXPECT_EQ(surface.color(), kPlotAfterRed);
}

}  // namespace
}  // namespace kx::core
