#include "reports/reportcatalogue.h"

#include "platform/interactive.h"
#include "platform/report/selection.h"

namespace tv::reports::catalogue {

namespace {

CatalogueEntry entry(const char* element, const char* caption, const char* file, const QString& prefix)
{
    return {QString::fromLatin1(element), QString::fromLatin1(caption), QString::fromLatin1(file), prefix};
}

} // namespace

const QList<CatalogueEntry>& singleReports()
{
    static const QList<CatalogueEntry> entries{
        // Frame "Quotations"
        entry("Command2", "Job Quote (With Prices)", "\\Schedule ABC With Prices.rpt", JobItemsPrefix),
        entry("Command7", "Job Quote (No Prices)", "\\Schedule ABC With No Prices.rpt", JobItemsPrefix),
        entry("Command8", "Job Quote (No Totals)", "\\Schedule ABC With Prices & No Totals.rpt",
              JobItemsPrefix),
        // Frame "Other Reports"
        entry("Command3", "Proforma Invoice", "\\ProForma.rpt", JobItemsPrefix),
        entry("Command4", "Detailed Terms and Conditions", "\\Terms & Conditions.rpt", JobInformationPrefix),
        entry("Command9", "Scoring Only Terms and Conditions", "\\USA Scoring Only Terms & Conditions.rpt",
              JobInformationPrefix),
        entry("Command10", "Financing", "\\Financing.rpt", JobItemsPrefix),
        // Prints with whatever formula the window's engine holds.
        entry("Command11", "Simple Terms and Conditions", "\\USA Upgrade Package Terms & Conditions.rpt",
              QString()),
    };
    return entries;
}

const QList<CatalogueEntry>& multipleReports()
{
    static const QList<CatalogueEntry> entries{
        entry("Check10", "Job Quote (With Pricing)", "\\Schedule ABC With Prices.rpt", JobItemsPrefix),
        entry("Check11", "Job Quote (No Pricing)", "\\Schedule ABC With No Prices.rpt", JobItemsPrefix),
        // The same file as the single window's, spelled with a small "w"; names are found in any case.
        entry("Check12", "Job Quote (No Totals)", "\\Schedule ABC with Prices & No Totals.rpt",
              JobItemsPrefix),
        entry("Check13", "Cash Receipt", "\\CashReceipt.rpt", JobItemsPrefix),
        entry("Check1", "International Terms and Conditions", "\\Terms & Conditions.rpt",
              JobInformationPrefix),
        entry("Check2", "Domestic Terms and Conditions", "\\USA Terms & Conditions.rpt",
              JobInformationPrefix),
        entry("Check3", "Scoring Only Terms and Conditions", "\\USA Scoring Only Terms & Conditions.rpt",
              JobInformationPrefix),
        entry("Check4", "Simplified Terms and Conditions", "\\USA Upgrade Package Terms & Conditions.rpt",
              JobInformationPrefix),
        entry("Check6", "Proforma Invoice", "\\ProForma.rpt", JobItemsPrefix),
        entry("Check7", "Financing", "\\Financing.rpt", JobItemsPrefix),
    };
    return entries;
}

const CatalogueEntry& contractSchedule(bool withPrices)
{
    static const CatalogueEntry with = entry("", "Contract Schedule (With Prices)",
                                             "\\Contract Schedule ABC with Prices.rpt", JobItemsPrefix);
    static const CatalogueEntry without = entry("", "Contract Schedule (No Prices)",
                                                "\\Contract Schedule ABC with No Prices.rpt", JobItemsPrefix);
    return withPrices ? with : without;
}

const QList<ContractPackage>& contractPackages()
{
    static const CatalogueEntry agreementUsa =
        entry("", "Contract Agreement (USA)", "\\Contract Agreement USA.rpt", JobItemsPrefix);
    static const QList<ContractPackage> packages{
        {QStringLiteral("Command6"),
         QStringLiteral("International Contract"),
         vbYesNo + vbQuestion,
         {entry("", "International Contract Terms and Conditions", "\\Contract INTL Terms & Conditions.rpt",
                JobInformationSpacedPrefix),
          entry("", "Contract Agreement (International)", "\\Contract Agreement INTL.rpt", JobItemsPrefix),
          entry("", "Proforma Invoice", "\\ProForma.rpt", JobItemsPrefix)}},
        {QStringLiteral("Command7"),
         QStringLiteral("Domestic Contract"),
         vbYesNo,
         {entry("", "Domestic Contract Terms and Conditions", "\\Contract USA Terms & Conditions.rpt",
                JobInformationSpacedPrefix),
          agreementUsa}},
        {QStringLiteral("Command8"),
         QStringLiteral("Scoring Contract"),
         vbYesNo,
         {entry("", "Scoring Contract Terms and Conditions",
                "\\Contract USA SCORING ONLY TERMS & CONDITIONS.RPT", JobInformationSpacedPrefix),
          agreementUsa}},
    };
    return packages;
}

const CatalogueEntry* find(const QString& element, bool single)
{
    for (const CatalogueEntry& e : single ? singleReports() : multipleReports())
        if (e.element == element)
            return &e;
    return nullptr;
}

QString reportPath(const QString& literal)
{
    return platform::appFolder() + literal;
}

JobNumber readJobNumber(const QString& typed)
{
    JobNumber number;
    if (typed.isEmpty())
        return number;
    number.status = JobNumber::NotWhole;
    const QString digits = typed.trimmed();
    if (digits.isEmpty())
        return number;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return number;
        value = value * 10 + (c.unicode() - u'0');
        if (value > report::MaxJobNumber) {
            number.status = JobNumber::TooLarge;
            return number;
        }
    }
    number.status = JobNumber::Valid;
    number.value = value;
    number.text = QString::number(value);
    return number;
}

QString jobNumberProblem(const JobNumber& number)
{
    switch (number.status) {
    case JobNumber::Valid:
        return {};
    case JobNumber::Empty:
        return QStringLiteral("Please enter a Job ID Number!");
    case JobNumber::NotWhole:
        return QStringLiteral("The Job ID Number must be a whole number, such as 17.\n\n"
                              "Please correct the Job ID Number, then print again.");
    case JobNumber::TooLarge:
        return QStringLiteral("The Job ID Number is too large; job numbers go up to %1.\n\n"
                              "Please correct the Job ID Number, then print again.")
            .arg(report::MaxJobNumber);
    }
    return {};
}

QString formula(const CatalogueEntry& entry, const QString& jobNumber)
{
    return entry.prefix + jobNumber;
}

} // namespace tv::reports::catalogue
