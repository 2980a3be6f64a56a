#include "core/codegen/calc_source_tables.h"

namespace kx::core {

bool IsList(const SourceTable& table) {
    return !table.perLine || table.columns == 1;
}

std::vector<SourceScalar> CalcScalarsOf(const CalcFamily& family) {
    return {{"lines", "The number of lines.", static_cast<int>(family.lines.size())},
            {"refuses_non_positive_x",
             "1: an X of 0 or below is refused where the neighbouring lines' X are above 0.",
             family.refusesNonPositiveX ? 1 : 0}};
}

namespace {

std::vector<double> Bounds(const PointBounds& b) {
    return {b.xMin, b.xMax, b.yMin, b.yMax};
}

}  // namespace

std::vector<SourceTable> CalcTablesOf(const CalcFamily& family) {
    SourceTable limits{"limits",
                       "Smallest and largest X, smallest and largest Y of the family.",
                       TableKind::kSingle,
                       false,
                       4,
                       {Bounds(family.limits)},
                       {""}};
    SourceTable parameter{
        "parameter", "The lines' parameters, ascending.", TableKind::kDouble, true, 1, {}, {}};
    SourceTable range{"range",
                      "Each line's smallest and largest X, smallest and largest Y.",
                      TableKind::kSingle,
                      true,
                      4,
                      {},
                      {}};
    SourceTable sections{
        "sections", "The number of its sections.", TableKind::kInteger, true, 1, {}, {}};
    SourceTable form{"form",
                     "The form of each section (1..21; 0: the value 0).",
                     TableKind::kInteger,
                     true,
                     3,
                     {},
                     {}};
    SourceTable coefficient{
        "coefficient", "C1..C4 of each section.", TableKind::kDouble, true, 12, {}, {}};
    SourceTable ends{
        "ends", "The last X of each section but the last.", TableKind::kSingle, true, 3, {}, {}};
    for (const CalcLine& line : family.lines) {
        std::vector<double> forms(3, 0.0), c(12, 0.0), endValues(3, 0.0);
        for (int s = 0; s < line.sectionCount && s < 3; ++s) {
            const CalcSection& section = line.sections[s];
            forms[s] = section.form;
            for (int i = 1; i <= 4; ++i) c[4 * s + i - 1] = section.c[i];
            if (s + 1 < line.sectionCount) endValues[s] = section.end;
        }
        parameter.rows.push_back({line.parameter});
        range.rows.push_back(Bounds(line.range));
        sections.rows.push_back({static_cast<double>(line.sectionCount)});
        form.rows.push_back(forms);
        coefficient.rows.push_back(c);
        ends.rows.push_back(endValues);
    }
    std::vector<SourceTable> tables = {limits, parameter,   range, sections,
                                       form,   coefficient, ends};
    for (SourceTable& table : tables) {
        if (!table.perLine) continue;
        for (const CalcLine& line : family.lines) {
            table.rowNotes.push_back("line " + std::to_string(line.line) + ", parameter " +
                                     line.parameterText);
        }
    }
    return tables;
}

std::vector<std::string> RowTexts(const SourceTable& table, std::size_t row,
                                  const ValueSyntax& syntax) {
    std::vector<std::string> texts;
    for (const double value : table.rows[row]) {
        switch (table.kind) {
            case TableKind::kInteger:
                texts.push_back(syntax.integer(static_cast<int>(value)));
                break;
            case TableKind::kSingle:
                texts.push_back(syntax.single(static_cast<float>(value)));
                break;
            case TableKind::kDouble: texts.push_back(syntax.real(value)); break;
        }
    }
    return texts;
}

std::string WrappedList(const std::vector<std::string>& texts, std::size_t perLine,
                        const std::string& indent, const std::string& lineEnd) {
    std::string text;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) text += i % perLine == 0 ? lineEnd + "\n" + indent : ", ";
        text += texts[i];
    }
    return text;
}

}  // namespace kx::core
