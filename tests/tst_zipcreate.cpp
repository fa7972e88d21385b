// The archive window: its menus and their rules, the list and the status bar, every command and the
// engine's events, the busy state with Abort, and the layout rule.
#include "backup/extractdialog.h"
#include "backup/frmzipcreate.h"
#include "platform/archive/archiveengine.h"
#include "support/testsupport.h"
#include "tst_backuptesting.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

using namespace tv;
using namespace tv::test;
using namespace backuptesting;

Q_DECLARE_METATYPE(QList<bool>)

class ZipCreateTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedInteractive> m_ui;
    frmZipCreate* m_window = nullptr;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    archive::ArchiveEngine* engine() const { return m_window->engine(); }
    QTreeWidget* list() const { return m_window->list(); }
    QAction* entry(const char* name) const { return m_window->entry(QString::fromLatin1(name)); }

    // Adds a list item through the listing event, as the engine does while listing.
    QTreeWidgetItem* listed(const QString& name, qint64 size = 100, qint64 packed = 50)
    {
        m_window->ZipMain_ListingFile(name, size, packed, QStringLiteral("01/02/24 03:04"), 50);
        return list()->topLevelItem(list()->topLevelItemCount() - 1);
    }

    // An archive in the test's folder holding the named files, each made with its own content.
    QString archiveOf(const QStringList& names, const QString& archive = QStringLiteral("test.zip"))
    {
        QStringList files;
        for (const QString& name : names) {
            files << path(QStringLiteral("src/") + name);
            writeFile(files.last(), "content of " + name.toUtf8() + QByteArray(2000, 'x'));
        }
        const QString zip = path(archive);
        if (makeArchive(zip, files) != 0)
            qWarning("the test archive could not be made");
        return zip;
    }

    void openInWindow(const QString& zip)
    {
        m_ui->answerFile(zip);
        m_window->mnuFileOpen_Click();
    }

    QStringList listedNames() const
    {
        QStringList names;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            names << list()->topLevelItem(i)->text(0);
        return names;
    }

private slots:
    void init();
    void cleanup();

    void menus_data();
    void menus();
    void captionAndStartState();
    void fileMenuRules_data();
    void fileMenuRules();
    void editMenuRules_data();
    void editMenuRules();
    void optionsMenuRules_data();
    void optionsMenuRules();
    void optionEntriesSetTheEngine_data();
    void optionEntriesSetTheEngine();

    void listingFillsTheColumns_data();
    void listingFillsTheColumns();
    void statusSummary_data();
    void statusSummary();
    void openListsTheArchive();
    void longListingsShowTheirProgress_data();
    void longListingsShowTheirProgress();
    void eventTexts_data();
    void eventTexts();
    void diskAndSkipMessages_data();
    void diskAndSkipMessages();

    void newArchive();
    void cancelledDialogsDoNothing();
    void closeArchive();
    void testArchive_data();
    void testArchive();
    void fixArchive_data();
    void fixArchive();
    void deleteArchive_data();
    void deleteArchive();
    void addSeveralFiles();
    void updateFiles();
    void deleteMembers();
    void restoreIntoChosenFolder();
    void restoreCancelledWritesNothing();
    void restoreReplaceQuestion_data();
    void restoreReplaceQuestion();
    void updateArchiveDate();
    void selectAll();
    void wizard();
    void multidiskAddIsTestedBeforeItIsCalledComplete();

    void automaticShortcuts_data();
    void automaticShortcuts();
    void busyWhileAnOperationRuns();
    void abortButton_data();
    void abortButton();
    void abortDuringAddLeavesTheArchive();
    void layoutGrowsAndNeverShrinks_data();
    void layoutGrowsAndNeverShrinks();
};

void ZipCreateTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_ui = std::make_unique<ScriptedInteractive>();
    m_window = Forms::load<frmZipCreate>();
}

void ZipCreateTest::cleanup()
{
    unloadArchiveWindow();
    QVERIFY(!Forms::isLoaded<frmZipCreate>());
    closeLeftoverWindows();
    m_ui.reset();
    m_dir.reset();
}

// --- menus
// ---------------------------------------------------------------------------------------------------------

void ZipCreateTest::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("entries"); // name=caption, "-" for a separator

    QTest::newRow("File") << "mnuFile"
                          << "&File"
                          << QStringList{"mnuFileWizard=&Wizard Backup",
                                         "mnuFileNew=&New Zipfile...",
                                         "mnuFileOpen=&Open Zipfile...",
                                         "mnuFileClose=&Close Zipfile",
                                         "-",
                                         "mnuFileTest=&Test Zipfile...",
                                         "mnuFileFix=&Fix Zipfile...",
                                         "mnuFileDelete=&Delete Zipfile...",
                                         "-",
                                         "mnuFileExit=E&xit"};
    QTest::newRow("Fix") << "mnuFileFix"
                         << "&Fix Zipfile..."
                         << QStringList{"mnuFileFixNormal=Normal", "mnuFileFixAgressive=Agressive"};
    QTest::newRow("Edit") << "mnuEdit"
                          << "&Edit"
                          << QStringList{"mnuEditAdd=&Add...",
                                         "mnuEditDelete=&Delete...",
                                         "mnuEditExtract=&Restore...",
                                         "mnuEditUpdate=&Update...",
                                         "-",
                                         "mnuEditUpdateZipDate=&UpdateZipDate",
                                         "-",
                                         "mnuEditSelectAll=Select &All"};
    QTest::newRow("Options") << "mnuOptions"
                             << "&Options"
                             << QStringList{"mnuOptionsBest=&Best compression",
                                            "mnuOptionsNormal=&Normal compression",
                                            "mnuOptionsFastest=&Fastest compression",
                                            "mnuOptionsStore=&Store without compression",
                                            "-",
                                            "mnuOptionsMultidiskMode=&Multidisk mode",
                                            "mnuOptionsClearDisks=&Clear disks",
                                            "-",
                                            "mnuOptionsUseTempFile=&Use Temp File"};
    QTest::newRow("Automatic") << "mnuAutomatic"
                               << "&Automatic"
                               << QStringList{"mnuAutomaticBackup=&Backup to Drive A",
                                              "mnuAutomaticRestore=&Restore From Drive A"};
}

