// The start of the program on a database file kept in the Access (Jet) format: recognised by its header,
// offered for conversion once, converted in the converter program and put in place with the original kept
// beside it; declined, refused or failed, the file stays exactly as it was and the program goes on.
#include "database/connection.h"
#include "database/jetconvert/jetheader.h"
#include "database/schema.h"
#include "shell/application.h"
#include "shell/jetimport.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tv;

namespace {

const QString Fixture = QStringLiteral(TARVENOR_FIXTURES_DIR "/legacy/Pelkin.mdb");
const QString Converter = QStringLiteral(TARVENOR_APP_DIR "/tarvenor-jetconvert");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
    return true;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A Jet 4 header page with the given signature and version byte.
QByteArray header(const QByteArray& signature, char version, int size = 4096)
{
    QByteArray h(size, 0);
    h[1] = 1;
    h.replace(4, 16, signature + QByteArray(16 - signature.size(), 0));
    h[0x14] = version;
    return h;
}

} // namespace

class TestJetImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void recognisesFormats_data();
    void recognisesFormats();
    void declining();
    void converting();
    void backupNames_data();
    void backupNames();
    void unsupported_data();
    void unsupported();
    void failures_data();
    void failures();
    void reportForTheUser();

private:
    QTemporaryDir m_scripts;
};

void TestJetImport::initTestCase()
{
    if (!QFileInfo::exists(Fixture))
        QFAIL(qPrintable(
            QStringLiteral("The shared Jet fixture %1 is missing (the folder shared/fixtures/legacy beside "
                           "the repository).")
                .arg(Fixture)));
    QVERIFY2(QFileInfo(Converter).isExecutable(), qPrintable(Converter + QStringLiteral(" is not built")));
    QVERIFY(m_scripts.isValid());
    jet::setConverterPath(Converter);
}

void TestJetImport::cleanup()
{
    jet::setConverterPath(Converter);
    jet::setConverterSilenceLimit(0);
}

void TestJetImport::recognisesFormats_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("pageSize");
    QTest::newRow("SQLite") << QByteArray("SQLite format 3\0", 16) + QByteArray(100, 0)
                            << int(jet::Format::Other) << 0;
    QTest::newRow("empty") << QByteArray() << int(jet::Format::Other) << 0;
    QTest::newRow("too short") << header("Standard Jet DB", 1).left(0x14) << int(jet::Format::Other) << 0;
    QTest::newRow("Jet 3") << header("Standard Jet DB", 0) << int(jet::Format::Jet3) << 2048;
    QTest::newRow("Jet 4") << header("Standard Jet DB", 1) << int(jet::Format::Jet4) << 4096;
    QTest::newRow("Jet, unknown version")
        << header("Standard Jet DB", 7) << int(jet::Format::Unknown) << 4096;
    QTest::newRow("Access 2007") << header("Standard ACE DB", 2) << int(jet::Format::Ace) << 4096;
    QTest::newRow("Access 2016") << header("Standard ACE DB", 5) << int(jet::Format::Ace) << 4096;
    QTest::newRow("signature elsewhere")
        << QByteArray(4, 'x') + header("Standard Jet DB", 1) << int(jet::Format::Other) << 0;
}

void TestJetImport::recognisesFormats()
{
    QFETCH(QByteArray, head);
    QFETCH(int, format);
    QFETCH(int, pageSize);
    const jet::Header h = jet::inspectHeader(head);
    QCOMPARE(int(h.format), format);
    QCOMPARE(h.pageSize, pageSize);
    // The fixture is a Jet 4 file; a prepared database file is not Access at all.
    QCOMPARE(jet::inspectFile(Fixture).format, jet::Format::Jet4);
    QCOMPARE(jet::inspectFile(QStringLiteral(TARVENOR_PREPARED_DB)).format, jet::Format::Other);
}

