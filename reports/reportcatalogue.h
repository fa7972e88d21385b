#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace tv::reports {

// The record selection formula prefixes. They differ in one blank after "=", and each is used exactly where
// the catalogue puts it.
inline const QString JobItemsPrefix = QStringLiteral("{Job Items.Recordno}= ");
inline const QString JobInformationPrefix = QStringLiteral("{Job Information.AutoNumber}=");
inline const QString JobInformationSpacedPrefix = QStringLiteral("{Job Information.AutoNumber}= ");

// One document a print window prints: the element that prints it, the caption the user sees (also the name
// used when telling that it did not print), the report file literal and the formula prefix.
struct CatalogueEntry
{
    QString element; // "Command2", "Check10"; empty for the documents of a contract package
    QString caption;
    QString file;   // "\Schedule ABC With Prices.rpt": the application folder path goes in front of it
    QString prefix; // empty: the print sets no selection formula
    bool needsJobNumber() const { return !prefix.isEmpty(); }
};

// A contract package of the multiple-report window: a button, the style of its pricing question and the
// documents printed after the contract schedule, in order.
struct ContractPackage
{
    QString element;
    QString caption;
    int questionStyle = 0;
    QList<CatalogueEntry> afterSchedule;
};

namespace catalogue {

// The print buttons of the single-report window, in the order of its frames.
const QList<CatalogueEntry>& singleReports();
// The ten check boxes of the multiple-report window, in the order a print run takes them.
const QList<CatalogueEntry>& multipleReports();
// The three contract packages.
const QList<ContractPackage>& contractPackages();
// The contract schedule every package starts with, chosen by the answer to the pricing question.
const CatalogueEntry& contractSchedule(bool withPrices);
// The entry printed by element (of the single list when single, else of the multiple list); null if none.
const CatalogueEntry* find(const QString& element, bool single);

// The full path of a report file: the application folder followed directly by the literal.
QString reportPath(const QString& literal);

// What became of the job number the user typed.
struct JobNumber
{
    enum Status { Valid, Empty, NotWhole, TooLarge };
    Status status = Empty;
    qint64 value = 0;
    QString text; // the number as it goes into a formula ("17"), when Valid
};
// Reads a typed job number. Only the empty string is Empty; blanks around the digits are allowed; anything
// but ASCII digits (signs, letters, quotes, a second condition) is NotWhole.
JobNumber readJobNumber(const QString& typed);
// The message telling the user why a typed job number was refused; empty when it is valid.
QString jobNumberProblem(const JobNumber& number);

// The formula of an entry for a job number text: the prefix followed directly by the number.
QString formula(const CatalogueEntry& entry, const QString& jobNumber);

} // namespace catalogue

} // namespace tv::reports
