#include "reports/printmenu2.h"

#include "platform/interactive.h"
#include "reports/printrun.h"
#include "reports/reportcatalogue.h"
#include "shell/artwork.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tv {

namespace {

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    return b;
}

QStringList names(std::initializer_list<const char*> list)
{
    QStringList result;
    for (const char* n : list)
        result.append(QString::fromLatin1(n));
    return result;
}

} // namespace

const QList<PrintMenu2::Preset>& PrintMenu2::presets()
{
    static const QList<Preset> list{
        {QStringLiteral("Command2"), QStringLiteral("Int'l  Quote"), names({"Check2", "Check3", "Check7"}),
         names({"Check1", "Check11"})},
        {QStringLiteral("Command3"), QStringLiteral("USA Quote"), names({"Check1", "Check3"}),
         names({"Check2", "Check11", "Check7"})},
        {QStringLiteral("Command4"), QStringLiteral("Scoring Quote"), names({"Check1", "Check2"}),
         names({"Check3", "Check11", "Check7"})},
    };
    return list;
}

PrintMenu2::PrintMenu2()
{
    setObjectName(QStringLiteral("PrintMenu2"));
    setWindowTitle(QStringLiteral("Print Multiple Reports"));
    // Everything printed from here goes to the printer; the window never changes that.
    CrystalReport1.setDestination(report::ToPrinter);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(artwork::printer(72));
    Image1->setFixedSize(72, 72);
    Image1->setScaledContents(true);

    auto* jobFrame = frame(this, QStringLiteral("Frame1"), QStringLiteral("Enter Job ID Number Here"));
    Text1 = new QLineEdit(jobFrame);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMinimumWidth(160);
    QFont big = Text1->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    Text1->setFont(big);
    auto* jobLayout = new QHBoxLayout(jobFrame);
    jobLayout->setContentsMargins(12, 10, 12, 12);
    jobLayout->addWidget(Text1);

    auto* reportsFrame =
        frame(this, QStringLiteral("Frame2"), QStringLiteral("Select Which Reports to Print"));
    for (const reports::CatalogueEntry& entry : reports::catalogue::multipleReports()) {
        auto* box = new QCheckBox(entry.caption, reportsFrame);
        box->setObjectName(entry.element);
        m_boxes.insert(entry.element, box);
    }
    // On the screen the documents of the job come first, the terms beside them.
    const QStringList documentsColumn =
        names({"Check10", "Check11", "Check12", "Check6", "Check13", "Check7"});
    const QStringList termsColumn = names({"Check1", "Check2", "Check3", "Check4"});
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(24);
    boxes->setVerticalSpacing(6);
    for (int i = 0; i < documentsColumn.size(); ++i)
        boxes->addWidget(m_boxes.value(documentsColumn.at(i)), i, 0);
    for (int i = 0; i < termsColumn.size(); ++i)
        boxes->addWidget(m_boxes.value(termsColumn.at(i)), i, 1);

    auto* printButton =
        button(reportsFrame, QStringLiteral("Command1"), QStringLiteral("&Print (No Preview)"));
    printButton->setMinimumWidth(170);
    QFont bold = printButton->font();
    bold.setBold(true);
    printButton->setFont(bold);
    connect(printButton, &QPushButton::clicked, this, &PrintMenu2::Command1_Click);
    m_buttons.insert(QStringLiteral("Command1"), printButton);

    using Handler = void (PrintMenu2::*)();
    const QHash<QString, Handler> presetHandlers{
        {QStringLiteral("Command2"), &PrintMenu2::Command2_Click},
        {QStringLiteral("Command3"), &PrintMenu2::Command3_Click},
        {QStringLiteral("Command4"), &PrintMenu2::Command4_Click},
    };
    auto* presetRow = new QHBoxLayout;
    presetRow->setSpacing(8);
    for (const Preset& preset : presets()) {
        auto* b = button(reportsFrame, preset.element, preset.caption);
        b->setMinimumWidth(110);
        connect(b, &QPushButton::clicked, this, presetHandlers.value(preset.element));
        presetRow->addWidget(b);
        m_buttons.insert(preset.element, b);
    }
    presetRow->addStretch(1);
    presetRow->addWidget(printButton);

    auto* reportsLayout = new QVBoxLayout(reportsFrame);
    reportsLayout->setContentsMargins(14, 12, 14, 12);
    reportsLayout->setSpacing(14);
    reportsLayout->addLayout(boxes);
    reportsLayout->addLayout(presetRow);

    auto* contractsFrame =
        frame(this, QStringLiteral("Frame3"), QStringLiteral("Select Which Contracts to Print"));
    auto* contractsLayout = new QHBoxLayout(contractsFrame);
    contractsLayout->setContentsMargins(14, 12, 14, 12);
    contractsLayout->setSpacing(10);
    const QHash<QString, Handler> packageHandlers{
        {QStringLiteral("Command6"), &PrintMenu2::Command6_Click},
        {QStringLiteral("Command7"), &PrintMenu2::Command7_Click},
        {QStringLiteral("Command8"), &PrintMenu2::Command8_Click},
    };
    for (const reports::ContractPackage& package : reports::catalogue::contractPackages()) {
        auto* b = button(contractsFrame, package.element, package.caption);
        b->setMinimumWidth(170);
        connect(b, &QPushButton::clicked, this, packageHandlers.value(package.element));
        contractsLayout->addWidget(b);
        m_buttons.insert(package.element, b);
    }

    Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("E&xit"));
    Command5->setMinimumWidth(96);
    connect(Command5, &QPushButton::clicked, this, &PrintMenu2::Command5_Click);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(Image1, 0, Qt::AlignVCenter);
    top->addWidget(jobFrame, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Command5);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 16);
    outer->setSpacing(12);
    outer->addLayout(top);
    outer->addWidget(reportsFrame);
    outer->addWidget(contractsFrame);
    outer->addStretch(1);
    outer->addLayout(bottom);

    resize(sizeHint());
}

