// The data layer: the prepared file, the program's SQL shapes and orderings, record sets and connections.
#include "database/compaction.h"
#include "database/connection.h"
#include "database/recordset.h"
#include "database/schema.h"
#include "database/sql.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

using namespace tv;
using namespace tv::test;

class DatabaseTest : public QObject
{
    Q_OBJECT

private:
    db::ConnectionPtr connect(const AppFolder& folder)
    {
        QString error;
        auto c = db::openConnection(folder.databasePath(), QStringLiteral("test"), &error);
        if (!c)
            qFatal("%s", qPrintable(error));
        return c;
    }
    void addLine(const AppFolder& folder, int job, const QString& name, const QString& schedule, int category)
    {
        folder.exec(
            QStringLiteral("INSERT INTO [Job Items] ([Recordno], [Item Name], [Schedule], [Item Category]) "
                           "VALUES (%1, '%2', '%3', %4)")
                .arg(job)
                .arg(name, schedule)
                .arg(category));
    }

private slots:
    void preparedFileHasEveryTableAndField_data();
    void preparedFileHasEveryTableAndField();
    void requiredRows_data();
    void requiredRows();
    void subItemLabelsAreNeverNull();
    void orderingsAreNumeric();
    void jobLinesAreExactlyTheJobsRows();
    void namesMatchWithoutRegardToCase_data();
    void namesMatchWithoutRegardToCase();
    void newJobIsLastWithGreaterNumber();
    void autoNumberIsNeverReused();
    void selectIntoIsTranslated_data();
    void selectIntoIsTranslated();
    void templateCopyKeepsFieldsAndRows();
    void editSaveAndReadBack();
    void numbersAreCheckedBeforeSaving_data();
    void numbersAreCheckedBeforeSaving();
    void currencyKeepsFourDecimals();
    void sharedRecordSetHasOneCurrentRow();
    void twoConnectionsNeverMeetALock();
    void missingFileIsReportedNotCreated();
    void unreadableFileIsReported();
    void connectionsAreKnown();
    void upgradeOfCurrentFileChangesNothing();
    void compactedCopyHasSameTablesAndRows();
};

