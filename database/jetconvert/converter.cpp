#include "database/jetconvert/converter.h"

#include "database/jetconvert/jetreader.h"
#include "database/jetconvert/olepicture.h"
#include "database/schema.h"
#include "database/sql.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace tv::jet {

namespace {

constexpr qint64 MoneyScale = 10000;
// Rows between two signs of life within a table: the application ends a converter that stays silent.
constexpr qint64 HeartbeatRows = 5000;
// Amounts in ten-thousandths below this print back exactly from the nearest double: 2^52.
constexpr qint64 ExactMoneyLimit = qint64(1) << 52;

// How the new file's column takes a value, from its declared type.
enum class Affinity { Integer, Boolean, Currency, Real, Text, Blob, Numeric };

Affinity affinityOf(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.contains(u"BOOL"))
        return Affinity::Boolean;
    if (t.contains(u"CURRENCY") || t.contains(u"MONEY"))
        return Affinity::Currency;
    if (t.contains(u"INT"))
        return Affinity::Integer;
    if (t.contains(u"CHAR") || t.contains(u"CLOB") || t.contains(u"TEXT") || t.contains(u"MEMO"))
        return Affinity::Text;
    if (t.isEmpty() || t.contains(u"BLOB"))
        return Affinity::Blob;
    if (t.contains(u"REAL") || t.contains(u"FLOA") || t.contains(u"DOUB"))
        return Affinity::Real;
    return Affinity::Numeric;
}

struct TargetColumn
{
    QString name;
    Affinity affinity = Affinity::Text;
    bool notNull = false;
    QString defaultSql; // the column's default as SQL text, empty when it has none
    bool primaryKey = false;
};

struct TargetTable
{
    QString name;
    QList<TargetColumn> columns;
    bool autoIncrement = false;
};

// Tables that hold only what the user entered: a file that lacks them gets them empty, and they have no rows
// the program requires.
bool withoutRequiredRows(const QString& table)
{
    static const QStringList names = {QStringLiteral("Job Information"), QStringLiteral("Job Items"),
                                      QStringLiteral("PaymentTerms"), QStringLiteral("ShipmentTerms")};
    return names.contains(table, Qt::CaseInsensitive);
}

// Exact money text with four decimals: -1234.5000.
QString moneyText(qint64 units)
{
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / MoneyScale)
        .arg(magnitude % MoneyScale, 4, 10, QChar(u'0'));
}

QString shortestText(double d)
{
    std::array<char, 64> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), d);
    return QString::fromLatin1(text.data(), written.ptr - text.data());
}

// A Jet date: whole days since 30 December 1899, the fraction the time of day (of any sign of the days).
QString timestampText(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return shortestText(days);
    const double whole = std::trunc(days);
    const qint64 seconds = std::llround(std::fabs(days - whole) * 86400.0);
    const QDate date = QDate(1899, 12, 30).addDays(qint64(whole) + seconds / 86400);
    const QTime time = QTime(0, 0).addSecs(int(seconds % 86400));
    const QString day = date.toString(QStringLiteral("MM/dd/yyyy"));
    return time == QTime(0, 0) ? day : day + u' ' + time.toString(QStringLiteral("hh:mm:ss"));
}

// Access keeps Yes as -1; any non-zero number is Yes.
std::optional<int> booleanFromText(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == u"true" || t == u"yes" || t == u"on" || t == u"-1" || t == u"1")
        return 1;
    if (t == u"false" || t == u"no" || t == u"off" || t == u"0")
        return 0;
    return std::nullopt;
}

QString quote(const QString& name)
{
    return db::quoteName(name);
}

class Conversion
{
public:
    Conversion(QString source, QString target, ProgressSink progress, const QString& connection)
        : m_source(std::move(source)), m_target(std::move(target)), m_progress(std::move(progress)),
          m_db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection))
    {}
    ~Conversion()
    {
        if (m_inTransaction)
            m_db.rollback();
        m_db.close();
    }

    bool run(QJsonObject* report, QString* error);

