#pragma once

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "core/data/data_set.h"
#include "core/data/preparation.h"

// Noisy, positive characteristic curves: line k of n points follows
// Y = (1 + 0.2 k) X^1.3 + 5 with 1 % noise, X from 1 in steps of 0.5.
inline kx::core::DataSet NoisyFamily(int lines, int points, unsigned seed = 42) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 0.01);
    kx::core::DataSet data;
    for (int line = 1; line <= kx::core::kMaxLines; ++line) kx::core::ResetLine(data, line);
    for (int line = 1; line <= lines; ++line) {
        std::string text;
        for (int i = 0; i < points; ++i) {
            const double x = 1.0 + 0.5 * i;
            const double y = ((1.0 + 0.2 * line) * std::pow(x, 1.3) + 5.0) * (1.0 + noise(random));
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.6g,%.6g\r\n", x, y);
            text += buffer;
        }
        data.parameterText[line] = std::to_string(10 * line);
        kx::core::SetPointText(data, line, text);
    }
    kx::core::PrepareDataSet(data);
    return data;
}