void DatabaseTest::preparedFileHasEveryTableAndField_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    const auto numbered = [](const QString& prefix, int last) {
        QStringList l;
        for (int i = 1; i <= last; ++i)
            l << prefix + QString::number(i);
        return l;
    };
    QTest::newRow("Job Information") << "Job Information"
                                     << (QStringList{"AutoNumber", "Quote Date", "Job Name"} +
                                         numbered("Job Address ", 5) +
                                         QStringList{"EMail", "Job Phone", "Job Fax", "Commission",
                                                     "Customer Name"} +
                                         numbered("Customer Address ", 5) +
                                         QStringList{"Customer Phone",      "Customer Fax",
                                                     "Time Period",         "Shipment Terms",
                                                     "Payment Terms",       "Deposit Amount",
                                                     "US Inland Freight",   "Intl Inland Freight",
                                                     "Insurance",           "Ocean Freight",
                                                     "Warranty New",        "Warranty Used",
                                                     "Warranty Electrical", "Warranty Buy Out",
                                                     "Delivery Time",       "Delivery Time Special Orders",
                                                     "Machine Type",        "Machine Voltage",
                                                     "# of Lanes",          "# of Posts",
                                                     "# of Jobs",           "Country Destination",
                                                     "ContractNotes",       "Notes"});
    QTest::newRow("Job Items") << "Job Items"
                               << QStringList{"Recordno", "Item Name",      "Item Category", "Schedule",
                                              "Item Qty", "Item Condition", "Item Price",    "Item Notes"};
    QTest::newRow("Your Information")
        << "Your Information"
        << QStringList{"Company Name",      "Company Address 1", "Company Address 2", "Company Address 3",
                       "Company Address 4", "Company Address 5", "Company Phone",     "Company Fax",
                       "Salesman Name",     "Your email",        "Your internet"};
    QTest::newRow("Factors") << "Factors"
                             << QStringList{"P72",  "P60",   "P48",   "P36",   "P572",  "P560", "P548",
                                            "P536", "P1072", "P1060", "P1048", "P1036", "S72",  "S60",
                                            "S48",  "S36",   "L72",   "L60",   "L48",   "L36"};
    QTest::newRow("PaymentTerms") << "PaymentTerms" << QStringList{"PaymentTerms"};
    QTest::newRow("ShipmentTerms") << "ShipmentTerms" << QStringList{"ShipmentTerms"};
    QTest::newRow("LogoData") << "LogoData" << QStringList{"Logo"};
    QTest::newRow("UserData") << "UserData" << QStringList{"RecordNo", "UserLabel"} + numbered("User", 40);
    QTest::newRow("ItemNote") << "ItemNote" << numbered("ItemNotes", 40);
    QTest::newRow("ItemFactors") << "ItemFactors" << numbered("ItemFactor", 40);
    for (const char* t : {"ItemLabel", "ItemName", "ItemCategory", "ItemSchedule", "ItemPrice",
                          "ItemCondition", "ItemQty", "ItemDefault"})
        QTest::newRow(t) << t << numbered(t, 40);
    QTest::newRow("SubItemFactors") << "SubItemFactors"
                                    << QStringList{"RecordNo"} + numbered("SubItemFactor", 10);
    for (const char* t : {"SubItemLabel", "SubItemName", "SubItemCategory", "SubItemSchedule", "SubItemNotes",
                          "SubItemPrice", "SubItemCondition", "SubItemQty", "SubItemDefault"})
        QTest::newRow(t) << t << QStringList{"RecordNo"} + numbered(t, 10);
    for (int n = 1; n <= 10; ++n) {
        QTest::newRow(qPrintable(QStringLiteral("UserItemDefault%1").arg(n)))
            << QStringLiteral("UserItemDefault%1").arg(n) << numbered("ItemDefault", 40);
        QTest::newRow(qPrintable(QStringLiteral("UserSubItemDefault%1").arg(n)))
            << QStringLiteral("UserSubItemDefault%1").arg(n)
            << QStringList{"RecordNo"} + numbered("SubItemDefault", 10);
    }
}

void DatabaseTest::preparedFileHasEveryTableAndField()
{
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    AppFolder folder;
    QStringList actual;
    for (const auto& row : folder.rows(QStringLiteral("PRAGMA table_info([%1])").arg(table)))
        actual << row.at(1).toString();
    QCOMPARE(actual, fields);
}

void DatabaseTest::requiredRows_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("expected");
    QTest::newRow("Your Information") << "SELECT count(*) FROM [Your Information]" << 1;
    QTest::newRow("Factors") << "SELECT count(*) FROM [Factors]" << 1;
    QTest::newRow("LogoData") << "SELECT count(*) FROM [LogoData]" << 1;
    QTest::newRow("UserData 1 to 10")
        << "SELECT count(DISTINCT RecordNo) FROM [UserData] WHERE RecordNo BETWEEN 1 AND 10" << 10;
    QTest::newRow("ItemDefault") << "SELECT count(*) FROM [ItemDefault]" << 1;
    QTest::newRow("ItemNote") << "SELECT count(*) FROM [ItemNote]" << 1;
    QTest::newRow("SubItemName 1 to 40")
        << "SELECT count(DISTINCT RecordNo) FROM [SubItemName] WHERE RecordNo BETWEEN 1 AND 40" << 40;
    QTest::newRow("SubItemDefault") << "SELECT count(*) FROM [SubItemDefault]" << 40;
    QTest::newRow("UserItemDefault10") << "SELECT count(*) FROM [UserItemDefault10]" << 1;
    QTest::newRow("UserSubItemDefault10") << "SELECT count(*) FROM [UserSubItemDefault10]" << 40;
    QTest::newRow("a shipment term CIF China Main Port")
        << "SELECT count(*) FROM [ShipmentTerms] WHERE ShipmentTerms = 'CIF China Main Port'" << 1;
    QTest::newRow("an example job") << "SELECT count(*) FROM [Job Information]" << 1;
}

