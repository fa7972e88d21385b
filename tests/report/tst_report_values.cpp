// Money and values of the report engine: exact sums, display with two decimals, amounts in words.
#include "platform/report/value.h"

#include <QtTest>

Q_DECLARE_METATYPE(tv::report::Value)

using namespace tv::report;

class TestReportValues : public QObject
{
    Q_OBJECT

private slots:
    void parseMoney_data();
    void parseMoney();
    void formatMoney_data();
    void formatMoney();
    void moneyInWords_data();
    void moneyInWords();
    void sumsAreExact();
    void arithmetic_data();
    void arithmetic();
    void currencyColumns_data();
    void currencyColumns();
};

void TestReportValues::parseMoney_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("units");
    QTest::newRow("plain") << "2850" << true << qint64(28500000);
    QTest::newRow("decimals") << "24.95" << true << qint64(249500);
    QTest::newRow("four decimals") << "24.9550" << true << qint64(249550);
    QTest::newRow("separators and symbol") << "$2,850.00" << true << qint64(28500000);
    QTest::newRow("blank after symbol") << "$ 125,000.00" << true << qint64(1250000000);
    QTest::newRow("negative") << "-12.5" << true << qint64(-125000);
    QTest::newRow("parentheses") << "(12.50)" << true << qint64(-125000);
    QTest::newRow("trailing zeros beyond four") << "1.500000" << true << qint64(15000);
    QTest::newRow("too fine") << "0.01766" << false << qint64(0);
    QTest::newRow("percent") << "30%" << false << qint64(0);
    QTest::newRow("currency word") << "USD 5,000" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("comma at end") << "2," << false << qint64(0);
    QTest::newRow("sixteen digits") << "1234567890123456" << false << qint64(0);
    QTest::newRow("two signs") << "(-5)" << false << qint64(0);
}

void TestReportValues::parseMoney()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, units);
    const auto parsed = money::parse(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, units);
}

void TestReportValues::formatMoney_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("withSymbol");
    QTest::addColumn<QString>("plain");
    QTest::newRow("zero") << qint64(0) << "$0.00"
                          << "0.00";
    QTest::newRow("cents") << qint64(249500) << "$24.95"
                           << "24.95";
    QTest::newRow("thousands") << qint64(5022740000) << "$502,274.00"
                               << "502,274.00";
    QTest::newRow("millions") << qint64(12345678912345) << "$1,234,567,891.23"
                              << "1,234,567,891.23";
    QTest::newRow("half cent rounds up") << qint64(249550) << "$24.96"
                                         << "24.96";
    QTest::newRow("below half rounds down") << qint64(249549) << "$24.95"
                                            << "24.95";
    QTest::newRow("negative") << qint64(-28500000) << "-$2,850.00"
                              << "-2,850.00";
    QTest::newRow("negative half cent") << qint64(-50) << "-$0.01"
                                        << "-0.01";
    QTest::newRow("tiny negative is zero") << qint64(-49) << "$0.00"
                                           << "0.00";
}

void TestReportValues::formatMoney()
{
    QFETCH(qint64, units);
    QFETCH(QString, withSymbol);
    QFETCH(QString, plain);
    QCOMPARE(money::format(units, true), withSymbol);
    QCOMPARE(money::format(units, false), plain);
    QCOMPARE(Value::moneyUnits(units).display(QStringLiteral("money")), withSymbol);
    QCOMPARE(Value::moneyUnits(units).display(QStringLiteral("amount")), plain);
}

void TestReportValues::moneyInWords_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("words");
    QTest::newRow("zero") << qint64(0) << "Zero and 00/100 US Dollars";
    QTest::newRow("teens") << qint64(150000) << "Fifteen and 00/100 US Dollars";
    QTest::newRow("hyphenated") << qint64(5022740000)
                                << "Five Hundred Two Thousand Two Hundred Seventy-Four and 00/100 US Dollars";
    QTest::newRow("cents") << qint64(1250000000 + 9900)
                           << "One Hundred Twenty-Five Thousand and 99/100 US Dollars";
    QTest::newRow("million, no thousands") << qint64(10000050000) << "One Million Five and 00/100 US Dollars";
}

