#include "platform/report/layout.h"

#include <QRegularExpression>

namespace tv::report {

std::optional<qreal> parseLength(const QString& input)
{
    const QString t = input.trimmed().toLower();
    struct Unit
    {
        const char* suffix;
        qreal units;
    };
    static const Unit unitsTable[] = {{"in", UnitsPerInch},
                                      {"pt", UnitsPerPoint},
                                      {"mm", UnitsPerInch / 25.4},
                                      {"cm", UnitsPerInch / 2.54}};
    qreal factor = UnitsPerPoint;
    QString number = t;
    for (const Unit& u : unitsTable) {
        if (t.endsWith(QLatin1String(u.suffix))) {
            factor = u.units;
            number = t.left(t.size() - 2).trimmed();
            break;
        }
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (!ok || v < 0 || v > 1000 * UnitsPerInch / factor)
        return std::nullopt;
    return v * factor;
}

QString bandKindName(BandKind kind)
{
    switch (kind) {
    case BandKind::PageHeader:
        return QStringLiteral("page header");
    case BandKind::PageFooter:
        return QStringLiteral("page footer");
    case BandKind::Band:
        return QStringLiteral("band");
    case BandKind::ColumnHeader:
        return QStringLiteral("column header");
    case BandKind::GroupHeader:
        return QStringLiteral("group header");
    case BandKind::Detail:
        return QStringLiteral("detail");
    case BandKind::GroupFooter:
        return QStringLiteral("group footer");
    case BandKind::NoDetails:
        return QStringLiteral("no details");
    case BandKind::Text:
        return QStringLiteral("text");
    }
    return {};
}

int ColumnSet::indexOf(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const Style& Layout::style(const QString& name) const
{
    static const Style fallback;
    const auto it = styles.constFind(name.toLower());
    return it == styles.constEnd() ? fallback : *it;
}

const ColumnSet& Layout::columnSet(const QString& name) const
{
    static const ColumnSet page{QStringLiteral("page"),
                                {Column{QStringLiteral("all"), 0, true, Qt::AlignLeft}}};
    if (name.isEmpty())
        return page;
    const auto it = columnSets.constFind(name.toLower());
    return it == columnSets.constEnd() ? page : *it;
}

QSizeF Layout::pageSizeUnits() const
{
    QSizeF s = pageSize.size(QPageSize::Inch) * UnitsPerInch;
    if (orientation == QPageLayout::Landscape)
        s.transpose();
    return s;
}

qreal Layout::bodyWidth() const
{
    return pageSizeUnits().width() - margins.left() - margins.right();
}

qreal Layout::bodyHeight() const
{
    return pageSizeUnits().height() - margins.top() - margins.bottom();
}

namespace {

class LayoutParser
{
public:
    LayoutParser(const QString& fileName) : m_fileName(fileName) { m_layout.fileName = fileName; }

    std::optional<Layout> parse(const QString& text, QString* error);

private:
    enum class Section { None, Report, Data, Styles, Columns, Formulas, Band, Details, Text };

    bool fail(int line, const QString& message)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("%1, line %2: %3").arg(m_fileName).arg(line).arg(message);
        return false;
    }

    bool startSection(const QString& header, int line);
    bool reportLine(const QString& key, const QString& value, int line);
    bool dataLine(const QString& key, const QString& value, int line);
    bool styleLine(const QString& key, const QString& value, int line);
    bool columnLine(const QString& key, const QString& value, int line);
    bool formulaLine(const QString& text, int line);
    bool bandLine(const QString& text, int line);
    bool bandOption(Band& band, const QString& key, const QString& value, int line);
    bool textLine(const QString& raw, int line);
    bool finishParagraph();
    bool validate();
    bool validateBand(Band& band, const QString& where);
    bool parseFormula(const QString& text, int line, ExprPtr* out);
    static bool splitKeyValue(const QString& text, QString* key, QString* value);
    static std::optional<QColor> parseColor(const QString& text);
    static std::optional<bool> parseYesNo(const QString& text);

    Band* currentBand() { return m_band; }

    QString m_fileName;
    QString m_error;
    Layout m_layout;
    Section m_section = Section::None;
    Band* m_band = nullptr;
    ColumnSet* m_columns = nullptr;
    TextBlock* m_text = nullptr;
    // The paragraph being read in a text section.
    bool m_textOptions = true;
    QString m_paraText;
    Paragraph::Kind m_paraKind = Paragraph::Kind::Body;
    int m_paraLine = 0;
    bool m_paraOpen = false;
    bool m_paraHardBreak = false;
};

bool LayoutParser::splitKeyValue(const QString& text, QString* key, QString* value)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0)
        return false;
    *key = text.left(colon).simplified().toLower();
    *value = text.mid(colon + 1).trimmed();
    return true;
}

std::optional<QColor> LayoutParser::parseColor(const QString& text)
{
    static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!hex.match(text.trimmed()).hasMatch())
        return std::nullopt;
    return QColor(text.trimmed());
}