void PrintMenu2::Form_Load()
{
    setPointer(Pointer::Default);
    // The report engine reads the database of the application folder.
    CrystalReport1.setDatabasePath(platform::databasePath());
    Text1->setFocus();
}

void PrintMenu2::Command1_Click()
{
    setPointer(Pointer::Hourglass);
    const std::optional<QString> job = reports::typedJobNumber(Text1);
    if (!job)
        return;
    reports::PrintRun run(CrystalReport1);
    for (const reports::CatalogueEntry& entry : reports::catalogue::multipleReports())
        if (m_boxes.value(entry.element)->isChecked())
            run.print(entry.caption, reports::catalogue::reportPath(entry.file),
                      reports::catalogue::formula(entry, *job));
    setPointer(Pointer::Default);
    run.tellFailures(windowTitle());
}

void PrintMenu2::applyPreset(const QString& element)
{
    for (const Preset& preset : presets()) {
        if (preset.element != element)
            continue;
        for (const QString& name : preset.unticks)
            m_boxes.value(name)->setChecked(false);
        for (const QString& name : preset.ticks)
            m_boxes.value(name)->setChecked(true);
    }
    Text1->setFocus();
}

void PrintMenu2::Command2_Click()
{
    applyPreset(QStringLiteral("Command2"));
}

void PrintMenu2::Command3_Click()
{
    applyPreset(QStringLiteral("Command3"));
}

void PrintMenu2::Command4_Click()
{
    applyPreset(QStringLiteral("Command4"));
}

void PrintMenu2::printPackage(const QString& element)
{
    const reports::ContractPackage* package = nullptr;
    for (const reports::ContractPackage& p : reports::catalogue::contractPackages())
        if (p.element == element)
            package = &p;
    if (!package)
        return;
    setPointer(Pointer::Hourglass);
    const std::optional<QString> job = reports::typedJobNumber(Text1);
    if (!job)
        return;
    setPointer(Pointer::Default);
    const bool withPrices = msgBox(QStringLiteral("Do you want line item pricing included?"),
                                   package->questionStyle, QStringLiteral("Line Item Pricing?")) == vbYes;
    setPointer(Pointer::Hourglass);
    reports::PrintRun run(CrystalReport1);
    QList<reports::CatalogueEntry> documents{reports::catalogue::contractSchedule(withPrices)};
    documents.append(package->afterSchedule);
    for (const reports::CatalogueEntry& entry : std::as_const(documents))
        run.print(entry.caption, reports::catalogue::reportPath(entry.file),
                  reports::catalogue::formula(entry, *job));
    setPointer(Pointer::Default);
    run.tellFailures(windowTitle());
}

void PrintMenu2::Command6_Click()
{
    printPackage(QStringLiteral("Command6"));
}

void PrintMenu2::Command7_Click()
{
    printPackage(QStringLiteral("Command7"));
}

void PrintMenu2::Command8_Click()
{
    printPackage(QStringLiteral("Command8"));
}

void PrintMenu2::Command5_Click()
{
    hide();
}

} // namespace tv
