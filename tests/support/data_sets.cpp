#include "support/data_sets.h"

#include "core/data/numeric_text.h"
#include "core/files/data_file.h"
#include "core/files/save_file.h"
#include "support/temp_folder.h"

namespace kx::test {
namespace {

std::string ParameterText(double p) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", p);
    return buffer;
}

// A repeatable scatter in -1..1, as the points of a scanned graph have.
double Scatter(int line, int point) {
    const double v = std::sin(12.9898 * line + 78.233 * point) * 43758.5453;
    return 2.0 * (v - std::floor(v)) - 1.0;
}

TextLines AsText(const PointLines& lines, int digits) {
    TextLines texts;
    for (const auto& [parameter, points] : lines)
        texts.emplace_back(parameter, Rows(points, digits));
    return texts;
}

}  // namespace

std::string Rows(const Points& points, int digits, const char* separator) {
    std::string text;
    for (const auto& [x, y] : points) {
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "%.*g%s%.*g\r\n", digits, x, separator, digits, y);
        text += buffer;
    }
    return text;
}

Points Sample(int n, double x0, double dx, double (*f)(double, double), double parameter) {
    Points points;
    for (int i = 0; i < n; ++i) {
        const double x = x0 + dx * i;
        points.push_back({x, f(x, parameter)});
    }
    return points;
}

Points NoisySample(int n, double x0, double dx, double (*f)(double), double noise, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> jitter(0.0, 1.0);
    Points points;
    for (int i = 0; i < n; ++i) {
        const double x = x0 + dx * i;
        points.push_back({x, f(x) * (1 + noise * jitter(random))});
    }
    return points;
}

std::string CurveRows(int points, double a, double b, double noise, const char* separator,
                      unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> jitter(0.0, 1.0);
    Points curve;
    for (int i = 0; i < points; ++i) {
        const double x = 1.0 + 0.5 * i;
        curve.push_back({x, (a + b * std::pow(x, 1.3)) * (1.0 + noise * jitter(random))});
    }
    return Rows(curve, 6, separator);
}

std::string SingleRows(int points, double x0, double step) {
    std::string text;
    for (int i = 0; i < points; ++i) {
        text += core::SingleToText(static_cast<float>(x0 + step * i)) + "," +
                core::SingleToText(static_cast<float>(1.0 / (1.0 + x0 + step * i))) + "\r\n";
    }
    return text;
}

double Knee(double x, double) {
    return x < 10 ? 1 + 0.5 * x : 6 + 0.08 * (x - 10) * (x - 10) * (x - 10) / x;
}

core::DataSet WithLines(const TextLines& lines) {
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

core::DataSet WithParameters(const std::vector<const char*>& parameters,
                             const std::string& points) {
    TextLines lines;
    for (const char* parameter : parameters) lines.emplace_back(parameter, points);
    return WithLines(lines);
}

core::DataSet Typed(const std::vector<std::string>& boxes, core::DataSet data) {
    int line = 1;
    for (const std::string& box : boxes) {
        const core::KeyboardBox normalised = core::NormaliseKeyboardBox(box);
        data.pointText[line] = normalised.text;
        data.pointCount[line] = normalised.count;
        ++line;
    }
    return data;
}

core::KeyboardPages PagesOf(const core::DataSet& data,
                            const std::vector<std::string>& parameters) {
    core::KeyboardPages pages;
    for (std::size_t k = 0; k < parameters.size(); ++k) {
        const std::size_t line = k + 1;
        pages[line] = {parameters[k], std::to_string(data.pointCount[line])};
    }
    return pages;
}

PointLines AwkwardLines() {
    Points signs;
    for (int i = 0; i < 12; ++i) signs.push_back({i - 6.0, (i % 3 - 1) * 2.0});
    Points flat;
    for (int i = 0; i < 8; ++i) flat.push_back({static_cast<double>(i), 0.0});
    Points repeated;
    for (int i = 0; i < 14; ++i) repeated.push_back({1.0 + i / 4, 3.0 + 0.5 * (i % 4)});
    Points huge;
    for (int i = 0; i < 10; ++i) huge.push_back({2e15 * (i + 1), 3e20 * (i + 1) * (i + 1)});
    return {{"1", signs},    {"2", {{1, 2}, {2, 2}, {3, 2}}},
            {"3", flat},     {"4", {{0, 0}, {1, 1.1e-20}, {2, 1e10}, {3, 0}}},
            {"5", repeated}, {"6", huge}};
}

core::DataSet AwkwardFamily() {
    return WithLines(AsText(AwkwardLines(), 6));
}

core::DataSet Prepared(const TextLines& lines) {
    core::DataSet data = WithLines(lines);
    EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared);
    return data;
}

core::DataSet PreparedPoints(const PointLines& lines, int digits) {
    return Prepared(AsText(lines, digits));
}

core::DataSet PreparedFamily(const std::vector<int>& points, double noise) {
    TextLines lines;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const int line = static_cast<int>(k) + 1;
        lines.emplace_back(std::to_string(10 * line),
                           CurveRows(points[k], 5.0, 1.0 + 0.2 * line, noise, ",", 11u + k));
    }
    return Prepared(lines);
}

