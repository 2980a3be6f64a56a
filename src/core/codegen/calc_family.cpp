#include "core/codegen/calc_family.h"

#include <cmath>
#include <cstddef>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/scientific_text.h"

namespace kx::core {
namespace {

// What follows the "=" of an assignment ("Y!(2)= 1.5* X1!" gives " 1.5* X1!").
std::string_view RightHandSide(std::string_view statement, std::string_view equals) {
    const std::size_t at = statement.find(equals);
    return at == std::string_view::npos ? std::string_view()
                                        : statement.substr(at + equals.size());
}

PointBounds ProgramBounds(const PointBounds& b) {
    PointBounds out;
    out.xMax = ProgramSingle(b.xMax);
    out.xMin = ProgramSingle(b.xMin);
    out.yMax = ProgramSingle(b.yMax);
    out.yMin = ProgramSingle(b.yMin);
    return out;
}

// The section's equation with its coefficients as the statement writes them;
// false when the statement is not the one the section's form gives.
bool ReadSection(const SectionFit& fit, const std::string& statement, CalcSection& out) {
    if (RightHandSide(statement, ")=") !=
        RightHandSide(ProgramText(fit.form, fit.coefficient), "=")) {
        return false;
    }
    out.form = fit.form;
    for (int i = 1; i <= CoefficientCount(fit.form); ++i) {
        out.c[i] = ValueOfText(ScientificText(fit.coefficient[i]));
    }
    return true;
}

bool ReadLine(const DataSet& data, const FitResults& results, int line, std::size_t& statement,
              CalcLine& out) {
    const LineFit& fit = results.lineFit[line];
    if (fit.sectionCount < 1 || fit.sectionCount > 3) return false;
    out.line = line;
    out.parameterText = Trimmed(data.parameterText[line]);
    out.parameter = ValueOfText(out.parameterText);
    if (!std::isfinite(out.parameter)) return false;
    out.sectionCount = fit.sectionCount;
    for (int s = 1; s <= fit.sectionCount; ++s) {
        const SectionFit& section = fit.sections[s];
        CalcSection& calc = out.sections[s - 1];
        if (statement >= results.statements.size() ||
            !ReadSection(section, results.statements[statement++], calc)) {
            return false;
        }
        if (s == fit.sectionCount) break;
        // The end is written as a Single literal of the stored X text.
        const int point = section.lastIndex;
        if (point < 1 || point > kMaxPoints) return false;
        const std::string& text = data.xText[line][point];
        if (TrimBlanks(text).empty() || !IsNumericText(text) || !FitsSingle(ValueOfText(text))) {
            return false;
        }
        calc.end = static_cast<float>(ValueOfText(text));
    }
    return true;
}

}  // namespace

float ProgramSingle(float value) {
    return static_cast<float>(ValueOfText(StrText(value)));
}

CalcFamilyBuild CalcFamilyOf(const DataSet& data, const FitResults& results) {
    CalcFamilyBuild build;
    const int n = data.lineCount;
    if (results.program.empty() || n < 1 || n > kMaxLines) return build;
    build.status = CalcFamilyStatus::kInconsistent;
    CalcFamily& family = build.family;
    family.limits = ProgramBounds(results.familyBounds);
    family.lines.resize(n);

    std::size_t statement = 0;
    for (int k = 1; k <= n; ++k) {
        const int line = data.lineOrder[k];
        if (line < 1 || line > kMaxLines) return build;
        if (!ReadLine(data, results, line, statement, family.lines[k - 1])) return build;
    }
    if (n == 1) {
        const PointBounds& all = results.familyBounds;
        family.refusesNonPositiveX = all.xMin > 0.0f && all.xMax > 0.0f;
    } else {
        for (int k = 1; k <= n; ++k) {
            const PointBounds& rank = results.rankBounds[k];
            if (rank.xMin > 0.0f && rank.xMax > 0.0f) family.refusesNonPositiveX = true;
            // The range lines name positions by the line numbers in rank
            // order; a position no line number names keeps 0.
            const int position = data.lineOrder[k];
            if (position <= n) {
                family.lines[position - 1].range = ProgramBounds(results.rankBounds[position]);
            }
        }
    }
    build.status = CalcFamilyStatus::kReady;
    return build;
}

}  // namespace kx::core
