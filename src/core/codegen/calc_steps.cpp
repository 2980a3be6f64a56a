#include "core/codegen/calc_steps.h"

#include <cctype>
#include <map>
#include <set>
#include <stdexcept>

#include "core/codegen/calc_source_tables.h"

namespace kx::core::steps {

extern const char* const kCalcStepsText;

bool IsReal(Type type) {
    return type == Type::kSingle || type == Type::kDouble;
}

namespace {

struct SourceLine {
    int number = 0;
    std::size_t indent = 0;
    std::string text;
    std::string note;
};

[[noreturn]] void Fault(int line, const std::string& what) {
    throw std::logic_error("calculation text, line " + std::to_string(line) + ": " + what);
}

// The lines that hold something, each with its indentation and its note.
std::vector<SourceLine> LinesOf(const std::string& text) {
    std::vector<SourceLine> lines;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos) continue;
        if (indent % 4 != 0) Fault(number, "indentation not a multiple of four");
        SourceLine source{number, indent / 4, line.substr(indent), ""};
        const std::size_t note = source.text.find("  # ");
        if (source.text[0] != '#' && note != std::string::npos) {
            source.note = source.text.substr(note + 4);
            source.text.erase(note);
        }
        lines.push_back(source);
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

Type TypeNamed(const std::string& name, int line) {
    static const std::map<std::string, Type> kTypes = {{"int", Type::kInt},
                                                       {"bool", Type::kBool},
                                                       {"single", Type::kSingle},
                                                       {"double", Type::kDouble}};
    const auto it = kTypes.find(name);
    if (it == kTypes.end()) Fault(line, "no type " + name);
    return it->second;
}

// "name: type" or "name: type[size]".
Variable VariableOf(const std::string& text, int line) {
    const std::size_t colon = text.find(": ");
    if (colon == std::string::npos) Fault(line, "a name and its type expected");
    Variable variable{text.substr(0, colon), Type::kVoid, "", ""};
    std::string type = text.substr(colon + 2);
    const std::size_t bracket = type.find('[');
    if (bracket != std::string::npos) {
        if (type.back() != ']') Fault(line, "an array's size ends with ]");
        variable.size = type.substr(bracket + 1, type.size() - bracket - 2);
        type.erase(bracket);
    }
    variable.type = TypeNamed(type, line);
    return variable;
}

struct TableInfo {
    Type type;
    std::size_t indices;
};

struct Token {
    enum class Kind { kName, kNumber, kSymbol, kEnd };
    Kind kind = Kind::kEnd;
    std::string text;
};

bool DigitAt(const std::string& text, std::size_t at) {
    return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
}

bool NameCharAt(const std::string& text, std::size_t at) {
    return at < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_');
}

// The end of the number at `i`: digits, a point with digits, an exponent.
std::size_t NumberEnd(const std::string& text, std::size_t i, int line) {
    while (DigitAt(text, i)) ++i;
    if (i < text.size() && text[i] == '.' && DigitAt(text, i + 1)) {
        ++i;
        while (DigitAt(text, i)) ++i;
    }
    if (i < text.size() && text[i] == 'e') {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (!DigitAt(text, i)) Fault(line, "an exponent without digits");
        while (DigitAt(text, i)) ++i;
    }
    return i;
}

std::string SymbolAt(const std::string& text, std::size_t i, int line) {
    static const char* const kPairs[] = {"<=", ">=", "==", "!=", "..", "->"};
    for (const char* pair : kPairs) {
        if (text.compare(i, 2, pair) == 0) return pair;
    }
    if (std::string("+-*/<>()[],.:=").find(text[i]) == std::string::npos)
        Fault(line, std::string("unexpected ") + text[i]);
    return std::string(1, text[i]);
}

std::vector<Token> TokensOf(const std::string& text, int line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (std::isalpha(static_cast<unsigned char>(text[i])) || text[i] == '_') {
            while (NameCharAt(text, i)) ++i;
            tokens.push_back({Token::Kind::kName, text.substr(start, i - start)});
        } else if (DigitAt(text, i)) {
            i = NumberEnd(text, i, line);
            tokens.push_back({Token::Kind::kNumber, text.substr(start, i - start)});
        } else {
            tokens.push_back({Token::Kind::kSymbol, SymbolAt(text, i, line)});
            i += tokens.back().text.size();
        }
    }
    tokens.push_back({Token::Kind::kEnd, ""});
    return tokens;
}

struct Builtin {
    std::vector<Type> params;  // kVoid: a real of either kind, which is also the result's
    Type result;
};

const std::map<std::string, Builtin>& Builtins() {
    static const std::map<std::string, Builtin> kBuiltins = {
        {"to_single", {{Type::kDouble}, Type::kSingle}},
        {"abs", {{Type::kVoid}, Type::kVoid}},
        {"log", {{Type::kDouble}, Type::kDouble}},
        {"exp", {{Type::kDouble}, Type::kDouble}},
        {"sign", {{Type::kDouble}, Type::kDouble}},
        {"whole", {{Type::kDouble}, Type::kDouble}},
        {"pow", {{Type::kDouble, Type::kDouble}, Type::kDouble}},
        {"is_finite", {{Type::kDouble}, Type::kBool}},
        {"is_nan", {{Type::kVoid}, Type::kBool}},
        {"nan", {{}, Type::kSingle}},
        {"idiv", {{Type::kInt, Type::kInt}, Type::kInt}},
        {"mod", {{Type::kInt, Type::kInt}, Type::kInt}}};
    return kBuiltins;
}

// Whether `value` may be stored where a `target` is kept: the same type, a
// Single where a double is kept, and a real literal anywhere a real is.
bool Assignable(Type target, const Expr& value) {
    if (value.type == target) return true;
    if (target == Type::kDouble && value.type == Type::kSingle) return true;
    return target == Type::kSingle && value.kind == Expr::Kind::kLiteral &&
           value.type == Type::kDouble;
}

// What a function's text can name besides its own variables.
struct Names {
    const CalcSteps& steps;
    std::map<std::string, TableInfo> tables;
    std::map<std::string, Type> scalars;
};

const Variable* Find(const std::vector<Variable>& variables, const std::string& name) {
    for (const Variable& variable : variables) {
        if (variable.name == name) return &variable;
    }
    return nullptr;
}

// Reads one expression of a function (or of an item outside one).
class ExprReader {
public:
    ExprReader(const Names& names, const std::vector<Variable>& visible, const std::string& text,
               int line)
        : names_(names), visible_(visible), tokens_(TokensOf(text, line)), line_(line) {}