void ZipCreateTest::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QStringList, entries);
    QMenu* shown = m_window->menu(menu);
    QVERIFY(shown);
    QCOMPARE(shown->title(), caption);
    QStringList found;
    for (QAction* action : shown->actions())
        found << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + u'=' + action->text());
    QCOMPARE(found, entries);
    // The menu bar holds the four menus in this order.
    QStringList bar;
    for (QAction* action : m_window->findChild<QMenuBar*>()->actions())
        bar << action->text();
    QCOMPARE(bar, (QStringList{"&File", "&Edit", "&Options", "&Automatic"}));
    QCOMPARE(entry("mnuAutomaticBackup")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    QCOMPARE(entry("mnuAutomaticRestore")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
}

void ZipCreateTest::captionAndStartState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database Backup "));
    QVERIFY(engine()->archiveName().isEmpty());
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(m_window->busyCount(), 0);
    QVERIFY(!m_window->automaticBackup());
    QVERIFY(!m_window->automaticRestore());
    QVERIFY(!m_window->abortButton()->isVisible());
    QVERIFY(!m_window->progressBar()->isVisible());
    const QStringList headers{"Name", "Date", "Time", "Size", "Packed", "Ratio", "Path"};
    const QList<int> twips{1396, 781, 436, 796, 796, 481, 1622};
    QCOMPARE(list()->columnCount(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(list()->headerItem()->text(i), headers.at(i));
        // The drawn widths, widened only where the font needs it; the Path column follows the layout rule.
        if (i != 6)
            QVERIFY(list()->columnWidth(i) >= m_window->twipsToPixelsX(twips.at(i)));
        if (i == 0)
            QCOMPARE(list()->columnWidth(i), m_window->twipsToPixelsX(twips.at(i)));
    }
    QCOMPARE(list()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(!list()->font().bold());
}

void ZipCreateTest::fileMenuRules_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("multidisk");
    QTest::addColumn<QList<bool>>("enabled"); // Close, Test, Delete, Fix

    QTest::newRow("nothing open") << false << false << QList<bool>{false, true, true, true};
    QTest::newRow("nothing open, multidisk") << false << true << QList<bool>{false, true, true, false};
    QTest::newRow("archive open") << true << false << QList<bool>{true, false, false, false};
    QTest::newRow("archive open, multidisk") << true << true << QList<bool>{true, false, false, false};
}

void ZipCreateTest::fileMenuRules()
{
    QFETCH(bool, open);
    QFETCH(bool, multidisk);
    QFETCH(QList<bool>, enabled);
    engine()->setArchiveName(open ? path("x.zip") : QString());
    engine()->setMultidiskMode(multidisk);
    m_window->mnuFile_Click();
    QCOMPARE((QList<bool>{entry("mnuFileClose")->isEnabled(), entry("mnuFileTest")->isEnabled(),
                          entry("mnuFileDelete")->isEnabled(), entry("mnuFileFix")->isEnabled()}),
             enabled);
}

void ZipCreateTest::editMenuRules_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("selection"); // 0 none, 1 current item selected, 2 current item not selected
    QTest::addColumn<bool>("multidisk");
    QTest::addColumn<QList<bool>>("enabled"); // Add, Delete, Restore, Update, UpdateZipDate, Select All

    QTest::newRow("closed") << false << 0 << 0 << false
                            << QList<bool>{false, false, false, false, false, false};
    QTest::newRow("new archive") << true << 0 << 0 << false
                                 << QList<bool>{true, false, false, true, false, false};
    QTest::newRow("new archive, multidisk")
        << true << 0 << 0 << true << QList<bool>{true, false, false, false, false, false};
    QTest::newRow("members") << true << 2 << 0 << false << QList<bool>{true, false, false, true, true, true};
    QTest::newRow("members, multidisk")
        << true << 2 << 0 << true << QList<bool>{false, false, false, false, false, true};
    QTest::newRow("selected") << true << 2 << 1 << false << QList<bool>{true, true, true, true, true, true};
    QTest::newRow("selected, multidisk")
        << true << 2 << 1 << true << QList<bool>{false, false, true, false, false, true};
    QTest::newRow("current not selected")
        << true << 2 << 2 << false << QList<bool>{true, false, false, true, true, true};
}

void ZipCreateTest::editMenuRules()
{
    QFETCH(bool, open);
    QFETCH(int, items);
    QFETCH(int, selection);
    QFETCH(bool, multidisk);
    QFETCH(QList<bool>, enabled);
    engine()->setArchiveName(open ? path("x.zip") : QString());
    engine()->setMultidiskMode(multidisk);
    for (int i = 0; i < items; ++i)
        listed(QStringLiteral("file%1.txt").arg(i));
    if (selection > 0) {
        // Another item stays selected, so that only the current item's state decides.
        list()->topLevelItem(0)->setSelected(true);
        list()->setCurrentItem(list()->topLevelItem(1));
        list()->topLevelItem(0)->setSelected(true);
        list()->topLevelItem(1)->setSelected(selection == 1);
    }
    m_window->mnuEdit_Click();
    QCOMPARE(
        (QList<bool>{entry("mnuEditAdd")->isEnabled(), entry("mnuEditDelete")->isEnabled(),
                     entry("mnuEditExtract")->isEnabled(), entry("mnuEditUpdate")->isEnabled(),
                     entry("mnuEditUpdateZipDate")->isEnabled(), entry("mnuEditSelectAll")->isEnabled()}),
        enabled);
}