private:
    bool fail(QString* error, const QString& message)
    {
        *error = message;
        return false;
    }
    bool exec(const QString& sql, QString* error, int* affected = nullptr);
    bool readTargetSchema(QString* error);
    bool importTable(const TargetTable& target, const TableEntry& source, QJsonObject* entry, QString* error);
    QVariant sqlValue(const Value& value, const TargetTable& table, const TargetColumn& column,
                      const Column& from);
    void note(const QString& text)
    {
        if (!m_notes.contains(text))
            m_notes.append(text);
    }

    QString m_source;
    QString m_target;
    ProgressSink m_progress;
    std::unique_ptr<Reader> m_reader;
    QSqlDatabase m_db;
    QList<TargetTable> m_tables;
    QJsonArray m_leftOutFields;
    QJsonArray m_missingFields;
    QStringList m_notes;
    QHash<QString, int> m_unreadable; // "table.field (type)" -> values left empty
    int m_defaulted = 0;
    int m_inexactMoney = 0;
    bool m_inTransaction = false;
};

bool Conversion::exec(const QString& sql, QString* error, int* affected)
{
    QSqlQuery q(m_db);
    if (!q.exec(sql)) {
        *error = QStringLiteral("The new database file could not be written: %1").arg(q.lastError().text());
        return false;
    }
    if (affected)
        *affected = q.numRowsAffected();
    return true;
}

bool Conversion::readTargetSchema(QString* error)
{
    QSqlQuery tables(m_db);
    if (!tables.exec(
            QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                           "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid")))
        return fail(error, tables.lastError().text());
    while (tables.next()) {
        TargetTable table;
        table.name = tables.value(0).toString();
        table.autoIncrement = tables.value(1).toString().contains(u"AUTOINCREMENT", Qt::CaseInsensitive);
        QSqlQuery info(m_db);
        if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quote(table.name))))
            return fail(error, info.lastError().text());
        while (info.next()) {
            TargetColumn column;
            column.name = info.value(1).toString();
            column.affinity = affinityOf(info.value(2).toString());
            column.notNull = info.value(3).toInt() != 0;
            column.defaultSql = info.value(4).isNull() ? QString() : info.value(4).toString();
            column.primaryKey = info.value(5).toInt() != 0;
            table.columns.append(column);
        }
        m_tables.append(table);
    }
    return true;
}

QVariant Conversion::sqlValue(const Value& value, const TargetTable& table, const TargetColumn& column,
                              const Column& from)
{
    const Affinity a = column.affinity;
    switch (value.kind) {
    case Value::Kind::Null:
        return QVariant();
    case Value::Kind::Boolean:
        return qint64(value.integer ? 1 : 0);
    case Value::Kind::Integer:
        if (a == Affinity::Boolean)
            return qint64(value.integer != 0 ? 1 : 0);
        return value.integer;
    case Value::Kind::Money:
        if (a == Affinity::Text)
            return moneyText(value.integer);
        if (a == Affinity::Boolean)
            return qint64(value.integer != 0 ? 1 : 0);
        // Whole amounts stay whole numbers; others are the nearest double, which prints back exactly to four
        // decimals for any amount below 450 billion. Beyond that the column cannot keep the last decimals.
        if (value.integer % MoneyScale == 0)
            return value.integer / MoneyScale;
        if (value.integer >= ExactMoneyLimit || value.integer <= -ExactMoneyLimit)
            ++m_inexactMoney;
        return double(value.integer) / double(MoneyScale);
    case Value::Kind::Real:
        if (a == Affinity::Text)
            return shortestText(value.real);
        if (a == Affinity::Boolean)
            return qint64(value.real != 0 ? 1 : 0);
        return value.real;
    case Value::Kind::Timestamp:
        if (a == Affinity::Text || a == Affinity::Blob)
            return timestampText(value.real);
        return value.real;
    case Value::Kind::Text:
        if (a == Affinity::Boolean) {
            if (const auto b = booleanFromText(value.text))
                return qint64(*b);
            if (value.text.trimmed().isEmpty())
                return QVariant();
        }
        return value.text;
    case Value::Kind::Bytes: {
        QByteArray bytes = value.bytes.isNull() ? QByteArray("") : value.bytes;
        if (table.name.compare(u"LogoData", Qt::CaseInsensitive) == 0 &&
            column.name.compare(u"Logo", Qt::CaseInsensitive) == 0) {
            const Picture picture = unwrapPicture(bytes);
            if (!picture.note.isEmpty())
                note(QStringLiteral("Logo: %1.").arg(picture.note));
            bytes = picture.bytes.isNull() ? QByteArray("") : picture.bytes;
        }
        return bytes;
    }
    case Value::Kind::Unsupported:
        ++m_unreadable[QStringLiteral("\"%1\".\"%2\" (%3)").arg(table.name, from.name, value.text)];
        return QVariant();
    }
    return QVariant();
}

