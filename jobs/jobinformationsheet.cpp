#include "jobs/jobinformationsheet.h"

#include "jobs/jobrecords.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "platform/navigator.h"
#include "shell/application.h"
#include "shell/mainmenu.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tv {

const QString JobInformationSheet::DefaultPinsetter = QStringLiteral("A-2 Pinsetter, Remanufactured");

const QString JobInformationSheet::FiveDayTerms = QStringLiteral(
    "Within 5 days after execution of this contract, Buyer shall send 25% of the sales contract as a cash "
    "down "
    "payment. The remaining 70% of the sales contract shall be payable prior to shipment. The final 5% of "
    "the "
    "sales contract shall be payable upon completion and installation of the Goods described in this sales "
    "contract.");

const QString JobInformationSheet::TwentyDayTerms = QStringLiteral(
    "Within 20 days after execution of this contract, Buyer shall issue to the Seller an irrevocable Letter "
    "of "
    "Credit in a form acceptable to Seller and Seller's bank showing payment terms of 100% of total contract "
    "purchase price.");

// The values of one terms default button; empty shipment and payment texts take the terms lists' current
// rows.
struct JobInformationSheet::TermsDefaults
{
    QString shipment;
    QString payment;
    QString usInlandFreight;
    QString intlInlandFreight;
    QString insurance;
    QString oceanFreight;
    QString deliveryTime;
};

struct JobInformationSheet::MachineDefaults
{
    QString machineType;
    QString voltage;
    QString country;
    QString contractTerms;
};

namespace {

const QString EmptySections = QStringLiteral("Please Fill In All Empty Sections!");

QString boxText(const QWidget* box)
{
    if (auto* e = qobject_cast<const QLineEdit*>(box))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(box))
        return c->currentText();
    if (auto* m = qobject_cast<const QPlainTextEdit*>(box))
        return m->toPlainText();
    return {};
}

void setBoxText(QWidget* box, const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(box))
        e->setText(text);
    else if (auto* c = qobject_cast<QComboBox*>(box))
        c->setEditText(text);
    else if (auto* m = qobject_cast<QPlainTextEdit*>(box))
        m->setPlainText(text);
}

bool isBlank(const QLineEdit* box)
{
    return box->text().trimmed().isEmpty();
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel* unit(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #5b6472;"));
    return label;
}

// Fields carried over to the new job by "&Duplicate This Customer".
const QStringList DuplicatedFields = {
    QStringLiteral("Job Name"),
    QStringLiteral("Job Address 1"),
    QStringLiteral("Job Address 2"),
    QStringLiteral("Job Address 3"),
    QStringLiteral("Job Address 4"),
    QStringLiteral("Job Address 5"),
    QStringLiteral("EMail"),
    QStringLiteral("Job Phone"),
    QStringLiteral("Job Fax"),
    QStringLiteral("Commission"),
    QStringLiteral("ContractNotes"),
    QStringLiteral("Time Period"),
    QStringLiteral("Shipment Terms"),
    QStringLiteral("Payment Terms"),
    QStringLiteral("Deposit Amount"),
    QStringLiteral("US Inland Freight"),
    QStringLiteral("Intl Inland Freight"),
    QStringLiteral("Ocean Freight"),
    QStringLiteral("Insurance"),
    QStringLiteral("Warranty New"),
    QStringLiteral("Warranty Used"),
    QStringLiteral("Warranty Electrical"),
    QStringLiteral("Warranty Buy Out"),
    QStringLiteral("Delivery Time"),
    QStringLiteral("Delivery Time Special Orders"),
    QStringLiteral("Machine Type"),
    QStringLiteral("Machine Voltage"),
    QStringLiteral("# of Lanes"),
    QStringLiteral("# of Posts"),
    QStringLiteral("# of Jobs"),
    QStringLiteral("Country Destination"),
};

} // namespace

