#pragma once

#include "platform/ownedfiles.h"

#include <QByteArray>
#include <QSet>
#include <QString>

namespace zav::platform {

/**
 * @brief Whose an export file is. Exports of several projects share one folder and are named by
 * the first letters of the project's name, so two projects can ask for one file name. Every export
 * records the project archive it was made for, and a file of another project that still exists is
 * never replaced: the export is named apart instead ("VIAGBL_2.RTF"). The rule is OwnedFiles',
 * with the owner read from the export's RTF.
 */
class ExportFiles
{
public:
    using Claim = OwnedFiles::Claim;
    using Target = OwnedFiles::Target;

    /** @brief The RTF group an export carries to name its project (a custom document property). */
    static QByteArray ownerMark(const QString &projectArchive);
    /** @brief The project archive an export names, or empty text when it names none. */
    static QString ownerOf(const QString &path);
    /** @brief The claim of the file at `path` for the project of `projectArchive`. */
    static Claim claim(const QString &path, const QString &projectArchive);

    /**
     * @brief The file an export of the project of `projectArchive` asked for at `path` is written
     * to: the first of the name and its names apart (see OwnedFiles::numberedName) that is not another
     * project's export and whose file name, case-folded, is not in `taken` (the names a run of
     * several exports has used already).
     */
    static Target target(const QString &path, const QString &projectArchive, const QSet<QString> &taken = {});
};

} // namespace zav::platform
