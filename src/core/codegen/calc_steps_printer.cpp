#include "core/codegen/calc_steps_printer.h"

namespace kx::core::steps {

namespace {

// or 1, and 2, not 3, comparisons 4, + - 5, * / 6, unary minus 7, atoms 9.
int Precedence(const std::string& op) {
    if (op == "or") return 1;
    if (op == "and") return 2;
    if (op == "+" || op == "-") return 5;
    if (op == "*" || op == "/") return 6;
    return 4;
}

bool Arithmetic(const std::string& op) {
    return op == "+" || op == "-" || op == "*" || op == "/";
}

bool IntLiteral(const Expr& e) {
    return e.kind == Expr::Kind::kLiteral && e.type == Type::kInt;
}

}  // namespace

std::string CamelName(const std::string& name, bool upper) {
    std::string text;
    for (const char c : name) {
        if (c == '_') {
            upper = true;
            continue;
        }
        text += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        upper = false;
    }
    return text;
}

std::string UpperCase(const std::string& name) {
    std::string text(name);
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

std::string LengthFromOne(const std::string& size, const std::string& lines) {
    return size == "lines" ? lines + " + 1" : std::to_string(std::stoi(size) + 1);
}

bool MayFail(const Expr& e) {
    if (e.function != nullptr && e.function->faults) return true;
    for (const Expr& arg : e.args) {
        if (MayFail(arg)) return true;
    }
    return false;
}

std::vector<std::string> StepsPrinter::functions(const CalcSteps& steps) {
    lines_.clear();
    for (const Function& f : steps.functions) {
        current_ = &f;
        function(f);
        lines_.emplace_back();
    }
    current_ = nullptr;
    return std::move(lines_);
}

std::string StepsPrinter::parameters(const Function& f, const std::string& first) const {
    std::string text = first;
    for (const Variable& p : f.params) text += (text.empty() ? "" : ", ") + parameter(p);
    return text;
}

void StepsPrinter::functionBody(const Function& f) {
    for (std::size_t i = 0; i < f.body.size(); ++i) {
        const Statement& s = f.body[i];
        const bool last = i + 1 == f.body.size();
        if (last && s.kind == Statement::Kind::kReturn && !s.exprs.empty()) {
            lastReturn(s);
        } else {
            statement(s);
        }
    }
}

std::string StepsPrinter::expr(const Expr& e, int context) const {
    std::string text;
    int precedence = 9;
    switch (e.kind) {
        case Expr::Kind::kLiteral:
            text = literal(e.name, e.type);
            if (e.name[0] == '-') precedence = 7;
            break;
        case Expr::Kind::kLocal:
            text = e.args.empty() ? local(e.name) : element(local(e.name), e.args[0]);
            break;
        case Expr::Kind::kField:
            text = e.args.empty() ? field(e.name) : element(field(e.name), e.args[0]);
            break;
        case Expr::Kind::kConstant: text = constant(e.name); break;
        case Expr::Kind::kScalar: text = scalar(e.name); break;
        case Expr::Kind::kTable: text = table(e); break;
        case Expr::Kind::kCall: text = call(e); break;
        case Expr::Kind::kBuiltin:
            text = builtin(e);
            precedence = builtinPrecedence(e);
            break;
        case Expr::Kind::kUnary:
            precedence = e.name == "not" ? 3 : 7;
            text = op(e.name) + expr(e.args[0], 9);
            break;
        case Expr::Kind::kBinary: {
            precedence = Precedence(e.name);
            const Expr& left = e.args[0];
            const Expr& right = e.args[1];
            const bool comparison = precedence == 4;
            const int leftContext = comparison ? 5 : precedence;
            const bool singles = left.type == Type::kSingle && right.type == Type::kSingle;
            text = (Arithmetic(e.name) && singles ? promoted(left, leftContext)
                                                  : expr(left, leftContext)) +
                   " " + op(e.name) + " " + expr(right, precedence + 1);
            break;
        }
    }
    return precedence < context ? "(" + text + ")" : text;
}

std::string StepsPrinter::exprAs(const Expr& e, Type want) const {
    if (e.kind == Expr::Kind::kLiteral) return literal(e.name, want);
    if (want == Type::kDouble && e.type == Type::kSingle) return widened(e);
    return expr(e);
}

std::string StepsPrinter::op(const std::string& name) const {
    if (name == "and") return "&&";
    if (name == "or") return "||";
    if (name == "not") return "!";
    return name;
}

std::string StepsPrinter::literal(const std::string& text, Type) const {
    return text;
}

std::string StepsPrinter::fromZero(const Expr& index) const {
    if (IntLiteral(index)) return std::to_string(std::stoi(index.name) - 1);
    if (index.kind == Expr::Kind::kBinary && IntLiteral(index.args[1])) {
        const int n = std::stoi(index.args[1].name);
        const std::string left = expr(index.args[0], 5);
        if (index.name == "+") return n == 1 ? left : left + " + " + std::to_string(n - 1);
        if (index.name == "-") return left + " - " + std::to_string(n + 1);
    }
    return expr(index, 5) + " - 1";
}

std::string StepsPrinter::table(const Expr& e) const {
    std::string text = tableName(e.name);
    for (const Expr& index : e.args) text += "[" + fromZero(index) + "]";
    return text;
}

std::string StepsPrinter::element(const std::string& array, const Expr& index) const {
    return array + "[" + expr(index) + "]";
}

std::string StepsPrinter::call(const Expr& e) const {
    const std::string args = arguments(e.args, e.function);
    const std::string run = takesRun(*e.function) ? (args.empty() ? "r" : "r, ") : "";
    return functionName(e.name) + "(" + run + args + ")";
}

std::string StepsPrinter::arguments(const std::vector<Expr>& args, const Function* f) const {
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) text += ", ";
        text += f != nullptr ? exprAs(args[i], f->params[i].type) : expr(args[i]);
    }
    return text;
}

