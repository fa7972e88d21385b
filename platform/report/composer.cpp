#include "platform/report/composer.h"

#include <QLocale>
#include <QTextLayout>
#include <functional>

namespace tv::report {

// ---------------------------------------------------------------------------------------------------------
// Binding names

namespace {

const struct
{
    const char* name;
    Builtin which;
} builtins[] = {{"page", Builtin::Page},
                {"pages", Builtin::Pages},
                {"today", Builtin::Today},
                {"continued", Builtin::Continued}};

class LayoutResolver : public NameResolver
{
public:
    LayoutResolver(const Layout& layout, const ReportData& data) : m_layout(layout), m_data(data) {}

    bool resolve(Expr& e, QString* error) override
    {
        const QString& name = e.name;
        const qsizetype dot = name.indexOf(u'.');
        if (dot > 0) {
            const QString table = name.left(dot).trimmed();
            const QString field = name.mid(dot + 1).trimmed();
            auto tryTable = [&](const DataTable& t, int source) {
                if (t.name.isEmpty() || t.name.compare(table, Qt::CaseInsensitive) != 0)
                    return false;
                const int c = t.columnIndex(field);
                if (c < 0)
                    return false;
                e.target = Expr::Target::Field;
                e.source = source;
                e.column = c;
                return true;
            };
            if (tryTable(m_data.master, 0) || tryTable(m_data.details, 1))
                return true;
            for (int i = 0; i < m_data.lookups.size(); ++i)
                if (tryTable(m_data.lookups[i], 2 + i))
                    return true;
            if (error) {
                const bool known =
                    m_data.master.name.compare(table, Qt::CaseInsensitive) == 0 ||
                    m_data.details.name.compare(table, Qt::CaseInsensitive) == 0 ||
                    std::any_of(m_data.lookups.begin(), m_data.lookups.end(), [&](const DataTable& t) {
                        return t.name.compare(table, Qt::CaseInsensitive) == 0;
                    });
                *error =
                    known ? QStringLiteral("the database has no field {%1}").arg(name)
                          : QStringLiteral("the table \"%1\" is not in [data] (as master, details or lookup)")
                                .arg(table);
            }
            return false;
        }
        for (int i = 0; i < m_layout.formulas.size(); ++i) {
            if (m_layout.formulas[i].name.compare(name, Qt::CaseInsensitive) == 0) {
                e.target = Expr::Target::Formula;
                e.column = i;
                return true;
            }
        }
        for (const auto& b : builtins) {
            if (name.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0) {
                e.target = Expr::Target::Builtin;
                e.source = int(b.which);
                return true;
            }
        }
        if (error)
            *error =
                QStringLiteral("\"%1\" is neither a field (Table.Field), a formula of [formulas], nor Page, "
                               "Pages, Today or Continued")
                    .arg(name);
        return false;
    }

private:
    const Layout& m_layout;
    const ReportData& m_data;
};

// True where the tree, following formulas, sums or counts.
bool aggregates(const Expr& e, const Layout& layout, int depth = 0)
{
    if (depth > 64)
        return false;
    if (isAggregate(e))
        return true;
    if (e.op == Expr::Op::Name && e.target == Expr::Target::Formula)
        return aggregates(*layout.formulas[e.column].expr, layout, depth + 1);
    for (const ExprPtr& a : e.args)
        if (aggregates(*a, layout, depth))
            return true;
    return false;
}

// Formulas may use each other but not in a circle.
bool findCycle(const Layout& layout, int formula, QList<int>& path)
{
    if (path.contains(formula))
        return true;
    path.append(formula);
    std::function<bool(const Expr&)> walk = [&](const Expr& e) {
        if (e.op == Expr::Op::Name && e.target == Expr::Target::Formula && findCycle(layout, e.column, path))
            return true;
        for (const ExprPtr& a : e.args)
            if (walk(*a))
                return true;
        return false;
    };
    const bool cycle = walk(*layout.formulas[formula].expr);
    path.removeLast();
    return cycle;
}

bool checkAggregateArguments(const Expr& e, const Layout& layout, QString* error)
{
    if (isAggregate(e)) {
        for (const ExprPtr& a : e.args) {
            if (aggregates(*a, layout)) {
                *error = QStringLiteral("%1() is taken of a formula that sums or counts itself").arg(e.name);
                return false;
            }
        }
    }
    for (const ExprPtr& a : e.args)
        if (!checkAggregateArguments(*a, layout, error))
            return false;
    return true;
}

} // namespace

Result bindLayout(Layout& layout, const ReportData& data)
{
    LayoutResolver resolver(layout, data);
    QString why;
    int line = 0;
    auto bindOne = [&](const ExprPtr& e, int at) {
        if (!e)
            return true;
        line = at;
        return bindExpression(*e, resolver, &why);
    };
    auto bindTemplate = [&](Template& t, int at) {
        for (Template::Field& f : t.fields())
            if (!bindOne(f.expr, at))
                return false;
        return true;
    };
    auto bindBand = [&](Band& b) {
        if (!b.defined)
            return true;
        if (!bindOne(b.showIf, b.line))
            return false;
        for (Row& r : b.rows) {
            for (Cell& c : r.cells) {
                if (c.kind == Cell::Kind::Image ? !bindOne(c.image, c.line) : !bindTemplate(c.text, c.line))
                    return false;
            }
        }
        return true;
    };
    auto failed = [&] {
        return Result::failure(ResultCode::LayoutInvalid,
                               QStringLiteral("%1, line %2: %3").arg(layout.fileName).arg(line).arg(why));
    };

    for (Formula& f : layout.formulas)
        if (!bindOne(f.expr, f.line))
            return failed();
    for (int i = 0; i < layout.formulas.size(); ++i) {
        QList<int> path;
        if (findCycle(layout, i, path)) {
            line = layout.formulas[i].line;
            why = QStringLiteral("the formula \"%1\" uses itself").arg(layout.formulas[i].name);
            return failed();
        }
        if (!checkAggregateArguments(*layout.formulas[i].expr, layout, &why)) {
            line = layout.formulas[i].line;
            return failed();
        }
    }
    if (!bindBand(layout.pageHeader) || !bindBand(layout.pageFooter))
        return failed();
    for (Band& b : layout.bands)
        if (!bindBand(b))
            return failed();
    for (Details& d : layout.details) {
        if (!bindOne(d.groupBy, d.line))
            return failed();
        for (Band* b : {&d.columnHeader, &d.groupHeader, &d.detail, &d.groupFooter, &d.noDetails})
            if (!bindBand(*b))
                return failed();
    }
    for (TextBlock& t : layout.texts) {
        if (!bindOne(t.showIf, t.line))
            return failed();
        for (Paragraph& p : t.paragraphs)
            if (!bindTemplate(p.text, p.line))
                return failed();
    }
    // Sums of sums would be worked out once per row of the outer sum.
    auto checkAll = [&](const ExprPtr& e, int at) {
        if (e && !checkAggregateArguments(*e, layout, &why)) {
            line = at;
            return false;
        }
        return true;
    };
    auto checkBand = [&](const Band& b) {
        for (const Row& r : b.rows)
            for (const Cell& c : r.cells) {
                if (!checkAll(c.image, c.line))
                    return false;
                for (const Template::Field& f : c.text.fields())
                    if (!checkAll(f.expr, c.line))
                        return false;
            }
        return checkAll(b.showIf, b.line);
    };
    bool ok = checkBand(layout.pageHeader) && checkBand(layout.pageFooter);
    for (const Band& b : layout.bands)
        ok = ok && checkBand(b);
    for (const Details& d : layout.details)
        for (const Band* b : {&d.columnHeader, &d.groupHeader, &d.detail, &d.groupFooter, &d.noDetails})
            ok = ok && checkBand(*b);
    for (const TextBlock& t : layout.texts)
        for (const Paragraph& p : t.paragraphs)
            for (const Template::Field& f : p.text.fields())
                ok = ok && checkAll(f.expr, p.line);
    if (!ok)
        return failed();
    return Result::success();
}

// ---------------------------------------------------------------------------------------------------------
// Values while laying out

class RowContext : public EvalContext
{
public:
    RowContext(const Layout& layout, const ReportData& data, const QDate& today, int section)
        : m_layout(layout), m_data(data), m_today(today), m_section(section)
    {
        const ReportData::Section& s = data.sections[section];
        scopeBegin = s.detailsBegin;
        scopeEnd = s.detailsEnd;
    }

