// The seventeen layout files of the program, rendered for a realistic job: what each document says, its
// totals, and its page numbers. With TARVENOR_REPORT_PDF_DIR set, the documents are also written there as PDF
// files to look at.
#include "report_test_support.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace tv::report;
using namespace tv::report::testing;

namespace {

bool mentions(const QStringList& texts, const QString& wanted)
{
    for (const QString& t : texts)
        if (t.contains(wanted))
            return true;
    return false;
}

QString payment(double factor)
{
    const qint64 total = totalUnits(internationalLines());
    return money::format(std::llround(double(total) * factor), true);
}

} // namespace

class TestReportLayouts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneFilePerCatalogueName();
    void catalogueLiteralsPrint_data();
    void catalogueLiteralsPrint();
    void documentContents_data();
    void documentContents();
    void everyPageNumbered();
    void simplifiedTermsWithoutSelection();

private:
    std::shared_ptr<const Document> render(const QString& file, const QString& formula);
    QTemporaryDir m_dir;
};

void TestReportLayouts::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    const QString db = createDatabase(m_dir.path(), &error);
    QVERIFY2(!db.isEmpty(), qPrintable(error));
    QVERIFY2(fillCompany(db, &error), qPrintable(error));
    QCOMPARE(addJob(db, internationalJob(), &error), 17);
    QVERIFY2(addLines(db, 17, internationalLines(), &error), qPrintable(error));
    QCOMPARE(addJob(db,
                    {{QStringLiteral("AutoNumber"), 18},
                     {QStringLiteral("Customer Name"), QStringLiteral("Other Customer")}},
                    &error),
             18);
    QVERIFY2(copyLayouts(m_dir.path(), &error), qPrintable(error));
}

std::shared_ptr<const Document> TestReportLayouts::render(const QString& file, const QString& formula)
{
    ReportEngine engine;
    engine.setReportFileName(m_dir.path() + u'\\' + file);
    engine.setSelectionFormula(formula);
    engine.setPrintDate(QDate(2024, 3, 14));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    if (!r.ok()) {
        qWarning("%s: %s", qPrintable(file), qPrintable(r.message));
        return {};
    }
    const QString out = qEnvironmentVariable("TARVENOR_REPORT_PDF_DIR");
    if (!out.isEmpty()) {
        const QString name = formula.isEmpty()
                                 ? QFileInfo(file).completeBaseName() + QStringLiteral(" (no selection)")
                                 : QFileInfo(file).completeBaseName();
        doc->writePdf(out + u'/' + name + QStringLiteral(".pdf"));
    }
    return doc;
}

void TestReportLayouts::oneFilePerCatalogueName()
{
    QStringList files = QDir(layoutFolder()).entryList({QStringLiteral("*.rpt")}, QDir::Files);
    files.sort(Qt::CaseInsensitive);
    const QStringList expected = {
        QStringLiteral("CashReceipt.rpt"),
        QStringLiteral("Contract Agreement INTL.rpt"),
        QStringLiteral("Contract Agreement USA.rpt"),
        QStringLiteral("Contract INTL Terms & Conditions.rpt"),
        QStringLiteral("Contract Schedule ABC with No Prices.rpt"),
        QStringLiteral("Contract Schedule ABC with Prices.rpt"),
        QStringLiteral("Contract USA Scoring Only Terms & Conditions.rpt"),
        QStringLiteral("Contract USA Terms & Conditions.rpt"),
        QStringLiteral("Financing.rpt"),
        QStringLiteral("ProForma.rpt"),
        QStringLiteral("Schedule ABC With No Prices.rpt"),
        QStringLiteral("Schedule ABC With Prices & No Totals.rpt"),
        QStringLiteral("Schedule ABC With Prices.rpt"),
        QStringLiteral("Terms & Conditions.rpt"),
        QStringLiteral("USA Scoring Only Terms & Conditions.rpt"),
        QStringLiteral("USA Terms & Conditions.rpt"),
        QStringLiteral("USA Upgrade Package Terms & Conditions.rpt"),
    };
    QCOMPARE(files, expected);
}

