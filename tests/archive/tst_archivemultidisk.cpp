#include "archivetesting.h"

#include "platform/archive/archiveengine.h"
#include "platform/archive/drive.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace tv::archive;
using namespace archivetesting;

namespace {

constexpr qint64 DiskCapacity = 100 * 1024;
const QString ArchiveOnA = QStringLiteral("A:\\backup\\PelkinBackup.zip");
const QString PathOnDisk = QStringLiteral("backup/PelkinBackup.zip");

} // namespace

class ArchiveMultidiskTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void writeAndReadAcrossDisks();
    void splitSetSideBySide();
    void wrongDiskWhileReading_data();
    void wrongDiskWhileReading();
    void wrongDiskWhileRestoring_data();
    void wrongDiskWhileRestoring();
    void fullDiskLeftInIsNeverOverwritten_data();
    void fullDiskLeftInIsNeverOverwritten();
    void clearDisks_data();
    void clearDisks();
    void noDiskOrWriteProtected_data();
    void noDiskOrWriteProtected();
    void smallArchiveFitsOnOneDisk();
    void multidiskArchiveOutsideMultidiskMode();
    void operationsNotForMultidiskArchives();
    void damagedSetsGiveCodesNotCrashes();

private:
    // Writes the backup file onto the disks: the handler inserts each disk asked for.
    int writeBackup(const QByteArray& content);
    QString diskFile(int disk) const { return m_drive->diskFolder(disk) + QLatin1Char('/') + PathOnDisk; }
    int disksUsed() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<SimulatedDrive> m_drive;
    std::unique_ptr<ArchiveEngine> m_engine;
    std::unique_ptr<EventLog> m_log;
    QString m_source;
};

void ArchiveMultidiskTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_drive = std::make_shared<SimulatedDrive>(m_dir->filePath(QStringLiteral("drive")), DiskCapacity);
    for (int i = 0; i < 12; ++i)
        m_drive->addDisk();
    m_drive->insert(1);
    drives::setDrive(QStringLiteral("A:"), m_drive);
    m_engine = std::make_unique<ArchiveEngine>();
    m_engine->setMultidiskMode(true);
    m_engine->setArchiveName(ArchiveOnA);
    m_log = std::make_unique<EventLog>(m_engine.get());
    m_log->onNewDisk = [this](int disk) { m_drive->insert(disk == 0 ? disksUsed() : disk); };
    m_source = m_dir->filePath(QStringLiteral("app/Pelkin.mdb"));
}

void ArchiveMultidiskTest::cleanup()
{
    drives::setDrive(QStringLiteral("A:"), nullptr);
    m_log.reset();
    m_engine.reset();
    m_drive.reset();
    m_dir.reset();
}

int ArchiveMultidiskTest::writeBackup(const QByteArray& content)
{
    writeFile(m_source, content);
    m_engine->addFileToProcess(m_source);
    return m_engine->add(ArchiveEngine::AddFiles);
}

int ArchiveMultidiskTest::disksUsed() const
{
    int used = 0;
    for (int disk = 1; disk <= m_drive->diskCount(); ++disk) {
        if (QFileInfo::exists(diskFile(disk)))
            used = disk;
    }
    return used;
}

