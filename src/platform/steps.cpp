#include "platform/steps.h"

namespace zav::platform {

bool tryStep(const std::function<void()> &step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace zav::platform
