#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zav::platform {

/**
 * @brief Handlers of the main window's command keys that a subsystem below the main window
 * supplies, registered by key at start-up.
 *
 * The main window's command table lists every key, with its place in the menus and toolbars and
 * whether it needs an open project; a row whose recipe belongs to a subsystem that the main
 * window cannot include (the unit workspace, the coefficient tables …) carries no handler, and
 * the dispatcher runs the one registered here under any key of that row. Registering under one
 * key of a row serves all of its keys. The items of the main window's pop-up menu `Opzioni` are
 * served the same way, under their names (`sel`, `accorpa`, `copia`, `incolla`).
 */
class CommandRegistry
{
public:
    using Handler = std::function<void()>;

    /** @brief Registers (or replaces) the handler of a key; an empty handler removes it. */
    static void setHandler(const QString &key, Handler handler);
    /** @brief The handler registered under this key, or an empty one. */
    static Handler handler(const QString &key);
    /** @brief The first handler registered under any of these keys, in their order. */
    static Handler handler(const QStringList &keys);
};

} // namespace zav::platform
