#pragma once

// The folder and drive lists of the extract dialog.

#include <QComboBox>
#include <QListWidget>

namespace tv::backup {

// The folders around the current folder: its parents from the root down, the folder itself, then its
// sub-folders, each indented by its depth. Activating an entry (double click, Enter) makes it the current
// folder.
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    // Moves to folder. False, with the list unchanged, when it is no folder that can be read.
    bool setPath(const QString& folder);

signals:
    // The current folder changed.
    void pathChanged(const QString& path);

private:
    void fill();

    QString m_path;
};

// The drives of the machine: the drive letters of the program (A:) first, then the mounted volumes by their
// folder ("/", "/media/stick").
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Reads the drives again.
    void refresh();
    // The current entry: "A:" or the folder of a volume.
    QString drive() const;
    // Makes drive the current entry without raising the change (it is added if missing).
    void setDrive(const QString& drive);

    // The entry on which folder lies.
    static QString driveOf(const QString& folder);
    // The folder where the root of drive is seen; empty when the drive cannot be read (no disk).
    static QString rootOf(const QString& drive);
    // The volumes of the machine worth offering, by folder.
    static QStringList volumes();
};

} // namespace tv::backup
