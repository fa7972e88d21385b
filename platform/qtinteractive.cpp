#include "platform/qtinteractive.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace tv {

namespace {

struct ButtonSpec
{
    QMessageBox::StandardButton button;
    int result;
};

QList<ButtonSpec> buttonsOf(int style)
{
    switch (style & 7) {
    case vbOKCancel:
        return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {
            {QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel:
        return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default:
        return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 112) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Keeps the application's own pointer out of the way while a dialog waits for the user.
class PointerPause
{
public:
    PointerPause()
    {
        if (QApplication::overrideCursor())
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        m_pushed = QApplication::overrideCursor() != nullptr;
    }
    ~PointerPause()
    {
        if (m_pushed)
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_pushed = false;
};

} // namespace

int QtInteractive::messageBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(iconOf(style), title.isEmpty() ? ApplicationTitle : title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const QList<ButtonSpec> choices = buttonsOf(style);
    for (const ButtonSpec& choice : choices)
        box.addButton(choice.button);
    const int defaultIndex = std::min<int>((style & 768) / 256, int(choices.size()) - 1);
    box.setDefaultButton(choices.at(defaultIndex).button);
    if (choices.size() == 1)
        box.setEscapeButton(choices.first().button);
    else if (box.button(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    PointerPause pause;
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonSpec& choice : choices)
        if (choice.button == clicked)
            return choice.result;
    // Closed without a button: the escape answer, as the platform does.
    return choices.size() == 1 ? choices.first().result
                             : (box.button(QMessageBox::Cancel) ? vbCancel : choices.last().result);
}

InputAnswer QtInteractive::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    PointerPause pause;
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title.isEmpty() ? ApplicationTitle : title,
                              prompt, QLineEdit::Normal, defaultText, &ok);
    return {ok ? text : QString(), ok};
}

QString QtInteractive::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    PointerPause pause;
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
}

QString QtInteractive::openFileNames(const QString& title, const QString& folder, const QString& filter)
{
    PointerPause pause;
    const QStringList files =
        QFileDialog::getOpenFileNames(QApplication::activeWindow(), title, folder, filter);
    if (files.size() <= 1)
        return files.value(0);
    // The dialog chooses in one folder: the folder, then each name, separated by NULs.
    QString answer = QFileInfo(files.first()).absolutePath();
    for (const QString& file : files)
        answer += QChar(0) + QFileInfo(file).fileName();
    return answer;
}

QString QtInteractive::saveFileName(const QString& title, const QString& folder, const QString& filter)
{
    PointerPause pause;
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, folder, filter);
}

QString QtInteractive::existingFolder(const QString& title, const QString& folder)
{
    PointerPause pause;
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, folder);
}

void QtInteractive::beep()
{
    QApplication::beep();
}

void QtInteractive::sendKey(int qtKey)
{
    QWidget* target =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!target)
        return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, qtKey, Qt::NoModifier));
}

void QtInteractive::setPointer(Pointer pointer)
{
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    // The arrow is what every window shows by default; forcing it over the whole application would also
    // hide the text cursor of edit boxes, so only the hourglass overrides.
    if (pointer == Pointer::Hourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

namespace platform {

namespace {
Interactive* g_interactive = nullptr;
const Clock* g_clock = nullptr;
QString g_appFolder;
} // namespace

Interactive& interactive()
{
    static QtInteractive real;
    return g_interactive ? *g_interactive : real;
}

void setInteractive(Interactive* interactive)
{
    g_interactive = interactive;
}

const Clock& clock()
{
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

void setClock(const Clock* clock)
{
    g_clock = clock;
}

QString appFolder()
{
    if (!g_appFolder.isEmpty())
        return g_appFolder;
    return QCoreApplication::applicationDirPath();
}

void setAppFolder(const QString& folder)
{
    g_appFolder = folder;
}

QString databasePath()
{
    return QDir(appFolder()).filePath(QStringLiteral("Pelkin.mdb"));
}

} // namespace platform
} // namespace tv
