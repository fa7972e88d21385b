#include "platform/archive/spanning.h"

#include "platform/archive/drive.h"
#include "platform/archive/inflater.h"
#include "platform/archive/resultcodes.h"
#include "platform/archive/zipformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tv::archive {

using namespace zipformat;

namespace {

constexpr qint64 ChunkSize = 256 * 1024;
// A central directory larger than this is taken for damage, not read into memory.
constexpr uint64_t MaxDirectorySize = 512ull * 1024 * 1024;
// Room kept on a disk beyond the smallest segment, so that a header that does not fit never leaves a segment
// below the minimum.
constexpr qint64 HeaderMargin = 4096;
// Bytes compared at each end of a segment to recognise a disk written before.
constexpr qint64 IdentityBytes = 4096;
// Our extra field on the first central record: for each disk before the one where the central directory
// starts, its size and the CRC-32 of its first and last bytes, so that a reader can tell every disk of the
// set from the others. Other readers skip a field they do not know.
constexpr uint16_t DiskListExtraId = 0x7674;
constexpr int DiskListEntrySize = 16;

// name.zip -> name.z01 for the disk (from 0) of a split set.
QString segmentPath(const QString& lastPath, int disk)
{
    QString base = lastPath;
    const QFileInfo info(lastPath);
    if (!info.suffix().isEmpty())
        base.chop(info.suffix().size() + 1);
    return base + QStringLiteral(".z") + QStringLiteral("%1").arg(disk + 1, 2, 10, QLatin1Char('0'));
}

struct SegmentIdentity
{
    qint64 size = 0;
    QByteArray head;
    QByteArray tail;
};

bool operator==(const SegmentIdentity& a, const SegmentIdentity& b)
{
    return a.size == b.size && a.head == b.head && a.tail == b.tail;
}

SegmentIdentity identify(QFile& file)
{
    SegmentIdentity id;
    id.size = file.size();
    file.seek(0);
    id.head = file.read(IdentityBytes);
    file.seek(qMax<qint64>(0, id.size - IdentityBytes));
    id.tail = file.read(IdentityBytes);
    return id;
}

struct DiskMark
{
    qint64 size = 0;
    uint32_t headCrc = 0;
    uint32_t tailCrc = 0;
    bool operator==(const DiskMark&) const = default;
};

DiskMark markOf(const SegmentIdentity& id)
{
    return {id.size, crc32Update(0, id.head.constData(), id.head.size()),
            crc32Update(0, id.tail.constData(), id.tail.size())};
}

QByteArray diskListField(const QVector<SegmentIdentity>& segments, qsizetype room)
{
    const qsizetype count = qMin<qsizetype>(segments.size(), (room - 4) / DiskListEntrySize);
    if (count <= 0)
        return {};
    QByteArray field;
    put16(field, DiskListExtraId);
    put16(field, uint16_t(count * DiskListEntrySize));
    for (qsizetype i = 0; i < count; ++i) {
        const DiskMark mark = markOf(segments[i]);
        put64(field, uint64_t(mark.size));
        put32(field, mark.headCrc);
        put32(field, mark.tailCrc);
    }
    return field;
}

QHash<int, DiskMark> readDiskList(const QByteArray& extra)
{
    QHash<int, DiskMark> marks;
    qsizetype pos = 0;
    while (pos + 4 <= extra.size()) {
        const uint16_t id = get16(extra.constData() + pos);
        const uint16_t length = get16(extra.constData() + pos + 2);
        if (pos + 4 + length > extra.size())
            break;
        if (id == DiskListExtraId) {
            for (int i = 0; (i + 1) * DiskListEntrySize <= length; ++i) {
                const char* p = extra.constData() + pos + 4 + i * DiskListEntrySize;
                marks.insert(i, {qint64(get64(p)), get32(p + 8), get32(p + 12)});
            }
        }
        pos += 4 + length;
    }
    return marks;
}

struct Expected
{
    qint64 offset = 0;
    uint32_t signature = 0;
    QByteArray name; // follows a local header's fixed part
};

struct Cursor
{
    int disk = 0;
    qint64 offset = 0;
};

// The disks of a multidisk archive being read.
class DiskSet
{
public:
    DiskSet(SpannedSource source, ReaderHooks hooks) : m_source(std::move(source)), m_hooks(std::move(hooks))
    {}