double BrokenLine(int k, double x) {
    const double y = x <= 4 ? 2 * x : x <= 8 ? 8 + 0.5 * (x - 4) : 10 + 3 * (x - 8);
    return y * (1 + 0.25 * k);
}

core::DataSet BrokenLineFamily(int lines) {
    PointLines family;
    for (int k = 1; k <= lines; ++k) {
        Points points;
        for (int x = 1; x <= 12; ++x) points.push_back({static_cast<double>(x), BrokenLine(k, x)});
        family.emplace_back(std::to_string(10 * k), points);
    }
    return PreparedPoints(family);
}

core::DataSet NoisyBentFamily(const std::vector<int>& counts, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> jitter(0.0, 0.01);
    PointLines lines;
    for (int n : counts) {
        Points points;
        for (int i = 0; i < n; ++i) {
            const double x = 1 + 0.5 * i;
            points.push_back(
                {x, (x < 10 ? 2 * x : 20 + std::sqrt(x - 10)) * (1 + jitter(random))});
        }
        lines.emplace_back(std::to_string(lines.size() + 1), points);
    }
    return PreparedPoints(lines, 6);
}

PointLines SpacedFamily(double spacing) {
    PointLines family;
    for (int k = 1; k <= 3; ++k) {
        auto f = [](double x, double kk) { return (1 + 0.3 * kk) * std::sqrt(x) + 0.2 * kk * kk; };
        family.push_back({ParameterText(spacing * k), Sample(20, 1, 1, f, k)});
    }
    return family;
}

std::vector<GridFamily> GridFamilies() {
    std::vector<GridFamily> families;

    PointLines thermistor;  // kilohms at 25 degrees; B = 3950 K
    for (double r25 : {1.0, 2.2, 4.7, 10.0}) {
        auto r = [](double t, double r0) {
            return r0 * std::exp(3950 * (1 / (t + 273.15) - 1 / 298.15));
        };
        thermistor.push_back({ParameterText(r25), Sample(34, -40, 5, r, r25)});
    }
    families.push_back({"Thermistor", thermistor});

    PointLines battery;  // volts over the share of the charge used, at two currents
    for (double amps : {0.5, 2.0}) {
        auto v = [](double q, double i) {
            return 4.15 - 0.12 * i - 0.006 * q - 0.35 * std::exp((q - 100) / 6);
        };
        battery.push_back({ParameterText(amps), Sample(21, 0, 5, v, amps)});
    }
    families.push_back({"Battery", battery});

    PointLines noisy;
    for (int k = 1; k <= 10; ++k) {
        Points points = Sample(
            21, 0, 2.5,
            [](double x, double p) { return (1 + 0.02 * p) * (5 + 0.3 * x + 0.004 * x * x); },
            10.0 * k);
        for (std::size_t i = 0; i < points.size(); ++i) {
            points[i].second *= 1 + 0.01 * Scatter(k, static_cast<int>(i));
        }
        noisy.push_back({ParameterText(10.0 * k), points});
    }
    families.push_back({"NoisyTen", noisy});

    PointLines falling;
    for (double p : {-1.0, 0.0, 1.0}) {
        falling.push_back(
            {ParameterText(p),
             Sample(
                 21, -10, 1, [](double x, double q) { return 4 + 2 * q - 0.5 * x; }, p)});
    }
    families.push_back({"FallingThroughZero", falling});

    PointLines rising;
    for (double p : {1.0, 2.0}) {
        rising.push_back({ParameterText(p),
                          Sample(
                              21, -20, 2, [](double x, double q) { return 0.5 * x + 3 * q; }, p)});
    }
    families.push_back({"RisingNegativeX", rising});
    return families;
}

core::DataSet HandPrepared(const std::vector<HandLine>& ranks) {
    core::DataSet data;
    data.lineCount = static_cast<int16_t>(ranks.size());
    int rank = 0;
    for (const HandLine& hand : ranks) {
        data.lineOrder[++rank] = static_cast<int16_t>(hand.line);
        data.parameterText[hand.line] = hand.parameter;
        for (const auto& [point, xText] : hand.xTexts) data.xText[hand.line][point] = xText;
        data.preparedCount[hand.line] = hand.preparedCount;
    }
    return data;
}

core::DataSet PreparedFile(const std::string& path) {
    core::DataSet data;
    core::ApplyDataFileRead(data, core::ReadDataFile(path));
    EXPECT_EQ(core::PrepareDataSet(data), core::kPrepared) << path;
    return data;
}

core::DataSet SavedAndRead(const std::string& text) {
    TempFolder folder;
    const std::string path = folder.file("family.dat");
    EXPECT_EQ(core::SaveText(path, text).status, core::SaveStatus::kSaved);
    const core::DataFileRead read = core::ReadDataFile(path);
    EXPECT_EQ(read.outcome, core::DataFileOutcome::kLoaded) << static_cast<int>(read.fault);
    core::DataSet back;
    core::ApplyDataFileRead(back, read);
    return back;
}

}  // namespace kx::test
