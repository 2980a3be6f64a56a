#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/data/data_set.h"
#include "core/files/file_outcome.h"
#include "core/fitting/fit_results.h"
#include "core/plot/analysis_plot.h"

// The analysis plot written into a file: a PDF page drawn as on the printer,
// an SVG drawing or a PNG picture, chosen by the file's extension. The plot
// window and the command line both write through here. A QGuiApplication must
// exist (it provides the fonts); no display is needed (see PlotGui).
namespace kx::render {

enum class PlotFileFormat { kPdf, kSvg, kPng };

// The format a file name asks for by its extension, in any case: ".pdf",
// ".svg" or ".png"; none for any other name.
std::optional<PlotFileFormat> PlotFileFormatOf(std::string_view path);

enum class PlotFileStatus {
    kWritten,
    kUnknownFormat,  // the name ends in none of .pdf, .svg, .png
    kRefused,        // X limits the plot window would refuse to draw
    kNotDrawn,       // the picture or its encoding could not be made
    kCannotWrite,    // the file could not be written: `file` tells why
};

struct PlotFileResult {
    PlotFileStatus status = PlotFileStatus::kWritten;
    core::FileOutcome file;  // the failed write of kCannotWrite
    bool ok() const { return status == PlotFileStatus::kWritten; }
};

// What a plot file shows: the pass's settings, the fitted curves or only the
// data marks, and the parameter labels or not.
struct PlotFileContents {
    core::PlotSettings settings;
    bool fitCurrent = true;
    bool parameterLabels = false;
};

// Draws the plot with the given settings as they stand (the window passes
// those of its picture) and writes the file whole or not at all: a failure
// leaves an earlier file of that name as it was. The pass leaves the prepared
// texts sorted, as every pass does.
PlotFileResult ExportAnalysisPlot(const std::string& path, core::DataSet& data,
                                  const core::FitResults& results,
                                  const PlotFileContents& contents);

// The plot of a fitted family as a program without the window asks for it:
// an X limit of "0" (or no number) stands for the data's limit, as in the
// window's boxes, and the limits are refused (kRefused, nothing written) as
// the window refuses them: Xmax not above Xmin, or a logarithmic X axis with
// a limit not above 0.
PlotFileResult WriteFamilyPlot(const std::string& path, core::DataSet& data,
                               const core::FitResults& results, const core::PlotSettings& settings,
                               bool parameterLabels);

}  // namespace kx::render
