// Check-mark templates: saving and recalling the pick list's check marks with the catalog's default check
// marks.
#include "platform/binding.h"
#include "quote/templates.h"
#include "tst_quotefixture.h"

#include <QLineEdit>
#include <QTableView>

using namespace tv;
using namespace tv::test;

namespace {

const QString SaveQuestion =
    QStringLiteral("Do you want to save all checkmarks shown and all default checkmarks as your template?");

} // namespace

class TemplatesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QuoteFixture> f;

    QList<QVariantList> table(const QString& name) const
    {
        const bool perSlot = name.contains(QStringLiteral("SubItemDefault"));
        return f->folder.rows(QStringLiteral("SELECT * FROM [%1]%2")
                                  .arg(name, perSlot ? QStringLiteral(" ORDER BY RecordNo") : QString()));
    }
    QList<int> savedMarks(int recordNo) const
    {
        QList<int> found;
        const QVariantList row =
            f->folder.rows(QStringLiteral("SELECT * FROM UserData WHERE RecordNo = %1").arg(recordNo))
                .first();
        // RecordNo, UserLabel, User1 ... User40
        for (int k = 1; k <= 40; ++k)
            if (row.value(k + 1).toInt() != 0)
                found << k;
        return found;
    }
    static QList<int> checkedSlots(const PickList5* pick)
    {
        QList<int> found;
        for (int slot = 1; slot <= 40; ++slot)
            if (pick->isChecked(slot))
                found << slot;
        return found;
    }
    // Chooses the template in the list when it comes up, then presses "&OK" (or the close box).
    void choose(int recordNo, bool closeBox = false, QString* title = nullptr, QString* gridCaption = nullptr)
    {
        whenModal([=](QWidget* window) {
            auto* list = qobject_cast<UserTemplate*>(window);
            QVERIFY(list);
            if (title)
                *title = list->windowTitle();
            if (gridCaption)
                *gridCaption = list->gridCaption();
            QAbstractItemModel* model = list->SSDBGrid1()->model();
            for (int row = 0; row < model->rowCount(); ++row)
                if (model->index(row, 0).data().toInt() == recordNo)
                    list->SSDBGrid1()->setCurrentIndex(model->index(row, 1));
            if (closeBox)
                list->close();
            else
                list->Command1_Click();
        });
    }
    void save(PickList5* pick, int recordNo)
    {
        f->ui.answerMessage(vbYes);
        f->ui.answerMessage(vbYes);
        choose(recordNo);
        pick->mnuCheckMarksSave_Click();
    }
    void recall(PickList5* pick, int recordNo)
    {
        choose(recordNo);
        pick->MnuCheckMarksRecall_Click();
    }

