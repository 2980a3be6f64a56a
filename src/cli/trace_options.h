#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/trace/curve_trace.h"

// The command line of kuvatelix-trace: a picture, its calibration as the
// panel takes it (the origin's column and row, the column of the X end and
// the row of the Y end, with their values), and one seed per curve.
namespace kx::cli {

// One axis: the picture positions (columns for X, rows for Y) of two values.
struct AxisOption {
    double pixel0 = 0, pixel1 = 0;
    double value0 = 0, value1 = 0;
};

struct CurveSeed {
    core::PicturePoint at;
    std::string parameterText;
};

struct TraceOptions {
    std::string picture;
    AxisOption x, y;
    bool logX = false, logY = false;
    std::vector<CurveSeed> curves;
    core::TraceSettings settings;
    std::optional<std::string> outFile;
    std::optional<std::string> sessionFile;  // the picture, calibration and traced lines
    bool help = false;
};

enum class TraceRefusal {
    kUnknownOption,
    kMissingValue,
    kBadAxis,       // not four numbers
    kBadCurve,      // not two numbers and a parameter
    kBadCount,      // not a whole number 2..100
    kBadTolerance,  // not a number above 0
    kMissingAxis,
    kNoCurve,
    kTooManyCurves,  // more than a data set's ten lines
    kNoPicture,
    kMoreThanOnePicture,
};

struct TraceOptionError {
    std::string subject;
    TraceRefusal refusal;
};

struct ParsedTraceOptions {
    TraceOptions options;
    std::optional<TraceOptionError> error;
};

ParsedTraceOptions ParseTraceOptions(const std::vector<std::string_view>& arguments);

const char* TraceRefusalText(TraceRefusal refusal);

extern const char* const kTraceUsageText;

}  // namespace kx::cli