std::optional<bool> LayoutParser::parseYesNo(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("yes") || t == QLatin1String("true"))
        return true;
    if (t == QLatin1String("no") || t == QLatin1String("false"))
        return false;
    return std::nullopt;
}

bool LayoutParser::parseFormula(const QString& text, int line, ExprPtr* out)
{
    QString why;
    *out = parseExpression(text, &why);
    if (!*out)
        return fail(line, QStringLiteral("the formula \"%1\" is not understood: %2").arg(text, why));
    return true;
}

std::optional<Layout> LayoutParser::parse(const QString& text, QString* error)
{
    // Styles every layout has; a layout may redefine them.
    Style body;
    body.name = QStringLiteral("body");
    m_layout.styles.insert(body.name, body);
    Style heading;
    heading.name = QStringLiteral("heading");
    heading.size = 10;
    heading.bold = true;
    heading.spaceBefore = 80;
    heading.spaceAfter = 30;
    m_layout.styles.insert(heading.name, heading);

    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(u'\r', u'\n');
    if (normalized.startsWith(QChar(0xFEFF)))
        normalized.remove(0, 1);
    const QStringList lines = normalized.split(u'\n');
    for (int i = 0; i < lines.size() && m_error.isEmpty(); ++i) {
        const int n = i + 1;
        const QString& raw = lines[i];
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            if (!finishParagraph())
                break;
            startSection(trimmed.mid(1, trimmed.size() - 2).simplified(), n);
            continue;
        }
        if (m_section == Section::Text) {
            textLine(raw, n);
            continue;
        }
        if (trimmed.isEmpty())
            continue;
        QString key, value;
        switch (m_section) {
        case Section::None:
            fail(n, QStringLiteral("a section such as [report] must come first"));
            break;
        case Section::Report:
        case Section::Data:
        case Section::Styles:
        case Section::Columns:
            if (!splitKeyValue(trimmed, &key, &value)) {
                fail(n, QStringLiteral("a line of the form \"name: value\" is expected"));
                break;
            }
            if (m_section == Section::Report)
                reportLine(key, value, n);
            else if (m_section == Section::Data)
                dataLine(key, value, n);
            else if (m_section == Section::Styles)
                styleLine(key, value, n);
            else
                columnLine(key, value, n);
            break;
        case Section::Formulas:
            formulaLine(trimmed, n);
            break;
        case Section::Band:
        case Section::Details:
            bandLine(trimmed, n);
            break;
        case Section::Text:
            break;
        }
    }
    if (m_error.isEmpty())
        finishParagraph();
    if (m_error.isEmpty())
        validate();
    if (!m_error.isEmpty()) {
        if (error)
            *error = m_error;
        return std::nullopt;
    }
    return m_layout;
}

