#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/basic_compiled.h"
#include "support/basic_lexer.h"

namespace kx::test::basic {
namespace {

struct Block {
    enum class Kind { kIf, kSelect, kDo, kFor };
    Kind kind = Kind::kIf;
    int falseJump = -1;
    std::vector<int> endJumps;
    int top = -1;
    int slot = -1;  // Select value, For variable
    int limitSlot = -1;
    int stepSlot = -1;
    bool seenCase = false;
    int doCondition = 0;  // Do: 0 none, 1 Until, 2 While
};

class Compiler {
public:
    explicit Compiler(Compiled& out) : out_(out) {}

    void line(const std::string& text, int number) {
        line_ = number;
        tokens_ = Lex(text);
        pos_ = 0;
        if (peek().kind == Token::Kind::kName && TypeOfName(peek().text) == Type::kVariant &&
            !IsKeyword(peek().text) && !FindFunction(peek().text) &&
            tokens_[1].kind == Token::Kind::kOp && tokens_[1].text == ":") {
            if (labels_.count(peek().text)) throw CompileError("duplicate label " + peek().text);
            labels_[peek().text] = here();
            pos_ = 2;
        }
        statements(false);
        if (peek().kind != Token::Kind::kEnd) throw CompileError("unexpected " + peek().text);
    }

    void finish() {
        if (!blocks_.empty()) throw CompileError("unclosed block");
        if (!ended_) throw CompileError("no End Sub");
        for (Instr& instr : out_.code) {
            if (instr.label.empty()) continue;
            const auto it = labels_.find(instr.label);
            if (it == labels_.end()) throw CompileError("no label " + instr.label);
            instr.jump = it->second;
        }
    }

private:
    const Token& peek(int ahead = 0) const {
        const std::size_t at = std::min(pos_ + ahead, tokens_.size() - 1);
        return tokens_[at];
    }
    bool isName(const char* name, int ahead = 0) const {
        return peek(ahead).kind == Token::Kind::kName && peek(ahead).text == name;
    }
    bool isOp(const char* op) const {
        return peek().kind == Token::Kind::kOp && peek().text == op;
    }
    void expectName(const char* name) {
        if (!isName(name)) throw CompileError(std::string("expected ") + name);
        ++pos_;
    }
    void expectOp(const char* op) {
        if (!isOp(op)) throw CompileError(std::string("expected ") + op);
        ++pos_;
    }
    bool atEnd() const { return peek().kind == Token::Kind::kEnd; }
    int here() const { return static_cast<int>(out_.code.size()); }

    int emit(Instr::Kind kind, ExprPtr expr = nullptr) {
        Instr instr;
        instr.kind = kind;
        instr.line = line_;
        instr.expr = std::move(expr);
        out_.code.push_back(std::move(instr));
        return here() - 1;
    }
    void patch(int at) {
        if (at >= 0) out_.code[at].jump = here();
    }

    // The slot of a scalar; `declaring` for a Dim or a parameter, which is
    // what Option Explicit asks for before any other use.
    int scalar(const std::string& name, bool declaring = false) {
        if (!started_) throw CompileError("statement before Sub");
        const Type type = TypeOfName(name);
        if (type == Type::kVariant) throw CompileError("untyped name " + name);
        if (out_.arrayNames.count(name)) throw CompileError(name + " is an array");
        if (declaring) {
            declared_.insert(name);
        } else if (!declared_.count(name) && out_.undeclared.empty()) {
            out_.undeclared = name;
            out_.undeclaredLine = line_;
        }
        const auto it = out_.scalars.find(name);
        if (it != out_.scalars.end()) return it->second;
        out_.scalarTypes.push_back(type);
        return out_.scalars[name] = static_cast<int>(out_.scalarTypes.size()) - 1;
    }
    int hidden(Type type) {
        const std::string name = "#" + std::to_string(hiddenCount_++);
        out_.scalarTypes.push_back(type);
        return out_.scalars[name] = static_cast<int>(out_.scalarTypes.size()) - 1;
    }

    // Statements up to the end of the line (or an Else of a single-line If).
    void statements(bool stopAtElse) {
        while (!atEnd()) {
            if (isOp(":")) {
                ++pos_;
                continue;
            }
            if (stopAtElse && isName("ELSE")) return;
            statement(stopAtElse);
        }
    }

