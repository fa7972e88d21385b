#include "archivetesting.h"

#include "platform/archive/archiveengine.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <zip.h>
#include <zlib.h>

using namespace tv::archive;
using namespace archivetesting;

class ArchiveEngineTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void addAtEachLevel_data();
    void addAtEachLevel();
    void addReplacesMemberAndSkipsMissingFiles();
    void addTakesFoldersWithTheirContents();
    void update_data();
    void update();
    void deleteMembers();
    void deleteEveryMemberLeavesEmptyArchive();
    void extractWithReplaceAnswer_data();
    void extractWithReplaceAnswer();
    void extractWithoutFolderRestoresInPlace_data();
    void extractWithoutFolderRestoresInPlace();
    void extractKeepsTimeAndPermissions();
    void testFindsFlippedByte_data();
    void testFindsFlippedByte();
    void fixNormalDropsBadMembers();
    void fixAggressiveRebuildsCutDirectory();
    void fixAggressiveFollowsDataDescriptors();
    void fixWithNothingToRecover();
    void fixAggressiveKeepsSurvivingPermissions();
    void encryptedMembersAreSkipped_data();
    void encryptedMembersAreSkipped();
    void updateArchiveDate();
    void abort_data();
    void abort();
    void keepResponsiveLetsQueuedAbortIn_data();
    void keepResponsiveLetsQueuedAbortIn();
    void operationDuringOperationIsBusy();
    void resultCodes_data();
    void resultCodes();
    void listingFields();
    void fileCount();
    void damagedArchivesGiveCodesNotCrashes();
    void interoperatesWithInfoZip();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    int addFiles(const QStringList& files, int mode = ArchiveEngine::AddFiles);
    QString extractedPath(const QString& folder, const QString& original) const
    {
        return folder + QFileInfo(original).absoluteFilePath();
    }
    QByteArray extractOne(const QString& original);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ArchiveEngine> m_engine;
    std::unique_ptr<EventLog> m_log;
    QString m_archive;
};

void ArchiveEngineTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_engine = std::make_unique<ArchiveEngine>();
    m_log = std::make_unique<EventLog>(m_engine.get());
    m_archive = path(QStringLiteral("test.zip"));
    m_engine->setArchiveName(m_archive);
}

void ArchiveEngineTest::cleanup()
{
    m_log.reset();
    m_engine.reset();
    m_dir.reset();
}

int ArchiveEngineTest::addFiles(const QStringList& files, int mode)
{
    for (const QString& f : files)
        m_engine->addFileToProcess(f);
    return m_engine->add(mode);
}

QByteArray ArchiveEngineTest::extractOne(const QString& original)
{
    const QString folder = path(QStringLiteral("out-%1").arg(QRandomGenerator::global()->generate()));
    m_engine->setExtractFolder(folder);
    m_engine->addFileToProcess(memberName(original));
    const int rc = m_engine->extract(0);
    if (rc != Success)
        return QByteArray("result ") + QByteArray::number(rc);
    return readFile(extractedPath(folder, original));
}

void ArchiveEngineTest::addAtEachLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("store") << 0;
    QTest::newRow("fastest") << 1;
    QTest::newRow("normal") << 6;
    QTest::newRow("best") << 9;
}

void ArchiveEngineTest::addAtEachLevel()
{
    QFETCH(int, level);
    const QString a = path(QStringLiteral("data/alpha.txt"));
    const QString b = path(QStringLiteral("data/beta.bin"));
    writeFile(a, mixedContent(40000, 1));
    writeFile(b, mixedContent(70000, 2));
    m_engine->setCompressionLevel(level);
    QCOMPARE(addFiles({a, b}), int(Success));
    QCOMPARE(m_engine->filesToProcess(), QString());
    QCOMPARE(m_log->eventsStartingWith("adding"),
             QStringList({"adding " + a + " 40000", "adding " + b + " 70000"}));
    QVERIFY(!m_log->percents.isEmpty());
    QCOMPARE(m_log->percents.last(), 100);

    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed, QStringList({memberName(a), memberName(b)}));
    QCOMPARE(m_log->listedSizes, QList<qint64>({40000, 70000}));
    if (level == 0)
        QVERIFY(m_log->listedPacked == m_log->listedSizes);
    else
        QVERIFY(m_log->listedPacked[0] < 40000);

    QCOMPARE(extractOne(b), readFile(b));
    QCOMPARE(m_engine->test(), int(Success));
}

void ArchiveEngineTest::addReplacesMemberAndSkipsMissingFiles()
{
    const QString a = path(QStringLiteral("a.txt"));
    writeFile(a, "first");
    QCOMPARE(addFiles({a}), int(Success));
    writeFile(a, "second version");
    const QString missing = path(QStringLiteral("missing.txt"));
    QCOMPARE(addFiles({a, missing}), int(FilesSkipped));
    QVERIFY(m_log->events.contains(QStringLiteral("skip %1 0").arg(missing)));
    QCOMPARE(extractOne(a), QByteArray("second version"));
    QCOMPARE(m_engine->fileCount(), 1);

    // Nothing but missing files: the archive is not touched.
    const QByteArray before = readFile(m_archive);
    QCOMPARE(addFiles({missing}), int(FilesSkipped));
    QCOMPARE(readFile(m_archive), before);
}

