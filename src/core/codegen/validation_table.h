#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/codegen/calc_family.h"
#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

// How well the generated Calc reproduces the points it was fitted to: for
// every line and point the value the program returns at the point's X and the
// line's parameter, and its deviation from the point's Y.
namespace kx::core {

struct CheckedPoint {
    int point = 0;  // number of the point in the line's prepared (sorted) points
    float x = 0.0f;
    float y = 0.0f;
    float calc = 0.0f;  // what Calc returns (ANS00!)
    int flag = 0;       // and its flag (EFLG%)
    // |Calc - Y| / |Y|; for a Y of 0 relative to the line's largest |Y|
    // instead, so that a line through 0 is measured by its size.
    double deviation = 0.0;
};

// A check between two neighbouring points of a line: at the middle of their
// X (in the logarithm on a logarithmic axis) what Calc returns against what
// the points say there (a monotone piecewise cubic through them, in the
// coordinates of the axis types) and, where one was traced, against the
// centre line of the curve on the picture.
struct CheckedMidpoint {
    int after = 0;  // between point `after` and the next
    float x = 0.0f;
    float interpolated = 0.0f;
    std::optional<float> traced;
    float calc = 0.0f;
    int flag = 0;
    double deviation = 0.0;  // the larger of the two, measured as at a point
};

struct CheckedLine {
    int rank = 0;
    int line = 0;
    std::string parameterText;
    float parameter = 0.0f;  // the value Calc is given
    std::vector<CheckedPoint> points;
    double meanDeviation = 0.0;
    double largestDeviation = 0.0;
    int largestAt = 0;               // the point of the largest deviation
    std::array<bool, 8> flagsMet{};  // flags 0..7 returned on the line's points
    std::vector<CheckedMidpoint> between;
    double largestBetween = 0.0;
    int largestBetweenAfter = 0;  // the midpoint of the largest: after this point
    std::array<bool, 8> betweenFlagsMet{};
};

struct ValidationTable {
    CalcFamilyStatus status = CalcFamilyStatus::kNoProgram;
    std::vector<CheckedLine> lines;  // in rank (ascending parameter) order
};

// How the check reads a line between its points: the axis types of the
// calibration the points came from (plain X and Y for typed or loaded data),
// and the centre lines traced on the picture, by line number, as axis values
// in ascending X (empty where none was traced).
struct CheckScale {
    bool logX = false;
    bool logY = false;
    std::array<std::vector<std::pair<double, double>>, kMaxLines + 1> traced{};
};

// The table of the last run: the points are those the run fitted (the
// prepared points with a Y text), in the order it sorted them, and the
// midpoints between each two of them with distinct X.
ValidationTable ValidationTableOf(const DataSet& data, const FitResults& results,
                                  const CheckScale& scale = {});

// The value at `u` of the monotone piecewise cubic through (u[i], w[i]), u
// strictly ascending (Fritsch and Carlson's slopes: no overshoot where the
// points run one way, flat at a turn).
double MonotoneCubicAt(const std::vector<double>& u, const std::vector<double>& w, double at);

// The deviation a check accepts unless told otherwise: 1 %.
inline constexpr double kStandardCheckLimit = 0.01;

// True when Calc computed every point and midpoint (no flag 7) within the
// relative deviation `limit`.
bool WithinLimit(const CheckedLine& line, double limit);
bool WithinLimit(const ValidationTable& table, double limit);

// The table as a listing, one text line per entry, columns separated by tabs:
// a header and one line per fitted line (points, mean and largest deviation,
// the point of the largest, the largest deviation between points and the
// pair it lies between, the flags met), an empty line, a header and one line
// per point (line, parameter, point, X, Y, Calc, deviation, flag), an empty
// line, a header and one line per midpoint (line, parameter, the two points,
// X, the interpolated Y, the traced Y, Calc, deviation, flag). Nothing when
// the table has no lines.
std::vector<std::string> ValidationListing(const ValidationTable& table);

// The fields of a midpoint's listing line.
std::vector<std::string> MidpointFields(const CheckedLine& line, const CheckedMidpoint& midpoint);

}  // namespace kx::core
