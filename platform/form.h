#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <typeinfo>

class QEventLoop;

namespace tv {

// A window of the program. Loaded, shown, hidden and unloaded are different states: hiding keeps the window
// and its state, unloading (closing) destroys it so that the next use starts fresh. Form_Load runs once when
// the window is loaded; Form_Unload runs when it is closed and may refuse.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // Shows the window modally: returns only when the window has been hidden or closed.
    void showModal();
    bool isShownModal() const { return m_modalLoop != nullptr; }
    // Shows the window without waiting, bringing it to the front if it is already shown.
    void showModeless();
    // Closes the window through its unload checks; false when Form_Unload refused.
    bool unload();
    // Closes the window without its checks and without saving (the main window ending the program).
    void forceUnload();

    // Runs Form_Load once; called by the registry right after construction.
    void load();

    // Milliseconds to twips and back go through the screen's logical resolution.
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;
    int pixelsToTwipsX(int pixels) const;

signals:
    void unloaded();

protected:
    virtual void Form_Load() {}
    // Return false to keep the window open.
    virtual bool Form_Unload() { return true; }
    // Called after Form_Unload agreed (and not on a forced unload): save bound rows.
    virtual void saveOnUnload();

    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QEventLoop* m_modalLoop = nullptr;
    bool m_loaded = false;
    bool m_forced = false;
};

// One instance per window class (or per class and parameter, for twin windows), created on first use.
class Forms
{
public:
    template <class T, class... Args> static T* load(Args&&... args)
    {
        return loadKeyed<T>(QString(), std::forward<Args>(args)...);
    }

    // For twin windows: one instance per key.
    template <class T, class... Args> static T* loadKeyed(const QString& key, Args&&... args)
    {
        const QString id = QString::fromLatin1(typeid(T).name()) + u'#' + key;
        if (Form* existing = find(id))
            return static_cast<T*>(existing);
        T* form = new T(std::forward<Args>(args)...);
        add(id, form);
        form->load();
        return form;
    }

    template <class T> static T* loaded(const QString& key = {})
    {
        return static_cast<T*>(find(QString::fromLatin1(typeid(T).name()) + u'#' + key));
    }

    template <class T> static bool isLoaded(const QString& key = {}) { return loaded<T>(key) != nullptr; }

    // Every loaded window, for ending the program.
    static QList<Form*> all();
    static void forceUnloadAll();

private:
    static Form* find(const QString& id);
    static void add(const QString& id, Form* form);
};

} // namespace tv
