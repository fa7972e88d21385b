// The report engine as the print windows use it: settings kept between requests, report files found in any
// letter case, plain errors, destinations, and export to PDF.
#include "platform/report/pdfwriter.h"
#include "report_test_support.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace tv::report;
using namespace tv::report::testing;

class TestReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsKeptBetweenRequests();
    void firstRequestWithoutFormulaPrintsOneBlankDocument();
    void laterRequestReusesAnItemsFormula();
    void reportFileFoundInAnyLetterCase_data();
    void reportFileFoundInAnyLetterCase();
    void exactLetterCaseFirst();
    void missingReportFile();
    void noReportFileNamed();
    void refusedFormulas_data();
    void refusedFormulas();
    void jobNotInDatabase();
    void jobWithoutLines();
    void missingDatabase();
    void databaseElsewhere();
    void destinations_data();
    void destinations();
    void unknownDestinationOrAction();
    void cancelIsNotAFailure();
    void systemOutputWithoutPrinter();
    void defaultOutput();
    void exportPdf();
    void exportPdfIntoMissingFolder();
    void exportPdfOfAnyCharacters_data();
    void exportPdfOfAnyCharacters();
    void layoutMistakes_data();
    void layoutMistakes();

private:
    QString folder() const { return m_dir.path(); }
    // The path as a window hands it over: the folder, then the literal with its backslash.
    QString literal(const QString& name) const { return folder() + u'\\' + name; }
    int jobItemRows() const;

    QTemporaryDir m_dir;
    QString m_db;
    RecordingOutput m_out;
};

void TestReportEngine::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    m_db = createDatabase(m_dir.path(), &error);
    QVERIFY2(!m_db.isEmpty(), qPrintable(error));
    QVERIFY2(fillCompany(m_db, &error), qPrintable(error));
    QCOMPARE(addJob(m_db, internationalJob(), &error), 17);
    QVERIFY2(addLines(m_db, 17, internationalLines(), &error), qPrintable(error));
    QCOMPARE(addJob(m_db,
                    {{QStringLiteral("AutoNumber"), 18},
                     {QStringLiteral("Customer Name"), QStringLiteral("Northside Lanes LLC")},
                     {QStringLiteral("Job Name"), QStringLiteral("Northside Lanes remodel")}},
                    &error),
             18);
    QVERIFY2(copyLayouts(m_dir.path(), &error), qPrintable(error));
}

int TestReportEngine::jobItemRows() const
{
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(m_db);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT count(*) FROM [Job Items]")) && q.next())
                n = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return n;
}

void TestReportEngine::settingsKeptBetweenRequests()
{
    // "Detailed Terms and Conditions" for job 17, then "Simple Terms and Conditions", which sets no formula.
    m_out.calls.clear();
    ReportEngine engine;
    engine.setOutput(&m_out);
    engine.setReportFileName(literal(QStringLiteral("Terms & Conditions.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Information.AutoNumber}=17"));
    engine.setDestination(ToWindow);
    QVERIFY(engine.setAction(1).ok());

    engine.setReportFileName(literal(QStringLiteral("USA Upgrade Package Terms & Conditions.rpt")));
    engine.setDestination(ToPrinter);
    const Result r = engine.setAction(1);
    QVERIFY2(r.ok(), qPrintable(r.message));

    QCOMPARE(m_out.calls.size(), 2);
    QCOMPARE(m_out.calls[0].kind, QStringLiteral("preview"));
    QCOMPARE(m_out.calls[1].kind, QStringLiteral("print"));
    QCOMPARE(m_out.calls[1].request.selectionFormula, QStringLiteral("{Job Information.AutoNumber}=17"));
    QVERIFY(m_out.calls[1].request.reportPath.endsWith(
        QStringLiteral("/USA Upgrade Package Terms & Conditions.rpt")));
    const QStringList texts = allTexts(*m_out.calls[1].document);
    QVERIFY(texts.contains(QStringLiteral("Shanghai Star Leisure Co. Ltd")));
    QVERIFY(!texts.join(u' ').contains(QLatin1String("Northside")));
}

void TestReportEngine::firstRequestWithoutFormulaPrintsOneBlankDocument()
{
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("USA Upgrade Package Terms & Conditions.rpt")));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QVERIFY2(r.ok(), qPrintable(r.message));
    // Two jobs in the database, one document: a form with blanks to fill in.
    for (int p = 0; p < doc->pageCount(); ++p)
        QCOMPARE(doc->page(p).section, 0);
    const QString all = allTexts(*doc).join(u'\n');
    QVERIFY(all.contains(QLatin1String("________")));
    QVERIFY(!all.contains(QLatin1String("Shanghai")));
    QVERIFY(!all.contains(QLatin1String("Northside")));
    QVERIFY(all.contains(QLatin1String("Pelkin Bowling Supply Inc.")));
}