JobInformationSheet::JobInformationSheet()
{
    setObjectName(QStringLiteral("JobInformationSheet"));
    setWindowTitle(QStringLiteral("Job Information Form"));

    Data1 = new Binding(this, QStringLiteral("Data1"));
    Data2 = new Binding(this, QStringLiteral("Data2"));
    Data3 = new Binding(this, QStringLiteral("Data3"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);

    // Header: the job's number and name, always in view.
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("Header"));
    header->setFrameShape(QFrame::StyledPanel);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(10, 6, 10, 6);
    m_headerNumber = new QLabel(header);
    m_headerNumber->setObjectName(QStringLiteral("lblJobNumber"));
    m_headerName = new QLabel(header);
    m_headerName->setObjectName(QStringLiteral("lblJobName"));
    QFont strong = m_headerName->font();
    strong.setBold(true);
    strong.setPointSizeF(strong.pointSizeF() * 1.15);
    m_headerNumber->setFont(strong);
    m_headerName->setFont(strong);
    m_headerNumber->setMinimumWidth(60);
    headerLayout->addWidget(new QLabel(QStringLiteral("Job ID Number"), header));
    headerLayout->addWidget(m_headerNumber);
    headerLayout->addSpacing(24);
    headerLayout->addWidget(new QLabel(QStringLiteral("Job Name"), header));
    headerLayout->addWidget(m_headerName, 1);
    outer->addWidget(header);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildJobTab(), QStringLiteral("Job Name"));
    SSTab1->addTab(buildTermsTab(), QStringLiteral("Terms and Conditions"));
    SSTab1->addTab(buildOtherTab(), QStringLiteral("Other Information"));
    outer->addWidget(SSTab1, 1);

    auto* bottom = new QHBoxLayout;
    SSDBData1 = new RecordNavigator(this, QStringLiteral("SSDBData1"), QStringLiteral("Job ID"), Data1);
    SSDBData1->setAddDeleteVisible(true);
    connect(SSDBData1, &RecordNavigator::addRequested, this, &JobInformationSheet::SSDBData1_AddClick);
    connect(SSDBData1, &RecordNavigator::deleteRequested, this, &JobInformationSheet::SSDBData1_DeleteClick);
    bottom->addWidget(SSDBData1, 1);
    bottom->addSpacing(40);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("Command2"));
    exit->setMinimumWidth(110);
    connect(exit, &QPushButton::clicked, this, &JobInformationSheet::Command2_Click);
    bottom->addWidget(exit);
    outer->addLayout(bottom);

    Data1->bind(m_headerNumber, QStringLiteral("AutoNumber"));
    Data1->bind(m_headerName, QStringLiteral("Job Name"));
    for (const auto& [box, field] : std::as_const(m_bound))
        Data1->bind(box, field);

    for (QComboBox* box : {Combo1, Combo2, Combo3, Combo4, Combo6})
        box->installEventFilter(this);
    // Only typing counts as a change here: a row shown by the navigator is not the user's text.
    connect(Combo5->lineEdit(), &QLineEdit::textEdited, this, &JobInformationSheet::Combo5_Change);

    resize(820, 640);
}

QLineEdit* JobInformationSheet::lineEdit(const QString& name, const QString& field, int maxLength,
                                         const QString& tip)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    box->setToolTip(tip);
    m_text.insert(name, box);
    if (!field.isEmpty())
        m_bound.append({box, field});
    return box;
}

QComboBox* JobInformationSheet::comboBox(const QString& name, const QString& field, const QStringList& items,
                                         const QString& tip)
{
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setToolTip(tip);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(18);
    m_bound.append({box, field});
    return box;
}

QPlainTextEdit* JobInformationSheet::memo(const QString& name, const QString& field)
{
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(name);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    m_bound.append({box, field});
    return box;
}

QPushButton* JobInformationSheet::button(const QString& name, const QString& caption,
                                         void (JobInformationSheet::*handler)(), const QString& tip)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

