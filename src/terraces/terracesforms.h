#pragma once

#include <QString>

/**
 * @brief The terrace forms, reached by name through the form registry. The main window's
 * `terrazze` shows the terrace form modal by its name once registerForms() has run.
 */
namespace zav::terraces {

/** @brief Name of the terrace form in the form registry. */
inline const QString TerraceFormName = QStringLiteral("frm_terrazze");
/** @brief Name of the terrace tables dialog in the form registry. */
inline const QString TerraceTablesName = QStringLiteral("TAB_TERR");
/** @brief Name of the copy of the units' rooms in the form registry. */
inline const QString RoomCopyFormName = QStringLiteral("frm_copia_dati");

/**
 * @brief Registers `frm_terrazze`, `TAB_TERR` and `frm_copia_dati`. The terrace form is created only
 * when the open project's terrace archive can be worked; otherwise the user is told what is wrong
 * with it and nothing opens.
 */
void registerForms();

} // namespace zav::terraces
