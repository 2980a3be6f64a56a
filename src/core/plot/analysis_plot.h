#pragma once

#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"
#include "core/plot/axis_scale.h"
#include "core/plot/axis_ticks.h"
#include "core/plot/plot_frame.h"
#include "core/plot/plot_observer.h"
#include "core/plot/plot_surface.h"

// The analysis plot: axes with their ticks, grid lines and labels, axis names
// and title around the data marks and the fitted curves, on any target.
namespace kx::core {

// The drawing settings of the plot window.
struct PlotSettings {
    std::string xMinText;  // Xmin box: a value other than 0 replaces the data's X minimum
    std::string xMaxText;  // Xmax box
    bool logX = false;     // X "Log" check
    bool logY = false;     // Y "Log" check
};

// What a pass lays out: the frame the curves and labels are drawn in, the two
// axes and their ticks, and the rectangle of drawing units the target shows.
struct PlotPass {
    PlotFrame frame;
    AxisScale xScale;
    AxisScale yScale;
    std::vector<AxisTick> xTicks;
    std::vector<AxisTick> yTicks;
    DrawingWindow window;
};

// Smallest and largest X and Y over the points of the prepared lines 1..N,
// from the start values +1E+15 and -1E+15 (left as they are without points).
PointBounds PlotDataRange(const DataSet& data);

// The X range a plot opens with (and the command line's plot is drawn over):
// the data range, with its X minimum (maximum) replaced by the Xmin (Xmax) box
// where the box holds a number other than 0.
PointBounds PlotOpeningRange(const DataSet& data, const PlotSettings& settings);

// The plot window's test before a pass: refused when Xmax is not greater than
// Xmin, or by too little for floats to resolve (fewer than 64 float steps
// apart), or when a logarithmic X axis is asked for and either is not above 0.
bool PlotRequestAccepted(const PlotSettings& settings);
// Refused for the logarithmic X axis alone (the window says so; a range the
// wrong way round is refused without a word).
bool PlotLogXRefused(const PlotSettings& settings);

// The drawing window of a target: on the screen the plot layout (the axes box
// with margins of 100 left, 50 right, 110 top and 80 bottom); on the printer
// the same with the left and bottom margins widened until the page's shape is
// filled at one scale for both directions.
DrawingWindow PlotDrawingWindow(bool toPrinter, PageSize page);

// The frame and axes of a pass, from the data range and the settings: the X
// limits from the boxes where they hold a number other than 0, a logarithmic
// axis only for a positive minimum, both axes widened to convenient limits.
PlotPass LayOutPlot(const DataSet& data, const PlotSettings& settings, bool toPrinter,
                    PageSize page);

// The axes, ticks, grid lines, labels, axis names and title of a laid-out pass.
void DrawPlotFrame(const PlotPass& pass, PlotSurface& surface);

// One full drawing pass: lays out the plot, clears a screen target, draws the
// frame and then the contents (the prepared texts are left sorted). Returns
// what the pass laid out; the parameter labels and later passes use its frame.
PlotPass DrawAnalysisPlot(DataSet& data, const FitResults& results, bool fitCurrent,
                          const PlotSettings& settings, bool toPrinter, PlotSurface& surface,
                          PlotObserver* observer = nullptr);

}  // namespace kx::core
