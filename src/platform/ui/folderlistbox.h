#pragma once

#include <QListWidget>
#include <QString>

namespace zav::platform {

/**
 * @brief A folder list: the folders from the root down to the current one, each indented one step
 * more, then the current folder's subfolders in name order. Activating an entry (double click,
 * Enter) makes it the current folder.
 */
class FolderListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderListBox(QWidget *parent = nullptr);

    /** @brief The current folder. */
    QString Path() const { return m_path; }
    /** @brief Makes a folder current and lists it, reporting `Change`; a folder that cannot be
     * read, or the current one, changes nothing. */
    void setPath(const QString &folder);

signals:
    /** @brief The current folder changed. */
    void Change();

private:
    void fill();
    QString m_path;
};

} // namespace zav::platform