    Value field(int source, int column) const override
    {
        if (source == 0) {
            const int r = m_data.sections[m_section].masterRow;
            return r < 0 ? Value() : m_data.master.rows[r][column];
        }
        if (source == 1) {
            const int r = detailRow >= 0 ? detailRow : (scopeBegin < scopeEnd ? scopeBegin : -1);
            return r < 0 ? Value() : m_data.details.rows[r][column];
        }
        const DataTable& t = m_data.lookups[source - 2];
        return t.rows.isEmpty() ? Value() : t.rows.first()[column];
    }

    Value formula(int index) const override { return evaluate(*m_layout.formulas[index].expr, *this); }

    Value builtin(Builtin which) const override
    {
        switch (which) {
        case Builtin::Page:
            return Value::integer(page);
        case Builtin::Pages:
            return Value::integer(pages);
        case Builtin::Today:
            return Value::text(QLocale(QLocale::English, QLocale::UnitedStates)
                                   .toString(m_today, QStringLiteral("MMMM d, yyyy")));
        case Builtin::Continued:
            return continued ? Value::text(QStringLiteral("(continued)")) : Value();
        }
        return {};
    }

    Value aggregate(const QString& function, const Expr* argument) const override
    {
        RowContext row = *this;
        if (function == QLatin1String("count")) {
            qint64 n = 0;
            for (int r = scopeBegin; r < scopeEnd; ++r) {
                row.detailRow = r;
                if (!argument || !evaluate(*argument, row).isEmpty())
                    ++n;
            }
            return Value::integer(n);
        }
        Value total = Value::integer(0);
        for (int r = scopeBegin; r < scopeEnd; ++r) {
            row.detailRow = r;
            const Value v = evaluate(*argument, row);
            if (v.isEmpty())
                continue;
            const Value sum = Value::add(total, v);
            if (!sum.isNull())
                total = sum;
        }
        return total;
    }

