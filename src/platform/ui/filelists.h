#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>

// The drive, folder and file lists that the dialogs choosing an archive share: a drive list leads
// the folder list, whose folder the file list lists.

namespace zav::platform {

/**
 * @brief A drive list: the roots of the file system ("/" here, one per drive letter elsewhere).
 * Choosing a drive reports `Change`; setting it from the program does not.
 */
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget *parent = nullptr);

    /** @brief The chosen drive's root. */
    QString Drive() const { return currentText(); }
    /** @brief Shows the drive that holds a path, without reporting a change. */
    void setDrive(const QString &path);
    /** @brief The root of the drive that holds a path. */
    static QString driveOf(const QString &path);

signals:
    /** @brief The user chose a drive. */
    void Change();
};

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

/**
 * @brief A file list of one folder, filtered by a pattern matched without regard to case and
 * sorted by name without regard to case. Its selected entry is `ListIndex` (-1 for none): an entry
 * that only has the cursor (set by tabbing into the list) is not selected.
 */
class FileListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    /** @brief Sets the folder and re-reads it. */
    void setPath(const QString &folder);
    QString Pattern() const { return m_pattern; }
    /** @brief Sets the pattern ("*.cdb"; several separated by ";") and re-reads the folder. */
    void setPattern(const QString &pattern);
    /** @brief Re-reads the folder; no entry is selected afterwards. */
    void Refresh();
    int ListCount() const { return count(); }
    /** @brief The selected entry, -1 when none. */
    int ListIndex() const;
    /** @brief Selects an entry (-1: none). */
    void setListIndex(int index);
    /** @brief The selected entry's file name; empty when none. */
    QString FileName() const;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace zav::platform
