#pragma once

#include <QString>

namespace zav::shell {

/**
 * @brief The outside programs of the Utility menu: calculator, command prompt, control panel,
 * Notepad and the maker's text editor, each fixed by its Windows command line and started
 * through the program that stands for it on Linux.
 */
class OutsidePrograms
{
public:
    /** @brief The Windows command line of a command key; empty for any other key. */
    static QString commandLine(const QString &key);
    /**
     * @brief Starts the program of a command key without waiting for it. A program that is not
     * installed is skipped without a message; returns whether one was started.
     *
     * For the maker's text editor the word processor recorded in the editor file comes first.
     */
    static bool start(const QString &key);
};

} // namespace zav::shell
