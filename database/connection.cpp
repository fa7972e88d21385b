#include "database/connection.h"

#include <QFileInfo>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

namespace tv::db {

namespace {

struct Registry
{
    QMutex mutex;
    QList<Connection*> open;
};

Registry& registry()
{
    static Registry r;
    return r;
}

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

} // namespace

Connection::Connection(QString name, QString owner, QString path)
    : m_name(std::move(name)), m_owner(std::move(owner)), m_path(std::move(path))
{
    QMutexLocker lock(&registry().mutex);
    registry().open.append(this);
}

Connection::~Connection()
{
    {
        QMutexLocker lock(&registry().mutex);
        registry().open.removeOne(this);
    }
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

ConnectionPtr openConnection(const QString& path, const QString& owner, QString* error)
{
    const QString name = QStringLiteral("tv-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    const QString absolute = QFileInfo(path).absoluteFilePath();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // The URI form with mode=rw refuses to create a missing file.
        QUrl uri = QUrl::fromLocalFile(absolute);
        uri.setQuery(QStringLiteral("mode=rw"));
        db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        bool ok = db.open();
        QString message = ok ? QString() : db.lastError().text();
        if (ok) {
            // Reading the schema proves the file is a database at all; a text file opens without complaint.
            QSqlQuery probe(db);
            ok = probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            if (!ok)
                message = probe.lastError().text();
        }
        if (!ok) {
            if (error)
                *error =
                    QStringLiteral("Cannot open the database file %1: %2").arg(absolute, message.trimmed());
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return {};
        }
    }
    return ConnectionPtr(new Connection(name, owner, canonical(absolute)));
}

QStringList openConnectionOwners(const QString& path)
{
    const QString wanted = path.isEmpty() ? QString() : canonical(path);
    QMutexLocker lock(&registry().mutex);
    QStringList owners;
    for (const Connection* c : registry().open)
        if (wanted.isEmpty() || c->path() == wanted)
            owners.append(c->owner());
    return owners;
}

} // namespace tv::db
