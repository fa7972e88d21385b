// The job information sheet: its boxes and lists, the default buttons, copying, duplication, the exit checks,
// the navigator's add and delete, and how the main window opens it.
#include "jobs/jobinformationsheet.h"
#include "platform/binding.h"
#include "platform/navigator.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace tv;
using namespace tv::test;

namespace {

const QString EmptySections = QStringLiteral("Please Fill In All Empty Sections!");
const QString TooLong = QStringLiteral("You can only use 30 characters here.");

// The box of each field, as the sheet binds them.
const QList<QPair<QString, QString>> BoxOfField = {
    {"Quote Date", "Text39"},
    {"Job Name", "Text22"},
    {"Job Address 1", "Text23"},
    {"Job Address 2", "Text24"},
    {"Job Address 3", "Text25"},
    {"Job Address 4", "Text26"},
    {"Job Address 5", "Text27"},
    {"EMail", "Text40"},
    {"Job Phone", "Text29"},
    {"Job Fax", "Text30"},
    {"Commission", "Text11"},
    {"Customer Name", "Text1"},
    {"Customer Address 1", "Text2"},
    {"Customer Address 2", "Text3"},
    {"Customer Address 3", "Text4"},
    {"Customer Address 4", "Text5"},
    {"Customer Address 5", "Text6"},
    {"Customer Phone", "Text7"},
    {"Customer Fax", "Text8"},
    {"Time Period", "Text31"},
    {"Shipment Terms", "SSDBCombo1"},
    {"Payment Terms", "SSDBCombo2"},
    {"Deposit Amount", "Text37"},
    {"US Inland Freight", "Combo3"},
    {"Intl Inland Freight", "Combo4"},
    {"Insurance", "Combo5"},
    {"Ocean Freight", "Combo6"},
    {"Warranty New", "Text32"},
    {"Warranty Used", "Text33"},
    {"Warranty Electrical", "Text34"},
    {"Warranty Buy Out", "Text38"},
    {"Delivery Time", "Text35"},
    {"Delivery Time Special Orders", "Text36"},
    {"Machine Type", "Combo1"},
    {"Machine Voltage", "Combo2"},
    {"# of Lanes", "Text18"},
    {"# of Posts", "Text19"},
    {"# of Jobs", "Text20"},
    {"Country Destination", "Text21"},
    {"ContractNotes", "Text12"},
    {"Notes", "Text9"},
};

QString boxOf(const QString& field)
{
    for (const auto& [f, box] : BoxOfField)
        if (f == field)
            return box;
    qFatal("no box for %s", qPrintable(field));
}

QString fieldOf(const QString& box)
{
    for (const auto& [field, b] : BoxOfField)
        if (b == box)
            return field;
    qFatal("no field for %s", qPrintable(box));
}

} // namespace

class JobInformationSheetTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;

    JobInformationSheet* openSheet()
    {
        auto* sheet = Forms::load<JobInformationSheet>();
        sheet->showModeless();
        return sheet;
    }
    static QString text(QWidget* window, const QString& name)
    {
        QWidget* w = window->findChild<QWidget*>(name);
        if (!w)
            qFatal("no element %s", qPrintable(name));
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e->text();
        if (auto* c = qobject_cast<QComboBox*>(w))
            return c->currentText();
        if (auto* m = qobject_cast<QPlainTextEdit*>(w))
            return m->toPlainText();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        qFatal("element %s holds no text", qPrintable(name));
    }
    static void setText(QWidget* window, const QString& name, const QString& value)
    {
        QWidget* w = window->findChild<QWidget*>(name);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(value);
        else if (auto* c = qobject_cast<QComboBox*>(w))
            c->setEditText(value);
        else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
            m->setPlainText(value);
        else
            qFatal("cannot type into %s", qPrintable(name));
    }
    QString stored(const QString& field, qint64 job = 1) const
    {
        return Binding::displayText(m_folder->scalar(
            QStringLiteral("SELECT [%1] FROM [Job Information] WHERE AutoNumber = %2").arg(field).arg(job)));
    }
    int jobCount() const
    {
        return m_folder->scalar(QStringLiteral("SELECT count(*) FROM [Job Information]")).toInt();
    }
    qint64 addJob(const QString& name, const QString& lanes = QStringLiteral("8"))
    {
        m_folder->exec(
            QStringLiteral(
                "INSERT INTO [Job Information] ([Job Name], [# of Lanes], [# of Posts], [# of Jobs]) "
                "VALUES ('%1', '%2', '0', '1')")
                .arg(name, lanes));
        return m_folder->scalar(QStringLiteral("SELECT max(AutoNumber) FROM [Job Information]")).toLongLong();
    }
    static void clickNavigator(QWidget* sheet, const QString& button)
    {
        auto* nav = sheet->findChild<RecordNavigator*>(QStringLiteral("SSDBData1"));
        QVERIFY(nav);
        auto* b = nav->findChild<QToolButton*>(button);
        QVERIFY(b);
        b->click();
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

    void boxesShowTheFirstJob_data()
    {
        QTest::addColumn<QString>("field");
        for (const auto& [field, box] : BoxOfField)
            QTest::newRow(qPrintable(field)) << field;
    }
    void boxesShowTheFirstJob()
    {
        QFETCH(QString, field);
        auto* sheet = openSheet();
        QCOMPARE(text(sheet, boxOf(field)), stored(field));
        QCOMPARE(text(sheet, "Text28"), QStringLiteral("1"));
        QCOMPARE(text(sheet, "lblJobNumber"), QStringLiteral("1"));
        QCOMPARE(text(sheet, "lblJobName"), stored("Job Name"));
    }

    void elements_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("Text39") << "Text39" << 10 << "Enter The Date of this Quotation";
        QTest::newRow("Text28") << "Text28" << 32767 << "Job ID Number";
        QTest::newRow("Text22") << "Text22" << 30 << "Enter Job Name";
        QTest::newRow("Text23") << "Text23" << 30 << "Enter Job Address";
        QTest::newRow("Text27") << "Text27" << 30 << "";
        QTest::newRow("Text40") << "Text40" << 32767 << "";
        QTest::newRow("Text29") << "Text29" << 32767 << "Enter Job Phone Number";
        QTest::newRow("Text30") << "Text30" << 32767 << "Enter Job Fax Number";
        QTest::newRow("Text11") << "Text11" << 32767
                                << "Enter the commission you want to add to each line item";
        QTest::newRow("Text1") << "Text1" << 30 << "";
        QTest::newRow("Text8") << "Text8" << 30 << "";
        QTest::newRow("Text31") << "Text31" << 30 << "";
        QTest::newRow("Text37") << "Text37" << 30 << "";
        QTest::newRow("Text38") << "Text38" << 30 << "";
        QTest::newRow("Text35") << "Text35" << 2 << "";
        QTest::newRow("Text36") << "Text36" << 2 << "";
        QTest::newRow("Text18") << "Text18" << 30 << "Enter number of lanes this job";
        QTest::newRow("Text19") << "Text19" << 30 << "Enter number of posts this job";
        QTest::newRow("Text20") << "Text20" << 30 << "If this job is a split house, enter number of splits. ";
        QTest::newRow("Text21") << "Text21" << 30 << "Enter the ultimate country destination of equipment";
    }
    void elements()
    {
        QFETCH(QString, name);
        QFETCH(int, maxLength);
        QFETCH(QString, toolTip);
        auto* sheet = openSheet();
        auto* box = sheet->findChild<QLineEdit*>(name);
        QVERIFY(box);
        QCOMPARE(box->maxLength(), maxLength);
        QCOMPARE(box->toolTip(), toolTip);
    }

    void captionsAndTips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("Command1") << "Command1"
                                  << "&China Defaults"
                                  << "\"Click\" to use International Defaults";
        QTest::newRow("Command2") << "Command2"
                                  << "E&xit"
                                  << "";
        QTest::newRow("Command3") << "Command3"
                                  << "Copy &Job Name"
                                  << "";
        QTest::newRow("Command4") << "Command4"
                                  << "&USA Defaults"
                                  << " \"Click\" to use Domestic Defaults";
        QTest::newRow("Command5") << "Command5"
                                  << "&Clear Address Below"
                                  << "";
        QTest::newRow("Command6") << "Command6"
                                  << "&Duplicate This Customer"
                                  << "";
        QTest::newRow("Command7") << "Command7"
                                  << "&International Defaults"
                                  << "\"Click\" to use International Defaults";
        QTest::newRow("Command8") << "Command8"
                                  << "&China Defaults"
                                  << "";
        QTest::newRow("Command9") << "Command9"
                                  << "&Int'l Defaults"
                                  << "";
        QTest::newRow("Command10") << "Command10"
                                   << "&USA Defaults"
                                   << "";
        QTest::newRow("Command11") << "Command11"
                                   << "&Scoring Defaults"
                                   << "";
        QTest::newRow("Combo1") << "Combo1"
                                << ""
                                << "Enter type of pinsetters";
        QTest::newRow("Combo2") << "Combo2"
                                << ""
                                << "Choose from dropdown list";
        QTest::newRow("Combo3") << "Combo3"
                                << ""
                                << "Who pays USA inland freight";
        QTest::newRow("Combo4") << "Combo4"
                                << ""
                                << "Who pays Intl. inland freight";
        QTest::newRow("Combo5") << "Combo5"
                                << ""
                                << "Who pays insurance";
        QTest::newRow("Combo6") << "Combo6"
                                << ""
                                << "Who pays ocean freight";
    }
    void captionsAndTips()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        auto* sheet = openSheet();
        QWidget* element = sheet->findChild<QWidget*>(name);
        QVERIFY(element);
        if (auto* b = qobject_cast<QPushButton*>(element))
            QCOMPARE(b->text(), caption);
        QCOMPARE(element->toolTip(), toolTip);
    }

    void windowLayout()
    {
        auto* sheet = openSheet();
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Job Information Form"));
        auto* tabs = sheet->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Job Name"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Terms and Conditions"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Other Information"));
        QCOMPARE(tabs->currentIndex(), 0);
        auto* nav = sheet->findChild<RecordNavigator*>(QStringLiteral("SSDBData1"));
        QVERIFY(nav);
        QCOMPARE(nav->caption(), QStringLiteral("Job ID"));
        auto* commission = sheet->findChild<QLabel*>(QStringLiteral("LabelCommission"));
        QCOMPARE(commission->text(), QStringLiteral("Add Commision %"));
        QCOMPARE(commission->toolTip(),
                 QStringLiteral(
                     "Any percentage number placed here will be added to each line item in the quote."));
        QCOMPARE(sheet->findChild<QLineEdit*>(QStringLiteral("Text39"))->focusPolicy(), Qt::ClickFocus);
        QVERIFY(!sheet->findChild<QLineEdit*>(QStringLiteral("Text28"))->isEnabled());
    }

    void listsOfferTheirEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("machine type") << "Combo1"
                                      << QStringList{JobInformationSheet::DefaultPinsetter,
                                                     "A-2 Pinsetter, Factory Built",
                                                     "A-2 Pinsetter, Japanese Built",
                                                     "AMF 82-70 (Kicker)",
                                                     "AMF 82-70 (PBL)",
                                                     "Scoring Package",
                                                     "Seating Package",
                                                     "Capital Equipment Package"};
        QTest::newRow("voltage") << "Combo2"
                                 << QStringList{"220 VAC 50 Hz.", "220 VAC 60 Hz.", "115 VAC 50 Hz.",
                                                "115 VAC 60 Hz.", "N/A"};
        for (const char* name : {"Combo3", "Combo4", "Combo5", "Combo6"})
            QTest::newRow(name) << name << QStringList{"Buyer", "Seller"};
        QTest::newRow("shipment terms") << "SSDBCombo1" << QStringList{"@ShipmentTerms"};
        QTest::newRow("payment terms") << "SSDBCombo2" << QStringList{"@PaymentTerms"};
    }
    void listsOfferTheirEntries()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, entries);
        if (entries.size() == 1 && entries.first().startsWith(u'@')) {
            // The rows of a terms table, with one added here to see that the list is read from the table.
            const QString table = entries.first().mid(1);
            m_folder->exec(
                QStringLiteral("INSERT INTO [%1] ([%1]) VALUES ('Added for the test')").arg(table));
            entries.clear();
            for (const QVariantList& row : m_folder->rows(QStringLiteral("SELECT [%1] FROM [%1]").arg(table)))
                entries.append(row.first().toString());
            QVERIFY(entries.size() >= 2);
        }
        auto* sheet = openSheet();
        auto* box = sheet->findChild<QComboBox*>(name);
        QVERIFY(box);
        QVERIFY(box->isEditable());
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown.append(box->itemText(i));
        QCOMPARE(shown, entries);
        // Filling the list left the job's own text in the box.
        QCOMPARE(box->currentText(), stored(fieldOf(name)));
    }

    void termsDefaults_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("values"); // in the order of the fields below
        // Time Period, Shipment Terms, Payment Terms, Deposit Amount, US Inland Freight, Intl Inland Freight,
        // Insurance, Ocean Freight, Warranty New, Warranty Used, Warranty Electrical, Delivery Time,
        // Delivery Time Special Orders, Warranty Buy Out
        QTest::newRow("China") << "Command1"
                               << QStringList{"60 Days",
                                              "CIF China Main Port",
                                              "Irrevocable Letter of Credit, or Cash In Advance of Shipment",
                                              "0",
                                              "Seller",
                                              "Buyer",
                                              "Seller",
                                              "Seller",
                                              "1 Year",
                                              "6 Months",
                                              "3 Months",
                                              "30",
                                              "45",
                                              "1 Year"};
        QTest::newRow("USA")
            << "Command4"
            << QStringList{
                   "60 Days", "@ShipmentTerms", "@PaymentTerms", "0",        "Buyer", "N/A", "Buyer",
                   "N/A",     "1 Year",         "6 Months",      "3 Months", "45",    "45",  "1 Year"};
        QTest::newRow("International")
            << "Command7"
            << QStringList{"60 Days", "@ShipmentTerms", "@PaymentTerms", "0",        "Buyer",    "Buyer",
                           "Buyer",   "Buyer",          "1 Year",        "6 Months", "3 Months", "30",
                           "45",      "1 Year"};
    }
    void termsDefaults()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, values);
        const QStringList fields = {"Time Period",
                                    "Shipment Terms",
                                    "Payment Terms",
                                    "Deposit Amount",
                                    "US Inland Freight",
                                    "Intl Inland Freight",
                                    "Insurance",
                                    "Ocean Freight",
                                    "Warranty New",
                                    "Warranty Used",
                                    "Warranty Electrical",
                                    "Delivery Time",
                                    "Delivery Time Special Orders",
                                    "Warranty Buy Out"};
        // Make the first terms rows something no default writes, so that taking them is seen.
        m_folder->exec("UPDATE ShipmentTerms SET ShipmentTerms = 'First shipment row' WHERE rowid = "
                       "(SELECT min(rowid) FROM ShipmentTerms)");
        m_folder->exec("UPDATE PaymentTerms SET PaymentTerms = 'First payment row' WHERE rowid = "
                       "(SELECT min(rowid) FROM PaymentTerms)");
        for (QString& v : values) {
            if (v == u"@ShipmentTerms")
                v = QStringLiteral("First shipment row");
            else if (v == u"@PaymentTerms")
                v = QStringLiteral("First payment row");
        }
        m_folder->exec(
            "UPDATE [Job Information] SET [Time Period] = 'x', [Delivery Time] = '9', [# of Lanes] = '12'");
        auto* sheet = openSheet();
        sheet->findChild<QPushButton*>(button)->click();
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(text(sheet, boxOf(fields[i])), values[i]);
        // Put into the boxes, not yet saved; other fields untouched.
        QCOMPARE(stored("Time Period"), QStringLiteral("x"));
        QCOMPARE(text(sheet, "Text18"), QStringLiteral("12"));
        QVERIFY(sheet->jobBinding()->updateRecord());
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(stored(fields[i]), values[i]);
        QVERIFY(m_ui->messages().isEmpty());
    }

    void machineDefaults_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("voltage");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("contract");
        QTest::newRow("China") << "Command8" << JobInformationSheet::DefaultPinsetter << "220 VAC-50Hz."
                               << "" << JobInformationSheet::TwentyDayTerms;
        QTest::newRow("Int'l") << "Command9" << JobInformationSheet::DefaultPinsetter
                               << "Needs to be determined!"
                               << "" << JobInformationSheet::TwentyDayTerms;
        QTest::newRow("USA") << "Command10" << JobInformationSheet::DefaultPinsetter << "220 VAC-60Hz."
                             << ", USA" << JobInformationSheet::FiveDayTerms;
        QTest::newRow("Scoring") << "Command11"
                                 << "New Scoring Package"
                                 << "120 VAC-60Hz."
                                 << ", USA" << JobInformationSheet::FiveDayTerms;
    }
    void machineDefaults()
    {
        QFETCH(QString, button);
        QFETCH(QString, machine);
        QFETCH(QString, voltage);
        QFETCH(QString, country);
        QFETCH(QString, contract);
        m_folder->exec("UPDATE [Job Information] SET [# of Posts] = '7', [Country Destination] = 'Peru', "
                       "[# of Lanes] = '16'");
        auto* sheet = openSheet();
        sheet->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(2);
        sheet->findChild<QPushButton*>(button)->click();
        QCOMPARE(text(sheet, "Combo1"), machine);
        QCOMPARE(text(sheet, "Combo2"), voltage);
        QCOMPARE(text(sheet, "Text19"), QStringLiteral("0"));
        QCOMPARE(text(sheet, "Text21"), country);
        QCOMPARE(text(sheet, "Text12"), contract);
        QCOMPARE(text(sheet, "Text18"), QStringLiteral("16"));
        QCOMPARE(sheet->focusWidget(), sheet->findChild<QWidget*>(QStringLiteral("Text21")));
        QCOMPARE(sheet->findChild<QLineEdit*>(QStringLiteral("Text21"))->cursorPosition(), 0);
        QVERIFY(sheet->jobBinding()->updateRecord());
        QCOMPARE(stored("Machine Voltage"), voltage);
        QCOMPARE(stored("ContractNotes"), contract);
        QCOMPARE(stored("# of Posts"), QStringLiteral("0"));
    }

    void contractTextsWordForWord()
    {
        QCOMPARE(JobInformationSheet::FiveDayTerms,
                 QStringLiteral(
                     "Within 5 days after execution of this contract, Buyer shall send 25% of the sales "
                     "contract as a cash down payment. The remaining 70% of the sales contract shall be "
                     "payable prior to shipment. The final 5% of the sales contract shall be payable upon "
                     "completion and installation of the Goods described in this sales contract."));
        QCOMPARE(JobInformationSheet::TwentyDayTerms,
                 QStringLiteral(
                     "Within 20 days after execution of this contract, Buyer shall issue to the Seller an "
                     "irrevocable Letter of Credit in a form acceptable to Seller and Seller's bank "
                     "showing payment terms of 100% of total contract purchase price."));
    }

    void copyAndClearTheDocumentsBlock()
    {
        auto* sheet = openSheet();
        const QStringList from = {"Text22", "Text23", "Text24", "Text25",
                                  "Text26", "Text27", "Text29", "Text30"};
        const QStringList to = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8"};
        for (int i = 0; i < from.size(); ++i)
            setText(sheet, from[i], QStringLiteral("value %1").arg(i));
        sheet->findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        for (int i = 0; i < to.size(); ++i)
            QCOMPARE(text(sheet, to[i]), QStringLiteral("value %1").arg(i));
        sheet->findChild<QPushButton*>(QStringLiteral("Command5"))->click();
        for (const QString& box : to)
            QVERIFY2(text(sheet, box).isEmpty(), qPrintable(box));
        // The job's own block is left alone.
        QCOMPARE(text(sheet, "Text22"), QStringLiteral("value 0"));
    }

    void duplicate_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(vbYes);
        QTest::newRow("no") << int(vbNo);
    }
    void duplicate()
    {
        QFETCH(int, answer);
        m_folder->exec("UPDATE [Job Information] SET [Customer Name] = 'Old documents name', "
                       "[Customer Address 1] = 'Old documents street'");
        addJob(QStringLiteral("Second job"));
        const int jobsBefore = jobCount();
        const qint64 highest = m_folder->scalar("SELECT max(AutoNumber) FROM [Job Information]").toLongLong();
        auto* sheet = openSheet();
        // An edit not yet saved goes into the original job first, and is carried over.
        setText(sheet, "Text18", QStringLiteral("14"));
        setText(sheet, "Text9", QStringLiteral("Notes of the original"));
        m_ui->answerMessage(answer);
        sheet->findChild<QPushButton*>(QStringLiteral("Command6"))->click();

        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(m_ui->lastMessage().text,
                 QStringLiteral("Are you sure you want to duplicate this customer?"));
        QCOMPARE(m_ui->lastMessage().style, 292);
        QVERIFY(m_ui->lastMessage().title.isEmpty());
        if (answer == vbNo) {
            QCOMPARE(jobCount(), jobsBefore);
            QCOMPARE(text(sheet, "Text28"), QStringLiteral("1"));
            QCOMPARE(text(sheet, "Text18"), QStringLiteral("14"));
            return;
        }
        QCOMPARE(jobCount(), jobsBefore + 1);
        const qint64 copy = m_folder->scalar("SELECT max(AutoNumber) FROM [Job Information]").toLongLong();
        QVERIFY(copy > highest);
        QCOMPARE(stored("# of Lanes", 1), QStringLiteral("14"));
        QCOMPARE(stored("Notes", 1), QStringLiteral("Notes of the original"));
        const QStringList carried = {"Job Name",
                                     "Job Address 1",
                                     "Job Address 2",
                                     "EMail",
                                     "Job Phone",
                                     "Job Fax",
                                     "Commission",
                                     "ContractNotes",
                                     "Time Period",
                                     "Shipment Terms",
                                     "Payment Terms",
                                     "Deposit Amount",
                                     "US Inland Freight",
                                     "Intl Inland Freight",
                                     "Ocean Freight",
                                     "Insurance",
                                     "Warranty New",
                                     "Warranty Used",
                                     "Warranty Electrical",
                                     "Warranty Buy Out",
                                     "Delivery Time",
                                     "Delivery Time Special Orders",
                                     "Machine Type",
                                     "Machine Voltage",
                                     "# of Lanes",
                                     "# of Posts",
                                     "# of Jobs",
                                     "Country Destination"};
        for (const QString& field : carried)
            QVERIFY2(stored(field, copy) == stored(field, 1), qPrintable(field));
        QVERIFY(!stored("Job Name", copy).isEmpty());
        QVERIFY(stored("Quote Date", copy).isEmpty());
        QVERIFY(stored("Notes", copy).isEmpty());
        // The documents block repeats the job block, not the original's documents block.
        QCOMPARE(stored("Customer Name", copy), stored("Job Name", 1));
        QCOMPARE(stored("Customer Address 1", copy), stored("Job Address 1", 1));
        QCOMPARE(stored("Customer Phone", copy), stored("Job Phone", 1));
        QCOMPARE(stored("Customer Name", 1), QStringLiteral("Old documents name"));
        QCOMPARE(
            m_folder->scalar(QStringLiteral("SELECT count(*) FROM [Job Items] WHERE Recordno = %1").arg(copy))
                .toInt(),
            0);
        // The sheet shows the new job.
        QCOMPARE(text(sheet, "Text28"), QString::number(copy));
        QCOMPARE(text(sheet, "lblJobNumber"), QString::number(copy));
        QVERIFY(text(sheet, "Text39").isEmpty());
    }

    void listLengthOnLosingFocus_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("refused");
        for (const char* box : {"Combo1", "Combo2", "Combo3", "Combo4", "Combo6"}) {
            QTest::addRow("%s 30", box) << box << 30 << false;
            QTest::addRow("%s 31", box) << box << 31 << true;
        }
        QTest::newRow("Combo1 empty") << "Combo1" << 0 << false;
    }
    void listLengthOnLosingFocus()
    {
        QFETCH(QString, box);
        QFETCH(int, length);
        QFETCH(bool, refused);
        auto* sheet = openSheet();
        auto* combo = sheet->findChild<QComboBox*>(box);
        combo->setEditText(QString(length, u'x'));
        if (box == u"Combo1")
            sheet->Combo1_LostFocus();
        else if (box == u"Combo2")
            sheet->Combo2_LostFocus();
        else if (box == u"Combo3")
            sheet->Combo3_LostFocus();
        else if (box == u"Combo4")
            sheet->Combo4_LostFocus();
        else
            sheet->Combo6_LostFocus();
        if (!refused) {
            QVERIFY(m_ui->messages().isEmpty());
            return;
        }
        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(m_ui->lastMessage().text, TooLong);
        QCOMPARE(m_ui->lastMessage().style, 0);
        QVERIFY(m_ui->lastMessage().title.isEmpty());
        QCOMPARE(sheet->focusWidget(), combo);
    }

    void losingFocusIsCheckedForReal()
    {
        auto* sheet = openSheet();
        sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        sheet->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(2);
        auto* machine = sheet->findChild<QComboBox*>(QStringLiteral("Combo1"));
        auto* voltage = sheet->findChild<QComboBox*>(QStringLiteral("Combo2"));
        machine->setFocus();
        QTest::keyClicks(machine, QString(31, u'm'));
        // Both too long: the focus goes back to the first and the two do not pass it back and forth.
        voltage->setEditText(QString(31, u'v'));
        sheet->findChild<QLineEdit*>(QStringLiteral("Text18"))->setFocus();
        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(m_ui->lastMessage().text, TooLong);
        QCOMPARE(QApplication::focusWidget(), machine);
        machine->setEditText(QString(30, u'm'));
        sheet->findChild<QLineEdit*>(QStringLiteral("Text18"))->setFocus();
        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(QApplication::focusWidget(), sheet->findChild<QWidget*>(QStringLiteral("Text18")));
    }

    void insuranceRefusesTheThirtyFirstCharacter()
    {
        auto* sheet = openSheet();
        sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        sheet->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
        auto* insurance = sheet->findChild<QComboBox*>(QStringLiteral("Combo5"));
        insurance->setFocus();
        insurance->lineEdit()->clear();
        QTest::keyClicks(insurance, QString(30, u'i'));
        QVERIFY(m_ui->messages().isEmpty());
        QTest::keyClicks(insurance, QStringLiteral("j"));
        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(m_ui->lastMessage().text, TooLong);
        QCOMPARE(QApplication::focusWidget(), insurance);
        // Showing another job is no typing: a long stored text is not refused on sight.
        m_folder->exec(
            QStringLiteral("UPDATE [Job Information] SET Insurance = '%1'").arg(QString(40, u'z')));
        sheet->jobBinding()->cancelUpdate();
        QVERIFY(sheet->jobBinding()->refresh());
        QCOMPARE(text(sheet, "Combo5"), QString(40, u'z'));
        QCOMPARE(m_ui->messages().size(), 1);
    }

    void leaving_data()
    {
        QTest::addColumn<QString>("lanes");
        QTest::addColumn<QString>("posts");
        QTest::addColumn<QString>("jobs");
        QTest::addColumn<bool>("byExit"); // "E&xit", otherwise the close box
        QTest::addColumn<bool>("closes");
        QTest::newRow("exit, all filled") << "12"
                                          << "0"
                                          << "1" << true << true;
        QTest::newRow("close, all filled") << "12"
                                           << "0"
                                           << "1" << false << true;
        QTest::newRow("exit, no # of Jobs") << "12"
                                            << "0"
                                            << "" << true << false;
        QTest::newRow("close, no # of Jobs") << "12"
                                             << "0"
                                             << "" << false << true;
        QTest::newRow("exit, no lanes") << ""
                                        << "0"
                                        << "1" << true << false;
        QTest::newRow("close, no lanes") << ""
                                         << "0"
                                         << "1" << false << false;
        QTest::newRow("exit, no posts") << "12"
                                        << ""
                                        << "1" << true << false;
        QTest::newRow("close, no posts") << "12"
                                         << ""
                                         << "1" << false << false;
        QTest::newRow("exit, blanks only") << "12"
                                           << "  "
                                           << "1" << true << false;
    }
    void leaving()
    {
        QFETCH(QString, lanes);
        QFETCH(QString, posts);
        QFETCH(QString, jobs);
        QFETCH(bool, byExit);
        QFETCH(bool, closes);
        MainMenu* main = mainMenu();
        main->MnuJobInformation_Click();
        QVERIFY(!main->isVisible());
        QPointer<JobInformationSheet> sheet = Forms::loaded<JobInformationSheet>();
        QVERIFY(sheet);
        setText(sheet, "Text18", lanes);
        setText(sheet, "Text19", posts);
        setText(sheet, "Text20", jobs);
        setText(sheet, "Text31", QStringLiteral("90 Days"));
        if (byExit)
            sheet->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        else
            sheet->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (closes) {
            QVERIFY(!Forms::isLoaded<JobInformationSheet>());
            QVERIFY(main->isVisible());
            QVERIFY(m_ui->messages().isEmpty());
            // Leaving saved what was typed.
            QCOMPARE(stored("Time Period"), QStringLiteral("90 Days"));
            QCOMPARE(stored("# of Jobs"), jobs);
            return;
        }
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QVERIFY(!main->isVisible());
        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(m_ui->lastMessage().text, EmptySections);
        QCOMPARE(m_ui->lastMessage().style, 0);
        QVERIFY(m_ui->lastMessage().title.isEmpty());
        if (byExit) {
            QCOMPARE(sheet->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->currentIndex(), 2);
            QCOMPARE(sheet->focusWidget(), sheet->findChild<QWidget*>(QStringLiteral("Combo1")));
        } else {
            QCOMPARE(sheet->focusWidget(), sheet->findChild<QWidget*>(QStringLiteral("Text18")));
        }
        // What was typed is still there.
        QCOMPARE(text(sheet, "Text31"), QStringLiteral("90 Days"));
    }

    void aRefusedSaveKeepsTheSheet_data()
    {
        QTest::addColumn<bool>("byExit");
        QTest::newRow("exit") << true;
        QTest::newRow("close box") << false;
    }
    void aRefusedSaveKeepsTheSheet()
    {
        QFETCH(bool, byExit);
        auto* sheet = openSheet();
        setText(sheet, "Text11", QStringLiteral("ten percent"));
        setText(sheet, "Text31", QStringLiteral("30 Days"));
        if (byExit)
            sheet->Command2_Click();
        else
            sheet->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Forms::isLoaded<JobInformationSheet>());
        QCOMPARE(m_ui->messages().size(), 1);
        QVERIFY(m_ui->lastMessage().text.contains(QStringLiteral("Commission")));
        QCOMPARE(m_ui->lastMessage().style & 112, int(vbCritical));
        QCOMPARE(text(sheet, "Text11"), QStringLiteral("ten percent"));
        QCOMPARE(stored("Commission"), QStringLiteral("10"));
        QCOMPARE(stored("Time Period"), QStringLiteral("60 Days"));
    }

    void editsAreSavedWhenMoving()
    {
        const qint64 second = addJob(QStringLiteral("Second job"));
        auto* sheet = openSheet();
        setText(sheet, "Text22", QStringLiteral("Renamed first job"));
        setText(sheet, "Text9", QStringLiteral("Line one\nLine two"));
        clickNavigator(sheet, QStringLiteral("Next"));
        QCOMPARE(text(sheet, "Text28"), QString::number(second));
        QCOMPARE(text(sheet, "lblJobName"), QStringLiteral("Second job"));
        QCOMPARE(stored("Job Name"), QStringLiteral("Renamed first job"));
        QCOMPARE(stored("Notes"), QStringLiteral("Line one\nLine two"));
        clickNavigator(sheet, QStringLiteral("First"));
        QCOMPARE(text(sheet, "Text22"), QStringLiteral("Renamed first job"));
        clickNavigator(sheet, QStringLiteral("Last"));
        QCOMPARE(text(sheet, "Text28"), QString::number(second));
        clickNavigator(sheet, QStringLiteral("Previous"));
        QCOMPARE(text(sheet, "Text28"), QStringLiteral("1"));
    }

    void addANewJob()
    {
        const qint64 highest = m_folder->scalar("SELECT max(AutoNumber) FROM [Job Information]").toLongLong();
        auto* sheet = openSheet();
        setText(sheet, "Text21", QStringLiteral("Chile"));
        clickNavigator(sheet, QStringLiteral("Add"));
        QCOMPARE(stored("Country Destination"), QStringLiteral("Chile"));
        for (const auto& [field, box] : BoxOfField)
            QVERIFY2(text(sheet, box).isEmpty(), qPrintable(box));
        QVERIFY(text(sheet, "Text28").isEmpty());
        QCOMPARE(sheet->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->currentIndex(), 0);
        setText(sheet, "Text22", QStringLiteral("Brand new job"));
        setText(sheet, "Text18", QStringLiteral("24"));
        setText(sheet, "Text19", QStringLiteral("2"));
        setText(sheet, "Text20", QStringLiteral("1"));
        sheet->Command2_Click();
        QVERIFY(!Forms::isLoaded<JobInformationSheet>());
        const qint64 number = m_folder->scalar("SELECT max(AutoNumber) FROM [Job Information]").toLongLong();
        QVERIFY(number > highest);
        QCOMPARE(stored("Job Name", number), QStringLiteral("Brand new job"));
        QCOMPARE(stored("# of Lanes", number), QStringLiteral("24"));
    }

    void aBlankNewJobLeavesWithoutAQuestion()
    {
        const int before = jobCount();
        auto* sheet = openSheet();
        clickNavigator(sheet, QStringLiteral("Add"));
        sheet->close();
        QVERIFY(!Forms::isLoaded<JobInformationSheet>());
        QVERIFY(m_ui->messages().isEmpty());
        QCOMPARE(jobCount(), before);
    }

    void deleteAJob_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("blocked"); // the engine refuses to delete the job row
        QTest::newRow("yes") << int(vbYes) << false;
        QTest::newRow("no") << int(vbNo) << false;
        QTest::newRow("yes, engine refuses") << int(vbYes) << true;
    }
    void deleteAJob()
    {
        QFETCH(int, answer);
        QFETCH(bool, blocked);
        const qint64 second = addJob(QStringLiteral("Second job"));
        m_folder->exec(QStringLiteral("INSERT INTO [Job Items] (Recordno, [Item Name]) VALUES (%1, 'Kept')")
                           .arg(second));
        if (blocked)
            m_folder->exec("CREATE TRIGGER keep_jobs BEFORE DELETE ON [Job Information] "
                           "BEGIN SELECT RAISE(ABORT, 'jobs are kept'); END");
        const int lines = m_folder->scalar("SELECT count(*) FROM [Job Items] WHERE Recordno = 1").toInt();
        QCOMPARE(lines, 6);
        auto* sheet = openSheet();
        setText(sheet, "Text21", QStringLiteral("typed before deleting"));
        m_ui->answerMessage(answer);
        clickNavigator(sheet, QStringLiteral("Delete"));
        const Asked question = m_ui->messages().first();
        QCOMPARE(question.style, 292);
        QCOMPARE(question.text, QStringLiteral("Are you sure you want to delete job 1 \"Example Lanes\"? "
                                               "Its 6 quote lines will be deleted with it."));
        if (answer == vbNo || blocked) {
            QCOMPARE(jobCount(), 2);
            QCOMPARE(m_folder->scalar("SELECT count(*) FROM [Job Items] WHERE Recordno = 1").toInt(), 6);
            if (blocked) {
                QCOMPARE(m_ui->messages().size(), 2);
                QVERIFY(m_ui->lastMessage().text.contains(QStringLiteral("jobs are kept")));
            }
            return;
        }
        QCOMPARE(m_ui->messages().size(), 1);
        QCOMPARE(jobCount(), 1);
        QCOMPARE(m_folder->scalar("SELECT count(*) FROM [Job Items] WHERE Recordno = 1").toInt(), 0);
        QCOMPARE(
            m_folder
                ->scalar(QStringLiteral("SELECT count(*) FROM [Job Items] WHERE Recordno = %1").arg(second))
                .toInt(),
            1);
        QCOMPARE(text(sheet, "Text28"), QString::number(second));
        QCOMPARE(sheet->jobBinding()->recordCount(), 1);
    }

    void deleteQuestionCountsLines_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("tail");
        QTest::newRow("none") << 0 << "It has no quote lines.";
        QTest::newRow("one") << 1 << "Its 1 quote line will be deleted with it.";
    }
    void deleteQuestionCountsLines()
    {
        QFETCH(int, lines);
        QFETCH(QString, tail);
        const qint64 job = addJob(QStringLiteral("Small job"));
        for (int i = 0; i < lines; ++i)
            m_folder->exec(QStringLiteral("INSERT INTO [Job Items] (Recordno) VALUES (%1)").arg(job));
        auto* sheet = openSheet();
        clickNavigator(sheet, QStringLiteral("Last"));
        m_ui->answerMessage(vbNo);
        clickNavigator(sheet, QStringLiteral("Delete"));
        QCOMPARE(
            m_ui->lastMessage().text,
            QStringLiteral("Are you sure you want to delete job %1 \"Small job\"? %2").arg(job).arg(tail));
    }

    void anEmptyTableGetsItsFirstJob()
    {
        m_folder->exec("DELETE FROM [Job Items]");
        m_folder->exec("DELETE FROM [Job Information]");
        auto* sheet = openSheet();
        QVERIFY(text(sheet, "Text22").isEmpty());
        // With no job there is nothing to check: the sheet can be left.
        sheet->Command2_Click();
        QVERIFY(!Forms::isLoaded<JobInformationSheet>());
        QVERIFY(m_ui->messages().isEmpty());

        sheet = openSheet();
        clickNavigator(sheet, QStringLiteral("Add"));
        setText(sheet, "Text22", QStringLiteral("First of all"));
        setText(sheet, "Text18", QStringLiteral("6"));
        setText(sheet, "Text19", QStringLiteral("0"));
        setText(sheet, "Text20", QStringLiteral("1"));
        sheet->Command2_Click();
        QVERIFY(!Forms::isLoaded<JobInformationSheet>());
        QCOMPARE(jobCount(), 1);
        QVERIFY(m_folder->scalar("SELECT AutoNumber FROM [Job Information]").toLongLong() > 1);
    }

    void openedFromTheMainWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("mainHidden");
        QTest::addColumn<QList<int>>("pointers"); // as set by the main window's handler
        QTest::newRow("menu") << "menu" << true << QList<int>{int(Pointer::Hourglass), int(Pointer::Default)};
        QTest::newRow("handshake") << "handshake" << false << QList<int>{int(Pointer::Hourglass)};
        QTest::newRow("label") << "label" << false
                               << QList<int>{int(Pointer::Hourglass), int(Pointer::Arrow)};
    }
    void openedFromTheMainWindow()
    {
        QFETCH(QString, how);
        QFETCH(bool, mainHidden);
        QFETCH(QList<int>, pointers);
        MainMenu* main = mainMenu();
        main->show();
        QVERIFY(main->entry(QStringLiteral("MnuJobInformation"))->isEnabled());
        const auto open = [&]() {
            if (how == u"menu")
                main->entry(QStringLiteral("MnuJobInformation"))->trigger();
            else if (how == u"handshake")
                main->Image4_DblClick();
            else
                main->Label2_Click();
        };
        m_ui->pointerHistory.clear();
        open();
        QList<int> seen;
        for (Pointer p : m_ui->pointerHistory)
            seen.append(int(p));
        QCOMPARE(seen, pointers);
        auto* sheet = Forms::loaded<JobInformationSheet>();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QVERIFY(!sheet->isShownModal());
        QCOMPARE(main->isVisible(), !mainHidden);
        // Painting puts the pointer back to the default.
        QVERIFY(QTest::qWaitForWindowExposed(sheet));
        m_ui->setPointer(Pointer::Hourglass);
        sheet->repaint();
        QCOMPARE(m_ui->pointer(), Pointer::Default);
        // Opening it again brings the same sheet to the front.
        main->show();
        open();
        QCOMPARE(Forms::loaded<JobInformationSheet>(), sheet);
        QCOMPARE(Forms::all().count(sheet), 1);
    }

    void endingTheProgramSkipsTheChecks()
    {
        MainMenu* main = mainMenu();
        main->show();
        main->Image4_DblClick();
        auto* sheet = Forms::loaded<JobInformationSheet>();
        setText(sheet, "Text18", QString());
        setText(sheet, "Text31", QStringLiteral("unsaved"));
        main->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::isLoaded<JobInformationSheet>());
        QVERIFY(m_ui->messages().isEmpty());
        QCOMPARE(stored("Time Period"), QStringLiteral("60 Days"));
    }
};

QTEST_MAIN(JobInformationSheetTest)
#include "tst_jobinformationsheet.moc"
