#include "platform/report/exportfiles.h"

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
    return OwnedFiles(&ownerOf).claim(path, projectArchive);
}

ExportFiles::Target ExportFiles::target(
    const QString &path, const QString &projectArchive, const QSet<QString> &taken)
{
    return OwnedFiles(&ownerOf).target(path, projectArchive, taken);
}

} // namespace zav::platform
