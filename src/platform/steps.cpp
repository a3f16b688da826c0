#include "platform/steps.h"

#include <QDebug>

#include <exception>

namespace zav::platform {

bool tryStep(const std::function<void()> &step) noexcept
{
    try {
        step();
        return true;
    } catch (const std::exception &error) {
        qWarning("Skipped a failing step: %s", error.what());
    } catch (...) {
        qWarning("Skipped a failing step: unknown exception");
    }
    return false;
}

} // namespace zav::platform
