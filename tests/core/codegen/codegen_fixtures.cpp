#include "codegen_fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "core/codegen/calc_program.h"
#include "core/data/numeric_text.h"
#include "core/data/preparation.h"
#include "core/files/data_file.h"

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

namespace {

// A repeatable scatter in -1..1, as the points of a scanned graph have.
double Scatter(int line, int point) {
    const double v = std::sin(12.9898 * line + 78.233 * point) * 43758.5453;
    return 2.0 * (v - std::floor(v)) - 1.0;
}

Points Curve(double x0, double dx, int n, double (*f)(double, double), double parameter) {
    return Sample(n, x0, dx, f, parameter);
}

std::string ParameterText(double p) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", p);
    return buffer;
}

}  // namespace

std::vector<GridFamily> GridFamilies() {
    std::vector<GridFamily> families;

    Family thermistor;  // kilohms at 25 degrees; B = 3950 K
    for (double r25 : {1.0, 2.2, 4.7, 10.0}) {
        auto r = [](double t, double r0) {
            return r0 * std::exp(3950 * (1 / (t + 273.15) - 1 / 298.15));
        };
        thermistor.push_back({ParameterText(r25), Curve(-40, 5, 34, r, r25)});
    }
    families.push_back({"Thermistor", thermistor});

    Family battery;  // volts over the share of the charge used, at two currents
    for (double amps : {0.5, 2.0}) {
        auto v = [](double q, double i) {
            return 4.15 - 0.12 * i - 0.006 * q - 0.35 * std::exp((q - 100) / 6);
        };
        battery.push_back({ParameterText(amps), Curve(0, 5, 21, v, amps)});
    }
    families.push_back({"Battery", battery});

    Family noisy;
    for (int k = 1; k <= 10; ++k) {
        Points points = Curve(
            0, 2.5, 21,
            [](double x, double p) { return (1 + 0.02 * p) * (5 + 0.3 * x + 0.004 * x * x); },
            10.0 * k);
        for (std::size_t i = 0; i < points.size(); ++i) {
            points[i].second *= 1 + 0.01 * Scatter(k, static_cast<int>(i));
        }
        noisy.push_back({ParameterText(10.0 * k), points});
    }
    families.push_back({"NoisyTen", noisy});

    Family falling;
    for (double p : {-1.0, 0.0, 1.0}) {
        falling.push_back(
            {ParameterText(p),
             Curve(
                 -10, 1, 21, [](double x, double q) { return 4 + 2 * q - 0.5 * x; }, p)});
    }
    families.push_back({"FallingThroughZero", falling});

    Family rising;
    for (double p : {1.0, 2.0}) {
        rising.push_back({ParameterText(p),
                          Curve(
                              -20, 2, 21, [](double x, double q) { return 0.5 * x + 3 * q; }, p)});
    }
    families.push_back({"RisingNegativeX", rising});
    return families;
}

