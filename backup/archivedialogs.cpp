#include "backup/archivedialogs.h"

#include "platform/archive/resultcodes.h"
#include "platform/interactive.h"

#include <QFileInfo>
#include <QStringList>

namespace tv::backup {

void showResultMessage(int code, const QString& verb, bool multidiskMode)
{
    const archive::ResultMessage message = archive::resultMessage(code, verb, multidiskMode);
    if (message.show)
        msgBox(message.text, message.style);
}

QString dialogFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" means every file, also those without a dot in their name.
        for (QString& pattern : patterns)
            if (pattern.trimmed() == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        const QString list = patterns.join(QLatin1Char(' '));
        // A description that shows its patterns already keeps them; the dialog wants them in brackets.
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + list + QLatin1Char(')');
        else
            description = description.left(description.indexOf(QLatin1Char('('))).trimmed() +
                          QStringLiteral(" (") + list + QLatin1Char(')');
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

QString chooseFiles(const QString& title, const QString& filter)
{
    return platform::interactive().openFileNames(title, QString(), dialogFilter(filter));
}

QString archiveDialogTitle(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::Open:
        return QStringLiteral("Open Archive");
    case ArchiveKind::New:
        return QStringLiteral("New Archive");
    case ArchiveKind::Test:
        return QStringLiteral("Test Archive");
    case ArchiveKind::Fix:
        return QStringLiteral("Fix Archive");
    case ArchiveKind::Delete:
        return QStringLiteral("Delete Archive");
    }
    return {};
}

QString chooseArchive(ArchiveKind kind)
{
    const QString title = archiveDialogTitle(kind);
    const QString filter = dialogFilter(ArchiveFilter);
    if (kind != ArchiveKind::New)
        return platform::interactive().openFileName(title, QString(), filter);
    QString name = platform::interactive().saveFileName(title, QString(), filter);
    // The dialog's default extension. The dialog asked about the name as typed, so a file that exists under
    // the completed name is asked about here, before New deletes it.
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
        name += QStringLiteral(".zip");
        if (QFileInfo::exists(name) &&
            msgBox(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(name),
                   vbYesNo + vbExclamation + vbDefaultButton2, title) != vbYes)
            return {};
    }
    return name;
}

} // namespace tv::backup
