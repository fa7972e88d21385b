#include "shell/application.h"

#include "database/connection.h"
#include "database/schema.h"
#include "platform/interactive.h"
#include "shell/artwork.h"
#include "shell/jetimport.h"
#include "shell/mainmenu.h"

#include <QApplication>
#include <QFileInfo>

namespace tv {

void prepareDatabaseFile()
{
    const QString path = platform::databasePath();
    if (!QFileInfo::exists(path))
        return;
    // A file in the Access format is converted first, or left alone for the bindings to report.
    const jet::StartOutcome access = jet::offerConversion(path);
    if (access != jet::StartOutcome::NotJet && access != jet::StartOutcome::Converted)
        return;
    QString error;
    const auto connection = db::openConnection(path, QStringLiteral("Start-up"), &error);
    if (!connection)
        return; // the bindings report an unreadable file with the engine's words
    if (db::schema::currentVersion(connection->database()) >= db::schema::latestVersion())
        return;
    if (!db::schema::upgrade(connection->database(), &error))
        msgBox(QStringLiteral("The database file %1 could not be brought up to date:\n%2").arg(path, error),
               vbCritical);
}

MainMenu* mainMenu()
{
    return Forms::load<MainMenu>();
}

MainMenu* startApplication()
{
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    QApplication::setWindowIcon(artwork::applicationIcon());
    QApplication::setQuitOnLastWindowClosed(false);

    // The database file is looked at (and converted or brought up to date) once the window shows, before its
    // binding opens.
    MainMenu::openDataAfterFirstPaint(&prepareDatabaseFile);
    MainMenu* main = mainMenu();
    // Closing the main window ends the program.
    QObject::connect(main, &Form::unloaded, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    main->show();
    return main;
}

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    startApplication();
    return app.exec();
}

} // namespace tv
