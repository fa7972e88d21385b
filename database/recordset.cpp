#include "database/recordset.h"

#include "database/sql.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace tv::db {

namespace {

const QString NoCurrentRow = QStringLiteral("No current record.");

RecordSet::FieldKind kindOfDeclared(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.contains(u"CURRENCY"))
        return RecordSet::FieldKind::Currency;
    if (t.contains(u"BOOL"))
        return RecordSet::FieldKind::Boolean;
    if (t.contains(u"INT"))
        return RecordSet::FieldKind::Integer;
    if (t.contains(u"REAL") || t.contains(u"DOUB") || t.contains(u"FLOA") || t.contains(u"NUM"))
        return RecordSet::FieldKind::Real;
    if (t.contains(u"BLOB") || t.isEmpty())
        return t.isEmpty() ? RecordSet::FieldKind::Text : RecordSet::FieldKind::Blob;
    return RecordSet::FieldKind::Text;
}

// A statement without the semicolon that may end it, ready for a LIMIT or to be used as a subquery.
QString pageStatementBase(QString statement)
{
    statement = statement.trimmed();
    while (statement.endsWith(u';'))
        statement = statement.chopped(1).trimmed();
    return statement;
}

QString baseTable(const QString& source, bool* isTable)
{
    static const QRegularExpression fromTable(
        QStringLiteral(R"(^\s*select\s.*?\sfrom\s+(\[[^\]]+\]|[\w#]+))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto match = fromTable.match(source);
    *isTable = !match.hasMatch();
    QString name = *isTable ? source.trimmed() : match.captured(1);
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2);
    return name;
}

} // namespace

RecordSet::RecordSet(ConnectionPtr connection, QString source)
    : m_connection(std::move(connection)), m_source(std::move(source))
{}

RecordSet::~RecordSet() = default;

std::shared_ptr<RecordSet> RecordSet::open(ConnectionPtr connection, const QString& source, QString* error)
{
    if (!connection) {
        if (error)
            *error = QStringLiteral("The database is not open.");
        return {};
    }
    std::shared_ptr<RecordSet> set(new RecordSet(std::move(connection), source));
    bool isTable = false;
    set->m_table = baseTable(source, &isTable);
    // A table name opens as all of its rows in stored order; an SQL text is issued as written.
    set->m_select = isTable ? QStringLiteral("SELECT * FROM %1").arg(quoteName(set->m_table)) : source;
    if (!set->load(error))
        return {};
    set->m_position = set->m_rows.isEmpty() ? -1 : 0;
    return set;
}

bool RecordSet::load(QString* error)
{
    QSqlDatabase db = m_connection->database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(m_select)) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    const QSqlRecord record = query.record();
    QStringList fields;
    for (int i = 0; i < record.count(); ++i)
        fields.append(record.fieldName(i));
    QList<QVariantList> rows;
    bool more = false;
    while (query.next()) {
        if (rows.size() == PagedAbove) {
            more = true;
            break;
        }
        QVariantList row;
        row.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row.append(query.value(i));
        rows.append(row);
    }
    if (!more && query.lastError().isValid()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    query.finish();
    const int fetched = int(rows.size());

    if (fields != m_fields) {
        m_fields = fields;
        m_kinds.clear();
        QHash<QString, QString> declared;
        QSqlQuery info(db);
        if (info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(m_table))))
            while (info.next())
                declared.insert(info.value(1).toString().toLower(), info.value(2).toString());
        for (const QString& f : m_fields)
            m_kinds.append(kindOfDeclared(declared.value(f.toLower())));
    }
    // A large result is counted, and the rest read block by block, only when asked for.
    m_rows.reset(std::move(rows));
    m_fetched = fetched;
    m_paged = more;
    m_countKnown = !more;
    m_written.clear();
    return true;
}

void RecordSet::ensureCount() const
{
    if (m_countKnown)
        return;
    m_countKnown = true;
    QSqlQuery query(m_connection->database());
    if (!query.exec(countStatement()) || !query.next()) {
        qWarning("Counting the rows of %s failed: %s", qPrintable(m_source),
                 qPrintable(query.lastError().text()));
        return;
    }
    const int known = m_rows.size();
    const int total = query.value(0).toInt();
    if (total <= known)
        return;
    auto* self = const_cast<RecordSet*>(this);
    emit self->rowsAboutToBeAppended(known, total - 1);
    m_rows.extendTo(total, PageSize);
    emit self->rowsAppended();
}

int RecordSet::count() const
{
    ensureCount();
    return m_rows.size();
}

bool RecordSet::eof() const
{
    if (m_rows.isEmpty())
        return true;
    if (m_position < m_rows.size())
        return false;
    ensureCount();
    return m_position >= m_rows.size();
}

