#include "backup/frmzipcreate.h"

#include "backup/archivedialogs.h"
#include "backup/databasecopy.h"
#include "backup/extractdialog.h"
#include "database/connection.h"
#include "platform/archive/drive.h"
#include "platform/archive/fileanswer.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "shell/mainmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace tv {

namespace {

const QString LoadCaption = QStringLiteral("Database Backup ");
const QString ClosedCaption = QStringLiteral("Database Backup");

// The window as drawn, in twips.
constexpr int ListWidth = 8415;
constexpr int ListHeight = 2355;
constexpr int StatusHeight = 375;
constexpr int ClientWidth = ListWidth;
constexpr int ClientHeight = ListHeight + StatusHeight;
constexpr int ProgressLeft = 4080, ProgressTop = 2340, ProgressWidth = 2940, ProgressHeight = 252;
constexpr int AbortLeft = 7140, AbortTop = 2340, AbortWidth = 873, AbortHeight = 285;
constexpr int PathColumn = 6;
constexpr int PathColumnBase = 1620;
// Room the list leaves around a cell's text, in pixels.
constexpr int ColumnPadding = 14;

struct Column
{
    const char* caption;
    int twips;
};
constexpr Column Columns[] = {{"Name", 1396},  {"Date", 781},  {"Time", 436}, {"Size", 796},
                              {"Packed", 796}, {"Ratio", 481}, {"Path", 1622}};

// Numbers in the list carry a leading blank when positive, as the platform writes numbers as text.
QString listNumber(qint64 value)
{
    return value > 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

// The messages of the automatic commands.
const QString BackupQuestion = QStringLiteral(
    "Please insert a blank formatted floppy disk in drive A?\n"
    "If you continue, all data on the floppy will be erased and a backup disk will be created!");
const QString RestoreQuestion = QStringLiteral("Please insert your backup disk in drive A?");
const QString NoDiskMessage = QStringLiteral("There is no disk in drive A, or it is not formatted!");
const QString WriteProtectedMessage = QStringLiteral("The disk cannot be write-protected!");
const QString BackupCompleted = QStringLiteral("Compressed backup process completed!");

QString replaceQuestion(const QString& name)
{
    return QStringLiteral("The file '") + name +
           QStringLiteral("' already exists. Do you want to replace this file?");
}

QString notRestored(const QString& reason)
{
    return QStringLiteral("The database was not restored.\n\n") + reason +
           QStringLiteral("\n\nYour current database has not been changed.");
}

// The database file extracted into folder: Pelkin.mdb at its top, or the one file of that name below it.
QString extractedDatabase(const QString& folder)
{
    const QString top = QDir(folder).filePath(backup::DatabaseFileName);
    if (QFileInfo(top).isFile() && !QFileInfo(top).isSymLink())
        return top;
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().fileName().compare(backup::DatabaseFileName, Qt::CaseInsensitive) == 0 &&
            !it.fileInfo().isSymLink())
            found << path;
    }
    return found.size() == 1 ? found.first() : QString();
}

} // namespace

frmZipCreate::frmZipCreate()
{
    setObjectName(QStringLiteral("frmZipCreate"));
    setWindowTitle(LoadCaption);

    ZipMain = new archive::ArchiveEngine(this);
    ZipMain->setObjectName(QStringLiteral("ZipMain"));
    // The engine lets the window handle clicks while it works, so that Abort can be pressed.
    ZipMain->setKeepResponsive(true);
    using E = archive::ArchiveEngine;
    connect(ZipMain, &E::adding, this, &frmZipCreate::ZipMain_Adding);
    connect(ZipMain, &E::extracting, this, &frmZipCreate::ZipMain_Extracting);
    connect(ZipMain, &E::testing, this, &frmZipCreate::ZipMain_Testing);
    connect(ZipMain, &E::updating, this, &frmZipCreate::ZipMain_Updating);
    connect(ZipMain, &E::deleting, this, &frmZipCreate::ZipMain_Deleting);
    connect(ZipMain, &E::fixing, this, &frmZipCreate::ZipMain_Fixing);
    connect(ZipMain, &E::listing, this, &frmZipCreate::ZipMain_ListingFile);
    connect(ZipMain, &E::status, this, &frmZipCreate::ZipMain_Status);
    connect(ZipMain, &E::newDisk, this, &frmZipCreate::ZipMain_NewDisk);
    connect(ZipMain, &E::replace, this, &frmZipCreate::ZipMain_Replace);
    connect(ZipMain, &E::skippingFile, this, &frmZipCreate::ZipMain_SkippingFile);

    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    buildMenus(m_menuBar);

    // The list, the status bar and, over its right end, the progress bar and Abort, placed by the layout
    // rule in Form_Resize.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->installEventFilter(this);

    lstMain = new QTreeWidget(m_client);
    lstMain->setObjectName(QStringLiteral("lstMain"));
    lstMain->setRootIsDecorated(false);
    lstMain->setItemsExpandable(false);
    lstMain->setUniformRowHeights(true);
    lstMain->setAllColumnsShowFocus(true);
    lstMain->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstMain->setColumnCount(int(std::size(Columns)));
    QStringList headers;
    for (const Column& column : Columns)
        headers << QString::fromLatin1(column.caption);
    lstMain->setHeaderLabels(headers);
    lstMain->header()->setStretchLastSection(false);
    for (int i = 0; i < int(std::size(Columns)); ++i)
        lstMain->setColumnWidth(i, twipsToPixelsX(Columns[i].twips));

    stbMain = new QStatusBar(m_client);
    stbMain->setObjectName(QStringLiteral("stbMain"));
    stbMain->setSizeGripEnabled(false);
    m_statusLabel = new QLabel(stbMain);
    m_statusLabel->setObjectName(QStringLiteral("stbMainText"));
    stbMain->addWidget(m_statusLabel, 1);

    prbMain = new QProgressBar(m_client);
    prbMain->setObjectName(QStringLiteral("prbMain"));
    prbMain->setRange(0, 100);
    prbMain->setValue(0);
    prbMain->setTextVisible(false);
    prbMain->hide();

    cmdAbort = new QPushButton(QStringLiteral("Abort"), m_client);
    cmdAbort->setObjectName(QStringLiteral("cmdAbort"));
    cmdAbort->hide();
    connect(cmdAbort, &QPushButton::clicked, this, &frmZipCreate::cmdAbort_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_client, 1);

    m_client->setMinimumSize(twipsToPixelsX(ClientWidth), twipsToPixelsY(ClientHeight));
    resize(twipsToPixelsX(ClientWidth), twipsToPixelsY(ClientHeight) + m_menuBar->sizeHint().height());
}

