#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "test_charts.h"

// The set of charts the tracing is measured on, shared by its tests (a
// handful of them) and the accuracy table of its benchmark (all of them).
namespace kx::test {

struct TracedCurve {
    int curve = 0;     // of the chart
    double seedX = 0;  // chart X of the click on it
};

struct TraceCase {
    std::string name;
    TestChart chart;
    QImage picture;  // as saved and read back
    std::vector<TracedCurve> traced;
};

std::vector<std::string> TraceCaseNames();
// The chart of that name, drawn and saved (the large scan takes a moment).
TraceCase MakeTraceCase(const std::string& name);

}  // namespace kx::test
