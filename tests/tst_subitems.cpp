// The sub-items editor: the ten sub-item slots of the parent slot whose "&Sub Items" button opened it.
#include "catalog/customitems.h"
#include "catalog/slotpage.h"
#include "catalog/subcustomitems.h"
#include "catalog/tabstrip.h"
#include "platform/binding.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "tst_quotefixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tv;
using namespace tv::test;

class SubItemsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteFixture> f;

    void labelSubItems(int parent)
    {
        for (int k = 1; k <= 10; ++k)
            f->setSubItem(
                parent, k,
                catalogEntry(QStringLiteral("Sub %1.%2").arg(parent).arg(k), "Job", k, 10 * k, false));
    }
    QVariant stored(const QString& table, const QString& field, int parent) const
    {
        return f->folder.scalar(
            QStringLiteral("SELECT [%1] FROM [%2] WHERE RecordNo = %3").arg(field, table).arg(parent));
    }
    // The sub-items editor of a parent slot, shown without waiting and painted once.
    SubCustomItems* openSubItems(int parent)
    {
        const int page = CustomItems::pageOfSlot(parent);
        CustomItems::loadPage(page)->showModeless();
        auto* sub = Forms::loadKeyed<SubCustomItems>(
            page == 0 ? QStringLiteral("SubCustomItems") : QStringLiteral("SubCustomItems1"), page, parent);
        sub->show();
        if (!QTest::qWaitForWindowExposed(sub))
            qFatal("not shown");
        QTest::qWait(0);
        return sub;
    }

