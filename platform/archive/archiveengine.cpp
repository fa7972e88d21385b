#include "platform/archive/archiveengine.h"

#include "platform/archive/drive.h"
#include "platform/archive/memberreader.h"
#include "platform/archive/repair.h"
#include "platform/archive/spanning.h"
#include "platform/archive/zipformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

namespace tv::archive {

// Where the archive named by the settings lies.
struct ArchivePlace
{
    QString localPath; // empty when it is on a drive without a disk
    drives::Location location;

    bool onDrive() const { return location.drive != nullptr; }
    bool fileExists() const { return !localPath.isEmpty() && QFileInfo(localPath).isFile(); }
};

namespace {

constexpr qint64 ChunkSize = 256 * 1024;
constexpr int PumpIntervalMs = 40;
// Files whose times differ by no more than this are taken as the same version (zip times have 2-second
// steps).
constexpr qint64 UpdateToleranceSeconds = 2;

ArchivePlace placeOf(const QString& archiveName)
{
    ArchivePlace place;
    place.location = drives::locate(archiveName);
    place.localPath = drives::toLocalPath(archiveName);
    return place;
}

// The name shown to the user and used in filesToProcess: folders separated by backslashes.
QString displayName(const QString& memberName)
{
    QString name = memberName;
    name.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return name;
}

// A name given by the caller as a member name: backslashes become slashes, a leading slash goes.
QString memberNameFromRequest(const QString& requested)
{
    QString name = requested;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name;
}

// Files are stored under their absolute path without the leading slash, so that they can go back where they
// came from. The folder part is resolved through symbolic links: restoring then walks real folders only.
QString memberNameForFile(const QString& absolutePath)
{
    const QFileInfo info(QDir::cleanPath(absolutePath));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    QString name = folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
    name = QDir::cleanPath(name);
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return name;
}

// The path below the extract folder for a member, or empty when the name would leave the folder: absolute
// names, drive letters and ".." are refused.
QString safeRelativePath(const QString& memberName)
{
    QString name = memberName;
    if (name.contains(QChar(0)))
        return {};
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return {};
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter())
        return {};
    QStringList kept;
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return {};
        if (part != QLatin1String("."))
            kept << part;
    }
    return kept.join(QLatin1Char('/'));
}

QString dateText(const QDateTime& time)
{
    const QDateTime t = time.isValid() ? time : QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    return t.toString(QStringLiteral("MM/dd/yy hh:mm"));
}

int ratioOf(qint64 size, qint64 packed)
{
    if (size <= 0)
        return 0;
    return int(qBound(qint64(0), 100 - packed * 100 / size, qint64(100)));
}

mode_t currentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// The names a request may mean: as given with '/' between folders, then without a leading slash; each also as
// a folder.
QStringList requestCandidates(const QString& requested)
{
    QString slashed = requested;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList candidates = {requested, slashed, memberNameFromRequest(requested)};
    candidates.removeAll(QString());
    candidates.removeDuplicates();
    QStringList withFolders;
    for (const QString& c : std::as_const(candidates))
        withFolders << c << c + QLatin1Char('/');
    return withFolders;
}

int indexOfMember(const QVector<MemberInfo>& members, const QString& requested)
{
    const QStringList candidates = requestCandidates(requested);
    for (Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const QString& wanted : candidates) {
            for (int i = 0; i < members.size(); ++i) {
                QString name = members[i].name;
                if (name.compare(wanted, sensitivity) == 0 ||
                    name.replace(QLatin1Char('\\'), QLatin1Char('/')).compare(wanted, sensitivity) == 0)
                    return i;
            }
        }
    }
    return -1;
}

zip_int64_t locateMember(zip_t* archive, const QString& requested)
{
    const QStringList candidates = requestCandidates(requested);
    for (zip_flags_t flags : {zip_flags_t(0), zip_flags_t(ZIP_FL_NOCASE)}) {
        for (const QString& wanted : candidates) {
            const zip_int64_t index = zip_name_locate(archive, wanted.toUtf8().constData(), flags);
            if (index >= 0)
                return index;
        }
    }
    return -1;
}