void DatabaseTest::requiredRows()
{
    QFETCH(QString, sql);
    QFETCH(int, expected);
    AppFolder folder;
    QCOMPARE(folder.scalar(sql).toInt(), expected);
}

void DatabaseTest::subItemLabelsAreNeverNull()
{
    AppFolder folder;
    QStringList nulls;
    for (int k = 1; k <= 10; ++k)
        nulls << QStringLiteral("SubItemLabel%1 IS NULL").arg(k);
    QCOMPARE(folder.scalar("SELECT count(*) FROM SubItemLabel WHERE " + nulls.join(" OR ")).toInt(), 0);
}

void DatabaseTest::orderingsAreNumeric()
{
    AppFolder folder;
    folder.exec("DELETE FROM [Job Items]");
    addLine(folder, 10, "ten-A-2", "A", 2);
    addLine(folder, 9, "nine-B-1", "B", 1);
    addLine(folder, 9, "nine-A-10", "A", 10);
    addLine(folder, 9, "nine-A-2", "A", 2);
    addLine(folder, 10, "ten-A-1", "A", 1);
    auto c = connect(folder);
    const auto all = db::RecordSet::open(
        c, "Select * from [Job Items] Order by [RecordNo] ASC, [Schedule] ASC, [Item Category] ASC ");
    QVERIFY(all);
    QStringList names;
    for (int i = 0; i < all->count(); ++i)
        names << all->valueAt(i, all->fieldIndex("Item Name")).toString();
    QCOMPARE(names, (QStringList{"nine-A-2", "nine-A-10", "nine-B-1", "ten-A-1", "ten-A-2"}));

    const auto one = db::RecordSet::open(c, "Select * from [Job Items] where Recordno = 10 Order by "
                                            "[RecordNo] ASC, [Schedule] ASC, [Item Category] ASC ");
    QVERIFY(one);
    QCOMPARE(one->count(), 2);
    QCOMPARE(one->value("Item Name").toString(), QString("ten-A-1"));
}

void DatabaseTest::jobLinesAreExactlyTheJobsRows()
{
    AppFolder folder;
    auto c = connect(folder);
    const auto lines = db::RecordSet::open(c, "Select * from [Job Items] where Recordno = 1");
    QVERIFY(lines);
    QCOMPARE(lines->count(), folder.scalar("SELECT count(*) FROM [Job Items] WHERE Recordno = 1").toInt());
    QVERIFY(lines->count() > 0);
    const auto none = db::RecordSet::open(c, "Select * from [Job Items] where Recordno = 999");
    QVERIFY(none);
    QCOMPARE(none->count(), 0);
    QVERIFY(none->bof() && none->eof());
}

void DatabaseTest::namesMatchWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("stored");
    QTest::newRow("commission") << "Job Information"
                                << "commission"
                                << "Commission";
    QTest::newRow("RecordNo") << "Select * from [Job Items]"
                              << "RecordNo"
                              << "Recordno";
    QTest::newRow("# of Lanes") << "Job Information"
                                << "# OF LANES"
                                << "# of Lanes";
    QTest::newRow("ItemNotes7") << "ItemNote"
                                << "itemnotes7"
                                << "ItemNotes7";
    QTest::newRow("ItemFactor7") << "ItemFactors"
                                 << "ITEMFACTOR7"
                                 << "ItemFactor7";
    QTest::newRow("sub-item row") << "Select * from SubItemNotes Where RecordNo = 4"
                                  << "subitemnotes5"
                                  << "SubItemNotes5";
}

void DatabaseTest::namesMatchWithoutRegardToCase()
{
    QFETCH(QString, source);
    QFETCH(QString, asked);
    QFETCH(QString, stored);
    AppFolder folder;
    auto rs = db::RecordSet::open(connect(folder), source);
    QVERIFY(rs);
    QVERIFY(rs->fieldIndex(asked) >= 0);
    QCOMPARE(rs->fieldIndex(asked), rs->fieldIndex(stored));
    QCOMPARE(rs->value(asked), rs->value(stored));
}

