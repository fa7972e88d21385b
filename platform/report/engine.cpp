#include "platform/report/engine.h"

#include "database/connection.h"
#include "platform/report/composer.h"
#include "platform/report/data.h"
#include "platform/report/layout.h"
#include "platform/report/selection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace tv::report {

namespace {

ReportOutput* g_defaultOutput = nullptr;

SystemOutput& systemOutput()
{
    static SystemOutput output;
    return output;
}

// Layout files are a few pages of text; anything far larger is not one.
constexpr qint64 MaxLayoutBytes = 4 * 1024 * 1024;

QString normalizedPath(const QString& path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    return p;
}

} // namespace

Result SystemOutput::preview(const std::shared_ptr<const Document>&, const PrintRequest&)
{
    return Result::failure(ResultCode::NoPreview,
                           QStringLiteral("This program has no print preview window."));
}

bool SystemOutput::printerInstalled()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

Result SystemOutput::noPrinter()
{
    return Result::failure(
        ResultCode::NoPrinter,
        QStringLiteral("No printer is installed on this computer, so the report cannot be printed. "
                       "You can export it as a PDF file instead."));
}

Result SystemOutput::print(const std::shared_ptr<const Document>& document, const PrintRequest&)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        return noPrinter();
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        info = printers.first();
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return Result::failure(ResultCode::OutputFailed,
                               QStringLiteral("The printer %1 cannot be used.").arg(info.printerName()));
    return document->print(&printer);
}

ReportOutput* ReportEngine::output() const
{
    return m_output ? m_output : defaultOutput();
}

void ReportEngine::setDefaultOutput(ReportOutput* output)
{
    g_defaultOutput = output;
}

ReportOutput* ReportEngine::defaultOutput()
{
    return g_defaultOutput ? g_defaultOutput : &systemOutput();
}

QString ReportEngine::findFileIgnoringCase(const QString& path)
{
    if (path.trimmed().isEmpty())
        return {};
    const QFileInfo info(normalizedPath(path));
    if (info.isFile())
        return info.absoluteFilePath();
    const QString name = info.fileName();
    const QDir folder = info.absoluteDir();
    if (name.isEmpty() || !folder.exists())
        return {};
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.absoluteFilePath(entry);
    return {};
}

PrintRequest ReportEngine::request() const
{
    PrintRequest r;
    r.reportFileName = m_reportFileName;
    r.reportPath = m_resolvedPath;
    r.selectionFormula = m_selectionFormula;
    r.destination = m_destination;
    return r;
}

Result ReportEngine::finish(const Result& result)
{
    m_lastResult = result;
    return result;
}

Result ReportEngine::setAction(int action)
{
    if (action != 1)
        return finish(Result::failure(
            ResultCode::InvalidRequest,
            QStringLiteral("The report action %1 is not known; 1 prints the report.").arg(action)));
    return printReport();
}

