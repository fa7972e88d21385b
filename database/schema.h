#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tv::db {

// The numbered scripts of schema/ (NNN_name.sql) make a new database file and bring an older one up to date.
// The file's user_version holds the number of the last script applied.
namespace schema {

int latestVersion();
int currentVersion(QSqlDatabase db);

// Applies every script newer than the file's version, each in its own transaction.
bool upgrade(QSqlDatabase db, QString* error = nullptr);

// Creates a new prepared database file at path (refuses if it exists), or upgrades an existing one.
bool prepareFile(const QString& path, QString* error = nullptr);

} // namespace schema
} // namespace tv::db
