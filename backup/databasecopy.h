#pragma once

// The database file going into a backup and coming back from one. No widgets here.

#include <QString>
#include <QStringList>

namespace tv::backup {

// The name the database file has in the application folder and in a backup archive.
inline const QString DatabaseFileName = QStringLiteral("Pelkin.mdb");

// Writes a consistent copy of the database file at source into target (which must not exist) through the
// database engine: windows left open, or a write in progress, cannot make a torn copy. The copy's integrity
// is checked.
bool snapshotDatabase(const QString& source, const QString& target, QString* error = nullptr);

// The tables a database file must hold to be taken for the program's own.
const QStringList& requiredTables();

// Makes a database file taken from a backup ready to take the database file's place: it must open, pass the
// engine's integrity check and hold the program's tables; it is then brought up to the program's schema, put
// in the program's journal mode and flushed to the disk. False, with the reason, when it is not fit.
bool prepareRestoredDatabase(const QString& file, QString* error = nullptr);

// Puts file in the place of database in one atomic rename, so that a whole database file exists under the
// name at every moment. No connection may hold database. False, with the reason, when database was left as
// it was.
bool replaceDatabase(const QString& file, const QString& database, QString* error = nullptr);

// The database file's write-ahead log still holds changes: a program other than this one has it open, and
// the file may not be replaced.
bool logHoldsChanges(const QString& database);

} // namespace tv::backup
