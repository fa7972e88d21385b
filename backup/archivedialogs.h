#pragma once

// The archive manager's shared dialogs and messages: result codes shown as messages, the file dialog for the
// files to add or update, and the dialog for an archive file.

#include <QString>

namespace tv::backup {

// Shows the message for an archive engine result code after the operation named by verb; codes without a
// message show nothing. multidiskMode is the engine's setting at this moment.
void showResultMessage(int code, const QString& verb, bool multidiskMode);

// Filters as the archive window writes them ("Zip archives (*.zip)|*.zip|All files (*.*)|*.*") in the form
// the platform's file dialogs take ("Zip archives (*.zip);;All files (*)").
QString dialogFilter(const QString& pairs);

// Filters of the archive window's dialogs.
inline const QString ArchiveFilter = QStringLiteral(
    "Zip archives (*.zip)|*.zip|Self-extracting Zip archives (*.exe)|*.exe|All files (*.*)|*.*");
inline const QString AddFilesFilter = QStringLiteral("All Files|*.*|Database Files (*.mdb)|*.mdb");

// Lets the user choose one or more existing files. The answer is one full path, or the folder, a NUL and the
// names separated by NULs (answerFileCount/answerFileAt read it); empty when cancelled.
QString chooseFiles(const QString& title, const QString& filter);

// What the archive dialog is for; it gives the dialog's title and whether it asks for a new file.
enum class ArchiveKind { Open = 0, New = 1, Test = 2, Fix = 3, Delete = 4 };
QString archiveDialogTitle(ArchiveKind kind);

// Lets the user choose an archive file: an existing one, or for New a name to create (the dialog asks
// before an existing file is overwritten, and ".zip" is added to a name without an extension). Empty when
// cancelled.
QString chooseArchive(ArchiveKind kind);

} // namespace tv::backup