QWidget* JobInformationSheet::buildJobTab()
{
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setSpacing(12);

    auto* jobFrame = new QGroupBox(QStringLiteral("Job Name"), page);
    jobFrame->setObjectName(QStringLiteral("FrameJobName"));
    auto* job = new QGridLayout(jobFrame);
    job->setColumnStretch(1, 1);
    int r = 0;
    const auto add = [&](const QString& text, QWidget* box) {
        job->addWidget(caption(text, jobFrame), r, 0);
        job->addWidget(box, r++, 1);
        return box;
    };
    QLineEdit* date = lineEdit(QStringLiteral("Text39"), QStringLiteral("Quote Date"), 10,
                               QStringLiteral("Enter The Date of this Quotation"));
    date->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    date->setMaximumWidth(120);
    add(QStringLiteral("Quotation Date"), date);
    QLineEdit* number =
        lineEdit(QStringLiteral("Text28"), QStringLiteral("AutoNumber"), 0, QStringLiteral("Job ID Number"));
    number->setEnabled(false);
    number->setMaximumWidth(120);
    add(QStringLiteral("Job ID Number"), number);
    add(QStringLiteral("Job Name"),
        lineEdit(QStringLiteral("Text22"), QStringLiteral("Job Name"), 30, QStringLiteral("Enter Job Name")));
    add(QStringLiteral("Job Address"), lineEdit(QStringLiteral("Text23"), QStringLiteral("Job Address 1"), 30,
                                                QStringLiteral("Enter Job Address")));
    for (int i = 2; i <= 5; ++i)
        add(QString(),
            lineEdit(QStringLiteral("Text%1").arg(22 + i), QStringLiteral("Job Address %1").arg(i), 30));
    add(QStringLiteral("Customer E-Mail"), lineEdit(QStringLiteral("Text40"), QStringLiteral("EMail"), 0));
    add(QStringLiteral("Customer Phone"), lineEdit(QStringLiteral("Text29"), QStringLiteral("Job Phone"), 0,
                                                   QStringLiteral("Enter Job Phone Number")));
    add(QStringLiteral("Customer Fax"), lineEdit(QStringLiteral("Text30"), QStringLiteral("Job Fax"), 0,
                                                 QStringLiteral("Enter Job Fax Number")));
    QLineEdit* commission =
        lineEdit(QStringLiteral("Text11"), QStringLiteral("Commission"), 0,
                 QStringLiteral("Enter the commission you want to add to each line item"));
    commission->setMaximumWidth(120);
    QLabel* commissionCaption = caption(QStringLiteral("Add Commision %"), jobFrame);
    commissionCaption->setObjectName(QStringLiteral("LabelCommission"));
    commissionCaption->setToolTip(
        QStringLiteral("Any percentage number placed here will be added to each line item in the quote."));
    job->addWidget(commissionCaption, r, 0);
    job->addWidget(commission, r++, 1);
    job->setRowStretch(r++, 1);
    job->addWidget(button(QStringLiteral("Command6"), QStringLiteral("&Duplicate This Customer"),
                          &JobInformationSheet::Command6_Click),
                   r++, 0, 1, 2);
    row->addWidget(jobFrame, 1);

    auto* reportFrame = new QGroupBox(QStringLiteral("Reports Information"), page);
    reportFrame->setObjectName(QStringLiteral("FrameReportsInformation"));
    auto* report = new QGridLayout(reportFrame);
    report->setColumnStretch(1, 1);
    r = 0;
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(QStringLiteral("Command3"), QStringLiteral("Copy &Job Name"),
                              &JobInformationSheet::Command3_Click));
    buttons->addWidget(button(QStringLiteral("Command5"), QStringLiteral("&Clear Address Below"),
                              &JobInformationSheet::Command5_Click));
    report->addLayout(buttons, r++, 0, 1, 2);
    const auto addReport = [&](const QString& text, QWidget* box) {
        report->addWidget(caption(text, reportFrame), r, 0);
        report->addWidget(box, r++, 1);
    };
    addReport(QStringLiteral("Name"), lineEdit(QStringLiteral("Text1"), QStringLiteral("Customer Name"), 30));
    addReport(QStringLiteral("Address"),
              lineEdit(QStringLiteral("Text2"), QStringLiteral("Customer Address 1"), 30));
    for (int i = 2; i <= 5; ++i)
        addReport(QString(), lineEdit(QStringLiteral("Text%1").arg(i + 1),
                                      QStringLiteral("Customer Address %1").arg(i), 30));
    addReport(QStringLiteral("Phone"),
              lineEdit(QStringLiteral("Text7"), QStringLiteral("Customer Phone"), 30));
    addReport(QStringLiteral("Fax"), lineEdit(QStringLiteral("Text8"), QStringLiteral("Customer Fax"), 30));
    report->setRowStretch(r, 1);
    row->addWidget(reportFrame, 1);
    return page;
}