void TestJetImport::declining()
{
    test::AppFolder folder(false);
    test::ScriptedInteractive ui;
    const QString path = folder.databasePath();
    QVERIFY(QFile::copy(Fixture, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = readFile(path);
    ui.answerMessage(vbNo);

    prepareDatabaseFile();
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.lastMessage().style, vbYesNo + vbQuestion);
    QVERIFY(ui.lastMessage().text.contains(QStringLiteral("Pelkin.mdb")));
    QVERIFY(ui.lastMessage().text.contains(QStringLiteral("Pelkin.mdb.jet-backup")));

    // The windows' bindings then fail to open it, as any unreadable file, and the file stays as it was.
    QString error;
    QVERIFY(!db::openConnection(path, QStringLiteral("Test"), &error));
    QVERIFY(!error.isEmpty());
    // Asked once: a second look in the same run asks nothing.
    prepareDatabaseFile();
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(readFile(path), before);
    QCOMPARE(filesIn(folder.path()), QStringList({QStringLiteral("Pelkin.mdb")}));
}

void TestJetImport::converting()
{
    test::AppFolder folder(false);
    test::ScriptedInteractive ui;
    const QString path = folder.databasePath();
    QVERIFY(QFile::copy(Fixture, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    ui.answerMessage(vbYes);

    prepareDatabaseFile();
    const auto messages = ui.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[1].style, int(vbInformation));
    QVERIFY2(messages[1].text.contains(QStringLiteral("48 tables")), qPrintable(messages[1].text));
    QVERIFY(messages[1].text.contains(QStringLiteral("kept as Pelkin.mdb.jet-backup")));
    QVERIFY(!messages[1].text.contains(QStringLiteral("Left out")));
    // The hourglass while the converter works, then the default pointer.
    QVERIFY(ui.pointerHistory.contains(Pointer::Hourglass));
    QCOMPARE(ui.pointer(), Pointer::Default);

    // The original, byte for byte, under the backup name; the new file under the old name; nothing else.
    QCOMPARE(readFile(path + QStringLiteral(".jet-backup")), readFile(Fixture));
    QCOMPARE(filesIn(folder.path()),
             QStringList({QStringLiteral("Pelkin.mdb"), QStringLiteral("Pelkin.mdb.jet-backup")}));
    QCOMPARE(jet::inspectFile(path).format, jet::Format::Other);
    QCOMPARE(folder.scalar(QStringLiteral("PRAGMA user_version")).toInt(), db::schema::latestVersion());
    QCOMPARE(folder.scalar(QStringLiteral("SELECT [Job Name] FROM [Job Information] WHERE AutoNumber = 1"))
                 .toString(),
             QStringLiteral("Golden Pin Lanes"));
    QCOMPARE(folder.scalar(QStringLiteral("SELECT count(*) FROM [Job Items]")).toInt(), 43);

    // The next start finds a database of its own and asks nothing.
    prepareDatabaseFile();
    QCOMPARE(ui.messages().size(), 2);
}

void TestJetImport::backupNames_data()
{
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QByteArray() << QStringLiteral("Pelkin.mdb.jet-backup");
    QTest::newRow("the same file") << readFile(Fixture) << QStringLiteral("Pelkin.mdb.jet-backup");
    QTest::newRow("another file") << QByteArray("an earlier Access file")
                                  << QStringLiteral("Pelkin.mdb.jet-backup-2");
}

void TestJetImport::backupNames()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QString, expected);
    test::AppFolder folder(false);
    test::ScriptedInteractive ui;
    const QString path = folder.databasePath();
    QVERIFY(QFile::copy(Fixture, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QString earlierBackup = path + QStringLiteral(".jet-backup");
    if (!earlier.isEmpty())
        QVERIFY(writeFile(earlierBackup, earlier));
    QCOMPARE(QFileInfo(jet::backupPathFor(path)).fileName(), expected);

    ui.answerMessage(vbYes);
    QCOMPARE(jet::offerConversion(path), jet::StartOutcome::Converted);
    QVERIFY(ui.lastMessage().text.contains(QStringLiteral("kept as ") + expected + u'.'));
    QCOMPARE(readFile(QDir(folder.path()).filePath(expected)), readFile(Fixture));
    // An earlier backup of another file is never overwritten.
    if (!earlier.isEmpty())
        QCOMPARE(readFile(earlierBackup), earlier);
}

void TestJetImport::unsupported_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("format");
    QByteArray ace = readFile(Fixture);
    ace.replace(4, 15, "Standard ACE DB");
    ace[0x14] = 3;
    QTest::newRow("Access 2007 or later") << ace << QStringLiteral("ACE");
    QByteArray unknown = readFile(Fixture);
    unknown[0x14] = 9;
    QTest::newRow("unknown Jet version") << unknown << QStringLiteral("unknown version");
}

void TestJetImport::unsupported()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, format);
    test::AppFolder folder(false);
    test::ScriptedInteractive ui;
    const QString path = folder.databasePath();
    QVERIFY(writeFile(path, content));

    prepareDatabaseFile();
    // Said plainly, without a question.
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.lastMessage().style, int(vbExclamation));
    QVERIFY2(ui.lastMessage().text.contains(format), qPrintable(ui.lastMessage().text));
    QCOMPARE(readFile(path), content);
    QCOMPARE(filesIn(folder.path()), QStringList({QStringLiteral("Pelkin.mdb")}));
}

