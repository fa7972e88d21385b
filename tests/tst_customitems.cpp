// The catalog editor: two pages of twenty item slots, editing and quoting modes, the save step and the exits.
#include "catalog/customitems.h"
#include "catalog/slotpage.h"
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
#include <QToolButton>

using namespace tv;
using namespace tv::test;

class CustomItemsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteFixture> f;

    // A page shown as the main window's "C&ustom Items" shows it, but without waiting.
    CustomItems* openForEditing(int page = 0)
    {
        mainMenu()->show();
        mainMenu()->setEditingFlag(true);
        CustomItems* editor = CustomItems::loadPage(page);
        editor->showModeless();
        return editor;
    }
    // The first page opened from the pick list on the last job, with the given slot checked.
    CustomItems* openForQuoting(int slot, PickList5** pickList = nullptr)
    {
        mainMenu()->show();
        PickList5* pick = f->pickListOnLastJob();
        pick->show();
        pick->setChecked(slot, true);
        pick->Command6_Click();
        if (pickList)
            *pickList = pick;
        return CustomItems::loadedPage(CustomItems::pageOfSlot(slot));
    }
    QString stored(const QString& table, const QString& field) const
    {
        return f->folder.scalar(QStringLiteral("SELECT [%1] FROM [%2]").arg(field, table)).toString();
    }

