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

// Every way a command line is refused.
enum class Refusal {
    kUnknownOption,
    kMissingValue,
    kUnknownLanguage,
    kPlotNotBuilt,  // --plot in a build without the plot painter
    kShapesNoPlot,  // a plot option without --plot FILE
    kNoDataFile,
    kMoreThanOneDataFile,
    kInputError,       // a value the conditions window's checks refuse
    kNoSystemLeft,     // --exclude leaves no coordinate system to fit
    kBadPlotFileName,  // a --plot name of no format the plot is written in
};

// What a refusal prints after its subject and how it ends the program.
struct RefusalRule {
    Refusal refusal;
    int status;
    bool usageFollows;  // the usage text follows the message
    const char* message;
};

const RefusalRule& RuleOf(Refusal refusal);

// A refused command line: what it refers to (the option, its value or the
// argument) and how.
struct OptionError {
    std::string subject;
    Refusal refusal;
};

struct ParsedOptions {
    FitOptions options;
    std::optional<OptionError> error;
};

// Whether the plot can be written into a file of this name; none where the
// plot is not built in.
using PlotNameCheck = bool (*)(std::string_view name);

ParsedOptions ParseFitOptions(const std::vector<std::string_view>& arguments,
                              PlotNameCheck plotName);

extern const char* const kUsageText;

}  // namespace kx::cli
