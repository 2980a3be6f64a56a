#include <sstream>
#include <stdexcept>

#include "core/codegen/calc_source_parts.h"
#include "core/codegen/calc_source_tables.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/calc_steps_printer.h"

namespace kx::core {
namespace {

// MATLAB passes a struct by value: a function that changes the call's state
// r takes it and gives it back ([r, result] = ...), and is called only as a
// statement of its own. Every number is a double; a Single is a double that
// single() has rounded, since MATLAB would make single any expression that
// mixes the two. The family's numbers are the struct t.
class MatlabSteps : public steps::StepsPrinter {
public:
    MatlabSteps() { braces_ = Braces::kNone; }

protected:
    std::string commentPrefix() const override { return "% "; }

    void function(const steps::Function& f) override {
        const bool value = f.result != steps::Type::kVoid;
        std::string outputs = f.writesState ? "r" : "";
        if (value) outputs += outputs.empty() ? "result" : ", result";
        if (outputs.find(',') != std::string::npos) outputs = "[" + outputs + "]";
        line("function " + (outputs.empty() ? "" : outputs + " = ") + "kx_" + f.name + "(" +
             parameters(f, Inputs(f)) + ")");
        for (const std::string& doc : f.doc) line("% " + doc);
        functionBody(f);
        line("end");
    }

    std::string field(const std::string& name) const override { return "r." + name; }
    std::string constant(const std::string& name) const override { return "t." + name; }
    std::string functionName(const std::string& name) const override { return "kx_" + name; }
    std::string table(const steps::Expr& e) const override {
        std::string indices;
        for (const steps::Expr& index : e.args)
            indices += (indices.empty() ? "" : ", ") + expr(index);
        return "t." + e.name + "(" + indices + ")";
    }
    std::string element(const std::string& array, const steps::Expr& index) const override {
        return array + "(" + expr(index) + ")";
    }
    std::string call(const steps::Expr& e) const override {
        std::string args = Inputs(*e.function);
        const std::string rest = arguments(e.args, e.function);
        if (!rest.empty()) args += (args.empty() ? "" : ", ") + rest;
        return "kx_" + e.name + "(" + args + ")";
    }
    std::string builtin(const steps::Expr& e) const override {
        const std::string args = arguments(e.args, nullptr);
        if (e.name == "to_single") return "double(single(" + args + "))";
        if (e.name == "whole") return "fix(" + args + ")";
        if (e.name == "pow") return expr(e.args[0], 9) + " ^ " + expr(e.args[1], 9);
        if (e.name == "is_finite") return "isfinite(" + args + ")";
        if (e.name == "is_nan") return "isnan(" + args + ")";
        if (e.name == "nan") return "NaN";
        if (e.name == "idiv")
            return "fix(" + expr(e.args[0], 6) + " / " + expr(e.args[1], 7) + ")";
        return e.name + "(" + args + ")";  // abs, log, exp, sign, mod
    }
    int builtinPrecedence(const steps::Expr& e) const override { return e.name == "pow" ? 8 : 9; }
    std::string op(const std::string& name) const override {
        if (name == "not") return "~";
        if (name == "!=") return "~=";
        return StepsPrinter::op(name);
    }

    void let(const steps::Statement& s) override {
        if (!s.exprs.empty()) {
            line(withNote(assignment(s.name, s.exprs[0], s.type), s.note));
            return;
        }
        const std::string size = s.size == "lines" ? "t.lines" : s.size;
        line(withNote(s.name + " = " + (s.type == steps::Type::kBool ? "false" : "zeros") +
                          "(1, " + size + ");",
                      s.note));
    }
    void assign(const steps::Expr& target, const steps::Expr& value,
                const std::string& note) override {
        line(withNote(assignment(expr(target), value, target.type), note));
    }
    void branches(const steps::Statement& s) override {
        for (const steps::Expr& e : s.exprs) NoChangeWithin(e);
        StepsPrinter::branches(s);
    }
    void loopWhile(const steps::Statement& s) override {
        NoChangeWithin(s.exprs[0]);
        StepsPrinter::loopWhile(s);
    }
    void loopFor(const steps::Statement& s) override {
        open("for " + s.name + " = " + expr(s.exprs[0]) + ":" + expr(s.exprs[1]));
        block(s.blocks[0]);
        close(s.kind);
    }
    void lastReturn(const steps::Statement& s) override {
        line(withNote(assignment("result", s.exprs[0], current_->result), s.note));
    }
    void returnValue(const steps::Statement& s) override {
        if (!s.exprs.empty()) lastReturn(s);
        line("return;");
    }
    void fail(const steps::Statement& s) override {
        line(withNote("error('kx_calc:fault', 'The value cannot be computed here.');", s.note));
    }
    void callStatement(const steps::Statement& s) override {
        const steps::Expr& e = s.exprs[0];
        for (const steps::Expr& arg : e.args) NoChangeWithin(arg);
        std::string text = expr(e) + ";";
        if (e.function->writesState)
            text = (e.type == steps::Type::kVoid ? "r = " : "[r, ~] = ") + text;
        line(withNote(text, s.note));
    }