    Expr whole() {
        Expr e = disjunction();
        if (peek().kind != Token::Kind::kEnd) fail("unexpected " + peek().text);
        return e;
    }

private:
    const Token& peek() const { return tokens_[at_]; }
    bool accept(const std::string& text) {
        if (peek().kind == Token::Kind::kEnd || peek().text != text) return false;
        ++at_;
        return true;
    }
    void expect(const std::string& text) {
        if (!accept(text)) fail("expected " + text);
    }
    [[noreturn]] void fail(const std::string& what) const { Fault(line_, what); }

    Expr binary(const std::string& op, Expr left, Expr right) const {
        Expr e{Expr::Kind::kBinary, op, {std::move(left), std::move(right)}, Type::kVoid, nullptr};
        const Type a = e.args[0].type;
        const Type b = e.args[1].type;
        if (op == "and" || op == "or") {
            if (a != Type::kBool || b != Type::kBool) fail(op + " of no truth values");
            e.type = Type::kBool;
        } else if (op == "+" || op == "-" || op == "*" || op == "/") {
            if (a == Type::kInt && b == Type::kInt && op != "/") {
                e.type = Type::kInt;
            } else if (IsReal(a) && IsReal(b)) {
                e.type = Type::kDouble;
            } else {
                fail(op + " of an int and a real, or of an int by an int");
            }
        } else {
            if (!(a == Type::kInt && b == Type::kInt) && !(IsReal(a) && IsReal(b)))
                fail(op + " compares different kinds");
            e.type = Type::kBool;
        }
        return e;
    }

