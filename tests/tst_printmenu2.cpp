// The multiple-report window: the ten documents in their print order, the presets, the contract packages,
// everything to the printer, the job number checks and failures told once at the end of a run.
#include "reports/printmenu2.h"
#include "shell/mainmenu.h"
#include "tst_printmenu_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using namespace tv;
using namespace tv::test;

namespace {

const QStringList AllBoxes{"Check10", "Check11", "Check12", "Check13", "Check1",
                           "Check2",  "Check3",  "Check4",  "Check6",  "Check7"};

const QString JobItems17 = QStringLiteral("{Job Items.Recordno}= 17");
const QString JobInformation17 = QStringLiteral("{Job Information.AutoNumber}=17");
const QString JobInformationSpaced17 = QStringLiteral("{Job Information.AutoNumber}= 17");

} // namespace

class PrintMenu2Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrintFixture> m_fx;

    PrintMenu2* window()
    {
        PrintMenu2* w = Forms::load<PrintMenu2>();
        w->showModeless();
        return w;
    }
    QLineEdit* jobBox(PrintMenu2* w) { return w->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    void tick(PrintMenu2* w, const QStringList& boxes, bool on = true)
    {
        for (const QString& b : boxes)
            w->checkBox(b)->setChecked(on);
    }
    QStringList ticked(PrintMenu2* w)
    {
        QStringList result;
        for (const QString& b : AllBoxes)
            if (w->checkBox(b)->isChecked())
                result << b;
        return result;
    }
    QStringList printedFiles() const { return m_fx->output.files(m_fx->appFolder()); }
    void pressPackage(PrintMenu2* w, const QString& element)
    {
        if (element == u"Command6")
            w->Command6_Click();
        else if (element == u"Command7")
            w->Command7_Click();
        else
            w->Command8_Click();
    }

private slots:
    void init() { m_fx = std::make_unique<PrintFixture>(); }
    void cleanup() { m_fx.reset(); }

    void elements_data();
    void elements();
    void freshWindow();
    void allTenInTheirOrder();
    void presetAfterManualTicks();
    void presets_data();
    void presets();
    void nothingTickedPrintsNothing();
    void emptyJobNumber_data();
    void emptyJobNumber();
    void refusedJobNumber_data();
    void refusedJobNumber();
    void contractPackages_data();
    void contractPackages();
    void failuresToldOnceAtTheEnd();
    void packageFailuresToldOnce();
    void oneReasonForAll();
    void cancelIsNotTold();
    void noPrinterOffersPdfFiles();
    void noPrinterAnsweredNo();
    void exitHidesAndKeepsTheState();
    void titleBarUnloads();
};

void PrintMenu2Test::elements_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("frame");

    QTest::newRow("Frame1") << "Frame1"
                            << "Enter Job ID Number Here"
                            << "";
    QTest::newRow("Frame2") << "Frame2"
                            << "Select Which Reports to Print"
                            << "";
    QTest::newRow("Frame3") << "Frame3"
                            << "Select Which Contracts to Print"
                            << "";
    QTest::newRow("Check10") << "Check10"
                             << "Job Quote (With Pricing)"
                             << "Frame2";
    QTest::newRow("Check11") << "Check11"
                             << "Job Quote (No Pricing)"
                             << "Frame2";
    QTest::newRow("Check12") << "Check12"
                             << "Job Quote (No Totals)"
                             << "Frame2";
    QTest::newRow("Check13") << "Check13"
                             << "Cash Receipt"
                             << "Frame2";
    QTest::newRow("Check1") << "Check1"
                            << "International Terms and Conditions"
                            << "Frame2";
    QTest::newRow("Check2") << "Check2"
                            << "Domestic Terms and Conditions"
                            << "Frame2";
    QTest::newRow("Check3") << "Check3"
                            << "Scoring Only Terms and Conditions"
                            << "Frame2";
    QTest::newRow("Check4") << "Check4"
                            << "Simplified Terms and Conditions"
                            << "Frame2";
    QTest::newRow("Check6") << "Check6"
                            << "Proforma Invoice"
                            << "Frame2";
    QTest::newRow("Check7") << "Check7"
                            << "Financing"
                            << "Frame2";
    QTest::newRow("Command1") << "Command1"
                              << "&Print (No Preview)"
                              << "Frame2";
    QTest::newRow("Command2") << "Command2"
                              << "Int'l  Quote"
                              << "Frame2";
    QTest::newRow("Command3") << "Command3"
                              << "USA Quote"
                              << "Frame2";
    QTest::newRow("Command4") << "Command4"
                              << "Scoring Quote"
                              << "Frame2";
    QTest::newRow("Command6") << "Command6"
                              << "International Contract"
                              << "Frame3";
    QTest::newRow("Command7") << "Command7"
                              << "Domestic Contract"
                              << "Frame3";
    QTest::newRow("Command8") << "Command8"
                              << "Scoring Contract"
                              << "Frame3";
    QTest::newRow("Command5") << "Command5"
                              << "E&xit"
                              << "";
}

