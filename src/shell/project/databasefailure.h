#pragma once

#include <QString>

namespace zav::platform {
class DataSource;
}

namespace zav::shell {

/**
 * @brief Reports a failure of the project archive that a window cannot go on from (critical icon,
 * "!!! Zav - Attenzione - !!!").
 */
void reportDatabaseFailure(const QString &what);

/** @brief Re-reads a window's rows; a table that cannot be read is reported and gives false. */
bool showRows(platform::DataSource &source);

} // namespace zav::shell