    Expr disjunction() {
        Expr e = conjunction();
        while (accept("or")) e = binary("or", std::move(e), conjunction());
        return e;
    }
    Expr conjunction() {
        Expr e = negation();
        while (accept("and")) e = binary("and", std::move(e), negation());
        return e;
    }
    Expr negation() {
        if (!accept("not")) return comparison();
        Expr operand = negation();
        if (operand.type != Type::kBool) fail("not of no truth value");
        return {Expr::Kind::kUnary, "not", {std::move(operand)}, Type::kBool, nullptr};
    }
    Expr comparison() {
        Expr e = sum();
        for (const char* op : {"<", "<=", ">", ">=", "==", "!="}) {
            if (accept(op)) return binary(op, std::move(e), sum());
        }
        return e;
    }
    Expr sum() {
        Expr e = product();
        for (;;) {
            if (accept("+")) {
                e = binary("+", std::move(e), product());
            } else if (accept("-")) {
                e = binary("-", std::move(e), product());
            } else {
                return e;
            }
        }
    }
    Expr product() {
        Expr e = minus();
        for (;;) {
            if (accept("*")) {
                e = binary("*", std::move(e), minus());
            } else if (accept("/")) {
                e = binary("/", std::move(e), minus());
            } else {
                return e;
            }
        }
    }
    Expr minus() {
        if (!accept("-")) return primary();
        Expr operand = minus();
        if (operand.kind == Expr::Kind::kLiteral) {
            operand.name = "-" + operand.name;
            return operand;
        }
        if (operand.type != Type::kInt && !IsReal(operand.type)) fail("- of no number");
        const Type type = operand.type == Type::kInt ? Type::kInt : Type::kDouble;
        return {Expr::Kind::kUnary, "-", {std::move(operand)}, type, nullptr};
    }

    std::vector<Expr> list(const std::string& close) {
        std::vector<Expr> items;
        if (accept(close)) return items;
        do {
            items.push_back(disjunction());
        } while (accept(","));
        expect(close);
        return items;
    }

    void expectIndices(const std::vector<Expr>& indices, std::size_t count) const {
        if (indices.size() != count) fail("wrong number of indices");
        for (const Expr& index : indices) {
            if (index.type != Type::kInt) fail("an index that is no int");
        }
    }

    Expr primary() {
        const Token token = peek();
        ++at_;
        if (token.kind == Token::Kind::kNumber) {
            const bool real = token.text.find_first_of(".e") != std::string::npos;
            return {
                Expr::Kind::kLiteral, token.text, {}, real ? Type::kDouble : Type::kInt, nullptr};
        }
        if (token.kind == Token::Kind::kSymbol && token.text == "(") {
            Expr e = disjunction();
            expect(")");
            return e;
        }
        if (token.kind != Token::Kind::kName) fail("unexpected " + token.text);
        if (token.text == "true" || token.text == "false")
            return {Expr::Kind::kLiteral, token.text, {}, Type::kBool, nullptr};
        if (token.text == "r" && accept(".")) return field();
        if (accept("(")) return call(token.text, list(")"));
        std::vector<Expr> indices;
        if (accept("[")) indices = list("]");
        return named(token.text, std::move(indices));
    }

    Expr field() {
        const Token name = peek();
        ++at_;
        const Variable* variable = Find(names_.steps.state, name.text);
        if (variable == nullptr) fail("no field r." + name.text);
        Expr e{Expr::Kind::kField, name.text, {}, variable->type, nullptr};
        if (accept("[")) e.args = list("]");
        expectIndices(e.args, variable->size.empty() ? 0 : 1);
        return e;
    }

    Expr named(const std::string& name, std::vector<Expr> indices) {
        Expr e{Expr::Kind::kLocal, name, std::move(indices), Type::kVoid, nullptr};
        std::size_t count = 0;
        if (const Variable* local = Find(visible_, name)) {
            e.type = local->type;
            count = local->size.empty() ? 0 : 1;
        } else if (const auto table = names_.tables.find(name); table != names_.tables.end()) {
            e.kind = Expr::Kind::kTable;
            e.type = table->second.type;
            count = table->second.indices;
        } else if (const auto scalar = names_.scalars.find(name); scalar != names_.scalars.end()) {
            e.kind = Expr::Kind::kScalar;
            e.type = scalar->second;
        } else {
            e.kind = Expr::Kind::kConstant;
            for (const Constant& constant : names_.steps.constants) {
                if (constant.name == name) e.type = constant.type;
            }
            if (e.type == Type::kVoid) fail("nothing is named " + name);
        }
        expectIndices(e.args, count);
        return e;
    }

