#pragma once
// A database with jobs and catalog slots made to measure, and the pick list over it.

#include "catalog/catalogmodel.h"
#include "database/connection.h"
#include "platform/form.h"
#include "quote/picklist.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QTest>

namespace tv::test {

inline catalog::Entry catalogEntry(const QString& name, const QVariant& factor, const QVariant& quantity,
                                   const QVariant& price, bool isDefault)
{
    catalog::Entry e;
    e[catalog::Attribute::Label] = name.left(15);
    e[catalog::Attribute::Name] = name;
    e[catalog::Attribute::Category] = QStringLiteral("10");
    e[catalog::Attribute::Schedule] = QStringLiteral("A");
    e[catalog::Attribute::Notes] = name + QStringLiteral(" notes");
    e[catalog::Attribute::Price] = price;
    e[catalog::Attribute::Condition] = QStringLiteral("New");
    e[catalog::Attribute::Quantity] = quantity;
    e[catalog::Attribute::Factor] = factor;
    e[catalog::Attribute::Default] = isDefault ? 1 : 0;
    return e;
}

class QuoteFixture
{
public:
    AppFolder folder;
    ScriptedInteractive ui;

    QuoteFixture()
    {
        // A clean catalog: no slot or sub-item is a default until a test says so.
        folder.exec(QStringLiteral("UPDATE ItemDefault SET %1").arg(allFields("ItemDefault", 40, " = 0")));
        folder.exec(
            QStringLiteral("UPDATE SubItemDefault SET %1").arg(allFields("SubItemDefault", 10, " = 0")));
    }
    ~QuoteFixture()
    {
        Forms::forceUnloadAll();
        closeLeftoverWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QString allFields(const char* prefix, int count, const char* assignment)
    {
        QStringList parts;
        for (int i = 1; i <= count; ++i)
            parts << QString::fromLatin1(prefix) + QString::number(i) + QString::fromLatin1(assignment);
        return parts.join(QStringLiteral(", "));
    }

    int addJob(const QString& name, const QString& lanes, const QVariant& commission)
    {
        folder.exec(
            QStringLiteral("INSERT INTO [Job Information] ([Job Name], [Customer Name], [Machine Type], "
                           "[# of Lanes], [Commission]) VALUES ('%1', 'Customer of %1', 'A-2', '%2', %3)")
                .arg(name, lanes, commission.isNull() ? QStringLiteral("NULL") : commission.toString()));
        return folder.scalar(QStringLiteral("SELECT max(AutoNumber) FROM [Job Information]")).toInt();
    }

    db::ConnectionPtr connection() const
    {
        return db::openConnection(folder.databasePath(), QStringLiteral("test"));
    }
    // Each slot is written in one transaction, so that a test's set-up does not wait for ten disk flushes.
    void setItem(int slot, const catalog::Entry& e) const
    {
        const auto c = connection();
        QString error;
        c->database().transaction();
        if (!catalog::Catalog(c).writeItem(slot, e, &error))
            qFatal("%s", qPrintable(error));
        c->database().commit();
    }
    void setSubItem(int parent, int k, const catalog::Entry& e) const
    {
        const auto c = connection();
        QString error;
        c->database().transaction();
        if (!catalog::Catalog(c).writeSubItem(parent, k, e, &error))
            qFatal("%s", qPrintable(error));
        c->database().commit();
    }

    // The job's lines in the order they were added: name, quantity, price.
    QList<QVariantList> lines(int job) const
    {
        return folder.rows(
            QStringLiteral("SELECT [Item Name], [Item Qty], [Item Price], Recordno FROM [Job Items] "
                           "WHERE Recordno = %1 ORDER BY rowid")
                .arg(job));
    }
    QStringList lineNames(int job) const
    {
        QStringList names;
        for (const QVariantList& row : lines(job))
            names << row.value(0).toString();
        return names;
    }

    // The pick list on the last job, as after "Click Here, Then Select the Correct Job Number".
    PickList5* pickListOnLastJob()
    {
        PickList5* pick = Forms::load<PickList5>();
        pick->SSCommand1_Click();
        return pick;
    }
};

} // namespace tv::test