    int lastDisk() const { return m_last; }
    const EndRecord& end() const { return m_end; }

    // Finds the disk with the end record, asking for it when the disks are in a drive.
    int openLast()
    {
        if (!m_source.drive) {
            m_file.setFileName(m_source.localPath);
            if (!m_file.open(QIODevice::ReadOnly))
                return QFileInfo::exists(m_source.localPath) ? CannotAccess : ArchiveMissing;
            if (!readEndRecord(m_file, &m_end))
                return NotAZip;
        } else {
            int wrong = 0;
            for (;;) {
                if (m_hooks.shouldAbort && m_hooks.shouldAbort())
                    return Aborted;
                m_file.close();
                m_file.setFileName(drivePath());
                if (m_source.drive->hasMedium() && m_file.open(QIODevice::ReadOnly) &&
                    readEndRecord(m_file, &m_end))
                    break;
                if (wrong == WrongDiskLimit)
                    return WrongDisk;
                ++wrong;
                m_hooks.askForDisk(0);
            }
        }
        if (m_end.directoryDisk > m_end.thisDisk)
            return Inconsistent;
        m_last = int(m_end.thisDisk);
        m_current = m_last;
        return Success;
    }

    void expect(int disk, const Expected& what)
    {
        QVector<Expected>& list = m_expected[disk];
        if (list.size() < 3)
            list.append(what);
    }

    void setMarks(QHash<int, DiskMark> marks) { m_marks = std::move(marks); }

    int select(int disk)
    {
        if (disk < 0 || disk > m_last)
            return Inconsistent;
        if (m_current == disk && m_file.isOpen())
            return Success;
        m_file.close();
        m_current = -1;
        if (!m_source.drive) {
            m_file.setFileName(disk == m_last ? m_source.localPath : segmentPath(m_source.localPath, disk));
            if (!m_file.open(QIODevice::ReadOnly))
                return CannotAccess;
            m_current = disk;
            return Success;
        }
        int wrong = 0;
        for (;;) {
            if (m_hooks.shouldAbort && m_hooks.shouldAbort())
                return Aborted;
            if (mediumHolds(disk)) {
                m_file.setFileName(drivePath());
                if (m_file.open(QIODevice::ReadOnly)) {
                    m_seen.insert(disk, identify(m_file));
                    m_current = disk;
                    return Success;
                }
            }
            if (wrong == WrongDiskLimit)
                return WrongDisk;
            ++wrong;
            m_hooks.askForDisk(disk == m_last ? 0 : disk + 1);
        }
    }

    // Reads up to length bytes from cursor on, going on to the next disks; got may fall short at the end of
    // the last disk.
    int read(Cursor& cursor, char* data, qint64 length, qint64* got)
    {
        *got = 0;
        while (*got < length) {
            if (cursor.disk > m_last)
                break;
            if (const int rc = select(cursor.disk); rc != Success)
                return rc;
            const qint64 size = m_file.size();
            if (cursor.offset >= size) {
                if (cursor.disk == m_last)
                    break;
                ++cursor.disk;
                cursor.offset = 0;
                continue;
            }
            if (!m_file.seek(cursor.offset))
                return ReadError;
            const qint64 n = m_file.read(data + *got, qMin(length - *got, size - cursor.offset));
            if (n <= 0)
                return ReadError;
            cursor.offset += n;
            *got += n;
        }
        return Success;
    }

private:
    QString drivePath() const
    {
        return m_source.drive->rootPath() + QLatin1Char('/') + m_source.relativePath;
    }

