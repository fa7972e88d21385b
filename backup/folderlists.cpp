#include "backup/folderlists.h"

#include "platform/archive/drive.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace tv::backup {

namespace {

constexpr int PathRole = Qt::UserRole;

QString cleanFolder(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool isLetter(const QString& drive)
{
    return drive.size() == 2 && drive.at(1) == QLatin1Char(':') && drive.at(0).isLetter();
}

} // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setPath(item->data(PathRole).toString()); });
}

bool FolderList::setPath(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    const QString clean = cleanFolder(folder);
    if (clean == m_path)
        return true;
    m_path = clean;
    fill();
    emit pathChanged(m_path);
    return true;
}

void FolderList::fill()
{
    clear();
    static const QFileIconProvider icons;
    const QIcon closed = icons.icon(QFileIconProvider::Folder);
    const QString indentUnit = QStringLiteral("   ");

    // The parents from the root down, then the folder itself.
    QStringList chain;
    for (QString p = m_path;; p = QFileInfo(p).path()) {
        chain.prepend(p);
        if (QDir(p).isRoot() || QFileInfo(p).path() == p)
            break;
    }
    int depth = 0;
    for (const QString& p : std::as_const(chain)) {
        const QString name = QDir(p).isRoot() ? p : QFileInfo(p).fileName();
        auto* item = new QListWidgetItem(closed, indentUnit.repeated(depth) + name, this);
        item->setData(PathRole, p);
        if (p == m_path)
            setCurrentItem(item);
        ++depth;
    }
    const QFileInfoList children =
        QDir(m_path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& child : children) {
        auto* item = new QListWidgetItem(closed, indentUnit.repeated(depth) + child.fileName(), this);
        item->setData(PathRole, cleanFolder(child.absoluteFilePath()));
    }
}

// ---------------------------------------------------------------------------------------------------------------

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    refresh();
}

QStringList DriveList::volumes()
{
    QStringList found{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        // Removable media and the places where volumes are mounted by hand; not the system's own mounts.
        for (const char* place : {"/media/", "/mnt/", "/run/media/"}) {
            if (root.startsWith(QLatin1String(place)) && !found.contains(root))
                found << root;
        }
    }
    found.sort();
    return found;
}

void DriveList::refresh()
{
    const QString current = drive();
    const QSignalBlocker quiet(this);
    clear();
    static const QFileIconProvider icons;
    for (const QString& letter : archive::drives::letters())
        addItem(icons.icon(QFileIconProvider::Drive), letter.toLower(), letter);
    for (const QString& volume : volumes())
        addItem(icons.icon(QFileIconProvider::Drive), volume, volume);
    if (!current.isEmpty())
        setDrive(current);
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDrive(const QString& drive)
{
    const QSignalBlocker quiet(this);
    int index = findData(drive);
    if (index < 0 && isLetter(drive))
        index = findData(drive.toUpper());
    if (index < 0) {
        addItem(isLetter(drive) ? drive.toLower() : drive, drive);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

QString DriveList::driveOf(const QString& folder)
{
    const archive::drives::Location location = archive::drives::locate(folder);
    if (location.drive)
        return location.letter;
    const QString clean = cleanFolder(folder);
    // A drive letter's medium seen at its own root.
    for (const QString& letter : archive::drives::letters()) {
        const QString root = rootOf(letter);
        if (!root.isEmpty() && cleanFolder(root) == clean)
            return letter;
    }
    QString best = QStringLiteral("/");
    for (const QString& volume : volumes()) {
        if ((clean == volume || clean.startsWith(volume + QLatin1Char('/'))) && volume.size() > best.size())
            best = volume;
    }
    return best;
}

QString DriveList::rootOf(const QString& drive)
{
    if (isLetter(drive)) {
        archive::Drive* d = archive::drives::drive(drive);
        if (!d || !d->hasMedium())
            return {};
        return d->rootPath();
    }
    const QFileInfo info(drive);
    return info.isDir() && info.isReadable() ? drive : QString();
}

} // namespace tv::backup
