// Compaction of the database file: in place, refused while other windows hold the file, safe when
// interrupted.
#include "database/connection.h"
#include "platform/binding.h"
#include "settings/yourinformation.h"
#include "shell/application.h"
#include "shell/compaction.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

using namespace tv;
using namespace tv::test;
using compaction::Stage;

namespace {

// A window other than the main window holding the file open through a binding, as the job sheet does.
class HolderWindow : public Form
{
public:
    explicit HolderWindow(const QString& caption)
    {
        setWindowTitle(caption);
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

class SecondHolder : public HolderWindow
{
public:
    SecondHolder() : HolderWindow(QStringLiteral("Pick List")) {}
};

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

class CompactionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;

    QString inFolder(const QString& name) const { return QDir(m_folder->path()).filePath(name); }

    // Every table with every row and its row id, in stored order: what must survive compaction unchanged.
    QStringList contents() const
    {
        QStringList lines;
        const auto tables = m_folder->rows(
            "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name COLLATE NOCASE");
        for (const auto& table : tables) {
            const QString name = table.first().toString();
            const auto rows =
                m_folder->rows(QStringLiteral("SELECT rowid, * FROM [%1] ORDER BY rowid").arg(name));
            lines.append(QStringLiteral("%1: %2 rows").arg(name).arg(rows.size()));
            for (const auto& row : rows) {
                QStringList values;
                for (const QVariant& v : row)
                    values.append(v.isNull() ? QStringLiteral("<null>") : v.toString());
                lines.append(name + u'|' + values.join(u'|'));
            }
        }
        lines.append(QStringLiteral("schema ") + m_folder->scalar("PRAGMA user_version").toString());
        for (const auto& row :
             m_folder->rows("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"))
            lines.append(row.at(0).toString() + u' ' + row.at(1).toString() + u' ' + row.at(2).toString());
        return lines;
    }

    // Lines written and deleted, so that the file holds free space to give back.
    void grow()
    {
        m_folder->exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                       "INSERT INTO [Job Items] ([Recordno], [Item Name], [Item Notes]) "
                       "SELECT 900 + i % 7, 'Filler ' || i, printf('%.*c', 900, 'n') FROM n");
        m_folder->exec("DELETE FROM [Job Items] WHERE [Recordno] <> 903");
        m_folder->exec("PRAGMA wal_checkpoint(TRUNCATE)");
    }

