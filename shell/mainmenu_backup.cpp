// Main window entry that opens the archive manager.
#include "shell/mainmenu.h"

#include "backup/frmzipcreate.h"
#include "platform/binding.h"

#include <QAction>

namespace tv {

void MainMenu::setUpBackupEntries()
{
    entry(QStringLiteral("mnuFileBackup"))->setEnabled(true);
}

void MainMenu::mnuFileBackup_Click()
{
    // The archive window may replace the database file: this window lets go of it first, for the rest of
    // the run.
    Data1->close(true);
    Forms::load<frmZipCreate>()->showModal();
}

} // namespace tv
