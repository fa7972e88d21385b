// Quote generation over 40 checked slots whose default check marks are clear and whose ten sub-items are all
// defaults (400 lines, each saved on its own), against 400 single-row autocommit inserts into the same table
// through SQLite's C interface, on a copy of the same database file in the same folder.
#include "catalog/catalogmodel.h"
#include "database/connection.h"
#include "platform/form.h"
#include "platform/interactive.h"
#include "quote/picklist.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

// Answers Yes or OK: the run asks whether to add to the job's lines, and says when it is done.
class Silent : public tv::Interactive
{
public:
    int messageBox(const QString&, int style, const QString&) override
    {
        return (style & 7) == tv::vbYesNo ? tv::vbYes : tv::vbOK;
    }
    tv::InputAnswer inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString existingFolder(const QString&, const QString&) override { return {}; }
    void beep() override {}
    void sendKey(int) override {}
    void setPointer(tv::Pointer p) override { m_pointer = p; }
    tv::Pointer pointer() const override { return m_pointer; }

private:
    tv::Pointer m_pointer = tv::Pointer::Default;
};

QString freshCopy(const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(TARVENOR_PREPARED_DB), path))
        qFatal("cannot copy the prepared database");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void prepareCatalog(const QString& path)
{
    const auto connection = tv::db::openConnection(path, QStringLiteral("bench"));
    const tv::catalog::Catalog catalog(connection);
    using tv::catalog::Attribute;
    connection->database().transaction();
    for (int slot = 1; slot <= 40; ++slot) {
        tv::catalog::Entry item;
        QString error;
        catalog.readItem(slot, &item);
        item[Attribute::Default] = 0;
        if (!catalog.writeItem(slot, item, &error))
            qFatal("%s", qPrintable(error));
        for (int k = 1; k <= 10; ++k) {
            tv::catalog::Entry sub;
            sub[Attribute::Label] = QStringLiteral("Sub %1").arg(k);
            sub[Attribute::Name] = QStringLiteral("Sub-item %1 of slot %2").arg(k).arg(slot);
            sub[Attribute::Category] = QString::number(slot * 10 + k);
            sub[Attribute::Schedule] = QStringLiteral("A");
            sub[Attribute::Notes] = QStringLiteral("Notes of sub-item %1 of slot %2").arg(k).arg(slot);
            sub[Attribute::Price] = 100 + k;
            sub[Attribute::Condition] = QStringLiteral("New");
            sub[Attribute::Quantity] = 2;
            sub[Attribute::Factor] = k % 2 ? QStringLiteral("Lane") : QStringLiteral("Job");
            sub[Attribute::Default] = 1;
            if (!catalog.writeSubItem(slot, k, sub, &error))
                qFatal("%s", qPrintable(error));
        }
    }
    connection->database().commit();
}

double generationRun(const QDir& folder)
{
    prepareCatalog(freshCopy(folder, QStringLiteral("Pelkin.mdb")));
    tv::platform::setAppFolder(folder.path());
    tv::PickList5* pick = tv::Forms::load<tv::PickList5>();
    pick->SSCommand1_Click();
    pick->MnuCheckMarksAll_Click();
    QElapsedTimer clock;
    clock.start();
    pick->Command2_Click();
    const double ms = clock.nsecsElapsed() / 1e6;
    const auto check =
        tv::db::openConnection(folder.filePath(QStringLiteral("Pelkin.mdb")), QStringLiteral("bench"));
    QSqlQuery count(check->database());
    count.exec(QStringLiteral("SELECT count(*) FROM [Job Items] WHERE Recordno = 1"));
    count.next();
    if (count.value(0).toInt() != 6 + 400)
        qFatal("the run made %d lines instead of 400", count.value(0).toInt() - 6);
    pick->forceUnload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

double plainInserts(const QDir& folder)
{
    const QString path = freshCopy(folder, QStringLiteral("Plain.mdb"));
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        qFatal("cannot open %s", qPrintable(path));
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO [Job Items] ([Recordno], [Item Name], [Item Category], [Schedule], [Item Qty], "
        "[Item Condition], [Item Price], [Item Notes]) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &insert, nullptr);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 400; ++i) {
        const QByteArray name =
            QStringLiteral("Sub-item %1 of slot %2").arg(i % 10 + 1).arg(i / 10 + 1).toUtf8();
        const QByteArray notes = "Notes of " + name;
        sqlite3_bind_int(insert, 1, 1);
        sqlite3_bind_text(insert, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, i);
        sqlite3_bind_text(insert, 4, "A", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 5, 24);
        sqlite3_bind_text(insert, 6, "New", -1, SQLITE_STATIC);
        sqlite3_bind_double(insert, 7, 110.0 + i % 10);
        sqlite3_bind_text(insert, 8, notes.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            qFatal("insert failed: %s", sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    sqlite3_finalize(insert);
    sqlite3_close(db);
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
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Silent silent;
    tv::platform::setInteractive(&silent);
    // Beside the program, on the same disk as a real database file, unless another folder is given.
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    QTemporaryDir dir(QDir(base).filePath(QStringLiteral("quote-bench-XXXXXX")));
    const QDir folder(dir.path());
    const int runs = 5;
    QList<double> ours, plain;
    for (int i = 0; i < runs; ++i) {
        plain.append(plainInserts(folder));
        ours.append(generationRun(folder));
    }
    const double o = median(ours), p = median(plain);
    std::printf("quote generation, 40 slots x 10 default sub-items = 400 lines (median of %d runs)\n", runs);
    std::printf("  generation run:              %8.1f ms  (%.2f ms a line)\n", o, o / 400);
    std::printf("  400 autocommit inserts (C):  %8.1f ms  (reference)\n", p);
    std::printf("  ratio:                       %8.2f     (goal: at most 1.50)\n", o / p);
    tv::platform::setInteractive(nullptr);
    return 0;
}
