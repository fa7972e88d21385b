#pragma once

// Rebuilding an archive whose central directory is damaged or missing, from the local headers in front of
// each member's data.

#include <QString>
#include <functional>

namespace tv::archive {

struct RepairHooks
{
    std::function<bool()> shouldAbort;
    std::function<void(const QString& name)> fixing; // a member that will be kept
    std::function<void(qint64 done, qint64 total)> progress;
};

// Scans the file at path for local headers, keeps every member whose data checks out (CRC and sizes), writes
// a new archive with a fresh central directory, confirms that libzip reads it, and puts it in place of the
// old file. Returns a ResultCode: NotAZip when no member could be recovered; the file is then left untouched.
int rebuildFromLocalHeaders(const QString& path, const RepairHooks& hooks);

} // namespace tv::archive
