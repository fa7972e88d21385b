#include "shell/jetimport.h"

#include "database/jetconvert/jetheader.h"
#include "database/schema.h"
#include "platform/interactive.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QUuid>
#include <filesystem>
#include <optional>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tv::jet {

namespace {

// The converter reports after each table and every few thousand rows. A silence this long means it is stuck
// on a file made to keep it busy.
constexpr int SilenceLimitMs = 120000;

int& silenceLimit()
{
    static int ms = SilenceLimitMs;
    return ms;
}

QString& converterOverride()
{
    static QString path;
    return path;
}

// Paths whose conversion the user declined in this run: asked once.
QSet<QString>& declined()
{
    static QSet<QString> paths;
    return paths;
}

QString nativeName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<QByteArray> fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return std::nullopt;
    return hash.result();
}

bool sameContent(const QString& a, const QString& b)
{
    if (QFileInfo(a).size() != QFileInfo(b).size())
        return false;
    const auto ha = fileHash(a);
    const auto hb = fileHash(b);
    return ha && hb && *ha == *hb;
}

void removeDatabaseFile(const QString& path)
{
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(path + suffix);
}

// Puts a file's content, or a folder's names, on the disk before the next step relies on them.
void syncToDisk(const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

struct ConverterRun
{
    bool ok = false;
    bool cancelled = false;
    QJsonObject report;
    QString error;
};

// Runs the converter program and waits for it in an event loop, so that a progress dialog can show and be
// cancelled. Whatever the program does, this process only reads its output.
ConverterRun runConverter(const QString& source, const QString& target)
{
    ConverterRun run;
    const QString program = converterPath();
    if (!QFileInfo(program).isExecutable()) {
        run.error = QStringLiteral("The converter program %1 is missing.").arg(nativeName(program));
        return run;
    }

    QProcess process;
    process.setProgram(program);
    process.setArguments({source, target});
    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(silenceLimit());
    bool stuck = false;

    QPointer<QProgressDialog> dialog;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        dialog = new QProgressDialog(QStringLiteral("Converting %1 ...").arg(QFileInfo(source).fileName()),
                                     QStringLiteral("Cancel"), 0, 0);
        dialog->setWindowTitle(ApplicationTitle);
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setMinimumDuration(1500); // only a conversion that takes a while shows it
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        QObject::connect(dialog, &QProgressDialog::canceled, &process, [&] {
            run.cancelled = true;
            process.kill();
        });
    }

    QByteArray pending;
    const auto consume = [&] {
        pending += process.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QJsonObject line = QJsonDocument::fromJson(pending.left(end)).object();
            pending.remove(0, end + 1);
            if (line.contains(u"progress") && dialog) {
                const QJsonObject p = line.value(u"progress").toObject();
                if (p.contains(u"done")) {
                    dialog->setMaximum(p.value(u"total").toInt());
                    dialog->setValue(p.value(u"done").toInt());
                }
            } else if (line.contains(u"report")) {
                run.report = line.value(u"report").toObject();
            } else if (line.contains(u"error")) {
                run.error = line.value(u"error").toString();
            }
        }
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
        silence.start();
        consume();
    });
    // The reading library's warnings: only the last few are worth keeping, however many a file provokes.
    QByteArray warnings;
    QObject::connect(&process, &QProcess::readyReadStandardError, &loop,
                     [&] { warnings = (warnings + process.readAllStandardError()).right(2000); });
    QObject::connect(&silence, &QTimer::timeout, &loop, [&] {
        stuck = true;
        process.kill();
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            loop.quit();
    });

    process.start();
    if (!process.waitForStarted()) {
        delete dialog;
        run.error = QStringLiteral("The converter program %1 could not be started: %2")
                        .arg(nativeName(program), process.errorString());
        return run;
    }
    silence.start();
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    process.waitForFinished();
    consume();
    delete dialog;

    if (run.cancelled) {
        run.error = QStringLiteral("The conversion was cancelled.");
        return run;
    }
    if (stuck) {
        run.error =
            QStringLiteral("The converter stopped making progress and was ended. The file may be damaged.");
        return run;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        run.error = QStringLiteral("The converter failed while reading the file. The file may be damaged.");
        return run;
    }
    if (process.exitCode() != 0 || run.report.isEmpty()) {
        if (run.error.isEmpty())
            run.error = QStringLiteral("The converter failed (exit code %1): %2")
                            .arg(process.exitCode())
                            .arg(QString::fromLocal8Bit(warnings + process.readAllStandardError())
                                     .trimmed()
                                     .right(500));
        return run;
    }
    run.ok = true;
    return run;
}