void ArchiveEngineTest::addTakesFoldersWithTheirContents()
{
    const QString folder = path(QStringLiteral("tree"));
    writeFile(folder + "/one.txt", "1");
    writeFile(folder + "/sub/two.txt", "22");
    QVERIFY(QDir().mkpath(folder + "/empty"));
    QCOMPARE(addFiles({folder}), int(Success));
    QCOMPARE(m_engine->list(), int(Success));
    QStringList names = m_log->listed;
    names.sort();
    const QString base = memberName(folder);
    QCOMPARE(names, QStringList({base + "\\", base + "\\empty\\", base + "\\one.txt", base + "\\sub\\",
                                 base + "\\sub\\two.txt"}));
}

void ArchiveEngineTest::update_data()
{
    QTest::addColumn<int>("offsetSeconds"); // of the file's new time against the time it was added with
    QTest::addColumn<bool>("inArchive");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("older file") << -3600 << true << int(FilesSkipped) << "skip" << false;
    QTest::newRow("within tolerance") << 1 << true << int(FilesSkipped) << "skip" << false;
    QTest::newRow("at tolerance") << 2 << true << int(FilesSkipped) << "skip" << false;
    QTest::newRow("newer by three seconds") << 3 << true << int(Success) << "updating" << true;
    QTest::newRow("newer file") << 3600 << true << int(Success) << "updating" << true;
    QTest::newRow("new file") << 0 << false << int(Success) << "adding" << true;
}

void ArchiveEngineTest::update()
{
    QFETCH(int, offsetSeconds);
    QFETCH(bool, inArchive);
    QFETCH(int, result);
    QFETCH(QString, event);
    QFETCH(bool, replaced);
    const QDateTime added = QDateTime::currentDateTime().addDays(-1).addSecs(-1);
    const QDateTime base = QDateTime::fromSecsSinceEpoch(added.toSecsSinceEpoch() / 2 * 2);
    const QString other = path(QStringLiteral("other.txt"));
    const QString file = path(QStringLiteral("file.txt"));
    writeFile(other, "other", base);
    writeFile(file, "old", base);
    QCOMPARE(addFiles(inArchive ? QStringList{other, file} : QStringList{other}), int(Success));
    const QByteArray before = readFile(m_archive);

    writeFile(file, "new contents", base.addSecs(offsetSeconds));
    m_log->clear();
    QCOMPARE(addFiles({file}, ArchiveEngine::UpdateFiles), result);
    QCOMPARE(m_log->events.size(), 1);
    QVERIFY2(m_log->events.first().startsWith(event), qPrintable(m_log->events.first()));
    if (event == QLatin1String("skip"))
        QCOMPARE(m_log->skipped, QList<int>({SkipUpToDate}));
    QCOMPARE(extractOne(file), replaced ? QByteArray("new contents") : QByteArray("old"));
    if (!replaced)
        QCOMPARE(readFile(m_archive), before);
    QCOMPARE(extractOne(other), QByteArray("other"));
}

void ArchiveEngineTest::deleteMembers()
{
    const QString a = path(QStringLiteral("a.txt"));
    const QString b = path(QStringLiteral("b.txt"));
    const QString c = path(QStringLiteral("c.txt"));
    writeFile(a, "a");
    writeFile(b, "b");
    writeFile(c, "c");
    QCOMPARE(addFiles({a, b, c}), int(Success));
    m_engine->addFileToProcess(memberName(b));
    QCOMPARE(m_engine->deleteFiles(), int(Success));
    QCOMPARE(m_log->eventsStartingWith("deleting"), QStringList({"deleting " + memberName(b)}));
    QCOMPARE(m_engine->filesToProcess(), QString());
    m_log->clear();
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed, QStringList({memberName(a), memberName(c)}));

    // A name that is not there is skipped; the rest still goes. Names match with '/' as well.
    m_engine->addFileToProcess(QStringLiteral("no\\such.txt"));
    m_engine->addFileToProcess(memberName(a).replace('\\', '/'));
    QCOMPARE(m_engine->deleteFiles(), int(FilesSkipped));
    QCOMPARE(m_log->skipped, QList<int>({SkipNotFound}));
    m_log->clear();
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed, QStringList({memberName(c)}));
    QCOMPARE(m_engine->test(), int(Success));
}

void ArchiveEngineTest::deleteEveryMemberLeavesEmptyArchive()
{
    const QString a = path(QStringLiteral("a.txt"));
    writeFile(a, "a");
    QCOMPARE(addFiles({a}), int(Success));
    m_engine->addFileToProcess(memberName(a));
    QCOMPARE(m_engine->deleteFiles(), int(Success));
    QVERIFY(QFileInfo::exists(m_archive));
    QCOMPARE(m_engine->list(), int(ArchiveEmpty));
    QCOMPARE(m_engine->fileCount(), 0);
    QCOMPARE(m_engine->updateArchiveDate(), int(NoDateToSet));
    // The empty archive takes new members again.
    QCOMPARE(addFiles({a}), int(Success));
    QCOMPARE(m_engine->fileCount(), 1);
}

