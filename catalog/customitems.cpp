#include "catalog/customitems.h"

#include "catalog/catalogmodel.h"
#include "catalog/repoint.h"
#include "catalog/slotpage.h"
#include "catalog/subcustomitems.h"
#include "catalog/tabstrip.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "quote/picklist.h"
#include "quote/quoteline.h"
#include "shell/application.h"
#include "shell/mainmenu.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tv {

using catalog::Attribute;

namespace {

// The tables of Data1(0) to Data1(10); Data1(9) receives the quote lines.
const QStringList Data1Tables = {
    QStringLiteral("ItemName"),  QStringLiteral("ItemCategory"),  QStringLiteral("ItemSchedule"),
    QStringLiteral("ItemNote"),  QStringLiteral("ItemCondition"), QStringLiteral("ItemPrice"),
    QStringLiteral("ItemLabel"), QStringLiteral("ItemDefault"),   QStringLiteral("ItemQty"),
    QStringLiteral("Job Items"), QStringLiteral("ItemFactors"),
};
constexpr int QuoteLines = 9;

int bindingOf(Attribute a)
{
    switch (a) {
    case Attribute::Name:
        return 0;
    case Attribute::Category:
        return 1;
    case Attribute::Schedule:
        return 2;
    case Attribute::Notes:
        return 3;
    case Attribute::Condition:
        return 4;
    case Attribute::Price:
        return 5;
    case Attribute::Label:
        return 6;
    case Attribute::Default:
        return 7;
    case Attribute::Quantity:
        return 8;
    case Attribute::Factor:
        return 10;
    }
    return -1;
}

QString pageKey(int page)
{
    return page == 0 ? QStringLiteral("CustomItems") : QStringLiteral("CustomItems1");
}

} // namespace

