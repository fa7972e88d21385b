#pragma once

// Archives spread over several disks, by the zip format's rules for split and spanned archives: the first
// disk starts with the span signature, each central record names the disk of its member's local header and
// the header's offset on that disk, the end record is on the last disk, no header or central record crosses a
// disk boundary, every disk but the last holds at least 64 KiB, and every disk holds a file of the same name.
//
// The disks are either the media of a drive (drive.h), swapped by the user when the engine asks, or files
// side by side as name.z01, name.z02, ..., name.zip.

#include "platform/archive/memberreader.h"

#include <QString>
#include <functional>
#include <memory>

namespace tv::archive {

class Drive;

inline constexpr qint64 MinimumSegment = 64 * 1024;
// How often the user may put in a wrong disk before the operation gives up (WrongDisk).
inline constexpr int WrongDiskLimit = 3;

struct SpannedSource
{
    QString localPath;      // without a drive: the last segment, name.zip
    Drive* drive = nullptr; // with a drive: the disks are swapped in it
    QString relativePath;   // with a drive: the archive's path on every disk
};

// True when the file at localPath ends with an end record that names a disk other than the first.
bool isMultidiskFile(const QString& localPath);

// A reader over a multidisk archive; null with *result set when it cannot be opened.
std::unique_ptr<MemberReader> openSpannedReader(const SpannedSource& source, const ReaderHooks& hooks,
                                                int* result);

struct SpanWriterHooks
{
    std::function<void(int disk)> askForDisk; // new-disk event, disk from 1
    std::function<void(qint64 done, qint64 total)> progress;
};

// Copies the one-file archive at sourceZip onto the disks of drive as relativePath, asking for each next
// disk. clearDisks erases each disk before writing to it. Returns a ResultCode.
int writeSpanned(const QString& sourceZip, Drive* drive, const QString& relativePath, bool clearDisks,
                 const SpanWriterHooks& hooks);

} // namespace tv::archive