QAction* frmZipCreate::addEntry(QMenu* menu, const QString& name, const QString& caption,
                                void (frmZipCreate::*handler)(), bool checkable)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(checkable);
    if (checkable) {
        // The handlers read the check mark as it was before the entry was chosen; the menu sets marks itself.
        connect(action, &QAction::triggered, this, [this, action, handler](bool nowChecked) {
            action->setChecked(!nowChecked);
            (this->*handler)();
        });
    } else {
        connect(action, &QAction::triggered, this, handler);
    }
    m_entries.insert(name, action);
    return action;
}

void frmZipCreate::buildMenus(QMenuBar* bar)
{
    auto addMenu = [this, bar](const QString& name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        m_menus.insert(name, menu);
        m_entries.insert(name, menu->menuAction());
        return menu;
    };

    QMenu* file = addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    connect(file, &QMenu::aboutToShow, this, &frmZipCreate::mnuFile_Click);
    addEntry(file, QStringLiteral("mnuFileWizard"), QStringLiteral("&Wizard Backup"),
             &frmZipCreate::mnuFileWizard_Click);
    addEntry(file, QStringLiteral("mnuFileNew"), QStringLiteral("&New Zipfile..."),
             &frmZipCreate::mnuFileNew_Click);
    addEntry(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open Zipfile..."),
             &frmZipCreate::mnuFileOpen_Click);
    addEntry(file, QStringLiteral("mnuFileClose"), QStringLiteral("&Close Zipfile"),
             &frmZipCreate::mnuFileClose_Click);
    file->addSeparator();
    addEntry(file, QStringLiteral("mnuFileTest"), QStringLiteral("&Test Zipfile..."),
             &frmZipCreate::mnuFileTest_Click);
    QMenu* fix = file->addMenu(QStringLiteral("&Fix Zipfile..."));
    fix->setObjectName(QStringLiteral("mnuFileFix"));
    fix->menuAction()->setObjectName(QStringLiteral("mnuFileFix"));
    m_menus.insert(QStringLiteral("mnuFileFix"), fix);
    m_entries.insert(QStringLiteral("mnuFileFix"), fix->menuAction());
    addEntry(fix, QStringLiteral("mnuFileFixNormal"), QStringLiteral("Normal"),
             &frmZipCreate::mnuFileFixNormal_Click);
    addEntry(fix, QStringLiteral("mnuFileFixAgressive"), QStringLiteral("Agressive"),
             &frmZipCreate::mnuFileFixAgressive_Click);
    addEntry(file, QStringLiteral("mnuFileDelete"), QStringLiteral("&Delete Zipfile..."),
             &frmZipCreate::mnuFileDelete_Click);
    file->addSeparator();
    addEntry(file, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"), &frmZipCreate::mnuFileExit_Click);

    QMenu* edit = addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    connect(edit, &QMenu::aboutToShow, this, &frmZipCreate::mnuEdit_Click);
    addEntry(edit, QStringLiteral("mnuEditAdd"), QStringLiteral("&Add..."), &frmZipCreate::mnuEditAdd_Click);
    addEntry(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("&Delete..."),
             &frmZipCreate::mnuEditDelete_Click);
    addEntry(edit, QStringLiteral("mnuEditExtract"), QStringLiteral("&Restore..."),
             &frmZipCreate::mnuEditExtract_Click);
    addEntry(edit, QStringLiteral("mnuEditUpdate"), QStringLiteral("&Update..."),
             &frmZipCreate::mnuEditUpdate_Click);
    edit->addSeparator();
    addEntry(edit, QStringLiteral("mnuEditUpdateZipDate"), QStringLiteral("&UpdateZipDate"),
             &frmZipCreate::mnuEditUpdateZipDate_Click);
    edit->addSeparator();
    addEntry(edit, QStringLiteral("mnuEditSelectAll"), QStringLiteral("Select &All"),
             &frmZipCreate::mnuEditSelectAll_Click);

    QMenu* options = addMenu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    connect(options, &QMenu::aboutToShow, this, &frmZipCreate::mnuOptions_Click);
    addEntry(options, QStringLiteral("mnuOptionsBest"), QStringLiteral("&Best compression"),
             &frmZipCreate::mnuOptionsBest_Click, true);
    addEntry(options, QStringLiteral("mnuOptionsNormal"), QStringLiteral("&Normal compression"),
             &frmZipCreate::mnuOptionsNormal_Click, true);
    addEntry(options, QStringLiteral("mnuOptionsFastest"), QStringLiteral("&Fastest compression"),
             &frmZipCreate::mnuOptionsFastest_Click, true);
    addEntry(options, QStringLiteral("mnuOptionsStore"), QStringLiteral("&Store without compression"),
             &frmZipCreate::mnuOptionsStore_Click, true);
    options->addSeparator();
    addEntry(options, QStringLiteral("mnuOptionsMultidiskMode"), QStringLiteral("&Multidisk mode"),
             &frmZipCreate::mnuOptionsMultidiskMode_Click, true);
    addEntry(options, QStringLiteral("mnuOptionsClearDisks"), QStringLiteral("&Clear disks"),
             &frmZipCreate::mnuOptionsClearDisks_Click, true);
    options->addSeparator();
    addEntry(options, QStringLiteral("mnuOptionsUseTempFile"), QStringLiteral("&Use Temp File"),
             &frmZipCreate::mnuOptionsUseTempFile_Click, true);

    QMenu* automatic = addMenu(QStringLiteral("mnuAutomatic"), QStringLiteral("&Automatic"));
    addEntry(automatic, QStringLiteral("mnuAutomaticBackup"), QStringLiteral("&Backup to Drive A"),
             &frmZipCreate::mnuAutomaticBackup_Click, true)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    addEntry(automatic, QStringLiteral("mnuAutomaticRestore"), QStringLiteral("&Restore From Drive A"),
             &frmZipCreate::mnuAutomaticRestore_Click, true)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    // The shortcuts work while the window has the focus, whichever element holds it.
    for (QAction* action : automatic->actions())
        action->setShortcutContext(Qt::WindowShortcut);
    addActions(automatic->actions());
}

void frmZipCreate::Form_Load()
{
    // No archive open, an empty list, not busy, both automatic flags off.
    // A regular face, at the small size the column widths were made for.
    QFont regular = lstMain->font();
    regular.setBold(false);
    regular.setPointSizeF(qMin(regular.pointSizeF(), 8.0));
    lstMain->setFont(regular);
    // The columns keep their drawn widths unless this machine's font needs more for what they show.
    const QFontMetrics metrics(regular);
    const QStringList widest{QString(),
                             QStringLiteral("00/00/00"),
                             QStringLiteral("00:00"),
                             QStringLiteral(" 00000000"),
                             QStringLiteral(" 00000000"),
                             QStringLiteral(" 100%")};
    for (int i = 0; i < widest.size(); ++i) {
        const int needed = qMax(metrics.horizontalAdvance(widest.at(i)),
                                metrics.horizontalAdvance(QString::fromLatin1(Columns[i].caption))) +
                           ColumnPadding;
        lstMain->setColumnWidth(i, qMax(twipsToPixelsX(Columns[i].twips), needed));
    }
    m_loadWidth = ClientWidth;
    m_loadHeight = ClientHeight;
    m_filesFilter = backup::AddFilesFilter;
    setAutomaticBackup(false);
    setAutomaticRestore(false);
    Form_Resize();
}

bool frmZipCreate::Form_Unload()
{
    // The engine works inside a handler of this window; the window stays until it has finished.
    if (m_busy != 0 || ZipMain->isBusy()) {
        beep();
        return false;
    }
    return true;
}

bool frmZipCreate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return Form::eventFilter(watched, event);
}

