#include "platform/navigator.h"

#include "platform/binding.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace tv {

RecordNavigator::RecordNavigator(QWidget* parent, const QString& name, const QString& caption,
                                 Binding* binding)
    : QWidget(parent)
{
    setObjectName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const auto button = [this, layout](const QString& objectName, const QString& text, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setObjectName(objectName);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(false);
        layout->addWidget(b);
        return b;
    };
    QToolButton* first = button(QStringLiteral("First"), QStringLiteral("|<"), tr("First"));
    QToolButton* previous = button(QStringLiteral("Previous"), QStringLiteral("<"), tr("Previous"));
    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFrameShape(QFrame::StyledPanel);
    m_caption->setMinimumWidth(90);
    layout->addWidget(m_caption, 1);
    QToolButton* next = button(QStringLiteral("Next"), QStringLiteral(">"), tr("Next"));
    QToolButton* last = button(QStringLiteral("Last"), QStringLiteral(">|"), tr("Last"));
    m_add = button(QStringLiteral("Add"), QStringLiteral("+"), tr("Add a new record"));
    m_delete = button(QStringLiteral("Delete"), QStringLiteral("\u2715"), tr("Delete this record"));
    setAddDeleteVisible(false);

    connect(first, &QToolButton::clicked, this, [this]() {
        if (m_binding && m_binding->moveFirst())
            emit moved();
    });
    connect(previous, &QToolButton::clicked, this, [this]() {
        // Stops on the first row rather than stepping off the set.
        if (m_binding && m_binding->recordset() && m_binding->recordset()->position() > 0 &&
            m_binding->movePrevious())
            emit moved();
    });
    connect(next, &QToolButton::clicked, this, [this]() {
        if (m_binding && m_binding->recordset() &&
            m_binding->recordset()->position() < m_binding->recordCount() - 1 && m_binding->moveNext())
            emit moved();
    });
    connect(last, &QToolButton::clicked, this, [this]() {
        if (m_binding && m_binding->moveLast())
            emit moved();
    });
    connect(m_add, &QToolButton::clicked, this, &RecordNavigator::addRequested);
    connect(m_delete, &QToolButton::clicked, this, &RecordNavigator::deleteRequested);
    setBinding(binding);
}

void RecordNavigator::setBinding(Binding* binding)
{
    m_binding = binding;
}

void RecordNavigator::setAddDeleteVisible(bool visible)
{
    m_add->setVisible(visible);
    m_delete->setVisible(visible);
}

void RecordNavigator::setCaption(const QString& caption)
{
    m_caption->setText(caption);
}

QString RecordNavigator::caption() const
{
    return m_caption->text();
}

} // namespace tv
