#pragma once

#include <QString>

namespace tv::report {

// What became of a report request. Every engine call answers with one of these; only Ok means the report
// went where it was sent. Cancelled is the user's own choice (a dialog closed with Cancel), not a failure.
enum class ResultCode {
    Ok = 0,
    Cancelled,           // the user cancelled a dialog on the way to the output
    InvalidRequest,      // no report file named, or a destination or action the engine does not have
    ReportNotFound,      // the report file is not in its folder (in any letter case)
    LayoutInvalid,       // the report file cannot be read or has a mistake in it
    FormulaInvalid,      // the record selection formula is refused
    DatabaseUnavailable, // the database file cannot be opened
    DatabaseError,       // a query on the database failed
    NoRecords,           // the selection found no job to print
    NoPreview,           // no preview window is installed in this program
    NoPrinter,           // no printer is installed on this computer
    OutputFailed,        // the printer or the PDF file could not be written
};

struct Result
{
    ResultCode code = ResultCode::Ok;
    QString message; // plain text for the user; empty when Ok

    bool ok() const { return code == ResultCode::Ok; }
    bool cancelled() const { return code == ResultCode::Cancelled; }
    // A real failure the user must be told about (neither success nor the user's own cancel).
    bool failed() const { return code != ResultCode::Ok && code != ResultCode::Cancelled; }

    static Result success() { return {}; }
    static Result failure(ResultCode code, const QString& message) { return {code, message}; }
};

// The name of a code as written in the enumeration ("NoPrinter"), for logs and test output.
QString resultCodeName(ResultCode code);

} // namespace tv::report
