#include <algorithm>
#include <set>
#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/calc_steps_printer.h"

namespace kx::core {
namespace {

std::string KindOf(steps::Type type) {
    switch (type) {
        case steps::Type::kInt: return "integer";
        case steps::Type::kBool: return "logical";
        case steps::Type::kSingle: return "real(4)";
        case steps::Type::kDouble: return "real(8)";
        case steps::Type::kVoid: break;
    }
    return "";
}

std::string ZeroOf(steps::Type type) {
    switch (type) {
        case steps::Type::kInt: return "0";
        case steps::Type::kBool: return ".false.";
        case steps::Type::kSingle: return "0.0_4";
        default: return "0.0_8";
    }
}

std::string ShapeOf(const std::string& size) {
    return size == "lines" ? "kx_lines" : size;
}

// Where a line is best cut before `width`: after a comma or before an
// operator in its second half, as few parentheses deep as there is there,
// and as far right.
std::size_t CutOf(const std::string& line, std::size_t from, std::size_t width) {
    std::size_t cut = std::string::npos;
    int cutDepth = 0;
    int depth = 0;
    for (std::size_t i = from; i + 1 < line.size() && i < width; ++i) {
        depth += line[i] == '(' ? 1 : line[i] == ')' ? -1 : 0;
        const bool mark = line.compare(i, 2, ", ") == 0 || line.compare(i, 3, " + ") == 0 ||
                          line.compare(i, 7, " .and. ") == 0 || line.compare(i, 6, " .or. ") == 0;
        if (mark && i >= (from + width) / 2 && (cut == std::string::npos || depth <= cutDepth)) {
            cut = line[i] == ',' ? i + 1 : i;
            cutDepth = depth;
        }
    }
    return cut;
}

// Lines longer than free form takes well are continued with "&"; a note at
// the end of a line may pass the width.
std::vector<std::string> Wrapped(const std::vector<std::string>& lines) {
    constexpr std::size_t kWidth = 96;
    std::vector<std::string> wrapped;
    for (std::string line : lines) {
        const std::size_t indent = line.find_first_not_of(' ');
        auto code = [&line] { return std::min(line.find("  ! "), line.size()); };
        while (code() > kWidth + 4 && line.compare(indent, 1, "!") != 0) {
            const std::size_t cut = CutOf(line, indent, kWidth);
            if (cut == std::string::npos) break;
            wrapped.push_back(line.substr(0, cut) + " &");
            line = std::string(indent + 4, ' ') + line.substr(line.find_first_not_of(' ', cut));
        }
        wrapped.push_back(line);
    }
    return wrapped;
}

// Fortran has no exceptions: a fault is a field of the call's state that
// every step looks at. A function that may fail, or that reads or writes the
// state, takes it as its first argument; a statement whose calls may fail is
// followed by a look at the field, and a condition that may fail is worked
// out before the statement that tests it.
class FortranSteps : public steps::StepsPrinter {
public:
    FortranSteps() {
        depth_ = 1;
        braces_ = Braces::kNone;
    }

protected:
    std::string commentPrefix() const override { return "! "; }
    std::string noteSeparator() const override { return "  ! "; }
    std::string statementEnd() const override { return ""; }
    std::string breakText() const override { return "exit"; }

    void function(const steps::Function& f) override {
        const std::string name = "kx_" + f.name;
        const bool value = f.result != steps::Type::kVoid;
        for (const std::string& doc : f.doc) line("! " + doc);
        line((value ? KindOf(f.result) + " function " : std::string("subroutine ")) + name + "(" +
             parameters(f, takesRun(f) ? "r" : "") + ")");
        ++depth_;
        if (takesRun(f)) line("type(kx_run), intent(inout) :: r");
        for (const steps::Variable& p : f.params) line(KindOf(p.type) + ", value :: " + p.name);
        for (const steps::Variable& v : f.locals) {
            line(KindOf(v.type) + " :: " + v.name +
                 (v.size.empty() ? "" : "(" + ShapeOf(v.size) + ")"));
        }
        declareHelpers(f.body);
        if (value) line(name + " = " + ZeroOf(f.result));
        functionBody(f);
        --depth_;
        line((value ? "end function " : "end subroutine ") + name);
    }

