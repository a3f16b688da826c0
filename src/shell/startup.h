#pragma once

class QApplication;

namespace zav::shell {

/** @brief Registers the shell's forms by name: `INIZIO`, `frm_init`, `frm_password`. */
void registerForms();

/** @brief Gives toolbar icons a common freedesktop icon theme where the desktop names none. */
void installIconTheme();

/**
 * @brief Runs the program: installs the real platform services, shows the login form `INIZIO` and
 * returns the application's exit code when the program ends.
 */
int runProgram(QApplication &app);

} // namespace zav::shell
