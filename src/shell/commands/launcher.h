#pragma once

#include <QString>
#include <QtGlobal>

namespace zav::shell {

/**
 * @brief Opens a document with the program the desktop associates with its kind.
 *
 * When no program can open it, tells the user why (critical icon, OK, the program's title) and
 * returns false; a document the desktop cannot open at all counts as one with no program
 * associated. The document's path travels whole to the program, blanks and all. The main
 * window's `LanciaEseguibileAssociato` is this function.
 */
bool LanciaEseguibileAssociato(const QString &fileName);

/**
 * @brief One item of the system's locale settings, by the platform's locale information type
 * (2 language, 6 country, 12 list separator, 14 decimal separator, 15 thousands separator,
 * 20 currency symbol, 31 short date pattern, 32 long date pattern).
 *
 * The main window's `LocaleInfoGet`; throws std::invalid_argument for any other type.
 */
QString LocaleInfoGet(qint32 type);

} // namespace zav::shell
