#include "catalog/subcustomitems.h"

#include "catalog/catalogmodel.h"
#include "catalog/customitems.h"
#include "catalog/repoint.h"
#include "catalog/slotpage.h"
#include "catalog/tabstrip.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "quote/picklist.h"
#include "quote/quoteline.h"
#include "shell/application.h"
#include "shell/mainmenu.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tv {

using catalog::Attribute;

namespace {

// The tables of Data1(0) to Data1(11), each pointed at the parent slot's row. Data1(9) receives the quote
// lines; Data1(6) is pointed like the others but only Data1(11) holds the labels shown.
const QStringList Data1Tables = {
    QStringLiteral("SubItemName"),  QStringLiteral("SubItemCategory"),  QStringLiteral("SubItemSchedule"),
    QStringLiteral("SubItemNotes"), QStringLiteral("SubItemCondition"), QStringLiteral("SubItemPrice"),
    QStringLiteral("SubItemLabel"), QStringLiteral("SubItemDefault"),   QStringLiteral("SubItemQty"),
    QStringLiteral("Job Items"),    QStringLiteral("SubItemFactors"),   QStringLiteral("SubItemLabel"),
};
constexpr int QuoteLines = 9;
constexpr int Labels = 11;

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
    case Attribute::Default:
        return 7;
    case Attribute::Quantity:
        return 8;
    case Attribute::Factor:
        return 10;
    case Attribute::Label:
        return Labels;
    }
    return -1;
}

QString pageKey(int page)
{
    return page == 0 ? QStringLiteral("SubCustomItems") : QStringLiteral("SubCustomItems1");
}

} // namespace

SubCustomItems::SubCustomItems(int page, int parentSlot) : m_page(page), m_parent(parentSlot)
{
    setObjectName(pageKey(page));
    setWindowTitle(QStringLiteral("Sub Items #1"));
    for (int i = 0; i <= 11; ++i)
        m_data1.append(new Binding(this, QStringLiteral("Data1(%1)").arg(i)));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    m_tabs = new TabStrip(this, QStringLiteral("SSTab1"), 10);
    for (int t = 0; t < 10; ++t) {
        // The other page's first price box takes 4 characters, as the window was designed.
        const int priceLength = (page == 1 && t == 0) ? 4 : 10;
        auto* slotPage = new SlotPage(m_tabs, SlotPage::Kind::SubItem, t, priceLength);
        m_pages.append(slotPage);
        m_tabs->addTab(slotPage, QString::number(t + 1));
        connect(slotPage->Command1, &QPushButton::clicked, this, [this, t]() { Command1_Click(t); });
        // Only the user's click clears the other marks; showing a stored mark does not.
        connect(slotPage->Check1, &QCheckBox::clicked, this, [this, t]() { Check1_Click(t); });
    }
    layout->addWidget(m_tabs, 1);
    connect(m_tabs, &TabStrip::currentChanged, this, [this](int, int previous) { SSTab1_Click(previous); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("Command2"));
    exit->setMinimumSize(120, 32);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    connect(exit, &QPushButton::clicked, this, &SubCustomItems::Command2_Click);
    resize(960, 560);
}

void SubCustomItems::open(int page, int parentSlot)
{
    Forms::loadKeyed<SubCustomItems>(pageKey(page), page, parentSlot)->showModal();
}

SubCustomItems* SubCustomItems::loadedPage(int page)
{
    return Forms::loaded<SubCustomItems>(pageKey(page));
}

void SubCustomItems::Form_Load()
{
    setPointer(Pointer::Hourglass);
    const QString path = platform::databasePath();
    for (int i = 0; i <= 11; ++i) {
        m_data1.at(i)->setDatabaseName(path);
        m_data1.at(i)->setRecordSource(Data1Tables.at(i));
    }
    if (mainMenu()->editingFlag())
        for (SlotPage* p : std::as_const(m_pages))
            p->Command1->setEnabled(false);
    // The quote lines' table is read whole; the others are pointed at the parent slot's rows at the first
    // repaint.
    m_data1.at(QuoteLines)->open();
    setPointer(Pointer::Default);
}

// A repaint of the window as a whole (shown, activated, painted entire, or after a tab change) reads the
// parent slot's rows again. Painting of single controls (a blinking cursor) does not count.
void SubCustomItems::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    if (!m_repaintDue && event->rect() != rect())
        return;
    m_repaintDue = false;
    if (m_paintScheduled)
        return;
    m_paintScheduled = true;
    QTimer::singleShot(0, this, [this]() {
        m_paintScheduled = false;
        Form_Paint();
    });
}

