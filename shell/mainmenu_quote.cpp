// Main window entries and shortcuts that open the pick list and the catalog editor.
#include "catalog/customitems.h"
#include "platform/interactive.h"
#include "quote/picklist.h"
#include "shell/mainmenu.h"

#include <QAction>

namespace tv {

void MainMenu::setUpQuoteEntries() {}

void MainMenu::MnuCustItems_Click()
{
    setPointer(Pointer::Hourglass);
    // The editing flag: the catalog editor disables its quote buttons and returns here when it closes.
    setEditingFlag(true);
    CustomItems::loadPage(0)->showModal();
    setPointer(Pointer::Default);
}

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
