// The seller's logo: chosen from a picture file, stored in the database, shown again after a restart.
#include "platform/binding.h"
#include "shell/application.h"
#include "shell/mainmenu.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <memory>

using namespace tv;
using namespace tv::test;

class LogoTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> m_folder;
    std::unique_ptr<ScriptedInteractive> m_ui;
    QTemporaryDir m_pictures;

    QString picture(const QString& name, const char* format, QSize size) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(20, 60, 140));
        QPainter painter(&image);
        painter.fillRect(QRect(QPoint(4, 4), size / 2), Qt::yellow);
        painter.end();
        const QString path = m_pictures.filePath(name);
        if (!image.save(path, format))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString file(const QString& name, const QByteArray& content) const
    {
        const QString path = m_pictures.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(content);
        return path;
    }
    QByteArray storedLogo() const { return m_folder->scalar("SELECT [Logo] FROM [LogoData]").toByteArray(); }
    static QLabel* logoOf(MainMenu* main) { return main->findChild<QLabel*>("Image1"); }
    static QSize shownSize(MainMenu* main)
    {
        const QPixmap pixmap = logoOf(main)->pixmap();
        return pixmap.isNull() ? QSize() : pixmap.size();
    }
    // Ends the run and starts the program again on the same folder.
    MainMenu* restart()
    {
        mainMenu()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (Forms::isLoaded<MainMenu>())
            qFatal("the main window is still loaded");
        MainMenu* main = mainMenu();
        main->showModeless();
        return main;
    }

private slots:
    void init();
    void cleanup();

    void chosenLogoShowsAtOnceAndAfterARestart_data();
    void chosenLogoShowsAtOnceAndAfterARestart();
    void cancelledDialogChangesNothing();
    void fileThatIsNoPictureChangesNothing_data();
    void fileThatIsNoPictureChangesNothing();
    void closedBindingAsksForARestart_data();
    void closedBindingAsksForARestart();
};

void LogoTest::init()
{
    m_folder = std::make_unique<AppFolder>();
    m_ui = std::make_unique<ScriptedInteractive>();
}

void LogoTest::cleanup()
{
    Forms::forceUnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    closeLeftoverWindows();
    m_ui.reset();
    m_folder.reset();
}

void LogoTest::chosenLogoShowsAtOnceAndAfterARestart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("shown"); // a large picture shows scaled down to fit above the shortcuts
    QTest::newRow("png") << "logo.png" << QByteArray("PNG") << QSize(160, 60) << QSize(160, 60);
    QTest::newRow("jpeg") << "logo.jpg" << QByteArray("JPG") << QSize(120, 90) << QSize(120, 90);
    QTest::newRow("bitmap") << "LOGO.BMP" << QByteArray("BMP") << QSize(64, 32) << QSize(64, 32);
    QTest::newRow("no extension") << "logo" << QByteArray("PNG") << QSize(48, 48) << QSize(48, 48);
    QTest::newRow("large and wide") << "wide.png" << QByteArray("PNG") << QSize(2240, 400) << QSize(560, 100);
    QTest::newRow("large and tall") << "tall.png" << QByteArray("PNG") << QSize(700, 1400) << QSize(70, 140);
}

void LogoTest::chosenLogoShowsAtOnceAndAfterARestart()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(QSize, shown);
    const QString path = picture(name, format.constData(), size);
    QFile source(path);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();

    MainMenu* main = mainMenu();
    main->showModeless();
    m_ui->answerFile(path);
    main->entry("MnuLogo")->trigger();

    QCOMPARE(m_ui->asked.size(), 1);
    QCOMPARE(m_ui->asked.first().kind, QStringLiteral("open"));
    QVERIFY(m_ui->asked.first().extra.contains(QStringLiteral("*.png")));
    QCOMPARE(shownSize(main), shown);
    // The picture itself is stored, not its path: the file may go away.
    QCOMPARE(storedLogo(), bytes);
    QVERIFY(QFile::remove(path));

    MainMenu* again = restart();
    QVERIFY(again != nullptr);
    QCOMPARE(shownSize(again), shown);
    QCOMPARE(m_folder->scalar("SELECT count(*) FROM [LogoData]").toInt(), 1);
}

void LogoTest::cancelledDialogChangesNothing()
{
    const QString first = picture("first.png", "PNG", QSize(30, 20));
    MainMenu* main = mainMenu();
    m_ui->answerFile(first);
    main->MnuLogo_Click();
    const QByteArray stored = storedLogo();
    QVERIFY(!stored.isEmpty());

    // A cancel answers with no file: neither the earlier name nor an empty logo is taken.
    main->MnuLogo_Click();
    QCOMPARE(m_ui->asked.size(), 2);
    QCOMPARE(storedLogo(), stored);
    QCOMPARE(shownSize(main), QSize(30, 20));
    QVERIFY(m_ui->messages().isEmpty());
}

void LogoTest::fileThatIsNoPictureChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("cut-off picture") << "truncated";
    QTest::newRow("picture name, text inside") << "disguised";
    QTest::newRow("file gone") << "missing";
}

void LogoTest::fileThatIsNoPictureChangesNothing()
{
    QFETCH(QString, kind);
    MainMenu* main = mainMenu();
    m_ui->answerFile(picture("kept.png", "PNG", QSize(40, 40)));
    main->MnuLogo_Click();
    const QByteArray stored = storedLogo();

    QString path;
    if (kind == u"text")
        path = file("notes.txt", "Quotation notes, not a picture\n");
    else if (kind == u"empty")
        path = file("empty.png", {});
    else if (kind == u"truncated") {
        QFile whole(picture("whole.png", "PNG", QSize(200, 200)));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        path = file("cut.png", whole.read(40));
    } else if (kind == u"disguised")
        path = file("logo.jpg", "plain text in a picture's name");
    else
        path = m_pictures.filePath("gone.png");

    m_ui->answerFile(path);
    main->MnuLogo_Click();

    QCOMPARE(m_ui->messages().size(), 1);
    const Asked message = m_ui->lastMessage();
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
    QVERIFY(message.text.contains(QStringLiteral("not changed")));
    QCOMPARE(message.style & 112, int(vbExclamation));
    QCOMPARE(storedLogo(), stored);
    QCOMPARE(shownSize(main), QSize(40, 40));
}

void LogoTest::closedBindingAsksForARestart_data()
{
    QTest::addColumn<QString>("closedBy");
    QTest::newRow("compress") << "MnuFileCompress";
    QTest::newRow("backup") << "backup";
}

void LogoTest::closedBindingAsksForARestart()
{
    QFETCH(QString, closedBy);
    MainMenu* main = mainMenu();
    const QByteArray stored = storedLogo();
    if (closedBy == u"backup")
        main->logoBinding()->close(true); // what "Backup / Restore" does first
    else
        main->MnuFileCompress_Click();
    QVERIFY(!main->logoBinding()->isOpen());
    m_ui->asked.clear();
    m_ui->answerFile(picture("late.png", "PNG", QSize(10, 10)));

    main->MnuLogo_Click();

    // Told before any file is asked for, and nothing changes.
    QCOMPARE(m_ui->asked.size(), 1);
    QCOMPARE(m_ui->asked.first().kind, QStringLiteral("msgbox"));
    QVERIFY2(m_ui->asked.first().text.contains(QStringLiteral("restart")),
             qPrintable(m_ui->asked.first().text));
    QCOMPARE(storedLogo(), stored);
    QVERIFY(!main->logoBinding()->isOpen());
}

QTEST_MAIN(LogoTest)
#include "tst_logo.moc"
