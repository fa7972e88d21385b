#pragma once

#include "platform/report/layout.h"
#include "platform/report/result.h"
#include "platform/report/selection.h"
#include "platform/report/value.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tv::report {

// The rows of one table as a report reads them.
struct DataTable
{
    QString name;         // as stored in the database
    QStringList columns;  // as stored
    QList<bool> currency; // per column: declared CURRENCY
    QList<QList<Value>> rows;

    int columnIndex(const QString& name) const; // without regard to letter case; -1 if none
};

// What a report prints: the selected master rows, their details in order, and the one-row lookup tables.
struct ReportData
{
    // One printed document: a master row (or none, for a blank document) and its details.
    struct Section
    {
        int masterRow = -1;
        int detailsBegin = 0;
        int detailsEnd = 0;
    };

    DataTable master;
    DataTable details; // empty name when the layout lists no details
    QList<DataTable> lookups;
    QList<Section> sections;
};

// Reads what the layout's [data] asks for. Table and field names are matched without regard to letter case
// and quoted as identifiers; the selected number is bound as a parameter. Errors: DatabaseError for a failing
// query, LayoutInvalid for a table or field the database does not have, NoRecords when nothing is selected.
Result loadReportData(const QSqlDatabase& db, const DataSpec& source, const Selection& selection,
                      ReportData* out);

// Column names and CURRENCY flags of a table, and its name as stored; false if the database has no such
// table.
bool describeTable(const QSqlDatabase& db, const QString& table, DataTable* out, QString* error);

} // namespace tv::report
