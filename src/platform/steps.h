#pragma once

#include <functional>

namespace zav::platform {

/**
 * @brief Runs one step of a continue-on-error command: any exception the step throws is swallowed
 * and reported as false, so the command goes on with its next step. What was swallowed is logged
 * (qWarning) with its text, so that a skipped step leaves a trace.
 */
bool tryStep(const std::function<void()> &step) noexcept;

} // namespace zav::platform
