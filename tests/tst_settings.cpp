// Company settings: the your-information window, the finance factors and the two terms lists.
#include "platform/binding.h"
#include "settings/finance.h"
#include "settings/termstemplate.h"
#include "settings/yourinformation.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace tv;
using namespace tv::test;

namespace {

const TermsList& termsList(const QString& name)
{
    return name == u"payment" ? TermsList::payment() : TermsList::shipment();
}

// What a freshly opened job sheet offers: the rows of the table through a binding of its own.
QStringList offeredTexts(const TermsList& list)
{
    QObject owner;
    Binding binding(&owner, QStringLiteral("Data1"));
    binding.setDatabaseName(platform::databasePath());
    binding.setRecordSource(list.table);
    if (!binding.open())
        return {QStringLiteral("<not open>")};
    QStringList texts;
    for (binding.moveFirst(); !binding.eof(); binding.moveNext())
        texts.append(binding.value(list.table).toString());
    binding.close(false);
    return texts;
}

QStringList gridTexts(const TermsTemplate* window)
{
    QStringList texts;
    const auto* model = window->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (!model->isNewRow(row))
            texts.append(model->data(model->index(row, 0)).toString());
    return texts;
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;

    QVariant factor(const QString& field) const
    {
        return m_folder->scalar(QStringLiteral("SELECT [%1] FROM [Factors]").arg(field));
    }
    QVariantList allFactors() const
    {
        QVariantList values;
        for (const Finance::Box& b : Finance::boxes())
            values.append(factor(b.field));
        return values;
    }

private slots:
    void init();
    void cleanup();

    void yourInformationShowsAndSavesEachField_data();
    void yourInformationShowsAndSavesEachField();
    void yourInformationTakesThirtyCharacters_data();
    void yourInformationTakesThirtyCharacters();
    void yourInformationExitShowsTheMainWindow();
    void yourInformationOpensModeless();

    void financeBoxEditsItsFieldOnly_data();
    void financeBoxEditsItsFieldOnly();
    void financeShowsEveryDigit();
    void financeTabOrderIsRowByRow();
    void financeRefusesWhatIsNoNumber_data();
    void financeRefusesWhatIsNoNumber();
    void financeAcceptsNumbers_data();
    void financeAcceptsNumbers();
    void financeRefusesWhenTheFocusLeaves();
    void financeOpensModallyAndRestoresThePointer();

    void termsWindowsAreOneClassWithTwoLists_data();
    void termsWindowsAreOneClassWithTwoLists();
    void termsEditedAreOfferedToAFreshSheet_data();
    void termsEditedAreOfferedToAFreshSheet();
    void termsDeleteAsksFirst_data();
    void termsDeleteAsksFirst();
    void termsTextInTheEditorIsSavedByOk();
    void termsOpenModallyWithoutPointerChange_data();
    void termsOpenModallyWithoutPointerChange();
};

void SettingsTest::init()
{
    m_folder = std::make_unique<AppFolder>();
    m_ui = std::make_unique<ScriptedInteractive>();
}

void SettingsTest::cleanup()
{
    Forms::forceUnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    closeLeftoverWindows();
    QVERIFY(Forms::all().isEmpty());
    m_ui.reset();
    m_folder.reset();
}

void SettingsTest::yourInformationShowsAndSavesEachField_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption"); // the label beside the box, empty for the later address lines
    const QStringList captions{
        "Company Name", "Address",         "", "", "", "", "Phone", "Fax", "Salesman Name",
        "Your E-Mail",  "Internet Address"};
    const QStringList fields{"Company Name",      "Company Address 1", "Company Address 2",
                             "Company Address 3", "Company Address 4", "Company Address 5",
                             "Company Phone",     "Company Fax",       "Salesman Name",
                             "Your email",        "Your internet"};
    for (int i = 0; i < fields.size(); ++i)
        QTest::newRow(qPrintable(fields.at(i)))
            << QStringLiteral("Text%1").arg(i + 1) << fields.at(i) << captions.at(i);
}

