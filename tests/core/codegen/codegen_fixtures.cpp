#include "codegen_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "core/data/preparation.h"

namespace kx::core::test {

void MakeFamily(const std::vector<LineFixture>& ranks, DataSet& data, FitResults& results) {
    data = DataSet{};
    results = FitResults{};
    data.lineCount = static_cast<int16_t>(ranks.size());
    int rank = 0;
    for (const LineFixture& fixture : ranks) {
        ++rank;
        data.lineOrder[rank] = static_cast<int16_t>(fixture.line);
        data.parameterText[fixture.line] = fixture.parameter;
        LineFit& fit = results.lineFit[fixture.line];
        fit.sectionCount = static_cast<int16_t>(fixture.sectionEnds.size());
        int s = 0;
        int first = 1;
        for (const auto& [last, xText] : fixture.sectionEnds) {
            SectionFit& section = fit.sections[++s];
            section.firstIndex = static_cast<int16_t>(first);
            section.lastIndex = static_cast<int16_t>(last);
            section.sectionPoints = static_cast<int16_t>(last - first + 1);
            data.xText[fixture.line][last] = xText;
            first = last;
        }
        data.preparedCount[fixture.line] = static_cast<int16_t>(first);
        for (const std::string& statement : fixture.statements) {
            results.statements.push_back(statement);
        }
        results.rankBounds[rank] = fixture.bounds;
        PointBounds& all = results.familyBounds;
        all.xMin = std::min(all.xMin, fixture.bounds.xMin);
        all.xMax = std::max(all.xMax, fixture.bounds.xMax);
        all.yMin = std::min(all.yMin, fixture.bounds.yMin);
        all.yMax = std::max(all.yMax, fixture.bounds.yMax);
    }
}

DataSet PreparedFamily(const std::vector<std::pair<std::string, Points>>& lines) {
    DataSet data;
    for (int line = 1; line <= kMaxLines; ++line) ResetLine(data, line);
    int line = 0;
    for (const auto& [parameter, points] : lines) {
        ++line;
        std::string text;
        for (const auto& [x, y] : points) {
            char buffer[80];
            std::snprintf(buffer, sizeof buffer, "%.7g,%.7g\r\n", x, y);
            text += buffer;
        }
        data.parameterText[line] = parameter;
        SetPointText(data, line, text);
    }
    EXPECT_EQ(PrepareDataSet(data), kPrepared);
    return data;
}

Points Sample(int n, double x0, double dx, double (*f)(double, double), double parameter) {
    Points points;
    for (int i = 0; i < n; ++i) {
        const double x = x0 + dx * i;
        points.push_back({x, f(x, parameter)});
    }
    return points;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::vector<std::string> lines;
    std::string line;
    std::istringstream text(buffer.str());
    while (std::getline(text, line)) lines.push_back(line);
    return lines;
}

}  // namespace kx::core::test