Family SpacedFamily(double spacing) {
    Family family;
    for (int k = 1; k <= 3; ++k) {
        auto f = [](double x, double kk) { return (1 + 0.3 * kk) * std::sqrt(x) + 0.2 * kk * kk; };
        family.push_back({ParameterText(spacing * k), Curve(1, 1, 20, f, k)});
    }
    return family;
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

Fitted FitAndGenerateFamily(const Family& family, const CalcSettings& settings) {
    Fitted fitted{PreparedFamily(family), {}};
    EXPECT_TRUE(FitAndGenerate(fitted.data, settings, fitted.results));
    return fitted;
}

Fitted FitAndGenerateFile(const std::string& path) {
    Fitted fitted;
    ApplyDataFileRead(fitted.data, ReadDataFile(path));
    EXPECT_EQ(PrepareDataSet(fitted.data), kPrepared) << path;
    EXPECT_TRUE(FitAndGenerate(fitted.data, CalcSettings{}, fitted.results));
    return fitted;
}

void MakeFormFamily(const std::vector<FormLine>& ranks, DataSet& data, FitResults& results) {
    std::vector<LineFixture> fixtures;
    int rank = 0;
    for (const FormLine& line : ranks) {
        LineFixture fixture{++rank, line.parameter, {}, {}, line.bounds};
        int last = 0;
        for (const FormSection& section : line.sections) {
            last += 4;
            fixture.sectionEnds.push_back({last, section.end});
            const std::string program = ProgramText(section.form, section.c);
            fixture.statements.push_back("Y!(" + std::to_string(rank) +
                                         ")=" + program.substr(program.find('=') + 1));
        }
        fixtures.push_back(fixture);
    }
    MakeFamily(fixtures, data, results);
    for (std::size_t k = 0; k < ranks.size(); ++k) {
        LineFit& fit = results.lineFit[k + 1];
        for (std::size_t s = 0; s < ranks[k].sections.size(); ++s) {
            fit.sections[s + 1].form = static_cast<int16_t>(ranks[k].sections[s].form);
            fit.sections[s + 1].coefficient = ranks[k].sections[s].c;
        }
    }
    GenerateCalcProgram(data, results);
}

namespace {

// A share of the way from one parameter to the next, computed so that it
// stays a Single near the largest Single too.
float Between(float from, float to, double share) {
    return static_cast<float>(from + share * (static_cast<double>(to) - from));
}

}  // namespace

std::vector<Probe> CalcProbes(const DataSet& data, const FitResults& results) {
    std::vector<Probe> probes;
    std::vector<float> parameters;
    for (int k = 1; k <= data.lineCount; ++k) {
        parameters.push_back(
            static_cast<float>(ValueOfText(data.parameterText[data.lineOrder[k]])));
    }
    auto xOf = [&](int line, int i) {
        return static_cast<float>(ValueOfText(data.xText[line][i]));
    };
    for (int k = 1; k <= data.lineCount; ++k) {
        const int line = data.lineOrder[k];
        const float p = parameters[k - 1];
        std::vector<float> xs;
        for (int i = 1; i <= data.preparedCount[line]; ++i) {
            if (!data.xText[line][i].empty()) xs.push_back(xOf(line, i));
        }
        for (std::size_t i = 0; i < xs.size(); ++i) {
            probes.push_back({xs[i], p});
            if (i + 1 < xs.size()) probes.push_back({(xs[i] + xs[i + 1]) / 2, p});
            if (k < data.lineCount && i % 2 == 0) {
                probes.push_back({xs[i], Between(p, parameters[k], 0.5)});
            }
        }
        const LineFit& fit = results.lineFit[line];
        for (int s = 1; s < fit.sectionCount; ++s) {
            const float end = xOf(line, fit.sections[s].lastIndex);
            probes.push_back({end, p});
            probes.push_back({std::nextafter(end, HUGE_VALF), p});
        }
    }
    // Inside the X range at every parameter of the grid; outside it (where
    // the inverse solution works hardest) at the first, a middle and beyond
    // the last parameter.
    const PointBounds& range = results.familyBounds;
    const double span = static_cast<double>(range.xMax) - range.xMin;
    auto xAt = [&](double share) {
        return static_cast<float>(std::clamp(range.xMin + share * span, -3e38, 3e38));
    };
    const float first = parameters.front(), last = parameters.back();
    const double width = last > first ? static_cast<double>(last) - first : 1.0;
    std::vector<float> gridParameters = {static_cast<float>(first - 0.25 * width)};
    for (std::size_t k = 0; k < parameters.size(); ++k) {
        gridParameters.push_back(parameters[k]);
        if (k + 1 < parameters.size()) {
            gridParameters.push_back(Between(parameters[k], parameters[k + 1], 0.3));
        }
    }
    gridParameters.push_back(static_cast<float>(std::min(last + 0.25 * width, 3e38)));
    for (const float p : gridParameters) {
        for (const double share : {0.25, 0.6}) probes.push_back({xAt(share), p});
    }
    const float middle = gridParameters[gridParameters.size() / 2];
    for (const float p : {first, middle, gridParameters.back()}) {
        for (const float x : {0.0f, -std::fabs(range.xMax), xAt(-0.1), xAt(1.1), xAt(2.0)}) {
            probes.push_back({x, p});
        }
    }
    return probes;
}

}  // namespace kx::core::test