void ZipCreateTest::optionsMenuRules_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("multidisk");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<bool>("useTemp");
    // Checked: Best, Normal, Fastest, Store, Multidisk, Clear, UseTemp; then enabled: Clear, UseTemp.
    QTest::addColumn<QList<bool>>("checked");
    QTest::addColumn<QList<bool>>("enabled");

    QTest::newRow("defaults") << 6 << false << false << true
                              << QList<bool>{false, true, false, false, false, false, true}
                              << QList<bool>{false, true};
    QTest::newRow("best, multidisk, clear")
        << 9 << true << true << true << QList<bool>{true, false, false, false, true, true, false}
        << QList<bool>{true, false};
    QTest::newRow("clear without multidisk")
        << 1 << false << true << false << QList<bool>{false, false, true, false, false, false, false}
        << QList<bool>{false, true};
    QTest::newRow("store, multidisk")
        << 0 << true << false << true << QList<bool>{false, false, false, true, true, false, false}
        << QList<bool>{true, false};
    QTest::newRow("level 3") << 3 << false << false << true
                             << QList<bool>{false, false, false, false, false, false, true}
                             << QList<bool>{false, true};
}

void ZipCreateTest::optionsMenuRules()
{
    QFETCH(int, level);
    QFETCH(bool, multidisk);
    QFETCH(bool, clear);
    QFETCH(bool, useTemp);
    QFETCH(QList<bool>, checked);
    QFETCH(QList<bool>, enabled);
    engine()->setCompressionLevel(level);
    engine()->setMultidiskMode(multidisk);
    engine()->setClearDisks(clear);
    engine()->setUseTempFile(useTemp);
    m_window->mnuOptions_Click();
    QList<bool> marks;
    for (const char* name : {"mnuOptionsBest", "mnuOptionsNormal", "mnuOptionsFastest", "mnuOptionsStore",
                             "mnuOptionsMultidiskMode", "mnuOptionsClearDisks", "mnuOptionsUseTempFile"})
        marks << entry(name)->isChecked();
    QCOMPARE(marks, checked);
    QCOMPARE((QList<bool>{entry("mnuOptionsClearDisks")->isEnabled(),
                          entry("mnuOptionsUseTempFile")->isEnabled()}),
             enabled);
}

void ZipCreateTest::optionEntriesSetTheEngine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("level");

    QTest::newRow("best") << "mnuOptionsBest" << 9;
    QTest::newRow("normal") << "mnuOptionsNormal" << 6;
    QTest::newRow("fastest") << "mnuOptionsFastest" << 1;
    QTest::newRow("store") << "mnuOptionsStore" << 0;
}

void ZipCreateTest::optionEntriesSetTheEngine()
{
    QFETCH(QString, name);
    QFETCH(int, level);
    engine()->setCompressionLevel(3);
    m_window->mnuOptions_Click();
    m_window->entry(name)->trigger();
    QCOMPARE(engine()->compressionLevel(), level);

    // The switches become the opposite of their check mark, each time the menu has set the marks.
    for (int round = 0; round < 2; ++round) {
        const bool multidisk = engine()->multidiskMode();
        m_window->mnuOptions_Click();
        entry("mnuOptionsMultidiskMode")->trigger();
        QCOMPARE(engine()->multidiskMode(), !multidisk);
    }
    engine()->setMultidiskMode(true);
    engine()->setClearDisks(false);
    m_window->mnuOptions_Click();
    entry("mnuOptionsClearDisks")->trigger();
    QVERIFY(engine()->clearDisks());
    engine()->setMultidiskMode(false);
    engine()->setUseTempFile(true);
    m_window->mnuOptions_Click();
    entry("mnuOptionsUseTempFile")->trigger();
    QVERIFY(!engine()->useTempFile());
}

// --- list and status
// ---------------------------------------------------------------------------------------------

void ZipCreateTest::listingFillsTheColumns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("packed");
    QTest::addColumn<int>("ratio");
    QTest::addColumn<QStringList>("columns");

    QTest::newRow("path and name") << "home\\me\\Pelkin.mdb" << qint64(290816) << qint64(31000) << 89
                                   << QStringList{"Pelkin.mdb", "25/03/24", "14:05",   " 290816",
                                                  " 31000",     " 89%",     "home\\me"};
    QTest::newRow("name only") << "notes.txt" << qint64(12) << qint64(12) << 0
                               << QStringList{"notes.txt", "25/03/24", "14:05", " 12", " 12", "0%", ""};
    QTest::newRow("folder") << "home\\me\\" << qint64(0) << qint64(0) << 0
                            << QStringList{"<dir>", "25/03/24", "14:05", "0", "0", "0%", "home\\me"};
}

void ZipCreateTest::listingFillsTheColumns()
{
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QFETCH(qint64, packed);
    QFETCH(int, ratio);
    QFETCH(QStringList, columns);
    m_window->ZipMain_ListingFile(name, size, packed, QStringLiteral("03/25/24 14:05"), ratio);
    QCOMPARE(list()->topLevelItemCount(), 1);
    QStringList shown;
    for (int i = 0; i < 7; ++i)
        shown << list()->topLevelItem(0)->text(i);
    QCOMPARE(shown, columns);
}

void ZipCreateTest::statusSummary_data()
{
    QTest::addColumn<QList<qint64>>("sizes"); // size, packed, size, packed, ...
    QTest::addColumn<QString>("status");

    QTest::newRow("no members") << QList<qint64>{} << "No files in this archive.";
    QTest::newRow("empty members") << QList<qint64>{0, 0, 0, 0} << " 2 files, 0 bytes";
    QTest::newRow("one member") << QList<qint64>{1000, 250}
                                << " 1 files, 1000 bytes, 250 bytes compressed, 75%";
    QTest::newRow("whole percent down")
        << QList<qint64>{300, 100} << " 1 files, 300 bytes, 100 bytes compressed, 67%";
    // Totals beyond 32 bits are counted whole.
    QTest::newRow("large") << QList<qint64>{3000000000, 1500000000, 3000000000, 1500000000}
                           << " 2 files, 6000000000 bytes, 3000000000 bytes compressed, 50%";
}

