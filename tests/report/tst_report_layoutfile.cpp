// Reading layout files: what a seller may write, and plain messages with line numbers for mistakes.
#include "platform/report/layout.h"

#include <QtTest>

using namespace tv::report;

namespace {

const char* const minimal = "[report]\n"
                            "title: Test\n"
                            "[data]\n"
                            "master: Job Information key AutoNumber\n"
                            "details: Job Items link Recordno\n"
                            "select: Job Items.Recordno\n";

} // namespace

class TestReportLayoutFile : public QObject
{
    Q_OBJECT

private slots:
    void mistakes_data();
    void mistakes();
    void lengths_data();
    void lengths();
    void textSections();
    void bandsAndColumns();
};

void TestReportLayoutFile::mistakes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString m = QString::fromLatin1(minimal); // lines 1 to 6
    QTest::newRow("no section first") << "title: x\n"
                                      << "t.rpt, line 1: a section such as [report] must come first";
    QTest::newRow("unknown section") << m + "[bands]\n"
                                     << "t.rpt, line 7: there is no section [bands]";
    QTest::newRow("unknown report setting") << m + "[report]\npaper: a4\n"
                                            << "t.rpt, line 8: [report] has no setting \"paper\"";
    QTest::newRow("bad margins") << m + "[report]\nmargins: 1in wide\n"
                                 << "t.rpt, line 8: \"wide\" is not a length such as 0.5in, 12pt or 10mm";
    QTest::newRow("margins eat the page") << m + "[report]\nmargins: 5in\n"
                                          << "t.rpt, line 1: the margins leave less than an inch of the page";
    QTest::newRow("unknown style in a cell") << m + "[band]\ncell all bodyy: Hello\n"
                                             << "t.rpt, line 8: there is no style \"bodyy\"";
    QTest::newRow("unknown column") << m + "[band]\ncell qty body: 1\n"
                                    << "t.rpt, line 8: the column set \"page\" has no column \"qty\"";
    QTest::newRow("unknown column set")
        << m + "[band]\ncolumns: items\ncell all body: 1\n"
        << "t.rpt, line 7: [band] uses the column set \"items\", which is not given";
    QTest::newRow("columns too wide") << m + "[columns items]\na: 5in\nb: 4in\n"
                                      << "wide, more than the";
    QTest::newRow("two star columns") << m + "[columns items]\na: *\nb: *\n"
                                      << "has more than one * column";
    QTest::newRow("unknown format")
        << m + "[band]\ncell all body: {Job Items.Item Price : dollars}\n"
        << "t.rpt, line 8: in the field {Job Items.Item Price : dollars}: there is no format \"dollars\"";
    QTest::newRow("unclosed field") << m + "[band]\ncell all body: Total {Quote Total\n"
                                    << "t.rpt, line 8: a field \"{\" is not closed with \"}\"";
    QTest::newRow("broken formula") << m + "[formulas]\nTotal = Job Items.Item Qty *\n"
                                    << "t.rpt, line 8: the formula \"Job Items.Item Qty *\" is not "
                                       "understood: the formula ends too early";
    QTest::newRow("unknown function") << m + "[formulas]\nTotal = average(Job Items.Item Qty)\n"
                                      << "";
    QTest::newRow("formula twice") << m + "[formulas]\nA = 1\na = 2\n"
                                   << "t.rpt, line 9: the formula \"a\" is given twice";
    QTest::newRow("select on a plain field")
        << m + "[data]\nselect: Job Items.Item Price\n"
        << "a selection may only name the master's key or the details' link, not {Job Items.Item Price}";
    QTest::newRow("no master") << "[report]\ntitle: x\n"
                               << "[data] must name the master table";
    QTest::newRow("group band without group by")
        << m + "[details]\n[detail]\ncell all body: x\n[group header]\ncell all body: y\n"
        << "group bands need \"group by: formula\" in [details]";
    QTest::newRow("detail band missing") << m + "[details]\ngroup by: Job Items.Schedule\n"
                                         << "t.rpt, line 7: [details] needs a [detail] band";
    QTest::newRow("detail band outside details")
        << m + "[detail]\ncell all body: x\n"
        << "t.rpt, line 7: [detail] belongs after a [details] section";
    QTest::newRow("unknown band setting") << m + "[band]\ncolour: #FFFFFF\n"
                                          << "t.rpt, line 8: a band has no setting \"colour\"";
    QTest::newRow("bad color") << m + "[band]\nbackground: navy\n"
                               << "t.rpt, line 8: a color is written #RRGGBB";
    QTest::newRow("bad cell line") << m + "[band]\ncell all: x\n"
                                   << "t.rpt, line 8: write a cell as \"cell column style: text\"";
    QTest::newRow("repeat in the wrong band")
        << m + "[band]\nrepeat: every page\n"
        << "t.rpt, line 8: \"repeat\" is \"groups\" in a [band], \"every page\" in a [group header]";
    QTest::newRow("bad style property") << m + "[styles]\nbody: 9, shiny\n"
                                        << "t.rpt, line 8: the style property \"shiny\" is not known";
    QTest::newRow("text with unknown style") << m + "[text]\nstyle: clauses\nSome words.\n"
                                             << "t.rpt, line 7: there is no style \"clauses\"";
}

