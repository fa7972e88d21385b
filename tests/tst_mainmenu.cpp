// The main window: its menus, clock, date panel, logo and how it ends the program.
#include "platform/binding.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

using namespace tv;
using namespace tv::test;

namespace {

// A window whose unload check always refuses, like a job sheet with empty sections.
class StubbornForm : public Form
{
public:
    int checks = 0;

protected:
    bool Form_Unload() override
    {
        ++checks;
        return false;
    }
};

QByteArray pngBytes(QColor colour)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class MainMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void menuEntries_data();
    void menuEntries();
    void separatorAndEditingFlag();
    void clockPanels_data();
    void clockPanels();
    void datePanelWidth();
    void surfaceTexts_data();
    void surfaceTexts();
    void showsStoredLogo();
    void missingDatabaseIsReportedAndWindowOpens();
    void exitClosesOtherWindowsWithoutTheirChecks();
    void atStartDataOpensRightAfterFirstPaint();
};

void MainMenuTest::cleanup()
{
    Forms::forceUnloadAll();
    QTest::qWait(0);
    QCOMPARE(closeLeftoverWindows(), 0);
}

void MainMenuTest::menuEntries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("caption");
    QTest::newRow("compress") << "MnuFile"
                              << "&File"
                              << "MnuFileCompress"
                              << "&Compress";
    QTest::newRow("backup") << "MnuFile"
                            << "&File"
                            << "mnuFileBackup"
                            << "Backup / Restore";
    QTest::newRow("exit") << "MnuFile"
                          << "&File"
                          << "MnuExit"
                          << "E&xit";
    QTest::newRow("your information") << "MnuModify"
                                      << "&Modify"
                                      << "MnuYourInformation"
                                      << "&Your Information";
    QTest::newRow("job information") << "MnuModify"
                                     << "&Modify"
                                     << "MnuJobInformation"
                                     << "&Job Information";
    QTest::newRow("finance") << "MnuModify"
                             << "&Modify"
                             << "MnuFinance"
                             << "&Finance Factors";
    QTest::newRow("logo") << "MnuModify"
                          << "&Modify"
                          << "MnuLogo"
                          << "&Logo";
    QTest::newRow("payment") << "MnuModify"
                             << "&Modify"
                             << "MnuPaymentTerms"
                             << "&Payment Terms";
    QTest::newRow("shipment") << "MnuModify"
                              << "&Modify"
                              << "MnuShipmentTerms"
                              << "&Shipment Terms";
    QTest::newRow("custom items") << "MnuModify"
                                  << "&Modify"
                                  << "MnuCustItems"
                                  << "C&ustom Items";
    QTest::newRow("quoted items") << "MnuModify"
                                  << "&Modify"
                                  << "MnuModifyItems"
                                  << "&Quoted Job Items";
    QTest::newRow("multiple") << "MenuPrintMenu"
                              << "&Print"
                              << "MnuPrintMultiple"
                              << "Multiple Reports";
    QTest::newRow("single") << "MenuPrintMenu"
                            << "&Print"
                            << "MnuSingleReport"
                            << "Single Reports";
    QTest::newRow("help") << "HelpMenu"
                          << "&Help"
                          << "HelpMenuHelp"
                          << "&Help";
    QTest::newRow("about") << "HelpMenu"
                           << "&Help"
                           << "MenuHelpAbout"
                           << "&About";
}

void MainMenuTest::menuEntries()
{
    QFETCH(QString, menu);
    QFETCH(QString, menuCaption);
    QFETCH(QString, entry);
    QFETCH(QString, caption);
    ScriptedInteractive ui;
    AppFolder folder;
    MainMenu* main = mainMenu();
    auto* m = main->findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), menuCaption);
    QAction* action = main->entry(entry);
    QVERIFY(action);
    QCOMPARE(action->objectName(), entry);
    QCOMPARE(action->text(), caption);
    QVERIFY(m->actions().contains(action));
}

void MainMenuTest::separatorAndEditingFlag()
{
    ScriptedInteractive ui;
    AppFolder folder;
    MainMenu* main = mainMenu();
    const QList<QAction*> modify = main->findChild<QMenu*>("MnuModify")->actions();
    QStringList order;
    for (QAction* a : modify)
        order << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(order,
             (QStringList{"MnuYourInformation", "MnuJobInformation", "MnuFinance", "MnuLogo",
                          "MnuPaymentTerms", "MnuShipmentTerms", "-", "MnuCustItems", "MnuModifyItems"}));
    QVERIFY(!main->editingFlag());
    main->setEditingFlag(true);
    QVERIFY(main->entry("MnuCustItems")->isChecked());
    main->setEditingFlag(false);
    QVERIFY(!main->editingFlag());
}

void MainMenuTest::clockPanels_data()
{
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("time");
    QTest::newRow("afternoon, one-digit hour") << QDateTime(QDate(2026, 12, 9), QTime(15, 7)) << "3:07 PM";
    QTest::newRow("just after midnight") << QDateTime(QDate(2026, 1, 1), QTime(0, 5)) << "12:05 AM";
    QTest::newRow("noon") << QDateTime(QDate(2026, 6, 30), QTime(12, 0)) << "12:00 PM";
    QTest::newRow("two-digit hour") << QDateTime(QDate(2026, 3, 4), QTime(10, 59)) << "10:59 AM";
}

