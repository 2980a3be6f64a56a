#include "core/codegen/validation_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/codegen/calc_evaluation.h"
#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::core {
namespace {

// Three significant digits are enough to judge a deviation.
std::string DeviationText(double deviation) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3G", deviation);
    return buffer;
}

std::string FlagsText(const std::array<bool, 8>& flags) {
    std::string text;
    for (int flag = 0; flag < 8; ++flag) {
        if (flags[flag]) text += (text.empty() ? "" : " ") + std::to_string(flag);
    }
    return text;
}

std::string Joined(std::initializer_list<std::string> fields) {
    std::string text;
    for (const std::string& field : fields) text += (text.empty() ? "" : "\t") + field;
    return text;
}

// The slopes of the monotone piecewise cubic at its points: the weighted
// harmonic mean of the neighbouring secants where they agree in sign, 0 at a
// turn; at the ends the three-point estimate, kept from overshooting.
std::vector<double> MonotoneSlopes(const std::vector<double>& u, const std::vector<double>& w) {
    const std::size_t n = u.size();
    std::vector<double> m(n, 0.0);
    if (n < 2) return m;
    std::vector<double> h(n - 1), d(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        h[i] = u[i + 1] - u[i];
        d[i] = (w[i + 1] - w[i]) / h[i];
    }
    if (n == 2) return {d[0], d[0]};
    for (std::size_t i = 1; i + 1 < n; ++i) {
        if (d[i - 1] * d[i] <= 0.0) continue;
        const double a = 2 * h[i] + h[i - 1];
        const double b = h[i] + 2 * h[i - 1];
        m[i] = (a + b) / (a / d[i - 1] + b / d[i]);
    }
    const auto end = [](double h0, double h1, double d0, double d1) {
        double slope = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
        if (slope * d0 <= 0.0) return 0.0;
        if (d0 * d1 < 0.0 && std::fabs(slope) > 3 * std::fabs(d0)) slope = 3 * d0;
        return slope;
    };
    m[0] = end(h[0], h[1], d[0], d[1]);
    m[n - 1] = end(h[n - 2], h[n - 3], d[n - 2], d[n - 3]);
    return m;
}

double HermiteAt(const std::vector<double>& u, const std::vector<double>& w,
                 const std::vector<double>& m, double at) {
    if (u.size() == 1) return w[0];
    const auto upper = std::upper_bound(u.begin() + 1, u.end() - 1, at);
    const std::size_t k = static_cast<std::size_t>(upper - u.begin()) - 1;
    const double h = u[k + 1] - u[k];
    const double t = (at - u[k]) / h;
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * w[k] + (t3 - 2 * t2 + t) * h * m[k] +
           (-2 * t3 + 3 * t2) * w[k + 1] + (t3 - t2) * h * m[k + 1];
}

// A line of points (or a traced centre line) in the coordinates of the axis
// types, with equal X merged into their mean Y.
struct ScaledCurve {
    bool logX = false, logY = false;
    std::vector<double> u, w;

    double U(double x) const { return logX ? std::log(x) : x; }
    double X(double at) const { return logX ? std::exp(at) : at; }
    double Y(double value) const { return logY ? std::exp(value) : value; }
};

ScaledCurve ScaledCurveOf(const std::vector<std::pair<double, double>>& points,
                          const CheckScale& scale) {
    ScaledCurve curve;
    // A logarithm only where every value has one.
    curve.logX = scale.logX && std::all_of(points.begin(), points.end(),
                                           [](const auto& p) { return p.first > 0.0; });
    curve.logY = scale.logY && std::all_of(points.begin(), points.end(),
                                           [](const auto& p) { return p.second > 0.0; });
    int merged = 0;
    for (const auto& [x, y] : points) {
        const double u = curve.U(x);
        const double w = curve.logY ? std::log(y) : y;
        if (!curve.u.empty() && u == curve.u.back()) {
            curve.w.back() = (curve.w.back() * merged + w) / (merged + 1);
            ++merged;
            continue;
        }
        if (!curve.u.empty() && u < curve.u.back()) continue;  // not ascending: not a curve
        curve.u.push_back(u);
        curve.w.push_back(w);
        merged = 1;
    }
    return curve;
}

