#pragma once

#include "platform/form.h"

#include <QList>

namespace tv {

class Binding;
class SlotPage;
class TabStrip;

// The catalog editor: one page of 20 item slots, one tab each. CustomItems shows slots 1 to 20, CustomItems1
// slots 21 to 40; both are this class with the page as parameter. Opened from the main window for editing
// (the editing flag set, quote buttons disabled) or from the pick list for quoting single items of its
// current job.
class CustomItems : public Form
{
    Q_OBJECT
public:
    explicit CustomItems(int page);

    // The page's window, loaded if needed (page 0: CustomItems, page 1: CustomItems1).
    static CustomItems* loadPage(int page);
    static CustomItems* loadedPage(int page);
    static int pageOfSlot(int slot) { return slot <= 20 ? 0 : 1; }

    int page() const { return m_page; }
    int slotOfTab(int tab) const { return tab + 1 + 20 * m_page; }
    // Selects the tab of an item slot of this page.
    void selectSlot(int slot);

    Binding* Data1(int index) const { return m_data1.value(index); }
    TabStrip* SSTab1() const { return m_tabs; }
    SlotPage* tab(int index) const { return m_pages.value(index); }
    // The label box of a slot as it is shown now.
    QString shownLabel(int slot) const;

    void Form_Paint();
    void SSTab1_Click(int previousTab);
    void Command1_Click(int index);   // "&Sub Items"
    void Command101_Click(int index); // "Quote This Item"
    void Command2_Click();            // "E&xit"
    void Command3_Click();            // "&Other Page"
    // Writes the shown values of every tab into the catalog row; false when one could not be stored.
    bool saveStep();

protected:
    void Form_Load() override;
    bool Form_Unload() override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Clears the editing flag, enables the pick list and shows or hides the main window: what leaving the
    // editor does, by "E&xit" or by the window frame.
    bool leave();

    int m_page;
    QList<Binding*> m_data1;
    QList<SlotPage*> m_pages;
    TabStrip* m_tabs;
    bool m_paintScheduled = false;
    bool m_closingQuietly = false; // unloading after the exit steps ran, or swapping pages
};

} // namespace tv
