#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/data/preparation.h"
#include "core/fitting/fit_family.h"
#include "core/plot/plot_surface.h"
#include "core/plot/recording_surface.h"
#include "support/data_sets.h"

namespace kx::test {

// A prepared data set from (parameter, point text) lines.
inline core::DataSet Prepared(const std::vector<std::pair<std::string, std::string>>& lines) {
    core::DataSet data = WithLines(lines);
    EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared);
    return data;
}

// Line k of a family (parameter 10 k): the points X = 1..12 on a broken line
// with corners at X = 4 and 8, which the fitting driver fits exactly in three
// straight sections. Y stays positive, so both axes may be logarithmic.
inline double BrokenLine(int k, double x) {
    const double y = x <= 4 ? 2 * x : x <= 8 ? 8 + 0.5 * (x - 4) : 10 + 3 * (x - 8);
    return y * (1 + 0.25 * k);
}

inline core::DataSet BrokenLineFamily(int lines) {
    std::vector<std::pair<std::string, std::string>> texts;
    for (int k = 1; k <= lines; ++k) {
        std::string points;
        for (int x = 1; x <= 12; ++x) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%d,%.7g\r\n", x, BrokenLine(k, x));
            points += buffer;
        }
        texts.emplace_back(std::to_string(10 * k), points);
    }
    return Prepared(texts);
}

inline core::FitResults Fitted(core::DataSet& data) {
    core::FitResults results;
    EXPECT_TRUE(core::FitFamily(data, core::CalcSettings{}, results));
    return results;
}

// The recorded calls of one kind.
inline std::vector<core::DrawCall> CallsOf(const core::RecordingSurface& surface,
                                           core::DrawCall::Kind kind) {
    std::vector<core::DrawCall> calls;
    for (const core::DrawCall& call : surface.calls()) {
        if (call.kind == kind) calls.push_back(call);
    }
    return calls;
}

// The lines drawn in one colour.
inline std::vector<core::DrawCall> LinesIn(const core::RecordingSurface& surface,
                                           core::Rgb color) {
    std::vector<core::DrawCall> lines;
    for (const core::DrawCall& call : CallsOf(surface, core::DrawCall::Kind::kLine)) {
        if (call.color == color) lines.push_back(call);
    }
    return lines;
}

}  // namespace kx::test