void TestReportLayouts::catalogueLiteralsPrint_data()
{
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("prefix");
    const QString items = QStringLiteral("{Job Items.Recordno}= ");
    const QString info = QStringLiteral("{Job Information.AutoNumber}=");
    const QString infoBlank = QStringLiteral("{Job Information.AutoNumber}= ");
    QTest::newRow("with prices") << "\\Schedule ABC With Prices.rpt" << items;
    QTest::newRow("no prices") << "\\Schedule ABC With No Prices.rpt" << items;
    QTest::newRow("no totals, single window") << "\\Schedule ABC With Prices & No Totals.rpt" << items;
    QTest::newRow("no totals, multiple window") << "\\Schedule ABC with Prices & No Totals.rpt" << items;
    QTest::newRow("pro forma") << "\\ProForma.rpt" << items;
    QTest::newRow("financing") << "\\Financing.rpt" << items;
    QTest::newRow("cash receipt") << "\\CashReceipt.rpt" << items;
    QTest::newRow("international terms") << "\\Terms & Conditions.rpt" << info;
    QTest::newRow("domestic terms") << "\\USA Terms & Conditions.rpt" << info;
    QTest::newRow("scoring terms") << "\\USA Scoring Only Terms & Conditions.rpt" << info;
    QTest::newRow("simplified terms") << "\\USA Upgrade Package Terms & Conditions.rpt" << info;
    QTest::newRow("contract schedule with prices") << "\\Contract Schedule ABC with Prices.rpt" << items;
    QTest::newRow("contract schedule no prices") << "\\Contract Schedule ABC with No Prices.rpt" << items;
    QTest::newRow("contract international terms") << "\\Contract INTL Terms & Conditions.rpt" << infoBlank;
    QTest::newRow("international agreement") << "\\Contract Agreement INTL.rpt" << items;
    QTest::newRow("contract domestic terms") << "\\Contract USA Terms & Conditions.rpt" << infoBlank;
    QTest::newRow("contract scoring terms")
        << "\\Contract USA SCORING ONLY TERMS & CONDITIONS.RPT" << infoBlank;
    QTest::newRow("domestic agreement") << "\\Contract Agreement USA.rpt" << items;
}

void TestReportLayouts::catalogueLiteralsPrint()
{
    QFETCH(QString, literal);
    QFETCH(QString, prefix);
    ReportEngine engine;
    engine.setReportFileName(m_dir.path() + literal);
    engine.setSelectionFormula(prefix + QStringLiteral("17"));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QVERIFY2(r.ok(), qPrintable(r.message));
    QVERIFY(mentions(allTexts(*doc), QStringLiteral("Shanghai Star Leisure Co. Ltd")));
    QVERIFY(!mentions(allTexts(*doc), QStringLiteral("Other Customer")));
}