namespace {

// "Select * from <table> [where <condition>] [order by <fields>]": the table, the condition and the ordering.
const QRegularExpression& selectShape()
{
    static const QRegularExpression shape(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+(\[[^\]]+\]|[\w#]+)(?:\s+where\s+(.+?))?)"
                       R"((\s+order\s+by\s+(?:\[[^\]]+\]|[\w#]+)(?:\s+(?:asc|desc))?)"
                       R"((?:\s*,\s*(?:\[[^\]]+\]|[\w#]+)(?:\s+(?:asc|desc))?)*)?\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return shape;
}

} // namespace

QString RecordSet::countStatement() const
{
    // Counted without the ordering, which lets the engine count an index instead of walking the rows in
    // order.
    const auto match = selectShape().match(m_select);
    if (match.hasMatch())
        return QStringLiteral("SELECT count(*) FROM %1").arg(match.captured(1)) +
               (match.captured(2).isEmpty() ? QString() : QStringLiteral(" WHERE ") + match.captured(2));
    return QStringLiteral("SELECT count(*) FROM (%1)").arg(pageStatementBase(m_select));
}

QString RecordSet::blockStatement(int* excludedBefore, int blockStart) const
{
    *excludedBefore = 0;
    const auto match = selectShape().match(m_select);
    if (!m_written.isEmpty() && match.hasMatch()) {
        QStringList rowids;
        for (const Written& w : m_written) {
            rowids.append(QString::number(w.rowid));
            if (w.position < blockStart)
                ++*excludedBefore;
        }
        QString text = QStringLiteral("SELECT * FROM %1 WHERE rowid NOT IN (%2)")
                           .arg(match.captured(1), rowids.join(u','));
        if (!match.captured(2).isEmpty())
            text += QStringLiteral(" AND (%1)").arg(match.captured(2));
        return text + match.captured(3) + QStringLiteral(" LIMIT ? OFFSET ?");
    }
    static const QRegularExpression hasLimit(QStringLiteral(R"(\blimit\s+\d+(\s*(,|offset)\s*\d+)?\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString base = pageStatementBase(m_select);
    return hasLimit.match(base).hasMatch() ? QStringLiteral("SELECT * FROM (%1) LIMIT ? OFFSET ?").arg(base)
                                           : base + QStringLiteral(" LIMIT ? OFFSET ?");
}

void RecordSet::noteWritten(int position, qint64 rowid)
{
    if (!m_paged)
        return;
    for (Written& w : m_written)
        if (w.rowid == rowid) {
            w.position = position;
            return;
        }
    m_written.append({position, rowid});
}

const QVariantList& RecordSet::rowAt(int row) const
{
    if (row >= 0 && row < m_rows.size() && !m_rows.isRead(row)) {
        QString error;
        if (!fetchBlock(m_rows.blockOf(row), &error))
            qWarning("Reading rows of %s failed: %s", qPrintable(m_source), qPrintable(error));
    }
    return m_rows.at(row);
}

bool RecordSet::fetchBlock(int block, QString* error) const
{
    const int start = m_rows.blockStart(block);
    int excludedBefore = 0;
    const QString text = blockStatement(&excludedBefore, start);
    const int size = m_rows.blockSize(block);
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(text);
    query.addBindValue(size);
    query.addBindValue(start - excludedBefore);
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    const int columns = int(m_fields.size());
    QList<QVariantList> rows;
    rows.reserve(size);
    while (rows.size() < size && query.next()) {
        QVariantList values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            values.append(query.value(i));
        rows.append(values);
    }
    m_fetched += size;
    m_rows.fillBlock(block, std::move(rows), columns);
    return true;
}

int RecordSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

RecordSet::FieldKind RecordSet::fieldKind(int index) const
{
    return index >= 0 && index < m_kinds.size() ? m_kinds.at(index) : FieldKind::Text;
}

QVariant RecordSet::value(const QString& field) const
{
    return value(fieldIndex(field));
}

QVariant RecordSet::value(int index) const
{
    if (index < 0 || index >= m_fields.size() || !hasCurrent())
        return {};
    if (m_new || m_changed.contains(index))
        return m_buffer.value(index);
    return rowAt(m_position).value(index);
}

QVariant RecordSet::valueAt(int row, int index) const
{
    if (row == m_position && !m_new)
        return value(index);
    if (row >= m_rows.size())
        ensureCount(); // a row past those known so far
    if (row < 0 || row >= m_rows.size() || index < 0 || index >= m_fields.size())
        return {};
    return rowAt(row).value(index);
}

bool RecordSet::setValue(const QString& field, const QVariant& value)
{
    const int index = fieldIndex(field);
    if (index < 0 || !hasCurrent())
        return false;
    if (m_buffer.size() != m_fields.size()) {
        m_buffer = m_new ? QVariantList(m_fields.size()) : rowAt(m_position);
        m_buffer.resize(m_fields.size());
    }
    m_buffer[index] = value;
    if (!m_changed.contains(index))
        m_changed.append(index);
    return true;
}

bool RecordSet::saveIfDirty(QString* error)
{
    emit aboutToSave();
    if (m_new && m_changed.isEmpty()) {
        // A new row left without any value typed is dropped, as a data control drops it.
        m_new = false;
        m_buffer.clear();
        m_position = m_positionBeforeNew;
        return true;
    }
    if (!isDirty())
        return true;
    return update(error);
}

bool RecordSet::moveTo(int row, QString* error)
{
    if (!saveIfDirty(error))
        return false;
    if (m_rows.isEmpty())
        m_position = -1;
    else
        // Only a move past the rows known so far needs the result counted.
        m_position = std::clamp(row, -1, row < m_rows.size() ? m_rows.size() : count());
    emit currentChanged();
    return true;
}

bool RecordSet::moveNext(QString* error)
{
    if (eof() && !m_rows.isEmpty())
        return moveTo(count(), error);
    return moveTo(m_position + 1, error);
}

bool RecordSet::movePrevious(QString* error)
{
    return moveTo(m_position - 1, error);
}

bool RecordSet::addNew(QString* error)
{
    if (!saveIfDirty(error))
        return false;
    m_positionBeforeNew = m_position;
    m_new = true;
    m_buffer = QVariantList(m_fields.size());
    m_changed.clear();
    emit currentChanged();
    return true;
}

void RecordSet::cancelUpdate()
{
    const bool wasNew = m_new;
    m_new = false;
    m_buffer.clear();
    m_changed.clear();
    if (wasNew)
        m_position = m_positionBeforeNew;
    emit currentChanged();
}

bool RecordSet::convertText(const QString& text, FieldKind kind, QVariant* out, QString* error)
{
    const QString t = text.trimmed();
    if (kind == FieldKind::Text) {
        *out = text;
        return true;
    }
    if (kind == FieldKind::Blob) {
        *out = text.toUtf8();
        return true;
    }
    if (t.isEmpty()) {
        *out = QVariant();
        return true;
    }
    if (kind == FieldKind::Boolean) {
        const QString l = t.toLower();
        if (l == u"true" || l == u"yes" || l == u"on") {
            *out = 1;
            return true;
        }
        if (l == u"false" || l == u"no" || l == u"off") {
            *out = 0;
            return true;
        }
    }
    QString digits = t;
    digits.remove(u',');
    if (kind == FieldKind::Currency && digits.startsWith(u'$'))
        digits.remove(0, 1);
    bool ok = false;
    const double number = digits.toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a number.").arg(text);
        return false;
    }
    switch (kind) {
    case FieldKind::Integer:
        if (std::fabs(number) > 2147483647.0) {
            if (error)
                *error = QStringLiteral("\"%1\" is too large.").arg(text);
            return false;
        }
        *out = qint64(std::llround(number));
        break;
    case FieldKind::Boolean:
        *out = number != 0 ? 1 : 0;
        break;
    case FieldKind::Currency:
        // Four decimals are the stored scale of money.
        *out = double(std::llround(number * 10000.0)) / 10000.0;
        break;
    default:
        *out = number;
    }
    return true;
}

bool RecordSet::locateRowid(const QVariantList& row, qint64* rowid, QString* error) const
{
    QStringList conditions;
    for (const QString& f : m_fields)
        conditions.append(QStringLiteral("%1 IS ?").arg(quoteName(f)));
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2 LIMIT 1")
                      .arg(quoteName(m_table), conditions.join(QStringLiteral(" AND "))));
    for (const QVariant& v : row)
        query.addBindValue(v);
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    if (!query.next()) {
        if (error)
            *error =
                QStringLiteral("The row was changed or deleted by another window. Refresh and try again.");
        return false;
    }
    *rowid = query.value(0).toLongLong();
    return true;
}

bool RecordSet::readRow(qint64 rowid, QVariantList* row, QString* error) const
{
    QStringList columns;
    for (const QString& f : m_fields)
        columns.append(quoteName(f));
    QSqlQuery query(m_connection->database());
    query.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columns.join(u','), quoteName(m_table)));
    query.addBindValue(rowid);
    if (!query.exec() || !query.next()) {
        if (error)
            *error = query.lastError().isValid() ? query.lastError().text()
                                                 : QStringLiteral("The saved row could not be read back.");
        return false;
    }
    row->clear();
    for (int i = 0; i < m_fields.size(); ++i)
        row->append(query.value(i));
    return true;
}

