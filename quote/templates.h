#pragma once

#include "platform/form.h"

#include <QStringList>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tv {

class Binding;
class RecordSetModel;

// The template list: the ten check-mark templates by number and name, sharing the pick list's template record
// set, so that the row selected here is the row the pick list saves to or recalls from.
class UserTemplate : public Form
{
    Q_OBJECT
public:
    UserTemplate();

    Binding* Data1() const { return m_data1; }
    QTableView* SSDBGrid1() const { return m_grid; }
    QString gridCaption() const;
    // The window's and the grid's caption: the title of the operation.
    void setTitle(const QString& title);
    // Unloads the window at the end of an operation.
    void finish();

    void Command1_Click(); // "&OK"
    void Command2_Click(); // "&Edit"

protected:
    void Form_Load() override;
    bool Form_Unload() override;

private:
    void selectCurrentRow();

    Binding* m_data1;
    RecordSetModel* m_model;
    QGroupBox* m_frame;
    QTableView* m_grid;
    bool m_finishing = false;
};

// The template name window: the name of the template row selected in the list.
class EditData2 : public Form
{
    Q_OBJECT
public:
    EditData2();

    Binding* Data1() const { return m_data1; }
    void Command1_Click(); // "&OK"

protected:
    void Form_Load() override;

private:
    Binding* m_data1;
    QLineEdit* Text1;
};

namespace quote {

// The tables holding template n's copies of the default check marks.
QString itemDefaultCopy(int templateNumber);
QString subItemDefaultCopy(int templateNumber);

// Replaces template n's copies by copies of "ItemDefault" and "SubItemDefault". Both drops and copies run in
// one transaction, so a failing copy leaves the old copies in place. A copy table that is missing is made
// anew.
bool saveDefaultCopies(int templateNumber, QString* error);

// Replaces "ItemDefault" and "SubItemDefault" by template n's copies, in one transaction. A table whose copy
// is missing is left as it is and named in missing.
bool restoreDefaultCopies(int templateNumber, QStringList* missing, QString* error);

} // namespace quote
} // namespace tv
