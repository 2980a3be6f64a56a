#include "codegen_fixtures.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "core/codegen/calc_program.h"
#include "core/data/numeric_text.h"

namespace kx::test {

using namespace kx::core;

void MakeFamily(const std::vector<LineFixture>& ranks, DataSet& data, FitResults& results) {
    results = FitResults{};
    std::vector<HandLine> hand;
    int rank = 0;
    for (const LineFixture& fixture : ranks) {
        ++rank;
        HandLine& line = hand.emplace_back(HandLine{fixture.line, fixture.parameter, 1, {}});
        LineFit& fit = results.lineFit[fixture.line];
        fit.sectionCount = static_cast<int16_t>(fixture.sectionEnds.size());
        int s = 0;
        for (const auto& [last, xText] : fixture.sectionEnds) {
            SectionFit& section = fit.sections[++s];
            section.firstIndex = line.preparedCount;
            section.lastIndex = static_cast<int16_t>(last);
            section.sectionPoints = static_cast<int16_t>(last - line.preparedCount + 1);
            line.xTexts.emplace_back(last, xText);
            line.preparedCount = static_cast<int16_t>(last);
        }
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
    data = HandPrepared(hand);
}

std::vector<std::string> ProgramOf(const std::vector<LineFixture>& ranks) {
    DataSet data;
    FitResults results;
    MakeFamily(ranks, data, results);
    GenerateCalcProgram(data, results);
    return results.program;
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

FitRun FitAndGenerateFamily(const PointLines& family, const CalcSettings& settings) {
    FitRun run{PreparedPoints(family), {}};
    EXPECT_TRUE(FitAndGenerate(run.data, settings, run.results));
    return run;
}

FitRun FitAndGenerateFile(const std::string& path) {
    FitRun run{PreparedFile(path), {}};
    EXPECT_TRUE(FitAndGenerate(run.data, CalcSettings{}, run.results));
    return run;
}

FitRun FitKnee(const std::vector<const char*>& parameters) {
    const CalcSettings settings{.cutoffPrecision = 1e-6f};
    PointLines lines;
    for (const char* parameter : parameters)
        lines.push_back({parameter, Sample(30, 1, 1, Knee, 0)});
    return FitAndGenerateFamily(lines, settings);
}

std::vector<FitCase> GridAndSampleCases() {
    std::vector<FitCase> cases;
    for (const GridFamily& grid : GridFamilies()) {
        cases.push_back({grid.name, [lines = grid.lines] { return FitAndGenerateFamily(lines); }});
    }
    cases.push_back({"SampleDiodes", [] { return FitAndGenerateFile(KX_SAMPLE_FILE); }});
    return cases;
}

CalcFamily FamilyOf(const DataSet& data, const FitResults& results) {
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    EXPECT_EQ(build.status, CalcFamilyStatus::kReady);
    return build.family;
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

FormLine SystemLine(int system, const std::string& parameter, PointBounds bounds) {
    const Coefficients c = {0, 0.0123, -0.0456, 0.789, 1.5};
    FormLine line{parameter, {}, bounds};
    for (int degree = 1; degree <= 3; ++degree) {
        line.sections.push_back({FormNumber(system, degree), c,
                                 degree == 1   ? "2.5"
                                 : degree == 2 ? "5"
                                               : ""});
    }
    return line;
}

std::vector<FormLine> SevenSystems() {
    std::vector<FormLine> seven;
    for (int k = 1; k <= kSystemCount; ++k) {
        seven.push_back(SystemLine(k, std::to_string(k * 10),
                                   {.xMax = 6 + 0.2f * k,
                                    .xMin = k <= 2 ? -1.0f : 0.3f * k,
                                    .yMax = 4 + 0.5f * k,
                                    .yMin = 0.5f}));
    }
    return seven;
}

FormLine BeyondASingle(const std::string& parameter) {
    const FormSection tiny{FormNumber(3, 1), {0, -100, 0}, "1"};       // Exp(-100 X)
    const FormSection huge{FormNumber(1, 3), {0, 1e30, 0, 0, 0}, ""};  // 1E+30 X^3
    return {parameter, {tiny, huge}, {.xMax = 1000, .xMin = 0.1f, .yMax = 1e30f, .yMin = 0}};
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

}  // namespace kx::test
