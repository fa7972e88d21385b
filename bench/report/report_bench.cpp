// Times a quotation of 1,000 and of 10,000 lines printed to PDF by the report engine, and the same lines
// printed as one QTextDocument HTML table page by page, measured in the same run. Prints each figure beside
// its reference.
#include "platform/report/engine.h"

#include <QAbstractTextDocumentLayout>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>

namespace {

struct Line
{
    QString name, schedule, condition, notes;
    int category, qty;
    qint64 priceUnits; // ten-thousandths of a dollar
};

QList<Line> makeLines(int count)
{
    QList<Line> lines;
    lines.reserve(count);
    const char* const schedules[] = {"A", "B", "C"};
    for (int i = 0; i < count; ++i) {
        Line l;
        l.schedule = QString::fromLatin1(schedules[i * 3 / count]);
        l.category = i;
        l.name = QStringLiteral("Pinsetter part %1, remanufactured").arg(i + 1);
        l.condition = i % 4 == 0 ? QStringLiteral("New") : QStringLiteral("Remanufactured");
        l.qty = 1 + i % 32;
        l.priceUnits = 125000 + qint64(i % 97) * 12345;
        if (i % 5 == 0)
            l.notes = QStringLiteral("Includes installation hardware and a one year warranty on new parts.");
        lines.append(l);
    }
    return lines;
}

QString money(qint64 units)
{
    return tv::report::money::format(units, true);
}

bool makeDatabase(const QString& path, const QList<QList<Line>>& jobs, QString* error)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(path);
        ok = db.open();
        QStringList scripts;
        QDirIterator it(QStringLiteral(":/schema"), {QStringLiteral("*.sql")}, QDir::Files);
        while (it.hasNext())
            scripts.append(it.next());
        scripts.sort();
        db.transaction();
        for (const QString& script : scripts) {
            QFile f(script);
            f.open(QIODevice::ReadOnly);
            QString statement;
            for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
                if (line.trimmed().startsWith(QLatin1String("--")))
                    continue;
                statement += line + u'\n';
                if (line.trimmed().endsWith(u';')) {
                    QSqlQuery q(db);
                    if (ok && !q.exec(statement)) {
                        *error = q.lastError().text();
                        ok = false;
                    }
                    statement.clear();
                }
            }
        }
        QSqlQuery q(db);
        ok = ok && q.exec(QStringLiteral("DELETE FROM [Job Items]")) &&
             q.exec(QStringLiteral("DELETE FROM [Job Information]")) &&
             q.exec(QStringLiteral(
                 "UPDATE [Your Information] SET [Company Name] = 'Pelkin Bowling Supply Inc.', "
                 "[Company Address 1] = '2150 Industrial Parkway', [Company Address 2] = "
                 "'Muskegon, Michigan 49442', [Company Phone] = '(231) 555-0147'"));
        for (int job = 0; ok && job < jobs.size(); ++job) {
            QSqlQuery j(db);
            j.prepare(QStringLiteral(
                "INSERT INTO [Job Information] ([AutoNumber], [Job Name], [Customer Name], "
                "[Payment Terms], [Shipment Terms], [Time Period]) VALUES (?, ?, ?, ?, ?, ?)"));
            j.addBindValue(job + 1);
            j.addBindValue(QStringLiteral("Benchmark Lanes %1").arg(job + 1));
            j.addBindValue(QStringLiteral("Benchmark Customer Inc."));
            j.addBindValue(QStringLiteral("30% deposit with order, balance before shipment"));
            j.addBindValue(QStringLiteral("FOB Factory"));
            j.addBindValue(QStringLiteral("60 Days"));
            ok = j.exec();
            QSqlQuery l(db);
            l.prepare(QStringLiteral(
                "INSERT INTO [Job Items] ([Recordno], [Item Name], [Item Category], [Schedule], "
                "[Item Qty], [Item Condition], [Item Price], [Item Notes]) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
            for (const Line& line : jobs[job]) {
                l.addBindValue(job + 1);
                l.addBindValue(line.name);
                l.addBindValue(line.category);
                l.addBindValue(line.schedule);
                l.addBindValue(line.qty);
                l.addBindValue(line.condition);
                l.addBindValue(double(line.priceUnits) / 10000.0);
                l.addBindValue(line.notes.isEmpty() ? QVariant() : QVariant(line.notes));
                if (ok && !l.exec()) {
                    *error = l.lastError().text();
                    ok = false;
                }
            }
        }
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}

// The reference: the lines as one HTML table in a QTextDocument, drawn page by page between a page header
// and footer, the way a report is made without a banded engine.
double htmlTableToPdf(const QList<Line>& lines, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QString html;
    html.reserve(lines.size() * 400);
    html += QStringLiteral(
        "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" border=\"0\">"
        "<thead><tr style=\"background-color:#1F3864;color:white\"><th align=\"right\">Qty</th>"
        "<th align=\"left\">Description</th><th align=\"left\">Condition</th>"
        "<th align=\"right\">Unit Price</th><th align=\"right\">Amount</th></tr></thead>");
    qint64 groupTotal = 0;
    QString group;
    auto closeGroup = [&] {
        if (!group.isEmpty())
            html += QStringLiteral(
                        "<tr style=\"background-color:#EEF2F7\"><td colspan=\"4\" align=\"right\"><b>Total "
                        "Schedule %1</b></td><td align=\"right\"><b>%2</b></td></tr>")
                        .arg(group, money(groupTotal));
    };
    for (const Line& l : lines) {
        if (l.schedule != group) {
            closeGroup();
            group = l.schedule;
            groupTotal = 0;
            html += QStringLiteral("<tr><td colspan=\"5\"><b>Schedule %1</b></td></tr>").arg(group);
        }
        const qint64 amount = l.priceUnits * l.qty;
        groupTotal += amount;
        html += QStringLiteral(
                    "<tr><td align=\"right\">%1</td><td>%2%3</td><td>%4</td><td align=\"right\">%5</td>"
                    "<td align=\"right\">%6</td></tr>")
                    .arg(l.qty)
                    .arg(l.name.toHtmlEscaped(),
                         l.notes.isEmpty()
                             ? QString()
                             : QStringLiteral("<br/><small>%1</small>").arg(l.notes.toHtmlEscaped()),
                         l.condition, money(l.priceUnits), money(amount));
    }
    closeGroup();
    html += QStringLiteral("</table>");

    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    const qreal dpi = writer.resolution();
    const QRectF body(0.6 * dpi, 1.2 * dpi, 7.3 * dpi, 8.9 * dpi);
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(9);
    doc.setDefaultFont(font);
    doc.setHtml(html);
    doc.setPageSize(body.size());
    const int pages = doc.pageCount();
    QPainter painter(&writer);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.setFont(font);
        painter.drawText(QPointF(body.left(), 0.8 * dpi), QStringLiteral("QUOTATION"));
        painter.drawText(QPointF(body.left(), 10.5 * dpi),
                         QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages));
        painter.save();
        painter.translate(body.left(), body.top() - p * body.height());
        const QRectF clip(0, p * body.height(), body.width(), body.height());
        doc.drawContents(&painter, clip);
        painter.restore();
    }
    painter.end();
    return timer.nsecsElapsed() / 1e9;
}

