#include "database/jetconvert/jetreader.h"

// The library's header needs glib's declarations first.
#include <glib.h>
#include <mdbtools.h>

#include <QFileInfo>
#include <array>
#include <charconv>
#include <cstring>
#include <vector>

namespace tv::jet {

namespace {

// Flags in a row's entry of a data page's offset table.
constexpr quint32 OffsetMask = 0x1fff;
constexpr quint32 DeletedRow = 0x8000;
constexpr quint32 MovedRow = 0x4000; // the row holds only the page and row where its data lives now
constexpr int MaxMoves = 8;

// The first four bytes of a long value (memo, OLE object): its length and where it is kept.
constexpr quint32 LongValueInline = 0x80000000;
constexpr quint32 LongValueOneRow = 0x40000000;
constexpr quint32 LongValueLengthMask = 0x3fffffff;
constexpr int LongValueHeader = 12;

constexpr unsigned char DataPage = 0x01;

quint16 u16(const unsigned char* p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 u32(const unsigned char* p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

quint64 u64(const unsigned char* p)
{
    quint64 v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

double f64(const unsigned char* p)
{
    const quint64 bits = u64(p);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

double f32(const unsigned char* p)
{
    const quint32 bits = u32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    // The shortest text that reads back as the same single, read as a double: 0.1 stays 0.1.
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), f);
    double d = f;
    std::from_chars(text.data(), written.ptr, d);
    return d;
}

QString typeName(int type)
{
    switch (type) {
    case MDB_BOOL:
        return QStringLiteral("Yes/No");
    case MDB_BYTE:
        return QStringLiteral("Byte");
    case MDB_INT:
        return QStringLiteral("Integer");
    case MDB_LONGINT:
        return QStringLiteral("Long Integer");
    case MDB_MONEY:
        return QStringLiteral("Currency");
    case MDB_FLOAT:
        return QStringLiteral("Single");
    case MDB_DOUBLE:
        return QStringLiteral("Double");
    case MDB_DATETIME:
        return QStringLiteral("Date/Time");
    case MDB_BINARY:
        return QStringLiteral("Binary");
    case MDB_TEXT:
        return QStringLiteral("Text");
    case MDB_OLE:
        return QStringLiteral("OLE Object");
    case MDB_MEMO:
        return QStringLiteral("Memo");
    case MDB_REPID:
        return QStringLiteral("Replication ID");
    case MDB_NUMERIC:
        return QStringLiteral("Decimal");
    case MDB_COMPLEX:
        return QStringLiteral("Attachment or multi-valued");
    default:
        break;
    }
    return QStringLiteral("type %1").arg(type);
}

// The bytes a fixed-size value of the type needs.
int fixedSize(int type)
{
    switch (type) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
    case MDB_COMPLEX:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    default:
        break;
    }
    return 0;
}

QString nonNull(QString text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Code page 1252 above 0x7f, as Windows maps it; the five unassigned bytes keep their own code.
constexpr char16_t Windows1252High[32] = {0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021,
                                          0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008d, 0x017d, 0x008f,
                                          0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
                                          0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};

QString decodeCodePage(const QByteArray& stored, int codePage)
{
    if (codePage == 1252 || codePage <= 0) {
        QString out;
        out.reserve(stored.size());
        for (const char c : stored) {
            const auto b = static_cast<unsigned char>(c);
            out.append(QChar(b >= 0x80 && b < 0xa0 ? Windows1252High[b - 0x80] : char16_t(b)));
        }
        return nonNull(out);
    }
    const QByteArray charset = "CP" + QByteArray::number(codePage);
    gsize written = 0;
    gchar* utf8 = g_convert_with_fallback(stored.constData(), stored.size(), "UTF-8", charset.constData(),
                                          "?", nullptr, &written, nullptr);
    if (!utf8)
        return decodeCodePage(stored, 1252);
    QString out = QString::fromUtf8(utf8, qsizetype(written));
    g_free(utf8);
    return nonNull(out);
}

} // namespace

QString decodeText(const QByteArray& stored, Format format, int codePage)
{
    if (format == Format::Jet3)
        return decodeCodePage(stored, codePage);
    const auto* p = reinterpret_cast<const unsigned char*>(stored.constData());
    const qsizetype n = stored.size();
    QString out;
    out.reserve(n);
    if (n >= 2 && p[0] == 0xff && p[1] == 0xfe) {
        // Compressed: starts with single bytes; a zero byte switches between single bytes and UTF-16 units.
        bool single = true;
        qsizetype i = 2;
        while (i < n) {
            if (p[i] == 0) {
                single = !single;
                ++i;
            } else if (single) {
                out.append(QChar(char16_t(p[i])));
                ++i;
            } else if (i + 1 < n) {
                out.append(QChar(char16_t(u16(p + i))));
                i += 2;
            } else {
                break; // a lone last byte belongs to no character
            }
        }
    } else {
        for (qsizetype i = 0; i + 1 < n; i += 2)
            out.append(QChar(char16_t(u16(p + i))));
    }
    return nonNull(out);
}

struct Reader::Private
{
    MdbHandle* mdb = nullptr;
    Format format = Format::Other;
    int codePage = 1252;
    qint64 fileSize = 0;
    qint64 pageSize = 0;
    qint64 pages = 0;

    ~Private()
    {
        if (mdb)
            mdb_close(mdb);
    }

    unsigned char* page() const { return mdb->pg_buf; }
    int rowCountOffset() const { return mdb->fmt->row_count_offset; }

    bool readPage(qint64 number, QString* error)
    {
        if (number <= 0 || number >= pages) {
            *error = number <= 0 ? QStringLiteral("a page pointer is empty")
                                 : QStringLiteral("page %1 is missing: the file ends after page %2")
                                       .arg(number)
                                       .arg(pages - 1);
            return false;
        }
        if (mdb_read_pg(mdb, static_cast<unsigned long>(number)) != static_cast<ssize_t>(pageSize)) {
            *error = QStringLiteral("page %1 cannot be read").arg(number);
            return false;
        }
        return true;
    }

    // Where row number row of the page in the buffer lies.
    bool rowBounds(int row, int* start, int* size, QString* error)
    {
        int rawStart = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, row, &rawStart, &length) != 0 || length == 0) {
            *error = QStringLiteral("row %1 of page %2 does not fit its page").arg(row).arg(mdb->cur_pg);
            return false;
        }
        *start = int(quint32(rawStart) & OffsetMask);
        *size = int(length);
        if (*start + *size > pageSize) {
            *error = QStringLiteral("row %1 of page %2 does not fit its page").arg(row).arg(mdb->cur_pg);
            return false;
        }
        return true;
    }

