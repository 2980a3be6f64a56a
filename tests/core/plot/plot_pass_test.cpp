#include "core/plot/analysis_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/plot/plot_contents.h"
#include "plot_family.h"
#include "support/finite_text.h"

namespace kx::core {
namespace {

using test::CallsOf;
using test::LinesIn;

struct CountingObserver : PlotObserver {
    int yields = 0;
    void yieldEvents() override { ++yields; }
};

double DistanceToSegment(double px, double py, const DrawCall& line) {
    const double dx = line.x2 - line.x1;
    const double dy = line.y2 - line.y1;
    const double length = dx * dx + dy * dy;
    const double t =
        length > 0 ? std::clamp(((px - line.x1) * dx + (py - line.y1) * dy) / length, 0.0, 1.0)
                   : 0.0;
    return std::hypot(px - (line.x1 + t * dx), py - (line.y1 + t * dy));
}

// Nothing drawn wrong: every coordinate is a number, marks and curves stay in
// the axes box, and everything else within the drawing window.
void ExpectSoundDrawing(const RecordingSurface& surface) {
    constexpr double kSlack = 1e-3;
    const DrawingWindow& w = surface.window();
    for (const DrawCall& call : surface.calls()) {
        for (const double v : {call.x1, call.y1, call.x2, call.y2}) ASSERT_TRUE(std::isfinite(v));
        const bool inBox = call.kind == DrawCall::Kind::kCircle ||
                           (call.kind == DrawCall::Kind::kLine && call.color == kPlotBlue);
        if (inBox) {
            EXPECT_GE(call.x1, -kSlack);
            EXPECT_LE(call.x1, 600 + kSlack);
            EXPECT_LE(call.y1, kSlack);
            EXPECT_GE(call.y1, -600 - kSlack);
        }
        if (call.kind == DrawCall::Kind::kLine) {
            for (const double x : {call.x1, call.x2}) {
                EXPECT_GE(x, w.left);
                EXPECT_LE(x, w.left + w.width);
            }
            for (const double y : {call.y1, call.y2}) {
                EXPECT_GE(y, w.top);
                EXPECT_LE(y, w.top + w.height);
            }
        }
        if (call.kind == DrawCall::Kind::kText) {
            EXPECT_TRUE(test::FiniteText(call.text));
        }
    }
}

PlotSettings Log(bool x, bool y) {
    PlotSettings settings;
    settings.logX = x;
    settings.logY = y;
    return settings;
}

TEST(AnalysisPlot, TheAxisOfTheExampleRangeIsLabelledAtItsTicks) {
    DataSet data = test::Prepared({{"1", "0.37,1\r\n4,2\r\n8.2,3\r\n"}});
    RecordingSurface surface;
    const PlotPass pass = DrawAnalysisPlot(data, FitResults{}, false, {}, false, surface);
    EXPECT_EQ(pass.frame.xMin, 0.0f);
    EXPECT_EQ(pass.frame.xMax, 10.0f);
    EXPECT_FLOAT_EQ(pass.frame.kx, 60.0f);
    EXPECT_EQ(surface.calls().front().kind, DrawCall::Kind::kClear);

    // X labels centred under their ticks, one digit height below the axis.
    const TextSize digit = surface.measureText("2", TextRole::kTickLabel);
    std::vector<std::string> xLabels;
    for (const DrawCall& text : CallsOf(surface, DrawCall::Kind::kText)) {
        if (text.role != TextRole::kTickLabel || text.y1 != digit.height) continue;
        xLabels.push_back(text.text);
        const double centre = text.x1 + surface.measureText(text.text, text.role).width / 2;
        const double expected = text.text == ".0" ? 0.0 : 60.0 * std::stod(text.text);
        EXPECT_DOUBLE_EQ(centre, expected) << text.text;
    }
    EXPECT_EQ(xLabels, (std::vector<std::string>{".0", "2.", "4.", "6.", "8.", "10."}));

    // Y labels centred on their ticks, ending where the major ticks end
    // outside the box (8 units left of the axis), clear of every tick line.
    int yLabels = 0;
    for (const DrawCall& text : CallsOf(surface, DrawCall::Kind::kText)) {
        if (text.role != TextRole::kTickLabel || text.y1 == digit.height) continue;
        ++yLabels;
        const TextSize size = surface.measureText(text.text, text.role);
        EXPECT_DOUBLE_EQ(text.x1 + size.width, -8.0) << text.text;
        const double value = text.text == ".0" ? 0.0 : std::stod(text.text);
        EXPECT_DOUBLE_EQ(text.y1 + size.height / 2, -600.0 * (value - 1.0) / 2.0) << text.text;
    }
    EXPECT_EQ(yLabels, 5) << "1. to 3. by .5";
    for (const DrawCall& line : LinesIn(surface, kPlotGrey)) {
        EXPECT_GE(std::min(line.x1, line.x2), -8.0);
    }

    // Axes in blue, ticks and grid in grey; the title and names in place.
    EXPECT_EQ(LinesIn(surface, kPlotBlue).size(), 2u);
    std::size_t tickLines = 0;
    for (const auto* ticks : {&pass.xTicks, &pass.yTicks}) {
        for (const AxisTick& tick : *ticks)
            tickLines += (tick.kind != TickKind::kOrigin) + tick.grid;
    }
    EXPECT_EQ(LinesIn(surface, kPlotGrey).size(), tickLines);
    const auto texts = CallsOf(surface, DrawCall::Kind::kText);
    const auto title = std::find_if(texts.begin(), texts.end(),
                                    [](const DrawCall& t) { return t.role == TextRole::kTitle; });
    ASSERT_NE(title, texts.end());
    EXPECT_EQ(title->text, "解析グラフのプロット");
    EXPECT_DOUBLE_EQ(title->y1, -650.0);
}

TEST(AnalysisPlot, LogAxesAndBoxLimits) {
    DataSet data = test::Prepared({{"1", "3.7,0\r\n50,1\r\n370,2\r\n"}});
    RecordingSurface surface;
    // A log Y request with a Y minimum of 0 gets a linear Y axis.
    PlotPass pass = DrawAnalysisPlot(data, FitResults{}, false, Log(true, true), false, surface);
    EXPECT_TRUE(pass.frame.plotLogX);
    EXPECT_FALSE(pass.frame.plotLogY);
    EXPECT_EQ(pass.frame.xMin, 3.0f);
    EXPECT_EQ(pass.frame.xMax, 400.0f);
    EXPECT_EQ(CallsOf(surface, DrawCall::Kind::kCircle).size(), 3u);

    // Box values other than 0 replace the data's X limits; 0 keeps following the data.
    PlotSettings settings;
    settings.xMinText = "0";
    settings.xMaxText = "1000";
    pass = DrawAnalysisPlot(data, FitResults{}, false, settings, false, surface);
    EXPECT_EQ(pass.frame.xMin, 0.0f);
    EXPECT_EQ(pass.frame.xMax, 1000.0f);
    settings.xMinText = "100";
    settings.logX = true;
    pass = DrawAnalysisPlot(data, FitResults{}, false, settings, false, surface);
    EXPECT_EQ(pass.frame.xMin, 100.0f);
    EXPECT_EQ(CallsOf(surface, DrawCall::Kind::kCircle).size(), 1u);

    // The range typed is the range drawn: the axis rounds -15 out to -20 (one
    // step), but the point at -18 stays undrawn.
    DataSet wide = test::Prepared({{"1", "-50,0\r\n-18,1\r\n-10,2\r\n10,3\r\n50,4\r\n"}});
    PlotSettings typed;
    typed.xMinText = "-15";
    pass = DrawAnalysisPlot(wide, FitResults{}, false, typed, false, surface);
    EXPECT_EQ(pass.frame.xMin, -20.0f);
    EXPECT_EQ(CallsOf(surface, DrawCall::Kind::kCircle).size(), 3u);
}

TEST(AnalysisPlot, AFittedFamilyIsDrawnThroughItsPointsOnEveryAxisMode) {
    for (const bool logX : {false, true}) {
        for (const bool logY : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "log X " << logX << " log Y " << logY);
            DataSet data = test::BrokenLineFamily(3);
            const FitResults results = test::Fitted(data);
            for (int line = 1; line <= 3; ++line) ASSERT_EQ(results.lineFit[line].sectionCount, 3);

            RecordingSurface surface;
            CountingObserver observer;
            const PlotPass pass =
                DrawAnalysisPlot(data, results, true, Log(logX, logY), false, surface, &observer);
            EXPECT_EQ(pass.frame.plotLogX, logX);
            EXPECT_EQ(pass.frame.plotLogY, logY);
            EXPECT_EQ(observer.yields, 9);  // once per section
            ExpectSoundDrawing(surface);

            const auto curves = LinesIn(surface, kPlotBlue);
            const auto marks = CallsOf(surface, DrawCall::Kind::kCircle);
            ASSERT_EQ(marks.size(), 36u);
            EXPECT_GT(curves.size(), 9u * 200u);
            for (const DrawCall& mark : marks) {
                double nearest = INFINITY;
                for (const DrawCall& line : curves) {
                    nearest = std::min(nearest, DistanceToSegment(mark.x1, mark.y1, line));
                }
                // Within a sampling step: a section's walk may stop one step short of
                // its last point.
                EXPECT_LT(nearest, 2.0) << mark.x1 << "," << mark.y1;
            }
        }
    }
}

TEST(AnalysisPlot, FitResultsThatAreNotCurrentDrawOnlyTheMarks) {
    DataSet data = test::BrokenLineFamily(2);
    const FitResults results = test::Fitted(data);
    RecordingSurface surface;
    CountingObserver observer;
    DrawAnalysisPlot(data, results, false, {}, false, surface, &observer);
    EXPECT_EQ(observer.yields, 0);
    EXPECT_EQ(LinesIn(surface, kPlotBlue).size(), 2u);  // the axes
    EXPECT_EQ(CallsOf(surface, DrawCall::Kind::kCircle).size(), 24u);
}

TEST(AnalysisPlot, ThePrinterPassWidensTheMarginsToThePageAndDrawsWider) {
    DataSet data = test::BrokenLineFamily(1);
    const FitResults results = test::Fitted(data);
    RecordingSurface paper(PageSize{210, 297});  // A4 upright
    const PlotPass pass = DrawAnalysisPlot(data, results, true, {}, true, paper);
    const DrawingWindow& w = paper.window();
    EXPECT_EQ(pass.window, w);
    EXPECT_NEAR(w.width / w.height, 210.0 / 297.0, 1e-9);
    EXPECT_LT(w.left, -100.0);  // widened left
    EXPECT_EQ(w.top, -680.0);
    EXPECT_GT(w.top + w.height, 110.0);  // and below
    EXPECT_EQ(w.left + w.width, 650.0);
    EXPECT_TRUE(CallsOf(paper, DrawCall::Kind::kClear).empty());

    const auto blue = LinesIn(paper, kPlotBlue);
    ASSERT_GT(blue.size(), 2u);
    EXPECT_EQ(blue[0].lineWidth, 3);  // the axes
    EXPECT_EQ(blue[1].lineWidth, 3);
    EXPECT_EQ(blue[2].lineWidth, 2);  // the curves
    EXPECT_EQ(LinesIn(paper, kPlotGrey).front().lineWidth, 1);
    EXPECT_EQ(paper.lineWidth(), 1);

    // A landscape page widens the left margin instead.
    const DrawingWindow wide = PlotDrawingWindow(true, {297, 210});
    EXPECT_NEAR(wide.width / wide.height, 297.0 / 210.0, 1e-9);
    EXPECT_EQ(PlotDrawingWindow(false, {297, 210}), (DrawingWindow{-100, -680, 750, 790}));
    EXPECT_EQ(PlotDrawingWindow(true, {0, 0}), (DrawingWindow{-100, -680, 750, 790}));
}

TEST(AnalysisPlot, TheWindowRefusesUnusableXSettings) {
    const auto accepted = [](const char* xMin, const char* xMax, bool logX) {
        PlotSettings settings;
        settings.xMinText = xMin;
        settings.xMaxText = xMax;
        settings.logX = logX;
        return PlotRequestAccepted(settings);
    };
    EXPECT_FALSE(accepted("5", "5", false));
    EXPECT_FALSE(accepted("6", "5", false));
    EXPECT_FALSE(accepted("0", "5", true));
    EXPECT_FALSE(accepted("-1", "5", true));
    EXPECT_TRUE(accepted("0", "5", false));
    EXPECT_TRUE(accepted("0.5", "5", true));
    // A range floats cannot resolve is as empty as one of no width.
    EXPECT_FALSE(accepted("1E-45", "1E-44", false));
    EXPECT_FALSE(accepted("1", "1.000001", true));
    EXPECT_TRUE(accepted("1", "1.0001", false));
    EXPECT_TRUE(accepted("1E-38", "3E-38", true));
}

SectionFit Section(int form, int first, int last, Coefficients c) {
    SectionFit section;
    section.form = static_cast<int16_t>(form);
    section.firstIndex = static_cast<int16_t>(first);
    section.lastIndex = static_cast<int16_t>(last);
    section.coefficient = c;
    return section;
}

// Data the layout rules alone cannot frame: the pass still ends, draws the
// points it can place and nothing wrong.
TEST(AnalysisPlotFaults, DegenerateDataEndsInASoundPicture) {
    struct Case {
        const char* name;
        const char* points;
        PlotSettings settings;
        int marks;
    };
    PlotSettings logBoth = Log(true, true);
    PlotSettings logFromBox = Log(true, false);
    logFromBox.xMinText = "1";
    const std::vector<Case> cases = {
        {"all X equal", "5,1\r\n5,2\r\n5,3\r\n", {}, 3},
        {"all Y equal", "1,7\r\n2,7\r\n3,7\r\n", {}, 3},
        {"one point three times", "0,0\r\n0,0\r\n0,0\r\n", logBoth, 3},
        {"log with minimum 0", "0,0\r\n1,1\r\n2,4\r\n", logBoth, 3},
        {"log from a box over X <= 0", "-2,1\r\n0,2\r\n4,3\r\n", logFromBox, 1},
        {"near the float limits", "-3E+38,1E-38\r\n0,3E+38\r\n3E+38,-3E+38\r\n", {}, 3},
        {"tiny values", "1E-38,1E-38\r\n2E-38,3E-38\r\n3E-38,2E-38\r\n", logBoth, 3},
        {"huge log", "1E-30,1\r\n1,1E+30\r\n3E+38,3E+38\r\n", logBoth, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataSet data = test::Prepared({{"1", c.points}});
        // A section of zero width and one in 1/X across the whole line.
        FitResults results;
        results.lineFit[1].sectionCount = 2;
        results.lineFit[1].sections[1] = Section(1, 1, 1, {0, 1, 0, 0, 0});
        results.lineFit[1].sections[2] = Section(13, 1, 3, {0, 1, 1, 0, 0});
        RecordingSurface surface;
        CountingObserver observer;
        const PlotPass pass =
            DrawAnalysisPlot(data, results, true, c.settings, false, surface, &observer);
        EXPECT_EQ(observer.yields, 2);
        EXPECT_LT(pass.frame.xMin, pass.frame.xMax);
        EXPECT_LT(pass.frame.yMin, pass.frame.yMax);
        EXPECT_EQ(static_cast<int>(CallsOf(surface, DrawCall::Kind::kCircle).size()), c.marks);
        ExpectSoundDrawing(surface);
    }
}

TEST(AnalysisPlotFaults, AnEmptyDataSetStillGetsAFrame) {
    DataSet data;
    RecordingSurface surface;
    const PlotPass pass = DrawAnalysisPlot(data, FitResults{}, true, {}, false, surface);
    EXPECT_EQ(pass.frame.xMin, 0.0f);
    EXPECT_EQ(pass.frame.xMax, 1.0f);
    EXPECT_TRUE(CallsOf(surface, DrawCall::Kind::kCircle).empty());
    ExpectSoundDrawing(surface);
}

}  // namespace
}  // namespace kx::core