void ArchiveEngineTest::extractWithReplaceAnswer_data()
{
    QTest::addColumn<int>("answer"); // ReplaceAnswer, or -1 for "sets the abort request"
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<bool>("secondWritten");
    QTest::newRow("yes") << int(ReplaceAnswer::Replace) << int(Success) << QByteArray("archived a") << true;
    QTest::newRow("no") << int(ReplaceAnswer::Skip) << int(SkippedByAnswer) << QByteArray("local a") << true;
    QTest::newRow("cancel") << int(ReplaceAnswer::Abort) << int(Aborted) << QByteArray("local a") << false;
    QTest::newRow("abort request") << -1 << int(Aborted) << QByteArray("local a") << false;
}

void ArchiveEngineTest::extractWithReplaceAnswer()
{
    QFETCH(int, answer);
    QFETCH(int, result);
    QFETCH(QByteArray, first);
    QFETCH(bool, secondWritten);
    const QString a = path(QStringLiteral("src/a.txt"));
    const QString b = path(QStringLiteral("src/b.txt"));
    writeFile(a, "archived a");
    writeFile(b, "archived b");
    QCOMPARE(addFiles({a, b}), int(Success));

    const QString folder = path(QStringLiteral("restore"));
    writeFile(extractedPath(folder, a), "local a");
    m_log->onReplace = [&](const QString&, ReplaceAnswer* reply) {
        if (answer < 0)
            m_engine->setAbortRequested(true);
        else
            *reply = ReplaceAnswer(answer);
    };
    // The abort request set by the question stops the extraction even without a temporary file.
    m_engine->setUseTempFile(false);
    m_engine->setExtractFolder(folder);
    m_engine->addFileToProcess(memberName(a));
    m_engine->addFileToProcess(memberName(b));
    QCOMPARE(m_engine->extract(0), result);
    QCOMPARE(m_log->replaceQuestions, QStringList({extractedPath(folder, a)}));
    QCOMPARE(readFile(extractedPath(folder, a)), first);
    QCOMPARE(QFileInfo::exists(extractedPath(folder, b)), secondWritten);
    // No temporary file is left behind.
    QCOMPARE(
        QDir(QFileInfo(extractedPath(folder, a)).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(),
        secondWritten ? 2 : 1);
}

void ArchiveEngineTest::extractWithoutFolderRestoresInPlace_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("plain folder") << false;
    QTest::newRow("folder reached through a link") << true;
}

void ArchiveEngineTest::extractWithoutFolderRestoresInPlace()
{
    QFETCH(bool, throughLink);
    QString folder = path(QStringLiteral("app"));
    QVERIFY(QDir().mkpath(folder));
    if (throughLink) {
        QVERIFY(QFile::link(folder, path(QStringLiteral("shortcut"))));
        folder = path(QStringLiteral("shortcut"));
    }
    const QString db = folder + QStringLiteral("/Pelkin.mdb");
    writeFile(db, mixedContent(30000, 7));
    const QByteArray original = readFile(db);
    QCOMPARE(addFiles({db}), int(Success));
    QVERIFY(QFile::remove(db));
    m_engine->setExtractFolder(QString());
    QCOMPARE(m_engine->list(), int(Success));
    m_engine->addFileToProcess(m_log->listed.first());
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(db), original);

    // Present now: the engine asks before replacing it.
    m_engine->addFileToProcess(m_log->listed.first());
    QCOMPARE(m_engine->extract(0), int(SkippedByAnswer));
    QCOMPARE(m_log->replaceQuestions, QStringList({QFileInfo(db).canonicalFilePath()}));
}

void ArchiveEngineTest::extractKeepsTimeAndPermissions()
{
    const QString script = path(QStringLiteral("bin/run.sh"));
    const QDateTime when(QDate(2003, 4, 5), QTime(6, 7, 8));
    writeFile(script, "#!/bin/sh\necho hi\n", when);
    QVERIFY(QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                              QFileDevice::WriteUser | QFileDevice::ExeUser));
    QCOMPARE(addFiles({script}), int(Success));
    const QString folder = path(QStringLiteral("x"));
    m_engine->setExtractFolder(folder);
    m_engine->addFileToProcess(memberName(script));
    QCOMPARE(m_engine->extract(0), int(Success));
    const QFileInfo out(extractedPath(folder, script));
    QVERIFY(out.permissions() & QFileDevice::ExeOwner);
    QVERIFY(!(out.permissions() & QFileDevice::ReadOther));
    QCOMPARE(out.lastModified(), when);
}

void ArchiveEngineTest::testFindsFlippedByte_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("stored") << 0;
    QTest::newRow("deflated") << 6;
}