    void verifySound(const QString& path) const
    {
        QString error;
        const auto connection = db::openConnection(path, QStringLiteral("Check"), &error);
        QVERIFY2(connection, qPrintable(error));
        QSqlQuery q(connection->database());
        QVERIFY(q.exec("PRAGMA integrity_check") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
        QVERIFY(q.exec("PRAGMA journal_mode") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
    }

    void verifyNoLeftovers() const
    {
        for (const char* name : {"ABC.MDB", "ABC.MDB-wal", "ABC.MDB-shm", "ABC.MDB-journal", "ABC.ldb"})
            QVERIFY2(!QFileInfo::exists(inFolder(QString::fromLatin1(name))), name);
    }

private slots:
    void init();
    void cleanup();

    void compactsInPlaceWithNoOtherWindow();
    void jobNumbersAreNotReusedAfterCompaction();
    void refusedWhileAnotherWindowHoldsTheFile_data();
    void refusedWhileAnotherWindowHoldsTheFile();
    void leftoverOfAnEarlierRunIsRemovedFirst_data();
    void leftoverOfAnEarlierRunIsRemovedFirst();
    void failureIsReportedAndTheFileKept_data();
    void failureIsReportedAndTheFileKept();
    void interruptedAtAnyStageLeavesAValidFile_data();
    void interruptedAtAnyStageLeavesAValidFile();
    void changesLeftInTheLogByACrashAreKept();
};

void CompactionTest::init()
{
    m_folder = std::make_unique<AppFolder>();
    m_ui = std::make_unique<ScriptedInteractive>();
}

void CompactionTest::cleanup()
{
    compaction::setStageHook(nullptr);
    Forms::forceUnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    closeLeftoverWindows();
    m_ui.reset();
    m_folder.reset();
}

void CompactionTest::compactsInPlaceWithNoOtherWindow()
{
    grow();
    const QStringList before = contents();
    const qint64 sizeBefore = QFileInfo(m_folder->databasePath()).size();
    MainMenu* main = mainMenu();
    QVERIFY(main->logoBinding()->isOpen());

    QList<Stage> stages;
    compaction::setStageHook([&](compaction::Stage s) { stages.append(s); });
    main->entry("MnuFileCompress")->trigger();

    QCOMPARE(m_ui->messages().size(), 1);
    const Asked message = m_ui->lastMessage();
    QCOMPARE(message.text, QStringLiteral("Your database has been successfully compressed"));
    QCOMPARE(message.style, 0);
    QCOMPARE(message.title, QString()); // the application's title
    QCOMPARE(m_ui->pointerHistory.first(), Pointer::Hourglass);
    QCOMPARE(m_ui->pointerHistory.last(), Pointer::Default);

    QVERIFY(QFileInfo(m_folder->databasePath()).size() < sizeBefore / 2);
    verifySound(m_folder->databasePath());
    QCOMPARE(contents(), before);
    verifyNoLeftovers();
    QCOMPARE(stages, (QList<Stage>{Stage::LeftoversRemoved, Stage::CopyWritten, Stage::CopyChecked,
                                   Stage::Replaced, Stage::Finished}));
    // The main window's binding stays closed for the rest of the run.
    QVERIFY(!main->logoBinding()->isOpen());
    QVERIFY(db::openConnectionOwners(m_folder->databasePath()).isEmpty());
}

void CompactionTest::jobNumbersAreNotReusedAfterCompaction()
{
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Highest job')");
    const qint64 highest = m_folder->scalar("SELECT max([AutoNumber]) FROM [Job Information]").toLongLong();
    m_folder->exec("DELETE FROM [Job Information] WHERE [Job Name] = 'Highest job'");
    QString error;
    QVERIFY2(compaction::compactDatabase(m_folder->databasePath(), &error), qPrintable(error));
    m_folder->exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('Next job')");
    QVERIFY(m_folder->scalar("SELECT [AutoNumber] FROM [Job Information] WHERE [Job Name] = 'Next job'")
                .toLongLong() > highest);
}

void CompactionTest::refusedWhileAnotherWindowHoldsTheFile_data()
{
    QTest::addColumn<QStringList>("windows");
    QTest::newRow("job sheet") << QStringList{"Job Information"};
    QTest::newRow("your information") << QStringList{"Your Information Worksheet"};
    QTest::newRow("two windows") << QStringList{"Job Information", "Pick List"};
}

void CompactionTest::refusedWhileAnotherWindowHoldsTheFile()
{
    QFETCH(QStringList, windows);
    grow();
    MainMenu* main = mainMenu();
    for (const QString& caption : windows) {
        if (caption == u"Your Information Worksheet")
            Forms::load<YourInformation>()->showModeless();
        else if (caption == u"Pick List")
            Forms::load<SecondHolder>()->showModeless();
        else
            Forms::load<HolderWindow>(caption)->showModeless();
    }
    const QStringList before = contents();
    const QByteArray hash = fileHash(m_folder->databasePath());

    main->MnuFileCompress_Click();

    QCOMPARE(m_ui->messages().size(), 1);
    const Asked message = m_ui->lastMessage();
    for (const QString& caption : windows)
        QVERIFY2(message.text.contains(u'\n' + caption), qPrintable(message.text));
    QVERIFY(!message.text.contains(QStringLiteral("Tarvenor.Data1")));
    QVERIFY(!message.text.contains(QStringLiteral("successfully")));
    QCOMPARE(message.style & 112, int(vbExclamation));
    QCOMPARE(m_ui->pointerHistory.last(), Pointer::Default);
    QCOMPARE(fileHash(m_folder->databasePath()), hash);
    QCOMPARE(contents(), before);
    verifyNoLeftovers();
    // Nothing was done, so the main window keeps its binding.
    QVERIFY(main->logoBinding()->isOpen());

    // With the windows closed the same entry compacts.
    for (Form* form : Forms::all())
        if (form != main)
            form->unload();
    m_ui->asked.clear();
    main->MnuFileCompress_Click();
    QCOMPARE(m_ui->lastMessage().text, QStringLiteral("Your database has been successfully compressed"));
    QCOMPARE(contents(), before);
}

void CompactionTest::leftoverOfAnEarlierRunIsRemovedFirst_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("content"); // empty with a name "crash": a database left by a dying run
    QTest::newRow("empty copy") << QStringList{"ABC.MDB"} << QByteArray();
    QTest::newRow("half written copy")
        << QStringList{"ABC.MDB"} << QByteArray("SQLite format 3\0garbage", 23);
    QTest::newRow("garbage logs") << QStringList{"ABC.MDB", "ABC.MDB-wal", "ABC.MDB-shm"}
                                  << QByteArray(4096, 'w');
    QTest::newRow("copy with a live log of its own") << QStringList{"crash"} << QByteArray();
    QTest::newRow("lock file") << QStringList{"ABC.ldb"} << QByteArray("lock");
}

void CompactionTest::leftoverOfAnEarlierRunIsRemovedFirst()
{
    QFETCH(QStringList, names);
    QFETCH(QByteArray, content);
    if (names == QStringList{"crash"}) {
        // A database under the copy's name whose pages sit in its log: were the log kept, it would be
        // replayed into the new copy.
        const QString copy = inFolder("ABC.MDB");
        QVERIFY(QFile::copy(m_folder->databasePath(), copy));
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const auto connection = db::openConnection(copy, QStringLiteral("Crashing"));
            QSqlQuery q(connection->database());
            const bool ok = q.exec("PRAGMA wal_autocheckpoint = 0") &&
                            q.exec("DELETE FROM [Job Information]") && q.exec("DROP TABLE [Job Items]") &&
                            q.exec("VACUUM");
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(QFileInfo(copy + "-wal").size() > 0);
    }
    for (const QString& name : names) {
        if (name == u"crash")
            continue;
        QFile file(inFolder(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QStringList before = contents();
    QString error;
    QVERIFY2(compaction::compactDatabase(m_folder->databasePath(), &error), qPrintable(error));
    verifySound(m_folder->databasePath());
    QCOMPARE(contents(), before);
    verifyNoLeftovers();
}

void CompactionTest::failureIsReportedAndTheFileKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("leftover cannot be removed") << "leftover folder"
                                                << "ABC.MDB";
    QTest::newRow("no database file") << "missing"
                                      << "does not exist";
    QTest::newRow("not a database") << "garbage"
                                    << "Pelkin.mdb";
}

void CompactionTest::failureIsReportedAndTheFileKept()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    MainMenu* main = mainMenu();
    const QString path = m_folder->databasePath();
    if (kind == u"leftover folder") {
        QVERIFY(QDir(m_folder->path()).mkpath("ABC.MDB/inside"));
    } else if (kind == u"missing") {
        main->logoBinding()->close(false);
        QVERIFY(QFile::remove(path));
    } else {
        main->logoBinding()->close(false);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, 'x'));
    }
    const QByteArray hash = fileHash(path);