void frmZipCreate::Form_Resize()
{
    if (isMinimized())
        return;
    // The client area never gets smaller than at load (its minimum size); its growth moves the progress bar
    // and Abort and widens the list and its Path column.
    const int width = qMax(m_loadWidth, pixelsToTwipsX(m_client->width()));
    const int height = qMax(m_loadHeight, qRound(m_client->height() * 1440.0 / logicalDpiY()));
    const int dx = width - m_loadWidth;
    const int dy = height - m_loadHeight;
    auto rect = [this](int left, int top, int w, int h) {
        return QRect(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(w), twipsToPixelsY(h));
    };
    lstMain->setGeometry(rect(0, 0, ListWidth + dx, ListHeight + dy));
    stbMain->setGeometry(0, m_client->height() - twipsToPixelsY(StatusHeight), m_client->width(),
                         twipsToPixelsY(StatusHeight));
    prbMain->setGeometry(rect(ProgressLeft + dx, ProgressTop + dy, ProgressWidth, ProgressHeight));
    cmdAbort->setGeometry(rect(AbortLeft + dx, AbortTop + dy, AbortWidth, AbortHeight));
    prbMain->raise();
    cmdAbort->raise();
    lstMain->setColumnWidth(PathColumn, twipsToPixelsX(PathColumnBase + dx));
}

// --- state shown by the window
// ---------------------------------------------------------------------------------

QString frmZipCreate::statusText() const
{
    return m_statusLabel->text();
}

void frmZipCreate::setStatus(const QString& text)
{
    m_statusLabel->setText(text);
}

bool frmZipCreate::automaticBackup() const
{
    return entry(QStringLiteral("mnuAutomaticBackup"))->isChecked();
}

bool frmZipCreate::automaticRestore() const
{
    return entry(QStringLiteral("mnuAutomaticRestore"))->isChecked();
}

void frmZipCreate::setAutomaticBackup(bool on)
{
    entry(QStringLiteral("mnuAutomaticBackup"))->setChecked(on);
}

void frmZipCreate::setAutomaticRestore(bool on)
{
    entry(QStringLiteral("mnuAutomaticRestore"))->setChecked(on);
}

void frmZipCreate::enterBusy()
{
    ++m_busy;
    showBusy();
}

