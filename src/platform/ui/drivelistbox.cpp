#include "platform/ui/drivelistbox.h"

#include <QDir>
#include <QFileInfo>

namespace zav::platform {

DriveListBox::DriveListBox(QWidget *parent)
    : QComboBox(parent)
{
    for (const QFileInfo &drive : QDir::drives())
        addItem(drive.absoluteFilePath());
    connect(this, &QComboBox::activated, this, &DriveListBox::Change);
}

void DriveListBox::setDrive(const QString &path)
{
    const int index = findText(driveOf(path));
    if (index >= 0)
        setCurrentIndex(index);
}

QString DriveListBox::driveOf(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const QFileInfo &drive : QDir::drives()) {
        if (absolute.startsWith(drive.absoluteFilePath(), Qt::CaseInsensitive))
            return drive.absoluteFilePath();
    }
    return QDir::rootPath();
}

} // namespace zav::platform
