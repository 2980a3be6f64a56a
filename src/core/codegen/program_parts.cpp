#include "core/codegen/program_parts.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/data/numeric_text.h"

namespace kx::core::calc_text {

void Append(ProgramLines& out, std::span<const char* const> lines) {
    out.insert(out.end(), lines.begin(), lines.end());
}

std::string NumberText(float value) {
    return StrText(value);
}

std::string IntegerText(int value) {
    return std::to_string(value);
}

void AppendInterfaceRemarks(ProgramLines& out, bool inverseFlags) {
    static constexpr const char* kRemarks[] = {
        "   Rem   Calc XXPP! ,YYPP! , ANS00! , EFLG%",
        "   Rem   XXPP!     X_Value   <input>",
        "   Rem   YYPP!     Parameter <Input>",
        "   Rem   ANS00!    Calc_Value<Output>",
        "   Rem   EFLG%     計算処理FLG",
        "   Rem   EFLG% = 0 --- <OK>",
        "   Rem   EFLG% = 1 --- Ｘ値は０以下不可",
        "   Rem   EFLG% = 2 --- Ｘ値は範囲外(Mode1)",
        "   Rem   EFLG% = 3 --- ﾊﾟﾗﾒｰﾀ値は範囲外",
        "   Rem   EFLG% = 4 --- 計算Ｙ値は範囲外",
    };
    static constexpr const char* kInverseRemarks[] = {
        "   Rem   EFLG% = 5 --- Ｘ値は範囲外(Mode2)",
        "   Rem   EFLG% = 6 --- 未収束(Mode2)",
    };
    Append(out, kRemarks);
    if (inverseFlags) Append(out, kInverseRemarks);
    out.push_back("   Rem   EFLG% = 7 --- 計算処理エラー");
}

void AppendErrorTrap(ProgramLines& out) {
    out.push_back("   On Error GoTo EL100");
}

void AppendLimits(ProgramLines& out, const PointBounds& bounds) {
    out.push_back("     XMIN! =" + NumberText(bounds.xMin) +
                  " : XMAX! =" + NumberText(bounds.xMax));
    out.push_back("     YMIN! =" + NumberText(bounds.yMin) +
                  " : YMAX! =" + NumberText(bounds.yMax));
}

void AppendRangeWidening(ProgramLines& out) {
    // The allowance is taken from the size of each limit, so that a negative
    // limit widens the range as a positive one does instead of narrowing it.
    static constexpr const char* kLines[] = {
        "   FFLG% = 0",
        "   EXTRAP! = 0.02",
        "   XEXP1! = Abs(XMIN!) * EXTRAP!",
        "   XEXP2! = Abs(XMAX!) * EXTRAP!",
        "   YEXP1! = Abs(YMIN!) * EXTRAP!",
        "   YEXP2! = Abs(YMAX!) * EXTRAP!",
    };
    Append(out, kLines);
}

void AppendCallLines(ProgramLines& out, int lineCount) {
    for (int k = 1; k <= lineCount; ++k) {
        out.push_back("   EQNO% = " + IntegerText(k) + ": GoSub EQ00");
    }
}

const std::string& StatementCursor::next() {
    static const std::string kMissing;
    if (used_ >= statements_.size()) return kMissing;
    return statements_[used_++];
}

void AppendSectionBlock(ProgramLines& out, const DataSet& data, const FitResults& results,
                        int line, StatementCursor& statements, SectionIndent indent) {
    const std::string base(indent.base, ' ');
    if (line < 1 || line > kMaxLines) {
        out.push_back(base + ValueStatement(statements.next()));
        return;
    }
    const LineFit& fit = results.lineFit[line];
    // The end point belongs to the section that ends there.
    auto bound = [&](int section) -> std::string {
        const int point = fit.sections[section].lastIndex;
        if (point < 0 || point > kMaxPoints || data.xText[line][point].empty()) return {};
        const double value = ValueOfText(data.xText[line][point]);
        if (!FitsSingle(value)) return data.xText[line][point] + "!";
        return SectionEndText(static_cast<float>(value));
    };
    if (fit.sectionCount == 3) {
        const std::string inner(indent.base + 3, ' ');
        const std::string innermost(indent.base + 6, ' ');
        out.push_back(base + "If X1! <= " + bound(1) + " Then");
        out.push_back(inner + ValueStatement(statements.next()));
        out.push_back(base + "Else");
        out.push_back(inner + "If X1! <= " + bound(2) + " Then");
        out.push_back(innermost + ValueStatement(statements.next()));
        out.push_back(inner + "Else");
        out.push_back(innermost + ValueStatement(statements.next()));
        out.push_back(inner + "End If");
        out.push_back(base + "End If");
    } else if (fit.sectionCount == 2) {
        const std::string statementIndent(indent.twoSectionStatement, ' ');
        out.push_back(base + "If X1! <= " + bound(1) + " Then");
        out.push_back(statementIndent + ValueStatement(statements.next()));
        out.push_back(base + "Else");
        out.push_back(statementIndent + ValueStatement(statements.next()));
        out.push_back(base + "End If");
    } else {
        out.push_back(base + ValueStatement(statements.next()));
    }
}

namespace {

// A Double literal's text: BASIC writes its exponent with a capital E.
std::string DoubleLiteral(const char* begin, const char* end) {
    std::string text(begin, end);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text + "#";
}

int SignificantDigits(std::string_view text) {
    int digits = 0;
    bool leading = true;
    for (char c : text) {
        if (c == 'e' || c == 'E') break;
        if (c < '0' || c > '9') continue;
        if (c != '0') leading = false;
        if (!leading) ++digits;
    }
    return digits;
}

}  // namespace

std::string SectionEndText(float end) {
    // Near 0 the Singles are too close for a Double to stand between two of
    // them in every host; 0 itself and such tiny ends stay as they were.
    if (!(std::fabs(end) >= 1e-30f) || !std::isfinite(end)) return SingleToText(end) + "!";
    const double low = end;
    char buffer[40];
    // Most ends are Singles of a short decimal (12.5): that is the literal.
    const auto shortest = std::to_chars(buffer, buffer + sizeof buffer, low);
    if (SignificantDigits(std::string_view(buffer, shortest.ptr - buffer)) <= 15)
        return DoubleLiteral(buffer, shortest.ptr);
    const double gap =
        static_cast<double>(std::nextafter(end, std::numeric_limits<float>::infinity())) - low;
    const double target = low + gap / 4;
    for (int digits = 9; digits <= 15; ++digits) {
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, target,
                                           std::chars_format::general, digits);
        double read = 0;
        std::from_chars(buffer, written.ptr, read);
        if (read > low && read < low + gap / 2) return DoubleLiteral(buffer, written.ptr);
    }
    return SingleToText(end) + "!";
}

