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

CheckedLine CheckLine(const CalcFamily& family, const DataSet& data, int rank, int line) {
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
        const double scale = p.y != 0.0f ? std::fabs(p.y) : largestY > 0.0 ? largestY : 1.0;
        p.deviation = std::fabs(static_cast<double>(p.calc) - p.y) / scale;
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
    return checked;
}

}  // namespace

ValidationTable ValidationTableOf(const DataSet& data, const FitResults& results) {
    ValidationTable table;
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    table.status = build.status;
    if (build.status != CalcFamilyStatus::kReady) return table;
    for (int k = 1; k <= data.lineCount; ++k) {
        table.lines.push_back(CheckLine(build.family, data, k, data.lineOrder[k]));
    }
    return table;
}

bool WithinLimit(const CheckedLine& line, double limit) {
    return !line.flagsMet[kCalcFailed] && line.largestDeviation <= limit;
}

bool WithinLimit(const ValidationTable& table, double limit) {
    return std::all_of(table.lines.begin(), table.lines.end(),
                       [&](const CheckedLine& line) { return WithinLimit(line, limit); });
}

std::vector<std::string> ValidationListing(const ValidationTable& table) {
    std::vector<std::string> out;
    if (table.lines.empty()) return out;
    out.push_back(Joined({"Line", "Parameter", "Points", "Mean deviation", "Largest deviation",
                          "At point", "EFLG met"}));
    for (const CheckedLine& line : table.lines) {
        out.push_back(Joined(
            {std::to_string(line.line), line.parameterText, std::to_string(line.points.size()),
             DeviationText(line.meanDeviation), DeviationText(line.largestDeviation),
             std::to_string(line.largestAt), FlagsText(line.flagsMet)}));
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
    return out;
}

}  // namespace kx::core
