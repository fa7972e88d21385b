// The pick list window: the current job, the check marks and their labels, and the quoted items of the job.
#include "platform/binding.h"
#include "platform/clicklabel.h"
#include "platform/navigator.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "tst_quotefixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

using namespace tv;
using namespace tv::test;

class PickListTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteFixture> f;

    static QString text(const QWidget* w, const char* name)
    {
        return w->findChild<QLabel*>(QLatin1String(name))->text();
    }
    static bool shown(const QWidget* window, const char* name)
    {
        return window->findChild<QWidget*>(QLatin1String(name))->isVisibleTo(window);
    }

private slots:
    void init() { f = std::make_unique<QuoteFixture>(); }
    void cleanup() { f.reset(); }

    void loadedState()
    {
        PickList5* pick = Forms::load<PickList5>();
        QCOMPARE(pick->windowTitle(), QStringLiteral("Pick List"));
        QVERIFY(shown(pick, "SSCommand1"));
        QCOMPARE(pick->findChild<QPushButton*>(QStringLiteral("SSCommand1"))->text(),
                 QStringLiteral("Click Here, Then Select the Correct Job Number"));
        for (const char* hidden : {"SSDBData1", "Command2", "Command6", "Command7", "ccrpProgressBar1",
                                   "Text1", "Text25", "Text26", "Text27"})
            QVERIFY2(!shown(pick, hidden), hidden);
        QVERIFY(shown(pick, "Command1"));
        QCOMPARE(pick->findChild<RecordNavigator*>(QStringLiteral("SSDBData1"))->caption(),
                 QStringLiteral("Step Through  Jobs"));
        const QStringList labels = {"Pinsetters", "82-70 Pinsetter", "Lanes"};
        for (int k = 0; k < 40; ++k) {
            QVERIFY(!pick->Check1(k)->isChecked());
            const QString expected =
                f->folder.scalar(QStringLiteral("SELECT ItemLabel%1 FROM ItemLabel").arg(k + 1)).toString();
            QCOMPARE(pick->findChild<ClickLabel*>(QStringLiteral("Label1(%1)").arg(k))->text(), expected);
        }
        QCOMPARE(pick->findChild<ClickLabel*>(QStringLiteral("Label1(2)"))->text(), QStringLiteral("Lanes"));
        QCOMPARE(text(pick, "Label44"), QStringLiteral("Job ID #"));
        QCOMPARE(text(pick, "Label45"), QStringLiteral("Job Name"));
        QCOMPARE(text(pick, "Label46"), QStringLiteral("Customer"));
        QCOMPARE(text(pick, "Label49"), QStringLiteral("Quotation Type"));
        QCOMPARE(text(pick, "Label47"), QStringLiteral("Number of Lanes"));
        QCOMPARE(f->ui.pointer(), Pointer::Arrow);
    }

    void buttonsAndMenu_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::newRow("Command2") << "Command2"
                                  << "&Auto Generate Quote"
                                  << "Click here to quote all items checked below.";
        QTest::newRow("Command6") << "Command6"
                                  << "&Quote Individual Items"
                                  << "Click here to quote individual items.";
        QTest::newRow("Command7") << "Command7"
                                  << "&Modify Quoted Items"
                                  << "Click here to modify the items quoted for this customer only.";
        QTest::newRow("Command1") << "Command1"
                                  << "E&xit"
                                  << "";
    }
    void buttonsAndMenu()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        PickList5* pick = Forms::load<PickList5>();
        auto* button = pick->findChild<QPushButton*>(name);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), tip);
        QStringList entries;
        for (QAction* a : pick->findChild<QMenu*>(QStringLiteral("mnuCheckMarks"))->actions())
            entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(entries, (QStringList{"Select All", "Clear All", "-", "Save", "Recall"}));
        QCOMPARE(pick->findChild<QMenu*>(QStringLiteral("mnuCheckMarks"))->title(),
                 QStringLiteral("Template"));
    }

    void gridHasFourColumnsOfTen()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->show();
        QVERIFY(QTest::qWaitForWindowExposed(pick));
        const auto pos = [pick](int k) { return pick->Check1(k)->mapTo(pick, QPoint()); };
        for (int k = 1; k < 40; ++k) {
            if (k % 10 == 0) {
                QCOMPARE(pos(k).y(), pos(0).y());     // a new column starts at the top
                QVERIFY(pos(k).x() > pos(k - 1).x()); // to the right of the one before
            } else {
                QCOMPARE(pos(k).x(), pos(k - 1).x());
                QVERIFY(pos(k).y() > pos(k - 1).y());
            }
        }
    }

    void selectingTheJobShowsTheLastJobAndClearsMarks()
    {
        f->addJob(QStringLiteral("Second Lanes"), QStringLiteral("16"), 5);
        PickList5* pick = Forms::load<PickList5>();
        QCOMPARE(text(pick, "Label41"), QStringLiteral("1")); // the first row until then
        pick->setChecked(5, true);
        pick->setChecked(40, true);
        pick->SSCommand1_Click();
        QVERIFY(!shown(pick, "SSCommand1"));
        for (const char* visible : {"SSDBData1", "Command2", "Command6", "Command7"})
            QVERIFY2(shown(pick, visible), visible);
        QCOMPARE(text(pick, "Label41"), QStringLiteral("2"));
        QCOMPARE(text(pick, "Label42"), QStringLiteral("Second Lanes"));
        QCOMPARE(text(pick, "Label43"), QStringLiteral("Customer of Second Lanes"));
        QCOMPARE(text(pick, "Label50"), QStringLiteral("A-2"));
        QCOMPARE(text(pick, "Label48"), QStringLiteral("16"));
        for (int slot = 1; slot <= 40; ++slot)
            QVERIFY(!pick->isChecked(slot));
        // The navigator steps the current job.
        pick->findChild<RecordNavigator*>(QStringLiteral("SSDBData1"))
            ->findChild<QAbstractButton*>(QStringLiteral("Previous"))
            ->click();
        QCOMPARE(pick->currentJob().number, QStringLiteral("1"));
        QCOMPARE(pick->currentJob().lanes, QStringLiteral("12"));
        QCOMPARE(pick->currentJob().commission.toDouble(), 10.0);
    }

    void jobsAddedLaterAreFound()
    {
        PickList5* pick = Forms::load<PickList5>();
        const int job = f->addJob(QStringLiteral("Added while open"), QStringLiteral("4"), 0);
        pick->SSCommand1_Click();
        QCOMPARE(pick->currentJob().number, QString::number(job));
    }

    void labelClickOnlyChecks()
    {
        PickList5* pick = Forms::load<PickList5>();
        auto* label = pick->findChild<ClickLabel*>(QStringLiteral("Label1(6)"));
        emit label->clicked();
        QVERIFY(pick->isChecked(7));
        emit label->clicked();
        QVERIFY(pick->isChecked(7));
        for (int slot = 1; slot <= 40; ++slot)
            QCOMPARE(pick->isChecked(slot), slot == 7);
    }

    void selectAllAndClearAll()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->setChecked(3, true);
        pick->MnuCheckMarksAll_Click();
        for (int slot = 1; slot <= 40; ++slot)
            QVERIFY(pick->isChecked(slot));
        pick->mnuCheckMarksNone_Click();
        for (int slot = 1; slot <= 40; ++slot)
            QVERIFY(!pick->isChecked(slot));
    }

    void labelsChangedElsewhereShowAtTheNextRepaint()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->show();
        QVERIFY(QTest::qWaitForWindowExposed(pick));
        QTest::qWait(0);
        f->folder.exec(QStringLiteral("UPDATE ItemLabel SET ItemLabel3 = 'New Lanes'"));
        pick->repaint();
        QTRY_COMPARE(pick->findChild<ClickLabel*>(QStringLiteral("Label1(2)"))->text(),
                     QStringLiteral("New Lanes"));
    }

    void modifyQuotedItemsWithoutLines()
    {
        f->addJob(QStringLiteral("No lines"), QStringLiteral("4"), 0);
        PickList5* pick = f->pickListOnLastJob();
        pick->Command7_Click();
        QCOMPARE(f->ui.asked.first().kind, QStringLiteral("beep"));
        QCOMPARE(f->ui.messages().size(), 1);
        QCOMPARE(f->ui.lastMessage().text, QStringLiteral("There are no items quoted for this customer!"));
        QCOMPARE(f->ui.lastMessage().style, 0);
        QCOMPARE(f->ui.lastMessage().title, QString());
        QCOMPARE(pick->Data1(2)->recordSource(), QStringLiteral("Select * from [Job Items]"));
        QCOMPARE(pick->Data1(2)->recordCount(), 6);
        QCOMPARE(f->ui.pointer(), Pointer::Default);
    }

    void modifyQuotedItemsShowsTheJobsLinesInOrder()
    {
        f->folder.exec(
            QStringLiteral("INSERT INTO [Job Items] (Recordno, [Item Name], Schedule, [Item Category]) "
                           "VALUES (1, 'Late A line', 'A', 2), (5, 'Other job', 'A', 1)"));
        PickList5* pick = f->pickListOnLastJob();
        int rowsShown = -1;
        bool modal = false;
        whenModal([&](QWidget* window) {
            modal = true;
            // The editor works on the pick list's record set of the job's lines.
            rowsShown = pick->Data1(2)->recordCount();
            window->close();
        });
        pick->Command7_Click();
        QVERIFY(modal);
        QCOMPARE(rowsShown, 7);
        QCOMPARE(pick->Data1(2)->recordSource(),
                 QStringLiteral(
                     "Select * from [Job Items] where Recordno = 1 Order by [RecordNo] ASC, [Schedule] ASC, "
                     "[Item Category] ASC "));
        const auto rs = pick->Data1(2)->recordset();
        QStringList order;
        for (int row = 0; row < rs->count(); ++row)
            order << rs->valueAt(row, rs->fieldIndex(QStringLiteral("Item Name"))).toString();
        QCOMPARE(order.first(), QStringLiteral("Late A line"));               // category 2 before category 10
        QCOMPARE(order.last(), QStringLiteral("Installation & Supervision")); // schedule C last
        QVERIFY(f->ui.messages().isEmpty());
    }

    void withoutJobsNothingIsOffered()
    {
        f->folder.exec(QStringLiteral("DELETE FROM [Job Information]"));
        PickList5* pick = Forms::load<PickList5>();
        QVERIFY(!pick->hasJob());
        pick->SSCommand1_Click();
        QVERIFY(f->ui.lastMessage().text.startsWith(QStringLiteral("There are no jobs yet.")));
        QVERIFY(shown(pick, "SSCommand1"));
        for (const char* hidden : {"Command2", "Command6", "Command7"})
            QVERIFY2(!shown(pick, hidden), hidden);
        // Called all the same, the actions build no SQL text from an empty job number.
        const int before = f->ui.messages().size();
        pick->setChecked(1, true);
        pick->Command2_Click();
        pick->Command7_Click();
        QCOMPARE(f->ui.messages().size(), before + 2);
        QVERIFY(f->ui.lastMessage().text.startsWith(QStringLiteral("There is no job to quote for.")));
        QCOMPARE(pick->Data1(2)->recordSource(), QStringLiteral("Job Items"));
        QCOMPARE(f->folder.scalar(QStringLiteral("SELECT count(*) FROM [Job Items]")).toInt(), 6);
    }

    void exitUnloadsAndShowsTheMainWindow()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->show();
        pick->Command1_Click();
        QVERIFY(!Forms::isLoaded<PickList5>());
        QVERIFY(mainMenu()->isVisible());
    }

    void mainWindowOpensThePickListOnce()
    {
        MainMenu* main = mainMenu();
        main->Image3_DblClick();
        PickList5* first = Forms::loaded<PickList5>();
        QVERIFY(first && first->isVisible());
        main->Label3_Click();
        QCOMPARE(Forms::loaded<PickList5>(), first);
        QCOMPARE(f->ui.pointer(), Pointer::Arrow);
    }
};

QTEST_MAIN(PickListTest)
#include "tst_picklist.moc"
