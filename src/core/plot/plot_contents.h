#pragma once

#include <string_view>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"
#include "core/plot/curve_samples.h"
#include "core/plot/plot_frame.h"
#include "core/plot/plot_observer.h"
#include "core/plot/plot_surface.h"

// What the plot shows inside its frame: the data marks, the fitted curves and
// the parameter labels.
namespace kx::core {

// A prepared X or Y text as the plot reads it: its value as a float (a value
// beyond the float range is held at the largest float).
float PreparedValue(std::string_view text);

// Sorts the points of every prepared line by X (Y moving with X) and writes
// them back in the short number form, so that the prepared texts stay sorted
// and reformatted ("2.50" becomes "2.5").
void SortPreparedLines(DataSet& data);

// A black circle at every prepared point inside the plot window, of a quarter
// of the width of "2" in the title's font (1.5 times that on the printer).
void DrawDataMarks(const DataSet& data, const PlotFrame& frame, PlotSurface& surface);

// The curve input of one fitted section of `line`: C3 and C4 are 0 for the
// two-coefficient forms; from and to are the X of the section's first and last
// point. A section whose points are not in the line gets no form.
SectionCurve SectionInput(const DataSet& data, int line, const SectionFit& section);

// The blue polyline of a section's samples from the first one inside the
// window's X range, up to the last one before xMax. A segment is drawn only
// when both its ends lie in the Y range, so the curve breaks where it leaves
// the window. Fewer than three samples from the first inside draw nothing.
void DrawSectionCurve(const std::vector<CurveSample>& samples, const PlotFrame& frame,
                      PlotSurface& surface);

// Sorts the prepared lines, draws the data marks and, while fit results are
// current, the curve of every section of every line in ascending parameter
// order. Pending events run once per section, before its curve is drawn.
void DrawPlotContents(DataSet& data, const FitResults& results, bool fitCurrent,
                      const PlotFrame& frame, PlotSurface& surface,
                      PlotObserver* observer = nullptr);

// Writes each line's trimmed parameter text in red with its top-left corner at
// the line's first point inside the window; a line without such a point gets
// none. Leaves the colour at RGB(18, 0, 0).
void DrawParameterLabels(const DataSet& data, const PlotFrame& frame, PlotSurface& surface);

}  // namespace kx::core