// A file or folder to go into the archive.
struct PendingFile
{
    QString path;    // local path
    QString member;  // member name
    QString display; // name for events
    qint64 size = 0;
    time_t mtime = 0;
    mode_t mode = 0;
    bool directory = false;
    bool updating = false;
};

enum class FolderCheck { Ok, Unsafe, Failed };

// Makes the folders of relative below root, refusing to pass through a symbolic link or a file.
FolderCheck makeFolders(const QString& root, const QString& relative)
{
    QString path = root;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path = path.endsWith(QLatin1Char('/')) ? path + part : path + QLatin1Char('/') + part;
        const QFileInfo info(path);
        if (info.isSymLink())
            return FolderCheck::Unsafe;
        if (info.exists()) {
            if (!info.isDir())
                return FolderCheck::Unsafe;
            continue;
        }
        if (!QDir().mkdir(path))
            return FolderCheck::Failed;
    }
    return FolderCheck::Ok;
}

QString joinPath(const QString& root, const QString& relative)
{
    if (relative.isEmpty())
        return root;
    return root.endsWith(QLatin1Char('/')) ? root + relative : root + QLatin1Char('/') + relative;
}

} // namespace

// Gives the libzip callbacks of this file access to the running operation.
struct EngineAccess
{
    static bool shouldAbort(ArchiveEngine* e) { return e->shouldAbort(); }
    static void progress(ArchiveEngine* e, qint64 done, qint64 total) { e->progress(done, total); }
    static void pump(ArchiveEngine* e) { e->pump(); }
};

namespace {

// A file read by libzip while it writes the archive: raises the adding or updating event when libzip starts
// on it, reports progress, and stops the write when the abort request is honoured.
struct FileSource
{
    ArchiveEngine* engine = nullptr;
    PendingFile file;
    QFile handle;
    zip_error_t error;
    qint64* done = nullptr;
    qint64 total = 0;
    bool* aborted = nullptr;
};

zip_int64_t fileSourceCallback(void* userData, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto* s = static_cast<FileSource*>(userData);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        s->handle.setFileName(s->file.path);
        if (!s->handle.open(QIODevice::ReadOnly)) {
            zip_error_set(&s->error, ZIP_ER_OPEN, errno);
            return -1;
        }
        if (s->file.updating)
            emit s->engine->updating(s->file.display, s->file.size);
        else
            emit s->engine->adding(s->file.display, s->file.size);
        return 0;
    case ZIP_SOURCE_READ: {
        if (EngineAccess::shouldAbort(s->engine)) {
            *s->aborted = true;
            zip_error_set(&s->error, ZIP_ER_CANCELLED, 0);
            return -1;
        }
        const qint64 n =
            s->handle.read(static_cast<char*>(data), qint64(qMin<zip_uint64_t>(length, 1 << 30)));
        if (n < 0) {
            zip_error_set(&s->error, ZIP_ER_READ, errno);
            return -1;
        }
        *s->done += n;
        EngineAccess::progress(s->engine, *s->done, s->total);
        return n;
    }
    case ZIP_SOURCE_CLOSE:
        s->handle.close();
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &s->error);
        if (!st)
            return -1;
        zip_stat_init(st);
        st->size = zip_uint64_t(s->file.size);
        st->mtime = s->file.mtime;
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, length);
    case ZIP_SOURCE_FREE:
        delete s;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              ZIP_SOURCE_SUPPORTS, -1);
    default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

void libzipProgress(zip_t*, double, void* engine)
{
    EngineAccess::pump(static_cast<ArchiveEngine*>(engine));
}

int libzipCancel(zip_t*, void* engine)
{
    return EngineAccess::shouldAbort(static_cast<ArchiveEngine*>(engine)) ? 1 : 0;
}

int closeArchive(zip_t* archive, bool aborted)
{
    if (zip_close(archive) == 0)
        return Success;
    const zip_error_t* error = zip_get_error(archive);
    const int code = zip_error_code_zip(error);
    const int rc = aborted || code == ZIP_ER_CANCELLED
                       ? int(Aborted)
                       : resultForLibzipError(code, zip_error_code_system(error));
    zip_discard(archive);
    return rc;
}