void frmZipCreate::leaveBusy()
{
    --m_busy;
    showBusy();
}

void frmZipCreate::showBusy()
{
    const bool busy = m_busy != 0;
    setPointer(busy ? Pointer::Hourglass : Pointer::Default);
    cmdAbort->setVisible(busy);
    prbMain->setVisible(busy);
    for (const char* name : {"mnuFile", "mnuEdit", "mnuOptions", "mnuAutomatic"})
        m_menus.value(QString::fromLatin1(name))->menuAction()->setEnabled(!busy);
    // The shortcuts of the automatic entries must not start a second run inside the first.
    for (QAction* action : m_menus.value(QStringLiteral("mnuAutomatic"))->actions())
        action->setEnabled(!busy);
    lstMain->setEnabled(!busy);
}

void frmZipCreate::report(int code, const QString& verb)
{
    backup::showResultMessage(code, verb, ZipMain->multidiskMode());
}

void frmZipCreate::removeAllItems()
{
    lstMain->clear();
}

void frmZipCreate::refreshList(const QString& verb)
{
    enterBusy();
    m_memberCount = 0;
    m_totalSize = 0;
    m_totalPacked = 0;
    removeAllItems();
    lstMain->hide();
    prbMain->setValue(0);
    m_expectedCount = ZipMain->fileCount();
    if (m_expectedCount > 100)
        setStatus(QStringLiteral("Reading ") + QString::number(m_expectedCount) +
                  QStringLiteral(" files..."));
    const int result = ZipMain->list();
    prbMain->setValue(0);
    lstMain->show();
    if (result > 0)
        report(result, verb);
    showSummary();
    leaveBusy();
}

void frmZipCreate::showSummary()
{
    if (m_totalSize > 0) {
        const int saved = 100 - int(std::floor(double(m_totalPacked) / double(m_totalSize) * 100.0));
        setStatus(QStringLiteral(" %1 files, %2 bytes, %3 bytes compressed, %4%")
                      .arg(m_memberCount)
                      .arg(m_totalSize)
                      .arg(m_totalPacked)
                      .arg(saved));
    } else if (m_memberCount != 0) {
        setStatus(QStringLiteral(" %1 files, 0 bytes").arg(m_memberCount));
    } else {
        setStatus(QStringLiteral("No files in this archive."));
    }
}

// --- menus opening
// ---------------------------------------------------------------------------------------------

void frmZipCreate::mnuFile_Click()
{
    const bool open = !ZipMain->archiveName().isEmpty();
    entry(QStringLiteral("mnuFileClose"))->setEnabled(open);
    entry(QStringLiteral("mnuFileTest"))->setEnabled(!open);
    entry(QStringLiteral("mnuFileDelete"))->setEnabled(!open);
    entry(QStringLiteral("mnuFileFix"))->setEnabled(!open && !ZipMain->multidiskMode());
}

void frmZipCreate::mnuEdit_Click()
{
    const bool open = !ZipMain->archiveName().isEmpty();
    const bool multidisk = ZipMain->multidiskMode();
    const int n = lstMain->topLevelItemCount();
    QTreeWidgetItem* current = lstMain->currentItem();
    const bool selection = current && current->isSelected();
    entry(QStringLiteral("mnuEditAdd"))->setEnabled(open && (n == 0 || !multidisk));
    entry(QStringLiteral("mnuEditDelete"))->setEnabled(selection && !multidisk);
    entry(QStringLiteral("mnuEditExtract"))->setEnabled(selection);
    entry(QStringLiteral("mnuEditUpdate"))->setEnabled(open && !multidisk);
    entry(QStringLiteral("mnuEditUpdateZipDate"))->setEnabled(n > 0 && !multidisk);
    entry(QStringLiteral("mnuEditSelectAll"))->setEnabled(n > 0);
}

void frmZipCreate::mnuOptions_Click()
{
    const bool multidisk = ZipMain->multidiskMode();
    QAction* useTemp = entry(QStringLiteral("mnuOptionsUseTempFile"));
    useTemp->setChecked(ZipMain->useTempFile() && !multidisk);
    useTemp->setEnabled(!multidisk);
    QAction* clear = entry(QStringLiteral("mnuOptionsClearDisks"));
    clear->setChecked(ZipMain->clearDisks() && multidisk);
    clear->setEnabled(multidisk);
    entry(QStringLiteral("mnuOptionsMultidiskMode"))->setChecked(multidisk);
    const int level = ZipMain->compressionLevel();
    entry(QStringLiteral("mnuOptionsBest"))->setChecked(level == 9);
    entry(QStringLiteral("mnuOptionsNormal"))->setChecked(level == 6);
    entry(QStringLiteral("mnuOptionsFastest"))->setChecked(level == 1);
    entry(QStringLiteral("mnuOptionsStore"))->setChecked(level == 0);
}

// --- commands
// --------------------------------------------------------------------------------------------------

frmZipCreate::RunError frmZipCreate::checkDrive(const QString& archiveName, bool writing) const
{
    const archive::drives::Location location = archive::drives::locate(archiveName);
    if (!location.drive)
        return {};
    switch (location.drive->state()) {
    case archive::DriveState::NoDisk:
        return {ErrNoDisk, QStringLiteral("There is no readable disk in drive %1.").arg(location.letter)};
    case archive::DriveState::WriteProtected:
        if (writing)
            return {ErrWriteProtected,
                    QStringLiteral("The disk in drive %1 is write-protected.").arg(location.letter)};
        return {};
    case archive::DriveState::Ready:
        return {};
    }
    return {};
}

