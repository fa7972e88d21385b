// The single-report window: its elements, one print request per button, the preview choice, the job number
// checks, the settings kept between prints, failures told once, and the main window's ways in.
#include "reports/printmenu.h"
#include "reports/printmenu2.h"
#include "shell/mainmenu.h"
#include "tst_printmenu_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <memory>

using namespace tv;
using namespace tv::test;

Q_DECLARE_METATYPE(tv::Pointer)

namespace {

using Handler = void (PrintMenu::*)();

Handler handlerOf(const QString& element)
{
    static const QHash<QString, Handler> handlers{
        {QStringLiteral("Command2"), &PrintMenu::Command2_Click},
        {QStringLiteral("Command7"), &PrintMenu::Command7_Click},
        {QStringLiteral("Command8"), &PrintMenu::Command8_Click},
        {QStringLiteral("Command3"), &PrintMenu::Command3_Click},
        {QStringLiteral("Command4"), &PrintMenu::Command4_Click},
        {QStringLiteral("Command9"), &PrintMenu::Command9_Click},
        {QStringLiteral("Command10"), &PrintMenu::Command10_Click},
        {QStringLiteral("Command11"), &PrintMenu::Command11_Click},
    };
    return handlers.value(element);
}

} // namespace

class PrintMenuTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrintFixture> m_fx;

    PrintMenu* window()
    {
        PrintMenu* w = Forms::load<PrintMenu>();
        w->showModeless();
        return w;
    }
    QLineEdit* jobBox(PrintMenu* w) { return w->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    QCheckBox* previewBox(PrintMenu* w) { return w->findChild<QCheckBox*>(QStringLiteral("SSCheck1")); }
    void press(PrintMenu* w, const QString& element) { (w->*handlerOf(element))(); }

private slots:
    void init() { m_fx = std::make_unique<PrintFixture>(); }
    void cleanup() { m_fx.reset(); }

    void elements_data();
    void elements();
    void freshWindow();
    void eachButtonPrintsItsDocument_data();
    void eachButtonPrintsItsDocument();
    void buttonsAreWired();
    void previewChoiceReadAtEachPress();
    void emptyJobNumber_data();
    void emptyJobNumber();
    void refusedJobNumber_data();
    void refusedJobNumber();
    void simpleTermsFirstPrintsABlankForm();
    void simpleTermsKeepsTheLastFormula();
    void failureToldOnce_data();
    void failureToldOnce();
    void cancelByTheUserIsNotTold();
    void noPrinterOffersAPdf_data();
    void noPrinterOffersAPdf();
    void exitHidesAndKeepsTheState();
    void titleBarUnloads();
    void mainWindowWaysIn_data();
    void mainWindowWaysIn();
    void label4KeepsTheWindowState();
};

void PrintMenuTest::elements_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Frame job") << "Frame1"
                               << "Enter Job ID Number Here";
    QTest::newRow("Frame quotations") << "Frame2"
                                      << "Quotations";
    QTest::newRow("Frame others") << "Frame3"
                                  << "Other Reports";
    QTest::newRow("Frame options") << "Frame4"
                                   << "Report Options";
    QTest::newRow("Command2") << "Command2"
                              << "Job Quote (With Prices)";
    QTest::newRow("Command7") << "Command7"
                              << "Job Quote (No Prices)";
    QTest::newRow("Command8") << "Command8"
                              << "Job Quote (No Totals)";
    QTest::newRow("Command3") << "Command3"
                              << "Proforma Invoice";
    QTest::newRow("Command4") << "Command4"
                              << "Detailed Terms and Conditions";
    QTest::newRow("Command9") << "Command9"
                              << "Scoring Only Terms and Conditions";
    QTest::newRow("Command10") << "Command10"
                               << "Financing";
    QTest::newRow("Command11") << "Command11"
                               << "Simple Terms and Conditions";
    QTest::newRow("SSCheck1") << "SSCheck1"
                              << "Preview &First With Export Options";
    QTest::newRow("Command1") << "Command1"
                              << "E&xit";
}

void PrintMenuTest::elements()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    PrintMenu* w = window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Print Menu"));
    QObject* element = w->findChild<QObject*>(name);
    QVERIFY2(element, qPrintable(name));
    if (auto* frame = qobject_cast<QGroupBox*>(element))
        QCOMPARE(frame->title(), caption);
    else
        QCOMPARE(qobject_cast<QAbstractButton*>(element)->text(), caption);

    // The buttons sit in the frame the window describes.
    static const QStringList quotations{"Command2", "Command7", "Command8"};
    static const QStringList others{"Command3", "Command4", "Command9", "Command10", "Command11"};
    if (quotations.contains(name))
        QCOMPARE(element->parent()->objectName(), QStringLiteral("Frame2"));
    if (others.contains(name))
        QCOMPARE(element->parent()->objectName(), QStringLiteral("Frame3"));
}

