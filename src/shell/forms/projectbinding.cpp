#include "shell/forms/projectbinding.h"

#include "engine/var_gbl.h"
#include "shell/project/databasefailure.h"

namespace zav::shell {

platform::FormBinding projectBinding(const QString &table)
{
    return platform::FormBinding {
        .database = [] { return engine::VAR_GBL.progetto_corrente.value_or(QString()); },
        .recordSource = platform::TableQuery { table, {}, {} },
        .reportFailure = reportDatabaseFailure,
    };
}

} // namespace zav::shell
