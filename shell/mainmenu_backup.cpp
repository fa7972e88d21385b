// Main window entries and shortcuts that open the archive manager.
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpBackupEntries()
{
    // Not part of this build yet.
    entry(QStringLiteral("mnuFileBackup"))->setEnabled(false);
}

void MainMenu::mnuFileBackup_Click() {}

} // namespace tv