void SettingsTest::yourInformationShowsAndSavesEachField()
{
    QFETCH(QString, box);
    QFETCH(QString, field);
    QFETCH(QString, caption);
    m_folder->exec(QStringLiteral("UPDATE [Your Information] SET [%1] = 'stored %1'").arg(field));
    const auto before = m_folder->rows(QStringLiteral("SELECT * FROM [Your Information]"));

    auto* window = Forms::load<YourInformation>();
    window->showModeless();
    QCOMPARE(window->windowTitle(), QStringLiteral("Your Information Worksheet"));
    QCOMPARE(window->findChild<QGroupBox*>("Frame1")->title(), QStringLiteral("Your Information"));
    auto* edit = window->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    QCOMPARE(edit->text(), QStringLiteral("stored %1").arg(field));
    if (!caption.isEmpty()) {
        bool found = false;
        for (auto* label : window->findChildren<QLabel*>())
            found = found || (label->buddy() == edit && label->text() == caption);
        QVERIFY2(found, qPrintable(caption));
    }

    edit->setText(QStringLiteral("typed into ") + box);
    window->findChild<QPushButton*>("Command2")->click();
    QCOMPARE(m_folder->scalar(QStringLiteral("SELECT [%1] FROM [Your Information]").arg(field)).toString(),
             QStringLiteral("typed into ") + box);
    // No other field moved.
    const auto after = m_folder->rows(QStringLiteral("SELECT * FROM [Your Information]"));
    QCOMPARE(after.size(), 1);
    int changed = 0;
    for (int i = 0; i < after.first().size(); ++i)
        changed += after.first().at(i) != before.first().at(i);
    QCOMPARE(changed, 1);
    QVERIFY(m_ui->messages().isEmpty());
}

void SettingsTest::yourInformationTakesThirtyCharacters_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");
    QTest::newRow("29") << 29 << 29;
    QTest::newRow("30") << 30 << 30;
    QTest::newRow("31") << 31 << 30;
    QTest::newRow("45") << 45 << 30;
}

void SettingsTest::yourInformationTakesThirtyCharacters()
{
    QFETCH(int, typed);
    QFETCH(int, kept);
    auto* window = Forms::load<YourInformation>();
    window->showModeless();
    const QString text = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghij").left(typed);
    for (const auto& [name, field] : YourInformation::boxFields()) {
        auto* edit = window->findChild<QLineEdit*>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text(), text.left(kept));
    }
    window->Command2_Click();
    QCOMPARE(m_folder->scalar("SELECT [Company Name] FROM [Your Information]").toString(), text.left(kept));
    QCOMPARE(m_folder->scalar("SELECT [Your internet] FROM [Your Information]").toString(), text.left(kept));
}

void SettingsTest::yourInformationExitShowsTheMainWindow()
{
    MainMenu* main = mainMenu();
    main->hide();
    auto* window = Forms::load<YourInformation>();
    window->showModeless();
    window->Command2_Click();
    QVERIFY(main->isVisible());
    QVERIFY(!Forms::isLoaded<YourInformation>());
}

void SettingsTest::yourInformationOpensModeless()
{
    MainMenu* main = mainMenu();
    main->showModeless();
    main->entry("MnuYourInformation")->trigger();
    auto* window = Forms::loaded<YourInformation>();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isShownModal());
    QCOMPARE(m_ui->pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
    // A second choice brings the same window forward.
    main->MnuYourInformation_Click();
    QCOMPARE(Forms::loaded<YourInformation>(), window);
}

void SettingsTest::financeBoxEditsItsFieldOnly_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("rowCaption");
    QTest::addColumn<QString>("columnCaption");
    const QStringList rows{"Purchase Plan (25 to 50K)", "Purchase Plan (50 to 100K)",
                           "Purchase Plan (100K Plus)", "Skip 3 Months Plan", "10% Lease Option Plan"};
    const QStringList columns{"72 Months", "60 Months", "48 Months", "36 Months"};
    // Box and field as the window design pairs them, row by row.
    const QList<QStringList> cells{
        {"Text1", "P72", "Text2", "P60", "Text3", "P48", "Text4", "P36"},
        {"Text13", "P572", "Text14", "P560", "Text15", "P548", "Text16", "P536"},
        {"Text17", "P1072", "Text18", "P1060", "Text19", "P1048", "Text20", "P1036"},
        {"Text5", "S72", "Text6", "S60", "Text7", "S48", "Text8", "S36"},
        {"Text9", "L72", "Text10", "L60", "Text11", "L48", "Text12", "L36"},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            QTest::newRow(qPrintable(cells[r][2 * c + 1]))
                << cells[r][2 * c] << cells[r][2 * c + 1] << rows[r] << columns[c];
}

