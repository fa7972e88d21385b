#include "archivetesting.h"

#include "platform/archive/archiveengine.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <zip.h>

using namespace tv::archive;
using namespace archivetesting;

namespace {

struct Member
{
    QByteArray name;
    QByteArray content;
    bool symbolicLink = false;
};

// An archive with exactly these member names, as a hostile tool could write it.
void makeArchive(const QString& path, const QVector<Member>& members)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    for (const Member& m : members) {
        zip_source_t* source =
            zip_source_buffer(archive, m.content.constData(), zip_uint64_t(m.content.size()), 0);
        QVERIFY(source);
        const zip_int64_t index = zip_file_add(archive, m.name.constData(), source, ZIP_FL_ENC_RAW);
        QVERIFY2(index >= 0, zip_strerror(archive));
        const zip_uint32_t mode = m.symbolicLink ? (S_IFLNK | 0777) : (S_IFREG | 0644);
        zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX, mode << 16);
    }
    QVERIFY2(zip_close(archive) == 0, zip_strerror(archive));
}

QStringList filesBelow(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

} // namespace

class ArchiveSecurityTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hostileNamesAreSkipped_data();
    void hostileNamesAreSkipped();
    void linkMemberIsNeverFollowed();
    void existingLinkInExtractFolderIsNotFollowed();
    void existingLinkAtTargetIsReplacedNotWrittenThrough();
    void emptyExtractFolderStillRefusesClimbing();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    int extract(const QStringList& names, const QString& folder);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ArchiveEngine> m_engine;
    std::unique_ptr<EventLog> m_log;
    QString m_archive;
    QString m_out;
};

void ArchiveSecurityTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_engine = std::make_unique<ArchiveEngine>();
    m_log = std::make_unique<EventLog>(m_engine.get());
    m_archive = path(QStringLiteral("hostile.zip"));
    m_engine->setArchiveName(m_archive);
    // The extract folder sits two levels down, so that climbing out of it has somewhere to land.
    m_out = path(QStringLiteral("deep/down/out"));
}

void ArchiveSecurityTest::cleanup()
{
    m_log.reset();
    m_engine.reset();
    m_dir.reset();
}

int ArchiveSecurityTest::extract(const QStringList& names, const QString& folder)
{
    m_engine->setExtractFolder(folder);
    for (const QString& n : names)
        m_engine->addFileToProcess(n);
    return m_engine->extract(0);
}

void ArchiveSecurityTest::hostileNamesAreSkipped_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("parent") << QByteArray("../evil.txt");
    QTest::newRow("parent deeper") << QByteArray("a/../../evil.txt");
    QTest::newRow("parent twice") << QByteArray("../../evil.txt");
    QTest::newRow("parent with backslashes") << QByteArray("..\\..\\evil.txt");
    QTest::newRow("absolute") << QByteArray("/tmp/evil.txt");
    QTest::newRow("absolute with backslash") << QByteArray("\\evil.txt");
    QTest::newRow("drive letter") << QByteArray("C:\\evil.txt");
    QTest::newRow("drive letter, relative") << QByteArray("C:evil.txt");
    QTest::newRow("parent at the end") << QByteArray("a/..");
}

void ArchiveSecurityTest::hostileNamesAreSkipped()
{
    QFETCH(QByteArray, name);
    makeArchive(m_archive, {{"fine/ok.txt", "ok"}, {name, "evil"}});
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(m_log->listed.size(), 2);
    const QString shown = m_log->listed[1];

    QCOMPARE(extract({QStringLiteral("fine\\ok.txt"), shown}, m_out), int(FilesSkipped));
    QCOMPARE(m_log->eventsStartingWith("skip"),
             QStringList({QStringLiteral("skip %1 %2").arg(shown).arg(SkipCannotOpen)}));
    QCOMPARE(readFile(m_out + "/fine/ok.txt"), QByteArray("ok"));
    // Nothing anywhere in the test folder but the archive, the extract folder and the one good file.
    QCOMPARE(filesBelow(m_dir->path()),
             QStringList({"deep", "deep/down", "deep/down/out", "deep/down/out/fine",
                          "deep/down/out/fine/ok.txt", "hostile.zip"}));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/evil.txt")));
}

void ArchiveSecurityTest::linkMemberIsNeverFollowed()
{
    const QString outside = path(QStringLiteral("outside"));
    QVERIFY(QDir().mkpath(outside));
    // A link member pointing out of the folder, then a file "through" it.
    makeArchive(m_archive,
                {{"link", outside.toUtf8(), true}, {"link/planted.txt", "evil"}, {"plain.txt", "p"}});
    QCOMPARE(
        extract({QStringLiteral("link"), QStringLiteral("link\\planted.txt"), QStringLiteral("plain.txt")},
                m_out),
        int(FilesSkipped));
    QCOMPARE(m_log->eventsStartingWith("skip"),
             QStringList({QStringLiteral("skip link %1").arg(SkipCannotOpen)}));
    QVERIFY(!QFileInfo(m_out + "/link").isSymLink());
    QVERIFY(QDir(outside).isEmpty());
    // The later file went into an ordinary folder of that name, inside the extract folder.
    QCOMPARE(readFile(m_out + "/link/planted.txt"), QByteArray("evil"));
    QCOMPARE(readFile(m_out + "/plain.txt"), QByteArray("p"));
}

void ArchiveSecurityTest::existingLinkInExtractFolderIsNotFollowed()
{
    const QString outside = path(QStringLiteral("outside"));
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(QDir().mkpath(m_out));
    QVERIFY(QFile::link(outside, m_out + "/sub"));
    makeArchive(m_archive, {{"sub/planted.txt", "evil"}});
    QCOMPARE(extract({QStringLiteral("sub\\planted.txt")}, m_out), int(FilesSkipped));
    QCOMPARE(m_log->skipped, QList<int>({SkipCannotOpen}));
    QVERIFY(QDir(outside).isEmpty());
}

void ArchiveSecurityTest::existingLinkAtTargetIsReplacedNotWrittenThrough()
{
    const QString victim = path(QStringLiteral("victim.txt"));
    writeFile(victim, "precious");
    QVERIFY(QDir().mkpath(m_out));
    QVERIFY(QFile::link(victim, m_out + "/t.txt"));
    makeArchive(m_archive, {{"t.txt", "from archive"}});
    m_log->onReplace = [](const QString&, ReplaceAnswer* answer) { *answer = ReplaceAnswer::Replace; };
    QCOMPARE(extract({QStringLiteral("t.txt")}, m_out), int(Success));
    QCOMPARE(m_log->replaceQuestions.size(), 1);
    QCOMPARE(readFile(victim), QByteArray("precious"));
    QVERIFY(!QFileInfo(m_out + "/t.txt").isSymLink());
    QCOMPARE(readFile(m_out + "/t.txt"), QByteArray("from archive"));
}

void ArchiveSecurityTest::emptyExtractFolderStillRefusesClimbing()
{
    makeArchive(m_archive,
                {{"../../../../../../../../tmp/evil-from-archive.txt", "evil"}, {"/tmp/evil-abs.txt", "x"}});
    QCOMPARE(m_engine->list(), int(Success));
    QCOMPARE(extract(m_log->listed, QString()), int(FilesSkipped));
    QCOMPARE(m_log->skipped, QList<int>({SkipCannotOpen, SkipCannotOpen}));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/evil-from-archive.txt")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/evil-abs.txt")));
}

QTEST_GUILESS_MAIN(ArchiveSecurityTest)
#include "tst_archivesecurity.moc"
