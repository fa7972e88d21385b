#include "quote/templates.h"

#include "database/connection.h"
#include "database/sql.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "platform/recordsetmodel.h"
#include "quote/picklist.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tv {

UserTemplate::UserTemplate()
{
    setObjectName(QStringLiteral("UserTemplate"));
    setWindowTitle(QStringLiteral("Templates"));
    m_data1 = new Binding(this, QStringLiteral("Data1"));

    auto* layout = new QVBoxLayout(this);
    m_frame = new QGroupBox(QStringLiteral("Template"), this);
    auto* frameLayout = new QVBoxLayout(m_frame);
    m_grid = new QTableView(m_frame);
    m_grid->setObjectName(QStringLiteral("SSDBGrid1"));
    m_grid->setToolTip(QStringLiteral("Use your mouse to select the row"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_model = new RecordSetModel(m_grid, {{QStringLiteral("Number"), QStringLiteral("RecordNo")},
                                          {QStringLiteral("Description"), QStringLiteral("UserLabel")}});
    m_grid->setModel(m_model);
    frameLayout->addWidget(m_grid);
    layout->addWidget(m_frame, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* edit = new QPushButton(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("Command2"));
    buttons->addWidget(ok);
    buttons->addWidget(edit);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &UserTemplate::Command1_Click);
    connect(edit, &QPushButton::clicked, this, &UserTemplate::Command2_Click);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                const auto rs = m_data1->recordset();
                if (current.isValid() && rs && rs->position() != current.row())
                    m_data1->moveTo(current.row());
            });
    // After the rows are read again (a name edited), the selection follows the current row.
    connect(m_model, &QAbstractItemModel::modelReset, this, &UserTemplate::selectCurrentRow);
    resize(440, 440);
}

QString UserTemplate::gridCaption() const
{
    return m_frame->title();
}

void UserTemplate::setTitle(const QString& title)
{
    setWindowTitle(title);
    m_frame->setTitle(title);
}

void UserTemplate::Form_Load()
{
    PickList5* pickList = Forms::load<PickList5>();
    m_data1->setRecordset(pickList->Data3()->recordset());
    m_model->setRecordset(m_data1->recordset());
    m_grid->resizeColumnToContents(0);
    selectCurrentRow();
}

void UserTemplate::selectCurrentRow()
{
    const auto rs = m_data1->recordset();
    if (rs && rs->position() >= 0 && rs->position() < rs->count())
        m_grid->selectRow(rs->position());
}

void UserTemplate::Command1_Click()
{
    hide();
}

void UserTemplate::Command2_Click()
{
    Forms::load<EditData2>()->showModal();
    m_grid->viewport()->update();
}

bool UserTemplate::Form_Unload()
{
    // The close box chooses the selected row, as "&OK" does; only the operation itself unloads the list.
    if (!m_finishing && isVisible()) {
        hide();
        return false;
    }
    return true;
}

void UserTemplate::finish()
{
    m_finishing = true;
    unload();
}

EditData2::EditData2()
{
    setObjectName(QStringLiteral("EditData2"));
    setWindowTitle(QStringLiteral("Edit Template Name"));
    m_data1 = new Binding(this, QStringLiteral("Data1"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(QStringLiteral("Template name"), this);
    layout->addWidget(caption);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(50);
    Text1->setMinimumWidth(320);
    layout->addWidget(Text1);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &EditData2::Command1_Click);
}

void EditData2::Form_Load()
{
    m_data1->setDatabaseName(platform::databasePath());
    m_data1->bind(Text1, QStringLiteral("UserLabel"));
    m_data1->setRecordset(Forms::load<UserTemplate>()->Data1()->recordset());
}

void EditData2::Command1_Click()
{
    unload();
}

namespace quote {

namespace {

QString numbered(const char* prefix, int n)
{
    return QString::fromLatin1(prefix) + QString::number(n);
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// Runs the statements in one transaction; on any failure everything is rolled back.
bool runTogether(const QStringList& statements, QString* error)
{
    const auto connection = db::openConnection(platform::databasePath(), QStringLiteral("Templates"), error);
    if (!connection)
        return false;
    QSqlDatabase db = connection->database();
    if (!db.transaction())
        return fail(error, QStringLiteral("The database could not start a transaction."));
    for (const QString& statement : statements) {
        if (!db::execute(db, statement, error)) {
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        db.rollback();
        return fail(error, QStringLiteral("The database could not finish the copy."));
    }
    return true;
}

QStringList existingTables()
{
    const auto connection = db::openConnection(platform::databasePath(), QStringLiteral("Templates"));
    return connection ? connection->database().tables() : QStringList();
}

bool hasTable(const QStringList& tables, const QString& name)
{
    return tables.contains(name, Qt::CaseInsensitive);
}

} // namespace

QString itemDefaultCopy(int templateNumber)
{
    return numbered("UserItemDefault", templateNumber);
}

QString subItemDefaultCopy(int templateNumber)
{
    return numbered("UserSubItemDefault", templateNumber);
}

bool saveDefaultCopies(int templateNumber, QString* error)
{
    const QStringList tables = existingTables();
    const QString itemCopy = itemDefaultCopy(templateNumber);
    const QString subCopy = subItemDefaultCopy(templateNumber);
    QStringList statements;
    // A copy that has gone missing is simply made again.
    if (hasTable(tables, itemCopy))
        statements << QStringLiteral("DROP TABLE ") + itemCopy;
    statements << QStringLiteral("SELECT ItemDefault.* INTO ") + u'[' + itemCopy +
                      QStringLiteral("] FROM ItemDefault;");
    if (hasTable(tables, subCopy))
        statements << QStringLiteral("DROP TABLE ") + subCopy;
    statements << QStringLiteral("SELECT SubItemDefault.* INTO ") + u'[' + subCopy +
                      QStringLiteral("] FROM SubItemDefault;");
    return runTogether(statements, error);
}

bool restoreDefaultCopies(int templateNumber, QStringList* missing, QString* error)
{
    const QStringList tables = existingTables();
    const QString itemCopy = itemDefaultCopy(templateNumber);
    const QString subCopy = subItemDefaultCopy(templateNumber);
    missing->clear();
    QStringList statements;
    if (hasTable(tables, itemCopy)) {
        statements << QStringLiteral("DROP TABLE ItemDefault")
                   << QStringLiteral("SELECT ") + itemCopy + QStringLiteral(".* INTO [ItemDefault] FROM ") +
                          itemCopy + u';';
    } else {
        missing->append(itemCopy);
    }
    if (hasTable(tables, subCopy)) {
        statements << QStringLiteral("DROP TABLE SubItemDefault")
                   << QStringLiteral("SELECT ") + subCopy + QStringLiteral(".* INTO [SubItemDefault] FROM ") +
                          subCopy;
    } else {
        missing->append(subCopy);
    }
    return statements.isEmpty() || runTogether(statements, error);
}

} // namespace quote
} // namespace tv
