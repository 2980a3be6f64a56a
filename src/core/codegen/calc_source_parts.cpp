#include "core/codegen/calc_source_parts.h"

#include <charconv>
#include <cstdlib>
#include <sstream>

#include "core/data/numeric_text.h"

namespace kx::core {
namespace {

template <typename T>
std::string Shortest(T value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

}  // namespace

namespace {

// What the header says differently in each language.
struct HeaderStyle {
    const char* language;            // "C99", as in "in C99."
    std::vector<std::string> call;   // how to call it
    const char* value;               // where the value goes ("*y")
    bool returnsBoth;                // returns the flag and the value together
    std::vector<std::string> notes;  // what it needs
    const char* prefix;              // of every comment line
};

HeaderStyle StyleOf(SourceLanguage language) {
    switch (language) {
        case SourceLanguage::kC:
            return {"C99",
                    {"    int kx_calc(double x, double p, double *y);"},
                    "*y",
                    false,
                    {"Standard library only (link with -lm). Compile without contraction of",
                     "floating-point operations (GCC and Clang: -ffp-contract=off) to keep",
                     "the last digit. Reentrant: no global state."},
                    " * "};
        case SourceLanguage::kPython:
            return {"Python 3",
                    {"    flag, y = kx_calc(x, p)"},
                    "y",
                    true,
                    {"Standard library only (math and struct)."},
                    "# "};
        case SourceLanguage::kMatlab:
            return {"MATLAB and GNU Octave",
                    {"    [flag, y] = kx_calc(x, p)"},
                    "y",
                    true,
                    {"A function file: keep it as kx_calc.m on the path. Scalar x and p;",
                     "base functions only, no toolbox."},
                    "% "};
        case SourceLanguage::kJavaScript:
            return {"JavaScript (an ES module)",
                    {"    import { kx_calc } from \"./kx_calc.mjs\";",
                     "    const [flag, y] = kx_calc(x, p);"},
                    "y",
                    true,
                    {"No imports: it runs in Node.js and in a browser."},
                    "// "};
        case SourceLanguage::kCSharp:
            return {"C#",  {"    int flag = KxCalc.Calc(x, p, out double y);"}, "y",
                    false, {"System only. Reentrant: no shared state."},        "// "};
        case SourceLanguage::kFortran:
            return {"Fortran 2008",
                    {"    use kx_calc_mod", "    flag = kx_calc(x, p, y)  ! real(8) x, p, y"},
                    "y",
                    false,
                    {"Standard Fortran 2008 only (the intrinsic module ieee_arithmetic).",
                     "Reentrant: no saved state."},
                    "! "};
    }
    return {};
}

// A section's equation form by its coordinate system and degree: forms are
// numbered 3 x (system - 1) + degree.
std::string FormText(int form) {
    static constexpr const char* kSystems[] = {"X,Y",   "Ln X,Y", "X,Ln Y", "Ln X,Ln Y",
                                               "1/X,Y", "X,1/Y",  "1/X,1/Y"};
    static constexpr const char* kDegrees[] = {"linear", "quadratic", "cubic"};
    if (form < 1 || form > 21) return "the value 0";
    return std::string(kSystems[(form - 1) / 3]) + " " + kDegrees[(form - 1) % 3];
}

// "line 2, parameter 25: Ln X,Y cubic to X = 3.826, then Ln X,Ln Y cubic".
std::string FitText(const CalcLine& line) {
    std::string text =
        "    line " + std::to_string(line.line) + ", parameter " + line.parameterText + ": ";
    for (int s = 0; s < line.sectionCount; ++s) {
        const CalcSection& section = line.sections[static_cast<std::size_t>(s)];
        if (s > 0) text += s + 1 == line.sectionCount ? ", then " : ", ";
        text += FormText(section.form);
        if (s + 1 < line.sectionCount) text += " to X = " + SingleToPlainText(section.end);
    }
    return text;
}

}  // namespace

std::vector<std::string> CalcSourceHeader(const CalcFamily& family, SourceLanguage language) {
    const HeaderStyle style = StyleOf(language);
    const std::string value = style.value;
    std::vector<std::string> text = {
        std::string("kx_calc: the Calc subroutine of a fitted family, in ") + style.language + ".",
        ""};
    text.insert(text.end(), style.call.begin(), style.call.end());
    text.push_back("");
    const std::vector<std::string> body = {
        "Evaluates the family at X = x and the parameter value p as the BASIC",
        "Calc(XXPP!, YYPP!, ANS00!, EFLG%) generated with it does: the lines'",
        "equations, the interpolation between the lines whose parameters bracket p,",
        style.returnsBoth
            ? "and the inverse solution. It returns the flag (EFLG%) and the value"
            : "and the inverse solution. It stores the value in " + value + " (ANS00!) and",
        style.returnsBoth ? "(ANS00!). The flags:" : "returns the flag (EFLG%):",
        "    0  the value is good",
        "    1  X of 0 or below is not allowed; " + value + " is 0",
        "    2  X is outside the X range of the neighbouring lines",
        "    3  the parameter is outside the family's parameters",
        "    4  the value is outside the Y range of the neighbouring lines",
        "    5  the inverse solution's X is outside their X range",
        "    6  the inverse solution did not converge",
        "    7  the value cannot be computed here; " + value + " is 0",
        "With flags 2 to 6 " + value + " holds the value computed all the same.",
        "",
        "x and p are taken as 32-bit floats, and the calculation rounds to 32-bit",
        "floats wherever the BASIC program keeps Singles, so that it gives the",
        "BASIC program's answers."};
    text.insert(text.end(), body.begin(), body.end());
    text.insert(text.end(), style.notes.begin(), style.notes.end());
    text.push_back("");
    const PointBounds& l = family.limits;
    const std::size_t n = family.lines.size();
    if (n == 1) {
        text.push_back("Family: one line (parameter " + family.lines.front().parameterText +
                       "); the parameter p is not used.");
    } else if (n > 1) {
        text.push_back("Family: " + std::to_string(n) + " lines, parameters " +
                       family.lines.front().parameterText + " to " +
                       family.lines.back().parameterText + ",");
    }
    text.push_back("X from " + SingleToPlainText(l.xMin) + " to " + SingleToPlainText(l.xMax) +
                   ", Y from " + SingleToPlainText(l.yMin) + " to " + SingleToPlainText(l.yMax) +
                   ".");
    text.push_back("The fit: each line's equations (coordinate system and degree) by X:");
    for (const CalcLine& line : family.lines) text.push_back(FitText(line));
    text.push_back("Generated by Kuvatelix.");

    const std::string prefix = style.prefix;
    for (std::string& line : text) {
        line = line.empty() ? prefix.substr(0, prefix.find_last_not_of(' ') + 1) : prefix + line;
    }
    return text;
}

std::string DoubleSource(double value) {
    return Shortest(value);
}

std::string FloatSourceC(float value) {
    return Shortest(value) + "f";
}

std::string FloatSourcePython(float value) {
    const std::string text = Shortest(value);
    // Rounded twice (to a double, then to a float), the shortest text can in
    // rare cases land on the neighbouring float.
    if (static_cast<float>(std::strtod(text.c_str(), nullptr)) == value) return text;
    return DoubleSource(value);
}

std::string IntegerSource(int value) {
    return std::to_string(value);
}

std::vector<std::string> SourceLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace kx::core