// An archive with no member: the end record alone.
int writeEmptyArchive(const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return resultForSystemError(errno, CreateError);
    const QByteArray end = zipformat::encodeEndRecords(zipformat::EndRecord{}, 0);
    if (file.write(end) != end.size() || !file.commit())
        return resultForSystemError(errno, WriteError);
    return Success;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

ArchiveEngine::ArchiveEngine(QObject* parent) : QObject(parent) {}

ArchiveEngine::~ArchiveEngine() = default;

int ArchiveEngine::fileCount() const
{
    const ArchivePlace place = placeOf(m_archiveName);
    if (!place.fileExists())
        return 0;
    QFile file(place.localPath);
    zipformat::EndRecord end;
    if (!file.open(QIODevice::ReadOnly) || !zipformat::readEndRecord(file, &end))
        return 0;
    return int(qMin<uint64_t>(end.entries, INT_MAX));
}

int ArchiveEngine::add(int mode)
{
    m_addMode = mode;
    return runOperation(&ArchiveEngine::doAdd);
}

int ArchiveEngine::extract(int mode)
{
    m_extractMode = mode;
    return runOperation(&ArchiveEngine::doExtract);
}

int ArchiveEngine::deleteFiles()
{
    return runOperation(&ArchiveEngine::doDelete);
}

int ArchiveEngine::test()
{
    return runOperation(&ArchiveEngine::doTest);
}

int ArchiveEngine::fix(bool aggressive)
{
    m_aggressive = aggressive;
    return runOperation(&ArchiveEngine::doFix);
}

int ArchiveEngine::list()
{
    return runOperation(&ArchiveEngine::doList);
}

int ArchiveEngine::updateArchiveDate()
{
    return runOperation(&ArchiveEngine::doUpdateDate);
}

int ArchiveEngine::runOperation(int (ArchiveEngine::*body)())
{
    if (m_busy)
        return Busy;
    m_busy = true;
    m_abortRequested = false;
    m_writingSpanned = false;
    m_skipped = 0;
    m_lastPercent = -1;
    m_sincePump.invalidate();
    const int rc = (this->*body)();
    m_filesToProcess.clear();
    m_abortRequested = false;
    m_writingSpanned = false;
    m_busy = false;
    return rc;
}

QStringList ArchiveEngine::namesToProcess() const
{
    QStringList names;
    QSet<QString> seen;
    for (QString name : m_filesToProcess.split(QLatin1Char('\r'))) {
        name.remove(QLatin1Char('\n'));
        if (!name.isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            names << name;
        }
    }
    return names;
}

bool ArchiveEngine::abortHonoured() const
{
    // Only work that goes through a temporary file can be given up without harm; a multidisk archive is
    // written straight onto its disks.
    return m_useTempFile && !m_writingSpanned;
}

bool ArchiveEngine::shouldAbort()
{
    pump();
    return m_abortRequested && abortHonoured();
}

void ArchiveEngine::pump()
{
    if (!m_keepResponsive)
        return;
    if (m_sincePump.isValid() && m_sincePump.elapsed() < PumpIntervalMs)
        return;
    QCoreApplication::processEvents();
    m_sincePump.start();
}

void ArchiveEngine::progress(qint64 done, qint64 total)
{
    const int percent = total > 0 ? int(qBound(qint64(0), done * 100 / total, qint64(100))) : 100;
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        emit status(percent);
    }
    pump();
}

void ArchiveEngine::skip(const QString& name, int reason)
{
    ++m_skipped;
    emit skippingFile(name, reason);
}

int ArchiveEngine::openReader(const ArchivePlace& place, MemberReader** out)
{
    *out = nullptr;
    const bool onDriveInMultidisk = m_multidiskMode && place.onDrive();
    ReaderHooks hooks;
    hooks.shouldAbort = [this] { return shouldAbort(); };
    hooks.askForDisk = [this](int disk) { emit newDisk(disk); };
    auto spanned = [&]() {
        SpannedSource source;
        if (place.onDrive()) {
            source.drive = place.location.drive;
            source.relativePath = place.location.relativePath;
        } else {
            source.localPath = place.localPath;
        }
        int rc = Success;
        std::unique_ptr<MemberReader> reader = openSpannedReader(source, hooks, &rc);
        if (rc == -1) {
            // The disk asked for holds a whole archive of its own.
            reader = openLibzipReader(drives::toLocalPath(m_archiveName), &rc);
        }
        *out = reader.release();
        return rc;
    };

    if (place.fileExists()) {
        if (isMultidiskFile(place.localPath))
            return m_multidiskMode ? spanned() : int(MultidiskArchive);
        int rc = Success;
        std::unique_ptr<MemberReader> reader = openLibzipReader(place.localPath, &rc);
        if (!reader && rc == NotAZip && onDriveInMultidisk)
            return spanned(); // a disk from the middle of a set: ask for the last one
        *out = reader.release();
        return rc;
    }
    if (onDriveInMultidisk)
        return spanned();
    return ArchiveMissing;
}