    std::string endOf(steps::Statement::Kind) const override { return "end"; }
    std::string ifHead(const std::string& condition) const override { return "if " + condition; }
    std::string elseIfHead(const std::string& condition) const override {
        return "elseif " + condition;
    }
    std::string whileHead(const std::string& condition) const override {
        return "while " + condition;
    }

private:
    // The state and the tables, for a function that needs them.
    static std::string Inputs(const steps::Function& f) {
        std::string inputs = f.readsState || f.writesState ? "r" : "";
        if (f.usesFamily) inputs += inputs.empty() ? "t" : ", t";
        return inputs;
    }

    // "target = value;", or "[r, target] = ...;" where the value is a call
    // that changes the state.
    std::string assignment(const std::string& target, const steps::Expr& value,
                           steps::Type type) const {
        const bool changes = value.kind == steps::Expr::Kind::kCall && value.function->writesState;
        for (const steps::Expr& arg : changes ? value.args : std::vector<steps::Expr>{value})
            NoChangeWithin(arg);
        return (changes ? "[r, " + target + "]" : target) + " = " + exprAs(value, type) + ";";
    }

    // A call that changes the state cannot be part of an expression here.
    static void NoChangeWithin(const steps::Expr& e) {
        if (e.function != nullptr && e.function->writesState)
            throw std::logic_error("kx_" + e.function->name + " changes r within an expression");
        for (const steps::Expr& arg : e.args) NoChangeWithin(arg);
    }
};

// kx_calc's own body: the state, the tables, the calculation, and flag 7 for
// any run-time error.
std::string EntryBody(const steps::CalcSteps& calc) {
    std::string fields;
    for (const steps::Variable& field : calc.state) {
        const std::string size = field.size == "lines" ? "t.lines" : field.size;
        const std::string value = !field.size.empty()                ? "zeros(1, " + size + ")"
                                  : field.type == steps::Type::kBool ? "false"
                                                                     : "0";
        fields += (fields.empty() ? "" : ", ") + std::string("'") + field.name + "', " + value;
    }
    std::string text = "try\n    t = kx_tables();\n    r = struct(";
    // The fields a few a line.
    std::size_t width = 15;
    for (std::size_t start = 0; start < fields.size();) {
        std::size_t end = fields.find(", '", start);
        const std::string item =
            fields.substr(start, end == std::string::npos ? end : end - start);
        if (width + item.size() > 90) {
            text += "...\n        ";
            width = 8;
        }
        text += item + (end == std::string::npos ? "" : ", ");
        width += item.size() + 2;
        start = end == std::string::npos ? fields.size() : end + 2;
    }
    return text + ");\n    [r, flag] = kx_calculate(r, t, x, p);\n    y = r.ans00;\n" +
           "catch\n    flag = 7;\n    y = 0;\nend\nend\n";
}

constexpr ValueSyntax kSyntax{IntegerSource, FloatSourcePython, DoubleSource};

void WriteTable(std::ostringstream& out, const SourceTable& table) {
    const bool singles = table.kind == TableKind::kSingle;
    out << "% " << table.meaning << "\nt." << table.name << " = "
        << (singles ? "double(single([" : "[");
    if (!table.perLine) {
        out << WrappedList(RowTexts(table, 0, kSyntax), 8, "    ", ", ...");
    } else {
        // A row a line: the rows of the matrix, or the entries of a column.
        out << "\n";
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            out << "    % " << table.rowNotes[row] << "\n    "
                << WrappedList(RowTexts(table, row, kSyntax), 4, "    ", ", ...") << "\n";
        }
        out << "    ";
    }
    out << (singles ? "]));\n" : "];\n");
}

}  // namespace

std::vector<std::string> CalcProgramInMatlab(const CalcFamily& family) {
    std::ostringstream out;
    out << "function [flag, y] = kx_calc(x, p)\n";
    for (const std::string& line : CalcSourceHeader(family, SourceLanguage::kMatlab))
        out << line << "\n";
    const steps::CalcSteps& calc = steps::TheCalcSteps();
    out << "\n" << EntryBody(calc) << "\n";
    for (const std::string& line : MatlabSteps().functions(calc)) out << line << "\n";
    out << "function t = kx_tables()\n% The family's numbers.\n";
    for (const SourceScalar& scalar : CalcScalarsOf(family))
        out << "t." << scalar.name << " = " << scalar.value << "; % " << scalar.meaning << "\n";
    for (const steps::Constant& constant : calc.constants) {
        const bool single = constant.type == steps::Type::kSingle;
        out << "t." << constant.name << " = "
            << (single ? "double(single(" + constant.value + "))" : constant.value) << ";"
            << (constant.doc.empty() ? "" : " % " + constant.doc[0]) << "\n";
    }
    for (const SourceTable& table : CalcTablesOf(family)) WriteTable(out, table);
    out << "end\n";
    return SourceLines(out.str());
}

}  // namespace kx::core
