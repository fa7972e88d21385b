#pragma once

#include "platform/interactive.h"

#include <QDateTime>
#include <QList>
#include <QQueue>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>

class QWidget;

namespace tv::test {

// What the program asked the user, in order.
struct Asked
{
    QString kind; // "msgbox", "input", "open", "save", "folder", "beep", "key"
    QString text; // message or prompt (for files: the dialog title)
    QString title;
    int style = 0; // message box style; for "key" the Qt key
    QString extra; // input default, dialog folder or filter
};

// Answers the program's questions from a script and records every one. An unscripted message box gets its
// default button, an unscripted input box Cancel, an unscripted file dialog no file.
class ScriptedInteractive : public Interactive
{
public:
    ScriptedInteractive();
    ~ScriptedInteractive() override;

    void answerMessage(int result) { m_messages.enqueue(result); }
    void answerInput(const QString& text) { m_inputs.enqueue(InputAnswer{text, true}); }
    void cancelInput() { m_inputs.enqueue(InputAnswer{}); }
    void answerFile(const QString& path) { m_files.enqueue(path); }
    // Runs inside the next message box, before it answers (to look at the windows at that moment).
    void onNextMessage(std::function<void()> action) { m_hooks.enqueue(std::move(action)); }

    QList<Asked> asked;
    QList<Asked> messages() const; // only the message boxes
    Asked lastMessage() const;
    int pendingAnswers() const { return int(m_messages.size() + m_inputs.size() + m_files.size()); }

    int messageBox(const QString& text, int style, const QString& title) override;
    InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString existingFolder(const QString& title, const QString& folder) override;
    void beep() override;
    void sendKey(int qtKey) override;
    void setPointer(Pointer pointer) override
    {
        m_pointer = pointer;
        pointerHistory.append(pointer);
    }
    Pointer pointer() const override { return m_pointer; }

    QList<Pointer> pointerHistory;

private:
    QQueue<int> m_messages;
    QQueue<InputAnswer> m_inputs;
    QQueue<QString> m_files;
    QQueue<std::function<void()>> m_hooks;
    Pointer m_pointer = Pointer::Default;
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(const QDateTime& at) { m_at = at; }

private:
    QDateTime m_at;
};

// A private application folder holding a fresh copy of the prepared Pelkin.mdb, installed as the
// application folder for as long as it lives.
class AppFolder
{
public:
    explicit AppFolder(bool withDatabase = true);
    ~AppFolder();
    QString path() const { return m_dir.path(); }
    QString databasePath() const;
    // Runs SQL on the folder's database through a connection of its own; fails the test on an error.
    QVariant scalar(const QString& sql) const;
    bool exec(const QString& sql) const;
    QList<QVariantList> rows(const QString& sql) const;

private:
    QTemporaryDir m_dir;
};

// Acts inside the next window shown modally (our forms or a Qt dialog) once it is up, then leaves it to the
// action to close it. Polls instead of relying on one fixed delay.
void whenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Closes every top-level window that a test left behind; returns how many there were.
int closeLeftoverWindows();

} // namespace tv::test
