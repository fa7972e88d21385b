#include "jobs/databases.h"

#include "jobs/editdata.h"
#include "jobs/quotelist.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "platform/navigator.h"
#include "platform/recordsetmodel.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace tv {

const QString Databases::AllLinesSource =
    QStringLiteral("Select * from [Job Items] Order by [RecordNo] ASC, [Schedule] ASC, [Item Category] ASC ");

namespace {

// Lists with more pages than this are only printed after the user agreed.
constexpr int LargePrintPages = 100;

// The grid's view of quote lines: the cells as printed, numbers to the right, the full details as a tip. A
// large set shows the rows known so far, and grows when it has been counted.
class QuoteLinesModel : public RecordSetModel
{
public:
    QuoteLinesModel(QObject* parent) : RecordSetModel(parent, columns()) {}

    void show(db::RecordSetPtr set)
    {
        for (const auto& c : std::as_const(m_signals))
            disconnect(c);
        m_signals.clear();
        setRecordset(set);
        if (!set)
            return;
        m_signals.append(connect(set.get(), &db::RecordSet::rowsAboutToBeAppended, this,
                                 [this](int first, int last) { beginInsertRows({}, first, last); }));
        m_signals.append(
            connect(set.get(), &db::RecordSet::rowsAppended, this, [this]() { endInsertRows(); }));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        const db::RecordSetPtr set = recordset();
        return parent.isValid() || !set ? 0 : set->knownCount();
    }

    static QList<RecordSetModel::Column> columns()
    {
        QList<RecordSetModel::Column> result;
        for (const jobs::QuoteListColumn& c : jobs::quoteListColumns())
            result.append({c.caption, c.field});
        return result;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const db::RecordSetPtr set = recordset();
        if (!set || !index.isValid())
            return {};
        const jobs::QuoteListColumn& column = jobs::quoteListColumns().at(index.column());
        switch (role) {
        case Qt::DisplayRole:
            return jobs::quoteListCell(*set, index.row(), index.column());
        case Qt::TextAlignmentRole:
            return int(column.alignment | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            if (column.field == u"Item Notes" || column.field == u"Item Name")
                return Binding::displayText(set->valueAt(index.row(), set->fieldIndex(column.field)));
            return {};
        default:
            return RecordSetModel::data(index, role);
        }
    }

private:
    QList<QMetaObject::Connection> m_signals;
};

} // namespace

Databases::Databases()
{
    setObjectName(QStringLiteral("Databases"));
    setWindowTitle(QStringLiteral("Databases"));

    m_data1 = new Binding(this, QStringLiteral("Data1"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);

    auto* frame = new QGroupBox(QStringLiteral("Required Items"), this);
    frame->setObjectName(QStringLiteral("SSDBGrid1Caption"));
    auto* frameLayout = new QVBoxLayout(frame);
    SSDBGrid1 = new QTableView(frame);
    SSDBGrid1->setObjectName(QStringLiteral("SSDBGrid1"));
    m_model = new QuoteLinesModel(this);
    SSDBGrid1->viewport()->installEventFilter(this);
    SSDBGrid1->setModel(m_model);
    SSDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    SSDBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SSDBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SSDBGrid1->setAlternatingRowColors(true);
    SSDBGrid1->setWordWrap(false);
    SSDBGrid1->setTextElideMode(Qt::ElideRight);
    // Rows of one fixed height, so that a grid over a great many lines only ever looks at the rows in view.
    QHeaderView* rowsHeader = SSDBGrid1->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(SSDBGrid1->fontMetrics().height() + 8);
    rowsHeader->hide();
    QHeaderView* columnsHeader = SSDBGrid1->horizontalHeader();
    columnsHeader->setHighlightSections(false);
    const int widths[] = {55, 230, 330, 110, 90, 50, 55, 55};
    for (int c = 0; c < 8; ++c)
        SSDBGrid1->setColumnWidth(c, widths[c]);
    columnsHeader->setSectionResizeMode(2, QHeaderView::Stretch);
    frameLayout->addWidget(SSDBGrid1);
    outer->addWidget(frame, 1);

    auto* bottom = new QHBoxLayout;
    SSDBData1 = new RecordNavigator(this, QStringLiteral("SSDBData1"), QStringLiteral("Job Items"), m_data1);
    bottom->addWidget(SSDBData1, 1);
    bottom->addSpacing(30);
    const auto button = [this, bottom](const QString& name, const QString& caption,
                                       void (Databases::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setMinimumWidth(100);
        connect(b, &QPushButton::clicked, this, handler);
        bottom->addWidget(b);
    };
    button(QStringLiteral("Command3"), QStringLiteral("&Edit Item"), &Databases::Command3_Click);
    button(QStringLiteral("Command2"), QStringLiteral("Print"), &Databases::Command2_Click);
    button(QStringLiteral("Command1"), QStringLiteral("E&xit"), &Databases::Command1_Click);
    outer->addLayout(bottom);

    connect(m_data1, &Binding::reposition, this, [this]() {
        followRecordset();
        selectCurrentRow();
    });
    connect(SSDBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    currentRowChosen(current.row());
            });
    connect(SSDBGrid1, &QTableView::doubleClicked, this, [this]() { Command3_Click(); });

    printerAvailable = []() { return !QPrinterInfo::availablePrinters().isEmpty(); };
    printDialog = [this](QPrinter& printer, const PrintChoice& choice) {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, choice.pageCount);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, choice.hasSelection);
        return dialog.exec() == QDialog::Accepted;
    };