frmZipCreate::RunError frmZipCreate::newArchive()
{
    const QString name = automaticBackup() ? BackupArchive : backup::chooseArchive(backup::ArchiveKind::New);
    if (name.isEmpty())
        return {};
    if (RunError error = checkDrive(name, true))
        return error;
    const QString local = archive::drives::toLocalPath(name);
    const QFileInfo existing(local);
    if (!local.isEmpty() && (existing.exists() || existing.isSymLink())) {
        QFile file(local);
        if (!file.remove())
            return {ErrFileAccess,
                    QStringLiteral("The file %1 could not be deleted: %2").arg(name, file.errorString())};
    }
    removeAllItems();
    setStatus(QStringLiteral(" New Zip archive now open."));
    ZipMain->setArchiveName(name);
    setWindowTitle(name);
    return {};
}

frmZipCreate::RunError frmZipCreate::openArchive()
{
    const QString name =
        automaticRestore() ? BackupArchive : backup::chooseArchive(backup::ArchiveKind::Open);
    if (name.isEmpty())
        return {};
    if (RunError error = checkDrive(name, false))
        return error;
    enterBusy();
    ZipMain->setArchiveName(name);
    setWindowTitle(name);
    refreshList(QString::fromLatin1(archive::verb::Opening));
    leaveBusy();
    return {};
}

frmZipCreate::RunError frmZipCreate::addFiles(int mode)
{
    const bool adding = mode == archive::ArchiveEngine::AddFiles;
    const bool automatic = adding && automaticBackup();
    QStringList files;
    // The automatic backup adds a consistent copy of the database taken for it, stored as Pelkin.mdb.
    std::unique_ptr<QTemporaryDir> snapshot;
    if (automatic) {
        snapshot = std::make_unique<QTemporaryDir>();
        const QString copy = snapshot->isValid() ? snapshot->filePath(backup::DatabaseFileName) : QString();
        if (copy.isEmpty())
            return {ErrFileAccess,
                    QStringLiteral("No temporary folder could be made for the copy of the database.")};
        QString why;
        if (!backup::snapshotDatabase(platform::databasePath(), copy, &why))
            return {ErrDatabaseCopy, QStringLiteral("The database could not be copied: %1").arg(why)};
        files << backup::DatabaseFileName;
    } else {
        if (adding)
            m_filesFilter = backup::AddFilesFilter;
        const QString answer = backup::chooseFiles(
            adding ? QStringLiteral("Add files") : QStringLiteral("Update files"), m_filesFilter);
        if (answer.isEmpty())
            return {};
        const int count = archive::answerFileCount(answer);
        for (int i = 1; i <= count; ++i)
            files << archive::answerFileAt(answer, i);
    }
    if (files.isEmpty())
        return {};

    enterBusy();
    for (const QString& file : std::as_const(files))
        ZipMain->addFileToProcess(file);
    setStatus((adding ? QStringLiteral(" Preparing to add ") : QStringLiteral(" Preparing to update ")) +
              QString::number(files.size()) + QStringLiteral(" files..."));
    ZipMain->setBasePath(snapshot ? snapshot->path() : QString());
    const int result = ZipMain->add(mode);
    ZipMain->setBasePath(QString());
    const QString verb = QString::fromLatin1(adding ? archive::verb::Adding : archive::verb::Updating);
    if (result != 0)
        report(result, verb);
    if (adding && result == 0 && ZipMain->multidiskMode()) {
        confirmBackup();
        setAutomaticBackup(false);
    }
    prbMain->setValue(0);
    setStatus(adding ? QStringLiteral(" Finished adding files, updating list.")
                     : QStringLiteral(" Finished updating files, updating list..."));
    if (result != archive::Aborted)
        refreshList();
    showSummary();
    leaveBusy();
    return {};
}

void frmZipCreate::confirmBackup()
{
    setStatus(QStringLiteral(" Testing all files in ") + ZipMain->archiveName() + QStringLiteral("..."));
    const int result = ZipMain->test();
    prbMain->setValue(0);
    if (result == 0)
        msgBox(BackupCompleted, vbOKOnly);
    else
        report(result, QString::fromLatin1(archive::verb::Testing));
}

void frmZipCreate::mnuFileWizard_Click()
{
    msgBox(QStringLiteral("The next window to pop up will ask you to create a new zip file. \n"
                          "Type in the name of the file you want to create."),
           vbOKOnly);
    mnuFileNew_Click();
    msgBox(QStringLiteral("The next window to pop up will ask you to add new files to your new zip file. \n"
                          "Please select the files you wish to add."),
           vbOKOnly);
    mnuEditAdd_Click();
}

namespace {
// A command started from the menu reports a failure outside the engine and the window goes on.
void showRunError(const frmZipCreate::RunError& error)
{
    if (error)
        msgBox(error.description, vbExclamation);
}
} // namespace

void frmZipCreate::mnuFileNew_Click()
{
    showRunError(newArchive());
}

void frmZipCreate::mnuFileOpen_Click()
{
    showRunError(openArchive());
}

void frmZipCreate::mnuFileClose_Click()
{
    ZipMain->setArchiveName(QString());
    removeAllItems();
    setStatus(QStringLiteral(" No Zip archive is currently open."));
    setWindowTitle(ClosedCaption);
}