// ---------------------------------------------------------------------------------------------------------------

int ArchiveEngine::doList()
{
    MemberReader* raw = nullptr;
    const int rc = openReader(placeOf(m_archiveName), &raw);
    std::unique_ptr<MemberReader> reader(raw);
    if (rc != Success)
        return rc;
    const QVector<MemberInfo>& members = reader->members();
    if (members.isEmpty())
        return ArchiveEmpty;
    for (int i = 0; i < members.size(); ++i) {
        const MemberInfo& m = members[i];
        emit listing(displayName(m.name), m.size, m.packedSize, dateText(m.time),
                     ratioOf(m.size, m.packedSize));
        progress(i + 1, members.size());
    }
    return Success;
}

int ArchiveEngine::doTest()
{
    MemberReader* raw = nullptr;
    const int rc = openReader(placeOf(m_archiveName), &raw);
    std::unique_ptr<MemberReader> reader(raw);
    if (rc != Success)
        return rc;
    const QVector<MemberInfo>& members = reader->members();
    if (members.isEmpty())
        return ArchiveEmpty;
    QVector<int> order(members.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::pair(members[a].disk, members[a].offset) < std::pair(members[b].disk, members[b].offset);
    });
    qint64 total = 0;
    for (const MemberInfo& m : members)
        total += m.size;
    qint64 done = 0;
    int tested = 0;
    int failed = 0;
    int skipped = 0;
    QByteArray buffer(qsizetype(ChunkSize), Qt::Uninitialized);
    for (int index : std::as_const(order)) {
        if (shouldAbort())
            return Aborted;
        const MemberInfo& m = members[index];
        const QString name = displayName(m.name);
        emit testing(name, m.size);
        if (m.directory && m.size == 0) {
            ++tested;
            continue;
        }
        ReadFailure failure;
        bool ok = reader->openMember(index, &failure);
        while (ok) {
            const qint64 n = reader->read(buffer.data(), buffer.size(), &failure);
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            done += n;
            progress(done, total);
            if (shouldAbort())
                return Aborted;
        }
        reader->closeMember();
        if (failure.result != Success)
            return failure.result;
        if (ok) {
            ++tested;
            continue;
        }
        skip(name, failure.skipReason);
        if (failure.skipReason == SkipEncrypted || failure.skipReason == SkipUnknownCompression)
            ++skipped;
        else
            ++failed;
    }
    if (failed > 0)
        return TestFailed;
    if (tested == 0)
        return NothingTested;
    return skipped > 0 ? FilesSkipped : Success;
}

