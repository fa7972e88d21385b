// The quote-line rule: one catalog entry and the current job become one saved row of "Job Items".
#include "catalog/catalogmodel.h"
#include "platform/binding.h"
#include "quote/quoteline.h"
#include "support/testsupport.h"

#include <QTest>

using namespace tv;
using namespace tv::test;
using catalog::Attribute;

Q_DECLARE_METATYPE(QVariant)

namespace {

catalog::Entry entry(const QVariant& factor, const QVariant& quantity, const QVariant& price,
                     const QString& name = QStringLiteral("Bowling Pins"))
{
    catalog::Entry e;
    e[Attribute::Name] = name;
    e[Attribute::Category] = QStringLiteral("100");
    e[Attribute::Schedule] = QStringLiteral("B");
    e[Attribute::Factor] = factor;
    e[Attribute::Quantity] = quantity;
    e[Attribute::Condition] = QStringLiteral("New");
    e[Attribute::Price] = price;
    e[Attribute::Notes] = QStringLiteral("Tournament pins.");
    return e;
}

const QVariant Empty = QVariant();

} // namespace

class QuoteLineTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;
    std::unique_ptr<QObject> m_owner;
    Binding* m_target = nullptr;
    quote::JobValues m_job{QStringLiteral("7"), QStringLiteral("12"), 10.0};

    int linesOfJob(int job) const
    {
        return m_folder
            ->scalar(QStringLiteral("SELECT count(*) FROM [Job Items] WHERE Recordno = %1").arg(job))
            .toInt();
    }
    QVariantList lastLine() const
    {
        const auto rows =
            m_folder->rows(QStringLiteral("SELECT Recordno, [Item Name], [Item Category], Schedule, [Item "
                                          "Qty], [Item Condition], [Item Price], "
                                          "[Item Notes] FROM [Job Items] ORDER BY rowid DESC LIMIT 1"));
        return rows.isEmpty() ? QVariantList() : rows.first();
    }
    QList<Asked> inputs() const
    {
        QList<Asked> result;
        for (const Asked& a : m_ui->asked)
            if (a.kind == u"input")
                result.append(a);
        return result;
    }

