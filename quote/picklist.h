#pragma once

#include "catalog/catalogmodel.h"
#include "database/connection.h"
#include "platform/form.h"
#include "quote/quoteline.h"

#include <QList>
#include <QSqlQuery>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace tv {

class Binding;
class ClickLabel;
class RecordNavigator;

// The pick list: the current job, the 40 item slots as check boxes with their labels, quote generation, the
// catalog editor for single items, the job's quoted items, and the check-mark templates. It is the provider
// of the current job for everything that makes quote lines.
class PickList5 : public Form
{
    Q_OBJECT
public:
    PickList5();

    // The current job: number and lane count as shown in the header, commission as stored.
    quote::JobValues currentJob() const;
    // Whether a job is selected that lines can be made for.
    bool hasJob() const;
    // Reads the current job's row again, so that lines use its lane count and commission as stored now;
    // false, with the user told, when the job is no longer there.
    bool refreshCurrentJob();
    // The current job's number; 0 when there is none (no SQL text is ever built from it then).
    qint64 jobNumber() const;

    // Bindings by their design index (12 carries no table).
    Binding* Data1(int index) const { return m_data1.value(index); }
    Binding* Data2() const { return m_data2; }
    Binding* Data3() const { return m_data3; }

    QCheckBox* Check1(int index) const { return m_checks.value(index); }
    bool isChecked(int slot) const;
    void setChecked(int slot, bool on);
    QProgressBar* progressBar() const { return ccrpProgressBar1; }

    void Form_Paint();
    void SSCommand1_Click(); // "Click Here, Then Select the Correct Job Number"
    void Label1_Click(int index);
    void MnuCheckMarksAll_Click();
    void mnuCheckMarksNone_Click();
    void Command1_Click(); // "E&xit"
    void Command2_Click(); // "&Auto Generate Quote"
    void Command6_Click(); // "&Quote Individual Items"
    void Command7_Click(); // "&Modify Quoted Items"
    void mnuCheckMarksSave_Click();
    void MnuCheckMarksRecall_Click();

    // Quote generation, one step per checked slot (slot 1 to 40).
    void itemSlotQuoting(int slot);
    // Points the sub-item bindings at the row of the item slot held in Text1.
    void subItemRequery();
    // The requery before the line of a sub-item: its values are read again from the database, and the
    // bindings are pointed at the rows anew when they no longer show what is stored.
    void subItemRequeryForLine(int subSlot);
    // One line for each sub-item of the current item slot whose default check mark is set.
    void subItemQuoting();

protected:
    void Form_Load() override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildHeader(QWidget* header);
    void buildGrid(QWidget* grid);
    void placeCover();
    void progressStep();
    // The stored catalog values of item slot s, as the pick list's bindings stand.
    catalog::Entry storedItem(int slot) const;
    catalog::Entry storedSubItem(int subSlot) const;
    int currentItemSlot() const;
    // Reads the catalog rows again, so that a run quotes the catalog as stored now (the catalog editor may
    // have changed it while the pick list was open).
    void refreshCatalog();
    // Before a run writes anything: does some line of the checked slots need the lane count?
    bool runNeedsLaneCount(bool* needs);
    // Selecting a template through the template list; -1 when there is none to choose.
    bool selectTemplate(const QString& title, QVariant* recordNo);
    void finishTemplateOperation();
    void schedulePaint();
    // The run stops at a line the database refused.
    bool m_runFailed = false;
    int m_requeriedSlot = 0;
    // Statements reading the stored values of one sub-item slot, prepared once each.
    db::ConnectionPtr m_freshRows;
    std::vector<std::unique_ptr<QSqlQuery>> m_freshRowQueries;
    bool m_paintScheduled = false;
    bool m_repaintDue = true;

    QList<Binding*> m_data1;
    Binding* m_data2 = nullptr;
    Binding* m_data3 = nullptr;
    QList<QCheckBox*> m_checks;
    QList<ClickLabel*> m_labels;
    QLabel* Label41 = nullptr; // job number
    QLabel* Label42 = nullptr;
    QLabel* Label43 = nullptr;
    QLabel* Label48 = nullptr; // lane count
    QLabel* Label50 = nullptr;
    QWidget* m_header = nullptr;
    QPushButton* SSCommand1 = nullptr;
    RecordNavigator* SSDBData1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QLineEdit* Text1 = nullptr;  // item slot being quoted
    QLineEdit* Text25 = nullptr; // checked slots of the run
    QLineEdit* Text26 = nullptr; // slots still to do
    QLineEdit* Text27 = nullptr; // percentage done
    QProgressBar* ccrpProgressBar1 = nullptr;
};

} // namespace tv