void SettingsTest::financeBoxEditsItsFieldOnly()
{
    QFETCH(QString, box);
    QFETCH(QString, field);
    QFETCH(QString, rowCaption);
    QFETCH(QString, columnCaption);
    const QVariantList before = allFactors();

    auto* window = Forms::load<Finance>();
    window->showModeless();
    QCOMPARE(window->windowTitle(), QStringLiteral("Finance Factors"));
    auto* edit = window->findChild<QLineEdit*>(box);
    QVERIFY(edit);
    QCOMPARE(window->box(field), edit);

    // The box sits in its plan's row and its term's column.
    auto* layout = window->findChild<QGridLayout*>();
    QVERIFY(layout);
    int row = -1, column = -1, span = 0;
    layout->getItemPosition(layout->indexOf(edit), &row, &column, &span, &span);
    auto* rowLabel = qobject_cast<QLabel*>(layout->itemAtPosition(row, 0)->widget());
    auto* columnLabel = qobject_cast<QLabel*>(layout->itemAtPosition(0, column)->widget());
    QVERIFY(rowLabel && columnLabel);
    QCOMPARE(rowLabel->text(), rowCaption);
    QCOMPARE(columnLabel->text(), columnCaption);

    edit->setText(QStringLiteral("0.12345"));
    QVERIFY(window->boxLeft(edit));
    // Saved when the window closes, by its close box.
    QVERIFY(window->unload());
    QCOMPARE(factor(field).toDouble(), 0.12345);
    const QVariantList after = allFactors();
    for (int i = 0; i < before.size(); ++i)
        if (Finance::boxes().at(i).field != field)
            QCOMPARE(after.at(i), before.at(i));
    QVERIFY(m_ui->messages().isEmpty());
}

void SettingsTest::financeShowsEveryDigit()
{
    m_folder->exec("UPDATE [Factors] SET [P560] = 0.019483, [L36] = 0.03038, [S72] = NULL");
    auto* window = Forms::load<Finance>();
    QCOMPARE(window->box("P560")->text(), QStringLiteral("0.019483"));
    QCOMPARE(window->box("L36")->text(), QStringLiteral("0.03038"));
    QCOMPARE(window->box("S72")->text(), QString());
    // Closing without an edit writes nothing back.
    const QVariantList before = allFactors();
    QVERIFY(window->unload());
    QCOMPARE(allFactors(), before);
}

void SettingsTest::financeTabOrderIsRowByRow()
{
    auto* window = Forms::load<Finance>();
    const QStringList expected{"Text1",  "Text2",  "Text3",  "Text4",  "Text13", "Text14", "Text15",
                               "Text16", "Text17", "Text18", "Text19", "Text20", "Text5",  "Text6",
                               "Text7",  "Text8",  "Text9",  "Text10", "Text11", "Text12"};
    QStringList order;
    QWidget* w = window->findChild<QLineEdit*>("Text1");
    while (w && order.size() < expected.size()) {
        if (qobject_cast<QLineEdit*>(w) && (w->focusPolicy() & Qt::TabFocus))
            order.append(w->objectName());
        w = w->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void SettingsTest::financeRefusesWhatIsNoNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("word") << "abc";
    QTest::newRow("decimal comma") << "0,0195";
    QTest::newRow("two points") << "0.01.95";
    QTest::newRow("trailing letters") << "0.0195x";
    QTest::newRow("percent") << "1.95%";
    QTest::newRow("not a number") << "nan";
    QTest::newRow("infinite") << "inf";
}

void SettingsTest::financeRefusesWhatIsNoNumber()
{
    QFETCH(QString, typed);
    const QVariantList before = allFactors();
    auto* window = Forms::load<Finance>();
    window->showModeless();
    auto* edit = window->box("P548");
    const QString old = edit->text();
    QVERIFY(!old.isEmpty());

    edit->setText(typed);
    QVERIFY(!window->boxLeft(edit));
    QCOMPARE(edit->text(), old);
    QCOMPARE(m_ui->messages().size(), 1);
    const Asked message = m_ui->lastMessage();
    QVERIFY2(message.text.contains(u'"' + typed + u'"'), qPrintable(message.text));
    QVERIFY(message.text.contains(QStringLiteral("not a number")));
    QCOMPARE(message.style, int(vbExclamation));
    QCOMPARE(message.title, QStringLiteral("Finance Factors"));

    // Typed again and the window closed straight away: refused the same way, and nothing is lost or written.
    edit->setText(typed);
    QVERIFY(window->unload());
    QCOMPARE(m_ui->messages().size(), 2);
    QCOMPARE(allFactors(), before);
}

void SettingsTest::financeAcceptsNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("plain") << "0.0215" << QVariant(0.0215);
    QTest::newRow("blanks around") << "  0.5 " << QVariant(0.5);
    QTest::newRow("whole number") << "2" << QVariant(2.0);
    QTest::newRow("exponent") << "1.5e-2" << QVariant(0.015);
    QTest::newRow("empty clears") << "" << QVariant();
}