Result ReportEngine::compose(std::shared_ptr<const Document>* document)
{
    document->reset();
    m_resolvedPath.clear();
    if (m_reportFileName.trimmed().isEmpty())
        return finish(
            Result::failure(ResultCode::InvalidRequest, QStringLiteral("No report file was named.")));

    const QFileInfo asked(normalizedPath(m_reportFileName));
    const QString path = findFileIgnoringCase(m_reportFileName);
    if (path.isEmpty())
        return finish(
            Result::failure(ResultCode::ReportNotFound,
                            QStringLiteral("The report file \"%1\" is not in the folder %2.")
                                .arg(asked.fileName(), QDir::toNativeSeparators(asked.absolutePath()))));
    m_resolvedPath = path;
    const QString fileName = QFileInfo(path).fileName();

    QFile file(path);
    if (file.size() > MaxLayoutBytes)
        return finish(Result::failure(
            ResultCode::LayoutInvalid,
            QStringLiteral("The report file \"%1\" is too large to be a layout.").arg(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        return finish(Result::failure(
            ResultCode::LayoutInvalid,
            QStringLiteral("The report file \"%1\" cannot be read: %2").arg(fileName, file.errorString())));
    const QByteArray bytes = file.readAll();
    file.close();

    QString why;
    std::optional<Layout> layout = Layout::parse(QString::fromUtf8(bytes), fileName, &why);
    if (!layout)
        return finish(Result::failure(ResultCode::LayoutInvalid,
                                      QStringLiteral("The report file has a mistake: %1").arg(why)));

    Selection selection;
    if (Result r = parseSelectionFormula(m_selectionFormula, &selection); !r.ok())
        return finish(r);
    if (selection.active) {
        bool allowed = false;
        QStringList names;
        for (const auto& [table, field] : layout->data.selectable) {
            names.append(QStringLiteral("{%1.%2}").arg(table, field));
            if (table.compare(selection.table, Qt::CaseInsensitive) == 0 &&
                field.compare(selection.field, Qt::CaseInsensitive) == 0)
                allowed = true;
        }
        if (!allowed) {
            const QString offered =
                names.isEmpty() ? QStringLiteral("makes no selection")
                                : QStringLiteral("selects on %1").arg(names.join(QStringLiteral(" or ")));
            return finish(Result::failure(ResultCode::FormulaInvalid,
                                          QStringLiteral("This report %1, not on {%2.%3}.")
                                              .arg(offered, selection.table, selection.field)));
        }
    }

    QString databasePath = m_databasePath;
    if (databasePath.isEmpty()) {
        const QString beside = QFileInfo(path).absolutePath() + QStringLiteral("/Pelkin.mdb");
        databasePath = findFileIgnoringCase(beside);
        if (databasePath.isEmpty())
            databasePath = beside;
    }
    ReportData data;
    {
        QString error;
        const tv::db::ConnectionPtr connection =
            tv::db::openConnection(databasePath, QStringLiteral("Report engine"), &error);
        if (!connection)
            return finish(Result::failure(ResultCode::DatabaseUnavailable, error));
        Result r = loadReportData(connection->database(), layout->data, selection, &data);
        if (r.code == ResultCode::LayoutInvalid)
            r.message = QStringLiteral("The report file has a mistake: %1: %2").arg(fileName, r.message);
        if (!r.ok())
            return finish(r);
    }
    if (Result r = bindLayout(*layout, data); !r.ok()) {
        r.message = QStringLiteral("The report file has a mistake: %1").arg(r.message);
        return finish(r);
    }

    const QString title = layout->title.isEmpty() ? QFileInfo(path).completeBaseName() : layout->title;
    QString job;
    if (selection.active)
        job = QString::number(selection.value);
    else if (data.sections.size() == 1 && data.sections.first().masterRow >= 0) {
        const int key = data.master.columnIndex(layout->data.masterKey);
        job = data.master.rows[data.sections.first().masterRow][key].display();
    }
    QString documentTitle = job.isEmpty() ? title : QStringLiteral("%1 - Job %2").arg(title, job);
    QString suggested = QFileInfo(path).completeBaseName();
    if (!job.isEmpty())
        suggested += QStringLiteral(" - Job ") + job;
    suggested.replace(u'/', u'-');
    suggested += QStringLiteral(".pdf");

    auto doc = std::make_shared<Document>();
    Composer composer(*layout, data);
    if (m_printDate.isValid())
        composer.setToday(m_printDate);
    composer.setTitle(documentTitle, suggested);
    if (Result r = composer.compose(doc.get()); !r.ok())
        return finish(r);
    *document = doc;
    return finish(Result::success());
}

Result ReportEngine::printReport()
{
    if (m_destination != ToWindow && m_destination != ToPrinter)
        return finish(
            Result::failure(ResultCode::InvalidRequest,
                            QStringLiteral("The destination %1 is not known; 0 is the preview window, 1 the "
                                           "printer.")
                                .arg(m_destination)));
    std::shared_ptr<const Document> document;
    if (Result r = compose(&document); !r.ok())
        return r;
    ReportOutput* out = output();
    const PrintRequest req = request();
    return finish(m_destination == ToWindow ? out->preview(document, req) : out->print(document, req));
}

Result ReportEngine::exportPdf(const QString& pdfPath)
{
    std::shared_ptr<const Document> document;
    if (Result r = compose(&document); !r.ok())
        return r;
    return finish(document->writePdf(pdfPath));
}

} // namespace tv::report
