#pragma once

#include "platform/diskspace.h"

#include <sys/resource.h>

#include <csignal>

namespace zav::test {

/**
 * @brief A full disk for plain files while it lives: every write that makes a file larger than a
 * few kilobytes fails (the process's file-size limit), and the disks read as having no room left.
 * SQLite's files are under the same limit; FullDiskScope stands for a full disk there.
 */
class FullFileDisk
{
public:
    explicit FullFileDisk(rlim_t bytes = 4096)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
        platform::setFreeSpaceReading([](const QString &) { return qint64(0); });
    }
    ~FullFileDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
        platform::setFreeSpaceReading({});
    }
    FullFileDisk(const FullFileDisk &) = delete;
    FullFileDisk &operator=(const FullFileDisk &) = delete;

private:
    rlimit m_saved {};
    void (*m_signal)(int) = nullptr;
};

} // namespace zav::test
