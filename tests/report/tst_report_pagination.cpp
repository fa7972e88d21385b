// Laying bands out into pages: rows stay whole, a group title never ends a page, column titles and group
// titles come again on every page, "Page N of M", exact totals, long texts flowing with two lines at least on
// either side of a page break.
#include "report_test_support.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tv::report;
using namespace tv::report::testing;

namespace {

const char* const listLayout = R"([report]
title: Test list
page: letter portrait
margins: 0.5in

[data]
master: Job Information key AutoNumber
details: Job Items link Recordno
order: Schedule, Item Category
lookup: Your Information
select: Job Items.Recordno, Job Information.AutoNumber
without selection: %1

[formulas]
Line Total = Job Items.Item Qty * Job Items.Item Price

[columns items]
qty: 0.6in right
description: *
amount: 1.2in right

[page header]
cell all heading: Header of job {Job Information.AutoNumber}

[page footer]
cell all body: Page {Page} of {Pages}

[details]
group by: Job Items.Schedule

[column header]
columns: items
cell qty body: Qty
cell description body: Description
cell amount body: Amount

[group header]
columns: items
repeat: every page
space before: 6pt
cell qty..amount heading: Schedule {Job Items.Schedule} {Continued}

[detail]
columns: items
padding: 2pt 0
cell qty body: {Job Items.Item Qty}
cell description body: {Job Items.Item Name}
cell amount body: {Line Total : money}
row
cell description body: {Job Items.Item Notes}

[group footer]
columns: items
cell qty..description body: Total Schedule {Job Items.Schedule}
cell amount body: {sum(Line Total) : money}

[band total]
cell all body: Grand total {sum(Line Total) : money}
)";

const char* const textLayout = R"([report]
title: Test text
margins: 0.5in

[data]
master: Job Information key AutoNumber
select: Job Information.AutoNumber

[styles]
clause: 10, leading 1.3, space after 4pt
clause-heading: 11, bold, space before 8pt

[page header]
cell all body: Terms

[page footer]
cell all body: Page {Page} of {Pages}

[text terms]
style: clause
heading: clause-heading
%1
)";

} // namespace

class TestReportPagination : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void rowsNeverSplit_data();
    void rowsNeverSplit();
    void groupHeaderNeverEndsAPage_data();
    void groupHeaderNeverEndsAPage();
    void titlesRepeatOnEveryPage();
    void pageNumbers();
    void totalsAreExact();
    void longTextFlows_data();
    void longTextFlows();
    void rowTallerThanAPageIsCut();
    void everyJobWithoutSelection();
    void blankDocumentWithoutSelection();

private:
    void makeJob(int job, const QList<Line>& lines);
    std::shared_ptr<const Document> compose(const QString& layout, const QString& formula);
    static qreal bodyBottom(const Document& doc, int page);

    QTemporaryDir m_templateDir;
    QString m_template;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
};

void TestReportPagination::initTestCase()
{
    QString error;
    m_template = createDatabase(m_templateDir.path(), &error);
    QVERIFY2(!m_template.isEmpty(), qPrintable(error));
    QVERIFY2(fillCompany(m_template, &error), qPrintable(error));
}

void TestReportPagination::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_db = m_dir->filePath(QStringLiteral("Pelkin.mdb"));
    QVERIFY(QFile::copy(m_template, m_db));
}

void TestReportPagination::makeJob(int job, const QList<Line>& lines)
{
    QString error;
    QCOMPARE(addJob(m_db,
                    {{QStringLiteral("AutoNumber"), job},
                     {QStringLiteral("Job Name"), QStringLiteral("Job %1").arg(job)}},
                    &error),
             job);
    QVERIFY2(addLines(m_db, job, lines, &error), qPrintable(error));
}

