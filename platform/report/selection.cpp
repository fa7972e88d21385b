#include "platform/report/selection.h"

namespace tv::report {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isNameChar(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u' ' ||
           c == u'#' || c == u'_';
}

Result refuse(const QString& message)
{
    return Result::failure(ResultCode::FormulaInvalid, message);
}

} // namespace

Result parseSelectionFormula(const QString& formula, Selection* out)
{
    *out = Selection();
    qsizetype i = 0;
    const qsizetype n = formula.size();
    while (i < n && isBlank(formula[i]))
        ++i;
    if (i == n)
        return Result::success();

    const QString shape =
        QStringLiteral("The record selection formula must read {Table.Field}= followed by a job number.");
    if (formula[i] != u'{')
        return refuse(shape);
    const qsizetype open = i;
    qsizetype close = open + 1;
    // Names are short; a long run without "}" is not a name.
    while (close < n && close - open <= 128 && formula[close] != u'}') {
        if (!isNameChar(formula[close]) && formula[close] != u'.')
            return refuse(shape);
        ++close;
    }
    if (close >= n || formula[close] != u'}')
        return refuse(shape);
    const QString name = formula.mid(open + 1, close - open - 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1 || name.indexOf(u'.') != dot)
        return refuse(shape);
    i = close + 1;
    if (i >= n || formula[i] != u'=')
        return refuse(shape);
    ++i;

    while (i < n && isBlank(formula[i]))
        ++i;
    qsizetype end = n;
    while (end > i && isBlank(formula[end - 1]))
        --end;
    const QString wholeNumber = QStringLiteral("The job number must be a whole number.");
    if (i == end)
        return refuse(wholeNumber);
    qint64 value = 0;
    bool tooLarge = false;
    for (qsizetype k = i; k < end; ++k) {
        const QChar c = formula[k];
        if (c < u'0' || c > u'9')
            return refuse(wholeNumber);
        if (!tooLarge) {
            value = value * 10 + (c.unicode() - u'0');
            tooLarge = value > MaxJobNumber;
        }
    }
    if (tooLarge)
        return refuse(
            QStringLiteral("The job number is too large; job numbers go up to %1.").arg(MaxJobNumber));

    out->active = true;
    out->table = name.left(dot);
    out->field = name.mid(dot + 1);
    out->value = value;
    return Result::success();
}

} // namespace tv::report
