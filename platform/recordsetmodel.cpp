#include "platform/recordsetmodel.h"

#include "platform/binding.h"

namespace tv {

RecordSetModel::RecordSetModel(QObject* parent, QList<Column> columns)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{}

void RecordSetModel::setRecordset(db::RecordSetPtr recordset)
{
    beginResetModel();
    for (const auto& c : std::as_const(m_signals))
        disconnect(c);
    m_signals.clear();
    m_recordset = std::move(recordset);
    m_fieldIndex.clear();
    if (m_recordset) {
        for (const Column& c : std::as_const(m_columns))
            m_fieldIndex.append(m_recordset->fieldIndex(c.field));
        m_signals.append(connect(m_recordset.get(), &db::RecordSet::rowsReset, this, [this]() {
            beginResetModel();
            endResetModel();
        }));
        m_signals.append(connect(m_recordset.get(), &db::RecordSet::rowSaved, this, [this](int row) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        }));
    }
    endResetModel();
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_recordset ? 0 : m_recordset->count();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!m_recordset || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Binding::displayText(m_recordset->valueAt(index.row(), m_fieldIndex.value(index.column(), -1)));
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_columns.value(section).caption;
    return section + 1;
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_recordset || !index.isValid() || role != Qt::EditRole)
        return false;
    QString error;
    if (m_recordset->position() != index.row() && !m_recordset->moveTo(index.row(), &error)) {
        Binding::reportError(error);
        return false;
    }
    m_recordset->setValue(m_columns.at(index.column()).field, value);
    if (!m_recordset->update(&error)) {
        Binding::reportError(error);
        m_recordset->cancelUpdate();
        return false;
    }
    return true;
}

} // namespace tv
