#pragma once

#include <QString>

namespace zav::platform {

/**
 * @brief Removes the temporaries a stopped write left beside the file at @p path: the files of its
 * folder named after it followed by @p suffix (a regular expression, e.g. "\\.[A-Za-z0-9]{6}").
 * A file that cannot be removed is left; the next write tries again.
 */
void removeLeftovers(const QString &path, const QString &suffix);

} // namespace zav::platform