void PrintMenu2Test::elements()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, frame);
    PrintMenu2* w = window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Print Multiple Reports"));
    QObject* element = w->findChild<QObject*>(name);
    QVERIFY2(element, qPrintable(name));
    if (auto* box = qobject_cast<QGroupBox*>(element))
        QCOMPARE(box->title(), caption);
    else
        QCOMPARE(qobject_cast<QAbstractButton*>(element)->text(), caption);
    if (!frame.isEmpty())
        QCOMPARE(element->parent()->objectName(), frame);
}

void PrintMenu2Test::freshWindow()
{
    PrintMenu2* w = window();
    QVERIFY(jobBox(w)->text().isEmpty());
    QCOMPARE(jobBox(w)->parent()->objectName(), QStringLiteral("Frame1"));
    QVERIFY(ticked(w).isEmpty());
    QCOMPARE(w->engine().destination(), 1);
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenu2Test::allTenInTheirOrder()
{
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    // Ticked from the bottom of the screen up; the order of the run does not follow.
    QStringList reversed = AllBoxes;
    std::reverse(reversed.begin(), reversed.end());
    tick(w, reversed);
    w->findChild<QPushButton*>(QStringLiteral("Command1"))->click();

    QCOMPARE(
        printedFiles(),
        QStringList({"\\Schedule ABC With Prices.rpt", "\\Schedule ABC With No Prices.rpt",
                     "\\Schedule ABC with Prices & No Totals.rpt", "\\CashReceipt.rpt",
                     "\\Terms & Conditions.rpt", "\\USA Terms & Conditions.rpt",
                     "\\USA Scoring Only Terms & Conditions.rpt",
                     "\\USA Upgrade Package Terms & Conditions.rpt", "\\ProForma.rpt", "\\Financing.rpt"}));
    QCOMPARE(m_fx->output.formulas(),
             QStringList({JobItems17, JobItems17, JobItems17, JobItems17, JobInformation17, JobInformation17,
                          JobInformation17, JobInformation17, JobItems17, JobItems17}));
    for (const auto& call : m_fx->output.calls) {
        QCOMPARE(call.kind, QStringLiteral("print"));
        QCOMPARE(call.request.destination, 1);
        QVERIFY2(call.document && call.document->pageCount() > 0, qPrintable(call.request.reportFileName));
    }
    // The small "w" of the third file finds the layout on disk all the same.
    QCOMPARE(QFileInfo(m_fx->output.calls.at(2).request.reportPath).fileName(),
             QStringLiteral("Schedule ABC With Prices & No Totals.rpt"));
    QVERIFY(m_fx->ui.messages().isEmpty());
    QCOMPARE(m_fx->ui.pointerHistory.mid(m_fx->ui.pointerHistory.size() - 2),
             QList<Pointer>({Pointer::Hourglass, Pointer::Default}));
}

void PrintMenu2Test::presetAfterManualTicks()
{
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    tick(w, {"Check10", "Check13"});
    w->Command3_Click();
    QCOMPARE(ticked(w), QStringList({"Check10", "Check11", "Check13", "Check2", "Check7"}));
    w->Command1_Click();
    QCOMPARE(printedFiles(),
             QStringList({"\\Schedule ABC With Prices.rpt", "\\Schedule ABC With No Prices.rpt",
                          "\\CashReceipt.rpt", "\\USA Terms & Conditions.rpt", "\\Financing.rpt"}));
}

void PrintMenu2Test::presets_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<bool>("startTicked");
    QTest::addColumn<QStringList>("expected");

    const QStringList kept{"Check10", "Check12", "Check13", "Check4", "Check6"};
    QTest::newRow("Int'l, none ticked") << "Command2" << false << QStringList{"Check11", "Check1"};
    QTest::newRow("Int'l, all ticked")
        << "Command2" << true
        << QStringList{"Check10", "Check11", "Check12", "Check13", "Check1", "Check4", "Check6"};
    QTest::newRow("USA, none ticked") << "Command3" << false << QStringList{"Check11", "Check2", "Check7"};
    QTest::newRow("USA, all ticked") << "Command3" << true
                                     << QStringList{"Check10", "Check11", "Check12", "Check13",
                                                    "Check2",  "Check4",  "Check6",  "Check7"};
    QTest::newRow("Scoring, none ticked")
        << "Command4" << false << QStringList{"Check11", "Check3", "Check7"};
    QTest::newRow("Scoring, all ticked")
        << "Command4" << true
        << QStringList{"Check10", "Check11", "Check12", "Check13", "Check3", "Check4", "Check6", "Check7"};
}