    main->MnuFileCompress_Click();

    QCOMPARE(m_ui->messages().size(), 1);
    const Asked message = m_ui->lastMessage();
    QVERIFY(!message.text.contains(QStringLiteral("successfully")));
    QVERIFY2(message.text.contains(said), qPrintable(message.text));
    QCOMPARE(message.style & 112, int(vbCritical));
    QCOMPARE(m_ui->pointerHistory.first(), Pointer::Hourglass);
    QCOMPARE(m_ui->pointerHistory.last(), Pointer::Default);
    QCOMPARE(fileHash(path), hash);
    QVERIFY(!QFileInfo(inFolder("ABC.MDB")).isFile());
}

void CompactionTest::interruptedAtAnyStageLeavesAValidFile_data()
{
    QTest::addColumn<int>("stage");
    QTest::newRow("leftovers removed") << int(Stage::LeftoversRemoved);
    QTest::newRow("copy written") << int(Stage::CopyWritten);
    QTest::newRow("copy checked") << int(Stage::CopyChecked);
    QTest::newRow("replaced") << int(Stage::Replaced);
}

void CompactionTest::interruptedAtAnyStageLeavesAValidFile()
{
    QFETCH(int, stage);
    grow();
    const QStringList before = contents();
    const QString path = m_folder->databasePath();

    // The run is a child process that dies on the spot at the stage: no cleanup, no connection closed.
    constexpr int Killed = 42;
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        compaction::setStageHook([stage](Stage s) {
            if (int(s) == stage)
                ::_exit(Killed);
        });
        QString error;
        compaction::compactDatabase(path, &error);
        ::_exit(1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), Killed);

    // A valid database file with everything in it is there under its own name.
    verifySound(path);
    QCOMPARE(contents(), before);

    // The next run clears what the interrupted one left and compacts.
    QString error;
    QVERIFY2(compaction::compactDatabase(path, &error), qPrintable(error));
    verifySound(path);
    QCOMPARE(contents(), before);
    verifyNoLeftovers();
}

void CompactionTest::changesLeftInTheLogByACrashAreKept()
{
    // A program that wrote and died without closing leaves its change in the write-ahead log only.
    const QString path = m_folder->databasePath();
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        const auto connection = db::openConnection(path, QStringLiteral("Crashing"));
        QSqlQuery q(connection->database());
        const bool ok = q.exec("PRAGMA wal_autocheckpoint = 0") &&
                        q.exec("UPDATE [Your Information] SET [Company Name] = 'Only in the log'");
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFileInfo(path + "-wal").size() > 0);

    QString error;
    QVERIFY2(compaction::compactDatabase(path, &error), qPrintable(error));
    QVERIFY(!QFileInfo::exists(path + "-wal"));
    verifySound(path);
    QCOMPARE(m_folder->scalar("SELECT [Company Name] FROM [Your Information]").toString(),
             QStringLiteral("Only in the log"));
}

QTEST_MAIN(CompactionTest)
#include "tst_compaction.moc"
