#include "platform/archive/fileanswer.h"

namespace tv::archive {

int answerFileCount(const QString& answer)
{
    const int nuls = int(answer.count(QChar(0)));
    return nuls == 0 ? 1 : nuls;
}

QString answerFileAt(const QString& answer, int index)
{
    const int firstNul = int(answer.indexOf(QChar(0)));
    if (firstNul < 0)
        return index == 1 ? answer : QString();
    if (index < 1)
        return {};
    // The index-th name starts after the index-th NUL.
    int start = firstNul + 1;
    for (int i = 1; i < index; ++i) {
        const int next = int(answer.indexOf(QChar(0), start));
        if (next < 0)
            return {};
        start = next + 1;
    }
    int end = int(answer.indexOf(QChar(0), start));
    if (end < 0)
        end = int(answer.size());
    QString folder = answer.left(firstNul);
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('\\');
    return folder + answer.mid(start, end - start);
}

} // namespace tv::archive
