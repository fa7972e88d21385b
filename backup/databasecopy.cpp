#include "backup/databasecopy.h"

#include "database/compaction.h"
#include "database/connection.h"
#include "database/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tv::backup {

namespace {

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

QString logOf(const QString& database)
{
    return database + QStringLiteral("-wal");
}

} // namespace

bool snapshotDatabase(const QString& source, const QString& target, QString* error)
{
    if (!QFileInfo(source).isFile())
        return fail(
            error,
            QStringLiteral("The database file %1 does not exist.").arg(QDir::toNativeSeparators(source)));
    // The engine's own compaction reads the file in one transaction, so the copy is one consistent state.
    if (!db::compactFile(source, target, error))
        return false;
    // The copy is kept like the program's own file, so that it is ready for use wherever it is put back.
    {
        QString why;
        const auto copy = db::openConnection(target, QStringLiteral("Backup"), &why);
        if (copy) {
            QSqlQuery mode(copy->database());
            if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !mode.next())
                why = mode.lastError().text();
        }
        if (!why.isEmpty()) {
            QFile::remove(target);
            return fail(error, why);
        }
    }
    if (QFileInfo::exists(logOf(target))) {
        QFile::remove(target);
        return fail(error, QStringLiteral("the copy's write-ahead log could not be merged."));
    }
    return true;
}

const QStringList& requiredTables()
{
    static const QStringList tables{QStringLiteral("Job Information"),  QStringLiteral("Job Items"),
                                    QStringLiteral("Your Information"), QStringLiteral("Factors"),
                                    QStringLiteral("PaymentTerms"),     QStringLiteral("ShipmentTerms"),
                                    QStringLiteral("LogoData"),         QStringLiteral("UserData"),
                                    QStringLiteral("ItemName"),         QStringLiteral("SubItemName")};
    return tables;
}

bool prepareRestoredDatabase(const QString& file, QString* error)
{
    {
        QString why;
        const auto connection = db::openConnection(file, QStringLiteral("Restore"), &why);
        if (!connection)
            return fail(error, QStringLiteral("it cannot be opened as a database (%1).").arg(why));
        QSqlDatabase database = connection->database();
        QSqlQuery query(database);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("PRAGMA integrity_check")))
            return fail(error, QStringLiteral("its check failed (%1).").arg(query.lastError().text()));
        QStringList problems;
        while (query.next())
            problems << query.value(0).toString();
        query.finish();
        if (problems != QStringList{QStringLiteral("ok")})
            return fail(
                error,
                QStringLiteral("it is damaged (%1).").arg(problems.mid(0, 3).join(QStringLiteral("; "))));

        QStringList missing;
        for (const QString& table : requiredTables()) {
            QSqlQuery find(database);
            find.prepare(QStringLiteral(
                "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
            find.addBindValue(table);
            if (!find.exec() || !find.next() || find.value(0).toInt() == 0)
                missing << table;
        }
        if (!missing.isEmpty())
            return fail(error, QStringLiteral("it is not a Tarvenor database (the tables %1 are missing).")
                                   .arg(missing.join(QStringLiteral(", "))));

        if (!db::schema::upgrade(database, &why))
            return fail(error, QStringLiteral("it could not be brought up to date (%1).").arg(why));
        // The program's files are kept with a write-ahead log, so that windows can read while one writes.
        QSqlQuery mode(database);
        if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !mode.next() ||
            mode.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
            return fail(error, QStringLiteral("its journal mode could not be set."));
    }
    // Closing the last connection merges the log into the file and removes it; a log left over would be lost
    // with the rename.
    if (QFileInfo::exists(logOf(file)))
        return fail(error, QStringLiteral("its write-ahead log could not be merged."));
    if (QString why; !db::syncToDisk(file, false, &why))
        return fail(error, QStringLiteral("it could not be saved to the disk (%1).").arg(why));
    return true;
}

bool logHoldsChanges(const QString& database)
{
    const QFileInfo log(logOf(database));
    return log.exists() && log.size() > 0;
}

bool replaceDatabase(const QString& file, const QString& database, QString* error)
{
    const QString log = logOf(database);
    if (logHoldsChanges(database))
        return fail(error, QStringLiteral("The database file %1 is in use by another program.")
                               .arg(QDir::toNativeSeparators(database)));
    // An empty log left behind would be taken for the new file's own.
    if (QFileInfo::exists(log) && !QFile::remove(log))
        return fail(error,
                    QStringLiteral("The file %1 could not be removed.").arg(QDir::toNativeSeparators(log)));
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(database).constData()) != 0)
        return fail(error, QStringLiteral("The restored file could not take the place of %1: %2")
                               .arg(QDir::toNativeSeparators(database),
                                    QString::fromLocal8Bit(std::strerror(errno))));
    db::syncToDisk(QFileInfo(database).absolutePath(), true);
    return true;
}

} // namespace tv::backup