bool LayoutParser::startSection(const QString& header, int line)
{
    const QString lower = header.toLower();
    const QString first = lower.section(u' ', 0, 0);
    const QString rest = header.section(u' ', 1).trimmed();
    m_band = nullptr;
    m_columns = nullptr;
    m_text = nullptr;
    auto newBand = [&](BandKind kind) {
        Band b;
        b.kind = kind;
        b.line = line;
        b.defined = true;
        return b;
    };
    auto detailsBand = [&](BandKind kind, Band Details::*member) {
        if (m_layout.details.isEmpty())
            return fail(line, QStringLiteral("[%1] belongs after a [details] section").arg(lower));
        Band& b = m_layout.details.last().*member;
        if (b.defined)
            return fail(line, QStringLiteral("[%1] is given twice for the same details").arg(lower));
        b = newBand(kind);
        m_band = &b;
        m_section = Section::Band;
        return true;
    };

    if (lower == QLatin1String("report")) {
        m_section = Section::Report;
    } else if (lower == QLatin1String("data")) {
        m_section = Section::Data;
    } else if (lower == QLatin1String("styles")) {
        m_section = Section::Styles;
    } else if (first == QLatin1String("columns")) {
        if (rest.isEmpty() || rest.contains(u' '))
            return fail(line, QStringLiteral("a column set needs a one-word name, as in [columns items]"));
        if (m_layout.columnSets.contains(rest.toLower()))
            return fail(line, QStringLiteral("the column set \"%1\" is given twice").arg(rest));
        m_section = Section::Columns;
        m_columns = &m_layout.columnSets[rest.toLower()];
        m_columns->name = rest;
    } else if (lower == QLatin1String("formulas")) {
        m_section = Section::Formulas;
    } else if (lower == QLatin1String("page header") || lower == QLatin1String("page footer")) {
        Band& b = lower == QLatin1String("page header") ? m_layout.pageHeader : m_layout.pageFooter;
        if (b.defined)
            return fail(line, QStringLiteral("[%1] is given twice").arg(lower));
        b = newBand(lower == QLatin1String("page header") ? BandKind::PageHeader : BandKind::PageFooter);
        m_band = &b;
        m_section = Section::Band;
    } else if (first == QLatin1String("band")) {
        Band b = newBand(BandKind::Band);
        b.name = rest;
        m_layout.bands.append(b);
        m_layout.body.append({BodyPart::Kind::Band, int(m_layout.bands.size() - 1)});
        m_band = &m_layout.bands.last();
        m_section = Section::Band;
    } else if (lower == QLatin1String("details")) {
        Details d;
        d.line = line;
        m_layout.details.append(d);
        m_layout.body.append({BodyPart::Kind::Details, int(m_layout.details.size() - 1)});
        m_section = Section::Details;
    } else if (lower == QLatin1String("column header")) {
        return detailsBand(BandKind::ColumnHeader, &Details::columnHeader);
    } else if (lower == QLatin1String("group header")) {
        return detailsBand(BandKind::GroupHeader, &Details::groupHeader);
    } else if (lower == QLatin1String("detail")) {
        return detailsBand(BandKind::Detail, &Details::detail);
    } else if (lower == QLatin1String("group footer")) {
        return detailsBand(BandKind::GroupFooter, &Details::groupFooter);
    } else if (lower == QLatin1String("no details")) {
        return detailsBand(BandKind::NoDetails, &Details::noDetails);
    } else if (first == QLatin1String("text")) {
        TextBlock t;
        t.name = rest;
        t.line = line;
        m_layout.texts.append(t);
        m_layout.body.append({BodyPart::Kind::Text, int(m_layout.texts.size() - 1)});
        m_text = &m_layout.texts.last();
        m_textOptions = true;
        m_section = Section::Text;
    } else {
        return fail(line, QStringLiteral("there is no section [%1]").arg(header));
    }
    // Appending to the lists may have moved earlier elements; pointers are taken afresh above, and the
    // lists only grow at their ends while their last element is being filled.
    return true;
}

bool LayoutParser::reportLine(const QString& key, const QString& value, int line)
{
    if (key == QLatin1String("title")) {
        m_layout.title = value;
    } else if (key == QLatin1String("font")) {
        if (value.isEmpty())
            return fail(line, QStringLiteral("the font needs a family name"));
        m_layout.fontFamily = value;
    } else if (key == QLatin1String("page")) {
        for (const QString& word : value.toLower().split(u' ', Qt::SkipEmptyParts)) {
            if (word == QLatin1String("letter"))
                m_layout.pageSize = QPageSize(QPageSize::Letter);
            else if (word == QLatin1String("legal"))
                m_layout.pageSize = QPageSize(QPageSize::Legal);
            else if (word == QLatin1String("a4"))
                m_layout.pageSize = QPageSize(QPageSize::A4);
            else if (word == QLatin1String("portrait"))
                m_layout.orientation = QPageLayout::Portrait;
            else if (word == QLatin1String("landscape"))
                m_layout.orientation = QPageLayout::Landscape;
            else
                return fail(line, QStringLiteral("the page is letter, legal or a4, portrait or landscape"));
        }
    } else if (key == QLatin1String("margins")) {
        QList<qreal> m;
        for (const QString& word : value.split(u' ', Qt::SkipEmptyParts)) {
            const auto len = parseLength(word);
            if (!len)
                return fail(line,
                            QStringLiteral("\"%1\" is not a length such as 0.5in, 12pt or 10mm").arg(word));
            m.append(*len);
        }
        // As in style sheets: all; top/bottom and sides; top, sides, bottom; top, right, bottom, left.
        if (m.size() == 1)
            m_layout.margins = QMarginsF(m[0], m[0], m[0], m[0]);
        else if (m.size() == 2)
            m_layout.margins = QMarginsF(m[1], m[0], m[1], m[0]);
        else if (m.size() == 3)
            m_layout.margins = QMarginsF(m[1], m[0], m[1], m[2]);
        else if (m.size() == 4)
            m_layout.margins = QMarginsF(m[3], m[0], m[1], m[2]);
        else
            return fail(line, QStringLiteral("the margins are one to four lengths"));
    } else {
        return fail(
            line,
            QStringLiteral("[report] has no setting \"%1\" (there are title, page, margins, font)").arg(key));
    }
    return true;
}

