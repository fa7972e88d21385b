// The report catalogue: which file each button and check box prints, with which formula, and how a typed job
// number is read before it goes into one.
#include "platform/interactive.h"
#include "platform/report/engine.h"
#include "platform/report/selection.h"
#include "reports/reportcatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTest>

using namespace tv;
using namespace tv::reports;

namespace {

enum class Prefix { JobItems, JobInformation, JobInformationSpaced, None };

QString prefixText(Prefix p)
{
    switch (p) {
    case Prefix::JobItems:
        return QStringLiteral("{Job Items.Recordno}= ");
    case Prefix::JobInformation:
        return QStringLiteral("{Job Information.AutoNumber}=");
    case Prefix::JobInformationSpaced:
        return QStringLiteral("{Job Information.AutoNumber}= ");
    case Prefix::None:
        return QString();
    }
    return {};
}

QString layoutFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../reports/layouts"));
}

} // namespace

Q_DECLARE_METATYPE(Prefix)

class ReportCatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void singleReports_data();
    void singleReports();
    void singleReportsInFrameOrder();
    void multipleReports_data();
    void multipleReports();
    void contractPackages_data();
    void contractPackages();
    void everyFileIsALayout_data();
    void everyFileIsALayout();
    void reportPathFollowsTheApplicationFolder();
    void jobNumbers_data();
    void jobNumbers();
    void jobNumberMessages();
};

void ReportCatalogueTest::singleReports_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("file");
    QTest::addColumn<Prefix>("prefix");
    QTest::addColumn<bool>("blankAfterEquals");

    QTest::newRow("Command2") << "Command2"
                              << "Job Quote (With Prices)"
                              << "\\Schedule ABC With Prices.rpt" << Prefix::JobItems << true;
    QTest::newRow("Command7") << "Command7"
                              << "Job Quote (No Prices)"
                              << "\\Schedule ABC With No Prices.rpt" << Prefix::JobItems << true;
    QTest::newRow("Command8") << "Command8"
                              << "Job Quote (No Totals)"
                              << "\\Schedule ABC With Prices & No Totals.rpt" << Prefix::JobItems << true;
    QTest::newRow("Command3") << "Command3"
                              << "Proforma Invoice"
                              << "\\ProForma.rpt" << Prefix::JobItems << true;
    QTest::newRow("Command4") << "Command4"
                              << "Detailed Terms and Conditions"
                              << "\\Terms & Conditions.rpt" << Prefix::JobInformation << false;
    QTest::newRow("Command9") << "Command9"
                              << "Scoring Only Terms and Conditions"
                              << "\\USA Scoring Only Terms & Conditions.rpt" << Prefix::JobInformation
                              << false;
    QTest::newRow("Command10") << "Command10"
                               << "Financing"
                               << "\\Financing.rpt" << Prefix::JobItems << true;
    QTest::newRow("Command11") << "Command11"
                               << "Simple Terms and Conditions"
                               << "\\USA Upgrade Package Terms & Conditions.rpt" << Prefix::None << false;
}

void ReportCatalogueTest::singleReports()
{
    QFETCH(QString, element);
    QFETCH(QString, caption);
    QFETCH(QString, file);
    QFETCH(Prefix, prefix);
    QFETCH(bool, blankAfterEquals);

    const CatalogueEntry* entry = catalogue::find(element, true);
    QVERIFY(entry);
    QCOMPARE(entry->caption, caption);
    QCOMPARE(entry->file, file);
    QCOMPARE(entry->prefix, prefixText(prefix));
    QCOMPARE(entry->prefix.endsWith(QStringLiteral("= ")), blankAfterEquals);
    QCOMPARE(entry->needsJobNumber(), prefix != Prefix::None);
    if (prefix != Prefix::None)
        QCOMPARE(catalogue::formula(*entry, QStringLiteral("17")), prefixText(prefix) + QStringLiteral("17"));
}

void ReportCatalogueTest::singleReportsInFrameOrder()
{
    QStringList elements;
    for (const CatalogueEntry& e : catalogue::singleReports())
        elements << e.element;
    QCOMPARE(elements, QStringList({"Command2", "Command7", "Command8", "Command3", "Command4", "Command9",
                                    "Command10", "Command11"}));
}

