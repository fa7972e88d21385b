#include "platform/report/result.h"

namespace tv::report {

QString resultCodeName(ResultCode code)
{
    switch (code) {
    case ResultCode::Ok:
        return QStringLiteral("Ok");
    case ResultCode::Cancelled:
        return QStringLiteral("Cancelled");
    case ResultCode::InvalidRequest:
        return QStringLiteral("InvalidRequest");
    case ResultCode::ReportNotFound:
        return QStringLiteral("ReportNotFound");
    case ResultCode::LayoutInvalid:
        return QStringLiteral("LayoutInvalid");
    case ResultCode::FormulaInvalid:
        return QStringLiteral("FormulaInvalid");
    case ResultCode::DatabaseUnavailable:
        return QStringLiteral("DatabaseUnavailable");
    case ResultCode::DatabaseError:
        return QStringLiteral("DatabaseError");
    case ResultCode::NoRecords:
        return QStringLiteral("NoRecords");
    case ResultCode::NoPreview:
        return QStringLiteral("NoPreview");
    case ResultCode::NoPrinter:
        return QStringLiteral("NoPrinter");
    case ResultCode::OutputFailed:
        return QStringLiteral("OutputFailed");
    }
    return QStringLiteral("Unknown");
}

} // namespace tv::report
