#include "database/schema.h"

#include "database/connection.h"
#include "database/sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <map>

namespace tv::db::schema {

namespace {

// Scripts by number, read from the resources compiled into the data layer.
std::map<int, QString> scripts()
{
    std::map<int, QString> result;
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)_.*\\.sql$"));
    const QDir dir(QStringLiteral(":/schema"));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        const auto match = numbered.match(name);
        if (!match.hasMatch())
            continue;
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            result[match.captured(1).toInt()] = QString::fromUtf8(file.readAll());
    }
    return result;
}

} // namespace

int latestVersion()
{
    // From the file names alone: start-up asks this every time.
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)_.*\\.sql$"));
    int latest = 0;
    for (const QString& name : QDir(QStringLiteral(":/schema")).entryList(QDir::Files))
        if (const auto match = numbered.match(name); match.hasMatch())
            latest = std::max(latest, match.captured(1).toInt());
    return latest;
}

int currentVersion(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
        return q.value(0).toInt();
    return 0;
}

bool upgrade(QSqlDatabase db, QString* error)
{
    const int from = currentVersion(db);
    for (const auto& [number, text] : scripts()) {
        if (number <= from)
            continue;
        if (!db.transaction()) {
            if (error)
                *error = db.lastError().text();
            return false;
        }
        QString failure;
        for (const QString& statement : splitStatements(text)) {
            QSqlQuery q(db);
            if (!q.exec(statement)) {
                failure =
                    QStringLiteral("Script %1: %2\n%3").arg(number).arg(q.lastError().text(), statement);
                break;
            }
        }
        QSqlQuery version(db);
        if (failure.isEmpty() && !version.exec(QStringLiteral("PRAGMA user_version = %1").arg(number)))
            failure = version.lastError().text();
        if (!failure.isEmpty()) {
            db.rollback();
            if (error)
                *error = failure;
            return false;
        }
        if (!db.commit()) {
            if (error)
                *error = db.lastError().text();
            return false;
        }
    }
    return true;
}

bool prepareFile(const QString& path, QString* error)
{
    const bool existed = QFileInfo::exists(path);
    const QString name = QStringLiteral("tv-prepare-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok && error)
            *error = db.lastError().text();
        if (ok) {
            // WAL lets windows read and write the file through their own connections at the same time.
            QSqlQuery wal(db);
            ok = wal.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            if (!ok && error)
                *error = wal.lastError().text();
        }
        if (ok)
            ok = upgrade(db, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok && !existed)
        QFile::remove(path);
    return ok;
}

} // namespace tv::db::schema