    std::string field(const std::string& name) const override { return "r%" + name; }
    std::string constant(const std::string& name) const override { return "kx_" + name; }
    std::string functionName(const std::string& name) const override { return "kx_" + name; }
    // Setting the fault needs the state too.
    bool takesRun(const steps::Function& f) const override {
        return f.readsState || f.writesState || f.faults;
    }
    // A table of rows is stored a column a line: kx_range(1:4, k).
    std::string table(const steps::Expr& e) const override {
        std::string indices;
        for (const steps::Expr& index : e.args)
            indices = expr(index) + (indices.empty() ? "" : ", ") + indices;
        return "kx_" + e.name + "(" + indices + ")";
    }
    std::string element(const std::string& array, const steps::Expr& index) const override {
        return array + "(" + expr(index) + ")";
    }
    std::string real8(const steps::Expr& e, int context) const {
        if (e.kind == steps::Expr::Kind::kLiteral) return literal(e.name, steps::Type::kDouble);
        return e.type == steps::Type::kSingle ? widened(e) : expr(e, context);
    }
    std::string builtin(const steps::Expr& e) const override {
        const std::string a = e.args.empty() ? "" : real8(e.args[0], 0);
        if (e.name == "to_single") return "real(" + expr(e.args[0]) + ", 4)";
        if (e.name == "abs" || e.name == "is_nan")
            return (e.name == "abs" ? "abs(" : "ieee_is_nan(") + expr(e.args[0]) + ")";
        if (e.name == "sign") return "merge(0.0_8, sign(1.0_8, " + a + "), " + a + " == 0.0_8)";
        if (e.name == "whole") return "aint(" + a + ")";
        if (e.name == "pow") return real8(e.args[0], 9) + "**" + real8(e.args[1], 9);
        if (e.name == "is_finite") return "ieee_is_finite(" + a + ")";
        if (e.name == "nan") return "ieee_value(0.0_4, ieee_quiet_nan)";
        if (e.name == "idiv") return expr(e.args[0], 6) + " / " + expr(e.args[1], 7);
        if (e.name == "mod") return "mod(" + expr(e.args[0]) + ", " + expr(e.args[1]) + ")";
        return e.name + "(" + a + ")";  // log, exp
    }
    int builtinPrecedence(const steps::Expr& e) const override {
        if (e.name == "pow") return 8;
        return e.name == "idiv" ? 6 : 9;
    }
    std::string op(const std::string& name) const override {
        if (name == "and") return ".and.";
        if (name == "or") return ".or.";
        if (name == "not") return ".not. ";
        if (name == "!=") return "/=";
        return name;
    }
    std::string literal(const std::string& text, steps::Type want) const override {
        if (text == "true" || text == "false") return "." + text + ".";
        if (text.find_first_of(".e") == std::string::npos) return text;
        return text + (want == steps::Type::kSingle ? "_4" : "_8");
    }
    std::string promoted(const steps::Expr& e, int) const override { return widened(e); }
    std::string widened(const steps::Expr& e) const override { return "real(" + expr(e) + ", 8)"; }

