#pragma once

// The archive engine: standard zip archives on libzip, plus archives spread over several removable disks.
//
// For the window that drives it:
//  - Settings are plain properties, kept until changed: archiveName (a local path, or "A:\x.zip", mapped onto
//  the
//    medium in drive A: by drive.h), filesToProcess (names each followed by "\r"; addFileToProcess() appends
//    one; the engine empties it after every operation), extractFolder, compressionLevel (0 store, 1 fastest,
//    6 normal, 9 best; default 6), multidiskMode, clearDisks, useTempFile (default on), abortRequested.
//    fileCount() reads the number of members from the archive's end record without asking for a disk.
//  - Operations run synchronously on the calling (UI) thread and return a ResultCode (resultcodes.h; 0 is
//    success): add(0) adds (a member of the same name is replaced), add(2) updates (adds files that are new
//    or newer than their member by more than two seconds; others are skipped with SkipUpToDate), extract(0),
//    deleteFiles(), test() (every member read in full, CRC checked), fix(false) (keeps the members that test
//    good), fix(true) (rebuilds the directory from the local headers), list(), updateArchiveDate() (the file
//    gets the time of its newest member). Calling one while another runs returns Busy.
//  - Events are signals emitted synchronously while the operation runs (connect directly): adding,
//    updating, extracting, testing (name, size); deleting, fixing (name); listing (name, size, packed size,
//    "MM/DD/YY HH:MM", ratio); status (percentage); newDisk (disk number from 1, 0 for the last disk);
//    replace (path of the existing file; the handler sets *answer); skippingFile (name, SkipReason).
//  - Keeping the window alive: with setKeepResponsive(true) the engine runs QCoreApplication::processEvents()
//    every few tens of milliseconds while it works, so the Abort button can be clicked; its handler calls
//    setAbortRequested(true). Keep the window from closing meanwhile (isBusy()). The abort request is
//    honoured only while useTempFile is on, and then leaves the archive byte for byte as it was; it is not
//    honoured while a multidisk archive is written, since that goes straight onto the disks. Setting it
//    during the replace event always stops an extraction (nothing half-written is left).
//  - Multidisk: with multidiskMode on and the archive on a drive (drive.h), add(0) writes a new archive over
//  as
//    many disks as it needs, raising newDisk(n) before disk n and going on when the handler returns; with
//    clearDisks each disk is emptied first. Reading asks for the disks it needs (newDisk(0) for the last) and
//    gives WrongDisk after three wrong ones. A multidisk archive cannot be updated or deleted from
//    (NotForMultidisk), nor read outside multidisk mode (MultidiskArchive). A set copied side by side as
//    name.z01, name.z02, ..., name.zip is read in multidisk mode without prompts.
//  - Names: members are shown and requested with backslashes between folders ("home\me\Pelkin.mdb"). Files
//    are stored under their absolute path without the leading "/", so an extraction with an empty
//    extractFolder puts them back where they were added from. Extraction never writes outside the extract
//    folder: names that are absolute, carry a drive letter or climb with "..", and symbolic links, are
//    skipped (SkipCannotOpen); an existing file is replaced through a temporary file, never written through a
//    link.

#include "platform/archive/resultcodes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

namespace tv::archive {

class MemberReader;
struct ArchivePlace;

enum class ReplaceAnswer { Replace, Skip, Abort };

class ArchiveEngine : public QObject
{
    Q_OBJECT
public:
    enum AddMode { AddFiles = 0, UpdateFiles = 2 };

    explicit ArchiveEngine(QObject* parent = nullptr);
    ~ArchiveEngine() override;

