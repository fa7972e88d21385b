#include "jobs/quotelist.h"

#include "platform/binding.h"
#include "platform/interactive.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

namespace tv::jobs {

const QList<QuoteListColumn>& quoteListColumns()
{
    static const QList<QuoteListColumn> columns = {
        {QStringLiteral("ID #"), QStringLiteral("Recordno"), Qt::AlignRight, 0.06},
        {QStringLiteral("Item Name"), QStringLiteral("Item Name"), Qt::AlignLeft, 0.23},
        {QStringLiteral("Item Details"), QStringLiteral("Item Notes"), Qt::AlignLeft, 0.33},
        {QStringLiteral("Condition"), QStringLiteral("Item Condition"), Qt::AlignLeft, 0.10},
        {QStringLiteral("Price"), QStringLiteral("Item Price"), Qt::AlignRight, 0.10},
        {QStringLiteral("Qty."), QStringLiteral("Item Qty"), Qt::AlignRight, 0.06},
        {QStringLiteral("A-B-C"), QStringLiteral("Schedule"), Qt::AlignHCenter, 0.06},
        {QStringLiteral("Sort"), QStringLiteral("Item Category"), Qt::AlignRight, 0.06},
    };
    return columns;
}

QString quoteListCell(const db::RecordSet& set, int row, int column)
{
    const QuoteListColumn& c = quoteListColumns().at(column);
    const QVariant value = set.valueAt(row, set.fieldIndex(c.field));
    if (c.field == u"Item Price") {
        bool number = false;
        const double price = value.toDouble(&number);
        if (number && !value.isNull())
            return QLocale().toString(price, 'f', 2);
    }
    const QString text = Binding::displayText(value);
    return c.field == u"Item Notes" ? text.simplified() : text;
}

QStringList quoteListLines(const QString& text, const QFontMetricsF& fm, qreal width, int maxLines)
{
    QStringList lines;
    QString line;
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (int i = 0; i < words.size(); ++i) {
        const QString candidate = line.isEmpty() ? words.at(i) : line + u' ' + words.at(i);
        if (line.isEmpty() || fm.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        if (lines.size() == maxLines - 1) {
            // The last line takes the rest of the text and is cut short below.
            line = QStringList(words.mid(i)).join(u' ').prepend(line + u' ');
            break;
        }
        lines.append(line);
        line = words.at(i);
    }
    if (!line.isEmpty())
        lines.append(line);
    for (QString& l : lines)
        l = fm.elidedText(l, Qt::ElideRight, width);
    return lines;
}

namespace {

struct Layout
{
    QFont titleFont;
    QFont headFont;
    QFont bodyFont;
    qreal width = 0;
    qreal height = 0;
    qreal pad = 0;
    qreal titleHeight = 0;
    qreal headHeight = 0;
    qreal rowHeight = 0;
    qreal footHeight = 0;
    int rowsPerPage = 1;

    explicit Layout(QPagedPaintDevice* device)
    {
        titleFont.setPointSizeF(13);
        titleFont.setBold(true);
        headFont.setPointSizeF(8.5);
        headFont.setBold(true);
        bodyFont.setPointSizeF(8.5);
        const QFontMetricsF title(titleFont, device);
        const QFontMetricsF head(headFont, device);
        const QFontMetricsF body(bodyFont, device);
        width = device->width();
        height = device->height();
        pad = body.height() * 0.3;
        titleHeight = title.height() * 1.8;
        headHeight = head.height() + 2 * pad;
        rowHeight = 2 * body.lineSpacing() + 2 * pad;
        footHeight = body.height() * 2;
        rowsPerPage = std::max(1, int((height - titleHeight - headHeight - footHeight) / rowHeight));
    }
};

} // namespace

QuoteListPrint::QuoteListPrint(db::RecordSetPtr set, QString title)
    : m_set(std::move(set)), m_title(std::move(title))
{}

int QuoteListPrint::rowsPerPage(QPagedPaintDevice* device) const
{
    return Layout(device).rowsPerPage;
}

int QuoteListPrint::pageCount(QPagedPaintDevice* device, int rows) const
{
    const int perPage = rowsPerPage(device);
    return std::max(1, (rows + perPage - 1) / perPage);
}

bool QuoteListPrint::print(QPagedPaintDevice* device, const QList<int>& rows, QString* error) const
{
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("The printer could not be started.");
        return false;
    }
    const Layout layout(device);
    const QFontMetricsF body(layout.bodyFont, device);
    const QList<QuoteListColumn>& columns = quoteListColumns();
    QList<qreal> left;
    qreal x = 0;
    for (const QuoteListColumn& c : columns) {
        left.append(x);
        x += c.share * layout.width;
    }
    left.append(layout.width);
    const qreal hairline = std::max(1.0, device->logicalDpiY() / 150.0);
    const QPen gridPen(QColor(0xb8, 0xbe, 0xc6), hairline);
    const QPen textPen(Qt::black);
    const QString printedOn = QLocale().toString(platform::clock().now().date(), QLocale::LongFormat);
    const int pages = std::max(1, int((rows.size() + layout.rowsPerPage - 1) / layout.rowsPerPage));

    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device->newPage()) {
            if (error)
                *error = QStringLiteral("A new page could not be started.");
            return false;
        }
        // Title and date.
        painter.setPen(textPen);
        painter.setFont(layout.titleFont);
        painter.drawText(QRectF(0, 0, layout.width, layout.titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         m_title);
        painter.setFont(layout.bodyFont);
        painter.drawText(QRectF(0, 0, layout.width, layout.titleHeight), Qt::AlignRight | Qt::AlignVCenter,
                         printedOn);

        // Column captions on a shaded band.
        qreal y = layout.titleHeight;
        painter.fillRect(QRectF(0, y, layout.width, layout.headHeight), QColor(0xdf, 0xe4, 0xea));
        painter.setFont(layout.headFont);
        for (int c = 0; c < columns.size(); ++c) {
            const QRectF cell(left[c] + layout.pad, y, left[c + 1] - left[c] - 2 * layout.pad,
                              layout.headHeight);
            painter.drawText(cell, columns[c].alignment | Qt::AlignVCenter, columns[c].caption);
        }
        y += layout.headHeight;
        painter.setPen(gridPen);
        painter.drawLine(QPointF(0, y), QPointF(layout.width, y));

        painter.setFont(layout.bodyFont);
        const int first = page * layout.rowsPerPage;
        const int last = std::min(int(rows.size()), first + layout.rowsPerPage);
        for (int i = first; i < last; ++i) {
            const int row = rows.at(i);
            if ((i - first) % 2 == 1)
                painter.fillRect(QRectF(0, y, layout.width, layout.rowHeight), QColor(0xf4, 0xf6, 0xf9));
            painter.setPen(textPen);
            for (int c = 0; c < columns.size(); ++c) {
                const qreal cellWidth = left[c + 1] - left[c] - 2 * layout.pad;
                const QString text = quoteListCell(*m_set, row, c);
                const QStringList lines =
                    quoteListLines(text, body, cellWidth, columns[c].field == u"Item Notes" ? 2 : 1);
                for (int l = 0; l < lines.size(); ++l) {
                    const QRectF cell(left[c] + layout.pad, y + layout.pad + l * body.lineSpacing(),
                                      cellWidth, body.lineSpacing());
                    painter.drawText(cell, columns[c].alignment | Qt::AlignVCenter, lines.at(l));
                }
            }
            y += layout.rowHeight;
            painter.setPen(gridPen);
            painter.drawLine(QPointF(0, y), QPointF(layout.width, y));
        }

        painter.setPen(textPen);
        painter.drawText(QRectF(0, layout.height - layout.footHeight, layout.width, layout.footHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
    }
    return painter.end();
}

} // namespace tv::jobs
