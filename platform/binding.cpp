#include "platform/binding.h"

#include "platform/interactive.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

namespace tv {

namespace {
const char* const PictureProperty = "tvPictureBytes";
}

Binding::Binding(QObject* parent, const QString& name) : QObject(parent)
{
    setObjectName(name);
}

Binding::~Binding()
{
    for (const auto& c : std::as_const(m_signals))
        disconnect(c);
}

QString Binding::ownerName() const
{
    const QWidget* window = nullptr;
    for (QObject* p = parent(); p && !window; p = p->parent())
        if (auto* w = qobject_cast<QWidget*>(p))
            window = w->window();
    const QString title = window ? window->windowTitle() : QString();
    return (title.isEmpty() && window ? QString::fromLatin1(window->metaObject()->className()) : title) +
           u'.' + objectName();
}

void Binding::reportError(const QString& message)
{
    msgBox(message, vbCritical);
}

bool Binding::check(bool ok, const QString& error)
{
    if (!ok)
        reportError(error);
    return ok;
}

bool Binding::open()
{
    close(true);
    QString error;
    m_connection = db::openConnection(m_databaseName, ownerName(), &error);
    if (!m_connection)
        return check(false, error);
    auto recordset = db::RecordSet::open(m_connection, m_recordSource, &error);
    if (!recordset) {
        m_connection.reset();
        return check(false, error);
    }
    setRecordset(recordset);
    return true;
}

void Binding::close(bool save)
{
    if (m_recordset && save) {
        collectControls();
        if (m_recordset->isDirty()) {
            QString error;
            check(m_recordset->update(&error), error);
        }
    }
    for (const auto& c : std::as_const(m_signals))
        disconnect(c);
    m_signals.clear();
    m_recordset.reset();
    m_connection.reset();
}

void Binding::setRecordset(db::RecordSetPtr recordset)
{
    for (const auto& c : std::as_const(m_signals))
        disconnect(c);
    m_signals.clear();
    m_recordset = std::move(recordset);
    if (m_recordset) {
        m_signals.append(
            connect(m_recordset.get(), &db::RecordSet::aboutToSave, this, &Binding::collectControls));
        m_signals.append(connect(m_recordset.get(), &db::RecordSet::currentChanged, this, [this]() {
            showCurrent();
            emit reposition();
        }));
    }
    showCurrent();
    emit reposition();
}

void Binding::bind(QWidget* control, const QString& field)
{
    m_bound.append({control, field, {}, false});
    if (m_recordset)
        showCurrent();
}

void Binding::bindPicture(QLabel* label, const QString& field)
{
    m_bound.append({label, field, {}, true});
    if (m_recordset)
        showCurrent();
}

void Binding::setPicture(QLabel* label, const QByteArray& bytes)
{
    label->setProperty(PictureProperty, bytes);
    QImage image;
    if (!bytes.isEmpty() && image.loadFromData(bytes))
        label->setPixmap(QPixmap::fromImage(image));
    else
        label->setPixmap(QPixmap());
}

QByteArray Binding::pictureBytes(const QLabel* label)
{
    return label->property(PictureProperty).toByteArray();
}

QString Binding::displayText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::Double) {
        // Enough decimals for finance factors; money is stored to four and reads the same.
        QString text = QString::number(value.toDouble(), 'f', 10);
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
        return text == u"-0" ? QStringLiteral("0") : text;
    }
    return value.toString();
}

