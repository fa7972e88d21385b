#include "quote/quoteditems.h"

#if __has_include("jobs/databases.h")
#include "jobs/databases.h"
#include "platform/binding.h"

namespace tv {

void openQuotedItemsForJob(const db::RecordSetPtr& lines)
{
    Databases* editor = Forms::load<Databases>();
    editor->Data1()->setRecordset(lines);
    editor->showModal();
}

} // namespace tv

#else
// Until the quoted items editor is part of the build: a plain grid over the job's lines, edited in place.
#include "platform/form.h"
#include "platform/recordsetmodel.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tv {

namespace {

class JobLinesWindow : public Form
{
public:
    explicit JobLinesWindow(const db::RecordSetPtr& lines)
    {
        setObjectName(QStringLiteral("Databases"));
        setWindowTitle(QStringLiteral("Quoted Items"));
        auto* layout = new QVBoxLayout(this);
        auto* grid = new QTableView(this);
        grid->setObjectName(QStringLiteral("SSDBGrid1"));
        auto* model =
            new RecordSetModel(grid, {{QStringLiteral("Schedule"), QStringLiteral("Schedule")},
                                      {QStringLiteral("Category"), QStringLiteral("Item Category")},
                                      {QStringLiteral("Item Name"), QStringLiteral("Item Name")},
                                      {QStringLiteral("Qty"), QStringLiteral("Item Qty")},
                                      {QStringLiteral("Condition"), QStringLiteral("Item Condition")},
                                      {QStringLiteral("Price"), QStringLiteral("Item Price")},
                                      {QStringLiteral("Notes"), QStringLiteral("Item Notes")}});
        model->setEditable(true);
        model->setRecordset(lines);
        grid->setModel(model);
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->resizeColumnsToContents();
        layout->addWidget(grid);
        auto* close = new QPushButton(QStringLiteral("E&xit"), this);
        close->setObjectName(QStringLiteral("Command1"));
        connect(close, &QPushButton::clicked, this, &Form::unload);
        layout->addWidget(close, 0, Qt::AlignRight);
        resize(900, 420);
    }
};

} // namespace

void openQuotedItemsForJob(const db::RecordSetPtr& lines)
{
    Forms::load<JobLinesWindow>(lines)->showModal();
}

} // namespace tv
#endif
