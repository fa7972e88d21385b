#include "archivetesting.h"

#include "platform/archive/archiveengine.h"
#include "platform/archive/drive.h"

#include <QTemporaryDir>

using namespace tv::archive;
using namespace archivetesting;

class ArchiveDriveTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void drivePathsMapOntoTheMedium_data();
    void drivePathsMapOntoTheMedium();
    void locateFindsPathsOnTheMedium();
    void driveAFollowsTheEnvironment();
    void simulatedDriveStates();
    void eraseRemovesEverythingButFollowsNoLink();
    void eraseRefusesSystemAndHomeFolders_data();
    void eraseRefusesSystemAndHomeFolders();
    void archiveOnDriveWithoutDisk();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<SimulatedDrive> m_drive;
    QByteArray m_savedEnvironment;
};

void ArchiveDriveTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_drive = std::make_shared<SimulatedDrive>(m_dir->filePath(QStringLiteral("drive")), 1000);
    m_drive->addDisk();
    m_drive->addDisk();
    m_drive->insert(1);
    drives::setDrive(QStringLiteral("a"), m_drive);
    m_savedEnvironment = qgetenv("TARVENOR_DRIVE_A");
}

void ArchiveDriveTest::cleanup()
{
    drives::setDrive(QStringLiteral("A:"), nullptr);
    if (m_savedEnvironment.isNull())
        qunsetenv("TARVENOR_DRIVE_A");
    else
        qputenv("TARVENOR_DRIVE_A", m_savedEnvironment);
    m_drive.reset();
    m_dir.reset();
}

void ArchiveDriveTest::drivePathsMapOntoTheMedium_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("below"); // below the root of disk 1; "-" for "not mapped", "=" for "unchanged"
    QTest::newRow("file at the root") << "A:\\PelkinBackup.zip"
                                      << "/PelkinBackup.zip";
    QTest::newRow("lower-case letter, slashes") << "a:/x/y.zip"
                                                << "/x/y.zip";
    QTest::newRow("folder") << "A:\\backups\\2004\\b.zip"
                            << "/backups/2004/b.zip";
    QTest::newRow("root itself") << "A:\\"
                                 << "";
    QTest::newRow("unknown letter") << "Q:\\x.zip"
                                    << "-";
    QTest::newRow("local path") << "/tmp/x.zip"
                                << "=";
}

void ArchiveDriveTest::drivePathsMapOntoTheMedium()
{
    QFETCH(QString, path);
    QFETCH(QString, below);
    const QString local = drives::toLocalPath(path);
    if (below == QLatin1String("-"))
        QCOMPARE(local, QString());
    else if (below == QLatin1String("="))
        QCOMPARE(local, path);
    else
        QCOMPARE(local, m_drive->diskFolder(1) + below);
}

void ArchiveDriveTest::locateFindsPathsOnTheMedium()
{
    const drives::Location byLetter = drives::locate(QStringLiteral("A:\\backup\\x.zip"));
    QCOMPARE(byLetter.drive, m_drive.get());
    QCOMPARE(byLetter.letter, QStringLiteral("A:"));
    QCOMPARE(byLetter.relativePath, QStringLiteral("backup/x.zip"));
    const drives::Location byFolder = drives::locate(m_drive->diskFolder(1) + QStringLiteral("/y.zip"));
    QCOMPARE(byFolder.drive, m_drive.get());
    QCOMPARE(byFolder.relativePath, QStringLiteral("y.zip"));
    QCOMPARE(drives::locate(m_dir->filePath(QStringLiteral("z.zip"))).drive, nullptr);
    // Without a disk the letter still names the drive, but no local path exists.
    m_drive->eject();
    QCOMPARE(drives::locate(QStringLiteral("A:\\x.zip")).drive, m_drive.get());
    QCOMPARE(drives::toLocalPath(QStringLiteral("A:\\x.zip")), QString());
    QVERIFY(drives::letters().contains(QStringLiteral("A:")));
}