void ArchiveMultidiskTest::writeAndReadAcrossDisks()
{
    const QByteArray content = mixedContent(420000, 1);
    QCOMPARE(writeBackup(content), int(Success));
    const int disks = disksUsed();
    QVERIFY2(disks >= 3, qPrintable(QString::number(disks)));
    QList<int> expectedPrompts;
    for (int disk = 2; disk <= disks; ++disk)
        expectedPrompts << disk;
    QCOMPARE(m_log->diskPrompts, expectedPrompts);
    QCOMPARE(m_log->eventsStartingWith("adding"), QStringList({"adding " + m_source + " 420000"}));
    QCOMPARE(m_log->percents.last(), 100);

    // Every disk holds the same file name; the first starts with the span signature; no disk overflows; every
    // disk but the last holds at least 64 KiB.
    QCOMPARE(readFile(diskFile(1)).left(4), QByteArray("PK\x07\x08", 4));
    for (int disk = 1; disk <= disks; ++disk) {
        QVERIFY(m_drive->usedBytes(disk) <= DiskCapacity);
        if (disk < disks)
            QVERIFY(QFileInfo(diskFile(disk)).size() >= 64 * 1024);
    }

    // The last disk is still in: listing asks for nothing.
    m_log->clear();
    QCOMPARE(m_engine->fileCount(), 1);
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed, QStringList({memberName(m_source)}));
    QCOMPARE(m_log->listedSizes, QList<qint64>({420000}));
    QVERIFY(m_log->diskPrompts.isEmpty());

    // With the first disk in, listing asks for the last disk.
    m_drive->insert(1);
    m_log->clear();
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->diskPrompts, QList<int>({0}));

    // Restoring asks for the disks in their order and brings the file back in place.
    QVERIFY(QFile::remove(m_source));
    m_log->clear();
    m_engine->addFileToProcess(memberName(m_source));
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(m_source), content);
    QVERIFY(m_log->diskPrompts.size() >= disks - 1);
    QCOMPARE(m_log->diskPrompts.first(), 1);
    for (int i = 1; i < m_log->diskPrompts.size(); ++i) {
        const int previous = m_log->diskPrompts[i - 1];
        const int current = m_log->diskPrompts[i];
        QVERIFY(current == 0 || current == previous + 1);
    }

    m_log->clear();
    QCOMPARE(m_engine->test(), int(Success));
    QCOMPARE(m_log->eventsStartingWith("testing").size(), 1);
}

void ArchiveMultidiskTest::splitSetSideBySide()
{
    // Many members of odd sizes, so that some headers would cross a disk boundary and start the next disk.
    const QByteArray content = mixedContent(300000, 2);
    writeFile(m_source, content);
    m_engine->addFileToProcess(m_source);
    QStringList small;
    for (int i = 0; i < 40; ++i) {
        small << m_dir->filePath(QStringLiteral("app/reports/report-with-a-long-name-%1.rpt").arg(i));
        writeFile(small.last(), mixedContent(1000 + 97 * i, 100 + i));
        m_engine->addFileToProcess(small.last());
    }
    QCOMPARE(m_engine->add(ArchiveEngine::AddFiles), int(Success));
    const int disks = disksUsed();
    QVERIFY(disks >= 2);
    qint64 shortest = DiskCapacity;
    for (int disk = 1; disk < disks; ++disk)
        shortest = qMin(shortest, QFileInfo(diskFile(disk)).size());
    QVERIFY(shortest < DiskCapacity); // at least one disk ended early
    const QString folder = m_dir->filePath(QStringLiteral("split"));
    QVERIFY(QDir().mkpath(folder));
    for (int disk = 1; disk <= disks; ++disk) {
        const QString name = disk == disks ? QStringLiteral("set.zip")
                                           : QStringLiteral("set.z%1").arg(disk, 2, 10, QLatin1Char('0'));
        QVERIFY(QFile::copy(diskFile(disk), folder + QLatin1Char('/') + name));
    }

    // Our own reader takes the files side by side, without asking for disks.
    m_engine->setArchiveName(folder + QStringLiteral("/set.zip"));
    m_log->clear();
    QCOMPARE(m_engine->test(), int(Success));
    const QString out = m_dir->filePath(QStringLiteral("out"));
    m_engine->setExtractFolder(out);
    m_engine->addFileToProcess(memberName(m_source));
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(out + QFileInfo(m_source).absoluteFilePath()), content);
    QVERIFY(m_log->diskPrompts.isEmpty());
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed.size(), 41);

    const QString sevenZip = QStandardPaths::findExecutable(QStringLiteral("7z"));
    if (sevenZip.isEmpty())
        QSKIP("7z is not installed");
    QProcess check;
    check.start(sevenZip, {QStringLiteral("t"), folder + QStringLiteral("/set.zip")});
    QVERIFY(check.waitForFinished(60000));
    const QByteArray output = check.readAllStandardOutput();
    QVERIFY2(check.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("Everything is Ok"), output.constData());
}