bool RecordSet::update(QString* error)
{
    if (!hasCurrent()) {
        if (error)
            *error = NoCurrentRow;
        return false;
    }
    if (!isDirty())
        return true;

    // Control text arrives as strings: numbers are checked and converted before anything is written.
    QVariantList values = m_buffer;
    for (int index : std::as_const(m_changed)) {
        const QVariant v = values.at(index);
        if (v.typeId() == QMetaType::QString && fieldKind(index) != FieldKind::Text) {
            QVariant converted;
            QString why;
            if (!convertText(v.toString(), fieldKind(index), &converted, &why)) {
                if (error)
                    *error = QStringLiteral("%1 %2 must be a number.").arg(why, m_fields.at(index));
                return false;
            }
            values[index] = converted;
        } else if (v.typeId() == QMetaType::Bool) {
            values[index] = v.toBool() ? 1 : 0;
        }
    }

    QSqlDatabase db = m_connection->database();
    qint64 rowid = 0;
    if (m_new) {
        // Counted before the row is written, so that it joins the set once, after every row of the result.
        ensureCount();
        QStringList columns, marks;
        for (int index : std::as_const(m_changed)) {
            columns.append(quoteName(m_fields.at(index)));
            marks.append(QStringLiteral("?"));
        }
        QSqlQuery insert(db);
        insert.prepare(columns.isEmpty()
                           ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(m_table))
                           : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(quoteName(m_table), columns.join(u','), marks.join(u',')));
        for (int index : std::as_const(m_changed))
            insert.addBindValue(values.at(index));
        if (!insert.exec()) {
            if (error)
                *error = insert.lastError().text();
            return false;
        }
        rowid = insert.lastInsertId().toLongLong();
        QVariantList stored;
        if (!readRow(rowid, &stored, error))
            return false;
        m_rows.append(stored);
        noteWritten(m_rows.size() - 1, rowid);
        m_new = false;
        m_buffer.clear();
        m_changed.clear();
        // As with the design's data controls, the row that was current before the new one stays current;
        // the new row is the last row of the set.
        m_position = (m_positionBeforeNew >= 0 && m_positionBeforeNew < count() - 1) ? m_positionBeforeNew
                                                                                     : count() - 1;
        emit rowSaved(count() - 1);
        emit rowsReset();
        emit currentChanged();
        return true;
    }

    if (!locateRowid(rowAt(m_position), &rowid, error))
        return false;
    QStringList assignments;
    for (int index : std::as_const(m_changed))
        assignments.append(QStringLiteral("%1 = ?").arg(quoteName(m_fields.at(index))));
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                      .arg(quoteName(m_table), assignments.join(QStringLiteral(", "))));
    for (int index : std::as_const(m_changed))
        query.addBindValue(values.at(index));
    query.addBindValue(rowid);
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    QVariantList stored;
    if (!readRow(rowid, &stored, error))
        return false;
    m_rows.set(m_position, stored);
    noteWritten(m_position, rowid);
    m_buffer.clear();
    m_changed.clear();
    emit rowSaved(m_position);
    return true;
}