    void statement(const steps::Statement& s) override {
        StepsPrinter::statement(s);
        const bool checked = s.kind == steps::Statement::Kind::kLet ||
                             s.kind == steps::Statement::Kind::kAssign ||
                             s.kind == steps::Statement::Kind::kCall;
        bool mayFail = false;
        for (const steps::Expr& e : s.exprs) mayFail |= steps::MayFail(e);
        if (checked && mayFail) line("if (r%fault) return");
    }
    void let(const steps::Statement& s) override {
        if (s.exprs.empty()) {
            line(s.name + " = " + ZeroOf(s.type));
        } else {
            line(withNote(s.name + " = " + exprAs(s.exprs[0], s.type), s.note));
        }
    }
    void branches(const steps::Statement& s) override {
        bool mayFail = false;
        for (const steps::Expr& e : s.exprs) mayFail |= steps::MayFail(e);
        if (!mayFail) {
            StepsPrinter::branches(s);
            return;
        }
        branchesFrom(s, 0);
    }
    // The branches from the i-th on, each condition worked out first.
    void branchesFrom(const steps::Statement& s, std::size_t i) {
        line("test = " + expr(s.exprs[i]));
        line("if (r%fault) return");
        open("if (test) then");
        block(s.blocks[i]);
        if (i + 1 < s.blocks.size()) {
            middle("else");
            if (i + 1 < s.exprs.size()) {
                branchesFrom(s, i + 1);
            } else {
                block(s.blocks[i + 1]);
            }
        }
        close(steps::Statement::Kind::kIf);
    }
    void loopWhile(const steps::Statement& s) override {
        if (!steps::MayFail(s.exprs[0])) {
            StepsPrinter::loopWhile(s);
            return;
        }
        open("do");
        line("test = " + expr(s.exprs[0]));
        line("if (r%fault) return");
        line("if (.not. test) exit");
        block(s.blocks[0]);
        close(s.kind);
    }
    void loopFor(const steps::Statement& s) override {
        open("do " + s.name + " = " + expr(s.exprs[0]) + ", " + expr(s.exprs[1]));
        block(s.blocks[0]);
        close(s.kind);
    }
    void lastReturn(const steps::Statement& s) override {
        line(withNote("kx_" + current_->name + " = " + exprAs(s.exprs[0], current_->result),
                      s.note));
    }
    void returnValue(const steps::Statement& s) override {
        if (!s.exprs.empty()) lastReturn(s);
        line("return");
    }
    void fail(const steps::Statement& s) override {
        line(withNote("r%fault = .true.", s.note));
        line("return");
    }
    void callStatement(const steps::Statement& s) override {
        const steps::Expr& e = s.exprs[0];
        const std::string text = e.type == steps::Type::kVoid
                                     ? "call " + expr(e)
                                     : "unused_" + KindName(e.type) + " = " + expr(e);
        line(withNote(text, s.note));
    }

    std::string endOf(steps::Statement::Kind kind) const override {
        return kind == steps::Statement::Kind::kIf ? "end if" : "end do";
    }
    std::string ifHead(const std::string& condition) const override {
        return "if (" + condition + ") then";
    }
    std::string elseIfHead(const std::string& condition) const override {
        return "else if (" + condition + ") then";
    }
    std::string whileHead(const std::string& condition) const override {
        return "do while (" + condition + ")";
    }

private:
    static std::string KindName(steps::Type type) {
        return type == steps::Type::kInt      ? "int"
               : type == steps::Type::kBool   ? "bool"
               : type == steps::Type::kSingle ? "single"
                                              : "double";
    }