private slots:
    void init()
    {
        m_job = {QStringLiteral("7"), QStringLiteral("12"), 10.0};
        m_folder = std::make_unique<AppFolder>();
        m_ui = std::make_unique<ScriptedInteractive>();
        m_owner = std::make_unique<QObject>();
        m_target = new Binding(m_owner.get(), QStringLiteral("Data1(9)"));
        m_target->setDatabaseName(m_folder->databasePath());
        m_target->setRecordSource(QStringLiteral("Job Items"));
        QVERIFY(m_target->open());
    }
    void cleanup()
    {
        m_owner.reset();
        m_ui.reset();
        m_folder.reset();
    }

    void allEightFieldsAreWritten()
    {
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Job", 3, 185), m_job, quote::generationRule()),
                 quote::LineResult::Added);
        const QVariantList line = lastLine();
        QCOMPARE(line.value(0).toInt(), 7);
        QCOMPARE(line.value(1).toString(), QStringLiteral("Bowling Pins"));
        QCOMPARE(line.value(2).toInt(), 100);
        QCOMPARE(line.value(3).toString(), QStringLiteral("B"));
        QCOMPARE(line.value(4).toInt(), 3);
        QCOMPARE(line.value(5).toString(), QStringLiteral("New"));
        QCOMPARE(line.value(6).toDouble(), 203.5);
        QCOMPARE(line.value(7).toString(), QStringLiteral("Tournament pins."));
        QVERIFY(m_ui->asked.isEmpty());
    }

    void quantityByFactor_data()
    {
        QTest::addColumn<QVariant>("factor");
        QTest::addColumn<QVariant>("quantity");
        QTest::addColumn<QString>("lanes");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("Lane multiplies") << QVariant("Lane") << QVariant(2) << "12" << QVariant(24);
        QTest::newRow("Lane, lane count with blanks")
            << QVariant("Lane") << QVariant(2) << " 12 " << QVariant(24);
        QTest::newRow("lane in lower case is not Lane")
            << QVariant("lane") << QVariant(2) << "12" << QVariant(2);
        QTest::newRow("Job keeps the quantity") << QVariant("Job") << QVariant(2) << "12" << QVariant(2);
        QTest::newRow("empty factor keeps it") << QVariant("") << QVariant(2) << "12" << QVariant(2);
        QTest::newRow("no factor keeps it") << Empty << QVariant(2) << "12" << QVariant(2);
        QTest::newRow("Lane with blank after it") << QVariant("Lane ") << QVariant(2) << "12" << QVariant(2);
        QTest::newRow("Lane, no quantity") << QVariant("Lane") << Empty << "12" << Empty;
        QTest::newRow("Job, no quantity") << QVariant("Job") << Empty << "12" << Empty;
        QTest::newRow("Job, lane count unusable but unused")
            << QVariant("Job") << QVariant(5) << "" << QVariant(5);
    }
    void quantityByFactor()
    {
        QFETCH(QVariant, factor);
        QFETCH(QVariant, quantity);
        QFETCH(QString, lanes);
        QFETCH(QVariant, expected);
        m_job.lanes = lanes;
        QCOMPARE(quote::addQuoteLine(*m_target, entry(factor, quantity, 100), m_job, quote::generationRule()),
                 quote::LineResult::Added);
        const QVariant stored = lastLine().value(4);
        QCOMPARE(stored.isNull(), expected.isNull());
        if (!expected.isNull())
            QCOMPARE(stored.toDouble(), expected.toDouble());
        QVERIFY(inputs().isEmpty());
    }

    void otherQuantityIsAsked_data()
    {
        QTest::addColumn<bool>("generation");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("generation") << true << "Enter the quantity you want to quote for Bowling Pins !";
        QTest::newRow("editor") << false << "Enter the quantity you want to quote for Bowling Pins";
    }
    void otherQuantityIsAsked()
    {
        QFETCH(bool, generation);
        QFETCH(QString, prompt);
        m_ui->answerInput(QStringLiteral("7"));
        // The catalog quantity is filled in, and the answer replaces it.
        const auto rule = generation ? quote::generationRule() : quote::editorRule();
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Other", 2, 100), m_job, rule),
                 quote::LineResult::Added);
        QCOMPARE(inputs().size(), 1);
        QCOMPARE(inputs().first().text, prompt);
        QCOMPARE(inputs().first().title, QStringLiteral("Quantity"));
        QCOMPARE(inputs().first().extra, QString());
        QCOMPARE(lastLine().value(4).toInt(), 7);
    }

    void priceRule_data()
    {
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<QVariant>("commission");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("1000 with 10") << QVariant(1000) << QVariant(10.0) << false << QVariant(1100.0);
        QTest::newRow("1000 with 0") << QVariant(1000) << QVariant(0.0) << false << QVariant(1000.0);
        QTest::newRow("24.95 with 10") << QVariant(24.95) << QVariant(10.0) << false << QVariant(27.445);
        QTest::newRow("1000 with 7.5") << QVariant(1000) << QVariant(7.5) << false << QVariant(1075.0);
        QTest::newRow("0 with 10 is asked, no commission")
            << QVariant(0) << QVariant(10.0) << true << QVariant(500.0);
        QTest::newRow("0 with 0 is asked") << QVariant(0) << QVariant(0.0) << true << QVariant(500.0);
        QTest::newRow("empty price asks nothing") << Empty << QVariant(10.0) << false << Empty;
        QTest::newRow("empty commission") << QVariant(1000) << Empty << false << Empty;
    }
    void priceRule()
    {
        QFETCH(QVariant, price);
        QFETCH(QVariant, commission);
        QFETCH(bool, asked);
        QFETCH(QVariant, expected);
        m_job.commission = commission;
        if (asked)
            m_ui->answerInput(QStringLiteral("500"));
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Job", 1, price), m_job, quote::generationRule()),
                 quote::LineResult::Added);
        QCOMPARE(inputs().size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(inputs().first().text,
                     QStringLiteral("Enter the price you want to quote for Bowling Pins"));
            QCOMPARE(inputs().first().title, QStringLiteral("Price"));
        }
        const QVariant stored = lastLine().value(6);
        QCOMPARE(stored.isNull(), expected.isNull());
        if (!expected.isNull())
            QCOMPARE(stored.toDouble(), expected.toDouble());
    }

    void markupIsEvaluatedInDoublePrecision()
    {
        // p + p * (0.01 * m), kept to the four decimals of money.
        const double p = 1234.56;
        const double m = 12.5;
        const double expected = double(std::llround((p + p * (0.01 * m)) * 10000.0)) / 10000.0;
        QCOMPARE(quote::priceWithCommission(p, m).toDouble(), expected);
        QCOMPARE(quote::priceWithCommission(Empty, m), Empty);
        QCOMPARE(quote::priceWithCommission(p, Empty), Empty);
    }

    void editorPriceTestUsesTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty text counts as 0") << "" << true << 500.0;
        QTest::newRow("0") << "0" << true << 500.0;
        QTest::newRow("0.00") << "0.00" << true << 500.0;
        QTest::newRow("1000") << "1000" << false << 1100.0;
        QTest::newRow("1,000") << "1,000" << false << 1100.0;
    }
    void editorPriceTestUsesTheText()
    {
        QFETCH(QString, text);
        QFETCH(bool, asked);
        QFETCH(double, expected);
        if (asked)
            m_ui->answerInput(QStringLiteral("500"));
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Job", QStringLiteral("1"), text), m_job,
                                     quote::editorRule()),
                 quote::LineResult::Added);
        QCOMPARE(inputs().size(), asked ? 1 : 0);
        QCOMPARE(lastLine().value(6).toDouble(), expected);
    }

    void quantityIsAskedBeforePrice()
    {
        m_ui->answerInput(QStringLiteral("4"));
        m_ui->answerInput(QStringLiteral("250"));
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Other", Empty, 0), m_job, quote::generationRule()),
                 quote::LineResult::Added);
        QCOMPARE(inputs().size(), 2);
        QCOMPARE(inputs().at(0).title, QStringLiteral("Quantity"));
        QCOMPARE(inputs().at(1).title, QStringLiteral("Price"));
        QCOMPARE(lastLine().value(4).toInt(), 4);
        QCOMPARE(lastLine().value(6).toDouble(), 250.0);
    }

    void wrongAnswersAreAskedAgain_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("complaint");
        QTest::addColumn<double>("stored");
        QTest::newRow("quantity not a number")
            << "Quantity" << QStringList{"lots", "12"} << "\"lots\" is not a number." << 12.0;
        QTest::newRow("quantity not whole")
            << "Quantity" << QStringList{"2.5", "3"} << "\"2.5\" is not a whole number." << 3.0;
        QTest::newRow("quantity empty") << "Quantity" << QStringList{"", "3"} << "Nothing was typed." << 3.0;
        QTest::newRow("price not a number")
            << "Price" << QStringList{"call us", "99.5"} << "\"call us\" is not a number." << 99.5;
        QTest::newRow("price with dollar sign") << "Price" << QStringList{"$1,250.50"} << QString() << 1250.5;
    }
    void wrongAnswersAreAskedAgain()
    {
        QFETCH(QString, title);
        QFETCH(QStringList, answers);
        QFETCH(QString, complaint);
        QFETCH(double, stored);
        const bool quantity = title == u"Quantity";
        for (const QString& a : answers)
            m_ui->answerInput(a);
        const auto e = quantity ? entry("Other", 1, 100) : entry("Job", 1, 0);
        QCOMPARE(quote::addQuoteLine(*m_target, e, m_job, quote::generationRule()), quote::LineResult::Added);
        QCOMPARE(inputs().size(), answers.size());
        const QString first = inputs().first().text;
        for (int i = 1; i < inputs().size(); ++i) {
            QVERIFY(inputs().at(i).text.startsWith(first));
            QVERIFY2(inputs().at(i).text.contains(complaint), qPrintable(inputs().at(i).text));
            QCOMPARE(inputs().at(i).extra, answers.at(i - 1)); // the wrong answer is offered for correction
            QCOMPARE(inputs().at(i).title, title);
        }
        QCOMPARE(lastLine().value(quantity ? 4 : 6).toDouble(), stored);
        QCOMPARE(m_folder->scalar(
                     QStringLiteral("SELECT typeof([Item Qty]) FROM [Job Items] ORDER BY rowid DESC")),
                 QVariant(QStringLiteral("integer")));
    }

    void cancelLeavesTheLineOut_data()
    {
        QTest::addColumn<QVariant>("factor");
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("quantity cancelled") << QVariant("Other") << QVariant(100) << QStringList{};
        QTest::newRow("quantity wrong, then cancelled")
            << QVariant("Other") << QVariant(100) << QStringList{"x"};
        QTest::newRow("price cancelled after the quantity")
            << QVariant("Other") << QVariant(0) << QStringList{"3"};
        QTest::newRow("price wrong, then cancelled") << QVariant("Job") << QVariant(0) << QStringList{"abc"};
    }
    void cancelLeavesTheLineOut()
    {
        QFETCH(QVariant, factor);
        QFETCH(QVariant, price);
        QFETCH(QStringList, answers);
        for (const QString& a : answers)
            m_ui->answerInput(a);
        m_ui->cancelInput();
        const int before = linesOfJob(7);
        QCOMPARE(quote::addQuoteLine(*m_target, entry(factor, 1, price), m_job, quote::generationRule()),
                 quote::LineResult::LeftOut);
        QCOMPARE(linesOfJob(7), before);
        // The binding is left without a pending row: the next line saves normally.
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Job", 1, 100), m_job, quote::generationRule()),
                 quote::LineResult::Added);
        QCOMPARE(linesOfJob(7), before + 1);
    }

    void unusableLaneCountIsReportedFirst_data()
    {
        QTest::addColumn<QString>("lanes");
        QTest::addColumn<QString>("said");
        QTest::newRow("empty") << ""
                               << "is empty";
        QTest::newRow("blank") << "  "
                               << "is empty";
        QTest::newRow("words") << "twelve"
                               << "\"twelve\"";
    }
    void unusableLaneCountIsReportedFirst()
    {
        QFETCH(QString, lanes);
        QFETCH(QString, said);
        m_job.lanes = lanes;
        // The price would be asked for, but nothing is asked once the lane count is known to be unusable.
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Lane", 2, 0), m_job, quote::generationRule()),
                 quote::LineResult::LeftOut);
        QCOMPARE(linesOfJob(7), 0);
        QVERIFY(inputs().isEmpty());
        const QString message = m_ui->lastMessage().text;
        QVERIFY2(message.contains(QStringLiteral("job 7")), qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("\"# of Lanes\"")));
        QVERIFY(message.contains(said));
    }

    void catalogValuesThatAreNoNumbersWriteNothing_data()
    {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<QString>("value");
        QTest::newRow("category") << int(Attribute::Category) << "A1";
        QTest::newRow("quantity") << int(Attribute::Quantity) << "two";
        QTest::newRow("price") << int(Attribute::Price) << "TBD";
    }
    void catalogValuesThatAreNoNumbersWriteNothing()
    {
        QFETCH(int, attribute);
        QFETCH(QString, value);
        auto e = entry("Job", 1, 100);
        e[Attribute(attribute)] = value;
        QCOMPARE(quote::addQuoteLine(*m_target, e, m_job, quote::editorRule()), quote::LineResult::LeftOut);
        QCOMPARE(linesOfJob(7), 0);
        QVERIFY(m_ui->lastMessage().text.contains(QStringLiteral("\"%1\" is not a number").arg(value)));
    }

    void emptyCatalogValuesStayEmpty()
    {
        catalog::Entry e; // nothing filled in at all
        QCOMPARE(quote::addQuoteLine(*m_target, e, m_job, quote::generationRule()), quote::LineResult::Added);
        const QVariantList line = lastLine();
        QCOMPARE(line.value(0).toInt(), 7);
        for (int i : {2, 4, 6})
            QVERIFY2(line.value(i).isNull(), qPrintable(QString::number(i)));
        QVERIFY(inputs().isEmpty());
    }

    void noJobNoLine_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("empty") << "";
        QTest::newRow("not a number") << "x";
    }
    void noJobNoLine()
    {
        QFETCH(QString, number);
        m_job.number = number;
        QCOMPARE(quote::addQuoteLine(*m_target, entry("Job", 1, 100), m_job, quote::generationRule()),
                 quote::LineResult::LeftOut);
        QCOMPARE(m_folder->scalar(QStringLiteral("SELECT count(*) FROM [Job Items]")).toInt(), 6);
    }
};

QTEST_MAIN(QuoteLineTest)
#include "tst_quoteline.moc"
