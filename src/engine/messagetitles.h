#pragma once

#include <QString>

/**
 * @brief The titles of the message boxes that several parts of the program share, as the user
 * reads them. A title used by one box only stays beside that box; the box with the program's own
 * name as its title uses platform::programTitle().
 */
namespace zav::engine::MessageTitle {

/** @brief "!!! Zav - Attenzione - !!!", the commonest title of a warning. */
inline const QString ZavWarning = QStringLiteral("!!! Zav - Attenzione - !!!");
/** @brief "!!! Zav - Attenzione !!!": as ZavWarning, without the dash before the closing marks. */
inline const QString ZavWarningNoDash = QStringLiteral("!!! Zav - Attenzione !!!");
/** @brief "!!! Zav - Informazioni - !!!". */
inline const QString ZavInformation = QStringLiteral("!!! Zav - Informazioni - !!!");
/** @brief "!!! Attenzione !!!". */
inline const QString Warning = QStringLiteral("!!! Attenzione !!!");
/** @brief "!!! Informazioni !!!". */
inline const QString Information = QStringLiteral("!!! Informazioni !!!");
/** @brief "!!! Arrotondamento !!!", the boxes of the rounding to totals. */
inline const QString Rounding = QStringLiteral("!!! Arrotondamento !!!");
/** @brief "!!! Elimina Riga !!!", the question before a row is deleted. */
inline const QString DeleteRow = QStringLiteral("!!! Elimina Riga !!!");
/** @brief "!!! Ripartizione !!!", the boxes of the expense apportionment. */
inline const QString Apportionment = QStringLiteral("!!! Ripartizione !!!");
/** @brief "!!! Elinima Tabella !!!" (spelt so), the question before a user table is deleted. */
inline const QString DeleteTable = QStringLiteral("!!! Elinima Tabella !!!");

} // namespace zav::engine::MessageTitle
