#pragma once

#include "platform/form.h"

#include <QList>

class QLineEdit;
class QPushButton;

namespace tv {

class Binding;

// "Your Information Worksheet": the seller's own company data, the one row of table "Your Information".
class YourInformation : public Form
{
    Q_OBJECT
public:
    YourInformation();

    // The boxes in their order: Text1 ... Text11, each with the field it edits.
    static const QList<QPair<QString, QString>>& boxFields();
    // Every box accepts this many characters.
    static constexpr int MaxLength = 30;

    Binding* binding() const { return Data1; }

    // "E&xit": saves the row, closes the window and shows the main window.
    void Command2_Click();

protected:
    void Form_Load() override;

private:
    Binding* Data1;
    QList<QLineEdit*> m_boxes;
    QPushButton* Command2;
};

} // namespace tv