void TestReportValues::moneyInWords()
{
    QFETCH(qint64, units);
    QFETCH(QString, words);
    QCOMPARE(money::inWords(units), words);
}

void TestReportValues::sumsAreExact()
{
    // Ten thousand lines of 0.10 add up to exactly 1,000.00; as binary floats they would not.
    Value total = Value::integer(0);
    const Value price = Value::fromSql(QVariant(0.1), true);
    for (int i = 0; i < 10000; ++i)
        total = Value::add(total, Value::multiply(Value::integer(1), price));
    QCOMPARE(total.type(), Value::Type::Money);
    QCOMPARE(*total.asMoney(), qint64(1000) * money::UnitsPerDollar);
    QCOMPARE(total.display(), QStringLiteral("$1,000.00"));
}

void TestReportValues::arithmetic_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<Value>("a");
    QTest::addColumn<Value>("b");
    QTest::addColumn<QString>("expected"); // display(); empty for null
    QTest::newRow("qty times price") << "*" << Value::integer(32)
                                     << Value::fromSql(QStringLiteral("9450.0000"), true) << "$302,400.00";
    QTest::newRow("text quantity") << "*" << Value::text(QStringLiteral("24")) << Value::moneyUnits(249500)
                                   << "$598.80";
    QTest::newRow("total times factor")
        << "*" << Value::moneyUnits(5022740000) << Value::real(0.01766) << "$8,870.16";
    QTest::newRow("minus typed deposit") << "-" << Value::moneyUnits(5022740000)
                                         << Value::text(QStringLiteral("$125,000.00")) << "$377,274.00";
    QTest::newRow("deposit not a number")
        << "-" << Value::moneyUnits(5022740000) << Value::text(QStringLiteral("30% of contract")) << "";
    QTest::newRow("null operand") << "+" << Value() << Value::integer(1) << "";
    QTest::newRow("division by zero") << "/" << Value::moneyUnits(10000) << Value::integer(0) << "";
    QTest::newRow("money divided") << "/" << Value::moneyUnits(1000000) << Value::integer(3) << "$33.33";
    QTest::newRow("whole numbers") << "+" << Value::integer(2) << Value::integer(10) << "12";
    QTest::newRow("overflow") << "*" << Value::integer(Q_INT64_C(4611686018427387904)) << Value::integer(4)
                              << "";
}

void TestReportValues::arithmetic()
{
    QFETCH(QString, op);
    QFETCH(Value, a);
    QFETCH(Value, b);
    QFETCH(QString, expected);
    Value r;
    if (op == QLatin1String("+"))
        r = Value::add(a, b);
    else if (op == QLatin1String("-"))
        r = Value::subtract(a, b);
    else if (op == QLatin1String("*"))
        r = Value::multiply(a, b);
    else
        r = Value::divide(a, b);
    QCOMPARE(r.isNull(), expected.isEmpty());
    QCOMPARE(r.display(), expected);
}

void TestReportValues::currencyColumns_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<qint64>("units");
    QTest::newRow("real") << QVariant(24.95) << qint64(249500);
    QTest::newRow("whole") << QVariant(qlonglong(9450)) << qint64(94500000);
    QTest::newRow("text") << QVariant(QStringLiteral("24.9500")) << qint64(249500);
    QTest::newRow("real just below") << QVariant(0.29) << qint64(2900);
}

void TestReportValues::currencyColumns()
{
    QFETCH(QVariant, stored);
    QFETCH(qint64, units);
    const Value v = Value::fromSql(stored, true);
    QCOMPARE(v.type(), Value::Type::Money);
    QCOMPARE(*v.asMoney(), units);
}

QTEST_GUILESS_MAIN(TestReportValues)
#include "tst_report_values.moc"