// The new file, checked on its own before it takes the name: sound, made by this program's schema, and
// holding every row the converter says it wrote.
bool verify(const QString& path, const QJsonObject& report, QString* error)
{
    const QString name = QStringLiteral("tv-jetcheck-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = QStringLiteral("The new database file cannot be opened.");
        } else {
            ok = true;
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next() ||
                q.value(0).toString() != u"ok") {
                *error = QStringLiteral("The new database file is not sound.");
                ok = false;
            }
            if (ok && (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next() ||
                       q.value(0).toInt() != db::schema::latestVersion())) {
                *error = QStringLiteral("The new database file was not made by this version of the program.");
                ok = false;
            }
            const QJsonArray tables = report.value(u"tables").toArray();
            if (ok && (!q.exec(QStringLiteral(
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name NOT "
                           "LIKE 'sqlite%'")) ||
                       !q.next() || q.value(0).toInt() != tables.size())) {
                *error = QStringLiteral("The new database file lacks tables.");
                ok = false;
            }
            for (const QJsonValue& v : tables) {
                if (!ok)
                    break;
                const QJsonObject t = v.toObject();
                const QString table = t.value(u"name").toString();
                const qint64 rows = t.value(u"rows").toInteger();
                const bool fromSource = !t.value(u"source").toString().isEmpty();
                if (!q.exec(QStringLiteral("SELECT count(*) FROM [%1]").arg(table)) || !q.next() ||
                    q.value(0).toLongLong() != rows ||
                    (fromSource &&
                     rows != t.value(u"sourceRows").toInteger() + t.value(u"added").toInteger())) {
                    *error =
                        QStringLiteral("Table \"%1\" of the new database file does not hold the rows read.")
                            .arg(table);
                    ok = false;
                }
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    // Closing the only connection folds the write-ahead log into the file; the file must stand alone.
    if (ok && QFileInfo(path + QStringLiteral("-wal")).size() > 0) {
        *error = QStringLiteral("The new database file was not completely written.");
        ok = false;
    }
    return ok;
}

// Keeps the Access file under backup: a second name for the same file where the file system allows it,
// else a copy made under a temporary name and checked.
bool keepBackup(const QString& path, const QString& backup, QString* error)
{
    if (QFileInfo::exists(backup))
        return true; // identical, as backupPathFor() chose it
#ifdef Q_OS_UNIX
    const bool linked =
        ::link(QFile::encodeName(path).constData(), QFile::encodeName(backup).constData()) == 0;
#else
    const bool linked = false;
#endif
    if (!linked) {
        const QString part = backup + QStringLiteral(".part");
        QFile::remove(part);
        bool copied = QFile::copy(path, part) && sameContent(path, part);
        if (copied) {
            syncToDisk(part);
            std::error_code ec;
            std::filesystem::rename(QFile::encodeName(part).toStdString(),
                                    QFile::encodeName(backup).toStdString(), ec);
            copied = !ec;
        }
        if (!copied) {
            QFile::remove(part);
            *error = QStringLiteral("The backup copy %1 could not be made.").arg(nativeName(backup));
            return false;
        }
    }
    if (!sameContent(path, backup)) {
        *error = QStringLiteral("The backup copy %1 does not match the original.").arg(nativeName(backup));
        return false;
    }
    syncToDisk(QFileInfo(backup).absolutePath());
    return true;
}

QString list(const QStringList& lines)
{
    return QStringLiteral("\n    ") + lines.join(QStringLiteral("\n    "));
}

// The report for the user: what came across, where the original is, what was left out or added.
QString reportText(const QString& path, const QString& backup, const QJsonObject& report)
{
    const QString file = QFileInfo(path).fileName();
    qint64 rows = 0;
    QStringList created, added;
    const QJsonArray tables = report.value(u"tables").toArray();
    for (const QJsonValue& v : tables) {
        const QJsonObject t = v.toObject();
        rows += t.value(u"rows").toInteger();
        if (t.value(u"source").toString().isEmpty())
            created.append(t.value(u"name").toString());
        else if (t.value(u"added").toInteger() > 0)
            added.append(QStringLiteral("%1 (%2)")
                             .arg(t.value(u"name").toString())
                             .arg(t.value(u"added").toInteger()));
    }
    QString text =
        QStringLiteral("%1 has been converted from Access (%2).\n\n%3 tables with %4 rows are in the new "
                       "file. The original file is kept as %5.")
            .arg(file, report.value(u"format").toString())
            .arg(tables.size())
            .arg(rows)
            .arg(QFileInfo(backup).fileName());

    QStringList leftOut;
    for (const QJsonValue& v : report.value(u"leftOutTables").toArray())
        leftOut.append(QStringLiteral("table %1 (%2 rows)")
                           .arg(v.toObject().value(u"name").toString())
                           .arg(v.toObject().value(u"rows").toInteger()));
    for (const QJsonValue& v : report.value(u"linkedTables").toArray())
        leftOut.append(QStringLiteral("linked table %1 (its data is in another file)").arg(v.toString()));
    for (const QJsonValue& v : report.value(u"leftOutFields").toArray())
        leftOut.append(
            QStringLiteral("field %1.%2")
                .arg(v.toObject().value(u"table").toString(), v.toObject().value(u"field").toString()));
    if (!leftOut.isEmpty())
        text += QStringLiteral("\n\nLeft out, as this program does not use them:") + list(leftOut);
    const int others = report.value(u"otherObjects").toInt();
    if (others > 0)
        text +=
            QStringLiteral("\n\nThe %1 queries, forms, reports, macros and modules of the old file are not "
                           "carried over.")
                .arg(others);

    if (!created.isEmpty())
        text += QStringLiteral("\n\nTables the old file lacked, made as in a new file:") + list(created);
    if (!added.isEmpty())
        text += QStringLiteral("\n\nRows the program requires, added:") + list(added);

    // Fields the old file lacked, by table; they are empty or hold their default.
    QMap<QString, QStringList> missing;
    for (const QJsonValue& v : report.value(u"missingFields").toArray())
        missing[v.toObject().value(u"table").toString()].append(v.toObject().value(u"field").toString());
    QStringList missingLines;
    for (auto it = missing.cbegin(); it != missing.cend(); ++it) {
        QStringList fields = it.value();
        const qsizetype more = fields.size() - 6;
        if (more > 0)
            fields = fields.mid(0, 6) << QStringLiteral("and %1 more").arg(more);
        missingLines.append(QStringLiteral("%1: %2").arg(it.key(), fields.join(QStringLiteral(", "))));
    }
    if (!missingLines.isEmpty())
        text += QStringLiteral("\n\nFields the old file lacked, left empty:") + list(missingLines);

    const QStringList notes = report.value(u"notes").toVariant().toStringList();
    if (!notes.isEmpty())
        text += QStringLiteral("\n\n") + notes.join(u'\n');
    return text;
}

QString convertedName(const QString& path)
{
    return path + QStringLiteral(".converting");
}

// The whole conversion; on failure the database file is as it was and error says why.
bool convert(const QString& path, QString* backupUsed, QJsonObject* report, QString* error)
{
    const QString temp = convertedName(path);
    removeDatabaseFile(temp); // left by an earlier run that was ended
    const ConverterRun run = runConverter(path, temp);
    if (!run.ok) {
        removeDatabaseFile(temp);
        *error = run.error;
        return false;
    }
    if (!verify(temp, run.report, error)) {
        removeDatabaseFile(temp);
        return false;
    }
    const QString backup = backupPathFor(path);
    if (backup.isEmpty()) {
        removeDatabaseFile(temp);
        *error = QStringLiteral("There is no free name for the backup of %1.").arg(nativeName(path));
        return false;
    }
    if (!keepBackup(path, backup, error)) {
        removeDatabaseFile(temp);
        return false;
    }
    // Leftovers of an SQLite file of the same name would be taken for the new file's own.
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(path + suffix);
    syncToDisk(temp);
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(temp).toStdString(), QFile::encodeName(path).toStdString(), ec);
    syncToDisk(QFileInfo(path).absolutePath());
    if (ec) {
        removeDatabaseFile(temp);
        *error = QStringLiteral("The new database file could not take the name %1: %2")
                     .arg(nativeName(path), QString::fromLocal8Bit(ec.message().c_str()));
        return false;
    }
    *backupUsed = backup;
    *report = run.report;
    return true;
}

} // namespace