void DatabaseTest::newJobIsLastWithGreaterNumber()
{
    AppFolder folder;
    auto rs = db::RecordSet::open(connect(folder), "Job Information");
    QVERIFY(rs);
    const int before = rs->count();
    const int highest = folder.scalar("SELECT max(AutoNumber) FROM [Job Information]").toInt();
    QVERIFY(rs->addNew());
    QVERIFY(rs->setValue("Job Name", QStringLiteral("New Lanes")));
    QString error;
    QVERIFY2(rs->update(&error), qPrintable(error));
    QCOMPARE(rs->count(), before + 1);
    QVERIFY(rs->moveLast());
    QCOMPARE(rs->value("Job Name").toString(), QString("New Lanes"));
    QVERIFY(rs->value("AutoNumber").toInt() > highest);
    // A fresh read of the table finds it last as well.
    auto again = db::RecordSet::open(connect(folder), "Job Information");
    QVERIFY(again->moveLast());
    QCOMPARE(again->value("Job Name").toString(), QString("New Lanes"));
}

void DatabaseTest::autoNumberIsNeverReused()
{
    AppFolder folder;
    folder.exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('temporary')");
    const int removed = folder.scalar("SELECT max(AutoNumber) FROM [Job Information]").toInt();
    folder.exec(QStringLiteral("DELETE FROM [Job Information] WHERE AutoNumber = %1").arg(removed));
    folder.exec("INSERT INTO [Job Information] ([Job Name]) VALUES ('next')");
    QVERIFY(folder.scalar("SELECT max(AutoNumber) FROM [Job Information]").toInt() > removed);
}

void DatabaseTest::selectIntoIsTranslated_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("template save")
        << "SELECT ItemDefault.* INTO [UserItemDefault1] FROM ItemDefault;"
        << "CREATE TABLE [UserItemDefault1] AS SELECT ItemDefault.* FROM ItemDefault";
    QTest::newRow("recall")
        << "SELECT UserSubItemDefault3.* INTO [SubItemDefault] FROM UserSubItemDefault3;"
        << "CREATE TABLE [SubItemDefault] AS SELECT UserSubItemDefault3.* FROM UserSubItemDefault3";
    QTest::newRow("lower case, no brackets") << "select a.* into b from a"
                                             << "CREATE TABLE b AS SELECT a.* FROM a";
    QTest::newRow("drop is left alone") << "DROP TABLE UserItemDefault1"
                                        << "DROP TABLE UserItemDefault1";
    QTest::newRow("plain select is left alone") << "Select * from [UserData]"
                                                << "Select * from [UserData]";
}

void DatabaseTest::selectIntoIsTranslated()
{
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    QCOMPARE(db::translate(statement), expected);
}

void DatabaseTest::templateCopyKeepsFieldsAndRows()
{
    AppFolder folder;
    folder.exec("UPDATE ItemDefault SET ItemDefault7 = 1, ItemDefault8 = 0");
    auto c = connect(folder);
    QString error;
    QVERIFY2(db::execute(c->database(), "DROP TABLE UserItemDefault1", &error), qPrintable(error));
    QVERIFY2(
        db::execute(c->database(),
                    QStringLiteral("SELECT ItemDefault.* INTO ") + "[UserItemDefault1] FROM ItemDefault;",
                    &error),
        qPrintable(error));
    // Recall: the copy replaces ItemDefault, which keeps its fields and its row.
    folder.exec("UPDATE ItemDefault SET ItemDefault7 = 0");
    QVERIFY(db::execute(c->database(), "DROP TABLE ItemDefault", &error));
    QVERIFY2(db::execute(c->database(), "SELECT UserItemDefault1.* INTO [ItemDefault] FROM UserItemDefault1;",
                         &error),
             qPrintable(error));
    QCOMPARE(folder.scalar("SELECT count(*) FROM ItemDefault").toInt(), 1);
    QCOMPARE(folder.rows("PRAGMA table_info(ItemDefault)").size(), 40);
    QCOMPARE(folder.scalar("SELECT ItemDefault7 FROM ItemDefault").toInt(), 1);
    auto rs = db::RecordSet::open(c, "ItemDefault");
    QVERIFY(rs->setValue("ItemDefault8", true));
    QVERIFY2(rs->update(&error), qPrintable(error));
    QCOMPARE(folder.scalar("SELECT ItemDefault8 FROM ItemDefault").toInt(), 1);
}

