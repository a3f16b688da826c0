#pragma once

#include <functional>

namespace zav::platform {

/**
 * @brief Ends the program at once: no question, nothing saved, no window closed first.
 *
 * Every way out of the program goes through here, so that a test can install its own hook and
 * observe the end instead of losing its process. By default the application's event loops are left
 * and `QApplication::exec()` returns.
 */
void endProgram();

/** @brief Installs the action of endProgram(); an empty function restores the default. */
void setEndProgramHook(std::function<void()> hook);

/** @brief RAII: installs a hook for its lifetime and restores the default after (tests). */
class EndProgramHookScope
{
public:
    explicit EndProgramHookScope(std::function<void()> hook);
    ~EndProgramHookScope();
    EndProgramHookScope(const EndProgramHookScope &) = delete;
    EndProgramHookScope &operator=(const EndProgramHookScope &) = delete;
};

} // namespace zav::platform