private slots:
    void init() { f = std::make_unique<QuoteFixture>(); }
    void cleanup() { f.reset(); }

    void beforeTheFirstRepaint()
    {
        auto* sub = Forms::loadKeyed<SubCustomItems>(QStringLiteral("SubCustomItems"), 0, 7);
        QCOMPARE(sub->windowTitle(), QStringLiteral("Sub Items #1"));
        QCOMPARE(sub->SSTab1()->count(), 10);
        for (int t = 0; t < 10; ++t) {
            QCOMPARE(sub->SSTab1()->tabText(t), QString::number(t + 1));
            QVERIFY(!sub->isConnected(t));
            SlotPage* p = sub->tab(t);
            QCOMPARE(p->Text1->maxLength(), 15);
            QCOMPARE(p->Text2->maxLength(), 50);
            QCOMPARE(p->Text3->maxLength(), 4);
            QCOMPARE(p->Text16->maxLength(), 4);
            QCOMPARE(p->Text6->maxLength(), 10);
            QCOMPARE(p->Check1->text(), QStringLiteral("Sub Item Default"));
            QCOMPARE(p->Command1->text(), QStringLiteral("Quote This &Sub Item"));
            QVERIFY(!p->Command101);
            QCOMPARE(sub->findChild<QLabel*>(QStringLiteral("Label2(%1)").arg(2 * t))->text(),
                     QStringLiteral("Item Label"));
            QCOMPARE(sub->findChild<QLabel*>(QStringLiteral("Label22(%1)").arg(t))->text(),
                     QStringLiteral("Qty. "));
        }
        QCOMPARE(sub->findChild<QPushButton*>(QStringLiteral("Command2"))->text(), QStringLiteral("E&xit"));
        // The other page's twin takes 4 characters in its first price box, as designed.
        auto* twin = Forms::loadKeyed<SubCustomItems>(QStringLiteral("SubCustomItems1"), 1, 25);
        QCOMPARE(twin->tab(0)->Text6->maxLength(), 4);
        QCOMPARE(twin->tab(1)->Text6->maxLength(), 10);
    }

    void openedFromTheButtonOfSlot_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("parent");
        QTest::newRow("slot 7 on the first page") << 0 << 6 << 7;
        QTest::newRow("tab 4 of the other page") << 1 << 4 << 25;
    }
    void openedFromTheButtonOfSlot()
    {
        QFETCH(int, page);
        QFETCH(int, tab);
        QFETCH(int, parent);
        labelSubItems(parent);
        labelSubItems(parent + 1);
        mainMenu()->setEditingFlag(true);
        CustomItems* editor = CustomItems::loadPage(page);
        editor->showModeless();
        // The caption follows the label box as shown, saved or not.
        editor->tab(tab)->Text1->setText(QStringLiteral("Unsaved label"));
        QString caption;
        QStringList tabs;
        QString firstName, source;
        bool buttonDown = false, editorWaits = false;
        whenModal([&](QWidget* window) {
            auto* sub = qobject_cast<SubCustomItems*>(window);
            QVERIFY(sub);
            QTRY_COMPARE(sub->windowTitle(), QStringLiteral("Unsaved label"));
            caption = sub->windowTitle();
            for (int t = 0; t < 10; ++t)
                tabs << sub->SSTab1()->tabText(t);
            firstName = sub->tab(0)->Text2->text();
            source = sub->Data1(0)->recordSource();
            buttonDown = editor->tab(tab)->Command1->isDown();
            editorWaits = !editor->isEnabled() || sub->isShownModal();
            sub->Command2_Click();
        });
        editor->Command1_Click(tab);
        QCOMPARE(caption, QStringLiteral("Unsaved label"));
        QStringList expected;
        for (int k = 1; k <= 10; ++k)
            expected << QStringLiteral("Sub %1.%2").arg(parent).arg(k);
        QCOMPARE(tabs, expected);
        QCOMPARE(firstName, QStringLiteral("Sub %1.1").arg(parent));
        QCOMPARE(source, QStringLiteral("Select * from SubItemName Where RecordNo = %1").arg(parent));
        QVERIFY(buttonDown);
        QVERIFY(editorWaits);
        QVERIFY(!editor->tab(tab)->Command1->isDown());
        QVERIFY(editor->isEnabled());
        QVERIFY(!SubCustomItems::loadedPage(page));
    }

    void aTabChangeStoresTheEditsAndShowsTheNextSlot()
    {
        labelSubItems(7);
        SubCustomItems* sub = openSubItems(7);
        sub->tab(0)->Text2->setText(QStringLiteral("Edited sub-item 1"));
        sub->tab(0)->Text1->setText(QStringLiteral("New label"));
        sub->SSTab1()->setCurrentIndex(3);
        QCOMPARE(stored(QStringLiteral("SubItemName"), QStringLiteral("SubItemName1"), 7).toString(),
                 QStringLiteral("Edited sub-item 1"));
        QCOMPARE(stored(QStringLiteral("SubItemLabel"), QStringLiteral("SubItemLabel1"), 7).toString(),
                 QStringLiteral("New label"));
        QCOMPARE(sub->SSTab1()->tabText(0), QStringLiteral("New label"));
        QVERIFY(sub->isConnected(3));
        QCOMPARE(sub->tab(3)->Text2->text(), QStringLiteral("Sub 7.4"));
        QCOMPARE(sub->tab(3)->Text16->text(), QStringLiteral("4"));
        // Other parents are untouched.
        QCOMPARE(stored(QStringLiteral("SubItemName"), QStringLiteral("SubItemName1"), 8).toString(),
                 QString());
    }

    void defaultMarkClearsTheOthersOfConnectedTabsOnly()
    {
        labelSubItems(7);
        f->folder.exec(QStringLiteral(
            "UPDATE SubItemDefault SET SubItemDefault5 = 1, SubItemDefault8 = 1 WHERE RecordNo = 7"));
        SubCustomItems* sub = openSubItems(7);
        sub->SSTab1()->setCurrentIndex(4); // sub-item 5: its set mark shows
        QVERIFY(sub->tab(4)->Check1->isChecked());
        sub->SSTab1()->setCurrentIndex(1);
        sub->tab(1)->Check1->click();
        QVERIFY(!sub->tab(4)->Check1->isChecked());
        QVERIFY(!sub->tab(7)->Check1->isChecked()); // on screen only: tab 8 is not connected
        QVERIFY(sub->saveStep());
        QCOMPARE(stored(QStringLiteral("SubItemDefault"), QStringLiteral("SubItemDefault2"), 7).toInt(), 1);
        QCOMPARE(stored(QStringLiteral("SubItemDefault"), QStringLiteral("SubItemDefault5"), 7).toInt(), 0);
        QCOMPARE(stored(QStringLiteral("SubItemDefault"), QStringLiteral("SubItemDefault8"), 7).toInt(), 1);
        // Selected later, the tab of sub-item 8 shows its stored mark.
        sub->SSTab1()->setCurrentIndex(7);
        QVERIFY(sub->tab(7)->Check1->isChecked());
    }

    void editingModeDisablesTheQuoteButtons_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::newRow("editing") << true;
        QTest::newRow("quoting") << false;
    }
    void editingModeDisablesTheQuoteButtons()
    {
        QFETCH(bool, editing);
        mainMenu()->setEditingFlag(editing);
        SubCustomItems* sub = openSubItems(3);
        for (int t = 0; t < 10; ++t)
            QCOMPARE(sub->tab(t)->Command1->isEnabled(), !editing);
    }

    void closingByTheFrameStoresTheEdits()
    {
        labelSubItems(12);
        SubCustomItems* sub = openSubItems(12);
        CustomItems* editor = CustomItems::loadedPage(0);
        editor->setEnabled(false);
        sub->tab(0)->Text5->setPlainText(QStringLiteral("Notes typed\non two lines"));
        sub->tab(0)->Combo1->setCurrentText(QStringLiteral("Used"));
        QVERIFY(sub->close());
        QCOMPARE(stored(QStringLiteral("SubItemNotes"), QStringLiteral("SubItemNotes1"), 12).toString(),
                 QStringLiteral("Notes typed\non two lines"));
        QCOMPARE(
            stored(QStringLiteral("SubItemCondition"), QStringLiteral("SubItemCondition1"), 12).toString(),
            QStringLiteral("Used"));
        QVERIFY(editor->isEnabled());
        QVERIFY(!SubCustomItems::loadedPage(0));
    }

    void aValueThatCannotBeStoredKeepsTheWindowOpen()
    {
        SubCustomItems* sub = openSubItems(12);
        sub->tab(0)->Text16->setText(QStringLiteral("a few"));
        QVERIFY(!sub->close());
        QCOMPARE(f->ui.lastMessage().style, int(vbCritical));
        sub->tab(0)->Text16->setText(QStringLiteral("3"));
        QVERIFY(sub->close());
        QCOMPARE(stored(QStringLiteral("SubItemQty"), QStringLiteral("SubItemQty1"), 12).toInt(), 3);
    }

    void quoteThisSubItem()
    {
        labelSubItems(7);
        const int job = f->addJob(QStringLiteral("Sub quoting"), QStringLiteral("12"), 10);
        f->pickListOnLastJob();
        SubCustomItems* sub = openSubItems(7);
        sub->SSTab1()->setCurrentIndex(4);
        sub->tab(4)->Combo3->setCurrentText(QStringLiteral("Lane"));
        sub->tab(4)->Text16->setText(QStringLiteral("2"));
        sub->tab(4)->Text6->setText(QStringLiteral("1000"));
        sub->Command1_Click(4);
        const auto lines = f->lines(job);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().value(0).toString(), QStringLiteral("Sub 7.5"));
        QCOMPARE(lines.first().value(1).toInt(), 24);
        QCOMPARE(lines.first().value(2).toDouble(), 1100.0);
        QCOMPARE(f->ui.lastMessage().text, QStringLiteral("This item has been added to your quote!"));
        // A price of 0 is asked for, with the sub-item's name, and stored without commission.
        sub->tab(4)->Text6->setText(QStringLiteral("0"));
        f->ui.answerInput(QStringLiteral("640"));
        sub->Command1_Click(4);
        QCOMPARE(f->ui.asked.at(f->ui.asked.size() - 2).text,
                 QStringLiteral("Enter the price you want to quote for Sub 7.5"));
        QCOMPARE(f->lines(job).last().value(2).toDouble(), 640.0);
    }
};

QTEST_MAIN(SubItemsTest)
#include "tst_subitems.moc"
