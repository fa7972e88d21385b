#include "settings/finance.h"

#include "platform/binding.h"
#include "platform/interactive.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

namespace tv {

namespace {
const QString WindowCaption = QStringLiteral("Finance Factors");
}

const QList<Finance::Box>& Finance::boxes()
{
    static const QList<Box> list = [] {
        // Plan prefixes in the order the rows are shown, with the number of their first box.
        const QList<QPair<QString, int>> plans{{QStringLiteral("P"), 1},
                                               {QStringLiteral("P5"), 13},
                                               {QStringLiteral("P10"), 17},
                                               {QStringLiteral("S"), 5},
                                               {QStringLiteral("L"), 9}};
        const int terms[] = {72, 60, 48, 36};
        QList<Box> result;
        for (int row = 0; row < plans.size(); ++row)
            for (int column = 0; column < 4; ++column)
                result.append({QStringLiteral("Text%1").arg(plans.at(row).second + column),
                               plans.at(row).first + QString::number(terms[column]), row, column});
        return result;
    }();
    return list;
}

const QStringList& Finance::rowCaptions()
{
    static const QStringList captions{
        QStringLiteral("Purchase Plan (25 to 50K)"), QStringLiteral("Purchase Plan (50 to 100K)"),
        QStringLiteral("Purchase Plan (100K Plus)"), QStringLiteral("Skip 3 Months Plan"),
        QStringLiteral("10% Lease Option Plan")};
    return captions;
}

const QStringList& Finance::columnCaptions()
{
    static const QStringList captions{QStringLiteral("72 Months"), QStringLiteral("60 Months"),
                                      QStringLiteral("48 Months"), QStringLiteral("36 Months")};
    return captions;
}

Finance::Finance()
{
    setObjectName(QStringLiteral("Finance"));
    setWindowTitle(WindowCaption);

    Data1 = new Binding(this, QStringLiteral("Data1"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    for (int column = 0; column < columnCaptions().size(); ++column) {
        auto* label = new QLabel(columnCaptions().at(column), this);
        label->setObjectName(QStringLiteral("ColumnLabel%1").arg(column + 1));
        label->setAlignment(Qt::AlignCenter);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        grid->addWidget(label, 0, column + 1);
    }
    for (int row = 0; row < rowCaptions().size(); ++row) {
        auto* label = new QLabel(rowCaptions().at(row), this);
        label->setObjectName(QStringLiteral("RowLabel%1").arg(row + 1));
        grid->addWidget(label, row + 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    }
    QWidget* previous = nullptr;
    for (const Box& b : boxes()) {
        auto* box = new QLineEdit(this);
        box->setObjectName(b.name);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(100);
        box->installEventFilter(this);
        grid->addWidget(box, b.row + 1, b.column + 1);
        if (previous)
            setTabOrder(previous, box);
        previous = box;
        m_boxes.append(box);
    }

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 18, 20, 20);
    outer->addLayout(grid);
    setFixedSize(sizeHint());
}

QLineEdit* Finance::box(const QString& field) const
{
    for (int i = 0; i < boxes().size(); ++i)
        if (boxes().at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return m_boxes.at(i);
    return nullptr;
}

void Finance::Form_Load()
{
    Data1->setDatabaseName(platform::databasePath());
    Data1->setRecordSource(QStringLiteral("Factors"));
    // The factors show with all their digits, more than the binding's own text shows for a number, so the
    // boxes are filled and read here; the binding keeps the row and saves it when the window closes.
    connect(Data1, &Binding::reposition, this, &Finance::showFactors);
    Data1->open();
    setPointer(Pointer::Default);
}

bool Finance::Form_Unload()
{
    // A box still being edited is left now.
    for (QLineEdit* box : std::as_const(m_boxes))
        boxLeft(box);
    return true;
}

void Finance::showFactors()
{
    for (int i = 0; i < m_boxes.size(); ++i) {
        const QString text = factorText(Data1->value(boxes().at(i).field));
        m_boxes.at(i)->setText(text);
        m_shown.insert(m_boxes.at(i), text);
    }
}

QString Finance::factorText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

bool Finance::parseFactor(const QString& text, QVariant* value)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *value = QVariant();
        return true;
    }
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

bool Finance::boxLeft(QLineEdit* box)
{
    const int index = int(m_boxes.indexOf(box));
    if (index < 0 || m_refusing)
        return true;
    const QString text = box->text();
    const QString shown = m_shown.value(box);
    if (text == shown)
        return true;
    QVariant value;
    if (!parseFactor(text, &value)) {
        // The stored value is back in the box before the message shows, so that the focus moving to the
        // message cannot bring the same text here again.
        m_refusing = true;
        box->setText(shown);
        msgBox(QStringLiteral("\"%1\" is not a number. A finance factor must be a number, for example "
                              "0.01766.\n\nThe previous value was kept.")
                   .arg(text.trimmed()),
               vbExclamation, WindowCaption);
        m_refusing = false;
        return false;
    }
    if (Data1->isOpen() && !Data1->setValue(boxes().at(index).field, value)) {
        box->setText(shown);
        return false;
    }
    m_shown.insert(box, text);
    return true;
}

bool Finance::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            boxLeft(box);
    return Form::eventFilter(watched, event);
}

} // namespace tv
