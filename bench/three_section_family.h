#pragma once

#include <cstdio>
#include <string>

#include "core/data/data_set.h"
#include "core/data/preparation.h"

// Line k runs through X = 1..24 on a broken line with corners at X = 8 and 16,
// so the fitting driver gives every line three sections.
inline kx::core::DataSet ThreeSectionFamily(int lines) {
    kx::core::DataSet data;
    for (int line = 1; line <= kx::core::kMaxLines; ++line) kx::core::ResetLine(data, line);
    for (int k = 1; k <= lines; ++k) {
        std::string text;
        for (int x = 1; x <= 24; ++x) {
            const double y = x <= 8 ? 2.0 * x : x <= 16 ? 16 + 0.5 * (x - 8) : 20 + 3.0 * (x - 16);
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%d,%.7g\r\n", x, y * (1 + 0.2 * k));
            text += buffer;
        }
        data.parameterText[k] = std::to_string(10 * k);
        kx::core::SetPointText(data, k, text);
    }
    kx::core::PrepareDataSet(data);
    return data;
}