void TestJetImport::failures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>(
        "converter"); // a script standing in for the converter, or empty for the real one
    QTest::addColumn<QString>("message");
    const QByteArray jet = readFile(Fixture);
    QTest::newRow("cut short") << jet.left(jet.size() - 3 * 4096) << QString() << QStringLiteral("damaged");
    QTest::newRow("not whole pages") << jet.left(jet.size() - 100) << QString()
                                     << QStringLiteral("not a whole number of 4096-byte pages");
    QTest::newRow("converter crashes")
        << jet << QStringLiteral("printf 'half a file' > \"$2\"\nkill -SEGV $$\n")
        << QStringLiteral("failed while reading");
    QTest::newRow("converter claims too much")
        << jet
        << QStringLiteral(
               "cp '%1' \"$2\"\necho '{\"report\":{\"tables\":[{\"name\":\"Job Items\",\"rows\":99}]}}'\n")
               .arg(QStringLiteral(TARVENOR_PREPARED_DB))
        << QStringLiteral("lacks tables");
    QTest::newRow("converter missing") << jet << QStringLiteral("-") << QStringLiteral("is missing");
    // Stuck on a file made to keep it busy: silent far longer than it may be.
    QTest::newRow("converter stuck") << jet
                                     << QStringLiteral("printf 'half a file' > \"$2\"\nexec sleep 60\n")
                                     << QStringLiteral("stopped making progress");
}

void TestJetImport::failures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, converter);
    QFETCH(QString, message);
    if (converter == u"-") {
        jet::setConverterPath(m_scripts.filePath(QStringLiteral("no-such-converter")));
    } else if (!converter.isEmpty()) {
        const QString script =
            m_scripts.filePath(QStringLiteral("converter-%1.sh").arg(QTest::currentDataTag()));
        QVERIFY(writeFile(script, "#!/bin/sh\n" + converter.toUtf8(), true));
        jet::setConverterPath(script);
        jet::setConverterSilenceLimit(300);
    }
    test::AppFolder folder(false);
    test::ScriptedInteractive ui;
    const QString path = folder.databasePath();
    QVERIFY(writeFile(path, content));
    ui.answerMessage(vbYes);

    prepareDatabaseFile();
    QCOMPARE(ui.messages().size(), 2);
    const test::Asked said = ui.lastMessage();
    QCOMPARE(said.style, int(vbCritical));
    QVERIFY2(said.text.contains(QStringLiteral("could not be converted")), qPrintable(said.text));
    QVERIFY2(said.text.contains(message), qPrintable(said.text));
    QCOMPARE(ui.pointer(), Pointer::Default);
    // The file as it was, no backup, no half-made file.
    QCOMPARE(readFile(path), content);
    QCOMPARE(filesIn(folder.path()), QStringList({QStringLiteral("Pelkin.mdb")}));
}