bool LayoutParser::dataLine(const QString& key, const QString& value, int line)
{
    DataSpec& d = m_layout.data;
    auto splitAt = [](const QString& v, const QString& word, QString* a, QString* b) {
        const QRegularExpression re(QStringLiteral("\\s+%1\\s+").arg(word),
                                    QRegularExpression::CaseInsensitiveOption);
        const auto m = re.match(v);
        if (!m.hasMatch())
            return false;
        *a = v.left(m.capturedStart()).trimmed();
        *b = v.mid(m.capturedEnd()).trimmed();
        return !a->isEmpty() && !b->isEmpty();
    };
    if (key == QLatin1String("master")) {
        if (!splitAt(value, QStringLiteral("key"), &d.master, &d.masterKey))
            return fail(line,
                        QStringLiteral("write the master as \"master: Job Information key AutoNumber\""));
    } else if (key == QLatin1String("details")) {
        if (!splitAt(value, QStringLiteral("link"), &d.details, &d.detailsLink))
            return fail(line, QStringLiteral("write the details as \"details: Job Items link Recordno\""));
    } else if (key == QLatin1String("order")) {
        for (const QString& f : value.split(u',', Qt::SkipEmptyParts))
            d.order.append(f.trimmed());
    } else if (key == QLatin1String("lookup")) {
        for (const QString& t : value.split(u',', Qt::SkipEmptyParts))
            d.lookups.append(t.trimmed());
    } else if (key == QLatin1String("select")) {
        for (const QString& f : value.split(u',', Qt::SkipEmptyParts)) {
            const QString field = f.trimmed();
            const qsizetype dot = field.indexOf(u'.');
            if (dot <= 0 || dot == field.size() - 1)
                return fail(line, QStringLiteral("select names Table.Field, as in Job Items.Recordno"));
            d.selectable.append({field.left(dot).trimmed(), field.mid(dot + 1).trimmed()});
        }
    } else if (key == QLatin1String("without selection")) {
        const QString v = value.toLower();
        if (v == QLatin1String("blank"))
            d.blankWithoutSelection = true;
        else if (v == QLatin1String("all"))
            d.blankWithoutSelection = false;
        else
            return fail(line, QStringLiteral("\"without selection\" is all or blank"));
    } else {
        return fail(line,
                    QStringLiteral("[data] has no setting \"%1\" (there are master, details, order, lookup, "
                                   "select, without selection)")
                        .arg(key));
    }
    return true;
}