QWidget* JobInformationSheet::buildTermsTab()
{
    auto* page = new QWidget(this);
    auto* outer = new QVBoxLayout(page);
    auto* frame = new QGroupBox(QStringLiteral("Terms and Conditions"), page);
    frame->setObjectName(QStringLiteral("FrameTerms"));
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);
    int r = 0;
    const auto add = [&](const QString& text, QWidget* box, const QString& unitText = {}) {
        grid->addWidget(caption(text, frame), r, 0);
        grid->addWidget(box, r, 1);
        if (!unitText.isEmpty())
            grid->addWidget(unit(unitText, frame), r, 2);
        ++r;
    };
    const QStringList payers = {QStringLiteral("Buyer"), QStringLiteral("Seller")};
    const QString pays = QStringLiteral("Pays");
    const QString afterInstallation = QStringLiteral("After Installation");

    add(QStringLiteral("Quote Expires In"),
        lineEdit(QStringLiteral("Text31"), QStringLiteral("Time Period"), 30));
    SSDBCombo1 = comboBox(QStringLiteral("SSDBCombo1"), QStringLiteral("Shipment Terms"), {}, {});
    add(QStringLiteral("Shipment Terms"), SSDBCombo1);
    SSDBCombo2 = comboBox(QStringLiteral("SSDBCombo2"), QStringLiteral("Payment Terms"), {}, {});
    add(QStringLiteral("Payment Terms"), SSDBCombo2);
    add(QStringLiteral("Deposit Amount Received"),
        lineEdit(QStringLiteral("Text37"), QStringLiteral("Deposit Amount"), 30), QStringLiteral("USD"));
    Combo3 = comboBox(QStringLiteral("Combo3"), QStringLiteral("US Inland Freight"), payers,
                      QStringLiteral("Who pays USA inland freight"));
    add(QStringLiteral("US Inland Freight"), Combo3, pays);
    Combo4 = comboBox(QStringLiteral("Combo4"), QStringLiteral("Intl Inland Freight"), payers,
                      QStringLiteral("Who pays Intl. inland freight"));
    add(QStringLiteral("International Inland Freight"), Combo4, pays);
    Combo6 = comboBox(QStringLiteral("Combo6"), QStringLiteral("Ocean Freight"), payers,
                      QStringLiteral("Who pays ocean freight"));
    add(QStringLiteral("Ocean Freight"), Combo6, pays);
    Combo5 = comboBox(QStringLiteral("Combo5"), QStringLiteral("Insurance"), payers,
                      QStringLiteral("Who pays insurance"));
    add(QStringLiteral("Insurance"), Combo5, pays);
    add(QStringLiteral("New Parts Warranty"),
        lineEdit(QStringLiteral("Text32"), QStringLiteral("Warranty New"), 30), afterInstallation);
    add(QStringLiteral("Remanufactured Parts Warranty"),
        lineEdit(QStringLiteral("Text33"), QStringLiteral("Warranty Used"), 30), afterInstallation);
    add(QStringLiteral("Electrical Warranty"),
        lineEdit(QStringLiteral("Text34"), QStringLiteral("Warranty Electrical"), 30), afterInstallation);
    add(QStringLiteral("Major Pinsetter Components Warranty"),
        lineEdit(QStringLiteral("Text38"), QStringLiteral("Warranty Buy Out"), 30), afterInstallation);
    QLineEdit* delivery = lineEdit(QStringLiteral("Text35"), QStringLiteral("Delivery Time"), 2);
    delivery->setMaximumWidth(60);
    add(QStringLiteral("Delivery Time"), delivery, QStringLiteral("Days After Acceptance of Contract"));
    QLineEdit* special =
        lineEdit(QStringLiteral("Text36"), QStringLiteral("Delivery Time Special Orders"), 2);
    special->setMaximumWidth(60);
    add(QStringLiteral("Delivery Time for Special Orders"), special, QStringLiteral("Days"));
    grid->setRowStretch(r, 1);
    outer->addWidget(frame, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(button(QStringLiteral("Command1"), QStringLiteral("&China Defaults"),
                              &JobInformationSheet::Command1_Click,
                              QStringLiteral("\"Click\" to use International Defaults")));
    buttons->addWidget(button(QStringLiteral("Command7"), QStringLiteral("&International Defaults"),
                              &JobInformationSheet::Command7_Click,
                              QStringLiteral("\"Click\" to use International Defaults")));
    buttons->addWidget(button(QStringLiteral("Command4"), QStringLiteral("&USA Defaults"),
                              &JobInformationSheet::Command4_Click,
                              QStringLiteral(" \"Click\" to use Domestic Defaults")));
    outer->addLayout(buttons);
    return page;
}