int ArchiveEngine::doExtract()
{
    if (m_extractMode != 0)
        return InvalidSettings;
    const QStringList names = namesToProcess();
    if (names.isEmpty())
        return NothingToDo;
    MemberReader* raw = nullptr;
    const int rc = openReader(placeOf(m_archiveName), &raw);
    std::unique_ptr<MemberReader> reader(raw);
    if (rc != Success)
        return rc;
    const QVector<MemberInfo>& members = reader->members();

    QVector<int> selected;
    for (const QString& name : names) {
        const int index = indexOfMember(members, name);
        if (index < 0)
            skip(name, SkipNotFound);
        else if (!selected.contains(index))
            selected << index;
    }
    std::stable_sort(selected.begin(), selected.end(), [&](int a, int b) {
        return std::pair(members[a].disk, members[a].offset) < std::pair(members[b].disk, members[b].offset);
    });

    // Without an extract folder, members go back to where they were added from.
    QString root = QStringLiteral("/");
    if (!m_extractFolder.isEmpty()) {
        root = drives::toLocalPath(m_extractFolder);
        if (root.isEmpty() || !QDir().mkpath(root))
            return CreateFolder;
        root = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    }

    qint64 total = 0;
    for (int index : std::as_const(selected))
        total += members[index].size;
    qint64 done = 0;
    bool skippedByAnswer = false;
    const mode_t umaskBits = currentUmask();
    QByteArray buffer(qsizetype(ChunkSize), Qt::Uninitialized);
    for (int index : std::as_const(selected)) {
        if (shouldAbort())
            return Aborted;
        const MemberInfo& m = members[index];
        const QString name = displayName(m.name);
        emit extracting(name, m.size);
        const QString relative = safeRelativePath(m.name);
        if (relative.isEmpty() || m.symbolicLink) {
            skip(name, SkipCannotOpen);
            continue;
        }
        if (m.directory) {
            const FolderCheck check = makeFolders(root, relative);
            if (check == FolderCheck::Failed)
                return CreateFolder;
            if (check == FolderCheck::Unsafe)
                skip(name, SkipCannotOpen);
            continue;
        }
        const int slash = int(relative.lastIndexOf(QLatin1Char('/')));
        const QString folderPart = slash < 0 ? QString() : relative.left(slash);
        const FolderCheck check = makeFolders(root, folderPart);
        if (check == FolderCheck::Failed)
            return CreateFolder;
        if (check == FolderCheck::Unsafe) {
            skip(name, SkipCannotOpen);
            continue;
        }
        const QString target = joinPath(root, relative);
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink()) {
            if (existing.isDir() && !existing.isSymLink()) {
                skip(name, SkipCannotOpen);
                continue;
            }
            ReplaceAnswer answer = ReplaceAnswer::Skip;
            emit replace(target, &answer);
            if (m_abortRequested || answer == ReplaceAnswer::Abort)
                return Aborted;
            if (answer == ReplaceAnswer::Skip) {
                skippedByAnswer = true;
                continue;
            }
        }

        // Written beside the target and renamed over it once complete: an existing file is never left half
        // replaced, and a symbolic link in its place is replaced, not followed.
        QTemporaryFile out(joinPath(root, folderPart) + QStringLiteral("/.tarvenor-XXXXXX"));
        if (!out.open())
            return resultForSystemError(errno, CreateError);
        ReadFailure failure;
        bool ok = reader->openMember(index, &failure);
        while (ok) {
            const qint64 n = reader->read(buffer.data(), buffer.size(), &failure);
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            if (out.write(buffer.constData(), n) != n)
                return resultForSystemError(errno, WriteError);
            done += n;
            progress(done, total);
            if (shouldAbort())
                return Aborted;
        }
        reader->closeMember();
        if (failure.result != Success)
            return failure.result;
        if (!ok) {
            skip(name, failure.skipReason);
            continue;
        }
        if (!out.flush())
            return resultForSystemError(errno, WriteError);
        const mode_t mode = m.unixMode & 0777 ? (m.unixMode & 0777) : (0666 & ~umaskBits);
        ::fchmod(out.handle(), mode | S_IRUSR | S_IWUSR);
        if (m.time.isValid()) {
            const timespec times[2] = {{0, UTIME_NOW}, {time_t(m.time.toSecsSinceEpoch()), 0}};
            ::futimens(out.handle(), times);
        }
        if (std::rename(QFile::encodeName(out.fileName()).constData(),
                        QFile::encodeName(target).constData()) != 0)
            return resultForSystemError(errno, WriteError);
        out.setAutoRemove(false);
    }
    if (m_skipped > 0)
        return FilesSkipped;
    return skippedByAnswer ? SkippedByAnswer : Success;
}

