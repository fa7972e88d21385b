// Main window entries and shortcuts that open the pick list and the catalog editor.
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpQuoteEntries()
{
    // Not part of this build yet.
    entry(QStringLiteral("MnuCustItems"))->setEnabled(false);
}

void MainMenu::MnuCustItems_Click() {}
void MainMenu::Image3_DblClick() {}
void MainMenu::Label3_Click() {}

} // namespace tv
