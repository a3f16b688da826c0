#pragma once

#include "expenses/mainwindowmenu.h"
#include "expenses/mainwindowmetrics.h"

#include "shell/commands/commandhost.h"
#include "shell/commands/utilitycommands.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

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
 * The menus and toolbars are built from the command table (CommandTable), and every tool arrives
 * in Bar_main1_ToolClick() with its command key. The dispatcher refuses the commands that work on
 * the open project while none is open, then runs the command of the key's row: the shell's own
 * recipe, or the handler that a subsystem below the shell registered for the row with
 * platform::CommandRegistry. A key with no handler yet does nothing. The items of the pop-up menu
 * run the handlers registered under their names the same way.
 */
class frm_init : public QMainWindow,
                 public CommandHost,
                 public expenses::MainWindowMetrics,
                 public expenses::MainWindowMenu
{
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    /** @brief Position of the thousandths band (`tBand`). */
    static constexpr int ThousandthsBand = 11;

    explicit frm_init(QWidget *parent = nullptr);
    ~frm_init() override;

    /** @brief The window's load: band 11 hidden, no project, decimal separator probed, login closed. */
    void MDIForm_Load();
    /** @brief The one handler of every menu and toolbar tool, by command key. */
    void Bar_main1_ToolClick(const QString &key);

    /**
     * @brief Runs this handler for one key of the command table in place of the key's command
     * (the other keys of its row keep theirs). Returns false, and keeps nothing, for a key the
     * table does not list.
     */
    bool setCommandHandler(const QString &key, Handler handler);

    // --- Controls and services other forms use ------------------------------------------------
    platform::CommandBar *Bar_main1() const { return m_bar; }
    QMdiArea *mdiArea() const { return m_mdiArea; }
    QMenu *Opzioni() const { return m_opzioni; }

    /** @brief Text of a status bar panel (1 or 2; panel 2 shows the open project's archive). */
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString &text) override;

    /** @brief The window's mouse pointer: Hourglass (11) or NormalPointer (0). */
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer) override;

    /** @brief Makes a form a child window of the MDI area (once) and shows it. */
    QMdiSubWindow *showChild(QWidget *form) override;

    /** @brief The commands that reach outside the archives (CAD link, outside programs ...). */
    UtilityCommands &utilityCommands() override { return *m_utility; }

    /** @brief `esci`: closes the window, its child windows with it, and ends the program. */
    void esci() override;

    /** @brief Makes a browser window for the `Web` command (the browser lives in its own library). */
    using BrowserFactory = std::function<QWidget *(const QString &address)>;
    static void setBrowserFactory(BrowserFactory factory);

    // --- What the expense form reads of this window ---------------------------------------------
    int windowWidth() const override;
    int bandWidth(int position) const override;

    // --- The pop-up menu, as the summary table pops it up ------------------------------------
    void setPopupItemVisible(const QString &name, bool visible) override;
    void popUpOpzioni(const QPoint &globalPosition) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    /**
     * @brief When the window becomes active again (a dialog or a message closed), the child window
     * that was in front stays in front: the focus coming back to a control of another child does
     * not bring that child forward.
     */
    void changeEvent(QEvent *event) override;
    /** @brief Watches the child windows: a child that is restored is never smaller than its form. */
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** @brief Makes a child window in its normal state at least as large as its form's content. */
    void keepContentSize(QMdiSubWindow *window) const;
    static BrowserFactory &browserFactory();
    void buildStatusBar();
    void buildPopupMenu();
    /** The size and place the window had when it was last closed; maximised when none is kept. */
    void restoreWindowGeometry();

    platform::CommandBar *m_bar = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    QMenu *m_opzioni = nullptr;
    QLabel *m_panels[2] = { nullptr, nullptr };
    QHash<QString, Handler> m_handlers;
    int m_mousePointer = NormalPointer;
    std::unique_ptr<UtilityCommands> m_utility;
    bool m_closing = false;
};

} // namespace zav::shell