int ArchiveEngine::doAdd()
{
    if (m_addMode != AddFiles && m_addMode != UpdateFiles)
        return InvalidSettings;
    if (m_compressionLevel < 0 || m_compressionLevel > 9)
        return InvalidSettings;
    const QStringList names = namesToProcess();
    if (names.isEmpty())
        return NothingToDo;
    const ArchivePlace place = placeOf(m_archiveName);
    const bool spanning = m_multidiskMode && place.onDrive();
    if (spanning) {
        if (m_addMode == UpdateFiles)
            return NotForMultidisk;
        return spannedAdd(place);
    }
    if (place.localPath.isEmpty())
        return CannotAccess;
    if (place.fileExists() && isMultidiskFile(place.localPath))
        return m_multidiskMode ? NotForMultidisk : MultidiskArchive;
    if (!QFileInfo(QFileInfo(place.localPath).absolutePath()).isDir())
        return CreateError;
    return addToArchive(place.localPath, false);
}

int ArchiveEngine::spannedAdd(const ArchivePlace& place)
{
    Drive* drive = place.location.drive;
    const QString relative = place.location.relativePath;
    if (relative.isEmpty())
        return InvalidSettings;
    if (drive->hasMedium() && QFileInfo::exists(drive->rootPath() + QLatin1Char('/') + relative))
        return NotForMultidisk; // a multidisk archive is written in one go, never added to

    QTemporaryDir work;
    if (!work.isValid())
        return TemporaryFile;
    const QString staging = work.filePath(QStringLiteral("archive.zip"));
    m_writingSpanned = true;
    const int rc = addToArchive(staging, true);
    if (rc != Success && rc != FilesSkipped)
        return rc;
    if (!QFileInfo::exists(staging))
        return rc; // every file was skipped

    SpanWriterHooks hooks;
    hooks.askForDisk = [this](int disk) { emit newDisk(disk); };
    hooks.progress = [this](qint64 done, qint64 total) {
        progress(total + done, 2 * qMax<qint64>(total, 1));
    };
    const int written = writeSpanned(staging, drive, relative, m_clearDisks, hooks);
    if (written != Success)
        return written;
    return m_skipped > 0 ? FilesSkipped : Success;
}

