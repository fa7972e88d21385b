// The automatic backup of the database to drive A: and its restore, with A: mapped to simulated disks of a
// small capacity; and the main window's entry to the archive window.
#include "backup/databasecopy.h"
#include "backup/extractdialog.h"
#include "backup/frmzipcreate.h"
#include "database/connection.h"
#include "platform/archive/archiveengine.h"
#include "platform/archive/drive.h"
#include "platform/binding.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"
#include "tst_backuptesting.h"

#include <QAction>
#include <QDirIterator>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace tv;
using namespace tv::test;
using namespace backuptesting;

namespace {

constexpr qint64 FloppyCapacity = 1457664;
const QString BackupOnDisk = QStringLiteral("PelkinBackup.zip");

// Answers the disk prompts itself (the drive is swapped by DiskSwapper); every other question as scripted.
class BackupUi : public ScriptedInteractive
{
public:
    int messageBox(const QString& text, int style, const QString& title) override
    {
        if ((style & 7) == vbOKCancel && text.startsWith(QStringLiteral("Please insert"))) {
            asked.append({QStringLiteral("msgbox"), text, title, style, {}});
            return vbOK;
        }
        return ScriptedInteractive::messageBox(text, style, title);
    }

    QStringList diskPrompts() const
    {
        QStringList prompts;
        for (const Asked& a : messages())
            if (a.text.startsWith(QStringLiteral("Please insert")) && a.style == vbOKCancel)
                prompts << a.text;
        return prompts;
    }

    // The messages other than disk prompts, as "style:text".
    QStringList questionsAndMessages() const
    {
        QStringList shown;
        for (const Asked& a : messages())
            if (!(a.text.startsWith(QStringLiteral("Please insert")) && a.style == vbOKCancel))
                shown << QString::number(a.style) + u':' + a.text;
        return shown;
    }
};

// A window other than the main window holding the database open through a binding.
class HolderWindow : public Form
{
public:
    HolderWindow()
    {
        setWindowTitle(QStringLiteral("Job Information Sheet"));
        m_data = new Binding(this, QStringLiteral("Data1"));
    }

protected:
    void Form_Load() override
    {
        m_data->setDatabaseName(platform::databasePath());
        m_data->setRecordSource(QStringLiteral("Job Information"));
        m_data->open();
    }

private:
    Binding* m_data;
};

const QString Confirm = QStringLiteral("Confirm");
const QString BackupQuestion = QStringLiteral(
    "Please insert a blank formatted floppy disk in drive A?\n"
    "If you continue, all data on the floppy will be erased and a backup disk will be created!");
const QString RestoreQuestion = QStringLiteral("Please insert your backup disk in drive A?");
const QString Completed = QStringLiteral("Compressed backup process completed!");

} // namespace

class BackupTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<BackupUi> m_ui;
    std::shared_ptr<archive::SimulatedDrive> m_drive;
    frmZipCreate* m_window = nullptr;

    QString diskFile(int disk) const { return m_drive->diskFolder(disk) + u'/' + BackupOnDisk; }
    int lastDiskUsed() const
    {
        int last = 0;
        for (int disk = 1; disk <= m_drive->diskCount(); ++disk)
            if (QFileInfo::exists(diskFile(disk)))
                last = disk;
        return last;
    }

    void useDrive(qint64 capacity, int disks)
    {
        m_drive =
            std::make_shared<archive::SimulatedDrive>(m_dir->filePath(QStringLiteral("drive")), capacity);
        for (int i = 0; i < disks; ++i)
            m_drive->addDisk();
        m_drive->insert(1);
        archive::drives::setDrive(QStringLiteral("A:"), m_drive);
    }

    // The user puts in whichever disk the window asks for.
    void swapDisksOnRequest()
    {
        connect(m_window->engine(), &archive::ArchiveEngine::newDisk, this,
                [this](int disk) { m_drive->insert(disk == 0 ? lastDiskUsed() : disk); });
    }

    void backUp()
    {
        m_ui->answerMessage(vbYes);
        m_window->mnuAutomaticBackup_Click();
    }

    void restore(int replaceAnswer = vbYes)
    {
        m_drive->insert(1);
        m_ui->answerMessage(vbYes);
        m_ui->answerMessage(replaceAnswer);
        m_window->mnuAutomaticRestore_Click();
    }

    void verifyFlagsOff() const
    {
        QVERIFY(!m_window->automaticBackup());
        QVERIFY(!m_window->automaticRestore());
        QCOMPARE(m_window->busyCount(), 0);
    }

    QStringList jobNames() const
    {
        QStringList names;
        for (const auto& row :
             m_folder->rows("SELECT [Job Name] FROM [Job Information] ORDER BY [AutoNumber]"))
            names << row.first().toString();
        return names;
    }

    // Nothing of a restore is left beside the database.
    void verifyNoLeftovers() const
    {
        const QStringList entries =
            QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            QVERIFY2(!entry.startsWith(QStringLiteral(".restore")) &&
                         !entry.startsWith(QStringLiteral(".tarvenor")),
                     qPrintable(entry));
    }

    static void verifySound(const QString& database)
    {
        QString error;
        const auto connection = db::openConnection(database, QStringLiteral("Check"), &error);
        QVERIFY2(connection, qPrintable(error));
        QSqlQuery q(connection->database());
        QVERIFY(q.exec("PRAGMA integrity_check") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        QVERIFY(q.exec("PRAGMA journal_mode") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
    }

    // Runs a program of the machine on the archive; skips when it is not installed.
    static QString runTool(const QString& tool, const QStringList& arguments, int* exitCode)
    {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            return QString();
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        process.waitForFinished(60000);
        *exitCode = process.exitCode();
        return QString::fromLocal8Bit(process.readAll());
    }

    // Writes an ordinary archive holding the given files under their plain names as the backup on disk 1.
    void putArchiveOnDisk(const QMap<QString, QByteArray>& files)
    {
        QTemporaryDir staging;
        archive::ArchiveEngine engine;
        engine.setArchiveName(diskFile(1));
        engine.setBasePath(staging.path());
        for (auto it = files.begin(); it != files.end(); ++it) {
            writeFile(staging.filePath(it.key()), it.value());
            engine.addFileToProcess(it.key());
        }
        QCOMPARE(engine.add(archive::ArchiveEngine::AddFiles), 0);
    }

private slots:
    void init();
    void cleanup();

    void mainMenuEntryOpensTheWindowModallyAfterClosingItsConnection();
    void answeringNoChangesNothing_data();
    void answeringNoChangesNothing();
    void backupAndRestoreRoundTrip();
    void backupArchiveOpensInOtherTools();
    void noDiskOrWriteProtected_data();
    void noDiskOrWriteProtected();
    void restoreWithoutDisk();
    void backupLargerThanOneDisk();
    void existingBackupIsReplacedWithoutAQuestion();
    void runningTwiceStillWritesAMultidiskSet();
    void restoreAnsweredNoKeepsTheDatabase_data();
    void restoreAnsweredNoKeepsTheDatabase();
    void damagedOrForeignBackupNeverReplacesTheDatabase_data();
    void damagedOrForeignBackupNeverReplacesTheDatabase();
    void backupDuringAWriteInProgressIsConsistent();
    void otherErrorsAreReportedWithTheirNumber();
    void abortSwitchesTheBackupFlagOff();
    void restoreClosesWindowsThatHoldTheDatabase();
    void backupWithFolderPathsRestores();
    void manualRestoreOverTheDatabaseClosesItsHoldersFirst();
};

void BackupTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = std::make_unique<AppFolder>();
    m_ui = std::make_unique<BackupUi>();
    useDrive(FloppyCapacity, 4);
    m_window = Forms::load<frmZipCreate>();
    swapDisksOnRequest();
}

void BackupTest::cleanup()
{
    unloadArchiveWindow();
    for (Form* form : Forms::all())
        form->forceUnload();
    settle();
    closeLeftoverWindows();
    archive::drives::setDrive(QStringLiteral("A:"), nullptr);
    m_drive.reset();
    m_ui.reset();
    m_folder.reset();
    m_dir.reset();
}

