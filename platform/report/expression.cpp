#include "platform/report/expression.h"

#include <QLocale>

namespace tv::report {

namespace {

bool isOperatorChar(QChar c)
{
    return c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'(' || c == u')' || c == u',' ||
           c == u'"';
}

struct Token
{
    enum Kind { End, Word, String, Operator } kind = End;
    QString text;
};

class Parser
{
public:
    explicit Parser(const QString& text) : m_text(text) { advance(); }

    ExprPtr parse(QString* error)
    {
        ExprPtr e = expression();
        if (e && m_token.kind != Token::End)
            fail(QStringLiteral("unexpected \"%1\"").arg(m_token.text));
        if (!m_error.isEmpty()) {
            if (error)
                *error = m_error;
            return {};
        }
        return e;
    }

private:
    void fail(const QString& message)
    {
        if (m_error.isEmpty())
            m_error = message;
    }

    // Reads the next token. A name runs over blanks ("Job Items.Item Qty") until an operator.
    void advance()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
        if (m_pos >= m_text.size()) {
            m_token = {Token::End, {}};
            return;
        }
        const QChar c = m_text[m_pos];
        if (c == u'"') {
            QString s;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size()) {
                    fail(QStringLiteral("a text in quotes is not closed"));
                    break;
                }
                if (m_text[m_pos] == u'"') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'"') {
                        s.append(u'"');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                s.append(m_text[m_pos++]);
            }
            m_token = {Token::String, s};
            return;
        }
        if (isOperatorChar(c)) {
            ++m_pos;
            m_token = {Token::Operator, QString(c)};
            return;
        }
        qsizetype end = m_pos;
        while (end < m_text.size() && !isOperatorChar(m_text[end]))
            ++end;
        m_token = {Token::Word, m_text.mid(m_pos, end - m_pos).simplified()};
        m_pos = end;
    }

    bool isOp(const char* op) const
    {
        return m_token.kind == Token::Operator && m_token.text == QLatin1String(op);
    }

    ExprPtr binary(Expr::Op op, ExprPtr l, ExprPtr r)
    {
        auto e = std::make_shared<Expr>();
        e->op = op;
        e->args = {std::move(l), std::move(r)};
        return e;
    }

    ExprPtr expression()
    {
        ExprPtr left = term();
        while (left && (isOp("+") || isOp("-"))) {
            const Expr::Op op = isOp("+") ? Expr::Op::Add : Expr::Op::Subtract;
            advance();
            ExprPtr right = term();
            if (!right)
                return {};
            left = binary(op, left, right);
        }
        return left;
    }

    ExprPtr term()
    {
        ExprPtr left = unary();
        while (left && (isOp("*") || isOp("/"))) {
            const Expr::Op op = isOp("*") ? Expr::Op::Multiply : Expr::Op::Divide;
            advance();
            ExprPtr right = unary();
            if (!right)
                return {};
            left = binary(op, left, right);
        }
        return left;
    }

    ExprPtr unary()
    {
        if (isOp("-")) {
            advance();
            ExprPtr inner = unary();
            if (!inner)
                return {};
            auto e = std::make_shared<Expr>();
            e->op = Expr::Op::Negate;
            e->args = {inner};
            return e;
        }
        return primary();
    }

    ExprPtr primary()
    {
        if (++m_depth > 64) {
            fail(QStringLiteral("the formula is nested too deeply"));
            return {};
        }
        struct DepthGuard
        {
            int& d;
            ~DepthGuard() { --d; }
        } guard{m_depth};

        if (isOp("(")) {
            advance();
            ExprPtr inner = expression();
            if (!inner)
                return {};
            if (!isOp(")")) {
                fail(QStringLiteral("a \")\" is missing"));
                return {};
            }
            advance();
            return inner;
        }
        if (m_token.kind == Token::String) {
            auto e = std::make_shared<Expr>();
            e->literal = Value::text(m_token.text);
            advance();
            return e;
        }
        if (m_token.kind == Token::Word) {
            const QString word = m_token.text;
            advance();
            if (isOp("(")) {
                auto e = std::make_shared<Expr>();
                e->op = Expr::Op::Call;
                e->name = word.toLower();
                advance();
                if (!isOp(")")) {
                    for (;;) {
                        ExprPtr arg = expression();
                        if (!arg)
                            return {};
                        e->args.append(arg);
                        if (isOp(",")) {
                            advance();
                            continue;
                        }
                        break;
                    }
                }
                if (!isOp(")")) {
                    fail(QStringLiteral("a \")\" is missing after the arguments of %1").arg(word));
                    return {};
                }
                advance();
                return e;
            }
            auto e = std::make_shared<Expr>();
            bool isNumber = false;
            if (!word.contains(u' ')) {
                const QLocale c = QLocale::c();
                const qlonglong whole = c.toLongLong(word, &isNumber);
                if (isNumber) {
                    e->literal = Value::integer(whole);
                } else {
                    const double d = c.toDouble(word, &isNumber);
                    if (isNumber)
                        e->literal = Value::real(d);
                }
            }
            if (!isNumber) {
                e->op = Expr::Op::Name;
                e->name = word;
            }
            return e;
        }
        if (m_token.kind == Token::End)
            fail(QStringLiteral("the formula ends too early"));
        else
            fail(QStringLiteral("unexpected \"%1\"").arg(m_token.text));
        return {};
    }

    const QString m_text;
    qsizetype m_pos = 0;
    Token m_token;
    QString m_error;
    int m_depth = 0;
};

} // namespace

