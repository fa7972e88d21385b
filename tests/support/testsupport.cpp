#include "support/testsupport.h"

#include "database/connection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace tv::test {

ScriptedInteractive::ScriptedInteractive()
{
    platform::setInteractive(this);
}

ScriptedInteractive::~ScriptedInteractive()
{
    platform::setInteractive(nullptr);
}

QList<Asked> ScriptedInteractive::messages() const
{
    QList<Asked> result;
    for (const Asked& a : asked)
        if (a.kind == u"msgbox")
            result.append(a);
    return result;
}

Asked ScriptedInteractive::lastMessage() const
{
    const auto all = messages();
    return all.isEmpty() ? Asked{} : all.last();
}

int ScriptedInteractive::messageBox(const QString& text, int style, const QString& title)
{
    asked.append({QStringLiteral("msgbox"), text, title, style, {}});
    if (!m_hooks.isEmpty())
        m_hooks.dequeue()();
    if (!m_messages.isEmpty())
        return m_messages.dequeue();
    // The default button of the style.
    static const QList<QList<int>> buttons = {
        {vbOK},        {vbOK, vbCancel},   {vbAbort, vbRetry, vbIgnore}, {vbYes, vbNo, vbCancel},
        {vbYes, vbNo}, {vbRetry, vbCancel}};
    const QList<int>& set = buttons.value(style & 7, buttons.first());
    return set.value(std::min<int>((style & 768) / 256, int(set.size()) - 1));
}

InputAnswer ScriptedInteractive::inputBox(const QString& prompt, const QString& title,
                                          const QString& defaultText)
{
    asked.append({QStringLiteral("input"), prompt, title, 0, defaultText});
    return m_inputs.isEmpty() ? InputAnswer{} : m_inputs.dequeue();
}

QString ScriptedInteractive::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    asked.append({QStringLiteral("open"), title, {}, 0, folder + u'|' + filter});
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedInteractive::saveFileName(const QString& title, const QString& folder, const QString& filter)
{
    asked.append({QStringLiteral("save"), title, {}, 0, folder + u'|' + filter});
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedInteractive::existingFolder(const QString& title, const QString& folder)
{
    asked.append({QStringLiteral("folder"), title, {}, 0, folder});
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

void ScriptedInteractive::beep()
{
    asked.append({QStringLiteral("beep"), {}, {}, 0, {}});
}

void ScriptedInteractive::sendKey(int qtKey)
{
    asked.append({QStringLiteral("key"), {}, {}, qtKey, {}});
}

AppFolder::AppFolder(bool withDatabase)
{
    if (withDatabase) {
        const QString target = databasePath();
        if (!QFile::copy(QStringLiteral(TARVENOR_PREPARED_DB), target))
            qFatal("cannot copy the prepared database %s", TARVENOR_PREPARED_DB);
        QFile::setPermissions(target,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
    platform::setAppFolder(m_dir.path());
}

AppFolder::~AppFolder()
{
    platform::setAppFolder(QString());
}

QString AppFolder::databasePath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("Pelkin.mdb"));
}

QList<QVariantList> AppFolder::rows(const QString& sql) const
{
    QString error;
    const auto connection = db::openConnection(databasePath(), QStringLiteral("Test"), &error);
    if (!connection)
        qFatal("%s", qPrintable(error));
    QSqlQuery q(connection->database());
    if (!q.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    QList<QVariantList> result;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row.append(q.value(i));
        result.append(row);
    }
    return result;
}

QVariant AppFolder::scalar(const QString& sql) const
{
    const auto all = rows(sql);
    return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
}

bool AppFolder::exec(const QString& sql) const
{
    rows(sql);
    return true;
}

void whenModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            action(modal);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            qWarning("whenModal: no modal window appeared");
        }
    });
    timer->start();
}

int closeLeftoverWindows()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            ++count;
            w->close();
        }
    }
    QTest::qWait(0);
    return count;
}

} // namespace tv::test
