#pragma once

// Recognising a database file kept in the Access (Jet) format by its first page. Used by the application at
// start and by the converter before it lets the reading library near the file. Qt Core only, header only.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tv::jet {

enum class Format {
    Other,   // not an Access file at all (an SQLite database, anything else)
    Jet3,    // Access 97
    Jet4,    // Access 2000 to 2003
    Ace,     // Access 2007 and later (.accdb kept under any name)
    Unknown, // the Jet signature with a version this program does not know
};

struct Header
{
    Format format = Format::Other;
    int version = -1; // the version byte at 0x14
    int pageSize = 0; // 2048 for Jet 3, 4096 otherwise
    qint64 size = -1; // of the whole file, when read from a file
};

// The signature sits at byte 4 ("Standard Jet DB" or "Standard ACE DB"), the version byte at 0x14.
inline constexpr int HeaderBytes = 0x18;

inline Header inspectHeader(const QByteArray& head)
{
    Header h;
    if (head.size() < HeaderBytes)
        return h;
    const QByteArray signature = head.mid(4, 16);
    const bool jet = signature == QByteArray("Standard Jet DB\0", 16);
    const bool ace = signature == QByteArray("Standard ACE DB\0", 16);
    if (!jet && !ace)
        return h;
    h.version = static_cast<unsigned char>(head.at(0x14));
    h.pageSize = 4096;
    if (ace)
        h.format = Format::Ace;
    else if (h.version == 0) {
        h.format = Format::Jet3;
        h.pageSize = 2048;
    } else if (h.version == 1)
        h.format = Format::Jet4;
    else
        h.format = Format::Unknown;
    return h;
}

inline Header inspectFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Header h = inspectHeader(file.read(HeaderBytes));
    h.size = file.size();
    return h;
}

// True for the formats the converter reads.
inline bool convertible(Format format)
{
    return format == Format::Jet3 || format == Format::Jet4;
}

// For messages: "Jet 4, Access 2000-2003".
inline QString formatName(Format format)
{
    switch (format) {
    case Format::Jet3:
        return QStringLiteral("Jet 3, Access 97");
    case Format::Jet4:
        return QStringLiteral("Jet 4, Access 2000-2003");
    case Format::Ace:
        return QStringLiteral("ACE, Access 2007 or later");
    case Format::Unknown:
        return QStringLiteral("Jet, unknown version");
    case Format::Other:
        break;
    }
    return QStringLiteral("not an Access database");
}

} // namespace tv::jet
