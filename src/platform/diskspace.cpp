#include "platform/diskspace.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace zav::platform {

namespace {

std::function<qint64(const QString &)> &freeSpaceReading()
{
    static std::function<qint64(const QString &)> reading;
    return reading;
}

} // namespace

bool isDiskFull(const QString &path)
{
    constexpr qint64 Margin = 1024 * 1024;
    // The nearest folder that exists: a file that could not be made is not there to ask about.
    QString existing = QFileInfo(path).absoluteFilePath();
    while (!existing.isEmpty() && !QFileInfo::exists(existing) && existing != QDir::rootPath())
        existing = QFileInfo(existing).absolutePath();
    const qint64 available
        = freeSpaceReading() ? freeSpaceReading()(existing) : QStorageInfo(existing).bytesAvailable();
    return available >= 0 && available < Margin;
}

void setFreeSpaceReading(std::function<qint64(const QString &path)> reading)
{
    freeSpaceReading() = std::move(reading);
}

} // namespace zav::platform