double engineToPdf(const QString& folder, int job, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    tv::report::ReportEngine engine;
    engine.setReportFileName(folder + QStringLiteral("\\Schedule ABC With Prices.rpt"));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= %1").arg(job));
    const tv::report::Result r = engine.exportPdf(path);
    if (!r.ok()) {
        std::fprintf(stderr, "report_bench: %s\n", qPrintable(r.message));
        return -1;
    }
    return timer.nsecsElapsed() / 1e9;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QString error;
    const QList<Line> small = makeLines(1000);
    const QList<Line> large = makeLines(10000);
    if (!makeDatabase(dir.filePath(QStringLiteral("Pelkin.mdb")), {small, large}, &error) ||
        !QFile::copy(QStringLiteral(TARVENOR_LAYOUT_DIR "/Schedule ABC With Prices.rpt"),
                     dir.filePath(QStringLiteral("Schedule ABC With Prices.rpt")))) {
        std::fprintf(stderr, "report_bench: cannot prepare the data: %s\n", qPrintable(error));
        return 1;
    }
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));

    // Warm up fonts and the database driver.
    engineToPdf(dir.path(), 1, pdf);
    if (app.arguments().contains(QStringLiteral("--engine-only"))) {
        // For a profiler: the engine alone, 1,000 lines twenty times, laying out and writing timed apart.
        double composing = 0, writing = 0;
        for (int i = 0; i < 20; ++i) {
            tv::report::ReportEngine engine;
            engine.setReportFileName(dir.filePath(QStringLiteral("Schedule ABC With Prices.rpt")));
            engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 1"));
            std::shared_ptr<const tv::report::Document> doc;
            QElapsedTimer t;
            t.start();
            engine.compose(&doc);
            composing += t.nsecsElapsed() / 1e9;
            t.restart();
            doc->writePdf(pdf);
            writing += t.nsecsElapsed() / 1e9;
        }
        std::printf("laying out %.4f s, writing the PDF %.4f s (1,000 lines, mean of 20)\n", composing / 20,
                    writing / 20);
        {
            tv::report::ReportEngine engine;
            engine.setReportFileName(dir.filePath(QStringLiteral("Schedule ABC With Prices.rpt")));
            engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 1"));
            std::shared_ptr<const tv::report::Document> doc;
            engine.compose(&doc);
            int counts[4] = {0, 0, 0, 0};
            qint64 chars = 0;
            for (const auto& page : doc->pages())
                for (const auto& e : page.elements) {
                    ++counts[int(e.kind)];
                    chars += e.text.size();
                }
            std::printf("%d pages; %d texts of %lld characters, %d images, %d lines, %d fills\n",
                        doc->pageCount(), counts[0], chars, counts[1], counts[2], counts[3]);
        }
        return 0;
    }
    htmlTableToPdf(makeLines(50), pdf);

    QList<double> engineSmall, engineLarge, tableSmall;
    for (int i = 0; i < 5; ++i)
        engineSmall.append(engineToPdf(dir.path(), 1, pdf));
    for (int i = 0; i < 3; ++i)
        engineLarge.append(engineToPdf(dir.path(), 2, pdf));
    for (int i = 0; i < 3; ++i)
        tableSmall.append(htmlTableToPdf(small, pdf));
    const double tableLarge = htmlTableToPdf(large, pdf);
    if (median(engineSmall) < 0 || median(engineLarge) < 0)
        return 1;

    const double es = median(engineSmall), el = median(engineLarge), ts = median(tableSmall);
    std::printf("Quotation to PDF (Letter, schedules A/B/C with subtotals), median of runs, same machine and "
                "run\n\n");
    std::printf("%-28s %14s %22s %10s\n", "", "report engine", "one HTML table (ref.)", "ratio");
    std::printf("%-28s %12.3f s %20.3f s %9.1fx   goal: engine at least 15x faster\n", "1,000 lines", es, ts,
                ts / es);
    std::printf("%-28s %12.3f s %20.3f s %9.1fx\n", "10,000 lines", el, tableLarge, tableLarge / el);
    std::printf("%-28s %12.1fx %20.1fx %10s   goal: engine at most 12x\n", "10,000 / 1,000 lines", el / es,
                tableLarge / ts, "");
    std::printf("\n%s\n", ts / es >= 15 && el / es <= 12 ? "Both goals met." : "A goal is missed.");
    return 0;
}