    Expr call(const std::string& name, std::vector<Expr> args) {
        Expr e{Expr::Kind::kCall, name, std::move(args), Type::kVoid, nullptr};
        for (const Function& function : names_.steps.functions) {
            if (function.name == name) e.function = &function;
        }
        if (e.function != nullptr) {
            e.type = e.function->result;
            if (e.args.size() != e.function->params.size()) fail("wrong count of arguments");
            for (std::size_t i = 0; i < e.args.size(); ++i) {
                if (!Assignable(e.function->params[i].type, e.args[i]))
                    fail("argument " + std::to_string(i + 1) + " of " + name);
            }
            return e;
        }
        const auto builtin = Builtins().find(name);
        if (builtin == Builtins().end()) fail("no function " + name);
        e.kind = Expr::Kind::kBuiltin;
        const Builtin& b = builtin->second;
        if (e.args.size() != b.params.size()) fail("wrong count of arguments");
        for (std::size_t i = 0; i < e.args.size(); ++i) {
            const bool ok = b.params[i] == Type::kVoid ? IsReal(e.args[i].type)
                                                       : Assignable(b.params[i], e.args[i]);
            if (!ok) fail("argument " + std::to_string(i + 1) + " of " + name);
        }
        e.type = b.result == Type::kVoid ? e.args[0].type : b.result;
        return e;
    }

    const Names& names_;
    const std::vector<Variable>& visible_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    int line_;
};

// What an expression tree touches.
void Mark(const Expr& e, Function& f) {
    if (e.kind == Expr::Kind::kField) f.readsState = true;
    if (e.kind == Expr::Kind::kTable || e.kind == Expr::Kind::kScalar ||
        e.kind == Expr::Kind::kConstant)
        f.usesFamily = true;
    if (e.function != nullptr) {
        f.readsState |= e.function->readsState;
        f.writesState |= e.function->writesState;
        f.faults |= e.function->faults;
        f.usesFamily |= e.function->usesFamily;
    }
    for (const Expr& arg : e.args) Mark(arg, f);
}

class Reader {
public:
    Reader(CalcSteps& steps, std::vector<SourceLine> lines)
        : steps_(steps), lines_(std::move(lines)), names_{steps, {}, {}} {
        for (const SourceTable& table : CalcTablesOf(CalcFamily{})) {
            const Type type = table.kind == TableKind::kInteger  ? Type::kInt
                              : table.kind == TableKind::kSingle ? Type::kSingle
                                                                 : Type::kDouble;
            names_.tables[table.name] = {type, IsList(table) ? 1u : 2u};
        }
        for (const SourceScalar& scalar : CalcScalarsOf(CalcFamily{}))
            names_.scalars[scalar.name] = Type::kInt;
    }

    void readAll() {
        std::vector<std::string> doc;
        while (at_ < lines_.size()) {
            const SourceLine& line = lines_[at_];
            if (line.indent != 0) Fault(line.number, "an item that is indented");
            if (StartsWith(line.text, "## ")) {
                doc.push_back(line.text.substr(3));
                ++at_;
            } else if (StartsWith(line.text, "const ")) {
                readConstant(line, doc);
                ++at_;
            } else if (line.text == "state:") {
                steps_.stateDoc = doc;
                ++at_;
                readState();
            } else if (StartsWith(line.text, "def ")) {
                readFunction(doc);
            } else {
                Fault(line.number, "an item expected");
            }
            if (line.text != "##" && !StartsWith(line.text, "## ")) doc.clear();
        }
        if (steps_.functions.empty()) Fault(0, "no function");
    }

private:
    void readConstant(const SourceLine& line, const std::vector<std::string>& doc) {
        const std::size_t equals = line.text.find(" = ");
        if (equals == std::string::npos) Fault(line.number, "a constant without its value");
        const Variable variable = VariableOf(line.text.substr(6, equals - 6), line.number);
        steps_.constants.push_back(
            {variable.name, variable.type, line.text.substr(equals + 3), doc});
    }

