#include "platform/archive/resultcodes.h"

#include <cerrno>
#include <iterator>
#include <zip.h>

namespace tv::archive {

namespace {

struct MessageRow
{
    int code;
    const char* before; // text before the verb, or the whole text when withVerb is false
    bool withVerb;
    const char* after;
    int style;
};

constexpr int Silent = 0;

// Every result code that has a message of its own. Codes not listed (and above 0) get the generic message.
// DiskFull is special: its text depends on the multidisk mode (see resultMessage).
constexpr MessageRow Messages[] = {
    {NothingToDo, "", false, "", Silent},
    {SkippedByAnswer, "", false, "", Silent},
    {140, "", false, "", Silent},
    {FilesSkipped, "Some files were skipped while ", true, ".", StyleExclamation},
    {ArchiveEmpty, "The Zip file is empty.", false, "", StyleExclamation},
    {ArchiveMissing, "Could not find the archive file.", false, "", StyleCritical},
    {NotAZip, "The archive file is corrupted. Try using the Fix option on it.", false, "", StyleCritical},
    {OutOfMemory, "Ran out of memory while ", true, ".", StyleCritical},
    {InvalidSettings, "Invalid property settings. Check your code.", false, "", StyleCritical},
    {DiskFull, "Disk full while ", true, ".", StyleCritical},
    {Inconsistent, "The archive file is corrupted. Try using the Fix option on it.", false, "",
     StyleCritical},
    {Busy,
     "Another application is currently performing a similar task. Wait until the other application has "
     "completed its operation.",
     false, "", StyleCritical},
    {Aborted, "The ", true, " operation was aborted.", StyleExclamation},
    {TestFailed, "Test failed - errors in the archive.", false, "", StyleCritical},
    {NothingTested, "No files ended up being tested in the archive.", false, "", StyleCritical},
    {TemporaryFile, "Problem with the temporary file.", false, "", StyleCritical},
    {ReadError, "Problem reading from file while ", true, ".", StyleCritical},
    {WriteError, "Problem writing to file while ", true, ".", StyleCritical},
    {CreateError, "Problem creating file while ", true, ".", StyleCritical},
    {RemoveParent, "Attempt to remove parent directory.", false, "", StyleCritical},
    {DuplicateNames, "Names repeated in archive after discarding pathnames.", false, "", StyleCritical},
    {NoDateToSet, "Could not update the Zip archive date. Archive only contains directories or is empty.",
     false, "", StyleCritical},
    {CannotAccess, "Could not access the Zip file or one of the files to process.", false, "", StyleCritical},
    {MultidiskArchive, "Cannot work on multiple-disk archives when not in Multidisk mode.", false, "",
     StyleCritical},
    {WrongDisk, "Wrong disk was inserted too many times.", false, "", StyleCritical},
    {NotForMultidisk, "Operation not supported for Multidisk Zip archives.", false, "", StyleCritical},
    {440, "Could not open the self-extractor binary.", false, "", StyleCritical},
    {450, "Could not open the self-extractor configuration file", false, "", StyleCritical},
    {460, "Invalid command parameter passed to an Xceed Zip event.", false, "", StyleCritical},
    {470, "Not enough space on first disk to write self-extractor.", false, "", StyleCritical},
    {490, "Invalid self-extractor binary version.", false, "", StyleCritical},
    {CreateFolder, "Problem creating destination directory while ", true, ".", StyleCritical},
};

constexpr const char* FullDiskInMultidiskMode = "A full disk was inserted instead of an empty one.";

constexpr const char* SkipReasons[] = {
    "file not found.",
    "unknown compression.",
    "CRC does not check out.",
    "file is already up to date.",
    "unable to open file.",
    "invalid or no password to decrypt file.",
    "file's compressed data is corrupted.",
    "instructed not to overwrite.",
};

struct LibzipRow
{
    int zipError;
    int result;     // result code when the whole operation fails with this error
    int skipReason; // skip reason when one member fails with it while being read
};

// libzip's errors and what they mean to this engine. System errors (ENOSPC and the like) that come with an
// error are looked at first, by resultForSystemError.
constexpr LibzipRow LibzipErrors[] = {
    {ZIP_ER_OK, Success, SkipCannotOpen},
    {ZIP_ER_MULTIDISK, MultidiskArchive, SkipCannotOpen},
    {ZIP_ER_RENAME, TemporaryFile, SkipCannotOpen},
    {ZIP_ER_CLOSE, WriteError, SkipCannotOpen},
    {ZIP_ER_SEEK, ReadError, SkipCorruptData},
    {ZIP_ER_READ, ReadError, SkipCorruptData},
    {ZIP_ER_WRITE, WriteError, SkipCannotOpen},
    {ZIP_ER_CRC, TestFailed, SkipBadCrc},
    {ZIP_ER_ZIPCLOSED, InvalidSettings, SkipCannotOpen},
    {ZIP_ER_NOENT, ArchiveMissing, SkipNotFound},
    {ZIP_ER_EXISTS, CreateError, SkipCannotOpen},
    {ZIP_ER_OPEN, CannotAccess, SkipCannotOpen},
    {ZIP_ER_TMPOPEN, TemporaryFile, SkipCannotOpen},
    {ZIP_ER_ZLIB, Inconsistent, SkipCorruptData},
    {ZIP_ER_MEMORY, OutOfMemory, SkipCannotOpen},
    {ZIP_ER_CHANGED, InvalidSettings, SkipCannotOpen},
    {ZIP_ER_COMPNOTSUPP, Inconsistent, SkipUnknownCompression},
    {ZIP_ER_EOF, Inconsistent, SkipCorruptData},
    {ZIP_ER_INVAL, InvalidSettings, SkipCannotOpen},
    {ZIP_ER_NOZIP, NotAZip, SkipCorruptData},
    {ZIP_ER_INTERNAL, UnexpectedError, SkipCannotOpen},
    {ZIP_ER_INCONS, Inconsistent, SkipCorruptData},
    {ZIP_ER_REMOVE, WriteError, SkipCannotOpen},
    {ZIP_ER_DELETED, InvalidSettings, SkipNotFound},
    {ZIP_ER_ENCRNOTSUPP, Inconsistent, SkipEncrypted},
    {ZIP_ER_RDONLY, CannotAccess, SkipCannotOpen},
    {ZIP_ER_NOPASSWD, CannotAccess, SkipEncrypted},
    {ZIP_ER_WRONGPASSWD, CannotAccess, SkipEncrypted},
    {ZIP_ER_OPNOTSUPP, InvalidSettings, SkipCannotOpen},
    {ZIP_ER_INUSE, Busy, SkipCannotOpen},
    {ZIP_ER_TELL, ReadError, SkipCorruptData},
    {ZIP_ER_COMPRESSED_DATA, Inconsistent, SkipCorruptData},
    {ZIP_ER_CANCELLED, Aborted, SkipCannotOpen},
};

const LibzipRow* libzipRow(int zipError)
{
    for (const LibzipRow& row : LibzipErrors) {
        if (row.zipError == zipError)
            return &row;
    }
    return nullptr;
}

} // namespace

ResultMessage resultMessage(int code, const QString& verb, bool multidiskMode)
{
    if (code <= 0)
        return {};
    if (code == DiskFull && multidiskMode)
        return {true, QString::fromLatin1(FullDiskInMultidiskMode), StyleCritical};
    for (const MessageRow& row : Messages) {
        if (row.code != code)
            continue;
        if (row.style == Silent)
            return {};
        QString text = QString::fromLatin1(row.before);
        if (row.withVerb)
            text += verb + QString::fromLatin1(row.after);
        return {true, text, row.style};
    }
    return {true, QStringLiteral("An error occured while ") + verb + QStringLiteral(" the specified files."),
            StyleCritical};
}

QString skipReasonText(int reason)
{
    if (reason < 0 || reason >= int(std::size(SkipReasons)))
        return {};
    return QString::fromLatin1(SkipReasons[reason]);
}

QString skippedFileMessage(const QString& name, int reason)
{
    return QStringLiteral("Can't process '") + name + QStringLiteral("', ") + skipReasonText(reason);
}

int resultForSystemError(int systemError, int fallback)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return DiskFull;
    case ENOMEM:
        return OutOfMemory;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return CannotAccess;
    case ENOENT:
    case ENOTDIR:
        return fallback == ReadError ? ArchiveMissing : fallback;
    default:
        return fallback;
    }
}

int resultForLibzipError(int zipError, int systemError)
{
    const LibzipRow* row = libzipRow(zipError);
    const int result = row ? row->result : UnexpectedError;
    if (systemError != 0 && zip_error_get_sys_type(zipError) == ZIP_ET_SYS) {
        if (systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG || systemError == ENOMEM ||
            systemError == EROFS ||
            ((systemError == EACCES || systemError == EPERM) && result != TemporaryFile))
            return resultForSystemError(systemError, result);
    }
    return result;
}

int skipReasonForLibzipError(int zipError)
{
    const LibzipRow* row = libzipRow(zipError);
    return row ? row->skipReason : SkipCorruptData;
}

} // namespace tv::archive
