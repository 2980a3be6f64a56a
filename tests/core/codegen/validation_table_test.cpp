#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/calc_evaluation.h"
#include "core/codegen/validation_table.h"
#include "core/data/numeric_text.h"
#include "support/basic_interpreter.h"
#include "support/near.h"

namespace kx::core {
namespace {

using test::FitRun;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

// Three straight lines, y = (1 + p / 10) x + p, fitted exactly.
FitRun StraightLines() {
    test::PointLines family;
    for (const char* p : {"20", "0", "10"}) {
        const double k = ValueOfText(p);
        family.push_back(
            {p, test::Sample(
                    8, 1, 1, [](double x, double q) { return (1 + q / 10) * x + q; }, k)});
    }
    return test::FitAndGenerateFamily(family);
}

// The table holds, for every point the run fitted, what the generated
// program returns at its X and its line's parameter.
TEST(ValidationTable, HoldsWhatTheProgramReturnsAtEveryPoint) {
    const FitRun fitted = test::FitAndGenerateFile(KX_SAMPLE_FILE);
    const ValidationTable table = ValidationTableOf(fitted.data, fitted.results);
    ASSERT_EQ(table.status, CalcFamilyStatus::kReady);
    ASSERT_EQ(table.lines.size(), 5u);
    const kx::test::basic::Program program(fitted.results.program);
    ASSERT_TRUE(program.ok()) << program.error();
    float previous = -1e30f;
    for (const CheckedLine& line : table.lines) {
        EXPECT_GT(line.parameter, previous);  // in parameter order
        previous = line.parameter;
        ASSERT_EQ(static_cast<int>(line.points.size()), fitted.data.preparedCount[line.line]);
        for (const CheckedPoint& p : line.points) {
            EXPECT_EQ(p.x, static_cast<float>(ValueOfText(fitted.data.xText[line.line][p.point])));
            EXPECT_EQ(p.y, static_cast<float>(ValueOfText(fitted.data.yText[line.line][p.point])));
            const auto basic = kx::test::basic::RunCalc(program, p.x, line.parameter);
            EXPECT_EQ(p.calc, basic.answer) << line.line << " " << p.point;
            EXPECT_EQ(p.flag, basic.flag) << line.line << " " << p.point;
            EXPECT_REL_NEAR(p.deviation, std::fabs(static_cast<double>(p.calc) - p.y) / p.y,
                            1e-12);
        }
        // The sample's points are read off a graph to four digits.
        EXPECT_LT(line.largestDeviation, 0.003);
        EXPECT_GT(line.largestDeviation, line.meanDeviation);
        EXPECT_TRUE(WithinLimit(line, 0.01));
        EXPECT_FALSE(WithinLimit(line, 0.0001));
    }
}

TEST(ValidationTable, DeviationsOfPointsOffTheCurve) {
    FitRun fitted = StraightLines();
    // After the run the line of parameter 10 (line 3) has two points moved:
    // one by 1 % of its Y, one to Y = 0.
    DataSet& data = fitted.data;
    data.yText[3][5] = SingleToText(static_cast<float>((2 * 5 + 10) * 1.01));
    data.yText[3][2] = "0";
    const ValidationTable table = ValidationTableOf(data, fitted.results);
    ASSERT_EQ(table.lines.size(), 3u);
    const CheckedLine& line = table.lines[1];
    ASSERT_EQ(line.line, 3);
    ASSERT_EQ(line.points.size(), 8u);
    for (const CheckedPoint& p : line.points) {
        EXPECT_EQ(p.flag, 0);
        EXPECT_REL_NEAR(p.calc, 2 * p.x + 10, 1e-6);
    }
    EXPECT_NEAR(line.points[4].deviation, 0.01 / 1.01, 1e-6);
    // A Y of 0 is measured against the line's largest |Y|, 2 x 8 + 10.
    EXPECT_NEAR(line.points[1].deviation, 14.0 / 26.0, 1e-6);
    EXPECT_EQ(line.largestAt, 2);
    EXPECT_NEAR(line.largestDeviation, 14.0 / 26.0, 1e-6);
    EXPECT_NEAR(line.meanDeviation, (14.0 / 26.0 + 0.01 / 1.01) / 8, 1e-6);
    EXPECT_LT(table.lines[0].largestDeviation, 1e-6);
    EXPECT_FALSE(WithinLimit(table, 0.5));
    // The points alone keep within 0.6; the curve they now describe, dipping
    // to 0 at point 2, lies further from the program between them.
    EXPECT_GT(line.largestBetween, 0.6);
    EXPECT_FALSE(WithinLimit(table, 0.6));
    EXPECT_TRUE(WithinLimit(table, line.largestBetween));
}

// A point where Calc cannot compute (a logarithm of a negative X) fails any
// limit, whatever its deviation.
TEST(ValidationTable, APointCalcCannotComputeFailsEveryLimit) {
    DataSet data;
    FitResults results;
    test::MakeFormFamily({{"1",
                           {{FormNumber(2, 1), {0, 1, 0}, ""}},
                           {.xMax = 8, .xMin = -2, .yMax = 3, .yMin = -1}}},
                         data, results);
    data.preparedCount[1] = 3;
    data.firstPoint[1] = 1;
    const char* points[][2] = {{"-1", "0"}, {"1", "0"}, {"2.718282", "1"}};
    for (int i = 1; i <= 3; ++i) {
        data.xText[1][i] = points[i - 1][0];
        data.yText[1][i] = points[i - 1][1];
    }
    const ValidationTable table = ValidationTableOf(data, results);
    ASSERT_EQ(table.lines.size(), 1u);
    const CheckedLine& line = table.lines[0];
    ASSERT_EQ(line.points.size(), 3u);
    EXPECT_EQ(line.points[0].flag, kCalcFailed);
    EXPECT_EQ(line.points[0].calc, 0.0f);
    EXPECT_EQ(line.points[0].deviation, 0.0);
    EXPECT_TRUE(line.flagsMet[kCalcFailed]);
    EXPECT_TRUE(line.flagsMet[kCalcOk]);
    EXPECT_FALSE(WithinLimit(table, 1e9));

    const std::vector<std::string> listing = ValidationListing(table);
    ASSERT_GE(listing.size(), 2u);
    EXPECT_EQ(Fields(listing[1]).back(), "0 7");
    const auto pointRow = std::find(listing.begin(), listing.end(), std::string()) + 4;
    ASSERT_LT(pointRow, listing.end());
    EXPECT_EQ(Fields(*pointRow),
              (std::vector<std::string>{"1", "1", "3", "2.718282", "1", "1", "0", "0"}));
}

TEST(ValidationTable, ListingIsATabSeparatedSummaryPointAndMidpointTable) {
    const FitRun fitted = StraightLines();
    const std::vector<std::string> listing =
        ValidationListing(ValidationTableOf(fitted.data, fitted.results));
    // Header, three lines, an empty line, header, 24 points, an empty line,
    // header, 21 midpoints.
    ASSERT_EQ(listing.size(), 1u + 3 + 1 + 1 + 24 + 1 + 1 + 21);
    EXPECT_EQ(listing[0],
              "Line\tParameter\tPoints\tMean deviation\tLargest deviation\tAt point\t"
              "Largest between points\tBetween points\tEFLG met");
    EXPECT_EQ(Fields(listing[1])[0], "2");  // parameter 0 first
    EXPECT_EQ(Fields(listing[1])[1], "0");
    EXPECT_EQ(Fields(listing[1])[2], "8");
    EXPECT_EQ(listing[4], "");
    EXPECT_EQ(listing[5], "Line\tParameter\tPoint\tX\tY\tCalc\tDeviation\tEFLG");
    const std::vector<std::string> last = Fields(listing[29]);
    ASSERT_EQ(last.size(), 8u);
    // Line 1 (parameter 20), point 8: y = 3 x 8 + 20.
    EXPECT_EQ((std::vector<std::string>{last[0], last[1], last[2], last[3], last[4], last[5]}),
              (std::vector<std::string>{"1", "20", "8", "8", "44", "44"}));
    EXPECT_EQ(last[7], "0");
    EXPECT_EQ(listing[30], "");
    EXPECT_EQ(listing[31],
              "Line\tParameter\tBetween points\tX\tInterpolated\tTraced\tCalc\tDeviation\tEFLG");
    // Between points 7 and 8 of line 1: X 7.5, y = 3 x 7.5 + 20, no traced line.
    EXPECT_EQ(Fields(listing.back()),
              (std::vector<std::string>{"1", "20", "7-8", "7.5", "42.5", "", "42.5", "0", "0"}));

    FitResults none;
    EXPECT_EQ(ValidationTableOf(fitted.data, none).status, CalcFamilyStatus::kNoProgram);
    EXPECT_TRUE(ValidationListing(ValidationTableOf(fitted.data, none)).empty());
}

// Between the points the check compares Calc with the curve the points
// describe there: a program that passes through every point but swings
// between them is seen; a smooth program on dense points is not blamed.
TEST(ValidationTable, TheCheckLooksBetweenThePoints) {
    DataSet data;
    FitResults results;
    // Y = X + (X - 1)(X - 2)(X - 3): exact at X = 1, 2, 3, a quarter off between.
    test::MakeFormFamily({{"1",
                           {{FormNumber(1, 3), {0, 1, -6, 12, -6}, ""}},
                           {.xMax = 3, .xMin = 1, .yMax = 3, .yMin = 1}}},
                         data, results);
    data.preparedCount[1] = 3;
    data.firstPoint[1] = 1;
    for (int i = 1; i <= 3; ++i) data.xText[1][i] = data.yText[1][i] = std::to_string(i);
    ValidationTable table = ValidationTableOf(data, results);
    ASSERT_EQ(table.lines.size(), 1u);
    const CheckedLine& swing = table.lines[0];
    EXPECT_LT(swing.largestDeviation, 1e-6);
    ASSERT_EQ(swing.between.size(), 2u);
    EXPECT_EQ(swing.between[0].after, 1);
    EXPECT_EQ(swing.between[0].x, 1.5f);
    EXPECT_NEAR(swing.between[0].interpolated, 1.5, 1e-6);
    EXPECT_NEAR(swing.between[0].calc, 1.875, 1e-5);
    EXPECT_NEAR(swing.largestBetween, 0.375 / 1.5, 1e-5);
    EXPECT_FALSE(WithinLimit(table, 0.01));
    EXPECT_TRUE(WithinLimit(table, 0.3));

    // On a logarithmic X axis the middle is taken in the logarithm; a traced
    // centre line, where there is one, is held against the program too.
    CheckScale scale;
    scale.logX = true;
    scale.traced[1] = {{1.0, 1.0}, {3.0, 2.0}};
    table = ValidationTableOf(data, results, scale);
    const CheckedMidpoint& mid = table.lines[0].between[0];
    EXPECT_FLOAT_EQ(mid.x, static_cast<float>(std::sqrt(2.0)));
    ASSERT_TRUE(mid.traced.has_value());
    EXPECT_GT(mid.deviation, std::fabs(mid.calc - mid.interpolated) / mid.interpolated);

    // Dense smooth lines of 30 to 100 points: within 1 % between them too.
    test::PointLines dense;
    for (int count : {30, 100}) {
        dense.push_back(
            {std::to_string(count),
             test::Sample(
                 count, 1, 60.0 / count,
                 [](double x, double p) { return (5 + x) * std::exp(-x / (20 + p)); }, count)});
    }
    const FitRun fitted = test::FitAndGenerateFamily(dense);
    table = ValidationTableOf(fitted.data, fitted.results);
    for (const CheckedLine& line : table.lines) {
        EXPECT_LT(line.largestDeviation, 0.005) << line.line;
        EXPECT_EQ(line.between.size(), line.points.size() - 1);
    }
    EXPECT_TRUE(WithinLimit(table, 0.01));
}

}  // namespace
}  // namespace kx::core