void BackupTest::mainMenuEntryOpensTheWindowModallyAfterClosingItsConnection()
{
    unloadArchiveWindow();
    MainMenu* main = mainMenu();
    QAction* entry = main->entry(QStringLiteral("mnuFileBackup"));
    QVERIFY(entry->isEnabled());
    QVERIFY(main->logoBinding()->isOpen());
    bool seen = false;
    whenModal([&](QWidget* modal) {
        seen = true;
        QCOMPARE(modal, static_cast<QWidget*>(Forms::loaded<frmZipCreate>()));
        // The main window has let go of the database before the archive window shows.
        QVERIFY(!main->logoBinding()->isOpen());
        QVERIFY(db::openConnectionOwners(platform::databasePath()).isEmpty());
        QCOMPARE(modal->windowTitle(), QStringLiteral("Database Backup "));
        qobject_cast<frmZipCreate*>(modal)->mnuFileExit_Click();
    });
    entry->trigger();
    QVERIFY(seen);
    settle();
    QVERIFY(!Forms::isLoaded<frmZipCreate>());
    // The connection stays closed for the rest of the run.
    QVERIFY(!main->logoBinding()->isOpen());
}

void BackupTest::answeringNoChangesNothing_data()
{
    QTest::addColumn<bool>("backup");
    QTest::newRow("backup") << true;
    QTest::newRow("restore") << false;
}

void BackupTest::answeringNoChangesNothing()
{
    QFETCH(bool, backup);
    writeFile(m_drive->diskFolder(1) + QStringLiteral("/keep.txt"), "on the disk");
    const QByteArray before = fileHash(m_folder->databasePath());
    m_ui->answerMessage(vbNo);
    if (backup)
        m_window->mnuAutomaticBackup_Click();
    else
        m_window->mnuAutomaticRestore_Click();
    QCOMPARE(m_ui->asked.size(), 1);
    QCOMPARE(m_ui->lastMessage().text, backup ? BackupQuestion : RestoreQuestion);
    QCOMPARE(m_ui->lastMessage().title, Confirm);
    QCOMPARE(m_ui->lastMessage().style, 292);
    QVERIFY(!m_window->engine()->multidiskMode());
    QVERIFY(m_window->engine()->archiveName().isEmpty());
    QVERIFY(QFileInfo::exists(m_drive->diskFolder(1) + QStringLiteral("/keep.txt")));
    QCOMPARE(fileHash(m_folder->databasePath()), before);
    verifyFlagsOff();
}

void BackupTest::backupAndRestoreRoundTrip()
{
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Backed up job')");
    const QStringList backedUp = jobNames();
    bool flagOnDuringAdd = false;
    connect(m_window->engine(), &archive::ArchiveEngine::adding, this,
            [&]() { flagOnDuringAdd = m_window->automaticBackup(); });
    backUp();
    QVERIFY(flagOnDuringAdd);
    QCOMPARE(m_ui->questionsAndMessages(), (QStringList{"292:" + BackupQuestion, "0:" + Completed}));
    QCOMPARE(m_ui->messages().first().title, Confirm);
    verifyFlagsOff();
    QVERIFY(m_window->engine()->multidiskMode());
    QVERIFY(m_window->engine()->clearDisks());
    QCOMPARE(m_window->windowTitle(), frmZipCreate::BackupArchive);
    QCOMPARE(m_window->engine()->archiveName(), frmZipCreate::BackupArchive);
    QCOMPARE(m_window->list()->topLevelItemCount(), 1);
    QCOMPARE(m_window->list()->topLevelItem(0)->text(0), QStringLiteral("Pelkin.mdb"));
    QCOMPARE(m_window->list()->topLevelItem(0)->text(6), QString());
    QVERIFY(m_window->statusText().startsWith(QStringLiteral(" 1 files, ")));

    // Work goes on after the backup, then the backup is restored.
    m_folder->exec(
        "UPDATE [Job Information] SET [Job Name] = 'Changed later' WHERE [Job Name] = 'Backed up job'");
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Added later')");
    QVERIFY(jobNames() != backedUp);
    m_ui->asked.clear();
    bool restoreFlagDuringExtract = false;
    connect(m_window->engine(), &archive::ArchiveEngine::extracting, this,
            [&]() { restoreFlagDuringExtract = m_window->automaticRestore(); });
    restore(vbYes);
    QVERIFY(restoreFlagDuringExtract);
    QCOMPARE(
        m_ui->questionsAndMessages(),
        (QStringList{"292:" + RestoreQuestion, "3:The file '" + m_folder->databasePath() +
                                                   "' already exists. Do you want to replace this file?"}));
    QCOMPARE(jobNames(), backedUp);
    verifySound(m_folder->databasePath());
    verifyNoLeftovers();
    verifyFlagsOff();
    QCOMPARE(m_window->engine()->archiveName(), frmZipCreate::BackupArchive);
    QCOMPARE(m_window->list()->topLevelItemCount(), 1);
    // The extract folder chosen in the dialog is not changed by the automatic restore.
    QVERIFY(m_window->engine()->extractFolder().isEmpty());
}

