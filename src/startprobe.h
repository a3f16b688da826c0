#pragma once

class QApplication;

namespace zav {

/**
 * @brief The start-up probe the start-up benchmark runs the program with.
 *
 * With `ZAV_START_PROBE=login` the program writes "login" on its standard output once the login
 * window has been painted, and ends. With `ZAV_START_PROBE=main` it presses "Avvio", waits until
 * the main window has been painted, writes "main <resident kB> <proportional kB>" and ends. Each
 * line ends with the processor time used so far, in microseconds. Without the variable nothing is
 * installed.
 */
void installStartProbe(QApplication &app);

} // namespace zav
