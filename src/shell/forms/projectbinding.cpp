#include "shell/forms/projectbinding.h"

#include "engine/databasefailure.h"
#include "engine/var_gbl.h"

namespace zav::shell {

platform::FormBinding projectBinding(const QString &table)
{
    return platform::FormBinding {
        .database = [] { return engine::VAR_GBL.progetto_corrente.value_or(QString()); },
        .recordSource = platform::TableQuery { table, {}, {} },
        .reportFailure = engine::reportDatabaseFailure,
    };
}

} // namespace zav::shell