    // The variables the spelling above needs besides the text's own: test
    // for a condition that may fail, unused_... for a value computed for its
    // faults alone.
    void declareHelpers(const steps::Block& body) {
        bool test = false;
        std::set<steps::Type> unused;
        Scan(body, test, unused);
        if (test) line("logical :: test");
        for (const steps::Type type : unused) line(KindOf(type) + " :: unused_" + KindName(type));
    }
    static void Scan(const steps::Block& body, bool& test, std::set<steps::Type>& unused) {
        for (const steps::Statement& s : body) {
            const bool branching =
                s.kind == steps::Statement::Kind::kIf || s.kind == steps::Statement::Kind::kWhile;
            for (const steps::Expr& e : s.exprs) test |= branching && steps::MayFail(e);
            if (s.kind == steps::Statement::Kind::kCall && s.exprs[0].type != steps::Type::kVoid)
                unused.insert(s.exprs[0].type);
            for (const steps::Block& inner : s.blocks) Scan(inner, test, unused);
        }
    }
};

// The state of a call, the constants, the functions and kx_calc.
void WriteCalculation(std::ostringstream& out) {
    const steps::CalcSteps& calc = steps::TheCalcSteps();
    out << "\n";
    for (const std::string& doc : calc.stateDoc) out << "    ! " << doc << "\n";
    out << "    ! A run-time error of the calculation sets fault: every step that meets\n"
        << "    ! it returns at once, and kx_calc returns flag 7.\n"
        << "    type :: kx_run\n        logical :: fault = .false.\n";
    for (const steps::Variable& field : calc.state) {
        out << "        " << KindOf(field.type) << " :: " << field.name
            << (field.size.empty() ? "" : "(" + ShapeOf(field.size) + ")") << " = "
            << ZeroOf(field.type) << (field.note.empty() ? "" : "  ! " + field.note) << "\n";
    }
    out << "    end type kx_run\n\n";
    for (const steps::Constant& constant : calc.constants) {
        for (const std::string& doc : constant.doc) out << "    ! " << doc << "\n";
        const bool single = constant.type == steps::Type::kSingle;
        out << "    " << KindOf(constant.type) << ", parameter :: kx_" << constant.name << " = "
            << (single ? "real(" + constant.value + "_8, 4)" : constant.value + "_8") << "\n";
    }
    out << "\ncontains\n\n";
    for (const std::string& line : Wrapped(FortranSteps().functions(calc))) out << line << "\n";
    out << "    ! The flag of the family at X = x and the parameter p; the value in y.\n"
        << "    integer function kx_calc(x, p, y)\n"
        << "        real(8), intent(in) :: x, p\n"
        << "        real(8), intent(out) :: y\n"
        << "        type(kx_run) :: r\n"
        << "        kx_calc = kx_calculate(r, x, p)\n"
        << "        y = real(r%ans00, 8)\n"
        << "        if (r%fault) then\n"
        << "            kx_calc = 7\n"
        << "            y = 0.0_8\n"
        << "        end if\n"
        << "    end function kx_calc\n\n"
        << "end module kx_calc_mod\n";
}

// Every real literal is a real(8); the Singles are rounded from it by real().
std::string Real(double value) {
    return DoubleSource(value) + "_8";
}

std::string Single(float value) {
    return FloatSourcePython(value) + "_8";
}

constexpr ValueSyntax kSyntax{IntegerSource, Single, Real};

std::string TypeOf(const SourceTable& table) {
    return table.kind == TableKind::kInteger  ? "integer"
           : table.kind == TableKind::kSingle ? "real(4)"
                                              : "real(8)";
}

// A table of rows is stored a column a line: kx_range(1:4, k).
void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    const std::string columns = std::to_string(table.columns);
    const std::string shape = !table.perLine  ? columns
                              : IsList(table) ? std::string("kx_lines")
                                              : columns + ", kx_lines";
    out << "    ! " << table.meaning << "\n    " << TypeOf(table) << ", parameter :: kx_"
        << table.name << "(" << shape << ") = ";
    const bool reshaped = table.perLine && !IsList(table);
    if (reshaped) out << "reshape(";
    if (singles) out << "real(";
    out << "[";
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 4, "        ", ", &");
    } else {
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            out << " &\n        ! " << table.rowNotes[row] << "\n        "
                << WrappedList(RowTexts(table, row, kSyntax), 4, "        ", ", &")
                << (row + 1 < table.rows.size() ? "," : "");
        }
    }
    out << "]";
    if (singles) out << ", 4)";
    if (reshaped) out << ", [" << shape << "])";
    out << "\n";
}

}  // namespace

std::vector<std::string> CalcProgramInFortran(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kFortran))
        out << line << "\n";
    out << "module kx_calc_mod\n"
        << "    use, intrinsic :: ieee_arithmetic, only: ieee_is_finite, ieee_is_nan, ieee_value, "
           "&\n"
        << "        ieee_quiet_nan\n"
        << "    implicit none\n    private\n    public :: kx_calc\n\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "    ! " << scalar.meaning << "\n    integer, parameter :: kx_" << scalar.name
            << " = " << scalar.value << "\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    WriteCalculation(out);
    return SourceLines(out.str());
}

}  // namespace kx::core
