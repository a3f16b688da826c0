#pragma once

#include <QComboBox>
#include <QString>

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

} // namespace zav::platform
