// Quote generation: the checked slots of the pick list become quote lines of the current job.
#include "catalog/catalogmodel.h"
#include "catalog/repoint.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "quote/picklist.h"
#include "quote/sqltexts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSqlRecord>
#include <cmath>

namespace tv {

using catalog::Attribute;

namespace {

// The pick list's binding of each attribute of the item slots ...
int itemBinding(Attribute a)
{
    switch (a) {
    case Attribute::Default:
        return 1;
    case Attribute::Name:
        return 3;
    case Attribute::Category:
        return 4;
    case Attribute::Schedule:
        return 5;
    case Attribute::Quantity:
        return 6;
    case Attribute::Condition:
        return 7;
    case Attribute::Price:
        return 8;
    case Attribute::Notes:
        return 9;
    case Attribute::Factor:
        return 10;
    case Attribute::Label:
        break;
    }
    return -1;
}

// ... and of the sub-item slots, with the text that points each at one item slot's row, in requery order.
// The last two texts end in two blanks.
struct SubItemSource
{
    int binding;
    Attribute attribute;
    const char* query;
};
const SubItemSource SubItemSources[] = {
    {11, Attribute::Factor, "Select * from SubItemFactors Where RecordNo = "},
    {13, Attribute::Name, "Select * from SubItemName Where RecordNo = "},
    {14, Attribute::Category, "Select * from SubItemCategory Where RecordNo = "},
    {15, Attribute::Schedule, "Select * from SubItemSchedule Where RecordNo = "},
    {16, Attribute::Quantity, "Select * from SubItemQty Where RecordNo = "},
    {17, Attribute::Condition, "Select * from SubItemCondition Where RecordNo = "},
    {18, Attribute::Price, "Select * from SubItemPrice Where RecordNo = "},
    {19, Attribute::Notes, "Select * from SubItemNotes Where RecordNo =  "},
    {20, Attribute::Default, "Select * from SubItemDefault Where RecordNo =  "},
};

} // namespace

catalog::Entry PickList5::storedItem(int slot) const
{
    catalog::Entry entry;
    for (Attribute a : catalog::Attributes) {
        const int index = itemBinding(a);
        if (index >= 0)
            entry[a] = m_data1.at(index)->value(catalog::itemField(a, slot));
    }
    return entry;
}

catalog::Entry PickList5::storedSubItem(int subSlot) const
{
    catalog::Entry entry;
    for (const SubItemSource& source : SubItemSources)
        entry[source.attribute] =
            m_data1.at(source.binding)->value(catalog::subItemField(source.attribute, subSlot));
    return entry;
}

void PickList5::refreshCatalog()
{
    for (int index = 1; index <= 10; ++index)
        if (index != 2)
            m_data1.at(index)->refresh();
}

int PickList5::currentItemSlot() const
{
    return Text1->text().toInt();
}

void PickList5::Command2_Click()
{
    setPointer(Pointer::Hourglass);
    if (!hasJob()) {
        quote::reportNoJob();
        setPointer(Pointer::Default);
        return;
    }
    if (!refreshCurrentJob()) {
        setPointer(Pointer::Default);
        return;
    }
    refreshCatalog();
    Binding* items = m_data1.at(2);
    repoint(items, quote::sql::JobItemsOfJob + QString::number(jobNumber()));
    if (items->recordCount() == 0) {
        repoint(items, quote::sql::AllJobItems);
    } else {
        beep();
        // New lines are added after the job's existing ones; nothing is replaced.
        const int answer =
            msgBox(QStringLiteral("You are about to quote all items that are checked, and you "
                                  "already have items for this customer quoted.\rAre you sure?"),
                   vbYesNo + vbQuestion + vbDefaultButton2, QStringLiteral("Confirm!"));
        if (answer != vbYes) {
            setPointer(Pointer::Default);
            return;
        }
    }

    int checked = 0;
    for (const QCheckBox* check : std::as_const(m_checks))
        if (check->isChecked())
            ++checked;
    if (checked == 0) {
        msgBox(QStringLiteral("You need to select at least one item for your quote!"));
        setPointer(Pointer::Default);
        return;
    }

    // A per-lane line cannot be made without a lane count: found out before anything is written.
    bool needsLanes = false;
    double lanes = 0;
    if (!runNeedsLaneCount(&needsLanes) || (needsLanes && !quote::laneCount(Label48->text(), &lanes))) {
        if (needsLanes)
            quote::reportUnusableLaneCount(currentJob());
        setPointer(Pointer::Default);
        return;
    }

    Text25->setText(QString::number(checked));
    Text26->setText(QString::number(checked));
    ccrpProgressBar1->setVisible(true);
    ccrpProgressBar1->setValue(0);
    m_runFailed = false;
    for (int k = 0; k < catalog::ItemSlots && !m_runFailed; ++k) {
        if (!m_checks.at(k)->isChecked())
            continue;
        itemSlotQuoting(k + 1);
        if (!m_runFailed)
            progressStep();
    }
    // A line the database refused has been reported by the binding; the lines before it stay saved.
    if (!m_runFailed) {
        beep();
        msgBox(QStringLiteral("Your quotation has been created per your requests!"));
    }
    ccrpProgressBar1->setValue(0);
    ccrpProgressBar1->setVisible(false);
    setPointer(Pointer::Default);
}

bool PickList5::runNeedsLaneCount(bool* needs)
{
    *needs = false;
    const catalog::Catalog catalog(m_data1.at(20)->connection());
    for (int slot = 1; slot <= catalog::ItemSlots && !*needs; ++slot) {
        if (!isChecked(slot))
            continue;
        const catalog::Entry item = storedItem(slot);
        if (catalog::isSet(item[Attribute::Default])) {
            *needs = item[Attribute::Factor].toString() == u"Lane";
            continue;
        }
        QVariantList marks, factors;
        QString error;
        if (!catalog.readSubItemAttribute(slot, Attribute::Default, &marks, &error) ||
            !catalog.readSubItemAttribute(slot, Attribute::Factor, &factors, &error)) {
            Binding::reportError(error);
            return false;
        }
        for (int j = 0; j < catalog::SubItemSlots && !*needs; ++j)
            *needs = catalog::isSet(marks.at(j)) && factors.at(j).toString() == u"Lane";
    }
    return true;
}

void PickList5::itemSlotQuoting(int slot)
{
    Text1->setText(QString::number(slot));
    subItemRequery();
    const QVariant isDefault = m_data1.at(1)->value(catalog::itemField(Attribute::Default, slot));
    if (catalog::isSet(isDefault)) {
        if (quote::addQuoteLine(*m_data1.at(2), storedItem(slot), currentJob(), quote::generationRule()) ==
            quote::LineResult::Failed)
            m_runFailed = true;
    } else {
        subItemQuoting();
    }
}

void PickList5::subItemRequery()
{
    const QString slot = QString::number(currentItemSlot());
    for (const SubItemSource& source : SubItemSources)
        repoint(m_data1.at(source.binding), QString::fromLatin1(source.query) + slot);
    m_requeriedSlot = currentItemSlot();
}

void PickList5::subItemRequeryForLine(int subSlot)
{
    if (currentItemSlot() != m_requeriedSlot) {
        subItemRequery();
        return;
    }
    // The nine values of the sub-item are read again in one statement, prepared once per sub-item slot on the
    // connection that writes the lines (whose page cache its own writes leave valid). Opening nine record
    // sets again costs many times that; they are pointed at the rows anew only when a value has changed
    // meanwhile.
    const db::ConnectionPtr connection = m_data1.at(2)->connection();
    if (connection != m_freshRows) {
        m_freshRowQueries.clear();
        m_freshRows = connection;
    }
    if (m_freshRowQueries.empty())
        m_freshRowQueries.resize(catalog::SubItemSlots);
    auto& query = m_freshRowQueries[size_t(subSlot - 1)];
    if (!query) {
        QStringList columns, tables, conditions;
        for (const SubItemSource& source : SubItemSources) {
            const QString alias = QStringLiteral("t%1").arg(source.binding);
            columns << alias + u'.' + catalog::subItemField(source.attribute, subSlot);
            tables << catalog::subItemTable(source.attribute) + u' ' + alias;
            conditions << alias + QStringLiteral(".RecordNo = :slot");
        }
        query = std::make_unique<QSqlQuery>(connection ? connection->database() : QSqlDatabase());
        query->setForwardOnly(true);
        query->prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1")
                .arg(columns.join(u','), tables.join(u','), conditions.join(QStringLiteral(" AND "))));
    }
    query->bindValue(QStringLiteral(":slot"), currentItemSlot());
    const catalog::Entry shown = storedSubItem(subSlot);
    bool same = query->exec() && query->next();
    for (int i = 0; same && i < int(std::size(SubItemSources)); ++i)
        same = query->value(i) == shown[SubItemSources[i].attribute];
    query->finish();
    if (!same)
        subItemRequery();
}

void PickList5::subItemQuoting()
{
    for (int j = 1; j <= catalog::SubItemSlots; ++j) {
        const QVariant isDefault = m_data1.at(20)->value(catalog::subItemField(Attribute::Default, j));
        if (!catalog::isSet(isDefault))
            continue;
        subItemRequeryForLine(j);
        if (quote::addQuoteLine(*m_data1.at(2), storedSubItem(j), currentJob(), quote::generationRule()) ==
            quote::LineResult::Failed) {
            m_runFailed = true;
            return;
        }
    }
}

void PickList5::progressStep()
{
    const double total = Text25->text().toDouble();
    const double remaining = Text26->text().toDouble() - 1;
    Text26->setText(QString::number(remaining));
    int percent = int(std::fabs(std::floor(remaining / total * 100 - 100)));
    if (percent > 100)
        percent = 100;
    Text27->setText(QString::number(percent));
    ccrpProgressBar1->setValue(percent);
    ccrpProgressBar1->repaint();
}

} // namespace tv
