#include "settings/termstemplate.h"

#include "platform/binding.h"
#include "platform/interactive.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace tv {

const TermsList& TermsList::payment()
{
    static const TermsList list{QStringLiteral("PaymentTemplate"), QStringLiteral("Payment Terms"),
                                QStringLiteral("PaymentTerms")};
    return list;
}

const TermsList& TermsList::shipment()
{
    static const TermsList list{QStringLiteral("ShipmentTemplate"), QStringLiteral("Shipment Terms"),
                                QStringLiteral("ShipmentTerms")};
    return list;
}

TermsModel::TermsModel(QObject* parent, const TermsList& list)
    : RecordSetModel(parent, {{list.caption, list.table}}), m_field(list.table)
{
    setEditable(true);
}

bool TermsModel::isNewRow(int row) const
{
    return recordset() && row == recordset()->count();
}

int TermsModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !recordset())
        return 0;
    return RecordSetModel::rowCount(parent) + 1;
}

QVariant TermsModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && isNewRow(index.row()))
        return {};
    return RecordSetModel::data(index, role);
}

QVariant TermsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && isNewRow(section))
        return QStringLiteral("*");
    return RecordSetModel::headerData(section, orientation, role);
}

bool TermsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !isNewRow(index.row()))
        return RecordSetModel::setData(index, value, role);
    // Nothing typed in the empty row adds nothing.
    const QString text = value.toString();
    if (text.trimmed().isEmpty())
        return false;
    const db::RecordSetPtr rows = recordset();
    QString error;
    if (!rows->addNew(&error)) {
        Binding::reportError(error);
        return false;
    }
    rows->setValue(m_field, text);
    if (!rows->update(&error)) {
        Binding::reportError(error);
        rows->cancelUpdate();
        return false;
    }
    return true;
}

void TermsGrid::commitPendingEdit()
{
    if (state() != EditingState)
        return;
    // The cell editor is the view's own child in the viewport.
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isHidden())
            continue;
        commitData(editor);
        // A text added to the list resets the model, which has closed the editor already.
        if (state() == EditingState)
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
}

TermsTemplate::TermsTemplate(const TermsList& list) : m_list(list)
{
    setObjectName(m_list.windowName);
    setWindowTitle(m_list.caption);

    Data1 = new Binding(this, QStringLiteral("Data1"));
    m_model = new TermsModel(this, m_list);

    m_gridCaption = new QLabel(m_list.caption, this);
    m_gridCaption->setObjectName(QStringLiteral("SSDBGrid1Caption"));
    m_gridCaption->setAlignment(Qt::AlignCenter);
    m_gridCaption->setContentsMargins(6, 4, 6, 4);
    m_gridCaption->setStyleSheet(
        QStringLiteral("QLabel { background: #28344a; color: white; font-weight: bold; }"));

    SSDBGrid1 = new TermsGrid(this);
    SSDBGrid1->setObjectName(QStringLiteral("SSDBGrid1"));
    SSDBGrid1->setToolTip(QStringLiteral("Use your mouse to select the row"));
    SSDBGrid1->setModel(m_model);
    SSDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    SSDBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    SSDBGrid1->setAlternatingRowColors(true);
    SSDBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    SSDBGrid1->horizontalHeader()->setStretchLastSection(true);
    SSDBGrid1->verticalHeader()->setDefaultSectionSize(SSDBGrid1->fontMetrics().height() + 10);
    SSDBGrid1->setWordWrap(false);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, SSDBGrid1);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &TermsTemplate::deleteSelected);

    m_add = new QPushButton(QStringLiteral("&Add"), this);
    m_add->setObjectName(QStringLiteral("AddButton"));
    m_add->setToolTip(QStringLiteral("Type a new text in the last row"));
    connect(m_add, &QPushButton::clicked, this, &TermsTemplate::addText);
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    m_delete->setObjectName(QStringLiteral("DeleteButton"));
    m_delete->setToolTip(QStringLiteral("Delete the selected text"));
    connect(m_delete, &QPushButton::clicked, this, &TermsTemplate::deleteSelected);
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->setMinimumWidth(96);
    connect(Command1, &QPushButton::clicked, this, &TermsTemplate::Command1_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(Command1);

    auto* gridBox = new QVBoxLayout;
    gridBox->setSpacing(0);
    gridBox->addWidget(m_gridCaption);
    gridBox->addWidget(SSDBGrid1, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 14);
    outer->setSpacing(12);
    outer->addLayout(gridBox, 1);
    outer->addLayout(buttons);
    resize(560, 360);
}

void TermsTemplate::Form_Load()
{
    Data1->setDatabaseName(platform::databasePath());
    Data1->setRecordSource(m_list.table);
    Data1->open();
    m_model->setRecordset(Data1->recordset());
    connect(SSDBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TermsTemplate::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TermsTemplate::updateButtons);
    updateButtons();
}

bool TermsTemplate::Form_Unload()
{
    SSDBGrid1->commitPendingEdit();
    return true;
}

void TermsTemplate::updateButtons()
{
    const QModelIndex current = SSDBGrid1->currentIndex();
    m_add->setEnabled(Data1->isOpen());
    m_delete->setEnabled(current.isValid() && !m_model->isNewRow(current.row()));
}

void TermsTemplate::Command1_Click()
{
    unload();
}

void TermsTemplate::addText()
{
    SSDBGrid1->commitPendingEdit();
    if (!m_model->recordset())
        return;
    const QModelIndex last = m_model->index(m_model->rowCount() - 1, 0);
    SSDBGrid1->setFocus();
    SSDBGrid1->setCurrentIndex(last);
    SSDBGrid1->edit(last);
}

bool TermsTemplate::deleteSelected()
{
    SSDBGrid1->commitPendingEdit();
    const QModelIndex current = SSDBGrid1->currentIndex();
    if (!current.isValid() || m_model->isNewRow(current.row())) {
        beep();
        return false;
    }
    const QString text = m_model->data(current).toString();
    const int answer =
        msgBox(QStringLiteral("Delete this text from the %1 list?\n\n%2").arg(m_list.caption, text),
               vbYesNo + vbQuestion + vbDefaultButton2, m_list.caption);
    if (answer != vbYes)
        return false;
    if (!Data1->moveTo(current.row()) || !Data1->deleteCurrent())
        return false;
    // The row that took the deleted one's place is selected.
    SSDBGrid1->setCurrentIndex(m_model->index(std::min(current.row(), m_model->rowCount() - 1), 0));
    return true;
}

} // namespace tv
