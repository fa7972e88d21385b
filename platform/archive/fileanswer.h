#pragma once

#include <QString>

namespace tv::archive {

// A file dialog's answer names one file by its full path, or several files as the folder, a NUL, the first
// name, a NUL, the second name, and so on.

// The number of files in answer: the number of NULs, or 1 when there is none.
int answerFileCount(const QString& answer);

// The full path of file index (from 1) of answer. Without a NUL the answer itself; otherwise the folder (a
// backslash appended unless it already ends in a separator) followed by the index-th name. Empty when index
// is out of range.
QString answerFileAt(const QString& answer, int index);

} // namespace tv::archive
