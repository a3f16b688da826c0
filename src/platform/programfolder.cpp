#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zav::platform {

namespace {

QString &overridePath()
{
    static QString path;
    return path;
}

} // namespace

QString ProgramFolder::path()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QCoreApplication::applicationDirPath();
}

void ProgramFolder::setPath(const QString &folder)
{
    overridePath() = folder;
}

QString ProgramFolder::file(const QString &name)
{
    return findCaseInsensitive(path(), name);
}

QString findCaseInsensitive(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

} // namespace zav::platform
