#pragma once

#include <QString>

#include <optional>

class QApplication;

namespace zav::shell {

/**
 * @brief Registers every folder's forms by name (and the handlers of the commands that folders
 * below the shell serve): each folder's own registration is called from here.
 */
void registerForms();

/**
 * @brief What will not work because the program folder (or its "ARCHIVI") cannot be written, as
 * the message said once at start; no value when both can be written.
 */
std::optional<QString> programFolderNotice();

/** @brief Gives toolbar icons a common freedesktop icon theme where the desktop names none. */
void installIconTheme();

/**
 * @brief Runs the program: installs the real platform services, shows the login form `INIZIO` and
 * returns the application's exit code when the program ends.
 */
int runProgram(QApplication &app);

} // namespace zav::shell