void PrintMenuTest::freshWindow()
{
    PrintMenu* w = window();
    QVERIFY(jobBox(w)->text().isEmpty());
    QCOMPARE(jobBox(w)->parent()->objectName(), QStringLiteral("Frame1"));
    QCOMPARE(w->engine().selectionFormula(), QString());
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
    // The job number is the first stop of the tab order, the first print button the next.
    auto nextStop = [](QWidget* from) {
        QWidget* next = from->nextInFocusChain();
        while (next != from && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    QCOMPARE(nextStop(w), jobBox(w));
    QCOMPARE(nextStop(jobBox(w))->objectName(), QStringLiteral("Command2"));
}

void PrintMenuTest::eachButtonPrintsItsDocument_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("onDisk");

    QTest::newRow("Command2") << "Command2"
                              << "\\Schedule ABC With Prices.rpt"
                              << "{Job Items.Recordno}= 17"
                              << "Schedule ABC With Prices.rpt";
    QTest::newRow("Command7") << "Command7"
                              << "\\Schedule ABC With No Prices.rpt"
                              << "{Job Items.Recordno}= 17"
                              << "Schedule ABC With No Prices.rpt";
    QTest::newRow("Command8") << "Command8"
                              << "\\Schedule ABC With Prices & No Totals.rpt"
                              << "{Job Items.Recordno}= 17"
                              << "Schedule ABC With Prices & No Totals.rpt";
    QTest::newRow("Command3") << "Command3"
                              << "\\ProForma.rpt"
                              << "{Job Items.Recordno}= 17"
                              << "ProForma.rpt";
    QTest::newRow("Command4") << "Command4"
                              << "\\Terms & Conditions.rpt"
                              << "{Job Information.AutoNumber}=17"
                              << "Terms & Conditions.rpt";
    QTest::newRow("Command9") << "Command9"
                              << "\\USA Scoring Only Terms & Conditions.rpt"
                              << "{Job Information.AutoNumber}=17"
                              << "USA Scoring Only Terms & Conditions.rpt";
    QTest::newRow("Command10") << "Command10"
                               << "\\Financing.rpt"
                               << "{Job Items.Recordno}= 17"
                               << "Financing.rpt";
}

void PrintMenuTest::eachButtonPrintsItsDocument()
{
    QFETCH(QString, element);
    QFETCH(QString, file);
    QFETCH(QString, formula);
    QFETCH(QString, onDisk);

    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    previewBox(w)->setChecked(true);
    press(w, element);

    QCOMPARE(m_fx->output.calls.size(), 1);
    const RecordingOutput::Call& call = m_fx->output.calls.first();
    QCOMPARE(call.kind, QStringLiteral("preview"));
    QCOMPARE(call.request.reportFileName, m_fx->appFolder() + file);
    QCOMPARE(call.request.selectionFormula, formula);
    QCOMPARE(call.request.destination, 0);
    QCOMPARE(QFileInfo(call.request.reportPath).fileName(), onDisk);
    // The document is the job's own.
    QVERIFY(call.document && call.document->pageCount() > 0);
    QVERIFY2(PrintFixture::documentText(call).contains(PrintFixture::JobName) ||
                 PrintFixture::documentText(call).contains(QStringLiteral("Harbour Leisure Ltd")),
             qPrintable(element));
    QVERIFY(m_fx->ui.messages().isEmpty());
    QCOMPARE(m_fx->ui.pointerHistory.mid(m_fx->ui.pointerHistory.size() - 2),
             QList<Pointer>({Pointer::Hourglass, Pointer::Default}));
}

void PrintMenuTest::buttonsAreWired()
{
    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    previewBox(w)->setChecked(false);
    QStringList expected;
    for (const QString& element :
         {"Command2", "Command7", "Command8", "Command3", "Command4", "Command9", "Command10", "Command11"}) {
        w->button(element)->click();
        expected << w->engine().reportFileName();
    }
    QCOMPARE(m_fx->output.calls.size(), 8);
    QStringList files;
    for (const auto& call : m_fx->output.calls) {
        files << call.request.reportFileName;
        QCOMPARE(call.kind, QStringLiteral("print"));
    }
    QCOMPARE(files, expected);
    QCOMPARE(files.last(),
             m_fx->appFolder() + QStringLiteral("\\USA Upgrade Package Terms & Conditions.rpt"));
}

void PrintMenuTest::previewChoiceReadAtEachPress()
{
    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    for (bool preview : {true, false, true, false}) {
        previewBox(w)->setChecked(preview);
        w->Command10_Click();
    }
    previewBox(w)->setChecked(true);
    w->Command11_Click();
    QStringList kinds;
    QList<int> destinations;
    for (const auto& call : m_fx->output.calls) {
        kinds << call.kind;
        destinations << call.request.destination;
    }
    QCOMPARE(kinds, QStringList({"preview", "print", "preview", "print", "preview"}));
    QCOMPARE(destinations, QList<int>({0, 1, 0, 1, 0}));
}

void PrintMenuTest::emptyJobNumber_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("answer");
    for (const char* element :
         {"Command2", "Command7", "Command8", "Command3", "Command4", "Command9", "Command10"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 Yes").arg(element))) << element << int(vbYes);
        QTest::newRow(qPrintable(QStringLiteral("%1 No").arg(element))) << element << int(vbNo);
    }
}

void PrintMenuTest::emptyJobNumber()
{
    QFETCH(QString, element);
    QFETCH(int, answer);

    PrintMenu* w = window();
    w->activateWindow();
    w->findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus();
    m_fx->ui.answerMessage(answer);
    press(w, element);

    QCOMPARE(m_fx->ui.messages().size(), 1);
    const Asked asked = m_fx->ui.lastMessage();
    QCOMPARE(asked.text, QStringLiteral("Please enter a Job ID Number!"));
    QCOMPARE(asked.title, QStringLiteral("Notice"));
    QCOMPARE(asked.style, 84);
    QVERIFY(m_fx->output.calls.isEmpty());
    QCOMPARE(w->focusWidget(), jobBox(w));
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
    QCOMPARE(w->engine().reportFileName(), QString());
}

void PrintMenuTest::refusedJobNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("element");
    QTest::newRow("blanks only") << "   "
                                 << "Command2";
    QTest::newRow("letters") << "abc"
                             << "Command4";
    QTest::newRow("second condition") << "17 OR 1=1"
                                      << "Command2";
    QTest::newRow("quotes") << "17' OR '1'='1"
                            << "Command9";
    QTest::newRow("statement") << "17; DELETE FROM [Job Items]"
                               << "Command3";
    QTest::newRow("formula") << "17 or {Job Items.Recordno}= 1"
                             << "Command10";
    QTest::newRow("very long") << QString(100000, u'7') << "Command7";
    QTest::newRow("markup") << "<b>17</b>"
                            << "Command8";
}