void ReportCatalogueTest::multipleReports_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("file");
    QTest::addColumn<Prefix>("prefix");

    QTest::newRow("1") << 1 << "Check10"
                       << "Job Quote (With Pricing)"
                       << "\\Schedule ABC With Prices.rpt" << Prefix::JobItems;
    QTest::newRow("2") << 2 << "Check11"
                       << "Job Quote (No Pricing)"
                       << "\\Schedule ABC With No Prices.rpt" << Prefix::JobItems;
    QTest::newRow("3") << 3 << "Check12"
                       << "Job Quote (No Totals)"
                       << "\\Schedule ABC with Prices & No Totals.rpt" << Prefix::JobItems;
    QTest::newRow("4") << 4 << "Check13"
                       << "Cash Receipt"
                       << "\\CashReceipt.rpt" << Prefix::JobItems;
    QTest::newRow("5") << 5 << "Check1"
                       << "International Terms and Conditions"
                       << "\\Terms & Conditions.rpt" << Prefix::JobInformation;
    QTest::newRow("6") << 6 << "Check2"
                       << "Domestic Terms and Conditions"
                       << "\\USA Terms & Conditions.rpt" << Prefix::JobInformation;
    QTest::newRow("7") << 7 << "Check3"
                       << "Scoring Only Terms and Conditions"
                       << "\\USA Scoring Only Terms & Conditions.rpt" << Prefix::JobInformation;
    QTest::newRow("8") << 8 << "Check4"
                       << "Simplified Terms and Conditions"
                       << "\\USA Upgrade Package Terms & Conditions.rpt" << Prefix::JobInformation;
    QTest::newRow("9") << 9 << "Check6"
                       << "Proforma Invoice"
                       << "\\ProForma.rpt" << Prefix::JobItems;
    QTest::newRow("10") << 10 << "Check7"
                        << "Financing"
                        << "\\Financing.rpt" << Prefix::JobItems;
}

void ReportCatalogueTest::multipleReports()
{
    QFETCH(int, order);
    QFETCH(QString, element);
    QFETCH(QString, caption);
    QFETCH(QString, file);
    QFETCH(Prefix, prefix);

    const QList<CatalogueEntry>& list = catalogue::multipleReports();
    QCOMPARE(list.size(), 10);
    const CatalogueEntry& entry = list.at(order - 1);
    QCOMPARE(entry.element, element);
    QCOMPARE(entry.caption, caption);
    QCOMPARE(entry.file, file);
    QCOMPARE(entry.prefix, prefixText(prefix));
}

void ReportCatalogueTest::contractPackages_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<Prefix>>("prefixes");

    QTest::newRow("Command6") << "Command6"
                              << "International Contract" << 36
                              << QStringList{"\\Contract INTL Terms & Conditions.rpt",
                                             "\\Contract Agreement INTL.rpt", "\\ProForma.rpt"}
                              << QList<Prefix>{Prefix::JobInformationSpaced, Prefix::JobItems,
                                               Prefix::JobItems};
    QTest::newRow("Command7") << "Command7"
                              << "Domestic Contract" << 4
                              << QStringList{"\\Contract USA Terms & Conditions.rpt",
                                             "\\Contract Agreement USA.rpt"}
                              << QList<Prefix>{Prefix::JobInformationSpaced, Prefix::JobItems};
    QTest::newRow("Command8") << "Command8"
                              << "Scoring Contract" << 4
                              << QStringList{"\\Contract USA SCORING ONLY TERMS & CONDITIONS.RPT",
                                             "\\Contract Agreement USA.rpt"}
                              << QList<Prefix>{Prefix::JobInformationSpaced, Prefix::JobItems};
}

void ReportCatalogueTest::contractPackages()
{
    QFETCH(QString, element);
    QFETCH(QString, caption);
    QFETCH(int, style);
    QFETCH(QStringList, files);
    QFETCH(QList<Prefix>, prefixes);

    const ContractPackage* package = nullptr;
    for (const ContractPackage& p : catalogue::contractPackages())
        if (p.element == element)
            package = &p;
    QVERIFY(package);
    QCOMPARE(package->caption, caption);
    QCOMPARE(package->questionStyle, style);
    QStringList actualFiles;
    QStringList actualPrefixes;
    QStringList expectedPrefixes;
    for (const CatalogueEntry& e : package->afterSchedule) {
        actualFiles << e.file;
        actualPrefixes << e.prefix;
    }
    for (Prefix p : prefixes)
        expectedPrefixes << prefixText(p);
    QCOMPARE(actualFiles, files);
    QCOMPARE(actualPrefixes, expectedPrefixes);

    QCOMPARE(catalogue::contractSchedule(true).file,
             QStringLiteral("\\Contract Schedule ABC with Prices.rpt"));
    QCOMPARE(catalogue::contractSchedule(false).file,
             QStringLiteral("\\Contract Schedule ABC with No Prices.rpt"));
    QCOMPARE(catalogue::contractSchedule(true).prefix, prefixText(Prefix::JobItems));
    QCOMPARE(catalogue::contractSchedule(false).prefix, prefixText(Prefix::JobItems));
}

