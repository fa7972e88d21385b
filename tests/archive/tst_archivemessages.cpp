#include "platform/archive/fileanswer.h"
#include "platform/archive/resultcodes.h"

#include <QTest>

using namespace tv::archive;

class ArchiveMessagesTest : public QObject
{
    Q_OBJECT
private slots:
    void resultMessage_data();
    void resultMessage();
    void diskFullDependsOnMultidiskMode();
    void skipReasons_data();
    void skipReasons();
    void answerSplitting_data();
    void answerSplitting();
};

void ArchiveMessagesTest::resultMessage_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("verb");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");

    auto row = [](int code, const char* verb, bool shown, const QString& text, int style) {
        QTest::addRow("%d %s", code, verb) << code << QString::fromLatin1(verb) << shown << text << style;
    };
    row(-5, "adding", false, QString(), 0);
    row(0, "adding", false, QString(), 0);
    row(10, "adding", false, QString(), 0);
    row(30, "adding", false, QString(), 0);
    row(140, "listing", false, QString(), 0);
    row(20, "adding", true, "An error occured while adding the specified files.", 16);
    row(40, "extracting", true, "Some files were skipped while extracting.", 48);
    row(50, "listing", true, "The Zip file is empty.", 48);
    row(100, "Opening", true, "Could not find the archive file.", 16);
    row(110, "listing", true, "The archive file is corrupted. Try using the Fix option on it.", 16);
    row(120, "testing", true, "Ran out of memory while testing.", 16);
    row(130, "adding", true, "Invalid property settings. Check your code.", 16);
    row(160, "listing", true, "The archive file is corrupted. Try using the Fix option on it.", 16);
    row(180, "adding", true,
        "Another application is currently performing a similar task. Wait until the other application has "
        "completed its operation.",
        16);
    row(190, "updating", true, "The updating operation was aborted.", 48);
    row(200, "testing", true, "Test failed - errors in the archive.", 16);
    row(210, "testing", true, "No files ended up being tested in the archive.", 16);
    row(280, "adding", true, "Problem with the temporary file.", 16);
    row(290, "updating zip date", true, "Problem reading from file while updating zip date.", 16);
    row(300, "deleting", true, "Problem writing to file while deleting.", 16);
    row(310, "fixing", true, "Problem creating file while fixing.", 16);
    row(350, "deleting", true, "Attempt to remove parent directory.", 16);
    row(370, "adding", true, "Names repeated in archive after discarding pathnames.", 16);
    row(380, "updating zip date", true,
        "Could not update the Zip archive date. Archive only contains directories or is empty.", 16);
    row(400, "adding", true, "Could not access the Zip file or one of the files to process.", 16);
    row(410, "listing", true, "Cannot work on multiple-disk archives when not in Multidisk mode.", 16);
    row(420, "extracting", true, "Wrong disk was inserted too many times.", 16);
    row(430, "deleting", true, "Operation not supported for Multidisk Zip archives.", 16);
    row(440, "adding", true, "Could not open the self-extractor binary.", 16);
    row(450, "adding", true, "Could not open the self-extractor configuration file", 16);
    row(460, "adding", true, "Invalid command parameter passed to an Xceed Zip event.", 16);
    row(470, "adding", true, "Not enough space on first disk to write self-extractor.", 16);
    row(490, "adding", true, "Invalid self-extractor binary version.", 16);
    row(510, "extracting", true, "Problem creating destination directory while extracting.", 16);
    row(999, "deleting", true, "An error occured while deleting the specified files.", 16);
    row(141, "listing", true, "An error occured while listing the specified files.", 16);
}

void ArchiveMessagesTest::resultMessage()
{
    QFETCH(int, code);
    QFETCH(QString, verb);
    QFETCH(bool, shown);
    QFETCH(QString, text);
    QFETCH(int, style);
    const ResultMessage message = tv::archive::resultMessage(code, verb, false);
    QCOMPARE(message.show, shown);
    QCOMPARE(message.text, text);
    QCOMPARE(message.style, style);
    // Only code 150 depends on the multidisk mode.
    const ResultMessage inMultidiskMode = tv::archive::resultMessage(code, verb, true);
    QCOMPARE(inMultidiskMode.text, text);
}

void ArchiveMessagesTest::diskFullDependsOnMultidiskMode()
{
    const ResultMessage single = tv::archive::resultMessage(150, QStringLiteral("adding"), false);
    QCOMPARE(single.text, QStringLiteral("Disk full while adding."));
    QCOMPARE(single.style, 16);
    const ResultMessage multi = tv::archive::resultMessage(150, QStringLiteral("adding"), true);
    QCOMPARE(multi.text, QStringLiteral("A full disk was inserted instead of an empty one."));
    QCOMPARE(multi.style, 16);
}

void ArchiveMessagesTest::skipReasons_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("message");
    QTest::newRow("0") << 0 << "Can't process 'a\\b.txt', file not found.";
    QTest::newRow("1") << 1 << "Can't process 'a\\b.txt', unknown compression.";
    QTest::newRow("2") << 2 << "Can't process 'a\\b.txt', CRC does not check out.";
    QTest::newRow("3") << 3 << "Can't process 'a\\b.txt', file is already up to date.";
    QTest::newRow("4") << 4 << "Can't process 'a\\b.txt', unable to open file.";
    QTest::newRow("5") << 5 << "Can't process 'a\\b.txt', invalid or no password to decrypt file.";
    QTest::newRow("6") << 6 << "Can't process 'a\\b.txt', file's compressed data is corrupted.";
    QTest::newRow("7") << 7 << "Can't process 'a\\b.txt', instructed not to overwrite.";
    QTest::newRow("8") << 8 << "Can't process 'a\\b.txt', ";
    QTest::newRow("-1") << -1 << "Can't process 'a\\b.txt', ";
}

void ArchiveMessagesTest::skipReasons()
{
    QFETCH(int, reason);
    QFETCH(QString, message);
    QCOMPARE(skippedFileMessage(QStringLiteral("a\\b.txt"), reason), message);
}

void ArchiveMessagesTest::answerSplitting_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("paths");
    const QChar nul(0);
    QTest::newRow("one file") << QStringLiteral("C:\\data\\Pelkin.mdb")
                              << QStringList{"C:\\data\\Pelkin.mdb"};
    QTest::newRow("two files") << (QStringLiteral("C:\\data") + nul + "a" + nul + "b")
                               << QStringList{"C:\\data\\a", "C:\\data\\b"};
    QTest::newRow("drive root") << (QStringLiteral("A:\\") + nul + "a" + nul + "b.mdb")
                                << QStringList{"A:\\a", "A:\\b.mdb"};
    QTest::newRow("linux root") << (QStringLiteral("/") + nul + "x") << QStringList{"/x"};
    QTest::newRow("three files") << (QStringLiteral("/home/me") + nul + "x y" + nul + "z" + nul + "w")
                                 << QStringList{"/home/me\\x y", "/home/me\\z", "/home/me\\w"};
}

void ArchiveMessagesTest::answerSplitting()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, paths);
    QCOMPARE(answerFileCount(answer), int(paths.size()));
    for (int i = 0; i < paths.size(); ++i)
        QCOMPARE(answerFileAt(answer, i + 1), paths[i]);
    QCOMPARE(answerFileAt(answer, int(paths.size()) + 1), QString());
    QCOMPARE(answerFileAt(answer, 0), QString());
}

QTEST_GUILESS_MAIN(ArchiveMessagesTest)
#include "tst_archivemessages.moc"