bool RecordSet::deleteCurrent(QString* error)
{
    if (m_new) {
        cancelUpdate();
        return true;
    }
    ensureCount(); // the row after the deleted one may not be known yet
    if (m_position < 0 || m_position >= count()) {
        if (error)
            *error = NoCurrentRow;
        return false;
    }
    qint64 rowid = 0;
    if (!locateRowid(rowAt(m_position), &rowid, error))
        return false;
    QSqlQuery query(m_connection->database());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteName(m_table)));
    query.addBindValue(rowid);
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    m_rows.removeAt(m_position);
    for (qsizetype i = m_written.size() - 1; i >= 0; --i) {
        if (m_written.at(i).position == m_position)
            m_written.removeAt(i);
        else if (m_written.at(i).position > m_position)
            --m_written[i].position;
    }
    m_buffer.clear();
    m_changed.clear();
    if (m_position >= count())
        m_position = count() - 1;
    emit rowsReset();
    emit currentChanged();
    return true;
}

bool RecordSet::requery(QString* error)
{
    if (!saveIfDirty(error))
        return false;
    if (!load(error))
        return false;
    m_new = false;
    m_buffer.clear();
    m_changed.clear();
    if (m_rows.isEmpty())
        m_position = -1;
    else
        m_position = std::clamp(m_position, 0, (m_position < m_rows.size() ? m_rows.size() : count()) - 1);
    emit rowsReset();
    emit currentChanged();
    return true;
}

} // namespace tv::db