    static bool holds(QFile& file, const QVector<Expected>& list)
    {
        for (const Expected& e : list) {
            if (!file.seek(e.offset))
                return false;
            const qint64 length = e.name.isEmpty() ? 4 : LocalHeaderSize + e.name.size();
            const QByteArray bytes = file.read(length);
            if (bytes.size() != length || get32(bytes.constData()) != e.signature ||
                (!e.name.isEmpty() && bytes.mid(LocalHeaderSize) != e.name))
                return false;
        }
        return true;
    }

    // Whether the medium in the drive is disk (from 0) of this set. The last disk has the end record, the
    // first the span signature; a disk seen before is known again by its bytes, and a disk with members
    // starting on it by their headers. A disk in the middle that holds only data of one member and was never
    // seen cannot be told from another such disk; a wrong one then shows as damaged data of that member.
    bool mediumHolds(int disk)
    {
        if (!m_source.drive->hasMedium())
            return false;
        QFile file(drivePath());
        if (!file.open(QIODevice::ReadOnly) || file.size() < 4)
            return false;
        EndRecord end;
        const bool isLast = readEndRecord(file, &end) && end.thisDisk == m_end.thisDisk &&
                            end.entries == m_end.entries && end.directorySize == m_end.directorySize &&
                            end.directoryOffset == m_end.directoryOffset;
        if (disk == m_last)
            return isLast;
        if (isLast)
            return false;
        file.seek(0);
        const QByteArray head = file.read(4);
        const bool isFirst = head.size() == 4 && get32(head.constData()) == SpanSignature;
        if ((disk == 0) != isFirst)
            return false;
        const SegmentIdentity id = identify(file);
        if (const auto mark = m_marks.constFind(disk); mark != m_marks.constEnd())
            return *mark == markOf(id);
        for (auto it = m_seen.constBegin(); it != m_seen.constEnd(); ++it) {
            if ((it.key() == disk) != (it.value() == id))
                return false;
        }
        const DiskMark mark = markOf(id);
        for (auto it = m_marks.constBegin(); it != m_marks.constEnd(); ++it) {
            if (it.key() != disk && *it == mark)
                return false;
        }
        const auto expected = m_expected.constFind(disk);
        if (expected != m_expected.constEnd())
            return holds(file, *expected);
        for (auto it = m_expected.constBegin(); it != m_expected.constEnd(); ++it) {
            if (it.key() != disk && it.key() != 0 && it.key() != m_last && holds(file, it.value()))
                return false;
        }
        return true;
    }

    SpannedSource m_source;
    ReaderHooks m_hooks;
    QFile m_file;
    EndRecord m_end;
    int m_last = 0;
    int m_current = -1;
    QHash<int, QVector<Expected>> m_expected;
    QHash<int, SegmentIdentity> m_seen;
    QHash<int, DiskMark> m_marks;
};

class SpannedReader : public MemberReader
{
public:
    SpannedReader(SpannedSource source, ReaderHooks hooks) : m_disks(std::move(source), std::move(hooks)) {}