void frmZipCreate::mnuFileTest_Click()
{
    const QString name = backup::chooseArchive(backup::ArchiveKind::Test);
    if (name.isEmpty())
        return;
    enterBusy();
    ZipMain->setArchiveName(name);
    setStatus(QStringLiteral(" Testing all files in ") + name + QStringLiteral("..."));
    const int result = ZipMain->test();
    if (result == 0)
        msgBox(QStringLiteral("All files in the archive are OK."), vbInformation);
    else if (result == archive::FilesSkipped)
        msgBox(QStringLiteral("All files tested in the archive are OK.\n(Some files were skipped)"),
               vbInformation);
    else
        report(result, QString::fromLatin1(archive::verb::Testing));
    ZipMain->setArchiveName(QString());
    prbMain->setValue(0);
    setStatus(QStringLiteral(" Finished testing files."));
    leaveBusy();
}

void frmZipCreate::fixArchive(bool aggressive)
{
    enterBusy();
    const QString name = backup::chooseArchive(backup::ArchiveKind::Fix);
    if (!name.isEmpty()) {
        ZipMain->setArchiveName(name);
        setStatus(QStringLiteral(" Repairing Zip archive..."));
        const int result = ZipMain->fix(aggressive);
        if (result == 0)
            msgBox(QStringLiteral("The specified Zip file has been fixed."), vbInformation);
        else if (result == archive::NotAZip)
            msgBox(QStringLiteral("The specified Zip file is too corrupted to be fixed."), vbCritical);
        else
            report(result, QString::fromLatin1(archive::verb::Fixing));
        ZipMain->setArchiveName(QString());
        prbMain->setValue(0);
        setStatus(QStringLiteral(" Finished fixing files."));
    }
    leaveBusy();
}

void frmZipCreate::mnuFileFixNormal_Click()
{
    fixArchive(false);
}

void frmZipCreate::mnuFileFixAgressive_Click()
{
    fixArchive(true);
}

void frmZipCreate::mnuFileDelete_Click()
{
    const QString name = backup::chooseArchive(backup::ArchiveKind::Delete);
    if (name.isEmpty())
        return;
    if (msgBox(QStringLiteral("Are you sure you want to delete ") + name + QStringLiteral("?"),
               vbYesNo + vbQuestion) != vbYes)
        return;
    const QString local = archive::drives::toLocalPath(name);
    if (local.isEmpty() || !QFileInfo::exists(local))
        return;
    QFile file(local);
    if (!file.remove())
        msgBox(QStringLiteral("The file %1 could not be deleted: %2").arg(name, file.errorString()),
               vbExclamation);
}

void frmZipCreate::mnuFileExit_Click()
{
    unload();
}

void frmZipCreate::mnuEditAdd_Click()
{
    showRunError(addFiles(archive::ArchiveEngine::AddFiles));
}

void frmZipCreate::mnuEditUpdate_Click()
{
    showRunError(addFiles(archive::ArchiveEngine::UpdateFiles));
}

int frmZipCreate::processSelected(Selected mode)
{
    int count = 0;
    for (int i = 0; i < lstMain->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lstMain->topLevelItem(i);
        if (!item->isSelected())
            continue;
        ++count;
        QString name = item->text(0);
        if (name == QLatin1String("<dir>"))
            name.clear();
        const QString path = item->text(PathColumn);
        ZipMain->addFileToProcess(path.isEmpty() ? name : path + QLatin1Char('\\') + name);
    }
    if (count == 0)
        return 0;

    const bool deleting = mode == Selected::Delete;
    const QString verb = QString::fromLatin1(deleting ? archive::verb::Deleting : archive::verb::Extracting);
    enterBusy();
    setStatus((deleting ? QStringLiteral(" Deleting ") : QStringLiteral(" Extracting ")) + listNumber(count) +
              QStringLiteral(" selected files..."));
    const int result = deleting ? ZipMain->deleteFiles() : ZipMain->extract(0);
    leaveBusy();
    if (result > 0)
        report(result, verb);
    prbMain->setValue(0);
    setStatus(QStringLiteral(" Finished ") + verb + QStringLiteral(" files, updating list..."));
    refreshList();
    showSummary();
    return result;
}

void frmZipCreate::mnuEditDelete_Click()
{
    enterBusy();
    processSelected(Selected::Delete);
    leaveBusy();
}

frmZipCreate::RunError frmZipCreate::restoreFiles()
{
    if (!automaticRestore()) {
        Forms::load<ExtractDialog>(ZipMain)->showModal();
        if (ExtractDialog::cancelled())
            return {};
        enterBusy();
        processSelected(Selected::Extract);
        leaveBusy();
        return {};
    }

    // The automatic restore extracts into a folder of its own beside the database file; the database taken
    // from there replaces the file only once it has proved sound.
    bool selected = false;
    for (int i = 0; i < lstMain->topLevelItemCount() && !selected; ++i)
        selected = lstMain->topLevelItem(i)->isSelected();
    const QString folder = QFileInfo(platform::databasePath()).absolutePath();
    QTemporaryDir staging(QDir(folder).filePath(QStringLiteral(".restore-XXXXXX")));
    if (!staging.isValid())
        return {ErrFileAccess, QStringLiteral("No folder for the restored files could be made in %1.")
                                   .arg(QDir::toNativeSeparators(folder))};
    const QString chosenFolder = ZipMain->extractFolder();
    ZipMain->setExtractFolder(staging.path());
    enterBusy();
    const int result = processSelected(Selected::Extract);
    leaveBusy();
    ZipMain->setExtractFolder(chosenFolder);
    if (!selected) {
        msgBox(notRestored(QStringLiteral("No backup could be read from drive A.")), vbExclamation);
        return {};
    }
    placeRestoredDatabase(staging.path(), result);
    return {};
}