void TestReportLayoutFile::mistakes()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QString error;
    const auto layout = Layout::parse(text, QStringLiteral("t.rpt"), &error);
    if (QByteArray(QTest::currentDataTag()) == "unknown function") {
        // Functions are checked when names are bound to data, not while reading.
        QVERIFY2(layout.has_value(), qPrintable(error));
        return;
    }
    QVERIFY(!layout);
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestReportLayoutFile::lengths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("units");
    QTest::newRow("inches") << "0.5in" << 360.0;
    QTest::newRow("points") << "12pt" << 120.0;
    QTest::newRow("bare points") << "6" << 60.0;
    QTest::newRow("millimetres") << "25.4mm" << 720.0;
    QTest::newRow("centimetres") << "2.54cm" << 720.0;
    QTest::newRow("negative") << "-1in" << -1.0;
    QTest::newRow("word") << "wide" << -1.0;
}

void TestReportLayoutFile::lengths()
{
    QFETCH(QString, text);
    QFETCH(double, units);
    const auto len = parseLength(text);
    QCOMPARE(len.has_value(), units >= 0);
    if (len)
        QCOMPARE(*len, units);
}

void TestReportLayoutFile::textSections()
{
    const QString text = QString::fromLatin1(minimal) + "[text terms]\n"
                                                        "style: body\n"
                                                        "# a comment line\n"
                                                        "= 1. Payment\n"
                                                        "Payment is due as follows:\n"
                                                        "{Job Information.Payment Terms | as agreed}.\n"
                                                        "\n"
                                                        "- first point\n"
                                                        "  runs on\n"
                                                        "- second point\n"
                                                        "\n"
                                                        "Line one\\\n"
                                                        "line two\n";
    QString error;
    const auto layout = Layout::parse(text, QStringLiteral("t.rpt"), &error);
    QVERIFY2(layout, qPrintable(error));
    QCOMPARE(layout->texts.size(), 1);
    const TextBlock& t = layout->texts.first();
    QCOMPARE(t.name, QStringLiteral("terms"));
    QCOMPARE(t.paragraphs.size(), 5);
    QCOMPARE(t.paragraphs[0].kind, Paragraph::Kind::Heading);
    QCOMPARE(t.paragraphs[1].kind, Paragraph::Kind::Body);
    QCOMPARE(t.paragraphs[1].text.fields().size(), 1);
    QCOMPARE(t.paragraphs[2].kind, Paragraph::Kind::Bullet);
    QCOMPARE(t.paragraphs[3].kind, Paragraph::Kind::Bullet);
    QCOMPARE(t.paragraphs[4].kind, Paragraph::Kind::Body);
    QCOMPARE(t.paragraphs[1].line, 11);
}

void TestReportLayoutFile::bandsAndColumns()
{
    const QString text = QString::fromLatin1(minimal) +
                         "[columns items]\n"
                         "qty: 0.5in right\n"
                         "description: *\n"
                         "amount: 1in right\n"
                         "[details]\n"
                         "group by: Job Items.Schedule\n"
                         "[detail]\n"
                         "columns: items\n"
                         "padding: 2pt 4pt\n"
                         "cell qty body: {Job Items.Item Qty}\n"
                         "cell description..amount body: {Job Items.Item Name}\n"
                         "row\n"
                         "cell description body: {Job Items.Item Notes}\n"
                         "line qty..amount 0.5pt #DDDDDD\n";
    QString error;
    const auto layout = Layout::parse(text, QStringLiteral("t.rpt"), &error);
    QVERIFY2(layout, qPrintable(error));
    QCOMPARE(layout->details.size(), 1);
    const Band& detail = layout->details.first().detail;
    QCOMPARE(detail.rows.size(), 3);
    QCOMPARE(detail.rows[0].cells.size(), 2);
    QCOMPARE(detail.rows[0].cells[1].first, 1);
    QCOMPARE(detail.rows[0].cells[1].last, 2);
    QCOMPARE(detail.rows[2].kind, Row::Kind::Rule);
    QCOMPARE(detail.rows[2].first, 0);
    QCOMPARE(detail.rows[2].last, 2);
    QCOMPARE(detail.paddingV, 20.0);
    QCOMPARE(detail.paddingH, 40.0);
    QCOMPARE(layout->columnSet(QStringLiteral("items")).columns[0].align, Qt::AlignRight);
}

QTEST_GUILESS_MAIN(TestReportLayoutFile)
#include "tst_report_layoutfile.moc"