void ReportCatalogueTest::everyFileIsALayout_data()
{
    QTest::addColumn<QString>("file");
    QSet<QString> seen;
    QList<CatalogueEntry> all = catalogue::singleReports() + catalogue::multipleReports();
    all << catalogue::contractSchedule(true) << catalogue::contractSchedule(false);
    for (const ContractPackage& p : catalogue::contractPackages())
        all += p.afterSchedule;
    for (const CatalogueEntry& e : all)
        if (!seen.contains(e.file)) {
            seen.insert(e.file);
            QTest::newRow(qPrintable(e.file)) << e.file;
        }
}

void ReportCatalogueTest::everyFileIsALayout()
{
    QFETCH(QString, file);
    // The literal, with its backslash, after the folder: found whatever the letter case on disk.
    const QString found = report::ReportEngine::findFileIgnoringCase(layoutFolder() + file);
    QVERIFY2(!found.isEmpty(), qPrintable(file));
    QCOMPARE(QFileInfo(found).fileName().compare(file.mid(1), Qt::CaseInsensitive), 0);
}

void ReportCatalogueTest::reportPathFollowsTheApplicationFolder()
{
    platform::setAppFolder(QStringLiteral("/srv/tarvenor"));
    QCOMPARE(catalogue::reportPath(QStringLiteral("\\ProForma.rpt")),
             QStringLiteral("/srv/tarvenor\\ProForma.rpt"));
    platform::setAppFolder(QString());
}

void ReportCatalogueTest::jobNumbers_data()
{
    using N = catalogue::JobNumber;
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "17" << int(N::Valid) << "17";
    QTest::newRow("blanks around") << "  17 " << int(N::Valid) << "17";
    QTest::newRow("leading zeros") << "0017" << int(N::Valid) << "17";
    QTest::newRow("largest") << "2147483647" << int(N::Valid) << "2147483647";
    QTest::newRow("empty") << "" << int(N::Empty) << "";
    QTest::newRow("blanks only") << "   " << int(N::NotWhole) << "";
    QTest::newRow("letters") << "seventeen" << int(N::NotWhole) << "";
    QTest::newRow("second condition") << "17 OR 1=1" << int(N::NotWhole) << "";
    QTest::newRow("quotes") << "'17'" << int(N::NotWhole) << "";
    QTest::newRow("double quotes") << "\"17\"" << int(N::NotWhole) << "";
    QTest::newRow("semicolon") << "17; DROP TABLE [Job Items]" << int(N::NotWhole) << "";
    QTest::newRow("sign") << "-17" << int(N::NotWhole) << "";
    QTest::newRow("plus") << "+17" << int(N::NotWhole) << "";
    QTest::newRow("decimal") << "17.0" << int(N::NotWhole) << "";
    QTest::newRow("inner blank") << "1 7" << int(N::NotWhole) << "";
    QTest::newRow("wide digits") << QString::fromUtf8("\xef\xbc\x91\xef\xbc\x97") << int(N::NotWhole) << "";
    QTest::newRow("brace") << "17}" << int(N::NotWhole) << "";
    QTest::newRow("too large") << "2147483648" << int(N::TooLarge) << "";
    QTest::newRow("very long") << QString(5000, u'9') << int(N::TooLarge) << "";
    QTest::newRow("very long text") << QString(5000, u'x') << int(N::NotWhole) << "";
}

void ReportCatalogueTest::jobNumbers()
{
    QFETCH(QString, typed);
    QFETCH(int, status);
    QFETCH(QString, text);

    const catalogue::JobNumber number = catalogue::readJobNumber(typed);
    QCOMPARE(int(number.status), status);
    QCOMPARE(number.text, text);
    QCOMPARE(catalogue::jobNumberProblem(number).isEmpty(), status == catalogue::JobNumber::Valid);
    // Whatever is accepted here, the engine accepts in every prefix.
    if (status == catalogue::JobNumber::Valid) {
        for (const QString& prefix : {prefixText(Prefix::JobItems), prefixText(Prefix::JobInformation)}) {
            report::Selection selection;
            QVERIFY(report::parseSelectionFormula(prefix + number.text, &selection).ok());
            QCOMPARE(selection.value, number.value);
        }
    }
}

void ReportCatalogueTest::jobNumberMessages()
{
    using N = catalogue::JobNumber;
    QCOMPARE(catalogue::jobNumberProblem(catalogue::readJobNumber(QString())),
             QStringLiteral("Please enter a Job ID Number!"));
    QVERIFY(catalogue::jobNumberProblem(N{N::NotWhole}).contains(QStringLiteral("whole number")));
    QVERIFY(catalogue::jobNumberProblem(N{N::TooLarge}).contains(QStringLiteral("2147483647")));
}

QTEST_GUILESS_MAIN(ReportCatalogueTest)
#include "tst_reportcatalogue.moc"
