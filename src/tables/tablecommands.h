#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace zav::tables {

/** @brief The names under which the table forms are registered. */
namespace FormNames {
inline constexpr const char *TabCoeff = "frm_tab_coeff";
inline constexpr const char *Infissi = "frm_infissi";
inline constexpr const char *Tabelle = "frm_tabelle";
inline constexpr const char *CopiaMil = "frm_copia_mil";
} // namespace FormNames

/**
 * @brief Registers the table forms with the form registry: `frm_tab_coeff` (a window of its own,
 * owned by the main window when that is loaded), `frm_infissi` (made a child window by whoever
 * shows it), and the user-table forms `frm_tabelle` and `frm_copia_mil` (windows of their own).
 */
void registerForms();

/**
 * @brief The main window's commands `coef1` to `coef8` and their toolbar twins: coefficient table n
 * (1 to 8) of the template archive in `frm_tab_coeff`, shown modeless; no project needed. When the
 * template cannot be used it is told and nothing changes (an open form keeps what it showed).
 * Returns the form shown, nullptr when none.
 */
QWidget *coef(int number);

/**
 * @brief Serves the main window's keys of the table tools: `coef1` to `coef8` and their toolbar
 * twins with `coef`, `arrotonda`, `seleziona_tabella`, `copia_mil`, `calc_mil_tab` and `azzera`
 * (with their toolbar twins), and the workspace button's modeless copy of thousandths.
 */
void registerCommands();

/**
 * @brief `seleziona_tabella`, `tSelTab`: `frm_tabelle` with "Seleziona" shown, modal. With no
 * project open it is refused with "Nessun progetto selezionato".
 */
void seleziona_tabella();

/** @brief How `copia_mil` shows the copy form. */
enum class Show { Modal, Modeless };

/**
 * @brief `copia_mil`, `tCopiaMil` (modal) and the workspace's "Copia Mil. da" (modeless): nothing
 * while no user table is selected; otherwise the workspace's rows are read again and
 * `frm_copia_mil` is shown.
 */
void copia_mil(Show show);

/** @brief The command keys that `coef` serves, menu and toolbar, with the table each opens (1 to 8). */
QList<std::pair<QString, int>> coefCommands();

/**
 * @brief The main window's commands `infissi` and `tInfissi`: `frm_infissi` loaded on the template's
 * window table (created on first use; a form already open keeps the archive it shows). The caller
 * shows it as a child window of the main window. nullptr when the form is not open and the template
 * cannot be used (told).
 */
QWidget *infissi();

/** @brief How the table forms' "Stampa" buttons print; installed by the program. */
struct PrintHandlers
{
    /** The coefficient table of this title ("Tabella Piano" ...) from this archive. */
    std::function<void(const QString &title, const QString &archive)> coefficientTable;
    /** The window table from this archive. */
    std::function<void(const QString &archive)> windowTable;
};

/** @brief Installs the print handlers (forms created afterwards enable their "Stampa"). */
void setPrintHandlers(PrintHandlers handlers);
const PrintHandlers &printHandlers();

} // namespace zav::tables
