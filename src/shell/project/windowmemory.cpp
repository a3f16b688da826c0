#include "shell/project/windowmemory.h"

#include "platform/programfolder.h"

#include <QSettings>

namespace zav::shell::windowmemory {

namespace {

const QString GeometryKey = QStringLiteral("finestra_principale/geometria");
const QString LastProjectKey = QStringLiteral("progetti/ultimo");

QVariant remembered(const QString &key)
{
    const QSettings memory(platform::ProgramFolder::file(MemoryFile), QSettings::IniFormat);
    return memory.value(key);
}

void remember(const QString &key, const QVariant &value)
{
    QSettings memory(platform::ProgramFolder::file(MemoryFile), QSettings::IniFormat);
    memory.setValue(key, value);
}

} // namespace

QByteArray mainWindowGeometry()
{
    return remembered(GeometryKey).toByteArray();
}

void setMainWindowGeometry(const QByteArray &geometry)
{
    remember(GeometryKey, geometry);
}

QString lastProject()
{
    return remembered(LastProjectKey).toString();
}

void setLastProject(const QString &archive)
{
    remember(LastProjectKey, archive);
}

} // namespace zav::shell::windowmemory
