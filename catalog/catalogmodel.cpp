#include "catalog/catalogmodel.h"

#include "database/recordset.h"

namespace tv::catalog {

namespace {

struct Names
{
    const char* itemTable;
    const char* itemPrefix;
    const char* subTable;
    const char* subPrefix;
};

// The notes table is singular while its fields are plural, and the factor tables are plural while their
// fields are singular: the names are stored so and used exactly so.
const Names& namesOf(Attribute attribute)
{
    static const std::array<Names, AttributeCount> names = {{
        {"ItemLabel", "ItemLabel", "SubItemLabel", "SubItemLabel"},
        {"ItemName", "ItemName", "SubItemName", "SubItemName"},
        {"ItemCategory", "ItemCategory", "SubItemCategory", "SubItemCategory"},
        {"ItemSchedule", "ItemSchedule", "SubItemSchedule", "SubItemSchedule"},
        {"ItemNote", "ItemNotes", "SubItemNotes", "SubItemNotes"},
        {"ItemPrice", "ItemPrice", "SubItemPrice", "SubItemPrice"},
        {"ItemCondition", "ItemCondition", "SubItemCondition", "SubItemCondition"},
        {"ItemQty", "ItemQty", "SubItemQty", "SubItemQty"},
        {"ItemFactors", "ItemFactor", "SubItemFactors", "SubItemFactor"},
        {"ItemDefault", "ItemDefault", "SubItemDefault", "SubItemDefault"},
    }};
    return names[size_t(attribute)];
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool validItemSlot(int slot, QString* error)
{
    return (slot >= 1 && slot <= ItemSlots) ||
           fail(error, QStringLiteral("There is no item slot %1.").arg(slot));
}

bool validSubSlot(int parent, int subSlot, QString* error)
{
    return validItemSlot(parent, error) &&
           ((subSlot >= 1 && subSlot <= SubItemSlots) ||
            fail(error, QStringLiteral("There is no sub-item slot %1.").arg(subSlot)));
}

// The catalog row of an item table, or the parent's row of a sub-item table.
std::shared_ptr<db::RecordSet> openRow(const db::ConnectionPtr& connection, const QString& source,
                                       QString* error)
{
    auto set = db::RecordSet::open(connection, source, error);
    if (set && set->isEmpty()) {
        fail(error, QStringLiteral("The catalog row is missing: %1").arg(source));
        return {};
    }
    return set;
}

} // namespace

QStringList scheduleValues()
{
    return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
}

QStringList conditionValues()
{
    return {QStringLiteral("New"), QStringLiteral("Remanufactured"), QStringLiteral("Used"),
            QStringLiteral("Used-As Is"), QStringLiteral("N/A")};
}

QStringList factorValues()
{
    return {QStringLiteral("Lane"), QStringLiteral("Job"), QStringLiteral("Other")};
}

QString itemTable(Attribute attribute)
{
    return QString::fromLatin1(namesOf(attribute).itemTable);
}

QString itemField(Attribute attribute, int slot)
{
    return QString::fromLatin1(namesOf(attribute).itemPrefix) + QString::number(slot);
}

QString subItemTable(Attribute attribute)
{
    return QString::fromLatin1(namesOf(attribute).subTable);
}

QString subItemField(Attribute attribute, int subSlot)
{
    return QString::fromLatin1(namesOf(attribute).subPrefix) + QString::number(subSlot);
}

QString subItemRowQuery(Attribute attribute, int parentSlot)
{
    return QStringLiteral("Select * from ") + subItemTable(attribute) + QStringLiteral(" Where RecordNo = ") +
           QString::number(parentSlot);
}

bool Catalog::readItem(int slot, Entry* entry, QString* error) const
{
    if (!validItemSlot(slot, error))
        return false;
    for (Attribute a : Attributes) {
        const auto row = openRow(m_connection, itemTable(a), error);
        if (!row)
            return false;
        (*entry)[a] = row->value(itemField(a, slot));
    }
    return true;
}

bool Catalog::writeItem(int slot, const Entry& entry, QString* error) const
{
    if (!validItemSlot(slot, error))
        return false;
    for (Attribute a : Attributes) {
        const auto row = openRow(m_connection, itemTable(a), error);
        if (!row || !row->setValue(itemField(a, slot), entry[a]) || !row->update(error))
            return false;
    }
    return true;
}

bool Catalog::readSubItem(int parentSlot, int subSlot, Entry* entry, QString* error) const
{
    if (!validSubSlot(parentSlot, subSlot, error))
        return false;
    for (Attribute a : Attributes) {
        const auto row = openRow(m_connection, subItemRowQuery(a, parentSlot), error);
        if (!row)
            return false;
        (*entry)[a] = row->value(subItemField(a, subSlot));
    }
    return true;
}

bool Catalog::writeSubItem(int parentSlot, int subSlot, const Entry& entry, QString* error) const
{
    if (!validSubSlot(parentSlot, subSlot, error))
        return false;
    for (Attribute a : Attributes) {
        const auto row = openRow(m_connection, subItemRowQuery(a, parentSlot), error);
        if (!row || !row->setValue(subItemField(a, subSlot), entry[a]) || !row->update(error))
            return false;
    }
    return true;
}

bool Catalog::readSubItemAttribute(int parentSlot, Attribute attribute, QVariantList* values,
                                   QString* error) const
{
    if (!validItemSlot(parentSlot, error))
        return false;
    const auto row = openRow(m_connection, subItemRowQuery(attribute, parentSlot), error);
    if (!row)
        return false;
    values->clear();
    for (int k = 1; k <= SubItemSlots; ++k)
        values->append(row->value(subItemField(attribute, k)));
    return true;
}

bool Catalog::readLabels(QStringList* labels, QString* error) const
{
    const auto row = openRow(m_connection, itemTable(Attribute::Label), error);
    if (!row)
        return false;
    labels->clear();
    for (int n = 1; n <= ItemSlots; ++n)
        labels->append(row->value(itemField(Attribute::Label, n)).toString());
    return true;
}

bool isSet(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString t = value.toString().trimmed();
        bool ok = false;
        const double n = t.toDouble(&ok);
        return ok ? n != 0 : t.compare(u"true", Qt::CaseInsensitive) == 0;
    }
    return value.toDouble() != 0 || value.toBool();
}

} // namespace tv::catalog
