#include "shell/startup.h"

#include "engine/ui/attesaprogress.h"
#include "expenses/expensesforms.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "platform/progress.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/formregistry.h"
#include "platform/ui/qtdialogs.h"
#include "printing/printingforms.h"
#include "register/registerforms.h"
#include "register/unitregisterforms.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/shellforms.h"
#include "tables/tablecommands.h"
#include "workspace/workspacecommands.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QShortcut>
#include <QStandardPaths>

namespace zav::shell {

using platform::FormRegistry;

void registerForms()
{
    // Each folder registers its own forms, under the names its own header keeps. A folder below
    // the shell adds its `registerForms()` here, and, when it serves keys of the main window's
    // command table, registers their handlers with platform::CommandRegistry in it too.
    printing::registerForms();
    workspace::registerForms();
    for (const auto &[key, handler] : workspace::WorkspaceCommands::commands())
        platform::CommandRegistry::setHandler(key, handler);
    register_::registerForms();
    register_::registerUnitRegisterForms();
    expenses::registerForms();
    tables::registerForms();
    tables::registerCommands();
    registerShellForms();
}

void installIconTheme()
{
    if (!QIcon::themeName().isEmpty())
        return; // the desktop's own theme
    // Without a desktop session (a bare X server, offscreen) Qt names no icon theme and searches no
    // system folder: look in the freedesktop icon folders and take the first common theme found.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList system = QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    for (const QString &path : system) {
        if (!paths.contains(path))
            paths.append(path);
    }
    QIcon::setThemeSearchPaths(paths);
    for (const char *theme : { "Adwaita", "breeze", "oxygen", "Tango" }) {
        for (const QString &path : system) {
            if (QFileInfo::exists(path + u'/' + QLatin1String(theme) + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(QString::fromLatin1(theme));
                return;
            }
        }
    }
}

int runProgram(QApplication &app)
{
    // The real boxes and the real end of the program.
    platform::installQtDialogs();
    platform::setDialogs(nullptr);
    platform::setEndProgramHook({});
    platform::closeWindowsWhenTakenAway();
    installIconTheme();
    registerForms();

    // The engine's long operations report through ATTESA and the main window's pointer.
    engine::ui::AttesaProgress attesa;
    attesa.setPointerHandler([](bool busy) {
        if (auto *window = FormRegistry::loaded<frm_init>(FormName::frm_init))
            window->setMousePointer(busy ? frm_init::Hourglass : frm_init::NormalPointer);
    });
    platform::setProgress(&attesa);
    FormRegistry::showModeless(FormName::INIZIO);
    const int status = app.exec();
    platform::setProgress(nullptr);
    return status;
}

} // namespace zav::shell
