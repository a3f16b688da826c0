#pragma once

#include <QString>

namespace zav::shell {

/**
 * @brief Reports a failure of the project archive that a window cannot go on from (critical icon,
 * "!!! Zav - Attenzione - !!!").
 */
void reportDatabaseFailure(const QString &what);

} // namespace zav::shell
