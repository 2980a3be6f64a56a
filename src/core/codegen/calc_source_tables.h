#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"

// The family's numbers as the generated sources hold them apart from the
// calculation: a few tables with a row per line in ascending parameter order,
// the same tables in every language, each language writing them in its own
// syntax.
namespace kx::core {

enum class TableKind { kInteger, kSingle, kDouble };

struct SourceTable {
    const char* name;     // lower case with underscores ("range"), styled by the language
    const char* meaning;  // its comment
    TableKind kind;
    bool perLine;                           // a row per line; otherwise one row
    int columns;                            // values per row
    std::vector<std::vector<double>> rows;  // a Single's value is that float
    std::vector<std::string> rowNotes;      // "line 2, parameter 25" per row
};

// A table with one value per row, or with one row, is a list; the others are
// tables of rows.
bool IsList(const SourceTable& table);

struct SourceScalar {
    const char* name;
    const char* meaning;
    int value;
};

// The number of lines and whether X of 0 or below is refused.
std::vector<SourceScalar> CalcScalarsOf(const CalcFamily& family);

// limits, parameter, range, sections, form, coefficient (C1..C4 of the three
// sections, 0 where a line has fewer), end (the last X of each section; 0 for
// the last and the absent).
std::vector<SourceTable> CalcTablesOf(const CalcFamily& family);

// How a language writes the three kinds of value.
struct ValueSyntax {
    std::string (*integer)(int);
    std::string (*single)(float);
    std::string (*real)(double);
};

// The values of one row as `syntax` writes them.
std::vector<std::string> RowTexts(const SourceTable& table, std::size_t row,
                                  const ValueSyntax& syntax);

// Texts joined by ", ", at most `perLine` on a line; the lines after the first
// start with `indent` and every line but the last ends with `lineEnd` (", &"
// in Fortran, "," elsewhere).
std::string WrappedList(const std::vector<std::string>& texts, std::size_t perLine,
                        const std::string& indent, const std::string& lineEnd);

}  // namespace kx::core