void ZipCreateTest::statusSummary()
{
    QFETCH(QList<qint64>, sizes);
    QFETCH(QString, status);
    for (int i = 0; i + 1 < sizes.size(); i += 2)
        m_window->ZipMain_ListingFile(QStringLiteral("f%1").arg(i), sizes.at(i), sizes.at(i + 1),
                                      QStringLiteral("01/01/24 00:00"), 0);
    m_window->showSummary();
    QCOMPARE(m_window->statusText(), status);
}

void ZipCreateTest::openListsTheArchive()
{
    const QString zip = archiveOf({"a.txt", "b.txt"});
    openInWindow(zip);
    const Asked dialog = m_ui->asked.first();
    QCOMPARE(dialog.kind, QStringLiteral("open"));
    QCOMPARE(dialog.text, QStringLiteral("Open Archive"));
    QVERIFY(dialog.extra.endsWith(
        QStringLiteral("|Zip archives (*.zip);;Self-extracting Zip archives (*.exe);;All files (*)")));
    QCOMPARE(engine()->archiveName(), zip);
    QCOMPARE(m_window->windowTitle(), zip);
    QCOMPARE(listedNames(), (QStringList{"a.txt", "b.txt"}));
    const QString folder = memberName(path("src/a.txt")).section(u'\\', 0, -2);
    QCOMPARE(list()->topLevelItem(0)->text(6), folder);
    const QDateTime modified = QFileInfo(path("src/a.txt")).lastModified();
    QCOMPARE(list()->topLevelItem(0)->text(1), modified.toString(QStringLiteral("dd/MM/yy")));
    QCOMPARE(list()->topLevelItem(0)->text(3), QStringLiteral(" 2016"));
    QVERIFY(m_window->statusText().startsWith(QStringLiteral(" 2 files, 4032 bytes, ")));
    QVERIFY(m_ui->messages().isEmpty());
    QCOMPARE(m_window->busyCount(), 0);
}

void ZipCreateTest::longListingsShowTheirProgress_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<bool>("reading");

    QTest::newRow("100") << 100 << false;
    QTest::newRow("150") << 150 << true;
}

void ZipCreateTest::longListingsShowTheirProgress()
{
    QFETCH(int, members);
    QFETCH(bool, reading);
    QStringList names;
    for (int i = 0; i < members; ++i)
        names << QStringLiteral("member%1.txt").arg(i, 3, 10, QLatin1Char('0'));
    const QString zip = archiveOf(names);
    QString statusAtFirst;
    QList<int> progress;
    connect(engine(), &archive::ArchiveEngine::listing, this, [&]() {
        if (statusAtFirst.isNull())
            statusAtFirst = m_window->statusText() + QString(u'\0');
        progress << m_window->progressBar()->value();
    });
    openInWindow(zip);
    statusAtFirst.chop(1);
    QCOMPARE(list()->topLevelItemCount(), members);
    QCOMPARE(statusAtFirst == QStringLiteral("Reading %1 files...").arg(members), reading);
    if (reading) {
        QCOMPARE(progress.last(), 100);
        QCOMPARE(progress.at(members / 2 - 1), qRound((members / 2) * 100.0 / members));
    }
    QCOMPARE(m_window->progressBar()->value(), 0);
}

void ZipCreateTest::eventTexts_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<QString>("status");

    QTest::newRow("adding") << 0 << " Adding file: a\\b.txt (1234 bytes)";
    QTest::newRow("extracting") << 1 << " Extracting file: a\\b.txt (1234 bytes)";
    QTest::newRow("testing") << 2 << " Testing file: a\\b.txt (1234 bytes)";
    QTest::newRow("updating") << 3 << " Updating file: a\\b.txt (1234 bytes)";
    QTest::newRow("deleting") << 4 << " Deleting file: a\\b.txt";
    QTest::newRow("fixing") << 5 << " Repairing file: a\\b.txt";
}

void ZipCreateTest::eventTexts()
{
    QFETCH(int, event);
    QFETCH(QString, status);
    const QString name = QStringLiteral("a\\b.txt");
    switch (event) {
    case 0:
        m_window->ZipMain_Adding(name, 1234);
        break;
    case 1:
        m_window->ZipMain_Extracting(name, 1234);
        break;
    case 2:
        m_window->ZipMain_Testing(name, 1234);
        break;
    case 3:
        m_window->ZipMain_Updating(name, 1234);
        break;
    case 4:
        m_window->ZipMain_Deleting(name);
        break;
    default:
        m_window->ZipMain_Fixing(name);
    }
    QCOMPARE(m_window->statusText(), status);
    m_window->ZipMain_Status(42);
    QCOMPARE(m_window->progressBar()->value(), 42);
}

void ZipCreateTest::diskAndSkipMessages_data()
{
    QTest::addColumn<int>("disk");   // -1: a skipped file
    QTest::addColumn<int>("reason"); // for a skipped file
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");

    QTest::newRow("disk 2") << 2 << 0 << "Please insert disk #2 of the set." << 1;
    QTest::newRow("last disk") << 0 << 0 << "Please insert the last disk of the set." << 1;
    QTest::newRow("up to date") << -1 << 3 << "Can't process 'x.txt', file is already up to date." << 48;
    QTest::newRow("no overwrite") << -1 << 7 << "Can't process 'x.txt', instructed not to overwrite." << 48;
    QTest::newRow("unknown reason") << -1 << 9 << "Can't process 'x.txt', " << 48;
}

void ZipCreateTest::diskAndSkipMessages()
{
    QFETCH(int, disk);
    QFETCH(int, reason);
    QFETCH(QString, text);
    QFETCH(int, style);
    m_window->ZipMain_Status(60);
    if (disk >= 0)
        m_window->ZipMain_NewDisk(disk);
    else
        m_window->ZipMain_SkippingFile(QStringLiteral("x.txt"), reason);
    QCOMPARE(m_ui->lastMessage().text, text);
    QCOMPARE(m_ui->lastMessage().style, style);
    QCOMPARE(m_ui->lastMessage().title, QString());
    // A skipped file also sets the progress bar back.
    QCOMPARE(m_window->progressBar()->value(), disk >= 0 ? 60 : 0);
}