QString converterPath()
{
    if (!converterOverride().isEmpty())
        return converterOverride();
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("tarvenor-jetconvert.exe");
#else
    const QString name = QStringLiteral("tarvenor-jetconvert");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

void setConverterPath(const QString& path)
{
    converterOverride() = path;
}

void setConverterSilenceLimit(int milliseconds)
{
    silenceLimit() = milliseconds > 0 ? milliseconds : SilenceLimitMs;
}

QString backupPathFor(const QString& path)
{
    const QString base = path + QStringLiteral(".jet-backup");
    for (int n = 1; n < 100; ++n) {
        const QString candidate = n == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(n);
        if (!QFileInfo::exists(candidate) || sameContent(path, candidate))
            return candidate;
    }
    return {};
}

StartOutcome offerConversion(const QString& path)
{
    const Header header = inspectFile(path);
    if (header.format == Format::Other)
        return StartOutcome::NotJet;
    const QString shown = nativeName(path);
    if (!convertible(header.format)) {
        msgBox(QStringLiteral(
                   "The database file %1 is an Access database in a format this program cannot convert "
                   "(%2). Save it from Access in the Access 2000 format and start the program again.\n\n"
                   "The program opens without data.")
                   .arg(shown, formatName(header.format)),
               vbExclamation);
        return StartOutcome::Unsupported;
    }

    const QString key = QFileInfo(path).absoluteFilePath();
    if (declined().contains(key))
        return StartOutcome::Declined;
    const int answer = msgBox(
        QStringLiteral("The database file %1 is an Access database (%2) of the earlier program.\n\n"
                       "Convert it now? The original file is kept beside the new one as %3.\n\n"
                       "If you answer No, the file is left as it is and the program opens without data.")
            .arg(shown, formatName(header.format), QFileInfo(backupPathFor(path)).fileName()),
        vbYesNo + vbQuestion);
    if (answer != vbYes) {
        declined().insert(key);
        return StartOutcome::Declined;
    }

    setPointer(Pointer::Hourglass);
    QString backup, error;
    QJsonObject report;
    const bool ok = convert(path, &backup, &report, &error);
    setPointer(Pointer::Default);
    if (!ok) {
        msgBox(QStringLiteral(
                   "The database file %1 could not be converted.\n\n%2\n\nThe file is left as it was. "
                   "The program opens without data.")
                   .arg(shown, error),
               vbCritical);
        return StartOutcome::Failed;
    }
    msgBox(reportText(path, backup, report), vbInformation);
    return StartOutcome::Converted;
}

} // namespace tv::jet
