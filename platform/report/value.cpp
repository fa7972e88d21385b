#include "platform/report/value.h"

#include "platform/report/template.h"

#include <QLocale>
#include <QMetaType>
#include <cmath>
#include <limits>

namespace tv::report {

namespace money {

std::optional<qint64> fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double scaled = value * UnitsPerDollar;
    if (std::fabs(scaled) >= 9.0e18)
        return std::nullopt;
    return std::llround(scaled);
}

std::optional<qint64> parse(const QString& input)
{
    QStringView s = QStringView(input).trimmed();
    bool negative = false;
    if (s.startsWith(u'(') && s.endsWith(u')')) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        if (negative)
            return std::nullopt;
        negative = s.startsWith(u'-');
        s = s.mid(1).trimmed();
    }
    if (s.startsWith(u'$'))
        s = s.mid(1).trimmed();
    if (s.isEmpty())
        return std::nullopt;

    qint64 whole = 0;
    int wholeDigits = 0;
    qsizetype i = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u',') {
            // A separator sits between digits.
            if (wholeDigits == 0 || i + 1 >= s.size() || s[i + 1] < u'0' || s[i + 1] > u'9')
                return std::nullopt;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        if (++wholeDigits > 15)
            return std::nullopt;
        whole = whole * 10 + (c.unicode() - u'0');
    }
    qint64 fraction = 0;
    int fractionDigits = 0;
    if (i < s.size() && s[i] == u'.') {
        ++i;
        for (; i < s.size(); ++i) {
            const QChar c = s[i];
            if (c < u'0' || c > u'9')
                return std::nullopt;
            const int digit = c.unicode() - u'0';
            if (fractionDigits < 4) {
                fraction = fraction * 10 + digit;
                ++fractionDigits;
            } else if (digit != 0) {
                return std::nullopt; // finer than the stored precision
            }
        }
    }
    if (i != s.size() || (wholeDigits == 0 && fractionDigits == 0))
        return std::nullopt;
    while (fractionDigits < 4) {
        fraction *= 10;
        ++fractionDigits;
    }
    const qint64 units = whole * UnitsPerDollar + fraction;
    return negative ? -units : units;
}

QString format(qint64 units, bool withSymbol)
{
    const bool negative = units < 0;
    // Work on the magnitude; the most negative value cannot be negated, but it is far beyond any amount.
    const quint64 magnitude = negative ? quint64(-(units + 1)) + 1 : quint64(units);
    quint64 cents = magnitude / 100;
    if (magnitude % 100 >= 50)
        ++cents;
    const quint64 dollars = cents / 100;
    const int rest = int(cents % 100);

    QString digits = QString::number(dollars);
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 8);
    const qsizetype lead = digits.size() % 3;
    for (qsizetype k = 0; k < digits.size(); ++k) {
        if (k != 0 && (k - lead) % 3 == 0)
            grouped.append(u',');
        grouped.append(digits[k]);
    }
    QString out;
    out.reserve(grouped.size() + 5);
    if (negative && cents != 0)
        out.append(u'-');
    if (withSymbol)
        out.append(u'$');
    out.append(grouped);
    out.append(u'.');
    out.append(QChar(u'0' + rest / 10));
    out.append(QChar(u'0' + rest % 10));
    return out;
}

