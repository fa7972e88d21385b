#pragma once

#include "database/recordset.h"

#include <QAbstractTableModel>
#include <QPair>

namespace tv {

// A grid's view of a record set: one row per record, the given columns (caption, field). Editable cells write
// into the record and save it.
class RecordSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString caption;
        QString field;
    };

    RecordSetModel(QObject* parent, QList<Column> columns);
    void setRecordset(db::RecordSetPtr recordset);
    db::RecordSetPtr recordset() const { return m_recordset; }
    void setEditable(bool editable) { m_editable = editable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QList<Column> m_columns;
    QList<int> m_fieldIndex;
    db::RecordSetPtr m_recordset;
    QList<QMetaObject::Connection> m_signals;
    bool m_editable = false;
};

} // namespace tv
