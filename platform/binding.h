#pragma once

#include "database/recordset.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

class QLabel;
class QWidget;

namespace tv {

// A data control: one connection, one record set over a table or an SQL text, a current row and the controls
// bound to fields of that row. Controls show the row's values; their edits are written into the row when the
// binding saves it, which it does itself when the user moves to another row or the window unloads. Errors
// met in that automatic work, and in the operations below, are shown with the engine's message; the
// operation then returns false and the program goes on.
class Binding : public QObject
{
    Q_OBJECT
public:
    Binding(QObject* parent, const QString& name);
    ~Binding() override;

    void setDatabaseName(const QString& path) { m_databaseName = path; }
    QString databaseName() const { return m_databaseName; }
    void setRecordSource(const QString& source) { m_recordSource = source; }
    QString recordSource() const { return m_recordSource; }

    // Opens (or reopens) the connection and the record set.
    bool open();
    bool isOpen() const { return m_recordset != nullptr; }
    // Releases record set and connection; with save, pending edits of the current row are saved first.
    void close(bool save);

    db::RecordSetPtr recordset() const { return m_recordset; }
    db::ConnectionPtr connection() const { return m_connection; }
    // Takes over another binding's record set, so that both show and edit the same current row.
    void setRecordset(db::RecordSetPtr recordset);

    // Bound controls: line edits, plain and rich text edits, combo boxes (their text), check boxes,
    // labels (read-only text) and spin boxes.
    void bind(QWidget* control, const QString& field);
    // A label showing the picture stored in a field (bytes of any image format Qt reads).
    void bindPicture(QLabel* label, const QString& field);
    // Changes a bound picture; it is saved with the row like any edited control.
    static void setPicture(QLabel* label, const QByteArray& bytes);
    static QByteArray pictureBytes(const QLabel* label);

    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool moveTo(int row);
    bool addNew();
    // Saves the current row with the values of its bound controls.
    bool updateRecord();
    bool refresh();
    bool deleteCurrent();
    void cancelUpdate();

    bool bof() const { return !m_recordset || m_recordset->bof(); }
    bool eof() const { return !m_recordset || m_recordset->eof(); }
    int recordCount() const { return m_recordset ? m_recordset->count() : 0; }
    QVariant value(const QString& field) const;
    bool setValue(const QString& field, const QVariant& value);

    // Puts the current row's values into the bound controls.
    void showCurrent();
    // Copies the edits of the bound controls into the row's buffer.
    void collectControls();

    // How a field's value reads in a text box.
    static QString displayText(const QVariant& value);
    // Reports an engine error the way bindings do.
    static void reportError(const QString& message);

signals:
    void reposition();

private:
    struct Bound
    {
        QPointer<QWidget> control;
        QString field;
        QVariant shown; // what the control got from the row
        bool picture = false;
    };
    QVariant controlValue(const Bound& bound) const;
    bool check(bool ok, const QString& error);
    QString ownerName() const;

    QString m_databaseName;
    QString m_recordSource;
    db::ConnectionPtr m_connection;
    db::RecordSetPtr m_recordset;
    QList<Bound> m_bound;
    QList<QMetaObject::Connection> m_signals;
};

} // namespace tv
