#include "core/codegen/c_program.h"

#include <map>
#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_steps_printer.h"

namespace kx::core {
namespace {

// The state of a call lives in struct kx_run; a run-time error of the
// calculation jumps back to kx_calc, which returns flag 7. A function that
// may fail, or that reads or writes the state, takes it first.
class CSteps : public steps::StepsPrinter {
public:
    static std::string TypeName(steps::Type type) {
        switch (type) {
            case steps::Type::kVoid: return "void";
            case steps::Type::kInt:
            case steps::Type::kBool: return "int";
            case steps::Type::kSingle: return "float";
            case steps::Type::kDouble: return "double";
        }
        return "void";
    }

protected:
    bool oneLineIfs() const override { return true; }
    std::string commentPrefix() const override { return "/* "; }
    std::string noteSeparator() const override { return " /* "; }
    std::string commentEnd() const override { return " */"; }

    void function(const steps::Function& f) override {
        if (!f.doc.empty()) {
            for (std::size_t i = 0; i < f.doc.size(); ++i)
                line((i == 0 ? "/* " : "   ") + f.doc[i] + (i + 1 == f.doc.size() ? " */" : ""));
        }
        const std::string params = parameters(f, takesRun(f) ? "struct kx_run *r" : "");
        line("static " + TypeName(f.result) + " kx_" + f.name + "(" +
             (params.empty() ? "void" : params) + ")");
        line("{");
        ++depth_;
        block(f.body);
        --depth_;
        line("}");
    }

    std::string parameter(const steps::Variable& p) const override {
        return TypeName(p.type) + " " + p.name;
    }
    std::string field(const std::string& name) const override { return "r->" + name; }
    std::string constant(const std::string& name) const override { return "kx_" + name; }
    std::string functionName(const std::string& name) const override { return "kx_" + name; }
    // kx_fail needs the state too.
    bool takesRun(const steps::Function& f) const override {
        return f.readsState || f.writesState || f.faults;
    }
    std::string scalar(const std::string& name) const override {
        return name == "lines" ? "KX_LINES" : "kx_" + name;
    }
    std::string builtin(const steps::Expr& e) const override {
        static const std::map<std::string, std::string> kNames = {{"log", "log"},
                                                                  {"exp", "exp"},
                                                                  {"whole", "trunc"},
                                                                  {"pow", "pow"},
                                                                  {"is_finite", "isfinite"},
                                                                  {"is_nan", "isnan"}};
        const std::string args = arguments(e.args, nullptr);
        if (e.name == "to_single") return "(float)" + expr(e.args[0], 9);
        if (e.name == "abs")
            return (e.args[0].type == steps::Type::kSingle ? "fabsf(" : "fabs(") + args + ")";
        if (e.name == "sign") {
            const std::string v = expr(e.args[0], 5);
            return "(double)((" + v + " > 0.0) - (" + v + " < 0.0))";
        }
        if (e.name == "nan") return "NAN";
        if (e.name == "idiv") return expr(e.args[0], 6) + " / " + expr(e.args[1], 7);
        if (e.name == "mod") return expr(e.args[0], 6) + " % " + expr(e.args[1], 7);
        return kNames.at(e.name) + "(" + args + ")";
    }
    int builtinPrecedence(const steps::Expr& e) const override {
        if (e.name == "to_single" || e.name == "sign") return 7;
        return e.name == "idiv" || e.name == "mod" ? 6 : 9;
    }
    std::string literal(const std::string& text, steps::Type want) const override {
        if (text == "true") return "1";
        if (text == "false") return "0";
        return want == steps::Type::kSingle ? text + "f" : text;
    }
    std::string promoted(const steps::Expr& e, int) const override {
        return "(double)" + expr(e, 9);
    }

