#include "catalog/tabstrip.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tv {

namespace {

const char* const TabStyle = R"(
QToolButton {
    border: 1px solid #9aa3b0; border-bottom: none; border-top-left-radius: 4px; border-top-right-radius: 4px;
    background: #e4e8ee; padding: 4px 6px; min-width: 40px;
}
QToolButton:hover { background: #eef1f5; }
QToolButton:checked { background: #ffffff; font-weight: bold; color: #1d3557; }
QToolButton:disabled { color: #8a8f98; }
)";

// A caption is shown as typed: an ampersand is no mnemonic here.
QString shown(const QString& caption)
{
    QString text = caption;
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

TabStrip::TabStrip(QWidget* parent, const QString& name, int tabsPerRow)
    : QWidget(parent), m_perRow(tabsPerRow)
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_rowArea = new QWidget(this);
    auto* rowsLayout = new QVBoxLayout(m_rowArea);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(1);
    layout->addWidget(m_rowArea);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->setFrameShape(QFrame::StyledPanel);
    m_pages->setAutoFillBackground(true);
    QPalette p = m_pages->palette();
    p.setColor(QPalette::Window, Qt::white);
    m_pages->setPalette(p);
    layout->addWidget(m_pages, 1);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { select(id, true); });
}

int TabStrip::addTab(QWidget* page, const QString& caption)
{
    const int index = count();
    if (index % m_perRow == 0) {
        auto* row = new QWidget(m_rowArea);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(2);
        m_rowArea->layout()->addWidget(row);
        m_rows.append(row);
    }
    auto* tab = new QToolButton(m_rows.last());
    tab->setObjectName(QStringLiteral("Tab(%1)").arg(index));
    tab->setText(shown(caption));
    tab->setCheckable(true);
    tab->setStyleSheet(QString::fromLatin1(TabStyle));
    tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tab->setToolButtonStyle(Qt::ToolButtonTextOnly);
    static_cast<QHBoxLayout*>(m_rows.last()->layout())->addWidget(tab);
    m_group->addButton(tab, index);
    m_tabs.append(tab);
    m_pages->addWidget(page);
    if (m_current < 0)
        select(index, false);
    return index;
}

void TabStrip::setCurrentIndex(int index)
{
    select(index, true);
}

void TabStrip::select(int index, bool notify)
{
    if (index < 0 || index >= count() || index == m_current) {
        if (index == m_current && index >= 0)
            m_tabs.at(index)->setChecked(true);
        return;
    }
    const int previous = m_current;
    m_current = index;
    m_tabs.at(index)->setChecked(true);
    m_pages->setCurrentIndex(index);
    if (notify)
        emit currentChanged(index, previous);
}

QString TabStrip::tabText(int index) const
{
    return m_tabs.value(index) ? m_tabs.at(index)->text().replace(QStringLiteral("&&"), QStringLiteral("&"))
                               : QString();
}

void TabStrip::setTabText(int index, const QString& caption)
{
    // Setting the same text again would repaint the tab, and a repaint is what sets it.
    if (QToolButton* tab = m_tabs.value(index); tab && tab->text() != shown(caption))
        tab->setText(shown(caption));
}

QWidget* TabStrip::widget(int index) const
{
    return m_pages->widget(index);
}

} // namespace tv
