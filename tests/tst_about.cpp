// The about box: the application's title and the version line of the running program.
#include "shell/about.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"
#include "version.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <memory>

using namespace tv;
using namespace tv::test;

class AboutTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;

private slots:
    void init();
    void cleanup();
    void versionLine_data();
    void versionLine();
    void showsTheRunningVersion();
    void opensModallyFromTheHelpMenu();
};

void AboutTest::init()
{
    m_folder = std::make_unique<AppFolder>();
    m_ui = std::make_unique<ScriptedInteractive>();
}

void AboutTest::cleanup()
{
    Forms::forceUnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    closeLeftoverWindows();
    m_ui.reset();
    m_folder.reset();
}

void AboutTest::versionLine_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("line");
    QTest::newRow("4.0.20") << 4 << 0 << 20 << "Version 4.0.20";
    QTest::newRow("no leading zeros") << 1 << 2 << 3 << "Version 1.2.3";
    QTest::newRow("two digits each") << 10 << 11 << 12 << "Version 10.11.12";
    QTest::newRow("zeros") << 0 << 0 << 0 << "Version 0.0.0";
}

void AboutTest::versionLine()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, line);
    QCOMPARE(About::versionLine(major, minor, revision), line);
}

void AboutTest::showsTheRunningVersion()
{
    auto* about = Forms::load<About>();
    QCOMPARE(about->windowTitle(), QStringLiteral("Tarvenor"));
    const QString expected = QStringLiteral("Version %1.%2.%3")
                                 .arg(QString::number(VersionMajor), QString::number(VersionMinor),
                                      QString::number(VersionRevision));
    QCOMPARE(about->findChild<QLabel*>("Label4")->text(), expected);
    // The maker's lines are filled in.
    for (const char* name : {"Label1", "Label2", "Label3", "Label5", "Label6"}) {
        auto* label = about->findChild<QLabel*>(name);
        QVERIFY2(label && !label->text().isEmpty(), name);
    }
}

void AboutTest::opensModallyFromTheHelpMenu()
{
    MainMenu* main = mainMenu();
    main->showModeless();
    bool wasModal = false;
    QString line;
    whenModal([&](QWidget* modal) {
        auto* about = qobject_cast<About*>(modal);
        wasModal = about && about->isShownModal();
        if (about)
            line = about->findChild<QLabel*>("Label4")->text();
        modal->close();
    });
    main->entry("MenuHelpAbout")->trigger();
    QVERIFY(wasModal);
    QCOMPARE(line, About::versionLine());
    QVERIFY(!Forms::isLoaded<About>());
    QVERIFY(m_ui->pointerHistory.isEmpty());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
