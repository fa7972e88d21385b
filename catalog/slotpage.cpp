#include "catalog/slotpage.h"

#include "platform/binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tv {

using catalog::Attribute;

namespace {

QLabel* caption(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* textBox(QWidget* parent, const QString& name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* dropDownList(QWidget* parent, const QString& name, const QStringList& values)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(values);
    combo->setCurrentIndex(-1);
    combo->setMinimumWidth(150);
    return combo;
}

} // namespace

SlotPage::SlotPage(QWidget* parent, Kind kind, int tab, int priceLength) : QWidget(parent), m_tab(tab)
{
    const bool item = kind == Kind::Item;
    const auto n = [tab](const char* name) {
        return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(tab);
    };
    // Arrays holding two captions per tab number them 2t and 2t+1.
    const auto pair = [tab](const char* name, int second) {
        return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(2 * tab + second);
    };
    setObjectName(QStringLiteral("Page(%1)").arg(tab));

    Text1 = textBox(this, n("Text1"), 15);
    Text2 = textBox(this, n("Text2"), 50);
    Text3 = textBox(this, n("Text3"), 4);
    Text3->setMaximumWidth(90);
    Combo2 = dropDownList(this, n("Combo2"), catalog::scheduleValues());
    Text5 = new QPlainTextEdit(this);
    Text5->setObjectName(n("Text5"));
    Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text5->setTabChangesFocus(true);
    Text6 = textBox(this, n("Text6"), priceLength);
    Text6->setMaximumWidth(140);
    Combo1 = dropDownList(this, n("Combo1"), catalog::conditionValues());
    Text16 = textBox(this, n("Text16"), 4);
    Text16->setMaximumWidth(90);
    Combo3 = dropDownList(this, n("Combo3"), catalog::factorValues());
    Check1 =
        new QCheckBox(item ? QStringLiteral("Use as Default") : QStringLiteral("Sub Item Default"), this);
    Check1->setObjectName(n("Check1"));
    if (item)
        Check1->setToolTip(QStringLiteral("Click here and this item will always be quoted."));
    Command1 =
        new QPushButton(item ? QStringLiteral("&Sub Items") : QStringLiteral("Quote This &Sub Item"), this);
    Command1->setObjectName(n("Command1"));
    Command1->setMinimumHeight(30);
    if (item) {
        Command101 = new QPushButton(QStringLiteral("Quote This Item"), this);
        Command101->setObjectName(n("Command101"));
        Command101->setMinimumHeight(30);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(item ? caption(this, n("Label1"), QStringLiteral("User Label"))
                         : caption(this, pair("Label2", 0), QStringLiteral("Item Label")),
                    0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(item ? caption(this, n("Label2"), QStringLiteral("Item Name"))
                         : caption(this, pair("Label2", 1), QStringLiteral("Item Name")),
                    1, 0);
    grid->addWidget(Text2, 1, 1, 1, 3);
    grid->addWidget(caption(this, n("Label3"), QStringLiteral("Report Sorting")), 2, 0);
    grid->addWidget(Text3, 2, 1);
    grid->addWidget(caption(this, n("Label4"), QStringLiteral("Schedule")), 2, 2);
    grid->addWidget(Combo2, 2, 3);
    grid->addWidget(caption(this, n("Label6"), QStringLiteral("Price Each")), 3, 0);
    grid->addWidget(Text6, 3, 1);
    grid->addWidget(item ? caption(this, n("Label7"), QStringLiteral("Condition"))
                         : caption(this, pair("Label7", 0), QStringLiteral("Condition")),
                    3, 2);
    grid->addWidget(Combo1, 3, 3);
    grid->addWidget(item ? caption(this, pair("Label22", 0), QStringLiteral("Qty. "))
                         : caption(this, n("Label22"), QStringLiteral("Qty. ")),
                    4, 0);
    grid->addWidget(Text16, 4, 1);
    grid->addWidget(item ? caption(this, pair("Label22", 1), QStringLiteral("Per"))
                         : caption(this, pair("Label7", 1), QStringLiteral("Per")),
                    4, 2);
    grid->addWidget(Combo3, 4, 3);
    auto* notesCaption = caption(this, n("Label5"), QStringLiteral("Item Notes"));
    notesCaption->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(notesCaption, 5, 0);
    grid->addWidget(Text5, 5, 1, 1, 3);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Check1);
    bottom->addStretch(1);
    bottom->addWidget(Command1);
    if (Command101)
        bottom->addWidget(Command101);
    grid->addLayout(bottom, 6, 0, 1, 4);
}

catalog::Entry SlotPage::shownEntry() const
{
    catalog::Entry e;
    e[Attribute::Label] = Text1->text();
    e[Attribute::Name] = Text2->text();
    e[Attribute::Category] = Text3->text();
    e[Attribute::Schedule] = Combo2->currentText();
    e[Attribute::Notes] = Text5->toPlainText();
    e[Attribute::Price] = Text6->text();
    e[Attribute::Condition] = Combo1->currentText();
    e[Attribute::Quantity] = Text16->text();
    e[Attribute::Factor] = Combo3->currentText();
    e[Attribute::Default] = Check1->isChecked();
    return e;
}

void SlotPage::bindTo(const std::function<Binding*(Attribute)>& binding,
                      const std::function<QString(Attribute)>& field)
{
    const std::pair<Attribute, QWidget*> controls[] = {
        {Attribute::Label, Text1},      {Attribute::Name, Text2},      {Attribute::Category, Text3},
        {Attribute::Schedule, Combo2},  {Attribute::Notes, Text5},     {Attribute::Price, Text6},
        {Attribute::Condition, Combo1}, {Attribute::Quantity, Text16}, {Attribute::Factor, Combo3},
        {Attribute::Default, Check1},
    };
    for (const auto& [attribute, control] : controls)
        binding(attribute)->bind(control, field(attribute));
    keepStoredListValues(binding, field);
}

void SlotPage::keepStoredListValues(const std::function<Binding*(Attribute)>& binding,
                                    const std::function<QString(Attribute)>& field)
{
    const std::pair<Attribute, QComboBox*> lists[] = {
        {Attribute::Schedule, Combo2}, {Attribute::Condition, Combo1}, {Attribute::Factor, Combo3}};
    for (const auto& [attribute, combo] : lists) {
        const QString stored = Binding::displayText(binding(attribute)->value(field(attribute)));
        if (stored.isEmpty() || combo->currentText() == stored)
            continue;
        if (combo->findText(stored) < 0)
            combo->addItem(stored);
        combo->setCurrentIndex(combo->findText(stored));
    }
}

} // namespace tv