void BackupTest::backupArchiveOpensInOtherTools()
{
    backUp();
    QCOMPARE(m_ui->lastMessage().text, Completed);
    QCOMPARE(lastDiskUsed(), 1);
    int exitCode = -1;
    const QString unzip = runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), diskFile(1)}, &exitCode);
    if (unzip.isNull())
        QSKIP("unzip is not installed");
    QCOMPARE(exitCode, 0);
    QVERIFY2(unzip.contains(QStringLiteral("testing: Pelkin.mdb")), qPrintable(unzip));
    const QString sevenZip = runTool(QStringLiteral("7z"), {QStringLiteral("t"), diskFile(1)}, &exitCode);
    if (!sevenZip.isNull()) {
        QCOMPARE(exitCode, 0);
        QVERIFY2(sevenZip.contains(QStringLiteral("Everything is Ok")), qPrintable(sevenZip));
    }
    // The member is the database itself.
    const QString out = m_dir->filePath(QStringLiteral("unzipped"));
    runTool(QStringLiteral("unzip"), {QStringLiteral("-q"), diskFile(1), QStringLiteral("-d"), out},
            &exitCode);
    QCOMPARE(exitCode, 0);
    QString error;
    const auto connection =
        db::openConnection(out + QStringLiteral("/Pelkin.mdb"), QStringLiteral("Check"), &error);
    QVERIFY2(connection, qPrintable(error));
    QSqlQuery q(connection->database());
    QVERIFY(q.exec("SELECT count(*) FROM [Job Information]") && q.next());
    QCOMPARE(q.value(0), m_folder->scalar("SELECT count(*) FROM [Job Information]"));
}

void BackupTest::noDiskOrWriteProtected_data()
{
    QTest::addColumn<bool>("protectedDisk");
    QTest::addColumn<QString>("message");

    QTest::newRow("no disk") << false << "There is no disk in drive A, or it is not formatted!";
    QTest::newRow("write-protected") << true << "The disk cannot be write-protected!";
}

void BackupTest::noDiskOrWriteProtected()
{
    QFETCH(bool, protectedDisk);
    QFETCH(QString, message);
    // An archive of the user's is open in the window.
    writeFile(m_dir->filePath(QStringLiteral("src/a.txt")), "open before");
    const QString zip = m_dir->filePath(QStringLiteral("open.zip"));
    QCOMPARE(makeArchive(zip, {m_dir->filePath(QStringLiteral("src/a.txt"))}), 0);
    m_ui->answerFile(zip);
    m_window->mnuFileOpen_Click();
    const QString status = m_window->statusText();
    if (protectedDisk) {
        writeFile(diskFile(1), "an older backup");
        m_drive->setWriteProtected(1, true);
    } else {
        m_drive->eject();
    }
    m_ui->asked.clear();
    backUp();
    QCOMPARE(m_ui->questionsAndMessages(), (QStringList{"292:" + BackupQuestion, "0:" + message}));
    QCOMPARE(m_ui->lastMessage().title, QString());
    verifyFlagsOff();
    QCOMPARE(m_window->engine()->archiveName(), zip);
    QCOMPARE(m_window->windowTitle(), zip);
    QCOMPARE(m_window->list()->topLevelItemCount(), 1);
    QCOMPARE(m_window->statusText(), status);
    if (protectedDisk)
        QCOMPARE(readFile(diskFile(1)), QByteArray("an older backup"));

    // New asks for its file again, now that the flag is off.
    m_ui->asked.clear();
    m_window->mnuFileNew_Click();
    QCOMPARE(m_ui->asked.size(), 1);
    QCOMPARE(m_ui->asked.first().kind, QStringLiteral("save"));
}

