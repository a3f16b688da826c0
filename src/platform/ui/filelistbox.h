#pragma once

#include <QListWidget>
#include <QString>

namespace zav::platform {

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