    int section() const { return m_section; }

    int detailRow = -1;
    int scopeBegin = 0, scopeEnd = 0;
    int page = 1, pages = 1;
    bool continued = false;

private:
    const Layout& m_layout;
    const ReportData& m_data;
    QDate m_today;
    int m_section;
};

// ---------------------------------------------------------------------------------------------------------
// Laying out

Composer::Composer(const Layout& layout, const ReportData& data) : m_layout(layout), m_data(data) {}

void Composer::setTitle(const QString& title, const QString& suggestedFileName)
{
    m_title = title;
    m_suggestedFileName = suggestedFileName;
}

Composer::FontInfo& Composer::font(const Style& style, bool bold)
{
    const auto key = std::make_pair(&style, bold);
    auto it = m_fonts.find(key);
    if (it != m_fonts.end())
        return it->second;
    QFont f(style.family);
    // Pixel sizes in units keep the type independent of any device: the painter scales units to the device.
    f.setPixelSize(qMax(1, qRound(style.size * UnitsPerPoint)));
    f.setBold(bold || style.bold);
    f.setItalic(style.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    // Without kerning a run is as wide as the sum of its letters, in every output.
    f.setKerning(false);
    FontInfo info;
    info.font = f;
    info.metrics = QFontMetricsF(f);
    // Faces shared by several styles are one font of the document.
    info.index = int(m_doc->m_fonts.indexOf(f));
    if (info.index < 0) {
        info.index = int(m_doc->m_fonts.size());
        m_doc->m_fonts.append(f);
    }
    return m_fonts.emplace(key, info).first->second;
}

qreal Composer::textWidth(FontInfo& font, const QString& text)
{
    if (!font.latinReady) {
        for (int c = 0; c < 256; ++c)
            font.latin[c] = c < 32 ? 0 : font.metrics.horizontalAdvance(QChar(c));
        font.latinReady = true;
    }
    qreal w = 0;
    for (QChar c : text) {
        if (c.unicode() > 255)
            return font.metrics.horizontalAdvance(text);
        w += font.latin[c.unicode()];
    }
    return w;
}

qreal Composer::layoutText(const QString& input, const QList<QPair<int, int>>& bold, const Style& style,
                           qreal width, Qt::Alignment align, QPointF origin, QList<Element>& out,
                           QList<qreal>* lineBottoms)
{
    if (input.isEmpty())
        return 0;
    FontInfo& regular = font(style, false);
    const QString text = style.caps ? input.toUpper() : input;
    const qreal natural = regular.metrics.lineSpacing();
    const qreal lineHeight = natural * style.leading;
    const qreal ascent = regular.metrics.ascent() + (lineHeight - natural) / 2;
    auto alignOffset = [&](qreal used) {
        if (align & Qt::AlignRight)
            return qMax<qreal>(0, width - used);
        if (align & Qt::AlignHCenter)
            return qMax<qreal>(0, (width - used) / 2);
        return qreal(0);
    };
    auto addRun = [&](const QString& run, qreal x, qreal top, qreal runWidth, bool isBold) {
        Element e;
        e.kind = Element::Kind::Text;
        e.text = run;
        e.font = isBold ? font(style, true).index : regular.index;
        e.color = style.color;
        e.rect = QRectF(origin.x() + x, origin.y() + top, runWidth, lineHeight);
        e.baseline = origin.y() + top + ascent;
        out.append(std::move(e));
    };

    // Most cells are one short line of one font.
    if (bold.isEmpty() && !text.contains(u'\n')) {
        const qreal w = textWidth(regular, text);
        if (w <= width) {
            addRun(text, alignOffset(w), 0, w, false);
            if (lineBottoms)
                lineBottoms->append(lineHeight);
            return lineHeight;
        }
    }

    QString shaped = text;
    shaped.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(shaped, regular.font);
    QList<QTextLayout::FormatRange> formats;
    QList<bool> isBold(shaped.size(), false);
    for (const auto& [start, length] : bold) {
        QTextLayout::FormatRange r;
        r.start = start;
        r.length = length;
        r.format.setFontWeight(QFont::Bold);
        formats.append(r);
        for (int k = start; k < start + length && k < isBold.size(); ++k)
            isBold[k] = true;
    }
    layout.setFormats(formats);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += lineHeight;
    }
    layout.endLayout();

    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const qreal top = i * lineHeight;
        int start = line.textStart();
        int end = start + line.textLength();
        while (end > start && (shaped[end - 1].isSpace() || shaped[end - 1] == QChar::LineSeparator))
            --end;
        const qreal used = end > start ? line.cursorToX(end) - line.cursorToX(start) : 0;
        const qreal offset = alignOffset(used) - line.cursorToX(start);
        int pos = start;
        while (pos < end) {
            int next = pos + 1;
            while (next < end && isBold[next] == isBold[pos])
                ++next;
            const qreal x0 = line.cursorToX(pos);
            const qreal x1 = line.cursorToX(next);
            addRun(shaped.mid(pos, next - pos), x0 + offset, top, x1 - x0, isBold[pos]);
            pos = next;
        }
        if (lineBottoms)
            lineBottoms->append(top + lineHeight);
    }
    return layout.lineCount() * lineHeight;
}

