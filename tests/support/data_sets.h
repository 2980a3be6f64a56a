#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/data/data_set.h"
#include "core/data/preparation.h"

// The one maker of test families: the points and rows of curves, collected
// data sets, and families prepared as the DataSet window prepares them. A
// preparation that is refused fails the test that asked for the family.
namespace kx::test {

using Points = std::vector<std::pair<double, double>>;
// Lines as they are collected: (parameter text, point text) or (parameter
// text, points).
using TextLines = std::vector<std::pair<std::string, std::string>>;
using PointLines = std::vector<std::pair<std::string, Points>>;

// ---- Points and rows --------------------------------------------------------------

// Rows "X<separator>Y" CR LF, the numbers written with `digits` digits (%g).
std::string Rows(const Points& points, int digits = 7, const char* separator = ",");

// n points (x0 + i dx, f(x0 + i dx, parameter)).
Points Sample(int n, double x0, double dx, double (*f)(double, double), double parameter);

// n points (x, f(x) (1 + noise z)) at x = x0 + i dx, z standard normal from a
// generator seeded with `seed`.
Points NoisySample(int n, double x0, double dx, double (*f)(double), double noise = 0.0,
                   unsigned seed = 1);

// Rows of a curve Y = (a + b X^1.3) (1 + noise), X from 1 by 0.5, six digits.
std::string CurveRows(int points, double a, double b, double noise, const char* separator,
                      unsigned seed = 7);

// Rows of Y = 1 / (1 + X), X from x0 by step, both written as Singles are.
std::string SingleRows(int points, double x0, double step);

// A knee no single form follows: a line to X = 10, a cubic rise after it.
double Knee(double x, double parameter);

// ---- Collected data sets -----------------------------------------------------------

// Line k gets the k-th (parameter text, point text); the other lines are reset.
core::DataSet WithLines(const TextLines& lines);

// One line per parameter text, each with the same point text.
core::DataSet WithParameters(const std::vector<const char*>& parameters,
                             const std::string& points);

// The keyboard-entry window's boxes as it stores them in `data`: box k,
// normalised, is the point text and pair count of line k.
core::DataSet Typed(const std::vector<std::string>& boxes, core::DataSet data = {});
// The keyboard-entry window's pages for those lines: page k holds the k-th
// parameter text and the pair count of line k.
core::KeyboardPages PagesOf(const core::DataSet& data, const std::vector<std::string>& parameters);

// Lines that strain the fit, with parameters 1..6: signs changing and zeros,
// a constant, Y = 0 throughout, a section no form rates below 1000000,
// repeated X values, and values near the float limits.
PointLines AwkwardLines();
// Those lines collected (six digits), as the committed golden data file holds them.
core::DataSet AwkwardFamily();

// ---- Prepared families -------------------------------------------------------------

core::DataSet Prepared(const TextLines& lines);
// The points written with `digits` digits.
core::DataSet PreparedPoints(const PointLines& lines, int digits = 7);

// Line k has points[k-1] points of CurveRows (a = 5, b = 1 + 0.2 k) and the
// parameter 10 k.
core::DataSet PreparedFamily(const std::vector<int>& points, double noise = 0.01);

// Line k of a family (parameter 10 k): the points X = 1..12 on a broken line
// with corners at X = 4 and 8, which the fitting driver fits exactly in three
// straight sections. Y stays positive, so both axes may be logarithmic.
double BrokenLine(int k, double x);
core::DataSet BrokenLineFamily(int lines);

// Line k (parameter k) of counts[k-1] points X = 1, 1.5, ... on Y = 2 X up to
// X = 10 and 20 + sqrt(X - 10) after it, with 1 % noise from one generator.
core::DataSet NoisyBentFamily(const std::vector<int>& counts, unsigned seed);

// The same three curves with their parameters `spacing` apart (spacing,
// 2 spacing, 3 spacing); the curves do not depend on the spacing.
PointLines SpacedFamily(double spacing);

// Families of the kinds users bring, to run generated programs over the whole
// of their range. Every X range holds 0 as a data point where it has
// negative values.
struct GridFamily {
    const char* name;
    PointLines lines;
};
// Four thermistor curves (resistance falling steeply from X = -40 to 125), two
// battery discharge curves, ten noisy rising curves, three falling curves
// through zero with zero and negative parameters, and two rising lines over
// negative and positive X through zero.
std::vector<GridFamily> GridFamilies();
inline void PrintTo(const GridFamily& family, std::ostream* out) {
    *out << family.name;
}

// A prepared form written by hand, as fixtures of fit results need it: the
// lines in rank order, each with its parameter text, its prepared count and
// the X texts of some of its points; nothing else is set.
struct HandLine {
    int line = 0;
    std::string parameter;
    int16_t preparedCount = 0;
    std::vector<std::pair<int, std::string>> xTexts;  // point, X text
};
core::DataSet HandPrepared(const std::vector<HandLine>& ranks);

// ---- Families through files --------------------------------------------------------

// The lines of a data file, read as the load window reads them and prepared.
core::DataSet PreparedFile(const std::string& path);

// The data set a data file of `text` loads as, after the text is saved.
core::DataSet SavedAndRead(const std::string& text);

}  // namespace kx::test
