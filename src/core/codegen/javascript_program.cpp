#include <map>
#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/calc_steps_printer.h"

namespace kx::core {
namespace {

class JavaScriptSteps : public steps::StepsPrinter {
protected:
    bool oneLineIfs() const override { return true; }
    std::string commentPrefix() const override { return "// "; }

    void function(const steps::Function& f) override {
        for (const std::string& doc : f.doc) line("// " + doc);
        open("function " + steps::CamelName(f.name, false) + "(" +
             parameters(f, takesRun(f) ? "r" : "") + ")");
        block(f.body);
        close(steps::Statement::Kind::kCall);
    }

    std::string local(const std::string& name) const override {
        return steps::CamelName(name, false);
    }
    std::string field(const std::string& name) const override {
        return "r." + steps::CamelName(name, false);
    }
    std::string constant(const std::string& name) const override { return steps::UpperCase(name); }
    std::string functionName(const std::string& name) const override {
        return steps::CamelName(name, false);
    }
    std::string builtin(const steps::Expr& e) const override {
        static const std::map<std::string, std::string> kMath = {
            {"to_single", "Math.fround"}, {"abs", "Math.abs"},
            {"log", "Math.log"},          {"exp", "Math.exp"},
            {"sign", "Math.sign"},        {"whole", "Math.trunc"},
            {"pow", "Math.pow"},          {"is_finite", "Number.isFinite"},
            {"is_nan", "Number.isNaN"}};
        if (e.name == "nan") return "NaN";
        if (e.name == "idiv")
            return "Math.trunc(" + expr(e.args[0], 6) + " / " + expr(e.args[1], 7) + ")";
        if (e.name == "mod") return expr(e.args[0], 6) + " % " + expr(e.args[1], 7);
        return kMath.at(e.name) + "(" + arguments(e.args, nullptr) + ")";
    }
    int builtinPrecedence(const steps::Expr& e) const override { return e.name == "mod" ? 6 : 9; }
    std::string op(const std::string& name) const override {
        if (name == "==") return "===";
        if (name == "!=") return "!==";
        return StepsPrinter::op(name);
    }

    void let(const steps::Statement& s) override {
        const std::string value =
            s.exprs.empty() ? ArrayOf(s.size, s.type) : exprAs(s.exprs[0], s.type);
        line(withNote("let " + local(s.name) + " = " + value + ";", s.note));
    }
    void loopFor(const steps::Statement& s) override {
        const std::string k = local(s.name);
        open("for (let " + k + " = " + expr(s.exprs[0]) + "; " + k + " <= " + expr(s.exprs[1]) +
             "; ++" + k + ")");
        block(s.blocks[0]);
        close(s.kind);
    }

public:
    // An array indexed from 1: one entry more, the first unused.
    static std::string ArrayOf(const std::string& size, steps::Type type) {
        return "new Array(" + steps::LengthFromOne(size, "LINES") + ").fill(" +
               (type == steps::Type::kBool ? "false" : "0") + ")";
    }
};

// The state of a call as an object literal.
std::string RunObject(const steps::CalcSteps& calc) {
    std::string text = "{\n";
    for (const steps::Variable& field : calc.state) {
        const std::string value = !field.size.empty()
                                      ? JavaScriptSteps::ArrayOf(field.size, field.type)
                                  : field.type == steps::Type::kBool ? std::string("false")
                                                                     : std::string("0");
        text += "        " + steps::CamelName(field.name, false) + ": " + value + ",\n";
    }
    return text + "    }";
}

// The calculation, with the constants it names, and kx_calc.
void WriteCalculation(std::ostringstream& out) {
    const steps::CalcSteps& calc = steps::TheCalcSteps();
    out << "\n";
    for (const steps::Constant& constant : calc.constants) {
        for (const std::string& doc : constant.doc) out << "// " << doc << "\n";
        const std::string value = constant.type == steps::Type::kSingle
                                      ? "Math.fround(" + constant.value + ")"
                                      : constant.value;
        out << "const " << steps::UpperCase(constant.name) << " = " << value << ";\n";
    }
    out << "\n// A run-time error of the calculation: kx_calc returns flag 7.\n"
        << "class Fault extends Error {}\n\n";
    for (const std::string& line : JavaScriptSteps().functions(calc)) out << line << "\n";
    out << "// Returns [flag, value] of the family at X = x and the parameter p.\n"
        << "export function kx_calc(x, p) {\n"
        << "    const r = " << RunObject(calc) << ";\n"
        << "    try {\n"
        << "        const flag = calculate(r, Number(x), Number(p));\n"
        << "        return [flag, r.ans00];\n"
        << "    } catch (e) {\n"
        << "        return [7, 0];\n"
        << "    }\n"
        << "}\n";
}

constexpr ValueSyntax kSyntax{IntegerSource, FloatSourcePython, DoubleSource};

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    out << "// " << table.meaning << "\nconst " << steps::UpperCase(table.name) << " = [";
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 8, "    ", ",") << "]";
    } else {
        out << "\n";
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            const std::string values = WrappedList(RowTexts(table, row, kSyntax), 4, "     ", ",");
            out << "    // " << table.rowNotes[row] << "\n    "
                << (IsList(table) ? values : "[" + values + "]") << ",\n";
        }
        out << "]";
    }
    if (singles)
        out << (IsList(table) ? ".map(Math.fround)" : ".map((row) => row.map(Math.fround))");
    out << ";\n";
}

}  // namespace

std::vector<std::string> CalcProgramInJavaScript(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kJavaScript))
        out << line << "\n";
    out << "\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "// " << scalar.meaning << "\nconst " << steps::UpperCase(scalar.name) << " = "
            << scalar.value << ";\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    WriteCalculation(out);
    return SourceLines(out.str());
}

}  // namespace kx::core