    int open()
    {
        if (const int rc = m_disks.openLast(); rc != Success)
            return rc;
        const EndRecord& end = m_disks.end();
        if (!end.isMultidisk())
            return -1;
        if (end.directorySize > MaxDirectorySize)
            return Inconsistent;
        // The directory starts with a central record, and so does each later disk it continues on.
        if (end.entries > 0) {
            m_disks.expect(int(end.directoryDisk), {qint64(end.directoryOffset), CentralHeaderSignature, {}});
            for (int disk = int(end.directoryDisk) + 1; disk < m_disks.lastDisk(); ++disk)
                m_disks.expect(disk, {0, CentralHeaderSignature, {}});
        }
        // Read in pieces: a damaged end record may claim a directory far larger than the disks hold.
        QByteArray directory;
        Cursor cursor{int(end.directoryDisk), qint64(end.directoryOffset)};
        while (uint64_t(directory.size()) < end.directorySize) {
            const qint64 want =
                qint64(qMin<uint64_t>(end.directorySize - uint64_t(directory.size()), ChunkSize));
            const qsizetype at = directory.size();
            directory.resize(at + want);
            qint64 got = 0;
            if (const int rc = m_disks.read(cursor, directory.data() + at, want, &got); rc != Success)
                return rc;
            if (got != want)
                return Inconsistent;
        }
        if (!parseCentralDirectory(directory, end.entries, &m_entries))
            return Inconsistent;
        if (!m_entries.isEmpty())
            m_disks.setMarks(readDiskList(m_entries.first().extra));
        m_members.reserve(m_entries.size());
        for (const CentralEntry& e : m_entries) {
            if (e.disk > uint32_t(m_disks.lastDisk()))
                return Inconsistent;
            m_disks.expect(int(e.disk), {qint64(e.localOffset), LocalHeaderSignature, e.rawName});
            MemberInfo info;
            info.name = e.name();
            info.size = qint64(qMin<uint64_t>(e.size, INT64_MAX));
            info.packedSize = qint64(qMin<uint64_t>(e.compressedSize, INT64_MAX));
            info.time = fromDosTime(e.dosDate, e.dosTime);
            info.method = e.method;
            info.encrypted = e.isEncrypted();
            info.directory = e.isDirectory();
            info.symbolicLink = e.isSymbolicLink();
            info.unixMode = (e.versionMadeBy >> 8) == 3 ? e.externalAttributes >> 16 : 0;
            info.disk = int(e.disk);
            info.offset = qint64(e.localOffset);
            m_members.append(info);
        }
        return Success;
    }

    bool openMember(int index, ReadFailure* failure) override
    {
        closeMember();
        if (index < 0 || index >= m_entries.size()) {
            failure->skipReason = SkipNotFound;
            return false;
        }
        const CentralEntry& e = m_entries[index];
        if (e.isEncrypted()) {
            failure->skipReason = SkipEncrypted;
            return false;
        }
        if (e.method != MethodStore && e.method != MethodDeflate) {
            failure->skipReason = SkipUnknownCompression;
            return false;
        }
        Cursor cursor{int(e.disk), qint64(e.localOffset)};
        char fixed[LocalHeaderSize];
        qint64 got = 0;
        if (const int rc = m_disks.read(cursor, fixed, LocalHeaderSize, &got); rc != Success) {
            failure->result = rc;
            return false;
        }
        if (got != LocalHeaderSize || get32(fixed) != LocalHeaderSignature) {
            failure->skipReason = SkipCorruptData;
            return false;
        }
        const qint64 variable = qint64(get16(fixed + 26)) + get16(fixed + 28);
        cursor.offset += variable; // name and extra lie on the same disk as the header
        m_cursor = cursor;
        m_entry = &e;
        m_left = qint64(e.compressedSize);
        m_crc = 0;
        m_made = 0;
        m_inPos = m_inLength = 0;
        m_finished = false;
        m_inflater.reset();
        if (m_in.isEmpty())
            m_in.resize(ChunkSize);
        return true;
    }

    qint64 read(char* data, qint64 max, ReadFailure* failure) override
    {
        if (!m_entry) {
            failure->skipReason = SkipCannotOpen;
            return -1;
        }
        for (;;) {
            if (m_finished || (m_entry->method == MethodStore && m_left == 0 && m_inPos == m_inLength))
                return finish(failure);
            if (m_inPos == m_inLength && m_left > 0) {
                qint64 got = 0;
                const qint64 want = qMin<qint64>(m_left, m_in.size());
                if (const int rc = m_disks.read(m_cursor, m_in.data(), want, &got); rc != Success) {
                    failure->result = rc;
                    return -1;
                }
                if (got != want) {
                    failure->skipReason = SkipCorruptData;
                    return -1;
                }
                m_left -= got;
                m_inPos = 0;
                m_inLength = got;
            }
            if (m_entry->method == MethodStore) {
                const qint64 n = qMin(max, m_inLength - m_inPos);
                memcpy(data, m_in.constData() + m_inPos, size_t(n));
                m_inPos += n;
                return account(data, n, failure);
            }
            qint64 used = 0;
            qint64 made = 0;
            const RawInflater::Status status =
                m_inflater.run(m_in.constData() + m_inPos, m_inLength - m_inPos, &used, data, max, &made);
            m_inPos += used;
            if (status == RawInflater::Error) {
                failure->skipReason = SkipCorruptData;
                return -1;
            }
            if (status == RawInflater::End)
                m_finished = true;
            if (made > 0)
                return account(data, made, failure);
            if (!m_finished && used == 0 && m_inPos == m_inLength && m_left == 0) {
                failure->skipReason = SkipCorruptData; // the data ended before the stream did
                return -1;
            }
        }
    }