    void readState() {
        for (; at_ < lines_.size() && lines_[at_].indent == 1; ++at_) {
            Variable field = VariableOf(lines_[at_].text, lines_[at_].number);
            field.note = lines_[at_].note;
            steps_.state.push_back(field);
        }
    }

    void readFunction(const std::vector<std::string>& doc) {
        const SourceLine& head = lines_[at_++];
        const std::size_t open = head.text.find('(');
        const std::size_t close = head.text.find(')');
        if (open == std::string::npos || close == std::string::npos || head.text.back() != ':')
            Fault(head.number, "def name(parameters) [-> type]: expected");
        Function f;
        f.name = head.text.substr(4, open - 4);
        f.doc = doc;
        std::string params = head.text.substr(open + 1, close - open - 1);
        while (!params.empty()) {
            const std::size_t comma = params.find(", ");
            f.params.push_back(VariableOf(params.substr(0, comma), head.number));
            params = comma == std::string::npos ? "" : params.substr(comma + 2);
        }
        const std::string rest = head.text.substr(close + 1);
        if (StartsWith(rest, " -> "))
            f.result = TypeNamed(rest.substr(4, rest.size() - 5), head.number);
        function_ = &f;
        visible_ = f.params;
        f.body = readBlock(1);
        // A call holds its function's address: the list must never move.
        if (steps_.functions.size() == steps_.functions.capacity())
            Fault(head.number, "too many functions");
        steps_.functions.push_back(std::move(f));
    }

    Expr expression(const std::string& text, int line) {
        Expr e = ExprReader(names_, visible_, text, line).whole();
        Mark(e, *function_);
        return e;
    }

    Block readBlock(std::size_t indent) {
        Block block;
        const std::size_t visible = visible_.size();
        if (at_ >= lines_.size() || lines_[at_].indent != indent)
            Fault(at_ < lines_.size() ? lines_[at_].number : 0, "an empty block");
        while (at_ < lines_.size() && lines_[at_].indent == indent) block.push_back(statement());
        if (at_ < lines_.size() && lines_[at_].indent > indent)
            Fault(lines_[at_].number, "indented too far");
        visible_.resize(visible);
        return block;
    }

    void declare(const Variable& variable, int line) {
        const Variable* known = Find(function_->locals, variable.name);
        if (Find(function_->params, variable.name) != nullptr || known != nullptr)
            Fault(line, variable.name + " is declared twice");
        function_->locals.push_back(variable);
        visible_.push_back(variable);
    }

    // "if" and its "elif" and "else" branches.
    Statement branches(const SourceLine& line) {
        Statement s{Statement::Kind::kIf, "", Type::kVoid, "", {}, {}, line.note};
        std::string head = line.text;
        for (;;) {
            s.exprs.push_back(
                expression(head.substr(head.find(' ') + 1, std::string::npos), line.number));
            if (s.exprs.back().type != Type::kBool) Fault(line.number, "no condition");
            s.blocks.push_back(readBlock(line.indent + 1));
            if (at_ >= lines_.size() || lines_[at_].indent != line.indent) return s;
            head = lines_[at_].text;
            if (head == "else:") {
                ++at_;
                s.blocks.push_back(readBlock(line.indent + 1));
                return s;
            }
            if (!StartsWith(head, "elif ")) return s;
            head.pop_back();
            ++at_;
        }
    }

    Statement statement() {
        const SourceLine line = lines_[at_++];
        Statement s{Statement::Kind::kComment, "", Type::kVoid, "", {}, {}, line.note};
        std::string text = line.text;
        if (StartsWith(text, "# ") || text == "#") {
            s.name = text.size() > 2 ? text.substr(2) : "";
            return s;
        }
        if (StartsWith(text, "if ") || StartsWith(text, "while ") || StartsWith(text, "for ")) {
            if (text.back() != ':') Fault(line.number, "a block's head ends with :");
            text.pop_back();
        }
        if (StartsWith(text, "if ")) return branches({line.number, line.indent, text, line.note});
        if (StartsWith(text, "while ")) {
            s.kind = Statement::Kind::kWhile;
            s.exprs.push_back(expression(text.substr(6), line.number));
            if (s.exprs[0].type != Type::kBool) Fault(line.number, "no condition");
            s.blocks.push_back(readBlock(line.indent + 1));
            return s;
        }
        if (StartsWith(text, "for ")) return loop(s, line, text);
        if (StartsWith(text, "let ")) return let(s, line, text);
        return simple(s, line, text);
    }

