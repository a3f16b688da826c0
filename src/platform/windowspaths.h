#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zav::platform {

/**
 * @brief The one table of the Windows paths the program fixes (outside programs under
 * "C:\WINDOWS\", the maker's text editor, the floppy drive) and what stands for each on Linux.
 *
 * A program path maps to Linux programs tried in order, the first installed one winning; a
 * folder path maps to a folder of the program folder, or
 * to the user's home folder ("~"). The README shows the same table.
 */
class WindowsPaths
{
public:
    /** @brief One fixed Windows path. */
    struct Entry
    {
        QString windows; ///< the path as the program fixes it
        bool isFolder; ///< a folder rather than a program
        QStringList onLinux; ///< programs tried in order, or the folder ("~" = home)
    };

    /** @brief The whole table. */
    static const QList<Entry> &table();
    /** @brief The entry of a Windows path, compared without regard to case; nullptr when none. */
    static const Entry *find(const QString &windows);
    /**
     * @brief The first installed Linux program standing for a Windows program path (through the
     * installed System); empty when the path is unknown or none of its programs is installed.
     */
    static QString program(const QString &windows);
    /** @brief The Linux folder standing for a Windows folder path; empty when the path is unknown. */
    static QString folder(const QString &windows);

    /** @brief A file of the program folder that stands for another one that the program names. */
    struct Document
    {
        QString windows; ///< the file's name in the program folder, as the program gives it
        QString onLinux; ///< the program folder's file that takes its place
    };
    /** @brief The documents that have a stand-in: the old-format help file "zav.hlp" is the manual,
     * the various-expense database "c:\zav4\rip_spese3.mdb" the program folder's "rip_spese3.mdb". */
    static const QList<Document> &documents();
    /**
     * @brief The path of the program folder's file standing for a document of the program folder,
     * compared without regard to case; empty when the name has no stand-in. Whether the file is
     * there is the caller's to check.
     */
    static QString document(const QString &windows);
};

} // namespace zav::platform
