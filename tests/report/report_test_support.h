#pragma once

#include "platform/report/engine.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace tv::report::testing {

// A quote line for the fixtures, price as typed ("9450.0000").
struct Line
{
    QString name;
    int category = 0;
    QString schedule;
    int qty = 1;
    QString condition;
    QString price;
    QString notes;
};

// Makes a Pelkin.mdb in folder from the schema scripts of the data layer, without any job. Empty string and
// error on failure.
QString createDatabase(const QString& folder, QString* error);
// The seller's data, finance factors, a logo and the terms lists.
bool fillCompany(const QString& databasePath, QString* error);
// Adds a job row with the given fields (AutoNumber among them if it is to have that number); returns its
// number or -1.
int addJob(const QString& databasePath, const QVariantMap& fields, QString* error);
bool addLines(const QString& databasePath, int job, const QList<Line>& lines, QString* error);
// Runs one statement with bound values.
bool exec(const QString& databasePath, const QString& sql, const QVariantList& values, QString* error);

// A complete international job of 32 lanes and its quote lines across schedules A, B and C.
QVariantMap internationalJob();
QList<Line> internationalLines();
// The sum of qty * price of the lines, in ten-thousandths.
qint64 totalUnits(const QList<Line>& lines);

// The folder of the layout files in the source tree.
QString layoutFolder();
// Copies every layout file into folder (beside a database made there).
bool copyLayouts(const QString& folder, QString* error);

// An output that records what it was given and answers with a chosen result.
class RecordingOutput : public ReportOutput
{
public:
    struct Call
    {
        QString kind; // "preview" or "print"
        PrintRequest request;
        std::shared_ptr<const Document> document;
    };
    Result preview(const std::shared_ptr<const Document>& document, const PrintRequest& request) override;
    Result print(const std::shared_ptr<const Document>& document, const PrintRequest& request) override;

    QList<Call> calls;
    Result answer; // what every call returns
};

// All texts of all pages.
QStringList allTexts(const Document& document);

} // namespace tv::report::testing