CustomItems::CustomItems(int page) : m_page(page)
{
    setObjectName(pageKey(page));
    setWindowTitle(QStringLiteral("Custom Items"));
    for (int i = 0; i <= 10; ++i)
        m_data1.append(new Binding(this, QStringLiteral("Data1(%1)").arg(i)));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    m_tabs = new TabStrip(this, QStringLiteral("SSTab1"), 10);
    for (int t = 0; t < 20; ++t) {
        // The first page's first price box takes 4 characters, as the window was designed.
        const int priceLength = (page == 0 && t == 0) ? 4 : 10;
        auto* slotPage = new SlotPage(m_tabs, SlotPage::Kind::Item, t, priceLength);
        m_pages.append(slotPage);
        m_tabs->addTab(slotPage, QString::number(t + 1));
        connect(slotPage->Command1, &QPushButton::clicked, this, [this, t]() { Command1_Click(t); });
        connect(slotPage->Command101, &QPushButton::clicked, this, [this, t]() { Command101_Click(t); });
    }
    layout->addWidget(m_tabs, 1);
    connect(m_tabs, &TabStrip::currentChanged, this, [this](int, int previous) { SSTab1_Click(previous); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* other = new QPushButton(QStringLiteral("&Other Page"), this);
    other->setObjectName(QStringLiteral("Command3"));
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("Command2"));
    for (QPushButton* b : {other, exit}) {
        b->setMinimumSize(120, 32);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(other, &QPushButton::clicked, this, &CustomItems::Command3_Click);
    connect(exit, &QPushButton::clicked, this, &CustomItems::Command2_Click);
    resize(1040, 600);
}

CustomItems* CustomItems::loadPage(int page)
{
    return Forms::loadKeyed<CustomItems>(pageKey(page), page);
}

CustomItems* CustomItems::loadedPage(int page)
{
    return Forms::loaded<CustomItems>(pageKey(page));
}

void CustomItems::selectSlot(int slot)
{
    m_tabs->setCurrentIndex(slot - 1 - 20 * m_page);
}

QString CustomItems::shownLabel(int slot) const
{
    const SlotPage* p = tab(slot - 1 - 20 * m_page);
    return p ? p->Text1->text() : QString();
}

void CustomItems::Form_Load()
{
    const QString path = platform::databasePath();
    for (int i = 0; i <= 10; ++i) {
        m_data1.at(i)->setDatabaseName(path);
        m_data1.at(i)->setRecordSource(Data1Tables.at(i));
    }
    if (mainMenu()->editingFlag())
        for (SlotPage* p : std::as_const(m_pages))
            p->Command101->setEnabled(false);

    const auto binding = [this](Attribute a) { return m_data1.at(bindingOf(a)); };
    for (SlotPage* p : std::as_const(m_pages)) {
        const int slot = slotOfTab(p->tab());
        p->bindTo(binding, [slot](Attribute a) { return catalog::itemField(a, slot); });
    }
    for (Binding* b : std::as_const(m_data1))
        b->open();
    for (SlotPage* p : std::as_const(m_pages)) {
        const int slot = slotOfTab(p->tab());
        p->keepStoredListValues(binding, [slot](Attribute a) { return catalog::itemField(a, slot); });
    }
}

void CustomItems::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    if (m_paintScheduled)
        return;
    m_paintScheduled = true;
    QTimer::singleShot(0, this, [this]() {
        m_paintScheduled = false;
        Form_Paint();
    });
}

void CustomItems::Form_Paint()
{
    for (int t = 0; t < m_pages.size(); ++t)
        m_tabs->setTabText(t, m_pages.at(t)->Text1->text());
}

bool CustomItems::saveStep()
{
    return saveEditedRows(m_data1.mid(0, 11), QuoteLines);
}

void CustomItems::SSTab1_Click(int previousTab)
{
    if (!saveStep() && previousTab >= 0) {
        // The tab whose value could not be stored stays in front, so that it can be corrected.
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(previousTab);
    }
    Form_Paint();
}

void CustomItems::Command1_Click(int index)
{
    setPointer(Pointer::Hourglass);
    QPointer<QPushButton> button = m_pages.at(index)->Command1;
    // The button stays pressed while the sub-items editor of its slot is open.
    button->setDown(true);
    SubCustomItems::open(m_page, slotOfTab(index));
    if (button)
        button->setDown(false);
}

void CustomItems::Command101_Click(int index)
{
    setPointer(Pointer::Hourglass);
    PickList5* pickList = Forms::load<PickList5>();
    if (pickList->hasJob() && !pickList->refreshCurrentJob()) {
        setPointer(Pointer::Default);
        return;
    }
    if (quote::addQuoteLine(*m_data1.at(QuoteLines), m_pages.at(index)->shownEntry(), pickList->currentJob(),
                            quote::editorRule()) == quote::LineResult::Added)
        msgBox(QStringLiteral("This item has been added to your quote!"));
    setPointer(Pointer::Default);
}

bool CustomItems::leave()
{
    const bool editing = mainMenu()->editingFlag();
    if (!saveStep())
        return false;
    mainMenu()->setEditingFlag(false);
    if (PickList5* pickList = Forms::loaded<PickList5>())
        pickList->setEnabled(true);
    // Editing returns to the main window; quoting leaves the pick list as the working window.
    if (editing)
        mainMenu()->show();
    else
        mainMenu()->hide();
    return true;
}

void CustomItems::Command2_Click()
{
    if (!leave())
        return;
    m_closingQuietly = true;
    unload();
}

void CustomItems::Command3_Click()
{
    setPointer(Pointer::Hourglass);
    if (!saveStep()) {
        setPointer(Pointer::Default);
        return;
    }
    m_closingQuietly = true;
    const int other = 1 - m_page;
    unload();
    loadPage(other)->showModeless();
    setPointer(Pointer::Default);
}

bool CustomItems::Form_Unload()
{
    // Closing through the window frame leaves the editor the way "E&xit" does.
    if (m_closingQuietly)
        return true;
    return leave();
}

} // namespace tv
