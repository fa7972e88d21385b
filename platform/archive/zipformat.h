#pragma once

// Records of the zip file format, read and written by hand where libzip cannot help: archives spread over
// several disks and the rebuilding of a lost central directory. Every reader here checks its bounds; damaged
// input gives false, never a crash.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>
#include <cstdint>

class QFile;

namespace tv::archive::zipformat {

inline constexpr uint32_t LocalHeaderSignature = 0x04034b50;
inline constexpr uint32_t CentralHeaderSignature = 0x02014b50;
inline constexpr uint32_t EndSignature = 0x06054b50;
inline constexpr uint32_t Zip64EndSignature = 0x06064b50;
inline constexpr uint32_t Zip64LocatorSignature = 0x07064b50;
inline constexpr uint32_t DataDescriptorSignature = 0x08074b50;
// The first four bytes of the first segment of a split or spanned archive.
inline constexpr uint32_t SpanSignature = 0x08074b50;

inline constexpr int LocalHeaderSize = 30;
inline constexpr int CentralHeaderSize = 46;
inline constexpr int EndRecordSize = 22;
inline constexpr int Zip64EndRecordSize = 56;
inline constexpr int Zip64LocatorSize = 20;
inline constexpr uint16_t Zip64ExtraId = 0x0001;

inline constexpr uint16_t FlagEncrypted = 0x0001;
inline constexpr uint16_t FlagDataDescriptor = 0x0008;
inline constexpr uint16_t FlagUtf8 = 0x0800;

inline constexpr uint16_t MethodStore = 0;
inline constexpr uint16_t MethodDeflate = 8;

inline uint16_t get16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t(b[0] | (b[1] << 8));
}
inline uint32_t get32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}
inline uint64_t get64(const char* p)
{
    return uint64_t(get32(p)) | (uint64_t(get32(p + 4)) << 32);
}
void put16(QByteArray& out, uint16_t v);
void put32(QByteArray& out, uint32_t v);
void put64(QByteArray& out, uint64_t v);

// One record of the central directory, with the zip64 values already folded in.
struct CentralEntry
{
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t size = 0;
    uint32_t disk = 0;        // disk holding the local header (from 0)
    uint64_t localOffset = 0; // offset of the local header on that disk
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    QByteArray rawName;
    QByteArray extra; // without the zip64 field; encode() adds one when needed
    QByteArray comment;

    QString name() const;
    bool isDirectory() const;
    bool isSymbolicLink() const;
    bool isEncrypted() const { return flags & FlagEncrypted; }
};

struct EndRecord
{
    uint32_t thisDisk = 0;
    uint32_t directoryDisk = 0;
    uint64_t entriesOnThisDisk = 0;
    uint64_t entries = 0;
    uint64_t directorySize = 0;
    uint64_t directoryOffset = 0; // on directoryDisk
    qint64 position = 0;          // of the (classic) end record in its file
    bool zip64 = false;
    QByteArray comment;

    bool isMultidisk() const { return thisDisk != 0 || directoryDisk != 0; }
};

// Finds and reads the end record (and a zip64 end record on the same disk) at the end of file.
bool readEndRecord(QFile& file, EndRecord* end);

// Parses count records from the bytes of a central directory.
bool parseCentralDirectory(const QByteArray& bytes, uint64_t count, QVector<CentralEntry>* entries);

// Parses one central record at data[0..available); its length goes to used.
bool parseCentralEntry(const char* data, qint64 available, CentralEntry* entry, qint64* used);

// The bytes of a central record for entry, with a zip64 field when a value does not fit.
QByteArray encodeCentralEntry(const CentralEntry& entry);

// The end records (zip64 end record and locator when needed, then the classic end record).
// zip64Offset is where the zip64 end record would start on thisDisk.
QByteArray encodeEndRecords(const EndRecord& end, uint64_t zip64Offset);

// A local header as found in a file.
struct LocalHeader
{
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t size = 0;
    bool sizesFromZip64 = false;
    QByteArray rawName;
    QByteArray extra;
    qint64 headerLength = 0; // 30 + name + extra
};

// Parses a local header at data[0..available).
bool parseLocalHeader(const char* data, qint64 available, LocalHeader* header);

// A local header with known sizes and no data descriptor.
QByteArray encodeLocalHeader(const LocalHeader& header);

// Extra fields without the zip64 field.
QByteArray withoutZip64Field(const QByteArray& extra);

// Member names: the zip's own name (with '/'), in UTF-8 when flagged or valid, otherwise code page 437.
QString decodeName(const QByteArray& raw, uint16_t flags);

QDateTime fromDosTime(uint16_t dosDate, uint16_t dosTime);
void toDosTime(const QDateTime& time, uint16_t* dosDate, uint16_t* dosTime);

} // namespace tv::archive::zipformat
