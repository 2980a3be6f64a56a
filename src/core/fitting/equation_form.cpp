#include "core/fitting/equation_form.h"

#include "core/fitting/scientific_text.h"

namespace kx::core {
namespace {

constexpr const char* kCodes[kFormCount + 1] = {
    "",    "200", "300", "400", "210", "310", "410", "201", "301", "401", "211",
    "311", "411", "220", "320", "420", "202", "302", "402", "222", "322", "422"};

constexpr const char* kGenericTexts[kFormCount + 1] = {
    "",
    "Y = aX + b",
    "Y = aX^2 + bX + c",
    "Y = aX^3 + bX^2 + cX + d",
    "Y = aLn(X) + b",
    "Y = a(Ln(X))^2 + bLn(X) + c",
    "Y = a(Ln(X))^3 + b(Ln(X))^2 + cLn(X) + d",
    "Ln(Y) = aX + b",
    "Ln(Y) = aX^2 + bX + c",
    "Ln(Y) = aX^3 + bX^2 + cX + d",
    "Ln(Y) = aLn(X) + b",
    "Ln(Y) = a(Ln(X))^2 + bLn(X) + c",
    "Ln(Y) = a(Ln(X))^3 + b(Ln(X))^2 + cLn(X) + d",
    "Y = a(1/X) + b",
    "Y = a(1/X)^2 + b(1/X) + c",
    "Y = a(1/X)^3 + b(1/X)^2 + c(1/X) + d",
    "1/Y = aX + b",
    "1/Y = aX^2 + bX + c",
    "1/Y = aX^3 + bX^2 + cX + d",
    "1/Y = a(1/X) + b",
    "1/Y = a(1/X)^2 + b(1/X) + c",
    "1/Y = a(1/X)^3 + b(1/X)^2 + c(1/X) + d"};

constexpr const char* kPlainTerms[4] = {"", " X", " X^2", " X^3"};
constexpr const char* kPlainProgram[4] = {"", " X1!", " X1!^2", " X1!^3"};
constexpr const char* kLogTerms[4] = {"", " Log(X)", " (Log(X))^2", " (Log(X))^3"};
constexpr const char* kLogProgram[4] = {"", " Log(X1!)", " (Log(X1!))^2", " (Log(X1!))^3"};
constexpr const char* kInverseTerms[4] = {"", " (1/X)", " (1/X)^2", " (1/X)^3"};
constexpr const char* kInverseProgram[4] = {"", " (1/X1!)", " (1/X1!)^2", " (1/X1!)^3"};

// The text pieces of one coordinate system; the terms are indexed by power 1..3.
struct SystemTexts {
    const char* displayLeft;
    const char* const* displayTerm;
    const char* const* programTerm;
    const char* programStart;       // degrees 1 and 2
    const char* programStartCubic;  // degree 3
    const char* programEnd;
};

constexpr SystemTexts kSystems[kSystemCount + 1] = {
    {"", kPlainTerms, kPlainProgram, "", "", ""},
    {"Y = ", kPlainTerms, kPlainProgram, "Y1! = ", "Y1! = ", ""},
    {"Y = ", kLogTerms, kLogProgram, "Y1! = ", "Y1! = ", ""},
    {"Log(Y) = ", kPlainTerms, kPlainProgram, "Y1! = EXP( ", "Y1! = Exp( ", " )"},
    {"Log(Y) = ", kLogTerms, kLogProgram, "Y1! = EXP( ", "Y1! = Exp( ", " )"},
    {"Y = ", kInverseTerms, kInverseProgram, "Y1! = ", "Y1! = ", ""},
    {"1/Y = ", kPlainTerms, kPlainProgram, "Y1! = 1 / ( ", "Y1! = 1 / ( ", " )"},
    {"1/Y = ", kInverseTerms, kInverseProgram, "Y1! = 1 / ( ", "Y1! = 1 / ( ", " )"},
};

bool IsForm(int form) {
    return form >= 1 && form <= kFormCount;
}

// " + " and the coefficient text for a positive coefficient, otherwise " - " and
// the text without its sign mark (so 0 is written " - 0.00000E-50").
std::string SignedTerm(double coefficient) {
    const std::string text = ScientificText(coefficient);
    return coefficient > 0.0 ? " + " + text : " - " + text.substr(1);
}

}  // namespace

const char* EquationCode(int form) {
    return IsForm(form) ? kCodes[form] : "";
}

const char* GenericFormText(int form) {
    return IsForm(form) ? kGenericTexts[form] : "";
}

int CoefficientCount(int form) {
    return IsForm(form) ? DegreeOfForm(form) + 1 : 0;
}

std::string DisplayText(int form, const Coefficients& c) {
    if (!IsForm(form)) return "";
    const SystemTexts& s = kSystems[SystemOfForm(form)];
    const std::string c1 = ScientificText(c[1]);
    std::string text = s.displayLeft;
    switch (DegreeOfForm(form)) {
        case 1: text += c1 + s.displayTerm[1] + SignedTerm(c[2]); break;
        case 2:
            text += c1 + s.displayTerm[2] + " " + SignedTerm(c[2]) + s.displayTerm[1] +
                    SignedTerm(c[3]);
            break;
        default:
            text += c1 + s.displayTerm[3] + SignedTerm(c[2]) + s.displayTerm[2] +
                    SignedTerm(c[3]) + s.displayTerm[1] + SignedTerm(c[4]);
            break;
    }
    return text;
}

std::string ProgramText(int form, const Coefficients& c) {
    if (!IsForm(form)) return "Y1! = 0";
    const SystemTexts& s = kSystems[SystemOfForm(form)];
    const std::string c1 = ScientificText(c[1]);
    std::string text;
    switch (DegreeOfForm(form)) {
        case 1: text = s.programStart + c1 + "*" + s.programTerm[1] + SignedTerm(c[2]); break;
        case 2:
            text = s.programStart + c1 + "*" + s.programTerm[2] + " " + SignedTerm(c[2]) + "*" +
                   s.programTerm[1] + SignedTerm(c[3]);
            break;
        default:
            text = s.programStartCubic + c1 + "*" + s.programTerm[3] + SignedTerm(c[2]) + "*" +
                   s.programTerm[2] + SignedTerm(c[3]) + "*" + s.programTerm[1] + SignedTerm(c[4]);
            break;
    }
    return text + s.programEnd;
}

}  // namespace kx::core