void MainMenuTest::clockPanels()
{
    QFETCH(QDateTime, at);
    QFETCH(QString, time);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ScriptedInteractive ui;
    AppFolder folder;
    FixedClock clock(at);
    platform::setClock(&clock);
    MainMenu* main = mainMenu();
    main->Timer1_Timer();
    QCOMPARE(main->findChild<QLabel*>("Panel1")->text(), time);
    QCOMPARE(main->findChild<QLabel*>("Panel2")->text(), QLocale().toString(at.date(), QLocale::LongFormat));
    QCOMPARE(main->findChild<QTimer*>("Timer1")->interval(), 3);
    platform::setClock(nullptr);
}

void MainMenuTest::datePanelWidth()
{
    ScriptedInteractive ui;
    AppFolder folder;
    MainMenu* main = mainMenu();
    main->show();
    auto* panel = main->findChild<QLabel*>("Panel2");
    QCOMPARE(main->pixelsToTwipsX(panel->width()), 3000);
    main->showMaximized();
    QTRY_COMPARE(qAbs(main->pixelsToTwipsX(panel->width()) - 4000) <= 15, true);
    main->showNormal();
    QTRY_COMPARE(main->pixelsToTwipsX(panel->width()), 3000);
}

void MainMenuTest::surfaceTexts_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    QTest::newRow("Label2") << "Label2"
                            << "Customer Information "
                            << "\"Click\" here or on the Handshake to Modify or Add a New Job";
    QTest::newRow("Label3") << "Label3"
                            << "Check List "
                            << "\"Click\" here or on the Check List  to Select Items for a Quote";
    QTest::newRow("Label4") << "Label4"
                            << "Print Menu "
                            << "\"Click\" here or on the Printer to Print a Quote";
    QTest::newRow("Label5") << "Label5"
                            << "Finished Quote"
                            << "";
    QTest::newRow("Label6") << "Label6"
                            << "+"
                            << "";
    QTest::newRow("Label7") << "Label7"
                            << "+"
                            << "";
    QTest::newRow("Label8") << "Label8"
                            << "="
                            << "";
    QTest::newRow("Image4") << "Image4"
                            << ""
                            << "Click here to modify the customer information";
    QTest::newRow("Image3") << "Image3"
                            << ""
                            << "Click here to add items to the quotation";
    QTest::newRow("Image2") << "Image2"
                            << ""
                            << "Click here to open the print menu";
}

void MainMenuTest::surfaceTexts()
{
    QFETCH(QString, element);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    ScriptedInteractive ui;
    AppFolder folder;
    auto* label = mainMenu()->findChild<QLabel*>(element);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->toolTip(), tip);
    if (element.startsWith(u"Image"))
        QVERIFY(!label->pixmap().isNull());
}

void MainMenuTest::showsStoredLogo()
{
    ScriptedInteractive ui;
    AppFolder folder;
    {
        auto c = db::openConnection(folder.databasePath(), "test");
        QSqlQuery q(c->database());
        q.prepare("UPDATE LogoData SET Logo = ?");
        q.addBindValue(pngBytes(Qt::red));
        QVERIFY(q.exec());
    }
    MainMenu* main = mainMenu();
    auto* logo = main->findChild<QLabel*>("Image1");
    QCOMPARE(logo->pixmap().size(), QSize(40, 20));
    QCOMPARE(logo->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
    QVERIFY(ui.messages().isEmpty());
}

void MainMenuTest::missingDatabaseIsReportedAndWindowOpens()
{
    ScriptedInteractive ui;
    AppFolder folder(false);
    prepareDatabaseFile();
    MainMenu* main = mainMenu();
    main->show();
    QVERIFY(main->isVisible());
    QCOMPARE(ui.messages().size(), 1);
    QVERIFY(ui.lastMessage().text.contains(folder.databasePath()));
    QCOMPARE(ui.lastMessage().style & 112, int(vbCritical));
    QVERIFY(main->findChild<QLabel*>("Image1")->pixmap().isNull());
    QVERIFY(!QFile::exists(folder.databasePath()));
}

void MainMenuTest::exitClosesOtherWindowsWithoutTheirChecks()
{
    ScriptedInteractive ui;
    AppFolder folder;
    MainMenu* main = mainMenu();
    main->show();
    auto* other = Forms::load<StubbornForm>();
    other->show();
    QPointer<StubbornForm> watch(other);
    QSignalSpy ended(main, &Form::unloaded);
    main->MnuExit_Click();
    QCOMPARE(ended.size(), 1);
    QTRY_VERIFY(watch.isNull());
    QVERIFY(!Forms::isLoaded<MainMenu>());
}

void MainMenuTest::atStartDataOpensRightAfterFirstPaint()
{
    ScriptedInteractive ui;
    AppFolder folder;
    int prepared = 0;
    bool openBeforePreparation = false;
    MainMenu::openDataAfterFirstPaint([&]() {
        ++prepared;
        openBeforePreparation = Forms::loaded<MainMenu>()->logoBinding()->isOpen();
    });
    MainMenu* main = mainMenu();
    QVERIFY(!main->logoBinding()->isOpen());
    QCOMPARE(prepared, 0);
    main->show();
    QTRY_VERIFY(main->logoBinding()->isOpen());
    QCOMPARE(prepared, 1);
    QVERIFY(!openBeforePreparation);
    QVERIFY(ui.messages().isEmpty());
}

QTEST_MAIN(MainMenuTest)
#include "tst_mainmenu.moc"
