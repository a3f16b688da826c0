#include "platform/ui/filelistbox.h"

#include <QDir>

namespace zav::platform {

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
