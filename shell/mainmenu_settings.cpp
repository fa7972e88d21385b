// Main window entries and shortcuts that open company settings, terms lists, compaction, logo and about box.
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpSettingsEntries()
{
    // Not part of this build yet.
    entry(QStringLiteral("MnuYourInformation"))->setEnabled(false);
    entry(QStringLiteral("MnuFinance"))->setEnabled(false);
    entry(QStringLiteral("MnuPaymentTerms"))->setEnabled(false);
    entry(QStringLiteral("MnuShipmentTerms"))->setEnabled(false);
    entry(QStringLiteral("MnuFileCompress"))->setEnabled(false);
    entry(QStringLiteral("MnuLogo"))->setEnabled(false);
    entry(QStringLiteral("MenuHelpAbout"))->setEnabled(false);
}

void MainMenu::MnuYourInformation_Click() {}
void MainMenu::MnuFinance_Click() {}
void MainMenu::MnuPaymentTerms_Click() {}
void MainMenu::MnuShipmentTerms_Click() {}
void MainMenu::MnuFileCompress_Click() {}
void MainMenu::MnuLogo_Click() {}
void MainMenu::MenuHelpAbout_Click() {}

} // namespace tv
