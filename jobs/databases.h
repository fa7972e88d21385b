#pragma once

#include "platform/form.h"

#include <functional>

class QPrinter;
class QTableView;

namespace tv {

class Binding;
class RecordNavigator;
class RecordSetModel;

// "Databases": the grid of quote lines. Opened from the main window it lists every line of every job; the
// pick list loads it, hands its binding the record set of one job's lines and shows it modally:
//
//     Databases* list = Forms::load<Databases>();
//     list->Data1()->setRecordset(jobLines);
//     list->showModal();
class Databases : public Form
{
    Q_OBJECT
public:
    Databases();

    // Every quote line in the fixed order.
    static const QString AllLinesSource;

    // The binding of the grid, element Data1. The edit window shares its record set.
    Binding* Data1() const { return m_data1; }
    QTableView* grid() const { return SSDBGrid1; }

    void Command1_Click(); // "E&xit"
    void Command2_Click(); // "Print"
    void Command3_Click(); // "&Edit Item"

    // What printing asks of the machine; tests put their own answers here.
    struct PrintChoice
    {
        int pageCount = 1; // pages of the whole list, for the dialog's page range
        bool hasSelection = false;
    };
    std::function<bool()> printerAvailable;
    // Shows the print dialog for the printer; false when the user cancelled.
    std::function<bool(QPrinter& printer, const PrintChoice& choice)> printDialog;

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followRecordset();
    void selectCurrentRow();
    void currentRowChosen(int row);
    QList<int> rowsToPrint(const QPrinter& printer, int rowsPerPage) const;
    bool confirmLargePrint(int pages);

    Binding* m_data1;
    RecordNavigator* SSDBData1;
    QTableView* SSDBGrid1;
    RecordSetModel* m_model;
    bool m_syncing = false;
};

} // namespace tv