    void closeMember() override { m_entry = nullptr; }

private:
    qint64 account(const char* data, qint64 n, ReadFailure* failure)
    {
        m_crc = crc32Update(m_crc, data, n);
        m_made += n;
        if (uint64_t(m_made) > m_entry->size) {
            failure->skipReason = SkipCorruptData;
            return -1;
        }
        return n;
    }

    qint64 finish(ReadFailure* failure)
    {
        if (uint64_t(m_made) != m_entry->size) {
            failure->skipReason = SkipCorruptData;
            return -1;
        }
        if (m_crc != m_entry->crc) {
            failure->skipReason = SkipBadCrc;
            return -1;
        }
        return 0;
    }

    DiskSet m_disks;
    QVector<CentralEntry> m_entries;
    const CentralEntry* m_entry = nullptr;
    Cursor m_cursor;
    qint64 m_left = 0;
    uint32_t m_crc = 0;
    qint64 m_made = 0;
    QByteArray m_in;
    qint64 m_inPos = 0;
    qint64 m_inLength = 0;
    bool m_finished = false;
    RawInflater m_inflater;
};

// ---------------------------------------------------------------------------------------------------------------

// Writes a logical byte stream onto the disks of a drive, one segment file per disk.
class SegmentWriter
{
public:
    SegmentWriter(Drive* drive, QString relativePath, bool clearDisks, const SpanWriterHooks& hooks,
                  qint64 total)
        : m_drive(drive), m_relativePath(std::move(relativePath)), m_clearDisks(clearDisks), m_hooks(hooks),
          m_total(total)
    {}

    int disk() const { return m_disk; }
    qint64 offset() const { return m_written; }
    const QVector<SegmentIdentity>& finishedSegments() const { return m_segments; }

    int beginFirst() { return begin(0); }

    // Makes sure length bytes fit on the current disk, going on to the next disk when they do not.
    int ensureRoom(qint64 length)
    {
        if (m_written + length <= m_capacity)
            return Success;
        if (const int rc = finishDisk(); rc != Success)
            return rc;
        if (const int rc = begin(m_disk + 1); rc != Success)
            return rc;
        return m_written + length <= m_capacity ? Success : DiskFull;
    }

    // Writes data, continuing on the next disks when the current one is full.
    int write(const char* data, qint64 length)
    {
        while (length > 0) {
            if (m_written == m_capacity) {
                if (const int rc = finishDisk(); rc != Success)
                    return rc;
                if (const int rc = begin(m_disk + 1); rc != Success)
                    return rc;
            }
            const qint64 n = qMin(length, m_capacity - m_written);
            if (m_file.write(data, n) != n)
                return resultForSystemError(errno, WriteError);
            m_written += n;
            m_done += n;
            data += n;
            length -= n;
            if (m_hooks.progress)
                m_hooks.progress(m_done, m_total);
        }
        return Success;
    }

    int finishDisk()
    {
        if (!m_file.isOpen())
            return Success;
        if (!m_file.flush())
            return resultForSystemError(errno, WriteError);
        // The user takes the disk out next: its data must be on it, not in a cache.
        if (::fsync(m_file.handle()) != 0 && errno != EINVAL && errno != EROFS)
            return resultForSystemError(errno, WriteError);
        m_file.close();
        if (!m_file.open(QIODevice::ReadOnly))
            return ReadError;
        m_segments.append(identify(m_file));
        m_file.close();
        return Success;
    }

private:
    QString path() const { return m_drive->rootPath() + QLatin1Char('/') + m_relativePath; }

