#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

namespace tv::db {

// One open connection to a database file. Every binding, report and tool opens its own; the registry below
// knows them all, so that compaction, backup and restore can tell which windows still hold the file.
class Connection
{
public:
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase database() const;
    QString name() const { return m_name; }
    QString owner() const { return m_owner; }
    QString path() const { return m_path; }

private:
    friend std::shared_ptr<Connection> openConnection(const QString&, const QString&, QString*);
    Connection(QString name, QString owner, QString path);
    QString m_name;
    QString m_owner;
    QString m_path;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// Opens the existing SQLite file at path for reading and writing. A missing file is an error, never created.
// owner names who holds the connection (a window caption, "Report engine"), for messages. On failure returns
// null and puts a message naming the path and the engine's words into error.
ConnectionPtr openConnection(const QString& path, const QString& owner, QString* error = nullptr);

// Owners of the connections open now on the file at path (every file when path is empty).
QStringList openConnectionOwners(const QString& path = {});

// How the engine milliseconds to wait for a lock held by another connection before failing.
inline constexpr int BusyTimeoutMs = 5000;

} // namespace tv::db