void ArchiveMultidiskTest::wrongDiskWhileReading_data()
{
    QTest::addColumn<int>("wrongAnswers"); // how often the user puts in the wrong disk before the right one
    QTest::addColumn<int>("result");
    QTest::newRow("once") << 1 << int(Success);
    QTest::newRow("twice") << 2 << int(Success);
    QTest::newRow("three times") << 3 << int(WrongDisk);
}

void ArchiveMultidiskTest::wrongDiskWhileReading()
{
    QFETCH(int, wrongAnswers);
    QFETCH(int, result);
    QCOMPARE(writeBackup(mixedContent(300000, 3)), int(Success));
    const int last = disksUsed();
    m_drive->insert(1);
    int wrong = 0;
    m_log->clear();
    m_log->onNewDisk = [&](int disk) {
        QCOMPARE(disk, 0);
        m_drive->insert(wrong++ < wrongAnswers ? 2 : last);
    };
    QCOMPARE(m_engine->list(), result);
    QCOMPARE(m_log->diskPrompts.size(), qMin(wrongAnswers + 1, 3));
    QCOMPARE(m_log->listed.size(), result == Success ? 1 : 0);
}

void ArchiveMultidiskTest::wrongDiskWhileRestoring_data()
{
    QTest::addColumn<QString>("wrongDisk"); // put in once when disk 3 is asked for
    QTest::newRow("the disk before") << "previous";
    QTest::newRow("a later disk") << "later";
    QTest::newRow("the first disk") << "first";
    QTest::newRow("the last disk") << "last";
    QTest::newRow("no disk") << "none";
}

void ArchiveMultidiskTest::wrongDiskWhileRestoring()
{
    QFETCH(QString, wrongDisk);
    // One large member over many disks: the middle disks hold nothing but its data.
    const QByteArray content = mixedContent(700000, 10);
    QCOMPARE(writeBackup(content), int(Success));
    const int last = disksUsed();
    QVERIFY(last >= 6);
    QVERIFY(QFile::remove(m_source));
    bool tricked = false;
    m_log->clear();
    m_log->onNewDisk = [&](int disk) {
        if (disk == 3 && !tricked) {
            tricked = true;
            if (wrongDisk == QLatin1String("previous"))
                m_drive->insert(2);
            else if (wrongDisk == QLatin1String("later"))
                m_drive->insert(5);
            else if (wrongDisk == QLatin1String("first"))
                m_drive->insert(1);
            else if (wrongDisk == QLatin1String("last"))
                m_drive->insert(last);
            else
                m_drive->eject();
            return;
        }
        m_drive->insert(disk == 0 ? last : disk);
    };
    m_engine->addFileToProcess(memberName(m_source));
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(m_source), content);
    QCOMPARE(m_log->diskPrompts.mid(0, 4), QList<int>({1, 2, 3, 3}));
}

void ArchiveMultidiskTest::fullDiskLeftInIsNeverOverwritten_data()
{
    QTest::addColumn<bool>("clearDisks");
    QTest::newRow("keep disks") << false;
    QTest::newRow("clear disks") << true;
}

void ArchiveMultidiskTest::fullDiskLeftInIsNeverOverwritten()
{
    QFETCH(bool, clearDisks);
    m_engine->setClearDisks(clearDisks);
    bool leftIn = false;
    m_log->onNewDisk = [&](int disk) {
        // The first time disk 2 is asked for, the user leaves disk 1 in the drive.
        if (disk == 2 && !leftIn) {
            leftIn = true;
            return;
        }
        m_drive->insert(disk);
    };
    const QByteArray content = mixedContent(300000, 4);
    QCOMPARE(writeBackup(content), int(Success));
    QCOMPARE(m_log->diskPrompts.mid(0, 2), QList<int>({2, 2}));

    QVERIFY(QFile::remove(m_source));
    m_log->onNewDisk = [this](int disk) { m_drive->insert(disk == 0 ? disksUsed() : disk); };
    m_engine->addFileToProcess(memberName(m_source));
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(m_source), content);
}

