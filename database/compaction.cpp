#include "database/compaction.h"

#include "database/connection.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
    QString why;
    {
        const auto copy = openConnection(target, QStringLiteral("Compaction check"), &why);
        if (copy) {
            QSqlQuery check(copy->database());
            if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next())
                why = check.lastError().text();
            else if (check.value(0).toString() != QStringLiteral("ok"))
                why = check.value(0).toString();
        }
    }
    if (!why.isEmpty()) {
        QFile::remove(target);
        return fail(QStringLiteral("The compacted copy failed its check: %1").arg(why));
    }
    return true;
}

bool syncToDisk(const QString& path, bool directory, QString* error)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), (directory ? O_DIRECTORY : 0) | O_RDONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (!ok && error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    if (fd >= 0)
        ::close(fd);
    return ok;
}

} // namespace tv::db
