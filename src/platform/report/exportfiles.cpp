#include "platform/report/exportfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace zav::platform {

namespace {

/** The property that names the project. Its value is the archive's path, percent-encoded, so that
 * it is plain ASCII without RTF's reserved characters, however the path is spelt. */
constexpr char PropertyName[] = "ZavProgetto";

/** How much of a file is searched for the property: exports write it before the first text. */
constexpr qint64 HeadBytes = 64 * 1024;

} // namespace

QByteArray ExportFiles::ownerMark(const QString &projectArchive)
{
    const QByteArray value = QUrl::toPercentEncoding(QFileInfo(projectArchive).absoluteFilePath(), "/");
    return QByteArray("{\\*\\userprops {\\propname ") + PropertyName + "}\\proptype30{\\staticval " + value
        + "}}\n";
}

QString ExportFiles::ownerOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString head = QString::fromLatin1(file.read(HeadBytes));
    // A word processor that saves the document again may break the lines anywhere.
    static const QRegularExpression property(
        QStringLiteral("\\{\\s*\\\\propname\\s+ZavProgetto\\s*\\}\\s*\\\\proptype30\\s*\\{\\s*"
                       "\\\\staticval\\s?([^{}\\\\]*)\\}"));
    const QRegularExpressionMatch match = property.match(head);
    if (!match.hasMatch())
        return QString();
    QString value = match.captured(1);
    value.remove(QRegularExpression(QStringLiteral("\\s")));
    return QUrl::fromPercentEncoding(value.toLatin1());
}

ExportFiles::Claim ExportFiles::claim(const QString &path, const QString &projectArchive)
{
    if (!QFileInfo::exists(path))
        return Claim::Free;
    const QString owner = ownerOf(path);
    if (owner.isEmpty())
        return Claim::Free;
    const QString ownerFile = QFileInfo(owner).canonicalFilePath();
    if (ownerFile.isEmpty())
        return Claim::Free; // the project is gone
    if (!projectArchive.isEmpty() && ownerFile == QFileInfo(projectArchive).canonicalFilePath())
        return Claim::Own;
    return Claim::Other;
}

QString ExportFiles::numberedName(const QString &fileName, int n)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return QStringLiteral("%1_%2").arg(fileName).arg(n);
    return QStringLiteral("%1_%2%3").arg(fileName.left(dot)).arg(n).arg(fileName.mid(dot));
}

ExportFiles::Target ExportFiles::target(
    const QString &path, const QString &projectArchive, const QSet<QString> &taken)
{
    Target result { path, QString() };
    const QFileInfo asked(path);
    for (int n = 2;; ++n) {
        if (!taken.contains(QFileInfo(result.path).fileName().toCaseFolded())) {
            if (claim(result.path, projectArchive) != Claim::Other)
                return result;
            if (result.otherOwner.isEmpty())
                result.otherOwner = ownerOf(result.path);
        }
        result.path = asked.dir().filePath(numberedName(asked.fileName(), n));
    }
}

} // namespace zav::platform