void DatabaseTest::editSaveAndReadBack()
{
    AppFolder folder;
    auto c = connect(folder);
    auto rs = db::RecordSet::open(c, "Select * from [Job Items] where Recordno = 1");
    QVERIFY(rs && rs->count() > 2);
    QVERIFY(rs->moveTo(1));
    const QString other = rs->valueAt(2, rs->fieldIndex("Item Name")).toString();
    QVERIFY(rs->setValue("Item Qty", QStringLiteral("7")));
    // Moving off the row saves it.
    QVERIFY(rs->moveNext());
    QCOMPARE(rs->valueAt(1, rs->fieldIndex("Item Qty")).toInt(), 7);
    QCOMPARE(folder.scalar("SELECT count(*) FROM [Job Items] WHERE [Item Qty] = 7").toInt(), 1);
    QCOMPARE(rs->value("Item Name").toString(), other);
}

void DatabaseTest::numbersAreCheckedBeforeSaving_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("quantity") << "Item Qty"
                              << "12" << true << QVariant(12);
    QTest::newRow("quantity with letters") << "Item Qty"
                                           << "12x" << false << QVariant();
    QTest::newRow("empty quantity is null") << "Item Qty"
                                            << "" << true << QVariant();
    QTest::newRow("price with thousands") << "Item Price"
                                          << "1,234.5" << true << QVariant(1234.5);
    QTest::newRow("price words") << "Item Price"
                                 << "ten" << false << QVariant();
    QTest::newRow("text stays text") << "Schedule"
                                     << "b" << true << QVariant("b");
}

void DatabaseTest::numbersAreCheckedBeforeSaving()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);
    AppFolder folder;
    auto rs = db::RecordSet::open(connect(folder), "Select * from [Job Items] where Recordno = 1");
    const QVariant before = rs->value(field);
    QVERIFY(rs->setValue(field, text));
    QString error;
    QCOMPARE(rs->update(&error), accepted);
    const QVariant now = folder.scalar(
        QStringLiteral("SELECT [%1] FROM [Job Items] WHERE Recordno = 1 ORDER BY rowid LIMIT 1").arg(field));
    if (accepted) {
        QCOMPARE(now.isNull(), stored.isNull());
        if (!stored.isNull())
            QCOMPARE(now.toString(), stored.toString());
    } else {
        QVERIFY(error.contains(field));
        QCOMPARE(now, before);
    }
}

void DatabaseTest::currencyKeepsFourDecimals()
{
    AppFolder folder;
    auto rs = db::RecordSet::open(connect(folder), "Select * from [Job Items] where Recordno = 1");
    QVERIFY(rs->setValue("Item Price", QStringLiteral("24.95")));
    QVERIFY(rs->update());
    QVERIFY(rs->setValue("Item Price", QStringLiteral("0.123456")));
    QVERIFY(rs->update());
    QCOMPARE(
        QString::number(
            folder.scalar("SELECT [Item Price] FROM [Job Items] WHERE Recordno = 1 ORDER BY rowid LIMIT 1")
                .toDouble(),
            'f', 6),
        QString("0.123500"));
    // Ten thousand lines of 0.1 add up to 1000 exactly when summed on the stored scale.
    folder.exec("DELETE FROM [Job Items]");
    folder.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                "INSERT INTO [Job Items] ([Recordno], [Item Price]) SELECT 5, 0.1 FROM n");
    QCOMPARE(folder.scalar("SELECT sum(CAST(round([Item Price] * 10000) AS INTEGER)) FROM [Job Items]")
                 .toLongLong(),
             10000000LL);
}

void DatabaseTest::sharedRecordSetHasOneCurrentRow()
{
    AppFolder folder;
    auto rs = db::RecordSet::open(connect(folder), "Select * from [Job Items] where Recordno = 1");
    auto alias = rs; // a second binding takes over the same record set
    QVERIFY(rs->moveTo(2));
    QCOMPARE(alias->position(), 2);
    QVERIFY(alias->setValue("Item Condition", QStringLiteral("Used")));
    QCOMPARE(rs->value("Item Condition").toString(), QString("Used"));
}

