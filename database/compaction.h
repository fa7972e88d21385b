#pragma once

#include <QString>

namespace tv::db {

// Writes a compacted copy of the database file at source into a new file at target (which must not exist),
// through SQLite's own compaction, and checks that every page of the copy is readable and well formed. The
// source file is not changed; a copy that fails is removed.
bool compactFile(const QString& source, const QString& target, QString* error = nullptr);

// Waits until a file (or, with directory, a folder's entries) is on the disk.
bool syncToDisk(const QString& path, bool directory, QString* error = nullptr);

} // namespace tv::db
