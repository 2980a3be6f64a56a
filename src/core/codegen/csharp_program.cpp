#include <map>
#include <sstream>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/calc_steps_printer.h"

namespace kx::core {
namespace {

// C# 2 as its standard has it, with the braces on lines of their own. Every
// operation on Singles runs in double and is rounded by a cast, so that no
// runtime's choice of precision for float arithmetic can change a digit.
class CSharpSteps : public steps::StepsPrinter {
public:
    CSharpSteps() {
        depth_ = 1;
        braces_ = Braces::kOwnLines;
    }

    static std::string TypeName(steps::Type type) {
        switch (type) {
            case steps::Type::kVoid: return "void";
            case steps::Type::kInt: return "int";
            case steps::Type::kBool: return "bool";
            case steps::Type::kSingle: return "float";
            case steps::Type::kDouble: return "double";
        }
        return "void";
    }

    // An array indexed from 1: one entry more, the first unused.
    static std::string ArrayOf(const std::string& size, steps::Type type) {
        return "new " + TypeName(type) + "[" + steps::LengthFromOne(size, "Lines") + "]";
    }

protected:
    bool oneLineIfs() const override { return true; }
    std::string commentPrefix() const override { return "// "; }

    void function(const steps::Function& f) override {
        for (const std::string& doc : f.doc) line("// " + doc);
        open("static " + TypeName(f.result) + " " + steps::CamelName(f.name, true) + "(" +
             parameters(f, takesRun(f) ? "Run r" : "") + ")");
        block(f.body);
        close(steps::Statement::Kind::kCall);
    }

    std::string local(const std::string& name) const override {
        return steps::CamelName(name, false);
    }
    std::string parameter(const steps::Variable& p) const override {
        return TypeName(p.type) + " " + local(p.name);
    }
    std::string field(const std::string& name) const override {
        return "r." + steps::CamelName(name, true);
    }
    std::string constant(const std::string& name) const override {
        return steps::CamelName(name, true);
    }
    std::string functionName(const std::string& name) const override {
        return steps::CamelName(name, true);
    }
    std::string builtin(const steps::Expr& e) const override {
        static const std::map<std::string, std::string> kMath = {{"abs", "Math.Abs"},
                                                                 {"log", "Math.Log"},
                                                                 {"exp", "Math.Exp"},
                                                                 {"whole", "Math.Truncate"},
                                                                 {"pow", "Math.Pow"}};
        const std::string args = arguments(e.args, nullptr);
        if (e.name == "to_single") return "(float)" + expr(e.args[0], 9);
        if (e.name == "sign") return "(double)Math.Sign(" + args + ")";
        if (e.name == "is_finite") return "Math.Abs(" + args + ") <= double.MaxValue";
        if (e.name == "is_nan")
            return (e.args[0].type == steps::Type::kSingle ? "float" : "double") +
                   std::string(".IsNaN(") + args + ")";
        if (e.name == "nan") return "float.NaN";
        if (e.name == "idiv") return expr(e.args[0], 6) + " / " + expr(e.args[1], 7);
        if (e.name == "mod") return expr(e.args[0], 6) + " % " + expr(e.args[1], 7);
        return kMath.at(e.name) + "(" + args + ")";
    }
    int builtinPrecedence(const steps::Expr& e) const override {
        if (e.name == "to_single" || e.name == "sign") return 7;
        if (e.name == "is_finite") return 4;
        if (e.name == "idiv" || e.name == "mod") return 6;
        return 9;
    }
    std::string literal(const std::string& text, steps::Type want) const override {
        return want == steps::Type::kSingle ? text + "f" : text;
    }
    std::string promoted(const steps::Expr& e, int) const override {
        return "(double)" + expr(e, 9);
    }