int Composer::imageIndex(const QByteArray& bytes)
{
    const auto it = m_imageCache.constFind(bytes);
    if (it != m_imageCache.constEnd())
        return *it;
    QImage image;
    int index = -1;
    if (image.loadFromData(bytes) && !image.isNull()) {
        index = int(m_doc->m_images.size());
        m_doc->m_images.append(image);
    }
    m_imageCache.insert(bytes, index);
    return index;
}

void Composer::columnPositions(const ColumnSet& set, QList<qreal>* xs, QList<qreal>* ws) const
{
    const qreal total = m_layout.bodyWidth();
    qreal fixed = 0;
    for (const Column& c : set.columns)
        fixed += c.star ? 0 : c.width;
    const qreal star = qMax<qreal>(0, total - fixed);
    qreal x = m_layout.margins.left();
    xs->clear();
    ws->clear();
    for (const Column& c : set.columns) {
        const qreal w = c.star ? star : c.width;
        xs->append(x);
        ws->append(w);
        x += w;
    }
}

Composer::Block Composer::bandBlock(const Band& band, const RowContext& ctx)
{
    Block b;
    b.kind = band.kind;
    b.name = band.name;
    b.spaceBefore = band.spaceBefore;
    b.spaceAfter = band.spaceAfter;
    b.keepWithNext = band.keepWithNext;
    b.newPage = band.newPage;
    if (!band.defined || (band.showIf && evaluate(*band.showIf, ctx).isEmpty()))
        return b;

    const ColumnSet& set = m_layout.columnSet(band.columns);
    auto cached = m_columns.find(&set);
    if (cached == m_columns.end()) {
        QList<qreal> xs, ws;
        columnPositions(set, &xs, &ws);
        cached = m_columns.insert(&set, {xs, ws});
    }
    QList<qreal> xs = cached->first, ws = cached->second;
    collapseEmptyColumns(band, set, ctx, &xs, &ws);
    const qreal left = m_layout.margins.left();
    const qreal width = m_layout.bodyWidth();
    qsizetype cells = 4;
    for (const Row& row : band.rows)
        cells += row.cells.size() + 1;
    b.elements.reserve(cells);

    qreal y = band.ruleAbove;
    bool anything = false;
    for (const Row& row : band.rows) {
        switch (row.kind) {
        case Row::Kind::Space:
            y += row.size;
            anything = true;
            break;
        case Row::Kind::Rule: {
            Element e;
            e.kind = Element::Kind::Line;
            const qreal x0 = row.first < 0 ? left : xs[row.first] + band.paddingH;
            const qreal x1 = row.first < 0 ? left + width : xs[row.last] + ws[row.last] - band.paddingH;
            e.rect = QRectF(QPointF(x0, y + row.size / 2), QPointF(x1, y + row.size / 2));
            e.penWidth = row.size;
            e.color = row.color;
            b.elements.append(e);
            y += row.size;
            anything = true;
            break;
        }
        case Row::Kind::Cells: {
            qreal rowHeight = 0;
            const qsizetype firstElement = b.elements.size();
            // Cells of a row that share a column stack downward in it.
            QList<qreal> stacked(set.columns.size(), 0);
            auto stackTop = [&](const Cell& cell) {
                qreal offset = 0;
                for (int c = cell.first; c <= cell.last; ++c)
                    offset = qMax(offset, stacked[c]);
                return offset;
            };
            auto stackUp = [&](const Cell& cell, qreal bottom) {
                for (int c = cell.first; c <= cell.last; ++c)
                    stacked[c] = bottom;
                rowHeight = qMax(rowHeight, bottom);
            };
            for (const Cell& cell : row.cells) {
                const qreal offset = stackTop(cell);
                const qreal cellX = xs[cell.first] + band.paddingH;
                const qreal cellW =
                    qMax<qreal>(1, xs[cell.last] + ws[cell.last] - xs[cell.first] - 2 * band.paddingH);
                const Qt::Alignment columnAlign = set.columns[cell.first].align;
                if (cell.kind == Cell::Kind::Image) {
                    const Value v = evaluate(*cell.image, ctx);
                    if (v.type() != Value::Type::Bytes || v.isEmpty())
                        continue;
                    const int index = imageIndex(v.asBytes());
                    if (index < 0)
                        continue;
                    const QSizeF size = QSizeF(m_doc->m_images[index].size())
                                            .scaled(QSizeF(cellW, cell.imageHeight), Qt::KeepAspectRatio);
                    qreal x = cellX;
                    if (columnAlign & Qt::AlignRight)
                        x = cellX + cellW - size.width();
                    else if (columnAlign & Qt::AlignHCenter)
                        x = cellX + (cellW - size.width()) / 2;
                    Element e;
                    e.kind = Element::Kind::Image;
                    e.image = index;
                    e.rect = QRectF(QPointF(x, y + band.paddingV + offset), size);
                    b.elements.append(e);
                    stackUp(cell, offset + cell.imageHeight);
                    continue;
                }
                const RichText text = cell.text.evaluate(ctx, true);
                if (text.isEmpty())
                    continue;
                const Style& style = m_layout.style(cell.style);
                const qreal gap = offset > 0 ? style.spaceBefore : 0;
                const qreal top = y + band.paddingV + offset + gap;
                const qreal height =
                    layoutText(text.text, text.bold, style, cellW, style.align.value_or(columnAlign),
                               QPointF(cellX, top), b.elements);
                b.texts.append(style.caps ? text.text.toUpper() : text.text);
                stackUp(cell, offset + gap + height);
            }
            if (rowHeight > 0) {
                anything = true;
                y += rowHeight + 2 * band.paddingV;
                b.breaks.append(y);
            } else {
                b.elements.resize(firstElement);
            }
            break;
        }
        }
    }
    if (!anything)
        return b; // nothing printed: the band takes no room
    if (band.ruleAbove > 0) {
        Element e;
        e.kind = Element::Kind::Line;
        e.rect = QRectF(QPointF(left, band.ruleAbove / 2), QPointF(left + width, band.ruleAbove / 2));
        e.penWidth = band.ruleAbove;
        e.color = band.ruleAboveColor;
        b.elements.append(e);
    }
    if (band.ruleBelow > 0) {
        Element e;
        e.kind = Element::Kind::Line;
        e.rect = QRectF(QPointF(left, y + band.ruleBelow / 2), QPointF(left + width, y + band.ruleBelow / 2));
        e.penWidth = band.ruleBelow;
        e.color = band.ruleBelowColor;
        b.elements.append(e);
        y += band.ruleBelow;
    }
    if (band.background.isValid()) {
        Element e;
        e.kind = Element::Kind::Fill;
        e.rect = QRectF(left, 0, width, y);
        e.color = band.background;
        b.elements.prepend(e);
    }
    b.height = y;
    return b;
}