void TestReportLayouts::documentContents_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const QString customer = QStringLiteral("Shanghai Star Leisure Co. Ltd");
    const QStringList schedules = {QStringLiteral("Schedule A "), QStringLiteral("Schedule B "),
                                   QStringLiteral("Schedule C ")};
    const QStringList scheduleTotals = {QStringLiteral("$327,086.00"), QStringLiteral("$135,188.00"),
                                        QStringLiteral("$40,000.00")};
    const QStringList terms = {
        QStringLiteral("30% deposit with order, balance by irrevocable Letter of Credit at sight"),
        QStringLiteral("CIF China Main Port"),
        QStringLiteral("90 days; special orders 120 days"),
        QStringLiteral("1 Year"),
        QStringLiteral("90 Days"),
        QStringLiteral("6 Months")};
    const QStringList freight = {QStringLiteral("US inland freight"), QStringLiteral("Seller"),
                                 QStringLiteral("Buyer"), QStringLiteral("2 Years")};
    QStringList financing = {QStringLiteral("$502,274.00"),
                             QStringLiteral("Purchase Plan (25 to 50K)"),
                             QStringLiteral("Purchase Plan (50 to 100K)"),
                             QStringLiteral("Purchase Plan (100K Plus)"),
                             QStringLiteral("Skip 3 Months Plan"),
                             QStringLiteral("10% Lease Option Plan")};
    for (double f :
         {0.01766, 0.02012, 0.02395, 0.03038, 0.01741, 0.01987, 0.02370, 0.03012, 0.01712, 0.01958,
          0.02276, 0.02985, 0.01835, 0.02108, 0.02531, 0.03262, 0.01598, 0.01843, 0.02215, 0.02846})
        financing.append(payment(f));

    QTest::newRow("quotation with prices")
        << "Schedule ABC With Prices.rpt"
        << QStringList{QStringLiteral("QUOTATION"),       customer,
                       QStringLiteral("$9,450.00"),       QStringLiteral("$302,400.00"),
                       QStringLiteral("Total Quotation"), QStringLiteral("$502,274.00")} +
               schedules + scheduleTotals
        << QStringList{};
    QTest::newRow("quotation without prices")
        << "Schedule ABC With No Prices.rpt"
        << QStringList{QStringLiteral("QUOTATION"), customer,
                       QStringLiteral("AMF 82-70 Pinsetter, Remanufactured"),
                       QStringLiteral("Remanufactured"), QStringLiteral("240")} +
               schedules
        << QStringList{QStringLiteral("$"), QStringLiteral("Total")};
    QTest::newRow("quotation without totals")
        << "Schedule ABC With Prices & No Totals.rpt"
        << QStringList{QStringLiteral("$9,450.00"), QStringLiteral("$24.95"), QStringLiteral("$0.00")} +
               schedules
        << QStringList{QStringLiteral("$302,400.00"), QStringLiteral("$327,086.00"),
                       QStringLiteral("$502,274.00"), QStringLiteral("Total")};
    QTest::newRow("pro forma invoice")
        << "ProForma.rpt"
        << QStringList{QStringLiteral("PRO FORMA INVOICE"),     QStringLiteral("PF-17"),
                       QStringLiteral("Total Invoice Value"),   QStringLiteral("$502,274.00"),
                       QStringLiteral("Less deposit received"), QStringLiteral("$125,000.00"),
                       QStringLiteral("$377,274.00"),           QStringLiteral("United States of America")} +
               scheduleTotals
        << QStringList{};
    QTest::newRow("financing") << "Financing.rpt" << financing << QStringList{};
    QTest::newRow("cash receipt")
        << "CashReceipt.rpt"
        << QStringList{QStringLiteral("CASH RECEIPT"),
                       QStringLiteral("R-17"),
                       customer,
                       QStringLiteral("$125,000.00"),
                       QStringLiteral("One Hundred Twenty-Five Thousand and 00/100 US Dollars"),
                       QStringLiteral("$502,274.00"),
                       QStringLiteral("$377,274.00"),
                       QStringLiteral("Deposit on quotation No. 17 for Star Bowl Pudong, 32 lanes")}
        << QStringList{};
    QTest::newRow("international terms")
        << "Terms & Conditions.rpt"
        << QStringList{QStringLiteral("TERMS AND CONDITIONS"), QStringLiteral("INTERNATIONAL SALE"),
                       QStringLiteral("60 Days"), QStringLiteral("Letters of credit"),
                       QStringLiteral("International Centre for Dispute Resolution")} +
               terms + freight
        << QStringList{QStringLiteral("$")};
    QTest::newRow("domestic terms") << "USA Terms & Conditions.rpt"
                                    << QStringList{QStringLiteral("DOMESTIC SALE (USA)"),
                                                   QStringLiteral("Security interest")} +
                                           terms + freight
                                    << QStringList{QStringLiteral("Letters of credit")};
    QTest::newRow("scoring terms") << "USA Scoring Only Terms & Conditions.rpt"
                                   << QStringList{QStringLiteral("SCORING SYSTEMS"),
                                                  QStringLiteral("Software licence"),
                                                  QStringLiteral("AMF 82-70 Pinsetters")} +
                                          terms
                                   << QStringList{QStringLiteral("Ocean freight")};
    QTest::newRow("simplified terms")
        << "USA Upgrade Package Terms & Conditions.rpt"
        << QStringList{QStringLiteral("UPGRADE PACKAGES"), QStringLiteral("Star Bowl Pudong"),
                       QStringLiteral("1 Year")}
        << QStringList{QStringLiteral("________")};
    QTest::newRow("contract schedule with prices")
        << "Contract Schedule ABC with Prices.rpt"
        << QStringList{QStringLiteral("CONTRACT SCHEDULE"), QStringLiteral("Total Contract Price"),
                       QStringLiteral("$502,274.00"), QStringLiteral("INITIALS OF THE BUYER")} +
               scheduleTotals
        << QStringList{};
    QTest::newRow("contract schedule without prices")
        << "Contract Schedule ABC with No Prices.rpt"
        << QStringList{QStringLiteral("CONTRACT SCHEDULE"), QStringLiteral("Pit Light")} + schedules
        << QStringList{QStringLiteral("$")};
    QTest::newRow("contract international terms")
        << "Contract INTL Terms & Conditions.rpt"
        << QStringList{QStringLiteral("CONTRACT TERMS"), QStringLiteral("INTERNATIONAL SALES AGREEMENT"),
                       QStringLiteral("Article 14. Governing law and arbitration")} +
               terms + freight
        << QStringList{};
    QTest::newRow("contract domestic terms") << "Contract USA Terms & Conditions.rpt"
                                             << QStringList{QStringLiteral("SALES AGREEMENT (USA)"),
                                                            QStringLiteral("Article 10. Security interest")} +
                                                    terms
                                             << QStringList{};
    QTest::newRow("contract scoring terms") << "Contract USA Scoring Only Terms & Conditions.rpt"
                                            << QStringList{QStringLiteral("SCORING SYSTEM AGREEMENT"),
                                                           QStringLiteral("Article 7. Software licence")} +
                                                   terms
                                            << QStringList{};
    const QStringList agreement = {
        QStringLiteral("SALES AGREEMENT"),
        customer,
        QStringLiteral("Pelkin Bowling Supply Inc."),
        QStringLiteral("$502,274.00"),
        QStringLiteral("Five Hundred Two Thousand Two Hundred Seventy-Four and 00/100 US Dollars"),
        QStringLiteral("30% of the contract price is paid by wire transfer on signature of this "
                       "agreement.\nThe balance of "
                       "70% is paid by irrevocable Letter of Credit at sight"),
        QStringLiteral("Partial shipments allowed. Transshipment allowed."),
        QStringLiteral("FOR THE BUYER"),
        QStringLiteral("88 Century Avenue, Pudong")};
    QTest::newRow("international agreement")
        << "Contract Agreement INTL.rpt" << agreement + QStringList{QStringLiteral("INTERNATIONAL")}
        << QStringList{};
    QTest::newRow("domestic agreement")
        << "Contract Agreement USA.rpt" << agreement + QStringList{QStringLiteral("UNITED STATES")}
        << QStringList{QStringLiteral("Ocean freight")};
}

