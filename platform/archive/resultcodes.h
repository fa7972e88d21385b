#pragma once

#include <QString>

namespace tv::archive {

// Result codes returned by every ArchiveEngine operation. 0 is success; the numbers are part of the program's
// behaviour (the archive window shows a message per code), so they never change.
enum ResultCode : int {
    Success = 0,
    NothingToDo = 10,       // no file or member was named; nothing was done (no message)
    UnexpectedError = 20,   // an error with no code of its own (generic message)
    SkippedByAnswer = 30,   // some members were left alone because the caller answered "skip" (no message)
    FilesSkipped = 40,      // some files were skipped; each was reported through the skipping-file event
    ArchiveEmpty = 50,      // the archive holds no members
    ArchiveMissing = 100,   // the archive file does not exist
    NotAZip = 110,          // the file is not a zip archive, or too damaged to be read
    OutOfMemory = 120,      // memory ran out
    InvalidSettings = 130,  // an operation was called with settings or arguments it cannot use
    DiskFull = 150,         // no room left (in multidisk mode: a full disk was inserted)
    Inconsistent = 160,     // the archive's records contradict each other
    Busy = 180,             // an operation was started while another was running
    Aborted = 190,          // the abort request stopped the operation
    TestFailed = 200,       // at least one member failed its test
    NothingTested = 210,    // every member was skipped by the test
    TemporaryFile = 280,    // the temporary file could not be made or renamed
    ReadError = 290,        // reading a file failed
    WriteError = 300,       // writing a file failed
    CreateError = 310,      // a file could not be created
    RemoveParent = 350,     // an attempt to remove a parent folder
    DuplicateNames = 370,   // names repeated after discarding paths
    NoDateToSet = 380,      // updating the archive date: no file member to take a date from
    CannotAccess = 400,     // the archive or a file to process cannot be opened
    MultidiskArchive = 410, // a multidisk archive met outside multidisk mode
    WrongDisk = 420,        // the wrong disk was inserted too many times
    NotForMultidisk = 430,  // the operation cannot work on a multidisk archive
    CreateFolder = 510,     // the destination folder could not be created
};

// Why a file or member was skipped, reported with the skipping-file event.
enum SkipReason : int {
    SkipNotFound = 0,
    SkipUnknownCompression = 1,
    SkipBadCrc = 2,
    SkipUpToDate = 3,
    SkipCannotOpen = 4,
    SkipEncrypted = 5,
    SkipCorruptData = 6,
    SkipNoOverwrite = 7,
};

// Operation verbs the archive window passes to resultMessage(); the texts are shown to the user.
namespace verb {
inline constexpr const char* Adding = "adding";
inline constexpr const char* Updating = "updating";
inline constexpr const char* UpdatingZipDate = "updating zip date";
inline constexpr const char* Testing = "testing";
inline constexpr const char* Fixing = "fixing";
inline constexpr const char* Extracting = "extracting";
inline constexpr const char* Deleting = "deleting";
inline constexpr const char* Listing = "listing";
inline constexpr const char* Opening = "Opening";
} // namespace verb

// Message box styles used by the archive messages (buttons + icon).
inline constexpr int StyleCritical = 16;
inline constexpr int StyleExclamation = 48;

// The message for a result code, as the archive window shows it: no title, one OK button, the icon of style.
struct ResultMessage
{
    bool show = false; // false: this code shows nothing
    QString text;
    int style = 0; // StyleCritical or StyleExclamation
};

// The message for code after an operation named by verb. multidiskMode is the engine's multidisk setting at
// the moment the message is built (it changes the text for DiskFull).
ResultMessage resultMessage(int code, const QString& verb, bool multidiskMode);

// The text for a skip reason ("file not found."); empty for an unknown reason.
QString skipReasonText(int reason);

// The skipping-file message: "Can't process '" + name + "', " + the reason text. Shown with StyleExclamation.
QString skippedFileMessage(const QString& name, int reason);

// The result code for a libzip error code (ZIP_ER_*) with its system errno (0 when none).
int resultForLibzipError(int zipError, int systemError);

// The skip reason for a libzip error met while reading one member (e.g. ZIP_ER_CRC -> SkipBadCrc).
int skipReasonForLibzipError(int zipError);

// The result code for a system errno met while reading or writing a file; fallback when errno says nothing.
int resultForSystemError(int systemError, int fallback);

} // namespace tv::archive
