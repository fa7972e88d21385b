// Main window entries and shortcuts that open the print windows.
#include "shell/mainmenu.h"

#include "platform/interactive.h"
#include "reports/printmenu.h"
#include "reports/printmenu2.h"
#include "reports/report_preview.h"

#include <QAction>
#include <typeinfo>

namespace tv {

namespace {

// Restores a minimized or maximized window before it is shown.
void showInNormalState(Form* window)
{
    window->setWindowState(window->windowState() &
                           ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    window->showModeless();
}

} // namespace

void MainMenu::setUpReportsEntries()
{
    entry(QStringLiteral("MnuPrintMultiple"))->setEnabled(true);
    entry(QStringLiteral("MnuSingleReport"))->setEnabled(true);
    // Reports sent to the window open in the preview; an output installed before (a test's) stays.
    if (typeid(*report::ReportEngine::defaultOutput()) == typeid(report::SystemOutput))
        reports::installReportPreview();
}

void MainMenu::MnuPrintMultiple_Click()
{
    setPointer(Pointer::Hourglass);
    showInNormalState(Forms::load<PrintMenu2>());
    setPointer(Pointer::Default);
}

void MainMenu::MnuSingleReport_Click()
{
    setPointer(Pointer::Hourglass);
    showInNormalState(Forms::load<PrintMenu>());
    setPointer(Pointer::Default);
}

void MainMenu::Image2_DblClick()
{
    setPointer(Pointer::Hourglass);
    showInNormalState(Forms::load<PrintMenu>());
    setPointer(Pointer::Default);
}

void MainMenu::Label4_Click()
{
    setPointer(Pointer::Hourglass);
    // Shown as it is: a minimized print menu stays minimized.
    PrintMenu* window = Forms::load<PrintMenu>();
    window->show();
    window->raise();
    window->activateWindow();
    setPointer(Pointer::Arrow);
}

} // namespace tv
