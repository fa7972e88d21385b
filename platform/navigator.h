#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace tv {

class Binding;

// A record navigator: first, previous, caption, next, last, and optionally add and delete. It moves its
// binding itself; add and delete are signalled so the window decides what they mean.
class RecordNavigator : public QWidget
{
    Q_OBJECT
public:
    RecordNavigator(QWidget* parent, const QString& name, const QString& caption, Binding* binding = nullptr);
    void setBinding(Binding* binding);
    void setAddDeleteVisible(bool visible);
    void setCaption(const QString& caption);
    QString caption() const;

signals:
    void addRequested();
    void deleteRequested();
    void moved();

private:
    Binding* m_binding = nullptr;
    QLabel* m_caption;
    QToolButton* m_add;
    QToolButton* m_delete;
};

} // namespace tv
