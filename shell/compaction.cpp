#include "shell/compaction.h"

#include "database/compaction.h"
#include "database/connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tv::compaction {

namespace {

std::function<void(Stage)>& stageHook()
{
    static std::function<void(Stage)> hook;
    return hook;
}

void reached(Stage stage)
{
    if (stageHook())
        stageHook()(stage);
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// The engine's companions of a database file: its write-ahead log, its shared index and a rollback journal.
const QStringList Companions{QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};

bool removeIfPresent(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    if (file.remove())
        return true;
    return fail(error, QStringLiteral("The file %1 left by an earlier compression could not be removed: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
}

// Runs a pragma and returns its first column, row by row.
bool pragma(const db::ConnectionPtr& connection, const QString& text, QStringList* result, QString* error)
{
    QSqlQuery query(connection->database());
    query.setForwardOnly(true);
    if (!query.exec(text))
        return fail(error, query.lastError().text());
    while (query.next())
        result->append(query.value(0).toString());
    return true;
}

// Starts writing the file's pages to the disk without waiting, so that the disk works while the copy is
// being checked; syncToDisk then has little left to wait for.
void startWriteback(const QString& path)
{
#ifdef __linux__
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// Turns the fresh copy, already checked page by page when it was written, into a file like the program's own:
// write-ahead log on, nothing left in a log of its own, and all of it on the disk.
bool checkCopy(const QString& copy, QString* why)
{
    QStringList mode;
    {
        const auto compacted = db::openConnection(copy, QStringLiteral("Compaction"), why);
        if (!compacted)
            return false;
        // The engine writes the copy with a rollback journal.
        if (!pragma(compacted, QStringLiteral("PRAGMA journal_mode = WAL"), &mode, why))
            return false;
    }
    if (mode.value(0).compare(u"wal", Qt::CaseInsensitive) != 0)
        return fail(why, QStringLiteral("its journal mode could not be set."));
    // Closing the last connection empties and removes the log; one left over would be lost with the rename.
    if (QFileInfo::exists(copy + QStringLiteral("-wal")))
        return fail(why, QStringLiteral("its write-ahead log could not be merged."));
    if (!db::syncToDisk(copy, false, why))
        return fail(why, QStringLiteral("it could not be saved to the disk: %1").arg(*why));
    return true;
}

} // namespace

void setStageHook(std::function<void(Stage)> hook)
{
    stageHook() = std::move(hook);
}

bool compactDatabase(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return fail(
            error,
            QStringLiteral("The database file %1 does not exist.").arg(QDir::toNativeSeparators(path)));
    const QString file = info.absoluteFilePath();
    const QString folder = info.absolutePath();
    const QString copy = QDir(folder).filePath(CopyName);
    const QString nativeFile = QDir::toNativeSeparators(file);

    // A copy left by an interrupted run, with its companions: a stale log beside the new copy would be read
    // into it when it opens.
    for (const QString& suffix : QStringList{QString()} + Companions)
        if (!removeIfPresent(copy + suffix, error))
            return false;
    if (!removeIfPresent(QDir(folder).filePath(QStringLiteral("ABC.ldb")), error))
        return false;
    reached(Stage::LeftoversRemoved);

    {
        QString why;
        const auto source = db::openConnection(file, QStringLiteral("Compaction"), &why);
        if (!source)
            return fail(error, why);
        // Everything in the write-ahead log goes into the file first, so that the file alone is the database.
        QStringList checkpoint;
        if (!pragma(source, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), &checkpoint, &why))
            return fail(
                error, QStringLiteral("The database file %1 could not be prepared: %2").arg(nativeFile, why));
        if (!checkpoint.isEmpty() && checkpoint.first() != u"0")
            return fail(error,
                        QStringLiteral("The database file %1 is in use by another program.").arg(nativeFile));
    }
    if (QString why; !db::compactFile(file, copy, &why))
        return fail(error, QStringLiteral("The compressed copy could not be written: %1").arg(why));
    reached(Stage::CopyWritten);
    startWriteback(copy);

    QString why;
    if (!checkCopy(copy, &why)) {
        for (const QString& suffix : QStringList{QString()} + Companions)
            QFile::remove(copy + suffix);
        return fail(error, QStringLiteral("The compressed copy failed its check: %1").arg(why));
    }
    reached(Stage::CopyChecked);

    // The old file's log was emptied and removed when the last connection closed. A log still holding pages
    // would be replayed into the new file: stop rather than risk that.
    const QString log = file + QStringLiteral("-wal");
    if (QFileInfo::exists(log)) {
        if (QFileInfo(log).size() > 0 || !QFile::remove(log)) {
            QFile::remove(copy);
            return fail(error,
                        QStringLiteral("The database file %1 is in use by another program.").arg(nativeFile));
        }
    }

    std::error_code renameError;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(copy).toStdString()),
                            std::filesystem::path(QFile::encodeName(file).toStdString()), renameError);
    if (renameError) {
        QFile::remove(copy);
        return fail(error, QStringLiteral("The compressed copy could not take the place of %1: %2")
                               .arg(nativeFile, QString::fromStdString(renameError.message())));
    }
    // The rename is made durable with the folder; the old file's shared index describes nothing any more.
    QString ignored;
    db::syncToDisk(folder, true, &ignored);
    QFile::remove(file + QStringLiteral("-shm"));
    reached(Stage::Replaced);

    reached(Stage::Finished);
    return true;
}

QStringList holdersOf(const QString& path, const QStringList& ignoredOwners)
{
    QStringList owners = db::openConnectionOwners(path);
    for (const QString& own : ignoredOwners)
        owners.removeOne(own);
    QStringList holders;
    for (const QString& owner : std::as_const(owners)) {
        // Bindings are owned as "<window caption>.<binding name>".
        const qsizetype dot = owner.lastIndexOf(u'.');
        const QString holder = dot > 0 ? owner.left(dot) : owner;
        if (!holders.contains(holder))
            holders.append(holder);
    }
    return holders;
}

} // namespace tv::compaction
