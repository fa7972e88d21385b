#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tv::jobs {

// How many quote lines the job has; -1 with a message when the file cannot be read.
int countJobLines(QSqlDatabase db, qint64 job, QString* error = nullptr);

// Removes the job and every quote line of it in one transaction: all of it or, on any failure, nothing.
bool deleteJobWithLines(QSqlDatabase db, qint64 job, QString* error = nullptr);

} // namespace tv::jobs