void Composer::collapseEmptyColumns(const Band& band, const ColumnSet& set, const RowContext& ctx,
                                    QList<qreal>* xs, QList<qreal>* ws)
{
    int star = -1;
    bool any = false;
    for (int c = 0; c < set.columns.size(); ++c) {
        star = set.columns[c].star ? c : star;
        any = any || set.columns[c].collapse;
    }
    if (!any)
        return;
    for (int c = 0; c < set.columns.size(); ++c) {
        if (!set.columns[c].collapse)
            continue;
        bool used = false;
        for (const Row& row : band.rows) {
            for (const Cell& cell : row.cells) {
                if (cell.first != c || used)
                    continue;
                if (cell.kind == Cell::Kind::Image) {
                    const Value v = evaluate(*cell.image, ctx);
                    used = v.type() == Value::Type::Bytes && !v.isEmpty() && imageIndex(v.asBytes()) >= 0;
                } else {
                    used = !cell.text.evaluate(ctx, true).isEmpty();
                }
            }
        }
        if (used)
            continue;
        const int heir = star >= 0 ? star : (c + 1 < set.columns.size() ? c + 1 : c - 1);
        if (heir < 0 || heir == c)
            continue;
        (*ws)[heir] += (*ws)[c];
        (*ws)[c] = 0;
    }
    qreal x = m_layout.margins.left();
    for (int c = 0; c < set.columns.size(); ++c) {
        (*xs)[c] = x;
        x += (*ws)[c];
    }
}

QList<Composer::Block> Composer::textBlocks(const TextBlock& text, const RowContext& ctx)
{
    QList<Block> out;
    if (text.showIf && evaluate(*text.showIf, ctx).isEmpty())
        return out;
    const qreal bulletIndent = 14 * UnitsPerPoint;
    for (const Paragraph& p : text.paragraphs) {
        const RichText rt = p.text.evaluate(ctx, false);
        if (rt.isEmpty())
            continue;
        const QString styleName = p.kind == Paragraph::Kind::Heading ? text.headingStyle
                                  : p.kind == Paragraph::Kind::Bullet && !text.bulletStyle.isEmpty()
                                      ? text.bulletStyle
                                      : text.style;
        const Style& style = m_layout.style(styleName);
        const qreal indent = text.indent + style.indent;
        qreal x = m_layout.margins.left() + indent;
        qreal width = m_layout.bodyWidth() - indent;
        Block b;
        b.kind = BandKind::Text;
        b.name = text.name;
        b.spaceBefore = style.spaceBefore;
        b.spaceAfter = style.spaceAfter;
        b.keepWithNext = p.kind == Paragraph::Kind::Heading || text.keepTogether;
        b.newPage = text.newPage && out.isEmpty();
        if (p.kind == Paragraph::Kind::Bullet) {
            layoutText(QStringLiteral("\u2022"), {}, style, bulletIndent, Qt::AlignLeft, QPointF(x, 0),
                       b.elements);
            x += bulletIndent;
            width -= bulletIndent;
        }
        QList<qreal> lineBottoms;
        b.height = layoutText(rt.text, rt.bold, style, qMax<qreal>(1, width),
                              style.align.value_or(Qt::AlignLeft), QPointF(x, 0), b.elements, &lineBottoms);
        b.texts.append(style.caps ? rt.text.toUpper() : rt.text);
        b.breakable = true;
        // A paragraph may be cut between pages, but leaves at least two lines on each side.
        const int lines = int(lineBottoms.size());
        for (int k = 2; k <= lines - 2; ++k)
            b.breaks.append(lineBottoms[k - 1]);
        out.append(b);
    }
    if (text.keepTogether && !out.isEmpty())
        out.last().keepWithNext = false;
    return out;
}

