#pragma once

#include "platform/form.h"
#include "platform/report/engine.h"

#include <QHash>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tv {

namespace reports {
struct CatalogueEntry;
}

// "Print Menu": prints or previews one document at a time for a job number typed by the user. "E&xit" hides
// the window, keeping the job number, the preview choice and the engine's settings; closing it by its title
// bar unloads it.
class PrintMenu : public Form
{
    Q_OBJECT
public:
    PrintMenu();

    // The window's report engine (the design's CrystalReport1); its settings stay between prints.
    tv::report::ReportEngine& engine() { return CrystalReport1; }
    // A print button by its element name ("Command2" ... "Command11").
    QPushButton* button(const QString& element) const { return m_buttons.value(element); }

    // The print buttons, each printing the catalogue row of its element.
    void Command2_Click();  // "Job Quote (With Prices)"
    void Command7_Click();  // "Job Quote (No Prices)"
    void Command8_Click();  // "Job Quote (No Totals)"
    void Command3_Click();  // "Proforma Invoice"
    void Command4_Click();  // "Detailed Terms and Conditions"
    void Command9_Click();  // "Scoring Only Terms and Conditions"
    void Command10_Click(); // "Financing"
    // "Simple Terms and Conditions": no job number; the engine keeps the formula of the last print.
    void Command11_Click();
    // "E&xit": hides the window and shows the main window.
    void Command1_Click();

protected:
    void Form_Load() override;
    bool Form_Unload() override;

private:
    void printDocument(const QString& element);
    // The destination the preview check box stands for at this moment.
    int destination() const;

    tv::report::ReportEngine CrystalReport1;
    QLineEdit* Text1;
    QCheckBox* SSCheck1; // "Preview &First With Export Options"
    QPushButton* Command1;
    QLabel* Image1;
    QHash<QString, QPushButton*> m_buttons;
};

} // namespace tv