bool LayoutParser::styleLine(const QString& key, const QString& value, int line)
{
    if (key.contains(u' '))
        return fail(line, QStringLiteral("a style name is one word, such as body or total-label"));
    Style s;
    if (const auto it = m_layout.styles.constFind(key); it != m_layout.styles.constEnd())
        s = *it; // a redefinition starts from the earlier one
    s.name = key;
    bool first = true;
    for (const QString& part : value.split(u',', Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        const QString lower = p.toLower();
        bool isNumber = false;
        const double size = p.toDouble(&isNumber);
        if (first && isNumber) {
            if (size < 3 || size > 96)
                return fail(line, QStringLiteral("a font size is between 3 and 96 points"));
            s.size = size;
        } else if (lower.startsWith(QLatin1String("like "))) {
            const QString base = lower.mid(5).trimmed();
            const auto it = m_layout.styles.constFind(base);
            if (it == m_layout.styles.constEnd())
                return fail(line, QStringLiteral("\"like %1\" names no style given before").arg(base));
            s = *it;
            s.name = key;
        } else if (lower.startsWith(QLatin1String("size "))) {
            const double v = lower.mid(5).toDouble(&isNumber);
            if (!isNumber || v < 3 || v > 96)
                return fail(line, QStringLiteral("a font size is between 3 and 96 points"));
            s.size = v;
        } else if (lower == QLatin1String("bold")) {
            s.bold = true;
        } else if (lower == QLatin1String("regular")) {
            s.bold = false;
            s.italic = false;
        } else if (lower == QLatin1String("italic")) {
            s.italic = true;
        } else if (lower == QLatin1String("caps")) {
            s.caps = true;
        } else if (lower == QLatin1String("left")) {
            s.align = Qt::AlignLeft;
        } else if (lower == QLatin1String("center")) {
            s.align = Qt::AlignHCenter;
        } else if (lower == QLatin1String("right")) {
            s.align = Qt::AlignRight;
        } else if (lower.startsWith(QLatin1String("color "))) {
            const auto c = parseColor(p.mid(6));
            if (!c)
                return fail(line, QStringLiteral("a color is written #RRGGBB, as in #1F3864"));
            s.color = *c;
        } else if (lower.startsWith(QLatin1String("font "))) {
            s.family = p.mid(5).trimmed();
        } else if (lower.startsWith(QLatin1String("leading "))) {
            const double v = lower.mid(8).toDouble(&isNumber);
            if (!isNumber || v < 0.5 || v > 4)
                return fail(line, QStringLiteral("leading is a factor between 0.5 and 4, as in leading 1.2"));
            s.leading = v;
        } else if (lower.startsWith(QLatin1String("space before ")) ||
                   lower.startsWith(QLatin1String("space after ")) ||
                   lower.startsWith(QLatin1String("indent "))) {
            const QString amount = lower.section(u' ', -1);
            const auto len = parseLength(amount);
            if (!len)
                return fail(line, QStringLiteral("\"%1\" is not a length such as 6pt").arg(amount));
            if (lower.startsWith(QLatin1String("space before ")))
                s.spaceBefore = *len;
            else if (lower.startsWith(QLatin1String("space after ")))
                s.spaceAfter = *len;
            else
                s.indent = *len;
        } else {
            return fail(line, QStringLiteral("the style property \"%1\" is not known").arg(p));
        }
        first = false;
    }
    m_layout.styles.insert(key, s);
    return true;
}

bool LayoutParser::columnLine(const QString& key, const QString& value, int line)
{
    if (key.contains(u' ') || key.contains(QLatin1String("..")))
        return fail(line, QStringLiteral("a column name is one word, such as qty or description"));
    if (m_columns->indexOf(key) >= 0)
        return fail(line, QStringLiteral("the column \"%1\" is given twice").arg(key));
    Column c;
    c.name = key;
    const QStringList words = value.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return fail(line, QStringLiteral("a column needs a width, or * for the rest of the line"));
    if (words[0] == QLatin1String("*")) {
        c.star = true;
    } else {
        const auto w = parseLength(words[0]);
        if (!w)
            return fail(line, QStringLiteral("\"%1\" is not a width such as 1.2in").arg(words[0]));
        c.width = *w;
    }
    for (int i = 1; i < words.size(); ++i) {
        const QString w = words[i].toLower();
        if (w == QLatin1String("left"))
            c.align = Qt::AlignLeft;
        else if (w == QLatin1String("center"))
            c.align = Qt::AlignHCenter;
        else if (w == QLatin1String("right"))
            c.align = Qt::AlignRight;
        else if (w == QLatin1String("collapse"))
            c.collapse = true;
        else
            return fail(line,
                        QStringLiteral("after its width a column may say left, center, right or collapse"));
    }
    m_columns->columns.append(c);
    return true;
}

bool LayoutParser::formulaLine(const QString& text, int line)
{
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0)
        return fail(line, QStringLiteral("a formula is written \"Name = formula\""));
    Formula f;
    f.name = text.left(eq).simplified();
    f.line = line;
    if (f.name.contains(u'.') || f.name.contains(u'{') || f.name.contains(u'('))
        return fail(line, QStringLiteral("a formula's name has no \".\", \"{\" or \"(\""));
    for (const Formula& other : m_layout.formulas)
        if (other.name.compare(f.name, Qt::CaseInsensitive) == 0)
            return fail(line, QStringLiteral("the formula \"%1\" is given twice").arg(f.name));
    if (!parseFormula(text.mid(eq + 1).trimmed(), line, &f.expr))
        return false;
    m_layout.formulas.append(f);
    return true;
}

bool LayoutParser::bandOption(Band& band, const QString& key, const QString& value, int line)
{
    auto length = [&](const QString& v, qreal* out) {
        const auto len = parseLength(v);
        if (!len)
            return fail(line, QStringLiteral("\"%1\" is not a length such as 6pt").arg(v));
        *out = *len;
        return true;
    };
    auto yesNo = [&](bool* out) {
        const auto b = parseYesNo(value);
        if (!b)
            return fail(line, QStringLiteral("\"%1\" is yes or no").arg(key));
        *out = *b;
        return true;
    };
    if (key == QLatin1String("columns")) {
        band.columns = value;
    } else if (key == QLatin1String("background")) {
        const auto c = parseColor(value);
        if (!c)
            return fail(line, QStringLiteral("a color is written #RRGGBB, as in #E8EDF4"));
        band.background = *c;
    } else if (key == QLatin1String("padding")) {
        const QStringList w = value.split(u' ', Qt::SkipEmptyParts);
        if (w.isEmpty() || w.size() > 2)
            return fail(line,
                        QStringLiteral("padding is one or two lengths: above and below, then at the sides"));
        if (!length(w[0], &band.paddingV))
            return false;
        if (w.size() == 2 && !length(w[1], &band.paddingH))
            return false;
    } else if (key == QLatin1String("rule above") || key == QLatin1String("rule below")) {
        qreal width = 0;
        QColor color(0x99, 0x99, 0x99);
        for (const QString& w : value.split(u' ', Qt::SkipEmptyParts)) {
            if (w.startsWith(u'#')) {
                const auto c = parseColor(w);
                if (!c)
                    return fail(line, QStringLiteral("a color is written #RRGGBB"));
                color = *c;
            } else if (!length(w, &width)) {
                return false;
            }
        }
        if (key == QLatin1String("rule above")) {
            band.ruleAbove = width;
            band.ruleAboveColor = color;
        } else {
            band.ruleBelow = width;
            band.ruleBelowColor = color;
        }
    } else if (key == QLatin1String("space before")) {
        return length(value, &band.spaceBefore);
    } else if (key == QLatin1String("space after")) {
        return length(value, &band.spaceAfter);
    } else if (key == QLatin1String("keep with next")) {
        return yesNo(&band.keepWithNext);
    } else if (key == QLatin1String("new page")) {
        return yesNo(&band.newPage);
    } else if (key == QLatin1String("show if")) {
        return parseFormula(value, line, &band.showIf);
    } else if (key == QLatin1String("repeat")) {
        const QString v = value.toLower();
        if (v == QLatin1String("groups") && band.kind == BandKind::Band)
            band.repeatGroups = true;
        else if (v == QLatin1String("every page") && band.kind == BandKind::GroupHeader)
            band.repeatOnNewPage = true;
        else if (v == QLatin1String("no"))
            band.repeatGroups = band.repeatOnNewPage = false;
        else
            return fail(
                line,
                QStringLiteral("\"repeat\" is \"groups\" in a [band], \"every page\" in a [group header]"));
    } else {
        return fail(line, QStringLiteral("a band has no setting \"%1\"").arg(key));
    }
    return true;
}

