// Time from process start to the main window painted: the program against a bare Qt main window.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>

namespace {

double startOnce(const QString& program)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    while (process.waitForReadyRead(20000)) {
        if (process.readAll().contains("painted"))
            break;
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    process.waitForFinished(5000);
    return ms;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QDir here(QCoreApplication::applicationDirPath());
    const QString ours = here.filePath(QStringLiteral("bench-startup-tarvenor"));
    const QString bare = here.filePath(QStringLiteral("bench-startup-bare"));
    const int runs = 15;
    QList<double> oursMs, bareMs;
    startOnce(ours); // warm the file cache for both
    startOnce(bare);
    for (int i = 0; i < runs; ++i) {
        bareMs.append(startOnce(bare));
        oursMs.append(startOnce(ours));
    }
    const double o = median(oursMs), b = median(bareMs);
    std::printf("start-up to first paint (median of %d, platform %s)\n", runs,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  main window:      %7.1f ms\n", o);
    std::printf("  bare QMainWindow: %7.1f ms   (reference)\n", b);
    std::printf("  ratio:            %7.2f     (goal: at most 1.30)\n", o / b);
    return 0;
}
