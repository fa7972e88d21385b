#pragma once

#include "database/connection.h"
#include "database/rowstore.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace tv::db {

// A record set over a table name or a "Select * from <table> ..." text, with a current row and an edit
// buffer. Rows are fetched completely when the set opens, so that no statement stays open against the file
// and other connections can always write. A result of more than PagedAbove rows is read in blocks instead,
// each block when one of its rows is first asked for (as the table stands then), and is counted only when its
// size is first needed, so that a set over a large table opens at once. Rows are saved back to their table; a
// row without a key is found again by its stored values. Several bindings may share one record set and so one
// current row.
class RecordSet : public QObject
{
    Q_OBJECT
public:
    enum class FieldKind { Text, Integer, Real, Currency, Boolean, Blob };

    static std::shared_ptr<RecordSet> open(ConnectionPtr connection, const QString& source,
                                           QString* error = nullptr);
    ~RecordSet() override;

    ConnectionPtr connection() const { return m_connection; }
    QString source() const { return m_source; }
    QString table() const { return m_table; }

    // Results above this size are read in blocks of PageSize rows.
    static constexpr int PagedAbove = 1000;
    static constexpr int PageSize = 256;
    bool isPaged() const { return m_paged; }
    // How many rows have been read from the file so far.
    int fetchedCount() const { return m_fetched; }
    // Whether the number of rows is known without asking the file, and how many rows are known so far.
    bool isCountKnown() const { return m_countKnown; }
    int knownCount() const { return m_rows.size(); }

    // Counts a large result the first time it is asked.
    int count() const;
    bool isEmpty() const { return m_rows.isEmpty(); }
    bool bof() const { return m_position < 0 || m_rows.isEmpty(); }
    bool eof() const;
    bool hasCurrent() const { return m_new || (m_position >= 0 && m_position < m_rows.size()); }
    int position() const { return m_position; }

    // Moving first saves the pending edits of the row being left; a failed save stays on the row.
    bool moveFirst(QString* error = nullptr) { return moveTo(0, error); }
    bool moveLast(QString* error = nullptr) { return moveTo(count() - 1, error); }
    bool moveNext(QString* error = nullptr);
    bool movePrevious(QString* error = nullptr);
    bool moveTo(int row, QString* error = nullptr);

    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString& name) const; // without regard to letter case
    FieldKind fieldKind(int index) const;
    FieldKind fieldKind(const QString& name) const { return fieldKind(fieldIndex(name)); }

    // The current row as edited so far.
    QVariant value(const QString& field) const;
    QVariant value(int index) const;
    QVariant valueAt(int row, int index) const;

    // Writes into the edit buffer of the current row (begins editing if needed). False for an unknown field
    // or when there is no current row.
    bool setValue(const QString& field, const QVariant& value);
    void edit() {}
    // Saves pending edits, then begins an empty new row that update() appends to the table.
    bool addNew(QString* error = nullptr);
    bool isNew() const { return m_new; }
    bool isDirty() const { return m_new || !m_changed.isEmpty(); }
    // Lets bound controls put their edits into the buffer before a save or a move.
    void collectEdits() { emit aboutToSave(); }
    // Writes the buffer to the table: inserts a new row or updates the current one. Numbers are checked here,
    // since SQLite would keep any text in a numeric column.
    bool update(QString* error = nullptr);
    void cancelUpdate();
    bool deleteCurrent(QString* error = nullptr);
    // Reads the source again, staying on the same position where it still exists.
    bool requery(QString* error = nullptr);

    // Converts control text for a field of the given kind; false with a message when it is no number.
    static bool convertText(const QString& text, FieldKind kind, QVariant* out, QString* error);

signals:
    void aboutToSave();     // bound controls copy their edits into the buffer now
    void currentChanged();  // another row (or a new one) is current, or its values were reloaded
    void rowsReset();       // rows were read again
    void rowSaved(int row); // a row was written back
    // A large result was counted: rows beyond those known so far join the set.
    void rowsAboutToBeAppended(int first, int last);
    void rowsAppended();

private:
    RecordSet(ConnectionPtr connection, QString source);
    bool load(QString* error);
    bool saveIfDirty(QString* error);
    bool locateRowid(const QVariantList& row, qint64* rowid, QString* error) const;
    // The row at a position, read from the file with its block if it has not been read yet.
    const QVariantList& rowAt(int row) const;
    bool fetchBlock(int block, QString* error) const;
    QString countStatement() const;
    void ensureCount() const;
    // Rows this set has written keep their place here while their place in the file's order may change;
    // blocks read later leave them out, so that the rows not read yet stay in step with the file.
    void noteWritten(int position, qint64 rowid);
    QString blockStatement(int* excludedBefore, int blockStart) const;
    bool readRow(qint64 rowid, QVariantList* row, QString* error) const;

    ConnectionPtr m_connection;
    QString m_source;
    QString m_table;
    QString m_select;
    QStringList m_fields;
    QList<FieldKind> m_kinds;
    mutable RowStore m_rows;
    mutable int m_fetched = 0;
    mutable bool m_countKnown = true;
    bool m_paged = false;
    struct Written
    {
        int position;
        qint64 rowid;
    };
    QList<Written> m_written;
    int m_position = -1;
    QVariantList m_buffer;
    QList<int> m_changed;
    bool m_new = false;
    int m_positionBeforeNew = -1;
};

using RecordSetPtr = std::shared_ptr<RecordSet>;

} // namespace tv::db
