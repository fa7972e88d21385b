#pragma once

#include "platform/form.h"

#include <QHash>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTimer;

namespace tv {

class Binding;
class ClickLabel;

// The main window: the logo, the three steps of a quotation as pictures, the menus and the clock.
// Closing it ends the program.
class MainMenu : public Form
{
    Q_OBJECT
public:
    MainMenu();

    // The editing flag read by the catalog editors: the check state of "C&ustom Items".
    bool editingFlag() const;
    void setEditingFlag(bool on);

    // A menu entry by its name (MnuFileCompress, ...).
    QAction* entry(const QString& name) const { return m_entries.value(name); }
    Binding* logoBinding() const { return Data1; }

    // At program start the window paints first and opens its binding right after, running the given
    // preparation of the database file before: the window shows at once. Set before the window loads.
    static void openDataAfterFirstPaint(std::function<void()> beforeOpen);

    // Menu handlers, one per entry.
    void MnuFileCompress_Click();
    void mnuFileBackup_Click();
    void MnuExit_Click();
    void MnuYourInformation_Click();
    void MnuJobInformation_Click();
    void MnuFinance_Click();
    void MnuLogo_Click();
    void MnuPaymentTerms_Click();
    void MnuShipmentTerms_Click();
    void MnuCustItems_Click();
    void MnuModifyItems_Click();
    void MnuPrintMultiple_Click();
    void MnuSingleReport_Click();
    void HelpMenuHelp_Click();
    void MenuHelpAbout_Click();

    // Shortcuts on the window surface.
    void Image2_DblClick();
    void Image3_DblClick();
    void Image4_DblClick();
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();

    void Timer1_Timer();

protected:
    void Form_Load() override;
    bool Form_Unload() override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Resize();
    QAction* addEntry(QMenu* menu, const QString& name, const QString& caption, void (MainMenu::*handler)());
    void buildMenus(QMenuBar* bar);
    // Enable the entries and shortcuts of each subsystem (mainmenu_<subsystem>.cpp).
    void setUpJobsEntries();
    void setUpQuoteEntries();
    void setUpSettingsEntries();
    void setUpReportsEntries();
    void setUpBackupEntries();

    Binding* Data1;
    QLabel* Image1;
    ClickLabel* Image2;
    ClickLabel* Image3;
    ClickLabel* Image4;
    QLabel* Image5;
    ClickLabel* Label2;
    ClickLabel* Label3;
    ClickLabel* Label4;
    QStatusBar* StatusBar1;
    QLabel* m_timePanel;
    QLabel* m_datePanel;
    QTimer* Timer1;
    QHash<QString, QAction*> m_entries;
    bool m_firstPaint = true;
    bool m_dataPending = false;
};

} // namespace tv
