// How long "Quoted Job Items" takes from the menu entry until the grid's first rows are painted, over a
// database with 10,000 quote lines (the reference) and one with 1,000,000. Goal: at most 3 times the
// reference.
#include "database/connection.h"
#include "jobs/databases.h"
#include "platform/interactive.h"
#include "shell/mainmenu.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace tv;

namespace {

// Stops the clock at the first paint of the grid's rows.
class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

bool makeDatabase(const QString& folder, int lines)
{
    const QString path = QDir(folder).filePath(QStringLiteral("Pelkin.mdb"));
    if (!QFile::copy(QStringLiteral(TARVENOR_PREPARED_DB), path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    const auto connection = db::openConnection(path, QStringLiteral("Benchmark"), &error);
    if (!connection) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    QSqlQuery query(connection->database());
    const bool ok = query.exec(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO [Job Items] (Recordno, [Item Name], [Item Category], Schedule, [Item Qty], [Item "
            "Condition], "
            "[Item Price], [Item Notes]) "
            "SELECT i / 25 + 2, 'Quoted item ' || i, (i * 37) % 500, char(65 + i % 3), 1 + i % 12, 'New', "
            "(i % 997) * 12.5, 'Details of quoted item ' || i || ', delivered and installed.' FROM n")
            .arg(lines));
    if (!ok)
        std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
    return ok;
}

// Milliseconds from the menu entry to the first painted rows; the window is closed again afterwards.
double openOnce(MainMenu* main)
{
    QElapsedTimer clock;
    FirstPaint watch;
    clock.start();
    main->MnuModifyItems_Click();
    auto* list = Forms::loaded<Databases>();
    list->grid()->viewport()->installEventFilter(&watch);
    while (!watch.painted && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = clock.nsecsElapsed() / 1e6;
    list->grid()->viewport()->removeEventFilter(&watch);
    list->forceUnload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double measure(int lines)
{
    QTemporaryDir folder;
    if (!makeDatabase(folder.path(), lines))
        return -1;
    platform::setAppFolder(folder.path());
    MainMenu* main = Forms::load<MainMenu>();
    main->show();
    QCoreApplication::processEvents();
    openOnce(main); // the file's pages come into the cache
    QList<double> runs;
    for (int i = 0; i < 5; ++i)
        runs.append(openOnce(main));
    main->forceUnload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::setAppFolder(QString());
    return median(runs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double reference = measure(10000);
    const double large = measure(1000000);
    if (reference <= 0 || large <= 0)
        return 1;
    std::printf("Quoted Job Items opened until the first rows are painted (median of 5):\n");
    std::printf("  10,000 quote lines (reference)  %8.1f ms\n", reference);
    std::printf("  1,000,000 quote lines           %8.1f ms   = %.2f x reference (goal: at most 3)\n", large,
                large / reference);
    return large <= 3 * reference ? 0 : 2;
}