QList<Composer::Group> Composer::groupsOf(const Details& details, const RowContext& section) const
{
    QList<Group> groups;
    if (section.scopeBegin >= section.scopeEnd)
        return groups;
    if (!details.groupBy) {
        groups.append({section.scopeBegin, section.scopeEnd});
        return groups;
    }
    RowContext row = section;
    QString current;
    for (int r = section.scopeBegin; r < section.scopeEnd; ++r) {
        row.detailRow = r;
        const QString key = evaluate(*details.groupBy, row).display();
        if (groups.isEmpty() || key != current) {
            groups.append({r, r + 1});
            current = key;
        } else {
            groups.last().end = r + 1;
        }
    }
    return groups;
}

namespace {

// Cuts a block at y: what lies above goes to the first part, the rest (moved up) to the second. Fills that
// cross the cut are cut too.
std::pair<Composer::Block, Composer::Block> splitBlock(Composer::Block b, qreal cut)
{
    Composer::Block first = b, rest = b;
    first.elements.clear();
    rest.elements.clear();
    first.height = cut;
    first.spaceAfter = 0;
    first.keepWithNext = false;
    rest.height = b.height - cut;
    rest.spaceBefore = 0;
    rest.newPage = false;
    rest.continued = true;
    first.breaks.clear();
    rest.breaks.clear();
    for (qreal br : b.breaks) {
        if (br < cut)
            first.breaks.append(br);
        else if (br > cut)
            rest.breaks.append(br - cut);
    }
    QStringList firstTexts, restTexts;
    QString firstLine, restLine;
    qreal firstBaseline = -1, restBaseline = -1;
    for (Element e : b.elements) {
        const bool above = e.kind == Element::Kind::Line ? e.rect.top() <= cut : e.rect.top() < cut - 0.01;
        if (e.kind == Element::Kind::Fill && e.rect.top() < cut && e.rect.bottom() > cut) {
            Element top = e, bottom = e;
            top.rect.setBottom(cut);
            bottom.rect.setTop(0);
            bottom.rect.setHeight(e.rect.bottom() - cut);
            first.elements.append(top);
            rest.elements.append(bottom);
            continue;
        }
        if (above) {
            first.elements.append(e);
        } else {
            e.rect.translate(0, -cut);
            e.baseline -= cut;
            rest.elements.append(e);
        }
        if (e.kind == Element::Kind::Text) {
            QString& line = above ? firstLine : restLine;
            qreal& baseline = above ? firstBaseline : restBaseline;
            QStringList& texts = above ? firstTexts : restTexts;
            if (baseline >= 0 && qAbs(e.baseline - baseline) > 0.01) {
                texts.append(line);
                line.clear();
            }
            line += e.text;
            baseline = e.baseline;
        }
    }
    if (!firstLine.isEmpty())
        firstTexts.append(firstLine);
    if (!restLine.isEmpty())
        restTexts.append(restLine);
    first.texts = {firstTexts.join(u'\n')};
    rest.texts = {restTexts.join(u'\n')};
    return {first, rest};
}

// Places where a block too tall for any page may be cut: below any element that no other element crosses.
QList<qreal> forcedBreaks(const Composer::Block& b)
{
    QList<qreal> candidates;
    for (const Element& e : b.elements)
        if (e.kind == Element::Kind::Text || e.kind == Element::Kind::Image)
            candidates.append(e.rect.bottom());
    std::sort(candidates.begin(), candidates.end());
    QList<qreal> out;
    for (qreal c : candidates) {
        if (!out.isEmpty() && qAbs(out.last() - c) < 0.01)
            continue;
        bool crossed = false;
        for (const Element& e : b.elements)
            if ((e.kind == Element::Kind::Text || e.kind == Element::Kind::Image) &&
                e.rect.top() < c - 0.01 && e.rect.bottom() > c + 0.01)
                crossed = true;
        if (!crossed && c < b.height)
            out.append(c);
    }
    return out;
}

} // namespace

