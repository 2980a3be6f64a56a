#pragma once

#include <string>
#include <vector>

// The family's calculation written once, in a small language of its own, and
// read into a tree that every generated source prints in its own syntax: the
// order of the steps, their comments and every rounding to a Single are the
// same in all of them because they are read from the same text.
//
// The language: a file of `const`, `state` and `def` items, each after its
// "## " comment lines. A block is indented by four blanks under a line that
// ends with ":". Statements: "let name: type = value", "target = value",
// "if/elif/else", "while", "for k in a .. b" (both ends included), "break",
// "return [value]", "fail" (a run-time error: the call answers flag 7), a
// call (a value it returns computed for its faults alone) and "# " comment
// lines; "  # " ends a line with a note. Types: int, bool, single, double,
// and an array of them "single[lines]" indexed from 1. The state of the call
// is "r.name"; the family's tables ("form[k, s]") are indexed from 1 as well,
// and its scalars ("lines") are named as they stand.
//
// The types are checked as the text is read: arithmetic runs on two ints or
// on two reals, and a real result is a double; a Single is made only by a
// call that returns one (to_single, or a function of the text), so that each
// language, whatever its own rules, rounds where the text rounds.
namespace kx::core::steps {

enum class Type { kVoid, kInt, kBool, kSingle, kDouble };

bool IsReal(Type type);

struct Function;

struct Expr {
    enum class Kind {
        kLiteral,   // name: the text as written ("0.02", "3")
        kLocal,     // a parameter or a local; args: the index of an array
        kConstant,  // a const item
        kScalar,    // a scalar of the family ("lines")
        kTable,     // args: the indices
        kField,     // r.name; args: the index of an array
        kCall,      // function; args: the arguments
        kBuiltin,   // name: to_single, abs, log, exp, pow, sign, whole, is_finite,
                    // is_nan, nan, idiv, mod
        kUnary,     // name: "-" or "not"
        kBinary,    // name: + - * / < <= > >= == != and or
    };
    Kind kind = Kind::kLiteral;
    std::string name;
    std::vector<Expr> args;
    Type type = Type::kVoid;
    const Function* function = nullptr;
};

struct Statement;
using Block = std::vector<Statement>;

struct Statement {
    enum class Kind { kLet, kAssign, kIf, kWhile, kFor, kBreak, kReturn, kFail, kCall, kComment };
    Kind kind = Kind::kComment;
    std::string name;  // the variable of let and for; the text of a comment
    Type type = Type::kVoid;
    std::string size;           // let: "" for a scalar, else the array's length
    std::vector<Expr> exprs;    // let: [value]; assign: [target, value]; if: a condition per
                                // branch; while: [condition]; for: [first, last]; return:
                                // [value]; call: [call]
    std::vector<Block> blocks;  // if: a block per condition and one more for else
    std::string note;           // the note at the end of the line
};

struct Variable {
    std::string name;
    Type type = Type::kVoid;
    std::string size;  // "" for a scalar
    std::string note;
};

struct Function {
    std::string name;
    std::vector<Variable> params;
    std::vector<Variable> locals;  // lets and loop variables, in order, each name once
    Type result = Type::kVoid;
    std::vector<std::string> doc;
    Block body;
    // Of the function and of every function it calls.
    bool readsState = false;
    bool writesState = false;
    bool faults = false;
    bool usesFamily = false;  // tables, scalars or constants
};

struct Constant {
    std::string name;
    Type type = Type::kVoid;
    std::string value;  // a literal
    std::vector<std::string> doc;
};

struct CalcSteps {
    std::vector<Constant> constants;
    std::vector<std::string> stateDoc;
    std::vector<Variable> state;
    std::vector<Function> functions;  // as written; the last is the entry
};

// The calculation, read once. A fault of the text throws std::logic_error
// naming its line.
const CalcSteps& TheCalcSteps();

// Reads a text of the language (for the calculation itself and for tests).
CalcSteps ReadCalcSteps(const std::string& text);

}  // namespace kx::core::steps