void SubCustomItems::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    m_repaintDue = true;
}

void SubCustomItems::changeEvent(QEvent* event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_repaintDue = true;
        update();
    }
}

void SubCustomItems::connectTab(int tab)
{
    if (m_connected.contains(tab))
        return;
    m_connected.insert(tab);
    const int k = tab + 1;
    m_pages.at(tab)->bindTo([this](Attribute a) { return m_data1.at(bindingOf(a)); },
                            [k](Attribute a) { return catalog::subItemField(a, k); });
}

void SubCustomItems::Form_Paint()
{
    setPointer(Pointer::Hourglass);
    connectTab(m_tabs->currentIndex());
    const QString parent = QString::number(m_parent);
    for (int i = 0; i <= 11; ++i) {
        if (i == QuoteLines)
            continue;
        Binding* b = m_data1.at(i);
        // Edits not yet stored stay in their controls until the next save step.
        b->collectControls();
        if (b->recordset() && b->recordset()->isDirty())
            continue;
        repoint(b, QStringLiteral("Select * from ") + Data1Tables.at(i) +
                       QStringLiteral(" Where RecordNo = ") + parent);
    }
    for (int t : std::as_const(m_connected)) {
        const int k = t + 1;
        m_pages.at(t)->keepStoredListValues([this](Attribute a) { return m_data1.at(bindingOf(a)); },
                                            [k](Attribute a) { return catalog::subItemField(a, k); });
    }
    // The caption is the parent's label as its catalog page shows it now, saved or not.
    if (CustomItems* catalogPage = CustomItems::loadedPage(m_page))
        setWindowTitle(catalogPage->shownLabel(m_parent));
    for (int j = 1; j <= catalog::SubItemSlots; ++j)
        m_tabs->setTabText(j - 1, Binding::displayText(
                                      m_data1.at(Labels)->value(catalog::subItemField(Attribute::Label, j))));
    setPointer(Pointer::Default);
}

bool SubCustomItems::saveStep()
{
    return saveEditedRows(m_data1.mid(0, 12), QuoteLines);
}

void SubCustomItems::SSTab1_Click(int previousTab)
{
    if (!saveStep() && previousTab >= 0) {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(previousTab);
    }
    Form_Paint();
}

void SubCustomItems::Check1_Click(int index)
{
    if (!m_pages.at(index)->Check1->isChecked())
        return;
    // Only one sub-item is the default; boxes of tabs not yet connected change on screen only.
    for (int i = 0; i < m_pages.size(); ++i)
        if (i != index)
            m_pages.at(i)->Check1->setChecked(false);
}

void SubCustomItems::Command1_Click(int index)
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

void SubCustomItems::enableCatalogPage()
{
    if (CustomItems* catalogPage = CustomItems::loadedPage(m_page))
        catalogPage->setEnabled(true);
}

void SubCustomItems::Command2_Click()
{
    enableCatalogPage();
    unload();
}

bool SubCustomItems::Form_Unload()
{
    // Closing by "E&xit" or by the window frame alike stores the edits; one that cannot be stored keeps the
    // window open for correction.
    if (!saveStep())
        return false;
    enableCatalogPage();
    return true;
}

} // namespace tv