void ArchiveEngineTest::testFindsFlippedByte()
{
    QFETCH(int, level);
    const QString good = path(QStringLiteral("good.txt"));
    const QString bad = path(QStringLiteral("bad.txt"));
    writeFile(good, mixedContent(5000, 3));
    writeFile(bad, mixedContent(20000, 4));
    m_engine->setCompressionLevel(level);
    QCOMPARE(addFiles({good, bad}), int(Success));
    QCOMPARE(m_engine->test(), int(Success));
    QCOMPARE(m_log->eventsStartingWith("testing").size(), 2);

    // Flip one byte in the middle of the second member's data.
    QByteArray bytes = readFile(m_archive);
    const qsizetype at = bytes.indexOf(QFileInfo(bad).fileName().toUtf8()) + 4000;
    bytes[at] = char(bytes[at] ^ 0x55);
    writeFile(m_archive, bytes);
    m_log->clear();
    QCOMPARE(m_engine->test(), int(TestFailed));
    QCOMPARE(m_log->skipped.size(), 1);
    QVERIFY(m_log->skipped.first() == SkipBadCrc || m_log->skipped.first() == SkipCorruptData);
    QVERIFY(m_log->events.contains(
        QStringLiteral("skip %1 %2").arg(memberName(bad)).arg(m_log->skipped.first())));

    // Extraction skips the bad member and writes nothing for it.
    const QString folder = path(QStringLiteral("out"));
    m_engine->setExtractFolder(folder);
    m_engine->addFileToProcess(memberName(good));
    m_engine->addFileToProcess(memberName(bad));
    QCOMPARE(m_engine->extract(0), int(FilesSkipped));
    QCOMPARE(readFile(extractedPath(folder, good)), readFile(good));
    QVERIFY(!QFileInfo::exists(extractedPath(folder, bad)));
}

void ArchiveEngineTest::fixNormalDropsBadMembers()
{
    const QString good = path(QStringLiteral("good.txt"));
    const QString bad = path(QStringLiteral("bad.txt"));
    writeFile(good, mixedContent(5000, 5));
    writeFile(bad, mixedContent(20000, 6));
    m_engine->setCompressionLevel(0);
    QCOMPARE(addFiles({good, bad}), int(Success));
    QCOMPARE(m_engine->fix(false), int(Success)); // a sound archive stays as it is
    QByteArray bytes = readFile(m_archive);
    const qsizetype at = bytes.indexOf(QFileInfo(bad).fileName().toUtf8()) + 100;
    bytes[at] = char(bytes[at] ^ 0x01);
    writeFile(m_archive, bytes);

    m_log->clear();
    QCOMPARE(m_engine->fix(false), int(Success));
    QCOMPARE(m_log->eventsStartingWith("fixing"),
             QStringList({"fixing " + memberName(good), "fixing " + memberName(bad)}));
    QCOMPARE(m_engine->test(), int(Success));
    m_log->clear();
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed, QStringList({memberName(good)}));
}

void ArchiveEngineTest::fixAggressiveRebuildsCutDirectory()
{
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        files << path(QStringLiteral("f%1.dat").arg(i));
        writeFile(files.last(), mixedContent(10000 + i * 7000, 10 + i));
    }
    QCOMPARE(addFiles(files), int(Success));
    // Cut the archive where its central directory starts.
    QByteArray bytes = readFile(m_archive);
    const qsizetype directory = bytes.indexOf(QByteArray("PK\x01\x02", 4));
    QVERIFY(directory > 0);
    writeFile(m_archive, bytes.left(directory));

    QCOMPARE(m_engine->list(), int(NotAZip));
    QCOMPARE(m_engine->fix(false), int(NotAZip));
    m_log->clear();
    QCOMPARE(m_engine->fix(true), int(Success));
    QCOMPARE(m_log->eventsStartingWith("fixing").size(), 4);
    QCOMPARE(m_engine->test(), int(Success));
    for (const QString& f : std::as_const(files))
        QCOMPARE(extractOne(f), readFile(f));
    m_log->clear();
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed.size(), 4);
    QCOMPARE(m_log->listed.first(), memberName(files.first()));
}

namespace {

// Raw deflate data of bytes, taken out of qCompress's zlib stream (4-byte size, 2-byte header, 4-byte sum).
QByteArray rawDeflate(const QByteArray& bytes)
{
    const QByteArray z = qCompress(bytes, 6);
    return z.mid(6, z.size() - 10);
}

void put16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xff)).append(char(v >> 8));
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, quint16(v & 0xffff));
    put16(out, quint16(v >> 16));
}

// A member written the streaming way: sizes and CRC follow the data in a descriptor (flag bit 3).
QByteArray streamedMember(const QByteArray& name, const QByteArray& content, bool deflate)
{
    const QByteArray data = deflate ? rawDeflate(content) : content;
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())));
    QByteArray out;
    put32(out, 0x04034b50);
    put16(out, 20);
    put16(out, 0x0008);
    put16(out, deflate ? 8 : 0);
    put16(out, 0x6000);
    put16(out, 0x5a21);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put16(out, quint16(name.size()));
    put16(out, 0);
    out += name + data;
    put32(out, 0x08074b50);
    put32(out, crc);
    put32(out, quint32(data.size()));
    put32(out, quint32(content.size()));
    return out;
}

} // namespace

