#pragma once

#include "platform/form.h"
#include "platform/report/engine.h"

#include <QHash>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tv {

// "Print Multiple Reports": prints several documents of one job straight to the printer, either the ticked
// ones of ten check boxes (in a fixed order, not the order on the screen) or one of three contract packages.
// "E&xit" hides the window, keeping the job number and the ticks; closing it by its title bar unloads it.
class PrintMenu2 : public Form
{
    Q_OBJECT
public:
    // A preset button: the boxes it unticks and ticks; the others keep their state.
    struct Preset
    {
        QString element;
        QString caption;
        QStringList unticks;
        QStringList ticks;
    };
    static const QList<Preset>& presets();

    PrintMenu2();

    // The window's report engine (the design's CrystalReport1); it always prints to the printer.
    tv::report::ReportEngine& engine() { return CrystalReport1; }
    QCheckBox* checkBox(const QString& element) const { return m_boxes.value(element); }

    // "&Print (No Preview)": prints the ticked documents.
    void Command1_Click();
    // The presets "Int'l  Quote", "USA Quote", "Scoring Quote".
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // The contract packages "International Contract", "Domestic Contract", "Scoring Contract".
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    // "E&xit": hides the window.
    void Command5_Click();

protected:
    void Form_Load() override;

private:
    void applyPreset(const QString& element);
    void printPackage(const QString& element);

    tv::report::ReportEngine CrystalReport1;
    QLineEdit* Text1;
    QHash<QString, QCheckBox*> m_boxes;
    QHash<QString, QPushButton*> m_buttons;
    QPushButton* Command5;
    QLabel* Image1;
};

} // namespace tv
