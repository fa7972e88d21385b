// Adds a 200 MB file of mixed content at level 6 and tests the archive, each beside Info-ZIP doing the same
// work on the same machine in the same run: `zip -6` for adding, `unzip -t` for testing. Each figure is the
// best of a few runs, so that a busy moment of a shared machine does not decide it.
//
// Usage: bench_archive [megabytes] [runs]

#include "platform/archive/archiveengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

using tv::archive::ArchiveEngine;

namespace {

// Four parts text (lines of words and numbers, as a database or report holds them), one part random bytes.
bool writeMixedFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QRandomGenerator random(20240611);
    static const char* const words[] = {"lane",      "pinsetter", "scoring", "seating",
                                        "quotation", "invoice",   "machine", "commission",
                                        "terms",     "shipment",  "payment", "customer"};
    QByteArray block;
    qint64 written = 0;
    int line = 0;
    while (written < size) {
        block.clear();
        if (random.bounded(5) == 0) {
            block.resize(64 * 1024);
            random.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        } else {
            while (block.size() < 256 * 1024) {
                block += QByteArray::number(++line);
                for (int w = 0; w < 8; ++w) {
                    block += ' ';
                    block += words[random.bounded(int(std::size(words)))];
                }
                block += ' ';
                block += QByteArray::number(random.bounded(100000));
                block += '\n';
            }
        }
        const qint64 n = qMin<qint64>(block.size(), size - written);
        if (file.write(block.constData(), n) != n)
            return false;
        written += n;
    }
    return true;
}

double runSeconds(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return timer.nsecsElapsed() / 1e9;
}

void row(const char* what, double ours, double theirs, int decimals, double goal)
{
    const double ratio = theirs > 0 ? ours / theirs : 0;
    std::printf("%-24s %14.*f %14.*f   ratio %.3f (goal <= %.2f) %s\n", what, decimals, ours, decimals,
                theirs, ratio, goal, ratio <= goal ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    const QString zip = QStandardPaths::findExecutable(QStringLiteral("zip"));
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (zip.isEmpty() || unzip.isEmpty()) {
        std::fprintf(stderr, "bench_archive needs zip and unzip (Info-ZIP) as references\n");
        return 1;
    }

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/tarvenor-bench-XXXXXX"));
    if (!work.isValid())
        return 1;
    const QString data = work.filePath(QStringLiteral("mixed.dat"));
    std::printf("making %lld MB of mixed content in %s\n", megabytes, qPrintable(work.path()));
    if (!writeMixedFile(data, megabytes * 1024 * 1024))
        return 1;

    const QString theirsZip = work.filePath(QStringLiteral("theirs.zip"));
    const QString oursZip = work.filePath(QStringLiteral("ours.zip"));
    double theirsAdd = 1e9;
    double oursAdd = 1e9;
    double theirsTest = 1e9;
    double oursTest = 1e9;
    ArchiveEngine engine;
    engine.setCompressionLevel(6);
    engine.setArchiveName(oursZip);
    for (int run = 0; run < runs; ++run) {
        QFile::remove(theirsZip);
        QFile::remove(oursZip);
        const double t =
            runSeconds(zip, {QStringLiteral("-6"), QStringLiteral("-q"), theirsZip, data}, work.path());
        if (t < 0)
            return 1;
        theirsAdd = qMin(theirsAdd, t);

        engine.addFileToProcess(data);
        QElapsedTimer timer;
        timer.start();
        const int rc = engine.add(ArchiveEngine::AddFiles);
        const double o = timer.nsecsElapsed() / 1e9;
        if (rc != 0) {
            std::fprintf(stderr, "engine add failed with %d\n", rc);
            return 1;
        }
        oursAdd = qMin(oursAdd, o);

        // Both test the same archive, ours.
        const double u = runSeconds(unzip, {QStringLiteral("-tq"), oursZip}, work.path());
        if (u < 0)
            return 1;
        theirsTest = qMin(theirsTest, u);
        timer.restart();
        const int tested = engine.test();
        const double e = timer.nsecsElapsed() / 1e9;
        if (tested != 0) {
            std::fprintf(stderr, "engine test failed with %d\n", tested);
            return 1;
        }
        oursTest = qMin(oursTest, e);
    }

    const double oursSize = double(QFileInfo(oursZip).size());
    const double theirsSize = double(QFileInfo(theirsZip).size());
    std::printf("\n%-24s %14s %14s\n", "", "engine", "Info-ZIP");
    row("add, level 6 (s)", oursAdd, theirsAdd, 3, 1.10);
    row("archive size (bytes)", oursSize, theirsSize, 0, 1.01);
    row("test (s)", oursTest, theirsTest, 3, 1.00);
    std::printf("input %lld MB, best of %d runs; temporary files removed\n", megabytes, runs);
    return 0;
}
