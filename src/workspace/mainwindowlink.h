#pragma once

#include <QString>

class QWidget;

namespace zav::platform {
class CommandBar;
}

namespace zav::workspace {

/**
 * @brief What the workspace does to the main window without knowing its class: switching tools
 * of its command bar `Bar_main1` by key, showing and hiding the thousandths band (band 11), and
 * placing a form in its MDI area.
 *
 * The main window is the form registered as `frm_init`; its command bar is found among its
 * children by name, unless one was handed over with setCommandBar(). Without a main window
 * (tests, tools) tools and bands are left alone and forms show as windows of their own.
 */
class MainWindowLink
{
public:
    /** @brief Position of the thousandths band `tBand` in the command bar. */
    static constexpr int ThousandthsBand = 11;

    /** @brief The main window, when it is loaded. */
    static QWidget *mainWindow();
    /** @brief The command bar in use: the one handed over, else the main window's. */
    static platform::CommandBar *commandBar();
    /** @brief Hands over the command bar to use (nullptr: look it up on the main window again). */
    static void setCommandBar(platform::CommandBar *bar);

    static void setToolEnabled(const QString &key, bool enabled);
    static void setThousandthsBandVisible(bool visible);

    /** @brief Shows a form as a maximized child window of the main window's MDI area (once), and
     * brings it to the front. */
    static void showMaximizedChild(QWidget *form);
};

} // namespace zav::workspace
