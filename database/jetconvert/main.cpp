// tarvenor-jetconvert SOURCE TARGET
//
// Converts the Access (Jet) database file SOURCE into a new database file TARGET of this program. Started by
// the application as a process of its own: whatever a damaged or hostile file does to the reading library
// ends here. Writes one JSON object per line on standard output: {"progress": {...}} after each table, then
// {"report": {...}} on success or {"error": "message"} on failure. Exits with 0 on success, 1 on failure,
// 2 on wrong arguments.
#include "database/jetconvert/converter.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

void emitLine(const QJsonObject& object)
{
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

// A hostile file must not make this process eat the machine, nor leave a core dump behind.
void limitResources()
{
    const rlimit memory{rlim_t(4) << 30, rlim_t(4) << 30};
    setrlimit(RLIMIT_AS, &memory);
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
}

} // namespace

int main(int argc, char** argv)
{
    limitResources();
    // The reading library takes its character sets from these when set; the file's own must rule.
    unsetenv("MDB_ICONV");
    unsetenv("MDB_JET3_CHARSET");
    unsetenv("MDBOPTS");
    QCoreApplication app(argc, argv);
    // Numbers are never formatted by the user's locale here.
    std::setlocale(LC_NUMERIC, "C");

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tarvenor-jetconvert SOURCE.mdb TARGET\n");
        return 2;
    }
    QJsonObject report;
    QString error;
    const bool ok = tv::jet::convert(
        args.at(1), args.at(2),
        [](const QJsonObject& p) {
            emitLine({{QStringLiteral("progress"), p}});
        },
        &report, &error);
    if (!ok) {
        emitLine({{QStringLiteral("error"), error}});
        return 1;
    }
    emitLine({{QStringLiteral("report"), report}});
    return 0;
}