    // The counts at both ends of a row: the number of fields first, then from the end the null mask, the
    // number of variable-length fields and their offsets.
    bool checkRow(int start, int size, int maxColumns, bool variable, int* rowColumns) const
    {
        const bool jet3 = format == Format::Jet3;
        const int countSize = jet3 ? 1 : 2;
        if (size < countSize)
            return false;
        const unsigned char* row = mdb->pg_buf + start;
        const int columns = jet3 ? row[0] : u16(row);
        const int mask = (columns + 7) / 8;
        if (columns < 1 || columns > std::max(maxColumns, 1) || countSize + mask > size)
            return false;
        *rowColumns = columns;
        if (!variable)
            return true;
        const int varCountSize = jet3 ? 1 : 2;
        if (countSize + mask + varCountSize > size)
            return false;
        const unsigned char* end = row + size;
        const int varColumns = jet3 ? end[-mask - 1] : u16(end - mask - 2);
        // Each variable field has an offset, plus one for the end of the data (Jet 3 adds a jump table).
        const int offsets = (varColumns + 1) * (jet3 ? 1 : 2);
        return varColumns <= columns && countSize + mask + varCountSize + offsets <= size;
    }

    // A memo or OLE object: kept after its header in the row, in one row of a long value page, or in a chain
    // of such rows.
    bool readLongValue(const unsigned char* field, int size, QByteArray* out, QString* error)
    {
        out->clear();
        if (size == 0)
            return true;
        if (size < LongValueHeader) {
            *error = QStringLiteral("a long value is cut short");
            return false;
        }
        const quint32 head = u32(field);
        const quint32 length = head & LongValueLengthMask;
        const quint32 kind = head & ~LongValueLengthMask;
        if (length > fileSize) {
            *error = QStringLiteral("a long value claims %1 bytes, more than the whole file").arg(length);
            return false;
        }
        if (kind == LongValueInline) {
            if (qint64(length) > size - LongValueHeader) {
                *error = QStringLiteral("a long value is longer than its row");
                return false;
            }
            *out = QByteArray(reinterpret_cast<const char*>(field + LongValueHeader), length);
            return true;
        }
        if (kind != LongValueOneRow && kind != 0) {
            *error = QStringLiteral("a long value has an unknown form");
            return false;
        }
        quint32 where = u32(field + 4);
        qint64 remaining = length;
        qint64 hops = 0;
        out->reserve(length);
        do {
            const qint64 pageNumber = where >> 8;
            if (pageNumber <= 0 || pageNumber >= pages || ++hops > pages) {
                *error =
                    QStringLiteral("a long value points to page %1, which does not hold it").arg(pageNumber);
                return false;
            }
            void* buffer = nullptr;
            int start = 0;
            size_t rowLength = 0;
            if (mdb_find_pg_row(mdb, int(where), &buffer, &start, &rowLength) != 0 ||
                static_cast<const unsigned char*>(buffer)[0] != DataPage ||
                start + qint64(rowLength) > pageSize) {
                *error = QStringLiteral("a long value on page %1 cannot be read").arg(pageNumber);
                return false;
            }
            const auto* row = static_cast<const unsigned char*>(buffer) + start;
            if (kind == LongValueOneRow) {
                if (qint64(rowLength) < remaining) {
                    *error = QStringLiteral("a long value on page %1 is cut short").arg(pageNumber);
                    return false;
                }
                out->append(reinterpret_cast<const char*>(row), remaining);
                return true;
            }
            if (rowLength < 4) {
                *error = QStringLiteral("a long value on page %1 is cut short").arg(pageNumber);
                return false;
            }
            const qint64 piece = std::min<qint64>(qint64(rowLength) - 4, remaining);
            out->append(reinterpret_cast<const char*>(row + 4), piece);
            remaining -= piece;
            where = u32(row);
        } while (remaining > 0);
        return true;
    }