void TestReportLayouts::documentContents()
{
    QFETCH(QString, file);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const auto doc = render(file, QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    const QStringList texts = allTexts(*doc);
    for (const QString& p : present)
        QVERIFY2(mentions(texts, p), qPrintable(QStringLiteral("missing: ") + p));
    for (const QString& a : absent)
        QVERIFY2(!mentions(texts, a), qPrintable(QStringLiteral("should not print: ") + a));
}

void TestReportLayouts::everyPageNumbered()
{
    const QStringList files = QDir(m_dir.path()).entryList({QStringLiteral("*.rpt")}, QDir::Files);
    QCOMPARE(files.size(), 17);
    for (const QString& f : files) {
        const auto doc = render(f, QStringLiteral("{Job Information.AutoNumber}=17"));
        QVERIFY2(doc, qPrintable(f));
        for (int p = 0; p < doc->pageCount(); ++p) {
            const QList<PlacedBand> footer = doc->bands(p, BandKind::PageFooter);
            QCOMPARE(footer.size(), 1);
            QVERIFY2(footer.first().texts.contains(
                         QStringLiteral("Page %1 of %2").arg(p + 1).arg(doc->pageCount())),
                     qPrintable(f));
            QCOMPARE(doc->bands(p, BandKind::PageHeader).size(), 1);
            // Everything stays on the paper, inside the margins.
            for (const Element& e : doc->page(p).elements) {
                QVERIFY2(e.rect.left() >= 0.5 * UnitsPerInch - 0.5 &&
                             e.rect.right() <= 8.0 * UnitsPerInch + 0.5,
                         qPrintable(f + QStringLiteral(": ") + e.text));
                QVERIFY2(e.rect.top() >= 0.45 * UnitsPerInch && e.rect.bottom() <= 10.6 * UnitsPerInch,
                         qPrintable(f + QStringLiteral(": ") + e.text));
            }
        }
    }
}

void TestReportLayouts::simplifiedTermsWithoutSelection()
{
    // "Simple Terms and Conditions" pressed first in its window: no formula, two jobs in the database.
    const auto doc = render(QStringLiteral("USA Upgrade Package Terms & Conditions.rpt"), QString());
    QVERIFY(doc);
    QCOMPARE(doc->pageCount(), 1);
    const QStringList texts = allTexts(*doc);
    QVERIFY(mentions(texts, QStringLiteral("________")));
    QVERIFY(mentions(texts, QStringLiteral("Pelkin Bowling Supply Inc.")));
    QVERIFY(!mentions(texts, QStringLiteral("Shanghai")));
    QVERIFY(!mentions(texts, QStringLiteral("Other Customer")));
}

QTEST_MAIN(TestReportLayouts)
#include "tst_report_layouts.moc"
