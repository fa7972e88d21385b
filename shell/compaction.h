#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tv::compaction {

// The compacted copy is written beside the database file under this name, then takes the file's name.
inline const QString CopyName = QStringLiteral("ABC.MDB");

// The points a compaction passes. At each of them a valid database file exists under its own name.
enum class Stage {
    LeftoversRemoved, // files of an earlier, interrupted run are gone
    CopyWritten,      // the engine has written the compacted copy
    CopyChecked,      // the copy passed its check and is on the disk
    Replaced,         // the copy has taken the database file's name
    Finished,
};

// Watches the stages of every compaction (null to stop watching). Tests end the process at a stage to see
// what an interruption would leave behind.
void setStageHook(std::function<void(Stage)> hook);

// Compacts the database file at path, which no connection may hold open. The file is copied in compact form
// into CopyName beside it, the copy is checked and flushed to the disk, and then replaces the file in one
// atomic rename, so that a valid file exists under the name at every moment. A copy left by an earlier run is
// removed first. On failure the file is left as it was and error says what happened.
bool compactDatabase(const QString& path, QString* error = nullptr);

// The windows (or other holders) that have the database file at path open, by caption, each named once.
// One connection for each owner in ignoredOwners is not counted (the caller's own).
QStringList holdersOf(const QString& path, const QStringList& ignoredOwners = {});

} // namespace tv::compaction