bool Conversion::importTable(const TargetTable& target, const TableEntry& source, QJsonObject* entry,
                             QString* error)
{
    // The required rows of a new file, kept aside to put back what the Jet file lacks.
    const bool required = !withoutRequiredRows(target.name);
    const QString fresh = QStringLiteral("temp.%1").arg(quote(QStringLiteral("fresh ") + target.name));
    if (required &&
        !exec(QStringLiteral("CREATE TABLE %1 AS SELECT * FROM main.%2").arg(fresh, quote(target.name)),
              error))
        return false;
    if (!exec(QStringLiteral("DELETE FROM main.%1").arg(quote(target.name)), error))
        return false;

    TableData data;
    QList<int> sourceOf; // for each field of the insert, the index of the Jet field
    QList<int> targetOf; // and of the new file's column
    std::unique_ptr<QSqlQuery> insert;
    qint64 rows = 0;
    qint64 autoNumberColumn = -1;
    QString insertError;

    const auto prepare = [&]() {
        QStringList names, values;
        for (int j = 0; j < data.columns.size(); ++j) {
            const Column& from = data.columns.at(j);
            int match = -1;
            for (int c = 0; c < target.columns.size(); ++c)
                if (target.columns.at(c).name.compare(from.name, Qt::CaseInsensitive) == 0)
                    match = c;
            if (match < 0) {
                m_leftOutFields.append(QJsonObject{{QStringLiteral("table"), target.name},
                                                   {QStringLiteral("field"), from.name},
                                                   {QStringLiteral("type"), from.typeName}});
                continue;
            }
            const TargetColumn& column = target.columns.at(match);
            if (column.primaryKey && from.autoNumber)
                autoNumberColumn = match;
            sourceOf.append(j);
            targetOf.append(match);
            names.append(quote(column.name));
            // A NULL where the column allows none takes the column's default.
            values.append(column.notNull && !column.defaultSql.isEmpty()
                              ? QStringLiteral("COALESCE(?, %1)").arg(column.defaultSql)
                              : QStringLiteral("?"));
        }
        for (int c = 0; c < target.columns.size(); ++c) {
            if (!targetOf.contains(c))
                m_missingFields.append(QJsonObject{{QStringLiteral("table"), target.name},
                                                   {QStringLiteral("field"), target.columns.at(c).name}});
        }
        insert = std::make_unique<QSqlQuery>(m_db);
        const QString sql = names.isEmpty()
                                ? QStringLiteral("INSERT INTO main.%1 DEFAULT VALUES").arg(quote(target.name))
                                : QStringLiteral("INSERT INTO main.%1 (%2) VALUES (%3)")
                                      .arg(quote(target.name), names.join(QStringLiteral(", ")),
                                           values.join(QStringLiteral(", ")));
        if (!insert->prepare(sql)) {
            insertError = insert->lastError().text();
            return false;
        }
        return true;
    };

    bool prepared = false;
    const auto row = [&](const QList<Value>& values) {
        if (!prepared) {
            prepared = true;
            if (!prepare())
                return false;
        }
        if (!insertError.isEmpty())
            return false;
        for (int k = 0; k < sourceOf.size(); ++k) {
            const TargetColumn& column = target.columns.at(targetOf.at(k));
            const QVariant v =
                sqlValue(values.at(sourceOf.at(k)), target, column, data.columns.at(sourceOf.at(k)));
            if (v.isNull() && column.notNull && !column.defaultSql.isEmpty())
                ++m_defaulted;
            insert->bindValue(k, v);
        }
        if (!insert->exec()) {
            insertError = QStringLiteral("row %1: %2").arg(rows + 1).arg(insert->lastError().text());
            return false;
        }
        ++rows;
        if (rows % HeartbeatRows == 0 && m_progress)
            m_progress(QJsonObject{{QStringLiteral("table"), target.name}, {QStringLiteral("rows"), rows}});
        return true;
    };

    // Fields the program does not know are not even decoded: damage there cannot stop the conversion.
    const auto known = [&](const Column& from) {
        for (const TargetColumn& column : target.columns)
            if (column.name.compare(from.name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    QString readError;
    if (!m_reader->readTable(source, &data, known, row, &readError))
        return fail(error, readError);
    if (!prepared && !prepare())
        return fail(error,
                    QStringLiteral("Table \"%1\" could not be written: %2").arg(target.name, insertError));
    if (!insertError.isEmpty())
        return fail(error,
                    QStringLiteral("Table \"%1\" could not be written, %2").arg(target.name, insertError));

    // Fewer rows than the table's definition counts means pages were lost; more happens when Access was not
    // closed properly and is what Access itself shows.
    if (rows < data.declaredRows)
        return fail(error,
                    QStringLiteral("Table \"%1\" should hold %2 rows, but only %3 can be read. The file is "
                                   "damaged.")
                        .arg(source.name)
                        .arg(data.declaredRows)
                        .arg(rows));
    if (rows > data.declaredRows)
        note(QStringLiteral(
                 "Table \"%1\" held %2 rows where its definition counted %3; all were carried over.")
                 .arg(target.name)
                 .arg(rows)
                 .arg(data.declaredRows));

    // Required rows the Jet file lacks: by record number where the table has one, else the whole set when
    // the table came empty.
    int added = 0;
    if (required) {
        bool keyed = false;
        for (const TargetColumn& column : target.columns)
            keyed = keyed || column.name.compare(u"RecordNo", Qt::CaseInsensitive) == 0;
        const QString sql =
            keyed
                ? QStringLiteral("INSERT INTO main.%1 SELECT * FROM %2 WHERE [RecordNo] NOT IN "
                                 "(SELECT [RecordNo] FROM main.%1 WHERE [RecordNo] IS NOT NULL)")
                      .arg(quote(target.name), fresh)
                : (rows == 0
                       ? QStringLiteral("INSERT INTO main.%1 SELECT * FROM %2").arg(quote(target.name), fresh)
                       : QString());
        if (!sql.isEmpty() && !exec(sql, error, &added))
            return false;
        if (!exec(QStringLiteral("DROP TABLE %1").arg(fresh), error))
            return false;
    }

    if (target.autoIncrement) {
        // The next counter value continues after the highest row, or after the last one Access handed out
        // when that is higher (the job was deleted), so that no job number printed on paper is given twice.
        QString key;
        for (const TargetColumn& column : target.columns)
            if (column.primaryKey)
                key = quote(column.name);
        const qint64 last = autoNumberColumn >= 0 && data.lastAutoNumber <= std::numeric_limits<qint32>::max()
                                ? data.lastAutoNumber
                                : 0;
        const QString name = QString(target.name).replace(u'\'', QStringLiteral("''"));
        if (!key.isEmpty() &&
            (!exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(name), error) ||
             !exec(
                 QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT '%1', max(%2, ifnull((SELECT "
                                "max(%3) FROM main.%4), 0))")
                     .arg(name)
                     .arg(last)
                     .arg(key, quote(target.name)),
                 error)))
            return false;
    }

    entry->insert(QStringLiteral("source"), source.name);
    entry->insert(QStringLiteral("sourceRows"), rows);
    entry->insert(QStringLiteral("added"), added);
    return true;
}

bool Conversion::run(QJsonObject* report, QString* error)
{
    m_reader = Reader::open(m_source, error);
    if (!m_reader)
        return false;
    Catalog catalog;
    if (!m_reader->readCatalog(&catalog, error))
        return false;

    if (QFileInfo::exists(m_target))
        return fail(error,
                    QStringLiteral("The file %1 is in the way of the new database file.").arg(m_target));
    QString schemaError;
    if (!db::schema::prepareFile(m_target, &schemaError))
        return fail(error, QStringLiteral("The new database file could not be made: %1").arg(schemaError));
    m_db.setDatabaseName(m_target);
    if (!m_db.open())
        return fail(
            error,
            QStringLiteral("The new database file could not be opened: %1").arg(m_db.lastError().text()));
    if (!readTargetSchema(error))
        return false;
    if (!m_db.transaction())
        return fail(error, m_db.lastError().text());
    m_inTransaction = true;

    // The Jet file's tables by name; the engine matched names without regard to case.
    QHash<QString, TableEntry> sources;
    for (const TableEntry& t : catalog.tables)
        sources.insert(t.name.toCaseFolded(), t);

    QJsonArray tables;
    int done = 0;
    for (const TargetTable& target : m_tables) {
        QJsonObject entry{{QStringLiteral("name"), target.name},
                          {QStringLiteral("source"), QString()},
                          {QStringLiteral("sourceRows"), 0},
                          {QStringLiteral("added"), 0}};
        const auto found = sources.constFind(target.name.toCaseFolded());
        if (found != sources.constEnd()) {
            if (!importTable(target, *found, &entry, error))
                return false;
            sources.remove(found.key());
        } else if (withoutRequiredRows(target.name)) {
            if (!exec(QStringLiteral("DELETE FROM main.%1").arg(quote(target.name)), error))
                return false;
            if (target.autoIncrement &&
                !exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'")
                          .arg(QString(target.name).replace(u'\'', QStringLiteral("''"))),
                      error))
                return false;
        }
        QSqlQuery count(m_db);
        if (!count.exec(QStringLiteral("SELECT count(*) FROM main.%1").arg(quote(target.name))) ||
            !count.next())
            return fail(error, count.lastError().text());
        const qint64 rows = count.value(0).toLongLong();
        // Every row read must be in the new table, with the required rows added to them.
        if (!entry.value(QStringLiteral("source")).toString().isEmpty() &&
            rows != entry.value(QStringLiteral("sourceRows")).toInteger() +
                        entry.value(QStringLiteral("added")).toInteger())
            return fail(error, QStringLiteral("Table \"%1\": %2 rows were read but %3 are in the new file.")
                                   .arg(target.name)
                                   .arg(entry.value(QStringLiteral("sourceRows")).toInteger())
                                   .arg(rows));
        entry.insert(QStringLiteral("rows"), rows);
        tables.append(entry);
        ++done;
        if (m_progress)
            m_progress(QJsonObject{{QStringLiteral("table"), target.name},
                                   {QStringLiteral("done"), done},
                                   {QStringLiteral("total"), int(m_tables.size())}});
    }

    // What is left of the Jet file's tables, the program does not know: counted, not carried over.
    QJsonArray leftOutTables;
    for (const TableEntry& t : catalog.tables) {
        if (!sources.contains(t.name.toCaseFolded()))
            continue;
        qint64 rows = 0;
        TableData data;
        QString readError;
        const auto nothing = [](const Column&) { return false; };
        const auto counted = [&](const QList<Value>&) { return ++rows, true; };
        if (!m_reader->readTable(t, &data, nothing, counted, &readError))
            rows = data.declaredRows;
        leftOutTables.append(QJsonObject{{QStringLiteral("name"), t.name}, {QStringLiteral("rows"), rows}});
    }

    if (!m_db.commit())
        return fail(
            error,
            QStringLiteral("The new database file could not be written: %1").arg(m_db.lastError().text()));
    m_inTransaction = false;

    for (auto it = m_unreadable.constBegin(); it != m_unreadable.constEnd(); ++it)
        note(QStringLiteral("%1 value(s) of %2 could not be carried over and were left empty.")
                 .arg(it.value())
                 .arg(it.key()));
    if (m_inexactMoney > 0)
        note(QStringLiteral("%1 amount(s) of money above 450 billion keep fewer than four exact decimals.")
                 .arg(m_inexactMoney));
    if (m_defaulted > 0)
        note(QStringLiteral("%1 empty value(s) in fields that must have one took the field's default.")
                 .arg(m_defaulted));

    *report = QJsonObject{
        {QStringLiteral("format"), formatName(m_reader->format())},
        {QStringLiteral("tables"), tables},
        {QStringLiteral("leftOutTables"), leftOutTables},
        {QStringLiteral("linkedTables"), QJsonArray::fromStringList(catalog.linkedTables)},
        {QStringLiteral("otherObjects"), catalog.otherObjects},
        {QStringLiteral("leftOutFields"), m_leftOutFields},
        {QStringLiteral("missingFields"), m_missingFields},
        {QStringLiteral("notes"), QJsonArray::fromStringList(m_notes)},
    };
    return true;
}

void removeFile(const QString& path)
{
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(path + suffix);
}

} // namespace

bool convert(const QString& source, const QString& target, const ProgressSink& progress, QJsonObject* report,
             QString* error)
{
    const QString connection =
        QStringLiteral("tv-jetconvert-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    const bool targetExisted = QFileInfo::exists(target);
    bool ok = false;
    {
        // The connection lives in the conversion; it is closed before the file is removed or handed over.
        Conversion conversion(source, target, progress, connection);
        ok = conversion.run(report, error);
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok && !targetExisted)
        removeFile(target);
    return ok;
}

} // namespace tv::jet
