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

// The families come from the one maker (support/data_sets.h): Prepared,
// BrokenLine and BrokenLineFamily, for the plot tests and the window tests.

// The family fitted with the start settings.
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