    Statement loop(Statement s, const SourceLine& line, const std::string& text) {
        const std::size_t in = text.find(" in ");
        const std::size_t dots = text.find(" .. ");
        if (in == std::string::npos || dots == std::string::npos)
            Fault(line.number, "for k in a .. b expected");
        s.kind = Statement::Kind::kFor;
        s.name = text.substr(4, in - 4);
        s.exprs.push_back(expression(text.substr(in + 4, dots - in - 4), line.number));
        s.exprs.push_back(expression(text.substr(dots + 4), line.number));
        const Variable* known = Find(function_->locals, s.name);
        if (known == nullptr) {
            declare({s.name, Type::kInt, "", ""}, line.number);
        } else if (known->type != Type::kInt || Find(visible_, s.name) != nullptr) {
            Fault(line.number, s.name + " is no free int");
        } else {
            visible_.push_back(*known);
        }
        s.blocks.push_back(readBlock(line.indent + 1));
        visible_.pop_back();
        return s;
    }

    Statement let(Statement s, const SourceLine& line, const std::string& text) {
        const std::size_t equals = text.find(" = ");
        const Variable variable = VariableOf(text.substr(4, equals - 4), line.number);
        s.kind = Statement::Kind::kLet;
        s.name = variable.name;
        s.type = variable.type;
        s.size = variable.size;
        if (equals != std::string::npos) {
            s.exprs.push_back(expression(text.substr(equals + 3), line.number));
            if (!variable.size.empty() || !Assignable(variable.type, s.exprs[0]))
                Fault(line.number, "a value that " + variable.name + " cannot hold");
        } else if (variable.size.empty()) {
            Fault(line.number, "a scalar without its value");
        }
        declare(variable, line.number);
        return s;
    }

    Statement simple(Statement s, const SourceLine& line, const std::string& text) {
        if (text == "break" || text == "fail") {
            s.kind = text == "break" ? Statement::Kind::kBreak : Statement::Kind::kFail;
            if (s.kind == Statement::Kind::kFail) function_->faults = true;
            return s;
        }
        if (text == "return" || StartsWith(text, "return ")) {
            s.kind = Statement::Kind::kReturn;
            if (text != "return") s.exprs.push_back(expression(text.substr(7), line.number));
            const bool fits = s.exprs.empty() ? function_->result == Type::kVoid
                                              : Assignable(function_->result, s.exprs[0]);
            if (!fits) Fault(line.number, "a return that does not fit the function");
            return s;
        }
        const std::size_t equals = text.find(" = ");
        if (equals == std::string::npos) {
            s.kind = Statement::Kind::kCall;
            s.exprs.push_back(expression(text, line.number));
            if (s.exprs[0].kind != Expr::Kind::kCall) Fault(line.number, "no call");
            return s;
        }
        s.kind = Statement::Kind::kAssign;
        s.exprs.push_back(expression(text.substr(0, equals), line.number));
        s.exprs.push_back(expression(text.substr(equals + 3), line.number));
        const Expr& target = s.exprs[0];
        if (target.kind != Expr::Kind::kLocal && target.kind != Expr::Kind::kField)
            Fault(line.number, "no variable to assign");
        if (target.kind == Expr::Kind::kField) function_->writesState = true;
        if (!Assignable(target.type, s.exprs[1])) Fault(line.number, "a value that does not fit");
        return s;
    }

    CalcSteps& steps_;
    std::vector<SourceLine> lines_;
    Names names_;
    std::size_t at_ = 0;
    Function* function_ = nullptr;
    std::vector<Variable> visible_;
};

}  // namespace

CalcSteps ReadCalcSteps(const std::string& text) {
    CalcSteps steps;
    // Every function is kept where a call found it: no reallocation moves one.
    steps.functions.reserve(64);
    Reader(steps, LinesOf(text)).readAll();
    return steps;
}

const CalcSteps& TheCalcSteps() {
    static const CalcSteps steps = ReadCalcSteps(kCalcStepsText);
    return steps;
}

}  // namespace kx::core::steps