    resize(1000, 560);
}

void Databases::Form_Load()
{
    m_data1->setDatabaseName(platform::databasePath());
    m_data1->setRecordSource(AllLinesSource);
    setPointer(Pointer::Default);
    m_data1->open();
}

void Databases::followRecordset()
{
    // The pick list may have put another record set in the binding.
    if (m_model->recordset() != m_data1->recordset())
        static_cast<QuoteLinesModel*>(m_model)->show(m_data1->recordset());
}

bool Databases::eventFilter(QObject* watched, QEvent* event)
{
    // Once the first rows are on the screen, a large list is counted so that the grid shows all of its rows.
    if (event->type() == QEvent::Paint && watched == SSDBGrid1->viewport()) {
        const db::RecordSetPtr set = m_data1->recordset();
        if (set && !set->isCountKnown())
            QTimer::singleShot(0, this, [this, weak = std::weak_ptr<db::RecordSet>(set)]() {
                if (const db::RecordSetPtr counted = weak.lock())
                    counted->count();
            });
    }
    return Form::eventFilter(watched, event);
}

void Databases::selectCurrentRow()
{
    const db::RecordSetPtr set = m_data1->recordset();
    if (!set || m_syncing)
        return;
    m_syncing = true;
    const int row = set->position();
    if (row >= 0 && row < set->knownCount()) {
        const int column = std::max(0, SSDBGrid1->currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        SSDBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
        SSDBGrid1->scrollTo(index);
    } else {
        SSDBGrid1->selectionModel()->clearSelection();
    }
    m_syncing = false;
}

void Databases::currentRowChosen(int row)
{
    const db::RecordSetPtr set = m_data1->recordset();
    if (m_syncing || !set || set->position() == row)
        return;
    // Moving saves the line being left; when that fails the grid stays on it.
    if (!m_data1->moveTo(row))
        selectCurrentRow();
}

void Databases::Command1_Click()
{
    close();
}

void Databases::Command3_Click()
{
    const db::RecordSetPtr set = m_data1->recordset();
    if (!set || set->position() < 0 || set->position() >= set->count()) {
        msgBox(QStringLiteral("There is no quote line to edit."), vbInformation);
        return;
    }
    Forms::load<EditData>()->showModal();
}

QList<int> Databases::rowsToPrint(const QPrinter& printer, int rowsPerPage) const
{
    const int count = m_data1->recordCount();
    QList<int> rows;
    switch (printer.printRange()) {
    case QPrinter::Selection: {
        const QModelIndexList selected = SSDBGrid1->selectionModel()->selectedRows();
        for (const QModelIndex& index : selected)
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    case QPrinter::PageRange: {
        const int first = std::max(0, (printer.fromPage() - 1) * rowsPerPage);
        const int last = std::min(count, printer.toPage() * rowsPerPage);
        for (int row = first; row < last; ++row)
            rows.append(row);
        return rows;
    }
    case QPrinter::CurrentPage: {
        const int page = std::max(0, m_data1->recordset()->position()) / rowsPerPage;
        for (int row = page * rowsPerPage; row < std::min(count, (page + 1) * rowsPerPage); ++row)
            rows.append(row);
        return rows;
    }
    case QPrinter::AllPages:
        break;
    }
    rows.reserve(count);
    for (int row = 0; row < count; ++row)
        rows.append(row);
    return rows;
}

bool Databases::confirmLargePrint(int pages)
{
    if (pages <= LargePrintPages)
        return true;
    return msgBox(QStringLiteral("The list runs to %1 pages. Do you want to go on?")
                      .arg(QLocale().toString(pages)),
                  vbYesNo + vbQuestion + vbDefaultButton2) == vbYes;
}

void Databases::Command2_Click()
{
    const db::RecordSetPtr set = m_data1->recordset();
    // What was typed into the current line goes with it.
    if (set && set->isDirty() && !m_data1->updateRecord())
        return;
    if (!set || set->count() == 0) {
        msgBox(QStringLiteral("There are no quote lines to print."), vbInformation);
        return;
    }
    const jobs::QuoteListPrint list(set);
    QPrinter printer(QPrinter::HighResolution);
    QString error;

    if (!printerAvailable()) {
        if (msgBox(
                QStringLiteral("No printer is installed on this computer, so the list cannot be printed.\n\n"
                               "Do you want to save it as a PDF file instead?"),
                vbYesNo + vbQuestion) != vbYes)
            return;
        QString path =
            platform::interactive().saveFileName(QStringLiteral("Save the List as PDF"),
                                                 platform::appFolder(), QStringLiteral("PDF Files (*.pdf)"));
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().compare(u"pdf", Qt::CaseInsensitive) != 0)
            path += QStringLiteral(".pdf");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        const QList<int> rows = rowsToPrint(printer, list.rowsPerPage(&printer));
        if (!confirmLargePrint(list.pageCount(&printer, int(rows.size()))))
            return;
        setPointer(Pointer::Hourglass);
        const bool printed = list.print(&printer, rows, &error);
        setPointer(Pointer::Default);
        if (printed)
            msgBox(QStringLiteral("The list was saved as %1.").arg(QDir::toNativeSeparators(path)),
                   vbInformation);
        else
            msgBox(QStringLiteral("The list could not be saved as %1. %2")
                       .arg(QDir::toNativeSeparators(path), error),
                   vbCritical);
        return;
    }

    PrintChoice choice;
    choice.pageCount = list.pageCount(&printer, set->count());
    choice.hasSelection = SSDBGrid1->selectionModel()->selectedRows().size() > 0;
    if (!printDialog(printer, choice))
        return;
    const QList<int> rows = rowsToPrint(printer, list.rowsPerPage(&printer));
    if (rows.isEmpty())
        return;
    if (!confirmLargePrint(list.pageCount(&printer, int(rows.size()))))
        return;
    setPointer(Pointer::Hourglass);
    const bool printed = list.print(&printer, rows, &error);
    setPointer(Pointer::Default);
    if (!printed)
        msgBox(QStringLiteral("The list could not be printed. %1").arg(error), vbCritical);
}

} // namespace tv
