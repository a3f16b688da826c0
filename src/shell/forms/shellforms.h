#pragma once

#include <QString>

/**
 * @brief The names under which the forms are reached through the form registry.
 *
 * Each folder of forms registers its own forms in one place, under names kept as constants in
 * one header of its own: the shell's are here, registered by registerShellForms(). A folder below
 * the shell follows the same pattern (a header of its form names and a `registerForms()`), and
 * the program's start-up (shell/startup) calls each folder's registration.
 */
namespace zav::shell::FormName {

// The shell's own forms.
inline const QString INIZIO = QStringLiteral("INIZIO");
inline const QString frm_init = QStringLiteral("frm_init");
inline const QString frm_password = QStringLiteral("frm_password");
inline const QString frm_file = QStringLiteral("frm_file");
inline const QString frm_datiprg = QStringLiteral("frm_datiprg");
inline const QString frm_opt = QStringLiteral("frm_opt");
inline const QString frm_virgola = QStringLiteral("frm_virgola");
inline const QString frm_gestdb = QStringLiteral("frm_gestdb");
inline const QString frm_coeff_db = QStringLiteral("frm_coeff_db");

// Forms of the folders below the shell that the main window's commands show by name; each is
// shown once its folder has registered it.
inline const QString frm_comp_pal = QStringLiteral("frm_comp_pal");
inline const QString frm_cod_piani = QStringLiteral("frm_cod_piani");
inline const QString frm_ins_coeff = QStringLiteral("frm_ins_coeff");
inline const QString frm_tabelle = QStringLiteral("frm_tabelle");
inline const QString frm_infissi = QStringLiteral("frm_infissi");
inline const QString frm_rip_spese = QStringLiteral("frm_rip_spese");
inline const QString frm_ripart_spese = QStringLiteral("frm_ripart_spese");
inline const QString frm_terrazze = QStringLiteral("frm_terrazze");

} // namespace zav::shell::FormName

namespace zav::shell {

/**
 * @brief Registers the shell's forms by name: the login, the main window, the password form, the
 * archive dialog with its hooks into the main window, the project header and options, the decimal
 * conversion and the two archive checks. The modal forms and the checks belong to the main window.
 */
void registerShellForms();

} // namespace zav::shell
