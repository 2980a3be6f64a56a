#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/data/data_set.h"

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

}  // namespace kx::test