void ArchiveEngineTest::fixAggressiveFollowsDataDescriptors()
{
    const QByteArray one = mixedContent(30000, 21);
    const QByteArray two = mixedContent(9000, 22);
    const QByteArray three = "short stored text";
    QByteArray archive = QByteArray("garbage before the first header ") +
                         streamedMember("dir/one.txt", one, true) + streamedMember("two.bin", two, false) +
                         QByteArray(100, '\0') + streamedMember("three.txt", three, true) +
                         QByteArray("PK\x05\x06 torn end", 13);
    writeFile(m_archive, archive);
    QCOMPARE(m_engine->list(), int(NotAZip));
    QCOMPARE(m_engine->fix(true), int(Success));
    QCOMPARE(m_log->eventsStartingWith("fixing"),
             QStringList({"fixing dir\\one.txt", "fixing two.bin", "fixing three.txt"}));
    QCOMPARE(m_engine->test(), int(Success));

    const QString folder = path(QStringLiteral("out"));
    m_engine->setExtractFolder(folder);
    m_engine->setFilesToProcess("dir\\one.txt\rtwo.bin\rthree.txt\r");
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(folder + "/dir/one.txt"), one);
    QCOMPARE(readFile(folder + "/two.bin"), two);
    QCOMPARE(readFile(folder + "/three.txt"), three);
}

void ArchiveEngineTest::fixWithNothingToRecover()
{
    writeFile(m_archive, "This is not an archive, and holds no PK\x03\x04 header worth the name.");
    const QByteArray before = readFile(m_archive);
    QCOMPARE(m_engine->fix(true), int(NotAZip));
    QCOMPARE(m_engine->fix(false), int(NotAZip));
    QCOMPARE(readFile(m_archive), before);
    m_engine->setArchiveName(path(QStringLiteral("absent.zip")));
    QCOMPARE(m_engine->fix(true), int(ArchiveMissing));
}

void ArchiveEngineTest::fixAggressiveKeepsSurvivingPermissions()
{
    const QString script = path(QStringLiteral("run.sh"));
    const QString other = path(QStringLiteral("z-other.txt"));
    writeFile(script, "#!/bin/sh\n");
    writeFile(other, mixedContent(5000, 71));
    QVERIFY(QFile::setPermissions(script,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QCOMPARE(addFiles({script, other}), int(Success));
    // Cut in the middle of the directory: the first record survives, the second and the end record do not.
    QByteArray bytes = readFile(m_archive);
    const qsizetype second = bytes.lastIndexOf(QByteArray("PK\x01\x02", 4));
    writeFile(m_archive, bytes.left(second + 10));
    QCOMPARE(m_engine->list(), int(NotAZip));
    QCOMPARE(m_engine->fix(true), int(Success));
    const QString folder = path(QStringLiteral("out"));
    m_engine->setExtractFolder(folder);
    m_engine->addFileToProcess(memberName(script));
    m_engine->addFileToProcess(memberName(other));
    QCOMPARE(m_engine->extract(0), int(Success));
    QVERIFY(QFileInfo(extractedPath(folder, script)).permissions() & QFileDevice::ExeOwner);
    QCOMPARE(readFile(extractedPath(folder, other)), readFile(other));
}

void ArchiveEngineTest::encryptedMembersAreSkipped_data()
{
    QTest::addColumn<bool>("withPlainMember");
    QTest::addColumn<int>("testResult");
    QTest::addColumn<int>("extractResult");
    QTest::newRow("only encrypted") << false << int(NothingTested) << int(FilesSkipped);
    QTest::newRow("encrypted and plain") << true << int(FilesSkipped) << int(FilesSkipped);
}

void ArchiveEngineTest::encryptedMembersAreSkipped()
{
    QFETCH(bool, withPlainMember);
    QFETCH(int, testResult);
    QFETCH(int, extractResult);
    if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1))
        QSKIP("libzip was built without encryption");
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(m_archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    const QByteArray secret = "secret contents";
    const zip_int64_t index = zip_file_add(
        archive, "secret.txt", zip_source_buffer(archive, secret.constData(), secret.size(), 0), 0);
    QVERIFY(index >= 0);
    QCOMPARE(zip_file_set_encryption(archive, zip_uint64_t(index), ZIP_EM_AES_256, "password"), 0);
    if (withPlainMember)
        QVERIFY(zip_file_add(archive, "plain.txt", zip_source_buffer(archive, "plain", 5, 0), 0) >= 0);
    QCOMPARE(zip_close(archive), 0);

    QCOMPARE(m_engine->test(), testResult);
    QVERIFY(m_log->events.contains(QStringLiteral("skip secret.txt %1").arg(SkipEncrypted)));
    m_engine->setExtractFolder(path(QStringLiteral("out")));
    m_engine->setFilesToProcess(QStringLiteral("secret.txt\rplain.txt\r"));
    m_log->clear();
    QCOMPARE(m_engine->extract(0), extractResult);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("out/secret.txt"))));
    QCOMPARE(QFileInfo::exists(path(QStringLiteral("out/plain.txt"))), withPlainMember);
    // Repairs keep what they cannot check.
    QCOMPARE(m_engine->fix(false), int(Success));
    QCOMPARE(m_engine->fix(true), int(Success));
    QCOMPARE(m_engine->fileCount(), withPlainMember ? 2 : 1);
}

