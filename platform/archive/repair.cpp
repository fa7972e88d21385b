#include "platform/archive/repair.h"

#include "platform/archive/inflater.h"
#include "platform/archive/resultcodes.h"
#include "platform/archive/zipformat.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>
#include <QVector>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <zip.h>

namespace tv::archive {

using namespace zipformat;

namespace {

constexpr qint64 ScratchSize = 256 * 1024;

struct Recovered
{
    LocalHeader header;
    qint64 dataOffset = 0;
};

struct Check
{
    bool ok = false;
    qint64 compressedSize = 0;
    qint64 size = 0;
    uint32_t crc = 0;
};

// Inflates data[0..available) until the stream ends.
Check inflateUntilEnd(const char* data, qint64 available, QByteArray& scratch)
{
    RawInflater inflater;
    Check result;
    qint64 pos = 0;
    for (;;) {
        qint64 used = 0;
        qint64 made = 0;
        const RawInflater::Status status =
            inflater.run(data + pos, available - pos, &used, scratch.data(), scratch.size(), &made);
        pos += used;
        result.crc = crc32Update(result.crc, scratch.constData(), made);
        result.size += made;
        if (status == RawInflater::End) {
            result.ok = true;
            result.compressedSize = pos;
            return result;
        }
        if (status == RawInflater::Error || (used == 0 && made == 0))
            return result;
    }
}

// A member whose sizes are in its local header.
bool checkKnownSizes(const char* file, qint64 fileSize, qint64 dataOffset, const LocalHeader& h,
                     QByteArray& scratch)
{
    if (h.compressedSize > uint64_t(fileSize - dataOffset))
        return false;
    const char* data = file + dataOffset;
    const qint64 length = qint64(h.compressedSize);
    if (h.flags & FlagEncrypted)
        return true; // cannot be checked without the password; kept as it is
    if (h.method == MethodStore)
        return h.size == h.compressedSize && crc32Update(0, data, length) == h.crc;
    if (h.method == MethodDeflate) {
        const Check c = inflateUntilEnd(data, length, scratch);
        return c.ok && c.compressedSize == length && uint64_t(c.size) == h.size && c.crc == h.crc;
    }
    return true; // other methods: libzip checks them once the archive is rebuilt
}

// A member followed by a data descriptor: finds where its data ends. Fills the header's sizes and CRC.
bool checkWithDescriptor(const char* file, qint64 fileSize, qint64 dataOffset, LocalHeader* h,
                         qint64* descriptor, QByteArray& scratch)
{
    if (h->flags & FlagEncrypted)
        return false;
    const char* data = file + dataOffset;
    const qint64 available = fileSize - dataOffset;
    auto matchDescriptor = [&](qint64 at, qint64 compressedSize, qint64 size, uint32_t crc) {
        qint64 pos = at;
        if (pos + 4 <= available && get32(data + pos) == DataDescriptorSignature)
            pos += 4;
        if (pos + 12 <= available && get32(data + pos) == crc &&
            get32(data + pos + 4) == uint32_t(compressedSize) && get32(data + pos + 8) == uint32_t(size)) {
            *descriptor = pos + 12 - at;
            return true;
        }
        if (pos + 20 <= available && get32(data + pos) == crc &&
            get64(data + pos + 4) == uint64_t(compressedSize) && get64(data + pos + 12) == uint64_t(size)) {
            *descriptor = pos + 20 - at;
            return true;
        }
        return false;
    };
    if (h->method == MethodDeflate) {
        const Check c = inflateUntilEnd(data, available, scratch);
        if (!c.ok || !matchDescriptor(c.compressedSize, c.compressedSize, c.size, c.crc))
            return false;
        h->compressedSize = uint64_t(c.compressedSize);
        h->size = uint64_t(c.size);
        h->crc = c.crc;
        return true;
    }
    if (h->method == MethodStore) {
        // The data ends where a descriptor follows that names its own distance from here as the size.
        const QByteArray signature("PK\x07\x08", 4);
        for (qint64 at = 0; at + 16 <= available;) {
            const char* hit =
                static_cast<const char*>(memmem(data + at, size_t(available - at), signature.constData(), 4));
            if (!hit)
                return false;
            at = hit - data;
            if (get32(hit + 8) == uint32_t(at) && get32(hit + 12) == uint32_t(at)) {
                const uint32_t crc = crc32Update(0, data, at);
                if (matchDescriptor(at, at, at, crc)) {
                    h->compressedSize = uint64_t(at);
                    h->size = uint64_t(at);
                    h->crc = crc;
                    return true;
                }
            }
            ++at;
        }
    }
    return false;
}

struct Attributes
{
    uint16_t versionMadeBy = 20;
    uint32_t external = 0;
};

// Whatever central records survive, wherever they are: they keep the members' permissions and kinds.
QHash<QByteArray, Attributes> survivingAttributes(const char* data, qint64 size)
{
    QHash<QByteArray, Attributes> found;
    const QByteArray signature("PK\x01\x02", 4);
    for (qint64 pos = 0; pos + CentralHeaderSize <= size;) {
        const char* hit =
            static_cast<const char*>(memmem(data + pos, size_t(size - pos), signature.constData(), 4));
        if (!hit)
            break;
        CentralEntry e;
        qint64 used = 0;
        if (parseCentralEntry(hit, size - (hit - data), &e, &used)) {
            found.insert(e.rawName, {e.versionMadeBy, e.externalAttributes});
            pos = (hit - data) + used;
        } else {
            pos = (hit - data) + 1;
        }
    }
    return found;
}

bool plausibleName(const QByteArray& name)
{
    return !name.isEmpty() && !name.contains('\0');
}

// Opens the rebuilt archive with libzip, reads every member and drops those libzip finds bad.
int confirmWithLibzip(const QString& path, int* kept)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CHECKCONS, &error);
    if (!archive)
        return NotAZip;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QByteArray buffer(qsizetype(ScratchSize), Qt::Uninitialized);
    int bad = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) == 0 &&
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            continue; // cannot be read without the password; kept as it is
        zip_file_t* member = zip_fopen_index(archive, zip_uint64_t(i), 0);
        bool ok = member != nullptr;
        while (ok) {
            const zip_int64_t n = zip_fread(member, buffer.data(), zip_uint64_t(buffer.size()));
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
        }
        if (member)
            zip_fclose(member);
        if (!ok) {
            zip_delete(archive, zip_uint64_t(i));
            ++bad;
        }
        zip_error_clear(archive);
    }
    *kept = int(count) - bad;
    if (*kept == 0) {
        zip_discard(archive);
        return NotAZip;
    }
    if (bad == 0) {
        zip_discard(archive);
        return Success;
    }
    if (zip_close(archive) < 0) {
        const int rc = resultForLibzipError(zip_error_code_zip(zip_get_error(archive)),
                                            zip_error_code_system(zip_get_error(archive)));
        zip_discard(archive);
        return rc;
    }
    return Success;
}

} // namespace

