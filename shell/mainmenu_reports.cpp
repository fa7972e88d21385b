// Main window entries and shortcuts that open the print windows.
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpReportsEntries()
{
    // Not part of this build yet.
    entry(QStringLiteral("MnuPrintMultiple"))->setEnabled(false);
    entry(QStringLiteral("MnuSingleReport"))->setEnabled(false);
}

void MainMenu::MnuPrintMultiple_Click() {}
void MainMenu::MnuSingleReport_Click() {}
void MainMenu::Image2_DblClick() {}
void MainMenu::Label4_Click() {}

} // namespace tv