void PrintMenu2Test::presets()
{
    QFETCH(QString, element);
    QFETCH(bool, startTicked);
    QFETCH(QStringList, expected);

    PrintMenu2* w = window();
    tick(w, AllBoxes, startTicked);
    w->findChild<QPushButton*>(QStringLiteral("Command5"))->setFocus();
    w->findChild<QPushButton*>(element)->click();
    QCOMPARE(ticked(w), expected);
    QCOMPARE(w->focusWidget(), jobBox(w));
    QVERIFY(m_fx->output.calls.isEmpty());
    QVERIFY(m_fx->ui.messages().isEmpty());
}

void PrintMenu2Test::nothingTickedPrintsNothing()
{
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command1_Click();
    QVERIFY(m_fx->output.calls.isEmpty());
    QVERIFY(m_fx->ui.messages().isEmpty());
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenu2Test::emptyJobNumber_data()
{
    QTest::addColumn<QString>("element");
    for (const char* e : {"Command1", "Command6", "Command7", "Command8"})
        QTest::newRow(e) << e;
}

void PrintMenu2Test::emptyJobNumber()
{
    QFETCH(QString, element);
    PrintMenu2* w = window();
    tick(w, AllBoxes);
    w->findChild<QPushButton*>(QStringLiteral("Command5"))->setFocus();
    m_fx->ui.answerMessage(vbYes);
    w->findChild<QPushButton*>(element)->click();

    // Only the job number message: a package asks no pricing question.
    QCOMPARE(m_fx->ui.messages().size(), 1);
    const Asked asked = m_fx->ui.lastMessage();
    QCOMPARE(asked.text, QStringLiteral("Please enter a Job ID Number!"));
    QCOMPARE(asked.title, QStringLiteral("Notice"));
    QCOMPARE(asked.style, 84);
    QVERIFY(m_fx->output.calls.isEmpty());
    QCOMPARE(w->focusWidget(), jobBox(w));
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenu2Test::refusedJobNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("element");
    QTest::newRow("blanks only") << " "
                                 << "Command1";
    QTest::newRow("second condition") << "17 OR 1=1"
                                      << "Command1";
    QTest::newRow("quotes") << "'17'"
                            << "Command6";
    QTest::newRow("statement") << "17; DROP TABLE [Job Information]"
                               << "Command7";
    QTest::newRow("too large") << "99999999999"
                               << "Command8";
}

void PrintMenu2Test::refusedJobNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, element);
    PrintMenu2* w = window();
    tick(w, AllBoxes);
    jobBox(w)->setText(typed);
    w->findChild<QPushButton*>(element)->click();

    QCOMPARE(m_fx->ui.messages().size(), 1);
    QCOMPARE(m_fx->ui.lastMessage().title, QStringLiteral("Notice"));
    QCOMPARE(m_fx->ui.lastMessage().style, int(vbExclamation));
    QVERIFY(m_fx->output.calls.isEmpty());
    QCOMPARE(w->engine().selectionFormula(), QString());
    QCOMPARE(m_fx->folder.scalar(QStringLiteral("SELECT count(*) FROM [Job Information]")).toInt(), 2);
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenu2Test::contractPackages_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("formulas");

    const QString withPrices = QStringLiteral("\\Contract Schedule ABC with Prices.rpt");
    const QString noPrices = QStringLiteral("\\Contract Schedule ABC with No Prices.rpt");
    const QStringList intl{"\\Contract INTL Terms & Conditions.rpt", "\\Contract Agreement INTL.rpt",
                           "\\ProForma.rpt"};
    const QStringList intlFormulas{JobItems17, JobInformationSpaced17, JobItems17, JobItems17};
    const QStringList usa{"\\Contract USA Terms & Conditions.rpt", "\\Contract Agreement USA.rpt"};
    const QStringList scoring{"\\Contract USA SCORING ONLY TERMS & CONDITIONS.RPT",
                              "\\Contract Agreement USA.rpt"};
    const QStringList usaFormulas{JobItems17, JobInformationSpaced17, JobItems17};

    QTest::newRow("International, Yes")
        << "Command6" << int(vbYes) << 36 << QStringList{withPrices} + intl << intlFormulas;
    QTest::newRow("International, No")
        << "Command6" << int(vbNo) << 36 << QStringList{noPrices} + intl << intlFormulas;
    QTest::newRow("Domestic, Yes") << "Command7" << int(vbYes) << 4 << QStringList{withPrices} + usa
                                   << usaFormulas;
    QTest::newRow("Domestic, No") << "Command7" << int(vbNo) << 4 << QStringList{noPrices} + usa
                                  << usaFormulas;
    QTest::newRow("Scoring, Yes") << "Command8" << int(vbYes) << 4 << QStringList{withPrices} + scoring
                                  << usaFormulas;
    QTest::newRow("Scoring, No") << "Command8" << int(vbNo) << 4 << QStringList{noPrices} + scoring
                                 << usaFormulas;
}

