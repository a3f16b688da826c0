#include "platform/ui/formregistry.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdlib>

#ifdef ZAV_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace zav::platform {

namespace {

// How long after a window is no longer exposed the window system is asked whether it still has it.
constexpr int TakenAwayDelayMs = 100;
const QString WatcherName = QStringLiteral("zav_takenAwayWatcher");

struct Registry
{
    QHash<QString, FormRegistry::Factory> factories;
    QHash<QString, QPointer<QWidget>> forms;
    FormRegistry::ModalDriver driver;
    QString mainWindow;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

// A closed form loses Qt::WA_DeleteOnClose when Qt schedules its deletion: from then on it
// counts as unloaded, even before the deletion has happened.
bool isLive(const QPointer<QWidget> &form)
{
    return form && form->testAttribute(Qt::WA_DeleteOnClose);
}

/** Ends the local loop of a modal form when the form hides (not when it is minimised) or goes. */
class ModalWatcher : public QObject
{
public:
    ModalWatcher(QWidget *form, QEventLoop *loop)
        : QObject(form)
        , m_loop(loop)
    {
        form->installEventFilter(this);
        connect(form, &QObject::destroyed, loop, &QEventLoop::quit);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_loop->quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop *m_loop;
};

// The screen area a window is placed on: the available area of the main window's screen, or of
// the form's own screen without one.
QRect screenArea(const QWidget *anchor)
{
    QScreen *screen = anchor ? anchor->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Frame margins of a window on screen (zero before it is shown and where the platform has none).
QMargins frameMargins(const QWidget *window)
{
    if (!window || !window->isVisible())
        return {};
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return { inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
        frame.bottom() - inner.bottom() };
}

// Whether the window system still has this native window. Only on X11 can another program
// destroy a window of ours (a window manager's "destroy", xdotool windowclose); there the server is
// asked. Elsewhere a window goes only through a close request, which Qt handles.
bool nativeWindowExists(const QWindow *window)
{
#ifdef ZAV_HAVE_XCB
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return true;
    xcb_connection_t *connection = x11->connection();
    xcb_generic_error_t *error = nullptr;
    const auto cookie = xcb_get_window_attributes(connection, xcb_window_t(window->winId()));
    std::free(xcb_get_window_attributes_reply(connection, cookie, &error));
    const bool gone = error && error->error_code == XCB_WINDOW;
    std::free(error);
    return !gone;
#else
    Q_UNUSED(window);
    return true;
#endif
}

/**
 * Closes a window whose native window has been destroyed from outside the program: Qt then sees
 * only that the window is no longer exposed, while the widget still counts as shown (and, when
 * modal, keeps every other window blocked). A window that is minimised, rolled up or on another
 * desktop is unexposed too, but its native window is still there.
 */
class TakenAwayWatcher : public QObject
{
public:
    explicit TakenAwayWatcher(QWidget *window)
        : QObject(window)
        , m_widget(window)
    {
        setObjectName(WatcherName);
        m_check.setSingleShot(true);
        m_check.setInterval(TakenAwayDelayMs);
        connect(&m_check, &QTimer::timeout, this, &TakenAwayWatcher::check);
        window->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget) {
            if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
                follow();
        } else if (watched == m_window && event->type() == QEvent::Expose && event->spontaneous()) {
            // Qt updates the window's exposure right after this event: look a little later.
            m_check.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void follow()
    {
        QWindow *window = m_widget ? m_widget->windowHandle() : nullptr;
        if (window && window != m_window) {
            m_window = window;
            window->installEventFilter(this);
        }
    }

    void check()
    {
        if (!m_widget || !m_window || !m_widget->isVisible() || m_window->isExposed()
            || nativeWindowExists(m_window))
            return;
        qWarning("The window \"%s\" was destroyed from outside the program: it is closed",
            qPrintable(m_widget->windowTitle()));
        const QPointer<QWidget> widget = m_widget;
        widget->close();
        // A form that refuses to close has nothing left on screen to answer with.
        if (widget && widget->isVisible())
            widget->hide();
    }

    QPointer<QWidget> m_widget;
    QPointer<QWindow> m_window;
    QTimer m_check;
};

// Gives every window of the program, as it is shown, its watcher.
class WindowsWatcher : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip)
                closeWhenTakenAway(widget);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void closeWhenTakenAway(QWidget *window)
{
    if (!window || window->findChild<QObject *>(WatcherName, Qt::FindDirectChildrenOnly))
        return;
    new TakenAwayWatcher(window);
}

void closeWindowsWhenTakenAway()
{
    static WindowsWatcher *watcher = nullptr;
    if (watcher || !qApp)
        return;
    watcher = new WindowsWatcher;
    watcher->setParent(qApp);
    qApp->installEventFilter(watcher);
}

void FormRegistry::setFactory(const QString &name, Factory factory)
{
    registry().factories.insert(name, std::move(factory));
}

bool FormRegistry::hasFactory(const QString &name)
{
    return registry().factories.contains(name);
}

QWidget *FormRegistry::form(const QString &name)
{
    Registry &r = registry();
    if (QWidget *existing = loaded(name))
        return existing;
    const auto factory = r.factories.constFind(name);
    if (factory == r.factories.constEnd() || !*factory)
        return nullptr;
    QWidget *created = (*factory)();
    if (!created)
        return nullptr;
    if (created->objectName().isEmpty())
        created->setObjectName(name);
    created->setAttribute(Qt::WA_DeleteOnClose);
    r.forms.insert(name, created);
    return created;
}

QWidget *FormRegistry::loaded(const QString &name)
{
    Registry &r = registry();
    const auto it = r.forms.constFind(name);
    if (it == r.forms.constEnd())
        return nullptr;
    if (!isLive(*it)) {
        r.forms.remove(name);
        return nullptr;
    }
    return it->data();
}

void FormRegistry::unload(const QString &name)
{
    if (QWidget *form = loaded(name))
        form->close();
}

void FormRegistry::showModal(QWidget *form)
{
    if (!form)
        return;
    QPointer<QWidget> guard(form);
    placeWindow(form);
    form->setWindowModality(Qt::ApplicationModal);
    if (registry().driver) {
        form->show();
        registry().driver(form);
        return;
    }
    // A local loop instead of QDialog::exec(), so that plain widgets and dialogs are shown the
    // same way and a dialog keeps its deletion on close while it is up.
    QEventLoop loop;
    auto *watcher = new ModalWatcher(form, &loop);
    closeWhenTakenAway(form);
    form->show();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        delete watcher;
}

void FormRegistry::showModal(const QString &name)
{
    showModal(form(name));
}

QWidget *FormRegistry::showModeless(const QString &name)
{
    QWidget *shown = form(name);
    if (shown) {
        placeWindow(shown);
        shown->show();
        shown->raise();
        shown->activateWindow();
    }
    return shown;
}

void FormRegistry::setMainWindow(const QString &name)
{
    registry().mainWindow = name;
}

QWidget *FormRegistry::mainWindow()
{
    const QString &name = registry().mainWindow;
    return name.isEmpty() ? nullptr : loaded(name);
}

void FormRegistry::placeWindow(QWidget *form)
{
    if (!form || !form->isWindow() || form->isVisible())
        return;
    QWidget *main = mainWindow();
    if (form == main)
        return;

    if (main) {
        // Owned by the main window, so that the window system keeps it in front of it; a plain
        // window becomes a dialog-like one for that (with its title bar buttons kept).
        Qt::WindowFlags flags = form->windowFlags();
        if ((flags & Qt::WindowType_Mask) == Qt::Window) {
            flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
            if (!flags.testFlag(Qt::CustomizeWindowHint))
                flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                    | Qt::WindowCloseButtonHint;
        }
        if (!form->parentWidget())
            form->setParent(main, flags);
        else if (flags != form->windowFlags())
            form->setWindowFlags(flags);
    }

    const QRect area = screenArea(main ? main : form);
    if (!area.isValid())
        return;
    // The form's frame is not known before it is shown: the main window's stands for it.
    const QMargins frame = frameMargins(main);
    if (!form->testAttribute(Qt::WA_Resized))
        form->adjustSize();
    const QSize room = area.size().shrunkBy(frame);
    if (form->width() > room.width() || form->height() > room.height())
        form->resize(form->size().boundedTo(room));

    QRect outer(QPoint(), form->size().grownBy(frame));
    outer.moveCenter(main ? main->frameGeometry().center() : area.center());
    if (outer.right() > area.right())
        outer.moveRight(area.right());
    if (outer.bottom() > area.bottom())
        outer.moveBottom(area.bottom());
    if (outer.left() < area.left())
        outer.moveLeft(area.left());
    if (outer.top() < area.top())
        outer.moveTop(area.top());
    form->move(outer.topLeft());
}

void FormRegistry::setModalDriver(ModalDriver driver)
{
    registry().driver = std::move(driver);
}

ModalDriverScope::ModalDriverScope(FormRegistry::ModalDriver driver)
{
    FormRegistry::setModalDriver(std::move(driver));
}

ModalDriverScope::~ModalDriverScope()
{
    FormRegistry::setModalDriver({});
}

} // namespace zav::platform
