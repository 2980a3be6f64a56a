#include "core/codegen/python_program.h"

#include <map>
#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_steps_printer.h"

namespace kx::core {
namespace {

// The helpers the tables and the calculation need: the tables hold 32-bit
// floats, and math.pow and math.exp raise where a result passes the largest
// double, which the calculation looks at as an infinity.
constexpr const char* kHelpers = R"PY(
import math
import struct

_pack = struct.Struct("<f").pack
_unpack = struct.Struct("<f").unpack


def _float(v):
    """v rounded to a 32-bit float."""
    return _unpack(_pack(v))[0]


def _floats(*values):
    return tuple(_float(v) for v in values)


def _pow(a, b):
    try:
        return math.pow(a, b)
    except OverflowError:
        return math.inf


def _exp(a):
    try:
        return math.exp(a)
    except OverflowError:
        return math.inf

)PY";

class PythonSteps : public steps::StepsPrinter {
public:
    PythonSteps() {
        braces_ = Braces::kNone;
        headEnd_ = ":";
    }

public:
    static std::string UpperName(const std::string& name) { return "_" + steps::UpperCase(name); }

    // An array indexed from 1: one entry more, the first unused.
    static std::string ArrayOf(const std::string& size, steps::Type type) {
        const std::string length = steps::LengthFromOne(size, "_LINES");
        return std::string(type == steps::Type::kBool ? "[False]" : "[0.0]") + " * " +
               (size == "lines" ? "(" + length + ")" : length);
    }

protected:
    std::string commentPrefix() const override { return "# "; }
    std::string noteSeparator() const override { return "  # "; }
    std::string statementEnd() const override { return ""; }
    std::string breakText() const override { return "break"; }

    void function(const steps::Function& f) override {
        lines_.emplace_back();
        for (const std::string& doc : f.doc) line("# " + doc);
        open("def _" + f.name + "(" + parameters(f, takesRun(f) ? "r" : "") + ")");
        block(f.body);
        close(steps::Statement::Kind::kCall);
    }

    std::string field(const std::string& name) const override { return "r." + name; }
    std::string constant(const std::string& name) const override { return UpperName(name); }
    std::string functionName(const std::string& name) const override { return "_" + name; }
    std::string builtin(const steps::Expr& e) const override {
        static const std::map<std::string, std::string> kNames = {{"to_single", "_float"},
                                                                  {"abs", "abs"},
                                                                  {"log", "math.log"},
                                                                  {"exp", "_exp"},
                                                                  {"whole", "math.trunc"},
                                                                  {"pow", "_pow"},
                                                                  {"is_finite", "math.isfinite"},
                                                                  {"is_nan", "math.isnan"}};
        if (e.name == "nan") return "math.nan";
        if (e.name == "sign") {
            const std::string v = expr(e.args[0], 5);
            return "float((" + v + " > 0) - (" + v + " < 0))";
        }
        if (e.name == "idiv") return expr(e.args[0], 6) + " // " + expr(e.args[1], 7);
        if (e.name == "mod") return expr(e.args[0], 6) + " % " + expr(e.args[1], 7);
        return kNames.at(e.name) + "(" + arguments(e.args, nullptr) + ")";
    }
    int builtinPrecedence(const steps::Expr& e) const override {
        return e.name == "idiv" || e.name == "mod" ? 6 : 9;
    }
    std::string op(const std::string& name) const override {
        return name == "not" ? "not " : name;
    }
    std::string literal(const std::string& text, steps::Type) const override {
        if (text == "true") return "True";
        if (text == "false") return "False";
        return text;
    }

    void let(const steps::Statement& s) override {
        const std::string value =
            s.exprs.empty() ? ArrayOf(s.size, s.type) : exprAs(s.exprs[0], s.type);
        line(withNote(s.name + " = " + value, s.note));
    }
    void loopFor(const steps::Statement& s) override {
        open("for " + s.name + " in range(" + expr(s.exprs[0]) + ", " + expr(s.exprs[1], 5) +
             " + 1)");
        block(s.blocks[0]);
        close(s.kind);
    }
    void fail(const steps::Statement& s) override { line(withNote("raise _Fault", s.note)); }

    std::string ifHead(const std::string& condition) const override { return "if " + condition; }
    std::string elseIfHead(const std::string& condition) const override {
        return "elif " + condition;
    }
    std::string whileHead(const std::string& condition) const override {
        return "while " + condition;
    }
};

constexpr ValueSyntax kSyntax{IntegerSource, FloatSourcePython, DoubleSource};

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    const std::string open = singles ? "_floats(" : "(";
    out << "# " << table.meaning << "\n" << PythonSteps::UpperName(table.name) << " = ";
    if (!table.perLine) {
        out << open << WrappedList(RowTexts(table, 0, kSyntax), 8, "    ", ",") << ")\n";
        return;
    }
    out << "(\n";
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const std::string values = WrappedList(RowTexts(table, row, kSyntax), 4, "     ", ",");
        out << "    # " << table.rowNotes[row] << "\n    "
            << (IsList(table) ? (singles ? "_float(" + values + ")" : values)
                              : open + values + (table.rows[row].size() == 1 ? ",)" : ")"))
            << ",\n";
    }
    out << ")\n";
}

// The state of a call, the constants, the functions and kx_calc.
void WriteCalculation(std::ostringstream& out) {
    const steps::CalcSteps& calc = steps::TheCalcSteps();
    out << "\n";
    for (const steps::Constant& constant : calc.constants) {
        for (const std::string& doc : constant.doc) out << "# " << doc << "\n";
        const bool single = constant.type == steps::Type::kSingle;
        out << PythonSteps::UpperName(constant.name) << " = "
            << (single ? "_float(" + constant.value + ")" : constant.value) << "\n";
    }
    out << "\n\nclass _Fault(Exception):\n"
        << "    \"\"\"A run-time error of the calculation: kx_calc returns flag 7.\"\"\"\n\n\n"
        << "class _Run:\n";
    for (const std::string& doc : calc.stateDoc) out << "    # " << doc << "\n";
    out << "    def __init__(self):\n";
    for (const steps::Variable& field : calc.state) {
        const std::string value = !field.size.empty()
                                      ? PythonSteps::ArrayOf(field.size, field.type)
                                  : field.type == steps::Type::kBool ? "False"
                                  : field.type == steps::Type::kInt  ? "0"
                                                                     : "0.0";
        out << "        self." << field.name << " = " << value
            << (field.note.empty() ? "" : "  # " + field.note) << "\n";
    }
    out << "\n";
    for (const std::string& line : PythonSteps().functions(calc)) out << line << "\n";
    out << "\ndef kx_calc(x, p):\n"
        << "    \"\"\"Returns (flag, value) of the family at X = x and the parameter p.\"\"\"\n"
        << "    r = _Run()\n"
        << "    try:\n"
        << "        flag = _calculate(r, float(x), float(p))\n"
        << "        return flag, r.ans00\n"
        << "    except (_Fault, OverflowError, ZeroDivisionError, ValueError):\n"
        << "        return 7, 0.0\n";
}

}  // namespace

std::vector<std::string> CalcProgramInPython(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kPython)) {
        out << line << "\n";
    }
    out << kHelpers;
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "# " << scalar.meaning << "\n"
            << PythonSteps::UpperName(scalar.name) << " = " << scalar.value << "\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    WriteCalculation(out);
    return SourceLines(out.str());
}

}  // namespace kx::core
