#include "platform/programend.h"

#include <QCoreApplication>

namespace zav::platform {

namespace {

std::function<void()> &hook()
{
    static std::function<void()> installed;
    return installed;
}

} // namespace

void endProgram()
{
    if (hook()) {
        hook()();
        return;
    }
    // Leaves every running event loop, the nested ones of modal forms included.
    QCoreApplication::exit(0);
}

void setEndProgramHook(std::function<void()> newHook)
{
    hook() = std::move(newHook);
}

EndProgramHookScope::EndProgramHookScope(std::function<void()> newHook)
{
    setEndProgramHook(std::move(newHook));
}

EndProgramHookScope::~EndProgramHookScope()
{
    setEndProgramHook({});
}

} // namespace zav::platform
