#pragma once

#include "shell/forms/about.h"
#include "shell/commands/cadlink.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <utility>

class QDialog;
class QWidget;

namespace zav::shell {

/** @brief The maker's web site, opened by the `Web` command and the browser's "Home". */
QString webAddress();
/** @brief The page the browser's "Search" button opens. */
QString searchAddress();

/**
 * @brief The main window's commands that reach outside the archives: the CAD link, the page
 * set-up, the word processor's choice, the outside programs, the browser, the manual, the user
 * data and the about box.
 *
 * The main window holds one of these for its whole life (it keeps the CAD link and the open-file
 * box's last choice) and wires `commands()` into its dispatcher. No command tests whether a
 * project is open, and each skips its failing steps without a message (the manual reports its
 * own failures).
 */
class UtilityCommands
{
public:
    using Command = std::pair<QString, std::function<void()>>;
    /** @brief Opens a new browser window on an address. */
    using BrowserOpener = std::function<void(const QString &address)>;
    /** @brief Shows a dialog modal (QDialog::exec unless a test replaces it). */
    using ModalRunner = std::function<void(QDialog &dialog)>;

    explicit UtilityCommands(QWidget *mainWindow = nullptr);
    ~UtilityCommands();
    UtilityCommands(const UtilityCommands &) = delete;
    UtilityCommands &operator=(const UtilityCommands &) = delete;

    /**
     * @brief Every command key with its handler: `cadon`, `tCad`, `cadoff`, `imp_st`, `tSetup`,
     * `editor`, `calcolatrice`, `prompt`, `control`, `notepad`, `wordpad`, `Web`, `tHelp`,
     * `utente`, `about`, `tInfo`.
     */
    QList<Command> commands();

    /** @brief The CAD link; give it the workspace's hidden text box with setTextBoxSource. */
    CadLink &cadLink() { return m_cadLink; }
    /** @brief Installs what `Web` opens its windows with (the browser lives in its own library). */
    void setBrowserOpener(BrowserOpener opener) { m_browserOpener = std::move(opener); }
    void setModalRunner(ModalRunner runner) { m_modalRunner = std::move(runner); }

    /** @brief The manual's path: "Zav6-Man.pdf" in the program folder. */
    static QString manualPath();
    /** @brief The open-file box's last choice, kept while the program runs. */
    const QString &commonDialogFileName() const { return m_commonDialogFileName; }
    /** @brief The about box while it is open. */
    ABOUT *about() const { return m_about; }

private:
    void showUserData();
    void showAbout();

    QWidget *m_mainWindow;
    CadLink m_cadLink;
    QString m_commonDialogFileName;
    BrowserOpener m_browserOpener;
    ModalRunner m_modalRunner;
    QPointer<ABOUT> m_about;
};

} // namespace zav::shell
