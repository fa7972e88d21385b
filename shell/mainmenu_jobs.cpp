// Main window entries and shortcuts that open the job information sheet and the quoted items editor.
#include "shell/mainmenu.h"

#include "jobs/databases.h"
#include "jobs/jobinformationsheet.h"
#include "platform/interactive.h"

#include <QAction>

namespace tv {

void MainMenu::setUpJobsEntries()
{
    entry(QStringLiteral("MnuJobInformation"))->setEnabled(true);
    entry(QStringLiteral("MnuModifyItems"))->setEnabled(true);
}

void MainMenu::MnuJobInformation_Click()
{
    setPointer(Pointer::Hourglass);
    hide();
    Forms::load<JobInformationSheet>()->showModeless();
    setPointer(Pointer::Default);
}

void MainMenu::MnuModifyItems_Click()
{
    setPointer(Pointer::Hourglass);
    Forms::load<Databases>()->showModeless();
    setPointer(Pointer::Default);
}

void MainMenu::Image4_DblClick()
{
    // The sheet puts the pointer back itself when it paints.
    setPointer(Pointer::Hourglass);
    Forms::load<JobInformationSheet>()->showModeless();
}

void MainMenu::Label2_Click()
{
    setPointer(Pointer::Hourglass);
    Forms::load<JobInformationSheet>()->showModeless();
    setPointer(Pointer::Arrow);
}

} // namespace tv