bool LayoutParser::bandLine(const QString& text, int line)
{
    const QString lower = text.toLower();
    if (m_section == Section::Details) {
        QString key, value;
        if (!splitKeyValue(text, &key, &value) || key != QLatin1String("group by"))
            return fail(
                line, QStringLiteral("[details] has one setting, \"group by: formula\"; its bands follow as "
                                     "[column header], [group header], [detail], [group footer]"));
        return parseFormula(value, line, &m_layout.details.last().groupBy);
    }
    Band& band = *currentBand();
    auto currentRow = [&]() -> Row& {
        if (band.rows.isEmpty() || band.rows.last().kind != Row::Kind::Cells)
            band.rows.append(Row());
        return band.rows.last();
    };
    auto columnSpan = [&](const QString& source, QString* first, QString* last) {
        const qsizetype dots = source.indexOf(QLatin1String(".."));
        *first = dots < 0 ? source : source.left(dots);
        *last = dots < 0 ? source : source.mid(dots + 2);
        return !first->isEmpty() && !last->isEmpty();
    };

    if (lower.startsWith(QLatin1String("cell ")) || lower.startsWith(QLatin1String("image "))) {
        const bool image = lower.startsWith(QLatin1String("image "));
        const qsizetype colon = text.indexOf(u':');
        if (colon < 0)
            return fail(line, image ? QStringLiteral("write an image as \"image column height: formula\"")
                                    : QStringLiteral("write a cell as \"cell column style: text\""));
        const QStringList head = text.left(colon).split(u' ', Qt::SkipEmptyParts);
        QString body = text.mid(colon + 1);
        if (body.startsWith(u' '))
            body.remove(0, 1);
        if (head.size() != 3)
            return fail(line, image ? QStringLiteral("write an image as \"image column height: formula\"")
                                    : QStringLiteral("write a cell as \"cell column style: text\""));
        Cell c;
        c.line = line;
        if (!columnSpan(head[1], &c.firstName, &c.lastName))
            return fail(line, QStringLiteral("\"%1\" names no columns").arg(head[1]));
        if (image) {
            c.kind = Cell::Kind::Image;
            const auto h = parseLength(head[2]);
            if (!h || *h <= 0)
                return fail(line, QStringLiteral("\"%1\" is not a height such as 0.8in").arg(head[2]));
            c.imageHeight = *h;
            if (!parseFormula(body.trimmed(), line, &c.image))
                return false;
        } else {
            c.style = head[2].toLower();
            body.replace(QLatin1String("\\n"), QLatin1String("\n"));
            QString why;
            if (!c.text.parse(body.trimmed(), &why))
                return fail(line, why);
        }
        currentRow().cells.append(c);
        return true;
    }
    if (lower == QLatin1String("row")) {
        band.rows.append(Row());
        return true;
    }
    if (lower == QLatin1String("line") || lower.startsWith(QLatin1String("line "))) {
        Row r;
        r.kind = Row::Kind::Rule;
        r.line = line;
        r.size = 7.5;
        r.color = QColor(0x99, 0x99, 0x99);
        for (const QString& w : text.mid(4).split(u' ', Qt::SkipEmptyParts)) {
            if (w.startsWith(u'#')) {
                const auto c = parseColor(w);
                if (!c)
                    return fail(line, QStringLiteral("a color is written #RRGGBB"));
                r.color = *c;
            } else if (const auto len = parseLength(w)) {
                r.size = *len;
            } else if (!columnSpan(w, &r.firstName, &r.lastName)) {
                return fail(line, QStringLiteral("\"%1\" is neither a width, a color nor columns").arg(w));
            }
        }
        band.rows.append(r);
        return true;
    }
    if (lower.startsWith(QLatin1String("space ")) && !text.contains(u':')) {
        const auto len = parseLength(text.mid(6));
        if (!len)
            return fail(line, QStringLiteral("write a gap as \"space 6pt\""));
        Row r;
        r.kind = Row::Kind::Space;
        r.size = *len;
        r.line = line;
        band.rows.append(r);
        return true;
    }
    QString key, value;
    if (!splitKeyValue(text, &key, &value))
        return fail(
            line, QStringLiteral("a band line is a setting \"name: value\", or begins with cell, image, row, "
                                 "line or space"));
    return bandOption(band, key, value, line);
}

