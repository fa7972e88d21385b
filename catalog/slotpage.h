#pragma once

#include "catalog/catalogmodel.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tv {

class Binding;

// The controls of one tab of the catalog editor (an item slot) or of the sub-items editor (a sub-item slot),
// named with the tab's index as the design names them: Text1(t) label, Text2(t) name, Text3(t) category,
// Combo2(t) schedule, Text5(t) notes, Text6(t) price, Combo1(t) condition, Text16(t) quantity, Combo3(t)
// factor, Check1(t) default check mark, Command1(t) and, for item slots, Command101(t).
class SlotPage : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Item, SubItem };
    SlotPage(QWidget* parent, Kind kind, int tab, int priceLength);

    int tab() const { return m_tab; }
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QPlainTextEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text16 = nullptr;
    QComboBox* Combo3 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command101 = nullptr;

    // The values as shown, unsaved edits included.
    catalog::Entry shownEntry() const;
    // Binds the controls to the fields of the slot: field(attribute) names the field, binding(attribute) the
    // binding holding it.
    void bindTo(const std::function<Binding*(catalog::Attribute)>& binding,
                const std::function<QString(catalog::Attribute)>& field);
    // A stored value that is not among a drop-down list's values is kept and shown rather than dropped.
    void keepStoredListValues(const std::function<Binding*(catalog::Attribute)>& binding,
                              const std::function<QString(catalog::Attribute)>& field);

private:
    int m_tab;
};

} // namespace tv
