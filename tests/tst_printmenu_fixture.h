#pragma once
// An application folder with the report layouts beside the database, a job 17 with quote lines, and a report
// output that records what the print windows sent instead of opening a preview or a printer.

#include "platform/form.h"
#include "platform/report/engine.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace tv::test {

class RecordingOutput : public report::ReportOutput
{
public:
    struct Call
    {
        QString kind; // "preview" or "print"
        report::PrintRequest request;
        std::shared_ptr<const report::Document> document;
    };

    report::Result preview(const std::shared_ptr<const report::Document>& document,
                           const report::PrintRequest& request) override
    {
        calls.append({QStringLiteral("preview"), request, document});
        return answer;
    }
    report::Result print(const std::shared_ptr<const report::Document>& document,
                         const report::PrintRequest& request) override
    {
        calls.append({QStringLiteral("print"), request, document});
        return answer;
    }

    // The file names asked for, without the application folder.
    QStringList files(const QString& appFolder) const
    {
        QStringList names;
        for (const Call& c : calls)
            names.append(c.request.reportFileName.mid(appFolder.size()));
        return names;
    }
    QStringList formulas() const
    {
        QStringList list;
        for (const Call& c : calls)
            list.append(c.request.selectionFormula);
        return list;
    }

    QList<Call> calls;
    report::Result answer; // what every call answers
};

// The layouts of the source tree, the ones the program installs beside itself.
inline QString sourceLayoutFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../reports/layouts"));
}

class PrintFixture
{
public:
    static constexpr int Job = 17;
    static inline const QString JobName = QStringLiteral("Harbour Lanes Seventeen");

    AppFolder folder;
    ScriptedInteractive ui;
    RecordingOutput output;

    PrintFixture()
    {
        const QDir source(sourceLayoutFolder());
        const QStringList layouts = source.entryList({QStringLiteral("*.rpt")}, QDir::Files);
        if (layouts.size() < 17)
            qFatal("the report layouts are not in %s", qPrintable(source.absolutePath()));
        for (const QString& name : layouts)
            QFile::copy(source.filePath(name), QDir(folder.path()).filePath(name));

        folder.exec(QStringLiteral(
            "INSERT INTO [Job Information] (AutoNumber, [Quote Date], [Job Name], [Customer Name], "
            "[Machine Type], [# of Lanes], [Time Period], [Payment Terms], [Shipment Terms]) VALUES (17, "
            "'03/02/2026', 'Harbour Lanes Seventeen', 'Harbour Leisure Ltd', 'A-2', '8', '60 Days', "
            "'Cash in advance', 'FOB Factory')"));
        folder.exec(QStringLiteral(
            "INSERT INTO [Job Items] (Recordno, [Item Name], [Item Category], Schedule, [Item Qty], "
            "[Item Condition], [Item Price], [Item Notes]) VALUES "
            "(17, 'A-2 Pinsetter, Remanufactured', 10, 'A', 8, 'Remanufactured', 15950, 'Rebuilt'), "
            "(17, 'Bowling Pins, Set of 10', 100, 'B', 16, 'New', 203.5, 'Plastic coated'), "
            "(17, 'Installation & Supervision', 110, 'C', 8, 'N/A', 1320, 'By our crew')"));
        report::ReportEngine::setDefaultOutput(&output);
    }

    ~PrintFixture()
    {
        report::ReportEngine::setDefaultOutput(nullptr);
        Forms::forceUnloadAll();
        closeLeftoverWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString appFolder() const { return folder.path(); }
    void removeLayout(const QString& name) const { QFile::remove(QDir(folder.path()).filePath(name)); }

    // Every text of every page of the document of a call.
    static QString documentText(const RecordingOutput::Call& call)
    {
        QStringList texts;
        if (call.document)
            for (int i = 0; i < call.document->pageCount(); ++i)
                texts += call.document->pageTexts(i);
        return texts.join(u'\n');
    }
};

} // namespace tv::test
