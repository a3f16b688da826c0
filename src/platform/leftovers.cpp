#include "platform/leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace zav::platform {

void removeLeftovers(const QString &path, const QString &suffix)
{
    const QFileInfo file(path);
    const QRegularExpression temporary(
        QStringLiteral("^%1%2$").arg(QRegularExpression::escape(file.fileName()), suffix));
    const QDir folder = file.absoluteDir();
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (temporary.match(entry).hasMatch())
            QFile::remove(folder.filePath(entry));
    }
}

} // namespace zav::platform