void PrintMenu2Test::contractPackages()
{
    QFETCH(QString, element);
    QFETCH(int, answer);
    QFETCH(int, style);
    QFETCH(QStringList, files);
    QFETCH(QStringList, formulas);

    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    // The ticks play no part in a package.
    tick(w, {"Check13", "Check7"});
    m_fx->ui.answerMessage(answer);
    m_fx->ui.onNextMessage([this]() { QVERIFY(m_fx->output.calls.isEmpty()); });
    w->findChild<QPushButton*>(element)->click();

    QCOMPARE(m_fx->ui.messages().size(), 1);
    const Asked question = m_fx->ui.lastMessage();
    QCOMPARE(question.text, QStringLiteral("Do you want line item pricing included?"));
    QCOMPARE(question.title, QStringLiteral("Line Item Pricing?"));
    QCOMPARE(question.style, style);

    QCOMPARE(printedFiles(), files);
    QCOMPARE(m_fx->output.formulas(), formulas);
    for (const auto& call : m_fx->output.calls) {
        QCOMPARE(call.kind, QStringLiteral("print"));
        QVERIFY2(call.document && call.document->pageCount() > 0, qPrintable(call.request.reportFileName));
    }
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenu2Test::failuresToldOnceAtTheEnd()
{
    m_fx->removeLayout(QStringLiteral("CashReceipt.rpt"));
    m_fx->removeLayout(QStringLiteral("Financing.rpt"));
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    tick(w, AllBoxes);
    m_fx->ui.onNextMessage([this]() {
        // Told after the whole run, with the normal pointer.
        QCOMPARE(m_fx->output.calls.size(), 8);
        QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
    });
    w->Command1_Click();

    QCOMPARE(printedFiles(),
             QStringList({"\\Schedule ABC With Prices.rpt", "\\Schedule ABC With No Prices.rpt",
                          "\\Schedule ABC with Prices & No Totals.rpt", "\\Terms & Conditions.rpt",
                          "\\USA Terms & Conditions.rpt", "\\USA Scoring Only Terms & Conditions.rpt",
                          "\\USA Upgrade Package Terms & Conditions.rpt", "\\ProForma.rpt"}));
    QCOMPARE(m_fx->ui.messages().size(), 1);
    const Asked told = m_fx->ui.lastMessage();
    QCOMPARE(told.title, QStringLiteral("Print Multiple Reports"));
    QCOMPARE(told.style, vbOKOnly + vbExclamation);
    QVERIFY2(told.text.startsWith(QStringLiteral("These documents were not printed:")),
             qPrintable(told.text));
    QVERIFY(told.text.contains(QStringLiteral("Cash Receipt:")));
    QVERIFY(told.text.contains(QStringLiteral("Financing:")));
    QVERIFY(told.text.contains(QStringLiteral("\"CashReceipt.rpt\"")));
    QVERIFY(told.text.contains(QStringLiteral("\"Financing.rpt\"")));
    QVERIFY(told.text.indexOf(QStringLiteral("Cash Receipt")) <
            told.text.indexOf(QStringLiteral("Financing")));
    QVERIFY(!told.text.contains(QStringLiteral("Proforma")));
}

void PrintMenu2Test::packageFailuresToldOnce()
{
    m_fx->removeLayout(QStringLiteral("Contract Agreement INTL.rpt"));
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    m_fx->ui.answerMessage(vbNo);
    w->Command6_Click();

    QCOMPARE(printedFiles(), QStringList({"\\Contract Schedule ABC with No Prices.rpt",
                                          "\\Contract INTL Terms & Conditions.rpt", "\\ProForma.rpt"}));
    QCOMPARE(m_fx->ui.messages().size(), 2);
    const Asked told = m_fx->ui.lastMessage();
    QVERIFY2(told.text.startsWith(QStringLiteral("\"Contract Agreement (International)\" was not printed.")),
             qPrintable(told.text));
    QVERIFY(told.text.contains(QStringLiteral("Contract Agreement INTL.rpt")));
}

void PrintMenu2Test::oneReasonForAll()
{
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("999"));
    w->Command4_Click();
    w->Command1_Click();

    QVERIFY(m_fx->output.calls.isEmpty());
    QCOMPARE(m_fx->ui.messages().size(), 1);
    const QString text = m_fx->ui.lastMessage().text;
    QCOMPARE(text, QStringLiteral("These documents were not printed:\n\n"
                                  "    Job Quote (No Pricing)\n"
                                  "    Scoring Only Terms and Conditions\n"
                                  "    Financing\n\n"
                                  "There is no job number 999 in the database."));
}

