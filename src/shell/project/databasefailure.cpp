#include "shell/project/databasefailure.h"

#include "platform/dialogs.h"

namespace zav::shell {

void reportDatabaseFailure(const QString &what)
{
    platform::dialogs().msgBox(what, platform::MsgButtons::Ok, platform::MsgIcon::Critical,
        QStringLiteral("!!! Zav - Attenzione - !!!"));
}

} // namespace zav::shell
