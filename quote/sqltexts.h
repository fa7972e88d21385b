#pragma once

#include <QString>

// The fixed SQL texts of the quote builder, blanks included.
namespace tv::quote::sql {

inline const QString JobItemsOfJob = QStringLiteral("Select * from [Job Items] where Recordno = ");
inline const QString JobItemsOrder =
    QStringLiteral(" Order by [RecordNo] ASC, [Schedule] ASC, [Item Category] ASC ");
inline const QString AllJobItems = QStringLiteral("Select * from [Job Items]");
inline const QString TemplateRow = QStringLiteral("Select * from [UserData] where [RecordNo] = ");
// After saving a template the list reads all rows with one trailing blank, after recalling without.
inline const QString AllTemplatesAfterSave = QStringLiteral("Select * from [UserData] ");
inline const QString AllTemplates = QStringLiteral("Select * from [UserData]");

} // namespace tv::quote::sql
