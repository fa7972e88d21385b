#include "platform/archive/zipformat.h"

#include <QFile>
#include <QStringDecoder>

namespace tv::archive::zipformat {

namespace {

constexpr uint32_t Max32 = 0xffffffffu;
constexpr uint16_t Max16 = 0xffffu;
constexpr qint64 MaxCommentLength = 0xffff;

// Code page 437, bytes 0x80 to 0xff.
constexpr char16_t Cp437High[128] = {
    0x00c7, 0x00fc, 0x00e9, 0x00e2, 0x00e4, 0x00e0, 0x00e5, 0x00e7, 0x00ea, 0x00eb, 0x00e8, 0x00ef, 0x00ee,
    0x00ec, 0x00c4, 0x00c5, 0x00c9, 0x00e6, 0x00c6, 0x00f4, 0x00f6, 0x00f2, 0x00fb, 0x00f9, 0x00ff, 0x00d6,
    0x00dc, 0x00a2, 0x00a3, 0x00a5, 0x20a7, 0x0192, 0x00e1, 0x00ed, 0x00f3, 0x00fa, 0x00f1, 0x00d1, 0x00aa,
    0x00ba, 0x00bf, 0x2310, 0x00ac, 0x00bd, 0x00bc, 0x00a1, 0x00ab, 0x00bb, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255d, 0x255c, 0x255b, 0x2510, 0x2514,
    0x2534, 0x252c, 0x251c, 0x2500, 0x253c, 0x255e, 0x255f, 0x255a, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256c, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256b, 0x256a, 0x2518, 0x250c,
    0x2588, 0x2584, 0x258c, 0x2590, 0x2580, 0x03b1, 0x00df, 0x0393, 0x03c0, 0x03a3, 0x03c3, 0x00b5, 0x03c4,
    0x03a6, 0x0398, 0x03a9, 0x03b4, 0x221e, 0x03c6, 0x03b5, 0x2229, 0x2261, 0x00b1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00f7, 0x2248, 0x00b0, 0x2219, 0x00b7, 0x221a, 0x207f, 0x00b2, 0x25a0, 0x00a0,
};

// The zip64 extended-information field of extra, or an empty array.
QByteArray zip64Field(const QByteArray& extra)
{
    qint64 pos = 0;
    while (pos + 4 <= extra.size()) {
        const uint16_t id = get16(extra.constData() + pos);
        const uint16_t length = get16(extra.constData() + pos + 2);
        if (pos + 4 + length > extra.size())
            break;
        if (id == Zip64ExtraId)
            return extra.mid(pos + 4, length);
        pos += 4 + length;
    }
    return {};
}

} // namespace

void put16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, uint32_t v)
{
    put16(out, uint16_t(v & 0xffff));
    put16(out, uint16_t(v >> 16));
}

void put64(QByteArray& out, uint64_t v)
{
    put32(out, uint32_t(v & Max32));
    put32(out, uint32_t(v >> 32));
}

QByteArray withoutZip64Field(const QByteArray& extra)
{
    QByteArray kept;
    qint64 pos = 0;
    while (pos + 4 <= extra.size()) {
        const uint16_t id = get16(extra.constData() + pos);
        const uint16_t length = get16(extra.constData() + pos + 2);
        if (pos + 4 + length > extra.size())
            break; // a torn field at the end is dropped
        if (id != Zip64ExtraId)
            kept.append(extra.mid(pos, 4 + length));
        pos += 4 + length;
    }
    return kept;
}

QString decodeName(const QByteArray& raw, uint16_t flags)
{
    if (flags & FlagUtf8)
        return QString::fromUtf8(raw);
    bool ascii = true;
    for (char c : raw) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(raw);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8(raw);
    if (!utf8.hasError())
        return asUtf8;
    QString text;
    text.reserve(raw.size());
    for (char c : raw) {
        const uchar b = uchar(c);
        text.append(b < 0x80 ? QChar(b) : QChar(Cp437High[b - 0x80]));
    }
    return text;
}

QDateTime fromDosTime(uint16_t dosDate, uint16_t dosTime)
{
    const QDate date(1980 + (dosDate >> 9), (dosDate >> 5) & 0x0f, dosDate & 0x1f);
    const QTime time((dosTime >> 11) & 0x1f, (dosTime >> 5) & 0x3f, (dosTime & 0x1f) * 2);
    if (!date.isValid())
        return QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    return QDateTime(date, time.isValid() ? time : QTime(0, 0));
}