// The traced centre line's Y at the midpoint, straight between its points.
std::optional<float> TracedAt(const std::vector<std::pair<double, double>>& traced,
                              const CheckScale& scale, const ScaledCurve& points, double u) {
    if (traced.size() < 2) return std::nullopt;
    CheckScale same = scale;
    same.logX = points.logX;
    same.logY = points.logY;
    const ScaledCurve line = ScaledCurveOf(traced, same);
    if (line.u.size() < 2 || u < line.u.front() || u > line.u.back()) return std::nullopt;
    const auto upper = std::upper_bound(line.u.begin() + 1, line.u.end() - 1, u);
    const std::size_t k = static_cast<std::size_t>(upper - line.u.begin()) - 1;
    const double t = (u - line.u[k]) / (line.u[k + 1] - line.u[k]);
    return static_cast<float>(line.Y(line.w[k] + t * (line.w[k + 1] - line.w[k])));
}

double DeviationFrom(float calc, float expected, double largestY) {
    const double scale = expected != 0.0f ? std::fabs(expected) : largestY > 0.0 ? largestY : 1.0;
    return std::fabs(static_cast<double>(calc) - expected) / scale;
}

void CheckMidpoints(const CalcFamily& family, const CheckScale& scale, double largestY,
                    CheckedLine& checked) {
    std::vector<std::pair<double, double>> points;
    for (const CheckedPoint& p : checked.points) points.emplace_back(p.x, p.y);
    const ScaledCurve curve = ScaledCurveOf(points, scale);
    if (curve.u.size() < 2) return;
    const std::vector<double> slopes = MonotoneSlopes(curve.u, curve.w);
    const auto& traced = scale.traced[static_cast<std::size_t>(checked.line)];
    for (std::size_t i = 0; i + 1 < checked.points.size(); ++i) {
        const CheckedPoint& a = checked.points[i];
        const CheckedPoint& b = checked.points[i + 1];
        if (!(a.x < b.x)) continue;
        const double u = (curve.U(a.x) + curve.U(b.x)) / 2;
        CheckedMidpoint mid;
        mid.after = a.point;
        mid.x = static_cast<float>(curve.X(u));
        if (!(mid.x > a.x && mid.x < b.x)) continue;  // no Single between them
        mid.interpolated = static_cast<float>(curve.Y(HermiteAt(curve.u, curve.w, slopes, u)));
        mid.traced = TracedAt(traced, scale, curve, u);
        const CalcAnswer answer = EvaluateCalc(family, mid.x, checked.parameter);
        mid.calc = answer.value;
        mid.flag = answer.flag;
        mid.deviation = DeviationFrom(mid.calc, mid.interpolated, largestY);
        if (mid.traced)
            mid.deviation =
                std::max(mid.deviation, DeviationFrom(mid.calc, *mid.traced, largestY));
        if (mid.deviation > checked.largestBetween || checked.largestBetweenAfter == 0) {
            checked.largestBetween = mid.deviation;
            checked.largestBetweenAfter = mid.after;
        }
        checked.betweenFlagsMet[static_cast<std::size_t>(std::clamp(mid.flag, 0, 7))] = true;
        checked.between.push_back(mid);
    }
}

// "3-4": the point and the next one of the line.
std::string PairText(const CheckedLine& line, int after) {
    for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
        if (line.points[i].point == after)
            return std::to_string(after) + "-" + std::to_string(line.points[i + 1].point);
    }
    return std::to_string(after);
}

CheckedLine CheckLine(const CalcFamily& family, const DataSet& data, int rank, int line,
                      const CheckScale& scale) {
    CheckedLine checked;
    checked.rank = rank;
    checked.line = line;
    checked.parameterText = Trimmed(data.parameterText[line]);
    checked.parameter = static_cast<float>(ValueOfText(checked.parameterText));
    double largestY = 0.0;
    for (int i = std::max<int>(data.firstPoint[line], 1); i <= data.preparedCount[line]; ++i) {
        if (TrimBlanks(data.yText[line][i]).empty()) continue;
        CheckedPoint p;
        p.point = i;
        p.x = static_cast<float>(ValueOfText(data.xText[line][i]));
        p.y = static_cast<float>(ValueOfText(data.yText[line][i]));
        const CalcAnswer answer = EvaluateCalc(family, p.x, checked.parameter);
        p.calc = answer.value;
        p.flag = answer.flag;
        largestY = std::max(largestY, std::fabs(static_cast<double>(p.y)));
        checked.points.push_back(p);
    }
    double sum = 0.0;
    for (CheckedPoint& p : checked.points) {
        p.deviation = DeviationFrom(p.calc, p.y, largestY);
        sum += p.deviation;
        if (p.deviation > checked.largestDeviation || checked.largestAt == 0) {
            checked.largestDeviation = p.deviation;
            checked.largestAt = p.point;
        }
        checked.flagsMet[static_cast<std::size_t>(std::clamp(p.flag, 0, 7))] = true;
    }
    if (!checked.points.empty()) {
        checked.meanDeviation = sum / static_cast<double>(checked.points.size());
    }
    CheckMidpoints(family, scale, largestY, checked);
    return checked;
}

}  // namespace

