#include "platform/ui/folderlistbox.h"

#include <QDir>
#include <QFileInfo>

namespace zav::platform {

namespace {

constexpr int PathRole = Qt::UserRole;

} // namespace

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

} // namespace zav::platform