// Adds or updates the files to process in the one-file archive at zipPath (created when missing). With
// spanning, progress covers the first half only: the copy onto the disks follows.
int ArchiveEngine::addToArchive(const QString& zipPath, bool spanning)
{
    const QString canonicalArchive = QFileInfo(zipPath).canonicalFilePath();
    const QString base = m_basePath.isEmpty() ? QString() : QFileInfo(m_basePath).canonicalFilePath();
    // Inside the base folder a file is stored under its path relative to it.
    auto storedName = [&base](const QString& absolute) {
        const QString full = memberNameForFile(absolute);
        const QString prefix = QDir::cleanPath(base).mid(1) + QLatin1Char('/');
        if (!base.isEmpty() && prefix.size() > 1 && full.startsWith(prefix))
            return full.mid(prefix.size());
        return full;
    };
    QVector<PendingFile> files;
    QSet<QString> members;
    auto collect = [&](const QString& path, const QString& display) {
        struct stat st;
        if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
            skip(display, errno == EACCES ? SkipCannotOpen : SkipNotFound);
            return;
        }
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (!canonicalArchive.isEmpty() && QFileInfo(absolute).canonicalFilePath() == canonicalArchive)
            return; // the archive never goes into itself
        PendingFile f;
        f.path = absolute;
        f.member = storedName(absolute);
        f.display = display;
        f.size = S_ISDIR(st.st_mode) ? 0 : qint64(st.st_size);
        f.mtime = st.st_mtime;
        f.mode = st.st_mode;
        f.directory = S_ISDIR(st.st_mode);
        if (f.member.isEmpty())
            return;
        if (!f.directory && !S_ISREG(st.st_mode)) {
            skip(display, SkipCannotOpen);
            return;
        }
        if (!f.directory && ::access(QFile::encodeName(path).constData(), R_OK) != 0) {
            skip(display, SkipCannotOpen);
            return;
        }
        if (f.directory)
            f.member += QLatin1Char('/');
        if (members.contains(f.member))
            return;
        members.insert(f.member);
        files.append(f);
    };
    for (const QString& name : namesToProcess()) {
        QString local = drives::toLocalPath(name);
        if (!base.isEmpty() && !local.isEmpty() && QFileInfo(local).isRelative())
            local = QDir(base).filePath(local);
        if (local.isEmpty()) {
            skip(name, SkipNotFound);
            continue;
        }
        collect(local, name);
        if (QFileInfo(local).isDir()) {
            // Folders are taken with everything below them; links to folders are not followed.
            QDirIterator it(local, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            QStringList below;
            while (it.hasNext())
                below << it.next();
            below.sort();
            for (const QString& path : std::as_const(below)) {
                const QFileInfo info(path);
                if (info.isSymLink() && info.isDir())
                    continue;
                collect(path, displayName(storedName(info.absoluteFilePath())));
            }
        }
    }
    if (files.isEmpty())
        return m_skipped > 0 ? FilesSkipped : NothingToDo;

    int openError = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE, &openError);
    if (!archive)
        return resultForOpenError(openError);

    qint64 total = 0;
    for (const PendingFile& f : std::as_const(files))
        total += f.size;
    qint64 done = 0;
    bool aborted = false;
    qint64 sourceTotal = spanning ? 2 * qMax<qint64>(total, 1) : qMax<qint64>(total, 1);
    int changes = 0;
    for (PendingFile& f : files) {
        const zip_int64_t existing = locateMember(archive, f.member);
        if (m_addMode == UpdateFiles && existing >= 0) {
            zip_stat_t st;
            if (zip_stat_index(archive, zip_uint64_t(existing), 0, &st) == 0 && (st.valid & ZIP_STAT_MTIME) &&
                qint64(f.mtime) - qint64(st.mtime) <= UpdateToleranceSeconds) {
                skip(f.display, SkipUpToDate);
                continue;
            }
            f.updating = true;
        }
        const QByteArray memberName = f.member.toUtf8();
        zip_int64_t index;
        if (f.directory) {
            if (existing >= 0)
                continue;
            index = zip_dir_add(archive, memberName.constData(), ZIP_FL_ENC_UTF_8);
            if (index >= 0)
                emit adding(f.display, 0);
        } else {
            auto* source = new FileSource;
            source->engine = this;
            source->file = f;
            zip_error_init(&source->error);
            source->done = &done;
            source->total = sourceTotal;
            source->aborted = &aborted;
            zip_source_t* zs = zip_source_function(archive, fileSourceCallback, source);
            if (!zs) {
                delete source;
                zip_discard(archive);
                return OutOfMemory;
            }
            index = zip_file_add(archive, memberName.constData(), zs, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(zs);
            } else if (m_compressionLevel == 0) {
                zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
            } else {
                zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE,
                                         zip_uint32_t(m_compressionLevel));
            }
        }
        if (index < 0) {
            const int rc = resultForLibzipError(zip_error_code_zip(zip_get_error(archive)), 0);
            zip_discard(archive);
            return rc;
        }
        zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                         zip_uint32_t(f.mode & 0xffff) << 16);
        zip_file_set_mtime(archive, zip_uint64_t(index), f.mtime, 0);
        ++changes;
    }
    if (changes == 0) {
        zip_discard(archive);
        return m_skipped > 0 ? FilesSkipped : Success;
    }
    zip_register_progress_callback_with_state(archive, 0.01, libzipProgress, nullptr, this);
    zip_register_cancel_callback_with_state(archive, libzipCancel, nullptr, this);
    const int rc = closeArchive(archive, aborted);
    if (rc != Success)
        return rc;
    return m_skipped > 0 ? FilesSkipped : Success;
}

