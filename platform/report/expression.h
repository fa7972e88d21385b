#pragma once

#include "platform/report/value.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace tv::report {

// Formulas of the layout files: numbers, "texts", names of fields ("Job Items.Item Qty", blanks and "#"
// included), names of the layout's own formulas ("Line Total"), built-in names (Page, Pages, Today,
// Continued), the operators + - * / with parentheses, and the functions sum(x), count() and either(a, b,
// ...), the first of its values that is not empty.
struct Expr
{
    enum class Op { Literal, Name, Call, Add, Subtract, Multiply, Divide, Negate };
    enum class Target { Unresolved, Field, Formula, Builtin };

    Op op = Op::Literal;
    Value literal;
    QString name; // the name as written, or the function's name in lower case
    QList<std::shared_ptr<Expr>> args;

    // Where a name points, filled in when the layout is bound to its data.
    Target target = Target::Unresolved;
    int source = -1; // Field: the table; Builtin: which one
    int column = -1; // Field: the column; Formula: the formula's index
};
using ExprPtr = std::shared_ptr<Expr>;

enum class Builtin { Page, Pages, Today, Continued };

// Parses a formula. On a mistake returns null and puts a short explanation into error.
ExprPtr parseExpression(const QString& text, QString* error);

// Tells the binder what a name means.
class NameResolver
{
public:
    virtual ~NameResolver() = default;
    // Fills target, source and column of the Name node, or returns false with an explanation.
    virtual bool resolve(Expr& name, QString* error) = 0;
};

// Resolves every name of the tree; false with the first explanation on failure. Also checks the functions.
bool bindExpression(Expr& expr, NameResolver& resolver, QString* error);

// Supplies the values while a formula is worked out.
class EvalContext
{
public:
    virtual ~EvalContext() = default;
    virtual Value field(int source, int column) const = 0;
    virtual Value formula(int index) const = 0;
    virtual Value builtin(Builtin which) const = 0;
    // sum(x) or count(x) over the rows in scope: the group in group bands, else the whole document.
    virtual Value aggregate(const QString& function, const Expr* argument) const = 0;
};

Value evaluate(const Expr& expr, const EvalContext& context);

// True for a sum() or count() node.
bool isAggregate(const Expr& expr);
// True where the tree sums or counts somewhere (such values depend on the rows in scope).
bool usesAggregate(const Expr& expr);
// True where the tree names Page or Pages (such values are only known after the pages are laid out).
bool usesPageNumbers(const Expr& expr);

} // namespace tv::report
