#pragma once

#include <QString>

class QWidget;

/** @brief The printing subsystem's forms, reached by name through the form registry. */
namespace zav::printing {

/** @brief Name of the print form in the form registry. */
inline const QString PrintFormName = QStringLiteral("ST_MIL");

/** @brief Registers the printing forms by name: `ST_MIL`. */
void registerForms();

/**
 * @brief The main window's `stampa_mil` and `tStampa` (after their open-project test): the print
 * form, created and loaded on first use, returned for the main window to show modeless as one of
 * its child windows. Nothing is handed over.
 */
QWidget *stampa_mil();

} // namespace zav::printing