QString inWords(qint64 units)
{
    static const char* const ones[] = {"Zero",    "One",     "Two",       "Three",    "Four",
                                       "Five",    "Six",     "Seven",     "Eight",    "Nine",
                                       "Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                       "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
    static const char* const tens[] = {"",      "",      "Twenty",  "Thirty", "Forty",
                                       "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
    static const char* const scales[] = {"", "Thousand", "Million", "Billion", "Trillion"};

    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(-(units + 1)) + 1 : quint64(units);
    quint64 cents = magnitude / 100;
    if (magnitude % 100 >= 50)
        ++cents;
    quint64 dollars = cents / 100;
    const int rest = int(cents % 100);

    auto below1000 = [&](int n) {
        QStringList words;
        if (n >= 100) {
            words << QLatin1String(ones[n / 100]) << QStringLiteral("Hundred");
            n %= 100;
        }
        if (n >= 20) {
            QString w = QLatin1String(tens[n / 10]);
            if (n % 10)
                w += u'-' + QLatin1String(ones[n % 10]);
            words << w;
        } else if (n > 0) {
            words << QLatin1String(ones[n]);
        }
        return words.join(u' ');
    };
    QStringList groups;
    if (dollars == 0)
        groups << QStringLiteral("Zero");
    for (int scale = 0; dollars > 0 && scale < 5; ++scale) {
        const int chunk = int(dollars % 1000);
        dollars /= 1000;
        if (chunk == 0)
            continue;
        QString words = below1000(chunk);
        if (scale > 0)
            words += u' ' + QLatin1String(scales[scale]);
        groups.prepend(words);
    }
    QString out = groups.join(u' ');
    out += QStringLiteral(" and %1/100 US Dollars").arg(rest, 2, 10, QLatin1Char('0'));
    if (negative && cents != 0)
        out.prepend(QStringLiteral("Minus "));
    return out;
}

} // namespace money

namespace {

std::optional<qint64> parseWhole(const QString& text)
{
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (s.startsWith(u'-')) {
        negative = true;
        s = s.mid(1);
    }
    if (s.isEmpty() || s.size() > 18)
        return std::nullopt;
    qint64 v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return negative ? -v : v;
}

QString groupThousands(qint64 value)
{
    const QString digits = QString::number(value < 0 ? -value : value);
    QString out;
    if (value < 0)
        out.append(u'-');
    const qsizetype lead = digits.size() % 3;
    for (qsizetype k = 0; k < digits.size(); ++k) {
        if (k != 0 && (k - lead) % 3 == 0)
            out.append(u',');
        out.append(digits[k]);
    }
    return out;
}

// An amount of units computed in floating point, rounded to the unit once.
Value roundedMoney(double r)
{
    if (!std::isfinite(r) || std::fabs(r) >= 9.0e18)
        return {};
    return Value::moneyUnits(std::llround(r));
}

QString formatReal(double v)
{
    QString s = QString::number(v, 'f', 6);
    while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

} // namespace

Value Value::text(const QString& text)
{
    Value v;
    v.m_type = Type::Text;
    v.m_text = text;
    return v;
}

Value Value::integer(qint64 value)
{
    Value v;
    v.m_type = Type::Integer;
    v.m_int = value;
    return v;
}

Value Value::moneyUnits(qint64 units)
{
    Value v;
    v.m_type = Type::Money;
    v.m_int = units;
    return v;
}

Value Value::real(double value)
{
    if (!std::isfinite(value))
        return {};
    Value v;
    v.m_type = Type::Real;
    v.m_real = value;
    return v;
}

Value Value::bytes(const QByteArray& bytes)
{
    Value v;
    v.m_type = Type::Bytes;
    v.m_bytes = bytes;
    return v;
}

Value Value::fromSql(const QVariant& value, bool currency)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::QByteArray:
        return bytes(value.toByteArray());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Bool:
        if (currency) {
            qint64 units = 0;
            if (__builtin_mul_overflow(value.toLongLong(), money::UnitsPerDollar, &units))
                return {};
            return moneyUnits(units);
        }
        return integer(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        if (currency) {
            const auto units = money::fromDouble(value.toDouble());
            return units ? moneyUnits(*units) : Value();
        }
        return real(value.toDouble());
    default:
        break;
    }
    const QString s = value.toString();
    if (currency) {
        if (const auto units = money::parse(s))
            return moneyUnits(*units);
    }
    return text(s);
}

bool Value::isEmpty() const
{
    switch (m_type) {
    case Type::Null:
        return true;
    case Type::Text:
        return isBlank(m_text);
    case Type::Bytes:
        return m_bytes.isEmpty();
    default:
        return false;
    }
}

std::optional<qint64> Value::asInteger() const
{
    switch (m_type) {
    case Type::Integer:
        return m_int;
    case Type::Money:
        return m_int % money::UnitsPerDollar == 0 ? std::optional<qint64>(m_int / money::UnitsPerDollar)
                                                  : std::nullopt;
    case Type::Real:
        return std::floor(m_real) == m_real && std::fabs(m_real) < 9e15
                   ? std::optional<qint64>(qint64(m_real))
                   : std::nullopt;
    case Type::Text:
        return parseWhole(m_text);
    default:
        return std::nullopt;
    }
}

std::optional<qint64> Value::asMoney() const
{
    switch (m_type) {
    case Type::Integer: {
        qint64 units = 0;
        if (__builtin_mul_overflow(m_int, money::UnitsPerDollar, &units))
            return std::nullopt;
        return units;
    }
    case Type::Money:
        return m_int;
    case Type::Real:
        return money::fromDouble(m_real);
    case Type::Text:
        return money::parse(m_text);
    default:
        return std::nullopt;
    }
}

std::optional<double> Value::asReal() const
{
    switch (m_type) {
    case Type::Integer:
        return double(m_int);
    case Type::Money:
        return double(m_int) / money::UnitsPerDollar;
    case Type::Real:
        return m_real;
    case Type::Text: {
        if (const auto units = money::parse(m_text))
            return double(*units) / money::UnitsPerDollar;
        bool ok = false;
        const double d = QLocale::c().toDouble(m_text.trimmed(), &ok);
        return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

Value::Kind Value::numericKind() const
{
    switch (m_type) {
    case Type::Integer:
        return Kind::Integer;
    case Type::Money:
        return Kind::Money;
    case Type::Real:
        return Kind::Real;
    case Type::Text:
        if (parseWhole(m_text))
            return Kind::Integer;
        if (money::parse(m_text))
            return Kind::Money;
        if (asReal())
            return Kind::Real;
        return Kind::None;
    default:
        return Kind::None;
    }
}

QString Value::display() const
{
    switch (m_type) {
    case Type::Null:
    case Type::Bytes:
        return {};
    case Type::Text:
        return m_text;
    case Type::Integer:
        return QString::number(m_int);
    case Type::Money:
        return money::format(m_int, true);
    case Type::Real:
        return formatReal(m_real);
    }
    return {};
}

QString Value::display(const QString& format) const
{
    if (format.isEmpty() || isNull())
        return display();
    const QString f = format.toLower();
    if (f == QLatin1String("words")) {
        const auto units = asMoney();
        return units ? money::inWords(*units) : display();
    }
    if (f == QLatin1String("money") || f == QLatin1String("amount")) {
        const auto units = asMoney();
        return units ? money::format(*units, f == QLatin1String("money")) : display();
    }
    if (f == QLatin1String("number")) {
        if (const auto whole = asInteger())
            return groupThousands(*whole);
        if (const auto units = asMoney())
            return money::format(*units, false);
        return display();
    }
    if (f == QLatin1String("upper"))
        return display().toUpper();
    if (f == QLatin1String("lower"))
        return display().toLower();
    return display();
}

Value Value::add(const Value& a, const Value& b)
{
    const Kind ka = a.numericKind(), kb = b.numericKind();
    if (ka == Kind::None || kb == Kind::None)
        return {};
    if (ka == Kind::Integer && kb == Kind::Integer) {
        qint64 r = 0;
        return __builtin_add_overflow(*a.asInteger(), *b.asInteger(), &r) ? Value() : integer(r);
    }
    if (ka == Kind::Money || kb == Kind::Money) {
        const auto x = a.asMoney(), y = b.asMoney();
        qint64 r = 0;
        if (!x || !y || __builtin_add_overflow(*x, *y, &r))
            return {};
        return moneyUnits(r);
    }
    return real(*a.asReal() + *b.asReal());
}

Value Value::negate(const Value& a)
{
    switch (a.numericKind()) {
    case Kind::Integer:
        return integer(-*a.asInteger());
    case Kind::Money:
        return moneyUnits(-*a.asMoney());
    case Kind::Real:
        return real(-*a.asReal());
    case Kind::None:
        break;
    }
    return {};
}

Value Value::subtract(const Value& a, const Value& b)
{
    return add(a, negate(b));
}

Value Value::multiply(const Value& a, const Value& b)
{
    const Kind ka = a.numericKind(), kb = b.numericKind();
    if (ka == Kind::None || kb == Kind::None)
        return {};
    if (ka == Kind::Integer && kb == Kind::Integer) {
        qint64 r = 0;
        return __builtin_mul_overflow(*a.asInteger(), *b.asInteger(), &r) ? Value() : integer(r);
    }
    if (ka == Kind::Money && kb == Kind::Integer) {
        qint64 r = 0;
        return __builtin_mul_overflow(*a.asMoney(), *b.asInteger(), &r) ? Value() : moneyUnits(r);
    }
    if (ka == Kind::Integer && kb == Kind::Money)
        return multiply(b, a);
    if (ka == Kind::Money || kb == Kind::Money) {
        // Money times a rate (a finance factor, a percentage): exact units times the rate, rounded once.
        const Value& m = ka == Kind::Money ? a : b;
        const Value& other = ka == Kind::Money ? b : a;
        return roundedMoney(double(*m.asMoney()) * *other.asReal());
    }
    return real(*a.asReal() * *b.asReal());
}

Value Value::divide(const Value& a, const Value& b)
{
    const Kind ka = a.numericKind(), kb = b.numericKind();
    if (ka == Kind::None || kb == Kind::None)
        return {};
    const double divisor = *b.asReal();
    if (divisor == 0)
        return {};
    if (ka == Kind::Money && kb != Kind::Money) {
        return roundedMoney(double(*a.asMoney()) / divisor);
    }
    return real(*a.asReal() / divisor);
}

bool isKnownFormat(const QString& format)
{
    return knownFormats().contains(format.toLower());
}

QStringList knownFormats()
{
    return {QStringLiteral("money"),  QStringLiteral("amount"), QStringLiteral("words"),
            QStringLiteral("number"), QStringLiteral("upper"),  QStringLiteral("lower")};
}

} // namespace tv::report
