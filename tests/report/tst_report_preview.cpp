// The preview window: opened without blocking, pages shown, export to PDF through the file question, and the
// offer to export where there is no printer.
#include "platform/interactive.h"
#include "report_test_support.h"
#include "reports/report_preview.h"

#include <QAction>
#include <QApplication>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace tv::report;
using namespace tv::report::testing;
using tv::reports::PreviewOutput;
using tv::reports::ReportPreviewWindow;

namespace {

// Answers the questions in order and records them.
class ScriptedInteractive : public tv::Interactive
{
public:
    int messageBox(const QString& text, int style, const QString& title) override
    {
        messages.append({text, style, title});
        return answers.isEmpty() ? tv::vbOK : answers.takeFirst();
    }
    tv::InputAnswer inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override
    {
        saveQuestions.append({title, folder, filter});
        return fileAnswer;
    }
    QString existingFolder(const QString&, const QString&) override { return {}; }
    void beep() override {}
    void sendKey(int) override {}
    void setPointer(tv::Pointer p) override { m_pointer = p; }
    tv::Pointer pointer() const override { return m_pointer; }

    struct Message
    {
        QString text;
        int style;
        QString title;
    };
    QList<Message> messages;
    QList<int> answers;
    QList<QStringList> saveQuestions;
    QString fileAnswer;

private:
    tv::Pointer m_pointer = tv::Pointer::Default;
};

} // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void previewOpensAWindowWithoutBlocking();
    void exportAsksForAFileAndWritesIt();
    void exportCancelled();
    void printWithoutPrinterOffersExport_data();
    void printWithoutPrinterOffersExport();
    void printerDestinationWithoutPrinter();

private:
    ReportPreviewWindow* openPreview();

    QTemporaryDir m_dir;
    ScriptedInteractive m_ask;
    PreviewOutput m_output;
};

void TestReportPreview::initTestCase()
{
    QString error;
    const QString db = createDatabase(m_dir.path(), &error);
    QVERIFY2(!db.isEmpty(), qPrintable(error));
    QVERIFY2(fillCompany(db, &error), qPrintable(error));
    QCOMPARE(addJob(db, internationalJob(), &error), 17);
    QVERIFY2(addLines(db, 17, internationalLines(), &error), qPrintable(error));
    QVERIFY2(copyLayouts(m_dir.path(), &error), qPrintable(error));
}

void TestReportPreview::init()
{
    m_ask = ScriptedInteractive();
    tv::platform::setInteractive(&m_ask);
}

void TestReportPreview::cleanup()
{
    tv::platform::setInteractive(nullptr);
    if (m_output.lastWindow())
        delete m_output.lastWindow();
}

ReportPreviewWindow* TestReportPreview::openPreview()
{
    ReportEngine engine;
    engine.setOutput(&m_output);
    engine.setReportFileName(m_dir.path() + QStringLiteral("\\Schedule ABC With Prices.rpt"));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    engine.setDestination(ToWindow);
    const Result r = engine.setAction(1);
    if (!r.ok())
        qWarning("%s", qPrintable(r.message));
    return m_output.lastWindow();
}

void TestReportPreview::previewOpensAWindowWithoutBlocking()
{
    ReportPreviewWindow* window = openPreview();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Print Preview - Quotation - Job 17"));
    QTRY_COMPARE(window->pageCount(), window->document()->pageCount());
    QCOMPARE(window->currentPage(), 1);
    QVERIFY(m_ask.messages.isEmpty());
    if (!qEnvironmentVariableIsEmpty("TARVENOR_REPORT_PDF_DIR"))
        window->grab().save(qEnvironmentVariable("TARVENOR_REPORT_PDF_DIR") + QStringLiteral("/preview.png"));
    // Closing deletes it.
    QPointer<ReportPreviewWindow> guard(window);
    window->close();
    QTRY_VERIFY(guard.isNull());
}

void TestReportPreview::exportAsksForAFileAndWritesIt()
{
    ReportPreviewWindow* window = openPreview();
    QVERIFY(window);
    QTemporaryDir out;
    m_ask.fileAnswer = out.filePath(QStringLiteral("my quote")); // the suffix is added
    window->exportAction()->trigger();
    QCOMPARE(m_ask.saveQuestions.size(), 1);
    QCOMPARE(m_ask.saveQuestions[0][0], QStringLiteral("Export as PDF"));
    QVERIFY(m_ask.saveQuestions[0][1].endsWith(QStringLiteral("/Schedule ABC With Prices - Job 17.pdf")));
    QCOMPARE(m_ask.saveQuestions[0][2], QStringLiteral("PDF files (*.pdf)"));
    QFile pdf(out.filePath(QStringLiteral("my quote.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    QVERIFY(m_ask.messages.isEmpty());
    QCOMPARE(ReportPreviewWindow::exportFolder(), out.path());
}

void TestReportPreview::exportCancelled()
{
    ReportPreviewWindow* window = openPreview();
    QVERIFY(window);
    m_ask.fileAnswer.clear();
    const Result r = window->exportPdf();
    QVERIFY(r.cancelled());
    QVERIFY(m_ask.messages.isEmpty());
}

void TestReportPreview::printWithoutPrinterOffersExport_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("exports");
    QTest::newRow("yes: export") << int(tv::vbYes) << 1;
    QTest::newRow("no: nothing") << int(tv::vbNo) << 0;
}

void TestReportPreview::printWithoutPrinterOffersExport()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer; its dialog would be modal");
    QFETCH(int, answer);
    QFETCH(int, exports);
    ReportPreviewWindow* window = openPreview();
    QVERIFY(window);
    m_ask.answers = {answer};
    m_ask.fileAnswer.clear();
    window->printAction()->trigger();
    QCOMPARE(m_ask.messages.size(), 1);
    QCOMPARE(m_ask.messages[0].text,
             QStringLiteral("No printer is installed on this computer, so the report cannot be "
                            "printed.\n\nDo you want to export it as a PDF file instead?"));
    QCOMPARE(m_ask.messages[0].style, tv::vbYesNo + tv::vbExclamation);
    QCOMPARE(m_ask.messages[0].title, QStringLiteral("Print"));
    QCOMPARE(m_ask.saveQuestions.size(), exports);
}

void TestReportPreview::printerDestinationWithoutPrinter()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer");
    ReportEngine engine;
    engine.setOutput(&m_output);
    engine.setReportFileName(m_dir.path() + QStringLiteral("/Financing.rpt"));
    engine.setSelectionFormula(QStringLiteral("{Job Items.Recordno}= 17"));
    engine.setDestination(ToPrinter);
    QCOMPARE(engine.setAction(1).code, ResultCode::NoPrinter);
    QVERIFY(!m_output.lastWindow());
}

QTEST_MAIN(TestReportPreview)
#include "tst_report_preview.moc"