void Binding::showCurrent()
{
    const bool has = m_recordset && m_recordset->hasCurrent();
    for (Bound& b : m_bound) {
        if (!b.control)
            continue;
        const QVariant v = has ? m_recordset->value(b.field) : QVariant();
        if (b.picture) {
            auto* label = static_cast<QLabel*>(b.control.data());
            setPicture(label, v.toByteArray());
            b.shown = v.toByteArray();
            continue;
        }
        const QString text = displayText(v);
        if (auto* e = qobject_cast<QLineEdit*>(b.control)) {
            e->setText(text);
            b.shown = e->text();
        } else if (auto* e = qobject_cast<QPlainTextEdit*>(b.control)) {
            e->setPlainText(text);
            b.shown = e->toPlainText();
        } else if (auto* e = qobject_cast<QTextEdit*>(b.control)) {
            e->setPlainText(text);
            b.shown = e->toPlainText();
        } else if (auto* c = qobject_cast<QComboBox*>(b.control)) {
            if (c->isEditable())
                c->setEditText(text);
            else
                c->setCurrentIndex(c->findText(text));
            b.shown = c->currentText();
        } else if (auto* c = qobject_cast<QAbstractButton*>(b.control)) {
            c->setChecked(v.toDouble() != 0 || v.toString().compare(u"true", Qt::CaseInsensitive) == 0);
            b.shown = c->isChecked();
        } else if (auto* s = qobject_cast<QSpinBox*>(b.control)) {
            s->setValue(v.toInt());
            b.shown = s->value();
        } else if (auto* l = qobject_cast<QLabel*>(b.control)) {
            l->setText(text);
            b.shown = text;
        }
    }
}

QVariant Binding::controlValue(const Bound& b) const
{
    if (b.picture)
        return pictureBytes(static_cast<QLabel*>(b.control.data()));
    if (auto* e = qobject_cast<QLineEdit*>(b.control))
        return e->text();
    if (auto* e = qobject_cast<QPlainTextEdit*>(b.control))
        return e->toPlainText();
    if (auto* e = qobject_cast<QTextEdit*>(b.control))
        return e->toPlainText();
    if (auto* c = qobject_cast<QComboBox*>(b.control))
        return c->currentText();
    if (auto* c = qobject_cast<QAbstractButton*>(b.control))
        return c->isChecked();
    if (auto* s = qobject_cast<QSpinBox*>(b.control))
        return s->value();
    return b.shown; // labels are read-only
}

void Binding::collectControls()
{
    if (!m_recordset || !m_recordset->hasCurrent())
        return;
    for (Bound& b : m_bound) {
        if (!b.control)
            continue;
        const QVariant now = controlValue(b);
        if (now == b.shown)
            continue;
        if (m_recordset->setValue(b.field, now))
            b.shown = now;
    }
}

bool Binding::moveFirst()
{
    QString error;
    return m_recordset && check(m_recordset->moveFirst(&error), error);
}

bool Binding::moveLast()
{
    QString error;
    return m_recordset && check(m_recordset->moveLast(&error), error);
}

bool Binding::moveNext()
{
    QString error;
    return m_recordset && check(m_recordset->moveNext(&error), error);
}

bool Binding::movePrevious()
{
    QString error;
    return m_recordset && check(m_recordset->movePrevious(&error), error);
}

bool Binding::moveTo(int row)
{
    QString error;
    return m_recordset && check(m_recordset->moveTo(row, &error), error);
}

bool Binding::addNew()
{
    QString error;
    return m_recordset && check(m_recordset->addNew(&error), error);
}

bool Binding::updateRecord()
{
    if (!m_recordset)
        return false;
    collectControls();
    QString error;
    return check(m_recordset->update(&error), error);
}

bool Binding::refresh()
{
    if (!m_recordset)
        return open();
    QString error;
    return check(m_recordset->requery(&error), error);
}

bool Binding::deleteCurrent()
{
    QString error;
    return m_recordset && check(m_recordset->deleteCurrent(&error), error);
}

void Binding::cancelUpdate()
{
    if (m_recordset)
        m_recordset->cancelUpdate();
}

QVariant Binding::value(const QString& field) const
{
    return m_recordset ? m_recordset->value(field) : QVariant();
}

bool Binding::setValue(const QString& field, const QVariant& value)
{
    if (!m_recordset)
        return false;
    collectControls();
    const bool ok = m_recordset->setValue(field, value);
    if (ok)
        showCurrent();
    return ok;
}

} // namespace tv
