#pragma once

#include <QString>

namespace zav::platform {
class DbError;
}

namespace zav::engine {

/**
 * @brief A database failure said in Italian for the user: what is wrong (the archive is read-only,
 * is not an archive, lacks a table or a field, the disk is full ...) on the first line, and the
 * database's own text on a second line when it has one.
 */
QString databaseFailureText(const QString &databaseText);
QString databaseFailureText(const platform::DbError &error);
/**
 * @brief A failure of a command that changed nothing, said as databaseFailureText() does; on a
 * full disk, the disk-full message saying what was left as it was (`unchanged`).
 */
QString databaseFailureText(const platform::DbError &error, const QString &unchanged);

/**
 * @brief Reports a failure of the project archive that a window cannot go on from (critical icon,
 * "!!! Zav - Attenzione - !!!"), said in Italian as databaseFailureText() does.
 */
void reportDatabaseFailure(const QString &databaseText);
/** @brief Reports a failure of the project archive as reportDatabaseFailure() does. */
void reportDatabaseError(const platform::DbError &error);

} // namespace zav::engine