std::shared_ptr<const Document> TestReportPagination::compose(const QString& layout, const QString& formula)
{
    QFile f(m_dir->filePath(QStringLiteral("Test.rpt")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    f.write(layout.toUtf8());
    f.close();
    ReportEngine engine;
    engine.setReportFileName(f.fileName());
    engine.setSelectionFormula(formula);
    std::shared_ptr<const Document> doc;
    const Result r = engine.compose(&doc);
    if (!r.ok())
        qWarning("%s", qPrintable(r.message));
    return doc;
}

qreal TestReportPagination::bodyBottom(const Document& doc, int page)
{
    const QList<PlacedBand> footers = doc.bands(page, BandKind::PageFooter);
    return footers.isEmpty() ? doc.pageSizeUnits().height() : footers.first().rect.top();
}

static QList<Line> lines(int count, const QString& schedule, int noteLines, int firstCategory = 1)
{
    QList<Line> out;
    for (int i = 0; i < count; ++i) {
        QStringList note;
        for (int k = 0; k < noteLines; ++k)
            note << QStringLiteral("Note %1 of item %2%3").arg(k + 1).arg(schedule).arg(i + 1);
        out.append({QStringLiteral("Item %1%2").arg(schedule).arg(i + 1), firstCategory + i, schedule,
                    1 + i % 3, QStringLiteral("New"), QStringLiteral("%1.25").arg(100 + i),
                    note.join(u'\n')});
    }
    return out;
}

void TestReportPagination::rowsNeverSplit_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("noteLines");
    QTest::newRow("70 lines without notes") << 70 << 0;
    QTest::newRow("60 lines with 2 note lines") << 60 << 2;
    QTest::newRow("100 lines with 3 note lines") << 100 << 3;
    QTest::newRow("150 lines with 1 note line") << 150 << 1;
}

void TestReportPagination::rowsNeverSplit()
{
    QFETCH(int, count);
    QFETCH(int, noteLines);
    makeJob(17, lines(count, QStringLiteral("A"), noteLines));
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")),
                             QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    QVERIFY(doc->pageCount() > 1);
    int details = 0;
    for (int p = 0; p < doc->pageCount(); ++p) {
        const qreal bottom = bodyBottom(*doc, p);
        for (const PlacedBand& b : doc->bands(p, BandKind::Detail)) {
            ++details;
            QVERIFY2(!b.continued, "a detail row was cut");
            QVERIFY(b.rect.bottom() <= bottom + 0.01);
            // The item and all of its notes are in one band.
            const QString name = b.texts.value(1);
            if (noteLines > 0) {
                const QString notes = b.texts.value(3);
                QCOMPARE(notes.count(u'\n'), noteLines - 1);
                QVERIFY(notes.endsWith(QStringLiteral("of item %1").arg(name.mid(5))));
            }
        }
    }
    QCOMPARE(details, count);
}

void TestReportPagination::groupHeaderNeverEndsAPage_data()
{
    QTest::addColumn<int>("firstGroup");
    for (int n = 30; n <= 62; ++n)
        QTest::newRow(qPrintable(QStringLiteral("%1 lines before schedule B").arg(n))) << n;
}

void TestReportPagination::groupHeaderNeverEndsAPage()
{
    QFETCH(int, firstGroup);
    makeJob(17, lines(firstGroup, QStringLiteral("A"), 0) + lines(5, QStringLiteral("B"), 0));
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")),
                             QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    for (int p = 0; p < doc->pageCount(); ++p) {
        const QList<PlacedBand>& bands = doc->page(p).bands;
        for (int i = 0; i < bands.size(); ++i) {
            if (bands[i].kind != BandKind::GroupHeader && bands[i].kind != BandKind::ColumnHeader)
                continue;
            // What follows a title on its page is a title or a row, never the page footer.
            QVERIFY(i + 1 < bands.size());
            QVERIFY2(bands[i + 1].kind == BandKind::Detail || bands[i + 1].kind == BandKind::GroupHeader,
                     qPrintable(QStringLiteral("page %1 ends with a title").arg(p + 1)));
        }
    }
}

void TestReportPagination::titlesRepeatOnEveryPage()
{
    makeJob(17, lines(120, QStringLiteral("A"), 1) + lines(3, QStringLiteral("B"), 0));
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")),
                             QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    QVERIFY(doc->pageCount() >= 3);
    int repeatedGroupTitles = 0;
    for (int p = 0; p < doc->pageCount(); ++p) {
        const QList<PlacedBand>& bands = doc->page(p).bands;
        if (doc->bands(p, BandKind::Detail).isEmpty())
            continue;
        QCOMPARE(bands[0].kind, BandKind::PageHeader);
        QCOMPARE(bands[1].kind, BandKind::ColumnHeader);
        QCOMPARE(bands[1].texts, QStringList({QStringLiteral("Qty"), QStringLiteral("Description"),
                                              QStringLiteral("Amount")}));
        QCOMPARE(bands[2].kind, BandKind::GroupHeader);
        if (p > 0) {
            QCOMPARE(bands[2].texts.value(0), QStringLiteral("Schedule A (continued)"));
            ++repeatedGroupTitles;
        } else {
            QCOMPARE(bands[2].texts.value(0), QStringLiteral("Schedule A "));
        }
    }
    QCOMPARE(repeatedGroupTitles,
             doc->pageCount() - 1 - (doc->bands(doc->pageCount() - 1, BandKind::Detail).isEmpty() ? 1 : 0));
}

void TestReportPagination::pageNumbers()
{
    makeJob(17, lines(200, QStringLiteral("A"), 0));
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")),
                             QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    const int n = doc->pageCount();
    QVERIFY(n >= 4);
    for (int p = 0; p < n; ++p) {
        const QList<PlacedBand> footers = doc->bands(p, BandKind::PageFooter);
        QCOMPARE(footers.size(), 1);
        QCOMPARE(footers.first().texts, QStringList(QStringLiteral("Page %1 of %2").arg(p + 1).arg(n)));
        QCOMPARE(doc->page(p).number, p + 1);
        QCOMPARE(doc->page(p).count, n);
    }
}

void TestReportPagination::totalsAreExact()
{
    // Prices with fractions of a cent: each line shows rounded, the totals add the exact amounts.
    QList<Line> a, b;
    qint64 totalA = 0, totalB = 0;
    for (int i = 0; i < 300; ++i) {
        a.append({QStringLiteral("A%1").arg(i), i, QStringLiteral("A"), 3, {}, QStringLiteral("0.3333"), {}});
        totalA += 3 * 3333;
    }
    for (int i = 0; i < 7; ++i) {
        b.append({QStringLiteral("B%1").arg(i),
                  i,
                  QStringLiteral("B"),
                  1,
                  {},
                  QStringLiteral("1234567.0101"),
                  {}});
        totalB += Q_INT64_C(12345670101);
    }
    makeJob(17, a + b);
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")),
                             QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    QStringList footers, totals;
    for (int p = 0; p < doc->pageCount(); ++p) {
        for (const PlacedBand& band : doc->bands(p, BandKind::GroupFooter))
            footers.append(band.texts.join(u'|'));
        for (const PlacedBand& band : doc->bands(p, BandKind::Band))
            totals += band.texts;
    }
    QCOMPARE(footers, QStringList({QStringLiteral("Total Schedule A|") + money::format(totalA, true),
                                   QStringLiteral("Total Schedule B|") + money::format(totalB, true)}));
    QCOMPARE(totals, QStringList(QStringLiteral("Grand total ") + money::format(totalA + totalB, true)));
    QCOMPARE(money::format(totalA, true), QStringLiteral("$299.97"));
    QCOMPARE(money::format(totalA + totalB, true), QStringLiteral("$8,642,269.04"));
}

void TestReportPagination::longTextFlows_data()
{
    QTest::addColumn<int>("clauses");
    QTest::addColumn<int>("sentences");
    QTest::newRow("short clauses") << 60 << 2;
    QTest::newRow("long clauses") << 25 << 14;
    QTest::newRow("very long clauses") << 8 << 60;
}

void TestReportPagination::longTextFlows()
{
    QFETCH(int, clauses);
    QFETCH(int, sentences);
    makeJob(17, {});
    QString body;
    for (int c = 1; c <= clauses; ++c) {
        body += QStringLiteral("= Clause %1\n").arg(c);
        for (int s = 0; s < sentences; ++s)
            body +=
                QStringLiteral("Sentence %1 of clause %2 says what the parties agreed about this matter. ")
                    .arg(s + 1)
                    .arg(c);
        body += QStringLiteral("\n\n");
    }
    const auto doc =
        compose(QString::fromLatin1(textLayout).arg(body), QStringLiteral("{Job Information.AutoNumber}=17"));
    QVERIFY(doc);
    QVERIFY(doc->pageCount() > 1);
    auto lineCount = [&](int page, const PlacedBand& band) {
        QSet<qreal> baselines;
        for (int e = band.firstElement; e < band.firstElement + band.elementCount; ++e)
            baselines.insert(doc->page(page).elements[e].baseline);
        return int(baselines.size());
    };
    int headings = 0, clauseEnds = 0;
    for (int p = 0; p < doc->pageCount(); ++p) {
        const QList<PlacedBand> texts = doc->bands(p, BandKind::Text);
        QVERIFY(!texts.isEmpty());
        for (int i = 0; i < texts.size(); ++i) {
            const PlacedBand& t = texts[i];
            const bool heading = t.texts.value(0).startsWith(QLatin1String("Clause "));
            headings += heading ? 1 : 0;
            // A heading is followed by its clause on the same page.
            if (heading)
                QVERIFY2(i + 1 < texts.size(),
                         qPrintable(QStringLiteral("page %1 ends with a heading").arg(p + 1)));
            const bool runsOn = i == texts.size() - 1 && p + 1 < doc->pageCount() &&
                                doc->bands(p + 1, BandKind::Text).first().continued;
            if (t.continued || runsOn)
                QVERIFY2(lineCount(p, t) >= 2,
                         qPrintable(QStringLiteral("a single line on page %1").arg(p + 1)));
            if (!heading && !runsOn)
                clauseEnds += QString(t.texts.value(0))
                                      .replace(u'\n', u' ')
                                      .contains(QStringLiteral("Sentence %1 of").arg(sentences))
                                  ? 1
                                  : 0;
        }
        QVERIFY(texts.last().rect.bottom() <= bodyBottom(*doc, p) + 0.01);
    }
    QCOMPARE(headings, clauses);
    QCOMPARE(clauseEnds, clauses);
}

void TestReportPagination::rowTallerThanAPageIsCut()
{
    QStringList note;
    for (int k = 0; k < 200; ++k)
        note << QStringLiteral("Line %1 of a very long note").arg(k + 1);
    makeJob(
        17,
        {{QStringLiteral("Long item"), 1, QStringLiteral("A"), 1, {}, QStringLiteral("10"), note.join(u'\n')},
         {QStringLiteral("After"), 2, QStringLiteral("A"), 1, {}, QStringLiteral("10"), {}}});
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")),
                             QStringLiteral("{Job Items.Recordno}= 17"));
    QVERIFY(doc);
    QVERIFY(doc->pageCount() >= 3);
    QString printed;
    int parts = 0;
    for (int p = 0; p < doc->pageCount(); ++p) {
        for (const PlacedBand& b : doc->bands(p, BandKind::Detail)) {
            QVERIFY(b.rect.bottom() <= bodyBottom(*doc, p) + 0.01);
            if (b.texts.join(u'\n').contains(QLatin1String("very long note"))) {
                ++parts;
                printed += b.texts.join(u'\n') + u'\n';
            }
        }
    }
    QVERIFY(parts >= 3);
    for (int k = 0; k < 200; ++k)
        QVERIFY(printed.contains(QStringLiteral("Line %1 of a very long note\n").arg(k + 1)));
}

