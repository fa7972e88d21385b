#pragma once

// Reading the members of an archive, whatever holds it: libzip for an archive in one file, our own reader for
// an archive spread over several disks (spanning.h). The operations of the engine are written once against
// this.

#include <QDateTime>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

namespace tv::archive {

struct MemberInfo
{
    QString name; // as stored, folders separated by '/'
    qint64 size = 0;
    qint64 packedSize = 0;
    QDateTime time;
    int method = 0;
    bool encrypted = false;
    bool directory = false;
    bool symbolicLink = false;
    quint32 unixMode = 0; // type and permission bits, 0 when the archive recorded none
    int disk = 0;         // where the member starts, for reading in the order of the disks
    qint64 offset = 0;
};

// Why reading stopped: either the whole operation fails (result) or only this member (skipReason).
struct ReadFailure
{
    int result = 0;
    int skipReason = -1;
};

// What a reader may need from the running operation.
struct ReaderHooks
{
    std::function<bool()> shouldAbort;        // true when the operation must stop now
    std::function<void(int disk)> askForDisk; // raises the new-disk event (disk from 1, 0 for the last)
};

class MemberReader
{
public:
    virtual ~MemberReader() = default;
    const QVector<MemberInfo>& members() const { return m_members; }
    // Opens member index; false with failure set.
    virtual bool openMember(int index, ReadFailure* failure) = 0;
    // Reads up to max bytes of the open member; 0 at its end once the CRC checked out; -1 with failure set.
    virtual qint64 read(char* data, qint64 max, ReadFailure* failure) = 0;
    virtual void closeMember() = 0;

protected:
    QVector<MemberInfo> m_members;
};

// A reader over the archive file at path; null with *result set when it cannot be opened.
std::unique_ptr<MemberReader> openLibzipReader(const QString& path, int* result);

// The libzip error of the last failed zip_open, mapped: see resultForLibzipError.
int resultForOpenError(int zipError);

} // namespace tv::archive
