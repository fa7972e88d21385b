#pragma once

#include "database/connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

// The item catalog: 40 item slots, each with 10 sub-item slots, every slot carrying the same ten attributes.
// Item slots live side by side in the single row of one table per attribute; the sub-items of item slot N
// live in the row whose RecordNo is N of one table per attribute. This file knows every table and field name,
// irregular ones included, so that everything else works with (attribute, slot number).
namespace tv::catalog {

inline constexpr int ItemSlots = 40;
inline constexpr int SubItemSlots = 10;

enum class Attribute { Label, Name, Category, Schedule, Notes, Price, Condition, Quantity, Factor, Default };
inline constexpr int AttributeCount = 10;
inline constexpr std::array<Attribute, AttributeCount> Attributes = {
    Attribute::Label, Attribute::Name,      Attribute::Category, Attribute::Schedule, Attribute::Notes,
    Attribute::Price, Attribute::Condition, Attribute::Quantity, Attribute::Factor,   Attribute::Default};

// The values the editors offer in their drop-down lists.
QStringList scheduleValues();  // "A", "B", "C"
QStringList conditionValues(); // "New", "Remanufactured", "Used", "Used-As Is", "N/A"
QStringList factorValues();    // "Lane", "Job", "Other"

// Table holding one attribute of all item slots ("ItemNote"), and the field of item slot n ("ItemNotes7").
QString itemTable(Attribute attribute);
QString itemField(Attribute attribute, int slot);
// Table holding one attribute of all sub-item slots ("SubItemFactors"), and the field of sub-item slot k
// within a parent's row ("SubItemFactor3").
QString subItemTable(Attribute attribute);
QString subItemField(Attribute attribute, int subSlot);
// "Select * from SubItemName Where RecordNo = 7": the row of parent slot 7.
QString subItemRowQuery(Attribute attribute, int parentSlot);

// The ten attributes of one slot, as stored (a value may be empty) or as shown in an editor (text).
struct Entry
{
    std::array<QVariant, AttributeCount> values;

    const QVariant& operator[](Attribute a) const { return values[size_t(a)]; }
    QVariant& operator[](Attribute a) { return values[size_t(a)]; }
};

// Reads and writes slots by number over a connection of its own choosing. Errors come back as text.
class Catalog
{
public:
    explicit Catalog(db::ConnectionPtr connection) : m_connection(std::move(connection)) {}

    bool readItem(int slot, Entry* entry, QString* error = nullptr) const;
    // Writes every attribute of the entry into item slot n, in place.
    bool writeItem(int slot, const Entry& entry, QString* error = nullptr) const;
    bool readSubItem(int parentSlot, int subSlot, Entry* entry, QString* error = nullptr) const;
    bool writeSubItem(int parentSlot, int subSlot, const Entry& entry, QString* error = nullptr) const;
    // One attribute of all ten sub-item slots of a parent, in sub-item order.
    bool readSubItemAttribute(int parentSlot, Attribute attribute, QVariantList* values,
                              QString* error = nullptr) const;
    // The 40 labels in slot order.
    bool readLabels(QStringList* labels, QString* error = nullptr) const;

private:
    db::ConnectionPtr m_connection;
};

// Whether a stored check mark is set: an empty value never is.
bool isSet(const QVariant& value);

} // namespace tv::catalog
