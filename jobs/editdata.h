#pragma once

#include "platform/form.h"

class QLineEdit;
class QPlainTextEdit;

namespace tv {

class Binding;

// "Edit Database": the quote line chosen in the grid of Databases, in larger boxes. It shares the grid's
// record set, so it shows and edits the grid's current line; the line is saved when the window closes.
class EditData : public Form
{
    Q_OBJECT
public:
    EditData();

    Binding* Data1() const { return m_data1; }

    void Command1_Click(); // "E&xit"

protected:
    void Form_Load() override;
    bool Form_Unload() override;

private:
    // Refuses a box that does not hold a number of the field's kind: tells the user, puts the line's value
    // back into the box and keeps the window open.
    bool checkNumber(QLineEdit* box, const QString& field, const QString& caption, bool whole);

    Binding* m_data1;
    QLineEdit* Text1;      // item name
    QLineEdit* Text3;      // price
    QLineEdit* Text4;      // condition
    QPlainTextEdit* Text2; // details
    QLineEdit* Text5;      // quantity
    QLineEdit* MaskEdBox1; // schedule
    QLineEdit* Text6;      // sorting code
};

} // namespace tv
