#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/data/data_set.h"
#include "core/data/preparation.h"

// The one maker of test families: collected data sets, rows of a curve, and
// families prepared as the DataSet window prepares them.
namespace kx::test {

// A collected data set: line k gets the k-th (parameter text, point text).
inline core::DataSet WithLines(const std::vector<std::pair<std::string, std::string>>& lines) {
    core::DataSet data;
    for (int line = 1; line <= core::kMaxLines; ++line) core::ResetLine(data, line);
    int line = 1;
    for (const auto& [parameter, points] : lines) {
        data.parameterText[line] = parameter;
        core::SetPointText(data, line, points);
        ++line;
    }
    return data;
}

// Rows "X<separator>Y" of a curve Y = (a + b X^1.3) (1 + noise), CR LF ended.
inline std::string CurveRows(int points, double a, double b, double noise, const char* separator,
                             unsigned seed = 7) {
    std::mt19937 random(seed);
    std::normal_distribution<double> jitter(0.0, 1.0);
    std::string text;
    for (int i = 0; i < points; ++i) {
        const double x = 1.0 + 0.5 * i;
        const double y = (a + b * std::pow(x, 1.3)) * (1.0 + noise * jitter(random));
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "%.6g%s%.6g\r\n", x, separator, y);
        text += buffer;
    }
    return text;
}

// A family prepared as the DataSet window prepares it: line k has points[k-1]
// points and the parameter 10 k.
inline core::DataSet PreparedFamily(const std::vector<int>& points, double noise = 0.01) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const int line = static_cast<int>(k) + 1;
        lines.emplace_back(std::to_string(10 * line),
                           CurveRows(points[k], 5.0, 1.0 + 0.2 * line, noise, ",", 11u + k));
    }
    core::DataSet data = WithLines(lines);
    EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared);
    return data;
}

}  // namespace kx::test