ValidationTable ValidationTableOf(const DataSet& data, const FitResults& results,
                                  const CheckScale& scale) {
    ValidationTable table;
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    table.status = build.status;
    if (build.status != CalcFamilyStatus::kReady) return table;
    for (int k = 1; k <= data.lineCount; ++k) {
        table.lines.push_back(CheckLine(build.family, data, k, data.lineOrder[k], scale));
    }
    return table;
}

double MonotoneCubicAt(const std::vector<double>& u, const std::vector<double>& w, double at) {
    if (u.empty()) return 0.0;
    return HermiteAt(u, w, MonotoneSlopes(u, w), at);
}

bool WithinLimit(const CheckedLine& line, double limit) {
    return !line.flagsMet[kCalcFailed] && line.largestDeviation <= limit &&
           !line.betweenFlagsMet[kCalcFailed] && line.largestBetween <= limit;
}

bool WithinLimit(const ValidationTable& table, double limit) {
    return std::all_of(table.lines.begin(), table.lines.end(),
                       [&](const CheckedLine& line) { return WithinLimit(line, limit); });
}

std::vector<std::string> ValidationListing(const ValidationTable& table) {
    std::vector<std::string> out;
    if (table.lines.empty()) return out;
    out.push_back(Joined({"Line", "Parameter", "Points", "Mean deviation", "Largest deviation",
                          "At point", "Largest between points", "Between points", "EFLG met"}));
    for (const CheckedLine& line : table.lines) {
        std::array<bool, 8> flags = line.flagsMet;
        for (std::size_t f = 0; f < flags.size(); ++f)
            flags[f] = flags[f] || line.betweenFlagsMet[f];
        out.push_back(Joined(
            {std::to_string(line.line), line.parameterText, std::to_string(line.points.size()),
             DeviationText(line.meanDeviation), DeviationText(line.largestDeviation),
             std::to_string(line.largestAt),
             line.between.empty() ? std::string() : DeviationText(line.largestBetween),
             line.between.empty() ? std::string() : PairText(line, line.largestBetweenAfter),
             FlagsText(flags)}));
    }
    out.emplace_back();
    out.push_back(Joined({"Line", "Parameter", "Point", "X", "Y", "Calc", "Deviation", "EFLG"}));
    for (const CheckedLine& line : table.lines) {
        for (const CheckedPoint& p : line.points) {
            out.push_back(
                Joined({std::to_string(line.line), line.parameterText, std::to_string(p.point),
                        SingleToPlainText(p.x), SingleToPlainText(p.y), SingleToPlainText(p.calc),
                        DeviationText(p.deviation), std::to_string(p.flag)}));
        }
    }
    out.emplace_back();
    out.push_back(Joined({"Line", "Parameter", "Between points", "X", "Interpolated", "Traced",
                          "Calc", "Deviation", "EFLG"}));
    for (const CheckedLine& line : table.lines) {
        for (const CheckedMidpoint& mid : line.between) {
            std::string text;
            for (const std::string& field : MidpointFields(line, mid))
                text += (text.empty() ? "" : "\t") + field;
            out.push_back(text);
        }
    }
    return out;
}

std::vector<std::string> MidpointFields(const CheckedLine& line, const CheckedMidpoint& mid) {
    return {std::to_string(line.line),
            line.parameterText,
            PairText(line, mid.after),
            SingleToPlainText(mid.x),
            SingleToPlainText(mid.interpolated),
            mid.traced ? SingleToPlainText(*mid.traced) : std::string(),
            SingleToPlainText(mid.calc),
            DeviationText(mid.deviation),
            std::to_string(mid.flag)};
}

}  // namespace kx::core