void PrintMenuTest::refusedJobNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, element);
    const QVariant linesBefore = m_fx->folder.scalar(QStringLiteral("SELECT count(*) FROM [Job Items]"));

    PrintMenu* w = window();
    jobBox(w)->setText(typed);
    press(w, element);

    QCOMPARE(m_fx->ui.messages().size(), 1);
    QCOMPARE(m_fx->ui.lastMessage().title, QStringLiteral("Notice"));
    QCOMPARE(m_fx->ui.lastMessage().style, int(vbExclamation));
    QVERIFY(m_fx->ui.lastMessage().text.contains(QStringLiteral("Job ID Number")));
    // Nothing reached the engine, so nothing reached the database.
    QVERIFY(m_fx->output.calls.isEmpty());
    QCOMPARE(w->engine().selectionFormula(), QString());
    QCOMPARE(m_fx->folder.scalar(QStringLiteral("SELECT count(*) FROM [Job Items]")), linesBefore);
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenuTest::simpleTermsFirstPrintsABlankForm()
{
    PrintMenu* w = window();
    // The job number box is not looked at.
    jobBox(w)->setText(QStringLiteral("not a number"));
    w->Command11_Click();
    QCOMPARE(m_fx->output.calls.size(), 1);
    const auto& call = m_fx->output.calls.first();
    QCOMPARE(call.request.selectionFormula, QString());
    QCOMPARE(call.request.reportFileName,
             m_fx->appFolder() + QStringLiteral("\\USA Upgrade Package Terms & Conditions.rpt"));
    QVERIFY(m_fx->ui.messages().isEmpty());
    // One form, not one for each job of the database.
    QCOMPARE(call.document->pages().last().section, 0);
    const QString text = PrintFixture::documentText(call);
    QVERIFY(!text.contains(PrintFixture::JobName));
    QVERIFY(!text.contains(QStringLiteral("Example Lanes")));
}

