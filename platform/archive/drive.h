#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

namespace tv::archive {

enum class DriveState { Ready, NoDisk, WriteProtected };

// A removable drive reached by a letter ("A:"). The medium in it is seen as a folder of the local file
// system.
class Drive
{
public:
    virtual ~Drive() = default;

    // The folder where the root of the inserted medium is seen; empty when there is no medium.
    virtual QString rootPath() const = 0;
    // A readable medium is in the drive.
    virtual bool hasMedium() const = 0;
    // The medium can be written (it is not write-protected).
    virtual bool isWritable() const = 0;
    // Bytes that can still be written on the medium.
    virtual qint64 freeBytes() const = 0;
    // Removes every file and folder on the medium. False (with a reason in error) when it could not.
    virtual bool erase(QString* error = nullptr);

    DriveState state() const;
};

// The real drive: a folder of this machine stands for the medium.
// With mountPointRequired the folder holds a medium only while a volume is mounted exactly there (a floppy or
// stick under /media); otherwise any existing folder counts as an inserted medium.
class FolderDrive : public Drive
{
public:
    FolderDrive(QString folder, bool mountPointRequired);

    QString folder() const { return m_folder; }

    QString rootPath() const override;
    bool hasMedium() const override;
    bool isWritable() const override;
    qint64 freeBytes() const override;
    bool erase(QString* error = nullptr) override;

private:
    QString m_folder;
    bool m_mountPointRequired;
};

// Drive A: as found on this machine: the folder named by TARVENOR_DRIVE_A when it is set; otherwise
// /media/floppy when it exists; otherwise the first volume mounted under /media/$USER or /run/media/$USER.
// Looked up again at every call, so a stick plugged in later is found.
class DefaultDriveA : public Drive
{
public:
    QString rootPath() const override;
    bool hasMedium() const override;
    bool isWritable() const override;
    qint64 freeBytes() const override;
    bool erase(QString* error = nullptr) override;

    // The folder drive A: stands for now, and whether it is a mount point; empty when none is found.
    static QString currentFolder(bool* mountPointRequired = nullptr);

private:
    FolderDrive current() const;
};

// A drive for tests: a set of disks, each a sub-folder of folder ("disk1", "disk2", ...), with a simulated
// capacity. One disk at a time is inserted; the test swaps disks when the engine asks for one.
class SimulatedDrive : public Drive
{
public:
    SimulatedDrive(QString folder, qint64 capacity);

    // Makes an empty disk and returns its number (from 1).
    int addDisk();
    int diskCount() const { return m_disks; }
    QString diskFolder(int disk) const;
    void insert(int disk);
    void eject() { m_inserted = 0; }
    int insertedDisk() const { return m_inserted; }
    void setWriteProtected(int disk, bool on);
    qint64 capacity() const { return m_capacity; }
    // Bytes taken by the files on disk.
    qint64 usedBytes(int disk) const;

    QString rootPath() const override;
    bool hasMedium() const override { return m_inserted > 0; }
    bool isWritable() const override;
    qint64 freeBytes() const override;

private:
    QString m_folder;
    qint64 m_capacity;
    int m_disks = 0;
    int m_inserted = 0;
    QSet<int> m_writeProtected;
};

// The drive letters of this program and the mapping of "A:\..." paths onto the local file system.
namespace drives {

// The drive of letter ("A:" or "A", any case); null for a letter this program does not know.
Drive* drive(const QString& letter);
// Puts drive in place of the drive of letter (tests); null brings the machine's own drive back.
void setDrive(const QString& letter, std::shared_ptr<Drive> drive);
// The letters of the drives, as "A:".
QStringList letters();

// Where a path lies on a drive: the drive, its letter and the path inside the medium (with '/', no leading
// '/').
struct Location
{
    Drive* drive = nullptr;
    QString letter;
    QString relativePath;
};

// The drive location of path: a "A:\..." path, or a local path inside the root of an inserted medium.
// drive is null when the path is not on a drive.
Location locate(const QString& path);

// The local file-system path for path: "A:\x\y" becomes the medium's root followed by "/x/y" (empty when the
// drive has no medium); in other paths backslashes become slashes unless the path exists as written.
QString toLocalPath(const QString& path);

} // namespace drives

} // namespace tv::archive
