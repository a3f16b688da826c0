#include "shell/startup.h"

#include "platform/dialogs.h"
#include "platform/formregistry.h"
#include "platform/programend.h"
#include "shell/frm_init.h"
#include "shell/frm_password.h"
#include "shell/inizio.h"

#include <QApplication>
#include <QIcon>

namespace zav::shell {

using platform::FormRegistry;

void registerForms()
{
    FormRegistry::setFactory(QStringLiteral("INIZIO"), [] { return new INIZIO; });
    FormRegistry::setFactory(QStringLiteral("frm_init"), [] { return new frm_init; });
    FormRegistry::setFactory(QStringLiteral("frm_password"),
        [] { return new frm_password(FormRegistry::loaded(QStringLiteral("frm_init"))); });
}

void installIconTheme()
{
    // Toolbar icons come from the desktop's theme; where the desktop names none, a common one.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

int runProgram(QApplication &app)
{
    // The real boxes and the real end of the program.
    platform::setDialogs(nullptr);
    platform::setEndProgramHook({});
    installIconTheme();
    registerForms();
    FormRegistry::showModeless(QStringLiteral("INIZIO"));
    return app.exec();
}

} // namespace zav::shell
