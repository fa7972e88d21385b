#pragma once

#include <QString>

namespace tv::jet {

// What became of the database file at start.
enum class StartOutcome {
    NotJet,      // not an Access file: nothing was done
    Converted,   // converted in place; the Access file is kept beside it as a backup
    Declined,    // the user chose not to convert: the file is untouched
    Unsupported, // an Access format the converter cannot read: reported, the file untouched
    Failed,      // the conversion failed or was cancelled: reported, the file untouched
};

// Looks at the database file before any window opens it. A file in the Access (Jet 3 or Jet 4) format is
// offered for conversion, once a run; on Yes the converter program builds the new file under a temporary
// name, the new file is checked, the Access file is kept as the backup, and the new file takes the name in
// one atomic rename. Every outcome other than NotJet and Converted leaves the file as it was, and the
// program goes on without data, as with any unreadable file.
StartOutcome offerConversion(const QString& path);

// The name the Access file is kept under: path + ".jet-backup", or, when a backup of different content
// is already there, the first free path + ".jet-backup-2", "-3", ... An identical backup is reused.
QString backupPathFor(const QString& path);

// The converter program, beside the running program unless set otherwise (tests point it at their build).
QString converterPath();
void setConverterPath(const QString& path); // empty restores the default

// How long the converter may stay silent before it is taken to be stuck and ended; 0 restores the default.
void setConverterSilenceLimit(int milliseconds);

} // namespace tv::jet