void SettingsTest::financeAcceptsNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    auto* window = Forms::load<Finance>();
    window->showModeless();
    auto* edit = window->box("P1036");
    edit->setText(typed);
    QVERIFY(window->boxLeft(edit));
    QCOMPARE(edit->text(), typed);
    QVERIFY(window->unload());
    QVERIFY(m_ui->messages().isEmpty());
    const QVariant value = factor("P1036");
    QCOMPARE(value.isNull(), stored.isNull());
    if (!stored.isNull())
        QCOMPARE(value.toDouble(), stored.toDouble());
}

void SettingsTest::financeRefusesWhenTheFocusLeaves()
{
    auto* window = Forms::load<Finance>();
    window->showModeless();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* first = window->box("P72");
    auto* second = window->box("P60");
    const QString old = first->text();
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    first->selectAll();
    QTest::keyClicks(first, "fast");
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_VERIFY(second->hasFocus());
    QCOMPARE(first->text(), old);
    QCOMPARE(m_ui->messages().size(), 1);
}

void SettingsTest::financeOpensModallyAndRestoresThePointer()
{
    MainMenu* main = mainMenu();
    main->showModeless();
    bool wasModal = false;
    whenModal([&](QWidget* modal) {
        auto* window = qobject_cast<Finance*>(modal);
        wasModal = window && window->isShownModal();
        // The window's own load has set the default pointer while the entry waits.
        if (window) {
            window->box("P36")->setText("0.031");
            window->unload();
        } else {
            modal->close();
        }
    });
    main->entry("MnuFinance")->trigger();
    QVERIFY(wasModal);
    QVERIFY(!Forms::isLoaded<Finance>());
    QCOMPARE(factor("P36").toDouble(), 0.031);
    QCOMPARE(m_ui->pointerHistory.first(), Pointer::Hourglass);
    QCOMPARE(m_ui->pointerHistory.last(), Pointer::Default);
}

void SettingsTest::termsWindowsAreOneClassWithTwoLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("windowName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("table");
    QTest::newRow("payment") << "payment"
                             << "PaymentTemplate"
                             << "Payment Terms"
                             << "PaymentTerms";
    QTest::newRow("shipment") << "shipment"
                              << "ShipmentTemplate"
                              << "Shipment Terms"
                              << "ShipmentTerms";
}

void SettingsTest::termsWindowsAreOneClassWithTwoLists()
{
    QFETCH(QString, list);
    QFETCH(QString, windowName);
    QFETCH(QString, caption);
    QFETCH(QString, table);
    const TermsList& terms = termsList(list);
    auto* window = Forms::loadKeyed<TermsTemplate>(terms.table, terms);
    QCOMPARE(window->objectName(), windowName);
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->findChild<QLabel*>("SSDBGrid1Caption")->text(), caption);
    auto* grid = window->findChild<QTableView*>("SSDBGrid1");
    QVERIFY(grid);
    QCOMPARE(grid->toolTip(), QStringLiteral("Use your mouse to select the row"));
    QCOMPARE(grid->model()->columnCount(), 1);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), caption);
    QCOMPARE(window->findChild<QPushButton*>("Command1")->text(), QStringLiteral("&OK"));

    // Every row of its own table, in the table's order, and the other list's window is another instance.
    QStringList stored;
    for (const auto& row : m_folder->rows(QStringLiteral("SELECT [%1] FROM [%1] ORDER BY rowid").arg(table)))
        stored.append(row.first().toString());
    QVERIFY(!stored.isEmpty());
    QCOMPARE(gridTexts(window), stored);
    const TermsList& other = list == u"payment" ? TermsList::shipment() : TermsList::payment();
    QVERIFY(Forms::loadKeyed<TermsTemplate>(other.table, other) != window);
    QCOMPARE(Forms::loadKeyed<TermsTemplate>(terms.table, terms), window);
}

void SettingsTest::termsEditedAreOfferedToAFreshSheet_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("payment") << "payment";
    QTest::newRow("shipment") << "shipment";
}

