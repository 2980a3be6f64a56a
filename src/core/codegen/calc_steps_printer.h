#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_steps.h"

// Prints the calculation of calc_steps.h in one language. The walk over the
// functions, their statements and their expressions is here, with the
// parentheses that precedence needs; a language gives its spelling of each
// piece. The defaults are those of the languages with braces and exceptions.
namespace kx::core::steps {

class StepsPrinter {
public:
    virtual ~StepsPrinter() = default;

    // Every function of `steps` in order, a line per entry, each function
    // followed by an empty line.
    std::vector<std::string> functions(const CalcSteps& steps);

    // An expression as the language writes it.
    std::string expr(const Expr& e, int context = 0) const;

    // An expression where a value of type `want` is kept: a literal is
    // written as one of that type, a Single widened where the language needs
    // it.
    std::string exprAs(const Expr& e, Type want) const;

protected:
    // Output.
    void line(const std::string& text);
    void block(const Block& block);
    std::string withNote(const std::string& text, const std::string& note) const;
    std::string indent_ = "    ";
    std::size_t depth_ = 0;
    std::vector<std::string> lines_;

    // The language's comment ("// "), how a note ends a line (" // "), and
    // what closes a comment or a note where the language closes them (" */").
    virtual std::string commentPrefix() const = 0;
    virtual std::string noteSeparator() const { return " " + commentPrefix(); }
    virtual std::string commentEnd() const { return ""; }

    // Functions.
    virtual void function(const Function& f) = 0;
    // The parameters, after `first` where it is not empty, each written by
    // parameter() ("x1" by default, "float x1" where the language types it).
    std::string parameters(const Function& f, const std::string& first) const;
    virtual std::string parameter(const Variable& p) const { return local(p.name); }
    // The statements of f; a return with a value that ends it is written by
    // lastReturn, for the languages that return by assignment and need no
    // jump at the end.
    void functionBody(const Function& f);
    virtual void lastReturn(const Statement& s) { statement(s); }

    // Names.
    virtual std::string local(const std::string& name) const { return name; }
    virtual std::string field(const std::string& name) const = 0;
    virtual std::string constant(const std::string& name) const = 0;
    virtual std::string scalar(const std::string& name) const { return constant(name); }
    virtual std::string tableName(const std::string& name) const { return constant(name); }
    virtual std::string functionName(const std::string& name) const = 0;
    // Whether a function takes the state of the call (as "r", first): by
    // default one that reads or changes it.
    virtual bool takesRun(const Function& f) const { return f.readsState || f.writesState; }
    // A table's entry: by default tableName[k - 1][j - 1].
    virtual std::string table(const Expr& e) const;
    // An element of a local or state array, indexed from 1 as written: by
    // default array[k], the array one entry longer.
    virtual std::string element(const std::string& array, const Expr& index) const;
    // By default functionName(r, arguments), with r where it is taken.
    virtual std::string call(const Expr& e) const;
    virtual std::string builtin(const Expr& e) const = 0;
    // The precedence of a builtin's text (9: it needs no parentheses).
    virtual int builtinPrecedence(const Expr&) const { return 9; }

    // Operators: and, or, not, ==, != and the arithmetic ones.
    virtual std::string op(const std::string& name) const;
    // A literal kept as a `want` (a Single or a double).
    virtual std::string literal(const std::string& text, Type want) const;
    // The left operand of arithmetic on two Singles: made a double where the
    // language would compute in single precision.
    virtual std::string promoted(const Expr& e, int context) const { return expr(e, context); }
    // A Single where a double is kept, for the languages that do not widen it.
    virtual std::string widened(const Expr& e) const { return expr(e); }

    // Statements.
    virtual void statement(const Statement& s);
    virtual void let(const Statement& s) = 0;
    virtual void assign(const Expr& target, const Expr& value, const std::string& note);
    virtual void branches(const Statement& s);
    virtual void loopWhile(const Statement& s);
    virtual void loopFor(const Statement& s) = 0;
    virtual void returnValue(const Statement& s);
    virtual void fail(const Statement& s);
    virtual void callStatement(const Statement& s);
    virtual std::string statementEnd() const { return ";"; }
    virtual std::string breakText() const { return "break;"; }

    // A block's head, the heads between its parts ("else") and its end. With
    // braces on the head's line: "if (c) {", "} else {", "}"; on lines of
    // their own; or none: the head ends with headEnd_ and endOf(kind) closes
    // the block (nothing where the indentation does).
    enum class Braces { kOnTheLine, kOwnLines, kNone };
    Braces braces_ = Braces::kOnTheLine;
    std::string headEnd_;
    void open(const std::string& head);
    void middle(const std::string& head);
    void close(Statement::Kind kind);
    virtual std::string endOf(Statement::Kind) const { return ""; }
    virtual std::string ifHead(const std::string& condition) const;
    virtual std::string elseIfHead(const std::string& condition) const;
    virtual std::string elseHead() const { return "else"; }
    virtual std::string whileHead(const std::string& condition) const;
    // Whether an if with one short statement and no else is written on one
    // line ("if (c) break;").
    virtual bool oneLineIfs() const { return false; }

    // The text of an index from 0 of one written from 1 ("k - 1", "s").
    std::string fromZero(const Expr& index) const;
    std::string arguments(const std::vector<Expr>& args, const Function* f) const;

    const Function* current_ = nullptr;
};

// "line_value" as "lineValue" and, with `upper`, as "LineValue".
std::string CamelName(const std::string& name, bool upper);

// "line_value" as "LINE_VALUE".
std::string UpperCase(const std::string& name);

// The length of an array of `size` indexed from 1, its first entry unused:
// "LINES + 1" with `lines` the language's name of the lines, or "5" for 4.
std::string LengthFromOne(const std::string& size, const std::string& lines);

// Whether `e` calls, itself or in any part, a function that may fail.
bool MayFail(const Expr& e);

}  // namespace kx::core::steps
