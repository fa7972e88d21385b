#include "database/jetconvert/olepicture.h"

#include <QList>
#include <optional>

namespace tv::jet {

namespace {

constexpr quint16 AccessObjectSignature = 0x1c15;
constexpr quint32 OleVersion = 0x0501;
constexpr quint32 OleEmbedded = 2;
const QByteArray CompoundFileSignature("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8);

// Bounds-checked little-endian reads; nullopt past the end.
std::optional<quint32> u16At(const QByteArray& b, qint64 at)
{
    if (at < 0 || at + 2 > b.size())
        return std::nullopt;
    return quint32(quint8(b[at])) | (quint32(quint8(b[at + 1])) << 8);
}

std::optional<quint32> u32At(const QByteArray& b, qint64 at)
{
    if (at < 0 || at + 4 > b.size())
        return std::nullopt;
    return quint32(quint8(b[at])) | (quint32(quint8(b[at + 1])) << 8) | (quint32(quint8(b[at + 2])) << 16) |
           (quint32(quint8(b[at + 3])) << 24);
}

// A string ending at the first zero byte from at; moves at past the zero.
std::optional<QByteArray> zeroTerminated(const QByteArray& b, qint64* at)
{
    const qint64 end = b.indexOf('\0', *at);
    if (*at < 0 || end < 0)
        return std::nullopt;
    QByteArray s = b.mid(*at, end - *at);
    *at = end + 1;
    return s;
}

// A length-prefixed string of the OLE 1.0 stream (the length counts the closing zero).
std::optional<QByteArray> prefixedString(const QByteArray& b, qint64* at)
{
    const auto length = u32At(b, *at);
    if (!length || *at + 4 + qint64(*length) > b.size())
        return std::nullopt;
    QByteArray s = b.mid(*at + 4, *length);
    *at += 4 + qint64(*length);
    while (s.endsWith('\0'))
        s.chop(1);
    return s;
}

struct Embedded
{
    QByteArray className;
    QByteArray native;
};

// An OLE 1.0 stream holding an embedded object: version, format, class, topic, item, native data.
std::optional<Embedded> readOle1(const QByteArray& b)
{
    qint64 at = 0;
    const auto version = u32At(b, at);
    const auto formatId = u32At(b, at + 4);
    if (!version || (*version & 0xffff) != OleVersion || !formatId || *formatId != OleEmbedded)
        return std::nullopt;
    at += 8;
    Embedded e;
    const auto className = prefixedString(b, &at);
    const auto topic = className ? prefixedString(b, &at) : std::nullopt;
    const auto item = topic ? prefixedString(b, &at) : std::nullopt;
    const auto size = item ? u32At(b, at) : std::nullopt;
    if (!size || at + 4 + qint64(*size) > b.size())
        return std::nullopt;
    e.className = *className;
    e.native = b.mid(at + 4, *size);
    return e;
}

struct PackagedFile
{
    QByteArray label;
    QByteArray data;
};

// The native data of the Packager: a label, the original path, then the file itself after its temporary path.
std::optional<PackagedFile> readPackage(const QByteArray& b)
{
    const auto header = u16At(b, 0);
    if (!header || *header != 2)
        return std::nullopt;
    qint64 at = 2;
    const auto label = zeroTerminated(b, &at);
    const auto path = label ? zeroTerminated(b, &at) : std::nullopt;
    const auto kind = path ? u32At(b, at) : std::nullopt;
    if (!kind || (*kind >> 16) != 3) // 3: an embedded file (1 would be a link)
        return std::nullopt;
    at += 4;
    const auto tempLength = u32At(b, at);
    if (!tempLength)
        return std::nullopt;
    at += 4 + qint64(*tempLength);
    const auto dataLength = u32At(b, at);
    if (!dataLength || at + 4 + qint64(*dataLength) > b.size())
        return std::nullopt;
    return PackagedFile{*label, b.mid(at + 4, *dataLength)};
}

// Reads one stream of an OLE compound file by name. Small streams live in the mini stream.
std::optional<QByteArray> compoundStream(const QByteArray& file, const QString& wanted)
{
    if (!file.startsWith(CompoundFileSignature) || file.size() < 512)
        return std::nullopt;
    const quint32 sectorShift = u16At(file, 0x1e).value_or(0);
    const quint32 miniShift = u16At(file, 0x20).value_or(0);
    if (sectorShift < 7 || sectorShift > 12 || miniShift < 4 || miniShift >= sectorShift)
        return std::nullopt;
    const qint64 sectorSize = qint64(1) << sectorShift;
    const qint64 miniSize = qint64(1) << miniShift;
    const qint64 sectors = (file.size() - sectorSize + sectorSize - 1) / sectorSize;
    const auto sectorOffset = [&](quint32 n) { return (qint64(n) + 1) * sectorSize; };
    constexpr quint32 EndOfChain = 0xfffffffe;

    // The sector allocation table, from the sectors the header and the DIFAT chain list.
    QList<quint32> fatSectors;
    for (int i = 0; i < 109; ++i) {
        const quint32 s = u32At(file, 0x4c + 4 * i).value_or(0xffffffff);
        if (s < quint32(sectors))
            fatSectors.append(s);
    }
    quint32 difat = u32At(file, 0x44).value_or(EndOfChain);
    for (qint64 guard = 0; difat < quint32(sectors) && guard < sectors; ++guard) {
        const qint64 base = sectorOffset(difat);
        for (qint64 i = 0; i + 1 < sectorSize / 4; ++i) {
            const quint32 s = u32At(file, base + 4 * i).value_or(0xffffffff);
            if (s < quint32(sectors))
                fatSectors.append(s);
        }
        difat = u32At(file, base + sectorSize - 4).value_or(EndOfChain);
    }
    QList<quint32> fat;
    for (const quint32 s : fatSectors)
        for (qint64 i = 0; i < sectorSize / 4; ++i)
            fat.append(u32At(file, sectorOffset(s) + 4 * i).value_or(EndOfChain));

    const auto chain = [&](quint32 start, const QList<quint32>& table, qint64 unit,
                           const std::function<qint64(quint32)>& offset, const QByteArray& source) {
        QByteArray out;
        for (qint64 guard = 0; start < quint32(table.size()) && guard <= table.size(); ++guard) {
            const qint64 at = offset(start);
            if (at < 0 || at + unit > source.size())
                break;
            out.append(source.constData() + at, unit);
            start = table.at(start);
        }
        return out;
    };
    const QByteArray directory =
        chain(u32At(file, 0x30).value_or(EndOfChain), fat, sectorSize, sectorOffset, file);
    if (directory.size() < 128)
        return std::nullopt;

    // The root entry holds the mini stream; the mini table is its own chain of sectors.
    const quint32 rootStart = u32At(directory, 116).value_or(EndOfChain);
    const QByteArray miniStream = chain(rootStart, fat, sectorSize, sectorOffset, file);
    QList<quint32> miniFat;
    const QByteArray miniFatBytes =
        chain(u32At(file, 0x3c).value_or(EndOfChain), fat, sectorSize, sectorOffset, file);
    for (qint64 i = 0; i + 4 <= miniFatBytes.size(); i += 4)
        miniFat.append(*u32At(miniFatBytes, i));
    const quint32 cutoff = u32At(file, 0x38).value_or(4096);

    for (qint64 entry = 0; entry + 128 <= directory.size(); entry += 128) {
        const quint32 nameBytes = u16At(directory, entry + 64).value_or(0);
        if (nameBytes < 2 || nameBytes > 64 || directory.at(entry + 66) != 2) // 2: a stream
            continue;
        const QString name =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(
                                   QByteArray(directory.constData() + entry, nameBytes - 2).constData()),
                               (nameBytes - 2) / 2);
        if (name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        const quint32 start = u32At(directory, entry + 116).value_or(EndOfChain);
        const qint64 size = u32At(directory, entry + 120).value_or(0);
        const QByteArray content =
            size < cutoff
                ? chain(
                      start, miniFat, miniSize, [&](quint32 n) { return qint64(n) * miniSize; }, miniStream)
                : chain(start, fat, sectorSize, sectorOffset, file);
        if (content.size() < size)
            return std::nullopt;
        return content.left(size);
    }
    return std::nullopt;
}

std::optional<Picture> fromNative(const QByteArray& className, const QByteArray& native, int depth = 0)
{
    if (depth > 2)
        return std::nullopt;
    const QString name = QString::fromLatin1(className);
    if (const auto package = readPackage(native)) {
        Picture p{package->data, true,
                  QStringLiteral("the picture file \"%1\" was taken out of its OLE package")
                      .arg(QString::fromLocal8Bit(package->label))};
        return p;
    }
    if (looksLikePicture(native))
        return Picture{native, true,
                       QStringLiteral("the picture was taken out of its OLE object (%1)").arg(name)};
    if (native.startsWith(CompoundFileSignature)) {
        // \1Ole10Native: a length, then the native data as an OLE 1.0 server would have kept it.
        if (const auto stream = compoundStream(native, QStringLiteral("\001Ole10Native"))) {
            const auto length = u32At(*stream, 0);
            if (length && 4 + qint64(*length) <= stream->size())
                if (auto inner = fromNative(className, stream->mid(4, *length), depth + 1))
                    return inner;
        }
        for (const QString& other : {QStringLiteral("CONTENTS"), QStringLiteral("Package")})
            if (const auto stream = compoundStream(native, other); stream && looksLikePicture(*stream))
                return Picture{*stream, true,
                               QStringLiteral("the picture was taken out of its OLE object (%1)").arg(name)};
    }
    return std::nullopt;
}

} // namespace

bool looksLikePicture(const QByteArray& b)
{
    static const QList<QByteArray> signatures = {
        QByteArray("\x89PNG\r\n\x1a\n", 8),
        QByteArray("\xff\xd8\xff", 3),
        QByteArray("GIF87a"),
        QByteArray("GIF89a"),
        QByteArray("II*\0", 4),
        QByteArray("MM\0*", 4),
        QByteArray("\0\0\1\0", 4),
        QByteArray("\xd7\xcd\xc6\x9a", 4),
    };
    for (const QByteArray& s : signatures)
        if (b.startsWith(s))
            return true;
    // A bitmap file: "BM" and a file size no larger than the bytes there are.
    if (b.startsWith("BM") && b.size() >= 26) {
        const quint32 size = u32At(b, 2).value_or(0);
        return size >= 26 && size <= quint32(b.size());
    }
    // An enhanced metafile: record 1 with " EMF" at 40.
    return b.size() >= 44 && u32At(b, 0) == 1u && b.mid(40, 4) == " EMF";
}

Picture unwrapPicture(const QByteArray& stored)
{
    if (stored.isEmpty() || looksLikePicture(stored))
        return Picture{stored, false, {}};

    // A picture saved by a Visual Basic picture box: "lt", two zero bytes, the length, the picture.
    if (stored.startsWith(QByteArray("lt\0\0", 4))) {
        const auto length = u32At(stored, 4);
        if (length && 8 + qint64(*length) <= stored.size() && looksLikePicture(stored.mid(8, *length)))
            return Picture{stored.mid(8, *length), true,
                           QStringLiteral("the picture was taken out of its Visual Basic picture header")};
    }

    // Access's own header: signature, header size, object type, then the name and class of the object.
    if (u16At(stored, 0) == AccessObjectSignature) {
        const quint32 headerSize = u16At(stored, 2).value_or(0);
        if (headerSize >= 20 && headerSize < quint32(stored.size())) {
            QByteArray className;
            const quint32 classLength = u16At(stored, 10).value_or(0);
            const quint32 classOffset = u16At(stored, 14).value_or(0);
            if (classOffset + classLength <= headerSize)
                className = stored.mid(classOffset, classLength).split('\0').value(0);
            if (const auto ole = readOle1(stored.mid(headerSize))) {
                if (auto picture =
                        fromNative(ole->className.isEmpty() ? className : ole->className, ole->native))
                    return *picture;
            }
        }
    }

    return Picture{stored, false,
                   QStringLiteral("no picture was recognised in the stored object; it was kept as stored")};
}

} // namespace tv::jet
