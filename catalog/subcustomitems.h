#pragma once

#include "platform/form.h"

#include <QList>
#include <QSet>

namespace tv {

class Binding;
class SlotPage;
class TabStrip;

// The sub-items editor: the ten sub-item slots of one item slot, its parent slot, one tab each.
// SubCustomItems serves the first catalog page (parents 1 to 20), SubCustomItems1 the other (21 to 40); both
// are this class with the page as parameter. The parent slot is handed over when the window opens.
class SubCustomItems : public Form
{
    Q_OBJECT
public:
    SubCustomItems(int page, int parentSlot);

    // Opens the editor of a parent slot modally and returns when it has closed.
    static void open(int page, int parentSlot);
    static SubCustomItems* loadedPage(int page);

    int page() const { return m_page; }
    int parentSlot() const { return m_parent; }
    Binding* Data1(int index) const { return m_data1.value(index); }
    TabStrip* SSTab1() const { return m_tabs; }
    SlotPage* tab(int index) const { return m_pages.value(index); }
    bool isConnected(int tab) const { return m_connected.contains(tab); }

    void Form_Paint();
    void SSTab1_Click(int previousTab);
    void Check1_Click(int index);
    void Command1_Click(int index); // "Quote This &Sub Item"
    void Command2_Click();          // "E&xit"
    // Writes the values of the connected controls into the parent slot's rows; false when one could not be
    // stored.
    bool saveStep();

protected:
    void Form_Load() override;
    bool Form_Unload() override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectTab(int tab);
    void enableCatalogPage();

    int m_page;
    int m_parent;
    QList<Binding*> m_data1;
    QList<SlotPage*> m_pages;
    QSet<int> m_connected;
    TabStrip* m_tabs;
    bool m_paintScheduled = false;
    bool m_repaintDue = true;
};

} // namespace tv
