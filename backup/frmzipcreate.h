#pragma once

#include "platform/archive/archiveengine.h"
#include "platform/form.h"

#include <QHash>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTreeWidget;

namespace tv {

// "Database Backup": a small zip archive manager. The user creates or opens an archive, sees its members,
// adds, updates, deletes and restores members, tests, repairs or deletes whole archives, and backs the
// database up to drive A: and restores it from there with one command each. The archive engine ZipMain does
// the work; the window shows its progress and turns its result codes into messages.
class frmZipCreate : public Form
{
    Q_OBJECT
public:
    // A failure met outside the archive engine (the drive, the file system, the database), numbered as the
    // platform numbers its run-time errors. Number 0: none.
    struct RunError
    {
        int number = 0;
        QString description;
        explicit operator bool() const { return number != 0; }
    };
    // No readable disk in the drive.
    static constexpr int ErrNoDisk = 52;
    // The disk in the drive is write-protected.
    static constexpr int ErrWriteProtected = 3050;
    // A file could not be removed or made.
    static constexpr int ErrFileAccess = 75;
    // The database file could not be copied.
    static constexpr int ErrDatabaseCopy = 3049;

    // The archive of the automatic backup.
    static inline const QString BackupArchive = QStringLiteral("A:\\PelkinBackup.zip");

    frmZipCreate();

    archive::ArchiveEngine* engine() const { return ZipMain; }
    // A menu entry by its name (mnuFileNew, ...), or a menu's own entry (mnuFile, mnuFileFix, ...).
    QAction* entry(const QString& name) const { return m_entries.value(name); }
    QMenu* menu(const QString& name) const { return m_menus.value(name); }
    QTreeWidget* list() const { return lstMain; }
    QString statusText() const;
    QProgressBar* progressBar() const { return prbMain; }
    QPushButton* abortButton() const { return cmdAbort; }
    int busyCount() const { return m_busy; }
    // The automatic flags: the check marks of the "&Automatic" entries.
    bool automaticBackup() const;
    bool automaticRestore() const;

    // The menus set their entries when they open.
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuOptions_Click();

    void mnuFileWizard_Click();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileTest_Click();
    void mnuFileFixNormal_Click();
    void mnuFileFixAgressive_Click();
    void mnuFileDelete_Click();
    void mnuFileExit_Click();
    void mnuEditAdd_Click();
    void mnuEditDelete_Click();
    void mnuEditExtract_Click();
    void mnuEditUpdate_Click();
    void mnuEditUpdateZipDate_Click();
    void mnuEditSelectAll_Click();
    void mnuOptionsBest_Click();
    void mnuOptionsNormal_Click();
    void mnuOptionsFastest_Click();
    void mnuOptionsStore_Click();
    void mnuOptionsMultidiskMode_Click();
    void mnuOptionsClearDisks_Click();
    void mnuOptionsUseTempFile_Click();
    void mnuAutomaticBackup_Click();
    void mnuAutomaticRestore_Click();
    void cmdAbort_Click();

    // Archive engine events.
    void ZipMain_Adding(const QString& name, qint64 size);
    void ZipMain_Extracting(const QString& name, qint64 size);
    void ZipMain_Testing(const QString& name, qint64 size);
    void ZipMain_Updating(const QString& name, qint64 size);
    void ZipMain_Deleting(const QString& name);
    void ZipMain_Fixing(const QString& name);
    void ZipMain_ListingFile(const QString& name, qint64 size, qint64 packedSize, const QString& dateTime,
                             int ratio);
    void ZipMain_Status(int percent);
    void ZipMain_NewDisk(int disk);
    void ZipMain_Replace(const QString& name, archive::ReplaceAnswer* answer);
    void ZipMain_SkippingFile(const QString& name, int reason);

    // The totals of the last listing in the status bar.
    void showSummary();

    // The message shown when the automatic backup fails outside the archive engine.
    static QString backupErrorText(const RunError& error);

protected:
    void Form_Load() override;
    bool Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Selected { Delete, Extract };

    QAction* addEntry(QMenu* menu, const QString& name, const QString& caption,
                      void (frmZipCreate::*handler)(), bool checkable = false);
    void buildMenus(QMenuBar* bar);
    void Form_Resize();

    void enterBusy();
    void leaveBusy();
    void showBusy();
    void setStatus(const QString& text);
    void report(int code, const QString& verb);
    void refreshList(const QString& verb = QStringLiteral("listing"));
    void removeAllItems();
    void setAutomaticBackup(bool on);
    void setAutomaticRestore(bool on);

    // The commands, as the menus and the automatic sequences run them.
    RunError newArchive();
    RunError openArchive();
    RunError addFiles(int mode);
    RunError restoreFiles();
    void fixArchive(bool aggressive);
    int processSelected(Selected mode);
    // A multidisk backup just written is read back in full before it is called complete.
    void confirmBackup();
    // The drive the archive name lies on must hold a disk (and, for writing, one that is not protected).
    RunError checkDrive(const QString& archiveName, bool writing) const;
    // The database extracted by the automatic restore into folder takes the place of the database file.
    void placeRestoredDatabase(const QString& folder, int extractResult);
    // Lets go of the database file: the main window's connection is closed and every other window holding
    // the file is closed. False when something still holds it (owners names who).
    bool releaseDatabase(QStringList* owners);

    archive::ArchiveEngine* ZipMain;
    QMenuBar* m_menuBar;
    QWidget* m_client;
    QTreeWidget* lstMain;
    QStatusBar* stbMain;
    QLabel* m_statusLabel;
    QProgressBar* prbMain;
    QPushButton* cmdAbort;
    QHash<QString, QAction*> m_entries;
    QHash<QString, QMenu*> m_menus;

    int m_busy = 0;
    int m_memberCount = 0;
    qint64 m_totalSize = 0;
    qint64 m_totalPacked = 0;
    int m_expectedCount = 0;
    // The filter the file selection dialog shows: the one set by the last Add.
    QString m_filesFilter;

    // Sizes and positions at load, in twips, for the layout rule.
    int m_loadWidth = 0;
    int m_loadHeight = 0;
};

} // namespace tv
