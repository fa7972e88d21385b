// The program's own start-up, up to the first paint of its main window.
#include "painted.h"
#include "platform/interactive.h"
#include "shell/application.h"
#include "shell/mainmenu.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tv::platform::setAppFolder(QStringLiteral(TARVENOR_APP_DIR));
    FirstPaint watch;
    tv::MainMenu* main = tv::startApplication();
    main->installEventFilter(&watch);
    return app.exec();
}
