// Quote generation from the pick list: checked slots, their default check marks and sub-items, the questions,
// the order of the lines and the progress shown.
#include "platform/binding.h"
#include "tst_quotefixture.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>

using namespace tv;
using namespace tv::test;

namespace {

const QString ConfirmText =
    QStringLiteral("You are about to quote all items that are checked, and you already have "
                   "items for this customer quoted.\rAre you sure?");
const QString DoneText = QStringLiteral("Your quotation has been created per your requests!");
const QString NothingCheckedText = QStringLiteral("You need to select at least one item for your quote!");

} // namespace

class QuoteGenerationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteFixture> f;

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Asked& a : f->ui.messages())
            texts << a.text;
        return texts;
    }

private slots:
    void init() { f = std::make_unique<QuoteFixture>(); }
    void cleanup() { f.reset(); }

    void jobWithoutLinesIsQuotedWithoutQuestion()
    {
        const int job = f->addJob(QStringLiteral("New Lanes"), QStringLiteral("8"), 10);
        f->setItem(3, catalogEntry(QStringLiteral("Lane Surface"), "Job", 1, 100, true));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(3, true);
        pick->Command2_Click();
        QCOMPARE(messageTexts(), QStringList{DoneText});
        QCOMPARE(f->ui.lastMessage().style, 0);
        QCOMPARE(f->ui.lastMessage().title, QString());
        QCOMPARE(f->ui.asked.at(f->ui.asked.size() - 2).kind, QStringLiteral("beep"));
        QCOMPARE(f->lineNames(job), QStringList{"Lane Surface"});
        // The job had no lines: the lines binding now reads all of them.
        QCOMPARE(pick->Data1(2)->recordSource(), QStringLiteral("Select * from [Job Items]"));
        QCOMPARE(f->ui.pointer(), Pointer::Default);
        QVERIFY(pick->isChecked(3)); // check marks are left as they were
    }

    void jobWithLinesIsConfirmedFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("added");
        QTest::newRow("No writes nothing") << int(vbNo) << 0;
        QTest::newRow("Yes adds after the existing lines") << int(vbYes) << 1;
    }
    void jobWithLinesIsConfirmedFirst()
    {
        QFETCH(int, answer);
        QFETCH(int, added);
        // Job 1 of the prepared file has six lines; it is the only job, so the last one.
        f->setItem(3, catalogEntry(QStringLiteral("Lane Surface"), "Job", 1, 100, true));
        PickList5* pick = f->pickListOnLastJob();
        QCOMPARE(pick->currentJob().number, QStringLiteral("1"));
        pick->setChecked(3, true);
        f->ui.answerMessage(answer);
        pick->Command2_Click();
        QCOMPARE(f->ui.asked.first().kind, QStringLiteral("beep"));
        const Asked confirm = f->ui.messages().first();
        QCOMPARE(confirm.text, ConfirmText);
        QCOMPARE(confirm.title, QStringLiteral("Confirm!"));
        QCOMPARE(confirm.style, 292);
        QCOMPARE(f->lines(1).size(), 6 + added);
        QCOMPARE(f->ui.pointer(), Pointer::Default);
        if (added) {
            QCOMPARE(f->lineNames(1).last(), QStringLiteral("Lane Surface"));
            QCOMPARE(pick->Data1(2)->recordSource(),
                     QStringLiteral("Select * from [Job Items] where Recordno = 1"));
        } else {
            QCOMPARE(f->ui.messages().size(), 1);
        }
    }

    void confirmComesBeforeNothingChecked()
    {
        PickList5* pick = f->pickListOnLastJob();
        f->ui.answerMessage(vbYes);
        pick->Command2_Click();
        QCOMPARE(messageTexts(), (QStringList{ConfirmText, NothingCheckedText}));
        QCOMPARE(f->lines(1).size(), 6);
        QVERIFY(!pick->progressBar()->isVisibleTo(pick));
    }

    void runningTwiceAddsEveryLineTwice()
    {
        const int job = f->addJob(QStringLiteral("Twice"), QStringLiteral("6"), 0);
        f->setItem(5, catalogEntry(QStringLiteral("Capping"), "Lane", 1, 100, true));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(5, true);
        pick->Command2_Click();
        f->ui.answerMessage(vbYes);
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), (QStringList{"Capping", "Capping"}));
        QCOMPARE(f->lines(job).at(1).value(1).toInt(), 6);
    }

    void linesFollowSlotOrderThenSubItemOrder()
    {
        const int job = f->addJob(QStringLiteral("Order"), QStringLiteral("10"), 0);
        f->setItem(40, catalogEntry(QStringLiteral("Slot 40"), "Job", 1, 40, true));
        f->setItem(2, catalogEntry(QStringLiteral("Slot 2"), "Job", 1, 2, true));
        f->setItem(7, catalogEntry(QStringLiteral("Slot 7"), "Job", 1, 7, false));
        f->setSubItem(7, 9, catalogEntry(QStringLiteral("Sub 7.9"), "Job", 1, 79, true));
        f->setSubItem(7, 2, catalogEntry(QStringLiteral("Sub 7.2"), "Lane", 2, 72, true));
        f->setSubItem(7, 5, catalogEntry(QStringLiteral("Sub 7.5"), "Job", 1, 75, false));
        // Sub-items of a slot that is not checked are never looked at.
        f->setSubItem(8, 1, catalogEntry(QStringLiteral("Sub 8.1"), "Job", 1, 81, true));
        PickList5* pick = f->pickListOnLastJob();
        for (int slot : {40, 7, 2})
            pick->setChecked(slot, true);
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), (QStringList{"Slot 2", "Sub 7.2", "Sub 7.9", "Slot 40"}));
        for (const QVariantList& line : f->lines(job))
            QCOMPARE(line.value(3).toInt(), job);
        // A sub-item's "Lane" quantity is multiplied like an item's.
        QCOMPARE(f->lines(job).at(1).value(1).toInt(), 20);
        // Every checked slot requeries the sub-item bindings, the last one slot 40, with the texts of the
        // requery (two blanks in the last two).
        QCOMPARE(pick->Data1(13)->recordSource(),
                 QStringLiteral("Select * from SubItemName Where RecordNo = 40"));
        QCOMPARE(pick->Data1(11)->recordSource(),
                 QStringLiteral("Select * from SubItemFactors Where RecordNo = 40"));
        QCOMPARE(pick->Data1(19)->recordSource(),
                 QStringLiteral("Select * from SubItemNotes Where RecordNo =  40"));
        QCOMPARE(pick->Data1(20)->recordSource(),
                 QStringLiteral("Select * from SubItemDefault Where RecordNo =  40"));
        QCOMPARE(pick->findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), QStringLiteral("40"));
    }

    void defaultSlotIgnoresItsSubItems()
    {
        const int job = f->addJob(QStringLiteral("Default"), QStringLiteral("10"), 0);
        f->setItem(7, catalogEntry(QStringLiteral("Slot 7"), "Job", 1, 7, true));
        f->setSubItem(7, 2, catalogEntry(QStringLiteral("Sub 7.2"), "Job", 1, 72, true));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(7, true);
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), QStringList{"Slot 7"});
    }

    void progressCountsEveryCheckedSlot()
    {
        const int job = f->addJob(QStringLiteral("Progress"), QStringLiteral("10"), 0);
        f->setItem(1, catalogEntry(QStringLiteral("One"), "Job", 1, 1, true));
        f->setItem(2, catalogEntry(QStringLiteral("Two, nothing to quote"), "Job", 1, 2, false));
        f->setItem(3, catalogEntry(QStringLiteral("Three"), "Job", 1, 3, true));
        PickList5* pick = f->pickListOnLastJob();
        for (int slot : {1, 2, 3})
            pick->setChecked(slot, true);
        QSignalSpy values(pick->progressBar(), &QProgressBar::valueChanged);
        bool visibleAtTheEnd = false;
        int valueAtTheEnd = -1;
        Pointer pointerAtTheEnd = Pointer::Default;
        f->ui.onNextMessage([&]() {
            visibleAtTheEnd = pick->progressBar()->isVisibleTo(pick);
            valueAtTheEnd = pick->progressBar()->value();
            pointerAtTheEnd = f->ui.pointer();
        });
        pick->Command2_Click();
        QList<int> seen;
        for (const QList<QVariant>& v : values)
            seen << v.first().toInt();
        QCOMPARE(seen, (QList<int>{34, 67, 100, 0}));
        QVERIFY(visibleAtTheEnd);
        QCOMPARE(valueAtTheEnd, 100);
        QCOMPARE(pointerAtTheEnd, Pointer::Hourglass);
        QVERIFY(!pick->progressBar()->isVisibleTo(pick));
        QCOMPARE(f->lineNames(job), (QStringList{"One", "Three"}));
        QCOMPARE(pick->findChild<QLineEdit*>(QStringLiteral("Text25"))->text(), QStringLiteral("3"));
        QCOMPARE(pick->findChild<QLineEdit*>(QStringLiteral("Text27"))->text(), QStringLiteral("100"));
    }

    void progressPercentages_data()
    {
        QTest::addColumn<int>("checked");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("1") << 1 << QList<int>{100};
        QTest::newRow("2") << 2 << QList<int>{50, 100};
        QTest::newRow("7") << 7 << QList<int>{15, 29, 43, 58, 72, 86, 100};
    }
    void progressPercentages()
    {
        QFETCH(int, checked);
        QFETCH(QList<int>, expected);
        f->addJob(QStringLiteral("Progress"), QStringLiteral("10"), 0);
        PickList5* pick = f->pickListOnLastJob();
        for (int slot = 1; slot <= checked; ++slot)
            pick->setChecked(slot, true);
        QSignalSpy values(pick->progressBar(), &QProgressBar::valueChanged);
        pick->Command2_Click();
        QList<int> seen;
        for (const QList<QVariant>& v : values)
            seen << v.first().toInt();
        expected << 0;
        QCOMPARE(seen, expected);
    }

    void questionsOfOneRun()
    {
        const int job = f->addJob(QStringLiteral("Questions"), QStringLiteral("10"), 10);
        f->setItem(12, catalogEntry(QStringLiteral("Ball Racks"), "Other", 10, 0, true));
        f->setItem(13, catalogEntry(QStringLiteral("Rental Shoes"), "Other", 1, 50, true));
        f->setItem(14, catalogEntry(QStringLiteral("Lane Machine"), "Job", 1, 1000, true));
        f->setItem(3, catalogEntry(QStringLiteral("Lanes"), "Job", 1, 1, false));
        f->setSubItem(3, 2, catalogEntry(QStringLiteral("Lane Markings"), "Job", 1, 0, true));
        PickList5* pick = f->pickListOnLastJob();
        for (int slot : {3, 12, 13, 14})
            pick->setChecked(slot, true);
        f->ui.answerInput(QStringLiteral("300")); // price of the sub-item "Lane Markings"
        f->ui.answerInput(QStringLiteral("4"));   // quantity of "Ball Racks"
        f->ui.answerInput(QStringLiteral("420")); // its price
        f->ui.cancelInput();                      // "Rental Shoes": left out, the run goes on
        pick->Command2_Click();
        QStringList prompts;
        for (const Asked& a : f->ui.asked)
            if (a.kind == u"input")
                prompts << a.text;
        QCOMPARE(prompts, (QStringList{"Enter the price you want to quote for Lane Markings",
                                       "Enter the quantity you want to quote for Ball Racks !",
                                       "Enter the price you want to quote for Ball Racks",
                                       "Enter the quantity you want to quote for Rental Shoes !"}));
        QCOMPARE(f->lineNames(job), (QStringList{"Lane Markings", "Ball Racks", "Lane Machine"}));
        const auto lines = f->lines(job);
        QCOMPARE(lines.at(0).value(2).toDouble(), 300.0); // typed prices carry no commission
        QCOMPARE(lines.at(1).value(1).toInt(), 4);
        QCOMPARE(lines.at(1).value(2).toDouble(), 420.0);
        QCOMPARE(lines.at(2).value(2).toDouble(), 1100.0);
        QCOMPARE(f->ui.lastMessage().text, DoneText);
    }

    void unusableLaneCountStopsTheRunBeforeWriting_data()
    {
        QTest::addColumn<bool>("laneLineFromSubItem");
        QTest::newRow("item slot per lane") << false;
        QTest::newRow("sub-item per lane") << true;
    }
    void unusableLaneCountStopsTheRunBeforeWriting()
    {
        QFETCH(bool, laneLineFromSubItem);
        const int job = f->addJob(QStringLiteral("No Lanes"), QString(), 10);
        f->setItem(2, catalogEntry(QStringLiteral("Per Job"), "Job", 1, 100, true));
        if (laneLineFromSubItem) {
            f->setItem(30, catalogEntry(QStringLiteral("Parent"), "Job", 1, 100, false));
            f->setSubItem(30, 4, catalogEntry(QStringLiteral("Per Lane"), "Lane", 1, 100, true));
        } else {
            f->setItem(30, catalogEntry(QStringLiteral("Per Lane"), "Lane", 1, 100, true));
        }
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(2, true);
        pick->setChecked(30, true);
        QSignalSpy values(pick->progressBar(), &QProgressBar::valueChanged);
        pick->Command2_Click();
        QVERIFY(f->lines(job).isEmpty());
        QCOMPARE(f->ui.messages().size(), 1);
        QVERIFY(f->ui.lastMessage().text.contains(
            QStringLiteral("job %1 (field \"# of Lanes\") is empty").arg(job)));
        QVERIFY(values.isEmpty());
        QCOMPARE(f->ui.pointer(), Pointer::Default);
    }

    void laneCountIsNotNeededWithoutPerLaneLines()
    {
        const int job = f->addJob(QStringLiteral("No Lanes"), QStringLiteral("n/a"), 10);
        f->setItem(2, catalogEntry(QStringLiteral("Per Job"), "Job", 1, 100, true));
        // A per-lane sub-item whose default check mark is clear makes no line.
        f->setItem(30, catalogEntry(QStringLiteral("Parent"), "Job", 1, 100, false));
        f->setSubItem(30, 4, catalogEntry(QStringLiteral("Per Lane"), "Lane", 1, 100, false));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(2, true);
        pick->setChecked(30, true);
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), QStringList{"Per Job"});
    }

    void emptySubItemCheckMarksAreNotSet()
    {
        // After a template recall the table is a plain copy, where a check mark may be empty.
        f->folder.exec(QStringLiteral("CREATE TABLE x AS SELECT * FROM SubItemDefault"));
        f->folder.exec(QStringLiteral("DROP TABLE SubItemDefault"));
        f->folder.exec(QStringLiteral("ALTER TABLE x RENAME TO SubItemDefault"));
        const int job = f->addJob(QStringLiteral("Empty marks"), QStringLiteral("10"), 0);
        f->setItem(9, catalogEntry(QStringLiteral("Seating"), "Job", 1, 100, false));
        f->setSubItem(9, 1, catalogEntry(QStringLiteral("Tables"), "Job", 1, 100, true));
        f->setSubItem(9, 2, catalogEntry(QStringLiteral("Chairs"), "Job", 1, 100, true));
        f->folder.exec(QStringLiteral("UPDATE SubItemDefault SET SubItemDefault1 = NULL WHERE RecordNo = 9"));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(9, true);
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), QStringList{"Chairs"});
    }

    void linesKeepTheirValuesWhenTheCatalogChanges()
    {
        const int job = f->addJob(QStringLiteral("Copy"), QStringLiteral("10"), 0);
        f->setItem(4, catalogEntry(QStringLiteral("Scoring"), "Job", 1, 5200, true));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(4, true);
        pick->Command2_Click();
        f->setItem(4, catalogEntry(QStringLiteral("Scoring, new model"), "Job", 1, 6000, true));
        QCOMPARE(f->lineNames(job), QStringList{"Scoring"});
        QCOMPARE(f->lines(job).first().value(2).toDouble(), 5200.0);
    }

    void subItemValuesAreReadAgainBeforeEveryLine()
    {
        // While the price of sub-item 2 is asked for, sub-item 3 is changed in the database: its line has the
        // stored values of that moment.
        class ChangingCatalog : public ScriptedInteractive
        {
        public:
            QuoteFixture* fixture = nullptr;
            InputAnswer inputBox(const QString& prompt, const QString& title, const QString& def) override
            {
                fixture->folder.exec(
                    QStringLiteral("UPDATE SubItemName SET SubItemName3 = 'Changed meanwhile' "
                                   "WHERE RecordNo = 6"));
                fixture->folder.exec(
                    QStringLiteral("UPDATE SubItemPrice SET SubItemPrice3 = 77 WHERE RecordNo = 6"));
                return ScriptedInteractive::inputBox(prompt, title, def);
            }
        } ui;
        ui.fixture = f.get();
        const int job = f->addJob(QStringLiteral("Fresh"), QStringLiteral("10"), 0);
        f->setItem(6, catalogEntry(QStringLiteral("Gutters"), "Job", 1, 1, false));
        f->setSubItem(6, 2, catalogEntry(QStringLiteral("Liners"), "Job", 1, 0, true));
        f->setSubItem(6, 3, catalogEntry(QStringLiteral("Caps"), "Job", 1, 5, true));
        PickList5* pick = f->pickListOnLastJob();
        pick->setChecked(6, true);
        ui.answerInput(QStringLiteral("12"));
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), (QStringList{"Liners", "Changed meanwhile"}));
        QCOMPARE(f->lines(job).at(1).value(2).toDouble(), 77.0);
        QCOMPARE(pick->Data1(13)->value(QStringLiteral("SubItemName3")).toString(),
                 QStringLiteral("Changed meanwhile"));
    }

    void catalogAndJobAreQuotedAsStoredAtTheRun()
    {
        // Changed after the pick list read them, as the catalog editor and the job sheet may do meanwhile.
        const int job = f->addJob(QStringLiteral("Changing"), QStringLiteral("8"), 0);
        PickList5* pick = f->pickListOnLastJob();
        f->setItem(5, catalogEntry(QStringLiteral("Changed in the editor"), "Lane", 2, 10, true));
        f->folder.exec(QStringLiteral("UPDATE [Job Information] SET [# of Lanes] = '20', Commission = 50 "
                                      "WHERE AutoNumber = %1")
                           .arg(job));
        pick->setChecked(5, true);
        pick->Command2_Click();
        QCOMPARE(f->lineNames(job), QStringList{"Changed in the editor"});
        QCOMPARE(f->lines(job).first().value(1).toInt(), 40);
        QCOMPARE(f->lines(job).first().value(2).toDouble(), 15.0);
        QCOMPARE(pick->currentJob().lanes, QStringLiteral("20"));
    }

    void aJobDeletedMeanwhileIsNotQuoted()
    {
        f->addJob(QStringLiteral("Kept"), QStringLiteral("8"), 0);
        const int job = f->addJob(QStringLiteral("Deleted"), QStringLiteral("8"), 0);
        f->setItem(5, catalogEntry(QStringLiteral("Capping"), "Job", 1, 10, true));
        PickList5* pick = f->pickListOnLastJob();
        f->folder.exec(QStringLiteral("DELETE FROM [Job Information] WHERE AutoNumber = %1").arg(job));
        pick->setChecked(5, true);
        pick->Command2_Click();
        QVERIFY(f->ui.lastMessage().text.contains(QStringLiteral("Job %1 is no longer").arg(job)));
        QCOMPARE(f->folder.scalar(QStringLiteral("SELECT count(*) FROM [Job Items]")).toInt(), 6);
    }

    void commissionIsTheJobsField()
    {
        f->addJob(QStringLiteral("First"), QStringLiteral("10"), 5);
        const int job = f->addJob(QStringLiteral("Second"), QStringLiteral("10"), 20);
        f->setItem(1, catalogEntry(QStringLiteral("Pinsetter"), "Job", 1, 1000, true));
        PickList5* pick = f->pickListOnLastJob();
        QCOMPARE(pick->currentJob().commission.toDouble(), 20.0);
        pick->setChecked(1, true);
        pick->Command2_Click();
        QCOMPARE(f->lines(job).first().value(2).toDouble(), 1200.0);
    }
};

QTEST_MAIN(QuoteGenerationTest)
#include "tst_quotegeneration.moc"
