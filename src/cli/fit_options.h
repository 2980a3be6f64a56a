#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/codegen/program_listing.h"
#include "core/codegen/validation_table.h"
#include "core/fitting/calc_settings.h"
#include "core/plot/analysis_plot.h"

// The command line of kuvatelix-fit and the checks of its settings, which are
// those of the calculation-conditions and exclusion windows.
namespace kx::cli {

struct FitOptions {
    core::CalcSettings settings;
    std::optional<std::string> outFolder;
    std::string dataFile;
    core::ProgramLanguage language = core::ProgramLanguage::kBasic;
    // Print the check of the program against the points, and hold every
    // deviation to the limit.
    bool check = false;
    double checkLimit = core::kStandardCheckLimit;
    // The analysis plot of the fitted family, written into a PDF, SVG or PNG
    // file as the plot window draws it: the X limits as its boxes take them
    // ("0" follows the data), its "Log" checks, and the parameter labels.
    std::optional<std::string> plotFile;
    core::PlotSettings plot{"0", "0", false, false};
    bool plotLabels = false;
    bool help = false;
};

// A refused command line: the system's message (or a usage text) and what it
// refers to.
struct OptionError {
    std::string subject;  // the option or argument concerned
    std::string message;
    bool usage = false;  // the command line itself is malformed
};

struct ParsedOptions {
    FitOptions options;
    std::optional<OptionError> error;
};

ParsedOptions ParseFitOptions(const std::vector<std::string_view>& arguments);

extern const char* const kUsageText;

}  // namespace kx::cli
