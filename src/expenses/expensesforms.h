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

/** @brief Name of the expense form in the form registry. */
inline const QString ExpenseFormName = QStringLiteral("frm_ripart_spese");

/** @brief Registers the expense forms by name: `frm_ripart_spese`. */
void registerForms();

/**
 * @brief The main window's `spese` and `RIP_SPESE`, after their open-project test: the expense
 * form, created and loaded on first use (the same form while it stays open), returned for the main
 * window to show modeless as one of its child windows.
 */
QWidget *spese();

/**
 * @brief A project has been opened (or created): an expense form left open loads afresh for it,
 * so that no command mixes two projects. Nothing happens when the form is not loaded.
 */
void projectOpened();

/**
 * @brief Hands over the main window's measures, which the expense form reads when it is resized;
 * nullptr (the default) lets the expense grid take the form's width. The caller keeps ownership.
 */
void setMainWindowMetrics(MainWindowMetrics *metrics);
/** @brief The measures handed over, or nullptr. */
MainWindowMetrics *mainWindowMetrics();

} // namespace zav::expenses
