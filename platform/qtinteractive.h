#pragma once

#include "platform/interactive.h"

namespace tv {

// The real dialogs, made with Qt.
class QtInteractive : public Interactive
{
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString openFileNames(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString existingFolder(const QString& title, const QString& folder) override;
    void beep() override;
    void sendKey(int qtKey) override;
    void setPointer(Pointer pointer) override;
    Pointer pointer() const override { return m_pointer; }

private:
    Pointer m_pointer = Pointer::Default;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace tv
