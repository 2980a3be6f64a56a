#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/fit_observer.h"
#include "core/fitting/fit_results.h"

namespace kx::core {

// Fits every prepared line, in ascending parameter order, in one, two or three
// sections, and writes the fitting log, the result summary and the statement
// list. Rewrites the prepared X and Y texts of each line in sorted order.
// Returns false when the observer asked to stop: the run then ends at once and
// the results hold what was done so far. The program text is the generator's
// (see FitAndGenerate in the program generator).
bool FitFamily(DataSet& data, const CalcSettings& settings, FitResults& results,
               FitObserver* observer = nullptr);

// A section's share of a partition's combined error.
struct SectionScore {
    int points = 0;
    float error = 0.0f;
};

// The combined error of a partition by the error-evaluation mode: 0 the largest
// section error; 1 the point-weighted mean of all; 2 the point-weighted mean of
// the two largest (of equal errors the earlier section counts as the larger).
// With two sections modes 1 and 2 agree.
float CombinedError(int mode, std::span<const SectionScore> sections);

// The result details of a finished run, one list entry per string, and the
// mean error of the last line.
struct ResultDetails {
    std::vector<std::string> lines;
    float lastMeanError = 0.0f;
};
ResultDetails DescribeResults(const DataSet& data, const CalcSettings& settings,
                              const FitResults& results);

// A chosen section that no form rates below the selection start (1000000).
// With a form (1..21) the least-bad one was taken and the program follows the
// points, if loosely; form 0 means no form could be rated at all, and the
// section's statement is the constant 0, which the program must not be used
// with. The log and the details say so for every such section.
struct UnratedSection {
    int rank = 0;
    int line = 0;
    int section = 0;
    int form = 0;
};
std::vector<UnratedSection> UnratedSections(const DataSet& data, const FitResults& results);

// Length of the progress gauge's row of "*" for a partition count.
int GaugeLength(int partitionCounter, int progressTotal);

}  // namespace kx::core
