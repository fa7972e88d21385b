#include "jobs/editdata.h"

#include "database/recordset.h"
#include "jobs/databases.h"
#include "platform/binding.h"
#include "platform/interactive.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace tv {

namespace {

QLineEdit* box(QWidget* parent, const QString& name, int maxLength, int width = 0)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    if (width > 0)
        e->setFixedWidth(width);
    return e;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

EditData::EditData()
{
    setObjectName(QStringLiteral("EditData"));
    setWindowTitle(QStringLiteral("Edit Database"));
    m_data1 = new Binding(this, QStringLiteral("Data1"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    Text1 = box(this, QStringLiteral("Text1"), 50);
    Text3 = box(this, QStringLiteral("Text3"), 10, 110);
    Text3->setAlignment(Qt::AlignRight);
    Text4 = box(this, QStringLiteral("Text4"), 15, 140);
    Text5 = box(this, QStringLiteral("Text5"), 4, 70);
    Text5->setAlignment(Qt::AlignRight);
    MaskEdBox1 = new QLineEdit(this);
    MaskEdBox1->setObjectName(QStringLiteral("MaskEdBox1"));
    MaskEdBox1->setInputMask(QStringLiteral(">a")); // one letter, shown in upper case
    MaskEdBox1->setFixedWidth(40);
    MaskEdBox1->setAlignment(Qt::AlignCenter);
    Text6 = box(this, QStringLiteral("Text6"), 4, 70);
    Text6->setAlignment(Qt::AlignRight);
    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setTabChangesFocus(true);
    Text2->setMinimumHeight(120);

    grid->addWidget(caption(QStringLiteral("Item Name"), this), 0, 0);
    grid->addWidget(Text1, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Price"), this), 1, 0);
    grid->addWidget(Text3, 1, 1, Qt::AlignLeft);
    grid->addWidget(caption(QStringLiteral("Condition"), this), 1, 2);
    grid->addWidget(Text4, 1, 3, Qt::AlignLeft);
    grid->addWidget(caption(QStringLiteral("Qty."), this), 2, 0);
    grid->addWidget(Text5, 2, 1, Qt::AlignLeft);
    grid->addWidget(caption(QStringLiteral("Schedule"), this), 2, 2);
    grid->addWidget(MaskEdBox1, 2, 3, Qt::AlignLeft);
    grid->addWidget(caption(QStringLiteral("Sorting"), this), 3, 0);
    grid->addWidget(Text6, 3, 1, Qt::AlignLeft);
    grid->addWidget(Text2, 4, 0, 1, 4);
    grid->setRowStretch(4, 1);
    outer->addLayout(grid, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("Command1"));
    exit->setMinimumWidth(100);
    connect(exit, &QPushButton::clicked, this, &EditData::Command1_Click);
    buttons->addWidget(exit);
    outer->addLayout(buttons);

    m_data1->bind(Text1, QStringLiteral("Item Name"));
    m_data1->bind(Text3, QStringLiteral("Item Price"));
    m_data1->bind(Text4, QStringLiteral("Item Condition"));
    m_data1->bind(Text2, QStringLiteral("Item Notes"));
    m_data1->bind(Text5, QStringLiteral("Item Qty"));
    m_data1->bind(MaskEdBox1, QStringLiteral("Schedule"));
    m_data1->bind(Text6, QStringLiteral("Item Category"));

    resize(560, 360);
}

void EditData::Form_Load()
{
    // No connection of its own: the list window's record set, and so the line chosen in its grid.
    if (Databases* list = Forms::loaded<Databases>())
        m_data1->setRecordset(list->Data1()->recordset());
}

void EditData::Command1_Click()
{
    close();
}

bool EditData::checkNumber(QLineEdit* box, const QString& field, const QString& caption, bool whole)
{
    const db::RecordSetPtr set = m_data1->recordset();
    const QString text = box->text().trimmed();
    if (!set || text.isEmpty())
        return true;
    bool ok = false;
    if (whole) {
        static const QRegularExpression wholeNumber(QStringLiteral(R"(^[+-]?\d+$)"));
        ok = wholeNumber.match(text).hasMatch();
    } else {
        QVariant converted;
        ok = db::RecordSet::convertText(text, db::RecordSet::FieldKind::Currency, &converted, nullptr);
    }
    if (ok)
        return true;
    const QString old = Binding::displayText(set->value(field));
    msgBox(QStringLiteral("%1 must be %2; \"%3\" is not. The line keeps its %1 of %4.")
               .arg(caption, whole ? QStringLiteral("a whole number") : QStringLiteral("a number"), text,
                    old.isEmpty() ? QStringLiteral("(none)") : old),
           vbExclamation);
    box->setText(old);
    box->selectAll();
    box->setFocus(Qt::OtherFocusReason);
    return false;
}

bool EditData::Form_Unload()
{
    if (!checkNumber(Text3, QStringLiteral("Item Price"), QStringLiteral("Price"), false) ||
        !checkNumber(Text5, QStringLiteral("Item Qty"), QStringLiteral("Qty."), true) ||
        !checkNumber(Text6, QStringLiteral("Item Category"), QStringLiteral("Sorting"), true))
        return false;
    const db::RecordSetPtr set = m_data1->recordset();
    // A line the engine refused to save is left as it was, so the list is not held on a half-edited line.
    if (set && set->hasCurrent() && !m_data1->updateRecord())
        m_data1->cancelUpdate();
    return true;
}

} // namespace tv
