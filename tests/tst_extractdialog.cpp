// The extract dialog: where it opens, the folder and drive lists, an inaccessible drive, Select and Cancel.
#include "backup/extractdialog.h"
#include "backup/folderlists.h"
#include "platform/archive/archiveengine.h"
#include "platform/archive/drive.h"
#include "support/testsupport.h"
#include "tst_backuptesting.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tv;
using namespace tv::test;
using namespace backuptesting;

class ExtractDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedInteractive> m_ui;
    std::unique_ptr<archive::ArchiveEngine> m_engine;
    std::shared_ptr<archive::SimulatedDrive> m_drive;

    QString path(const QString& name) const { return QDir(m_dir->path()).canonicalPath() + u'/' + name; }

    ExtractDialog* load()
    {
        settle();
        return Forms::load<ExtractDialog>(m_engine.get());
    }

    static void chooseDrive(ExtractDialog* dialog, const QString& drive)
    {
        const int index = dialog->driveList()->findData(drive);
        QVERIFY2(index >= 0, qPrintable(drive));
        dialog->driveList()->setCurrentIndex(index);
    }

    static QListWidgetItem* folderItem(ExtractDialog* dialog, const QString& folder)
    {
        const auto items = dialog->folderList()->findItems(QStringLiteral("*"), Qt::MatchWildcard);
        for (QListWidgetItem* item : items)
            if (item->data(Qt::UserRole).toString() == folder)
                return item;
        return nullptr;
    }

private slots:
    void init();
    void cleanup();

    void elements();
    void opensOnTheCurrentFolderWithoutAChoice();
    void opensOnTheFolderChosenBefore();
    void folderListShowsParentsAndSubfolders();
    void activatingAFolderShowsItInTheText();
    void choosingADriveWithADisk();
    void driveWithoutADiskIsNotAccessible();
    void selectTrimsTheTypedFolder_data();
    void selectTrimsTheTypedFolder();
    void cancelKeepsTheFolder();
    void closingFromTheTitleBarCountsAsCancel();
};

void ExtractDialogTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_ui = std::make_unique<ScriptedInteractive>();
    m_engine = std::make_unique<archive::ArchiveEngine>();
    m_drive = std::make_shared<archive::SimulatedDrive>(path("drive"), 1440 * 1024);
    m_drive->addDisk();
    m_drive->addDisk();
    archive::drives::setDrive(QStringLiteral("A:"), m_drive);
}

void ExtractDialogTest::cleanup()
{
    if (auto* dialog = Forms::loaded<ExtractDialog>())
        dialog->forceUnload();
    settle();
    closeLeftoverWindows();
    archive::drives::setDrive(QStringLiteral("A:"), nullptr);
    m_drive.reset();
    m_engine.reset();
    m_ui.reset();
    m_dir.reset();
}

void ExtractDialogTest::elements()
{
    ExtractDialog* dialog = load();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Extract archive"));
    const QStringList captions{"Extract files to:", "Directories:", "Drives:"};
    for (int i = 0; i < 3; ++i) {
        auto* label = dialog->findChild<QLabel*>(QStringLiteral("lbl(%1)").arg(i));
        QVERIFY(label);
        QCOMPARE(label->text(), captions.at(i));
    }
    QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("cmdSelect"))->text(), QStringLiteral("Select"));
    QCOMPARE(dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("Cancel"));
    QVERIFY(dialog->findChild<QLineEdit*>(QStringLiteral("txtExtract")));
    QVERIFY(dialog->findChild<backup::FolderList*>(QStringLiteral("dirExtract")));
    // The drive layer's letter comes first, then the volumes, the root among them.
    auto* drives = dialog->findChild<backup::DriveList*>(QStringLiteral("drvExtract"));
    QVERIFY(drives);
    QCOMPARE(drives->itemData(0).toString(), QStringLiteral("A:"));
    QCOMPARE(drives->itemText(0), QStringLiteral("a:"));
    QVERIFY(drives->findData(QStringLiteral("/")) > 0);
}

