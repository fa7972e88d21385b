#pragma once

#include <QLabel>

namespace tv {

// A label or picture that reports clicks and double clicks, as the design's labels and images do.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace tv