void ArchiveMultidiskTest::clearDisks_data()
{
    QTest::addColumn<bool>("clearDisks");
    QTest::addColumn<int>("result");
    QTest::newRow("disks kept") << false << int(DiskFull);
    QTest::newRow("disks cleared") << true << int(Success);
}

void ArchiveMultidiskTest::clearDisks()
{
    QFETCH(bool, clearDisks);
    QFETCH(int, result);
    // Every disk already holds files that leave less than a segment free.
    for (int disk = 1; disk <= m_drive->diskCount(); ++disk) {
        writeFile(m_drive->diskFolder(disk) + "/old/letters.txt", QByteArray(60 * 1024, 'x'));
        writeFile(m_drive->diskFolder(disk) + "/notes.txt", "notes");
    }
    m_engine->setClearDisks(clearDisks);
    QCOMPARE(writeBackup(mixedContent(300000, 5)), result);
    if (clearDisks) {
        const int disks = disksUsed();
        for (int disk = 1; disk <= disks; ++disk) {
            QCOMPARE(QDir(m_drive->diskFolder(disk)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList({"backup"}));
        }
        QCOMPARE(
            QDir(m_drive->diskFolder(disks + 1)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
            2);
        QCOMPARE(m_engine->test(), int(Success));
    } else {
        QCOMPARE(m_log->diskPrompts, QList<int>({1, 1, 1}));
        QCOMPARE(readFile(m_drive->diskFolder(1) + "/notes.txt"), QByteArray("notes"));
    }
}

void ArchiveMultidiskTest::noDiskOrWriteProtected_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<int>("result");
    QTest::newRow("no disk") << "no disk" << int(WrongDisk);
    QTest::newRow("write-protected") << "protected" << int(WrongDisk);
    QTest::newRow("disk put in when asked") << "inserted" << int(Success);
}

void ArchiveMultidiskTest::noDiskOrWriteProtected()
{
    QFETCH(QString, problem);
    QFETCH(int, result);
    if (problem == QLatin1String("protected"))
        m_drive->setWriteProtected(1, true);
    m_drive->eject();
    if (problem != QLatin1String("no disk"))
        m_drive->insert(1);
    if (problem == QLatin1String("inserted")) {
        m_drive->eject();
        m_log->onNewDisk = [this](int disk) { m_drive->insert(disk); };
    } else {
        m_log->onNewDisk = nullptr;
    }
    QCOMPARE(writeBackup(mixedContent(20000, 6)), result);
    if (result != Success) {
        QCOMPARE(m_log->diskPrompts, QList<int>({1, 1, 1}));
        QVERIFY(!QFileInfo::exists(diskFile(1)));
    } else {
        QCOMPARE(m_log->diskPrompts, QList<int>({1}));
    }
}

void ArchiveMultidiskTest::smallArchiveFitsOnOneDisk()
{
    const QByteArray content = mixedContent(30000, 7);
    QCOMPARE(writeBackup(content), int(Success));
    QCOMPARE(disksUsed(), 1);
    QVERIFY(m_log->diskPrompts.isEmpty());
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_engine->test(), int(Success));
    // A one-disk set is an ordinary archive, readable outside multidisk mode and by other tools.
    m_engine->setMultidiskMode(false);
    QCOMPARE(m_engine->test(), int(Success));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        QSKIP("unzip is not installed");
    QProcess check;
    check.start(unzip, {QStringLiteral("-tq"), diskFile(1)});
    QVERIFY(check.waitForFinished(60000));
    QCOMPARE(check.exitCode(), 0);
}

void ArchiveMultidiskTest::multidiskArchiveOutsideMultidiskMode()
{
    QCOMPARE(writeBackup(mixedContent(300000, 8)), int(Success));
    m_engine->setMultidiskMode(false);
    QCOMPARE(m_engine->list(), int(MultidiskArchive));
    QCOMPARE(m_engine->test(), int(MultidiskArchive));
    m_engine->addFileToProcess(memberName(m_source));
    QCOMPARE(m_engine->extract(0), int(MultidiskArchive));
    QCOMPARE(m_engine->fix(true), int(MultidiskArchive));
    QVERIFY(m_log->diskPrompts.size() >= 1); // from writing only
}

