#pragma once

#include "shell/commands/cadlink.h"
#include "shell/forms/about.h"

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
 * box's last choice); its command table runs the recipes below. No command tests whether a
 * project is open, and each skips its failing steps without a message (the manual reports its
 * own failures).
 */
class UtilityCommands
{
public:
    /** @brief Opens a new browser window on an address. */
    using BrowserOpener = std::function<void(const QString &address)>;
    /** @brief Shows a dialog modal (QDialog::exec unless a test replaces it). */
    using ModalRunner = std::function<void(QDialog &dialog)>;

    explicit UtilityCommands(QWidget *mainWindow = nullptr);
    ~UtilityCommands();
    UtilityCommands(const UtilityCommands &) = delete;
    UtilityCommands &operator=(const UtilityCommands &) = delete;

    /** @brief CAD on (`cadon`, `tCad`). */
    void cadOn();
    /** @brief CAD off (`cadoff`). */
    void cadOff();
    /** @brief The printer's page set-up (`imp_st`, `tSetup`). */
    void pageSetup();
    /** @brief Chooses the word processor and stores it in the editor file (`editor`). */
    void chooseEditor();
    /** @brief Starts the outside program of a key (`calcolatrice`, `prompt`, `notepad`, `wordpad`,
     * `control`). */
    static void startProgram(const QString &key);
    /** @brief A new browser window on the maker's web site (`Web`). */
    void openWeb();
    /** @brief Opens the user's manual (`tHelp`). */
    static void openManual();
    /** @brief The user data, modal (`utente`). */
    void showUserData();
    /** @brief The about box, modeless, one at a time (`about`, `tInfo`). */
    void showAbout();

    /** @brief The CAD link; give it the workspace's hidden text box with setTextBoxSource. */
    CadLink &cadLink() { return m_cadLink; }
    /** @brief Installs what `Web` opens its windows with (the browser lives in its own library). */
    void setBrowserOpener(BrowserOpener opener) { m_browserOpener = std::move(opener); }
    void setModalRunner(ModalRunner runner) { m_modalRunner = std::move(runner); }

    /** @brief The manual's path: "Zav6-Man.pdf" in the program folder. */
    static QString manualPath();
    /** @brief What "Help" tells when no program opens the manual: where it is and what opens it. */
    static QString manualNotOpenedText(const QString &manual);
    /** @brief The about box while it is open. */
    ABOUT *about() const { return m_about; }

private:
    QWidget *m_mainWindow;
    CadLink m_cadLink;
    QString m_commonDialogFileName;
    BrowserOpener m_browserOpener;
    ModalRunner m_modalRunner;
    QPointer<ABOUT> m_about;
};

} // namespace zav::shell
