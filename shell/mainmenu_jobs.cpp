// Main window entries and shortcuts that open the job information sheet and the quoted items editor.
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpJobsEntries()
{
    // Not part of this build yet.
    entry(QStringLiteral("MnuJobInformation"))->setEnabled(false);
    entry(QStringLiteral("MnuModifyItems"))->setEnabled(false);
}

void MainMenu::MnuJobInformation_Click() {}
void MainMenu::MnuModifyItems_Click() {}
void MainMenu::Image4_DblClick() {}
void MainMenu::Label2_Click() {}

} // namespace tv
