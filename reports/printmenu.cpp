#include "reports/printmenu.h"

#include "platform/interactive.h"
#include "reports/printrun.h"
#include "reports/reportcatalogue.h"
#include "shell/artwork.h"
#include "shell/mainmenu.h"

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

} // namespace

PrintMenu::PrintMenu()
{
    setObjectName(QStringLiteral("PrintMenu"));
    setWindowTitle(QStringLiteral("Print Menu"));

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

    auto* quotations = frame(this, QStringLiteral("Frame2"), QStringLiteral("Quotations"));
    auto* others = frame(this, QStringLiteral("Frame3"), QStringLiteral("Other Reports"));
    auto* quotationsLayout = new QVBoxLayout(quotations);
    auto* othersLayout = new QVBoxLayout(others);
    for (QVBoxLayout* l : {quotationsLayout, othersLayout}) {
        l->setContentsMargins(12, 10, 12, 12);
        l->setSpacing(6);
    }

    using Handler = void (PrintMenu::*)();
    const QHash<QString, Handler> handlers{
        {QStringLiteral("Command2"), &PrintMenu::Command2_Click},
        {QStringLiteral("Command7"), &PrintMenu::Command7_Click},
        {QStringLiteral("Command8"), &PrintMenu::Command8_Click},
        {QStringLiteral("Command3"), &PrintMenu::Command3_Click},
        {QStringLiteral("Command4"), &PrintMenu::Command4_Click},
        {QStringLiteral("Command9"), &PrintMenu::Command9_Click},
        {QStringLiteral("Command10"), &PrintMenu::Command10_Click},
        {QStringLiteral("Command11"), &PrintMenu::Command11_Click},
    };
    // The first three buttons of the catalogue are the quotations.
    int index = 0;
    for (const reports::CatalogueEntry& entry : reports::catalogue::singleReports()) {
        QGroupBox* parent = index < 3 ? quotations : others;
        auto* button = new QPushButton(entry.caption, parent);
        button->setObjectName(entry.element);
        button->setMinimumHeight(30);
        button->setMinimumWidth(230);
        connect(button, &QPushButton::clicked, this, handlers.value(entry.element));
        (index < 3 ? quotationsLayout : othersLayout)->addWidget(button);
        m_buttons.insert(entry.element, button);
        ++index;
    }
    quotationsLayout->addStretch(1);

    auto* options = frame(this, QStringLiteral("Frame4"), QStringLiteral("Report Options"));
    SSCheck1 = new QCheckBox(QStringLiteral("Preview &First With Export Options"), options);
    SSCheck1->setObjectName(QStringLiteral("SSCheck1"));
    // Previewing first is the safer start: nothing goes to paper by accident.
    SSCheck1->setChecked(true);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->setContentsMargins(12, 10, 12, 12);
    optionsLayout->addWidget(SSCheck1);

    Command1 = new QPushButton(QStringLiteral("E&xit"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumSize(96, 30);
    connect(Command1, &QPushButton::clicked, this, &PrintMenu::Command1_Click);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(Image1, 0, Qt::AlignVCenter);
    top->addWidget(jobFrame, 1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(quotations, 0, 0);
    grid->addWidget(options, 1, 0);
    grid->addWidget(others, 0, 1, 2, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Command1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 16);
    outer->setSpacing(12);
    outer->addLayout(top);
    outer->addLayout(grid, 1);
    outer->addLayout(bottom);

    setTabOrder(Text1, m_buttons.value(QStringLiteral("Command2")));
    resize(sizeHint());
}

void PrintMenu::Form_Load()
{
    setPointer(Pointer::Default);
    // The report engine reads the database of the application folder.
    CrystalReport1.setDatabasePath(platform::databasePath());
    Text1->setFocus();
}

bool PrintMenu::Form_Unload()
{
    hide();
    if (MainMenu* main = Forms::loaded<MainMenu>())
        main->showModeless();
    return true;
}

int PrintMenu::destination() const
{
    return SSCheck1->isChecked() ? report::ToWindow : report::ToPrinter;
}

void PrintMenu::printDocument(const QString& element)
{
    const reports::CatalogueEntry* entry = reports::catalogue::find(element, true);
    if (!entry)
        return;
    const std::optional<QString> job = reports::typedJobNumber(Text1);
    if (!job)
        return;
    setPointer(Pointer::Hourglass);
    reports::PrintRun run(CrystalReport1);
    run.print(entry->caption, reports::catalogue::reportPath(entry->file),
              reports::catalogue::formula(*entry, *job), destination());
    setPointer(Pointer::Default);
    run.tellFailures(windowTitle());
}

void PrintMenu::Command2_Click()
{
    printDocument(QStringLiteral("Command2"));
}

void PrintMenu::Command7_Click()
{
    printDocument(QStringLiteral("Command7"));
}

void PrintMenu::Command8_Click()
{
    printDocument(QStringLiteral("Command8"));
}

void PrintMenu::Command3_Click()
{
    printDocument(QStringLiteral("Command3"));
}

void PrintMenu::Command4_Click()
{
    printDocument(QStringLiteral("Command4"));
}

void PrintMenu::Command9_Click()
{
    printDocument(QStringLiteral("Command9"));
}

void PrintMenu::Command10_Click()
{
    printDocument(QStringLiteral("Command10"));
}

void PrintMenu::Command11_Click()
{
    const reports::CatalogueEntry* entry = reports::catalogue::find(QStringLiteral("Command11"), true);
    setPointer(Pointer::Hourglass);
    reports::PrintRun run(CrystalReport1);
    // No formula of its own: the layout prints a form to fill in by hand when the engine holds none.
    run.print(entry->caption, reports::catalogue::reportPath(entry->file), std::nullopt, destination());
    setPointer(Pointer::Default);
    run.tellFailures(windowTitle());
}

void PrintMenu::Command1_Click()
{
    hide();
    if (MainMenu* main = Forms::loaded<MainMenu>())
        main->showModeless();
}

} // namespace tv
