#pragma once

#include "platform/report/document.h"
#include "platform/report/result.h"

#include <QDate>
#include <QString>
#include <memory>

namespace tv::report {

// The two destinations of a print request.
enum Destination : int {
    ToWindow = 0,  // the preview window, from which the user prints or exports
    ToPrinter = 1, // the default printer, at once
};

// What a request asked for, as handed to an output.
struct PrintRequest
{
    QString reportFileName;   // as set on the engine
    QString reportPath;       // the file found for it (letter case as on disk)
    QString selectionFormula; // the formula in force
    int destination = ToPrinter;
};

// Where produced reports go. The program installs one with a preview window (reports/report_preview.h);
// tests install recorders. Implementations may return Cancelled when the user cancels a dialog of theirs.
class ReportOutput
{
public:
    virtual ~ReportOutput() = default;
    virtual Result preview(const std::shared_ptr<const Document>& document, const PrintRequest& request) = 0;
    virtual Result print(const std::shared_ptr<const Document>& document, const PrintRequest& request) = 0;
};

// The output without a window: no preview (NoPreview), printing straight to the default printer, or NoPrinter
// where the computer has none.
class SystemOutput : public ReportOutput
{
public:
    Result preview(const std::shared_ptr<const Document>& document, const PrintRequest& request) override;
    Result print(const std::shared_ptr<const Document>& document, const PrintRequest& request) override;

    static bool printerInstalled();
    // The NoPrinter result, with its message for the user.
    static Result noPrinter();
};

// Prints report files. It holds the settings of a print request (report file, selection formula,
// destination) between requests, as a window's report control does: a request that skips a setting uses the
// value set last. Each request reads the report file and the database afresh and keeps no connection open.
class ReportEngine
{
public:
    ReportEngine() = default;

    // The full path of the report file. Backslashes count as folder separators, and the file name is found
    // without regard to letter case within its folder.
    void setReportFileName(const QString& path) { m_reportFileName = path; }
    QString reportFileName() const { return m_reportFileName; }

    // "{Job Items.Recordno}= 17"; empty for no selection.
    void setSelectionFormula(const QString& formula) { m_selectionFormula = formula; }
    QString selectionFormula() const { return m_selectionFormula; }

    // ToWindow (0) or ToPrinter (1); the engine starts with ToPrinter.
    void setDestination(int destination) { m_destination = destination; }
    int destination() const { return m_destination; }

    // The database file; empty (the start) means Pelkin.mdb in the report file's folder.
    void setDatabasePath(const QString& path) { m_databasePath = path; }
    QString databasePath() const { return m_databasePath; }

    // The output of this engine; null (the start) means the program's default output.
    void setOutput(ReportOutput* output) { m_output = output; }
    ReportOutput* output() const;

    // The date the reports print as today; invalid (the start) means the day of printing.
    void setPrintDate(const QDate& date) { m_printDate = date; }

    // Action 1 produces the report at once to the destination (printReport); other actions are refused.
    Result setAction(int action);
    // Produces the report of the current settings to the destination.
    Result printReport();
    // Produces the report of the current settings into a PDF file, whatever the destination.
    Result exportPdf(const QString& pdfPath);
    // Lays out the report of the current settings without sending it anywhere.
    Result compose(std::shared_ptr<const Document>* document);

    PrintRequest request() const;
    Result lastResult() const { return m_lastResult; }

    // The output every engine without its own uses; null restores the system output.
    static void setDefaultOutput(ReportOutput* output);
    static ReportOutput* defaultOutput();

    // The existing file that path names, its file name matched without regard to letter case within its
    // folder (an exact match first); empty if there is none.
    static QString findFileIgnoringCase(const QString& path);

private:
    Result finish(const Result& result);

    QString m_reportFileName;
    QString m_selectionFormula;
    int m_destination = ToPrinter;
    QString m_databasePath;
    ReportOutput* m_output = nullptr;
    QDate m_printDate;
    QString m_resolvedPath;
    Result m_lastResult;
};

} // namespace tv::report
