#pragma once

#include <QString>

class QMdiSubWindow;
class QWidget;

namespace zav::shell {

class UtilityCommands;

/**
 * @brief What the main window offers the recipes of its commands: the status bar, the mouse
 * pointer, its child windows, its utility commands and its end.
 *
 * The recipes act on this interface, not on the main window's class, so that the commands do not
 * depend on the window that holds them.
 */
class CommandHost
{
public:
    /** @brief Mouse pointer values: the hourglass and the normal pointer. */
    static constexpr int Hourglass = 11;
    static constexpr int NormalPointer = 0;

    virtual ~CommandHost() = default;

    /** @brief Writes a status bar panel (1 or 2; panel 2 shows the open project's archive). */
    virtual void setStatusPanelText(int panel, const QString &text) = 0;
    /** @brief The window's mouse pointer: Hourglass or NormalPointer. */
    virtual void setMousePointer(int pointer) = 0;
    /** @brief Makes a form a child window (once) and shows it. */
    virtual QMdiSubWindow *showChild(QWidget *form) = 0;
    /** @brief The commands that reach outside the archives, kept for the window's life. */
    virtual UtilityCommands &utilityCommands() = 0;
    /** @brief `esci`: closes the window and ends the program. */
    virtual void esci() = 0;
};

} // namespace zav::shell
