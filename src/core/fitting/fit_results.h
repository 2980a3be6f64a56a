#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/fitting_log.h"

namespace kx::core {

// One chosen section of a line.
struct SectionFit {
    int16_t form = 0;        // 1..21; 0 when no form could be chosen
    int16_t firstIndex = 0;  // first point of the section in the line's points
    int16_t lastIndex = 0;   // last point (shared with the next section)
    int16_t sectionPoints = 0;
    float error = 0.0f;        // mean relative deviation, read back from its text
    std::array<float, 5> c{};  // C1..C4
    Coefficients coefficient{};
    std::string displayText;
    std::string programText;  // "Y1! = ..."
    // No form rated the section below 1000000: the form with the least
    // deviation among those rated at all was taken (form 0 when none was).
    bool leastBad = false;
};

// The chosen result of one line.
struct LineFit {
    int16_t sectionCount = 0;
    std::array<SectionFit, 4> sections{};  // 1..sectionCount
    float threeSectionError = 0.0f;        // combined error when sectionCount is 3
};

// Smallest and largest X and Y of a set of points. The start values are the
// float extremes, so that any first point replaces them.
struct PointBounds {
    float xMax = -std::numeric_limits<float>::max();
    float xMin = std::numeric_limits<float>::max();
    float yMax = -std::numeric_limits<float>::max();
    float yMin = std::numeric_limits<float>::max();
};

// Everything a fitting run produces; replaced by each run.
struct FitResults {
    std::array<LineFit, kMaxLines + 1> lineFit{};         // by line number
    std::array<PointBounds, kMaxLines + 1> rankBounds{};  // by rank
    PointBounds familyBounds;
    std::vector<std::string> statements;  // "Y!(k)=..." per section; entry 1 is statements[0]
    FittingLog fittingLog;                // the fitting-log list
    std::vector<std::string> summary;     // the result summary list
    std::vector<std::string> program;     // the generated Calc program
    int16_t partitionCounter = 0;         // what the progress gauge shows
    int threeSectionCounter = 0;          // three-section partitions of the whole run
    bool completed = false;               // the run ended without a stop
};

}  // namespace kx::core