void ExtractDialogTest::opensOnTheCurrentFolderWithoutAChoice()
{
    ExtractDialog* dialog = load();
    const QString current = QDir::currentPath();
    QCOMPARE(dialog->folderList()->path(), QDir::cleanPath(current));
    QCOMPARE(dialog->extractText()->text(), dialog->folderList()->path());
    QCOMPARE(dialog->driveList()->drive(), backup::DriveList::driveOf(current));
}

void ExtractDialogTest::opensOnTheFolderChosenBefore()
{
    // Chosen on the disk in drive A: the lists show that drive and folder when the dialog opens again.
    m_drive->insert(2);
    const QString chosen = m_drive->diskFolder(2) + QStringLiteral("/saved/here");
    QVERIFY(QDir().mkpath(chosen));
    m_engine->setExtractFolder(chosen);
    ExtractDialog* dialog = load();
    QCOMPARE(dialog->extractText()->text(), chosen);
    QCOMPARE(dialog->folderList()->path(), QDir::cleanPath(chosen));
    QCOMPARE(dialog->driveList()->drive(), QStringLiteral("A:"));

    // A folder that no longer exists still shows in the text box; the lists stay where they can be.
    dialog->forceUnload();
    m_engine->setExtractFolder(path("gone/away"));
    dialog = load();
    QCOMPARE(dialog->extractText()->text(), path("gone/away"));
    QCOMPARE(dialog->folderList()->path(), QDir::cleanPath(QDir::currentPath()));
}

void ExtractDialogTest::folderListShowsParentsAndSubfolders()
{
    QVERIFY(QDir().mkpath(path("top/middle/b-sub")));
    QVERIFY(QDir().mkpath(path("top/middle/a-sub")));
    writeFile(path("top/middle/file.txt"), "not a folder");
    backup::FolderList folders;
    QSignalSpy changed(&folders, &backup::FolderList::pathChanged);
    QVERIFY(folders.setPath(path("top/middle")));
    QCOMPARE(changed.size(), 1);
    QStringList entries;
    for (int i = 0; i < folders.count(); ++i)
        entries << folders.item(i)->data(Qt::UserRole).toString();
    // From the root down to the folder, then its sub-folders by name; no files.
    QCOMPARE(entries.first(), QStringLiteral("/"));
    QCOMPARE(
        entries.mid(entries.size() - 4),
        (QStringList{path("top"), path("top/middle"), path("top/middle/a-sub"), path("top/middle/b-sub")}));
    QCOMPARE(folders.currentItem()->data(Qt::UserRole).toString(), path("top/middle"));
    QVERIFY(!folders.setPath(path("top/middle/file.txt")));
    QVERIFY(!folders.setPath(path("missing")));
    QCOMPARE(folders.path(), path("top/middle"));
    QCOMPARE(changed.size(), 1);
}

void ExtractDialogTest::activatingAFolderShowsItInTheText()
{
    QVERIFY(QDir().mkpath(path("pick/inner")));
    m_engine->setExtractFolder(path("pick"));
    ExtractDialog* dialog = load();
    QListWidgetItem* inner = folderItem(dialog, path("pick/inner"));
    QVERIFY(inner);
    emit dialog->folderList()->itemActivated(inner);
    QCOMPARE(dialog->folderList()->path(), path("pick/inner"));
    QCOMPARE(dialog->extractText()->text(), path("pick/inner"));
    // Up again through a parent entry.
    emit dialog->folderList()->itemActivated(folderItem(dialog, path("pick")));
    QCOMPARE(dialog->extractText()->text(), path("pick"));
}

