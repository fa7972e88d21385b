#pragma once

// Reads the tables of a Jet (Access 97 to 2003) database file through libmdb. The library parses pages, table
// definitions and rows; this reader walks the rows itself, because the library's own row cursor takes deleted
// rows for live ones and drops rows that were moved to another page, and it decodes every value from its
// stored bytes, so that long texts are whole, money is exact and NULL stays apart from empty text.

#include "database/jetconvert/jetheader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace tv::jet {

// One cell as the file holds it.
struct Value
{
    enum class Kind { Null, Boolean, Integer, Money, Real, Timestamp, Text, Bytes, Unsupported };
    Kind kind = Kind::Null;
    qint64 integer = 0; // Boolean (0 or 1), Integer, Money (in ten-thousandths)
    double real = 0;    // Real, Timestamp (days since 30 December 1899)
    QString text;       // Text (never a null QString), or the stored type's name for Unsupported
    QByteArray bytes;   // Bytes
};

struct Column
{
    QString name;
    int type = 0;            // the stored type code
    QString typeName;        // "Text", "Currency", ...
    bool autoNumber = false; // a counter the engine assigns
};

struct TableEntry
{
    QString name;
    quint32 definitionPage = 0;
};

// What the catalog of the file holds besides the tables.
struct Catalog
{
    QList<TableEntry> tables; // user tables, in catalog order
    QStringList linkedTables; // tables whose data lives in another file
    int otherObjects = 0;     // queries, forms, reports, macros, modules
};

struct TableData
{
    QList<Column> columns;
    qint64 declaredRows = 0;   // the row count the table definition keeps
    qint64 lastAutoNumber = 0; // the last counter value handed out, as the definition keeps it
};

class Reader
{
public:
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Checks the file's first page and size before the library reads it; a damaged or foreign file is refused
    // with a message for the user.
    static std::unique_ptr<Reader> open(const QString& path, QString* error);

    Format format() const { return m_header.format; }
    qint64 pageCount() const { return m_header.size / m_header.pageSize; }

    // The live entries of the file's catalog.
    bool readCatalog(Catalog* catalog, QString* error);

    // Reads the definition of a table, then hands each live row to row(), in stored order. row() returns
    // false to stop. Only the fields wanted() accepts are decoded (all when it is empty); the others come as
    // Null. Fails on a page that cannot be read or a row that does not fit its page.
    bool readTable(const TableEntry& table, TableData* data, const std::function<bool(const Column&)>& wanted,
                   const std::function<bool(const QList<Value>&)>& row, QString* error);

private:
    Reader() = default;
    struct Private;
    std::unique_ptr<Private> d;
    Header m_header;
};

// Decodes a stored text: Jet 4 keeps UTF-16, optionally in its compressed form (a leading FF FE, then runs of
// single bytes and of UTF-16 units, switched by a zero byte); Jet 3 keeps the bytes of the file's code page.
QString decodeText(const QByteArray& stored, Format format, int codePage);

} // namespace tv::jet
