// The whole road on arbitrary bytes: a data file is read, prepared as the
// DataSet window prepares it, fitted, the program generated and the four
// listings written to memory. Whatever the input, the road ends in an outcome:
// no text holds "nan" or "inf", every program line has balanced parentheses,
// every statement of a usable run is one of the 21 equation forms, every
// listing encodes to CP932, and the program's family reads back from the run,
// with finite numbers for its C and Python texts and a check that covers every
// line with a flag and a finite deviation at each point.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/codegen/c_program.h"
#include "core/codegen/calc_family.h"
#include "core/codegen/calc_program.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/python_program.h"
#include "core/codegen/validation_table.h"
#include "core/data/preparation.h"
#include "core/files/cp932.h"
#include "core/files/data_file.h"
#include "core/files/listing.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/fit_family.h"
#include "core/fitting/section_fit.h"

namespace {

using namespace kx::core;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HasNonFiniteWord(std::string_view text) {
    for (std::string_view word : {"nan", "inf", "NAN", "INF", "NaN", "Inf"}) {
        if (text.find(word) != std::string_view::npos) return true;
    }
    return false;
}

bool Balanced(std::string_view text) {
    int depth = 0;
    for (char c : text) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (depth < 0) return false;
    }
    return depth == 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of a coefficient text at `at` without its sign mark ("1.23450E+03"),
// 0 when there is none.
std::size_t NumberAt(std::string_view text, std::size_t at) {
    std::size_t i = at;
    if (i + 11 > text.size() || !IsDigit(text[i]) || text[i + 1] != '.') return 0;
    for (i += 2; i < at + 7; ++i) {
        if (!IsDigit(text[i])) return 0;
    }
    if (text[i] != 'E' || (text[i + 1] != '+' && text[i + 1] != '-')) return 0;
    i += 2;
    const std::size_t digits = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - digits >= 2 && i - digits <= 3 ? i - at : 0;
}

// The shape of an equation: blanks dropped, every coefficient with its sign
// (or the operator before it) one "#".
std::string Shape(std::string_view text) {
    std::string shape;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t length = NumberAt(text, i); length > 0) {
            if (!shape.empty() && (shape.back() == '+' || shape.back() == '-')) shape.pop_back();
            shape += '#';
            i += length;
        } else {
            if (text[i] != ' ') shape += text[i];
            ++i;
        }
    }
    return shape;
}

// The shapes of the right sides of the 21 forms' statements.
const std::vector<std::string>& FormShapes() {
    static const std::vector<std::string> shapes = [] {
        std::vector<std::string> all;
        for (int form = 1; form <= kFormCount; ++form) {
            const std::string text = ProgramText(form, {0, 1.5, -2.5, 3.5, -4.5});
            all.push_back(Shape(text.substr(text.find('=') + 1)));
        }
        return all;
    }();
    return shapes;
}

bool IsFormStatement(const std::string& statement, int rank) {
    const std::string head = "Y!(" + std::to_string(rank) + ")=";
    if (statement.rfind(head, 0) != 0) return false;
    const std::string shape = Shape(std::string_view(statement).substr(head.size()));
    for (const std::string& form : FormShapes()) {
        if (shape == form) return true;
    }
    return false;
}

void CheckStatements(const DataSet& data, const FitResults& results) {
    std::size_t next = 0;
    for (int rank = 1; rank <= data.lineCount; ++rank) {
        const LineFit& fit = results.lineFit[data.lineOrder[rank]];
        Check(fit.sectionCount >= 1 && fit.sectionCount <= 3);
        for (int s = 1; s <= fit.sectionCount; ++s, ++next) {
            Check(next < results.statements.size());
            Check(IsFormStatement(results.statements[next], rank));
        }
    }
    Check(next == results.statements.size());
}

void CheckNoFormRates(const DataSet& data, const CalcSettings& settings, const FitResults& results,
                      const UnratedSection& unrated) {
    const SectionFit& section = results.lineFit[unrated.line].sections[unrated.section];
    LineTexts xs, ys;
    int n = 0;
    for (int i = section.firstIndex; i <= section.lastIndex; ++i) {
        ++n;
        xs[n] = data.xText[unrated.line][i];
        ys[n] = data.yText[unrated.line][i];
    }
    Check(n >= 1);
    for (const FitCandidate& candidate : FitSection(xs, ys, n, settings)) {
        Check(candidate.failed);
    }
}

bool Finite(const PointBounds& b) {
    return std::isfinite(b.xMin) && std::isfinite(b.xMax) && std::isfinite(b.yMin) &&
           std::isfinite(b.yMax);
}

void CheckFamilyOfTheProgram(const DataSet& data, const FitResults& results) {
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    Check(build.status == CalcFamilyStatus::kReady);
    // Every number the C and Python texts are written from is finite.
    Check(Finite(build.family.limits));
    for (const CalcLine& line : build.family.lines) {
        Check(std::isfinite(line.parameter) && Finite(line.range));
        for (const CalcSection& section : line.sections) {
            Check(std::isfinite(section.end));
            for (double c : section.c) Check(std::isfinite(c));
        }
    }
    Check(!CalcProgramInC(build.family).empty());
    Check(!CalcProgramInPython(build.family).empty());
    Check(!CalcProgramInMatlab(build.family).empty());
    Check(!CalcProgramInJavaScript(build.family).empty());
    Check(!CalcProgramInCSharp(build.family).empty());
    Check(!CalcProgramInFortran(build.family).empty());
    const ValidationTable table = ValidationTableOf(data, results);
    Check(static_cast<int>(table.lines.size()) == data.lineCount);
    for (const CheckedLine& line : table.lines) {
        Check(!line.points.empty());
        for (const CheckedPoint& point : line.points) {
            Check(point.flag >= 0 && point.flag <= 7);
            Check(std::isfinite(point.deviation) && std::isfinite(point.calc));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const DataFileRead read =
        ParseDataFile(std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (read.outcome != DataFileOutcome::kLoaded) return 0;
    DataSet data;
    ApplyDataFileRead(data, read);
    if (PrepareDataSet(data) != kPrepared) return 0;

    CalcSettings settings;
    settings.errorMode = static_cast<int16_t>(size % 3);
    FitResults results;
    Check(FitAndGenerate(data, settings, results));
    // A section is left without a form only when no form could be rated on
    // it at all (and every caller refuses such a run); otherwise every
    // statement is a real equation, even where no form rates well.
    bool usable = true;
    for (const UnratedSection& unrated : UnratedSections(data, results)) {
        Check(unrated.form >= 0 && unrated.form <= kFormCount);
        if (unrated.form == 0) {
            CheckNoFormRates(data, settings, results, unrated);
            usable = false;
        }
    }
    if (usable) {
        CheckStatements(data, results);
        CheckFamilyOfTheProgram(data, results);
    }

    Check(!results.program.empty());
    for (const std::string& line : results.program) Check(Balanced(line));
    const ResultLists lists = ResultListsOf(data, settings, results);
    for (int kind = kSaveProgram; kind <= kSaveHistory; ++kind) {
        const std::string text = ListingText(kind, lists);
        Check(!HasNonFiniteWord(text));
        Check(Utf8ToCp932(text).status == CodecStatus::kOk);
    }
    return 0;
}
