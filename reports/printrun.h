#pragma once

#include "platform/report/engine.h"

#include <QList>
#include <QString>
#include <optional>

class QLineEdit;

namespace tv::reports {

// The job number typed in box, as it goes into a formula. When it is empty, or not a whole number, tells the
// user (the empty one with "Please enter a Job ID Number!", title "Notice", style 84), puts the focus on box,
// sets the normal pointer and answers nullopt.
std::optional<QString> typedJobNumber(QLineEdit* box);

// A run of print requests on one window's report engine: each request sets the report file, the selection
// formula (unless it is skipped) and the action. A request that fails does not stop the run; what did not
// print is told to the user once, at the end, and where it failed for want of a printer the user may save it
// as a PDF file instead. A cancel by the user is no failure and is not told.
class PrintRun
{
public:
    struct Failure
    {
        QString name;       // the document as the user knows it ("Cash Receipt")
        QString reportFile; // the request as it was made, to make it again for an export
        QString formula;
        tv::report::Result result;
    };

    explicit PrintRun(tv::report::ReportEngine& engine) : m_engine(engine) {}

    // One print request: report file, selection formula, destination, action. A formula or destination of
    // nullopt leaves the one the engine holds.
    tv::report::Result print(const QString& name, const QString& reportFile,
                             const std::optional<QString>& formula,
                             const std::optional<int>& destination = std::nullopt);

    const QList<Failure>& failures() const { return m_failures; }
    int printed() const { return m_printed; }

    // The message telling what did not print; empty when everything printed or was cancelled.
    QString failureText() const;
    // Tells the user what did not print (nothing when all went well), in one message box titled title, and
    // for documents refused for want of a printer offers to save them as PDF files.
    void tellFailures(const QString& title);

private:
    bool anyWithoutPrinter() const;
    void exportInstead(const QString& title);

    tv::report::ReportEngine& m_engine;
    QList<Failure> m_failures;
    int m_printed = 0;
};

} // namespace tv::reports
