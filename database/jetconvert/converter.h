#pragma once

// Builds a new database file of this program from a Jet (Access) file: the schema scripts make the file with
// every table and required row, then each table of the Jet file replaces the content of the table of the same
// name, field by field, all in one transaction. Tables and fields the program does not know are left out and
// listed in the report; required rows the Jet file lacks are added from the new file's own.

#include <QJsonObject>
#include <QString>
#include <functional>

namespace tv::jet {

// Called after each table with {"table": name, "done": n, "total": m}, where done counts the tables finished,
// and within a long table every few thousand rows with {"table": name, "rows": n}.
using ProgressSink = std::function<void(const QJsonObject&)>;

// Converts source into a new file at target, which must not exist. On success report holds:
//   format        "Jet 4, Access 2000-2003"
//   tables        [{name, source, sourceRows, rows, added}] for every table of the new file; source is the
//                 Jet table's name or empty when the Jet file lacks it; rows counts the rows in the new file
//   leftOutTables [{name, rows}], linkedTables [name], otherObjects n
//   leftOutFields [{table, field, type}], missingFields [{table, field}]
//   notes         [text]  (moved counter, unwrapped logo, values that could not be read, ...)
// On failure the target is removed and error holds a message for the user.
bool convert(const QString& source, const QString& target, const ProgressSink& progress, QJsonObject* report,
             QString* error);

} // namespace tv::jet
