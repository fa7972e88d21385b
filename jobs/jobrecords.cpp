#include "jobs/jobrecords.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace tv::jobs {

int countJobLines(QSqlDatabase db, qint64 job, QString* error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT count(*) FROM [Job Items] WHERE [Recordno] = ?"));
    query.addBindValue(job);
    if (!query.exec() || !query.next()) {
        if (error)
            *error = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

bool deleteJobWithLines(QSqlDatabase db, qint64 job, QString* error)
{
    const auto fail = [&](const QSqlError& why) {
        if (error)
            *error = why.text();
        db.rollback();
        return false;
    };
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    QSqlQuery lines(db);
    lines.prepare(QStringLiteral("DELETE FROM [Job Items] WHERE [Recordno] = ?"));
    lines.addBindValue(job);
    if (!lines.exec())
        return fail(lines.lastError());
    QSqlQuery info(db);
    info.prepare(QStringLiteral("DELETE FROM [Job Information] WHERE [AutoNumber] = ?"));
    info.addBindValue(job);
    if (!info.exec())
        return fail(info.lastError());
    if (info.numRowsAffected() != 1) {
        db.rollback();
        if (error)
            *error =
                QStringLiteral("Job %1 was not found; it may have been deleted in another window.").arg(job);
        return false;
    }
    if (!db.commit())
        return fail(db.lastError());
    return true;
}

} // namespace tv::jobs
