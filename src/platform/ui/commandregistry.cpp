#include "platform/ui/commandregistry.h"

#include <QHash>

namespace zav::platform {

namespace {

QHash<QString, CommandRegistry::Handler> &handlers()
{
    static QHash<QString, CommandRegistry::Handler> registered;
    return registered;
}

} // namespace

void CommandRegistry::setHandler(const QString &key, Handler handler)
{
    if (handler)
        handlers().insert(key, std::move(handler));
    else
        handlers().remove(key);
}

CommandRegistry::Handler CommandRegistry::handler(const QString &key)
{
    return handlers().value(key);
}

CommandRegistry::Handler CommandRegistry::handler(const QStringList &keys)
{
    for (const QString &key : keys) {
        if (Handler found = handlers().value(key))
            return found;
    }
    return {};
}

} // namespace zav::platform