private slots:
    void init() { f = std::make_unique<QuoteFixture>(); }
    void cleanup() { f.reset(); }

    void everyTabHasItsControls_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("CustomItems") << 0;
        QTest::newRow("CustomItems1") << 1;
    }
    void everyTabHasItsControls()
    {
        QFETCH(int, page);
        CustomItems* editor = CustomItems::loadPage(page);
        QCOMPARE(editor->objectName(),
                 page == 0 ? QStringLiteral("CustomItems") : QStringLiteral("CustomItems1"));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Custom Items"));
        QCOMPARE(editor->SSTab1()->count(), 20);
        QCOMPARE(editor->findChild<QPushButton*>(QStringLiteral("Command3"))->text(),
                 QStringLiteral("&Other Page"));
        QCOMPARE(editor->findChild<QPushButton*>(QStringLiteral("Command2"))->text(),
                 QStringLiteral("E&xit"));
        for (int t = 0; t < 20; ++t) {
            // Until the first repaint the tabs carry their numbers.
            QCOMPARE(editor->SSTab1()->tabText(t), QString::number(t + 1));
            const auto find = [editor, t](const char* name) {
                QWidget* w =
                    editor->findChild<QWidget*>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(t));
                if (!w)
                    qFatal("no %s(%d)", name, t);
                return w;
            };
            QCOMPARE(static_cast<QLineEdit*>(find("Text1"))->maxLength(), 15);
            QCOMPARE(static_cast<QLineEdit*>(find("Text2"))->maxLength(), 50);
            QCOMPARE(static_cast<QLineEdit*>(find("Text3"))->maxLength(), 4);
            QCOMPARE(static_cast<QLineEdit*>(find("Text16"))->maxLength(), 4);
            QCOMPARE(static_cast<QLineEdit*>(find("Text6"))->maxLength(), page == 0 && t == 0 ? 4 : 10);
            QVERIFY(qobject_cast<QPlainTextEdit*>(find("Text5")));
            const auto items = [](QWidget* w) {
                QStringList l;
                auto* c = static_cast<QComboBox*>(w);
                if (c->isEditable())
                    l << QStringLiteral("(editable)");
                for (int i = 0; i < c->count(); ++i)
                    l << c->itemText(i);
                return l;
            };
            QCOMPARE(items(find("Combo2")), (QStringList{"A", "B", "C"}));
            const QStringList conditions = items(find("Combo1"));
            QCOMPARE(conditions.mid(0, 5),
                     (QStringList{"New", "Remanufactured", "Used", "Used-As Is", "N/A"}));
            QCOMPARE(items(find("Combo3")), (QStringList{"Lane", "Job", "Other"}));
            auto* check = static_cast<QCheckBox*>(find("Check1"));
            QCOMPARE(check->text(), QStringLiteral("Use as Default"));
            QCOMPARE(check->toolTip(), QStringLiteral("Click here and this item will always be quoted."));
            QCOMPARE(static_cast<QPushButton*>(find("Command1"))->text(), QStringLiteral("&Sub Items"));
            QCOMPARE(static_cast<QPushButton*>(find("Command101"))->text(),
                     QStringLiteral("Quote This Item"));
            QCOMPARE(static_cast<QLabel*>(find("Label1"))->text(), QStringLiteral("User Label"));
            QCOMPARE(static_cast<QLabel*>(find("Label2"))->text(), QStringLiteral("Item Name"));
            QCOMPARE(static_cast<QLabel*>(find("Label3"))->text(), QStringLiteral("Report Sorting"));
            QCOMPARE(static_cast<QLabel*>(find("Label4"))->text(), QStringLiteral("Schedule"));
            QCOMPARE(static_cast<QLabel*>(find("Label5"))->text(), QStringLiteral("Item Notes"));
            QCOMPARE(static_cast<QLabel*>(find("Label6"))->text(), QStringLiteral("Price Each"));
            QCOMPARE(static_cast<QLabel*>(find("Label7"))->text(), QStringLiteral("Condition"));
            QCOMPARE(editor->findChild<QLabel*>(QStringLiteral("Label22(%1)").arg(2 * t))->text(),
                     QStringLiteral("Qty. "));
            QCOMPARE(editor->findChild<QLabel*>(QStringLiteral("Label22(%1)").arg(2 * t + 1))->text(),
                     QStringLiteral("Per"));
        }
    }

    void tabsShowTheirSlots_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("slot");
        QTest::newRow("first page, first tab") << 0 << 0 << 1;
        QTest::newRow("first page, last tab") << 0 << 19 << 20;
        QTest::newRow("other page, first tab") << 1 << 0 << 21;
        QTest::newRow("other page, last tab") << 1 << 19 << 40;
    }
    void tabsShowTheirSlots()
    {
        QFETCH(int, page);
        QFETCH(int, tab);
        QFETCH(int, slot);
        f->setItem(slot, catalogEntry(QStringLiteral("Slot %1 item").arg(slot), "Other", 3, 12.5, true));
        CustomItems* editor = CustomItems::loadPage(page);
        SlotPage* p = editor->tab(tab);
        QCOMPARE(p->Text1->text(), QStringLiteral("Slot %1 item").arg(slot).left(15));
        QCOMPARE(p->Text2->text(), QStringLiteral("Slot %1 item").arg(slot));
        QCOMPARE(p->Text5->toPlainText(), QStringLiteral("Slot %1 item notes").arg(slot));
        QCOMPARE(p->Text6->text(), QStringLiteral("12.5"));
        QCOMPARE(p->Text16->text(), QStringLiteral("3"));
        QCOMPARE(p->Combo3->currentText(), QStringLiteral("Other"));
        QVERIFY(p->Check1->isChecked());
    }

    void tabStripHasTwoRowsOfTen()
    {
        CustomItems* editor = openForEditing();
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        const auto y = [editor](int t) {
            return editor->SSTab1()->tabButton(t)->mapTo(editor, QPoint()).y();
        };
        QCOMPARE(y(9), y(0));
        QCOMPARE(y(19), y(10));
        QVERIFY(y(10) != y(0));
    }

    void editingModeDisablesQuoteButtonsOnBothPages()
    {
        CustomItems* editor = openForEditing();
        for (int t = 0; t < 20; ++t)
            QVERIFY(!editor->tab(t)->Command101->isEnabled());
        editor->Command3_Click();
        CustomItems* other = CustomItems::loadedPage(1);
        QVERIFY(other);
        QVERIFY(mainMenu()->editingFlag());
        for (int t = 0; t < 20; ++t)
            QVERIFY(!other->tab(t)->Command101->isEnabled());
    }

    void quotingModeEnablesThem()
    {
        PickList5* pick = nullptr;
        CustomItems* editor = openForQuoting(3, &pick);
        QVERIFY(!pick->isEnabled());
        for (int t = 0; t < 20; ++t)
            QVERIFY(editor->tab(t)->Command101->isEnabled());
        editor->Command3_Click();
        for (int t = 0; t < 20; ++t)
            QVERIFY(CustomItems::loadedPage(1)->tab(t)->Command101->isEnabled());
        QVERIFY(!pick->isEnabled()); // still quoting from the pick list
    }

    void mainMenuEntryOpensTheFirstPageModally()
    {
        QVERIFY(mainMenu()->entry(QStringLiteral("MnuCustItems"))->isEnabled());
        bool flagWhileOpen = false;
        bool buttonsDisabled = false;
        int tab = -1;
        whenModal([&](QWidget* window) {
            auto* editor = qobject_cast<CustomItems*>(window);
            QVERIFY(editor);
            QCOMPARE(editor->page(), 0);
            flagWhileOpen = mainMenu()->editingFlag();
            buttonsDisabled = !editor->tab(0)->Command101->isEnabled();
            tab = editor->SSTab1()->currentIndex();
            editor->Command2_Click();
        });
        mainMenu()->show();
        mainMenu()->MnuCustItems_Click();
        QVERIFY(flagWhileOpen);
        QVERIFY(buttonsDisabled);
        QCOMPARE(tab, 0);
        QVERIFY(!mainMenu()->editingFlag());
        QVERIFY(mainMenu()->isVisible());
        QVERIFY(!CustomItems::loadedPage(0));
        QCOMPARE(f->ui.pointer(), Pointer::Default);
    }

    void exitRules_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("throughFrame");
        QTest::addColumn<bool>("otherPageFirst");
        QTest::newRow("editing, E&xit") << true << false << false;
        QTest::newRow("editing, window frame") << true << true << false;
        QTest::newRow("editing, other page, E&xit") << true << false << true;
        QTest::newRow("quoting, E&xit") << false << false << false;
        QTest::newRow("quoting, window frame") << false << true << false;
        QTest::newRow("quoting, other page, window frame") << false << true << true;
    }
    void exitRules()
    {
        QFETCH(bool, editing);
        QFETCH(bool, throughFrame);
        QFETCH(bool, otherPageFirst);
        PickList5* pick = nullptr;
        CustomItems* editor = editing ? openForEditing() : openForQuoting(2, &pick);
        if (otherPageFirst) {
            editor->Command3_Click();
            editor = CustomItems::loadedPage(1);
            QVERIFY(editor);
        }
        editor->tab(1)->Text2->setText(QStringLiteral("Typed before leaving"));
        if (throughFrame)
            QVERIFY(editor->close());
        else
            editor->Command2_Click();
        QVERIFY(!CustomItems::loadedPage(0) && !CustomItems::loadedPage(1));
        QVERIFY(!mainMenu()->editingFlag());
        QCOMPARE(mainMenu()->isVisible(), editing);
        if (pick)
            QVERIFY(pick->isEnabled());
        QCOMPARE(
            stored(QStringLiteral("ItemName"), QStringLiteral("ItemName%1").arg(otherPageFirst ? 22 : 2)),
            QStringLiteral("Typed before leaving"));
    }

    void typedLabelBecomesItsTabCaption()
    {
        CustomItems* editor = openForEditing();
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        QTRY_COMPARE(editor->SSTab1()->tabText(0), QStringLiteral("Pinsetters"));
        editor->tab(0)->Text1->setText(QStringLiteral("Pinspotters"));
        editor->SSTab1()->setCurrentIndex(3);
        QCOMPARE(stored(QStringLiteral("ItemLabel"), QStringLiteral("ItemLabel1")),
                 QStringLiteral("Pinspotters"));
        QCOMPARE(editor->SSTab1()->tabText(0), QStringLiteral("Pinspotters"));
        QCOMPARE(editor->SSTab1()->currentIndex(), 3);
    }

    void otherPageStoresEditsAndOpensSlot21()
    {
        CustomItems* editor = openForEditing();
        editor->SSTab1()->setCurrentIndex(4);
        editor->tab(4)->Text2->setText(QStringLiteral("Edited name of slot 5"));
        editor->tab(4)->Check1->setChecked(true);
        editor->Command3_Click();
        QCOMPARE(stored(QStringLiteral("ItemName"), QStringLiteral("ItemName5")),
                 QStringLiteral("Edited name of slot 5"));
        QCOMPARE(stored(QStringLiteral("ItemDefault"), QStringLiteral("ItemDefault5")), QStringLiteral("1"));
        QVERIFY(!CustomItems::loadedPage(0));
        CustomItems* other = CustomItems::loadedPage(1);
        QVERIFY(other && other->isVisible());
        QCOMPARE(other->SSTab1()->currentIndex(), 0);
        QCOMPARE(other->tab(0)->Text2->text(),
                 stored(QStringLiteral("ItemName"), QStringLiteral("ItemName21")));
        // And back again.
        other->Command3_Click();
        QVERIFY(!CustomItems::loadedPage(1));
        QCOMPARE(CustomItems::loadedPage(0)->tab(4)->Text2->text(), QStringLiteral("Edited name of slot 5"));
    }

    void pickListOpensThePageOfTheFirstCheckedSlot_data()
    {
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("tab");
        QTest::newRow("nothing checked") << QList<int>{} << 0 << 0;
        QTest::newRow("slots 30 and 3") << QList<int>{30, 3} << 0 << 2;
        QTest::newRow("only slot 21") << QList<int>{21} << 1 << 0;
        QTest::newRow("only slot 20") << QList<int>{20} << 0 << 19;
        QTest::newRow("slot 40") << QList<int>{40} << 1 << 19;
    }
    void pickListOpensThePageOfTheFirstCheckedSlot()
    {
        QFETCH(QList<int>, checked);
        QFETCH(int, page);
        QFETCH(int, tab);
        PickList5* pick = f->pickListOnLastJob();
        for (int slot : checked)
            pick->setChecked(slot, true);
        pick->Command6_Click();
        CustomItems* editor = CustomItems::loadedPage(page);
        QVERIFY(editor && editor->isVisible());
        QVERIFY(!CustomItems::loadedPage(1 - page));
        QCOMPARE(editor->SSTab1()->currentIndex(), tab);
        QVERIFY(!pick->isEnabled());
        QVERIFY(!editor->isShownModal());
        QCOMPARE(f->ui.pointer(), Pointer::Default);
    }

    void quoteThisItem_data()
    {
        QTest::addColumn<QString>("factor");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<double>("expectedQuantity");
        QTest::addColumn<double>("expectedPrice");
        QTest::newRow("Lane 2 x 12 lanes") << "Lane"
                                           << "2"
                                           << "1000" << QStringList{} << 24.0 << 1100.0;
        QTest::newRow("Job") << "Job"
                             << "2"
                             << "1000" << QStringList{} << 2.0 << 1100.0;
        QTest::newRow("price 0 asked, no commission") << "Job"
                                                      << "1"
                                                      << "0" << QStringList{"750"} << 1.0 << 750.0;
        QTest::newRow("empty price asked") << "Job"
                                           << "1"
                                           << "" << QStringList{"80"} << 1.0 << 80.0;
        QTest::newRow("Other asked") << "Other"
                                     << "9"
                                     << "10" << QStringList{"5"} << 5.0 << 11.0;
    }
    void quoteThisItem()
    {
        QFETCH(QString, factor);
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QStringList, answers);
        QFETCH(double, expectedQuantity);
        QFETCH(double, expectedPrice);
        const int job = f->addJob(QStringLiteral("Quoted singly"), QStringLiteral("12"), 10);
        CustomItems* editor = openForQuoting(3);
        SlotPage* p = editor->tab(2);
        // Shown values, not saved: the line takes them as they are on the tab.
        p->Text2->setText(QStringLiteral("Lanes, typed"));
        p->Combo3->setCurrentText(factor);
        p->Text16->setText(quantity);
        p->Text6->setText(price);
        for (const QString& a : answers)
            f->ui.answerInput(a);
        const QString storedPrice = stored(QStringLiteral("ItemPrice"), QStringLiteral("ItemPrice3"));
        editor->Command101_Click(2);
        const auto lines = f->lines(job);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().value(0).toString(), QStringLiteral("Lanes, typed"));
        QCOMPARE(lines.first().value(1).toDouble(), expectedQuantity);
        QCOMPARE(lines.first().value(2).toDouble(), expectedPrice);
        QCOMPARE(f->ui.lastMessage().text, QStringLiteral("This item has been added to your quote!"));
        QCOMPARE(f->ui.lastMessage().style, 0);
        for (const Asked& a : f->ui.asked)
            if (a.kind == u"input" && a.title == u"Quantity")
                QCOMPARE(a.text, QStringLiteral("Enter the quantity you want to quote for Lanes, typed"));
        // The catalog row receives the typed price only at the next save step.
        QCOMPARE(stored(QStringLiteral("ItemPrice"), QStringLiteral("ItemPrice3")), storedPrice);
        QVERIFY(editor->saveStep());
        QCOMPARE(stored(QStringLiteral("ItemPrice"), QStringLiteral("ItemPrice3")).toDouble(),
                 price.toDouble());
    }

    void quoteThisItemWritesNothingWhenCancelledOrWithoutLanes()
    {
        const int job = f->addJob(QStringLiteral("No lanes"), QString(), 10);
        CustomItems* editor = openForQuoting(3);
        editor->tab(2)->Combo3->setCurrentText(QStringLiteral("Lane"));
        editor->Command101_Click(2);
        QVERIFY(f->ui.lastMessage().text.contains(QStringLiteral("\"# of Lanes\"")));
        editor->tab(2)->Combo3->setCurrentText(QStringLiteral("Other"));
        f->ui.cancelInput();
        editor->Command101_Click(2);
        QVERIFY(f->lines(job).isEmpty());
        for (const Asked& a : f->ui.messages())
            QVERIFY(a.text != QStringLiteral("This item has been added to your quote!"));
    }

    void storedValuesOutsideTheListsAreKept()
    {
        // The starter catalog has slot 2 "Reconditioned", which the condition list does not offer.
        const int job = f->addJob(QStringLiteral("Kept"), QStringLiteral("4"), 0);
        CustomItems* editor = openForQuoting(2);
        QCOMPARE(editor->tab(1)->Combo1->currentText(), QStringLiteral("Reconditioned"));
        editor->Command101_Click(1);
        QCOMPARE(f->folder.scalar(
                     QStringLiteral("SELECT [Item Condition] FROM [Job Items] WHERE Recordno = %1").arg(job)),
                 QVariant(QStringLiteral("Reconditioned")));
        QVERIFY(editor->saveStep());
        QCOMPARE(stored(QStringLiteral("ItemCondition"), QStringLiteral("ItemCondition2")),
                 QStringLiteral("Reconditioned"));
    }

    void aValueThatCannotBeStoredKeepsTheEditorOpen()
    {
        CustomItems* editor = openForEditing();
        editor->tab(5)->Text6->setText(QStringLiteral("cheap"));
        editor->Command2_Click();
        QCOMPARE(f->ui.lastMessage().style, int(vbCritical));
        QVERIFY(CustomItems::loadedPage(0));
        QVERIFY(mainMenu()->editingFlag());
        // Corrected, it leaves.
        editor->tab(5)->Text6->setText(QStringLiteral("99"));
        editor->Command2_Click();
        QVERIFY(!CustomItems::loadedPage(0));
        QCOMPARE(stored(QStringLiteral("ItemPrice"), QStringLiteral("ItemPrice6")).toDouble(), 99.0);
    }
};

QTEST_MAIN(CustomItemsTest)
#include "tst_customitems.moc"
