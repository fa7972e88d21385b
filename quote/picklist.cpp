#include "quote/picklist.h"

#include "catalog/customitems.h"
#include "catalog/repoint.h"
#include "platform/binding.h"
#include "platform/clicklabel.h"
#include "platform/interactive.h"
#include "platform/navigator.h"
#include "quote/quoteditems.h"
#include "quote/sqltexts.h"
#include "shell/application.h"
#include "shell/mainmenu.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tv {

namespace {

// The tables of Data1(0) to Data1(20); index 12 carries none.
const QStringList Data1Tables = {
    QStringLiteral("Job Information"),
    QStringLiteral("ItemDefault"),
    QStringLiteral("Job Items"),
    QStringLiteral("ItemName"),
    QStringLiteral("ItemCategory"),
    QStringLiteral("ItemSchedule"),
    QStringLiteral("ItemQty"),
    QStringLiteral("ItemCondition"),
    QStringLiteral("ItemPrice"),
    QStringLiteral("ItemNote"),
    QStringLiteral("ItemFactors"),
    QStringLiteral("SubItemFactors"),
    QString(),
    QStringLiteral("SubItemName"),
    QStringLiteral("SubItemCategory"),
    QStringLiteral("SubItemSchedule"),
    QStringLiteral("SubItemQty"),
    QStringLiteral("SubItemCondition"),
    QStringLiteral("SubItemPrice"),
    QStringLiteral("SubItemNotes"),
    QStringLiteral("SubItemDefault"),
};

QLabel* captionLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* valueLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(160);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QPushButton* actionButton(QWidget* parent, const QString& name, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setMinimumHeight(30);
    return button;
}

} // namespace

