#pragma once

#include "database/recordset.h"

#include <QList>
#include <QString>
#include <QStringList>

class QFontMetricsF;
class QPagedPaintDevice;

namespace tv::jobs {

// The columns of a list of quote lines, as the grid shows them and "Print" prints them.
struct QuoteListColumn
{
    QString caption;
    QString field;
    Qt::Alignment alignment;
    double share; // of the printed width
};
const QList<QuoteListColumn>& quoteListColumns();

// A cell as shown and printed: prices with two decimals, details on one line.
QString quoteListCell(const db::RecordSet& set, int row, int column);

// Breaks a cell's text into at most maxLines lines of the width; the last line ends in an ellipsis when text
// is left over.
QStringList quoteListLines(const QString& text, const QFontMetricsF& metrics, qreal width, int maxLines);

// Prints rows of a list of quote lines as a table: a title and the column captions on every page, the rows
// in the order given, a page number at the foot.
class QuoteListPrint
{
public:
    explicit QuoteListPrint(db::RecordSetPtr set, QString title = QStringLiteral("Quoted Job Items"));

    int rowsPerPage(QPagedPaintDevice* device) const;
    int pageCount(QPagedPaintDevice* device, int rows) const;
    // False with a message when the device cannot be painted on.
    bool print(QPagedPaintDevice* device, const QList<int>& rows, QString* error = nullptr) const;

private:
    db::RecordSetPtr m_set;
    QString m_title;
};

} // namespace tv::jobs
