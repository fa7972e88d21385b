#include "platform/report/data.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace tv::report {

int DataTable::columnIndex(const QString& wanted) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

namespace {

QString quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(u'"', QLatin1String("\"\""));
    return u'"' + q + u'"';
}

Result queryFailed(const QSqlQuery& q)
{
    return Result::failure(
        ResultCode::DatabaseError,
        QStringLiteral("The database could not be read: %1").arg(q.lastError().text().trimmed()));
}

QString columnList(const DataTable& t)
{
    QStringList cols;
    for (const QString& c : t.columns)
        cols.append(quoted(c));
    return cols.join(QStringLiteral(", "));
}

Result readRows(QSqlQuery& q, DataTable* t)
{
    if (!q.exec())
        return queryFailed(q);
    const int n = int(t->columns.size());
    while (q.next()) {
        QList<Value> row;
        row.reserve(n);
        for (int c = 0; c < n; ++c)
            row.append(Value::fromSql(q.value(c), t->currency[c]));
        t->rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        return queryFailed(q);
    return Result::success();
}

Result missingField(const QString& table, const QString& field)
{
    return Result::failure(ResultCode::LayoutInvalid,
                           QStringLiteral("the database has no field {%1.%2}").arg(table, field));
}

} // namespace

bool describeTable(const QSqlDatabase& db, const QString& table, DataTable* out, QString* error)
{
    *out = DataTable();
    QSqlQuery names(db);
    names.setForwardOnly(true);
    if (!names.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"))) {
        if (error)
            *error = names.lastError().text().trimmed();
        return false;
    }
    while (names.next()) {
        const QString stored = names.value(0).toString();
        if (stored.compare(table, Qt::CaseInsensitive) == 0) {
            out->name = stored;
            break;
        }
    }
    if (out->name.isEmpty()) {
        if (error)
            *error = QStringLiteral("the database has no table \"%1\"").arg(table);
        return false;
    }
    QSqlQuery info(db);
    info.setForwardOnly(true);
    if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(out->name)))) {
        if (error)
            *error = info.lastError().text().trimmed();
        return false;
    }
    while (info.next()) {
        out->columns.append(info.value(1).toString());
        const QString type = info.value(2).toString().toUpper();
        out->currency.append(type.contains(QLatin1String("CURRENCY")) ||
                             type.contains(QLatin1String("MONEY")));
    }
    return true;
}

Result loadReportData(const QSqlDatabase& db, const DataSpec& source, const Selection& selection,
                      ReportData* out)
{
    *out = ReportData();
    QString why;
    auto describe = [&](const QString& table, DataTable* t) {
        if (!describeTable(db, table, t, &why))
            return Result::failure(why.startsWith(QLatin1String("the database has no table"))
                                       ? ResultCode::LayoutInvalid
                                       : ResultCode::DatabaseError,
                                   why);
        return Result::success();
    };

    if (Result r = describe(source.master, &out->master); !r.ok())
        return r;
    const int keyColumn = out->master.columnIndex(source.masterKey);
    if (keyColumn < 0)
        return missingField(out->master.name, source.masterKey);
    const QString key = quoted(out->master.columns[keyColumn]);

    const bool hasDetails = !source.details.isEmpty();
    int linkColumn = -1;
    QStringList order;
    if (hasDetails) {
        if (Result r = describe(source.details, &out->details); !r.ok())
            return r;
        linkColumn = out->details.columnIndex(source.detailsLink);
        if (linkColumn < 0)
            return missingField(out->details.name, source.detailsLink);
        for (const QString& f : source.order) {
            const int c = out->details.columnIndex(f);
            if (c < 0)
                return missingField(out->details.name, f);
            order.append(quoted(out->details.columns[c]) + QStringLiteral(" ASC"));
        }
    }
    for (const QString& t : source.lookups) {
        DataTable lookup;
        if (Result r = describe(t, &lookup); !r.ok())
            return r;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT %1 FROM %2 LIMIT 1").arg(columnList(lookup), quoted(lookup.name)));
        if (Result r = readRows(q, &lookup); !r.ok())
            return r;
        out->lookups.append(lookup);
    }

    const bool blank = !selection.active && source.blankWithoutSelection;
    if (blank) {
        out->sections.append(ReportData::Section());
        return Result::success();
    }

    // The selected job: its master row by key, its details by link; both name the same job number.
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        QString sql =
            QStringLiteral("SELECT %1 FROM %2").arg(columnList(out->master), quoted(out->master.name));
        if (selection.active)
            sql += QStringLiteral(" WHERE %1 = ?").arg(key);
        sql += QStringLiteral(" ORDER BY %1 ASC").arg(key);
        if (!q.prepare(sql))
            return queryFailed(q);
        if (selection.active)
            q.addBindValue(selection.value);
        if (Result r = readRows(q, &out->master); !r.ok())
            return r;
    }
    if (hasDetails) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        const QString link = quoted(out->details.columns[linkColumn]);
        QString sql =
            QStringLiteral("SELECT %1 FROM %2").arg(columnList(out->details), quoted(out->details.name));
        QStringList orderBy = order;
        if (selection.active)
            sql += QStringLiteral(" WHERE %1 = ?").arg(link);
        else
            orderBy.prepend(link + QStringLiteral(" ASC"));
        if (!orderBy.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + orderBy.join(QStringLiteral(", "));
        if (!q.prepare(sql))
            return queryFailed(q);
        if (selection.active)
            q.addBindValue(selection.value);
        if (Result r = readRows(q, &out->details); !r.ok())
            return r;
    }

    if (selection.active) {
        if (out->master.rows.isEmpty() && out->details.rows.isEmpty())
            return Result::failure(
                ResultCode::NoRecords,
                QStringLiteral("There is no job number %1 in the database.").arg(selection.value));
        ReportData::Section s;
        s.masterRow = out->master.rows.isEmpty() ? -1 : 0;
        s.detailsEnd = int(out->details.rows.size());
        out->sections.append(s);
        return Result::success();
    }

    if (out->master.rows.isEmpty())
        return Result::failure(ResultCode::NoRecords, QStringLiteral("The database holds no jobs to print."));
    // Every job in the order of its number, each with its own details (both lists are sorted by the number).
    int d = 0;
    const int detailCount = int(out->details.rows.size());
    for (int m = 0; m < out->master.rows.size(); ++m) {
        const auto keyValue = out->master.rows[m][keyColumn].asInteger();
        ReportData::Section s;
        s.masterRow = m;
        if (hasDetails && keyValue) {
            auto linkOf = [&](int row) { return out->details.rows[row][linkColumn].asInteger(); };
            while (d < detailCount && (!linkOf(d) || *linkOf(d) < *keyValue))
                ++d;
            s.detailsBegin = d;
            while (d < detailCount && linkOf(d) && *linkOf(d) == *keyValue)
                ++d;
            s.detailsEnd = d;
        } else {
            s.detailsBegin = s.detailsEnd = d;
        }
        out->sections.append(s);
    }
    return Result::success();
}

} // namespace tv::report