PickList5::PickList5()
{
    setObjectName(QStringLiteral("PickList5"));
    setWindowTitle(QStringLiteral("Pick List"));

    for (int i = 0; i <= 20; ++i)
        m_data1.append(i == 12 ? nullptr : new Binding(this, QStringLiteral("Data1(%1)").arg(i)));
    m_data2 = new Binding(this, QStringLiteral("Data2"));
    m_data3 = new Binding(this, QStringLiteral("Data3"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 6, 10, 10);
    outer->setSpacing(8);

    auto* bar = new QMenuBar(this);
    outer->setMenuBar(bar);
    QMenu* templates = bar->addMenu(QStringLiteral("Template"));
    templates->setObjectName(QStringLiteral("mnuCheckMarks"));
    const auto entry = [this, templates](const QString& name, const QString& caption,
                                         void (PickList5::*handler)()) {
        QAction* action = templates->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    entry(QStringLiteral("MnuCheckMarksAll"), QStringLiteral("Select All"),
          &PickList5::MnuCheckMarksAll_Click);
    entry(QStringLiteral("mnuCheckMarksNone"), QStringLiteral("Clear All"),
          &PickList5::mnuCheckMarksNone_Click);
    templates->addSeparator()->setObjectName(QStringLiteral("sepbar1"));
    entry(QStringLiteral("mnuCheckMarksSave"), QStringLiteral("Save"), &PickList5::mnuCheckMarksSave_Click);
    entry(QStringLiteral("MnuCheckMarksRecall"), QStringLiteral("Recall"),
          &PickList5::MnuCheckMarksRecall_Click);

    m_header = new QGroupBox(QStringLiteral("Job"), this);
    m_header->setObjectName(QStringLiteral("Header"));
    buildHeader(m_header);
    outer->addWidget(m_header);

    ccrpProgressBar1 = new QProgressBar(this);
    ccrpProgressBar1->setObjectName(QStringLiteral("ccrpProgressBar1"));
    ccrpProgressBar1->setRange(0, 100);
    ccrpProgressBar1->setValue(0);
    ccrpProgressBar1->setVisible(false);
    outer->addWidget(ccrpProgressBar1);

    auto* grid = new QGroupBox(QStringLiteral("Items to quote"), this);
    grid->setObjectName(QStringLiteral("Items"));
    buildGrid(grid);
    outer->addWidget(grid, 1);

    // Working fields of a generation run, never shown.
    const auto hidden = [this](const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setVisible(false);
        return edit;
    };
    Text1 = hidden(QStringLiteral("Text1"));
    Text25 = hidden(QStringLiteral("Text25"));
    Text26 = hidden(QStringLiteral("Text26"));
    Text27 = hidden(QStringLiteral("Text27"));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    Command1 = actionButton(this, QStringLiteral("Command1"), QStringLiteral("E&xit"), QString());
    Command1->setMinimumWidth(110);
    bottom->addWidget(Command1);
    outer->addLayout(bottom);
    connect(Command1, &QPushButton::clicked, this, &PickList5::Command1_Click);

    resize(900, 600);
}

void PickList5::buildHeader(QWidget* header)
{
    auto* layout = new QGridLayout(header);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(6);
    layout->addWidget(captionLabel(header, QStringLiteral("Label44"), QStringLiteral("Job ID #")), 0, 0);
    layout->addWidget(Label41 = valueLabel(header, QStringLiteral("Label41")), 0, 1);
    layout->addWidget(captionLabel(header, QStringLiteral("Label45"), QStringLiteral("Job Name")), 1, 0);
    layout->addWidget(Label42 = valueLabel(header, QStringLiteral("Label42")), 1, 1);
    layout->addWidget(captionLabel(header, QStringLiteral("Label46"), QStringLiteral("Customer")), 2, 0);
    layout->addWidget(Label43 = valueLabel(header, QStringLiteral("Label43")), 2, 1);
    layout->addWidget(captionLabel(header, QStringLiteral("Label49"), QStringLiteral("Quotation Type")), 0,
                      2);
    layout->addWidget(Label50 = valueLabel(header, QStringLiteral("Label50")), 0, 3);
    layout->addWidget(captionLabel(header, QStringLiteral("Label47"), QStringLiteral("Number of Lanes")), 1,
                      2);
    layout->addWidget(Label48 = valueLabel(header, QStringLiteral("Label48")), 1, 3);

    SSDBData1 =
        new RecordNavigator(header, QStringLiteral("SSDBData1"), QStringLiteral("Step Through  Jobs"));
    SSDBData1->setVisible(false);
    layout->addWidget(SSDBData1, 2, 2, 1, 2);

    auto* actions = new QVBoxLayout;
    actions->setSpacing(6);
    Command2 = actionButton(header, QStringLiteral("Command2"), QStringLiteral("&Auto Generate Quote"),
                            QStringLiteral("Click here to quote all items checked below."));
    Command6 = actionButton(header, QStringLiteral("Command6"), QStringLiteral("&Quote Individual Items"),
                            QStringLiteral("Click here to quote individual items."));
    Command7 = actionButton(header, QStringLiteral("Command7"), QStringLiteral("&Modify Quoted Items"),
                            QStringLiteral("Click here to modify the items quoted for this customer only."));
    for (QPushButton* b : {Command2, Command6, Command7}) {
        b->setVisible(false);
        actions->addWidget(b);
    }
    layout->addLayout(actions, 0, 4, 3, 1);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
    connect(Command2, &QPushButton::clicked, this, &PickList5::Command2_Click);
    connect(Command6, &QPushButton::clicked, this, &PickList5::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &PickList5::Command7_Click);

    // The large button covers the whole header strip until the user starts selecting a job.
    SSCommand1 = new QPushButton(QStringLiteral("Click Here, Then Select the Correct Job Number"), header);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    QFont f = SSCommand1->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    SSCommand1->setFont(f);
    header->installEventFilter(this);
    connect(SSCommand1, &QPushButton::clicked, this, &PickList5::SSCommand1_Click);
}

void PickList5::buildGrid(QWidget* grid)
{
    auto* layout = new QGridLayout(grid);
    layout->setHorizontalSpacing(18);
    layout->setVerticalSpacing(4);
    for (int k = 0; k < catalog::ItemSlots; ++k) {
        auto* check = new QCheckBox(grid);
        check->setObjectName(QStringLiteral("Check1(%1)").arg(k));
        auto* label = new ClickLabel(grid);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        label->setMinimumWidth(120);
        label->setCursor(Qt::PointingHandCursor);
        m_checks.append(check);
        m_labels.append(label);
        // Column c holds slots 10(c-1)+1 to 10c from top to bottom.
        const int column = k / 10;
        const int row = k % 10;
        auto* cell = new QHBoxLayout;
        cell->setSpacing(4);
        cell->addWidget(check);
        cell->addWidget(label, 1);
        layout->addLayout(cell, row, column);
        connect(label, &ClickLabel::clicked, this, [this, k]() { Label1_Click(k); });
    }
    for (int c = 0; c < 4; ++c)
        layout->setColumnStretch(c, 1);
}

bool PickList5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_header && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeCover();
    return Form::eventFilter(watched, event);
}

void PickList5::placeCover()
{
    SSCommand1->setGeometry(m_header->contentsRect().adjusted(4, 4, -4, -4));
    SSCommand1->raise();
}

void PickList5::Form_Load()
{
    setPointer(Pointer::Arrow);
    const QString path = platform::databasePath();
    for (int i = 0; i <= 20; ++i) {
        if (!m_data1.at(i))
            continue;
        m_data1.at(i)->setDatabaseName(path);
        m_data1.at(i)->setRecordSource(Data1Tables.at(i));
    }
    m_data2->setDatabaseName(path);
    m_data2->setRecordSource(QStringLiteral("ItemLabel"));
    m_data3->setDatabaseName(path);
    m_data3->setRecordSource(QStringLiteral("UserData"));

    Binding* job = m_data1.at(0);
    job->bind(Label41, QStringLiteral("AutoNumber"));
    job->bind(Label42, QStringLiteral("Job Name"));
    job->bind(Label43, QStringLiteral("Customer Name"));
    job->bind(Label50, QStringLiteral("Machine Type"));
    job->bind(Label48, QStringLiteral("# of Lanes"));
    SSDBData1->setBinding(job);
    for (int k = 0; k < catalog::ItemSlots; ++k)
        m_data2->bind(m_labels.at(k), catalog::itemField(catalog::Attribute::Label, k + 1));

    for (Binding* b : std::as_const(m_data1))
        if (b)
            b->open();
    m_data2->open();
    m_data3->open();
}

// A repaint of the window as a whole (shown, activated, enabled again, or painted entire) reads the labels
// again, so that labels just changed in the catalog editors show. Painting of single controls (a blinking
// cursor, a hovered check box) does not count.
void PickList5::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    if (m_repaintDue || event->rect() == rect()) {
        m_repaintDue = false;
        schedulePaint();
    }
}

