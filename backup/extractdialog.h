#pragma once

#include "platform/form.h"

#include <QHash>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tv::archive {
class ArchiveEngine;
}

namespace tv {

namespace backup {
class DriveList;
class FolderList;
} // namespace backup

// "Extract archive": the folder into which the archive manager's Restore extracts. The chosen folder goes
// into the engine's extract folder; cancelled() tells the archive window when the user gave none.
class ExtractDialog : public Form
{
    Q_OBJECT
public:
    explicit ExtractDialog(archive::ArchiveEngine* engine);

    // Kept between uses of the dialog: true when it was last left without choosing a folder.
    static bool cancelled() { return s_cancelled; }

    QLineEdit* extractText() const { return txtExtract; }
    backup::FolderList* folderList() const { return dirExtract; }
    backup::DriveList* driveList() const { return drvExtract; }

    void dirExtract_Change();
    void drvExtract_Change();
    void cmdSelect_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    bool Form_Unload() override;

private:
    archive::ArchiveEngine* m_engine;
    QList<QLabel*> lbl;
    QLineEdit* txtExtract;
    backup::FolderList* dirExtract;
    backup::DriveList* drvExtract;
    QPushButton* cmdSelect;
    QPushButton* cmdCancel;
    // The last folder shown on each drive, to come back to when the drive is chosen again.
    QHash<QString, QString> m_folderOnDrive;
    bool m_answered = false;

    static bool s_cancelled;
};

} // namespace tv
