#include "trace_charts.h"

#include <cmath>
#include <functional>
#include <stdexcept>

namespace kx::test {
namespace {

const QColor kRed(220, 30, 30);
const QColor kBlue(30, 60, 200);
const QColor kGreen(20, 140, 60);

// A family of rising curves with a knee, as a diode or a saturation curve.
ChartSpec ColourFamily() {
    ChartSpec s;
    s.xMin = 0;
    s.xMax = 10;
    s.yMin = 0;
    s.yMax = 8;
    s.legend = true;
    s.curves = {
        {[](double x) { return 6.5 * (1 - std::exp(-x / 2.2)) + 0.3; }, 0.2, 10, kRed, 2,
         Qt::SolidLine, false, "T = 25"},
        {[](double x) { return 0.05 * x * x + 0.25 * x + 0.5; }, 0.2, 10, kBlue, 2, Qt::SolidLine,
         false, "T = 75"},
        {[](double x) { return 2.0 + 1.2 * std::sin(x / 1.7); }, 0.2, 10, kGreen, 1.5,
         Qt::DashLine, false, "T = 125"},
    };
    return s;
}

// Black curves over a black grid, one with markers, one dashed, the grid
// drawn over them.
ChartSpec BlackOnBlackGrid() {
    ChartSpec s;
    s.xMin = 0;
    s.xMax = 20;
    s.yMin = 0;
    s.yMax = 100;
    s.gridColour = QColor(40, 40, 40);
    s.gridOverCurves = true;
    s.curves = {
        {[](double x) { return 10 + 80 * x / (x + 4); }, 0.5, 19.5, Qt::black, 2, Qt::SolidLine,
         true, "a"},
        {[](double x) { return 5 + 0.2 * x * x; }, 0.5, 19.5, Qt::black, 2, Qt::DashLine, false,
         "b"},
    };
    return s;
}

// Two curves of one colour that cross twice.
ChartSpec CrossingTwice() {
    ChartSpec s;
    s.xMin = 0;
    s.xMax = 10;
    s.yMin = 0;
    s.yMax = 10;
    s.curves = {
        {[](double x) { return 1 + 0.8 * x; }, 0.3, 9.7, kBlue, 2, Qt::SolidLine, false, "a"},
        {[](double x) { return 5 + 3.5 * std::sin((x - 2.3) * 0.7); }, 0.3, 9.7, kBlue, 2,
         Qt::SolidLine, false, "b"},
    };
    return s;
}

// Five decades of Y over two of X, a power law and a curve with a steep end.
ChartSpec LogAxes() {
    ChartSpec s;
    s.xMin = 0.1;
    s.xMax = 10;
    s.yMin = 0.01;
    s.yMax = 1000;
    s.logX = s.logY = true;
    s.legend = true;
    s.curves = {
        {[](double x) { return 0.3 * std::pow(x, 2.2); }, 0.12, 9.5, kRed, 2, Qt::SolidLine, false,
         "P = 1"},
        {[](double x) { return 0.025 / (1.0 - x / 10.5); }, 0.12, 10.4, kBlue, 2, Qt::SolidLine,
         false, "P = 2"},
    };
    return s;
}

// A steep end on linear axes: the curve turns vertical near the top.
ChartSpec SteepEnd() {
    ChartSpec s;
    s.xMin = 0;
    s.xMax = 10;
    s.yMin = 0;
    s.yMax = 10;
    s.curves = {{[](double x) { return 0.5 + 2.0 / (9.2 - x); }, 0.2, 9.0, kGreen, 2,
                 Qt::SolidLine, false, "a"}};
    return s;
}

// The colour family scaled to a 3000 x 2000 scan with 4-pixel lines.
ChartSpec LargeScan() {
    ChartSpec s = ColourFamily();
    s.width = 3000;
    s.height = 2000;
    s.frame = QRectF(240, 120, 2600, 1700);
    s.gridWidth = 3;
    s.legend = false;
    for (ChartCurve& c : s.curves) c.width = 4;
    return s;
}

// A 6000 x 8000 scan of a tall chart (a data-book page at 600 dpi).
ChartSpec PageScan() {
    ChartSpec s = ColourFamily();
    s.width = 6000;
    s.height = 8000;
    s.frame = QRectF(480, 600, 5100, 6800);
    s.gridWidth = 4;
    s.legend = false;
    for (ChartCurve& c : s.curves) c.width = 6;
    return s;
}

// The curve crosses the frame and runs off the picture's edge.
ChartSpec LeavesThePlot() {
    ChartSpec s;
    s.xMin = 0;
    s.xMax = 10;
    s.yMin = 0;
    s.yMax = 8;
    s.clipToFrame = false;
    s.curves = {{[](double x) { return 0.2 + 0.12 * x * x; }, 0.3, 14, kRed, 2, Qt::SolidLine,
                 false, "a"}};
    return s;
}

TraceCase Case(std::string name, ChartSpec spec, const std::function<QImage(QImage)>& saved,
               std::vector<TracedCurve> traced) {
    TestChart chart(std::move(spec));
    QImage picture = saved(chart.Draw());
    return {std::move(name), std::move(chart), std::move(picture), std::move(traced)};
}

QImage AsPng(QImage image) {
    return image;  // PNG is lossless: the drawn pixels are what it holds
}

struct CaseMaker {
    const char* name;
    std::function<TraceCase(const char*)> make;
};

const std::vector<CaseMaker>& Makers() {
    const auto jpeg = [](int quality) {
        return [quality](QImage image) { return ThroughJpeg(image, quality); };
    };
    const auto grey = [](QImage image) { return ThroughJpeg(GreyScan(image, 6), 70); };
    const std::vector<TracedCurve> family{{0, 5.0}, {1, 5.0}, {2, 5.5}};
    const auto maker = [](ChartSpec (*spec)(), std::function<QImage(QImage)> saved,
                          std::vector<TracedCurve> traced) {
        return [=](const char* name) { return Case(name, spec(), saved, traced); };
    };
    static const std::vector<CaseMaker> makers{
        {"colour png", maker(ColourFamily, AsPng, family)},
        {"colour jpeg 60", maker(ColourFamily, jpeg(60), family)},
        {"colour jpeg 75", maker(ColourFamily, jpeg(75), family)},
        {"black grid, markers, dashes", maker(BlackOnBlackGrid, jpeg(70), {{0, 7.0}, {1, 11.0}})},
        {"one colour crossing twice", maker(CrossingTwice, jpeg(70), {{0, 1.0}, {1, 1.0}})},
        {"log axes", maker(LogAxes, AsPng, {{0, 1.0}, {1, 1.0}})},
        {"log axes jpeg 65", maker(LogAxes, jpeg(65), {{0, 1.0}, {1, 1.0}})},
        {"steep end", maker(SteepEnd, jpeg(70), {{0, 4.0}})},
        {"grey scan with grid", maker(ColourFamily, grey, {{0, 5.0}, {1, 5.0}})},
        {"3000 x 2000 scan, 4-pixel lines", maker(LargeScan, jpeg(70), family)},
        {"6000 x 8000 scan, 6-pixel lines", maker(PageScan, jpeg(70), family)},
        {"curve leaving the plot", maker(LeavesThePlot, AsPng, {{0, 5.0}})},
    };
    return makers;
}

}  // namespace

std::vector<std::string> TraceCaseNames() {
    std::vector<std::string> names;
    for (const CaseMaker& m : Makers()) names.emplace_back(m.name);
    return names;
}

TraceCase MakeTraceCase(const std::string& name) {
    for (const CaseMaker& m : Makers()) {
        if (name == m.name) return m.make(m.name);
    }
    throw std::invalid_argument("no trace case " + name);
}

}  // namespace kx::test