void ExtractDialogTest::choosingADriveWithADisk()
{
    m_drive->insert(1);
    QVERIFY(QDir().mkpath(m_drive->diskFolder(1) + QStringLiteral("/docs")));
    QVERIFY(QDir().mkpath(path("local")));
    m_engine->setExtractFolder(path("local"));
    ExtractDialog* dialog = load();
    chooseDrive(dialog, QStringLiteral("A:"));
    QCOMPARE(dialog->folderList()->path(), m_drive->diskFolder(1));
    QCOMPARE(dialog->extractText()->text(), m_drive->diskFolder(1));
    emit dialog->folderList()->itemActivated(
        folderItem(dialog, m_drive->diskFolder(1) + QStringLiteral("/docs")));

    // Back to the other drive and to A: again: each drive shows the folder last shown on it.
    chooseDrive(dialog, backup::DriveList::driveOf(path("local")));
    QCOMPARE(dialog->folderList()->path(), path("local"));
    chooseDrive(dialog, QStringLiteral("A:"));
    QCOMPARE(dialog->folderList()->path(), m_drive->diskFolder(1) + QStringLiteral("/docs"));
    QVERIFY(m_ui->messages().isEmpty());
}

void ExtractDialogTest::driveWithoutADiskIsNotAccessible()
{
    m_drive->eject();
    QVERIFY(QDir().mkpath(path("here")));
    m_engine->setExtractFolder(path("here"));
    ExtractDialog* dialog = load();
    const QString before = dialog->driveList()->drive();
    chooseDrive(dialog, QStringLiteral("A:"));
    QCOMPARE(m_ui->messages().size(), 1);
    QCOMPARE(m_ui->lastMessage().text, QStringLiteral("A:\\ is not accessible\n\nThe device is not ready"));
    QCOMPARE(m_ui->lastMessage().style, 16);
    QCOMPARE(m_ui->lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(dialog->driveList()->drive(), before);
    QCOMPARE(dialog->folderList()->path(), path("here"));
    QCOMPARE(dialog->extractText()->text(), path("here"));
}

void ExtractDialogTest::selectTrimsTheTypedFolder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("handed");

    QTest::newRow("blanks around") << "   /tmp/out folder  "
                                   << "/tmp/out folder";
    QTest::newRow("as typed") << "/tmp/x"
                              << "/tmp/x";
    QTest::newRow("drive path") << " A:\\restore "
                                << "A:\\restore";
}

void ExtractDialogTest::selectTrimsTheTypedFolder()
{
    QFETCH(QString, typed);
    QFETCH(QString, handed);
    // A cancel before: Select puts the flag back.
    ExtractDialog* dialog = load();
    dialog->cmdCancel_Click();
    QVERIFY(ExtractDialog::cancelled());
    dialog = load();
    dialog->extractText()->setText(typed);
    dialog->cmdSelect_Click();
    QCOMPARE(m_engine->extractFolder(), handed);
    QVERIFY(!ExtractDialog::cancelled());
    QVERIFY(!Forms::isLoaded<ExtractDialog>());
    // The typed folder is not checked or made.
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/out folder")));
}

void ExtractDialogTest::cancelKeepsTheFolder()
{
    m_engine->setExtractFolder(path("kept"));
    ExtractDialog* dialog = load();
    dialog->extractText()->setText(path("other"));
    dialog->cmdCancel_Click();
    QVERIFY(ExtractDialog::cancelled());
    QCOMPARE(m_engine->extractFolder(), path("kept"));
    QVERIFY(!Forms::isLoaded<ExtractDialog>());
}

void ExtractDialogTest::closingFromTheTitleBarCountsAsCancel()
{
    ExtractDialog* dialog = load();
    dialog->cmdSelect_Click();
    QVERIFY(!ExtractDialog::cancelled());
    dialog = load();
    dialog->extractText()->setText(path("not chosen"));
    QVERIFY(dialog->unload());
    QVERIFY(ExtractDialog::cancelled());
    QCOMPARE(m_engine->extractFolder(), QDir::cleanPath(QDir::currentPath()));
}

QTEST_MAIN(ExtractDialogTest)
#include "tst_extractdialog.moc"
