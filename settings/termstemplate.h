#pragma once

#include "platform/form.h"
#include "platform/recordsetmodel.h"

#include <QTableView>

class QLabel;
class QPushButton;

namespace tv {

class Binding;

// Which of the two terms lists a TermsTemplate window keeps.
struct TermsList
{
    QString windowName; // PaymentTemplate, ShipmentTemplate
    QString caption;    // window, grid and column caption
    QString table;      // the table, whose one text field has the same name

    static const TermsList& payment();
    static const TermsList& shipment();
};

// The grid's rows: one per terms text, then an empty row in which a new text is typed.
class TermsModel : public RecordSetModel
{
    Q_OBJECT
public:
    TermsModel(QObject* parent, const TermsList& list);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool isNewRow(int row) const;

private:
    QString m_field;
};

// The grid: a table view that can hand in the text still in its editor.
class TermsGrid : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;
    // Writes the text of an open cell editor and closes it.
    void commitPendingEdit();
};

// "Payment Terms" and "Shipment Terms": the lists of standard texts offered by the job information sheet.
// One class for both windows; load it with Forms::loadKeyed<TermsTemplate>(list.table, list).
class TermsTemplate : public Form
{
    Q_OBJECT
public:
    explicit TermsTemplate(const TermsList& list);

    const TermsList& list() const { return m_list; }
    Binding* binding() const { return Data1; }
    TermsGrid* grid() const { return SSDBGrid1; }
    TermsModel* model() const { return m_model; }

    // "&OK": closes the window; the texts are saved.
    void Command1_Click();
    // Begins a new text in the empty last row.
    void addText();
    // Deletes the selected text after asking. False when nothing was deleted.
    bool deleteSelected();

protected:
    void Form_Load() override;
    bool Form_Unload() override;

private:
    void updateButtons();

    TermsList m_list;
    Binding* Data1;
    TermsModel* m_model;
    QLabel* m_gridCaption;
    TermsGrid* SSDBGrid1;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* Command1;
};

} // namespace tv
