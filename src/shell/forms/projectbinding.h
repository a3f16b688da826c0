#pragma once

#include "platform/ui/boundform.h"

#include <QString>

namespace zav::shell {

/**
 * @brief The binding of a shell form to a table of the open project: the archive that
 * `progetto_corrente` names when the form loads (none when no project is open, which the load
 * reports), the whole table in stored order, failures reported as the archive's failures.
 */
platform::FormBinding projectBinding(const QString &table);

} // namespace zav::shell