ExprPtr parseExpression(const QString& text, QString* error)
{
    if (text.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("the formula is empty");
        return {};
    }
    return Parser(text).parse(error);
}

bool bindExpression(Expr& expr, NameResolver& resolver, QString* error)
{
    switch (expr.op) {
    case Expr::Op::Literal:
        return true;
    case Expr::Op::Name:
        return resolver.resolve(expr, error);
    case Expr::Op::Call:
        if (expr.name == QLatin1String("sum")) {
            if (expr.args.size() != 1) {
                if (error)
                    *error = QStringLiteral("sum() takes one formula, as in sum(Line Total)");
                return false;
            }
        } else if (expr.name == QLatin1String("either")) {
            if (expr.args.isEmpty()) {
                if (error)
                    *error = QStringLiteral("either() takes one formula or more, as in either(Job "
                                            "Information.Quote Date, Today)");
                return false;
            }
        } else if (expr.name == QLatin1String("count")) {
            if (expr.args.size() > 1) {
                if (error)
                    *error = QStringLiteral("count() takes at most one formula");
                return false;
            }
        } else {
            if (error)
                *error = QStringLiteral("there is no function %1(); there are sum(), count() and either()")
                             .arg(expr.name);
            return false;
        }
        for (const ExprPtr& a : expr.args) {
            if (expr.name != QLatin1String("either") && usesAggregate(*a)) {
                if (error)
                    *error = QStringLiteral("%1() cannot hold another sum or count").arg(expr.name);
                return false;
            }
        }
        [[fallthrough]];
    default:
        for (const ExprPtr& a : expr.args)
            if (!bindExpression(*a, resolver, error))
                return false;
        return true;
    }
}

Value evaluate(const Expr& e, const EvalContext& ctx)
{
    switch (e.op) {
    case Expr::Op::Literal:
        return e.literal;
    case Expr::Op::Name:
        switch (e.target) {
        case Expr::Target::Field:
            return ctx.field(e.source, e.column);
        case Expr::Target::Formula:
            return ctx.formula(e.column);
        case Expr::Target::Builtin:
            return ctx.builtin(Builtin(e.source));
        case Expr::Target::Unresolved:
            return {};
        }
        return {};
    case Expr::Op::Call:
        if (e.name == QLatin1String("either")) {
            for (const ExprPtr& a : e.args) {
                Value v = evaluate(*a, ctx);
                if (!v.isEmpty())
                    return v;
            }
            return {};
        }
        return ctx.aggregate(e.name, e.args.isEmpty() ? nullptr : e.args.first().get());
    case Expr::Op::Add:
        return Value::add(evaluate(*e.args[0], ctx), evaluate(*e.args[1], ctx));
    case Expr::Op::Subtract:
        return Value::subtract(evaluate(*e.args[0], ctx), evaluate(*e.args[1], ctx));
    case Expr::Op::Multiply:
        return Value::multiply(evaluate(*e.args[0], ctx), evaluate(*e.args[1], ctx));
    case Expr::Op::Divide:
        return Value::divide(evaluate(*e.args[0], ctx), evaluate(*e.args[1], ctx));
    case Expr::Op::Negate:
        return Value::negate(evaluate(*e.args[0], ctx));
    }
    return {};
}

bool isAggregate(const Expr& e)
{
    return e.op == Expr::Op::Call && (e.name == QLatin1String("sum") || e.name == QLatin1String("count"));
}

bool usesAggregate(const Expr& e)
{
    if (isAggregate(e))
        return true;
    for (const ExprPtr& a : e.args)
        if (usesAggregate(*a))
            return true;
    return false;
}

bool usesPageNumbers(const Expr& e)
{
    if (e.op == Expr::Op::Name && e.target == Expr::Target::Builtin &&
        (Builtin(e.source) == Builtin::Page || Builtin(e.source) == Builtin::Pages))
        return true;
    for (const ExprPtr& a : e.args)
        if (usesPageNumbers(*a))
            return true;
    return false;
}

} // namespace tv::report
