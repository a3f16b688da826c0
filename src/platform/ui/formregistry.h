#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace zav::platform {

/**
 * @brief The program's forms, each created on first use and reached by name from anywhere.
 *
 * A subsystem registers a factory under the form's name; `form()` creates the form the first time
 * and returns the same one until it is unloaded. A form is unloaded when it closes (forms carry
 * Qt::WA_DeleteOnClose), so the next `form()` creates a fresh one, as a form that is loaded again.
 *
 * Modal forms are shown through `showModal()`, which blocks until the form goes away: closed,
 * hidden, deleted, or its window taken away by the window system. Tests install a modal driver
 * instead: the form is shown and handed to the driver, which works its controls and closes it (or
 * leaves it open to look at it), and `showModal()` then returns.
 *
 * Windows shown through the registry open wholly on screen, centred on the main window (named
 * once at start with `setMainWindow()`), and stay in front of it.
 */
class FormRegistry
{
public:
    using Factory = std::function<QWidget *()>;
    using ModalDriver = std::function<void(QWidget *form)>;

    /** @brief Registers (or replaces) how the form of this name is created. */
    static void setFactory(const QString &name, Factory factory);
    static bool hasFactory(const QString &name);

    /** @brief The form of this name, created and loaded on first use; nullptr when none is known. */
    static QWidget *form(const QString &name);
    template<class T> static T *form(const QString &name) { return qobject_cast<T *>(form(name)); }

    /** @brief The form when it is loaded, else nullptr; never creates it. */
    static QWidget *loaded(const QString &name);
    template<class T> static T *loaded(const QString &name) { return qobject_cast<T *>(loaded(name)); }
    static bool isLoaded(const QString &name) { return loaded(name) != nullptr; }

    /** @brief Closes the form when it is loaded (its close handling runs); nothing otherwise. */
    static void unload(const QString &name);

    /**
     * @brief Shows a form modal and returns when it has gone (or the modal driver is done): closed,
     * hidden by the program, deleted, or its window destroyed from outside the program. A form
     * minimised by the user stays modal.
     */
    static void showModal(QWidget *form);
    /** @brief Creates the form of this name on first use and shows it modal. */
    static void showModal(const QString &name);
    /** @brief Shows the form of this name modeless, created on first use; returns it. */
    static QWidget *showModeless(const QString &name);

    /**
     * @brief Names the program's main window. Every other window shown through the registry becomes
     * its transient child (in front of it) and opens centred on it. Empty: no main window.
     */
    static void setMainWindow(const QString &name);
    /** @brief The main window when it is loaded; nullptr otherwise. */
    static QWidget *mainWindow();
    /**
     * @brief Places a window that is about to be shown: a window without an owner is given the main
     * window as owner, a plain window becomes a dialog-like window that stays in front of its owner,
     * and it is moved to the centre of the main window (of the screen without one), cut down to the
     * screen when larger and moved wholly onto it. A window already on screen, a child widget (an
     * MDI child is placed by its area) and the main window itself are left alone.
     */
    static void placeWindow(QWidget *form);

    /** @brief Installs the driver of modal forms (tests); an empty function restores the real loop. */
    static void setModalDriver(ModalDriver driver);
};

/**
 * @brief Closes this window when its native window is destroyed from outside the program (a window
 * manager's "destroy" on X11); a window that refuses to close is hidden. A window minimised, rolled
 * up or on another desktop is left alone. Modal forms shown by the registry have it already;
 * message boxes and dialogs run with exec() need it so that their loop ends.
 */
void closeWhenTakenAway(QWidget *window);

/** @brief Gives every window of the program closeWhenTakenAway() as it is first shown (once, at start). */
void closeWindowsWhenTakenAway();

/** @brief RAII: a modal driver for the lifetime of the scope (tests). */
class ModalDriverScope
{
public:
    explicit ModalDriverScope(FormRegistry::ModalDriver driver);
    ~ModalDriverScope();
    ModalDriverScope(const ModalDriverScope &) = delete;
    ModalDriverScope &operator=(const ModalDriverScope &) = delete;
};

} // namespace zav::platform
