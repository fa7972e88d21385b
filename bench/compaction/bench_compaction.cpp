// Compacts a database file of more than 200 MB with the program's compaction and, on the same file in the
// same run, with the sqlite3 command line's VACUUM INTO, and prints both times and their ratio.
//
//   bench_compaction [megabytes] [rounds]     (defaults 220 and 3; needs sqlite3 on the PATH)
#include "database/connection.h"
#include "shell/compaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace tv;

namespace {

double mb(qint64 bytes)
{
    return bytes / (1024.0 * 1024.0);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Quote lines with long notes until the file passes the size, then a quarter of them deleted, so that the
// file has free pages to give back, as after months of use.
bool makeLargeDatabase(const QString& path, qint64 bytes, QString* error)
{
    if (!QFile::copy(QStringLiteral(TARVENOR_PREPARED_DB), path)) {
        *error = QStringLiteral("cannot copy %1").arg(QStringLiteral(TARVENOR_PREPARED_DB));
        return false;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const auto connection = db::openConnection(path, QStringLiteral("Benchmark"), error);
    if (!connection)
        return false;
    QSqlQuery q(connection->database());
    int batch = 0;
    while (QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size() < bytes * 4 / 3) {
        const QString insert = QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO [Job Items] ([Recordno], [Item Name], [Schedule], [Item Category], [Item Qty], "
            "[Item Condition], [Item Price], [Item Notes]) "
            "SELECT %1 * 20000 + i, 'Item ' || i, char(65 + i % 3), i % 97, i % 12, 'New', (i % 1000) * "
            "1.25, "
            "printf('%.*c', 400 + i % 200, 'x') || hex(randomblob(40)) FROM n");
        if (!q.exec(insert.arg(batch++)) || !q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"))) {
            *error = q.lastError().text();
            return false;
        }
    }
    if (!q.exec(QStringLiteral("DELETE FROM [Job Items] WHERE [Recordno] % 4 = 0")) ||
        !q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"))) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

bool copyFresh(const QString& pristine, const QString& work)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(work + suffix);
    return QFile::copy(pristine, work);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int megabytes = args.size() > 1 ? args.at(1).toInt() : 220;
    const int rounds = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 3;
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (sqlite3.isEmpty()) {
        std::printf("bench_compaction: the sqlite3 command line is not installed; no reference to measure\n");
        return 0;
    }

    QTemporaryDir dir;
    const QString pristine = dir.filePath(QStringLiteral("pristine.mdb"));
    const QString work = dir.filePath(QStringLiteral("Pelkin.mdb"));
    const QString reference = dir.filePath(QStringLiteral("reference.mdb"));
    QString error;
    if (!makeLargeDatabase(pristine, qint64(megabytes) * 1024 * 1024, &error)) {
        std::printf("bench_compaction: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("database %.1f MB (a quarter of its quote lines deleted), %d rounds\n",
                mb(QFileInfo(pristine).size()), rounds);

    QList<double> ours, theirs, written, checked;
    qint64 compactedSize = 0, referenceSize = 0;
    for (int round = 0; round < rounds; ++round) {
        // The reference first in even rounds and second in odd ones, so that neither always finds the
        // file cached.
        for (int turn = 0; turn < 2; ++turn) {
            const bool reference_turn = (turn == 0) == (round % 2 == 0);
            if (!copyFresh(pristine, work)) {
                std::printf("bench_compaction: cannot copy the database\n");
                return 1;
            }
            QElapsedTimer clock;
            if (reference_turn) {
                QFile::remove(reference);
                QProcess process;
                clock.start();
                process.start(sqlite3, {work, QStringLiteral("VACUUM INTO '%1'").arg(reference)});
                process.waitForFinished(-1);
                theirs.append(clock.nsecsElapsed() / 1e9);
                if (process.exitCode() != 0) {
                    std::printf("bench_compaction: sqlite3 failed: %s\n",
                                process.readAllStandardError().constData());
                    return 1;
                }
                referenceSize = QFileInfo(reference).size();
                QFile::remove(reference);
            } else {
                double copyWritten = 0, copyChecked = 0;
                compaction::setStageHook([&](compaction::Stage stage) {
                    if (stage == compaction::Stage::CopyWritten)
                        copyWritten = clock.nsecsElapsed() / 1e9;
                    else if (stage == compaction::Stage::CopyChecked)
                        copyChecked = clock.nsecsElapsed() / 1e9;
                });
                clock.start();
                const bool ok = compaction::compactDatabase(work, &error);
                ours.append(clock.nsecsElapsed() / 1e9);
                compaction::setStageHook(nullptr);
                if (!ok) {
                    std::printf("bench_compaction: %s\n", qPrintable(error));
                    return 1;
                }
                written.append(copyWritten);
                checked.append(copyChecked - copyWritten);
                compactedSize = QFileInfo(work).size();
            }
        }
    }

    const double ourMedian = median(ours), theirMedian = median(theirs);
    std::printf("compacted to %.1f MB (sqlite3: %.1f MB)\n", mb(compactedSize), mb(referenceSize));
    std::printf("sqlite3 VACUUM INTO (reference)  median %.3f s\n", theirMedian);
    std::printf("Tarvenor compaction              median %.3f s  = %.2f x reference (goal: at most 1.20 x)\n",
                ourMedian, ourMedian / theirMedian);
    std::printf("  of which copy written %.3f s, copy checked and on disk %.3f s, replace %.3f s\n",
                median(written), median(checked), ourMedian - median(written) - median(checked));
    return 0;
}
