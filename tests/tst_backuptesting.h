#pragma once

// Helpers shared by the tests of the archive window, the extract dialog and the automatic backup: files and
// archives made by the test itself, and the windows loaded and unloaded cleanly.

#include "backup/extractdialog.h"
#include "backup/frmzipcreate.h"
#include "platform/archive/archiveengine.h"
#include "platform/archive/drive.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>
#include <sys/stat.h>
#include <utime.h>

namespace backuptesting {

inline void writeFile(const QString& path, const QByteArray& data, const QDateTime& modified = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(data), qint64(data.size()));
    file.close();
    if (modified.isValid()) {
        utimbuf times;
        times.actime = time_t(modified.toSecsSinceEpoch());
        times.modtime = time_t(modified.toSecsSinceEpoch());
        QVERIFY(::utime(QFile::encodeName(path).constData(), &times) == 0);
    }
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline QByteArray fileHash(const QString& path)
{
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

// Bytes that do not compress, so that an archive of them is as large as they are.
inline QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray data(size, Qt::Uninitialized);
    for (char& c : data)
        c = char(random.bounded(256));
    return data;
}

// The member name the engine gives a file added by its path: the real path without the leading slash, with
// backslashes.
inline QString memberName(const QString& path)
{
    const QFileInfo info(path);
    QString name =
        QFileInfo(info.absolutePath()).canonicalFilePath().mid(1) + QLatin1Char('/') + info.fileName();
    name.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return name;
}

// Makes the archive zip holding files, through an engine of its own.
inline int makeArchive(const QString& zip, const QStringList& files)
{
    tv::archive::ArchiveEngine engine;
    engine.setArchiveName(zip);
    for (const QString& file : files)
        engine.addFileToProcess(file);
    return engine.add(tv::archive::ArchiveEngine::AddFiles);
}

// Windows closed by the test are gone before the next step, so that the next use loads a fresh one.
inline void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

inline void unloadArchiveWindow()
{
    if (auto* window = tv::Forms::loaded<tv::frmZipCreate>())
        window->forceUnload();
    if (auto* dialog = tv::Forms::loaded<tv::ExtractDialog>())
        dialog->forceUnload();
    settle();
}

} // namespace backuptesting