private slots:
    void init() { f = std::make_unique<QuoteFixture>(); }
    void cleanup() { f.reset(); }

    void saveThenRecallRestoresMarksAndDefaults()
    {
        f->folder.exec(QStringLiteral("UPDATE UserData SET UserLabel = 'Bowling Center' WHERE RecordNo = 3"));
        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault3 = 1, ItemDefault21 = 1"));
        f->folder.exec(QStringLiteral("UPDATE SubItemDefault SET SubItemDefault2 = 1 WHERE RecordNo = 7"));
        PickList5* pick = Forms::load<PickList5>();
        for (int slot : {1, 5, 40})
            pick->setChecked(slot, true);
        save(pick, 3);

        const auto questions = f->ui.messages();
        QCOMPARE(questions.size(), 2);
        QCOMPARE(questions.at(0).text, SaveQuestion);
        QCOMPARE(questions.at(1).text,
                 QStringLiteral("You are about to save all checkmarks to your template called "
                                "Bowling Center ! \rAre you sure you want to do this?"));
        for (const Asked& q : questions) {
            QCOMPARE(q.title, QStringLiteral("Warning"));
            QCOMPARE(q.style, 292);
        }
        QCOMPARE(savedMarks(3), (QList<int>{1, 5, 40}));
        const auto items = table(QStringLiteral("ItemDefault"));
        const auto subItems = table(QStringLiteral("SubItemDefault"));
        QCOMPARE(table(QStringLiteral("UserItemDefault3")), items);
        QCOMPARE(table(QStringLiteral("UserSubItemDefault3")), subItems);
        QCOMPARE(pick->Data3()->recordSource(), QStringLiteral("Select * from [UserData] "));
        QCOMPARE(pick->Data3()->recordCount(), 10);
        QVERIFY(!Forms::isLoaded<UserTemplate>());

        // Other marks and other defaults meanwhile.
        pick->mnuCheckMarksNone_Click();
        pick->setChecked(2, true);
        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault3 = 0, ItemDefault10 = 1"));
        f->folder.exec(QStringLiteral("UPDATE SubItemDefault SET SubItemDefault2 = 0, SubItemDefault5 = 1"));
        const int asked = f->ui.messages().size();
        recall(pick, 3);
        QCOMPARE(f->ui.messages().size(), asked); // recalling asks nothing
        QCOMPARE(checkedSlots(pick), (QList<int>{1, 5, 40}));
        QCOMPARE(table(QStringLiteral("ItemDefault")), items);
        QCOMPARE(table(QStringLiteral("SubItemDefault")), subItems);
        // The pick list reads the restored tables.
        QCOMPARE(pick->Data1(1)->recordSource(), QStringLiteral("ItemDefault"));
        QVERIFY(catalog::isSet(pick->Data1(1)->value(QStringLiteral("ItemDefault3"))));
        QVERIFY(!catalog::isSet(pick->Data1(1)->value(QStringLiteral("ItemDefault10"))));
        QCOMPARE(pick->Data1(20)->recordSource(), QStringLiteral("SubItemDefault"));
        QCOMPARE(pick->Data1(20)->recordCount(), 40);
        QCOMPARE(pick->Data3()->recordSource(), QStringLiteral("Select * from [UserData]"));
        QVERIFY(!Forms::isLoaded<UserTemplate>());
        // The restored tables keep their field names: the catalog still reads and writes them.
        f->setItem(3, catalogEntry(QStringLiteral("After recall"), "Job", 1, 1, false));
        QCOMPARE(f->folder.scalar(QStringLiteral("SELECT ItemDefault3 FROM ItemDefault")).toInt(), 0);
    }

    void recallClearsTheMarksFirst()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->MnuCheckMarksAll_Click();
        recall(pick, 2); // template 2 has no marks
        QVERIFY(checkedSlots(pick).isEmpty());
    }

    void theListIsCaptionedByTheOperation_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::newRow("save") << true;
        QTest::newRow("recall") << false;
    }
    void theListIsCaptionedByTheOperation()
    {
        QFETCH(bool, saving);
        PickList5* pick = Forms::load<PickList5>();
        QString title, caption;
        choose(1, false, &title, &caption);
        if (saving) {
            f->ui.answerMessage(vbYes);
            f->ui.answerMessage(vbNo);
            pick->mnuCheckMarksSave_Click();
        } else {
            pick->MnuCheckMarksRecall_Click();
        }
        const QString expected = saving ? QStringLiteral("Save Template") : QStringLiteral("Recall Template");
        QCOMPARE(title, expected);
        QCOMPARE(caption, expected);
    }

    void answeringNoFirstDoesNothing()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->setChecked(4, true);
        const auto before = f->folder.rows(QStringLiteral("SELECT * FROM UserData ORDER BY RecordNo"));
        f->ui.answerMessage(vbNo);
        pick->mnuCheckMarksSave_Click();
        QCOMPARE(f->ui.messages().size(), 1);
        QVERIFY(!Forms::isLoaded<UserTemplate>());
        QCOMPARE(f->folder.rows(QStringLiteral("SELECT * FROM UserData ORDER BY RecordNo")), before);
    }

    void answeringNoSecondWritesNothing()
    {
        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault9 = 1"));
        PickList5* pick = Forms::load<PickList5>();
        pick->setChecked(4, true);
        const auto before = f->folder.rows(QStringLiteral("SELECT * FROM UserData ORDER BY RecordNo"));
        const auto copy = table(QStringLiteral("UserItemDefault1"));
        f->ui.answerMessage(vbYes);
        f->ui.answerMessage(vbNo);
        choose(1);
        pick->mnuCheckMarksSave_Click();
        QCOMPARE(f->ui.messages().size(), 2);
        QCOMPARE(f->folder.rows(QStringLiteral("SELECT * FROM UserData ORDER BY RecordNo")), before);
        QCOMPARE(table(QStringLiteral("UserItemDefault1")), copy);
        // The list is gone and offers every template again next time.
        QVERIFY(!Forms::isLoaded<UserTemplate>());
        QCOMPARE(pick->Data3()->recordCount(), 10);
    }

    void numbersOutsideOneToTenCarryMarksOnly_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("11") << 11;
        QTest::newRow("0") << 0;
    }
    void numbersOutsideOneToTenCarryMarksOnly()
    {
        QFETCH(int, number);
        f->folder.exec(QStringLiteral("UPDATE UserData SET RecordNo = %1 WHERE RecordNo = 10").arg(number));
        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault6 = 1"));
        const auto copies = table(QStringLiteral("UserItemDefault10"));
        const auto tablesBefore =
            f->folder.rows(QStringLiteral("SELECT name FROM sqlite_master ORDER BY name"));
        PickList5* pick = Forms::load<PickList5>();
        pick->setChecked(8, true);
        pick->setChecked(33, true);
        save(pick, number);
        QCOMPARE(savedMarks(number), (QList<int>{8, 33}));
        QCOMPARE(f->folder.rows(QStringLiteral("SELECT name FROM sqlite_master ORDER BY name")),
                 tablesBefore);
        QCOMPARE(table(QStringLiteral("UserItemDefault10")), copies);

        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault6 = 0, ItemDefault7 = 1"));
        const auto defaults = table(QStringLiteral("ItemDefault"));
        pick->mnuCheckMarksNone_Click();
        recall(pick, number);
        QCOMPARE(checkedSlots(pick), (QList<int>{8, 33}));
        QCOMPARE(table(QStringLiteral("ItemDefault")), defaults);
    }

    void failingCopyOnSaveKeepsTheTemplate()
    {
        PickList5* pick = Forms::load<PickList5>();
        const auto marks = savedMarks(1);
        const auto itemCopy = table(QStringLiteral("UserItemDefault1"));
        const auto subCopy = table(QStringLiteral("UserSubItemDefault1"));
        // The table to copy from is not there: the copy fails after the old copy was dropped.
        f->folder.exec(QStringLiteral("ALTER TABLE SubItemDefault RENAME TO Elsewhere"));
        pick->setChecked(17, true);
        save(pick, 1);
        QCOMPARE(f->ui.lastMessage().style, int(vbCritical));
        QVERIFY(f->ui.lastMessage().text.startsWith(QStringLiteral("Template 1 was not saved")));
        QCOMPARE(table(QStringLiteral("UserItemDefault1")), itemCopy);
        QCOMPARE(table(QStringLiteral("UserSubItemDefault1")), subCopy);
        QCOMPARE(savedMarks(1), marks);
        QCOMPARE(pick->Data3()->recordCount(), 10);
        QVERIFY(!Forms::isLoaded<UserTemplate>());
    }

    void failingRestoreKeepsTheTables()
    {
        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault11 = 1"));
        const auto items = table(QStringLiteral("ItemDefault"));
        QVERIFY(items != table(QStringLiteral("UserItemDefault1")));
        // SubItemDefault cannot be dropped as a table: the restore fails after ItemDefault was replaced.
        f->folder.exec(QStringLiteral("ALTER TABLE SubItemDefault RENAME TO RealSubItemDefault"));
        f->folder.exec(QStringLiteral("CREATE VIEW SubItemDefault AS SELECT * FROM RealSubItemDefault"));
        PickList5* pick = Forms::load<PickList5>();
        recall(pick, 1);
        QCOMPARE(f->ui.lastMessage().style, int(vbCritical));
        QCOMPARE(table(QStringLiteral("ItemDefault")), items);
        QCOMPARE(
            f->folder.scalar(QStringLiteral("SELECT type FROM sqlite_master WHERE name = 'ItemDefault'")),
            QVariant(QStringLiteral("table")));
        // The marks of the template are restored all the same, and the pick list reads its tables again.
        QCOMPARE(checkedSlots(pick), savedMarks(1));
        QVERIFY(pick->Data1(1)->isOpen());
        QVERIFY(catalog::isSet(pick->Data1(1)->value(QStringLiteral("ItemDefault11"))));
    }

    void missingCopyIsMadeAgainOnSave()
    {
        f->folder.exec(QStringLiteral("DROP TABLE UserItemDefault4"));
        f->folder.exec(QStringLiteral("UPDATE ItemDefault SET ItemDefault12 = 1"));
        PickList5* pick = Forms::load<PickList5>();
        save(pick, 4);
        QCOMPARE(table(QStringLiteral("UserItemDefault4")), table(QStringLiteral("ItemDefault")));
        QCOMPARE(f->ui.messages().size(), 2);
    }

    void missingCopyIsReportedOnRecall()
    {
        f->folder.exec(QStringLiteral("UPDATE UserItemDefault4 SET ItemDefault12 = 1"));
        f->folder.exec(QStringLiteral("UPDATE UserData SET User6 = 1 WHERE RecordNo = 4"));
        f->folder.exec(QStringLiteral("DROP TABLE UserSubItemDefault4"));
        f->folder.exec(QStringLiteral("UPDATE SubItemDefault SET SubItemDefault3 = 1 WHERE RecordNo = 2"));
        const auto subItems = table(QStringLiteral("SubItemDefault"));
        PickList5* pick = Forms::load<PickList5>();
        recall(pick, 4);
        QVERIFY(f->ui.lastMessage().text.contains(QStringLiteral("UserSubItemDefault4")));
        QCOMPARE(table(QStringLiteral("SubItemDefault")), subItems);
        QCOMPARE(table(QStringLiteral("ItemDefault")), table(QStringLiteral("UserItemDefault4")));
        QCOMPARE(checkedSlots(pick), QList<int>{6});
    }

    void renamingATemplate()
    {
        PickList5* pick = Forms::load<PickList5>();
        whenModal([this](QWidget* window) {
            auto* list = qobject_cast<UserTemplate*>(window);
            QVERIFY(list);
            list->SSDBGrid1()->setCurrentIndex(list->SSDBGrid1()->model()->index(4, 1));
            whenModal([](QWidget* nameWindow) {
                QCOMPARE(nameWindow->windowTitle(), QStringLiteral("Edit Template Name"));
                auto* name = nameWindow->findChild<QLineEdit*>(QStringLiteral("Text1"));
                QCOMPARE(name->maxLength(), 50);
                name->setText(QStringLiteral("Renamed Five"));
                qobject_cast<EditData2*>(nameWindow)->Command1_Click();
            });
            list->Command2_Click();
            QCOMPARE(list->SSDBGrid1()->model()->index(4, 1).data().toString(),
                     QStringLiteral("Renamed Five"));
            list->Command1_Click();
        });
        pick->MnuCheckMarksRecall_Click();
        QCOMPARE(f->folder.scalar(QStringLiteral("SELECT UserLabel FROM UserData WHERE RecordNo = 5")),
                 QVariant(QStringLiteral("Renamed Five")));
    }

    void closeBoxChoosesLikeOk()
    {
        PickList5* pick = Forms::load<PickList5>();
        f->folder.exec(QStringLiteral("UPDATE UserData SET User9 = 1 WHERE RecordNo = 6"));
        pick->Data3()->refresh();
        choose(6, true);
        pick->MnuCheckMarksRecall_Click();
        QCOMPARE(checkedSlots(pick), QList<int>{9});
        QVERIFY(!Forms::isLoaded<UserTemplate>());
    }

    void theListShowsNumbersAndNames()
    {
        PickList5* pick = Forms::load<PickList5>();
        QStringList headers;
        QString tip;
        whenModal([&](QWidget* window) {
            auto* list = qobject_cast<UserTemplate*>(window);
            QAbstractItemModel* model = list->SSDBGrid1()->model();
            for (int c = 0; c < model->columnCount(); ++c)
                headers << model->headerData(c, Qt::Horizontal).toString();
            tip = list->SSDBGrid1()->toolTip();
            QCOMPARE(model->rowCount(), 10);
            QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Standard Package"));
            list->Command1_Click();
        });
        pick->MnuCheckMarksRecall_Click();
        QCOMPARE(headers, (QStringList{"Number", "Description"}));
        QCOMPARE(tip, QStringLiteral("Use your mouse to select the row"));
    }
};

QTEST_MAIN(TemplatesTest)
#include "tst_templates.moc"