QWidget* JobInformationSheet::buildOtherTab()
{
    auto* page = new QWidget(this);
    auto* outer = new QVBoxLayout(page);
    auto* frame = new QGroupBox(QStringLiteral("Other Information"), page);
    frame->setObjectName(QStringLiteral("FrameOtherInformation"));
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);
    int r = 0;
    const auto add = [&](const QString& text, QWidget* box, const QString& unitText = {}) {
        QLabel* label = caption(text, frame);
        if (qobject_cast<QPlainTextEdit*>(box)) {
            // Beside a tall box the caption stands at its top line.
            label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            label->setContentsMargins(0, 4, 0, 0);
        }
        grid->addWidget(label, r, 0);
        grid->addWidget(box, r, 1);
        if (!unitText.isEmpty())
            grid->addWidget(unit(unitText, frame), r, 2);
        ++r;
    };
    Combo1 = comboBox(QStringLiteral("Combo1"), QStringLiteral("Machine Type"),
                      {DefaultPinsetter, QStringLiteral("A-2 Pinsetter, Factory Built"),
                       QStringLiteral("A-2 Pinsetter, Japanese Built"), QStringLiteral("AMF 82-70 (Kicker)"),
                       QStringLiteral("AMF 82-70 (PBL)"), QStringLiteral("Scoring Package"),
                       QStringLiteral("Seating Package"), QStringLiteral("Capital Equipment Package")},
                      QStringLiteral("Enter type of pinsetters"));
    add(QStringLiteral("Machine Type"), Combo1);
    Combo2 =
        comboBox(QStringLiteral("Combo2"), QStringLiteral("Machine Voltage"),
                 {QStringLiteral("220 VAC 50 Hz."), QStringLiteral("220 VAC 60 Hz."),
                  QStringLiteral("115 VAC 50 Hz."), QStringLiteral("115 VAC 60 Hz."), QStringLiteral("N/A")},
                 QStringLiteral("Choose from dropdown list"));
    add(QStringLiteral("Machine Voltage"), Combo2);
    add(QStringLiteral("# of Lanes This Job"),
        lineEdit(QStringLiteral("Text18"), QStringLiteral("# of Lanes"), 30,
                 QStringLiteral("Enter number of lanes this job")));
    add(QStringLiteral("# of Posts This Job"),
        lineEdit(QStringLiteral("Text19"), QStringLiteral("# of Posts"), 30,
                 QStringLiteral("Enter number of posts this job")));
    add(QStringLiteral("Enter Number of Jobs"),
        lineEdit(QStringLiteral("Text20"), QStringLiteral("# of Jobs"), 30,
                 QStringLiteral("If this job is a split house, enter number of splits. ")),
        QStringLiteral("Enter 2 for a split house"));
    add(QStringLiteral("Destination Country"),
        lineEdit(QStringLiteral("Text21"), QStringLiteral("Country Destination"), 30,
                 QStringLiteral("Enter the ultimate country destination of equipment")));
    Text9 = memo(QStringLiteral("Text9"), QStringLiteral("Notes"));
    Text9->setMinimumHeight(70);
    add(QStringLiteral("Job Notes "), Text9);
    Text12 = memo(QStringLiteral("Text12"), QStringLiteral("ContractNotes"));
    Text12->setMinimumHeight(90);
    add(QStringLiteral("Contract Terms"), Text12);
    grid->setRowStretch(r - 1, 1);
    grid->setRowStretch(r - 2, 1);
    outer->addWidget(frame, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(button(QStringLiteral("Command8"), QStringLiteral("&China Defaults"),
                              &JobInformationSheet::Command8_Click));
    buttons->addWidget(button(QStringLiteral("Command9"), QStringLiteral("&Int'l Defaults"),
                              &JobInformationSheet::Command9_Click));
    buttons->addWidget(button(QStringLiteral("Command10"), QStringLiteral("&USA Defaults"),
                              &JobInformationSheet::Command10_Click));
    buttons->addWidget(button(QStringLiteral("Command11"), QStringLiteral("&Scoring Defaults"),
                              &JobInformationSheet::Command11_Click));
    outer->addLayout(buttons);
    return page;
}