Result Composer::compose(Document* out)
{
    *out = Document();
    m_doc = out;
    m_fonts.clear();
    m_columns.clear();
    m_imageCache.clear();
    out->m_title = m_title;
    out->m_suggestedFileName = m_suggestedFileName;
    out->m_pageSize = m_layout.pageSize;
    out->m_orientation = m_layout.orientation;
    const QSizeF pageSize = m_layout.pageSizeUnits();
    out->m_pageSizeUnits = pageSize;
    const qreal left = m_layout.margins.left();
    const qreal width = m_layout.bodyWidth();

    for (int section = 0; section < m_data.sections.size(); ++section) {
        RowContext sectionCtx(m_layout, m_data, m_today, section);

        // The page header and footer keep one height on every page; measure them once.
        const Block headerSample = bandBlock(m_layout.pageHeader, sectionCtx);
        const Block footerSample = bandBlock(m_layout.pageFooter, sectionCtx);
        const qreal bodyTop = m_layout.margins.top() + headerSample.height +
                              (headerSample.isEmpty() ? 0 : m_layout.pageHeader.spaceAfter);
        const qreal bodyBottom = pageSize.height() - m_layout.margins.bottom() - footerSample.height -
                                 (footerSample.isEmpty() ? 0 : m_layout.pageFooter.spaceBefore);
        if (bodyBottom - bodyTop < UnitsPerInch)
            return Result::failure(
                ResultCode::LayoutInvalid,
                QStringLiteral("%1: the page header and footer leave less than an inch for the "
                               "body of the page")
                    .arg(m_layout.fileName));
        const qreal bodyHeight = bodyBottom - bodyTop;

        // First pass, part one: every band and paragraph of the body as a block.
        QList<Block> blocks;
        m_regions.clear();
        QList<Group> lastGroups;
        if (!m_layout.details.isEmpty())
            lastGroups = groupsOf(m_layout.details.first(), sectionCtx);
        for (const BodyPart& part : m_layout.body) {
            if (part.kind == BodyPart::Kind::Text) {
                blocks += textBlocks(m_layout.texts[part.index], sectionCtx);
                continue;
            }
            if (part.kind == BodyPart::Kind::Band) {
                const Band& band = m_layout.bands[part.index];
                if (band.repeatGroups) {
                    for (const Group& g : lastGroups) {
                        RowContext ctx = sectionCtx;
                        ctx.scopeBegin = g.begin;
                        ctx.scopeEnd = g.end;
                        blocks.append(bandBlock(band, ctx));
                    }
                } else {
                    blocks.append(bandBlock(band, sectionCtx));
                }
                continue;
            }
            const Details& details = m_layout.details[part.index];
            const QList<Group> groups = groupsOf(details, sectionCtx);
            lastGroups = groups;
            const int region = int(m_regions.size());
            m_regions.append(Region());
            if (groups.isEmpty()) {
                Block none = bandBlock(details.noDetails, sectionCtx);
                blocks.append(none);
                continue;
            }
            Block columnHeader = bandBlock(details.columnHeader, sectionCtx);
            columnHeader.keepWithNext = true;
            columnHeader.region = region;
            if (!columnHeader.isEmpty()) {
                m_regions[region].hasColumnHeader = true;
                m_regions[region].columnHeader = columnHeader;
                blocks.append(columnHeader);
            }
            blocks.reserve(blocks.size() + (sectionCtx.scopeEnd - sectionCtx.scopeBegin) + 2 * groups.size());
            for (int g = 0; g < groups.size(); ++g) {
                RowContext groupCtx = sectionCtx;
                groupCtx.scopeBegin = groups[g].begin;
                groupCtx.scopeEnd = groups[g].end;
                Block header = bandBlock(details.groupHeader, groupCtx);
                header.keepWithNext = true;
                header.region = region;
                header.group = g;
                if (details.groupHeader.repeatOnNewPage) {
                    RowContext again = groupCtx;
                    again.continued = true;
                    Block repeated = bandBlock(details.groupHeader, again);
                    repeated.continued = true;
                    repeated.spaceBefore = 0;
                    m_regions[region].continuedGroupHeaders.append(repeated);
                } else {
                    m_regions[region].continuedGroupHeaders.append(Block());
                }
                blocks.append(header);
                for (int r = groups[g].begin; r < groups[g].end; ++r) {
                    RowContext rowCtx = groupCtx;
                    rowCtx.detailRow = r;
                    Block detail = bandBlock(details.detail, rowCtx);
                    detail.region = region;
                    detail.group = g;
                    // The group's total does not start a page on its own: its last row goes with it.
                    if (r == groups[g].end - 1 && details.groupFooter.defined)
                        detail.keepWithNext = true;
                    blocks.append(std::move(detail));
                }
                Block footer = bandBlock(details.groupFooter, groupCtx);
                footer.region = region;
                footer.group = g;
                blocks.append(footer);
            }
        }

        // First pass, part two: flow the blocks into pages.
        const int firstPage = int(out->m_pages.size());
        qreal y = bodyTop;
        bool hasContent = false;
        // Puts a block on a page at top. A block placed for good gives up its elements; the repeated headers
        // are copied.
        auto placeBlock = [&](Page& page, Block& b, qreal top, bool consume) {
            PlacedBand placed;
            placed.kind = b.kind;
            placed.name = b.name;
            placed.rect = QRectF(left, top, width, b.height);
            placed.texts = consume ? std::move(b.texts) : b.texts;
            placed.continued = b.continued;
            placed.firstElement = int(page.elements.size());
            placed.elementCount = int(b.elements.size());
            for (Element& e : b.elements) {
                if (consume) {
                    e.rect.translate(0, top);
                    e.baseline += top;
                    page.elements.append(std::move(e));
                } else {
                    Element copy = e;
                    copy.rect.translate(0, top);
                    copy.baseline += top;
                    page.elements.append(std::move(copy));
                }
            }
            if (consume)
                b.elements.clear();
            page.bands.append(std::move(placed));
        };
        auto place = [&](Page& page, Block& b, qreal top) { placeBlock(page, b, top, true); };
        auto placeCopy = [&](Page& page, const Block& b, qreal top) {
            placeBlock(page, const_cast<Block&>(b), top, false);
        };
        auto startPage = [&](const Block* next) {
            Page page;
            page.section = section;
            page.elements.reserve(512);
            page.bands.reserve(64);
            out->m_pages.append(std::move(page));
            y = bodyTop;
            hasContent = false;
            // Inside a list, the column titles come again, and the group's title where it asks to.
            if (next && next->region >= 0) {
                const Region& region = m_regions[next->region];
                const bool isColumnHeader = next->kind == BandKind::ColumnHeader;
                if (region.hasColumnHeader && !isColumnHeader) {
                    placeCopy(out->m_pages.last(), region.columnHeader, y);
                    out->m_pages.last().bands.last().continued = true;
                    y += region.columnHeader.height;
                }
                if (next->group >= 0 && next->kind != BandKind::GroupHeader && !isColumnHeader &&
                    next->group < region.continuedGroupHeaders.size()) {
                    const Block& groupHeader = region.continuedGroupHeaders[next->group];
                    if (!groupHeader.isEmpty()) {
                        placeCopy(out->m_pages.last(), groupHeader, y);
                        y += groupHeader.height;
                    }
                }
            }
        };
        // The least room a block needs on the page where it starts.
        auto minimumHeight = [](const Block& b) {
            return b.breakable && !b.breaks.isEmpty() ? b.breaks.first() : b.height;
        };
        // The room a block and the blocks it keeps with need: all of them but the last, and of the last
        // what must at least go with them (two lines of a paragraph, or a whole band).
        auto chainHeight = [&](int i) {
            qreal h = blocks[i].height;
            int j = i;
            while (blocks[j].keepWithNext && h <= bodyHeight) {
                int k = j + 1;
                while (k < blocks.size() && blocks[k].isEmpty())
                    ++k;
                if (k >= blocks.size())
                    break;
                const bool last = !blocks[k].keepWithNext;
                h += blocks[j].spaceAfter + blocks[k].spaceBefore +
                     (last ? minimumHeight(blocks[k]) : blocks[k].height);
                j = k;
            }
            return h;
        };

        startPage(nullptr);
        for (int i = 0; i < blocks.size();) {
            Block& b = blocks[i];
            if (b.isEmpty()) {
                ++i;
                continue;
            }
            if (b.newPage && hasContent) {
                startPage(&b);
                continue;
            }
            const qreal gap = hasContent ? b.spaceBefore : 0;
            const qreal room = bodyBottom - y;
            if (hasContent && b.keepWithNext) {
                const qreal chain = chainHeight(i);
                if (gap + chain > room && chain <= bodyHeight) {
                    startPage(&b);
                    continue;
                }
            }
            if (gap + b.height <= room + 0.01) {
                place(out->m_pages.last(), b, y + gap);
                y += gap + b.height + b.spaceAfter;
                hasContent = true;
                ++i;
                continue;
            }
            // Too tall for what is left of the page: a paragraph is cut between lines; anything else goes to
            // the next page, unless it is taller than a whole page.
            const qreal fits = room - gap;
            qreal cut = -1;
            if (b.breakable)
                for (qreal br : b.breaks)
                    if (br <= fits + 0.01)
                        cut = br;
            if (cut <= 0 && hasContent) {
                startPage(&b);
                continue;
            }
            if (cut <= 0) {
                // Even a page of its own is too small: cut between rows, or else wherever nothing is crossed.
                for (qreal br : b.breaks)
                    if (br <= fits + 0.01)
                        cut = br;
                if (cut <= 0) {
                    const QList<qreal> forced = forcedBreaks(b);
                    for (qreal br : forced)
                        if (br <= fits + 0.01)
                            cut = br;
                    if (cut <= 0)
                        cut = forced.isEmpty() ? b.height : forced.first();
                }
                if (cut >= b.height) {
                    place(out->m_pages.last(), b, y + gap);
                    y += gap + b.height + b.spaceAfter;
                    hasContent = true;
                    ++i;
                    continue;
                }
            }
            auto [head, tail] = splitBlock(std::move(b), cut);
            place(out->m_pages.last(), head, y + gap);
            hasContent = true;
            blocks[i] = std::move(tail);
            startPage(&blocks[i]);
        }
        // Free the blocks' memory as the pages now hold everything.
        blocks.clear();

        const int lastPage = int(out->m_pages.size());
        for (int p = firstPage; p < lastPage; ++p) {
            out->m_pages[p].number = p - firstPage + 1;
            out->m_pages[p].count = lastPage - firstPage;
        }

        // Second pass: page headers and footers, now that the number of pages is known.
        for (int p = firstPage; p < lastPage; ++p) {
            Page& page = out->m_pages[p];
            RowContext ctx = sectionCtx;
            ctx.page = page.number;
            ctx.pages = page.count;
            const QList<PlacedBand> body = page.bands;
            page.bands.clear();
            Block header = bandBlock(m_layout.pageHeader, ctx);
            if (!header.isEmpty())
                place(page, header, m_layout.margins.top());
            for (const PlacedBand& band : body)
                page.bands.append(band);
            Block footer = bandBlock(m_layout.pageFooter, ctx);
            if (!footer.isEmpty())
                place(page, footer, pageSize.height() - m_layout.margins.bottom() - footer.height);
        }
    }
    m_doc = nullptr;
    return Result::success();
}

} // namespace tv::report
