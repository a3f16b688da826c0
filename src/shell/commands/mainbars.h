#pragma once

class QMainWindow;

namespace zav::platform {
class CommandBar;
}

namespace zav::shell {

/**
 * @brief Lays out the main window's bands from the command table: the menu bar (band 0), the
 * pull-down menus (1 to 9), the project toolbars (band 10, four child toolbars), the thousandths
 * band (11), and the tools kept only in the tool list.
 */
void buildMainBars(platform::CommandBar &bar, QMainWindow *window);

} // namespace zav::shell
