#include "platform/report/template.h"

namespace tv::report {

namespace {

// Splits "formula : format | fallback" at the first "|" and the last ":" outside quotes and parentheses.
void splitField(const QString& inside, QString* formula, QString* format, QString* fallback,
                bool* hasFallback)
{
    int depth = 0;
    bool quoted = false;
    qsizetype bar = -1, colon = -1;
    for (qsizetype i = 0; i < inside.size(); ++i) {
        const QChar c = inside[i];
        if (c == u'"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && c == u'|' && bar < 0)
            bar = i;
        else if (depth == 0 && c == u':' && bar < 0)
            colon = i;
    }
    QString head = bar >= 0 ? inside.left(bar) : inside;
    *hasFallback = bar >= 0;
    *fallback = bar >= 0 ? inside.mid(bar + 1).trimmed() : QString();
    if (colon >= 0) {
        *formula = head.left(colon).trimmed();
        *format = head.mid(colon + 1).trimmed();
    } else {
        *formula = head.trimmed();
        format->clear();
    }
}

} // namespace

bool isBlank(QStringView text)
{
    for (QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

bool Template::parse(const QString& text, QString* error)
{
    m_lines.clear();
    m_fields.clear();
    bool bold = false;
    Line line;
    QString literal;
    auto flushLiteral = [&] {
        if (!literal.isEmpty()) {
            line.segments.append({literal, -1, bold});
            literal.clear();
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n') {
            flushLiteral();
            m_lines.append(line);
            line = Line();
            continue;
        }
        if (c == u'*' && i + 1 < text.size() && text[i + 1] == u'*') {
            flushLiteral();
            bold = !bold;
            ++i;
            continue;
        }
        if (c == u'{') {
            if (i + 1 < text.size() && text[i + 1] == u'{') {
                literal.append(u'{');
                ++i;
                continue;
            }
            const qsizetype close = text.indexOf(u'}', i + 1);
            if (close < 0) {
                if (error)
                    *error = QStringLiteral("a field \"{\" is not closed with \"}\"");
                return false;
            }
            const QString inside = text.mid(i + 1, close - i - 1);
            if (inside.contains(u'\n') || inside.contains(u'{')) {
                if (error)
                    *error = QStringLiteral("a field \"{\" is not closed with \"}\" on its line");
                return false;
            }
            Field f;
            QString formula;
            splitField(inside, &formula, &f.format, &f.fallback, &f.hasFallback);
            QString why;
            f.expr = parseExpression(formula, &why);
            if (!f.expr) {
                if (error)
                    *error = QStringLiteral("in the field {%1}: %2").arg(inside.trimmed(), why);
                return false;
            }
            if (!f.format.isEmpty() && !isKnownFormat(f.format)) {
                if (error)
                    *error = QStringLiteral("in the field {%1}: there is no format \"%2\" (there are %3)")
                                 .arg(inside.trimmed(), f.format, knownFormats().join(QStringLiteral(", ")));
                return false;
            }
            flushLiteral();
            line.segments.append({QString(), int(m_fields.size()), bold});
            line.hasField = true;
            m_fields.append(f);
            i = close;
            continue;
        }
        literal.append(c);
    }
    flushLiteral();
    m_lines.append(line);
    // A text that is nothing at all has no lines.
    if (m_lines.size() == 1 && m_lines.first().segments.isEmpty())
        m_lines.clear();
    return true;
}

bool Template::usesPageNumbers() const
{
    for (const Field& f : m_fields)
        if (tv::report::usesPageNumbers(*f.expr))
            return true;
    return false;
}

RichText Template::evaluate(const EvalContext& context, bool dropEmptyLines) const
{
    RichText out;
    bool firstLine = true;
    for (const Line& line : m_lines) {
        QString text;
        QList<QPair<int, int>> bold;
        bool anyFieldFilled = false;
        for (const Segment& seg : line.segments) {
            QString piece;
            if (seg.field < 0) {
                piece = seg.literal;
            } else {
                const Field& f = m_fields[seg.field];
                const Value v = tv::report::evaluate(*f.expr, context);
                piece = v.isEmpty() ? QString() : v.display(f.format);
                if (isBlank(piece) && f.hasFallback)
                    piece = f.fallback;
                if (!isBlank(piece))
                    anyFieldFilled = true;
                // Line breaks inside a value (a memo field) stay line breaks of the text.
                if (piece.contains(u'\r')) {
                    piece.replace(QLatin1String("\r\n"), QLatin1String("\n"));
                    piece.replace(u'\r', u'\n');
                }
            }
            if (seg.bold && !piece.isEmpty())
                bold.append({int(out.text.size() + (firstLine ? 0 : 1) + text.size()), int(piece.size())});
            text += piece;
        }
        if (dropEmptyLines && line.hasField && !anyFieldFilled)
            continue;
        if (!firstLine)
            out.text.append(u'\n');
        out.text += text;
        out.bold += bold;
        firstLine = false;
    }
    return out;
}

} // namespace tv::report