void TestReportEngine::laterRequestReusesAnItemsFormula()
{
    // "Job Quote (With Prices)" for job 17, then "Simple Terms and Conditions".
    ReportEngine engine;
    engine.setOutput(&m_out);
    engine.setReportFileName(literal(QStringLiteral("Schedule ABC With Prices.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(engine.printReport().ok());
    engine.setReportFileName(literal(QStringLiteral("USA Upgrade Package Terms & Conditions.rpt")));
    std::shared_ptr<const Document> doc;
    QVERIFY(engine.compose(&doc).ok());
    QVERIFY(allTexts(*doc).contains(QStringLiteral("Shanghai Star Leisure Co. Ltd")));
}

void TestReportEngine::reportFileFoundInAnyLetterCase_data()
{
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<QString>("requested");
    QTest::newRow("small w of the multiple window") << "Schedule ABC With Prices & No Totals.rpt"
                                                    << "Schedule ABC with Prices & No Totals.rpt";
    QTest::newRow("capitals of the scoring contract") << "Contract USA Scoring Only Terms & Conditions.rpt"
                                                      << "Contract USA SCORING ONLY TERMS & CONDITIONS.RPT";
    QTest::newRow("file stored in capitals") << "PROFORMA.RPT"
                                             << "ProForma.rpt";
    QTest::newRow("exact") << "Financing.rpt"
                           << "Financing.rpt";
}

void TestReportEngine::reportFileFoundInAnyLetterCase()
{
    QFETCH(QString, onDisk);
    QFETCH(QString, requested);
    QTemporaryDir dir;
    QVERIFY(QFile::copy(m_db, dir.filePath(QStringLiteral("Pelkin.mdb"))));
    const QString source = ReportEngine::findFileIgnoringCase(layoutFolder() + u'/' + onDisk);
    QVERIFY(!source.isEmpty());
    QVERIFY(QFile::copy(source, dir.filePath(onDisk)));

    ReportEngine engine;
    engine.setReportFileName(dir.path() + u'\\' + requested);
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QVERIFY2(r.ok(), qPrintable(r.message));
    QCOMPARE(QFileInfo(engine.request().reportPath).fileName(), onDisk);
    QVERIFY(doc->pageCount() >= 1);
}

void TestReportEngine::exactLetterCaseFirst()
{
    QTemporaryDir dir;
    for (const char* name : {"a.rpt", "A.rpt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(QFileInfo(ReportEngine::findFileIgnoringCase(dir.filePath(QStringLiteral("A.rpt")))).fileName(),
             QStringLiteral("A.rpt"));
    QCOMPARE(QFileInfo(ReportEngine::findFileIgnoringCase(dir.filePath(QStringLiteral("a.RPT")))).fileName(),
             QStringLiteral("A.rpt")); // sorted by name, capitals first
    QVERIFY(ReportEngine::findFileIgnoringCase(dir.filePath(QStringLiteral("b.rpt"))).isEmpty());
    QVERIFY(ReportEngine::findFileIgnoringCase(dir.filePath(QStringLiteral("nowhere/a.rpt"))).isEmpty());
}

void TestReportEngine::missingReportFile()
{
    m_out.calls.clear();
    ReportEngine engine;
    engine.setOutput(&m_out);
    engine.setReportFileName(literal(QStringLiteral("Missing Report.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    const Result r = engine.setAction(1);
    QCOMPARE(r.code, ResultCode::ReportNotFound);
    QCOMPARE(r.message, QStringLiteral("The report file \"Missing Report.rpt\" is not in the folder %1.")
                            .arg(QDir::toNativeSeparators(QDir(folder()).absolutePath())));
    QVERIFY(m_out.calls.isEmpty());
    QCOMPARE(engine.lastResult().code, ResultCode::ReportNotFound);
}

void TestReportEngine::noReportFileNamed()
{
    ReportEngine engine;
    const Result r = engine.printReport();
    QCOMPARE(r.code, ResultCode::InvalidRequest);
    QCOMPARE(r.message, QStringLiteral("No report file was named."));
}

void TestReportEngine::refusedFormulas_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("message");
    const QString whole = QStringLiteral("The job number must be a whole number.");
    QTest::newRow("blanks") << "Schedule ABC With Prices.rpt"
                            << "{Job Items.Recordno}=    " << whole;
    QTest::newRow("letters") << "ProForma.rpt"
                             << "{Job Items.Recordno}= seventeen" << whole;
    QTest::newRow("17 OR 1=1") << "Schedule ABC With Prices.rpt"
                               << "{Job Items.Recordno}= 17 OR 1=1" << whole;
    QTest::newRow("quotes") << "Terms & Conditions.rpt"
                            << "{Job Information.AutoNumber}='17'" << whole;
    QTest::newRow("semicolon") << "Terms & Conditions.rpt"
                               << "{Job Information.AutoNumber}=17; DELETE FROM [Job Items]" << whole;
    QTest::newRow("undeclared field")
        << "Schedule ABC With Prices.rpt"
        << "{Job Items.Item Price}= 17"
        << "This report selects on {Job Items.Recordno} or {Job Information.AutoNumber}, "
           "not on {Job Items.Item Price}.";
    QTest::newRow("other table")
        << "Financing.rpt"
        << "{Your Information.Company Name}= 1"
        << "This report selects on {Job Items.Recordno} or {Job Information.AutoNumber}, "
           "not on {Your Information.Company Name}.";
}

void TestReportEngine::refusedFormulas()
{
    QFETCH(QString, file);
    QFETCH(QString, formula);
    QFETCH(QString, message);
    const int before = jobItemRows();
    m_out.calls.clear();
    ReportEngine engine;
    engine.setOutput(&m_out);
    engine.setReportFileName(literal(file));
    engine.setSelectionFormula(formula);
    const Result r = engine.setAction(1);
    QCOMPARE(r.code, ResultCode::FormulaInvalid);
    QCOMPARE(r.message, message);
    QVERIFY(m_out.calls.isEmpty());
    QCOMPARE(jobItemRows(), before);
    QVERIFY(before > 0);
}

void TestReportEngine::jobNotInDatabase()
{
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("Schedule ABC With Prices.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 999"));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QCOMPARE(r.code, ResultCode::NoRecords);
    QCOMPARE(r.message, QStringLiteral("There is no job number 999 in the database."));
    QVERIFY(!doc);
}

void TestReportEngine::jobWithoutLines()
{
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("Schedule ABC With Prices.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 18"));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QVERIFY2(r.ok(), qPrintable(r.message));
    const QStringList texts = allTexts(*doc);
    QVERIFY(texts.contains(QStringLiteral("No items have been quoted for this job yet.")));
    QVERIFY(texts.contains(QStringLiteral("Northside Lanes LLC")));
    QVERIFY(texts.contains(QStringLiteral("$0.00")));
}

void TestReportEngine::missingDatabase()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(layoutFolder() + QStringLiteral("/Financing.rpt"),
                        dir.filePath(QStringLiteral("Financing.rpt"))));
    ReportEngine engine;
    engine.setReportFileName(dir.path() + QStringLiteral("\\Financing.rpt"));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QCOMPARE(r.code, ResultCode::DatabaseUnavailable);
    QVERIFY2(r.message.contains(dir.filePath(QStringLiteral("Pelkin.mdb"))), qPrintable(r.message));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Pelkin.mdb"))));
}

void TestReportEngine::databaseElsewhere()
{
    QTemporaryDir dir;
    QVERIFY(QFile::copy(layoutFolder() + QStringLiteral("/Financing.rpt"),
                        dir.filePath(QStringLiteral("Financing.rpt"))));
    ReportEngine engine;
    engine.setReportFileName(dir.filePath(QStringLiteral("Financing.rpt")));
    engine.setDatabasePath(m_db);
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    std::shared_ptr<const Document> doc;
    QVERIFY(engine.compose(&doc).ok());
    QVERIFY(allTexts(*doc).contains(QStringLiteral("$502,274.00")));
}

void TestReportEngine::destinations_data()
{
    QTest::addColumn<int>("destination");
    QTest::addColumn<QString>("kind");
    QTest::newRow("0: preview window") << 0 << "preview";
    QTest::newRow("1: printer") << 1 << "print";
}

void TestReportEngine::destinations()
{
    QFETCH(int, destination);
    QFETCH(QString, kind);
    m_out.calls.clear();
    ReportEngine engine;
    engine.setOutput(&m_out);
    engine.setReportFileName(literal(QStringLiteral("Financing.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    engine.setDestination(destination);
    QVERIFY(engine.setAction(1).ok());
    QCOMPARE(m_out.calls.size(), 1);
    QCOMPARE(m_out.calls[0].kind, kind);
    QCOMPARE(m_out.calls[0].request.destination, destination);
    QCOMPARE(m_out.calls[0].document->title(), QStringLiteral("Financing Options - Job 17"));
    QCOMPARE(m_out.calls[0].document->suggestedFileName(), QStringLiteral("Financing - Job 17.pdf"));
}

void TestReportEngine::unknownDestinationOrAction()
{
    m_out.calls.clear();
    ReportEngine engine;
    engine.setOutput(&m_out);
    engine.setReportFileName(literal(QStringLiteral("Financing.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    engine.setDestination(2);
    QCOMPARE(engine.setAction(1).code, ResultCode::InvalidRequest);
    engine.setDestination(ToPrinter);
    QCOMPARE(engine.setAction(0).code, ResultCode::InvalidRequest);
    QVERIFY(m_out.calls.isEmpty());
}

void TestReportEngine::cancelIsNotAFailure()
{
    RecordingOutput out;
    out.answer = Result::failure(ResultCode::Cancelled, QString());
    ReportEngine engine;
    engine.setOutput(&out);
    engine.setReportFileName(literal(QStringLiteral("Financing.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    const Result r = engine.setAction(1);
    QVERIFY(r.cancelled());
    QVERIFY(!r.failed());
    QVERIFY(!r.ok());
}

void TestReportEngine::systemOutputWithoutPrinter()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer");
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("Financing.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    engine.setDestination(ToPrinter);
    Result r = engine.setAction(1);
    QCOMPARE(r.code, ResultCode::NoPrinter);
    QCOMPARE(r.message,
             QStringLiteral("No printer is installed on this computer, so the report cannot be printed. "
                            "You can export it as a PDF file instead."));
    QVERIFY(!SystemOutput::printerInstalled());
    engine.setDestination(ToWindow);
    r = engine.setAction(1);
    QCOMPARE(r.code, ResultCode::NoPreview);
}

void TestReportEngine::defaultOutput()
{
    RecordingOutput out;
    ReportEngine::setDefaultOutput(&out);
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("CashReceipt.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    const Result r = engine.setAction(1);
    ReportEngine::setDefaultOutput(nullptr);
    QVERIFY(r.ok());
    QCOMPARE(out.calls.size(), 1);
    QVERIFY(dynamic_cast<SystemOutput*>(ReportEngine::defaultOutput()));
}

void TestReportEngine::exportPdf()
{
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("quote.pdf"));
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("Schedule ABC With Prices.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    engine.setDestination(ToPrinter); // export ignores the destination
    const Result r = engine.exportPdf(pdf);
    QVERIFY2(r.ok(), qPrintable(r.message));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(5), QByteArray("%PDF-"));
    f.close();

    std::shared_ptr<const Document> doc;
    QVERIFY(engine.compose(&doc).ok());
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler's pdfinfo and pdftotext are not installed");
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished());
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY(infoText.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(doc->pageCount()))));
    QVERIFY(infoText.contains(QStringLiteral("Quotation - Job 17")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(printed.contains(QLatin1String("Total Quotation")));
    QVERIFY(printed.contains(QLatin1String("$502,274.00")));
    QVERIFY(printed.contains(QStringLiteral("Page 1 of %1").arg(doc->pageCount())));
}

void TestReportEngine::exportPdfIntoMissingFolder()
{
    ReportEngine engine;
    engine.setReportFileName(literal(QStringLiteral("Financing.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    const Result r = engine.exportPdf(folder() + QStringLiteral("/no such folder/out.pdf"));
    QCOMPARE(r.code, ResultCode::OutputFailed);
    QVERIFY(r.message.startsWith(QLatin1String("The PDF file cannot be written: the folder")));
}

void TestReportEngine::exportPdfOfAnyCharacters_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<bool>("direct");
    QTest::newRow("Latin 1 and typographic marks")
        << QStringLiteral("Bowling M\u00fcller & S\u00f6hne \u2013 \u201cStar\u201d") << true;
    QTest::newRow("Cyrillic") << QStringLiteral(
                                     "\u041a\u0435\u0433\u043b\u044f \u041c\u043e\u0441\u043a\u0432\u0430")
                              << false;
}

void TestReportEngine::exportPdfOfAnyCharacters()
{
    QFETCH(QString, customer);
    QFETCH(bool, direct);
    QTemporaryDir dir;
    QString error;
    const QString db = createDatabase(dir.path(), &error);
    QVERIFY2(!db.isEmpty(), qPrintable(error));
    QCOMPARE(
        addJob(db, {{QStringLiteral("AutoNumber"), 5}, {QStringLiteral("Customer Name"), customer}}, &error),
        5);
    QVERIFY(QFile::copy(layoutFolder() + QStringLiteral("/Terms & Conditions.rpt"),
                        dir.filePath(QStringLiteral("Terms & Conditions.rpt"))));
    ReportEngine engine;
    engine.setReportFileName(dir.filePath(QStringLiteral("Terms & Conditions.rpt")));
    engine.setSelectionFormula(QStringLiteral("{Job Information.AutoNumber}=5"));
    std::shared_ptr<const Document> doc;
    QVERIFY(engine.compose(&doc).ok());
    // Texts beyond Windows Latin 1 go through Qt's PDF engine, which embeds the fonts it needs.
    QCOMPARE(directpdf::canWrite(*doc), direct);
    const QString pdf = dir.filePath(QStringLiteral("terms.pdf"));
    QVERIFY(doc->writePdf(pdf).ok());
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler's pdftotext is not installed");
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(customer), qPrintable(printed.left(400)));
    QVERIFY(printed.contains(QLatin1String("TERMS AND CONDITIONS")));
}

void TestReportEngine::layoutMistakes_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("message");
    const QString head =
        QStringLiteral("[report]\ntitle: Broken\n[data]\nmaster: Job Information key AutoNumber\n"
                       "details: Job Items link Recordno\nselect: Job Items.Recordno\n");
    QTest::newRow("unknown field")
        << head + QStringLiteral("[band]\ncell all body: {Job Items.Nope}\n")
        << "The report file has a mistake: Broken.rpt, line 8: the database has no field {Job Items.Nope}";
    QTest::newRow("table not in data")
        << head + QStringLiteral("[band]\ncell all body: {Factors.P72}\n")
        << "The report file has a mistake: Broken.rpt, line 8: the table \"Factors\" is not in [data]";
    QTest::newRow("formulas in a circle")
        << head + QStringLiteral("[formulas]\nA = B + 1\nB = A * 2\n")
        << "The report file has a mistake: Broken.rpt, line 8: the formula \"A\" uses itself";
    QTest::newRow("sum of a sum")
        << head + QStringLiteral("[formulas]\nT = sum(Job Items.Item Qty)\nU = sum(T)\n")
        << "The report file has a mistake: Broken.rpt, line 9: sum() is taken of a formula that sums";
    QTest::newRow("unknown function")
        << head + QStringLiteral("[formulas]\nT = average(Job Items.Item Qty)\n")
        << "The report file has a mistake: Broken.rpt, line 8: there is no function average()";
    QTest::newRow("unknown name")
        << head + QStringLiteral("[band]\ncell all body: {Grand Total}\n")
        << "The report file has a mistake: Broken.rpt, line 8: \"Grand Total\" is neither a field";
    QTest::newRow("table missing in database")
        << QStringLiteral("[report]\n[data]\nmaster: Jobs key AutoNumber\n")
        << "The report file has a mistake: Broken.rpt: the database has no table \"Jobs\"";
    QTest::newRow("reading mistake") << head + QStringLiteral("[band]\ncell all body {x}\n")
                                     << "The report file has a mistake: Broken.rpt, line 8: write a cell as";
}

void TestReportEngine::layoutMistakes()
{
    QFETCH(QString, layout);
    QFETCH(QString, message);
    QFile f(m_dir.filePath(QStringLiteral("Broken.rpt")));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(layout.toUtf8());
    f.close();
    ReportEngine engine;
    engine.setReportFileName(f.fileName());
    // Without a formula every job is read.

    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    QCOMPARE(r.code, ResultCode::LayoutInvalid);
    QVERIFY2(r.message.startsWith(message), qPrintable(r.message));
}

QTEST_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