void BackupTest::restoreWithoutDisk()
{
    const QByteArray before = fileHash(m_folder->databasePath());
    m_drive->eject();
    m_ui->answerMessage(vbYes);
    m_window->mnuAutomaticRestore_Click();
    QCOMPARE(
        m_ui->questionsAndMessages(),
        (QStringList{"292:" + RestoreQuestion, "0:There is no disk in drive A, or it is not formatted!"}));
    QCOMPARE(fileHash(m_folder->databasePath()), before);
    verifyFlagsOff();
    verifyNoLeftovers();
}

void BackupTest::backupLargerThanOneDisk()
{
    // A logo of bytes that do not compress makes the database larger than two small disks.
    useDrive(160 * 1024, 6);
    m_folder->exec("UPDATE [LogoData] SET [Logo] = randomblob(400000)");
    const QVariant logo = m_folder->scalar("SELECT hex([Logo]) FROM [LogoData]");
    int promptsWhenTested = -1;
    connect(m_window->engine(), &archive::ArchiveEngine::testing, this,
            [&]() { promptsWhenTested = int(m_ui->diskPrompts().size()); });
    backUp();
    const int disks = lastDiskUsed();
    QVERIFY2(disks >= 3, qPrintable(QString::number(disks)));
    const QStringList prompts = m_ui->diskPrompts();
    for (int disk = 2; disk <= disks; ++disk)
        QVERIFY2(prompts.contains(QStringLiteral("Please insert disk #%1 of the set.").arg(disk)),
                 qPrintable(prompts.join(u'\n')));
    // Every disk was read back before the backup was called complete.
    QVERIFY(promptsWhenTested >= disks - 1);
    QVERIFY(prompts.contains(QStringLiteral("Please insert disk #1 of the set.")));
    QCOMPARE(m_ui->questionsAndMessages(), (QStringList{"292:" + BackupQuestion, "0:" + Completed}));
    verifyFlagsOff();
    for (int disk = 1; disk <= disks; ++disk)
        QVERIFY(m_drive->usedBytes(disk) <= m_drive->capacity());

    // The disks' files side by side make a split archive that 7z accepts.
    const QString split = m_dir->filePath(QStringLiteral("split"));
    QVERIFY(QDir().mkpath(split));
    for (int disk = 1; disk <= disks; ++disk)
        QVERIFY(QFile::copy(
            diskFile(disk),
            split + (disk == disks
                         ? QStringLiteral("/PelkinBackup.zip")
                         : QStringLiteral("/PelkinBackup.z%1").arg(disk, 2, 10, QLatin1Char('0')))));
    int exitCode = -1;
    const QString sevenZip = runTool(
        QStringLiteral("7z"), {QStringLiteral("t"), split + QStringLiteral("/PelkinBackup.zip")}, &exitCode);
    if (!sevenZip.isNull())
        QVERIFY2(exitCode == 0 && sevenZip.contains(QStringLiteral("Everything is Ok")),
                 qPrintable(sevenZip));

    // The set restores, asking for its disks.
    m_folder->exec("UPDATE [LogoData] SET [Logo] = x'00'");
    m_ui->asked.clear();
    restore(vbYes);
    QVERIFY(m_ui->diskPrompts().contains(QStringLiteral("Please insert the last disk of the set.")));
    QCOMPARE(m_folder->scalar("SELECT hex([Logo]) FROM [LogoData]"), logo);
    verifySound(m_folder->databasePath());
    verifyFlagsOff();
}

void BackupTest::existingBackupIsReplacedWithoutAQuestion()
{
    writeFile(diskFile(1), "an old backup that is not even a zip");
    writeFile(m_drive->diskFolder(1) + QStringLiteral("/letter.txt"), "something else on the floppy");
    backUp();
    QCOMPARE(m_ui->questionsAndMessages(), (QStringList{"292:" + BackupQuestion, "0:" + Completed}));
    // The disk was cleared before writing, as the question said.
    QVERIFY(!QFileInfo::exists(m_drive->diskFolder(1) + QStringLiteral("/letter.txt")));
    QVERIFY(readFile(diskFile(1)).startsWith("PK"));
    QCOMPARE(m_window->list()->topLevelItem(0)->text(0), QStringLiteral("Pelkin.mdb"));
}

