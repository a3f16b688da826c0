#pragma once

#include "shell/commands/commandhost.h"
#include "shell/commands/commandtable.h"
#include "shell/commands/utilitycommands.h"

namespace zav::test {

/** @brief A host for the utility commands alone, with no main window around them. */
class UtilityHost : public shell::CommandHost
{
public:
    explicit UtilityHost(shell::UtilityCommands &commands)
        : m_commands(commands)
    {
    }
    void setStatusPanelText(int, const QString &) override { }
    void setMousePointer(int) override { }
    QMdiSubWindow *showChild(QWidget *) override { return nullptr; }
    shell::UtilityCommands &utilityCommands() override { return m_commands; }
    void esci() override { }

private:
    shell::UtilityCommands &m_commands;
};

/** @brief Runs the command of a key of the main window's table on these utility commands. */
inline void runCommand(shell::UtilityCommands &commands, const QString &key)
{
    UtilityHost host(commands);
    if (const shell::CommandRow *row = shell::CommandTable::find(key))
        row->run(host, key);
}

} // namespace zav::test
