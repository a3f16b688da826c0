#pragma once

#include <QString>

class QWidget;

namespace zav::shell {

class BrowserModule;

/**
 * @brief Opens browser windows through the browser module, loaded on first use.
 *
 * The browser window runs on Qt WebEngine, which would cost the program's start most of its time
 * and memory; it therefore lives in a module of its own in the program folder, loaded by the first
 * `Web` command and kept loaded from then on. Where the module is missing or cannot load (Qt
 * WebEngine not installed), the address opens in the desktop's default browser instead.
 */
class BrowserLoader
{
public:
    /** @brief The module's file name in the program folder. */
    static QString moduleFileName();

    /**
     * @brief The module of the program folder, loaded on the first call; nullptr when the folder
     * holds none or it cannot load (a later call tries again).
     */
    static BrowserModule *module();

    /**
     * @brief A new browser window on @p address, deleted when closed and not yet shown; without
     * the module, @p address goes to the desktop's browser and the result is nullptr.
     */
    static QWidget *open(const QString &address);
};

/** @brief Makes the main window's `Web` command open its windows through BrowserLoader. */
void installBrowser();

} // namespace zav::shell