void SettingsTest::termsEditedAreOfferedToAFreshSheet()
{
    QFETCH(QString, list);
    const TermsList& terms = termsList(list);
    QStringList expected = offeredTexts(terms);
    QVERIFY(expected.size() >= 3);

    auto* window = Forms::loadKeyed<TermsTemplate>(terms.table, terms);
    window->showModeless();
    auto* model = window->model();
    // Change the second text, add two, delete the first.
    QVERIFY(model->setData(model->index(1, 0), QStringLiteral("Changed text")));
    expected[1] = QStringLiteral("Changed text");
    QVERIFY(model->isNewRow(model->rowCount() - 1));
    QVERIFY(model->setData(model->index(model->rowCount() - 1, 0), QStringLiteral("Added text one")));
    QVERIFY(model->setData(model->index(model->rowCount() - 1, 0), QStringLiteral("Added text two")));
    // Nothing typed in the empty row adds nothing.
    QVERIFY(!model->setData(model->index(model->rowCount() - 1, 0), QStringLiteral("   ")));
    expected << QStringLiteral("Added text one") << QStringLiteral("Added text two");
    window->grid()->setCurrentIndex(model->index(0, 0));
    m_ui->answerMessage(vbYes);
    QVERIFY(window->deleteSelected());
    expected.removeFirst();
    QCOMPARE(gridTexts(window), expected);

    window->Command1_Click();
    QVERIFY(!Forms::isLoaded<TermsTemplate>(terms.table));
    QCOMPARE(offeredTexts(terms), expected);
    // The other list is untouched.
    const TermsList& other = list == u"payment" ? TermsList::shipment() : TermsList::payment();
    QVERIFY(!offeredTexts(other).contains(QStringLiteral("Changed text")));
}

void SettingsTest::termsDeleteAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("yes") << int(vbYes) << true;
    QTest::newRow("no") << int(vbNo) << false;
    QTest::newRow("unscripted takes the default, No") << 0 << false;
}

void SettingsTest::termsDeleteAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    const TermsList& terms = TermsList::shipment();
    const QStringList before = offeredTexts(terms);
    auto* window = Forms::loadKeyed<TermsTemplate>(terms.table, terms);
    window->showModeless();
    window->grid()->setCurrentIndex(window->model()->index(2, 0));
    if (answer)
        m_ui->answerMessage(answer);
    QCOMPARE(window->deleteSelected(), deleted);
    QCOMPARE(m_ui->messages().size(), 1);
    QVERIFY(m_ui->lastMessage().text.contains(before.at(2)));
    QCOMPARE(m_ui->lastMessage().style, int(vbYesNo + vbQuestion + vbDefaultButton2));
    QCOMPARE(m_ui->lastMessage().title, QStringLiteral("Shipment Terms"));
    QStringList expected = before;
    if (deleted)
        expected.removeAt(2);
    QCOMPARE(offeredTexts(terms), expected);

    // The empty row is no text to delete.
    window->grid()->setCurrentIndex(window->model()->index(window->model()->rowCount() - 1, 0));
    QVERIFY(!window->deleteSelected());
    QCOMPARE(m_ui->messages().size(), 1);
}

void SettingsTest::termsTextInTheEditorIsSavedByOk()
{
    const TermsList& terms = TermsList::payment();
    auto* window = Forms::loadKeyed<TermsTemplate>(terms.table, terms);
    window->showModeless();
    window->addText();
    auto* editor = window->grid()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("Net 30 days"));
    window->findChild<QPushButton*>("Command1")->click();
    QVERIFY(!Forms::isLoaded<TermsTemplate>(terms.table));
    QCOMPARE(offeredTexts(terms).last(), QStringLiteral("Net 30 days"));
}

void SettingsTest::termsOpenModallyWithoutPointerChange_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("windowName");
    QTest::newRow("payment") << "MnuPaymentTerms"
                             << "PaymentTemplate";
    QTest::newRow("shipment") << "MnuShipmentTerms"
                              << "ShipmentTemplate";
}

void SettingsTest::termsOpenModallyWithoutPointerChange()
{
    QFETCH(QString, entry);
    QFETCH(QString, windowName);
    MainMenu* main = mainMenu();
    main->showModeless();
    QString seen;
    bool wasModal = false;
    whenModal([&](QWidget* modal) {
        seen = modal->objectName();
        auto* window = qobject_cast<TermsTemplate*>(modal);
        wasModal = window && window->isShownModal();
        if (window)
            window->Command1_Click();
        else
            modal->close();
    });
    main->entry(entry)->trigger();
    QCOMPARE(seen, windowName);
    QVERIFY(wasModal);
    QVERIFY(m_ui->pointerHistory.isEmpty());
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
