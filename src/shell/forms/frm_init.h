#pragma once

#include "shell/commands/utilitycommands.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace zav::platform {
class CommandBar;
}

namespace zav::shell {

/**
 * @brief The main window: an MDI parent with the program's menus and toolbars, the status bar and
 * the pop-up menu `Opzioni`.
 *
 * Every menu and toolbar tool arrives in Bar_main1_ToolClick() with its command key. The
 * dispatcher refuses the commands that work on the open project while none is open, then runs
 * the handler registered for the key; subsystems plug their commands in with
 * setCommandHandler(). A key with no handler yet does nothing.
 */
class frm_init : public QMainWindow
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    /** @brief Position of the thousandths band (`tBand`). */
    static constexpr int ThousandthsBand = 11;
    /** @brief Mouse pointer values: the hourglass and the normal pointer. */
    static constexpr int Hourglass = 11;
    static constexpr int NormalPointer = 0;

    explicit frm_init(QWidget *parent = nullptr);
    ~frm_init() override;

    /** @brief The window's load: band 11 hidden, no project, decimal separator probed, login closed. */
    void MDIForm_Load();
    /** @brief The one handler of every menu and toolbar tool, by command key. */
    void Bar_main1_ToolClick(const QString &key);

    /**
     * @brief Plugs in the command of a key of the command table (replacing any before it).
     * Returns false, and keeps nothing, for a key the table does not list.
     */
    bool setCommandHandler(const QString &key, Handler handler);
    /** @brief Plugs in several commands at once, as (key, handler) pairs. */
    void setCommandHandlers(const QList<std::pair<QString, Handler>> &handlers);
    /** @brief Plugs in the handler of an item of the pop-up menu (`sel`, `accorpa`, `copia`, `incolla`). */
    bool setPopupHandler(const QString &item, Handler handler);

    // --- Controls and services other forms use ------------------------------------------------
    platform::CommandBar *Bar_main1() const { return m_bar; }
    QMdiArea *mdiArea() const { return m_mdiArea; }
    QMenu *Opzioni() const { return m_opzioni; }
    /** @brief Shows the pop-up menu `Opzioni` at the mouse pointer. */
    void popupOpzioni();

    /** @brief Text of a status bar panel (1 or 2; panel 2 shows the open project's archive). */
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString &text);

    /** @brief The window's mouse pointer: Hourglass (11) or NormalPointer (0). */
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);

    /** @brief Makes a form a child window of the MDI area (once) and shows it. */
    QMdiSubWindow *showChild(QWidget *form);

    /** @brief The commands that reach outside the archives (CAD link, outside programs ...). */
    UtilityCommands &utilityCommands() { return *m_utility; }

    /** @brief Makes a browser window for the `Web` command (the browser lives in its own library). */
    using BrowserFactory = std::function<QWidget *(const QString &address)>;
    static void setBrowserFactory(BrowserFactory factory);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    static BrowserFactory &browserFactory();
    void buildStatusBar();
    void buildPopupMenu();
    void esci();
    void password();

    platform::CommandBar *m_bar = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    QMenu *m_opzioni = nullptr;
    QLabel *m_panels[2] = { nullptr, nullptr };
    QHash<QString, Handler> m_handlers;
    QHash<QString, Handler> m_popupHandlers;
    int m_mousePointer = NormalPointer;
    std::unique_ptr<UtilityCommands> m_utility;
    bool m_closing = false;
};

} // namespace zav::shell
