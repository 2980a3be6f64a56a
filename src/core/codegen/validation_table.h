#pragma once

#include <array>
#include <string>
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
};

struct ValidationTable {
    CalcFamilyStatus status = CalcFamilyStatus::kNoProgram;
    std::vector<CheckedLine> lines;  // in rank (ascending parameter) order
};

// The table of the last run: the points are those the run fitted (the
// prepared points with a Y text), in the order it sorted them.
ValidationTable ValidationTableOf(const DataSet& data, const FitResults& results);

// The deviation a check accepts unless told otherwise: 1 %.
inline constexpr double kStandardCheckLimit = 0.01;

// True when Calc computed every point (no flag 7) within the relative
// deviation `limit`.
bool WithinLimit(const CheckedLine& line, double limit);
bool WithinLimit(const ValidationTable& table, double limit);

// The table as a listing, one text line per entry, columns separated by tabs:
// a header and one line per fitted line (points, mean and largest deviation,
// the point of the largest, the flags met), an empty line, then a header and
// one line per point (line, parameter, point, X, Y, Calc, deviation, flag).
// Nothing when the table has no lines.
std::vector<std::string> ValidationListing(const ValidationTable& table);

}  // namespace kx::core