// --- commands
// ----------------------------------------------------------------------------------------------------

void ZipCreateTest::newArchive()
{
    listed(QStringLiteral("old.txt"));
    const QString zip = archiveOf({"a.txt"}, QStringLiteral("new.zip"));
    m_ui->answerFile(zip);
    m_window->mnuFileNew_Click();
    const Asked dialog = m_ui->asked.first();
    QCOMPARE(dialog.kind, QStringLiteral("save"));
    QCOMPARE(dialog.text, QStringLiteral("New Archive"));
    QVERIFY(!QFileInfo::exists(zip)); // nothing is written yet; the old file is gone
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(m_window->statusText(), QStringLiteral(" New Zip archive now open."));
    QCOMPARE(engine()->archiveName(), zip);
    QCOMPARE(m_window->windowTitle(), zip);

    // A name typed without an extension gets ".zip".
    m_ui->answerFile(path("plain"));
    m_window->mnuFileNew_Click();
    QCOMPARE(engine()->archiveName(), path("plain.zip"));
}

void ZipCreateTest::cancelledDialogsDoNothing()
{
    const QString zip = archiveOf({"a.txt"});
    openInWindow(zip);
    const QString status = m_window->statusText();
    // No answer scripted: every dialog is cancelled.
    m_window->mnuFileNew_Click();
    m_window->mnuFileOpen_Click();
    m_window->mnuEditAdd_Click();
    m_window->mnuEditUpdate_Click();
    m_window->mnuFileDelete_Click();
    m_window->mnuFileTest_Click();
    m_window->mnuFileFixNormal_Click();
    QCOMPARE(engine()->archiveName(), zip);
    QCOMPARE(listedNames(), QStringList{"a.txt"});
    QCOMPARE(m_window->statusText(), status);
    QVERIFY(m_ui->messages().isEmpty());
    QVERIFY(QFileInfo::exists(zip));
    QCOMPARE(m_window->busyCount(), 0);
}

void ZipCreateTest::closeArchive()
{
    openInWindow(archiveOf({"a.txt"}));
    m_window->mnuFileClose_Click();
    QVERIFY(engine()->archiveName().isEmpty());
    QCOMPARE(list()->topLevelItemCount(), 0);
    QCOMPARE(m_window->statusText(), QStringLiteral(" No Zip archive is currently open."));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Database Backup"));
}

void ZipCreateTest::testArchive_data()
{
    QTest::addColumn<int>("damage"); // 0 none, 1 a flipped byte in a member's data, 2 not a zip at all
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("style");

    QTest::newRow("sound") << 0 << "All files in the archive are OK." << 64;
    QTest::newRow("flipped byte") << 1 << "Test failed - errors in the archive." << 16;
    QTest::newRow("not a zip") << 2 << "The archive file is corrupted. Try using the Fix option on it." << 16;
}

void ZipCreateTest::testArchive()
{
    QFETCH(int, damage);
    QFETCH(QString, message);
    QFETCH(int, style);
    // Data that does not compress, so that the middle of the file is the middle of a member's data.
    writeFile(path("src/a.bin"), randomBytes(20000, 3));
    const QString zip = path("t.zip");
    QCOMPARE(makeArchive(zip, {path("src/a.bin")}), 0);
    QByteArray bytes = readFile(zip);
    if (damage == 1)
        bytes[10000] = char(bytes.at(10000) ^ 0x55);
    if (damage == 2)
        bytes = QByteArray(500, 'n');
    writeFile(zip, bytes);
    m_ui->answerFile(zip);
    m_window->mnuFileTest_Click();
    QCOMPARE(m_ui->asked.first().text, QStringLiteral("Test Archive"));
    QCOMPARE(m_ui->lastMessage().text, message);
    QCOMPARE(m_ui->lastMessage().style, style);
    QVERIFY(engine()->archiveName().isEmpty());
    QCOMPARE(m_window->statusText(), QStringLiteral(" Finished testing files."));
    QCOMPARE(m_window->progressBar()->value(), 0);
    QCOMPARE(m_window->busyCount(), 0);
}

void ZipCreateTest::fixArchive_data()
{
    QTest::addColumn<bool>("aggressive");
    QTest::addColumn<int>("damage"); // 0 none, 1 directory cut off, 2 not a zip
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("style");

    QTest::newRow("normal, sound") << false << 0 << "The specified Zip file has been fixed." << 64;
    QTest::newRow("normal, not a zip")
        << false << 2 << "The specified Zip file is too corrupted to be fixed." << 16;
    QTest::newRow("aggressive, directory cut off")
        << true << 1 << "The specified Zip file has been fixed." << 64;
}

void ZipCreateTest::fixArchive()
{
    QFETCH(bool, aggressive);
    QFETCH(int, damage);
    QFETCH(QString, message);
    QFETCH(int, style);
    const QString zip = archiveOf({"a.txt", "b.txt"});
    QByteArray bytes = readFile(zip);
    if (damage == 1)
        bytes.truncate(bytes.lastIndexOf(QByteArray("PK\x01\x02", 4)) - 10);
    if (damage == 2)
        bytes = QByteArray(500, 'n');
    writeFile(zip, bytes);
    m_ui->answerFile(zip);
    if (aggressive)
        entry("mnuFileFixAgressive")->trigger();
    else
        entry("mnuFileFixNormal")->trigger();
    QCOMPARE(m_ui->asked.first().text, QStringLiteral("Fix Archive"));
    QCOMPARE(m_ui->lastMessage().text, message);
    QCOMPARE(m_ui->lastMessage().style, style);
    QVERIFY(engine()->archiveName().isEmpty());
    QCOMPARE(m_window->statusText(), QStringLiteral(" Finished fixing files."));
    QCOMPARE(m_window->busyCount(), 0);
    if (damage == 1) {
        // The rebuilt archive tests sound and keeps the member whose data was whole.
        m_ui->answerFile(zip);
        m_window->mnuFileTest_Click();
        QCOMPARE(m_ui->lastMessage().text, QStringLiteral("All files in the archive are OK."));
    }
}

