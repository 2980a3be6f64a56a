#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

// The pieces that the single-line and the family Calc programs share: the
// interface remarks, the limit and range-check lines, the section blocks that
// pick a line's equation by X, and the closing lines.
namespace kx::core::calc_text {

using ProgramLines = std::vector<std::string>;

void Append(ProgramLines& out, std::span<const char* const> lines);

// A value as the program writes it: the Str$ text of a Single, with its
// leading blank when it is not negative.
std::string NumberText(float value);

// An integer without blanks ("3").
std::string IntegerText(int value);

// "Sub Calc(...)" is followed by the Dim lines of the variant and the error
// trap, then these remarks on the interface: flags 0 to 4, with `inverseFlags`
// those of the inverse solution (5 and 6), and the error flag 7.
void AppendInterfaceRemarks(ProgramLines& out, bool inverseFlags);

// Arms the handler at EL100, so that no run-time error of the program leaves
// Calc and stops the caller: it ends in EFLG% = 7 with ANS00! = 0.
void AppendErrorTrap(ProgramLines& out);

// "     XMIN! = 2 : XMAX! = 150" and the same for Y, from the family bounds.
void AppendLimits(ProgramLines& out, const PointBounds& bounds);

// From "   FFLG% = 0" to the YEXP2! line: the widening of the limits by 2 % of
// their size.
void AppendRangeWidening(ProgramLines& out);

// "   EQNO% = k: GoSub EQ00" for k = 1 .. lineCount.
void AppendCallLines(ProgramLines& out, int lineCount);

// Hands out the equation statements in order, entry 1 first. A list shorter
// than the program needs yields empty statements rather than reading past it.
class StatementCursor {
public:
    explicit StatementCursor(const std::vector<std::string>& statements)
        : statements_(statements) {}
    const std::string& next();

private:
    const std::vector<std::string>& statements_;
    std::size_t used_ = 0;
};

// Indentation of a section block: the If/Else lines of a two- or three-section
// line stand at `base`; the statements of a two-section line at
// `twoSectionStatement`; a three-section line nests by three blanks per level.
struct SectionIndent {
    std::size_t base = 0;
    std::size_t twoSectionStatement = 0;
};

// The statements of the line at one position, chosen by X at the section ends
// (the last section takes every X above the previous end). Each statement
// assigns YQ# (see AppendValueStore), and each section end is written by
// SectionEndText.
void AppendSectionBlock(ProgramLines& out, const DataSet& data, const FitResults& results,
                        int line, StatementCursor& statements, SectionIndent indent);

// A section end X1! is compared with, for the stored Single `end`: a Double
// literal ("1808.24401857#") just above the Single and below half the way to
// the next one, with at most 15 digits. Every BASIC then sends the same
// Singles to each section: one compares X1! with the Double itself, another
// rounds the Double to the nearest Single first (which is `end`), and an
// editor that keeps 15 digits of a Double leaves it as it is. A Single
// literal would not do: one BASIC keeps only six digits of it.
std::string SectionEndText(float end);

// The equation statement "Y!(k)=..." as the program runs it: "YQ#=...".
std::string ValueStatement(const std::string& statement);

// Every value that the program computes in double precision (YQ#) and then
// stores in a Single passes these two lines, at `indent` blanks: a value below
// the smallest normal Single becomes 0, one beyond the largest Single becomes
// the largest (with its sign). Hosts differ on the first (one stores a
// subnormal, another raises an error), and the second, met only by the
// inverse solution far outside the family, would otherwise end the call.
void AppendSingleOfValue(ProgramLines& out, std::size_t indent);

// The test that YQ# is no value a Single holds as a normal number.
std::string NoSingleTest();

// After the section blocks: the value of the equation is stored in Y!(EQNO%)
// through AppendSingleOfValue.
void AppendValueStore(ProgramLines& out);

// From the rule of equals signs to the two empty lines after "End Sub". The
// handler at EL100 gives EFLG% = 7 and ANS00! = 0 and leaves through LEND11.
// The family program also names ANS33! in the remarks.
void AppendEnding(ProgramLines& out, bool family);

inline const std::string kStarRule = "'" + std::string(73, '*');
inline const std::string kEqualsRule = "'" + std::string(73, '=');

}  // namespace kx::core::calc_text