void frmZipCreate::placeRestoredDatabase(const QString& folder, int extractResult)
{
    if (extractResult == archive::Aborted)
        return;
    const QString restored = extractedDatabase(folder);
    if (restored.isEmpty()) {
        msgBox(notRestored(extractResult == 0 || extractResult == archive::SkippedByAnswer
                               ? QStringLiteral("The backup does not hold a Tarvenor database (%1).")
                                     .arg(backup::DatabaseFileName)
                               : QStringLiteral("The database could not be read from the backup.")),
               vbExclamation);
        return;
    }
    QString why;
    if (!backup::prepareRestoredDatabase(restored, &why)) {
        msgBox(notRestored(QStringLiteral("The database in the backup cannot be used: ") + why), vbCritical);
        return;
    }
    const QString database = platform::databasePath();
    if (QFileInfo::exists(database)) {
        const int answer = msgBox(replaceQuestion(QDir::toNativeSeparators(database)), vbYesNoCancel);
        if (answer == vbNo)
            return;
        if (answer != vbYes) {
            report(archive::Aborted, QString::fromLatin1(archive::verb::Extracting));
            return;
        }
    }
    QStringList owners;
    if (!releaseDatabase(&owners)) {
        msgBox(notRestored(QStringLiteral("The database is in use by:\n") + owners.join(QLatin1Char('\n'))),
               vbExclamation);
        return;
    }
    if (!backup::replaceDatabase(restored, database, &why))
        msgBox(notRestored(why), vbCritical);
}

bool frmZipCreate::releaseDatabase(QStringList* owners)
{
    const QString database = platform::databasePath();
    const QString canonical = QFileInfo(database).canonicalFilePath();
    // The main window's own connection stays closed, as after Backup / Restore from its menu.
    MainMenu* main = Forms::loaded<MainMenu>();
    if (main && main->logoBinding())
        main->logoBinding()->close(true);

    QList<Form*> holders;
    for (Form* form : Forms::all()) {
        if (form == main || form == this)
            continue;
        for (Binding* binding : form->findChildren<Binding*>()) {
            if (binding->connection() && binding->connection()->path() == canonical) {
                holders << form;
                break;
            }
        }
    }
    if (!holders.isEmpty()) {
        QStringList captions;
        for (Form* form : std::as_const(holders))
            captions << form->windowTitle().trimmed();
        msgBox(QStringLiteral("These windows use the database and are closed before it is restored:\n\n") +
                   captions.join(QLatin1Char('\n')),
               vbInformation);
        // Their pending edits would be replaced with the restored data anyway.
        for (Form* form : std::as_const(holders))
            form->forceUnload();
        // Windows go away, and with them the record sets that keep connections open.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    *owners = db::openConnectionOwners(database);
    owners->removeDuplicates();
    if (owners->isEmpty() && backup::logHoldsChanges(database))
        *owners << QStringLiteral("another program");
    return owners->isEmpty();
}

void frmZipCreate::mnuEditExtract_Click()
{
    showRunError(restoreFiles());
}

void frmZipCreate::mnuEditUpdateZipDate_Click()
{
    enterBusy();
    setStatus(QStringLiteral(" Updating the Zip date..."));
    const int result = ZipMain->updateArchiveDate();
    if (result != 0)
        report(result, QString::fromLatin1(archive::verb::UpdatingZipDate));
    else
        msgBox(QStringLiteral("Zip date has been updated."), vbInformation);
    showSummary();
    leaveBusy();
}

void frmZipCreate::mnuEditSelectAll_Click()
{
    lstMain->hide();
    for (int i = 0; i < lstMain->topLevelItemCount(); ++i)
        lstMain->topLevelItem(i)->setSelected(true);
    lstMain->show();
}

void frmZipCreate::mnuOptionsBest_Click()
{
    ZipMain->setCompressionLevel(9);
}

void frmZipCreate::mnuOptionsNormal_Click()
{
    ZipMain->setCompressionLevel(6);
}

void frmZipCreate::mnuOptionsFastest_Click()
{
    ZipMain->setCompressionLevel(1);
}

void frmZipCreate::mnuOptionsStore_Click()
{
    ZipMain->setCompressionLevel(0);
}

void frmZipCreate::mnuOptionsMultidiskMode_Click()
{
    ZipMain->setMultidiskMode(!entry(QStringLiteral("mnuOptionsMultidiskMode"))->isChecked());
}

void frmZipCreate::mnuOptionsClearDisks_Click()
{
    ZipMain->setClearDisks(!entry(QStringLiteral("mnuOptionsClearDisks"))->isChecked());
}

void frmZipCreate::mnuOptionsUseTempFile_Click()
{
    ZipMain->setUseTempFile(!entry(QStringLiteral("mnuOptionsUseTempFile"))->isChecked());
}

// --- the automatic commands
// ------------------------------------------------------------------------------------

QString frmZipCreate::backupErrorText(const RunError& error)
{
    switch (error.number) {
    case ErrNoDisk:
        return NoDiskMessage;
    case ErrWriteProtected:
        return WriteProtectedMessage;
    default:
        return QString::number(error.number) + QStringLiteral(": ") + error.description +
               QStringLiteral("Please contact Norbeck");
    }
}

void frmZipCreate::mnuAutomaticBackup_Click()
{
    if (msgBox(BackupQuestion, vbYesNo + vbQuestion + vbDefaultButton2, QStringLiteral("Confirm")) != vbYes)
        return;
    setAutomaticBackup(true);
    const RunError error = [this]() -> RunError {
        ZipMain->setMultidiskMode(true);
        ZipMain->setClearDisks(true);
        if (RunError e = newArchive())
            return e;
        if (RunError e = addFiles(archive::ArchiveEngine::AddFiles))
            return e;
        return {};
    }();
    setAutomaticBackup(false);
    if (error)
        msgBox(backupErrorText(error), vbOKOnly);
}

void frmZipCreate::mnuAutomaticRestore_Click()
{
    if (msgBox(RestoreQuestion, vbYesNo + vbQuestion + vbDefaultButton2, QStringLiteral("Confirm")) != vbYes)
        return;
    setAutomaticRestore(true);
    const RunError error = [this]() -> RunError {
        ZipMain->setMultidiskMode(true);
        if (RunError e = openArchive())
            return e;
        mnuEditSelectAll_Click();
        if (RunError e = restoreFiles())
            return e;
        return {};
    }();
    setAutomaticRestore(false);
    if (error.number == ErrNoDisk)
        msgBox(NoDiskMessage, vbOKOnly);
    else if (error)
        msgBox(notRestored(error.description), vbExclamation);
}

void frmZipCreate::cmdAbort_Click()
{
    if (ZipMain->useTempFile()) {
        if (msgBox(QStringLiteral("Are you sure you want to abort the current operation?"),
                   vbYesNo + vbQuestion, QStringLiteral("Abort")) == vbYes) {
            setAutomaticBackup(false);
            ZipMain->setAbortRequested(true);
        }
    } else {
        msgBox(QStringLiteral("You cannot abort an operation when you are not using a temporary file."),
               vbExclamation);
    }
}

// --- engine events
// ---------------------------------------------------------------------------------------------

void frmZipCreate::ZipMain_Adding(const QString& name, qint64 size)
{
    setStatus(QStringLiteral(" Adding file: %1 (%2 bytes)").arg(name).arg(size));
}

void frmZipCreate::ZipMain_Extracting(const QString& name, qint64 size)
{
    setStatus(QStringLiteral(" Extracting file: %1 (%2 bytes)").arg(name).arg(size));
}

void frmZipCreate::ZipMain_Testing(const QString& name, qint64 size)
{
    setStatus(QStringLiteral(" Testing file: %1 (%2 bytes)").arg(name).arg(size));
}

void frmZipCreate::ZipMain_Updating(const QString& name, qint64 size)
{
    setStatus(QStringLiteral(" Updating file: %1 (%2 bytes)").arg(name).arg(size));
}

void frmZipCreate::ZipMain_Deleting(const QString& name)
{
    setStatus(QStringLiteral(" Deleting file: ") + name);
}

void frmZipCreate::ZipMain_Fixing(const QString& name)
{
    setStatus(QStringLiteral(" Repairing file: ") + name);
}

void frmZipCreate::ZipMain_ListingFile(const QString& name, qint64 size, qint64 packedSize,
                                       const QString& dateTime, int ratio)
{
    QString shownName = name;
    QString path;
    const int slash = int(name.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0) {
        path = name.left(slash);
        shownName = name.mid(slash + 1);
    }
    if (shownName.isEmpty())
        shownName = QStringLiteral("<dir>");
    // MM/DD/YY HH:MM shows as DD/MM/YY and HH:MM.
    const QString date = dateTime.mid(3, 2) + QLatin1Char('/') + dateTime.mid(0, 3) + dateTime.mid(6, 2);
    const QString time = dateTime.right(5);
    auto* item = new QTreeWidgetItem(lstMain, QStringList{shownName, date, time, listNumber(size),
                                                          listNumber(packedSize),
                                                          listNumber(ratio) + QLatin1Char('%'), path});
    for (int column = 3; column <= 5; ++column)
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);

    ++m_memberCount;
    m_totalSize += size;
    m_totalPacked += packedSize;
    if (m_expectedCount > 100)
        prbMain->setValue(qRound(double(m_memberCount) / double(m_expectedCount) * 100.0));
}