void ZipCreateTest::deleteArchive_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("yes") << int(vbYes) << true;
    QTest::newRow("no") << int(vbNo) << false;
}

void ZipCreateTest::deleteArchive()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    const QString zip = archiveOf({"a.txt"});
    listed(QStringLiteral("shown.txt"));
    m_window->showSummary();
    const QString status = m_window->statusText();
    m_ui->answerFile(zip);
    m_ui->answerMessage(answer);
    m_window->mnuFileDelete_Click();
    QCOMPARE(m_ui->asked.first().text, QStringLiteral("Delete Archive"));
    QCOMPARE(m_ui->messages().size(), 1);
    QCOMPARE(m_ui->lastMessage().text, QStringLiteral("Are you sure you want to delete ") + zip + u'?');
    QCOMPARE(m_ui->lastMessage().style, 36);
    QCOMPARE(QFileInfo::exists(zip), !deleted);
    QCOMPARE(listedNames(), QStringList{"shown.txt"});
    QCOMPARE(m_window->statusText(), status);
}

void ZipCreateTest::addSeveralFiles()
{
    m_ui->answerFile(path("added.zip"));
    m_window->mnuFileNew_Click();
    writeFile(path("pick/one.txt"), QByteArray(3000, 'a'));
    writeFile(path("pick/two.txt"), QByteArray(4000, 'b'));
    QStringList adding;
    connect(engine(), &archive::ArchiveEngine::adding, this, [&]() { adding << m_window->statusText(); });
    // The dialog answers several files as the folder and the names, separated by NULs.
    m_ui->answerFile(path("pick") + QChar(0) + QStringLiteral("one.txt") + QChar(0) +
                     QStringLiteral("two.txt"));
    m_window->mnuEditAdd_Click();
    const Asked dialog = m_ui->asked.at(1);
    QCOMPARE(dialog.kind, QStringLiteral("open"));
    QCOMPARE(dialog.text, QStringLiteral("Add files"));
    QVERIFY(dialog.extra.endsWith(QStringLiteral("|All Files (*);;Database Files (*.mdb)")));
    QCOMPARE(adding.size(), 2);
    QCOMPARE(adding.first(),
             QStringLiteral(" Adding file: %1 (3000 bytes)").arg(path("pick") + QStringLiteral("\\one.txt")));
    QCOMPARE(listedNames(), (QStringList{"one.txt", "two.txt"}));
    QVERIFY(m_window->statusText().startsWith(QStringLiteral(" 2 files, 7000 bytes, ")));
    QVERIFY(m_ui->messages().isEmpty()); // no completion message outside multidisk mode
}

void ZipCreateTest::updateFiles()
{
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    writeFile(path("src/a.txt"), "first", old);
    writeFile(path("src/b.txt"), "other", old);
    QCOMPARE(makeArchive(path("u.zip"), {path("src/a.txt"), path("src/b.txt")}), 0);
    openInWindow(path("u.zip"));

    // a.txt is newer than its member; b.txt is the same.
    writeFile(path("src/a.txt"), "second version", old.addSecs(3600));
    m_ui->answerFile(path("src") + QChar(0) + QStringLiteral("a.txt") + QChar(0) + QStringLiteral("b.txt"));
    m_window->mnuEditUpdate_Click();
    QCOMPARE(m_ui->asked.at(1).text, QStringLiteral("Update files"));
    const QList<Asked> messages = m_ui->messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0).text, QStringLiteral("Can't process '%1', file is already up to date.")
                                      .arg(path("src") + QStringLiteral("\\b.txt")));
    QCOMPARE(messages.at(1).text, QStringLiteral("Some files were skipped while updating."));
    QCOMPARE(messages.at(1).style, 48);

    // The member now holds the new text.
    const QString out = path("out");
    engine()->setExtractFolder(out);
    engine()->addFileToProcess(memberName(path("src/a.txt")));
    QCOMPARE(engine()->extract(0), 0);
    QCOMPARE(readFile(out + QFileInfo(path("src/a.txt")).canonicalFilePath()), QByteArray("second version"));
}

void ZipCreateTest::deleteMembers()
{
    openInWindow(archiveOf({"a.txt", "b.txt", "c.txt"}));
    list()->topLevelItem(1)->setSelected(true);
    QString during;
    connect(engine(), &archive::ArchiveEngine::deleting, this, [&]() { during = m_window->statusText(); });
    QStringList statuses;
    m_window->mnuEditDelete_Click();
    QVERIFY(m_ui->messages().isEmpty());
    QCOMPARE(during, QStringLiteral(" Deleting file: ") + memberName(path("src/b.txt")));
    QCOMPARE(listedNames(), (QStringList{"a.txt", "c.txt"}));
    QVERIFY(m_window->statusText().startsWith(QStringLiteral(" 2 files, ")));
    QCOMPARE(m_window->busyCount(), 0);
}

void ZipCreateTest::restoreIntoChosenFolder()
{
    openInWindow(archiveOf({"a.txt", "b.txt"}));
    list()->topLevelItem(0)->setSelected(true);
    const QString out = path("restored");
    whenModal([out](QWidget* modal) {
        auto* dialog = qobject_cast<ExtractDialog*>(modal);
        QVERIFY(dialog);
        dialog->extractText()->setText(QStringLiteral("  ") + out + QStringLiteral(" "));
        dialog->cmdSelect_Click();
    });
    m_window->mnuEditExtract_Click();
    QCOMPARE(engine()->extractFolder(), out);
    const QString target = out + QFileInfo(path("src/a.txt")).canonicalFilePath();
    QCOMPARE(readFile(target), readFile(path("src/a.txt")));
    QVERIFY(!QFileInfo::exists(out + QFileInfo(path("src/b.txt")).canonicalFilePath()));
    QVERIFY(m_ui->messages().isEmpty());
    QCOMPARE(listedNames(), (QStringList{"a.txt", "b.txt"}));
}