bool LayoutParser::textLine(const QString& raw, int line)
{
    const QString trimmed = raw.trimmed();
    TextBlock& t = *m_text;
    if (m_textOptions) {
        if (trimmed.isEmpty())
            return true;
        QString key, value;
        if (splitKeyValue(trimmed, &key, &value)) {
            static const QStringList keys = {QStringLiteral("style"),        QStringLiteral("heading"),
                                             QStringLiteral("bullet"),       QStringLiteral("indent"),
                                             QStringLiteral("show if"),      QStringLiteral("new page"),
                                             QStringLiteral("keep together")};
            if (keys.contains(key)) {
                if (key == QLatin1String("style"))
                    t.style = value.toLower();
                else if (key == QLatin1String("heading"))
                    t.headingStyle = value.toLower();
                else if (key == QLatin1String("bullet"))
                    t.bulletStyle = value.toLower();
                else if (key == QLatin1String("indent")) {
                    const auto len = parseLength(value);
                    if (!len)
                        return fail(line, QStringLiteral("\"%1\" is not a length such as 12pt").arg(value));
                    t.indent = *len;
                } else if (key == QLatin1String("show if")) {
                    return parseFormula(value, line, &t.showIf);
                } else {
                    const auto b = parseYesNo(value);
                    if (!b)
                        return fail(line, QStringLiteral("\"%1\" is yes or no").arg(key));
                    (key == QLatin1String("new page") ? t.newPage : t.keepTogether) = *b;
                }
                return true;
            }
        }
        m_textOptions = false;
    }
    if (trimmed.isEmpty())
        return finishParagraph();
    const bool heading = trimmed.startsWith(QLatin1String("= ")) || trimmed == QLatin1String("=");
    const bool bullet =
        trimmed.startsWith(QLatin1String("- ")) || trimmed.startsWith(QStringLiteral("\u2022 "));
    if (heading || bullet || !m_paraOpen) {
        if (!finishParagraph())
            return false;
        m_paraOpen = true;
        m_paraLine = line;
        m_paraKind = heading  ? Paragraph::Kind::Heading
                     : bullet ? Paragraph::Kind::Bullet
                              : Paragraph::Kind::Body;
        QString content = heading || bullet ? trimmed.mid(2).trimmed() : trimmed;
        m_paraHardBreak = content.endsWith(u'\\');
        if (m_paraHardBreak)
            content.chop(1);
        m_paraText = content.trimmed();
        // A heading is one line.
        if (heading)
            return finishParagraph();
        return true;
    }
    QString content = trimmed;
    const bool hard = content.endsWith(u'\\');
    if (hard)
        content.chop(1);
    m_paraText += (m_paraHardBreak ? QStringLiteral("\n") : QStringLiteral(" ")) + content.trimmed();
    m_paraHardBreak = hard;
    return true;
}

bool LayoutParser::finishParagraph()
{
    if (!m_paraOpen)
        return true;
    m_paraOpen = false;
    Paragraph p;
    p.kind = m_paraKind;
    p.line = m_paraLine;
    QString why;
    if (!p.text.parse(m_paraText, &why))
        return fail(m_paraLine, why);
    m_text->paragraphs.append(p);
    m_paraText.clear();
    return true;
}

