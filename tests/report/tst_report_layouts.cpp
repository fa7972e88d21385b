// The layout files of the program, rendered for a realistic job.
#include "report_test_support.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tv::report;
using namespace tv::report::testing;

class TestReportLayouts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rendersEveryLayout();

private:
    QTemporaryDir m_dir;
    QString m_db;
};

void TestReportLayouts::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    m_db = createDatabase(m_dir.path(), &error);
    QVERIFY2(!m_db.isEmpty(), qPrintable(error));
    QVERIFY2(fillCompany(m_db, &error), qPrintable(error));
    const int job = addJob(m_db, internationalJob(), &error);
    QCOMPARE(job, 17);
    QVERIFY2(addLines(m_db, job, internationalLines(), &error), qPrintable(error));
    QVERIFY2(copyLayouts(m_dir.path(), &error), qPrintable(error));
}

void TestReportLayouts::rendersEveryLayout()
{
    const QString out = qEnvironmentVariable("TARVENOR_REPORT_PDF_DIR");
    const QStringList files = QDir(m_dir.path()).entryList({QStringLiteral("*.rpt")}, QDir::Files);
    for (const QString& f : files) {
        ReportEngine engine;
        engine.setReportFileName(m_dir.path() + u'/' + f);
        engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
        engine.setPrintDate(QDate(2024, 3, 14));
        std::shared_ptr<const Document> doc;
        const Result r = engine.compose(&doc);
        QVERIFY2(r.ok(), qPrintable(f + QStringLiteral(": ") + r.message));
        if (!out.isEmpty())
            QVERIFY(
                doc->writePdf(out + u'/' + QFileInfo(f).completeBaseName() + QStringLiteral(".pdf")).ok());
    }
    if (!out.isEmpty()) {
        ReportEngine engine;
        engine.setReportFileName(m_dir.path() +
                                 QStringLiteral("/USA Upgrade Package Terms & Conditions.rpt"));
        QVERIFY(engine.exportPdf(out + QStringLiteral("/Upgrade blank.pdf")).ok());
    }
}

QTEST_MAIN(TestReportLayouts)
#include "tst_report_layouts.moc"
