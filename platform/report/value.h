#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

namespace tv::report {

// Money is kept as a whole number of ten-thousandths of a dollar, the precision the database stores, so that
// sums are exact. Only the display rounds to cents.
namespace money {

inline constexpr qint64 UnitsPerDollar = 10000;

// llround(value * 10000); no value for NaN or values beyond the range of the units.
std::optional<qint64> fromDouble(double value);

// Reads typed money such as "2850", "2,850.00", "$2,850.00", "-12.5" or "(12.50)". No value for anything else
// ("30%", "USD 5,000", "", more than four decimals that are not zeros).
std::optional<qint64> parse(const QString& text);

// "2,850.00" from 28500000 units: two decimals, rounded half away from zero, thousands separated by commas.
// With the symbol: "$2,850.00", negative amounts as "-$2,850.00".
QString format(qint64 units, bool withSymbol);

// The amount in words as written on cheques and contracts, rounded to cents:
// "Two Thousand Eight Hundred Fifty and 00/100 US Dollars".
QString inWords(qint64 units);

} // namespace money

// One value of a report: a field of the database, a literal of the layout, or the result of a formula.
class Value
{
public:
    enum class Type { Null, Text, Integer, Money, Real, Bytes };

    Value() = default;
    static Value text(const QString& text);
    static Value integer(qint64 value);
    static Value moneyUnits(qint64 units);
    static Value real(double value);
    static Value bytes(const QByteArray& bytes);
    // A database value. currency tells that the column holds money (declared CURRENCY).
    static Value fromSql(const QVariant& value, bool currency);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    // Null, empty text or empty bytes.
    bool isEmpty() const;

    // Numeric views. Text is read as a number where it holds one ("24", "$2,850.00").
    std::optional<qint64> asInteger() const;
    std::optional<qint64> asMoney() const;
    std::optional<double> asReal() const;
    QByteArray asBytes() const { return m_bytes; }

    // The value as printed without a format: money as "$1,234.56", whole numbers plainly, reals with up to
    // six significant decimals, text as stored.
    QString display() const;
    // The value printed with a named format of the layout files. Unknown formats were refused when the layout
    // was read; here they print as display(). A format that cannot apply (money of "30%") prints the text.
    QString display(const QString& format) const;

    // Arithmetic of formulas: whole numbers stay whole, money times a whole number stays exact, money with a
    // real is rounded to the unit. Anything with a null or a text that is not a number gives null, and so
    // does a division by zero.
    static Value add(const Value& a, const Value& b);
    static Value subtract(const Value& a, const Value& b);
    static Value multiply(const Value& a, const Value& b);
    static Value divide(const Value& a, const Value& b);
    static Value negate(const Value& a);

private:
    enum class Kind { None, Integer, Money, Real };
    Kind numericKind() const;

    Type m_type = Type::Null;
    qint64 m_int = 0; // Integer, or Money in units
    double m_real = 0;
    QString m_text;
    QByteArray m_bytes;
};

// The formats a layout may name after a colon: {Job Items.Item Price : money}. money "$1,234.56", amount
// "1,234.56", words "One Thousand ... and 56/100 US Dollars", number "1,234", upper, lower.
bool isKnownFormat(const QString& format);
QStringList knownFormats();

} // namespace tv::report
