#pragma once

#include "platform/form.h"

#include <QHash>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace tv {

class Binding;
class RecordNavigator;

// "Job Information Form": one job of `Job Information` at a time, its identity, terms and machine data, with
// buttons that fill groups of fields with standard values and one that duplicates the job.
class JobInformationSheet : public Form
{
    Q_OBJECT
public:
    JobInformationSheet();

    // The make's converted pinsetter: the machine type the three pinsetter default buttons write.
    static const QString DefaultPinsetter;
    // The payment paragraphs of the contract written by the machine default buttons.
    static const QString FiveDayTerms;
    static const QString TwentyDayTerms;
    // The longest text the editable lists accept.
    static constexpr int ListTextLimit = 30;

    Binding* jobBinding() const { return Data1; }

    void Command1_Click();  // "&China Defaults" (terms)
    void Command2_Click();  // "E&xit"
    void Command3_Click();  // "Copy &Job Name"
    void Command4_Click();  // "&USA Defaults" (terms)
    void Command5_Click();  // "&Clear Address Below"
    void Command6_Click();  // "&Duplicate This Customer"
    void Command7_Click();  // "&International Defaults" (terms)
    void Command8_Click();  // "&China Defaults" (machine)
    void Command9_Click();  // "&Int'l Defaults" (machine)
    void Command10_Click(); // "&USA Defaults" (machine)
    void Command11_Click(); // "&Scoring Defaults" (machine)
    void Combo1_LostFocus();
    void Combo2_LostFocus();
    void Combo3_LostFocus();
    void Combo4_LostFocus();
    void Combo6_LostFocus();
    void Combo5_Change();
    // The navigator's add and delete buttons.
    void SSDBData1_AddClick();
    void SSDBData1_DeleteClick();
    void Form_Paint();

protected:
    void Form_Load() override;
    bool Form_Unload() override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TermsDefaults;
    struct MachineDefaults;
    void applyTermsDefaults(const TermsDefaults& values);
    void applyMachineDefaults(const MachineDefaults& values);
    // Shows the refusal and puts the focus back when the list's text is too long.
    bool checkListLength(QComboBox* box);
    // A job is on the sheet: a saved row, or a new row with something typed into it.
    bool hasJob() const;
    bool newJobIsBlank() const;
    void fillTermsList(QComboBox* box, Binding* source, const QString& field);

    QWidget* buildJobTab();
    QWidget* buildTermsTab();
    QWidget* buildOtherTab();
    QLineEdit* lineEdit(const QString& name, const QString& field, int maxLength, const QString& tip = {});
    QComboBox* comboBox(const QString& name, const QString& field, const QStringList& items,
                        const QString& tip);
    QPlainTextEdit* memo(const QString& name, const QString& field);
    QPushButton* button(const QString& name, const QString& caption, void (JobInformationSheet::*handler)(),
                        const QString& tip = {});

    Binding* Data1; // the job
    Binding* Data2; // list source of the payment terms
    Binding* Data3; // list source of the shipment terms
    QTabWidget* SSTab1;
    RecordNavigator* SSDBData1;
    QHash<QString, QLineEdit*> m_text; // "Text1" ... "Text40"
    QComboBox* Combo1;
    QComboBox* Combo2;
    QComboBox* Combo3;
    QComboBox* Combo4;
    QComboBox* Combo5;
    QComboBox* Combo6;
    QComboBox* SSDBCombo1;  // shipment terms
    QComboBox* SSDBCombo2;  // payment terms
    QPlainTextEdit* Text9;  // job notes
    QPlainTextEdit* Text12; // contract terms
    QLabel* m_headerNumber;
    QLabel* m_headerName;
    // Every bound box with its field, in the order of the sheet.
    QList<QPair<QWidget*, QString>> m_bound;
};

} // namespace tv