void PrintMenu2Test::cancelIsNotTold()
{
    m_fx->output.answer = report::Result::failure(report::ResultCode::Cancelled, QString());
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command2_Click();
    w->Command1_Click();
    QCOMPARE(m_fx->output.calls.size(), 2);
    QVERIFY(m_fx->ui.messages().isEmpty());
}

void PrintMenu2Test::noPrinterOffersPdfFiles()
{
    m_fx->output.answer = report::SystemOutput::noPrinter();
    m_fx->removeLayout(QStringLiteral("USA Terms & Conditions.rpt"));
    QTemporaryDir pdfs;
    m_fx->ui.answerMessage(vbYes);
    m_fx->ui.answerFile(pdfs.path());

    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command3_Click(); // Job Quote (No Pricing), Domestic Terms (missing here), Financing
    w->Command1_Click();

    QCOMPARE(m_fx->output.calls.size(), 2);
    const QList<Asked> messages = m_fx->ui.messages();
    QCOMPARE(messages.size(), 2);
    const Asked offer = messages.first();
    QCOMPARE(offer.style, vbYesNo + vbExclamation);
    QVERIFY2(offer.text.contains(QStringLiteral("Job Quote (No Pricing):\n    No printer is installed")),
             qPrintable(offer.text));
    QVERIFY(offer.text.contains(QStringLiteral("Domestic Terms and Conditions:")));
    QVERIFY(offer.text.contains(QStringLiteral("as PDF files instead?")));

    // The two that wanted only a printer are saved; the missing layout is not tried again.
    const QStringList saved = QDir(pdfs.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    QCOMPARE(saved, QStringList({"Financing - Job 17.pdf", "Schedule ABC With No Prices - Job 17.pdf"}));
    for (const QString& name : saved) {
        QFile f(QDir(pdfs.path()).filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
    }
    const Asked done = messages.last();
    QCOMPARE(done.style, vbOKOnly + vbInformation);
    QVERIFY(done.text.contains(QStringLiteral("Financing - Job 17.pdf")));
}

void PrintMenu2Test::noPrinterAnsweredNo()
{
    m_fx->output.answer = report::SystemOutput::noPrinter();
    m_fx->ui.answerMessage(vbNo);
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command3_Click();
    w->Command1_Click();

    QCOMPARE(m_fx->output.calls.size(), 3);
    QCOMPARE(m_fx->ui.asked.size(), 1);
    QCOMPARE(m_fx->ui.lastMessage().text, QStringLiteral("These documents were not printed:\n\n"
                                                         "    Job Quote (No Pricing)\n"
                                                         "    Domestic Terms and Conditions\n"
                                                         "    Financing\n\n"
                                                         "No printer is installed on this computer.\n\n"
                                                         "Do you want to save them as PDF files instead?"));
}

void PrintMenu2Test::exitHidesAndKeepsTheState()
{
    MainMenu* main = Forms::load<MainMenu>();
    main->hide();
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command2_Click();
    w->findChild<QPushButton*>(QStringLiteral("Command5"))->click();
    QVERIFY(!w->isVisible());
    // The main window is not touched.
    QVERIFY(!main->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    main->MnuPrintMultiple_Click();
    QCOMPARE(Forms::loaded<PrintMenu2>(), w);
    QVERIFY(w->isVisible());
    QCOMPARE(jobBox(w)->text(), QStringLiteral("17"));
    QCOMPARE(ticked(w), QStringList({"Check11", "Check1"}));
}

void PrintMenu2Test::titleBarUnloads()
{
    PrintMenu2* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    tick(w, AllBoxes);
    QVERIFY(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Forms::isLoaded<PrintMenu2>());

    PrintMenu2* again = window();
    QVERIFY(jobBox(again)->text().isEmpty());
    QVERIFY(ticked(again).isEmpty());
}

QTEST_MAIN(PrintMenu2Test)
#include "tst_printmenu2.moc"