void ArchiveEngineTest::updateArchiveDate()
{
    const QString older = path(QStringLiteral("older.txt"));
    const QString newer = path(QStringLiteral("newer.txt"));
    writeFile(older, "o", QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    writeFile(newer, "n", QDateTime(QDate(2010, 11, 12), QTime(13, 14, 16)));
    QCOMPARE(addFiles({newer, older}), int(Success));
    setModified(m_archive, QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    QCOMPARE(m_engine->updateArchiveDate(), int(Success));
    QCOMPARE(QFileInfo(m_archive).lastModified(), QDateTime(QDate(2010, 11, 12), QTime(13, 14, 16)));
}

void ArchiveEngineTest::abort_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("useTempFile");
    QTest::addColumn<int>("result");
    QTest::newRow("add, temp file") << "add" << true << int(Aborted);
    QTest::newRow("add, no temp file") << "add" << false << int(Success);
    QTest::newRow("update, temp file") << "update" << true << int(Aborted);
    QTest::newRow("delete, temp file") << "delete" << true << int(Aborted);
    QTest::newRow("delete, no temp file") << "delete" << false << int(Success);
    QTest::newRow("fix, temp file") << "fix" << true << int(Aborted);
    QTest::newRow("test, temp file") << "test" << true << int(Aborted);
}

void ArchiveEngineTest::abort()
{
    QFETCH(QString, operation);
    QFETCH(bool, useTempFile);
    QFETCH(int, result);
    const QString first = path(QStringLiteral("first.dat"));
    const QString big = path(QStringLiteral("big.dat"));
    writeFile(first, mixedContent(300000, 31));
    writeFile(big, mixedContent(3000000, 32), QDateTime::currentDateTime().addDays(-2));
    QCOMPARE(addFiles({first, big}), int(Success));
    writeFile(big, mixedContent(3000000, 33));
    const QByteArray before = readFile(m_archive);

    m_engine->setUseTempFile(useTempFile);
    auto requestAbort = [this] { m_engine->setAbortRequested(true); };
    connect(m_engine.get(), &ArchiveEngine::adding, this, requestAbort);
    connect(m_engine.get(), &ArchiveEngine::updating, this, requestAbort);
    connect(m_engine.get(), &ArchiveEngine::deleting, this, requestAbort);
    connect(m_engine.get(), &ArchiveEngine::fixing, this, requestAbort);
    connect(m_engine.get(), &ArchiveEngine::testing, this, requestAbort);
    int rc = -1;
    if (operation == QLatin1String("add")) {
        rc = addFiles({big});
    } else if (operation == QLatin1String("update")) {
        rc = addFiles({big}, ArchiveEngine::UpdateFiles);
    } else if (operation == QLatin1String("delete")) {
        m_engine->addFileToProcess(memberName(first));
        rc = m_engine->deleteFiles();
    } else if (operation == QLatin1String("fix")) {
        rc = m_engine->fix(false);
    } else {
        rc = m_engine->test();
    }
    QCOMPARE(rc, result);
    QVERIFY(!m_engine->abortRequested());
    if (rc == Aborted)
        QCOMPARE(readFile(m_archive), before);
    else if (operation != QLatin1String("test") && operation != QLatin1String("fix"))
        QVERIFY(readFile(m_archive) != before);
    // No temporary file is left beside the archive.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"big.dat", "first.dat", "test.zip"}));
}

void ArchiveEngineTest::keepResponsiveLetsQueuedAbortIn_data()
{
    QTest::addColumn<bool>("keepResponsive");
    QTest::addColumn<int>("result");
    QTest::newRow("responsive") << true << int(Aborted);
    QTest::newRow("not responsive") << false << int(Success);
}

void ArchiveEngineTest::keepResponsiveLetsQueuedAbortIn()
{
    QFETCH(bool, keepResponsive);
    QFETCH(int, result);
    const QString big = path(QStringLiteral("big.dat"));
    writeFile(big, mixedContent(2000000, 41));
    m_engine->setKeepResponsive(keepResponsive);
    bool clicked = false;
    // Stands for the Abort button: an event waiting in the queue while the operation runs.
    QTimer::singleShot(0, this, [&] {
        clicked = true;
        m_engine->setAbortRequested(true);
    });
    QCOMPARE(addFiles({big}), result);
    QCOMPARE(clicked, keepResponsive);
    QCOMPARE(QFileInfo::exists(m_archive), result == Success);
    QCoreApplication::processEvents();
}

void ArchiveEngineTest::operationDuringOperationIsBusy()
{
    const QString a = path(QStringLiteral("a.txt"));
    writeFile(a, "a");
    int inner = -1;
    connect(m_engine.get(), &ArchiveEngine::adding, this, [&] { inner = m_engine->list(); });
    QCOMPARE(addFiles({a}), int(Success));
    QCOMPARE(inner, int(Busy));
    QVERIFY(!m_engine->isBusy());
}

void ArchiveEngineTest::resultCodes_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("result");
    QTest::newRow("list missing archive") << "list missing" << int(ArchiveMissing);
    QTest::newRow("test missing archive") << "test missing" << int(ArchiveMissing);
    QTest::newRow("list text file") << "list text" << int(NotAZip);
    QTest::newRow("add into missing folder") << "add missing folder" << int(CreateError);
    QTest::newRow("add nothing") << "add nothing" << int(NothingToDo);
    QTest::newRow("delete nothing") << "delete nothing" << int(NothingToDo);
    QTest::newRow("extract nothing") << "extract nothing" << int(NothingToDo);
    QTest::newRow("add mode 1") << "add mode 1" << int(InvalidSettings);
    QTest::newRow("extract mode 1") << "extract mode 1" << int(InvalidSettings);
    QTest::newRow("level 10") << "level 10" << int(InvalidSettings);
    QTest::newRow("extract folder blocked by a file") << "extract blocked" << int(CreateFolder);
    QTest::newRow("extract member not there") << "extract unknown" << int(FilesSkipped);
}

