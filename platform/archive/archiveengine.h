#pragma once

// The archive engine: standard zip archives on libzip, plus archives spread over several removable disks.
//
// Use from a window:
//  - Settings are plain properties: archiveName ("A:\x.zip" paths are mapped through the drive layer, see
//    drive.h), filesToProcess (names each followed by "\r"; emptied after every operation), extractFolder,
//    compressionLevel (0 store, 1 fastest, 6 normal, 9 best), multidiskMode, clearDisks, useTempFile,
//    abortRequested; fileCount() reads the member count of the archive.
//  - Operations run synchronously on the calling (UI) thread and return a ResultCode (resultcodes.h; 0 is
//    success): add(0) adds, add(2) updates, extract(0), deleteFiles(), test(), fix(aggressive), list(),
//    updateArchiveDate(). Calling one while another runs returns Busy.
//  - Events are signals, emitted synchronously while the operation runs: adding, extracting, testing,
//    updating, deleting, fixing, listing, status (percentage), newDisk, replace, skippingFile.
//  - Keeping the window alive: with setKeepResponsive(true) the engine itself runs
//    QCoreApplication::processEvents() every few tens of milliseconds during an operation, so an Abort button
//    can be clicked; its handler calls setAbortRequested(true). The abort request is honoured only while
//    useTempFile is on; the archive is then left byte for byte as it was. Without the flag, a handler of
//    status() can pump events itself.
//  - Member names in events and in filesToProcess use a backslash between folders ("home\me\Pelkin.mdb");
//    files are added under their absolute path without the leading "/". With an empty extractFolder, members
//    go back to the place they were added from.

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