void ZipCreateTest::restoreCancelledWritesNothing()
{
    openInWindow(archiveOf({"a.txt"}));
    engine()->setExtractFolder(path("chosen before"));
    list()->topLevelItem(0)->setSelected(true);
    whenModal([](QWidget* modal) { qobject_cast<ExtractDialog*>(modal)->cmdCancel_Click(); });
    m_window->mnuEditExtract_Click();
    QVERIFY(ExtractDialog::cancelled());
    QCOMPARE(engine()->extractFolder(), path("chosen before"));
    QVERIFY(!QFileInfo::exists(path("chosen before")));
    QCOMPARE(m_window->busyCount(), 0);
}

void ZipCreateTest::restoreReplaceQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("after"); // message after the question, if any

    QTest::newRow("yes") << int(vbYes) << true << "";
    QTest::newRow("no") << int(vbNo) << false << "";
    QTest::newRow("cancel") << int(vbCancel) << false << "The extracting operation was aborted.";
}

void ZipCreateTest::restoreReplaceQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    QFETCH(QString, after);
    openInWindow(archiveOf({"a.txt"}));
    const QString out = path("restored");
    const QString target = out + QFileInfo(path("src/a.txt")).canonicalFilePath();
    writeFile(target, "already there");
    engine()->setExtractFolder(out);
    list()->topLevelItem(0)->setSelected(true);
    whenModal([](QWidget* modal) { qobject_cast<ExtractDialog*>(modal)->cmdSelect_Click(); });
    m_ui->answerMessage(answer);
    m_window->mnuEditExtract_Click();
    const QList<Asked> messages = m_ui->messages();
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.first().text,
             QStringLiteral("The file '") + target +
                 QStringLiteral("' already exists. Do you want to replace this file?"));
    QCOMPARE(messages.first().style, 3);
    QCOMPARE(readFile(target) == readFile(path("src/a.txt")), replaced);
    QCOMPARE(messages.size() > 1 ? messages.at(1).text : QString(), after);
}

void ZipCreateTest::updateArchiveDate()
{
    const QDateTime when(QDate(2021, 6, 15), QTime(10, 30));
    writeFile(path("src/a.txt"), "dated", when);
    QCOMPARE(makeArchive(path("d.zip"), {path("src/a.txt")}), 0);
    openInWindow(path("d.zip"));
    m_window->mnuEditUpdateZipDate_Click();
    QCOMPARE(m_ui->lastMessage().text, QStringLiteral("Zip date has been updated."));
    QCOMPARE(m_ui->lastMessage().style, 64);
    QCOMPARE(QFileInfo(path("d.zip")).lastModified(), when);
    QVERIFY(m_window->statusText().startsWith(QStringLiteral(" 1 files, ")));
}

void ZipCreateTest::selectAll()
{
    for (int i = 0; i < 5; ++i)
        listed(QStringLiteral("f%1").arg(i));
    m_window->mnuEditSelectAll_Click();
    QCOMPARE(list()->selectedItems().size(), 5);
}

void ZipCreateTest::wizard()
{
    writeFile(path("w/file.txt"), "wizard");
    m_ui->answerFile(path("wizard.zip"));
    m_ui->answerFile(path("w/file.txt"));
    m_window->mnuFileWizard_Click();
    QStringList steps;
    for (const Asked& a : std::as_const(m_ui->asked))
        steps << a.kind + u':' + a.text;
    QCOMPARE(
        steps,
        (QStringList{"msgbox:The next window to pop up will ask you to create a new zip file. \n"
                     "Type in the name of the file you want to create.",
                     "save:New Archive",
                     "msgbox:The next window to pop up will ask you to add new files to your new zip file. \n"
                     "Please select the files you wish to add.",
                     "open:Add files"}));
    QCOMPARE(listedNames(), QStringList{"file.txt"});
}

void ZipCreateTest::multidiskAddIsTestedBeforeItIsCalledComplete()
{
    // In multidisk mode an archive off the drives is one plain file; its completion is still confirmed.
    engine()->setMultidiskMode(true);
    m_ui->answerFile(path("md.zip"));
    m_window->mnuFileNew_Click();
    writeFile(path("src/a.txt"), QByteArray(5000, 'm'));
    QStringList order;
    connect(engine(), &archive::ArchiveEngine::testing, this, [&]() { order << "testing"; });
    m_ui->onNextMessage([&]() { order << "message"; });
    m_ui->answerFile(path("src/a.txt"));
    m_window->mnuEditAdd_Click();
    QCOMPARE(m_ui->lastMessage().text, QStringLiteral("Compressed backup process completed!"));
    QCOMPARE(m_ui->lastMessage().style, 0);
    QCOMPARE(order, (QStringList{"testing", "message"}));
    QCOMPARE(listedNames(), QStringList{"a.txt"});
}

// --- busy state and Abort
// ----------------------------------------------------------------------------------------

void ZipCreateTest::automaticShortcuts_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("question");

    QTest::newRow("Ctrl+B")
        << int(Qt::Key_B)
        << "Please insert a blank formatted floppy disk in drive A?\n"
           "If you continue, all data on the floppy will be erased and a backup disk will be created!";
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << "Please insert your backup disk in drive A?";
}