    // Whether the medium holds a segment this writer wrote before (the user left the full disk in).
    bool holdsOwnSegment()
    {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const SegmentIdentity id = identify(file);
        for (const SegmentIdentity& s : std::as_const(m_segments)) {
            if (s.size == id.size && s.head == id.head && s.tail == id.tail)
                return true;
        }
        return false;
    }

    // Checks the medium for disk (from 0); Success or the problem found.
    int checkMedium(qint64 need, qint64* available)
    {
        if (!m_drive->hasMedium())
            return WrongDisk;
        if (!m_drive->isWritable())
            return WrongDisk;
        if (holdsOwnSegment())
            return WrongDisk;
        if (m_clearDisks && !m_drive->erase())
            return WriteError;
        const QFileInfo old(path());
        *available = m_drive->freeBytes() + (old.isFile() ? old.size() : 0);
        return *available >= need ? Success : DiskFull;
    }

    int begin(int disk)
    {
        const qint64 remaining = qMax<qint64>(m_total - m_done, 1);
        const qint64 need = qMin(MinimumSegment + HeaderMargin, remaining);
        if (disk > 0)
            m_hooks.askForDisk(disk + 1);
        int wrong = 0;
        qint64 available = 0;
        for (;;) {
            const int problem = checkMedium(need, &available);
            if (problem == Success)
                break;
            if (problem == WriteError)
                return WriteError;
            if (wrong == WrongDiskLimit)
                return problem;
            ++wrong;
            m_hooks.askForDisk(disk + 1);
        }
        const QString target = path();
        if (!QDir().mkpath(QFileInfo(target).absolutePath()))
            return CreateError;
        QFile::remove(target);
        m_file.setFileName(target);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return resultForSystemError(errno, CreateError);
        m_disk = disk;
        m_written = 0;
        m_capacity = available;
        return Success;
    }

    Drive* m_drive;
    QString m_relativePath;
    bool m_clearDisks;
    const SpanWriterHooks& m_hooks;
    qint64 m_total;
    qint64 m_done = 0;
    QFile m_file;
    int m_disk = -1;
    qint64 m_written = 0;
    qint64 m_capacity = 0;
    QVector<SegmentIdentity> m_segments;
};

} // namespace

bool isMultidiskFile(const QString& localPath)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    EndRecord end;
    return readEndRecord(file, &end) && end.isMultidisk();
}

std::unique_ptr<MemberReader> openSpannedReader(const SpannedSource& source, const ReaderHooks& hooks,
                                                int* result)
{
    auto reader = std::make_unique<SpannedReader>(source, hooks);
    *result = reader->open();
    if (*result != Success)
        return nullptr;
    return reader;
}