void ArchiveEngineTest::resultCodes()
{
    QFETCH(QString, situation);
    QFETCH(int, result);
    const QString a = path(QStringLiteral("a.txt"));
    writeFile(a, "a");
    if (!situation.endsWith(QLatin1String("missing")))
        QCOMPARE(addFiles({a}), int(Success));
    int rc = -1;
    if (situation.endsWith(QLatin1String("missing"))) {
        rc = situation.startsWith(QLatin1String("list")) ? m_engine->list() : m_engine->test();
    } else if (situation == QLatin1String("list text")) {
        writeFile(m_archive, "plain text, no archive");
        rc = m_engine->list();
    } else if (situation == QLatin1String("add missing folder")) {
        m_engine->setArchiveName(path(QStringLiteral("no/such/folder/x.zip")));
        rc = addFiles({a});
    } else if (situation == QLatin1String("add nothing")) {
        rc = m_engine->add(0);
    } else if (situation == QLatin1String("delete nothing")) {
        rc = m_engine->deleteFiles();
    } else if (situation == QLatin1String("extract nothing")) {
        rc = m_engine->extract(0);
    } else if (situation == QLatin1String("add mode 1")) {
        rc = addFiles({a}, 1);
    } else if (situation == QLatin1String("extract mode 1")) {
        m_engine->addFileToProcess(memberName(a));
        rc = m_engine->extract(1);
    } else if (situation == QLatin1String("level 10")) {
        m_engine->setCompressionLevel(10);
        rc = addFiles({a});
    } else if (situation == QLatin1String("extract blocked")) {
        writeFile(path(QStringLiteral("blocker")), "file");
        m_engine->setExtractFolder(path(QStringLiteral("blocker/sub")));
        m_engine->addFileToProcess(memberName(a));
        rc = m_engine->extract(0);
    } else if (situation == QLatin1String("extract unknown")) {
        m_engine->setExtractFolder(path(QStringLiteral("out")));
        m_engine->addFileToProcess(QStringLiteral("not\\there.txt"));
        rc = m_engine->extract(0);
        QCOMPARE(m_log->skipped, QList<int>({SkipNotFound}));
    }
    QCOMPARE(rc, result);
    QCOMPARE(m_engine->filesToProcess(), QString());
}

void ArchiveEngineTest::listingFields()
{
    const QString text = path(QStringLiteral("docs/report.txt"));
    writeFile(text, QByteArray(10000, 'x'), QDateTime(QDate(2004, 7, 9), QTime(17, 45, 30)));
    const QString empty = path(QStringLiteral("docs/empty.txt"));
    writeFile(empty, QByteArray(), QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58)));
    QCOMPARE(addFiles({text, empty}), int(Success));
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed, QStringList({memberName(text), memberName(empty)}));
    QCOMPARE(m_log->listedDates, QStringList({"07/09/04 17:45", "12/31/99 23:59"}));
    QCOMPARE(m_log->listedSizes, QList<qint64>({10000, 0}));
    QVERIFY(m_log->listedRatios[0] >= 98);
    QCOMPARE(m_log->listedRatios[1], 0);
}

void ArchiveEngineTest::fileCount()
{
    QCOMPARE(m_engine->fileCount(), 0);
    QStringList files;
    for (int i = 0; i < 5; ++i) {
        files << path(QStringLiteral("n%1").arg(i));
        writeFile(files.last(), QByteArray::number(i));
    }
    QCOMPARE(addFiles(files), int(Success));
    QCOMPARE(m_engine->fileCount(), 5);
}