    bool decode(MdbColumn* column, const MdbField& field, int rowStart, int rowSize, Value* value,
                QString* error)
    {
        *value = Value();
        if (column->col_type == MDB_BOOL) {
            // A Yes/No value is the bit of the row's null mask: set is Yes.
            value->kind = Value::Kind::Boolean;
            value->integer = field.is_null ? 0 : 1;
            return true;
        }
        if (field.is_null)
            return true;
        const int start = field.start;
        const int size = field.siz;
        if (size < 0 || start < rowStart || start + size > rowStart + rowSize) {
            *error = QStringLiteral("the value of field \"%1\" lies outside its row")
                         .arg(QString::fromUtf8(column->name));
            return false;
        }
        const int needed = fixedSize(column->col_type);
        if (needed > 0 && size < needed) {
            *error =
                QStringLiteral("the value of field \"%1\" is cut short").arg(QString::fromUtf8(column->name));
            return false;
        }
        const unsigned char* p = page() + start;
        const QByteArray raw(reinterpret_cast<const char*>(p), size);
        switch (column->col_type) {
        case MDB_BYTE:
            value->kind = Value::Kind::Integer;
            value->integer = p[0];
            return true;
        case MDB_INT:
            value->kind = Value::Kind::Integer;
            value->integer = qint16(u16(p));
            return true;
        case MDB_LONGINT:
            value->kind = Value::Kind::Integer;
            value->integer = qint32(u32(p));
            return true;
        case MDB_MONEY:
            // A scaled 64-bit whole number of ten-thousandths: exact.
            value->kind = Value::Kind::Money;
            value->integer = qint64(u64(p));
            return true;
        case MDB_FLOAT:
            value->kind = Value::Kind::Real;
            value->real = f32(p);
            return true;
        case MDB_DOUBLE:
            value->kind = Value::Kind::Real;
            value->real = f64(p);
            return true;
        case MDB_DATETIME:
            value->kind = Value::Kind::Timestamp;
            value->real = f64(p);
            return true;
        case MDB_TEXT:
            value->kind = Value::Kind::Text;
            value->text = decodeText(raw, format, codePage);
            return true;
        case MDB_MEMO: {
            QByteArray stored;
            if (!readLongValue(p, size, &stored, error)) {
                error->prepend(QStringLiteral("field \"%1\": ").arg(QString::fromUtf8(column->name)));
                return false;
            }
            value->kind = Value::Kind::Text;
            value->text = decodeText(stored, format, codePage);
            return true;
        }
        case MDB_OLE:
            if (!readLongValue(p, size, &value->bytes, error)) {
                error->prepend(QStringLiteral("field \"%1\": ").arg(QString::fromUtf8(column->name)));
                return false;
            }
            value->kind = Value::Kind::Bytes;
            return true;
        case MDB_BINARY:
            value->kind = Value::Kind::Bytes;
            value->bytes = raw;
            return true;
        case MDB_REPID:
            value->kind = Value::Kind::Text;
            value->text = QStringLiteral("{%1%2%3%4-%5%6-%7%8-%9%10-%11}")
                              .arg(p[3], 2, 16, QChar(u'0'))
                              .arg(p[2], 2, 16, QChar(u'0'))
                              .arg(p[1], 2, 16, QChar(u'0'))
                              .arg(p[0], 2, 16, QChar(u'0'))
                              .arg(p[5], 2, 16, QChar(u'0'))
                              .arg(p[4], 2, 16, QChar(u'0'))
                              .arg(p[7], 2, 16, QChar(u'0'))
                              .arg(p[6], 2, 16, QChar(u'0'))
                              .arg(p[8], 2, 16, QChar(u'0'))
                              .arg(p[9], 2, 16, QChar(u'0'))
                              .arg(QString::fromLatin1(raw.mid(10, 6).toHex()))
                              .toUpper();
            return true;
        case MDB_NUMERIC: {
            char* text = mdb_numeric_to_string(mdb, start, column->col_scale, column->col_prec);
            value->kind = Value::Kind::Text;
            value->text = nonNull(QString::fromLatin1(text));
            g_free(text);
            return true;
        }
        default:
            value->kind = Value::Kind::Unsupported;
            value->text = typeName(column->col_type);
            return true;
        }
    }
};

Reader::~Reader() = default;

std::unique_ptr<Reader> Reader::open(const QString& path, QString* error)
{
    const Header header = inspectFile(path);
    const QString name = QFileInfo(path).fileName();
    if (header.size < 0) {
        *error = QStringLiteral("The file %1 cannot be read.").arg(name);
        return {};
    }
    switch (header.format) {
    case Format::Other:
        *error = QStringLiteral("The file %1 is not an Access database.").arg(name);
        return {};
    case Format::Ace:
        *error =
            QStringLiteral("The file %1 is in the format of Access 2007 or later (ACE), which this program "
                           "cannot convert.")
                .arg(name);
        return {};
    case Format::Unknown:
        *error = QStringLiteral("The file %1 is an Access database of an unknown version (%2).")
                     .arg(name)
                     .arg(header.version);
        return {};
    case Format::Jet3:
    case Format::Jet4:
        break;
    }
    if (header.size % header.pageSize != 0) {
        *error =
            QStringLiteral("The file %1 is damaged: its size, %2 bytes, is not a whole number of %3-byte "
                           "pages. It may have been cut short.")
                .arg(name)
                .arg(header.size)
                .arg(header.pageSize);
        return {};
    }
    // The header, the page map and the catalog's definition come first; a database has more.
    if (header.size < 4 * header.pageSize) {
        *error = QStringLiteral("The file %1 is damaged: at %2 bytes it is too short to hold a database.")
                     .arg(name)
                     .arg(header.size);
        return {};
    }

    std::unique_ptr<Reader> reader(new Reader);
    reader->m_header = header;
    reader->d = std::make_unique<Private>();
    Private& p = *reader->d;
    p.mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!p.mdb) {
        *error = QStringLiteral("The file %1 cannot be opened as an Access database.").arg(name);
        return {};
    }
    if (int(p.mdb->f->jet_version) != header.version || p.mdb->fmt->pg_size != header.pageSize) {
        *error = QStringLiteral("The file %1 cannot be opened as an Access database.").arg(name);
        return {};
    }
    p.format = header.format;
    p.codePage = p.mdb->f->code_page;
    p.fileSize = header.size;
    p.pageSize = header.pageSize;
    p.pages = header.size / header.pageSize;
    return reader;
}

