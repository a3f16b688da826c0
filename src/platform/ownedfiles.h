#pragma once

#include <QSet>
#include <QString>

namespace zav::platform {

/**
 * @brief Whose a file a project writes beside other projects' files is. Files of several projects
 * can share one folder and one name (two projects "VIALE.CDB" in two folders); each such file
 * records the project archive it was made for, and a file of another project that still exists is
 * never replaced: the file is named apart instead ("VIALE_2.zip"). A file that records no project
 * (made by someone else, or before the files recorded one), or one of a project that is gone, is
 * free and replaced as before.
 *
 * How a kind of file records its project is told by its owner reader; the claim and the names
 * apart are the same for every kind.
 */
class OwnedFiles
{
public:
    /** @brief The project archive the file at a path records, or empty text when it records none. */
    using OwnerReader = QString (*)(const QString &path);

    /** @brief Whose an existing file is, seen from one project. */
    enum class Claim {
        Own, ///< made for this project
        Free, ///< no file, a file that records no project, or one of a project that is gone
        Other, ///< made for another project that still exists
    };

    /** @brief Where a file asked for at a path is written. */
    struct Target
    {
        QString path; ///< the file to write: the one asked for, or the first name apart free for it
        QString otherOwner; ///< the project archive of the first file passed over as another's
    };

    /** @brief Files whose project `ownerOf` reads. */
    explicit OwnedFiles(OwnerReader ownerOf);

    /**
     * @brief The claim of the file at `path` for the project of `projectArchive`: its own when the
     * archive recorded and `projectArchive` are the same file (an empty `projectArchive` owns none).
     */
    Claim claim(const QString &path, const QString &projectArchive) const;

    /**
     * @brief The file that the project of `projectArchive`, asking for `path`, writes: the first of
     * the name and its names apart (see numberedName) that is not another project's file and whose
     * file name, case-folded, is not in `taken` (the names a run of several files has used already).
     */
    Target target(const QString &path, const QString &projectArchive, const QSet<QString> &taken = {}) const;

    /** @brief "STEM_n.EXT" for "STEM.EXT": the n-th name apart of a file name (n from 2). */
    static QString numberedName(const QString &fileName, int n);

private:
    OwnerReader m_ownerOf;
};

} // namespace zav::platform
