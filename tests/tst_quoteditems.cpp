// The quoted items editor: the grid over all quote lines or over one job's lines, the edit window on the
// grid's line, printing the list, and a grid over more lines than are read at once.
#include "database/connection.h"
#include "database/recordset.h"
#include "jobs/databases.h"
#include "jobs/editdata.h"
#include "jobs/quotelist.h"
#include "platform/binding.h"
#include "platform/navigator.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"

#include <QAction>
#include <QFile>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace tv;
using namespace tv::test;

namespace {

const QString JobLinesSource = QStringLiteral("Select * from [Job Items] where Recordno = %1 Order by "
                                              "[RecordNo] ASC, [Schedule] ASC, [Item Category] ASC ");

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral(R"(/Type\s*/Page(?!s))"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

} // namespace

class QuotedItemsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;

    // Lines with distinct keys in scrambled order: job 9 before 10, category 2 before 10.
    void addScrambledLines()
    {
        m_folder->exec("DELETE FROM [Job Items]");
        m_folder->exec(
            "INSERT INTO [Job Items] (Recordno, [Item Name], Schedule, [Item Category], [Item Qty], "
            "[Item Condition], [Item Price], [Item Notes]) VALUES "
            "(10, 'ten B 2', 'B', 2, 1, 'New', 100, 'Notes of ten B 2'), "
            "(9, 'nine C 1', 'C', 1, 1, 'New', 100, 'Notes of nine C 1'), "
            "(10, 'ten A 10', 'A', 10, 1, 'New', 100, 'Notes of ten A 10'), "
            "(10, 'ten A 2', 'A', 2, 1, 'New', 100, 'Notes of ten A 2'), "
            "(9, 'nine A 10', 'A', 10, 1, 'New', 100, 'Notes of nine A 10'), "
            "(2, 'two B 5', 'B', 5, 1, 'New', 100, 'Notes of two B 5'), "
            "(9, 'nine A 2', 'A', 2, 1, 'New', 100, 'Notes of nine A 2')");
    }
    // count lines of schedule A in jobs of 30 lines each, named "<prefix> <n>".
    void addNumberedLines(int count, const QString& prefix)
    {
        m_folder->exec("DELETE FROM [Job Items]");
        m_folder->exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO [Job Items] (Recordno, [Item Name], Schedule, [Item Category], "
                           "[Item Qty], [Item Price]) SELECT 1 + i / 30, '%2 ' || i, 'A', i, 1, 100 FROM n")
                .arg(count - 1)
                .arg(prefix));
    }
    // Every line by rowid, to see which changed.
    QMap<qint64, QVariantList> snapshot() const
    {
        QMap<qint64, QVariantList> lines;
        for (QVariantList row : m_folder->rows("SELECT rowid, * FROM [Job Items]")) {
            const qint64 rowid = row.takeFirst().toLongLong();
            lines.insert(rowid, row);
        }
        return lines;
    }
    QList<qint64> rowidsInOrder() const
    {
        QList<qint64> ids;
        for (const QVariantList& row :
             m_folder->rows("SELECT rowid FROM [Job Items] ORDER BY Recordno, Schedule, [Item Category]"))
            ids.append(row.first().toLongLong());
        return ids;
    }
    static QStringList column(Databases* list, int c)
    {
        QStringList cells;
        QAbstractItemModel* model = list->grid()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            cells.append(model->index(row, c).data().toString());
        return cells;
    }
    Databases* openList()
    {
        auto* list = Forms::load<Databases>();
        list->showModeless();
        return list;
    }
    static void chooseRow(Databases* list, int row)
    {
        list->grid()->setCurrentIndex(list->grid()->model()->index(row, 1));
    }
    // Opens the edit window on the grid's line, runs the action inside it and leaves it with its "E&xit".
    static void editLine(Databases* list, std::function<void(EditData*)> action)
    {
        bool ran = false;
        whenModal([&](QWidget* window) {
            auto* edit = qobject_cast<EditData*>(window);
            QVERIFY(edit);
            action(edit);
            ran = true;
            if (edit->isVisible())
                edit->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        list->Command3_Click();
        QVERIFY(ran);
        QVERIFY(!Forms::isLoaded<EditData>());
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init()
    {
        m_folder = std::make_unique<AppFolder>();
        m_ui = std::make_unique<ScriptedInteractive>();
    }
    void cleanup()
    {
        Forms::forceUnloadAll();
        closeLeftoverWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_ui.reset();
        m_folder.reset();
    }

    void windowAndColumns()
    {
        auto* list = openList();
        QCOMPARE(list->windowTitle(), QStringLiteral("Databases"));
        QCOMPARE(
            list->Data1()->recordSource(),
            QStringLiteral(
                "Select * from [Job Items] Order by [RecordNo] ASC, [Schedule] ASC, [Item Category] ASC "));
        QCOMPARE(list->findChild<QGroupBox*>(QStringLiteral("SSDBGrid1Caption"))->title(),
                 QStringLiteral("Required Items"));
        QCOMPARE(list->grid()->objectName(), QStringLiteral("SSDBGrid1"));
        const QStringList captions = {"ID #",  "Item Name", "Item Details", "Condition",
                                      "Price", "Qty.",      "A-B-C",        "Sort"};
        QCOMPARE(list->grid()->model()->columnCount(), captions.size());
        for (int c = 0; c < captions.size(); ++c)
            QCOMPARE(list->grid()->model()->headerData(c, Qt::Horizontal).toString(), captions[c]);
        QCOMPARE(list->findChild<RecordNavigator*>(QStringLiteral("SSDBData1"))->caption(),
                 QStringLiteral("Job Items"));
        QCOMPARE(list->findChild<QPushButton*>(QStringLiteral("Command3"))->text(),
                 QStringLiteral("&Edit Item"));
        QCOMPARE(list->findChild<QPushButton*>(QStringLiteral("Command2"))->text(), QStringLiteral("Print"));
        QCOMPARE(list->findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("E&xit"));
    }

    void allLinesInTheFixedOrder()
    {
        addScrambledLines();
        MainMenu* main = mainMenu();
        main->show();
        QVERIFY(main->entry(QStringLiteral("MnuModifyItems"))->isEnabled());
        m_ui->pointerHistory.clear();
        main->entry(QStringLiteral("MnuModifyItems"))->trigger();
        QCOMPARE(m_ui->pointerHistory.first(), Pointer::Hourglass);
        QCOMPARE(m_ui->pointer(), Pointer::Default);
        auto* list = Forms::loaded<Databases>();
        QVERIFY(list && list->isVisible() && !list->isShownModal());
        QVERIFY(main->isVisible());
        QCOMPARE(column(list, 0), (QStringList{"2", "9", "9", "9", "10", "10", "10"}));
        QCOMPARE(column(list, 6), (QStringList{"B", "A", "A", "C", "A", "A", "B"}));
        QCOMPARE(column(list, 7), (QStringList{"5", "2", "10", "1", "2", "10", "2"}));
        QCOMPARE(column(list, 1).at(1), QStringLiteral("nine A 2"));
        QCOMPARE(column(list, 2).at(1), QStringLiteral("Notes of nine A 2"));
        QCOMPARE(column(list, 3).at(1), QStringLiteral("New"));
        QCOMPARE(column(list, 4).at(1), QStringLiteral("100.00"));
        QCOMPARE(column(list, 5).at(1), QStringLiteral("1"));
        // Opening it again brings the same window forward.
        main->MnuModifyItems_Click();
        QCOMPARE(Forms::loaded<Databases>(), list);
        // Leaving it does not show a hidden main window.
        main->hide();
        list->Command1_Click();
        QVERIFY(!Forms::isLoaded<Databases>());
        QVERIFY(!main->isVisible());
    }

    void aHandedRecordSetShowsOneJob()
    {
        addScrambledLines();
        auto* list = Forms::load<Databases>();
        QString error;
        const auto connection =
            db::openConnection(m_folder->databasePath(), QStringLiteral("Pick list"), &error);
        QVERIFY2(connection, qPrintable(error));
        const auto lines = db::RecordSet::open(connection, JobLinesSource.arg(10), &error);
        QVERIFY2(lines, qPrintable(error));
        list->Data1()->setRecordset(lines);
        bool checked = false;
        whenModal([&](QWidget* window) {
            QCOMPARE(window, list);
            QCOMPARE(column(list, 0), (QStringList{"10", "10", "10"}));
            QCOMPARE(column(list, 1), (QStringList{"ten A 2", "ten A 10", "ten B 2"}));
            checked = true;
            list->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        list->showModal();
        QVERIFY(checked);
        QVERIFY(!Forms::isLoaded<Databases>());
    }

    void gridAndNavigatorShareTheLine()
    {
        addScrambledLines();
        auto* list = openList();
        auto* nav = list->findChild<RecordNavigator*>(QStringLiteral("SSDBData1"));
        nav->findChild<QToolButton*>(QStringLiteral("Next"))->click();
        nav->findChild<QToolButton*>(QStringLiteral("Next"))->click();
        QCOMPARE(list->grid()->currentIndex().row(), 2);
        chooseRow(list, 5);
        QCOMPARE(list->Data1()->recordset()->position(), 5);
        nav->findChild<QToolButton*>(QStringLiteral("Last"))->click();
        QCOMPARE(list->grid()->currentIndex().row(), 6);
    }

    void anEditReachesExactlyOneLine_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("fieldIndex"); // in SELECT *
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("quantity") << "Text5"
                                  << "7" << 4 << QVariant(7);
        QTest::newRow("price") << "Text3"
                               << "99.5" << 6 << QVariant(99.5);
        QTest::newRow("price with thousands") << "Text3"
                                              << "1,250.75" << 6 << QVariant(1250.75);
        QTest::newRow("name") << "Text1"
                              << "A new name" << 1 << QVariant("A new name");
        QTest::newRow("condition") << "Text4"
                                   << "Used" << 5 << QVariant("Used");
        QTest::newRow("details") << "Text2"
                                 << "two\nlines" << 7 << QVariant("two\nlines");
        QTest::newRow("schedule") << "MaskEdBox1"
                                  << "b" << 3 << QVariant("B");
        QTest::newRow("sorting") << "Text6"
                                 << "15" << 2 << QVariant(15);
    }
    void anEditReachesExactlyOneLine()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, fieldIndex);
        QFETCH(QVariant, expected);
        addScrambledLines();
        const QMap<qint64, QVariantList> before = snapshot();
        const qint64 chosen = rowidsInOrder().at(3);
        auto* list = openList();
        chooseRow(list, 3);
        editLine(list, [&](EditData* edit) {
            QCOMPARE(edit->windowTitle(), QStringLiteral("Edit Database"));
            // The edit window shows the grid's line.
            QCOMPARE(edit->findChild<QLineEdit*>(QStringLiteral("Text1"))->text(),
                     QStringLiteral("nine C 1"));
            QWidget* target = edit->findChild<QWidget*>(box);
            QVERIFY(target);
            if (auto* line = qobject_cast<QLineEdit*>(target)) {
                line->selectAll();
                line->del();
                QTest::keyClicks(line, typed);
            } else {
                qobject_cast<QPlainTextEdit*>(target)->setPlainText(typed);
            }
        });
        const QMap<qint64, QVariantList> after = snapshot();
        QCOMPARE(after.keys(), before.keys());
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (it.key() != chosen) {
                QCOMPARE(after.value(it.key()), it.value());
                continue;
            }
            QVariantList changed = it.value();
            changed[fieldIndex] = expected;
            const QVariantList stored = after.value(it.key());
            for (int i = 0; i < changed.size(); ++i)
                QCOMPARE(stored.at(i).toString(), changed.at(i).toString());
        }
        QVERIFY(m_ui->messages().isEmpty());
        // The grid shows the saved line in its place.
        QCOMPARE(list->grid()->currentIndex().row(), 3);
        QCOMPARE(list->Data1()->recordset()->valueAt(3, fieldIndex).toString(), expected.toString());
    }

    void notANumberIsRefused_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("old");
        QTest::newRow("price") << "Text3"
                               << "12x"
                               << "Price"
                               << "100";
        QTest::newRow("quantity") << "Text5"
                                  << "abc"
                                  << "Qty."
                                  << "1";
        QTest::newRow("fractional quantity") << "Text5"
                                             << "1.5"
                                             << "Qty."
                                             << "1";
        QTest::newRow("sorting") << "Text6"
                                 << "x1"
                                 << "Sorting"
                                 << "1";
    }
    void notANumberIsRefused()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, caption);
        QFETCH(QString, old);
        addScrambledLines();
        const QMap<qint64, QVariantList> before = snapshot();
        const qint64 chosen = rowidsInOrder().at(3);
        auto* list = openList();
        chooseRow(list, 3);
        editLine(list, [&](EditData* edit) {
            edit->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("Renamed"));
            auto* target = edit->findChild<QLineEdit*>(box);
            target->setText(typed);
            edit->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
            // Refused: the window stays, the box has the line's value again, nothing was written.
            QVERIFY(edit->isVisible());
            QCOMPARE(m_ui->messages().size(), 1);
            QVERIFY2(m_ui->lastMessage().text.startsWith(caption + QStringLiteral(" must be")),
                     qPrintable(m_ui->lastMessage().text));
            QVERIFY(m_ui->lastMessage().text.contains(typed));
            QCOMPARE(m_ui->lastMessage().style & 112, int(vbExclamation));
            QCOMPARE(target->text(), old);
            QCOMPARE(edit->focusWidget(), target);
            QCOMPARE(snapshot(), before);
        });
        const QMap<qint64, QVariantList> after = snapshot();
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QVariantList expected = it.value();
            if (it.key() == chosen)
                expected[1] = QStringLiteral("Renamed");
            QCOMPARE(after.value(it.key()), expected);
        }
        QCOMPARE(m_ui->messages().size(), 1);
    }

    void editWindowBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("Text1") << "Text1" << 50;
        QTest::newRow("Text3") << "Text3" << 10;
        QTest::newRow("Text4") << "Text4" << 15;
        QTest::newRow("Text5") << "Text5" << 4;
        QTest::newRow("Text6") << "Text6" << 4;
    }
    void editWindowBoxes()
    {
        QFETCH(QString, box);
        QFETCH(int, maxLength);
        auto* list = openList();
        editLine(list, [&](EditData* edit) {
            QCOMPARE(edit->findChild<QLineEdit*>(box)->maxLength(), maxLength);
            QVERIFY(edit->findChild<QPlainTextEdit*>(QStringLiteral("Text2")));
        });
    }

    void scheduleIsOneUpperCaseLetter()
    {
        const qint64 first = rowidsInOrder().first();
        auto* list = openList();
        editLine(list, [&](EditData* edit) {
            auto* schedule = edit->findChild<QLineEdit*>(QStringLiteral("MaskEdBox1"));
            schedule->selectAll();
            schedule->del();
            QTest::keyClicks(schedule, QStringLiteral("bq"));
            QCOMPARE(schedule->text(), QStringLiteral("B"));
            edit->findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QStringLiteral("3"));
        });
        QCOMPARE(
            m_folder->scalar(QStringLiteral("SELECT Schedule FROM [Job Items] WHERE rowid = %1").arg(first))
                .toString(),
            QStringLiteral("B"));
    }

    void noLineToEdit()
    {
        m_folder->exec("DELETE FROM [Job Items]");
        auto* list = openList();
        list->Command3_Click();
        QVERIFY(!Forms::isLoaded<EditData>());
        QCOMPARE(m_ui->lastMessage().text, QStringLiteral("There is no quote line to edit."));
    }

    void aLargeListIsReadAsItIsShown()
    {
        // Distinct keys, inserted out of order, more than are read at once.
        const int lines = 3000;
        m_folder->exec("DELETE FROM [Job Items]");
        m_folder->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO [Job Items] (Recordno, [Item Name], Schedule, [Item Category], [Item Qty], "
                "[Item Price]) SELECT (i * 7919) % 300 + 1, 'line ' || i, char(65 + i % 3), i, 1, i * 0.25 "
                "FROM n ORDER BY random()")
                .arg(lines - 1));
        auto* list = openList();
        const db::RecordSetPtr set = list->Data1()->recordset();
        QVERIFY(set->isPaged());
        // At first only the rows read at once; once those are painted, the list is counted and grows.
        QVERIFY(!set->isCountKnown());
        QVERIFY(list->grid()->model()->rowCount() < lines);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        QTRY_COMPARE(list->grid()->model()->rowCount(), lines);
        QCOMPARE(set->count(), lines);
        QVERIFY(set->fetchedCount() < lines);

        const QList<qint64> order = rowidsInOrder();
        QStringList expectedNames;
        for (const QVariantList& row : m_folder->rows(
                 "SELECT [Item Name] FROM [Job Items] ORDER BY Recordno, Schedule, [Item Category]"))
            expectedNames.append(row.first().toString());
        QCOMPARE(column(list, 1), expectedNames);
        QCOMPARE(set->fetchedCount(), lines);

        // An edit far down the list reaches its line and no other.
        const QMap<qint64, QVariantList> before = snapshot();
        chooseRow(list, 2500);
        editLine(list,
                 [](EditData* edit) { edit->findChild<QLineEdit*>(QStringLiteral("Text5"))->setText("42"); });
        const QMap<qint64, QVariantList> after = snapshot();
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QVariantList expected = it.value();
            if (it.key() == order.at(2500))
                expected[4] = 42;
            QCOMPARE(after.value(it.key()), expected);
        }
    }

    void aLargeRecordSetStaysInStep_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("last") << "last";
        QTest::newRow("next past the rows read at once") << "next";
        QTest::newRow("delete, then read further") << "delete";
        QTest::newRow("delete in the first rows, then read further") << "delete early";
        QTest::newRow("read again far down") << "requery";
        QTest::newRow("a new row goes last") << "add";
        QTest::newRow("an edited line moves in the file's order") << "move";
    }
    void aLargeRecordSetStaysInStep()
    {
        QFETCH(QString, operation);
        const int lines = 3000;
        addNumberedLines(lines, QStringLiteral("Line"));
        QStringList names;
        for (const QVariantList& row : m_folder->rows(
                 "SELECT [Item Name] FROM [Job Items] ORDER BY Recordno, Schedule, [Item Category]"))
            names.append(row.first().toString());
        QString error;
        const auto connection = db::openConnection(m_folder->databasePath(), QStringLiteral("Test"), &error);
        const auto set = db::RecordSet::open(connection, Databases::AllLinesSource, &error);
        QVERIFY2(set, qPrintable(error));
        QVERIFY(set->isPaged() && !set->isCountKnown());
        const int name = set->fieldIndex(QStringLiteral("Item Name"));
        const auto current = [&]() { return set->value(name).toString(); };

        if (operation == u"last") {
            QVERIFY(set->moveLast(&error));
            QCOMPARE(set->position(), lines - 1);
            QCOMPARE(current(), names.last());
            QVERIFY(!set->eof());
            QVERIFY(set->moveNext(&error));
            QVERIFY(set->eof());
        } else if (operation == u"next") {
            QVERIFY(set->moveTo(set->knownCount() - 1, &error));
            const int at = set->position();
            QVERIFY(!set->eof());
            QVERIFY(set->moveNext(&error));
            QCOMPARE(set->position(), at + 1);
            QCOMPARE(current(), names.at(at + 1));
        } else if (operation == u"delete" || operation == u"delete early") {
            const int at = operation == u"delete" ? 1500 : 10;
            QVERIFY(set->moveTo(at, &error));
            QCOMPARE(current(), names.at(at));
            QVERIFY2(set->deleteCurrent(&error), qPrintable(error));
            names.removeAt(at);
            QCOMPARE(set->count(), lines - 1);
            QCOMPARE(current(), names.at(at));
            for (int row : {999, 1000, 2047, 2600, lines - 2})
                QCOMPARE(set->valueAt(row, name).toString(), names.at(row));
        } else if (operation == u"requery") {
            QVERIFY(set->moveTo(2500, &error));
            QVERIFY(set->requery(&error));
            QCOMPARE(set->position(), 2500);
            QCOMPARE(current(), names.at(2500));
        } else if (operation == u"add") {
            QVERIFY(set->addNew(&error));
            set->setValue(QStringLiteral("Recordno"), 1);
            set->setValue(QStringLiteral("Item Name"), QStringLiteral("Added last"));
            QVERIFY2(set->update(&error), qPrintable(error));
            QCOMPARE(set->count(), lines + 1);
            QCOMPARE(set->valueAt(lines, name).toString(), QStringLiteral("Added last"));
            QCOMPARE(set->valueAt(lines - 1, name).toString(), names.last());
            for (int row : {999, 1000, 2047, 2600})
                QCOMPARE(set->valueAt(row, name).toString(), names.at(row));
        } else if (operation == u"move") {
            // Line 100 of job 4 sorts after every other line now; it keeps its place in the set, and the rows
            // read afterwards are neither repeated nor skipped.
            QVERIFY(set->moveTo(100, &error));
            set->setValue(QStringLiteral("Recordno"), 999);
            QVERIFY2(set->update(&error), qPrintable(error));
            QVERIFY(set->moveTo(10, &error));
            QVERIFY(set->moveTo(200, &error));
            set->setValue(QStringLiteral("Item Category"), -1);
            QVERIFY2(set->update(&error), qPrintable(error));
            QCOMPARE(set->valueAt(100, name).toString(), names.at(100));
            for (int row : {999, 1000, 1255, 1256, 2047, 2600, lines - 1})
                QCOMPARE(set->valueAt(row, name).toString(), names.at(row));
            QCOMPARE(set->count(), lines);
        }
        QVERIFY(set->fetchedCount() < lines);
    }

    void cells_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("shown");
        QTest::newRow("price, two decimals") << "203.5"
                                             << "x" << 4 << "203.50";
        QTest::newRow("price, four decimals kept to two") << "1.2345"
                                                          << "x" << 4 << "1.23";
        QTest::newRow("no price") << "NULL"
                                  << "x" << 4 << "";
        QTest::newRow("details on one line") << "1"
                                             << "first\nsecond  line" << 2 << "first second line";
    }
    void cells()
    {
        QFETCH(QString, price);
        QFETCH(QString, notes);
        QFETCH(int, column);
        QFETCH(QString, shown);
        m_folder->exec("DELETE FROM [Job Items]");
        m_folder->exec(
            QStringLiteral(
                "INSERT INTO [Job Items] (Recordno, [Item Price], [Item Notes]) VALUES (1, %1, '%2')")
                .arg(price, notes));
        auto* list = openList();
        QCOMPARE(list->grid()->model()->index(0, column).data().toString(), shown);
    }

    void printWithoutAPrinter_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file"); // as chosen in the file dialog; empty: cancelled
        QTest::addColumn<bool>("saved");
        QTest::newRow("save as PDF") << int(vbYes) << "list" << true;
        QTest::newRow("save as PDF, suffix given") << int(vbYes) << "list.PDF" << true;
        QTest::newRow("declined") << int(vbNo) << "" << false;
        QTest::newRow("file dialog cancelled") << int(vbYes) << "" << false;
    }
    void printWithoutAPrinter()
    {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, saved);
        QTemporaryDir out;
        auto* list = openList();
        list->printerAvailable = []() { return false; };
        bool dialogShown = false;
        list->printDialog = [&](QPrinter&, const Databases::PrintChoice&) { return dialogShown = true; };
        m_ui->answerMessage(answer);
        const QString chosen = file.isEmpty() ? QString() : out.filePath(file);
        if (answer == vbYes)
            m_ui->answerFile(chosen);
        list->Command2_Click();
        QVERIFY(!dialogShown);
        const Asked question = m_ui->messages().first();
        QCOMPARE(question.style, int(vbYesNo + vbQuestion));
        QVERIFY(question.text.startsWith(QStringLiteral("No printer is installed on this computer")));
        bool asked = false;
        for (const Asked& a : m_ui->asked)
            asked = asked || a.kind == u"save";
        QCOMPARE(asked, answer == vbYes);
        if (!saved) {
            QCOMPARE(m_ui->messages().size(), 1);
            QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 0);
            return;
        }
        const QString pdf = file.endsWith(QStringLiteral(".PDF")) ? chosen : chosen + QStringLiteral(".pdf");
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(pdfPages(pdf), 1);
        QCOMPARE(m_ui->lastMessage().style, int(vbInformation));
        QVERIFY(m_ui->lastMessage().text.contains(QDir::toNativeSeparators(pdf)));
    }

    void printThroughTheDialog_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("pages"); // -1: every page of the list
        QTest::addColumn<bool>("accepted");
        QTest::newRow("all pages") << int(QPrinter::AllPages) << 0 << 0 << -1 << true;
        QTest::newRow("page 2 only") << int(QPrinter::PageRange) << 2 << 2 << 1 << true;
        QTest::newRow("selected rows") << int(QPrinter::Selection) << 0 << 0 << 1 << true;
        QTest::newRow("cancelled") << int(QPrinter::AllPages) << 0 << 0 << 0 << false;
    }
    void printThroughTheDialog()
    {
        QFETCH(int, range);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, pages);
        QFETCH(bool, accepted);
        addNumberedLines(90, QStringLiteral("Line"));
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("printed.pdf"));
        auto* list = openList();
        list->grid()->selectRow(4);
        list->grid()->selectionModel()->select(list->grid()->model()->index(7, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        Databases::PrintChoice offered;
        list->printerAvailable = []() { return true; };
        list->printDialog = [&](QPrinter& printer, const Databases::PrintChoice& choice) {
            offered = choice;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPrintRange(QPrinter::PrintRange(range));
            if (range == QPrinter::PageRange)
                printer.setFromTo(from, to);
            return accepted;
        };
        list->Command2_Click();
        QPrinter reference(QPrinter::HighResolution);
        const int listPages = jobs::QuoteListPrint(list->Data1()->recordset()).pageCount(&reference, 90);
        QVERIFY(listPages >= 3);
        QCOMPARE(offered.pageCount, listPages);
        QVERIFY(offered.hasSelection);
        QVERIFY(m_ui->messages().isEmpty());
        if (!accepted) {
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        QCOMPARE(pdfPages(pdf), pages < 0 ? listPages : pages);
    }

    void cellLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("widthInChars"); // of the letter x
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<QStringList>("lines");
        const QString ellipsis = QStringLiteral("\u2026");
        QTest::newRow("fits") << "Kickbacks and Capping" << 40 << 1 << QStringList{"Kickbacks and Capping"};
        QTest::newRow("one line, cut short")
            << "A-2 Pinsetter, Remanufactured" << 16 << 1 << QStringList{"A-2 Pinsetter, " + ellipsis};
        QTest::newRow("two lines") << "aaaa bbbb cccc" << 10 << 2 << QStringList{"aaaa bbbb", "cccc"};
        QTest::newRow("two lines, the rest cut short")
            << "aaaa bbbb cccc dddd eeee ffff" << 10 << 2 << QStringList{"aaaa bbbb", "cccc " + ellipsis};
        QTest::newRow("empty") << "" << 10 << 2 << QStringList{};
    }
    void cellLines()
    {
        QFETCH(QString, text);
        QFETCH(int, widthInChars);
        QFETCH(int, maxLines);
        QFETCH(QStringList, lines);
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::Monospace);
        const QFontMetricsF metrics(font);
        const qreal width = metrics.horizontalAdvance(QString(widthInChars, u'x'));
        const QStringList got = jobs::quoteListLines(text, metrics, width, maxLines);
        QCOMPARE(got.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY(metrics.horizontalAdvance(got[i]) <= width);
            if (lines[i].endsWith(QStringLiteral("\u2026")))
                QVERIFY2(got[i].endsWith(QStringLiteral("\u2026")) &&
                             got[i].startsWith(lines[i].chopped(2).trimmed()),
                         qPrintable(got[i]));
            else
                QCOMPARE(got[i], lines[i]);
        }
    }

    void aVeryLongListAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("go on") << int(vbYes);
        QTest::newRow("stop") << int(vbNo);
    }
    void aVeryLongListAsksFirst()
    {
        QFETCH(int, answer);
        addNumberedLines(4000, QStringLiteral("Line"));
        QTemporaryDir out;
        auto* list = openList();
        list->printerAvailable = []() { return false; };
        m_ui->answerMessage(vbYes); // save as PDF
        m_ui->answerFile(out.filePath(QStringLiteral("long.pdf")));
        m_ui->answerMessage(answer);
        list->Command2_Click();
        const QList<Asked> messages = m_ui->messages();
        QVERIFY(messages.size() >= 2);
        QVERIFY2(messages.at(1).text.startsWith(QStringLiteral("The list runs to ")),
                 qPrintable(messages.at(1).text));
        QCOMPARE(messages.at(1).style, int(vbYesNo + vbQuestion + vbDefaultButton2));
        QCOMPARE(QFile::exists(out.filePath(QStringLiteral("long.pdf"))), answer == vbYes);
    }

    void printLayout()
    {
        addNumberedLines(
            100, QStringLiteral("A long name that needs the whole width of its column and more, line"));
        auto* list = openList();
        const jobs::QuoteListPrint print(list->Data1()->recordset());
        QTemporaryDir out;
        QPdfWriter writer(out.filePath(QStringLiteral("layout.pdf")));
        writer.setPageSize(QPageSize(QPageSize::A4));
        const int perPage = print.rowsPerPage(&writer);
        QVERIFY2(perPage >= 20 && perPage <= 40, qPrintable(QString::number(perPage)));
        QList<int> rows;
        for (int i = 0; i < 100; ++i)
            rows.append(i);
        QVERIFY(print.print(&writer, rows));
        QCOMPARE(pdfPages(out.filePath(QStringLiteral("layout.pdf"))), (100 + perPage - 1) / perPage);
        // Landscape pages hold fewer rows.
        writer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY(print.rowsPerPage(&writer) < perPage);
    }
};

QTEST_MAIN(QuotedItemsTest)
#include "tst_quoteditems.moc"
