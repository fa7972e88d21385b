#pragma once

#include <QString>

namespace tv::db {

// Writes a compacted copy of the database file at source into a new file at target (which must not exist),
// through SQLite's own compaction, and checks the copy's integrity. The source file is not changed.
bool compactFile(const QString& source, const QString& target, QString* error = nullptr);

} // namespace tv::db
