#include "reports/printrun.h"

#include "platform/interactive.h"
#include "reports/report_preview.h"
#include "reports/reportcatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace tv::reports {

using tv::report::Result;
using tv::report::ResultCode;

namespace {

// The folder the last export of this kind went to, for the next one.
QString& lastExportFolder()
{
    static QString folder;
    return folder;
}

QString exportFolder()
{
    const QString& last = lastExportFolder();
    return !last.isEmpty() && QDir(last).exists() ? last : ReportPreviewWindow::exportFolder();
}

QString reasonOf(const Result& result)
{
    if (result.code == ResultCode::NoPrinter)
        return QStringLiteral("No printer is installed on this computer.");
    return result.message.isEmpty() ? tv::report::resultCodeName(result.code) : result.message;
}

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

} // namespace

std::optional<QString> typedJobNumber(QLineEdit* box)
{
    const catalogue::JobNumber number = catalogue::readJobNumber(box->text());
    if (number.status == catalogue::JobNumber::Valid)
        return number.text;
    setPointer(Pointer::Default);
    // Whatever the answer to the Yes and No of the empty-number message, the user goes back to the box.
    constexpr int YesNoWithoutIcon = 84; // icon bits 80 name no icon
    const int style =
        number.status == catalogue::JobNumber::Empty ? YesNoWithoutIcon : vbOKOnly + vbExclamation;
    msgBox(catalogue::jobNumberProblem(number), style, QStringLiteral("Notice"));
    box->setFocus();
    box->selectAll();
    return std::nullopt;
}

Result PrintRun::print(const QString& name, const QString& reportFile, const std::optional<QString>& formula,
                       const std::optional<int>& destination)
{
    m_engine.setReportFileName(reportFile);
    if (formula)
        m_engine.setSelectionFormula(*formula);
    if (destination)
        m_engine.setDestination(*destination);
    const Result result = m_engine.setAction(1);
    if (result.ok())
        ++m_printed;
    else if (result.failed())
        m_failures.append({name, reportFile, m_engine.selectionFormula(), result});
    return result;
}

bool PrintRun::anyWithoutPrinter() const
{
    for (const Failure& f : m_failures)
        if (f.result.code == ResultCode::NoPrinter)
            return true;
    return false;
}

QString PrintRun::failureText() const
{
    if (m_failures.isEmpty())
        return {};
    if (m_failures.size() == 1)
        return QStringLiteral("%1 was not printed.\n\n%2")
            .arg(quoted(m_failures.first().name), reasonOf(m_failures.first().result));

    bool oneReason = true;
    for (const Failure& f : m_failures)
        oneReason = oneReason && reasonOf(f.result) == reasonOf(m_failures.first().result);
    QStringList lines;
    for (const Failure& f : m_failures)
        lines.append(oneReason ? QStringLiteral("    ") + f.name
                               : QStringLiteral("%1:\n    %2").arg(f.name, reasonOf(f.result)));
    QString text = QStringLiteral("These documents were not printed:\n\n") +
                   lines.join(oneReason ? QStringLiteral("\n") : QStringLiteral("\n\n"));
    if (oneReason)
        text += QStringLiteral("\n\n") + reasonOf(m_failures.first().result);
    return text;
}

void PrintRun::tellFailures(const QString& title)
{
    if (m_failures.isEmpty())
        return;
    QString text = failureText();
    if (!anyWithoutPrinter()) {
        msgBox(text, vbOKOnly + vbExclamation, title);
        return;
    }
    int withoutPrinter = 0;
    for (const Failure& f : m_failures)
        withoutPrinter += f.result.code == ResultCode::NoPrinter;
    if (m_failures.size() == 1)
        text += QStringLiteral("\n\nDo you want to save it as a PDF file instead?");
    else if (withoutPrinter == m_failures.size())
        text += QStringLiteral("\n\nDo you want to save them as PDF files instead?");
    else if (withoutPrinter == 1)
        text += QStringLiteral("\n\nDo you want to save the one that needs a printer as a PDF file instead?");
    else
        text +=
            QStringLiteral("\n\nDo you want to save the documents that need a printer as PDF files instead?");
    if (msgBox(text, vbYesNo + vbExclamation, title) == vbYes)
        exportInstead(title);
}

void PrintRun::exportInstead(const QString& title)
{
    QList<Failure> wanted;
    for (const Failure& f : std::as_const(m_failures))
        if (f.result.code == ResultCode::NoPrinter)
            wanted.append(f);

    // Each document is laid out again from its request, exactly as it was to be printed.
    const QString keptFile = m_engine.reportFileName();
    const QString keptFormula = m_engine.selectionFormula();
    auto compose = [this](const Failure& f, std::shared_ptr<const tv::report::Document>* document) {
        m_engine.setReportFileName(f.reportFile);
        m_engine.setSelectionFormula(f.formula);
        return m_engine.compose(document);
    };
    auto withPdfSuffix = [](QString path) {
        if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
            path += QStringLiteral(".pdf");
        return path;
    };

    QStringList saved;
    QStringList problems;
    QString folder;
    if (wanted.size() == 1) {
        std::shared_ptr<const tv::report::Document> document;
        Result r = compose(wanted.first(), &document);
        if (r.ok()) {
            const QString path = platform::interactive().saveFileName(
                QStringLiteral("Export as PDF"), QDir(exportFolder()).filePath(document->suggestedFileName()),
                QStringLiteral("PDF files (*.pdf)"));
            if (!path.isEmpty()) {
                const QString target = withPdfSuffix(path);
                r = document->writePdf(target);
                if (r.ok())
                    lastExportFolder() = QFileInfo(target).absolutePath();
            }
        }
        if (r.failed())
            problems.append(QStringLiteral("%1:\n    %2").arg(wanted.first().name, reasonOf(r)));
    } else {
        folder = platform::interactive().existingFolder(QStringLiteral("Save the Documents as PDF Files in"),
                                                        exportFolder());
        if (!folder.isEmpty()) {
            lastExportFolder() = folder;
            for (const Failure& f : std::as_const(wanted)) {
                std::shared_ptr<const tv::report::Document> document;
                Result r = compose(f, &document);
                QString fileName;
                if (r.ok()) {
                    fileName = document->suggestedFileName();
                    r = document->writePdf(QDir(folder).filePath(fileName));
                }
                if (r.ok())
                    saved.append(fileName);
                else
                    problems.append(QStringLiteral("%1:\n    %2").arg(f.name, reasonOf(r)));
            }
        }
    }
    m_engine.setReportFileName(keptFile);
    m_engine.setSelectionFormula(keptFormula);

    if (!problems.isEmpty()) {
        QString text = QStringLiteral("These documents could not be saved as PDF files:\n\n") +
                       problems.join(QStringLiteral("\n\n"));
        if (!saved.isEmpty())
            text += QStringLiteral("\n\nThe others were saved in %1.").arg(QDir::toNativeSeparators(folder));
        msgBox(text, vbOKOnly + vbCritical, title);
    } else if (!saved.isEmpty())
        msgBox(QStringLiteral("The documents were saved as PDF files in %1:\n\n    %2")
                   .arg(QDir::toNativeSeparators(folder), saved.join(QStringLiteral("\n    "))),
               vbOKOnly + vbInformation, title);
}

} // namespace tv::reports
