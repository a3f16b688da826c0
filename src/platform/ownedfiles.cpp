#include "platform/ownedfiles.h"

#include <QDir>
#include <QFileInfo>

namespace zav::platform {

OwnedFiles::OwnedFiles(OwnerReader ownerOf)
    : m_ownerOf(ownerOf)
{
}

OwnedFiles::Claim OwnedFiles::claim(const QString &path, const QString &projectArchive) const
{
    if (!QFileInfo::exists(path))
        return Claim::Free;
    const QString owner = m_ownerOf(path);
    if (owner.isEmpty())
        return Claim::Free;
    const QString ownerFile = QFileInfo(owner).canonicalFilePath();
    if (ownerFile.isEmpty())
        return Claim::Free; // the project is gone
    if (!projectArchive.isEmpty() && ownerFile == QFileInfo(projectArchive).canonicalFilePath())
        return Claim::Own;
    return Claim::Other;
}

OwnedFiles::Target OwnedFiles::target(
    const QString &path, const QString &projectArchive, const QSet<QString> &taken) const
{
    Target result { path, QString() };
    const QFileInfo asked(path);
    for (int n = 2;; ++n) {
        if (!taken.contains(QFileInfo(result.path).fileName().toCaseFolded())) {
            if (claim(result.path, projectArchive) != Claim::Other)
                return result;
            if (result.otherOwner.isEmpty())
                result.otherOwner = m_ownerOf(result.path);
        }
        result.path = asked.dir().filePath(numberedName(asked.fileName(), n));
    }
}

QString OwnedFiles::numberedName(const QString &fileName, int n)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return QStringLiteral("%1_%2").arg(fileName).arg(n);
    return QStringLiteral("%1_%2%3").arg(fileName.left(dot)).arg(n).arg(fileName.mid(dot));
}

} // namespace zav::platform
