#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStyle>

#include <functional>

namespace zav::shell {

class CommandHost;

/**
 * @brief The bands of the main window's menu and toolbar control.
 *
 * The numbered bands come in their order (the menu bar is band 0, the thousandths band `tBand`
 * band 11); the four toolbars of `tbShortcuts` are its children and carry no number.
 */
enum class Band {
    MnuBand1,
    Mnu_progetto,
    Mnu_archivi,
    Mnu_coeff,
    Luminosita,
    Mnu_calcoli,
    Mnu_stampa,
    Mnu_cad,
    Mnu_utility,
    ArchiviDatabase,
    tbShortcuts,
    tbDatiGen,
    tbDati,
    tbCalcoli,
    tbCoefficenti,
    tBand,
    None, ///< the tool list only: no band shows the key
};

/** @brief An icon of the desktop's theme, with the style's own icon where the theme has none. */
struct ToolIcon
{
    const char *themeName = nullptr;
    QStyle::StandardPixmap fallback = QStyle::SP_CustomBase;
};

/** @brief One key of a command and where it shows. */
struct CommandKey
{
    QString key;
    Band band = Band::None;
    /** On a toolbar: the tool's place on it, from 1. Menu items come in the order of the rows. */
    int position = 0;
    /** The caption; menu captions carry their mnemonic ("&Apri"). */
    QString caption;
    QString toolTip;
    ToolIcon icon;
    /** A menu item with a separator line above it. */
    bool separatorBefore = false;
};

/**
 * @brief One row of the main window's command table: the keys that run one command, whether it
 * needs an open project, and its recipe.
 */
struct CommandRow
{
    /** @brief A recipe, given the window and the key that was clicked. */
    using Handler = std::function<void(CommandHost &host, const QString &key)>;

    QList<CommandKey> keys;
    /** True when the command works on the open project and refuses without one. */
    bool project = false;
    /** The shell's recipe; empty when a subsystem below the shell serves the command through
     * platform::CommandRegistry. */
    Handler handler;

    QStringList keyNames() const;
    /** @brief Runs the recipe, or the handler registered for one of the row's keys; nothing when
     * neither is there. */
    void run(CommandHost &host, const QString &key) const;
};

/**
 * @brief The commands of the main window's menus and toolbars: the one list of the command keys,
 * from which the menus and toolbars are built (buildMainBars) and by which the dispatcher runs
 * the commands.
 *
 * Keys are compared exactly and with regard to case; a key no row lists (menu titles, items that
 * open menus, the list-only tool `rip_spese`) runs nothing. A menu key (`apri`) and its toolbar
 * twin (`tApri`) are keys of one row.
 */
class CommandTable
{
public:
    static const QList<CommandRow> &rows();
    /** @brief The row listing this key, or nullptr. */
    static const CommandRow *find(const QString &key);
    static bool isCommand(const QString &key) { return find(key) != nullptr; }
};

} // namespace zav::shell
