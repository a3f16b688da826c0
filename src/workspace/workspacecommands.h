#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace zav::workspace {

/** @brief Registers the workspace's forms by name: `frm_ins_coeff`, `frm_elenco`. */
void registerForms();

/**
 * @brief The main window's commands that open and drive the unit workspace: `ins_coeff`,
 * `tVisualizza`, `ric_tot`, `tRicalcola`, `exit_mil`, `tEsciVis`, `elimina_riga`, `tEliminariga`,
 * `trova`, `tTrova`, `copia_piano`, `tCopia`.
 *
 * The main window's dispatcher runs them by key (it refuses `ins_coeff` and `tVisualizza` without
 * an open project); each skips a failing step and goes on, showing only its own messages. The
 * band commands act on the workspace when it is open and do nothing otherwise.
 */
class WorkspaceCommands
{
public:
    using Command = std::pair<QString, std::function<void()>>;

    /** @brief Every command key with its handler. */
    static QList<Command> commands();

    /** @brief `ins_coeff`: opens the workspace on the first unit of the project. */
    static void ins_coeff();
    /** @brief `ric_tot`: recomputes and stores the open unit's totals. */
    static void ric_tot();
    /** @brief `exit_mil`: stores the open unit's totals and closes the workspace. */
    static void exit_mil();
    /** @brief `elimina_riga`: deletes the workspace's current row after a question. */
    static void elimina_riga();
    /** @brief `trova`: stores the open unit's totals, then the unit list modal to find a unit. */
    static void trova();
    /** @brief `copia_piano`: the unit list modal to copy a unit's rooms into the open unit. */
    static void copia_piano();

    /**
     * @brief Stores the open unit's totals when the workspace shows one of the unit's views (what
     * the thousandths calculation and the unit list need first); nothing otherwise.
     */
    static void storeOpenUnitTotals();
};

} // namespace zav::workspace
