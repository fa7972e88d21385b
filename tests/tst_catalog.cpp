// The item catalog model: 40 item slots and 10 sub-item slots under each, read and written by number.
#include "catalog/catalogmodel.h"
#include "database/connection.h"
#include "support/testsupport.h"

#include <QTest>

using namespace tv;
using namespace tv::test;
using catalog::Attribute;

Q_DECLARE_METATYPE(Attribute)

namespace {

// Distinct values for every attribute of one slot, so that a value read from the wrong field shows.
catalog::Entry distinctEntry(int seed)
{
    catalog::Entry e;
    e[Attribute::Label] = QStringLiteral("Label %1").arg(seed);
    e[Attribute::Name] = QStringLiteral("Name %1").arg(seed);
    e[Attribute::Category] = QString::number(1000 + seed);
    e[Attribute::Schedule] = QStringLiteral("C");
    e[Attribute::Notes] = QStringLiteral("Notes %1\nsecond line").arg(seed);
    e[Attribute::Price] = 10.5 + seed;
    e[Attribute::Condition] = QStringLiteral("Used-As Is");
    e[Attribute::Quantity] = 3 + seed;
    e[Attribute::Factor] = QStringLiteral("Other");
    e[Attribute::Default] = 1;
    return e;
}

void compareEntries(const catalog::Entry& actual, const catalog::Entry& expected)
{
    for (Attribute a : catalog::Attributes)
        QCOMPARE(actual[a].toString(), expected[a].toString());
}

} // namespace

class CatalogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    db::ConnectionPtr m_connection;

