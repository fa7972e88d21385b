#include "platform/archive/drive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QStorageInfo>
#include <QtGlobal>

namespace tv::archive {

namespace {

// Removes everything inside folder, not the folder itself. Symbolic links are removed, never followed.
bool removeContents(const QString& folder, QString* error)
{
    QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        bool ok;
        if (entry.isDir() && !entry.isSymLink())
            ok = QDir(entry.filePath()).removeRecursively();
        else
            ok = QFile::remove(entry.filePath());
        if (!ok) {
            if (error)
                *error = QStringLiteral("cannot remove %1").arg(entry.filePath());
            return false;
        }
    }
    return true;
}

// Erasing must never reach the system or the user's own files, whatever a drive was mapped to.
bool isSafeToErase(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || canonical == QLatin1String("/"))
        return false;
    const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
    if (!home.isEmpty() && (home == canonical || home.startsWith(canonical + QLatin1Char('/'))))
        return false;
    return true;
}

qint64 folderBytes(const QString& folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

} // namespace

bool Drive::erase(QString* error)
{
    if (!hasMedium()) {
        if (error)
            *error = QStringLiteral("no disk");
        return false;
    }
    return removeContents(rootPath(), error);
}

DriveState Drive::state() const
{
    if (!hasMedium())
        return DriveState::NoDisk;
    return isWritable() ? DriveState::Ready : DriveState::WriteProtected;
}

// ---------------------------------------------------------------------------------------------------------------

FolderDrive::FolderDrive(QString folder, bool mountPointRequired)
    : m_folder(std::move(folder)), m_mountPointRequired(mountPointRequired)
{}

QString FolderDrive::rootPath() const
{
    return hasMedium() ? m_folder : QString();
}

bool FolderDrive::hasMedium() const
{
    if (m_folder.isEmpty())
        return false;
    const QFileInfo info(m_folder);
    if (!info.isDir() || !info.isReadable())
        return false;
    if (!m_mountPointRequired)
        return true;
    const QStorageInfo storage(m_folder);
    return storage.isValid() && storage.isReady() &&
           QFileInfo(storage.rootPath()).canonicalFilePath() == info.canonicalFilePath();
}

bool FolderDrive::isWritable() const
{
    if (!hasMedium())
        return false;
    const QStorageInfo storage(m_folder);
    return !storage.isReadOnly() && QFileInfo(m_folder).isWritable();
}

qint64 FolderDrive::freeBytes() const
{
    if (!hasMedium())
        return 0;
    const QStorageInfo storage(m_folder);
    // Keep one block back: the file system needs room of its own for a file's last, partly used block.
    const qint64 block = qMax<qint64>(storage.blockSize(), 512);
    return qMax<qint64>(0, storage.bytesAvailable() - block);
}

bool FolderDrive::erase(QString* error)
{
    if (!isSafeToErase(m_folder)) {
        if (error)
            *error = QStringLiteral("refusing to erase %1").arg(m_folder);
        return false;
    }
    return Drive::erase(error);
}

// ---------------------------------------------------------------------------------------------------------------

QString DefaultDriveA::currentFolder(bool* mountPointRequired)
{
    if (mountPointRequired)
        *mountPointRequired = true;
    const QString mapped = qEnvironmentVariable("TARVENOR_DRIVE_A");
    if (!mapped.isEmpty()) {
        if (mountPointRequired)
            *mountPointRequired = false;
        return mapped;
    }
    if (QFileInfo::exists(QStringLiteral("/media/floppy")))
        return QFileInfo(QStringLiteral("/media/floppy")).canonicalFilePath();
    const QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        return {};
    const QStringList places = {QStringLiteral("/media/") + user + QLatin1Char('/'),
                                QStringLiteral("/run/media/") + user + QLatin1Char('/')};
    QStringList found;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        for (const QString& place : places) {
            if (volume.rootPath().startsWith(place))
                found << volume.rootPath();
        }
    }
    found.sort();
    return found.value(0);
}

FolderDrive DefaultDriveA::current() const
{
    bool mountPoint = true;
    const QString folder = currentFolder(&mountPoint);
    return FolderDrive(folder, mountPoint);
}

QString DefaultDriveA::rootPath() const
{
    return current().rootPath();
}

bool DefaultDriveA::hasMedium() const
{
    return current().hasMedium();
}

bool DefaultDriveA::isWritable() const
{
    return current().isWritable();
}

qint64 DefaultDriveA::freeBytes() const
{
    return current().freeBytes();
}