    void let(const steps::Statement& s) override {
        const std::string value =
            s.exprs.empty() ? ArrayOf(s.size, s.type) : exprAs(s.exprs[0], s.type);
        const std::string type = TypeName(s.type) + (s.size.empty() ? "" : "[]");
        line(withNote(type + " " + local(s.name) + " = " + value + ";", s.note));
    }
    void loopFor(const steps::Statement& s) override {
        const std::string k = local(s.name);
        open("for (int " + k + " = " + expr(s.exprs[0]) + "; " + k + " <= " + expr(s.exprs[1]) +
             "; ++" + k + ")");
        block(s.blocks[0]);
        close(s.kind);
    }
};

// The calculation: the state of a call, the constants, the functions and
// Calc.
void WriteCalculation(std::ostringstream& out) {
    const steps::CalcSteps& calc = steps::TheCalcSteps();
    out << "\n    // A run-time error of the calculation: Calc returns flag 7.\n"
        << "    sealed class Fault : Exception\n    {\n    }\n\n";
    for (const std::string& doc : calc.stateDoc) out << "    // " << doc << "\n";
    out << "    sealed class Run\n    {\n";
    for (const steps::Variable& field : calc.state) {
        const std::string name = steps::CamelName(field.name, true);
        const std::string type = CSharpSteps::TypeName(field.type);
        out << "        public "
            << (field.size.empty() ? type + " " + name
                                   : "readonly " + type + "[] " + name + " = " +
                                         CSharpSteps::ArrayOf(field.size, field.type))
            << ";" << (field.note.empty() ? "" : " // " + field.note) << "\n";
    }
    out << "    }\n\n";
    for (const steps::Constant& constant : calc.constants) {
        for (const std::string& doc : constant.doc) out << "    // " << doc << "\n";
        const bool single = constant.type == steps::Type::kSingle;
        out << "    static readonly " << CSharpSteps::TypeName(constant.type) << " "
            << steps::CamelName(constant.name, true) << " = " << (single ? "(float)" : "")
            << constant.value << ";\n";
    }
    out << "\n    static float[] Singles(params double[] values)\n    {\n"
        << "        float[] singles = new float[values.Length];\n"
        << "        for (int i = 0; i < values.Length; ++i) singles[i] = (float)values[i];\n"
        << "        return singles;\n    }\n\n";
    for (const std::string& line : CSharpSteps().functions(calc)) out << line << "\n";
    out << "    // The flag of the family at X = x and the parameter p; the value in y.\n"
        << "    public static int Calc(double x, double p, out double y)\n    {\n"
        << "        y = 0.0;\n        try\n        {\n"
        << "            Run r = new Run();\n"
        << "            int flag = Calculate(r, x, p);\n"
        << "            y = r.Ans00;\n"
        << "            return flag;\n        }\n"
        << "        catch (Exception)\n        {\n"
        << "            y = 0.0;\n            return 7;\n        }\n    }\n}\n";
}

constexpr ValueSyntax kSyntax{IntegerSource, FloatSourcePython, DoubleSource};

std::string TypeOf(const SourceTable& table) {
    switch (table.kind) {
        case TableKind::kInteger: return "int";
        case TableKind::kSingle: return "float";
        case TableKind::kDouble: return "double";
    }
    return "double";
}

// A row: the Singles through Singles(...), whose casts round them.
std::string Row(const SourceTable& table, std::size_t row, const std::string& indent) {
    const std::string values = WrappedList(RowTexts(table, row, kSyntax), 4, indent, ",");
    if (table.kind == TableKind::kSingle) return "Singles(" + values + ")";
    return "new " + TypeOf(table) + "[] { " + values + " }";
}

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const std::string type = TypeOf(table);
    const bool list = IsList(table);
    out << "    // " << table.meaning << "\n    static readonly " << type
        << (list ? "[] " : "[][] ") << steps::CamelName(table.name, true) << " = ";
    if (!table.perLine) {
        out << Row(table, 0, "        ") << ";\n";
        return;
    }
    const bool singles = list && table.kind == TableKind::kSingle;
    out << (singles ? std::string("Singles(new double[] {\n")
                    : "new " + type + (list ? "[] {\n" : "[][] {\n"));
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        out << "        // " << table.rowNotes[row] << "\n        "
            << (list ? RowTexts(table, row, kSyntax)[0] : Row(table, row, "            "))
            << ",\n";
    }
    out << (singles ? "    });\n" : "    };\n");
}

}  // namespace

std::vector<std::string> CalcProgramInCSharp(const CalcFamily& family) {
    std::ostringstream out;
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kCSharp))
        out << line << "\n";
    out << "\nusing System;\n\npublic static class KxCalc\n{\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family)) {
        out << "    // " << scalar.meaning << "\n    static readonly int "
            << steps::CamelName(scalar.name, true) << " = " << scalar.value << ";\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    WriteCalculation(out);
    return SourceLines(out.str());
}

}  // namespace kx::core
