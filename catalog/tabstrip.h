#pragma once

#include <QList>
#include <QWidget>

class QButtonGroup;
class QStackedWidget;
class QToolButton;

namespace tv {

// A tab strip whose tabs may wrap into several rows (the catalog editor has two rows of ten), over one page
// per tab. Selecting a tab reports the tab selected before it.
class TabStrip : public QWidget
{
    Q_OBJECT
public:
    TabStrip(QWidget* parent, const QString& name, int tabsPerRow);

    int addTab(QWidget* page, const QString& caption);
    int count() const { return int(m_tabs.size()); }
    int currentIndex() const { return m_current; }
    // Selects a tab; the change is reported as a click on the tab would be.
    void setCurrentIndex(int index);
    QString tabText(int index) const;
    void setTabText(int index, const QString& caption);
    QWidget* widget(int index) const;
    QToolButton* tabButton(int index) const { return m_tabs.value(index); }

signals:
    void currentChanged(int index, int previous);

private:
    void select(int index, bool notify);

    int m_perRow;
    int m_current = -1;
    QList<QToolButton*> m_tabs;
    QList<QWidget*> m_rows;
    QWidget* m_rowArea;
    QStackedWidget* m_pages;
    QButtonGroup* m_group;
};

} // namespace tv
