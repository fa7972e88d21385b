#include "quote/quoteline.h"

#include "platform/binding.h"
#include "platform/interactive.h"

#include <cmath>

namespace tv::quote {

using catalog::Attribute;

namespace {

enum class Number { Empty, Valid, NotANumber };

// Reads a stored value or a typed text as a number. Thousands separators are allowed, and a leading dollar
// sign where the value is money.
Number readNumber(const QVariant& value, double* out, bool money = false)
{
    if (value.isNull() || !value.isValid())
        return Number::Empty;
    if (value.typeId() != QMetaType::QString) {
        bool ok = false;
        *out = value.toDouble(&ok);
        return ok && std::isfinite(*out) ? Number::Valid : Number::NotANumber;
    }
    QString text = value.toString().trimmed();
    if (text.isEmpty())
        return Number::Empty;
    text.remove(u',');
    if (money && text.startsWith(u'$'))
        text.remove(0, 1);
    bool ok = false;
    *out = text.toDouble(&ok);
    return ok && std::isfinite(*out) ? Number::Valid : Number::NotANumber;
}

double toMoney(double value)
{
    return double(std::llround(value * 10000.0)) / 10000.0;
}

QString itemName(const catalog::Entry& entry)
{
    const QString name = entry[Attribute::Name].toString().trimmed();
    return name.isEmpty() ? QStringLiteral("This item") : QStringLiteral("\"%1\"").arg(name);
}

void reportUnusableValue(const catalog::Entry& entry, const QString& what, const QVariant& value)
{
    msgBox(QStringLiteral("%1 was not quoted: its %2 \"%3\" is not a number. Correct it in the catalog, then "
                          "quote the item again.")
               .arg(itemName(entry), what, value.toString()),
           vbExclamation);
}

enum class AnswerKind { WholeNumber, Money };

// Asks until the answer is a number of the kind wanted; false when the user cancels. The first question is
// the rule's prompt exactly; a repeated one says what was wrong with the answer before.
bool askNumber(const QString& prompt, const QString& title, AnswerKind kind, QVariant* out)
{
    QString shown = prompt;
    QString typed;
    for (;;) {
        const InputAnswer answer = inputBox(shown, title, typed);
        if (!answer.accepted)
            return false;
        double number = 0;
        QString why;
        switch (readNumber(answer.text, &number, kind == AnswerKind::Money)) {
        case Number::Empty:
            why = QStringLiteral("Nothing was typed.");
            break;
        case Number::NotANumber:
            why = QStringLiteral("\"%1\" is not a number.").arg(answer.text);
            break;
        case Number::Valid:
            if (kind == AnswerKind::Money) {
                *out = toMoney(number);
                return true;
            }
            if (number != std::floor(number))
                why = QStringLiteral("\"%1\" is not a whole number.").arg(answer.text);
            else if (std::fabs(number) > 2147483647.0)
                why = QStringLiteral("\"%1\" is too large.").arg(answer.text);
            else {
                *out = qint64(number);
                return true;
            }
            break;
        }
        shown = prompt + QStringLiteral("\n\n") + why +
                QStringLiteral(" Type a number, or press Cancel to leave this item out.");
        typed = answer.text;
    }
}

} // namespace

QuoteRule generationRule()
{
    return {QStringLiteral(" !"), QuoteRule::PriceTest::StoredPrice};
}

QuoteRule editorRule()
{
    return {QString(), QuoteRule::PriceTest::PriceText};
}

bool laneCount(const QString& lanes, double* count)
{
    return readNumber(lanes, count) == Number::Valid;
}

void reportUnusableLaneCount(const JobValues& job)
{
    const QString lanes = job.lanes.trimmed();
    const QString state = lanes.isEmpty()
                              ? QStringLiteral("is empty")
                              : QStringLiteral("holds \"%1\", which is not a number").arg(job.lanes);
    msgBox(
        QStringLiteral("The number of lanes of job %1 (field \"# of Lanes\") %2, so the quantities per lane "
                       "cannot be worked out. Nothing was quoted.\n\nEnter the number of lanes on the job "
                       "information sheet, then quote again.")
            .arg(job.number, state),
        vbExclamation);
}

void reportNoJob()
{
    msgBox(QStringLiteral(
               "There is no job to quote for. Add the job on the job information sheet, then select it "
               "in the pick list."),
           vbExclamation);
}

QVariant priceWithCommission(const QVariant& price, const QVariant& commission)
{
    double p = 0;
    double m = 0;
    if (readNumber(price, &p, true) != Number::Valid || readNumber(commission, &m) != Number::Valid)
        return {};
    const double rate = 0.01 * m;
    const double markup = p * rate;
    return toMoney(p + markup);
}

LineResult addQuoteLine(Binding& target, const catalog::Entry& entry, const JobValues& job,
                        const QuoteRule& rule)
{
    // Every value is checked before the user is asked anything and before anything is written.
    double jobNumber = 0;
    if (readNumber(job.number, &jobNumber) != Number::Valid) {
        reportNoJob();
        return LineResult::LeftOut;
    }

    QVariant category;
    double number = 0;
    switch (readNumber(entry[Attribute::Category], &number)) {
    case Number::Empty:
        break;
    case Number::NotANumber:
        reportUnusableValue(entry, QStringLiteral("report sorting"), entry[Attribute::Category]);
        return LineResult::LeftOut;
    case Number::Valid:
        category = qint64(std::llround(number));
        break;
    }

    const QString factor = entry[Attribute::Factor].toString();
    const bool perLane = !entry[Attribute::Factor].isNull() && factor == u"Lane";
    const bool askQuantity = !entry[Attribute::Factor].isNull() && factor == u"Other";
    QVariant quantity;
    if (!askQuantity) {
        switch (readNumber(entry[Attribute::Quantity], &number)) {
        case Number::Empty:
            break; // an empty quantity stays empty, multiplied or not
        case Number::NotANumber:
            reportUnusableValue(entry, QStringLiteral("quantity"), entry[Attribute::Quantity]);
            return LineResult::LeftOut;
        case Number::Valid:
            quantity = number;
            break;
        }
        if (perLane) {
            double lanes = 0;
            if (!laneCount(job.lanes, &lanes)) {
                reportUnusableLaneCount(job);
                return LineResult::LeftOut;
            }
            if (!quantity.isNull())
                quantity = quantity.toDouble() * lanes;
        }
    }

    bool askPrice = false;
    QVariant price;
    switch (readNumber(entry[Attribute::Price], &number, true)) {
    case Number::Empty:
        askPrice = rule.priceTest == QuoteRule::PriceTest::PriceText;
        break;
    case Number::NotANumber:
        reportUnusableValue(entry, QStringLiteral("price"), entry[Attribute::Price]);
        return LineResult::LeftOut;
    case Number::Valid:
        askPrice = number == 0;
        if (!askPrice)
            price = priceWithCommission(number, job.commission);
        break;
    }

    const QString name = entry[Attribute::Name].toString();
    if (askQuantity && !askNumber(QStringLiteral("Enter the quantity you want to quote for ") + name +
                                      rule.quantityPromptEnd,
                                  QStringLiteral("Quantity"), AnswerKind::WholeNumber, &quantity))
        return LineResult::LeftOut;
    // A price typed here is stored as typed, without commission.
    if (askPrice && !askNumber(QStringLiteral("Enter the price you want to quote for ") + name,
                               QStringLiteral("Price"), AnswerKind::Money, &price))
        return LineResult::LeftOut;

    if (!target.addNew())
        return LineResult::Failed;
    target.setValue(QStringLiteral("Recordno"), qint64(jobNumber));
    target.setValue(QStringLiteral("Item Name"), entry[Attribute::Name]);
    target.setValue(QStringLiteral("Item Category"), category);
    target.setValue(QStringLiteral("Schedule"), entry[Attribute::Schedule]);
    target.setValue(QStringLiteral("Item Qty"), quantity);
    target.setValue(QStringLiteral("Item Condition"), entry[Attribute::Condition]);
    target.setValue(QStringLiteral("Item Price"), price);
    target.setValue(QStringLiteral("Item Notes"), entry[Attribute::Notes]);
    if (!target.updateRecord()) {
        // The refused row must not linger as a pending new row of the binding.
        target.cancelUpdate();
        return LineResult::Failed;
    }
    return LineResult::Added;
}

} // namespace tv::quote
