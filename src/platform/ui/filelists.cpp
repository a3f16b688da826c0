#include "platform/ui/filelists.h"

#include <QDir>
#include <QFileInfo>

namespace zav::platform {

namespace {

// Where a folder list entry keeps the folder it stands for.
constexpr int PathRole = Qt::UserRole;

} // namespace

// --- DriveListBox ----------------------------------------------------------------------------

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

// --- FolderListBox ---------------------------------------------------------------------------

FolderListBox::FolderListBox(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { setPath(item->data(PathRole).toString()); });
}

void FolderListBox::setPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable())
        return;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (path == m_path)
        return;
    m_path = path;
    fill();
    emit Change();
}

void FolderListBox::fill()
{
    clear();
    QStringList chain;
    for (QDir dir(m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &folder : chain) {
        const QString name = QDir(folder).isRoot() ? folder : QDir(folder).dirName();
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + name, this);
        item->setData(PathRole, folder);
        ++depth;
    }
    setCurrentRow(int(chain.size()) - 1);
    const QDir current(m_path);
    const QStringList subfolders
        = current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + name, this);
        item->setData(PathRole, current.filePath(name));
    }
}

// --- FileListBox -----------------------------------------------------------------------------

FileListBox::FileListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileListBox::setPath(const QString &folder)
{
    m_path = folder;
    Refresh();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    Refresh();
}

void FileListBox::Refresh()
{
    clear();
    if (m_path.isEmpty())
        return;
    // QDir matches name filters without regard to case unless told otherwise.
    const QDir dir(m_path);
    const QStringList names = dir.entryList(
        m_pattern.split(u';', Qt::SkipEmptyParts), QDir::Files, QDir::Name | QDir::IgnoreCase);
    addItems(names);
    setCurrentRow(-1);
}

void FileListBox::setListIndex(int index)
{
    setCurrentRow(index);
}

int FileListBox::ListIndex() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

QString FileListBox::FileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

} // namespace zav::platform