void DatabaseTest::twoConnectionsNeverMeetALock()
{
    AppFolder folder;
    folder.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                "INSERT INTO [Job Items] ([Recordno], [Item Name]) SELECT 2, 'line ' || i FROM n");
    auto reader = connect(folder);
    auto writer = connect(folder);
    auto big = db::RecordSet::open(
        reader, "Select * from [Job Items] Order by [RecordNo] ASC, [Schedule] ASC, [Item Category] ASC ");
    QVERIFY(big && big->count() > 2000);
    auto jobs = db::RecordSet::open(writer, "Job Information");
    QVERIFY(jobs->setValue("Job Name", QStringLiteral("Saved while the grid is open")));
    QString error;
    QVERIFY2(jobs->update(&error), qPrintable(error));
    QVERIFY(big->moveTo(1500));
    QVERIFY(big->setValue("Item Qty", 3));
    QVERIFY2(big->update(&error), qPrintable(error));
}

void DatabaseTest::missingFileIsReportedNotCreated()
{
    AppFolder folder(false);
    QString error;
    QVERIFY(!db::openConnection(folder.databasePath(), "test", &error));
    QVERIFY(error.contains(folder.databasePath()));
    QVERIFY(!QFile::exists(folder.databasePath()));
}

void DatabaseTest::unreadableFileIsReported()
{
    AppFolder folder(false);
    QFile f(folder.databasePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QString error;
    QVERIFY(!db::openConnection(folder.databasePath(), "test", &error));
    QVERIFY(error.contains(folder.databasePath()));
}

void DatabaseTest::connectionsAreKnown()
{
    AppFolder folder;
    {
        auto a = db::openConnection(folder.databasePath(), "Job Information Form.Data1");
        auto b = db::openConnection(folder.databasePath(), "Tarvenor.Data1");
        QCOMPARE(db::openConnectionOwners(folder.databasePath()).size(), 2);
        QVERIFY(db::openConnectionOwners(folder.databasePath()).contains("Job Information Form.Data1"));
    }
    QVERIFY(db::openConnectionOwners(folder.databasePath()).isEmpty());
}

void DatabaseTest::upgradeOfCurrentFileChangesNothing()
{
    AppFolder folder;
    auto c = connect(folder);
    QCOMPARE(db::schema::currentVersion(c->database()), db::schema::latestVersion());
    const int jobs = folder.scalar("SELECT count(*) FROM [Job Information]").toInt();
    QVERIFY(db::schema::upgrade(c->database()));
    QCOMPARE(folder.scalar("SELECT count(*) FROM [Job Information]").toInt(), jobs);
}

void DatabaseTest::compactedCopyHasSameTablesAndRows()
{
    AppFolder folder;
    folder.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                "INSERT INTO [Job Items] ([Recordno], [Item Notes]) SELECT 3, printf('%.500c', 'x') FROM n");
    folder.exec("DELETE FROM [Job Items] WHERE Recordno = 3");
    const QString target = QDir(folder.path()).filePath("ABC.MDB");
    QString error;
    QVERIFY2(db::compactFile(folder.databasePath(), target, &error), qPrintable(error));
    QVERIFY(QFileInfo(target).size() < QFileInfo(folder.databasePath()).size());
    auto copy = db::openConnection(target, "test");
    QSqlQuery q(copy->database());
    QVERIFY(q.exec("SELECT (SELECT count(*) FROM sqlite_master WHERE type = 'table'), (SELECT count(*) FROM "
                   "[Job Items])"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(),
             folder.scalar("SELECT count(*) FROM sqlite_master WHERE type = 'table'").toInt());
    QCOMPARE(q.value(1).toInt(), folder.scalar("SELECT count(*) FROM [Job Items]").toInt());
    // An existing target is never overwritten.
    QVERIFY(!db::compactFile(folder.databasePath(), target, &error));
}

QTEST_GUILESS_MAIN(DatabaseTest)
#include "tst_database.moc"