void BackupTest::runningTwiceStillWritesAMultidiskSet()
{
    useDrive(160 * 1024, 8);
    m_folder->exec("UPDATE [LogoData] SET [Logo] = randomblob(200000)");
    backUp();
    QCOMPARE(m_ui->lastMessage().text, Completed);
    const int first = lastDiskUsed();
    QVERIFY(first >= 2);
    // The user switches multidisk mode and disk clearing off between the runs.
    m_window->mnuOptions_Click();
    m_window->entry(QStringLiteral("mnuOptionsClearDisks"))->trigger();
    m_window->mnuOptions_Click();
    m_window->entry(QStringLiteral("mnuOptionsMultidiskMode"))->trigger();
    QVERIFY(!m_window->engine()->multidiskMode());
    writeFile(m_drive->diskFolder(1) + QStringLiteral("/stray.txt"), "left on disk 1");
    m_drive->insert(1);
    m_ui->asked.clear();
    backUp();
    QCOMPARE(m_ui->questionsAndMessages(), (QStringList{"292:" + BackupQuestion, "0:" + Completed}));
    QVERIFY(m_window->engine()->multidiskMode());
    QVERIFY(m_window->engine()->clearDisks());
    QVERIFY(!QFileInfo::exists(m_drive->diskFolder(1) + QStringLiteral("/stray.txt")));
    QCOMPARE(lastDiskUsed(), first);
    verifyFlagsOff();
}

void BackupTest::restoreAnsweredNoKeepsTheDatabase_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("after"); // a message after the replace question

    QTest::newRow("no") << int(vbNo) << "";
    QTest::newRow("cancel") << int(vbCancel) << "48:The extracting operation was aborted.";
}

void BackupTest::restoreAnsweredNoKeepsTheDatabase()
{
    QFETCH(int, answer);
    QFETCH(QString, after);
    backUp();
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Kept')");
    m_folder->exec("PRAGMA wal_checkpoint(TRUNCATE)");
    const QByteArray before = fileHash(m_folder->databasePath());
    m_ui->asked.clear();
    restore(answer);
    QStringList expected{"292:" + RestoreQuestion, "3:The file '" + m_folder->databasePath() +
                                                       "' already exists. Do you want to replace this file?"};
    if (!after.isEmpty())
        expected << after;
    QCOMPARE(m_ui->questionsAndMessages(), expected);
    QCOMPARE(fileHash(m_folder->databasePath()), before);
    QVERIFY(jobNames().contains(QStringLiteral("Kept")));
    verifyNoLeftovers();
    verifyFlagsOff();
}

void BackupTest::damagedOrForeignBackupNeverReplacesTheDatabase_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("reason"); // the start of the explanation in the last message

    QTest::newRow("flipped byte") << 0 << "The database could not be read from the backup.";
    QTest::newRow("not a zip") << 1 << "No backup could be read from drive A.";
    QTest::newRow("no backup on the disk") << 2 << "No backup could be read from drive A.";
    QTest::newRow("other files only") << 3 << "The backup does not hold a Tarvenor database (Pelkin.mdb).";
    QTest::newRow("text named Pelkin.mdb")
        << 4 << "The database in the backup cannot be used: it cannot be opened";
    QTest::newRow("some other database")
        << 5 << "The database in the backup cannot be used: it is not a Tarvenor";
    QTest::newRow("torn database") << 6 << "The database in the backup cannot be used: ";
}