bool DefaultDriveA::erase(QString* error)
{
    FolderDrive drive = current();
    return drive.erase(error);
}

// ---------------------------------------------------------------------------------------------------------------

SimulatedDrive::SimulatedDrive(QString folder, qint64 capacity)
    : m_folder(std::move(folder)), m_capacity(capacity)
{}

int SimulatedDrive::addDisk()
{
    ++m_disks;
    QDir().mkpath(diskFolder(m_disks));
    return m_disks;
}

QString SimulatedDrive::diskFolder(int disk) const
{
    return m_folder + QStringLiteral("/disk") + QString::number(disk);
}

void SimulatedDrive::insert(int disk)
{
    m_inserted = (disk >= 1 && disk <= m_disks) ? disk : 0;
}

void SimulatedDrive::setWriteProtected(int disk, bool on)
{
    if (on)
        m_writeProtected.insert(disk);
    else
        m_writeProtected.remove(disk);
}

qint64 SimulatedDrive::usedBytes(int disk) const
{
    return folderBytes(diskFolder(disk));
}

QString SimulatedDrive::rootPath() const
{
    return m_inserted > 0 ? diskFolder(m_inserted) : QString();
}

bool SimulatedDrive::isWritable() const
{
    return m_inserted > 0 && !m_writeProtected.contains(m_inserted);
}

qint64 SimulatedDrive::freeBytes() const
{
    if (m_inserted <= 0)
        return 0;
    return qMax<qint64>(0, m_capacity - usedBytes(m_inserted));
}

// ---------------------------------------------------------------------------------------------------------------

namespace drives {

namespace {

QString normalLetter(const QString& letter)
{
    if (letter.isEmpty())
        return {};
    return QString(letter.at(0).toUpper()) + QLatin1Char(':');
}

QMap<QString, std::shared_ptr<Drive>>& replaced()
{
    static QMap<QString, std::shared_ptr<Drive>> map;
    return map;
}

Drive* machineDrive(const QString& letter)
{
    static DefaultDriveA driveA;
    return letter == QLatin1String("A:") ? &driveA : nullptr;
}

// "A:" followed by nothing, "\" or "/" and the rest: the letter and the rest without its leading separators.
bool splitDrivePath(const QString& path, QString* letter, QString* rest)
{
    if (path.size() < 2 || path.at(1) != QLatin1Char(':') || !path.at(0).isLetter())
        return false;
    if (path.size() > 2 && path.at(2) != QLatin1Char('\\') && path.at(2) != QLatin1Char('/'))
        return false;
    *letter = normalLetter(path.left(1));
    QString tail = path.mid(2);
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    *rest = tail;
    return true;
}

} // namespace

Drive* drive(const QString& letter)
{
    const QString key = normalLetter(letter);
    if (const auto it = replaced().constFind(key); it != replaced().constEnd())
        return it->get();
    return machineDrive(key);
}

void setDrive(const QString& letter, std::shared_ptr<Drive> drive)
{
    const QString key = normalLetter(letter);
    if (drive)
        replaced().insert(key, std::move(drive));
    else
        replaced().remove(key);
}

QStringList letters()
{
    QStringList list = {QStringLiteral("A:")};
    for (const QString& letter : replaced().keys()) {
        if (!list.contains(letter))
            list << letter;
    }
    list.sort();
    return list;
}

Location locate(const QString& path)
{
    QString letter;
    QString rest;
    if (splitDrivePath(path, &letter, &rest)) {
        if (Drive* d = drive(letter))
            return {d, letter,
                    QDir::cleanPath(rest) == QLatin1String(".") ? QString() : QDir::cleanPath(rest)};
        return {};
    }
    const QString local = QDir::cleanPath(toLocalPath(path));
    for (const QString& l : letters()) {
        Drive* d = drive(l);
        if (!d || !d->hasMedium())
            continue;
        const QString root = QDir::cleanPath(d->rootPath());
        if (local.startsWith(root + QLatin1Char('/')))
            return {d, l, local.mid(root.size() + 1)};
    }
    return {};
}

QString toLocalPath(const QString& path)
{
    QString letter;
    QString rest;
    if (splitDrivePath(path, &letter, &rest)) {
        Drive* d = drive(letter);
        if (!d || !d->hasMedium())
            return {};
        const QString root = d->rootPath();
        return rest.isEmpty() ? root : root + QLatin1Char('/') + rest;
    }
    if (!path.contains(QLatin1Char('\\')) || QFileInfo::exists(path))
        return path;
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
}

} // namespace drives

} // namespace tv::archive
