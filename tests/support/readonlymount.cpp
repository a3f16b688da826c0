#include "support/readonlymount.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace zav::test {

namespace {

QString lastError(const char *step)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

ReadOnlyMount::ReadOnlyMount(const QString &path)
    : m_path(QFileInfo(path).absoluteFilePath())
{
    const QByteArray target = QFile::encodeName(m_path);
    // The namespace is private to this thread; mounts made in it do not travel back to the system's.
    if (::unshare(CLONE_NEWNS) != 0) {
        m_why = lastError("unshare");
    } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        m_why = lastError("mount --make-rprivate /");
    } else if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
        m_why = lastError("mount --bind");
    } else {
        m_mounted = true;
        if (::mount(nullptr, target.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            m_why = lastError("mount -o remount,bind,ro");
    }
    if (!holds()) {
        QFile::setPermissions(m_path,
            QFile::permissions(m_path)
                & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther));
        m_permissionsChanged = true;
    }
    if (holds())
        m_why.clear();
    else if (m_why.isEmpty())
        m_why = QStringLiteral("the path stays writable");
}

ReadOnlyMount::~ReadOnlyMount()
{
    const QByteArray target = QFile::encodeName(m_path);
    if (m_mounted)
        ::umount2(target.constData(), MNT_DETACH);
    if (m_permissionsChanged)
        QFile::setPermissions(m_path, QFile::permissions(m_path) | QFile::WriteOwner | QFile::WriteUser);
}

bool ReadOnlyMount::holds() const
{
    return ::access(QFile::encodeName(m_path).constData(), W_OK) != 0;
}

} // namespace zav::test