void ArchiveMultidiskTest::operationsNotForMultidiskArchives()
{
    QCOMPARE(writeBackup(mixedContent(300000, 9)), int(Success));
    const QByteArray lastDisk = readFile(diskFile(disksUsed()));
    m_log->clear();
    m_engine->addFileToProcess(memberName(m_source));
    QCOMPARE(m_engine->deleteFiles(), int(NotForMultidisk));
    m_engine->addFileToProcess(m_source);
    QCOMPARE(m_engine->add(ArchiveEngine::UpdateFiles), int(NotForMultidisk));
    m_engine->addFileToProcess(m_source);
    QCOMPARE(m_engine->add(ArchiveEngine::AddFiles), int(NotForMultidisk));
    QCOMPARE(m_engine->updateArchiveDate(), int(NotForMultidisk));
    QCOMPARE(m_engine->fix(false), int(NotForMultidisk));
    QCOMPARE(readFile(diskFile(disksUsed())), lastDisk);
    QVERIFY(m_log->diskPrompts.isEmpty());
}

void ArchiveMultidiskTest::damagedSetsGiveCodesNotCrashes()
{
    writeFile(m_source, mixedContent(250000, 11));
    m_engine->addFileToProcess(m_source);
    const QString other = m_dir->filePath(QStringLiteral("app/other.txt"));
    writeFile(other, mixedContent(5000, 12));
    m_engine->addFileToProcess(other);
    QCOMPARE(m_engine->add(ArchiveEngine::AddFiles), int(Success));
    const int disks = disksUsed();
    QVector<QByteArray> sound;
    for (int disk = 1; disk <= disks; ++disk)
        sound << readFile(diskFile(disk));

    const QString folder = m_dir->filePath(QStringLiteral("split"));
    QVERIFY(QDir().mkpath(folder));
    auto segment = [&](int disk) {
        return folder + (disk == disks ? QStringLiteral("/set.zip")
                                       : QStringLiteral("/set.z%1").arg(disk, 2, 10, QLatin1Char('0')));
    };
    m_engine->setArchiveName(segment(disks));
    m_engine->setExtractFolder(m_dir->filePath(QStringLiteral("out")));
    m_log->onReplace = [](const QString&, ReplaceAnswer* answer) { *answer = ReplaceAnswer::Replace; };
    const QSet<int> known = {Success,       FilesSkipped, NotAZip,      Inconsistent,   TestFailed,
                             NothingTested, ReadError,    CannotAccess, ArchiveMissing, ArchiveEmpty};
    QRandomGenerator random(5);
    for (int round = 0; round < 60; ++round) {
        QVector<QByteArray> damaged = sound;
        const int disk = random.bounded(int(disks));
        QByteArray& bytes = damaged[disk];
        if (round % 5 == 0) {
            bytes.truncate(random.bounded(int(bytes.size())));
        } else {
            // Mostly near the end of the last disk, where the directory and the end record are.
            const int from = disk == disks - 1 && round % 2 ? qMax(0, int(bytes.size()) - 400) : 0;
            for (int k = 0; k < 1 + round % 3; ++k) {
                const int at = from + random.bounded(int(bytes.size()) - from);
                bytes[at] = char(random.bounded(256));
            }
        }
        for (int d = 1; d <= disks; ++d)
            writeFile(segment(d), damaged[d - 1]);
        QVERIFY(known.contains(m_engine->list()));
        QVERIFY(known.contains(m_engine->test()));
        m_engine->addFileToProcess(memberName(m_source));
        m_engine->addFileToProcess(memberName(other));
        const int extracted = m_engine->extract(0);
        QVERIFY2(known.contains(extracted), qPrintable(QString::number(extracted)));
    }
    QVERIFY(m_log->diskPrompts.size() == disks - 1); // from writing only: a set side by side never asks
}

QTEST_GUILESS_MAIN(ArchiveMultidiskTest)
#include "tst_archivemultidisk.moc"
