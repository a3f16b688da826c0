#pragma once

namespace zav::shell {

class CommandHost;

/**
 * @brief The recipes of the main window's commands that create and close projects and check a
 * project before its registers are shown, and the thousandths calculation.
 *
 * The dispatcher refuses the project commands while no project is open; each recipe here skips
 * a failing step without a message and goes on, showing only its own checks' messages. Forms of
 * other subsystems (buildings, unit register) are reached by name and shown when they are known.
 */
class ProjectCommands
{
public:
    /** @brief `nuovo`: the archive dialog with its new-project fields shown. */
    static void nuovo();
    /** @brief `chiudi`: closes the project's forms, then the project. */
    static void chiudi(CommandHost &host);
    /** @brief `comp_pal`: the buildings form once the project has its header record. */
    static void comp_pal();
    /** @brief `cod_piani`: the unit register once the buildings are composed. */
    static void cod_piani(CommandHost &host);
    /** @brief `calc_mil`: the thousandths calculation under the hourglass. */
    static void calc_mil(CommandHost &host);
};

} // namespace zav::shell
