#include "shell/mainmenu.h"

#include "platform/binding.h"
#include "platform/clicklabel.h"
#include "platform/interactive.h"
#include "shell/artwork.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tv {

namespace {

constexpr int PictureSize = 96;

ClickLabel* picture(QWidget* parent, const QString& name, const QPixmap& art, const QString& tip)
{
    auto* label = new ClickLabel(parent);
    label->setObjectName(name);
    label->setPixmap(art);
    label->setFixedSize(PictureSize, PictureSize);
    label->setScaledContents(true);
    label->setToolTip(tip);
    return label;
}

ClickLabel* caption(QWidget* parent, const QString& name, const QString& text, const QString& tip)
{
    auto* label = new ClickLabel(text, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    f.setBold(true);
    label->setFont(f);
    return label;
}

QLabel* sign(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 2.4);
    f.setBold(true);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #28344a;"));
    return label;
}

std::function<void()>& deferredPreparation()
{
    static std::function<void()> preparation;
    return preparation;
}

} // namespace

void MainMenu::openDataAfterFirstPaint(std::function<void()> beforeOpen)
{
    deferredPreparation() = beforeOpen ? std::move(beforeOpen) : [] {};
}

MainMenu::MainMenu()
{
    setObjectName(QStringLiteral("MainMenu"));
    setWindowTitle(ApplicationTitle);
    setWindowIcon(artwork::applicationIcon());
    setMouseTracking(true);

    Data1 = new Binding(this, QStringLiteral("Data1"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MenuBar"));
    outer->setMenuBar(bar);
    buildMenus(bar);

    auto* surface = new QWidget(this);
    surface->setObjectName(QStringLiteral("Surface"));
    surface->setMouseTracking(true);
    surface->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    auto* grid = new QGridLayout(surface);
    grid->setContentsMargins(24, 16, 24, 16);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);

    Image1 = new QLabel(surface);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumHeight(110);
    Image1->setMaximumHeight(140);
    grid->addWidget(Image1, 0, 0, 1, 7, Qt::AlignHCenter);
    grid->setRowStretch(1, 1);

    Image4 = picture(surface, QStringLiteral("Image4"), artwork::handshake(PictureSize),
                     QStringLiteral("Click here to modify the customer information"));
    Image3 = picture(surface, QStringLiteral("Image3"), artwork::checkList(PictureSize),
                     QStringLiteral("Click here to add items to the quotation"));
    Image2 = picture(surface, QStringLiteral("Image2"), artwork::printer(PictureSize),
                     QStringLiteral("Click here to open the print menu"));
    auto* image5 = new QLabel(surface);
    image5->setObjectName(QStringLiteral("Image5"));
    image5->setPixmap(artwork::finishedQuote(PictureSize));
    image5->setFixedSize(PictureSize, PictureSize);
    image5->setScaledContents(true);
    Image5 = image5;

    Label2 = caption(surface, QStringLiteral("Label2"), QStringLiteral("Customer Information "),
                     QStringLiteral("\"Click\" here or on the Handshake to Modify or Add a New Job"));
    Label3 = caption(surface, QStringLiteral("Label3"), QStringLiteral("Check List "),
                     QStringLiteral("\"Click\" here or on the Check List  to Select Items for a Quote"));
    Label4 = caption(surface, QStringLiteral("Label4"), QStringLiteral("Print Menu "),
                     QStringLiteral("\"Click\" here or on the Printer to Print a Quote"));
    auto* label5 = caption(surface, QStringLiteral("Label5"), QStringLiteral("Finished Quote"), QString());

    grid->addWidget(Image4, 2, 0, Qt::AlignHCenter);
    grid->addWidget(sign(surface, QStringLiteral("Label6"), QStringLiteral("+")), 2, 1);
    grid->addWidget(Image3, 2, 2, Qt::AlignHCenter);
    grid->addWidget(sign(surface, QStringLiteral("Label7"), QStringLiteral("+")), 2, 3);
    grid->addWidget(Image2, 2, 4, Qt::AlignHCenter);
    grid->addWidget(sign(surface, QStringLiteral("Label8"), QStringLiteral("=")), 2, 5);
    grid->addWidget(Image5, 2, 6, Qt::AlignHCenter);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(Label3, 3, 2);
    grid->addWidget(Label4, 3, 4);
    grid->addWidget(label5, 3, 6);
    grid->setRowStretch(4, 1);
    outer->addWidget(surface, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    m_timePanel = new QLabel(StatusBar1);
    m_timePanel->setObjectName(QStringLiteral("Panel1"));
    m_datePanel = new QLabel(StatusBar1);
    m_datePanel->setObjectName(QStringLiteral("Panel2"));
    m_datePanel->setAlignment(Qt::AlignCenter);
    StatusBar1->addWidget(m_timePanel, 1);
    StatusBar1->addPermanentWidget(m_datePanel);
    outer->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3);
    connect(Timer1, &QTimer::timeout, this, &MainMenu::Timer1_Timer);

    connect(Image2, &ClickLabel::doubleClicked, this, &MainMenu::Image2_DblClick);
    connect(Image3, &ClickLabel::doubleClicked, this, &MainMenu::Image3_DblClick);
    connect(Image4, &ClickLabel::doubleClicked, this, &MainMenu::Image4_DblClick);
    connect(Label2, &ClickLabel::clicked, this, &MainMenu::Label2_Click);
    connect(Label3, &ClickLabel::clicked, this, &MainMenu::Label3_Click);
    connect(Label4, &ClickLabel::clicked, this, &MainMenu::Label4_Click);

    setMinimumSize(640, 420);
    resize(760, 480);
    Form_Resize();
}

QAction* MainMenu::addEntry(QMenu* menu, const QString& name, const QString& caption,
                            void (MainMenu::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    m_entries.insert(name, action);
    return action;
}

void MainMenu::buildMenus(QMenuBar* bar)
{
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MnuFile"));
    addEntry(file, QStringLiteral("MnuFileCompress"), QStringLiteral("&Compress"),
             &MainMenu::MnuFileCompress_Click);
    addEntry(file, QStringLiteral("mnuFileBackup"), QStringLiteral("Backup / Restore"),
             &MainMenu::mnuFileBackup_Click);
    addEntry(file, QStringLiteral("MnuExit"), QStringLiteral("E&xit"), &MainMenu::MnuExit_Click);

    QMenu* modify = bar->addMenu(QStringLiteral("&Modify"));
    modify->setObjectName(QStringLiteral("MnuModify"));
    addEntry(modify, QStringLiteral("MnuYourInformation"), QStringLiteral("&Your Information"),
             &MainMenu::MnuYourInformation_Click);
    addEntry(modify, QStringLiteral("MnuJobInformation"), QStringLiteral("&Job Information"),
             &MainMenu::MnuJobInformation_Click);
    addEntry(modify, QStringLiteral("MnuFinance"), QStringLiteral("&Finance Factors"),
             &MainMenu::MnuFinance_Click);
    addEntry(modify, QStringLiteral("MnuLogo"), QStringLiteral("&Logo"), &MainMenu::MnuLogo_Click);
    addEntry(modify, QStringLiteral("MnuPaymentTerms"), QStringLiteral("&Payment Terms"),
             &MainMenu::MnuPaymentTerms_Click);
    addEntry(modify, QStringLiteral("MnuShipmentTerms"), QStringLiteral("&Shipment Terms"),
             &MainMenu::MnuShipmentTerms_Click);
    QAction* space = modify->addSeparator();
    space->setObjectName(QStringLiteral("MnuSpace"));
    m_entries.insert(QStringLiteral("MnuSpace"), space);
    addEntry(modify, QStringLiteral("MnuCustItems"), QStringLiteral("C&ustom Items"),
             &MainMenu::MnuCustItems_Click)
        ->setCheckable(true);
    addEntry(modify, QStringLiteral("MnuModifyItems"), QStringLiteral("&Quoted Job Items"),
             &MainMenu::MnuModifyItems_Click);

    QMenu* print = bar->addMenu(QStringLiteral("&Print"));
    print->setObjectName(QStringLiteral("MenuPrintMenu"));
    addEntry(print, QStringLiteral("MnuPrintMultiple"), QStringLiteral("Multiple Reports"),
             &MainMenu::MnuPrintMultiple_Click);
    addEntry(print, QStringLiteral("MnuSingleReport"), QStringLiteral("Single Reports"),
             &MainMenu::MnuSingleReport_Click);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    // The program has no help file: the entry stays greyed.
    addEntry(help, QStringLiteral("HelpMenuHelp"), QStringLiteral("&Help"), &MainMenu::HelpMenuHelp_Click)
        ->setEnabled(false);
    addEntry(help, QStringLiteral("MenuHelpAbout"), QStringLiteral("&About"), &MainMenu::MenuHelpAbout_Click);

    // Each subsystem's entries live in mainmenu_<subsystem>.cpp with their handlers.
    setUpJobsEntries();
    setUpQuoteEntries();
    setUpSettingsEntries();
    setUpReportsEntries();
    setUpBackupEntries();
}

bool MainMenu::editingFlag() const
{
    return m_entries.value(QStringLiteral("MnuCustItems"))->isChecked();
}

void MainMenu::setEditingFlag(bool on)
{
    m_entries.value(QStringLiteral("MnuCustItems"))->setChecked(on);
}

void MainMenu::Form_Load()
{
    Data1->setDatabaseName(platform::databasePath());
    Data1->setRecordSource(QStringLiteral("LogoData"));
    Data1->bindPicture(Image1, QStringLiteral("Logo"));
    if (deferredPreparation()) {
        m_dataPending = true;
    } else {
        Data1->open();
    }
    Timer1->start();
    Timer1_Timer();
}

bool MainMenu::Form_Unload()
{
    // Ending the program closes every other window without its checks.
    Timer1->stop();
    for (Form* form : Forms::all())
        if (form != this)
            form->forceUnload();
    return true;
}

void MainMenu::Timer1_Timer()
{
    const QDateTime now = platform::clock().now();
    const QLocale locale;
    const QString time = locale.toString(now.time(), QStringLiteral("h:mm AP"));
    const QString date = locale.toString(now.date(), QLocale::LongFormat);
    if (m_timePanel->text() != time)
        m_timePanel->setText(time);
    if (m_datePanel->text() != date)
        m_datePanel->setText(date);
}

void MainMenu::Form_Resize()
{
    m_datePanel->setFixedWidth(twipsToPixelsX(isMaximized() ? 4000 : 3000));
}

void MainMenu::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

void MainMenu::changeEvent(QEvent* event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void MainMenu::mouseMoveEvent(QMouseEvent* event)
{
    Form::mouseMoveEvent(event);
    setPointer(Pointer::Arrow);
}

void MainMenu::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    if (m_firstPaint) {
        m_firstPaint = false;
        if (m_dataPending)
            QTimer::singleShot(0, this, [this]() {
                m_dataPending = false;
                if (auto prepare = std::exchange(deferredPreparation(), nullptr))
                    prepare();
                Data1->open();
            });
        setProperty("firstPainted", true);
    }
}

void MainMenu::MnuExit_Click()
{
    close();
}

void MainMenu::HelpMenuHelp_Click()
{
    platform::interactive().sendKey(Qt::Key_F1);
}

} // namespace tv
