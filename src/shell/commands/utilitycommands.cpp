#include "shell/commands/utilitycommands.h"

#include "platform/programfolder.h"
#include "platform/steps.h"
#include "shell/commands/launcher.h"
#include "shell/commands/outsideprograms.h"
#include "shell/commands/pagesetup.h"
#include "shell/forms/about.h"
#include "shell/forms/frm_dati_utente.h"
#include "shell/project/editorfile.h"

#include <QDir>

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

void UtilityCommands::cadOn()
{
    m_cadLink.cadOn();
}

void UtilityCommands::cadOff()
{
    m_cadLink.cadOff();
}

void UtilityCommands::pageSetup()
{
    tryStep([this] { PageSetup::run(m_mainWindow); });
}

void UtilityCommands::chooseEditor()
{
    tryStep([this] { EditorFile::choose(m_commonDialogFileName); });
}

void UtilityCommands::startProgram(const QString &key)
{
    tryStep([&key] { OutsidePrograms::start(key); });
}

void UtilityCommands::openWeb()
{
    tryStep([this] {
        if (m_browserOpener)
            m_browserOpener(webAddress());
    });
}

QString UtilityCommands::manualNotOpenedText(const QString &manual)
{
    return QStringLiteral("Il manuale non è stato aperto: nessun programma di questo computer apre i "
                          "documenti PDF.\nIl manuale è il file %1 e si apre con un qualunque lettore di "
                          "PDF: installarne uno (per esempio Evince o Okular), poi premere di nuovo \"Help\" "
                          "o F1, oppure aprire il file con il lettore di PDF che si ha già.")
        .arg(QDir::toNativeSeparators(manual));
}

void UtilityCommands::openManual()
{
    tryStep([] { openAssociated(manualPath(), &UtilityCommands::manualNotOpenedText); });
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
