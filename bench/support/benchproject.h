#pragma once

#include <QFile>
#include <QString>

#include <stdexcept>

namespace zav::bench {

/**
 * @brief Makes `path` a fresh copy of the program folder's template archive, writable by its owner
 * (the build lays the template out read-only for everyone but the build).
 */
inline void copyTemplateArchive(const QString &path)
{
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(ZAV_BENCH_PROGRAM_DIR "/ARCH_MIL.CLO"), path))
        throw std::runtime_error("cannot copy the template archive");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace zav::bench