void StepsPrinter::line(const std::string& text) {
    if (text.empty()) {
        lines_.emplace_back();
        return;
    }
    std::string indented;
    for (std::size_t i = 0; i < depth_; ++i) indented += indent_;
    lines_.push_back(indented + text);
}

void StepsPrinter::block(const Block& block) {
    for (const Statement& s : block) statement(s);
}

std::string StepsPrinter::withNote(const std::string& text, const std::string& note) const {
    return note.empty() ? text : text + noteSeparator() + note + commentEnd();
}

void StepsPrinter::statement(const Statement& s) {
    switch (s.kind) {
        case Statement::Kind::kComment: {
            std::string prefix = commentPrefix();
            if (s.name.empty()) prefix.pop_back();
            line(prefix + s.name + commentEnd());
            break;
        }
        case Statement::Kind::kLet: let(s); break;
        case Statement::Kind::kAssign: assign(s.exprs[0], s.exprs[1], s.note); break;
        case Statement::Kind::kIf: branches(s); break;
        case Statement::Kind::kWhile: loopWhile(s); break;
        case Statement::Kind::kFor: loopFor(s); break;
        case Statement::Kind::kBreak: line(withNote(breakText(), s.note)); break;
        case Statement::Kind::kReturn: returnValue(s); break;
        case Statement::Kind::kFail: fail(s); break;
        case Statement::Kind::kCall: callStatement(s); break;
    }
}

void StepsPrinter::assign(const Expr& target, const Expr& value, const std::string& note) {
    line(withNote(expr(target) + " = " + exprAs(value, target.type) + statementEnd(), note));
}

void StepsPrinter::branches(const Statement& s) {
    const bool single = s.blocks.size() == 1 && s.blocks[0].size() == 1;
    const Statement::Kind kind = single ? s.blocks[0][0].kind : Statement::Kind::kIf;
    if (oneLineIfs() && (kind == Statement::Kind::kBreak || kind == Statement::Kind::kReturn ||
                         kind == Statement::Kind::kFail || kind == Statement::Kind::kAssign)) {
        const std::size_t before = lines_.size();
        statement(s.blocks[0][0]);
        if (lines_.size() == before + 1) {
            const std::string body = lines_.back().substr(lines_.back().find_first_not_of(' '));
            lines_.pop_back();
            line(ifHead(expr(s.exprs[0])) + " " + body);
            return;
        }
        lines_.resize(before);
    }
    for (std::size_t i = 0; i < s.exprs.size(); ++i) {
        const std::string condition = expr(s.exprs[i]);
        if (i == 0) {
            open(ifHead(condition));
        } else {
            middle(elseIfHead(condition));
        }
        block(s.blocks[i]);
    }
    if (s.blocks.size() > s.exprs.size()) {
        middle(elseHead());
        block(s.blocks.back());
    }
    close(Statement::Kind::kIf);
}

void StepsPrinter::loopWhile(const Statement& s) {
    open(whileHead(expr(s.exprs[0])));
    block(s.blocks[0]);
    close(Statement::Kind::kWhile);
}

void StepsPrinter::returnValue(const Statement& s) {
    const std::string value = s.exprs.empty() ? "" : " " + exprAs(s.exprs[0], current_->result);
    line(withNote("return" + value + statementEnd(), s.note));
}

void StepsPrinter::fail(const Statement& s) {
    line(withNote("throw new Fault();", s.note));
}

void StepsPrinter::callStatement(const Statement& s) {
    line(withNote(expr(s.exprs[0]) + statementEnd(), s.note));
}

void StepsPrinter::open(const std::string& head) {
    if (braces_ == Braces::kOwnLines) {
        line(head);
        line("{");
    } else {
        line(head + (braces_ == Braces::kOnTheLine ? " {" : headEnd_));
    }
    ++depth_;
}

void StepsPrinter::middle(const std::string& head) {
    --depth_;
    if (braces_ == Braces::kOnTheLine) {
        line("} " + head + " {");
    } else {
        if (braces_ == Braces::kOwnLines) line("}");
        open(head);
        return;
    }
    ++depth_;
}

void StepsPrinter::close(Statement::Kind kind) {
    --depth_;
    const std::string end = braces_ == Braces::kNone ? endOf(kind) : "}";
    if (!end.empty()) line(end);
}

std::string StepsPrinter::ifHead(const std::string& condition) const {
    return "if (" + condition + ")";
}

std::string StepsPrinter::elseIfHead(const std::string& condition) const {
    return "else if (" + condition + ")";
}

std::string StepsPrinter::whileHead(const std::string& condition) const {
    return "while (" + condition + ")";
}

}  // namespace kx::core::steps
