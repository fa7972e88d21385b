#pragma once

#include "platform/form.h"

#include <QHash>
#include <QList>

class QLineEdit;

namespace tv {

class Binding;

// "Finance Factors": the twenty factors of five finance plans over four terms, the one row of table Factors.
class Finance : public Form
{
    Q_OBJECT
public:
    struct Box
    {
        QString name;  // Text1 ... Text20
        QString field; // plan prefix followed by the term in months: P560
        int row;       // plan, as the rows are shown
        int column;    // term: 72, 60, 48, 36 months
    };
    // The boxes row by row, left to right: the Tab order.
    static const QList<Box>& boxes();
    static const QStringList& rowCaptions();
    static const QStringList& columnCaptions();

    Finance();

    Binding* binding() const { return Data1; }
    QLineEdit* box(const QString& field) const;

    // The user leaves a box: a text that is no number is refused with a message and the box shows the
    // stored value again; a number goes into the row, which is saved when the window closes. False when
    // refused.
    bool boxLeft(QLineEdit* box);

    // How a stored factor reads in its box: every digit it has.
    static QString factorText(const QVariant& value);
    // A typed factor: empty text for no factor, otherwise a number. False when it is no number.
    static bool parseFactor(const QString& text, QVariant* value);

protected:
    void Form_Load() override;
    bool Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFactors();

    Binding* Data1;
    QList<QLineEdit*> m_boxes;
    QHash<QLineEdit*, QString> m_shown;
    bool m_refusing = false;
};

} // namespace tv
