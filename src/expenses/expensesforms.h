#pragma once

#include <QString>

class QWidget;

/**
 * @brief The expense apportionment's forms, reached by name through the form registry.
 *
 * Closing the project (`chiudi`) needs nothing of this folder: an expense form left open stays
 * open on the archive it shows, and its "Crea Tabella" answers "Nessun progetto selezionato" by
 * itself while no project is open.
 */
namespace zav::expenses {

class MainWindowMetrics;
class MainWindowMenu;

/** @brief Name of the expense form in the form registry. */
inline const QString ExpenseFormName = QStringLiteral("frm_ripart_spese");
/** @brief Name of the summary table of the thousandths in the form registry. */
inline const QString SummaryFormName = QStringLiteral("frm_rip_spese");
/** @brief Name of the cost estimate form in the form registry. */
inline const QString EstimateFormName = QStringLiteral("frm_new_mod");
/** @brief Name of the various apportionments form in the form registry. */
inline const QString VariousFormName = QStringLiteral("frm_rip_spese_varie");

/**
 * @brief Registers the expense forms by name (`frm_ripart_spese`, `frm_rip_spese`, `frm_new_mod`,
 * `frm_rip_spese_varie`).
 */
void registerForms();

/**
 * @brief "Seleziona" of the main window's pop-up menu: gathers the merge sums from the rows
 * selected in the summary table. Nothing happens while the summary table is not loaded.
 */
void sel_Click();
/**
 * @brief "Accorpa" of the main window's pop-up menu: adds the merge sums into the summary
 * table's current row. Nothing happens while the summary table is not loaded.
 */
void accorpa_Click();

/**
 * @brief The main window's `spese` and `RIP_SPESE`, after their open-project test: the expense
 * form, created and loaded on first use (the same form while it stays open), returned for the main
 * window to show modeless as one of its child windows.
 */
QWidget *spese();

/**
 * @brief A project has been opened (or created): an expense form or summary table left open loads
 * afresh for it, so that no command mixes two projects. Nothing happens for a form not loaded.
 */
void projectOpened();

/**
 * @brief Hands over the main window's measures, which the expense form reads when it is resized;
 * nullptr (the default) lets the expense grid take the form's width. The caller keeps ownership.
 */
void setMainWindowMetrics(MainWindowMetrics *metrics);
/** @brief The measures handed over, or nullptr. */
MainWindowMetrics *mainWindowMetrics();

/**
 * @brief Hands over the main window's pop-up menu, which the summary table pops up; nullptr (the
 * default) leaves the right button without a menu. The caller keeps ownership.
 */
void setMainWindowMenu(MainWindowMenu *menu);
/** @brief The pop-up menu handed over, or nullptr. */
MainWindowMenu *mainWindowMenu();

} // namespace zav::expenses
