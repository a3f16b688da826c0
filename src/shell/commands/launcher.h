#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

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

/** @brief The text told when no program opened a document, given the document's path. */
using NoProgramText = std::function<QString(const QString &fileName)>;

/**
 * @brief As LanciaEseguibileAssociato(), with a text of the caller's own for the case where no
 * program opens the document: none is associated with it, the desktop cannot open it, or its opener
 * ends in failure after it started (told then, once). Without `noProgram` the text is the
 * launcher's own "Errore: Nessun eseguibile associato al file ...".
 */
bool openAssociated(const QString &fileName, const NoProgramText &noProgram);

/**
 * @brief One item of the system's locale settings, by the platform's locale information type
 * (2 language, 6 country, 12 list separator, 14 decimal separator, 15 thousands separator,
 * 20 currency symbol, 31 short date pattern, 32 long date pattern).
 *
 * The main window's `LocaleInfoGet`; throws std::invalid_argument for any other type.
 */
QString LocaleInfoGet(qint32 type);

} // namespace zav::shell