void PrintMenuTest::simpleTermsKeepsTheLastFormula()
{
    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command4_Click();
    jobBox(w)->clear();
    w->Command11_Click();

    QCOMPARE(m_fx->output.formulas(),
             QStringList({"{Job Information.AutoNumber}=17", "{Job Information.AutoNumber}=17"}));
    QVERIFY(PrintFixture::documentText(m_fx->output.calls.last()).contains(PrintFixture::JobName));
    QVERIFY(m_fx->ui.messages().isEmpty());
}

void PrintMenuTest::failureToldOnce_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("missingLayout");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing layout") << "Command2"
                                    << "17"
                                    << "Schedule ABC With Prices.rpt"
                                    << "Job Quote (With Prices)"
                                    << "is not in the folder";
    QTest::newRow("missing layout, proforma") << "Command3"
                                              << "17"
                                              << "ProForma.rpt"
                                              << "Proforma Invoice"
                                              << "\"ProForma.rpt\"";
    QTest::newRow("no such job") << "Command4"
                                 << "999"
                                 << ""
                                 << "Detailed Terms and Conditions"
                                 << "There is no job number 999 in the database.";
    QTest::newRow("simple terms missing") << "Command11"
                                          << ""
                                          << "USA Upgrade Package Terms & Conditions.rpt"
                                          << "Simple Terms and Conditions"
                                          << "is not in the folder";
}

void PrintMenuTest::failureToldOnce()
{
    QFETCH(QString, element);
    QFETCH(QString, typed);
    QFETCH(QString, missingLayout);
    QFETCH(QString, caption);
    QFETCH(QString, reason);

    if (!missingLayout.isEmpty())
        m_fx->removeLayout(missingLayout);
    PrintMenu* w = window();
    jobBox(w)->setText(typed);
    m_fx->ui.onNextMessage([this]() { QCOMPARE(m_fx->ui.pointer(), Pointer::Default); });
    press(w, element);

    QVERIFY(m_fx->output.calls.isEmpty());
    QCOMPARE(m_fx->ui.messages().size(), 1);
    const Asked told = m_fx->ui.lastMessage();
    QVERIFY2(told.text.startsWith(QStringLiteral("\"%1\" was not printed.").arg(caption)),
             qPrintable(told.text));
    QVERIFY2(told.text.contains(reason), qPrintable(told.text));
    QCOMPARE(told.style, vbOKOnly + vbExclamation);
    QCOMPARE(told.title, QStringLiteral("Print Menu"));
    QVERIFY(w->isVisible());

    // The window stays usable: the next print goes through.
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command7_Click();
    QCOMPARE(m_fx->output.calls.size(), 1);
    QCOMPARE(m_fx->ui.messages().size(), 1);
}

void PrintMenuTest::cancelByTheUserIsNotTold()
{
    m_fx->output.answer = report::Result::failure(report::ResultCode::Cancelled, QString());
    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command3_Click();
    w->Command11_Click();
    QCOMPARE(m_fx->output.calls.size(), 2);
    QVERIFY(m_fx->ui.messages().isEmpty());
    QCOMPARE(m_fx->ui.pointer(), Pointer::Default);
}

void PrintMenuTest::noPrinterOffersAPdf_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(vbYes);
    QTest::newRow("No") << int(vbNo);
}

void PrintMenuTest::noPrinterOffersAPdf()
{
    QFETCH(int, answer);
    m_fx->output.answer = report::SystemOutput::noPrinter();
    const QString pdf = QDir(m_fx->appFolder()).filePath(QStringLiteral("quote seventeen"));
    m_fx->ui.answerMessage(answer);
    m_fx->ui.answerFile(pdf);

    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    previewBox(w)->setChecked(false);
    w->Command2_Click();

    QCOMPARE(m_fx->ui.messages().size(), 1);
    const Asked asked = m_fx->ui.lastMessage();
    QCOMPARE(asked.style, vbYesNo + vbExclamation);
    QVERIFY(asked.text.startsWith(QStringLiteral("\"Job Quote (With Prices)\" was not printed.")));
    QVERIFY(asked.text.contains(QStringLiteral("No printer is installed on this computer.")));
    QVERIFY(asked.text.contains(QStringLiteral("PDF file")));

    QFile written(pdf + QStringLiteral(".pdf"));
    QCOMPARE(written.exists(), answer == vbYes);
    if (answer == vbYes) {
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.read(5) == "%PDF-");
        // The file dialog started from the document's own name.
        const Asked save = m_fx->ui.asked.last();
        QCOMPARE(save.kind, QStringLiteral("save"));
        QVERIFY2(save.extra.contains(QStringLiteral("Job 17")), qPrintable(save.extra));
    }
    // The engine still holds the request as the user made it.
    QCOMPARE(w->engine().selectionFormula(), QStringLiteral("{Job Items.Recordno}= 17"));
    QCOMPARE(w->engine().reportFileName(),
             m_fx->appFolder() + QStringLiteral("\\Schedule ABC With Prices.rpt"));
}

