#include "database/compaction.h"

#include "database/connection.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace tv::db {

bool compactFile(const QString& source, const QString& target, QString* error)
{
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (QFile::exists(target))
        return fail(QStringLiteral("The file %1 exists already.").arg(target));
    {
        QString openError;
        const auto connection = openConnection(source, QStringLiteral("Compaction"), &openError);
        if (!connection)
            return fail(openError);
        QSqlQuery vacuum(connection->database());
        vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
        vacuum.addBindValue(target);
        if (!vacuum.exec()) {
            QFile::remove(target);
            return fail(vacuum.lastError().text());
        }
    }
    QString openError;
    const auto copy = openConnection(target, QStringLiteral("Compaction check"), &openError);
    if (!copy) {
        QFile::remove(target);
        return fail(openError);
    }
    QSqlQuery check(copy->database());
    if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next() ||
        check.value(0).toString() != QStringLiteral("ok")) {
        const QString why =
            check.lastError().isValid() ? check.lastError().text() : check.value(0).toString();
        check.finish();
        return fail(QStringLiteral("The compacted copy failed its check: %1").arg(why));
    }
    return true;
}

} // namespace tv::db