void JobInformationSheet::Form_Load()
{
    const QString path = platform::databasePath();
    Data1->setDatabaseName(path);
    Data2->setDatabaseName(path);
    Data3->setDatabaseName(path);
    Data1->setRecordSource(QStringLiteral("Job Information"));
    Data2->setRecordSource(QStringLiteral("PaymentTerms"));
    Data3->setRecordSource(QStringLiteral("ShipmentTerms"));
    SSTab1->setCurrentIndex(0);
    // The lists are filled before the job shows, so that filling them cannot change the job's texts.
    if (Data2->open())
        fillTermsList(SSDBCombo2, Data2, QStringLiteral("PaymentTerms"));
    if (Data3->open())
        fillTermsList(SSDBCombo1, Data3, QStringLiteral("ShipmentTerms"));
    Data1->open();
}

void JobInformationSheet::fillTermsList(QComboBox* box, Binding* source, const QString& field)
{
    const db::RecordSetPtr set = source->recordset();
    const int column = set->fieldIndex(field);
    QStringList texts;
    for (int row = 0; row < set->count(); ++row)
        texts.append(Binding::displayText(set->valueAt(row, column)));
    const QString shown = box->currentText();
    box->clear();
    box->addItems(texts);
    box->setCurrentIndex(-1);
    box->setEditText(shown);
}

void JobInformationSheet::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    Form_Paint();
}

void JobInformationSheet::Form_Paint()
{
    // The entry that opened the sheet may have left the hourglass.
    if (platform::interactive().pointer() != Pointer::Default)
        setPointer(Pointer::Default);
}

bool JobInformationSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving the window or opening the box's own list is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == Combo1)
                Combo1_LostFocus();
            else if (watched == Combo2)
                Combo2_LostFocus();
            else if (watched == Combo3)
                Combo3_LostFocus();
            else if (watched == Combo4)
                Combo4_LostFocus();
            else if (watched == Combo6)
                Combo6_LostFocus();
        }
    }
    return Form::eventFilter(watched, event);
}

bool JobInformationSheet::checkListLength(QComboBox* box)
{
    // While one refusal puts the focus back, the box losing it then is not checked again: two boxes that are
    // both too long would otherwise hand the focus back and forth for ever.
    static bool refusing = false;
    if (refusing || box->currentText().size() <= ListTextLimit)
        return true;
    refusing = true;
    msgBox(QStringLiteral("You can only use 30 characters here."), vbOKOnly);
    box->setFocus(Qt::OtherFocusReason);
    refusing = false;
    return false;
}

void JobInformationSheet::Combo1_LostFocus()
{
    checkListLength(Combo1);
}

void JobInformationSheet::Combo2_LostFocus()
{
    checkListLength(Combo2);
}

void JobInformationSheet::Combo3_LostFocus()
{
    checkListLength(Combo3);
}

void JobInformationSheet::Combo4_LostFocus()
{
    checkListLength(Combo4);
}

void JobInformationSheet::Combo6_LostFocus()
{
    checkListLength(Combo6);
}

void JobInformationSheet::Combo5_Change()
{
    checkListLength(Combo5);
}

