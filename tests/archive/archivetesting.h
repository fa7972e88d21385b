#pragma once

// Helpers shared by the archive engine tests: files made by the test itself, and a log of the engine's
// events.

#include "platform/archive/archiveengine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <functional>
#include <sys/stat.h>
#include <utime.h>

namespace archivetesting {

// Text lines and random bytes mixed, so that compression has something to do but not everything.
inline QByteArray mixedContent(qint64 size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray data;
    data.reserve(size);
    int line = 0;
    while (data.size() < size) {
        if (random.bounded(4) == 0) {
            QByteArray noise(qMin<qint64>(512, size - data.size()), Qt::Uninitialized);
            for (char& c : noise)
                c = char(random.bounded(256));
            data += noise;
        } else {
            data += "Line " + QByteArray::number(++line) + ": lanes, pinsetters and scoring for job " +
                    QByteArray::number(random.bounded(1000)) + "\n";
        }
    }
    data.truncate(size);
    return data;
}

inline void setModified(const QString& path, const QDateTime& time)
{
    utimbuf times;
    times.actime = time_t(time.toSecsSinceEpoch());
    times.modtime = time_t(time.toSecsSinceEpoch());
    QVERIFY(::utime(QFile::encodeName(path).constData(), &times) == 0);
}

inline void writeFile(const QString& path, const QByteArray& data, const QDateTime& modified = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(data), qint64(data.size()));
    file.close();
    if (modified.isValid())
        setModified(path, modified);
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The member name the engine gives a file: its absolute path without the leading slash, with backslashes.
inline QString memberName(const QString& path)
{
    QString name = QFileInfo(path).absoluteFilePath().mid(1);
    name.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return name;
}

// Every event of an engine, as text ("adding a\b 12", "skip x 3", ...), with scripted answers.
class EventLog : public QObject
{
public:
    explicit EventLog(tv::archive::ArchiveEngine* engine) : m_engine(engine)
    {
        using E = tv::archive::ArchiveEngine;
        connect(engine, &E::adding, this, [this](const QString& n, qint64 s) { log("adding", n, s); });
        connect(engine, &E::updating, this, [this](const QString& n, qint64 s) { log("updating", n, s); });
        connect(engine, &E::extracting, this,
                [this](const QString& n, qint64 s) { log("extracting", n, s); });
        connect(engine, &E::testing, this, [this](const QString& n, qint64 s) { log("testing", n, s); });
        connect(engine, &E::deleting, this, [this](const QString& n) { events << "deleting " + n; });
        connect(engine, &E::fixing, this, [this](const QString& n) { events << "fixing " + n; });
        connect(engine, &E::listing, this,
                [this](const QString& n, qint64 size, qint64 packed, const QString& date, int ratio) {
                    listed << n;
                    listedSizes << size;
                    listedPacked << packed;
                    listedDates << date;
                    listedRatios << ratio;
                });
        connect(engine, &E::status, this, [this](int percent) { percents << percent; });
        connect(engine, &E::skippingFile, this, [this](const QString& n, int reason) {
            events << QStringLiteral("skip %1 %2").arg(n).arg(reason);
            skipped << reason;
        });
        connect(engine, &E::replace, this, [this](const QString& n, tv::archive::ReplaceAnswer* answer) {
            events << "replace " + n;
            replaceQuestions << n;
            if (onReplace)
                onReplace(n, answer);
        });
        connect(engine, &E::newDisk, this, [this](int disk) {
            diskPrompts << disk;
            if (onNewDisk)
                onNewDisk(disk);
        });
    }

    void clear()
    {
        events.clear();
        listed.clear();
        listedSizes.clear();
        listedPacked.clear();
        listedDates.clear();
        listedRatios.clear();
        percents.clear();
        skipped.clear();
        replaceQuestions.clear();
        diskPrompts.clear();
    }

    QStringList eventsStartingWith(const QString& prefix) const
    {
        QStringList found;
        for (const QString& e : events) {
            if (e.startsWith(prefix))
                found << e;
        }
        return found;
    }

    QStringList events;
    QStringList listed;
    QList<qint64> listedSizes;
    QList<qint64> listedPacked;
    QStringList listedDates;
    QList<int> listedRatios;
    QList<int> percents;
    QList<int> skipped;
    QStringList replaceQuestions;
    QList<int> diskPrompts;
    std::function<void(const QString&, tv::archive::ReplaceAnswer*)> onReplace;
    std::function<void(int)> onNewDisk;

private:
    void log(const char* kind, const QString& name, qint64 size)
    {
        events << QStringLiteral("%1 %2 %3").arg(QLatin1String(kind), name).arg(size);
    }

    tv::archive::ArchiveEngine* m_engine;
};

} // namespace archivetesting