int rebuildFromLocalHeaders(const QString& path, const RepairHooks& hooks)
{
    QFile file(path);
    if (!file.exists())
        return ArchiveMissing;
    if (!file.open(QIODevice::ReadOnly))
        return CannotAccess;
    const qint64 fileSize = file.size();
    if (fileSize < LocalHeaderSize)
        return NotAZip;
    const char* data = reinterpret_cast<const char*>(file.map(0, fileSize));
    if (!data)
        return ReadError;

    QByteArray scratch(qsizetype(ScratchSize), Qt::Uninitialized);
    QVector<Recovered> found;
    QHash<QByteArray, int> byName;
    const QByteArray signature("PK\x03\x04", 4);
    qint64 pos = 0;
    while (pos + LocalHeaderSize <= fileSize) {
        if (hooks.shouldAbort && hooks.shouldAbort())
            return Aborted;
        const char* hit =
            static_cast<const char*>(memmem(data + pos, size_t(fileSize - pos), signature.constData(), 4));
        if (!hit)
            break;
        const qint64 at = hit - data;
        LocalHeader h;
        if (!parseLocalHeader(hit, fileSize - at, &h) || !plausibleName(h.rawName)) {
            pos = at + 1;
            continue;
        }
        const qint64 dataOffset = at + h.headerLength;
        qint64 descriptor = 0;
        const bool good = (h.flags & FlagDataDescriptor) && !h.sizesFromZip64 && h.compressedSize == 0
                              ? checkWithDescriptor(data, fileSize, dataOffset, &h, &descriptor, scratch)
                              : checkKnownSizes(data, fileSize, dataOffset, h, scratch);
        if (!good) {
            pos = at + 1;
            continue;
        }
        Recovered r{h, dataOffset};
        // A later member of the same name replaces the earlier one, as an update would have.
        if (const auto it = byName.constFind(h.rawName); it != byName.constEnd())
            found[*it] = r;
        else {
            byName.insert(h.rawName, int(found.size()));
            found.append(r);
        }
        pos = dataOffset + qint64(h.compressedSize) + descriptor;
        if (hooks.progress)
            hooks.progress(pos, fileSize * 2);
    }
    if (found.isEmpty())
        return NotAZip;

    const QHash<QByteArray, Attributes> attributes = survivingAttributes(data, fileSize);
    QTemporaryFile out(path + QStringLiteral(".XXXXXX"));
    out.setAutoRemove(true);
    if (!out.open())
        return TemporaryFile;
    QVector<CentralEntry> central;
    qint64 written = 0;
    for (const Recovered& r : std::as_const(found)) {
        if (hooks.shouldAbort && hooks.shouldAbort())
            return Aborted;
        if (hooks.fixing)
            hooks.fixing(decodeName(r.header.rawName, r.header.flags));
        const QByteArray header = encodeLocalHeader(r.header);
        const qint64 length = qint64(r.header.compressedSize);
        if (out.write(header) != header.size() || out.write(data + r.dataOffset, length) != length)
            return resultForSystemError(errno, WriteError);
        CentralEntry e;
        const Attributes kept =
            attributes.value(r.header.rawName, {20, r.header.rawName.endsWith('/') ? 0x10u : 0u});
        e.versionMadeBy = kept.versionMadeBy;
        e.versionNeeded = r.header.versionNeeded;
        e.flags = uint16_t(r.header.flags & ~FlagDataDescriptor);
        e.method = r.header.method;
        e.dosTime = r.header.dosTime;
        e.dosDate = r.header.dosDate;
        e.crc = r.header.crc;
        e.compressedSize = r.header.compressedSize;
        e.size = r.header.size;
        e.localOffset = uint64_t(written);
        e.externalAttributes = kept.external;
        e.rawName = r.header.rawName;
        e.extra = withoutZip64Field(r.header.extra);
        central.append(e);
        written += header.size() + length;
        if (hooks.progress)
            hooks.progress(fileSize + written, fileSize * 2);
    }
    EndRecord end;
    end.directoryOffset = uint64_t(written);
    for (const CentralEntry& e : std::as_const(central)) {
        const QByteArray record = encodeCentralEntry(e);
        if (out.write(record) != record.size())
            return resultForSystemError(errno, WriteError);
        end.directorySize += uint64_t(record.size());
    }
    end.entries = end.entriesOnThisDisk = uint64_t(central.size());
    const QByteArray tail = encodeEndRecords(end, end.directoryOffset + end.directorySize);
    if (out.write(tail) != tail.size() || !out.flush())
        return resultForSystemError(errno, WriteError);
    out.close();
    file.unmap(reinterpret_cast<uchar*>(const_cast<char*>(data)));
    file.close();

    int kept = 0;
    if (const int rc = confirmWithLibzip(out.fileName(), &kept); rc != Success)
        return rc;
    QFile::setPermissions(out.fileName(), QFileInfo(path).permissions());
    if (std::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return TemporaryFile;
    out.setAutoRemove(false);
    return Success;
}

} // namespace tv::archive