void toDosTime(const QDateTime& time, uint16_t* dosDate, uint16_t* dosTime)
{
    QDateTime local = time.toLocalTime();
    if (!local.isValid() || local.date().year() < 1980)
        local = QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    if (local.date().year() > 2107)
        local = QDateTime(QDate(2107, 12, 31), QTime(23, 59, 58));
    const QDate d = local.date();
    const QTime t = local.time();
    *dosDate = uint16_t(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
    *dosTime = uint16_t((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

QString CentralEntry::name() const
{
    return decodeName(rawName, flags);
}

bool CentralEntry::isDirectory() const
{
    if (rawName.endsWith('/') || rawName.endsWith('\\'))
        return true;
    const uint8_t madeBy = versionMadeBy >> 8;
    if (madeBy == 3)
        return ((externalAttributes >> 16) & 0170000) == 0040000;
    return externalAttributes & 0x10;
}

bool CentralEntry::isSymbolicLink() const
{
    const uint8_t madeBy = versionMadeBy >> 8;
    return madeBy == 3 && ((externalAttributes >> 16) & 0170000) == 0120000;
}

bool readEndRecord(QFile& file, EndRecord* end)
{
    const qint64 fileSize = file.size();
    if (fileSize < EndRecordSize)
        return false;
    const qint64 tailLength = qMin<qint64>(fileSize, EndRecordSize + MaxCommentLength + Zip64LocatorSize);
    const qint64 tailStart = fileSize - tailLength;
    if (!file.seek(tailStart))
        return false;
    const QByteArray tail = file.read(tailLength);
    if (tail.size() != tailLength)
        return false;

    // The last signature whose comment ends exactly at the end of the file; failing that, the last one whose
    // comment fits (some writers leave bytes behind the end record).
    qint64 found = -1;
    qint64 loose = -1;
    for (qint64 pos = tail.size() - EndRecordSize; pos >= 0; --pos) {
        if (get32(tail.constData() + pos) != EndSignature)
            continue;
        const qint64 commentLength = get16(tail.constData() + pos + 20);
        if (pos + EndRecordSize + commentLength == tail.size()) {
            found = pos;
            break;
        }
        if (loose < 0 && pos + EndRecordSize + commentLength <= tail.size())
            loose = pos;
    }
    if (found < 0)
        found = loose;
    if (found < 0)
        return false;

    const char* p = tail.constData() + found;
    EndRecord record;
    record.thisDisk = get16(p + 4);
    record.directoryDisk = get16(p + 6);
    record.entriesOnThisDisk = get16(p + 8);
    record.entries = get16(p + 10);
    record.directorySize = get32(p + 12);
    record.directoryOffset = get32(p + 16);
    record.comment = tail.mid(found + EndRecordSize, get16(p + 20));
    record.position = tailStart + found;

    // A zip64 locator right before the end record points at the zip64 end record on the same disk.
    if (found >= Zip64LocatorSize && get32(p - Zip64LocatorSize) == Zip64LocatorSignature) {
        const char* locator = p - Zip64LocatorSize;
        const uint64_t zip64Offset = get64(locator + 8);
        if (zip64Offset + Zip64EndRecordSize <= uint64_t(record.position) && file.seek(qint64(zip64Offset))) {
            const QByteArray z = file.read(Zip64EndRecordSize);
            if (z.size() == Zip64EndRecordSize && get32(z.constData()) == Zip64EndSignature) {
                record.zip64 = true;
                record.thisDisk = get32(z.constData() + 16);
                record.directoryDisk = get32(z.constData() + 20);
                record.entriesOnThisDisk = get64(z.constData() + 24);
                record.entries = get64(z.constData() + 32);
                record.directorySize = get64(z.constData() + 40);
                record.directoryOffset = get64(z.constData() + 48);
            }
        }
    }
    *end = record;
    return true;
}

bool parseCentralEntry(const char* data, qint64 available, CentralEntry* entry, qint64* used)
{
    if (available < CentralHeaderSize || get32(data) != CentralHeaderSignature)
        return false;
    const qint64 nameLength = get16(data + 28);
    const qint64 extraLength = get16(data + 30);
    const qint64 commentLength = get16(data + 32);
    const qint64 total = CentralHeaderSize + nameLength + extraLength + commentLength;
    if (total > available)
        return false;
    CentralEntry e;
    e.versionMadeBy = get16(data + 4);
    e.versionNeeded = get16(data + 6);
    e.flags = get16(data + 8);
    e.method = get16(data + 10);
    e.dosTime = get16(data + 12);
    e.dosDate = get16(data + 14);
    e.crc = get32(data + 16);
    e.compressedSize = get32(data + 20);
    e.size = get32(data + 24);
    e.disk = get16(data + 34);
    e.internalAttributes = get16(data + 36);
    e.externalAttributes = get32(data + 38);
    e.localOffset = get32(data + 42);
    e.rawName = QByteArray(data + CentralHeaderSize, nameLength);
    const QByteArray extra(data + CentralHeaderSize + nameLength, extraLength);
    e.comment = QByteArray(data + CentralHeaderSize + nameLength + extraLength, commentLength);

    const QByteArray z = zip64Field(extra);
    qint64 zpos = 0;
    auto take64 = [&](uint64_t* value) {
        if (zpos + 8 > z.size())
            return false;
        *value = get64(z.constData() + zpos);
        zpos += 8;
        return true;
    };
    if (e.size == Max32 && !take64(&e.size))
        return false;
    if (e.compressedSize == Max32 && !take64(&e.compressedSize))
        return false;
    if (e.localOffset == Max32 && !take64(&e.localOffset))
        return false;
    if (e.disk == Max16) {
        if (zpos + 4 > z.size())
            return false;
        e.disk = get32(z.constData() + zpos);
    }
    e.extra = withoutZip64Field(extra);
    *entry = e;
    *used = total;
    return true;
}

bool parseCentralDirectory(const QByteArray& bytes, uint64_t count, QVector<CentralEntry>* entries)
{
    // Every record takes at least 46 bytes: a count that cannot fit is a lie, not a reason to reserve memory.
    if (count > uint64_t(bytes.size()) / CentralHeaderSize)
        return false;
    QVector<CentralEntry> list;
    list.reserve(qsizetype(count));
    qint64 pos = 0;
    for (uint64_t i = 0; i < count; ++i) {
        CentralEntry e;
        qint64 used = 0;
        if (!parseCentralEntry(bytes.constData() + pos, bytes.size() - pos, &e, &used))
            return false;
        list.append(e);
        pos += used;
    }
    *entries = std::move(list);
    return true;
}

QByteArray encodeCentralEntry(const CentralEntry& e)
{
    QByteArray z;
    if (e.size >= Max32)
        put64(z, e.size);
    if (e.compressedSize >= Max32)
        put64(z, e.compressedSize);
    if (e.localOffset >= Max32)
        put64(z, e.localOffset);
    if (e.disk >= Max16)
        put32(z, e.disk);
    QByteArray extra;
    if (!z.isEmpty()) {
        put16(extra, Zip64ExtraId);
        put16(extra, uint16_t(z.size()));
        extra.append(z);
    }
    extra.append(withoutZip64Field(e.extra));

    QByteArray out;
    out.reserve(CentralHeaderSize + e.rawName.size() + extra.size() + e.comment.size());
    put32(out, CentralHeaderSignature);
    put16(out, e.versionMadeBy);
    put16(out, z.isEmpty() ? e.versionNeeded : qMax<uint16_t>(e.versionNeeded, 45));
    put16(out, e.flags);
    put16(out, e.method);
    put16(out, e.dosTime);
    put16(out, e.dosDate);
    put32(out, e.crc);
    put32(out, e.compressedSize >= Max32 ? Max32 : uint32_t(e.compressedSize));
    put32(out, e.size >= Max32 ? Max32 : uint32_t(e.size));
    put16(out, uint16_t(e.rawName.size()));
    put16(out, uint16_t(extra.size()));
    put16(out, uint16_t(e.comment.size()));
    put16(out, e.disk >= Max16 ? Max16 : uint16_t(e.disk));
    put16(out, e.internalAttributes);
    put32(out, e.externalAttributes);
    put32(out, e.localOffset >= Max32 ? Max32 : uint32_t(e.localOffset));
    out.append(e.rawName);
    out.append(extra);
    out.append(e.comment);
    return out;
}

QByteArray encodeEndRecords(const EndRecord& end, uint64_t zip64Offset)
{
    const bool zip64 = end.entries >= Max16 || end.entriesOnThisDisk >= Max16 || end.directorySize >= Max32 ||
                       end.directoryOffset >= Max32 || end.thisDisk >= Max16 || end.directoryDisk >= Max16;
    QByteArray out;
    if (zip64) {
        put32(out, Zip64EndSignature);
        put64(out, Zip64EndRecordSize - 12);
        put16(out, 45);
        put16(out, 45);
        put32(out, end.thisDisk);
        put32(out, end.directoryDisk);
        put64(out, end.entriesOnThisDisk);
        put64(out, end.entries);
        put64(out, end.directorySize);
        put64(out, end.directoryOffset);
        put32(out, Zip64LocatorSignature);
        put32(out, end.thisDisk);
        put64(out, zip64Offset);
        put32(out, end.thisDisk + 1);
    }
    put32(out, EndSignature);
    put16(out, end.thisDisk >= Max16 ? Max16 : uint16_t(end.thisDisk));
    put16(out, end.directoryDisk >= Max16 ? Max16 : uint16_t(end.directoryDisk));
    put16(out, end.entriesOnThisDisk >= Max16 ? Max16 : uint16_t(end.entriesOnThisDisk));
    put16(out, end.entries >= Max16 ? Max16 : uint16_t(end.entries));
    put32(out, end.directorySize >= Max32 ? Max32 : uint32_t(end.directorySize));
    put32(out, end.directoryOffset >= Max32 ? Max32 : uint32_t(end.directoryOffset));
    put16(out, uint16_t(qMin<qsizetype>(end.comment.size(), MaxCommentLength)));
    out.append(end.comment.left(MaxCommentLength));
    return out;
}

bool parseLocalHeader(const char* data, qint64 available, LocalHeader* header)
{
    if (available < LocalHeaderSize || get32(data) != LocalHeaderSignature)
        return false;
    const qint64 nameLength = get16(data + 26);
    const qint64 extraLength = get16(data + 28);
    if (LocalHeaderSize + nameLength + extraLength > available)
        return false;
    LocalHeader h;
    h.versionNeeded = get16(data + 4);
    h.flags = get16(data + 6);
    h.method = get16(data + 8);
    h.dosTime = get16(data + 10);
    h.dosDate = get16(data + 12);
    h.crc = get32(data + 14);
    h.compressedSize = get32(data + 18);
    h.size = get32(data + 22);
    h.rawName = QByteArray(data + LocalHeaderSize, nameLength);
    h.extra = QByteArray(data + LocalHeaderSize + nameLength, extraLength);
    h.headerLength = LocalHeaderSize + nameLength + extraLength;
    if (h.size == Max32 || h.compressedSize == Max32) {
        const QByteArray z = zip64Field(h.extra);
        if (z.size() >= 16) {
            h.size = get64(z.constData());
            h.compressedSize = get64(z.constData() + 8);
            h.sizesFromZip64 = true;
        }
    }
    *header = h;
    return true;
}

QByteArray encodeLocalHeader(const LocalHeader& h)
{
    const bool zip64 = h.size >= Max32 || h.compressedSize >= Max32;
    QByteArray extra;
    if (zip64) {
        put16(extra, Zip64ExtraId);
        put16(extra, 16);
        put64(extra, h.size);
        put64(extra, h.compressedSize);
    }
    extra.append(withoutZip64Field(h.extra));
    QByteArray out;
    put32(out, LocalHeaderSignature);
    put16(out, zip64 ? qMax<uint16_t>(h.versionNeeded, 45) : h.versionNeeded);
    put16(out, uint16_t(h.flags & ~FlagDataDescriptor));
    put16(out, h.method);
    put16(out, h.dosTime);
    put16(out, h.dosDate);
    put32(out, h.crc);
    put32(out, zip64 ? Max32 : uint32_t(h.compressedSize));
    put32(out, zip64 ? Max32 : uint32_t(h.size));
    put16(out, uint16_t(h.rawName.size()));
    put16(out, uint16_t(extra.size()));
    out.append(h.rawName);
    out.append(extra);
    return out;
}

} // namespace tv::archive::zipformat
