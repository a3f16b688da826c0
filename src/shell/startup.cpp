#include "shell/startup.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/ui/attesaprogress.h"
#include "expenses/expensesforms.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "platform/programfolder.h"
#include "platform/progress.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/formregistry.h"
#include "platform/ui/qtdialogs.h"
#include "printing/documents.h"
#include "printing/printingforms.h"
#include "printing/tableprints.h"
#include "register/registerforms.h"
#include "register/unitregisterforms.h"
#include "shell/commands/launcher.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/shellforms.h"
#include "shell/project/editorfile.h"
#include "shell/project/projectfiles.h"
#include "tables/tablecommands.h"
#include "terraces/terracesforms.h"
#include "workspace/workspacecommands.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QStandardPaths>

namespace zav::shell {

using platform::FormRegistry;

namespace {

/**
 * F1 opens the manual, as "Help" does: a key F1 that no control of the main window took reaches the
 * main window itself (child windows included; other windows keep their keys). The unit workspace
 * answers F1 itself.
 */
class HelpKey : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1)
            return QObject::eventFilter(watched, event);
        auto *window = FormRegistry::loaded<frm_init>(FormName::frm_init);
        if (!window || watched != window)
            return QObject::eventFilter(watched, event);
        const QWidget *workspace = FormRegistry::loaded(QStringLiteral("frm_ins_coeff"));
        const QWidget *focus = QApplication::focusWidget();
        if (!(workspace && focus && (focus == workspace || workspace->isAncestorOf(focus))))
            window->Bar_main1_ToolClick(QStringLiteral("tHelp"));
        event->accept();
        return true;
    }
};

void installHelpKey()
{
    static HelpKey *filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new HelpKey;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

} // namespace

void registerForms()
{
    // Each folder registers its own forms, under the names its own header keeps. A folder below
    // the shell adds its `registerForms()` here, and, when it serves keys of the main window's
    // command table, registers their handlers with platform::CommandRegistry in it too.
    printing::registerForms();
    // The print form opens its documents with the main window's editor file and launcher; the
    // table forms print through the printing's report controls.
    printing::Documents::setServices({ []() -> std::optional<QString> {
                                          if (!QFileInfo::exists(EditorFile::path()))
                                              return std::nullopt;
                                          return EditorFile::read().value_or(QString());
                                      },
        &LanciaEseguibileAssociato });
    tables::setPrintHandlers({ [](const QString &title, const QString &archive) {
                                  printing::TablePrints::coefficientTable(title, archive);
                              },
        &printing::TablePrints::windowTable });
    workspace::registerForms();
    for (const auto &[key, handler] : workspace::WorkspaceCommands::commands())
        platform::CommandRegistry::setHandler(key, handler);
    register_::registerForms();
    register_::registerUnitRegisterForms();
    expenses::registerForms();
    // The pop-up menu's "Seleziona" and "Accorpa" work on the summary table.
    platform::CommandRegistry::setHandler(QStringLiteral("sel"), &expenses::sel_Click);
    platform::CommandRegistry::setHandler(QStringLiteral("accorpa"), &expenses::accorpa_Click);
    tables::registerForms();
    tables::registerCommands();
    terraces::registerForms();
    registerShellForms();
    // Every other window opens over the main window and stays in front of it.
    FormRegistry::setMainWindow(FormName::frm_init);
    installHelpKey();
}

std::optional<QString> programFolderNotice()
{
    QStringList unwritable;
    const QString folder = platform::ProgramFolder::path();
    if (!projectfiles::isWritableFolder(folder))
        unwritable << folder;
    const QString archives = projectfiles::defaultFolder();
    if (unwritable.isEmpty() && QFileInfo(archives).isDir() && !projectfiles::isWritableFolder(archives))
        unwritable << archives;
    if (unwritable.isEmpty())
        return std::nullopt;
    return QStringLiteral("La cartella \"%1\" non è scrivibile. Finché resta così non si potranno creare "
                          "progetti nella cartella predefinita \"ARCHIVI\", né creare tabelle spese o righe "
                          "della tabella riepilogativa, né salvare le impostazioni e le esportazioni. I "
                          "progetti di altre cartelle scrivibili si aprono come sempre. Per lavorare senza "
                          "limiti concedere la scrittura sulla cartella, o installare il programma in una "
                          "cartella scrivibile.")
        .arg(QDir::toNativeSeparators(unwritable.first()));
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
    platform::setFailureWording(
        [](const platform::DbError &error) { return engine::databaseFailureText(error); });
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
    if (const std::optional<QString> notice = programFolderNotice())
        platform::dialogs().msgBox(*notice, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation,
            engine::MessageTitle::ZavWarning);
    FormRegistry::showModeless(FormName::INIZIO);
    const int status = app.exec();
    platform::setProgress(nullptr);
    return status;
}

} // namespace zav::shell
