#include "platform/form.h"

#include "platform/binding.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHash>

namespace tv {

namespace {
QHash<QString, QPointer<Form>>& registry()
{
    static QHash<QString, QPointer<Form>> forms;
    return forms;
}
} // namespace

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

Form::~Form()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Form::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void Form::showModal()
{
    if (m_modalLoop)
        return;
    QPointer<Form> self(this);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (self) {
        m_modalLoop = nullptr;
        setWindowModality(Qt::NonModal);
    }
}

void Form::showModeless()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

bool Form::unload()
{
    return close();
}

void Form::forceUnload()
{
    m_forced = true;
    close();
}

void Form::saveOnUnload()
{
    for (Binding* binding : findChildren<Binding*>())
        binding->close(true);
}

void Form::closeEvent(QCloseEvent* event)
{
    if (!m_forced) {
        if (!Form_Unload()) {
            event->ignore();
            return;
        }
        saveOnUnload();
    } else {
        for (Binding* binding : findChildren<Binding*>())
            binding->close(false);
    }
    event->accept();
    emit unloaded();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Form::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_modalLoop && !event->spontaneous())
        m_modalLoop->quit();
}

int Form::twipsToPixelsX(int twips) const
{
    return qRound(twips * logicalDpiX() / 1440.0);
}

int Form::twipsToPixelsY(int twips) const
{
    return qRound(twips * logicalDpiY() / 1440.0);
}

int Form::pixelsToTwipsX(int pixels) const
{
    return qRound(pixels * 1440.0 / logicalDpiX());
}

QList<Form*> Forms::all()
{
    QList<Form*> result;
    for (const QPointer<Form>& form : std::as_const(registry()))
        if (form)
            result.append(form);
    return result;
}

void Forms::forceUnloadAll()
{
    for (Form* form : all())
        form->forceUnload();
}

Form* Forms::find(const QString& id)
{
    const auto it = registry().constFind(id);
    if (it == registry().constEnd())
        return nullptr;
    return it.value().data();
}

void Forms::add(const QString& id, Form* form)
{
    registry().insert(id, form);
    // An unloaded window leaves the registry at once, so the next use loads a fresh one even before the old
    // one is deleted.
    const auto forget = [id, form]() {
        auto it = registry().find(id);
        if (it != registry().end() && (it.value().isNull() || it.value().data() == form))
            registry().erase(it);
    };
    QObject::connect(form, &Form::unloaded, forget);
    QObject::connect(form, &QObject::destroyed, forget);
}

} // namespace tv