void PrintMenuTest::exitHidesAndKeepsTheState()
{
    MainMenu* main = Forms::load<MainMenu>();
    main->hide();
    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    previewBox(w)->setChecked(false);
    w->Command4_Click();

    w->Command1_Click();
    QVERIFY(!w->isVisible());
    QVERIFY(main->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(Forms::loaded<PrintMenu>(), w);

    main->MnuSingleReport_Click();
    QCOMPARE(Forms::loaded<PrintMenu>(), w);
    QVERIFY(w->isVisible());
    QCOMPARE(jobBox(w)->text(), QStringLiteral("17"));
    QVERIFY(!previewBox(w)->isChecked());
    QCOMPARE(w->engine().selectionFormula(), QStringLiteral("{Job Information.AutoNumber}=17"));
    w->Command11_Click();
    QCOMPARE(m_fx->output.formulas().last(), QStringLiteral("{Job Information.AutoNumber}=17"));
}

void PrintMenuTest::titleBarUnloads()
{
    MainMenu* main = Forms::load<MainMenu>();
    main->hide();
    PrintMenu* w = window();
    jobBox(w)->setText(QStringLiteral("17"));
    w->Command4_Click();
    QVERIFY(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Forms::isLoaded<PrintMenu>());
    QVERIFY(main->isVisible());

    PrintMenu* again = window();
    QVERIFY(jobBox(again)->text().isEmpty());
    QCOMPARE(again->engine().selectionFormula(), QString());
    again->Command11_Click();
    QCOMPARE(m_fx->output.formulas().last(), QString());
}

void PrintMenuTest::mainWindowWaysIn_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("normal");
    QTest::addColumn<Pointer>("pointerAfter");

    QTest::newRow("Single Reports, minimized")
        << "MnuSingleReport" << false << int(Qt::WindowMinimized) << true << Pointer::Default;
    QTest::newRow("Single Reports, maximized")
        << "MnuSingleReport" << false << int(Qt::WindowMaximized) << true << Pointer::Default;
    QTest::newRow("Multiple Reports, maximized")
        << "MnuPrintMultiple" << true << int(Qt::WindowMaximized) << true << Pointer::Default;
    QTest::newRow("Image2, maximized")
        << "Image2" << false << int(Qt::WindowMaximized) << true << Pointer::Default;
    QTest::newRow("Label4, maximized")
        << "Label4" << false << int(Qt::WindowMaximized) << false << Pointer::Arrow;
}

void PrintMenuTest::mainWindowWaysIn()
{
    QFETCH(QString, way);
    QFETCH(bool, multiple);
    QFETCH(int, before);
    QFETCH(bool, normal);
    QFETCH(Pointer, pointerAfter);

    MainMenu* main = Forms::load<MainMenu>();
    main->showModeless();
    QVERIFY(main->entry(QStringLiteral("MnuSingleReport"))->isEnabled());
    QVERIFY(main->entry(QStringLiteral("MnuPrintMultiple"))->isEnabled());

    Form* target = multiple ? static_cast<Form*>(Forms::load<PrintMenu2>()) : Forms::load<PrintMenu>();
    target->setWindowState(Qt::WindowStates(before));
    target->show();

    m_fx->ui.pointerHistory.clear();
    if (way == u"MnuSingleReport" || way == u"MnuPrintMultiple")
        main->entry(way)->trigger();
    else if (way == u"Image2")
        main->Image2_DblClick();
    else
        main->Label4_Click();

    QVERIFY(target->isVisible());
    QCOMPARE(bool(target->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)), !normal);
    QVERIFY(main->isVisible());
    QCOMPARE(m_fx->ui.pointerHistory, QList<Pointer>({Pointer::Hourglass, pointerAfter}));
}

void PrintMenuTest::label4KeepsTheWindowState()
{
    MainMenu* main = Forms::load<MainMenu>();
    main->showModeless();
    main->Label4_Click();
    PrintMenu* w = Forms::loaded<PrintMenu>();
    QVERIFY(w && w->isVisible());
    w->setWindowState(Qt::WindowMinimized);
    main->Label4_Click();
    QVERIFY(w->windowState() & Qt::WindowMinimized);
    QCOMPARE(Forms::loaded<PrintMenu>(), w);
}

QTEST_MAIN(PrintMenuTest)
#include "tst_printmenu.moc"
