#pragma once

#include <QString>

namespace zav::test {

/**
 * @brief Makes a file or folder read-only for as long as it lives, for root too.
 *
 * Root writes whatever the permissions say, so the path is bind-mounted read-only over itself, in a
 * mount namespace of the calling thread's own: the thread's writes to it fail as on a read-only
 * disk, and no other process sees the mount. Where the process may not make a mount namespace, the
 * path loses its write permissions instead, which holds for a user without root's rights.
 * `holds()` says whether writing is refused; the test skips when it is not.
 */
class ReadOnlyMount
{
public:
    explicit ReadOnlyMount(const QString &path);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount &) = delete;
    ReadOnlyMount &operator=(const ReadOnlyMount &) = delete;

    /** @brief Whether writing to the path is refused. */
    bool holds() const;
    /** @brief Why writing is not refused, for a skipped test's message (empty when it is). */
    QString why() const { return m_why; }

private:
    QString m_path;
    bool m_mounted = false;
    bool m_permissionsChanged = false;
    QString m_why;
};

} // namespace zav::test