void JobInformationSheet::applyTermsDefaults(const TermsDefaults& values)
{
    const QString shipment = values.shipment.isNull()
                                 ? Binding::displayText(Data3->value(QStringLiteral("ShipmentTerms")))
                                 : values.shipment;
    const QString payment = values.payment.isNull()
                                ? Binding::displayText(Data2->value(QStringLiteral("PaymentTerms")))
                                : values.payment;
    m_text.value(QStringLiteral("Text31"))->setText(QStringLiteral("60 Days"));
    SSDBCombo1->setEditText(shipment);
    SSDBCombo2->setEditText(payment);
    m_text.value(QStringLiteral("Text37"))->setText(QStringLiteral("0"));
    Combo3->setEditText(values.usInlandFreight);
    Combo4->setEditText(values.intlInlandFreight);
    Combo5->setEditText(values.insurance);
    Combo6->setEditText(values.oceanFreight);
    m_text.value(QStringLiteral("Text32"))->setText(QStringLiteral("1 Year"));
    m_text.value(QStringLiteral("Text33"))->setText(QStringLiteral("6 Months"));
    m_text.value(QStringLiteral("Text34"))->setText(QStringLiteral("3 Months"));
    m_text.value(QStringLiteral("Text35"))->setText(values.deliveryTime);
    m_text.value(QStringLiteral("Text36"))->setText(QStringLiteral("45"));
    m_text.value(QStringLiteral("Text38"))->setText(QStringLiteral("1 Year"));
}

void JobInformationSheet::Command1_Click()
{
    applyTermsDefaults({QStringLiteral("CIF China Main Port"),
                        QStringLiteral("Irrevocable Letter of Credit, or Cash In Advance of Shipment"),
                        QStringLiteral("Seller"), QStringLiteral("Buyer"), QStringLiteral("Seller"),
                        QStringLiteral("Seller"), QStringLiteral("30")});
}

void JobInformationSheet::Command4_Click()
{
    applyTermsDefaults({QString(), QString(), QStringLiteral("Buyer"), QStringLiteral("N/A"),
                        QStringLiteral("Buyer"), QStringLiteral("N/A"), QStringLiteral("45")});
}

void JobInformationSheet::Command7_Click()
{
    applyTermsDefaults({QString(), QString(), QStringLiteral("Buyer"), QStringLiteral("Buyer"),
                        QStringLiteral("Buyer"), QStringLiteral("Buyer"), QStringLiteral("30")});
}

void JobInformationSheet::applyMachineDefaults(const MachineDefaults& values)
{
    Combo1->setEditText(values.machineType);
    Combo2->setEditText(values.voltage);
    m_text.value(QStringLiteral("Text19"))->setText(QStringLiteral("0"));
    QLineEdit* country = m_text.value(QStringLiteral("Text21"));
    country->setText(values.country);
    Text12->setPlainText(values.contractTerms);
    // The caret goes before ", USA", where the city belongs.
    country->setCursorPosition(0);
    country->setFocus(Qt::OtherFocusReason);
}

void JobInformationSheet::Command8_Click()
{
    applyMachineDefaults({DefaultPinsetter, QStringLiteral("220 VAC-50Hz."), QString(), TwentyDayTerms});
}

void JobInformationSheet::Command9_Click()
{
    applyMachineDefaults(
        {DefaultPinsetter, QStringLiteral("Needs to be determined!"), QString(), TwentyDayTerms});
}

void JobInformationSheet::Command10_Click()
{
    applyMachineDefaults(
        {DefaultPinsetter, QStringLiteral("220 VAC-60Hz."), QStringLiteral(", USA"), FiveDayTerms});
}

void JobInformationSheet::Command11_Click()
{
    applyMachineDefaults({QStringLiteral("New Scoring Package"), QStringLiteral("120 VAC-60Hz."),
                          QStringLiteral(", USA"), FiveDayTerms});
}

void JobInformationSheet::Command3_Click()
{
    const auto copy = [this](const char* from, const char* to) {
        m_text.value(QLatin1String(to))->setText(m_text.value(QLatin1String(from))->text());
    };
    copy("Text22", "Text1");
    for (int i = 0; i < 5; ++i)
        m_text.value(QStringLiteral("Text%1").arg(2 + i))
            ->setText(m_text.value(QStringLiteral("Text%1").arg(23 + i))->text());
    copy("Text29", "Text7");
    copy("Text30", "Text8");
}

void JobInformationSheet::Command5_Click()
{
    for (int i = 1; i <= 8; ++i)
        m_text.value(QStringLiteral("Text%1").arg(i))->clear();
}