    void statement(bool inLineIf);
    void ifStatement(bool inLineIf);
    void assignment();
    void forStatement();
    void nextStatement();
    void dim();
    void sub();
    Block& innermost(Block::Kind kind);

    ExprPtr expression() { return binary(0); }
    ExprPtr binary(std::size_t level);
    ExprPtr notExpr();
    ExprPtr unary();
    ExprPtr power();
    ExprPtr primary();

    static ExprPtr Binary(BinaryOp op, ExprPtr a, ExprPtr b) {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::kBinary;
        e->op = op;
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    Compiled& out_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int line_ = 0;
    std::map<std::string, int> labels_;
    std::set<std::string> declared_;
    std::vector<Block> blocks_;
    int hiddenCount_ = 0;
    bool started_ = false;
    bool ended_ = false;
};

Block& Compiler::innermost(Block::Kind kind) {
    for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
        if (it->kind == kind) return *it;
    }
    throw CompileError("Exit outside its block");
}

void Compiler::statement(bool inLineIf) {
    if (ended_) throw CompileError("statement after End Sub");
    const Token& t = peek();
    if (t.kind != Token::Kind::kName) throw CompileError("expected a statement");
    const std::string word = t.text;
    if (word == "REM") {
        pos_ = tokens_.size() - 1;
    } else if (word == "SUB") {
        sub();
    } else if (!started_) {
        throw CompileError("statement before Sub");
    } else if (word == "DIM") {
        dim();
    } else if (word == "IF") {
        ifStatement(inLineIf);
    } else if (word == "ELSEIF" || word == "ELSE") {
        if (inLineIf || blocks_.empty() || blocks_.back().kind != Block::Kind::kIf) {
            throw CompileError(word + " without If");
        }
        ++pos_;
        Block& b = blocks_.back();
        if (b.falseJump < 0 && word == "ELSEIF") throw CompileError("ElseIf after Else");
        b.endJumps.push_back(emit(Instr::Kind::kJump));
        patch(b.falseJump);
        b.falseJump = -1;
        if (word == "ELSEIF") {
            ExprPtr condition = expression();
            expectName("THEN");
            b.falseJump = emit(Instr::Kind::kJumpIfFalse, std::move(condition));
        }
    } else if (word == "END") {
        ++pos_;
        if (isName("IF") || isName("SELECT")) {
            const Block::Kind kind = isName("IF") ? Block::Kind::kIf : Block::Kind::kSelect;
            ++pos_;
            if (blocks_.empty() || blocks_.back().kind != kind) {
                throw CompileError("End without block");
            }
            Block& b = blocks_.back();
            patch(b.falseJump);
            for (int j : b.endJumps) patch(j);
            blocks_.pop_back();
        } else {
            const bool subEnd = isName("SUB");
            if (subEnd) ++pos_;
            emit(Instr::Kind::kEndSub);
            if (subEnd) {
                if (inLineIf || !blocks_.empty()) throw CompileError("End Sub inside a block");
                ended_ = true;
            }
        }
    } else if (word == "SELECT") {
        ++pos_;
        expectName("CASE");
        Block b;
        b.kind = Block::Kind::kSelect;
        b.slot = hidden(Type::kVariant);
        const int at = emit(Instr::Kind::kAssign, expression());
        out_.code[at].slot = b.slot;
        blocks_.push_back(std::move(b));
    } else if (word == "CASE") {
        ++pos_;
        if (blocks_.empty() || blocks_.back().kind != Block::Kind::kSelect) {
            throw CompileError("Case without Select");
        }
        Block& b = blocks_.back();
        if (b.seenCase) b.endJumps.push_back(emit(Instr::Kind::kJump));
        patch(b.falseJump);
        b.falseJump = -1;
        b.seenCase = true;
        if (isName("ELSE")) {
            ++pos_;
            return;
        }
        ExprPtr condition;
        do {
            if (condition) ++pos_;  // the comma
            auto value = std::make_unique<Expr>();
            value->kind = Expr::Kind::kScalar;
            value->slot = b.slot;
            ExprPtr test = Binary(BinaryOp::kEq, std::move(value), expression());
            condition = condition ? Binary(BinaryOp::kOr, std::move(condition), std::move(test))
                                  : std::move(test);
        } while (isOp(","));
        b.falseJump = emit(Instr::Kind::kJumpIfFalse, std::move(condition));
    } else if (word == "DO") {
        ++pos_;
        Block b;
        b.kind = Block::Kind::kDo;
        b.top = here();
        if (isName("UNTIL") || isName("WHILE")) {
            const bool until = isName("UNTIL");
            ++pos_;
            b.endJumps.push_back(
                emit(until ? Instr::Kind::kJumpIfTrue : Instr::Kind::kJumpIfFalse, expression()));
        }
        blocks_.push_back(std::move(b));
    } else if (word == "LOOP") {
        ++pos_;
        if (blocks_.empty() || blocks_.back().kind != Block::Kind::kDo) {
            throw CompileError("Loop without Do");
        }
        Block b = std::move(blocks_.back());
        blocks_.pop_back();
        int back;
        if (isName("UNTIL") || isName("WHILE")) {
            const bool until = isName("UNTIL");
            ++pos_;
            back =
                emit(until ? Instr::Kind::kJumpIfFalse : Instr::Kind::kJumpIfTrue, expression());
        } else {
            back = emit(Instr::Kind::kJump);
        }
        out_.code[back].jump = b.top;
        for (int j : b.endJumps) patch(j);
    } else if (word == "FOR") {
        forStatement();
    } else if (word == "NEXT") {
        nextStatement();
    } else if (word == "EXIT") {
        ++pos_;
        if (isName("SUB")) {
            ++pos_;
            emit(Instr::Kind::kEndSub);
        } else if (isName("DO") || isName("FOR")) {
            Block& b = innermost(isName("DO") ? Block::Kind::kDo : Block::Kind::kFor);
            ++pos_;
            b.endJumps.push_back(emit(Instr::Kind::kJump));
        } else {
            throw CompileError("unknown Exit");
        }
    } else if (word == "GOTO" || word == "GOSUB") {
        ++pos_;
        if (peek().kind != Token::Kind::kName) throw CompileError("expected a label");
        const int at = emit(word == "GOTO" ? Instr::Kind::kJump : Instr::Kind::kGoSub);
        out_.code[at].label = peek().text;
        ++pos_;
    } else if (word == "RETURN") {
        ++pos_;
        emit(Instr::Kind::kReturn);
    } else if (word == "ON") {
        // On Error GoTo label arms a handler, On Error GoTo 0 disarms it.
        ++pos_;
        expectName("ERROR");
        expectName("GOTO");
        const int at = emit(Instr::Kind::kOnError);
        if (peek().kind == Token::Kind::kNumber && peek().value.number == 0) {
            out_.code[at].jump = -1;
        } else if (peek().kind == Token::Kind::kName) {
            out_.code[at].label = peek().text;
        } else {
            throw CompileError("expected a label or 0");
        }
        ++pos_;
    } else if (word == "RESUME") {
        ++pos_;
        if (isName("NEXT")) {
            ++pos_;
            emit(Instr::Kind::kResumeNext);
        } else {
            const int at = emit(Instr::Kind::kResume);
            if (peek().kind == Token::Kind::kName) {
                out_.code[at].label = peek().text;
                ++pos_;
            } else if (peek().kind == Token::Kind::kNumber && peek().value.number == 0) {
                ++pos_;
            }
        }
    } else if (word == "DOEVENTS") {
        ++pos_;
        emit(Instr::Kind::kDoEvents);
    } else {
        if (word == "LET") ++pos_;
        assignment();
    }
}

void Compiler::sub() {
    if (started_) throw CompileError("second Sub");
    started_ = true;
    ++pos_;
    if (peek().kind != Token::Kind::kName) throw CompileError("expected the Sub's name");
    ++pos_;
    expectOp("(");
    while (!isOp(")")) {
        if (!out_.parameters.empty()) expectOp(",");
        if (peek().kind != Token::Kind::kName) throw CompileError("expected a parameter");
        out_.parameters.push_back(scalar(peek().text, true));
        ++pos_;
    }
    ++pos_;
}

void Compiler::dim() {
    ++pos_;
    do {
        if (isOp(",")) ++pos_;
        if (peek().kind != Token::Kind::kName) throw CompileError("expected a name");
        const std::string name = peek().text;
        ++pos_;
        if (isOp("(")) {
            ++pos_;
            if (peek().kind != Token::Kind::kNumber) throw CompileError("expected a bound");
            const int upper = static_cast<int>(peek().value.number);
            ++pos_;
            expectOp(")");
            const Type type = TypeOfName(name);
            if (type == Type::kVariant) throw CompileError("untyped array " + name);
            if (out_.arrayNames.count(name) || out_.scalars.count(name)) {
                throw CompileError("duplicate definition " + name);
            }
            out_.arrays.push_back({type, upper + 1});
            out_.arrayNames[name] = static_cast<int>(out_.arrays.size()) - 1;
        } else {
            scalar(name, true);
        }
    } while (isOp(","));
}

void Compiler::ifStatement(bool inLineIf) {
    ++pos_;
    ExprPtr condition = expression();
    expectName("THEN");
    if (atEnd()) {
        if (inLineIf) throw CompileError("block If inside a single-line If");
        Block b;
        b.kind = Block::Kind::kIf;
        b.falseJump = emit(Instr::Kind::kJumpIfFalse, std::move(condition));
        blocks_.push_back(std::move(b));
        return;
    }
    const int skip = emit(Instr::Kind::kJumpIfFalse, std::move(condition));
    statements(true);
    if (isName("ELSE")) {
        ++pos_;
        const int over = emit(Instr::Kind::kJump);
        patch(skip);
        statements(true);
        patch(over);
    } else {
        patch(skip);
    }
}

void Compiler::assignment() {
    if (peek().kind != Token::Kind::kName || IsKeyword(peek().text) || FindFunction(peek().text)) {
        throw CompileError("expected a statement");
    }
    const std::string name = peek().text;
    ++pos_;
    Instr instr;
    instr.kind = Instr::Kind::kAssign;
    instr.line = line_;
    if (isOp("(")) {
        const auto it = out_.arrayNames.find(name);
        if (it == out_.arrayNames.end()) throw CompileError("undeclared array " + name);
        ++pos_;
        instr.element = true;
        instr.slot = it->second;
        instr.index = expression();
        expectOp(")");
    } else {
        instr.slot = scalar(name);
    }
    expectOp("=");
    instr.expr = expression();
    out_.code.push_back(std::move(instr));
}

void Compiler::forStatement() {
    ++pos_;
    if (peek().kind != Token::Kind::kName) throw CompileError("expected the loop variable");
    Block b;
    b.kind = Block::Kind::kFor;
    b.slot = scalar(peek().text);
    ++pos_;
    expectOp("=");
    int at = emit(Instr::Kind::kAssign, expression());
    out_.code[at].slot = b.slot;
    expectName("TO");
    b.limitSlot = hidden(Type::kVariant);
    at = emit(Instr::Kind::kAssign, expression());
    out_.code[at].slot = b.limitSlot;
    b.stepSlot = hidden(Type::kVariant);
    ExprPtr step;
    if (isName("STEP")) {
        ++pos_;
        step = expression();
    } else {
        step = std::make_unique<Expr>();
        step->literal = Value::Integer(1);
    }
    at = emit(Instr::Kind::kAssign, std::move(step));
    out_.code[at].slot = b.stepSlot;
    b.top = here();
    at = emit(Instr::Kind::kForTest);
    out_.code[at].slot = b.slot;
    out_.code[at].limitSlot = b.limitSlot;
    out_.code[at].stepSlot = b.stepSlot;
    b.endJumps.push_back(at);
    blocks_.push_back(std::move(b));
}

void Compiler::nextStatement() {
    ++pos_;
    if (blocks_.empty() || blocks_.back().kind != Block::Kind::kFor) {
        throw CompileError("Next without For");
    }
    Block b = std::move(blocks_.back());
    blocks_.pop_back();
    if (peek().kind == Token::Kind::kName) {
        if (scalar(peek().text) != b.slot) throw CompileError("Next of another variable");
        ++pos_;
    }
    int at = emit(Instr::Kind::kForStep);
    out_.code[at].slot = b.slot;
    out_.code[at].stepSlot = b.stepSlot;
    at = emit(Instr::Kind::kJump);
    out_.code[at].jump = b.top;
    for (int j : b.endJumps) patch(j);
}

// The binary operators by binding, loosest first. The operands of a level
// are expressions of the next, those of And a Not expression.
struct OperatorLevel {
    bool words;  // named operators (Or, Mod), not operator characters
    std::vector<std::pair<const char*, BinaryOp>> ops;
};
const OperatorLevel kOperatorLevels[] = {
    {true, {{"OR", BinaryOp::kOr}, {"XOR", BinaryOp::kXor}}},
    {true, {{"AND", BinaryOp::kAnd}}},
    {false,
     {{"=", BinaryOp::kEq},
      {"<>", BinaryOp::kNe},
      {"<", BinaryOp::kLt},
      {">", BinaryOp::kGt},
      {"<=", BinaryOp::kLe},
      {">=", BinaryOp::kGe}}},
    {false, {{"&", BinaryOp::kConcat}}},
    {false, {{"+", BinaryOp::kAdd}, {"-", BinaryOp::kSub}}},
    {true, {{"MOD", BinaryOp::kMod}}},
    {false, {{"\\", BinaryOp::kIntDiv}}},
    {false, {{"*", BinaryOp::kMul}, {"/", BinaryOp::kDiv}}},
};
constexpr std::size_t kAndLevel = 1;

ExprPtr Compiler::binary(std::size_t level) {
    if (level == std::size(kOperatorLevels)) return unary();
    const OperatorLevel& at = kOperatorLevels[level];
    const auto operand = [&] { return level == kAndLevel ? notExpr() : binary(level + 1); };
    ExprPtr e = operand();
    for (;;) {
        const auto op = std::find_if(at.ops.begin(), at.ops.end(), [&](const auto& entry) {
            return at.words ? isName(entry.first) : isOp(entry.first);
        });
        if (op == at.ops.end()) return e;
        ++pos_;
        e = Binary(op->second, std::move(e), operand());
    }
}

ExprPtr Compiler::notExpr() {
    if (!isName("NOT")) return binary(kAndLevel + 1);
    ++pos_;
    auto e = std::make_unique<Expr>();
    e->kind = Expr::Kind::kNot;
    e->args.push_back(notExpr());
    return e;
}

// Unary minus binds less tightly than ^: -2 ^ 2 is -4.
ExprPtr Compiler::unary() {
    if (isOp("-") || isOp("+")) {
        const bool negate = isOp("-");
        ++pos_;
        ExprPtr operand = unary();
        if (!negate) return operand;
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::kNegate;
        e->args.push_back(std::move(operand));
        return e;
    }
    return power();
}

ExprPtr Compiler::power() {
    ExprPtr e = primary();
    while (isOp("^")) {
        ++pos_;
        ExprPtr exponent;
        if (isOp("-")) {
            ++pos_;
            exponent = std::make_unique<Expr>();
            exponent->kind = Expr::Kind::kNegate;
            exponent->args.push_back(primary());
        } else {
            exponent = primary();
        }
        e = Binary(BinaryOp::kPow, std::move(e), std::move(exponent));
    }
    return e;
}

ExprPtr Compiler::primary() {
    const Token t = peek();
    auto e = std::make_unique<Expr>();
    if (t.kind == Token::Kind::kNumber || t.kind == Token::Kind::kString) {
        ++pos_;
        e->literal = t.value;
        return e;
    }
    if (isOp("(")) {
        ++pos_;
        ExprPtr inner = expression();
        expectOp(")");
        return inner;
    }
    if (t.kind != Token::Kind::kName || IsKeyword(t.text)) {
        throw CompileError("expected a value");
    }
    ++pos_;
    if (const Function* function = FindFunction(t.text)) {
        e->kind = Expr::Kind::kFunction;
        e->function = *function;
        expectOp("(");
        e->args.push_back(expression());
        while (isOp(",")) {
            ++pos_;
            e->args.push_back(expression());
        }
        expectOp(")");
        return e;
    }
    if (isOp("(")) {
        const auto array = out_.arrayNames.find(t.text);
        if (array == out_.arrayNames.end()) throw CompileError("undeclared array " + t.text);
        ++pos_;
        e->kind = Expr::Kind::kElement;
        e->slot = array->second;
        e->args.push_back(expression());
        expectOp(")");
        return e;
    }
    e->kind = Expr::Kind::kScalar;
    e->slot = scalar(t.text);
    return e;
}

}  // namespace

void Compile(const std::vector<std::string>& lines, Compiled& out) {
    out = Compiled{};
    Compiler compiler(out);
    int number = 0;
    try {
        for (const std::string& text : lines) compiler.line(text, ++number);
        number = 0;
        compiler.finish();
    } catch (const CompileError& e) {
        out.error = (number > 0 ? "line " + std::to_string(number) + ": " : std::string()) +
                    e.what() + (number > 0 ? " in \"" + lines[number - 1] + "\"" : "");
    } catch (const RuntimeError& e) {
        out.error = "line " + std::to_string(number) + ": " + e.what();
    }
}

}  // namespace kx::test::basic