void ZipCreateTest::automaticShortcuts()
{
    QFETCH(int, key);
    QFETCH(QString, question);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    list()->setFocus();
    // Unanswered, the question takes its default button: No.
    QTest::keyClick(list(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(m_ui->messages().size(), 1);
    QCOMPARE(m_ui->lastMessage().text, question);
    QCOMPARE(m_ui->lastMessage().style, 292);
    QVERIFY(!m_window->automaticBackup());
    QVERIFY(!m_window->automaticRestore());
    QVERIFY(engine()->archiveName().isEmpty());
}

void ZipCreateTest::busyWhileAnOperationRuns()
{
    const QString zip = archiveOf({"a.txt"});
    m_window->show();
    bool checked = false;
    connect(engine(), &archive::ArchiveEngine::listing, this, [&]() {
        checked = true;
        QVERIFY(m_window->busyCount() > 0);
        QVERIFY(m_window->abortButton()->isVisible());
        QVERIFY(m_window->progressBar()->isVisible());
        for (const char* name : {"mnuFile", "mnuEdit", "mnuOptions", "mnuAutomatic", "mnuAutomaticBackup",
                                 "mnuAutomaticRestore"})
            QVERIFY2(!m_window->entry(QString::fromLatin1(name))->isEnabled(), name);
        QVERIFY(!list()->isEnabled());
        QCOMPARE(m_ui->pointer(), Pointer::Hourglass);
        // The window cannot be closed under the running operation.
        QVERIFY(!m_window->unload());
    });
    openInWindow(zip);
    QVERIFY(checked);
    QCOMPARE(m_window->busyCount(), 0);
    QVERIFY(!m_window->abortButton()->isVisible());
    QVERIFY(!m_window->progressBar()->isVisible());
    for (const char* name : {"mnuFile", "mnuEdit", "mnuOptions", "mnuAutomatic", "mnuAutomaticBackup"})
        QVERIFY2(m_window->entry(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(list()->isEnabled());
    QCOMPARE(m_ui->pointer(), Pointer::Default);
    QVERIFY(m_window->isVisible());
}

void ZipCreateTest::abortButton_data()
{
    QTest::addColumn<bool>("useTemp");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("aborting");

    QTest::newRow("yes") << true << int(vbYes) << true;
    QTest::newRow("no") << true << int(vbNo) << false;
    QTest::newRow("no temporary file") << false << int(vbYes) << false;
}

void ZipCreateTest::abortButton()
{
    QFETCH(bool, useTemp);
    QFETCH(int, answer);
    QFETCH(bool, aborting);
    engine()->setUseTempFile(useTemp);
    entry("mnuAutomaticBackup")->setChecked(true);
    m_ui->answerMessage(answer);
    m_window->cmdAbort_Click();
    const Asked asked = m_ui->lastMessage();
    if (useTemp) {
        QCOMPARE(asked.text, QStringLiteral("Are you sure you want to abort the current operation?"));
        QCOMPARE(asked.title, QStringLiteral("Abort"));
        QCOMPARE(asked.style, 36);
    } else {
        QCOMPARE(asked.text,
                 QStringLiteral("You cannot abort an operation when you are not using a temporary file."));
        QCOMPARE(asked.style, 48);
    }
    QCOMPARE(engine()->abortRequested(), aborting);
    QCOMPARE(m_window->automaticBackup(), !aborting);
}

void ZipCreateTest::abortDuringAddLeavesTheArchive()
{
    const QString zip = archiveOf({"a.txt"});
    openInWindow(zip);
    const QByteArray before = readFile(zip);
    writeFile(path("big.bin"), randomBytes(12 * 1024 * 1024, 7));
    m_window->show();
    bool scheduled = false;
    bool clicked = false;
    connect(engine(), &archive::ArchiveEngine::status, this, [&](int percent) {
        if (scheduled || percent < 2)
            return;
        scheduled = true;
        // The click arrives through the event loop, which only runs while the engine lets the window work.
        QTimer::singleShot(0, this, [&]() {
            clicked = true;
            QVERIFY(m_window->abortButton()->isVisible());
            m_ui->answerMessage(vbYes);
            QTest::mouseClick(m_window->abortButton(), Qt::LeftButton);
        });
    });
    m_ui->answerFile(path("big.bin"));
    m_window->mnuEditAdd_Click();
    QVERIFY(clicked);
    QCOMPARE(m_ui->lastMessage().text, QStringLiteral("The adding operation was aborted."));
    QCOMPARE(m_ui->lastMessage().style, 48);
    QCOMPARE(readFile(zip), before);
    // The list is not read again after an abort.
    QCOMPARE(listedNames(), QStringList{"a.txt"});
    QCOMPARE(m_window->busyCount(), 0);
}

void ZipCreateTest::layoutGrowsAndNeverShrinks_data()
{
    QTest::addColumn<int>("dx"); // pixels
    QTest::addColumn<int>("dy");

    QTest::newRow("as loaded") << 0 << 0;
    QTest::newRow("wider and taller") << 300 << 120;
    QTest::newRow("smaller") << -200 << -80;
}

void ZipCreateTest::layoutGrowsAndNeverShrinks()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const QSize loaded = m_window->size();
    auto* client = m_window->findChild<QWidget*>(QStringLiteral("client"));
    const QSize loadedClient = client->size();
    m_window->resize(loaded + QSize(dx, dy));
    QTest::qWait(20);
    QVERIFY(m_window->width() >= loaded.width() && m_window->height() >= loaded.height());
    const int growX = client->width() - loadedClient.width();
    QCOMPARE(growX, qMax(0, dx));
    const int twipsX = m_window->pixelsToTwipsX(client->width()) - 8415;
    QCOMPARE(list()->columnWidth(6), m_window->twipsToPixelsX(1620 + twipsX));
    QCOMPARE(m_window->abortButton()->x(), m_window->twipsToPixelsX(7140 + twipsX));
    QCOMPARE(m_window->progressBar()->x(), m_window->twipsToPixelsX(4080 + twipsX));
    QCOMPARE(list()->width(), m_window->twipsToPixelsX(8415 + twipsX));
    QVERIFY(list()->height() >= m_window->twipsToPixelsY(2355) + qMax(0, dy) - 2);
}

QTEST_MAIN(ZipCreateTest)
#include "tst_zipcreate.moc"