bool Reader::readCatalog(Catalog* catalog, QString* error)
{
    *catalog = Catalog();
    // The catalog is the table MSysObjects, whose definition is always on page 2.
    const TableEntry objects{QStringLiteral("MSysObjects"), 2};
    TableData data;
    int id = -1, name = -1, type = -1, flags = -1;
    const auto row = [&](const QList<Value>& values) {
        if (id < 0) {
            for (int i = 0; i < data.columns.size(); ++i) {
                const QString column = data.columns.at(i).name;
                if (column.compare(u"Id", Qt::CaseInsensitive) == 0)
                    id = i;
                else if (column.compare(u"Name", Qt::CaseInsensitive) == 0)
                    name = i;
                else if (column.compare(u"Type", Qt::CaseInsensitive) == 0)
                    type = i;
                else if (column.compare(u"Flags", Qt::CaseInsensitive) == 0)
                    flags = i;
            }
            if (id < 0 || name < 0 || type < 0 || flags < 0)
                return false;
        }
        const QString objectName = values.at(name).text;
        const qint64 objectType = values.at(type).integer;
        const quint32 objectFlags = quint32(values.at(flags).integer);
        const bool hidden =
            objectName.startsWith(u"MSys", Qt::CaseInsensitive) || objectName.startsWith(u'~');
        switch (objectType) {
        case 1: // table
            if (!hidden && !(objectFlags & 0x80000002u))
                catalog->tables.append({objectName, quint32(values.at(id).integer) & 0x00ffffffu});
            break;
        case 4: // linked through ODBC
        case 6: // linked to another Access file
            catalog->linkedTables.append(objectName);
            break;
        case 5:      // query
        case -32768: // form
        case -32766: // macro
        case -32764: // report
        case -32761: // module
            if (!hidden)
                ++catalog->otherObjects;
            break;
        default: // containers, relationships, database properties
            break;
        }
        return true;
    };
    const auto needed = [](const Column& column) {
        for (const char16_t* name : {u"Id", u"Name", u"Type", u"Flags"})
            if (column.name.compare(QStringView(name), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    if (!readTable(objects, &data, needed, row, error))
        return false;
    if (id < 0 && data.declaredRows > 0) {
        *error =
            QStringLiteral("The catalog of the file lacks the fields it must have. The file is damaged.");
        return false;
    }
    return true;
}

bool Reader::readTable(const TableEntry& entry, TableData* data,
                       const std::function<bool(const Column&)>& wanted,
                       const std::function<bool(const QList<Value>&)>& row, QString* error)
{
    Private& p = *d;
    *data = TableData();
    const QString where = QStringLiteral("Table \"%1\"").arg(entry.name);
    if (entry.definitionPage == 0 || entry.definitionPage >= p.pages) {
        *error = QStringLiteral(
                     "%1 is said to start on page %2, which the file does not have. The file is damaged.")
                     .arg(where)
                     .arg(entry.definitionPage);
        return false;
    }
    MdbCatalogEntry catalogEntry;
    std::memset(&catalogEntry, 0, sizeof catalogEntry);
    catalogEntry.mdb = p.mdb;
    catalogEntry.object_type = MDB_TABLE;
    catalogEntry.table_pg = entry.definitionPage;
    const QByteArray utf8 = entry.name.toUtf8().left(MDB_MAX_OBJ_NAME);
    std::memcpy(catalogEntry.object_name, utf8.constData(), size_t(utf8.size()));

    MdbTableDef* table = mdb_read_table(&catalogEntry);
    if (!table) {
        *error = QStringLiteral("%1: its definition cannot be read. The file is damaged.").arg(where);
        return false;
    }
    const std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> owner(table, mdb_free_tabledef);
    // Right after the row count the definition keeps the last counter value handed out.
    data->lastAutoNumber = u32(p.page() + p.mdb->fmt->tab_num_rows_offset + 4);
    data->declaredRows = table->num_rows;
    // The most fields a row may carry: deleted fields stay in old rows, so this only ever grows.
    const int maxColumns = u16(p.page() + p.mdb->fmt->tab_num_cols_offset - 4);
    if (table->num_cols > MDB_MAX_COLS || !mdb_read_columns(table) ||
        table->columns->len != table->num_cols) {
        *error = QStringLiteral("%1: its fields cannot be read. The file is damaged.").arg(where);
        return false;
    }
    QList<MdbColumn*> columns;
    for (guint i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        columns.append(column);
        data->columns.append({QString::fromUtf8(column->name), column->col_type, typeName(column->col_type),
                              column->is_long_auto != 0});
    }

    QList<bool> decoded;
    for (const Column& column : data->columns)
        decoded.append(!wanted || wanted(column));
    std::vector<MdbField> fields(std::max<size_t>(1, table->num_cols));
    QList<Value> values(columns.size());
    QString problem;
    bool stopped = false;

    // The row at index rowIndex of the page in the buffer, cracked into fields and decoded.
    const auto visitRow = [&](int rowIndex) {
        int start = 0, size = 0;
        if (!p.rowBounds(rowIndex, &start, &size, &problem))
            return false;
        // The library trusts the row's own counts when it takes the row apart; they must fit the row.
        int rowColumns = 0;
        if (!p.checkRow(start, size, maxColumns, table->num_var_cols > 0, &rowColumns)) {
            problem = QStringLiteral("row %1 of page %2 does not hold a valid row")
                          .arg(rowIndex)
                          .arg(p.mdb->cur_pg);
            return false;
        }
        std::fill(fields.begin(), fields.end(), MdbField{});
        if (mdb_crack_row(table, start, size_t(size), fields.data()) < 0) {
            problem =
                QStringLiteral("row %1 of page %2 cannot be taken apart").arg(rowIndex).arg(p.mdb->cur_pg);
            return false;
        }
        for (int i = 0; i < columns.size(); ++i) {
            const MdbField& field = fields[size_t(i)];
            if (field.colnum != i) {
                problem = QStringLiteral("row %1 of page %2 cannot be taken apart")
                              .arg(rowIndex)
                              .arg(p.mdb->cur_pg);
                return false;
            }
            if (!decoded.at(i)) {
                values[i] = Value();
                continue;
            }
            // A field added after the row was written has no bit in the row's null mask: it is empty.
            MdbField checked = field;
            if (columns.at(i)->col_num >= rowColumns)
                checked.is_null = 1;
            if (!p.decode(columns.at(i), checked, start, size, &values[i], &problem))
                return false;
        }
        if (!row(values))
            stopped = true;
        return true;
    };

    const auto ownsPageInBuffer = [&]() {
        return p.page()[0] == DataPage && u32(p.page() + 4) == entry.definitionPage;
    };

    const auto visitPage = [&](qint64 pageNumber) {
        if (!p.readPage(pageNumber, &problem))
            return false;
        if (!ownsPageInBuffer())
            return true; // another table's page, or one given back
        const int rco = p.rowCountOffset();
        const int rows = u16(p.page() + rco);
        if (rco + 2 + 2 * rows > p.pageSize) {
            problem = QStringLiteral("page %1 claims more rows than it can hold").arg(pageNumber);
            return false;
        }
        for (int r = 0; r < rows && !stopped; ++r) {
            const quint32 flags = u16(p.page() + rco + 2 + 2 * r);
            if (flags & DeletedRow)
                continue; // deleted, or the new home of a moved row, which is read through its pointer
            if (!(flags & MovedRow)) {
                if (!visitRow(r))
                    return false;
                continue;
            }
            // A moved row: four bytes naming the row (low byte) and page (upper three) that hold it now.
            int start = 0, size = 0;
            if (!p.rowBounds(r, &start, &size, &problem))
                return false;
            if (size < 4) {
                problem = QStringLiteral("row %1 of page %2 is cut short").arg(r).arg(pageNumber);
                return false;
            }
            quint32 target = u32(p.page() + start);
            bool found = false;
            for (int move = 0; move < MaxMoves && !found; ++move) {
                if (!p.readPage(target >> 8, &problem))
                    return false;
                const int targetRow = int(target & 0xff);
                const int targetRows = u16(p.page() + rco);
                if (!ownsPageInBuffer() || targetRow >= targetRows) {
                    problem = QStringLiteral("a moved row of page %1 points to nothing").arg(pageNumber);
                    return false;
                }
                const quint32 targetFlags = u16(p.page() + rco + 2 + 2 * targetRow);
                if (targetFlags & MovedRow) {
                    int s = 0, n = 0;
                    if (!p.rowBounds(targetRow, &s, &n, &problem))
                        return false;
                    if (n < 4) {
                        problem = QStringLiteral("a moved row of page %1 points to nothing").arg(pageNumber);
                        return false;
                    }
                    target = u32(p.page() + s);
                    continue;
                }
                if (!visitRow(targetRow))
                    return false;
                found = true;
            }
            if (!found) {
                problem = QStringLiteral("a moved row of page %1 points in a circle").arg(pageNumber);
                return false;
            }
            if (!p.readPage(pageNumber, &problem))
                return false;
        }
        return true;
    };

    // The table's page map lists its data pages in ascending order.
    gint32 pageNumber = 0;
    bool walked = false;
    while (!stopped) {
        const gint32 next =
            mdb_map_find_next(p.mdb, table->usage_map, guint(table->map_sz), guint32(pageNumber));
        if (next < 0)
            break; // a map of a kind the library does not know: look at every page instead
        walked = true;
        if (next == 0)
            break;
        if (next <= pageNumber) {
            problem = QStringLiteral("its page map goes round in a circle");
            break;
        }
        pageNumber = next;
        if (!visitPage(pageNumber))
            break;
    }
    if (problem.isEmpty() && !walked) {
        for (qint64 n = 1; n < p.pages && !stopped; ++n)
            if (!visitPage(n))
                break;
    }
    if (!problem.isEmpty()) {
        *error = QStringLiteral("%1: %2. The file is damaged.").arg(where, problem);
        return false;
    }
    return true;
}

} // namespace tv::jet
