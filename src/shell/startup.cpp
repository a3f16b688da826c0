#include "shell/startup.h"

#include "engine/ui/attesaprogress.h"
#include "platform/dialogs.h"
#include "platform/ui/qtdialogs.h"
#include "platform/ui/formregistry.h"
#include "platform/programend.h"
#include "platform/progress.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/frm_password.h"
#include "shell/forms/inizio.h"
#include "shell/commands/projectcommands.h"

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
    ProjectCommands::registerForms();
    FormRegistry::setFactory(QStringLiteral("INIZIO"), [] { return new INIZIO; });
    FormRegistry::setFactory(QStringLiteral("frm_init"), [] {
        auto *window = new frm_init;
        // F1 opens the manual, as "Help" does, in the main window and its child windows.
        auto *help = new QShortcut(QKeySequence(Qt::Key_F1), window);
        QObject::connect(help, &QShortcut::activated, window,
            [window] { window->Bar_main1_ToolClick(QStringLiteral("tHelp")); });
        return window;
    });
    FormRegistry::setFactory(QStringLiteral("frm_password"),
        [] { return new frm_password(FormRegistry::loaded(QStringLiteral("frm_init"))); });
    // Every other window opens over the main window and stays in front of it.
    FormRegistry::setMainWindow(QStringLiteral("frm_init"));
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
        if (auto *window = FormRegistry::loaded<frm_init>(QStringLiteral("frm_init")))
            window->setMousePointer(busy ? frm_init::Hourglass : frm_init::NormalPointer);
    });
    platform::setProgress(&attesa);
    FormRegistry::showModeless(QStringLiteral("INIZIO"));
    const int status = app.exec();
    platform::setProgress(nullptr);
    return status;
}

} // namespace zav::shell