void frmZipCreate::ZipMain_Status(int percent)
{
    prbMain->setValue(percent);
}

void frmZipCreate::ZipMain_NewDisk(int disk)
{
    if (disk == 0)
        msgBox(QStringLiteral("Please insert the last disk of the set."), vbOKCancel);
    else
        msgBox(QStringLiteral("Please insert disk #") + QString::number(disk) +
                   QStringLiteral(" of the set."),
               vbOKCancel);
}

void frmZipCreate::ZipMain_Replace(const QString& name, archive::ReplaceAnswer* answer)
{
    const int reply = msgBox(replaceQuestion(name), vbYesNoCancel);
    if (reply == vbYes) {
        *answer = archive::ReplaceAnswer::Replace;
        // The database file is replaced under the windows that use it only once they have let go of it.
        const QString database = QFileInfo(platform::databasePath()).canonicalFilePath();
        if (!database.isEmpty() && QFileInfo(name).canonicalFilePath() == database) {
            QStringList owners;
            if (!releaseDatabase(&owners)) {
                msgBox(QStringLiteral("The file '") + name +
                           QStringLiteral("' is in use and was not replaced. It is used by:\n") +
                           owners.join(QLatin1Char('\n')),
                       vbExclamation);
                *answer = archive::ReplaceAnswer::Skip;
            }
        }
    } else if (reply == vbNo) {
        *answer = archive::ReplaceAnswer::Skip;
    } else {
        ZipMain->setAbortRequested(true);
        *answer = archive::ReplaceAnswer::Abort;
    }
}

void frmZipCreate::ZipMain_SkippingFile(const QString& name, int reason)
{
    msgBox(archive::skippedFileMessage(name, reason), vbExclamation);
    prbMain->setValue(0);
}

} // namespace tv
