#pragma once

#include "catalog/catalogmodel.h"

#include <QString>
#include <QVariant>

namespace tv {

class Binding;

namespace quote {

// The values of the current job that a quote line uses: the job number and lane count as the pick list shows
// them, and the job's commission percentage as stored.
struct JobValues
{
    QString number;
    QString lanes;
    QVariant commission;
};

// Where quote generation and the editors' quote buttons differ in applying the rule.
struct QuoteRule
{
    enum class PriceTest {
        StoredPrice, // a stored price of 0 is asked for; an empty one stays empty
        PriceText,   // the price as typed: empty text counts as 0 and is asked for
    };
    QString quantityPromptEnd;
    PriceTest priceTest = PriceTest::StoredPrice;
};

// Generation and sub-item quoting: the stored catalog values, " !" after the quantity prompt.
QuoteRule generationRule();
// The catalog and sub-items editors: the values shown on a tab, nothing after the quantity prompt.
QuoteRule editorRule();

enum class LineResult {
    Added,   // one new row of "Job Items" was saved
    LeftOut, // the user cancelled a question, or a value could not be used (the user has been told)
    Failed,  // the database refused the row (the user has been told)
};

// The quote-line rule: turns one catalog entry (name, category, schedule, factor, quantity, condition, price,
// notes) into one saved row of "Job Items" of the job, through the target binding. A "Lane" quantity is
// multiplied by the lane count, an "Other" quantity is asked for, a price of 0 is asked for and any other
// price is raised by the commission. Every answer must be a number: a wrong one is asked again, Cancel leaves
// the line out. Nothing is written unless every value of the line can be stored.
LineResult addQuoteLine(Binding& target, const catalog::Entry& entry, const JobValues& job,
                        const QuoteRule& rule);

// The lane count as a number; false when it is empty or not a number.
bool laneCount(const QString& lanes, double* count);
// Tells the user that a per-lane quantity cannot be worked out for the job.
void reportUnusableLaneCount(const JobValues& job);
// Tells the user that there is no job to quote for.
void reportNoJob();

// The commission mark-up: p + p * (0.01 * m) in double precision, kept to the four decimals of money.
// An empty price or commission gives an empty price.
QVariant priceWithCommission(const QVariant& price, const QVariant& commission);

} // namespace quote
} // namespace tv
