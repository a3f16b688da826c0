#pragma once

#include <QString>
#include <QStringList>

namespace zav::shell {

/** @brief One row of the main window's command table: the keys that run one command. */
struct CommandRow
{
    QStringList keys;
    /** True when the command works on the open project and refuses without one. */
    bool project = false;
};

/**
 * @brief The commands of the main window's menus and toolbars, by command key.
 *
 * Keys are compared exactly and with regard to case; a key no row lists (menu titles, items that
 * open menus, list-only tools such as `rip_spese`) runs nothing.
 */
class CommandTable
{
public:
    static const QList<CommandRow> &rows();
    /** @brief The row listing this key, or nullptr. */
    static const CommandRow *find(const QString &key);
    static bool isCommand(const QString &key) { return find(key) != nullptr; }
    static bool isProjectCommand(const QString &key);
};

} // namespace zav::shell
