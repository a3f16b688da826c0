#include "shell/project/databasefailure.h"

#include "platform/ui/datasource.h"
#include "platform/db.h"
#include "platform/dialogs.h"

namespace zav::shell {

void reportDatabaseFailure(const QString &what)
{
    platform::dialogs().msgBox(what, platform::MsgButtons::Ok, platform::MsgIcon::Critical,
        QStringLiteral("!!! Zav - Attenzione - !!!"));
}

bool showRows(platform::DataSource &source)
{
    try {
        source.refresh();
        return true;
    } catch (const platform::DbError &error) {
        reportDatabaseFailure(error.message());
        return false;
    }
}

} // namespace zav::shell
