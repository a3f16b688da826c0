#pragma once

#include <QString>

#include <functional>

namespace zav::platform {

/**
 * @brief Whether the disk that holds `path` (or, when it does not exist yet, its folder) is full:
 * less than a megabyte left. A write that has just failed there failed for want of room; file
 * layers that report such a failure only as a write error are told apart by it.
 */
bool isDiskFull(const QString &path);

/**
 * @brief Replaces how isDiskFull() reads the room left on a disk, in bytes (tests); an empty
 * function restores the real reading.
 */
void setFreeSpaceReading(std::function<qint64(const QString &path)> reading);

} // namespace zav::platform
