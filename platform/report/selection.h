#pragma once

#include "platform/report/result.h"

#include <QString>

namespace tv::report {

// A record selection formula, read: "{Job Items.Recordno}= 17" selects on Job Items.Recordno equal to 17.
struct Selection
{
    bool active = false; // false: no formula, every record
    QString table;
    QString field;
    qint64 value = 0;
};

// The largest job number: job numbers are long integers.
inline constexpr qint64 MaxJobNumber = 2147483647;

// Reads a record selection formula strictly. An empty formula (or one of blanks only) selects everything.
// Otherwise it must be "{Table.Field}=" followed by a whole number of ASCII digits, blanks allowed around the
// number and nothing else: no sign, no quotes, no second condition. The number is only ever bound to a query
// as a parameter. On refusal returns FormulaInvalid with a plain message.
Result parseSelectionFormula(const QString& formula, Selection* out);

} // namespace tv::report
