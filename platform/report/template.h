#pragma once

#include "platform/report/expression.h"

#include <QList>
#include <QString>

namespace tv::report {

// A text with fields, as written in the layout files:
//   Valid for {Job Information.Time Period | 30 days} from the date of this quotation.
//   {Line Total : money}
// A field is {formula}, {formula : format} or {formula | text if empty}; "{{" writes a brace. Text between
// two "**" is bold. A line break is a real line break of the text.
struct RichText
{
    QString text;                // lines separated by '\n'
    QList<QPair<int, int>> bold; // start and length of the bold parts
    bool isEmpty() const;
};

// True for a text of nothing but blanks and line breaks.
bool isBlank(QStringView text);

inline bool RichText::isEmpty() const
{
    return isBlank(text);
}

class Template
{
public:
    struct Field
    {
        ExprPtr expr;
        QString format;
        QString fallback;
        bool hasFallback = false;
    };

    // Parses text; false with an explanation on a mistake.
    bool parse(const QString& text, QString* error);

    // The fields, for binding their formulas.
    QList<Field>& fields() { return m_fields; }
    const QList<Field>& fields() const { return m_fields; }
    bool isEmpty() const { return m_lines.isEmpty(); }
    // True where the text has no fields at all.
    bool isConstant() const { return m_fields.isEmpty(); }
    bool usesPageNumbers() const;

    // The text with every field worked out. With dropEmptyLines, a line whose fields all came out empty is
    // left out together with its own words ("Fax: {Your Information.Company Fax}" when there is no fax).
    RichText evaluate(const EvalContext& context, bool dropEmptyLines) const;

private:
    struct Segment
    {
        QString literal;
        int field = -1;
        bool bold = false;
    };
    struct Line
    {
        QList<Segment> segments;
        bool hasField = false;
    };
    QList<Line> m_lines;
    QList<Field> m_fields;
};

} // namespace tv::report