    void let(const steps::Statement& s) override {
        if (s.exprs.empty()) {
            line(withNote(TypeName(s.type) + " " + s.name + "[" +
                              steps::LengthFromOne(s.size, "KX_LINES") + "] = {0};",
                          s.note));
        } else {
            line(withNote(
                TypeName(s.type) + " " + s.name + " = " + exprAs(s.exprs[0], s.type) + ";",
                s.note));
        }
    }
    void loopFor(const steps::Statement& s) override {
        open("for (int " + s.name + " = " + expr(s.exprs[0]) + "; " + s.name +
             " <= " + expr(s.exprs[1]) + "; ++" + s.name + ")");
        block(s.blocks[0]);
        close(s.kind);
    }
    void fail(const steps::Statement& s) override { line(withNote("kx_fail(r);", s.note)); }
};

constexpr ValueSyntax kSyntax{IntegerSource, FloatSourceC, DoubleSource};

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const std::string type = table.kind == TableKind::kInteger  ? "int"
                             : table.kind == TableKind::kSingle ? "float"
                                                                : "double";
    const std::string columns = std::to_string(table.columns);
    const std::string shape = !table.perLine  ? "[" + columns + "]"
                              : IsList(table) ? std::string("[KX_LINES]")
                                              : "[KX_LINES][" + columns + "]";
    out << "/* " << table.meaning << " */\nstatic const " << type << " kx_" << table.name << shape
        << " = {";
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 8, "    ", ",") << "};\n";
        return;
    }
    out << "\n";
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const std::string values = WrappedList(RowTexts(table, row, kSyntax), 4, "     ", ",");
        out << "    /* " << table.rowNotes[row] << " */\n    "
            << (IsList(table) ? values : "{" + values + "}") << ",\n";
    }
    out << "};\n";
}

// The state of a call, the constants, the functions and kx_calc.
void WriteCalculation(std::ostringstream& out) {
    const steps::CalcSteps& calc = steps::TheCalcSteps();
    out << "\n";
    for (const steps::Constant& constant : calc.constants) {
        for (const std::string& doc : constant.doc) out << "/* " << doc << " */\n";
        const bool single = constant.type == steps::Type::kSingle;
        out << "static const " << CSteps::TypeName(constant.type) << " kx_" << constant.name
            << " = " << (single ? "(float)" : "") << constant.value << ";\n";
    }
    out << "\n";
    for (std::size_t i = 0; i < calc.stateDoc.size(); ++i)
        out << (i == 0 ? "/* " : "   ") << calc.stateDoc[i] << "\n";
    out << "   Any run-time error of the calculation ends kx_calc with flag 7. */\n"
        << "struct kx_run {\n    jmp_buf fault;\n";
    for (const steps::Variable& field : calc.state) {
        out << "    " << CSteps::TypeName(field.type) << " " << field.name
            << (field.size.empty() ? "" : "[" + steps::LengthFromOne(field.size, "KX_LINES") + "]")
            << ";" << (field.note.empty() ? "" : " /* " + field.note + " */") << "\n";
    }
    out << "};\n\nstatic void kx_fail(struct kx_run *r)\n{\n    longjmp(r->fault, 1);\n}\n\n";
    for (const std::string& line : CSteps().functions(calc)) out << line << "\n";
    out << "int kx_calc(double x, double p, double *y)\n{\n"
        << "    struct kx_run run;\n    int flag;\n"
        << "    memset(&run, 0, sizeof run);\n"
        << "    if (setjmp(run.fault) != 0) {\n"
        << "        *y = 0.0;\n        return 7;\n    }\n"
        << "    flag = kx_calculate(&run, x, p);\n"
        << "    *y = run.ans00;\n    return flag;\n}\n";
}

}  // namespace

std::vector<std::string> CalcProgramInC(const CalcFamily& family) {
    std::ostringstream out;
    out << "/*\n";
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kC))
        out << line << "\n";
    out << " */\n"
        << "#include <float.h>\n#include <math.h>\n#include <setjmp.h>\n#include <string.h>\n\n"
        << "/* The number of lines. */\n#define KX_LINES " << family.lines.size() << "\n\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        if (std::string(scalar.name) == "lines") continue;
        out << "/* " << scalar.meaning << " */\nstatic const int kx_" << scalar.name << " = "
            << scalar.value << ";\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    WriteCalculation(out);
    return SourceLines(out.str());
}

}  // namespace kx::core