int writeSpanned(const QString& sourceZip, Drive* drive, const QString& relativePath, bool clearDisks,
                 const SpanWriterHooks& hooks)
{
    QFile source(sourceZip);
    if (!source.open(QIODevice::ReadOnly))
        return ReadError;
    EndRecord end;
    if (!readEndRecord(source, &end) || end.isMultidisk())
        return Inconsistent;
    QVector<CentralEntry> entries;
    if (!source.seek(qint64(end.directoryOffset)))
        return ReadError;
    const QByteArray directory = source.read(qint64(end.directorySize));
    if (directory.size() != qint64(end.directorySize) ||
        !parseCentralDirectory(directory, end.entries, &entries))
        return Inconsistent;

    // Members in the order of their data; each one's bytes run up to the next one's header.
    QVector<int> order(entries.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return entries[a].localOffset < entries[b].localOffset; });

    SegmentWriter out(drive, relativePath, clearDisks, hooks, source.size() + 4);
    if (const int rc = out.beginFirst(); rc != Success)
        return rc;
    QByteArray signature;
    put32(signature, SpanSignature);
    if (const int rc = out.write(signature.constData(), signature.size()); rc != Success)
        return rc;

    QByteArray buffer(qsizetype(ChunkSize), Qt::Uninitialized);
    for (int k = 0; k < order.size(); ++k) {
        CentralEntry& e = entries[order[k]];
        const uint64_t blockEnd =
            k + 1 < order.size() ? entries[order[k + 1]].localOffset : end.directoryOffset;
        if (!source.seek(qint64(e.localOffset)))
            return ReadError;
        const QByteArray fixed = source.read(LocalHeaderSize);
        if (fixed.size() != LocalHeaderSize || get32(fixed.constData()) != LocalHeaderSignature)
            return Inconsistent;
        const qint64 headerLength =
            LocalHeaderSize + get16(fixed.constData() + 26) + get16(fixed.constData() + 28);
        if (e.localOffset + uint64_t(headerLength) > blockEnd)
            return Inconsistent;
        const QByteArray header = fixed + source.read(headerLength - LocalHeaderSize);
        if (header.size() != headerLength)
            return ReadError;
        if (const int rc = out.ensureRoom(headerLength); rc != Success)
            return rc;
        e.disk = uint32_t(out.disk());
        e.localOffset = uint64_t(out.offset());
        if (const int rc = out.write(header.constData(), headerLength); rc != Success)
            return rc;
        qint64 left = qint64(blockEnd - (uint64_t(source.pos())));
        while (left > 0) {
            const qint64 n = source.read(buffer.data(), qMin<qint64>(left, buffer.size()));
            if (n <= 0)
                return ReadError;
            if (const int rc = out.write(buffer.constData(), n); rc != Success)
                return rc;
            left -= n;
        }
    }

    EndRecord last;
    last.entries = uint64_t(entries.size());
    last.comment = end.comment;
    bool first = true;
    for (CentralEntry& e : entries) {
        const QByteArray ownExtra = withoutZip64Field(e.extra);
        auto withDiskList = [&] {
            // The disks finished so far, for a reader to know them again.
            e.extra = diskListField(out.finishedSegments(), 0xffff - 32 - ownExtra.size()) + ownExtra;
            return encodeCentralEntry(e);
        };
        QByteArray record = first ? withDiskList() : encodeCentralEntry(e);
        const int diskBefore = out.disk();
        if (const int rc = out.ensureRoom(record.size()); rc != Success)
            return rc;
        if (out.disk() != diskBefore) {
            last.entriesOnThisDisk = 0;
            if (first) {
                record = withDiskList(); // one disk more is finished now
                if (const int rc = out.ensureRoom(record.size()); rc != Success)
                    return rc;
            }
        }
        if (first) {
            last.directoryDisk = uint32_t(out.disk());
            last.directoryOffset = uint64_t(out.offset());
            first = false;
        }
        if (const int rc = out.write(record.constData(), record.size()); rc != Success)
            return rc;
        last.directorySize += uint64_t(record.size());
        ++last.entriesOnThisDisk;
    }
    if (first) {
        last.directoryDisk = uint32_t(out.disk());
        last.directoryOffset = uint64_t(out.offset());
    }
    last.thisDisk = uint32_t(out.disk());
    const int diskBefore = out.disk();
    if (const int rc = out.ensureRoom(encodeEndRecords(last, 0).size()); rc != Success)
        return rc;
    if (out.disk() != diskBefore) {
        last.entriesOnThisDisk = 0;
        last.thisDisk = uint32_t(out.disk());
        if (first) {
            last.directoryDisk = last.thisDisk;
            last.directoryOffset = uint64_t(out.offset());
        }
    }
    const QByteArray tail = encodeEndRecords(last, uint64_t(out.offset()));
    if (const int rc = out.write(tail.constData(), tail.size()); rc != Success)
        return rc;
    return out.finishDisk();
}

} // namespace tv::archive
