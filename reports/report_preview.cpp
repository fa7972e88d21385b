#include "reports/report_preview.h"

#include "platform/interactive.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace tv::reports {

using tv::report::Result;
using tv::report::ResultCode;

namespace {

QString g_exportFolder;

} // namespace

ReportPreviewWindow::ReportPreviewWindow(std::shared_ptr<const tv::report::Document> document,
                                         QWidget* parent)
    : QDialog(parent), m_document(std::move(document)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(QStringLiteral("Print Preview - %1").arg(m_document->title()));
    setModal(false);

    m_printer->setFullPage(true);
    m_printer->setPageLayout(m_document->pageLayout());
    m_printer->setDocName(m_document->title());

    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_print = toolbar->addAction(QStringLiteral("&Print..."), this, &ReportPreviewWindow::printDocument);
    m_export = toolbar->addAction(QStringLiteral("Export P&DF..."), this, [this] { exportPdf(); });
    toolbar->addSeparator();
    QAction* fitWidth = toolbar->addAction(QStringLiteral("Fit &Width"));
    QAction* fitPage = toolbar->addAction(QStringLiteral("&Whole Page"));
    QAction* zoomIn = toolbar->addAction(QStringLiteral("Zoom &In"));
    QAction* zoomOut = toolbar->addAction(QStringLiteral("Zoom &Out"));
    toolbar->addSeparator();
    QAction* first = toolbar->addAction(QStringLiteral("First"));
    QAction* previous = toolbar->addAction(QStringLiteral("Previous"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    toolbar->addWidget(m_pageLabel);
    QAction* next = toolbar->addAction(QStringLiteral("Next"));
    QAction* last = toolbar->addAction(QStringLiteral("Last"));
    toolbar->addSeparator();
    toolbar->addAction(QStringLiteral("&Close"), this, &QDialog::close);

    m_print->setShortcut(QKeySequence::Print);
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    next->setShortcut(QKeySequence::MoveToNextPage);
    previous->setShortcut(QKeySequence::MoveToPreviousPage);

    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    connect(m_view, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { m_document->render(printer); });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &ReportPreviewWindow::updatePageLabel);
    connect(fitWidth, &QAction::triggered, m_view, &QPrintPreviewWidget::fitToWidth);
    connect(fitPage, &QAction::triggered, m_view, &QPrintPreviewWidget::fitInView);
    connect(zoomIn, &QAction::triggered, m_view, [this] { m_view->zoomIn(); });
    connect(zoomOut, &QAction::triggered, m_view, [this] { m_view->zoomOut(); });
    connect(first, &QAction::triggered, m_view, [this] { m_view->setCurrentPage(1); });
    connect(previous, &QAction::triggered, m_view,
            [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });
    connect(next, &QAction::triggered, m_view, [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });
    connect(last, &QAction::triggered, m_view, [this] { m_view->setCurrentPage(m_view->pageCount()); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_view, 1);
    resize(900, 1000);
    m_view->fitToWidth();
    updatePageLabel();
}

ReportPreviewWindow::~ReportPreviewWindow() = default;

int ReportPreviewWindow::currentPage() const
{
    return m_view->currentPage();
}

int ReportPreviewWindow::pageCount() const
{
    return m_view->pageCount();
}

void ReportPreviewWindow::updatePageLabel()
{
    m_pageLabel->setText(
        QStringLiteral("Page %1 of %2").arg(qMax(1, m_view->currentPage())).arg(m_document->pageCount()));
}

QString ReportPreviewWindow::exportFolder()
{
    if (!g_exportFolder.isEmpty() && QDir(g_exportFolder).exists())
        return g_exportFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void ReportPreviewWindow::printDocument()
{
    if (!tv::report::SystemOutput::printerInstalled()) {
        const int answer =
            tv::msgBox(QStringLiteral("No printer is installed on this computer, so the report cannot be "
                                      "printed.\n\nDo you want to export it as a PDF file instead?"),
                       tv::vbYesNo + tv::vbExclamation, QStringLiteral("Print"));
        if (answer == tv::vbYes)
            exportPdf();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_document->pageLayout());
    printer.setDocName(m_document->title());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, m_document->pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return; // the user's own cancel: nothing to report
    const Result r = m_document->print(&printer);
    if (!r.ok())
        tv::msgBox(r.message, tv::vbOKOnly + tv::vbCritical, QStringLiteral("Print"));
}

Result ReportPreviewWindow::exportPdf()
{
    const QString suggested = QDir(exportFolder()).filePath(m_document->suggestedFileName());
    QString path = tv::platform::interactive().saveFileName(QStringLiteral("Export as PDF"), suggested,
                                                            QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return Result::failure(ResultCode::Cancelled, QString());
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    const Result r = m_document->writePdf(path);
    if (!r.ok()) {
        tv::msgBox(r.message, tv::vbOKOnly + tv::vbCritical, QStringLiteral("Export as PDF"));
        return r;
    }
    g_exportFolder = QFileInfo(path).absolutePath();
    return r;
}

Result PreviewOutput::preview(const std::shared_ptr<const tv::report::Document>& document,
                              const tv::report::PrintRequest&)
{
    // A window of its own: it stays open when the print window that asked for it is closed.
    auto* window = new ReportPreviewWindow(document);
    window->show();
    window->raise();
    window->activateWindow();
    m_last = window;
    return Result::success();
}

PreviewOutput& reportPreviewOutput()
{
    static PreviewOutput output;
    return output;
}

void installReportPreview()
{
    tv::report::ReportEngine::setDefaultOutput(&reportPreviewOutput());
}

} // namespace tv::reports