void PickList5::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    m_repaintDue = true;
    placeCover();
}

void PickList5::changeEvent(QEvent* event)
{
    Form::changeEvent(event);
    if ((event->type() == QEvent::ActivationChange && isActiveWindow()) ||
        event->type() == QEvent::EnabledChange) {
        m_repaintDue = true;
        update();
    }
}

void PickList5::schedulePaint()
{
    if (m_paintScheduled)
        return;
    m_paintScheduled = true;
    QTimer::singleShot(0, this, [this]() {
        m_paintScheduled = false;
        Form_Paint();
    });
}

void PickList5::Form_Paint()
{
    m_data2->refresh();
}

quote::JobValues PickList5::currentJob() const
{
    return {Label41->text(), Label48->text(), m_data1.at(0)->value(QStringLiteral("commission"))};
}

bool PickList5::hasJob() const
{
    return jobNumber() > 0;
}

qint64 PickList5::jobNumber() const
{
    const auto rs = m_data1.at(0)->recordset();
    if (!rs || !rs->hasCurrent() || rs->isNew())
        return 0;
    bool ok = false;
    const qint64 number = Label41->text().trimmed().toLongLong(&ok);
    return ok ? number : 0;
}

bool PickList5::refreshCurrentJob()
{
    const qint64 number = jobNumber();
    if (number == 0)
        return false;
    Binding* job = m_data1.at(0);
    if (!job->refresh())
        return false;
    // The rows may have moved (a job deleted meanwhile): the current job is found again by its number.
    const auto rs = job->recordset();
    const int field = rs->fieldIndex(QStringLiteral("AutoNumber"));
    for (int row = 0; row < rs->count(); ++row) {
        if (rs->valueAt(row, field).toLongLong() == number) {
            if (row != rs->position())
                job->moveTo(row);
            return true;
        }
    }
    msgBox(QStringLiteral("Job %1 is no longer in the job list. Select the job to quote again.").arg(number),
           vbExclamation);
    if (rs->count() > 0)
        job->moveLast();
    return false;
}

bool PickList5::isChecked(int slot) const
{
    return m_checks.at(slot - 1)->isChecked();
}

void PickList5::setChecked(int slot, bool on)
{
    m_checks.at(slot - 1)->setChecked(on);
}

void PickList5::SSCommand1_Click()
{
    // Jobs added since the window opened are found too.
    m_data1.at(0)->refresh();
    if (m_data1.at(0)->recordCount() == 0) {
        msgBox(QStringLiteral(
                   "There are no jobs yet. Add the job on the job information sheet first, then press "
                   "this button again."),
               vbInformation);
        return;
    }
    SSCommand1->setVisible(false);
    m_data1.at(0)->moveLast();
    SSDBData1->setVisible(true);
    Command2->setVisible(true);
    Command6->setVisible(true);
    Command7->setVisible(true);
    mnuCheckMarksNone_Click();
}

void PickList5::Label1_Click(int index)
{
    m_checks.at(index)->setChecked(true);
}

void PickList5::MnuCheckMarksAll_Click()
{
    for (QCheckBox* check : std::as_const(m_checks))
        if (!check->isChecked())
            check->setChecked(true);
}

void PickList5::mnuCheckMarksNone_Click()
{
    for (QCheckBox* check : std::as_const(m_checks))
        if (check->isChecked())
            check->setChecked(false);
}

void PickList5::Command1_Click()
{
    unload();
    mainMenu()->show();
}

void PickList5::Command6_Click()
{
    setPointer(Pointer::Hourglass);
    int slot = 1;
    for (int k = 0; k < catalog::ItemSlots; ++k) {
        if (m_checks.at(k)->isChecked()) {
            slot = k + 1;
            break;
        }
    }
    CustomItems* editor = CustomItems::loadPage(CustomItems::pageOfSlot(slot));
    editor->selectSlot(slot);
    editor->showModeless();
    // The editor enables the pick list again when it closes.
    setEnabled(false);
    setPointer(Pointer::Default);
}

void PickList5::Command7_Click()
{
    if (!hasJob()) {
        quote::reportNoJob();
        return;
    }
    setPointer(Pointer::Hourglass);
    Binding* items = m_data1.at(2);
    repoint(items, quote::sql::JobItemsOfJob + QString::number(jobNumber()) + quote::sql::JobItemsOrder);
    if (items->recordCount() > 0) {
        openQuotedItemsForJob(items->recordset());
    } else {
        beep();
        msgBox(QStringLiteral("There are no items quoted for this customer!"));
        repoint(items, quote::sql::AllJobItems);
    }
    setPointer(Pointer::Default);
}

} // namespace tv