private slots:
    void init()
    {
        m_folder = std::make_unique<AppFolder>();
        m_connection = db::openConnection(m_folder->databasePath(), QStringLiteral("test"));
        QVERIFY(m_connection);
    }
    void cleanup()
    {
        m_connection.reset();
        m_folder.reset();
    }

    void itemNames_data()
    {
        QTest::addColumn<Attribute>("attribute");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::newRow("name 40") << Attribute::Name << 40 << "ItemName"
                                 << "ItemName40";
        QTest::newRow("notes 7: singular table, plural fields") << Attribute::Notes << 7 << "ItemNote"
                                                                << "ItemNotes7";
        QTest::newRow("factor 7: plural table, singular fields") << Attribute::Factor << 7 << "ItemFactors"
                                                                 << "ItemFactor7";
        QTest::newRow("label 1") << Attribute::Label << 1 << "ItemLabel"
                                 << "ItemLabel1";
        QTest::newRow("quantity 12") << Attribute::Quantity << 12 << "ItemQty"
                                     << "ItemQty12";
        QTest::newRow("default 21") << Attribute::Default << 21 << "ItemDefault"
                                    << "ItemDefault21";
    }
    void itemNames()
    {
        QFETCH(Attribute, attribute);
        QFETCH(int, slot);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QCOMPARE(catalog::itemTable(attribute), table);
        QCOMPARE(catalog::itemField(attribute, slot), field);
    }

    void subItemNames_data()
    {
        QTest::addColumn<Attribute>("attribute");
        QTest::addColumn<int>("subSlot");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::newRow("name 10") << Attribute::Name << 10 << "SubItemName"
                                 << "SubItemName10";
        QTest::newRow("notes: plural both") << Attribute::Notes << 3 << "SubItemNotes"
                                            << "SubItemNotes3";
        QTest::newRow("factor: plural table, singular fields") << Attribute::Factor << 3 << "SubItemFactors"
                                                               << "SubItemFactor3";
        QTest::newRow("quantity") << Attribute::Quantity << 1 << "SubItemQty"
                                  << "SubItemQty1";
    }
    void subItemNames()
    {
        QFETCH(Attribute, attribute);
        QFETCH(int, subSlot);
        QFETCH(QString, table);
        QFETCH(QString, field);
        QCOMPARE(catalog::subItemTable(attribute), table);
        QCOMPARE(catalog::subItemField(attribute, subSlot), field);
    }

    void subItemRowQueryText()
    {
        QCOMPARE(catalog::subItemRowQuery(Attribute::Name, 7),
                 QStringLiteral("Select * from SubItemName Where RecordNo = 7"));
        QCOMPARE(catalog::subItemRowQuery(Attribute::Factor, 40),
                 QStringLiteral("Select * from SubItemFactors Where RecordNo = 40"));
    }

    void everyNamedFieldExists()
    {
        for (Attribute a : catalog::Attributes) {
            for (int n = 1; n <= catalog::ItemSlots; ++n)
                m_folder->scalar(QStringLiteral("SELECT [%1] FROM [%2]")
                                     .arg(catalog::itemField(a, n), catalog::itemTable(a)));
            for (int k = 1; k <= catalog::SubItemSlots; ++k)
                m_folder->scalar(QStringLiteral("SELECT [%1] FROM [%2] WHERE RecordNo = 1")
                                     .arg(catalog::subItemField(a, k), catalog::subItemTable(a)));
        }
    }

    void itemSlotRoundTrip_data()
    {
        QTest::addColumn<int>("slot");
        QTest::newRow("1") << 1;
        QTest::newRow("7") << 7;
        QTest::newRow("40") << 40;
    }
    void itemSlotRoundTrip()
    {
        QFETCH(int, slot);
        const catalog::Catalog cat(m_connection);
        catalog::Entry before;
        catalog::Entry neighbour;
        const int other = slot == 40 ? 39 : slot + 1;
        QVERIFY(cat.readItem(other, &before));
        QVERIFY(cat.writeItem(slot, distinctEntry(slot)));
        catalog::Entry read;
        QVERIFY(cat.readItem(slot, &read));
        compareEntries(read, distinctEntry(slot));
        // Stored in the single catalog row, in the slot's own fields only.
        QCOMPARE(m_folder->scalar(QStringLiteral("SELECT count(*) FROM ItemName")).toInt(), 1);
        QCOMPARE(m_folder->scalar(QStringLiteral("SELECT ItemName%1 FROM ItemName").arg(slot)).toString(),
                 QStringLiteral("Name %1").arg(slot));
        QCOMPARE(m_folder->scalar(QStringLiteral("SELECT ItemNotes%1 FROM ItemNote").arg(slot)).toString(),
                 QStringLiteral("Notes %1\nsecond line").arg(slot));
        QCOMPARE(
            m_folder->scalar(QStringLiteral("SELECT ItemFactor%1 FROM ItemFactors").arg(slot)).toString(),
            QStringLiteral("Other"));
        QVERIFY(cat.readItem(other, &neighbour));
        compareEntries(neighbour, before);
    }

    void subItemSlotRoundTrip_data()
    {
        QTest::addColumn<int>("parent");
        QTest::addColumn<int>("subSlot");
        QTest::newRow("1 of 1") << 1 << 1;
        QTest::newRow("10 of 40") << 40 << 10;
        QTest::newRow("3 of 7") << 7 << 3;
    }
    void subItemSlotRoundTrip()
    {
        QFETCH(int, parent);
        QFETCH(int, subSlot);
        const catalog::Catalog cat(m_connection);
        QVERIFY(cat.writeSubItem(parent, subSlot, distinctEntry(parent * 100 + subSlot)));
        catalog::Entry read;
        QVERIFY(cat.readSubItem(parent, subSlot, &read));
        compareEntries(read, distinctEntry(parent * 100 + subSlot));
        QCOMPARE(m_folder
                     ->scalar(QStringLiteral("SELECT SubItemName%1 FROM SubItemName WHERE RecordNo = %2")
                                  .arg(subSlot)
                                  .arg(parent))
                     .toString(),
                 QStringLiteral("Name %1").arg(parent * 100 + subSlot));
        QCOMPARE(m_folder->scalar(QStringLiteral("SELECT count(*) FROM SubItemName")).toInt(), 40);
    }

    void sameSubSlotOfDifferentParentsIsIndependent()
    {
        const catalog::Catalog cat(m_connection);
        catalog::Entry before;
        QVERIFY(cat.readSubItem(8, 3, &before));
        QVERIFY(cat.writeSubItem(7, 3, distinctEntry(73)));
        catalog::Entry after;
        QVERIFY(cat.readSubItem(8, 3, &after));
        compareEntries(after, before);
    }

    void subItemRowIsFoundByRecordNoNotPosition()
    {
        // Row 5 moved to the end of the table: slot 5 is still its row.
        m_folder->exec(QStringLiteral("CREATE TABLE t AS SELECT * FROM SubItemName WHERE RecordNo = 5"));
        m_folder->exec(QStringLiteral("DELETE FROM SubItemName WHERE RecordNo = 5"));
        m_folder->exec(QStringLiteral("UPDATE t SET SubItemName2 = 'Moved row'"));
        m_folder->exec(QStringLiteral("INSERT INTO SubItemName SELECT * FROM t"));
        const catalog::Catalog cat(m_connection);
        catalog::Entry read;
        QVERIFY(cat.readSubItem(5, 2, &read));
        QCOMPARE(read[Attribute::Name].toString(), QStringLiteral("Moved row"));
        QVariantList names;
        QVERIFY(cat.readSubItemAttribute(5, Attribute::Name, &names));
        QCOMPARE(names.size(), 10);
        QCOMPARE(names.at(1).toString(), QStringLiteral("Moved row"));
    }

    void labelsInSlotOrder()
    {
        m_folder->exec(QStringLiteral("UPDATE ItemLabel SET ItemLabel40 = 'Last', ItemLabel1 = 'First'"));
        QStringList labels;
        QVERIFY(catalog::Catalog(m_connection).readLabels(&labels));
        QCOMPARE(labels.size(), 40);
        QCOMPARE(labels.first(), QStringLiteral("First"));
        QCOMPARE(labels.last(), QStringLiteral("Last"));
    }

    void slotNumbersOutsideTheCatalogAreRefused_data()
    {
        QTest::addColumn<int>("parent");
        QTest::addColumn<int>("subSlot");
        QTest::newRow("item 0") << 0 << 1;
        QTest::newRow("item 41") << 41 << 1;
        QTest::newRow("sub 0") << 1 << 0;
        QTest::newRow("sub 11") << 1 << 11;
    }
    void slotNumbersOutsideTheCatalogAreRefused()
    {
        QFETCH(int, parent);
        QFETCH(int, subSlot);
        const catalog::Catalog cat(m_connection);
        catalog::Entry e;
        QString error;
        QVERIFY(!cat.readSubItem(parent, subSlot, &e, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!cat.writeSubItem(parent, subSlot, distinctEntry(1), &error));
        if (subSlot == 1)
            QVERIFY(!cat.readItem(parent, &e, &error));
    }

    void numbersAreCheckedOnWrite()
    {
        auto e = distinctEntry(2);
        e[Attribute::Price] = QStringLiteral("not a price");
        QString error;
        QVERIFY(!catalog::Catalog(m_connection).writeItem(2, e, &error));
        QVERIFY(error.contains(QStringLiteral("ItemPrice2")));
    }

    void isSet_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("set");
        QTest::newRow("empty") << QVariant() << false;
        QTest::newRow("0") << QVariant(0) << false;
        QTest::newRow("1") << QVariant(1) << true;
        QTest::newRow("-1") << QVariant(-1) << true;
        QTest::newRow("true") << QVariant(true) << true;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("text empty") << QVariant(QString()) << false;
        QTest::newRow("text true") << QVariant(QStringLiteral("True")) << true;
        QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << false;
    }
    void isSet()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, set);
        QCOMPARE(catalog::isSet(value), set);
    }
};

QTEST_MAIN(CatalogTest)
#include "tst_catalog.moc"
