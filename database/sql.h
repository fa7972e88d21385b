#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tv::db {

// The one place where a statement shape of the program that SQLite lacks is rewritten:
// "SELECT x.* INTO [T] FROM y" becomes "CREATE TABLE [T] AS SELECT x.* FROM y". Any other text is returned as
// is.
QString translate(const QString& statement);

// Runs a statement that returns no rows (DROP TABLE, the table-creating select), as written but for
// translate().
bool execute(QSqlDatabase db, const QString& statement, QString* error = nullptr);

// Splits a script into statements at semicolons outside quotes, brackets and comments.
QStringList splitStatements(const QString& script);

// Quotes a table or field name for SQL: [Job Items].
QString quoteName(const QString& name);

} // namespace tv::db