void JobInformationSheet::Command6_Click()
{
    if (!hasJob()) {
        beep();
        return;
    }
    if (msgBox(QStringLiteral("Are you sure you want to duplicate this customer?"),
               vbYesNo + vbQuestion + vbDefaultButton2) != vbYes)
        return;
    QList<QPair<QWidget*, QString>> held;
    for (const auto& [box, field] : std::as_const(m_bound))
        if (DuplicatedFields.contains(field))
            held.append({box, boxText(box)});
    // Saves the job's pending edits first; the boxes then belong to the new, empty row.
    if (!Data1->addNew())
        return;
    for (const auto& [box, text] : std::as_const(held))
        setBoxText(box, text);
    Command3_Click();
    if (!Data1->updateRecord())
        return;
    Data1->moveLast();
}

bool JobInformationSheet::newJobIsBlank() const
{
    const db::RecordSetPtr set = Data1->recordset();
    if (!set || !set->isNew())
        return false;
    for (const auto& [box, field] : m_bound)
        if (!boxText(box).trimmed().isEmpty())
            return false;
    return true;
}

bool JobInformationSheet::hasJob() const
{
    const db::RecordSetPtr set = Data1->recordset();
    return set && set->hasCurrent() && !newJobIsBlank();
}

void JobInformationSheet::Command2_Click()
{
    if (newJobIsBlank())
        Data1->cancelUpdate();
    if (hasJob()) {
        if (isBlank(m_text.value(QStringLiteral("Text18"))) ||
            isBlank(m_text.value(QStringLiteral("Text19"))) ||
            isBlank(m_text.value(QStringLiteral("Text20")))) {
            msgBox(EmptySections, vbOKOnly);
            SSTab1->setCurrentIndex(2);
            Combo1->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (!Data1->updateRecord())
            return;
    }
    close();
}

bool JobInformationSheet::Form_Unload()
{
    // A new row with nothing typed into it is no job: it goes without a question.
    if (newJobIsBlank())
        Data1->cancelUpdate();
    if (hasJob()) {
        QLineEdit* lanes = m_text.value(QStringLiteral("Text18"));
        if (isBlank(lanes) || isBlank(m_text.value(QStringLiteral("Text19")))) {
            msgBox(EmptySections, vbOKOnly);
            lanes->setFocus(Qt::OtherFocusReason);
            return false;
        }
        // Saved here rather than after closing, so that a refused save keeps the sheet and what was typed.
        if (!Data1->updateRecord())
            return false;
    }
    mainMenu()->show();
    return true;
}

void JobInformationSheet::SSDBData1_AddClick()
{
    if (!Data1->addNew())
        return;
    SSTab1->setCurrentIndex(0);
    m_text.value(QStringLiteral("Text22"))->setFocus(Qt::OtherFocusReason);
}

void JobInformationSheet::SSDBData1_DeleteClick()
{
    const db::RecordSetPtr set = Data1->recordset();
    if (!set || !set->hasCurrent()) {
        beep();
        return;
    }
    if (set->isNew()) {
        // A job not saved yet is only dropped.
        Data1->cancelUpdate();
        return;
    }
    const qint64 job = set->value(QStringLiteral("AutoNumber")).toLongLong();
    QSqlDatabase db = Data1->connection()->database();
    QString error;
    const int lines = jobs::countJobLines(db, job, &error);
    if (lines < 0) {
        Binding::reportError(error);
        return;
    }
    QString name = m_text.value(QStringLiteral("Text22"))->text().trimmed();
    if (name.isEmpty())
        name = Binding::displayText(set->value(QStringLiteral("Job Name")));
    const QString linesText = lines == 0 ? QStringLiteral("It has no quote lines.")
                              : lines == 1
                                  ? QStringLiteral("Its 1 quote line will be deleted with it.")
                                  : QStringLiteral("Its %1 quote lines will be deleted with it.").arg(lines);
    const QString question = QStringLiteral("Are you sure you want to delete job %1 \"%2\"? %3")
                                 .arg(QString::number(job), name, linesText);
    if (msgBox(question, vbYesNo + vbQuestion + vbDefaultButton2) != vbYes)
        return;
    if (!jobs::deleteJobWithLines(db, job, &error)) {
        Binding::reportError(error);
        return;
    }
    // The edits of the deleted job go with it; then the set is read again.
    Data1->cancelUpdate();
    Data1->refresh();
}

} // namespace tv