void BackupTest::damagedOrForeignBackupNeverReplacesTheDatabase()
{
    QFETCH(int, kind);
    QFETCH(QString, reason);
    if (kind <= 1) {
        backUp();
        QByteArray bytes = readFile(diskFile(1));
        if (kind == 0)
            for (qsizetype i = bytes.size() / 3; i < bytes.size() / 3 + 64; ++i)
                bytes[i] = char(bytes.at(i) ^ 0x5a);
        else
            bytes = QByteArray(4096, 'x');
        writeFile(diskFile(1), bytes);
    } else if (kind == 3) {
        putArchiveOnDisk({{QStringLiteral("notes.txt"), "just notes"}});
    } else if (kind == 4) {
        putArchiveOnDisk({{QStringLiteral("Pelkin.mdb"), "this is no database"}});
    } else if (kind == 5) {
        const QString other = m_dir->filePath(QStringLiteral("other.db"));
        {
            QSqlDatabase made = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            made.setDatabaseName(other);
            QVERIFY(made.open());
            QSqlQuery(made).exec(QStringLiteral("CREATE TABLE Recipes (Name TEXT)"));
            made.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        putArchiveOnDisk({{QStringLiteral("Pelkin.mdb"), readFile(other)}});
    } else if (kind == 6) {
        // A database cut short: its pages are missing.
        m_folder->exec("PRAGMA wal_checkpoint(TRUNCATE)");
        QByteArray bytes = readFile(m_folder->databasePath());
        bytes.truncate(bytes.size() / 2);
        putArchiveOnDisk({{QStringLiteral("Pelkin.mdb"), bytes}});
    }
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Current work')");
    m_folder->exec("PRAGMA wal_checkpoint(TRUNCATE)");
    const QByteArray before = fileHash(m_folder->databasePath());
    m_ui->asked.clear();
    restore(vbYes);
    const Asked last = m_ui->lastMessage();
    QVERIFY2(last.text.startsWith(QStringLiteral("The database was not restored.\n\n") + reason),
             qPrintable(last.text));
    QVERIFY(last.text.endsWith(QStringLiteral("\n\nYour current database has not been changed.")));
    // The replace question is never asked for a backup that cannot be used.
    for (const Asked& a : m_ui->messages())
        QVERIFY2(!a.text.startsWith(QStringLiteral("The file '")), qPrintable(a.text));
    QCOMPARE(fileHash(m_folder->databasePath()), before);
    QVERIFY(jobNames().contains(QStringLiteral("Current work")));
    verifyNoLeftovers();
    verifyFlagsOff();
}

void BackupTest::backupDuringAWriteInProgressIsConsistent()
{
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Saved before')");
    // Another window is in the middle of a write when the backup starts.
    QString error;
    const auto writer = db::openConnection(m_folder->databasePath(), QStringLiteral("Writer"), &error);
    QVERIFY2(writer, qPrintable(error));
    QSqlDatabase database = writer->database();
    QVERIFY(database.transaction());
    QSqlQuery insert(database);
    QVERIFY(insert.exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Not yet saved')"));
    QVERIFY(insert.exec("UPDATE [Job Items] SET [Item Name] = 'half done'"));
    backUp();
    QCOMPARE(m_ui->lastMessage().text, Completed);
    QVERIFY(database.commit());

    // The backup holds the file as it was before the write: whole, with the saved job, without the other.
    archive::ArchiveEngine reader;
    reader.setArchiveName(diskFile(1));
    const QString out = m_dir->filePath(QStringLiteral("out"));
    reader.setExtractFolder(out);
    reader.addFileToProcess(QStringLiteral("Pelkin.mdb"));
    QCOMPARE(reader.extract(0), 0);
    const auto copy =
        db::openConnection(out + QStringLiteral("/Pelkin.mdb"), QStringLiteral("Check"), &error);
    QVERIFY2(copy, qPrintable(error));
    QSqlQuery q(copy->database());
    QVERIFY(q.exec("PRAGMA integrity_check") && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    QVERIFY(q.exec("SELECT count(*) FROM [Job Information] WHERE [Job Name] = 'Saved before'") && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QVERIFY(q.exec("SELECT count(*) FROM [Job Information] WHERE [Job Name] = 'Not yet saved'") && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QVERIFY(q.exec("SELECT count(*) FROM [Job Items] WHERE [Item Name] = 'half done'") && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QVERIFY(jobNames().contains(QStringLiteral("Not yet saved")));
}

void BackupTest::otherErrorsAreReportedWithTheirNumber()
{
    QVERIFY(QFile::remove(m_folder->databasePath()));
    backUp();
    const Asked last = m_ui->lastMessage();
    QVERIFY2(last.text.startsWith(QStringLiteral("3049: The database could not be copied: ")),
             qPrintable(last.text));
    QVERIFY(last.text.endsWith(QStringLiteral(".Please contact Norbeck")));
    QCOMPARE(last.style, 0);
    QCOMPARE(m_ui->questionsAndMessages().size(), 2);
    verifyFlagsOff();
}

void BackupTest::abortSwitchesTheBackupFlagOff()
{
    bool flagAfterAbort = true;
    connect(m_window->engine(), &archive::ArchiveEngine::adding, this, [&]() {
        QVERIFY(m_window->automaticBackup());
        QVERIFY(m_window->abortButton()->isVisibleTo(m_window));
        m_ui->answerMessage(vbYes);
        m_window->cmdAbort_Click();
        flagAfterAbort = m_window->automaticBackup();
    });
    backUp();
    QVERIFY(!flagAfterAbort);
    QVERIFY(m_ui->questionsAndMessages().contains(
        QStringLiteral("36:Are you sure you want to abort the current operation?")));
    verifyFlagsOff();
}

void BackupTest::restoreClosesWindowsThatHoldTheDatabase()
{
    backUp();
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('After the backup')");
    MainMenu* main = mainMenu();
    QVERIFY(main->logoBinding()->isOpen());
    Forms::load<HolderWindow>()->showModeless();
    QVERIFY(!db::openConnectionOwners(m_folder->databasePath()).isEmpty());
    m_ui->asked.clear();
    restore(vbYes);
    const QStringList shown = m_ui->questionsAndMessages();
    QVERIFY2(shown.contains(
                 QStringLiteral("64:These windows use the database and are closed before it is restored:\n\n"
                                "Job Information Sheet")),
             qPrintable(shown.join(u'\n')));
    QVERIFY(!Forms::isLoaded<HolderWindow>());
    QVERIFY(!main->logoBinding()->isOpen());
    QVERIFY(!jobNames().contains(QStringLiteral("After the backup")));
    verifySound(m_folder->databasePath());
    verifyFlagsOff();
}

void BackupTest::backupWithFolderPathsRestores()
{
    // An archive made by hand in the archive window stores the file under its folders.
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('In the old backup')");
    const QString saved = m_dir->filePath(QStringLiteral("home/office/Pelkin.mdb"));
    QDir().mkpath(QFileInfo(saved).absolutePath());
    QVERIFY(backup::snapshotDatabase(m_folder->databasePath(), saved));
    QCOMPARE(makeArchive(diskFile(1), {saved}), 0);
    m_folder->exec("DELETE FROM [Job Information] WHERE [Job Name] = 'In the old backup'");
    restore(vbYes);
    QCOMPARE(m_window->list()->topLevelItem(0)->text(6), memberName(saved).section(u'\\', 0, -2));
    QVERIFY(jobNames().contains(QStringLiteral("In the old backup")));
    verifySound(m_folder->databasePath());
    verifyNoLeftovers();
    verifyFlagsOff();
}

void BackupTest::manualRestoreOverTheDatabaseClosesItsHoldersFirst()
{
    backUp();
    const QStringList backedUp = jobNames();
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Typed after the backup')");
    Forms::load<HolderWindow>()->showModeless();

    // The user opens the backup and restores its member into the application folder.
    m_ui->answerFile(diskFile(1));
    m_window->mnuFileOpen_Click();
    QCOMPARE(m_window->list()->topLevelItemCount(), 1);
    m_window->list()->topLevelItem(0)->setSelected(true);
    const QString folder = m_folder->path();
    whenModal([folder](QWidget* modal) {
        auto* dialog = qobject_cast<ExtractDialog*>(modal);
        QVERIFY(dialog);
        dialog->extractText()->setText(folder);
        dialog->cmdSelect_Click();
    });
    m_ui->asked.clear();
    m_ui->answerMessage(vbYes);
    m_window->mnuEditExtract_Click();
    const QStringList shown = m_ui->questionsAndMessages();
    QCOMPARE(shown.value(0), "3:The file '" + m_folder->databasePath() +
                                 "' already exists. Do you want to replace this file?");
    QCOMPARE(shown.value(1), QStringLiteral("64:These windows use the database and are closed before it is "
                                            "restored:\n\nJob Information Sheet"));
    QVERIFY(!Forms::isLoaded<HolderWindow>());
    QCOMPARE(jobNames(), backedUp);
    verifySound(m_folder->databasePath());
    QVERIFY(!QFileInfo::exists(m_folder->databasePath() + QStringLiteral("-wal")) ||
            QFileInfo(m_folder->databasePath() + QStringLiteral("-wal")).size() == 0);
}

QTEST_MAIN(BackupTest)
#include "tst_backup.moc"
