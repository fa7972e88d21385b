#pragma once

#include <QDateTime>
#include <QString>

namespace tv {

// Message box styles: buttons (style & 7) + icon (style & 112) + default button (style & 768).
enum MsgStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// The button a message box was closed with.
enum MsgResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

enum class Pointer { Default, Arrow, Hourglass };

struct InputAnswer
{
    QString text;
    bool accepted = false; // false when the user pressed Cancel
};

// Every question to the user, every beep and key sent, the mouse pointer, go through here, so that tests can
// script the answers and read back exactly what was asked.
class Interactive
{
public:
    virtual ~Interactive() = default;
    // An empty title shows the application title.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;
    virtual InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // File dialogs return the chosen path, or empty text when cancelled.
    virtual QString openFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    // Several existing files at once, as the platform's dialogs answer: one full path, or the folder, a NUL
    // and the chosen names separated by NULs. By default one file through openFileName.
    virtual QString openFileNames(const QString& title, const QString& folder, const QString& filter)
    {
        return openFileName(title, folder, filter);
    }
    virtual QString saveFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString existingFolder(const QString& title, const QString& folder) = 0;
    virtual void beep() = 0;
    virtual void sendKey(int qtKey) = 0;
    // One global pointer: setting it replaces what was set before.
    virtual void setPointer(Pointer pointer) = 0;
    virtual Pointer pointer() const = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

inline const QString ApplicationTitle = QStringLiteral("Tarvenor");

// The services in force. The application installs the real ones; a test installs its doubles.
namespace platform {
Interactive& interactive();
void setInteractive(Interactive* interactive); // not owned; null restores the real one
const Clock& clock();
void setClock(const Clock* clock); // not owned; null restores the system clock

// The folder of the running program, where Pelkin.mdb and the report files are found.
QString appFolder();
void setAppFolder(const QString& folder); // empty restores the executable's folder
// The database path rule: the application folder followed by the file name.
QString databasePath();
} // namespace platform

// Shorthands for the calls every window makes.
inline int msgBox(const QString& text, int style = vbOKOnly, const QString& title = {})
{
    return platform::interactive().messageBox(text, style, title);
}
inline InputAnswer inputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {})
{
    return platform::interactive().inputBox(prompt, title, defaultText);
}
inline void beep()
{
    platform::interactive().beep();
}
inline void setPointer(Pointer pointer)
{
    platform::interactive().setPointer(pointer);
}

} // namespace tv
