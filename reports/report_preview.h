#pragma once

#include "platform/report/engine.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace tv::reports {

// The preview window of a printed report: the pages as on paper, zoom and page turning, printing and export
// as a PDF file. It is not modal; each preview is a window of its own that deletes itself when closed. Its
// questions (file name, messages) go through the platform's Interactive services.
class ReportPreviewWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ReportPreviewWindow(std::shared_ptr<const tv::report::Document> document,
                                 QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    std::shared_ptr<const tv::report::Document> document() const { return m_document; }
    int currentPage() const;
    int pageCount() const;
    QAction* printAction() const { return m_print; }
    QAction* exportAction() const { return m_export; }

    // The folder the next export starts in (the last one used, else the user's documents).
    static QString exportFolder();

public slots:
    // Prints through the printer dialog; where there is no printer, offers the PDF export instead.
    void printDocument();
    // Asks for a file name and writes the PDF there. Returns the result (Cancelled when no name is given).
    tv::report::Result exportPdf();

private:
    void updatePageLabel();

    std::shared_ptr<const tv::report::Document> m_document;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QAction* m_print = nullptr;
    QAction* m_export = nullptr;
};

// The report output the program installs: destination 0 opens a preview window, destination 1 prints to the
// default printer (or answers NoPrinter where there is none).
class PreviewOutput : public tv::report::SystemOutput
{
public:
    tv::report::Result preview(const std::shared_ptr<const tv::report::Document>& document,
                               const tv::report::PrintRequest& request) override;
    // The window the last preview opened, while it is open.
    ReportPreviewWindow* lastWindow() const { return m_last; }

private:
    QPointer<ReportPreviewWindow> m_last;
};

// Makes PreviewOutput the output of every report engine that has none of its own. Called once at start-up.
void installReportPreview();
PreviewOutput& reportPreviewOutput();

} // namespace tv::reports