std::string ValueStatement(const std::string& statement) {
    const std::size_t equals = statement.find(")=");
    if (statement.rfind("Y!(", 0) != 0 || equals == std::string::npos) return statement;
    return "YQ#=" + statement.substr(equals + 2);
}

namespace {

// 1.17549435E-38 rounded up and 3.40282347E+38 rounded down, so that every
// value between them is a normal Single.
constexpr const char* kSmallestSingle = "1.1754944E-38";
constexpr const char* kLargestSingle = "3.402823E+38";

}  // namespace

void AppendSingleOfValue(ProgramLines& out, std::size_t indent) {
    const std::string blanks(indent, ' ');
    out.push_back(blanks + "If Abs(YQ#) < " + kSmallestSingle + " Then YQ# = 0");
    out.push_back(blanks + "If Abs(YQ#) > " + kLargestSingle + " Then YQ# = Sgn(YQ#) * " +
                  kLargestSingle);
}

std::string NoSingleTest() {
    return std::string("Abs(YQ#) < ") + kSmallestSingle + " Or Abs(YQ#) > " + kLargestSingle;
}

void AppendValueStore(ProgramLines& out) {
    AppendSingleOfValue(out, 3);
    out.push_back("   Y!(EQNO%) = YQ#");
}

void AppendEnding(ProgramLines& out, bool family) {
    out.push_back(kEqualsRule);
    out.push_back("EL100:");
    out.push_back("   EFLG% = 7: ANS00! = 0");
    out.push_back("   Resume LEND11");
    out.push_back("LEND11: Rem");
    out.push_back(" Rem  Form1.Text3.Text = Str$(ANS11!)");
    if (family) out.push_back(" Rem  Form1.Text4.Text = Str$(ANS33!)");
    out.push_back("   On Error GoTo 0");
    out.push_back("End Sub");
    out.push_back("");
    out.push_back("");
}

}  // namespace kx::core::calc_text