    // --- settings
    QString archiveName() const { return m_archiveName; }
    void setArchiveName(const QString& name) { m_archiveName = name; }
    QString filesToProcess() const { return m_filesToProcess; }
    void setFilesToProcess(const QString& names) { m_filesToProcess = names; }
    // Appends name and a carriage return to filesToProcess.
    void addFileToProcess(const QString& name) { m_filesToProcess += name + QLatin1Char('\r'); }
    QString extractFolder() const { return m_extractFolder; }
    void setExtractFolder(const QString& folder) { m_extractFolder = folder; }
    int compressionLevel() const { return m_compressionLevel; }
    void setCompressionLevel(int level) { m_compressionLevel = level; }
    bool multidiskMode() const { return m_multidiskMode; }
    void setMultidiskMode(bool on) { m_multidiskMode = on; }
    bool clearDisks() const { return m_clearDisks; }
    void setClearDisks(bool on) { m_clearDisks = on; }
    bool useTempFile() const { return m_useTempFile; }
    void setUseTempFile(bool on) { m_useTempFile = on; }
    // Folder for adding: relative names in filesToProcess are taken from it, and files inside it are stored
    // under their path relative to it instead of their absolute path. Empty (the default): absolute paths.
    QString basePath() const { return m_basePath; }
    void setBasePath(const QString& folder) { m_basePath = folder; }
    bool abortRequested() const { return m_abortRequested; }
    void setAbortRequested(bool on) { m_abortRequested = on; }
    // Number of members of the archive named by archiveName; 0 when it cannot be read without asking for a
    // disk.
    int fileCount() const;

    bool keepResponsive() const { return m_keepResponsive; }
    void setKeepResponsive(bool on) { m_keepResponsive = on; }
    bool isBusy() const { return m_busy; }

    // --- operations; each returns a ResultCode
    int add(int mode);
    int extract(int mode = 0);
    int deleteFiles();
    int test();
    int fix(bool aggressive);
    int list();
    int updateArchiveDate();

signals:
    void adding(const QString& name, qint64 size);
    void updating(const QString& name, qint64 size);
    void extracting(const QString& name, qint64 size);
    void testing(const QString& name, qint64 size);
    void deleting(const QString& name);
    void fixing(const QString& name);
    // dateTime is "MM/DD/YY HH:MM"; ratio is the percentage saved by compression.
    void listing(const QString& name, qint64 size, qint64 packedSize, const QString& dateTime, int ratio);
    void status(int percent);
    // Asks for disk number disk (from 1) of a multidisk set, or for the last disk when disk is 0. The engine
    // looks at the drive again when the handler returns.
    void newDisk(int disk);
    // The file name exists in the extract folder. The handler sets *answer (Skip when it does not); setting
    // the abort request during this event also stops the extraction.
    void replace(const QString& name, tv::archive::ReplaceAnswer* answer);
    // name was not processed; reason is a SkipReason.
    void skippingFile(const QString& name, int reason);

private:
    friend struct EngineAccess;

    int runOperation(int (ArchiveEngine::*body)());
    int doAdd();
    int doExtract();
    int doDelete();
    int doTest();
    int doFix();
    int doList();
    int doUpdateDate();

    // Helpers used while an operation runs.
    QStringList namesToProcess() const;
    bool abortHonoured() const;
    bool shouldAbort();
    void pump();
    void progress(qint64 done, qint64 total);
    void skip(const QString& name, int reason);
    int openReader(const ArchivePlace& place, MemberReader** reader);
    int addToArchive(const QString& zipPath, bool spanning);
    int spannedAdd(const ArchivePlace& place);

    QString m_archiveName;
    QString m_filesToProcess;
    QString m_extractFolder;
    QString m_basePath;
    int m_compressionLevel = 6;
    bool m_multidiskMode = false;
    bool m_clearDisks = false;
    bool m_useTempFile = true;
    bool m_abortRequested = false;
    bool m_keepResponsive = false;

    // State of the running operation.
    bool m_busy = false;
    int m_addMode = 0;
    int m_extractMode = 0;
    bool m_aggressive = false;
    bool m_writingSpanned = false;
    int m_skipped = 0;
    int m_lastPercent = -1;
    QElapsedTimer m_sincePump;
};

} // namespace tv::archive