bool LayoutParser::validateBand(Band& band, const QString& where)
{
    if (!band.defined)
        return true;
    const bool builtinSet = band.columns.isEmpty();
    if (!builtinSet && !m_layout.columnSets.contains(band.columns.toLower()))
        return fail(
            band.line,
            QStringLiteral("%1 uses the column set \"%2\", which is not given").arg(where, band.columns));
    const ColumnSet& set = m_layout.columnSet(band.columns);
    auto resolve = [&](const QString& firstName, const QString& lastName, int line, int* first, int* last) {
        *first = set.indexOf(firstName);
        *last = set.indexOf(lastName);
        if (*first < 0 || *last < 0)
            return fail(line, QStringLiteral("the column set \"%1\" has no column \"%2\"")
                                  .arg(set.name, *first < 0 ? firstName : lastName));
        if (*first > *last)
            return fail(line,
                        QStringLiteral("the columns %1..%2 are in the wrong order").arg(firstName, lastName));
        return true;
    };
    for (Row& r : band.rows) {
        if (r.kind == Row::Kind::Rule && !r.firstName.isEmpty()) {
            if (!resolve(r.firstName, r.lastName, r.line, &r.first, &r.last))
                return false;
        }
        for (Cell& c : r.cells) {
            if (!resolve(c.firstName, c.lastName, c.line, &c.first, &c.last))
                return false;
            if (c.kind == Cell::Kind::Text && !m_layout.styles.contains(c.style))
                return fail(c.line, QStringLiteral("there is no style \"%1\"").arg(c.style));
        }
    }
    return true;
}

bool LayoutParser::validate()
{
    for (Style& s : m_layout.styles)
        if (s.family.isEmpty())
            s.family = m_layout.fontFamily;
    const qreal bodyWidth = m_layout.bodyWidth();
    if (bodyWidth < UnitsPerInch || m_layout.bodyHeight() < UnitsPerInch)
        return fail(1, QStringLiteral("the margins leave less than an inch of the page"));
    for (const ColumnSet& set : std::as_const(m_layout.columnSets)) {
        qreal fixed = 0;
        int stars = 0;
        for (const Column& c : set.columns) {
            fixed += c.star ? 0 : c.width;
            stars += c.star ? 1 : 0;
        }
        if (set.columns.isEmpty())
            return fail(1, QStringLiteral("the column set \"%1\" has no columns").arg(set.name));
        if (stars > 1)
            return fail(1, QStringLiteral("the column set \"%1\" has more than one * column").arg(set.name));
        if (fixed > bodyWidth + 0.5)
            return fail(1, QStringLiteral(
                               "the columns of \"%1\" are %2in wide, more than the %3in between the margins")
                               .arg(set.name)
                               .arg(fixed / UnitsPerInch, 0, 'f', 2)
                               .arg(bodyWidth / UnitsPerInch, 0, 'f', 2));
    }
    if (!validateBand(m_layout.pageHeader, QStringLiteral("[page header]")) ||
        !validateBand(m_layout.pageFooter, QStringLiteral("[page footer]")))
        return false;
    for (Band& b : m_layout.bands)
        if (!validateBand(b, QStringLiteral("[band]")))
            return false;
    for (Details& d : m_layout.details) {
        if (!d.detail.defined)
            return fail(d.line, QStringLiteral("[details] needs a [detail] band"));
        if ((d.groupHeader.defined || d.groupFooter.defined) && !d.groupBy)
            return fail(d.line, QStringLiteral("group bands need \"group by: formula\" in [details]"));
        for (Band* b : {&d.columnHeader, &d.groupHeader, &d.detail, &d.groupFooter, &d.noDetails})
            if (!validateBand(*b, QStringLiteral("[%1]").arg(bandKindName(b->kind))))
                return false;
    }
    for (const TextBlock& t : m_layout.texts) {
        for (const QString& s : {t.style, t.headingStyle, t.bulletStyle})
            if (!s.isEmpty() && !m_layout.styles.contains(s))
                return fail(t.line, QStringLiteral("there is no style \"%1\"").arg(s));
    }
    const DataSpec& d = m_layout.data;
    if (d.master.isEmpty())
        return fail(
            1, QStringLiteral(
                   "[data] must name the master table, as in \"master: Job Information key AutoNumber\""));
    if (!m_layout.details.isEmpty() && d.details.isEmpty())
        return fail(m_layout.details.first().line, QStringLiteral("[details] needs \"details:\" in [data]"));
    for (const auto& [table, field] : d.selectable) {
        const bool isMasterKey = table.compare(d.master, Qt::CaseInsensitive) == 0 &&
                                 field.compare(d.masterKey, Qt::CaseInsensitive) == 0;
        const bool isLink = !d.details.isEmpty() && table.compare(d.details, Qt::CaseInsensitive) == 0 &&
                            field.compare(d.detailsLink, Qt::CaseInsensitive) == 0;
        if (!isMasterKey && !isLink)
            return fail(1, QStringLiteral(
                               "a selection may only name the master's key or the details' link, not {%1.%2}")
                               .arg(table, field));
    }
    return true;
}

} // namespace

std::optional<Layout> Layout::parse(const QString& text, const QString& fileName, QString* error)
{
    return LayoutParser(fileName).parse(text, error);
}

} // namespace tv::report
