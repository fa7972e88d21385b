// The record selection formula: read strictly, and only ever bound to a query as a number.
#include "platform/report/selection.h"

#include <QtTest>

using namespace tv::report;

class TestReportSelection : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

void TestReportSelection::accepted_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<qint64>("value");
    QTest::newRow("items, blank after =") << "{Job Items.Recordno}= 17" << true << "Job Items"
                                          << "Recordno" << qint64(17);
    QTest::newRow("information, no blank") << "{Job Information.AutoNumber}=17" << true << "Job Information"
                                           << "AutoNumber" << qint64(17);
    QTest::newRow("contract prefix") << "{Job Information.AutoNumber}= 4" << true << "Job Information"
                                     << "AutoNumber" << qint64(4);
    QTest::newRow("blanks after the number") << "{Job Items.Recordno}= 17  " << true << "Job Items"
                                             << "Recordno" << qint64(17);
    QTest::newRow("leading zeros") << "{Job Items.Recordno}= 007" << true << "Job Items"
                                   << "Recordno" << qint64(7);
    QTest::newRow("largest job number") << "{Job Items.Recordno}= 2147483647" << true << "Job Items"
                                        << "Recordno" << qint64(2147483647);
    QTest::newRow("other letter case") << "{job items.RECORDNO}= 3" << true << "job items"
                                       << "RECORDNO" << qint64(3);
    QTest::newRow("empty: no selection") << "" << false << ""
                                         << "" << qint64(0);
    QTest::newRow("blanks: no selection") << "   " << false << ""
                                          << "" << qint64(0);
}

void TestReportSelection::accepted()
{
    QFETCH(QString, formula);
    QFETCH(bool, active);
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(qint64, value);
    Selection s;
    const Result r = parseSelectionFormula(formula, &s);
    QVERIFY2(r.ok(), qPrintable(r.message));
    QCOMPARE(s.active, active);
    QCOMPARE(s.table, table);
    QCOMPARE(s.field, field);
    QCOMPARE(s.value, value);
}

void TestReportSelection::refused_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("message");
    const QString whole = QStringLiteral("The job number must be a whole number.");
    const QString shape =
        QStringLiteral("The record selection formula must read {Table.Field}= followed by a job number.");
    QTest::newRow("blanks only as job number") << "{Job Items.Recordno}=    " << whole;
    QTest::newRow("nothing after =") << "{Job Information.AutoNumber}=" << whole;
    QTest::newRow("letters") << "{Job Items.Recordno}= abc" << whole;
    QTest::newRow("digits then letters") << "{Job Items.Recordno}= 17a" << whole;
    QTest::newRow("second condition") << "{Job Items.Recordno}= 17 OR 1=1" << whole;
    QTest::newRow("quotes") << "{Job Items.Recordno}= '17'" << whole;
    QTest::newRow("double quotes") << "{Job Items.Recordno}= \"17\"" << whole;
    QTest::newRow("semicolon") << "{Job Items.Recordno}= 17; DROP TABLE [Job Items]" << whole;
    QTest::newRow("comment") << "{Job Items.Recordno}= 17--" << whole;
    QTest::newRow("negative") << "{Job Items.Recordno}= -5" << whole;
    QTest::newRow("plus sign") << "{Job Items.Recordno}= +5" << whole;
    QTest::newRow("decimal") << "{Job Items.Recordno}= 17.5" << whole;
    QTest::newRow("thousands separator") << "{Job Items.Recordno}= 1,000" << whole;
    QTest::newRow("arabic-indic digits") << QStringLiteral("{Job Items.Recordno}= \u0661\u0667") << whole;
    QTest::newRow("fullwidth digits") << QStringLiteral("{Job Items.Recordno}= \uFF11\uFF17") << whole;
    QTest::newRow("line break") << "{Job Items.Recordno}= 17\n18" << whole;
    QTest::newRow("very long text") << QStringLiteral("{Job Items.Recordno}= ") + QString(100000, u'x')
                                    << whole;
    QTest::newRow("very long number")
        << QStringLiteral("{Job Items.Recordno}= ") + QString(100000, u'9')
        << QStringLiteral("The job number is too large; job numbers go up to 2147483647.");
    QTest::newRow("just above the largest")
        << "{Job Items.Recordno}= 2147483648"
        << QStringLiteral("The job number is too large; job numbers go up to 2147483647.");
    QTest::newRow("no braces") << "Job Items.Recordno = 17" << shape;
    QTest::newRow("no field") << "{Job Items}= 17" << shape;
    QTest::newRow("two dots") << "{Job.Items.Recordno}= 17" << shape;
    QTest::newRow("blank before =") << "{Job Items.Recordno} = 17" << shape;
    QTest::newRow("other operator") << "{Job Items.Recordno}> 17" << shape;
    QTest::newRow("bracket in name") << "{Job Items].Recordno}= 17" << shape;
    QTest::newRow("quote in name") << "{Job Items'.Recordno}= 17" << shape;
    QTest::newRow("unclosed brace") << "{Job Items.Recordno= 17" << shape;
    QTest::newRow("long name") << QStringLiteral("{") + QString(5000, u'a') + QStringLiteral(".b}= 1")
                               << shape;
    QTest::newRow("text before") << "x{Job Items.Recordno}= 17" << shape;
}

void TestReportSelection::refused()
{
    QFETCH(QString, formula);
    QFETCH(QString, message);
    Selection s;
    s.active = true;
    const Result r = parseSelectionFormula(formula, &s);
    QCOMPARE(r.code, ResultCode::FormulaInvalid);
    QCOMPARE(r.message, message);
    QVERIFY(!s.active);
}

QTEST_GUILESS_MAIN(TestReportSelection)
#include "tst_report_selection.moc"
