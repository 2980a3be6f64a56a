#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <ostream>
#include <string>

#include "core/trace/centre_line_points.h"
#include "core/trace/curve_trace.h"
#include "trace_charts.h"

namespace kx {
namespace {

using core::PicturePoint;
using core::TraceCurve;
using core::TraceFault;

// The painter needs the toolkit's Gui set up (offscreen in the tests).
class TraceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "kx_trace_tests";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) app_ = new QGuiApplication(argc, argv);
    }
    static QGuiApplication* app_;
};
QGuiApplication* TraceTest::app_ = nullptr;

// A chart of the set and the curves of it traced.
struct Traced {
    const char* chart;
    std::vector<int> curves;
};

void PrintTo(const Traced& traced, std::ostream* out) {
    *out << traced.chart;
}

class TraceAccuracy : public TraceTest, public ::testing::WithParamInterface<Traced> {};

// Every curve of the chart from one click on it: the centre line and the
// chosen points lie on the drawn curve, span it, and a fit of the points
// gives the drawn function back.
TEST_P(TraceAccuracy, TracedCurvesLieOnTheDrawnCurvesAndFitThem) {
    const test::TraceCase c = test::MakeTraceCase(GetParam().chart);
    const test::RgbPicture picture(c.picture);
    for (const int curve : GetParam().curves) {
        const test::TracedCurve& t = c.traced[static_cast<std::size_t>(curve)];
        SCOPED_TRACE(t.curve);
        const core::TraceResult traced =
            TraceCurve(picture.view, c.chart.OnCurve(t.curve, t.seedX), {});
        ASSERT_TRUE(traced.ok()) << static_cast<int>(traced.fault);
        const test::TraceScore line = c.chart.Score(t.curve, traced.centreLine);
        EXPECT_GE(line.withinOnePixel, 0.95);
        EXPECT_LT(line.median, 0.3);
        EXPECT_LE(line.largest, 3.0);
        EXPECT_GE(line.coverage, 0.95);
        ASSERT_EQ(traced.points.size(), std::size_t{core::kDefaultTracePoints});
        EXPECT_LE(c.chart.Score(t.curve, traced.points).largest, 3.0);
        EXPECT_GE(c.chart.FitWithin(t.curve, traced.points, 0.01), 0.95);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Charts, TraceAccuracy,
    ::testing::Values(Traced{"colour png", {0, 1, 2}}, Traced{"colour jpeg 60", {2}},
                      Traced{"colour jpeg 75", {2}}, Traced{"black grid, markers, dashes", {0, 1}},
                      Traced{"one colour crossing twice", {0, 1}},
                      Traced{"log axes jpeg 65", {0, 1}}, Traced{"steep end", {0}},
                      Traced{"grey scan with grid", {0, 1}},
                      Traced{"3000 x 2000 scan, 4-pixel lines", {0, 1, 2}}),
    [](const ::testing::TestParamInfo<Traced>& row) {
        std::string name;
        for (const char* c = row.param.chart; *c; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
        }
        return name;
    });

// Clicks that find no curve are refused, each for its reason, with no points.
TEST_F(TraceTest, ClicksOnNoCurveAreRefused) {
    const test::TraceCase colour = test::MakeTraceCase("colour png");
    const test::TraceCase darkGrid = test::MakeTraceCase("black grid, markers, dashes");
    const test::RgbPicture colourPicture(colour.picture), darkGridPicture(darkGrid.picture);
    const test::ChartSpec& s = colour.chart.spec();
    struct Click {
        const char* what;
        const test::RgbPicture& on;
        PicturePoint at;
        double tolerance;
        TraceFault fault;
    };
    const Click clicks[] = {
        {"empty paper", colourPicture, colour.chart.PixelOf(8.5, 4.5), 30, TraceFault::kNoLine},
        {"the frame",
         colourPicture,
         {s.frame.left() + 0.5, s.frame.center().y()},
         30,
         TraceFault::kStraightLine},
        {"a grid line", darkGridPicture, darkGrid.chart.PixelOf(16.0, 75.0), 30,
         TraceFault::kStraightLine},
        // A light grey grid line is hardly darker than the paper.
        {"a light grid line", colourPicture, colour.chart.PixelOf(3.0, 7.0), 30,
         TraceFault::kToleranceTakesPaper},
        {"the legend's text",
         colourPicture,
         {s.frame.left() + 12 + 62, s.frame.top() + 12 + 16},
         30,
         TraceFault::kStraightLine},
        {"outside the picture", colourPicture, {-3, 10}, 30, TraceFault::kSeedOutside},
        {"a tolerance that takes in everything", colourPicture, colour.chart.OnCurve(0, 5.0), 150,
         TraceFault::kToleranceTakesPaper},
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.what);
        const core::TraceResult traced =
            TraceCurve(click.on.view, click.at, {.tolerance = click.tolerance});
        EXPECT_EQ(traced.fault, click.fault);
        EXPECT_TRUE(traced.points.empty());
    }
}

// A curve that crosses the frame and runs off the picture is followed to the
// picture's edge and no farther.
TEST_F(TraceTest, ACurveRunningOffThePictureEndsAtItsEdge) {
    const test::TraceCase c = test::MakeTraceCase("curve leaving the plot");
    const test::RgbPicture picture(c.picture);
    const core::TraceResult traced = TraceCurve(picture.view, c.chart.OnCurve(0, 5.0), {});
    ASSERT_TRUE(traced.ok());
    for (const PicturePoint& p : traced.centreLine) {
        EXPECT_TRUE(p.x >= 0 && p.y >= 0 && p.x <= picture.view.width - 1 &&
                    p.y <= picture.view.height - 1);
    }
    EXPECT_LT(traced.centreLine.back().y, 3.0);  // the top edge, beyond the frame
    EXPECT_GE(c.chart.Score(0, traced.centreLine).withinOnePixel, 0.95);
}

// The chosen points keep both ends, follow the line within half a pixel and
// gather where it bends; a count beyond the line's points gives it whole.
TEST(CentreLinePoints, KeepTheEndsAndGatherAtTheBend) {
    std::vector<PicturePoint> line;
    for (int i = 0; i <= 400; ++i) {
        const double x = i;
        line.push_back({x, x < 200 ? 100.0 : 100.0 - 0.004 * (x - 200) * (x - 200)});
    }
    const core::ChosenPoints chosen = core::ChooseCentreLinePoints(line, 16);
    ASSERT_EQ(chosen.points.size(), 16u);
    EXPECT_EQ(chosen.points.front().x, 0);
    EXPECT_EQ(chosen.points.back().x, 400);
    EXPECT_LE(chosen.largestDeviation, 0.5);
    const auto onTheBend = std::count_if(chosen.points.begin(), chosen.points.end(),
                                         [](const PicturePoint& p) { return p.x > 200; });
    EXPECT_GT(onTheBend, 10);
    EXPECT_EQ(core::ChooseCentreLinePoints({{0, 0}, {5, 5}}, 40).points.size(), 2u);
}

}  // namespace
}  // namespace kx
