// The accuracy table of the tracing: every chart of the test set traced from
// one seed per curve, scored against the drawn curve in pixels and, after a
// fit of the traced points, in values. A plain program; it prints the table.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>

#include "core/trace/curve_trace.h"
#include "trace_charts.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    std::printf("%-34s %5s %6s %7s %7s %7s %8s %7s %7s %6s\n", "chart", "curve", "points", "<=1px",
                "median", "largest", "covered", "fit<=1%", "width", "ms");
    int failures = 0;
    for (const std::string& name : kx::test::TraceCaseNames()) {
        const kx::test::TraceCase c = kx::test::MakeTraceCase(name);
        const kx::test::RgbPicture picture(c.picture);
        for (const kx::test::TracedCurve& t : c.traced) {
            const kx::core::PicturePoint seed = c.chart.OnCurve(t.curve, t.seedX);
            const auto start = std::chrono::steady_clock::now();
            const kx::core::TraceResult traced = kx::core::TraceCurve(picture.view, seed, {});
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            if (!traced.ok()) {
                std::printf("%-34s %5d  refused (%d)\n", name.c_str(), t.curve,
                            static_cast<int>(traced.fault));
                ++failures;
                continue;
            }
            const kx::test::TraceScore line = c.chart.Score(t.curve, traced.centreLine);
            const kx::test::TraceScore points = c.chart.Score(t.curve, traced.points);
            const double fit = c.chart.FitWithin(t.curve, traced.points, 0.01);
            const bool good = line.withinOnePixel >= 0.95 && line.median < 0.3 &&
                              line.largest <= 3 && points.largest <= 3 && line.coverage >= 0.95 &&
                              fit >= 0.95;
            if (!good) ++failures;
            std::printf("%-34s %5d %6zu %6.1f%% %7.3f %7.2f %7.1f%% %6.1f%% %7.2f %6.1f%s\n",
                        name.c_str(), t.curve, traced.centreLine.size(), 100 * line.withinOnePixel,
                        line.median, line.largest, 100 * line.coverage, 100 * fit,
                        traced.lineWidth, ms, good ? "" : "  *");
        }
    }
    std::printf(
        "\npoints: centre-line points scored; <=1px, median, largest: their distance "
        "to the drawn curve;\ncovered: share of the curve's X extent; fit<=1%%: share of "
        "X values where the Calc fitted\nfrom the 40 chosen points is within 1 %% of the "
        "drawn function. * marks a row short of the aims.\n");
    return failures == 0 ? 0 : 1;
}
