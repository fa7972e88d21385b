// The reference: a bare Qt main window with a menu bar and a status bar.
#include "painted.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(760, 480);
    FirstPaint watch;
    window.installEventFilter(&watch);
    window.show();
    return app.exec();
}
