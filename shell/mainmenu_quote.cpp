// Main window entries and shortcuts that open the pick list and the catalog editor.
#include "platform/interactive.h"
#include "quote/picklist.h"
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpQuoteEntries()
{
    // The catalog editor is not part of this build yet.
    entry(QStringLiteral("MnuCustItems"))->setEnabled(false);
}

void MainMenu::MnuCustItems_Click() {}

void MainMenu::Image3_DblClick()
{
    setPointer(Pointer::Hourglass);
    const bool wasLoaded = Forms::isLoaded<PickList5>();
    Forms::load<PickList5>()->showModeless();
    // A freshly loaded pick list sets the pointer itself.
    if (wasLoaded)
        setPointer(Pointer::Arrow);
}

void MainMenu::Label3_Click()
{
    setPointer(Pointer::Hourglass);
    Forms::load<PickList5>()->showModeless();
    setPointer(Pointer::Arrow);
}

} // namespace tv