void TestReportPagination::everyJobWithoutSelection()
{
    makeJob(3, lines(70, QStringLiteral("A"), 0));
    makeJob(5, lines(2, QStringLiteral("B"), 0));
    makeJob(9, {});
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("all")), QString());
    QVERIFY(doc);
    QList<int> sections;
    for (int p = 0; p < doc->pageCount(); ++p) {
        const Page& page = doc->page(p);
        sections.append(page.section);
        const QString job =
            QStringList({QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("9")}).value(page.section);
        QCOMPARE(doc->bands(p, BandKind::PageHeader).first().texts,
                 QStringList(QStringLiteral("Header of job ") + job));
        QCOMPARE(doc->bands(p, BandKind::PageFooter).first().texts,
                 QStringList(QStringLiteral("Page %1 of %2").arg(page.number).arg(page.count)));
    }
    QCOMPARE(sections, QList<int>({0, 0, 1, 2}));
}

void TestReportPagination::blankDocumentWithoutSelection()
{
    makeJob(3, lines(70, QStringLiteral("A"), 0));
    makeJob(5, lines(2, QStringLiteral("B"), 0));
    const auto doc = compose(QString::fromLatin1(listLayout).arg(QStringLiteral("blank")), QString());
    QVERIFY(doc);
    QCOMPARE(doc->pageCount(), 1);
    QCOMPARE(doc->bands(0, BandKind::Detail).size(), 0);
    // The header's one line names the job; without a job the line is left out, and so is the header.
    QVERIFY(doc->bands(0, BandKind::PageHeader).isEmpty());
    QCOMPARE(doc->bands(0, BandKind::PageFooter).first().texts, QStringList(QStringLiteral("Page 1 of 1")));
}

QTEST_MAIN(TestReportPagination)
#include "tst_report_pagination.moc"
