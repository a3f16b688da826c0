#include "shell/commands/utilitycommands.h"

#include "platform/programfolder.h"
#include "platform/steps.h"
#include "shell/forms/about.h"
#include "shell/project/editorfile.h"
#include "shell/forms/frm_dati_utente.h"
#include "shell/commands/launcher.h"
#include "shell/commands/outsideprograms.h"
#include "shell/commands/pagesetup.h"

namespace zav::shell {

using platform::tryStep;

QString webAddress()
{
    // The program's home page: set here once the publisher's site is known.
    return QStringLiteral("https://zav.example.org/");
}

QString searchAddress()
{
    return QStringLiteral("https://duckduckgo.com/");
}

UtilityCommands::UtilityCommands(QWidget *mainWindow)
    : m_mainWindow(mainWindow)
{
}

UtilityCommands::~UtilityCommands()
{
    delete m_about;
}

QString UtilityCommands::manualPath()
{
    return platform::ProgramFolder::file(QStringLiteral("Zav6-Man.pdf"));
}

QList<UtilityCommands::Command> UtilityCommands::commands()
{
    const auto cadOn = [this] { m_cadLink.cadOn(); };
    const auto pageSetup = [this] { tryStep([this] { PageSetup::run(m_mainWindow); }); };
    const auto outside
        = [](const QString &key) { return [key] { tryStep([key] { OutsidePrograms::start(key); }); }; };
    const auto about = [this] { showAbout(); };

    return {
        { QStringLiteral("cadon"), cadOn },
        { QStringLiteral("tCad"), cadOn },
        { QStringLiteral("cadoff"), [this] { m_cadLink.cadOff(); } },
        { QStringLiteral("imp_st"), pageSetup },
        { QStringLiteral("tSetup"), pageSetup },
        { QStringLiteral("editor"),
            [this] { tryStep([this] { EditorFile::choose(m_commonDialogFileName); }); } },
        { QStringLiteral("calcolatrice"), outside(QStringLiteral("calcolatrice")) },
        { QStringLiteral("prompt"), outside(QStringLiteral("prompt")) },
        { QStringLiteral("control"), outside(QStringLiteral("control")) },
        { QStringLiteral("notepad"), outside(QStringLiteral("notepad")) },
        { QStringLiteral("wordpad"), outside(QStringLiteral("wordpad")) },
        { QStringLiteral("Web"),
            [this] {
                tryStep([this] {
                    if (m_browserOpener)
                        m_browserOpener(webAddress());
                });
            } },
        { QStringLiteral("tHelp"), [] { tryStep([] { LanciaEseguibileAssociato(manualPath()); }); } },
        { QStringLiteral("utente"), [this] { showUserData(); } },
        { QStringLiteral("about"), about },
        { QStringLiteral("tInfo"), about },
    };
}

void UtilityCommands::showUserData()
{
    frm_dati_utente form(m_mainWindow);
    if (m_modalRunner)
        m_modalRunner(form);
    else
        form.exec();
}

void UtilityCommands::showAbout()
{
    // One about box at a time; a closed one is gone and the next command makes it afresh.
    if (!m_about) {
        m_about = new ABOUT(m_mainWindow);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace zav::shell