int ArchiveEngine::doDelete()
{
    const QStringList names = namesToProcess();
    if (names.isEmpty())
        return NothingToDo;
    const ArchivePlace place = placeOf(m_archiveName);
    if (!place.fileExists())
        return ArchiveMissing;
    if (isMultidiskFile(place.localPath))
        return m_multidiskMode ? NotForMultidisk : MultidiskArchive;
    int openError = 0;
    zip_t* archive = zip_open(QFile::encodeName(place.localPath).constData(), 0, &openError);
    if (!archive)
        return resultForOpenError(openError);
    QSet<zip_int64_t> marked;
    for (const QString& name : names) {
        const zip_int64_t index = locateMember(archive, name);
        if (index < 0) {
            skip(name, SkipNotFound);
            continue;
        }
        if (marked.contains(index))
            continue;
        marked.insert(index);
        emit deleting(displayName(QString::fromUtf8(zip_get_name(archive, zip_uint64_t(index), 0))));
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (marked.isEmpty()) {
        zip_discard(archive);
        return m_skipped > 0 ? FilesSkipped : Success;
    }
    if (marked.size() == count) {
        // libzip would remove the file; the archive stays, empty.
        zip_discard(archive);
        if (shouldAbort())
            return Aborted;
        const int rc = writeEmptyArchive(place.localPath);
        if (rc != Success)
            return rc;
        return m_skipped > 0 ? FilesSkipped : Success;
    }
    for (zip_int64_t index : std::as_const(marked))
        zip_delete(archive, zip_uint64_t(index));
    zip_register_progress_callback_with_state(archive, 0.01, libzipProgress, nullptr, this);
    zip_register_cancel_callback_with_state(archive, libzipCancel, nullptr, this);
    const int rc = closeArchive(archive, false);
    if (rc != Success)
        return rc;
    return m_skipped > 0 ? FilesSkipped : Success;
}

int ArchiveEngine::doFix()
{
    const ArchivePlace place = placeOf(m_archiveName);
    if (!place.fileExists())
        return ArchiveMissing;
    if (isMultidiskFile(place.localPath))
        return m_multidiskMode ? NotForMultidisk : MultidiskArchive;
    if (m_aggressive) {
        RepairHooks hooks;
        hooks.shouldAbort = [this] { return shouldAbort(); };
        hooks.fixing = [this](const QString& name) { emit fixing(displayName(name)); };
        hooks.progress = [this](qint64 done, qint64 total) { progress(done, total); };
        return rebuildFromLocalHeaders(place.localPath, hooks);
    }

    // Normal: the directory is readable; members that fail their test are dropped.
    int openError = 0;
    zip_t* archive = zip_open(QFile::encodeName(place.localPath).constData(), 0, &openError);
    if (!archive) {
        const int rc = resultForOpenError(openError);
        return rc == CannotAccess || rc == ArchiveMissing ? rc : int(NotAZip);
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QByteArray buffer(qsizetype(ChunkSize), Qt::Uninitialized);
    int bad = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        if (shouldAbort()) {
            zip_discard(archive);
            return Aborted;
        }
        emit fixing(displayName(QString::fromUtf8(zip_get_name(archive, zip_uint64_t(i), 0))));
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) == 0 &&
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            continue; // cannot be tested without the password; kept
        zip_file_t* member = zip_fopen_index(archive, zip_uint64_t(i), 0);
        bool ok = member != nullptr;
        while (ok) {
            const zip_int64_t n = zip_fread(member, buffer.data(), zip_uint64_t(buffer.size()));
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            pump();
        }
        if (member)
            zip_fclose(member);
        zip_error_clear(archive);
        if (!ok) {
            zip_delete(archive, zip_uint64_t(i));
            ++bad;
        }
        progress(i + 1, count);
    }
    if (bad == 0) {
        zip_discard(archive);
        return Success;
    }
    if (bad == count) {
        zip_discard(archive);
        return NotAZip;
    }
    zip_register_progress_callback_with_state(archive, 0.01, libzipProgress, nullptr, this);
    zip_register_cancel_callback_with_state(archive, libzipCancel, nullptr, this);
    return closeArchive(archive, false);
}

int ArchiveEngine::doUpdateDate()
{
    const ArchivePlace place = placeOf(m_archiveName);
    if (!place.fileExists())
        return ArchiveMissing;
    if (isMultidiskFile(place.localPath))
        return m_multidiskMode ? NotForMultidisk : MultidiskArchive;
    int rc = Success;
    std::unique_ptr<MemberReader> reader = openLibzipReader(place.localPath, &rc);
    if (!reader)
        return rc;
    QDateTime newest;
    for (const MemberInfo& m : reader->members()) {
        if (!m.directory && m.time.isValid() && (!newest.isValid() || m.time > newest))
            newest = m.time;
    }
    if (!newest.isValid())
        return NoDateToSet;
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(newest.toSecsSinceEpoch()), 0}};
    if (::utimensat(AT_FDCWD, QFile::encodeName(place.localPath).constData(), times, 0) != 0)
        return resultForSystemError(errno, WriteError);
    return Success;
}

} // namespace tv::archive