void ArchiveDriveTest::driveAFollowsTheEnvironment()
{
    drives::setDrive(QStringLiteral("A:"), nullptr);
    Drive* driveA = drives::drive(QStringLiteral("A:"));
    QVERIFY(driveA);
    const QString folder = m_dir->filePath(QStringLiteral("floppy"));
    qputenv("TARVENOR_DRIVE_A", QFile::encodeName(folder));
    QCOMPARE(driveA->state(), DriveState::NoDisk); // the folder does not exist yet
    QCOMPARE(drives::toLocalPath(QStringLiteral("A:\\PelkinBackup.zip")), QString());
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(driveA->state(), DriveState::Ready);
    QCOMPARE(driveA->rootPath(), folder);
    QVERIFY(driveA->freeBytes() > 0);
    QCOMPARE(drives::toLocalPath(QStringLiteral("A:\\PelkinBackup.zip")),
             folder + QStringLiteral("/PelkinBackup.zip"));
}

void ArchiveDriveTest::simulatedDriveStates()
{
    QCOMPARE(m_drive->state(), DriveState::Ready);
    QCOMPARE(m_drive->freeBytes(), qint64(1000));
    writeFile(m_drive->diskFolder(1) + QStringLiteral("/f"), QByteArray(300, 'x'));
    QCOMPARE(m_drive->freeBytes(), qint64(700));
    m_drive->setWriteProtected(2, true);
    m_drive->insert(2);
    QCOMPARE(m_drive->state(), DriveState::WriteProtected);
    QCOMPARE(m_drive->freeBytes(), qint64(1000));
    m_drive->eject();
    QCOMPARE(m_drive->state(), DriveState::NoDisk);
    QCOMPARE(m_drive->rootPath(), QString());
}

void ArchiveDriveTest::eraseRemovesEverythingButFollowsNoLink()
{
    const QString outside = m_dir->filePath(QStringLiteral("outside.txt"));
    writeFile(outside, "keep");
    const QString root = m_drive->diskFolder(1);
    writeFile(root + QStringLiteral("/a.txt"), "a");
    writeFile(root + QStringLiteral("/.hidden"), "h");
    writeFile(root + QStringLiteral("/sub/deeper/b.txt"), "b");
    QVERIFY(QFile::link(outside, root + QStringLiteral("/link")));
    QVERIFY(QFile::link(m_dir->path(), root + QStringLiteral("/folderlink")));
    QVERIFY(m_drive->erase());
    QVERIFY(QDir(root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    QCOMPARE(readFile(outside), QByteArray("keep"));
    QVERIFY(QFileInfo::exists(m_drive->diskFolder(2)));
}

void ArchiveDriveTest::eraseRefusesSystemAndHomeFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("root") << "/";
    QTest::newRow("home") << QDir::homePath();
    QTest::newRow("above home") << QFileInfo(QDir::homePath()).absolutePath();
}

void ArchiveDriveTest::eraseRefusesSystemAndHomeFolders()
{
    QFETCH(QString, folder);
    FolderDrive drive(folder, false);
    QString error;
    QVERIFY(!drive.erase(&error));
    QVERIFY(!error.isEmpty());
}

void ArchiveDriveTest::archiveOnDriveWithoutDisk()
{
    const QString file = m_dir->filePath(QStringLiteral("a.txt"));
    writeFile(file, "a");
    m_drive->eject();
    ArchiveEngine engine;
    EventLog log(&engine);
    engine.setArchiveName(QStringLiteral("A:\\x.zip"));
    engine.addFileToProcess(file);
    QCOMPARE(engine.add(ArchiveEngine::AddFiles), int(CannotAccess));
    QCOMPARE(engine.list(), int(ArchiveMissing));
    QVERIFY(log.diskPrompts.isEmpty());
}

QTEST_GUILESS_MAIN(ArchiveDriveTest)
#include "tst_archivedrive.moc"