void ArchiveEngineTest::damagedArchivesGiveCodesNotCrashes()
{
    QStringList files;
    for (int i = 0; i < 3; ++i) {
        files << path(QStringLiteral("d%1.txt").arg(i));
        writeFile(files.last(), mixedContent(3000 + 2500 * i, 50 + i));
    }
    QCOMPARE(addFiles(files), int(Success));
    const QByteArray sound = readFile(m_archive);
    const QSet<int> known = {Success,          FilesSkipped,    ArchiveEmpty, NotAZip,        Inconsistent,
                             TestFailed,       NothingTested,   ReadError,    CannotAccess,   ArchiveMissing,
                             MultidiskArchive, SkippedByAnswer, OutOfMemory,  UnexpectedError};
    QRandomGenerator random(99);
    QVector<QByteArray> variants;
    for (qsizetype cut : {qsizetype(0), qsizetype(10), qsizetype(40), sound.size() / 2, sound.size() - 30,
                          sound.size() - 22, sound.size() - 1})
        variants << sound.left(cut);
    for (int i = 0; i < 40; ++i) {
        QByteArray damaged = sound;
        for (int k = 0; k < 1 + i % 4; ++k) {
            const qsizetype at = random.bounded(int(sound.size()));
            damaged[at] = char(random.bounded(256));
        }
        variants << damaged;
    }
    // Lies in the end record: huge counts and offsets.
    QByteArray lying = sound;
    const qsizetype end = lying.lastIndexOf(QByteArray("PK\x05\x06", 4));
    for (int k = 8; k < 20; ++k)
        lying[end + k] = char(0xff);
    variants << lying;

    for (const QByteArray& variant : std::as_const(variants)) {
        writeFile(m_archive, variant);
        QVERIFY(known.contains(m_engine->list()));
        QVERIFY(known.contains(m_engine->test()));
        m_engine->setExtractFolder(path(QStringLiteral("out")));
        for (const QString& f : std::as_const(files))
            m_engine->addFileToProcess(memberName(f));
        QVERIFY(known.contains(m_engine->extract(0)));
        QVERIFY(known.contains(m_engine->fix(false)));
        writeFile(m_archive, variant);
        QVERIFY(known.contains(m_engine->fix(true)));
        m_engine->setMultidiskMode(true);
        QVERIFY(known.contains(m_engine->list()));
        m_engine->setMultidiskMode(false);
    }
}

void ArchiveEngineTest::interoperatesWithInfoZip()
{
    const QString zip = QStandardPaths::findExecutable(QStringLiteral("zip"));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (zip.isEmpty() || unzip.isEmpty())
        QSKIP("zip and unzip are not installed");
    const QString a = path(QStringLiteral("in/a.txt"));
    const QString b = path(QStringLiteral("in/sub/b.bin"));
    writeFile(a, mixedContent(50000, 61));
    writeFile(b, mixedContent(80000, 62));

    // Ours, read by unzip.
    QCOMPARE(addFiles({a, b}), int(Success));
    QProcess check;
    check.start(unzip, {QStringLiteral("-tq"), m_archive});
    QVERIFY(check.waitForFinished(60000));
    QCOMPARE(check.exitCode(), 0);

    // Theirs, with relative names, and a member from a pipe (sizes in a data descriptor), read by us.
    const QString theirs = path(QStringLiteral("theirs.zip"));
    QProcess make;
    make.setWorkingDirectory(path(QStringLiteral("in")));
    make.start(zip, {QStringLiteral("-qr"), theirs, QStringLiteral("a.txt"), QStringLiteral("sub")});
    QVERIFY(make.waitForFinished(60000));
    QCOMPARE(make.exitCode(), 0);
    const QByteArray piped = mixedContent(20000, 63);
    QProcess stream;
    stream.start(zip, {QStringLiteral("-q"), theirs, QStringLiteral("-")});
    QVERIFY(stream.waitForStarted());
    stream.write(piped);
    stream.closeWriteChannel();
    QVERIFY(stream.waitForFinished(60000));
    QCOMPARE(stream.exitCode(), 0);
    m_engine->setArchiveName(theirs);
    QCOMPARE(m_engine->test(), int(Success));
    QCOMPARE(m_engine->list(), int(Success));
    QVERIFY(m_log->listed.contains(QStringLiteral("sub\\b.bin")));
    m_engine->setExtractFolder(path(QStringLiteral("out")));
    m_engine->setFilesToProcess(QStringLiteral("a.txt\rsub\\b.bin\r-\r"));
    QCOMPARE(m_engine->extract(0), int(Success));
    QCOMPARE(readFile(path(QStringLiteral("out/sub/b.bin"))), readFile(b));
    QCOMPARE(readFile(path(QStringLiteral("out/-"))), piped);
}

QTEST_GUILESS_MAIN(ArchiveEngineTest)
#include "tst_archiveengine.moc"
