#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace zav::shell {

class frm_init;

/**
 * @brief The main window's commands that open, create, close and check projects, show the project
 * forms and run the engine: `apri`, `tApri`, `elimina`, `tElimina`, `nuovo`, `tNuovo`, `chiudi`,
 * `dati_prg`, `tDatiGen`, `comp_pal`, `tCompPal`, `cod_piani`, `tCodPiani`, `option`, `tOpzioni`,
 * `cod_piani_db`, `sup_vol`, `conv_dati`, `calc_mil`, `tCalcMil`, `tCalcolaMil`, `ricalcolo`,
 * `tRicalcolo`.
 *
 * The dispatcher refuses the project commands while no project is open; each command here skips
 * a failing step without a message and goes on, showing only its own checks' messages. Forms of
 * other subsystems (archive dialog, buildings, unit register) are reached by name and shown when
 * they are known.
 */
class ProjectCommands
{
public:
    using Command = std::pair<QString, std::function<void()>>;

    /** @brief Registers by name the forms these commands show: `frm_datiprg`, `frm_opt`,
     * `frm_virgola`, `frm_gestdb`, `frm_coeff_db`, and the archive dialog `frm_file` with its hooks
     * into the main window's status bar, the project header and the decimal conversion. */
    static void registerForms();

    /** @brief Every command key with its handler, acting on this main window. */
    static QList<Command> commands(frm_init &window);

    /** @brief `chiudi`: closes the project's forms, then the project. */
    static void chiudi(frm_init &window);
    /** @brief `comp_pal`: the buildings form once the project has its header record. */
    static void comp_pal();
    /** @brief `cod_piani`: the unit register once the buildings are composed. */
    static void cod_piani(frm_init &window);
    /** @brief `calc_mil`: the thousandths calculation under the hourglass. */
    static void calc_mil(frm_init &window);
};

} // namespace zav::shell