void TestJetImport::reportForTheUser()
{
    // A stand-in converter that makes a sound file and reports what a real one would have left out.
    QJsonArray tables;
    {
        test::AppFolder prepared;
        for (const QVariantList& r : prepared.rows(QStringLiteral(
                 "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'"))) {
            const QString name = r.value(0).toString();
            const int rows = prepared.scalar(QStringLiteral("SELECT count(*) FROM [%1]").arg(name)).toInt();
            const bool lacking = name == u"ItemQty";
            const int added = name == u"UserData" ? 1 : 0;
            tables.append(QJsonObject{{QStringLiteral("name"), name},
                                      {QStringLiteral("source"), lacking ? QString() : name},
                                      {QStringLiteral("sourceRows"), lacking ? 0 : rows - added},
                                      {QStringLiteral("added"), added},
                                      {QStringLiteral("rows"), rows}});
        }
    }
    QJsonArray missing;
    for (int n = 4; n <= 40; ++n)
        missing.append(QJsonObject{{QStringLiteral("table"), QStringLiteral("UserData")},
                                   {QStringLiteral("field"), QStringLiteral("User%1").arg(n)}});
    const QJsonObject report{
        {QStringLiteral("format"), jet::formatName(jet::Format::Jet4)},
        {QStringLiteral("tables"), tables},
        {QStringLiteral("leftOutTables"),
         QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Switchboard Items")},
                                {QStringLiteral("rows"), 3}}}},
        {QStringLiteral("linkedTables"), QJsonArray{QStringLiteral("Linked Prices")}},
        {QStringLiteral("otherObjects"), 2},
        {QStringLiteral("leftOutFields"),
         QJsonArray{QJsonObject{{QStringLiteral("table"), QStringLiteral("Job Information")},
                                {QStringLiteral("field"), QStringLiteral("Fax 2")},
                                {QStringLiteral("type"), QStringLiteral("Text")}}}},
        {QStringLiteral("missingFields"), missing},
        {QStringLiteral("notes"),
         QJsonArray{QStringLiteral("Logo: the picture was taken out of its OLE package.")}},
    };
    const QString reportFile = m_scripts.filePath(QStringLiteral("report.json"));
    QVERIFY(writeFile(
        reportFile,
        QJsonDocument(QJsonObject{{QStringLiteral("report"), report}}).toJson(QJsonDocument::Compact)));
    const QString script = m_scripts.filePath(QStringLiteral("reporting-converter.sh"));
    QVERIFY(writeFile(script,
                      QStringLiteral("#!/bin/sh\ncp '%1' \"$2\"\ncat '%2'\necho\n")
                          .arg(QStringLiteral(TARVENOR_PREPARED_DB), reportFile)
                          .toUtf8(),
                      true));
    jet::setConverterPath(script);

    test::AppFolder folder(false);
    test::ScriptedInteractive ui;
    QVERIFY(QFile::copy(Fixture, folder.databasePath()));
    QFile::setPermissions(folder.databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    ui.answerMessage(vbYes);
    QCOMPARE(jet::offerConversion(folder.databasePath()), jet::StartOutcome::Converted);
    const QString text = ui.lastMessage().text;
    QCOMPARE(ui.lastMessage().style, int(vbInformation));
    for (const QString& part :
         {QStringLiteral("converted from Access (Jet 4, Access 2000-2003)"),
          QStringLiteral("%1 tables").arg(tables.size()), QStringLiteral("table Switchboard Items (3 rows)"),
          QStringLiteral("linked table Linked Prices"), QStringLiteral("field Job Information.Fax 2"),
          QStringLiteral("The 2 queries, forms, reports"),
          QStringLiteral("lacked, made as in a new file:\n    ItemQty"),
          QStringLiteral("added:\n    UserData (1)"),
          QStringLiteral("UserData: User4, User5, User6, User7, User8, User9, and 31 more"),
          QStringLiteral("taken out of its OLE package")})
        QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in:\n") + text));
}

QTEST_MAIN(TestJetImport)
#include "tst_jetimport.moc"
